#pragma once
// The background sound's file, read for the edit pipeline's second sound input: decoded from a place of its
// own time on, looped where it loops, and handed out in one fixed format timed by its samples from 0.
//
// FFmpeg's movie source would loop a file that gives no sound (a header without samples, a file cut to
// nothing while it is read) for ever inside one request, and gives up on the first packet it cannot decode.
// Here every read is bounded: a pass over the whole file that gives no sound ends the background, damaged
// packets are skipped as a player skips them, and an interrupt ends it at once.

#include "ffmpeg_raii.h"
#include "info_object.h"

#include <atomic>
#include <cstdint>
#include <string>

namespace rsc::edit {

// Packets of the sound stream in a row that give no sound end a pass over the file as its end does: a file
// whose sound is followed (or preceded) by megabytes of what does not decode is not read through for every
// wrap of a loop, nor taken when none of its first packets decode.
constexpr int kSoundlessPackets = 500;

// The decoder of the stream a background is read from (FFmpeg's best audio stream, `*stream`; -1 when there is
// none), the file's other streams left unread. Null when there is no such stream or it cannot be decoded.
CodecContextPtr openBackgroundDecoder(AVFormatContext *ctx, int *stream, std::string *why = nullptr);

// Where a background sound is read from: `intoUs` of its own time on, counted from its first decoded sound
// (`firstUs` on the file's time line), on from its beginning again at its end where it loops.
struct BackgroundStart
{
    std::string file;
    int64_t intoUs = 0;
    int64_t firstUs = 0;
    bool loop = false;
};

class BackgroundReader
{
public:
    ~BackgroundReader();

    // False, with why in `error`, when the file cannot be opened or holds no sound stream. `interrupt`, when
    // given, is looked at between reads: once set, the background ends.
    bool open(const BackgroundStart &start, const std::atomic<bool> *interrupt, std::string *error);

    // 0 with the next frame (the format below, `pts` in samples from 0), AVERROR_EOF once it has ended.
    int read(AVFrame *out);

    int sampleRate() const { return m_rate; }
    int sampleFormat() const { return m_format; }
    const AVChannelLayout &layout() const { return m_layout; }

private:
    bool rewind();
    int decodeNext(AVFrame *frame); // 0 with a decoded frame, AVERROR_EOF at the end of a pass
    int convert(AVFrame *decoded, AVFrame *out);

    rsc_info m_info;
    int m_stream = -1;
    AVRational m_timeBase{1, 1};
    CodecContextPtr m_decoder;
    SwrPtr m_swr;
    PacketPtr m_packet = makePacket();
    FramePtr m_decoded = makeFrame();
    const std::atomic<bool> *m_interrupt = nullptr;

    int m_rate = 0;
    int m_format = -1;
    AVChannelLayout m_layout{};

    int64_t m_cutUs = INT64_MIN;  // sound before this time of the file is dropped (the first pass only)
    int64_t m_nextUs = INT64_MIN; // where the sound decoded last ends, for frames without a time
    bool m_loop = false;
    bool m_fromStart = false;  // this pass began at the file's beginning
    int64_t m_passSamples = 0; // sound handed out in this pass
    bool m_draining = false;   // the decoder is being emptied at the end of a pass
    // Packets sent in this pass, their count when the last sound came out, and where a pass from the beginning
    // ends (-1 until one has ended): what follows the file's last sound is not read again at every wrap.
    int64_t m_passPackets = 0;
    int64_t m_lastSoundPacket = 0;
    int64_t m_passEnd = -1;
    bool m_ended = false;
    int64_t m_samplesOut = 0;
};

} // namespace rsc::edit
