#include "info_values.h"

#include "common_media.h"
#include "rscodec.h"

namespace rsc {
namespace {

// A field of `bits` width; unknown (negative) values become all ones.
uint64_t field(int value, int bits)
{
    const uint64_t mask = (1ull << bits) - 1;
    return value < 0 ? mask : (static_cast<uint64_t>(value) & mask);
}

uint64_t videoValue(AVFormatContext *ctx, AVStream *st, int n)
{
    const AVCodecParameters *par = st->codecpar;
    switch (n) {
    case 1:
        return static_cast<uint64_t>(par->codec_id);
    case 2:
        return field(par->profile, 12) << 20 | field(par->format, 12) << 8 | field(par->field_order, 4) << 4 |
               static_cast<uint64_t>(displayRotation(st) / 90);
    case 3:
        return par->codec_tag;
    case 4:
        return par->bit_rate > 0 ? static_cast<uint64_t>(par->bit_rate) : 0;
    case 5:
    case 6: {
        AVRational rate = av_guess_frame_rate(ctx, st, nullptr);
        if (rate.num <= 0 || rate.den <= 0)
            return 0;
        return static_cast<uint64_t>(n == 5 ? rate.num : rate.den);
    }
    case 7:
        return static_cast<uint64_t>(displayRotation(st));
    default:
        return 0;
    }
}

uint64_t audioValue(AVStream *st, int n)
{
    const AVCodecParameters *par = st->codecpar;
    switch (n) {
    case 1:
    case 2:
        return static_cast<uint64_t>(par->codec_id);
    case 3:
        return par->sample_rate > 0 ? static_cast<uint64_t>(par->sample_rate) : 0;
    case 4:
        return field(par->ch_layout.nb_channels, 8) << 24 | field(par->format, 8) << 16 | field(par->profile, 16);
    case 5:
        return par->ch_layout.order == AV_CHANNEL_ORDER_NATIVE ? (par->ch_layout.u.mask & 0xFFFFFFFFull) : 0;
    case 6:
        return par->codec_tag;
    case 7:
        return par->bit_rate > 0 ? static_cast<uint64_t>(par->bit_rate) : 0;
    default:
        return 0;
    }
}

} // namespace

uint64_t streamValue(AVFormatContext *ctx, AVStream *stream, int kind, int n)
{
    if (!stream)
        return 0;
    switch (kind) {
    case RSC_STREAM_VIDEO:
        return videoValue(ctx, stream, n);
    case RSC_STREAM_AUDIO:
        return audioValue(stream, n);
    case RSC_STREAM_SUBTITLE:
        return n == 1 || n == 2 ? static_cast<uint64_t>(stream->codecpar->codec_id) : 0;
    default:
        return 0;
    }
}

} // namespace rsc
