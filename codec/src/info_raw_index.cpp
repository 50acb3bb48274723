#include "info_raw_index.h"

#include "ffmpeg_raii.h"

#include <algorithm>
#include <chrono>

namespace rsc {

namespace {

// True when the access unit is an IDR picture: the first slice met is one.
bool isCleanStart(AVCodecID codec, const uint8_t *data, int size)
{
    if (codec != AV_CODEC_ID_H264 && codec != AV_CODEC_ID_HEVC)
        return false;
    for (int i = 0; i + 3 < size; ++i) {
        if (data[i] != 0 || data[i + 1] != 0 || data[i + 2] != 1)
            continue;
        const uint8_t header = data[i + 3];
        if (codec == AV_CODEC_ID_H264) {
            const int type = header & 0x1F;
            if (type == 1 || type == 5) // a slice
                return type == 5;
        } else {
            const int type = (header >> 1) & 0x3F;
            if (type < 32) // a slice; 19 and 20 are IDR (a CRA's leading pictures would not come out)
                return type == 19 || type == 20;
        }
        i += 2;
    }
    return false;
}

// Waiters learn of progress at least this often.
constexpr int kNotifyEvery = 256;

} // namespace

bool isRawVideoStream(const AVFormatContext *ctx, int videoIndex)
{
    if (!ctx || !ctx->iformat || videoIndex < 0 || unsigned(videoIndex) >= ctx->nb_streams)
        return false;
    const AVStream *st = ctx->streams[videoIndex];
    if (st->codecpar->codec_type != AVMEDIA_TYPE_VIDEO || (st->disposition & AV_DISPOSITION_ATTACHED_PIC))
        return false;
    // A stream whose packets carried a time while the probe read them has a start time.
    const bool timeless = st->start_time == AV_NOPTS_VALUE && (ctx->duration == AV_NOPTS_VALUE || ctx->duration <= 0);
    const bool seekable =
        ctx->pb && (ctx->pb->seekable & AVIO_SEEKABLE_NORMAL) && !(ctx->iformat->flags & AVFMT_NO_BYTE_SEEK);
    const AVRational rate = rawFrameRate(st);
    return timeless && seekable && rate.num > 0;
}

AVRational rawFrameRate(const AVStream *stream)
{
    const AVRational rate = stream->avg_frame_rate.num > 0 ? stream->avg_frame_rate : stream->r_frame_rate;
    return rate.num > 0 && rate.den > 0 ? rate : AVRational{0, 1};
}

int64_t rawFrameTimeUs(AVRational rate, int64_t frame)
{
    if (rate.num <= 0 || frame <= 0)
        return 0;
    return av_rescale_rnd(frame, int64_t(1000000) * rate.den, rate.num, AV_ROUND_UP);
}

int64_t rawFrameAt(AVRational rate, int64_t timeUs)
{
    if (rate.num <= 0 || timeUs <= 0)
        return 0;
    return av_rescale_rnd(timeUs, rate.num, int64_t(1000000) * rate.den, AV_ROUND_DOWN);
}

RawFrameIndex::RawFrameIndex()
{
    m_starts.push_back(Start{0, 0}); // the file's first bytes: the parser finds the first picture there
}

bool RawFrameIndex::knowsLocked(int64_t frame, bool startAfter) const
{
    if (m_over || m_count >= 0)
        return true;
    return startAfter ? m_starts.back().frame >= frame : m_read > frame;
}

void RawFrameIndex::scan(AVFormatContext *ctx, int streamIndex, int64_t frame, bool startAfter,
                         const std::atomic<bool> *stop)
{
    int64_t resume;
    bool again;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (knowsLocked(frame, startAfter))
            return;
        resume = m_resumePos;
        again = m_read > 0; // the packet at the resume position was counted already
    }
    const AVCodecID codec = ctx->streams[streamIndex]->codecpar->codec_id;
    PacketPtr packet = makePacket();
    if (!packet || av_seek_frame(ctx, streamIndex, resume, AVSEEK_FLAG_BYTE) < 0) {
        finish();
        return;
    }
    int sinceNotify = 0;
    for (;;) {
        if (stop && stop->load())
            return;
        const int ret = av_read_frame(ctx, packet.get());
        if (ret == AVERROR_EXIT)
            return; // interrupted: another call reads on
        if (ret < 0) {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_count = m_read;
            m_grown.notify_all();
            return;
        }
        if (packet->stream_index != streamIndex) {
            av_packet_unref(packet.get());
            continue;
        }
        const bool start = isCleanStart(codec, packet->data, packet->size);
        const int64_t pos = packet->pos;
        av_packet_unref(packet.get());
        if (again) {
            again = false;
            continue;
        }
        std::lock_guard<std::mutex> lock(m_mutex);
        if (pos < 0) { // no position to come back to: the starts known so far are all there will be
            m_over = true;
            m_grown.notify_all();
            return;
        }
        if (start && m_read > 0) {
            m_starts.push_back(Start{m_read, pos});
            sinceNotify = kNotifyEvery;
        }
        m_resumePos = pos;
        ++m_read;
        if (++sinceNotify >= kNotifyEvery) {
            sinceNotify = 0;
            m_grown.notify_all();
        }
        if (knowsLocked(frame, startAfter))
            return;
    }
}

void RawFrameIndex::waitFor(int64_t frame, bool startAfter, const std::atomic<bool> *stop) const
{
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!knowsLocked(frame, startAfter) && !(stop && stop->load()))
        m_grown.wait_for(lock, std::chrono::milliseconds(20));
}

void RawFrameIndex::finish()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_over = true;
    m_grown.notify_all();
}

RawFrameIndex::Start RawFrameIndex::startAtOrBefore(int64_t frame) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = std::upper_bound(m_starts.begin(), m_starts.end(), frame,
                               [](int64_t f, const Start &s) { return f < s.frame; });
    return it == m_starts.begin() ? m_starts.front() : *(it - 1);
}

bool RawFrameIndex::startAtOrAfter(int64_t frame, Start *out) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = std::lower_bound(m_starts.begin(), m_starts.end(), frame,
                               [](const Start &s, int64_t f) { return s.frame < f; });
    if (it == m_starts.end())
        return false;
    *out = *it;
    return true;
}

int64_t RawFrameIndex::frameCount() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_count;
}

bool seekRawStart(AVFormatContext *ctx, int streamIndex, const RawFrameIndex::Start &start)
{
    return av_seek_frame(ctx, streamIndex, start.pos, AVSEEK_FLAG_BYTE) >= 0;
}

} // namespace rsc
