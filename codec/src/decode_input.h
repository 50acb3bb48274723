#pragma once
// One source of a job: the demuxer over our buffered file I/O, the chosen video and audio streams and, for
// re-encoding, their decoders.

#include "job_ffmpeg.h"
#include "mux_io.h"

#include <atomic>
#include <deque>
#include <string>
#include <vector>

namespace rsc::job {

class InputClip
{
public:
    InputClip() = default;
    InputClip(const InputClip &) = delete;
    InputClip &operator=(const InputClip &) = delete;
    ~InputClip();

    // Decode: every parameter known, as decoding finds them. Copy: the container's own parameters where
    // they are complete (a stream copy needs no decoding), completed from the first picture's headers, the
    // sound decoder's set-up and, for containers that state no start (Matroska, WebM), the first packets;
    // the full probe only where something is still missing or uncertain.
    enum class Purpose { Decode, Copy };

    // Whether Copy may open from the header at all (on by default): tests compare the two ways.
    static void allowOpeningFromHeader(bool allow) { s_openFromHeader.store(allow); }

    // Opens and probes the file; picks the first video stream that is not a cover picture and the
    // audioTrack-th audio stream (the first when there is no such track), both from the program-th program
    // when the file has programs (transport streams). False with a reason on failure.
    bool open(const std::string &path, int audioTrack, int program, std::string *error,
              Purpose purpose = Purpose::Decode);
    // The next packet of the file, like av_read_frame (packets read while opening come first).
    int read(AVPacket *packet);
    // The presentation times of the next packets of `stream` that read() will hand out (read ahead, not
    // consumed), at most `count` of them.
    std::vector<int64_t> upcomingPts(int stream, size_t count);
    // False when the first packet of `stream` carries neither a presentation nor a decoding time (a raw
    // elementary stream); read ahead, not consumed.
    bool firstPacketTimed(int stream);
    bool openDecoders(bool video, bool audio, std::string *error);
    // True once the file has been written to since it was opened (source_watch.h).
    bool sourceChanged() { return m_io.sourceChanged(); }
    // True when the clip was opened for copying without the full probe.
    bool openedFromHeader() const { return m_fromHeader; }

    AVFormatContext *format() const { return m_format.get(); }
    AVStream *videoStream() const { return m_video >= 0 ? m_format->streams[m_video] : nullptr; }
    AVStream *audioStream() const { return m_audio >= 0 ? m_format->streams[m_audio] : nullptr; }
    int videoIndex() const { return m_video; }
    int audioIndex() const { return m_audio; }
    AVCodecContext *videoDecoder() const { return m_videoDec.get(); }
    AVCodecContext *audioDecoder() const { return m_audioDec.get(); }

    // The source's length in microseconds (of its picture and sound), 0 when unknown.
    int64_t durationUs() const;
    // The source time (microseconds) of the clip's time 0: the container's start time.
    int64_t originUs() const;
    // Where the content of the streams read ends by the file's own statement (clip time): each stream's
    // duration, else its Matroska "DURATION" tag, else the file's length when no other stream could set
    // it (or the file ends before its head says); 0 when unknown or only guessed from the bit rate.
    int64_t statedEndUs(bool video, bool audio) const;
    // Seeks so that reading starts at or before `us` (a keyframe of the video).
    bool seekTo(int64_t us);

private:
    bool pickStreams(int audioTrack, int program);
    // True when the container's length is the end of these streams: no other stream could have set it, or
    // the file was cut short.
    bool containerSpeaksFor(const AVStream *video, const AVStream *audio) const;
    bool headerSufficesForCopy() const;
    bool completeForCopy();
    bool normaliseForCopy();
    bool readPending(int64_t *bytes);

    static std::atomic<bool> s_openFromHeader;

    FileIO m_io;
    std::deque<PacketPtr> m_pending; // read while opening, not yet handed out
    InputPtr m_format;
    CodecPtr m_videoDec;
    CodecPtr m_audioDec;
    int m_video = -1;
    int m_audio = -1;
    bool m_fromHeader = false;
    bool m_dropGuessedDts = false;    // the demuxer's guesses at the picture's decoding times
    bool m_shorterThanStated = false; // a Matroska file that ends before its Segment does
};

} // namespace rsc::job
