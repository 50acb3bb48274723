#include "background_reader.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/mathematics.h>
#include <libavutil/samplefmt.h>
}

#include <algorithm>

namespace rsc::edit {

namespace {

// Sound decoders give nothing, or noise, for what they decode first after a seek (an MP3's bit reservoir, a
// codec's overlap): the file is read from a packet this long before the place, and cut there to the sample.
constexpr int64_t kPrerollUs = 500000;

// Read errors in a row that end a pass: a file that keeps failing gives up rather than spinning.
constexpr int kReadRetries = 16;

} // namespace

CodecContextPtr openBackgroundDecoder(AVFormatContext *ctx, int *stream, std::string *why)
{
    *stream = av_find_best_stream(ctx, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (*stream < 0) {
        if (why)
            *why = "it holds no sound";
        return nullptr;
    }
    for (unsigned i = 0; i < ctx->nb_streams; ++i) // a music video's pictures are not read
        ctx->streams[i]->discard = int(i) == *stream ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    const AVStream *st = ctx->streams[*stream];
    const AVCodec *codec = avcodec_find_decoder(st->codecpar->codec_id);
    CodecContextPtr dec(codec ? avcodec_alloc_context3(codec) : nullptr);
    if (!dec || avcodec_parameters_to_context(dec.get(), st->codecpar) < 0) {
        if (why)
            *why = "no decoder for its sound";
        return nullptr;
    }
    dec->pkt_timebase = st->time_base;
    if (const int err = avcodec_open2(dec.get(), codec, nullptr); err < 0) {
        if (why)
            *why = errorText(err);
        return nullptr;
    }
    return dec;
}

BackgroundReader::~BackgroundReader()
{
    av_channel_layout_uninit(&m_layout);
}

bool BackgroundReader::open(const BackgroundStart &start, const std::atomic<bool> *interrupt, std::string *error)
{
    auto fail = [&](const std::string &why) {
        if (error)
            *error = "cannot read the background sound " + start.file + ": " + why;
        return false;
    };
    std::string why;
    if (!infoOpenFile(&m_info, start.file.c_str(), &why))
        return fail(why.empty() ? "it is no media file" : why);
    AVFormatContext *ctx = m_info.ctx.get();
    m_decoder = openBackgroundDecoder(ctx, &m_stream, &why);
    if (!m_decoder)
        return fail(why);
    m_timeBase = ctx->streams[m_stream]->time_base;
    // The format the decoder announces; a frame in another (a stream that changes midway) is converted to it.
    m_rate = m_decoder->sample_rate > 0 ? m_decoder->sample_rate : 44100;
    m_format = m_decoder->sample_fmt != AV_SAMPLE_FMT_NONE ? m_decoder->sample_fmt : AV_SAMPLE_FMT_FLTP;
    if (m_decoder->ch_layout.nb_channels <= 0)
        av_channel_layout_default(&m_layout, 2);
    else if (m_decoder->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
        av_channel_layout_default(&m_layout, m_decoder->ch_layout.nb_channels);
    else
        av_channel_layout_copy(&m_layout, &m_decoder->ch_layout);
    m_interrupt = interrupt;
    m_loop = start.loop;
    m_fromStart = start.intoUs <= 0;
    if (!m_fromStart) {
        m_cutUs = start.firstUs + start.intoUs;
        const int64_t seekUs = m_cutUs - kPrerollUs;
        // Where the seek fails, the pass reads from the beginning and the cut drops what lies before.
        if (seekUs > start.firstUs)
            avformat_seek_file(ctx, -1, INT64_MIN, seekUs, seekUs, 0);
    }
    return true;
}

bool BackgroundReader::rewind()
{
    AVFormatContext *ctx = m_info.ctx.get();
    const int64_t begin = ctx->start_time != AV_NOPTS_VALUE ? ctx->start_time : 0;
    if (av_seek_frame(ctx, -1, begin, AVSEEK_FLAG_BACKWARD) < 0 &&
        avformat_seek_file(ctx, -1, INT64_MIN, begin, begin, 0) < 0)
        return false;
    avcodec_flush_buffers(m_decoder.get());
    m_draining = false;
    m_passPackets = m_lastSoundPacket = 0;
    m_fromStart = true;
    m_passSamples = 0;
    m_cutUs = INT64_MIN;
    m_nextUs = INT64_MIN;
    return true;
}

int BackgroundReader::decodeNext(AVFrame *frame)
{
    int failedReads = 0, failedDrains = 0;
    for (;;) {
        const int got = avcodec_receive_frame(m_decoder.get(), frame);
        if (got == 0) {
            if (frame->nb_samples > 0) {
                m_lastSoundPacket = m_passPackets;
                return 0;
            }
            av_frame_unref(frame);
            continue;
        }
        if (got == AVERROR_EOF)
            return AVERROR_EOF;
        if (m_draining) {
            // A damaged frame in the decoder's delay: the rest may still come out, but not for ever.
            if (got == AVERROR(EAGAIN) || ++failedDrains >= kReadRetries)
                return AVERROR_EOF;
            continue;
        }
        // EAGAIN or a frame that did not decode (skipped, as a player skips it): on with the next packet.
        if (m_interrupt && m_interrupt->load(std::memory_order_relaxed))
            return AVERROR_EOF;
        const bool over = m_passPackets - m_lastSoundPacket >= kSoundlessPackets ||
                          (m_fromStart && m_passEnd >= 0 && m_passPackets >= m_passEnd);
        const int read = over ? AVERROR_EOF : av_read_frame(m_info.ctx.get(), m_packet.get());
        if (read < 0) {
            if ((read == AVERROR(EAGAIN) || read == AVERROR(EINTR)) && ++failedReads < kReadRetries)
                continue;
            // The end of the file or of its sound, a read that fails, or a long run of what does not decode: the
            // decoder hands out what it holds.
            m_draining = true;
            avcodec_send_packet(m_decoder.get(), nullptr);
            continue;
        }
        failedReads = 0;
        if (m_packet->stream_index == m_stream) {
            ++m_passPackets;
            avcodec_send_packet(m_decoder.get(), m_packet.get()); // a damaged packet is skipped
        }
        av_packet_unref(m_packet.get());
    }
}

int BackgroundReader::convert(AVFrame *decoded, AVFrame *out)
{
    if (decoded->sample_rate == m_rate && decoded->format == m_format &&
        av_channel_layout_compare(&decoded->ch_layout, &m_layout) == 0) {
        av_frame_move_ref(out, decoded);
        return 0;
    }
    out->sample_rate = m_rate;
    out->format = m_format;
    av_channel_layout_copy(&out->ch_layout, &m_layout);
    if (decoded->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
        const int channels = decoded->ch_layout.nb_channels;
        av_channel_layout_uninit(&decoded->ch_layout);
        av_channel_layout_default(&decoded->ch_layout, channels);
    }
    if (!m_swr)
        m_swr.reset(swr_alloc());
    if (!m_swr)
        return AVERROR(ENOMEM);
    int err = swr_convert_frame(m_swr.get(), out, decoded);
    if (err == AVERROR_INPUT_CHANGED || err == AVERROR_OUTPUT_CHANGED || !swr_is_initialized(m_swr.get())) {
        av_frame_unref(out);
        out->sample_rate = m_rate;
        out->format = m_format;
        av_channel_layout_copy(&out->ch_layout, &m_layout);
        swr_close(m_swr.get());
        err = swr_config_frame(m_swr.get(), out, decoded);
        if (err >= 0)
            err = swr_init(m_swr.get());
        if (err >= 0)
            err = swr_convert_frame(m_swr.get(), out, decoded);
    }
    av_frame_unref(decoded);
    return err;
}

int BackgroundReader::read(AVFrame *out)
{
    while (!m_ended) {
        if (m_interrupt && m_interrupt->load(std::memory_order_relaxed))
            break;
        if (decodeNext(m_decoded.get()) == AVERROR_EOF) {
            if (m_fromStart && m_passEnd < 0)
                m_passEnd = m_lastSoundPacket;
            // Looped, it goes on from its beginning, unless a pass from there gave no sound at all.
            if (m_loop && !(m_fromStart && m_passSamples == 0) && rewind())
                continue;
            break;
        }
        AVFrame *f = m_decoded.get();
        const int64_t ts = f->best_effort_timestamp;
        const int64_t atUs = ts != AV_NOPTS_VALUE    ? av_rescale_q(ts, m_timeBase, AV_TIME_BASE_Q)
                             : m_nextUs != INT64_MIN ? m_nextUs
                                                     : 0;
        const int64_t lengthUs = f->sample_rate > 0 ? av_rescale(f->nb_samples, 1000000, f->sample_rate) : 0;
        m_nextUs = atUs + lengthUs;
        if (m_cutUs != INT64_MIN && atUs + lengthUs <= m_cutUs) {
            av_frame_unref(f);
            continue;
        }
        const int64_t skipUs = m_cutUs != INT64_MIN ? std::max<int64_t>(0, m_cutUs - atUs) : 0;
        m_cutUs = INT64_MIN;
        av_frame_unref(out);
        if (convert(f, out) < 0 || out->nb_samples <= 0) {
            av_frame_unref(out);
            continue;
        }
        const int skip = int(std::min<int64_t>(out->nb_samples, av_rescale(skipUs, m_rate, 1000000)));
        if (skip > 0) {
            // The place falls inside this frame: its samples from there on.
            FramePtr tail = makeFrame();
            tail->format = out->format;
            tail->sample_rate = out->sample_rate;
            tail->nb_samples = out->nb_samples - skip;
            av_channel_layout_copy(&tail->ch_layout, &out->ch_layout);
            if (tail->nb_samples <= 0 || av_frame_get_buffer(tail.get(), 0) < 0 ||
                av_samples_copy(tail->extended_data, out->extended_data, 0, skip, tail->nb_samples,
                                out->ch_layout.nb_channels, AVSampleFormat(out->format)) < 0) {
                av_frame_unref(out);
                continue;
            }
            av_frame_unref(out);
            av_frame_move_ref(out, tail.get());
        }
        out->pts = m_samplesOut;
        out->time_base = AVRational{1, m_rate};
        m_samplesOut += out->nb_samples;
        m_passSamples += out->nb_samples;
        return 0;
    }
    m_ended = true;
    return AVERROR_EOF;
}

} // namespace rsc::edit
