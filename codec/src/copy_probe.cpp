#include "copy_probe.h"

#include <algorithm>
#include <vector>

namespace rsc::job {

namespace {

// Reads a VP9 uncompressed header MSB first; past the end reads as zero bits and sets `overrun`.
class BitReader
{
public:
    BitReader(const uint8_t *data, int size) : m_data(data), m_bits(int64_t(size) * 8) {}
    unsigned bits(int n)
    {
        unsigned v = 0;
        for (int i = 0; i < n; ++i) {
            v <<= 1;
            if (m_pos >= m_bits) {
                overrun = true;
                continue;
            }
            v |= (m_data[m_pos >> 3] >> (7 - (m_pos & 7))) & 1u;
            ++m_pos;
        }
        return v;
    }
    bool overrun = false;

private:
    const uint8_t *m_data;
    int64_t m_bits;
    int64_t m_pos = 0;
};

// Chapters that state no end (Matroska from mkvmerge) end where the next begins, the last with the file.
void settleChapterEnds(AVFormatContext *ctx)
{
    if (ctx->nb_chapters == 0)
        return;
    int64_t maxTime = 0;
    if (ctx->duration > 0 && ctx->start_time < INT64_MAX - ctx->duration)
        maxTime = ctx->duration + (ctx->start_time == AV_NOPTS_VALUE ? 0 : ctx->start_time);
    std::vector<AVChapter *> byStart(ctx->chapters, ctx->chapters + ctx->nb_chapters);
    std::stable_sort(byStart.begin(), byStart.end(), [](const AVChapter *a, const AVChapter *b) {
        return av_compare_ts(a->start, a->time_base, b->start, b->time_base) < 0;
    });
    for (size_t i = 0; i < byStart.size(); ++i) {
        AVChapter *ch = byStart[i];
        if (ch->end != AV_NOPTS_VALUE)
            continue;
        int64_t end = maxTime ? av_rescale_q(maxTime, AV_TIME_BASE_Q, ch->time_base) : INT64_MAX;
        if (i + 1 < byStart.size()) {
            const AVChapter *next = byStart[i + 1];
            const int64_t nextStart = av_rescale_q(next->start, next->time_base, ch->time_base);
            if (nextStart > ch->start && nextStart < end)
                end = nextStart;
        }
        ch->end = (end == INT64_MAX || end < ch->start) ? ch->start : end;
    }
}

} // namespace

bool vp9KeyFrameLayout(const uint8_t *data, int size, int *format, int *width, int *height)
{
    if (!data || size < 10)
        return false;
    BitReader br(data, size);
    if (br.bits(2) != 2) // frame marker
        return false;
    int profile = int(br.bits(1));
    profile |= int(br.bits(1)) << 1;
    if (profile == 3 && br.bits(1) != 0)
        return false;
    if (br.bits(1)) // shows an earlier frame again
        return false;
    if (br.bits(1) != 0) // not a key frame
        return false;
    br.bits(2); // show_frame, error_resilient_mode
    if (br.bits(8) != 0x49 || br.bits(8) != 0x83 || br.bits(8) != 0x42)
        return false;
    // The decoder's choice of layout from the colour configuration.
    const int depth = profile >= 2 ? (br.bits(1) ? 2 : 1) : 0; // 8, 10 or 12 bits
    static const AVPixelFormat rgb[3] = {AV_PIX_FMT_GBRP, AV_PIX_FMT_GBRP10, AV_PIX_FMT_GBRP12};
    static const AVPixelFormat yuv[3][2][2] = {
        {{AV_PIX_FMT_YUV444P, AV_PIX_FMT_YUV422P}, {AV_PIX_FMT_YUV440P, AV_PIX_FMT_YUV420P}},
        {{AV_PIX_FMT_YUV444P10, AV_PIX_FMT_YUV422P10}, {AV_PIX_FMT_YUV440P10, AV_PIX_FMT_YUV420P10}},
        {{AV_PIX_FMT_YUV444P12, AV_PIX_FMT_YUV422P12}, {AV_PIX_FMT_YUV440P12, AV_PIX_FMT_YUV420P12}}};
    AVPixelFormat fmt;
    if (br.bits(3) == 7) { // RGB: only the odd profiles carry it
        if (!(profile & 1) || br.bits(1) != 0)
            return false;
        fmt = rgb[depth];
    } else {
        br.bits(1); // colour range
        if (profile & 1) {
            const unsigned h = br.bits(1);
            const unsigned v = br.bits(1);
            fmt = yuv[depth][v][h];
            if (fmt == yuv[depth][1][1] || br.bits(1) != 0) // 4:2:0 belongs to the even profiles
                return false;
        } else {
            fmt = yuv[depth][1][1];
        }
    }
    const int w = int(br.bits(16)) + 1;
    const int h = int(br.bits(16)) + 1;
    if (br.overrun)
        return false;
    *format = fmt;
    *width = w;
    *height = h;
    return true;
}

bool settleStreamTimings(AVFormatContext *ctx)
{
    int64_t start = INT64_MAX;
    int64_t textStart = INT64_MAX;
    for (unsigned i = 0; i < ctx->nb_streams; ++i) {
        const AVStream *st = ctx->streams[i];
        if (st->start_time == AV_NOPTS_VALUE || st->time_base.den <= 0)
            continue;
        const int64_t t = av_rescale_q(st->start_time, st->time_base, AV_TIME_BASE_Q);
        const AVMediaType type = st->codecpar->codec_type;
        if (type == AVMEDIA_TYPE_SUBTITLE || type == AVMEDIA_TYPE_DATA)
            textStart = std::min(textStart, t);
        else
            start = std::min(start, t);
    }
    if (start == INT64_MAX || (start > textStart && uint64_t(start) - uint64_t(textStart) < AV_TIME_BASE))
        start = textStart;
    if (start == INT64_MAX)
        return false;
    ctx->start_time = start;
    for (unsigned i = 0; i < ctx->nb_streams; ++i) {
        AVStream *st = ctx->streams[i];
        if (st->start_time != AV_NOPTS_VALUE)
            continue;
        st->start_time = av_rescale_q(start, AV_TIME_BASE_Q, st->time_base);
        if (ctx->duration != AV_NOPTS_VALUE)
            st->duration = av_rescale_q(ctx->duration, AV_TIME_BASE_Q, st->time_base);
    }
    ctx->duration_estimation_method = AVFMT_DURATION_FROM_STREAM;
    settleChapterEnds(ctx);
    return true;
}

} // namespace rsc::job
