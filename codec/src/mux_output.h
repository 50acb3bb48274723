#pragma once
// The output file of a job: the muxer for the caller's container name over our buffered file I/O, its
// streams, chapters, header and trailer. It is written into a partial file beside the output path
// (mux_partial.h) that takes the path only when the job completed.

#include "edit_config.h"
#include "job_ffmpeg.h"
#include "mux_io.h"
#include "mux_partial.h"

#include <string>
#include <vector>

namespace rsc::job {

class OutputFile
{
public:
    OutputFile() = default;
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;
    ~OutputFile();

    // Sets up the muxer for the lower-case muxer name ("mp4", "matroska", "mpegts" ...); the file is
    // created by writeHeader().
    bool create(const std::string &path, const std::string &container, std::string *error);
    // The same muxer writing nowhere: a trial of whether a copy can be written at all.
    bool createTrial(const std::string &container, std::string *error);
    // True for containers whose lossless output takes one clip only: a raw FLAC file numbers its frames and
    // states its length in its header, which copied frames of a second clip would contradict.
    static bool holdsOneClip(const std::string &container);
    // The muxer a container name picks ("m4a" and the like name the iPod muxer); null when none does.
    static const AVOutputFormat *muxerFor(const std::string &container);
    // True when a copied stream of this codec can be written by the muxer (its codec tables or its own
    // answer): the rule a lossless join applies to the subtitle stream it would carry.
    static bool holdsCodec(const AVOutputFormat *muxer, AVCodecID codec);
    // True when `other` names the file being written or the file at the output path (by device and inode).
    bool isFile(const std::string &other) const;

    AVFormatContext *format() const { return m_format; }
    const AVOutputFormat *muxer() const { return m_format ? m_format->oformat : nullptr; }
    AVStream *addStream();
    bool writeHeader(std::string *error);
    bool headerWritten() const { return m_headerWritten; }
    bool writeFailed() const { return m_failed; }
    // Interleaves and writes; the packet's timestamps are in its stream's time base.
    bool write(AVPacket *packet);
    // Chapters in microseconds of the output time line.
    void addChapter(const rsc::edit::Chapter &chapter);
    // Writes the trailer and puts the file in place of the output path. Without `keep`, or when anything
    // failed, the written file is removed and the path keeps what it held before; so does a path that was
    // free at the open and was taken meanwhile. True only when kept.
    bool finish(bool keep);
    // Why writing failed, for the user: "cannot write the output: No space left on device".
    std::string problem() const;

private:
    bool openTrialIO();
    static int discardWrite(void *opaque, uint8_t *buf, int size);
    static int64_t discardSeek(void *opaque, int64_t offset, int whence);

    FileIO m_io;
    bool m_trial = false;
    AVIOContext *m_trialIO = nullptr;
    int64_t m_trialPos = 0;
    int64_t m_trialEnd = 0;
    std::string m_muxError;   // the muxer's own complaint, when it had one
    std::string m_placeError; // why the complete file could not take the output path
    std::string m_path;
    int m_held = -1;       // what the path held at the open (O_PATH), which alone may be replaced; -1: nothing
    PartialFile m_partial; // where the output is written until it is complete
    AVFormatContext *m_format = nullptr;
    bool m_headerWritten = false;
    bool m_finished = false;
    bool m_failed = false;
};

// Why a task must not be joined into `output`: its clip or a file its edits name is the output (which would
// take that file's place); empty when none is.
std::string outputClash(const OutputFile &output, const std::string &source, const rsc::edit::EditConfig &edit);

} // namespace rsc::job
