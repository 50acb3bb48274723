#include "encode_output.h"

extern "C" {
#include <libavutil/opt.h>
#include <libavutil/samplefmt.h>
}

#include <algorithm>

namespace rsc::job {

namespace {

AVDictionary *optionsOf(const std::string &text)
{
    AVDictionary *dict = nullptr;
    if (!text.empty())
        av_dict_parse_string(&dict, text.c_str(), "=", ":", 0);
    return dict;
}

} // namespace

bool Encoders::open(const StreamPlan &plan, OutputFile &output, std::string *error)
{
    m_plan = plan;
    m_output = &output;
    m_packet = makePacket();
    const bool globalHeader = output.muxer()->flags & AVFMT_GLOBALHEADER;
    auto fail = [&](const std::string &why, int err) {
        if (error)
            *error = why + ": " + errorText(err);
        return false;
    };
    if (plan.hasVideo) {
        m_video.reset(avcodec_alloc_context3(plan.videoCodec));
        AVCodecContext *c = m_video.get();
        c->width = plan.width;
        c->height = plan.height;
        c->pix_fmt = plan.pixelFormat;
        c->time_base = av_inv_q(plan.frameRate);
        c->framerate = plan.frameRate;
        c->sample_aspect_ratio = AVRational{1, 1};
        c->thread_count = 0;
        if (plan.videoBitRate > 0)
            c->bit_rate = plan.videoBitRate;
        if (plan.bitRateCeiling) {
            c->rc_max_rate = plan.videoBitRate;
            c->rc_buffer_size = static_cast<int>(std::min<int64_t>(plan.videoBitRate * 2, INT32_MAX));
        }
        if (plan.colorRange() == AVCOL_RANGE_JPEG)
            c->color_range = AVCOL_RANGE_JPEG;
        if (plan.videoCodec->id == AV_CODEC_ID_MPEG2VIDEO || plan.videoCodec->id == AV_CODEC_ID_MPEG4 ||
            plan.videoCodec->id == AV_CODEC_ID_H263 || plan.videoCodec->id == AV_CODEC_ID_FLV1 ||
            plan.videoCodec->id == AV_CODEC_ID_WMV2) {
            c->gop_size = 12;
            if (plan.videoBitRate <= 0) { // constant quality rather than the 200 kbit/s default
                c->flags |= AV_CODEC_FLAG_QSCALE;
                c->global_quality = FF_QP2LAMBDA * 4;
            }
        }
        if (globalHeader)
            c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        if (!plan.videoProfile.empty())
            av_opt_set(c->priv_data, "profile", plan.videoProfile.c_str(), 0);
        AVDictionary *opts = optionsOf(plan.options);
        // libvpx's own defaults encode far slower than real time; keep the caller's choice where given.
        const std::string name = plan.videoCodec->name;
        if (name == "libvpx-vp9" || name == "libvpx") {
            av_dict_set(&opts, "deadline", "good", AV_DICT_DONT_OVERWRITE);
            av_dict_set(&opts, "cpu-used", "4", AV_DICT_DONT_OVERWRITE);
            if (name == "libvpx-vp9")
                av_dict_set(&opts, "row-mt", "1", AV_DICT_DONT_OVERWRITE);
        }
        const int err = avcodec_open2(c, plan.videoCodec, &opts);
        av_dict_free(&opts);
        if (err < 0)
            return fail(std::string("cannot open the video encoder ") + plan.videoCodec->name, err);
        m_videoStream = output.addStream();
        if (!m_videoStream || avcodec_parameters_from_context(m_videoStream->codecpar, c) < 0)
            return fail("cannot add the video stream", AVERROR(ENOMEM));
        m_videoStream->time_base = c->time_base;
        m_videoStream->avg_frame_rate = plan.frameRate;
        m_videoStream->r_frame_rate = plan.frameRate;
    }
    if (plan.hasAudio) {
        auto openAudio = [&](int64_t bitRate) {
            m_audio.reset(avcodec_alloc_context3(plan.audioCodec));
            AVCodecContext *c = m_audio.get();
            if (!c)
                return AVERROR(ENOMEM);
            c->sample_rate = plan.sampleRate;
            av_channel_layout_default(&c->ch_layout, plan.channels);
            c->sample_fmt = plan.sampleFormat;
            c->time_base = AVRational{1, plan.sampleRate};
            c->thread_count = 0;
            if (bitRate > 0)
                c->bit_rate = bitRate;
            if (globalHeader)
                c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
            AVDictionary *opts = optionsOf(plan.options);
            const int err = avcodec_open2(c, plan.audioCodec, &opts);
            av_dict_free(&opts);
            return err;
        };
        int err = openAudio(plan.audioBitRate);
        // Some encoders refuse a bit rate outside what they can make of the sound format (Vorbis at 22050 Hz
        // mono, say): the format matters more than the rate, so their own rate is taken instead.
        if (err < 0 && plan.audioBitRate > 0)
            err = openAudio(0);
        AVCodecContext *c = m_audio.get();
        if (err < 0)
            return fail(std::string("cannot open the audio encoder ") + plan.audioCodec->name, err);
        m_audioStream = output.addStream();
        if (!m_audioStream || avcodec_parameters_from_context(m_audioStream->codecpar, c) < 0)
            return fail("cannot add the audio stream", AVERROR(ENOMEM));
        m_audioStream->time_base = c->time_base;
        m_audioFrameSize = (c->frame_size > 0 && !(plan.audioCodec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE))
                               ? c->frame_size
                               : 1024;
        m_fifo.reset(av_audio_fifo_alloc(c->sample_fmt, c->ch_layout.nb_channels, m_audioFrameSize * 4));
        m_audioFrame = makeFrame();
        if (!m_fifo || !m_audioFrame)
            return fail("out of memory", AVERROR(ENOMEM));
    }
    return true;
}

bool Encoders::drain(AVCodecContext *enc, AVStream *stream, AVFrame *frame)
{
    int err = avcodec_send_frame(enc, frame);
    if (err < 0 && err != AVERROR_EOF)
        return false;
    for (;;) {
        err = avcodec_receive_packet(enc, m_packet.get());
        if (err == AVERROR(EAGAIN) || err == AVERROR_EOF)
            return true;
        if (err < 0)
            return false;
        av_packet_rescale_ts(m_packet.get(), enc->time_base, stream->time_base);
        m_packet->stream_index = stream->index;
        const bool ok = m_output->write(m_packet.get());
        av_packet_unref(m_packet.get());
        if (!ok)
            return false;
    }
}

bool Encoders::writeVideo(AVFrame *frame)
{
    if (!m_video)
        return true;
    frame->pts = m_videoFrames++;
    frame->pict_type = AV_PICTURE_TYPE_NONE;
    if (!drain(m_video.get(), m_videoStream, frame))
        return false;
    // Sound held back for this picture may go now.
    return !m_audio || encodeAudioFrames(false);
}

bool Encoders::writeAudio(const AVFrame *frame)
{
    if (!m_audio || frame->nb_samples <= 0)
        return true;
    if (av_audio_fifo_write(m_fifo.get(), reinterpret_cast<void **>(const_cast<uint8_t **>(frame->extended_data)),
                            frame->nb_samples) < frame->nb_samples)
        return false;
    m_audioSamples += frame->nb_samples;
    return encodeAudioFrames(false);
}

bool Encoders::padAudioTo(int64_t totalSamples)
{
    if (!m_audio)
        return true;
    while (m_audioSamples < totalSamples) {
        const int n = static_cast<int>(std::min<int64_t>(totalSamples - m_audioSamples, 4096));
        FramePtr silence = makeFrame();
        silence->nb_samples = n;
        silence->format = m_audio->sample_fmt;
        av_channel_layout_copy(&silence->ch_layout, &m_audio->ch_layout);
        silence->sample_rate = m_audio->sample_rate;
        if (av_frame_get_buffer(silence.get(), 0) < 0)
            return false;
        av_samples_set_silence(silence->extended_data, 0, n, m_audio->ch_layout.nb_channels, m_audio->sample_fmt);
        if (!writeAudio(silence.get()))
            return false;
    }
    return true;
}

int64_t Encoders::samplesForFrames(int64_t frames) const
{
    if (!m_audio)
        return 0;
    return av_rescale_q_rnd(frames, av_inv_q(m_plan.frameRate), AVRational{1, m_plan.sampleRate},
                            AVRounding(AV_ROUND_NEAR_INF | AV_ROUND_PASS_MINMAX));
}

void Encoders::trimAudioTo(int64_t totalSamples)
{
    if (!m_audio || m_audioSamples <= totalSamples)
        return;
    const int queued = av_audio_fifo_size(m_fifo.get());
    const int keep = static_cast<int>(std::clamp<int64_t>(totalSamples - m_audioEncodedSamples, 0, queued));
    FifoPtr kept(av_audio_fifo_alloc(m_audio->sample_fmt, m_audio->ch_layout.nb_channels, std::max(keep, 1)));
    if (!kept)
        return;
    if (keep > 0) {
        FramePtr tmp = makeFrame();
        tmp->nb_samples = keep;
        tmp->format = m_audio->sample_fmt;
        av_channel_layout_copy(&tmp->ch_layout, &m_audio->ch_layout);
        if (av_frame_get_buffer(tmp.get(), 0) < 0 ||
            av_audio_fifo_peek(m_fifo.get(), reinterpret_cast<void **>(tmp->extended_data), keep) < keep ||
            av_audio_fifo_write(kept.get(), reinterpret_cast<void **>(tmp->extended_data), keep) < keep)
            return;
    }
    m_fifo = std::move(kept);
    m_audioSamples = m_audioEncodedSamples + keep;
}

bool Encoders::encodeAudioFrames(bool last)
{
    AVCodecContext *c = m_audio.get();
    // Sound waits for its pictures, but never more than 10 s of it (a still picture with long sound would
    // otherwise be held in memory whole).
    const int64_t limit = (m_video && !last)
                              ? std::max(samplesForFrames(m_videoFrames), m_audioSamples - 10 * int64_t(c->sample_rate))
                              : INT64_MAX;
    while (
        (av_audio_fifo_size(m_fifo.get()) >= m_audioFrameSize && m_audioEncodedSamples + m_audioFrameSize <= limit) ||
        (last && av_audio_fifo_size(m_fifo.get()) > 0)) {
        int n = std::min(av_audio_fifo_size(m_fifo.get()), m_audioFrameSize);
        const bool padLast = n < m_audioFrameSize && !(c->codec->capabilities & AV_CODEC_CAP_SMALL_LAST_FRAME) &&
                             !(c->codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE);
        AVFrame *f = m_audioFrame.get();
        av_frame_unref(f);
        f->nb_samples = padLast ? m_audioFrameSize : n;
        f->format = c->sample_fmt;
        av_channel_layout_copy(&f->ch_layout, &c->ch_layout);
        f->sample_rate = c->sample_rate;
        if (av_frame_get_buffer(f, 0) < 0)
            return false;
        if (padLast)
            av_samples_set_silence(f->extended_data, 0, f->nb_samples, c->ch_layout.nb_channels, c->sample_fmt);
        if (av_audio_fifo_read(m_fifo.get(), reinterpret_cast<void **>(f->extended_data), n) < n)
            return false;
        f->pts = m_audioEncodedSamples;
        m_audioEncodedSamples += f->nb_samples;
        if (!drain(c, m_audioStream, f))
            return false;
    }
    return true;
}

bool Encoders::flush()
{
    bool ok = true;
    if (m_audio) {
        ok = encodeAudioFrames(true) && ok;
        ok = drain(m_audio.get(), m_audioStream, nullptr) && ok;
    }
    if (m_video)
        ok = drain(m_video.get(), m_videoStream, nullptr) && ok;
    return ok;
}

} // namespace rsc::job
