#include "bmp_still.h"

#include "bmp_image.h"
#include "common_media.h"
#include "ffmpeg_raii.h"
#include "global_settings.h"
#include "info_frame_pool.h"
#include "info_raw_index.h"
#include "rscodec.h"

#include <algorithm>
#include <vector>

namespace rsc {
namespace {

// A broken file must not keep us reading for ever.
constexpr int kMaxPackets = 20000;

// Below this many pixels a picture decodes in a millisecond or two on one thread: starting decoding
// threads (and their buffers) would cost more than they save.
constexpr int64_t kThreadedPixels = int64_t(640) * 480;

CodecContextPtr openDecoder(const AVStream *stream, bool manyFrames)
{
    const AVCodec *codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec)
        return nullptr;
    CodecContextPtr dec(avcodec_alloc_context3(codec));
    if (!dec || avcodec_parameters_to_context(dec.get(), stream->codecpar) < 0)
        return nullptr;
    dec->pkt_timebase = stream->time_base;
    // Frame threads delay output by several frames: a key frame alone wants slice threads only; the way to
    // a picture inside a group of pictures goes through many frames, which frame threads decode side by side.
    const bool small = int64_t(stream->codecpar->width) * stream->codecpar->height <= kThreadedPixels;
    dec->thread_count = small ? 1 : 0;
    dec->thread_type = manyFrames ? FF_THREAD_FRAME | FF_THREAD_SLICE : FF_THREAD_SLICE;
    usePooledBuffers(dec.get());
    if (avcodec_open2(dec.get(), codec, nullptr) < 0)
        return nullptr;
    return dec;
}

// Keeps streams other than `keep` from being demuxed while we read, and restores them.
class DiscardGuard
{
public:
    DiscardGuard(AVFormatContext *ctx, int keep) : m_ctx(ctx)
    {
        for (unsigned i = 0; i < ctx->nb_streams; ++i) {
            m_saved.push_back(ctx->streams[i]->discard);
            if (static_cast<int>(i) != keep)
                ctx->streams[i]->discard = AVDISCARD_ALL;
        }
    }
    ~DiscardGuard()
    {
        for (unsigned i = 0; i < m_ctx->nb_streams && i < m_saved.size(); ++i)
            m_ctx->streams[i]->discard = m_saved[i];
    }

private:
    AVFormatContext *m_ctx;
    std::vector<AVDiscard> m_saved;
};

// Picks frames as the request asks; answers true when it has the one it wants.
class FramePicker
{
public:
    FramePicker(uint32_t mode, int64_t target) : m_mode(mode), m_target(target) {}

