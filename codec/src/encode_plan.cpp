#include "encode_plan.h"

#include "common_media.h"
#include "filter_video.h"

extern "C" {
#include <libavutil/pixdesc.h>
}

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace rsc::job {

namespace {

// Below this a source's sound rate says nothing of the sound a join carries (a silent track's is a few kbit/s).
constexpr int64_t kLeastInheritedKbpsPerChannel = 16;

// Preferred encoders where FFmpeg registers an experimental or weaker one first.
const char *preferredEncoder(const char *codecName)
{
    static const struct
    {
        const char *codec, *encoder;
    } table[] = {{"h264", "libx264"},          {"hevc", "libx265"},     {"vp8", "libvpx"},     {"vp9", "libvpx-vp9"},
                 {"mpeg4", "mpeg4"},           {"theora", "libtheora"}, {"mp3", "libmp3lame"}, {"vorbis", "libvorbis"},
                 {"opus", "libopus"},          {"aac", "aac"},          {"mp2", "mp2"},        {"ac3", "ac3"},
                 {"mpeg2video", "mpeg2video"}, {"flv1", "flv"},         {"wmav2", "wmav2"},    {"wmv2", "wmv2"}};
    for (const auto &row : table) {
        if (std::string(row.codec) == codecName)
            return row.encoder;
    }
    return nullptr;
}

const AVCodec *encoderForId(AVCodecID id)
{
    if (id == AV_CODEC_ID_NONE)
        return nullptr;
    if (const char *pref = preferredEncoder(avcodec_get_name(id))) {
        if (const AVCodec *c = avcodec_find_encoder_by_name(pref))
            return c;
    }
    return avcodec_find_encoder(id);
}

// Whether the first clip's codec can stay in this container.
bool muxerTakes(const AVOutputFormat *muxer, const AVCodec *codec)
{
    if (!codec)
        return false;
    // Sound containers made for PCM (wav, aiff, au) get PCM even where a tag for the codec exists.
    const AVCodecDescriptor *def = avcodec_descriptor_get(muxer->audio_codec);
    if (codec->type == AVMEDIA_TYPE_AUDIO && def && std::string(def->name).rfind("pcm_", 0) == 0)
        return false;
    const int answer = avformat_query_codec(muxer, codec->id, FF_COMPLIANCE_NORMAL);
    if (answer >= 0)
        return answer == 1;
    // Muxers without codec tables: the transport stream takes the common broadcast codecs, the others
    // (program streams) the MPEG-1/2 family only.
    const bool transport = std::string(muxer->name) == "mpegts";
    switch (codec->id) {
    case AV_CODEC_ID_H264:
    case AV_CODEC_ID_HEVC:
    case AV_CODEC_ID_AAC:
        return transport;
    case AV_CODEC_ID_MPEG2VIDEO:
    case AV_CODEC_ID_MPEG1VIDEO:
    case AV_CODEC_ID_MP3:
    case AV_CODEC_ID_MP2:
    case AV_CODEC_ID_AC3:
        return true;
    default:
        return false;
    }
}

bool isSubsampled(AVPixelFormat fmt)
{
    const AVPixFmtDescriptor *d = av_pix_fmt_desc_get(fmt);
    return d && (d->log2_chroma_w > 0 || d->log2_chroma_h > 0);
}

void fitH263Size(int *w, int *h)
{
    static const int sizes[][2] = {{128, 96}, {176, 144}, {352, 288}, {704, 576}, {1408, 1152}};
    int best = 1;
    long bestDiff = LONG_MAX;
    for (int i = 0; i < 5; ++i) {
        const long diff = std::labs(long(sizes[i][0]) * sizes[i][1] - long(*w) * *h);
        if (diff < bestDiff) {
            bestDiff = diff;
            best = i;
        }
    }
    *w = sizes[best][0];
    *h = sizes[best][1];
}

} // namespace

const AVCodec *encoderForName(const std::string &name)
{
    if (name.empty())
        return nullptr;
    if (const char *pref = preferredEncoder(name.c_str())) {
        if (const AVCodec *c = avcodec_find_encoder_by_name(pref))
            return c;
    }
    if (const AVCodec *c = avcodec_find_encoder_by_name(name.c_str()))
        return c;
    if (const AVCodecDescriptor *d = avcodec_descriptor_get_by_name(name.c_str()))
        return encoderForId(d->id);
    return nullptr;
}

bool planStreams(const rsc::edit::CodecValues &v, const InputClip &first, const rsc::edit::EditConfig &firstEdit,
                 const AVOutputFormat *muxer, StreamPlan *plan, std::string *error)
{
    auto fail = [&](const std::string &why) {
        if (error)
            *error = why;
        return false;
    };
    StreamPlan p;
    p.options = v.options;

    // Video: a codec of -1 without a size is the caller's audio-only output.
    const bool audioOnlyAsked = v.videoCodec == -1 && v.width == 0 && v.height == 0;
    AVStream *vs = first.videoStream();
    // Containers whose only picture is a cover (mp3, flac) are sound containers.
    const bool soundContainer = muxer->video_codec == AV_CODEC_ID_NONE || muxer->video_codec == AV_CODEC_ID_PNG;
    if (!audioOnlyAsked && !soundContainer && (vs || v.width > 0)) {
        const AVCodec *codec = encoderForName(v.videoCodecName);
        if (!codec && vs) {
            codec = encoderForId(vs->codecpar->codec_id);
            if (!muxerTakes(muxer, codec))
                codec = nullptr;
        }
        if (!codec)
            codec = encoderForId(muxer->video_codec);
        if (!codec || codec->type != AVMEDIA_TYPE_VIDEO)
            return fail("no video encoder for this output");
        p.hasVideo = true;
        p.videoCodec = codec;
        p.width = v.width > 0 && v.height > 0 ? v.width : (vs ? vs->codecpar->width : 0);
        p.height = v.width > 0 && v.height > 0 ? v.height : (vs ? vs->codecpar->height : 0);
        if (p.width <= 0 || p.height <= 0)
            return fail("no picture size for the output");
        if (!(v.width > 0 && v.height > 0) && vs) {
            static const rsc::edit::EditConfig plain;
            rsc::edit::VideoSource src;
            src.width = p.width;
            src.height = p.height;
            const AVRational sar = rsc::displaySampleAspect(first.format(), vs);
            src.sarNum = sar.num;
            src.sarDen = sar.den;
            src.displayRotation = rsc::displayRotation(vs);
            rsc::edit::boundedEditedSize(firstEdit.codec.videoEdits ? firstEdit : plain, src, &p.width, &p.height);
        }
        if (v.frameRateNum > 0 && v.frameRateDen > 0)
            p.frameRate = AVRational{int(v.frameRateNum), int(v.frameRateDen)};
        else if (vs && vs->avg_frame_rate.num > 0 && vs->avg_frame_rate.den > 0)
            p.frameRate = vs->avg_frame_rate;
        else if (vs && vs->r_frame_rate.num > 0 && vs->r_frame_rate.den > 0)
            p.frameRate = vs->r_frame_rate;
        p.frameRate = av_d2q(av_q2d(p.frameRate), 100000);
        if (av_q2d(p.frameRate) > 240.0 || av_q2d(p.frameRate) < 1.0)
            p.frameRate = AVRational{25, 1};
        if (codec->supported_framerates)
            p.frameRate = codec->supported_framerates[av_find_nearest_q_idx(p.frameRate, codec->supported_framerates)];
        // The source's bit rate only means something to an encoder of the same codec.
        p.videoBitRate = v.videoBitRate > 0 ? v.videoBitRate
                                            : (vs && vs->codecpar->codec_id == codec->id ? vs->codecpar->bit_rate : 0);
        // 8-bit 4:2:0 where the encoder takes it (in its own range: MJPEG lists full-range first).
        p.pixelFormat = AV_PIX_FMT_YUV420P;
        if (codec->pix_fmts) {
            p.pixelFormat = codec->pix_fmts[0];
            for (const AVPixelFormat *f = codec->pix_fmts; *f != AV_PIX_FMT_NONE; ++f) {
                if (*f == AV_PIX_FMT_YUV420P || *f == AV_PIX_FMT_YUVJ420P) {
                    p.pixelFormat = *f;
                    break;
                }
            }
        }
        p.bitRateCeiling = v.videoQuality == 0 && v.videoBitRate > 0;
        if (codec->id == AV_CODEC_ID_H263)
            fitH263Size(&p.width, &p.height);
        if (isSubsampled(p.pixelFormat)) {
            p.width = std::max(2, p.width & ~1);
            p.height = std::max(2, p.height & ~1);
        }
        if (v.profileMode == 2 && v.profile > 0) {
            if (codec->id == AV_CODEC_ID_H264)
                p.videoProfile = v.profile == 66 ? "baseline" : v.profile == 77 ? "main" : "high";
            else if (codec->id == AV_CODEC_ID_HEVC)
                p.videoProfile = v.profile == 2 ? "main10" : "main";
        }
    }

    const AVStream *as = first.audioStream();
    // Sound whenever the container takes it, even when the first clip is silent: a later clip's sound
    // would be lost otherwise (silent clips get silence).
    if (muxer->audio_codec == AV_CODEC_ID_NONE && !v.audioCodecName.empty() && as)
        return fail("this container holds no sound"); // rather than an output that silently lost it
    if (muxer->audio_codec != AV_CODEC_ID_NONE) {
        const AVCodec *codec = encoderForName(v.audioCodecName);
        if (!codec && as) {
            codec = encoderForId(as->codecpar->codec_id);
            if (!muxerTakes(muxer, codec))
                codec = nullptr;
        }
        if (!codec)
            codec = encoderForId(muxer->audio_codec);
        if (!codec || codec->type != AVMEDIA_TYPE_AUDIO)
            return fail("no audio encoder for this output");
        p.hasAudio = true;
        p.audioCodec = codec;
        p.sampleRate = v.sampleRate > 0 ? v.sampleRate : (as ? as->codecpar->sample_rate : 44100);
        p.channels = v.channels > 0 ? v.channels : (as ? as->codecpar->ch_layout.nb_channels : 2);
        p.channels = std::clamp(p.channels, 1, 8);
        if (codec->supported_samplerates) {
            int best = codec->supported_samplerates[0];
            for (const int *r = codec->supported_samplerates; *r; ++r) {
                if (std::abs(*r - p.sampleRate) < std::abs(best - p.sampleRate))
                    best = *r;
            }
            p.sampleRate = best;
        }
        if (codec->ch_layouts) {
            int best = codec->ch_layouts[0].nb_channels;
            for (const AVChannelLayout *l = codec->ch_layouts; l->nb_channels; ++l) {
                if (std::abs(l->nb_channels - p.channels) < std::abs(best - p.channels))
                    best = l->nb_channels;
            }
            p.channels = best;
        }
        p.sampleFormat = codec->sample_fmts ? codec->sample_fmts[0] : AV_SAMPLE_FMT_FLTP;
        // The first clip's rate, where it is of the same codec and could carry sound: a silent track's few
        // kbit/s would starve every later clip's sound and any background mixed in (the encoder's own default
        // then).
        const int64_t sourceRate = as && as->codecpar->codec_id == codec->id ? as->codecpar->bit_rate : 0;
        p.audioBitRate = v.audioBitRate > 0
                             ? v.audioBitRate
                             : (sourceRate >= kLeastInheritedKbpsPerChannel * 1000 * p.channels ? sourceRate : 0);
    }
    if (!p.hasVideo && !p.hasAudio)
        return fail("nothing to write: the output takes none of the clip's streams");
    *plan = p;
    return true;
}

} // namespace rsc::job
