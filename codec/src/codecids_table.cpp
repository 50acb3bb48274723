#include "codecids_table.h"

#include <cstring>

namespace rsc {

const std::vector<CodecIdRow> &codecIdTable()
{
    static const std::vector<CodecIdRow> s_rows = {
        {"AC3", 86019, "ac3"},
        {"in24", 65549, "pcm_s24be"},
        {"mp43", 17, "msmpeg4v3"},
        {"wma3", 86054, "wmapro"},
        {"wma2", 86024, "wmav2"},
        {"wma1", 86023, "wmav1"},
        {"MP3", 86017, "mp3"},
        {"VP8", 141, "vp8"},
        {"VP9", 169, "vp9"},
        {"AAC", 86018, "aac"},
        {"MJPG", 8, "mjpeg"},
        {"MP4V", 13, "mpeg4"},
        {"OGG", 86021, "vorbis"},
        {"WMV1", 18, "wmv1"},
        {"WMV2", 19, "wmv2"},
        {"VBIS", 86021, "vorbis"},
        {"mpg1", 1, "mpeg1video"},
        {"HMP2", 2, "mpeg2video"},
        {"mp2v", 2, "mpeg2video"},
        {"mp1v", 1, "mpeg1video"},
        {"H263", 5, "h263"},
        {"H264", 28, "h264"},
        {"H265", 0x48323635u, "hevc"},
        {"Xvid", 0x44495658u, "mpeg4"},
        {"DIVX", 0x30355844u, "mpeg4"},
        {"MP2A", 86016, "mp2"},
        {"PCM", 65536, "pcm_s16le"},
        {"APE", 65536, "pcm_s16le"},
        {"caf", 69632, "adpcm_ima_qt"},
        {"DV60", 25, "dvvideo"},
        {"flac", 86028, "flac"},
        {"AMRN", 73728, "amr_nb"},
        {"flv1", 22, "flv1"},
        {"fmp3", 69645, "adpcm_swf"},
        {"DV50", 25, "dvvideo"},
        {"WMV3", 72, "wmv3"},
        {"vc-1", 71, "vc1"},
        {"pcmb", 65537, "pcm_s16be"},
        {"alac", 86032, "alac"},
        {"OGV", 31, "theora"},
    };
    return s_rows;
}

const char *ffmpegNameForCodecId(uint32_t id)
{
    for (const CodecIdRow &row : codecIdTable())
        if (row.id == id)
            return row.ffmpegName;
    return nullptr;
}

uint32_t codecIdForFFmpegName(const char *name)
{
    if (!name)
        return 0;
    for (const CodecIdRow &row : codecIdTable())
        if (std::strcmp(row.ffmpegName, name) == 0)
            return row.id;
    return 0;
}

AVCodecID avCodecIdForCodecId(uint32_t id)
{
    const char *name = ffmpegNameForCodecId(id);
    const AVCodecDescriptor *desc = name ? avcodec_descriptor_get_by_name(name) : nullptr;
    return desc ? desc->id : AV_CODEC_ID_NONE;
}

uint32_t codecIdForAvCodecId(AVCodecID codecId)
{
    const AVCodecDescriptor *desc = avcodec_descriptor_get(codecId);
    return desc ? codecIdForFFmpegName(desc->name) : 0;
}

const AVCodec *encoderForCodecId(uint32_t id)
{
    const char *name = ffmpegNameForCodecId(id);
    if (!name)
        return nullptr;
    // FFmpeg's own encoders for these are missing or experimental; the external ones are the ones to use.
    static const struct
    {
        const char *codec;
        const char *encoders[3];
    } s_preferred[] = {
        {"h264", {"libx264", nullptr, nullptr}},     {"hevc", {"libx265", nullptr, nullptr}},
        {"vp8", {"libvpx", nullptr, nullptr}},       {"vp9", {"libvpx-vp9", nullptr, nullptr}},
        {"vorbis", {"libvorbis", nullptr, nullptr}}, {"mp3", {"libmp3lame", "libshine", nullptr}},
        {"theora", {"libtheora", nullptr, nullptr}}, {"amr_nb", {"libopencore_amrnb", nullptr, nullptr}},
    };
    for (const auto &p : s_preferred) {
        if (std::strcmp(p.codec, name) != 0)
            continue;
        for (const char *encoder : p.encoders)
            if (encoder)
                if (const AVCodec *codec = avcodec_find_encoder_by_name(encoder))
                    return codec;
    }
    if (const AVCodec *codec = avcodec_find_encoder_by_name(name))
        return codec;
    const AVCodecID avId = avCodecIdForCodecId(id);
    return avId == AV_CODEC_ID_NONE ? nullptr : avcodec_find_encoder(avId);
}

const AVCodec *decoderForCodecId(uint32_t id)
{
    const AVCodecID avId = avCodecIdForCodecId(id);
    return avId == AV_CODEC_ID_NONE ? nullptr : avcodec_find_decoder(avId);
}

} // namespace rsc
