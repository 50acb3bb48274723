#include "common_media.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sys/stat.h>
#include <vector>

extern "C" {
#include <libavutil/display.h>
#include <libavutil/mathematics.h>
}

namespace rsc {

int64_t toMicros(int64_t ts, AVRational timeBase)
{
    if (ts == AV_NOPTS_VALUE)
        return AV_NOPTS_VALUE;
    return av_rescale_q(ts, timeBase, AVRational{1, 1000000});
}

int64_t fromMicros(int64_t us, AVRational timeBase)
{
    return av_rescale_q(us, AVRational{1, 1000000}, timeBase);
}

int displayRotation(const AVStream *stream)
{
    if (!stream)
        return 0;
    const uint8_t *matrix = av_stream_get_side_data(stream, AV_PKT_DATA_DISPLAYMATRIX, nullptr);
    double theta = 0;
    if (matrix) {
        theta = -av_display_rotation_get(reinterpret_cast<const int32_t *>(matrix));
    } else if (const AVDictionaryEntry *e = av_dict_get(stream->metadata, "rotate", nullptr, 0)) {
        theta = std::atof(e->value);
    }
    if (std::isnan(theta))
        return 0;
    long quarter = std::lround(theta / 90.0) % 4;
    if (quarter < 0)
        quarter += 4;
    return static_cast<int>(quarter * 90);
}

AVRational displaySampleAspect(AVFormatContext *ctx, AVStream *stream, const AVFrame *frame)
{
    const AVRational sar = av_guess_sample_aspect_ratio(ctx, stream, const_cast<AVFrame *>(frame));
    return sar.num > 0 && sar.den > 0 ? sar : AVRational{0, 1};
}

void displaySize(AVFormatContext *ctx, AVStream *stream, int *width, int *height)
{
    int w = stream->codecpar->width;
    int h = stream->codecpar->height;
    const AVRational sar = displaySampleAspect(ctx, stream);
    if (sar.num > 0 && sar.den > 0 && sar.num != sar.den)
        w = static_cast<int>(av_rescale(w, sar.num, sar.den));
    *width = w > 0 ? w : 1;
    *height = h > 0 ? h : 1;
}

void fitIntoBox(int w, int h, int boxW, int boxH, int *outW, int *outH)
{
    w = w > 0 ? w : 1;
    h = h > 0 ? h : 1;
    double rw = w, rh = h;
    if (boxW > 0 && boxH > 0) {
        const double scale = std::min(double(boxW) / w, double(boxH) / h);
        rw = w * scale;
        rh = h * scale;
    } else if (boxW > 0) {
        rw = boxW;
        rh = double(h) * boxW / w;
    } else if (boxH > 0) {
        rh = boxH;
        rw = double(w) * boxH / h;
    }
    *outW = std::max(1, static_cast<int>(std::lround(rw)));
    *outH = std::max(1, static_cast<int>(std::lround(rh)));
    if (boxW > 0)
        *outW = std::min(*outW, boxW);
    if (boxH > 0)
        *outH = std::min(*outH, boxH);
}

bool isRegularFile(const char *path)
{
    struct stat st;
    return path && *path && ::stat(path, &st) == 0 && S_ISREG(st.st_mode);
}

bool pictureTooLarge(int width, int height)
{
    return width > kMaxPictureSide || height > kMaxPictureSide || int64_t(width) * height > kMaxPicturePixels;
}

int findStreamInfoBounded(AVFormatContext *ctx)
{
    std::vector<AVDictionary *> options(ctx->nb_streams, nullptr);
    for (AVDictionary *&o : options)
        av_dict_set_int(&o, "max_pixels", kMaxPicturePixels, 0);
    const int err = avformat_find_stream_info(ctx, options.empty() ? nullptr : options.data());
    for (AVDictionary *&o : options)
        av_dict_free(&o);
    return err;
}

std::string pictureTooLargeText(int width, int height)
{
    return "a picture of " + std::to_string(width) + "x" + std::to_string(height) + " is larger than " +
           std::to_string(kMaxPictureSide) + " pixels a side or " + std::to_string(kMaxPicturePixels / 1000000) +
           " million pixels";
}

bool declaresHugePicture(const AVFormatContext *ctx, std::string *why)
{
    for (unsigned i = 0; i < ctx->nb_streams; ++i) {
        const AVStream *st = ctx->streams[i];
        const AVCodecParameters *par = st->codecpar;
        if (par->codec_type != AVMEDIA_TYPE_VIDEO || (st->disposition & AV_DISPOSITION_ATTACHED_PIC))
            continue;
        if (pictureTooLarge(par->width, par->height)) {
            if (why)
                *why = pictureTooLargeText(par->width, par->height);
            return true;
        }
    }
    return false;
}

int64_t rawStreamDurationUs(AVFormatContext *ctx, int videoIndex)
{
    constexpr int64_t kMaxBytesRead = 64 << 20;
    if (!ctx->pb || !(ctx->pb->seekable & AVIO_SEEKABLE_NORMAL) || videoIndex < 0 ||
        unsigned(videoIndex) >= ctx->nb_streams)
        return 0;
    const AVStream *st = ctx->streams[videoIndex];
    const AVRational rate = st->avg_frame_rate.num > 0 ? st->avg_frame_rate : st->r_frame_rate;
    const int64_t size = avio_size(ctx->pb);
    if (rate.num <= 0 || rate.den <= 0 || size <= 0)
        return 0;
    const int64_t resume = avio_tell(ctx->pb);
    AVPacket *pkt = av_packet_alloc();
    int64_t frames = 0;
    bool whole = false;
    while (pkt) {
        if (av_read_frame(ctx, pkt) < 0) {
            whole = true;
            break;
        }
        if (pkt->stream_index == videoIndex)
            ++frames;
        av_packet_unref(pkt);
        if (avio_tell(ctx->pb) >= kMaxBytesRead)
            break;
    }
    av_packet_free(&pkt);
    const int64_t readBytes = std::max<int64_t>(1, avio_tell(ctx->pb));
    if (!whole)
        frames = av_rescale(frames, size, readBytes);
    // Back to where the probe left the file, for whoever reads it next.
    av_seek_frame(ctx, -1, resume, AVSEEK_FLAG_BYTE);
    avformat_flush(ctx);
    return av_rescale_q(frames, av_inv_q(rate), AV_TIME_BASE_Q);
}

AVFrame *silentFrame(int sampleFormat, int sampleRate, int channels, int samples)
{
    AVFrame like{};
    like.format = sampleFormat;
    like.sample_rate = sampleRate;
    av_channel_layout_default(&like.ch_layout, channels);
    AVFrame *f = silenceLike(&like, samples);
    av_channel_layout_uninit(&like.ch_layout);
    return f;
}

AVFrame *silenceLike(const AVFrame *like, int samples)
{
    AVFrame *f = av_frame_alloc();
    if (!f)
        return nullptr;
    f->format = like->format;
    f->sample_rate = like->sample_rate;
    if (av_channel_layout_copy(&f->ch_layout, &like->ch_layout) < 0 || f->ch_layout.nb_channels <= 0) {
        av_frame_free(&f);
        return nullptr;
    }
    f->nb_samples = samples;
    if (av_frame_get_buffer(f, 0) < 0) {
        av_frame_free(&f);
        return nullptr;
    }
    av_samples_set_silence(f->extended_data, 0, samples, f->ch_layout.nb_channels, AVSampleFormat(f->format));
    return f;
}

} // namespace rsc
