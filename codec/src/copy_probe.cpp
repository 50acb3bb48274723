#include "copy_probe.h"

extern "C" {
#include <libavutil/pixdesc.h>
}

#include <algorithm>
#include <vector>

namespace rsc::job {

namespace {

// Reads a bit string MSB first; past the end reads as zero bits and sets `overrun`.
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
    // Exp-Golomb codes of H.264 headers.
    unsigned ue()
    {
        int zeros = 0;
        while (bits(1) == 0) {
            if (overrun || ++zeros > 31) {
                overrun = true;
                return 0;
            }
        }
        return zeros ? ((1u << zeros) - 1) + bits(zeros) : 0;
    }
    int se()
    {
        const unsigned v = ue();
        return (v & 1) ? int((v + 1) / 2) : -int(v / 2);
    }
    bool overrun = false;

private:
    const uint8_t *m_data;
    int64_t m_bits;
    int64_t m_pos = 0;
};

// The payload of a NAL unit without its emulation prevention bytes.
std::vector<uint8_t> unescaped(const uint8_t *data, size_t size)
{
    std::vector<uint8_t> out;
    out.reserve(size);
    for (size_t i = 0; i < size; ++i) {
        if (i >= 2 && data[i] == 3 && data[i - 1] == 0 && data[i - 2] == 0 && out.size() >= 2 &&
            out[out.size() - 1] == 0 && out[out.size() - 2] == 0)
            continue;
        out.push_back(data[i]);
    }
    return out;
}

// The first sequence parameter set in avcC extradata or in an Annex B byte stream (NAL header included).
std::vector<uint8_t> firstSps(const uint8_t *data, size_t size)
{
    if (!data || size < 8)
        return {};
    if (data[0] == 1) { // avcC
        if ((data[5] & 0x1f) == 0)
            return {};
        const size_t length = (size_t(data[6]) << 8) | data[7];
        if (8 + length > size || length < 4 || (data[8] & 0x1f) != 7)
            return {};
        return unescaped(data + 8, length);
    }
    for (size_t i = 0; i + 3 < size; ++i) {
        if (data[i] != 0 || data[i + 1] != 0 || data[i + 2] != 1 || (data[i + 3] & 0x1f) != 7)
            continue;
        size_t end = i + 3;
        while (end + 2 < size && !(data[end] == 0 && data[end + 1] == 0 && data[end + 2] <= 1))
            ++end;
        if (end + 2 >= size)
            end = size;
        return unescaped(data + i + 3, end - i - 3);
    }
    return {};
}

// A colour code of a sequence header as the decoder states it: unspecified where FFmpeg has no name for it
// (an enum must never hold a value beyond its own).
template <typename E> E namedCode(unsigned code, int count, const char *(*name)(E), E unnamed)
{
    return code < unsigned(count) && name(E(code)) ? E(code) : unnamed;
}

} // namespace

