#pragma once
// File I/O for the demuxers and muxers of a job: large reads, and writes in large blocks from a thread of
// their own, keep a lossless join near the speed of a plain file copy.

#include "job_ffmpeg.h"
#include "mux_writer.h"

#include <memory>

#include <string>

namespace rsc::job {

class FileIO
{
public:
    FileIO() = default;
    FileIO(const FileIO &) = delete;
    FileIO &operator=(const FileIO &) = delete;
    ~FileIO();

    bool openRead(const std::string &path);
    // Creates `path`, which must not exist yet.
    bool openNew(const std::string &path);
    // Writes out the buffer and asks the disk to hold the data; false when any write failed.
    bool sync();
    AVIOContext *context() const { return m_ctx; }
    // Flushes and closes; false when a write failed.
    bool close();

private:
    static int readPacket(void *opaque, uint8_t *buf, int size);
    static int writePacket(void *opaque, uint8_t *buf, int size);
    static int64_t seek(void *opaque, int64_t offset, int whence);
    bool setUp(bool write);

    int m_fd = -1;
    bool m_writeFailed = false;
    std::unique_ptr<BlockWriter> m_writer; // output files only
    int64_t m_writePos = 0;                // where the muxer writes next
    int64_t m_writeEnd = 0;                // the file's size once everything handed over is written
    AVIOContext *m_ctx = nullptr;
};

} // namespace rsc::job
