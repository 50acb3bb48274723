#pragma once
// Raw elementary streams (an H.264 or HEVC Annex B file, MPEG video ...) have no container: their packets
// carry no times and their demuxer keeps no index, so nothing can be asked of them by time. Their frames
// follow one another at the stream's rate, frame n showing at n / rate (the length the probe gives them is
// counted the same way). This index learns, by reading packets without decoding them, where decoding can
// start cleanly: the first frame, and every IDR picture of H.264 and HEVC (after one, no picture refers to
// an earlier one, so the pictures come out numbered on from it). Other codecs start at the first frame.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

extern "C" {
#include <libavformat/avformat.h>
}

namespace rsc {

// True when the video stream's packets carry no times (so its demuxer cannot seek by time either) and the
// file can be read again from a byte position.
bool isRawVideoStream(const AVFormatContext *ctx, int videoIndex);

// Frame numbers and times of such a stream. A frame's time is rounded up, so the frame showing at a frame's
// own time is that frame.
int64_t rawFrameTimeUs(AVRational rate, int64_t frame);
int64_t rawFrameAt(AVRational rate, int64_t timeUs);
// The stream's rate; 0/1 when it states none.
AVRational rawFrameRate(const AVStream *stream);

class RawFrameIndex
{
public:
    struct Start
    {
        int64_t frame = 0; // decoding order, which is also the order shown from a clean start on
        int64_t pos = 0;   // byte position of its packet
    };

    RawFrameIndex();

    // Reads packets of `ctx` on from where the last scan stopped, until frame `frame` has been read (with
    // `startAfter`: until a start at or after it is known), or to the end of the file. `ctx` is positioned
    // by the scan; its reader must not need it meanwhile. Gives up when `stop` is set.
    void scan(AVFormatContext *ctx, int streamIndex, int64_t frame, bool startAfter, const std::atomic<bool> *stop);
    // For a scan that runs on another thread: waits until the index answers for `frame` as scan() would leave
    // it, that scan has ended, or `stop` is set.
    void waitFor(int64_t frame, bool startAfter, const std::atomic<bool> *stop) const;
    // Marks the scanning as over (the other thread ended or could not read): waiters stop waiting.
    void finish();

    // The last start at or before the frame (the first frame at least); the first start at or after it
    // (false when none is known).
    Start startAtOrBefore(int64_t frame) const;
    bool startAtOrAfter(int64_t frame, Start *out) const;
    // The number of frames once the end has been read; -1 before.
    int64_t frameCount() const;

private:
    bool knowsLocked(int64_t frame, bool startAfter) const;

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_grown;
    std::vector<Start> m_starts;
    int64_t m_read = 0;      // frames read
    int64_t m_resumePos = 0; // byte position of the packet of frame m_read
    bool m_over = false;     // no scan will read further
    int64_t m_count = -1;    // frames in the file, once its end was read
};

// Positions `ctx` so that the next packet read is the start's; the demuxer's buffers are flushed.
bool seekRawStart(AVFormatContext *ctx, int streamIndex, const RawFrameIndex::Start &start);

} // namespace rsc