    bool offer(FramePtr frame)
    {
        const int64_t ts = frame->best_effort_timestamp;
        if (m_mode == 0 || ts == AV_NOPTS_VALUE || ts == m_target || (ts > m_target && !m_best)) {
            m_best = std::move(frame);
            return true;
        }
        if (ts > m_target)
            return true; // the previous frame is the one showing at the target
        m_best = std::move(frame);
        return false;
    }
    FramePtr take() { return std::move(m_best); }

private:
    uint32_t m_mode;
    int64_t m_target;
    FramePtr m_best;
};

bool drain(AVCodecContext *dec, FramePicker &picker)
{
    for (;;) {
        FramePtr frame = makeFrame();
        if (!frame)
            return true;
        const int ret = avcodec_receive_frame(dec, frame.get());
        if (ret < 0)
            return false;
        if (picker.offer(std::move(frame)))
            return true;
    }
}

// The deepest reordering of pictures a stream may have (H.264 and HEVC allow 16 pictures).
constexpr int kMaxReorder = 16;

// Where the decoding of the picture showing at a time starts and which packet holds that picture.
struct Showing
{
    int64_t seekTo = 0;
    int64_t pts = AV_NOPTS_VALUE; // unknown: decode until a later picture comes out
    int packets = 0;              // packets stamped with that time (a hidden reference frame may share it)
};

// The presentation time of the picture showing at `target`: the latest one at or before it among the
// stream's packets from where the file stands, provided a key frame comes before it. Certain once more
// packets later than the target have passed than any reordering could bring back before it.
// AV_NOPTS_VALUE when a packet states no time, none is at or before the target, or no key frame leads
// to it; `anyKey` says whether a key frame came at all, `packets` how many packets have that time.
// Reads packets: the caller seeks back afterwards.
int64_t showingTime(AVFormatContext *ctx, int index, int64_t target, bool *anyKey, int *packets)
{
    PacketPtr packet = makePacket();
    if (!packet)
        return AV_NOPTS_VALUE;
    int64_t showing = AV_NOPTS_VALUE;
    bool keySeen = false, showingAfterKey = false;
    int later = 0;
    for (int n = 0; n < kMaxPackets && later <= kMaxReorder && !interruptRequested(); ++n) {
        if (av_read_frame(ctx, packet.get()) < 0)
            break;
        const int64_t pts = packet->pts;
        const bool ours = packet->stream_index == index;
        keySeen = keySeen || (ours && (packet->flags & AV_PKT_FLAG_KEY));
        av_packet_unref(packet.get());
        if (!ours)
            continue;
        if (pts == AV_NOPTS_VALUE)
            return AV_NOPTS_VALUE;
        if (pts > target) {
            ++later;
        } else if (showing == AV_NOPTS_VALUE || pts > showing) {
            showing = pts;
            showingAfterKey = keySeen;
            *packets = 1;
        } else if (pts == showing) {
            ++*packets;
        }
    }
    *anyKey = keySeen;
    return showingAfterKey ? showing : AV_NOPTS_VALUE;
}

void seekNear(AVFormatContext *ctx, AVStream *stream, int64_t target, int64_t start)
{
    if (av_seek_frame(ctx, stream->index, target, AVSEEK_FLAG_BACKWARD) < 0)
        av_seek_frame(ctx, stream->index, start, AVSEEK_FLAG_BACKWARD);
}

// Reading packets costs little beside decoding them: knowing which packet holds the picture showing at
// the target, only the pictures it refers to are decoded, and nothing after it. Some containers (MPEG-TS)
// seek to any picture rather than a key frame: there the seek goes back further until a key frame leads
// to the picture.
Showing findShowing(AVFormatContext *ctx, AVStream *stream, int64_t target, int64_t start)
{
    Showing found;
    found.seekTo = target;
    const int64_t second = std::max<int64_t>(1, fromMicros(1000000, stream->time_base));
    for (int attempt = 0; attempt < 6; ++attempt) {
        seekNear(ctx, stream, found.seekTo, start);
        bool anyKey = false;
        found.pts = showingTime(ctx, stream->index, target, &anyKey, &found.packets);
        if (found.pts != AV_NOPTS_VALUE || found.seekTo < start)
            break;
        // No key frame in several seconds read: a stream that marks none is not read through for one.
        if (!anyKey && attempt >= 3)
            break;
        // Before the start, not at it: MPEG-TS seeks by decoding time, which starts before the first
        // picture's presentation time.
        found.seekTo = target - (second << attempt);
    }
    if (found.pts == AV_NOPTS_VALUE)
        found.seekTo = target;
    seekNear(ctx, stream, found.seekTo, start);
    return found;
}

FramePtr decodeFrom(AVFormatContext *ctx, AVStream *stream, AVCodecContext *dec, const StillRequest &request,
                    int64_t target, const Showing &known)
{
    const int64_t showing = known.pts;
    int showingSeen = 0;
    FramePicker picker(request.mode, target);
    PacketPtr packet = makePacket();
    if (!packet)
        return nullptr;
    bool done = false, keySeen = false;
    for (int n = 0; n < kMaxPackets && !done && !interruptRequested(); ++n) {
        const int ret = av_read_frame(ctx, packet.get());
        if (ret < 0)
            break;
        keySeen = keySeen || (packet->stream_index == stream->index && (packet->flags & AV_PKT_FLAG_KEY));
        if (packet->stream_index == stream->index && (showing == AV_NOPTS_VALUE || keySeen)) {
            // Pictures that no other one refers to need not be decoded on the way (about half of them with
            // B-frames): all but the one showing when that is known, else those gone from the screen well
            // before the target.
            const bool at = showing != AV_NOPTS_VALUE && packet->pts == showing;
            const bool last = at && ++showingSeen >= known.packets;
            if (showing != AV_NOPTS_VALUE)
                dec->skip_frame = at ? AVDISCARD_DEFAULT : AVDISCARD_NONREF;
            else if (request.mode == 1)
                dec->skip_frame = packet->pts != AV_NOPTS_VALUE && packet->duration > 0 &&
                                          packet->pts + 2 * packet->duration <= target
                                      ? AVDISCARD_NONREF
                                      : AVDISCARD_DEFAULT;
            // A damaged packet is skipped; the decoder resynchronises on the next one.
            avcodec_send_packet(dec, packet.get());
            done = drain(dec, picker);
            if (last) {
                av_packet_unref(packet.get());
                break;
            }
        }
        av_packet_unref(packet.get());
    }
    if (!done) {
        avcodec_send_packet(dec, nullptr);
        drain(dec, picker);
    }
    return picker.take();
}

FramePtr decodeNear(AVFormatContext *ctx, AVStream *stream, const StillRequest &request)
{
    CodecContextPtr dec = openDecoder(stream, request.mode == 1);
    if (!dec)
        return nullptr;
    const int64_t start = stream->start_time != AV_NOPTS_VALUE ? stream->start_time : 0;
    const int64_t target = start + fromMicros(std::max<int64_t>(0, request.timeUs), stream->time_base);

    DiscardGuard guard(ctx, stream->index);
    if (request.mode != 1) {
        seekNear(ctx, stream, target, start);
        return decodeFrom(ctx, stream, dec.get(), request, target, Showing{});
    }
    const Showing showing = findShowing(ctx, stream, target, start);
    FramePtr frame = decodeFrom(ctx, stream, dec.get(), request, target, showing);
    if (frame || showing.pts == AV_NOPTS_VALUE)
        return frame;
    // The packet did not decode (a damaged file): the picture nearest after it will do.
    avcodec_flush_buffers(dec.get());
    seekNear(ctx, stream, target, start);
    return decodeFrom(ctx, stream, dec.get(), request, target, Showing{});
}

// A raw elementary stream: the frames are counted from the clean start before the one asked for.
FramePtr decodeRaw(AVFormatContext *ctx, AVStream *stream, RawFrameIndex &index, const StillRequest &request)
{
    const AVRational rate = rawFrameRate(stream);
    int64_t wanted = rawFrameAt(rate, request.timeUs);
    index.scan(ctx, stream->index, wanted, false, nullptr);
    const int64_t count = index.frameCount();
    if (count > 0)
        wanted = std::min(wanted, count - 1); // past the end: the last frame
    const RawFrameIndex::Start start = index.startAtOrBefore(wanted);
    CodecContextPtr dec = openDecoder(stream, request.mode == 1);
    PacketPtr packet = makePacket();
    if (!dec || !packet || !seekRawStart(ctx, stream->index, start))
        return nullptr;
    DiscardGuard guard(ctx, stream->index);
    int64_t next = start.frame; // the number of the next frame out
    FramePtr last;
    // Mode 0 takes the clean start itself; mode 1 counts on to the frame asked for.
    auto take = [&]() {
        for (;;) {
            FramePtr frame = makeFrame();
            if (!frame || avcodec_receive_frame(dec.get(), frame.get()) < 0)
                return false;
            last = std::move(frame);
            if (request.mode != 1 || next++ >= wanted)
                return true;
        }
    };
    bool done = false;
    for (int n = 0; n < kMaxPackets && !done && !interruptRequested(); ++n) {
        if (av_read_frame(ctx, packet.get()) < 0)
            break;
        if (packet->stream_index == stream->index) {
            packet->pts = packet->dts = AV_NOPTS_VALUE;
            avcodec_send_packet(dec.get(), packet.get());
            done = take();
        }
        av_packet_unref(packet.get());
    }
    if (!done) {
        avcodec_send_packet(dec.get(), nullptr);
        take();
    }
    return last;
}

void rotateBgr(const std::vector<uint8_t> &in, int w, int h, int degrees, std::vector<uint8_t> &out, int *outW,
               int *outH)
{
    const bool swap = degrees == 90 || degrees == 270;
    *outW = swap ? h : w;
    *outH = swap ? w : h;
    out.resize(static_cast<size_t>(*outW) * *outH * 3);
    for (int y = 0; y < *outH; ++y) {
        for (int x = 0; x < *outW; ++x) {
            int sx = x, sy = y;
            if (degrees == 90) {
                sx = y;
                sy = h - 1 - x;
            } else if (degrees == 180) {
                sx = w - 1 - x;
                sy = h - 1 - y;
            } else if (degrees == 270) {
                sx = w - 1 - y;
                sy = x;
            }
            const uint8_t *src = &in[(static_cast<size_t>(sy) * w + sx) * 3];
            uint8_t *dst = &out[(static_cast<size_t>(y) * *outW + x) * 3];
            dst[0] = src[0];
            dst[1] = src[1];
            dst[2] = src[2];
        }
    }
}

} // namespace

