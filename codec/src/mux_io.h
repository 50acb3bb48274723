#pragma once
// File I/O for the demuxers and muxers of a job: large reads, and writes in large blocks from a thread of
// their own, keep a lossless join near the speed of a plain file copy.

#include "job_ffmpeg.h"
#include "mux_writer.h"
#include "source_watch.h"

#include <memory>

#include <string>
#include <sys/types.h>

namespace rsc::job {

class FileIO
{
public:
    FileIO() = default;
    FileIO(const FileIO &) = delete;
    FileIO &operator=(const FileIO &) = delete;
    ~FileIO();

    bool openRead(const std::string &path);
    // True once the file read has been written to since it was opened (source_watch.h); reads then fail.
    bool sourceChanged();
    // Up to `size` bytes of the file read from `offset`, without moving the reading position; the count, or -1.
    ssize_t readAt(int64_t offset, void *buffer, size_t size) const;
    // Writes into `fd`, a file opened for writing, which it takes over (closes).
    bool openWrite(int fd);
    AVIOContext *context() const { return m_ctx; }
    // Flushes and closes; false when a write failed.
    bool close();
    // Why a write failed ("No space left on device"); empty when none did.
    std::string writeProblem() const;

private:
    static int readPacket(void *opaque, uint8_t *buf, int size);
    static int writePacket(void *opaque, uint8_t *buf, int size);
    static int64_t seek(void *opaque, int64_t offset, int whence);
    bool setUp(bool write);
    void noteWriteFailure(int error);

    int m_fd = -1;
    bool m_writeFailed = false;
    int m_writeErrno = 0;
    // The source as it was opened: a read that finds it written to fails.
    SourceWatch m_watch;
    bool m_changed = false;
    std::unique_ptr<BlockWriter> m_writer; // output files only
    int64_t m_writePos = 0;                // where the muxer writes next
    int64_t m_writeEnd = 0;                // the file's size once everything handed over is written
    AVIOContext *m_ctx = nullptr;
};

} // namespace rsc::job