bool h264SequenceHeader(const uint8_t *data, size_t size, H264Sequence *out)
{
    const std::vector<uint8_t> sps = firstSps(data, size);
    if (sps.size() < 4)
        return false;
    BitReader br(sps.data() + 1, int(sps.size() - 1)); // past the NAL header
    H264Sequence h;
    const unsigned profileIdc = br.bits(8);
    const unsigned constraints = br.bits(8);
    h.level = int(br.bits(8));
    br.ue(); // seq_parameter_set_id
    unsigned chromaFormat = 1;
    switch (profileIdc) {
    case 100:
    case 110:
    case 122:
    case 244:
    case 44:
    case 83:
    case 86:
    case 118:
    case 128:
    case 138:
    case 139:
    case 134:
    case 135: {
        chromaFormat = br.ue();
        if (chromaFormat > 3)
            return false;
        if (chromaFormat == 3)
            br.bits(1); // separate_colour_plane_flag
        h.bitDepth = int(br.ue()) + 8;
        br.ue(); // bit_depth_chroma_minus8
        br.bits(1);
        if (br.bits(1)) { // scaling matrices
            for (int i = 0; i < (chromaFormat != 3 ? 8 : 12); ++i) {
                if (!br.bits(1))
                    continue;
                int last = 8, next = 8;
                for (int j = 0; j < (i < 6 ? 16 : 64) && next != 0; ++j) {
                    next = (last + br.se() + 256) % 256;
                    last = next == 0 ? last : next;
                }
            }
        }
        break;
    }
    default:
        break;
    }
    br.ue(); // log2_max_frame_num_minus4
    const unsigned pocType = br.ue();
    if (pocType == 0) {
        br.ue();
    } else if (pocType == 1) {
        br.bits(1);
        br.se();
        br.se();
        const unsigned cycle = br.ue();
        if (cycle > 255)
            return false;
        for (unsigned i = 0; i < cycle; ++i)
            br.se();
    } else if (pocType != 2) {
        return false;
    }
    br.ue(); // max_num_ref_frames
    br.bits(1);
    br.ue();                         // pic_width_in_mbs_minus1
    br.ue();                         // pic_height_in_map_units_minus1
    h.progressive = br.bits(1) != 0; // frame_mbs_only_flag
    if (!h.progressive)
        br.bits(1);
    br.bits(1); // direct_8x8_inference_flag
    if (br.bits(1)) {
        for (int i = 0; i < 4; ++i)
            br.ue(); // cropping
    }
    h.hasVui = br.bits(1) != 0;
    if (h.hasVui) {
        h.chromaLocation = AVCHROMA_LOC_LEFT; // unless stated
        if (br.bits(1)) {
            static const AVRational kAspect[17] = {{0, 1},   {1, 1},    {12, 11}, {10, 11}, {16, 11}, {40, 33},
                                                   {24, 11}, {20, 11},  {32, 11}, {80, 33}, {18, 11}, {15, 11},
                                                   {64, 33}, {160, 99}, {4, 3},   {3, 2},   {2, 1}};
            const unsigned idc = br.bits(8);
            if (idc == 255) {
                h.aspect.num = int(br.bits(16));
                h.aspect.den = int(br.bits(16));
            } else if (idc < 17) {
                h.aspect = kAspect[idc];
            } else {
                return false;
            }
        }
        if (br.bits(1))
            br.bits(1); // overscan
        if (br.bits(1)) {
            br.bits(3); // video_format
            h.range = br.bits(1) ? AVCOL_RANGE_JPEG : AVCOL_RANGE_MPEG;
            h.colourDescribed = br.bits(1) != 0;
            if (h.colourDescribed) {
                h.primaries = namedCode(br.bits(8), AVCOL_PRI_NB, av_color_primaries_name, AVCOL_PRI_UNSPECIFIED);
                h.transfer = namedCode(br.bits(8), AVCOL_TRC_NB, av_color_transfer_name, AVCOL_TRC_UNSPECIFIED);
                h.space = namedCode(br.bits(8), AVCOL_SPC_NB, av_color_space_name, AVCOL_SPC_UNSPECIFIED);
            }
        }
        if (br.bits(1)) {
            const unsigned type = br.ue(); // of the top field; 0..5 name a siting
            h.chromaLocation = type <= 5 ? AVChromaLocation(type + 1) : AVCHROMA_LOC_UNSPECIFIED;
            br.ue();
        }
    }
    if (br.overrun)
        return false;
    // The profile as the decoder names it: with its constrained or intra variant.
    h.profile = int(profileIdc);
    if (profileIdc == 66 && (constraints & 0x40))
        h.profile |= FF_PROFILE_H264_CONSTRAINED;
    if ((profileIdc == 110 || profileIdc == 122 || profileIdc == 244) && (constraints & 0x10))
        h.profile |= FF_PROFILE_H264_INTRA;
    *out = h;
    return true;
}

bool vp8KeyFrameLayout(const uint8_t *data, int size, KeyFrameLayout *out)
{
    // The frame tag (key frame flag, profile), the start code, then 14 bits of width and of height.
    if (!data || size < 10 || (data[0] & 1) || data[3] != 0x9d || data[4] != 0x01 || data[5] != 0x2a)
        return false;
    const int profile = (data[0] >> 1) & 7;
    const int w = (data[6] | (data[7] << 8)) & 0x3fff;
    const int h = (data[8] | (data[9] << 8)) & 0x3fff;
    if (profile > 3 || w == 0 || h == 0)
        return false;
    out->format = AV_PIX_FMT_YUV420P; // the decoder's only layout
    out->width = w;
    out->height = h;
    out->profile = profile;
    return true;
}

bool vp9KeyFrameLayout(const uint8_t *data, int size, KeyFrameLayout *out)
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
    static const AVColorSpace spaces[8] = {AVCOL_SPC_UNSPECIFIED, AVCOL_SPC_BT470BG,   AVCOL_SPC_BT709,
                                           AVCOL_SPC_SMPTE170M,   AVCOL_SPC_SMPTE240M, AVCOL_SPC_BT2020_NCL,
                                           AVCOL_SPC_RESERVED,    AVCOL_SPC_RGB};
    AVPixelFormat fmt;
    const unsigned space = br.bits(3);
    AVColorRange range = AVCOL_RANGE_JPEG;
    if (space == 7) { // RGB: only the odd profiles carry it
        if (!(profile & 1) || br.bits(1) != 0)
            return false;
        fmt = rgb[depth];
    } else {
        range = br.bits(1) ? AVCOL_RANGE_JPEG : AVCOL_RANGE_MPEG;
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
    out->format = fmt;
    out->width = w;
    out->height = h;
    out->profile = profile;
    out->range = range;
    out->space = spaces[space];
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
    return true;
}

} // namespace rsc::job