unsigned char *grabStillImage(AVFormatContext *ctx, int streamIndex, const StillRequest &request, RawFrameIndex *raw)
{
    if (!ctx || streamIndex < 0 || streamIndex >= static_cast<int>(ctx->nb_streams))
        return nullptr;
    AVStream *stream = ctx->streams[streamIndex];
    FramePtr frame = raw ? decodeRaw(ctx, stream, *raw, request) : decodeNear(ctx, stream, request);
    if (!frame || frame->width <= 0 || frame->height <= 0)
        return nullptr;

    int dispW = 0, dispH = 0;
    displaySize(ctx, stream, &dispW, &dispH);
    // The decoded frame is authoritative for the coded size (a stream may change size midway).
    if (frame->width != stream->codecpar->width || frame->height != stream->codecpar->height) {
        dispW = frame->width;
        dispH = frame->height;
    }
    const int rotation = (request.flags & RSC_IMAGE_IGNORE_ROTATION) ? 0 : displayRotation(stream);
    const bool swap = rotation == 90 || rotation == 270;
    int finalW = 0, finalH = 0;
    fitIntoBox(swap ? dispH : dispW, swap ? dispW : dispH, request.boxWidth, request.boxHeight, &finalW, &finalH);
    // An absurd sample aspect must not ask for a picture larger than a BMP we hand out.
    if (finalW > kMaxImageSide || finalH > kMaxImageSide)
        fitIntoBox(finalW, finalH, kMaxImageSide, kMaxImageSide, &finalW, &finalH);
    const int scaledW = swap ? finalH : finalW;
    const int scaledH = swap ? finalW : finalH;

    // Large reductions (thumbnails) average areas: as sharp as bicubic there, and several times faster.
    const int scaling = scaledW * 2 <= frame->width && scaledH * 2 <= frame->height ? SWS_AREA : SWS_BICUBIC;
    SwsPtr sws(sws_getContext(frame->width, frame->height, static_cast<AVPixelFormat>(frame->format), scaledW, scaledH,
                              AV_PIX_FMT_BGR24, scaling, nullptr, nullptr, nullptr));
    if (!sws)
        return nullptr;
    std::vector<uint8_t> bgr(static_cast<size_t>(scaledW) * scaledH * 3);
    uint8_t *dst[4] = {bgr.data(), nullptr, nullptr, nullptr};
    int dstStride[4] = {scaledW * 3, 0, 0, 0};
    if (sws_scale(sws.get(), frame->data, frame->linesize, 0, frame->height, dst, dstStride) <= 0)
        return nullptr;
    if (rotation == 0)
        return makeBmp(bgr.data(), scaledW, scaledH, scaledW * 3);
    std::vector<uint8_t> turned;
    int w = 0, h = 0;
    rotateBgr(bgr, scaledW, scaledH, rotation, turned, &w, &h);
    return makeBmp(turned.data(), w, h, w * 3);
}

} // namespace rsc
