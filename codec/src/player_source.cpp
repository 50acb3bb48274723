#include "player_source.h"

#include "audio_fifo.h"
#include "common_media.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <vector>

namespace rsc {

PlayerSource::PlayerSource()
{
    m_packet = av_packet_alloc();
    m_frame = av_frame_alloc();
}

PlayerSource::~PlayerSource()
{
    close();
    av_packet_free(&m_packet);
    av_frame_free(&m_frame);
    av_frame_free(&m_silence);
}

bool PlayerSource::open(const std::string &path, const std::atomic<bool> *abort, int program, int video)
{
    close();
    if (!m_packet || !m_frame || !rsc::isRegularFile(path.c_str()))
        return false;
    m_abort = abort;
    m_fmt = avformat_alloc_context();
    if (!m_fmt)
        return false;
    if (abort) {
        m_fmt->interrupt_callback.callback = [](void *flag) -> int {
            return static_cast<const std::atomic<bool> *>(flag)->load() ? 1 : 0;
        };
        m_fmt->interrupt_callback.opaque = const_cast<std::atomic<bool> *>(abort);
    }
    if (avformat_open_input(&m_fmt, path.c_str(), nullptr, nullptr) < 0) { // frees the context on failure
        m_fmt = nullptr;
        return false;
    }
    if (rsc::declaresHugePicture(m_fmt, nullptr) || rsc::findStreamInfoBounded(m_fmt) < 0 ||
        rsc::declaresHugePicture(m_fmt, nullptr)) {
        close();
        return false;
    }
    m_videoIndex = chooseVideo(program, video);
    if (m_videoIndex == kNoSuchChoice) {
        close();
        return false;
    }
    if (m_videoIndex >= 0 && (m_fmt->streams[m_videoIndex]->disposition & AV_DISPOSITION_ATTACHED_PIC))
        m_videoIndex = -1; // a cover picture is not a video
    if (m_videoIndex >= 0 && !openDecoder(m_videoIndex, &m_video))
        m_videoIndex = -1;
    // Sound of the same program as the picture (FFmpeg looks there first for a related stream).
    m_audioIndex = av_find_best_stream(m_fmt, AVMEDIA_TYPE_AUDIO, -1, m_videoIndex, nullptr, 0);
    if (m_videoIndex < 0 && program > 0) {
        const AVProgram *pr = m_fmt->programs[program];
        m_audioIndex = -1;
        for (unsigned i = 0; i < pr->nb_stream_indexes && m_audioIndex < 0; ++i)
            if (m_fmt->streams[pr->stream_index[i]]->codecpar->codec_type == AVMEDIA_TYPE_AUDIO)
                m_audioIndex = int(pr->stream_index[i]);
    }
    if (m_audioIndex >= 0 && !openDecoder(m_audioIndex, &m_audio))
        m_audioIndex = -1;
    if (!m_video && !m_audio) {
        close();
        return false;
    }
    m_startUs = m_fmt->start_time != AV_NOPTS_VALUE ? m_fmt->start_time : 0;
    m_durationUs = m_fmt->duration != AV_NOPTS_VALUE ? std::max<int64_t>(0, m_fmt->duration) : 0;
    if (m_video) {
        AVStream *st = m_fmt->streams[m_videoIndex];
        AVRational fr = st->avg_frame_rate.num > 0 ? st->avg_frame_rate : st->r_frame_rate;
        if (fr.num > 0 && fr.den > 0)
            m_frameUs = std::max<int64_t>(1, av_rescale(1000000, fr.den, fr.num));
        for (unsigned i = 0; i < m_fmt->nb_streams; ++i)
            if (int(i) != m_videoIndex && int(i) != m_audioIndex)
                m_fmt->streams[i]->discard = AVDISCARD_ALL;
        if (isRawVideoStream(m_fmt, m_videoIndex)) {
            m_raw = true;
            m_rawRate = rawFrameRate(st);
            if (m_durationUs <= 0) // as the probe counts it
                m_durationUs = rawStreamDurationUs(m_fmt, m_videoIndex);
            // The length was counted by reading on: back to the first picture, number 0.
            seekRawStart(m_fmt, m_videoIndex, RawFrameIndex::Start{});
            startRawIndex(path);
        }
    }
    resetAudioConverter();
    return true;
}

void PlayerSource::startRawIndex(const std::string &path)
{
    m_rawIndex = std::make_shared<RawFrameIndex>();
    m_rawStop = false;
    m_rawScan = std::thread([index = m_rawIndex, url = "file:" + path, stream = m_videoIndex, stop = &m_rawStop] {
        AVFormatContext *ctx = avformat_alloc_context();
        AVDictionary *options = nullptr;
        av_dict_set(&options, "protocol_whitelist", "file", 0);
        if (ctx) {
            ctx->interrupt_callback.callback = [](void *flag) -> int {
                return static_cast<const std::atomic<bool> *>(flag)->load() ? 1 : 0;
            };
            ctx->interrupt_callback.opaque = stop;
        }
        if (ctx && avformat_open_input(&ctx, url.c_str(), nullptr, &options) >= 0) {
            if (unsigned(stream) < ctx->nb_streams)
                index->scan(ctx, stream, INT64_MAX, false, stop);
            avformat_close_input(&ctx);
        } // avformat_open_input frees the context on failure
        av_dict_free(&options);
        index->finish();
    });
}

void PlayerSource::stopRawIndex()
{
    m_rawStop = true;
    if (m_rawScan.joinable())
        m_rawScan.join();
    m_rawIndex.reset();
}

bool PlayerSource::openDecoder(int streamIndex, AVCodecContext **ctx)
{
    AVStream *st = m_fmt->streams[streamIndex];
    const AVCodecParameters *par = st->codecpar;
    // Streams without their basic parameters cannot be played (a file cut short before them).
    if (par->codec_type == AVMEDIA_TYPE_VIDEO && (par->width <= 0 || par->height <= 0))
        return false;
    if (par->codec_type == AVMEDIA_TYPE_AUDIO && (par->sample_rate <= 0 || par->ch_layout.nb_channels <= 0))
        return false;
    const AVCodec *codec = avcodec_find_decoder(par->codec_id);
    if (!codec)
        return false;
    AVCodecContext *c = avcodec_alloc_context3(codec);
    if (!c)
        return false;
    if (avcodec_parameters_to_context(c, st->codecpar) < 0) {
        avcodec_free_context(&c);
        return false;
    }
    c->pkt_timebase = st->time_base;
    c->thread_count = 0; // as many as the machine has
    if (avcodec_open2(c, codec, nullptr) < 0) {
        avcodec_free_context(&c);
        return false;
    }
    *ctx = c;
    return true;
}

void PlayerSource::resetAudioConverter()
{
    swr_free(&m_swr);
    // Without sound, the format the silence under a background is given in.
    m_outRate = 48000;
    m_outChannels = 2;
    if (!m_audio)
        return;
    m_outRate = m_audio->sample_rate > 0 ? m_audio->sample_rate : 44100;
    m_outChannels = std::min(2, std::max(1, m_audio->ch_layout.nb_channels));
    AVChannelLayout out{};
    av_channel_layout_default(&out, m_outChannels);
    AVChannelLayout in{};
    if (m_audio->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || m_audio->ch_layout.nb_channels <= 0)
        av_channel_layout_default(&in, std::max(1, m_audio->ch_layout.nb_channels));
    else
        av_channel_layout_copy(&in, &m_audio->ch_layout);
    if (swr_alloc_set_opts2(&m_swr, &out, AV_SAMPLE_FMT_S16, m_outRate, &in, m_audio->sample_fmt, m_outRate, 0,
                            nullptr) < 0 ||
        swr_init(m_swr) < 0)
        swr_free(&m_swr);
    av_channel_layout_uninit(&in);
    av_channel_layout_uninit(&out);
}

void PlayerSource::close()
{
    stopRawIndex();
    m_raw = false;
    m_rawNext = m_rawSent = 0;
    for (AVFrame *f : m_ready)
        av_frame_free(&f);
    m_ready.clear();
    swr_free(&m_swr);
    avcodec_free_context(&m_video);
    avcodec_free_context(&m_audio);
    if (m_fmt)
        avformat_close_input(&m_fmt);
    m_videoIndex = m_audioIndex = -1;
    m_durationUs = 0;
    m_frameUs = 40000;
    m_eof = false;
    m_flushed = false;
    m_lastVideoDts = INT64_MIN;
    m_drained = false;
    m_resyncing = false;
    m_seekOk = false;
    m_producedUs = INT64_MIN;
    m_dropUpToUs = INT64_MIN;
}

int PlayerSource::width() const
{
    return m_video ? m_video->width : 0;
}

int PlayerSource::height() const
{
    return m_video ? m_video->height : 0;
}

void PlayerSource::displayAspect(int *x, int *y) const
{
    *x = 0;
    *y = 0;
    if (!m_video)
        return;
    const AVRational sar = displaySampleAspect(m_fmt, m_fmt->streams[m_videoIndex]);
    if (sar.num <= 0 || sar.den <= 0)
        return;
    AVRational dar{};
    av_reduce(&dar.num, &dar.den, int64_t(m_video->width) * sar.num, int64_t(m_video->height) * sar.den, 1 << 20);
    *x = dar.num;
    *y = dar.den;
}

int PlayerSource::displayRotation() const
{
    return m_video ? rsc::displayRotation(m_fmt->streams[m_videoIndex]) : 0;
}

void PlayerSource::sampleAspect(int *num, int *den) const
{
    *num = 0;
    *den = 1;
    if (!m_video)
        return;
    const AVRational sar = displaySampleAspect(m_fmt, m_fmt->streams[m_videoIndex]);
    if (sar.num > 0 && sar.den > 0) {
        *num = sar.num;
        *den = sar.den;
    }
}

int PlayerSource::audioStreamCount() const
{
    if (!m_fmt)
        return 0;
    int n = 0;
    for (unsigned i = 0; i < m_fmt->nb_streams; ++i)
        if (m_fmt->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_AUDIO)
            ++n;
    return n;
}

int PlayerSource::chooseVideo(int program, int video) const
{
    // The default choice stays FFmpeg's best video stream, whatever programs the file has.
    if (program == 0 && video == 0)
        return av_find_best_stream(m_fmt, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    const bool programs = m_fmt->nb_programs > 0;
    if (program < 0 || video < 0 || (program > 0 && (!programs || unsigned(program) >= m_fmt->nb_programs)))
        return kNoSuchChoice;
    std::vector<int> candidates;
    if (programs) {
        const AVProgram *pr = m_fmt->programs[program];
        for (unsigned i = 0; i < pr->nb_stream_indexes; ++i)
            candidates.push_back(int(pr->stream_index[i]));
    } else {
        for (unsigned i = 0; i < m_fmt->nb_streams; ++i)
            candidates.push_back(int(i));
    }
    int n = 0;
    for (int i : candidates) {
        const AVStream *st = m_fmt->streams[i];
        if (st->codecpar->codec_type != AVMEDIA_TYPE_VIDEO || (st->disposition & AV_DISPOSITION_ATTACHED_PIC))
            continue;
        if (n++ == video)
            return i;
    }
    return video == 0 ? -1 : kNoSuchChoice; // a program without pictures plays its sound alone
}

bool PlayerSource::selectAudio(int index)
{
    if (!m_fmt || index < 0)
        return false;
    int n = 0;
    for (unsigned i = 0; i < m_fmt->nb_streams; ++i) {
        if (m_fmt->streams[i]->codecpar->codec_type != AVMEDIA_TYPE_AUDIO)
            continue;
        if (n++ != index)
            continue;
        if (int(i) == m_audioIndex)
            return true;
        AVCodecContext *c = nullptr;
        if (!openDecoder(int(i), &c))
            return false;
        if (m_audioIndex >= 0)
            m_fmt->streams[m_audioIndex]->discard = AVDISCARD_ALL;
        avcodec_free_context(&m_audio);
        m_audio = c;
        m_audioIndex = int(i);
        m_fmt->streams[i]->discard = AVDISCARD_DEFAULT;
        resetAudioConverter();
        return true;
    }
    return false;
}

int64_t PlayerSource::toMediaUs(int64_t pts, int streamIndex) const
{
    return av_rescale_q(pts, m_fmt->streams[streamIndex]->time_base, AVRational{1, 1000000}) - m_startUs;
}

bool PlayerSource::seek(int64_t mediaUs, bool after)
{
    if (!m_fmt)
        return false;
    for (AVFrame *f : m_ready)
        av_frame_free(&f);
    m_ready.clear();
    m_seekUs = mediaUs;
    m_seekAfter = after;
    const bool ok = positionDemuxer(mediaUs, after);
    m_seekOk = ok;
    if (m_video)
        avcodec_flush_buffers(m_video);
    if (m_audio)
        avcodec_flush_buffers(m_audio);
    m_audioEdit.reset(std::max<int64_t>(0, mediaUs));
    m_silenceFromUs = INT64_MIN;
    m_eof = false;
    m_flushed = false;
    m_lastVideoDts = INT64_MIN;
    m_lastAudioPts = INT64_MIN;
    m_drained = false;
    m_resyncing = false;
    m_dropUpToUs = INT64_MIN;
    m_producedUs = INT64_MIN;
    return ok;
}

bool PlayerSource::positionDemuxer(int64_t mediaUs, bool after)
{
    if (m_raw) {
        const int64_t frame = rawFrameAt(m_rawRate, mediaUs);
        m_rawIndex->waitFor(frame, after, m_abort);
        RawFrameIndex::Start start = m_rawIndex->startAtOrBefore(frame);
        if (after && !m_rawIndex->startAtOrAfter(frame, &start))
            return false;
        m_rawNext = m_rawSent = start.frame;
        return seekRawStart(m_fmt, m_videoIndex, start);
    }
    int ret;
    const int64_t target = std::max<int64_t>(0, mediaUs) + m_startUs;
    if (m_videoIndex >= 0) {
        AVStream *st = m_fmt->streams[m_videoIndex];
        const int64_t ts = av_rescale_q(target, AVRational{1, 1000000}, st->time_base);
        ret = av_seek_frame(m_fmt, m_videoIndex, ts, after ? 0 : AVSEEK_FLAG_BACKWARD);
        if (ret < 0)
            ret = avformat_seek_file(m_fmt, -1, INT64_MIN, target, target, 0);
    } else {
        ret = avformat_seek_file(m_fmt, -1, INT64_MIN, target, target, 0);
    }
    return ret >= 0;
}

void PlayerSource::receiveVideo()
{
    while (avcodec_receive_frame(m_video, m_frame) == 0) {
        int64_t pts = m_frame->best_effort_timestamp;
        pts = pts == AV_NOPTS_VALUE ? untimedPictureUs() : toMediaUs(pts, m_videoIndex);
        AVFrame *f = av_frame_alloc();
        if (!f) {
            av_frame_unref(m_frame);
            return;
        }
        av_frame_move_ref(f, m_frame);
        f->pts = pts;
        if (pts <= m_dropUpToUs) { // handed out before the decoder was drained
            av_frame_free(&f);
            continue;
        }
        m_producedUs = pts;
        m_ready.push_back(f);
    }
}

int64_t PlayerSource::untimedPictureUs()
{
    if (m_raw)
        return rawFrameTimeUs(m_rawRate, m_rawNext++);
    return m_producedUs == INT64_MIN ? 0 : m_producedUs + m_frameUs;
}

void PlayerSource::drainVideo()
{
    avcodec_send_packet(m_video, nullptr);
    // Draining hands out every picture held back, also pictures after the target whose neighbours were
    // never sent: only those up to the target are kept (or the first, when all lie after it).
    while (avcodec_receive_frame(m_video, m_frame) == 0) {
        int64_t pts = m_frame->best_effort_timestamp;
        pts = pts == AV_NOPTS_VALUE ? untimedPictureUs() : toMediaUs(pts, m_videoIndex);
        AVFrame *f = pts <= m_drainAfterUs || m_producedUs == INT64_MIN ? av_frame_alloc() : nullptr;
        if (!f) {
            av_frame_unref(m_frame);
            continue;
        }
        av_frame_move_ref(f, m_frame);
        f->pts = pts;
        m_producedUs = pts;
        m_ready.push_back(f);
    }
    m_drained = true;
}

bool PlayerSource::startResync()
{
    // The same packets again from the same key frame, up to the one the drain stopped at; the pictures
    // handed out already and the sound decoded already are not produced twice.
    if (!positionDemuxer(m_seekUs, m_seekAfter))
        return false;
    avcodec_flush_buffers(m_video);
    m_dropUpToUs = m_producedUs;
    m_resyncing = true;
    return true;
}

void PlayerSource::receiveAudio(AudioFifo &fifo, int64_t fromUs)
{
    while (avcodec_receive_frame(m_audio, m_frame) == 0) {
        if (!m_swr || m_frame->nb_samples <= 0) {
            av_frame_unref(m_frame);
            continue;
        }
        int64_t pts = m_frame->best_effort_timestamp;
        pts = pts == AV_NOPTS_VALUE ? std::max<int64_t>(0, fifo.endUs()) : toMediaUs(pts, m_audioIndex);
        if (m_audioEdit.active()) {
            m_frame->pts = pts;
            const bool edited = m_audioEdit.process(m_frame, fifo, m_outRate, m_outChannels, fromUs);
            if (edited) {
                av_frame_unref(m_frame);
                continue;
            }
        }
        const int cap = swr_get_out_samples(m_swr, m_frame->nb_samples);
        m_converted.resize(static_cast<size_t>(std::max(cap, 0)) * m_outChannels);
        uint8_t *out = reinterpret_cast<uint8_t *>(m_converted.data());
        const int got =
            swr_convert(m_swr, &out, cap, const_cast<const uint8_t **>(m_frame->extended_data), m_frame->nb_samples);
        av_frame_unref(m_frame);
        if (got <= 0)
            continue;
        int skip = 0;
        if (pts < fromUs) // the part before a seek target is not heard
            skip = static_cast<int>(std::min<int64_t>(got, (fromUs - pts) * m_outRate / 1000000));
        if (skip < got)
            fifo.push(m_converted.data() + static_cast<size_t>(skip) * m_outChannels, got - skip,
                      pts + int64_t(skip) * 1000000 / m_outRate);
    }
}

void PlayerSource::pumpSilence(AudioFifo &fifo, int64_t fromUs, int64_t untilUs)
{
    if (!playsSilence())
        return;
    constexpr int kChunk = 1024;
    if (!m_silence && !(m_silence = silentFrame(AV_SAMPLE_FMT_S16, m_outRate, m_outChannels, kChunk)))
        return;
    fromUs = std::max<int64_t>(0, fromUs);
    auto givenUs = [this] { return m_silenceFromUs + av_rescale(m_silentSamples, 1000000, m_outRate); };
    if (m_silenceFromUs == INT64_MIN || givenUs() < fromUs) {
        m_silenceFromUs = fromUs;
        m_silentSamples = 0;
        m_audioEdit.reset();
    }
    untilUs = std::min(untilUs, m_durationUs);
    while (givenUs() < untilUs) {
        AVFrame *f = av_frame_clone(m_silence);
        if (!f)
            return;
        f->nb_samples = int(std::clamp<int64_t>(av_rescale(untilUs - givenUs(), m_outRate, 1000000), 1, kChunk));
        f->pts = givenUs();
        m_silentSamples += f->nb_samples;
        const bool edited = m_audioEdit.process(f, fifo, m_outRate, m_outChannels, m_silenceFromUs);
        av_frame_free(&f);
        if (!edited)
            return; // the background cannot be read: nothing to hear
    }
}

bool PlayerSource::pump(AudioFifo &fifo, int64_t audioFromUs)
{
    if (!m_fmt)
        return false;
    if (m_drained && !m_resyncing) {
        if (m_drainAfterUs != INT64_MIN)
            return false; // the exact seek has every picture up to its target
        if (!startResync()) {
            m_eof = true;
            m_flushed = true;
            return false;
        }
    }
    if (m_eof) {
        if (!m_flushed) { // drain the decoders once
            m_flushed = true;
            if (m_video) {
                avcodec_send_packet(m_video, nullptr);
                receiveVideo();
            }
            if (m_audio) {
                avcodec_send_packet(m_audio, nullptr);
                receiveAudio(fifo, audioFromUs);
            }
        }
        return false;
    }
    const int ret = av_read_frame(m_fmt, m_packet);
    if (ret < 0) {
        m_eof = true;
        return true;
    }
    if (m_packet->stream_index == m_videoIndex && m_video) {
        if (m_raw) { // pictures are numbered as they come out; a time made up by the demuxer would mislead
            m_packet->pts = m_packet->dts = AV_NOPTS_VALUE;
            ++m_rawSent;
        }
        const int64_t at = m_packet->dts != AV_NOPTS_VALUE ? m_packet->dts : m_packet->pts;
        if (m_resyncing && at != AV_NOPTS_VALUE && at >= m_drainAt) {
            m_resyncing = false; // where the drain stopped: on as usual
            m_drained = false;
            m_video->skip_frame = AVDISCARD_DEFAULT;
        }
        if (m_drainAfterUs != INT64_MIN && m_seekOk && !m_drained && at != AV_NOPTS_VALUE &&
            toMediaUs(at, m_videoIndex) > m_drainAfterUs) {
            // Every picture up to the target has been sent: draining hands them out without decoding
            // the pictures after it that frame threads would need first.
            drainVideo();
            m_drainAt = at;
            av_packet_unref(m_packet);
            return true;
        }
        if (m_packet->dts != AV_NOPTS_VALUE)
            m_lastVideoDts = m_packet->dts;
        const int64_t skipBefore = m_resyncing ? m_dropUpToUs : m_skipBeforeUs;
        if (skipBefore != INT64_MIN)
            m_video->skip_frame = m_packet->pts != AV_NOPTS_VALUE && m_packet->duration > 0 &&
                                          toMediaUs(m_packet->pts + 2 * m_packet->duration, m_videoIndex) <= skipBefore
                                      ? AVDISCARD_NONREF
                                      : AVDISCARD_DEFAULT;
        if (avcodec_send_packet(m_video, m_packet) == AVERROR(EAGAIN)) {
            receiveVideo();
            avcodec_send_packet(m_video, m_packet);
        }
        receiveVideo();
    } else if (m_packet->stream_index == m_audioIndex && m_audio && !soundRead(m_packet) &&
               !soundLongBefore(m_packet, m_skipBeforeUs)) {
        if (avcodec_send_packet(m_audio, m_packet) == AVERROR(EAGAIN)) {
            receiveAudio(fifo, audioFromUs);
            avcodec_send_packet(m_audio, m_packet);
        }
        receiveAudio(fifo, audioFromUs);
    }
    av_packet_unref(m_packet);
    return true;
}

bool PlayerSource::soundRead(const AVPacket *packet)
{
    if (packet->pts == AV_NOPTS_VALUE)
        return false;
    if (m_resyncing && packet->pts <= m_lastAudioPts)
        return true;
    m_lastAudioPts = std::max(m_lastAudioPts, packet->pts);
    return false;
}

bool PlayerSource::soundLongBefore(const AVPacket *packet, int64_t mediaUs) const
{
    // A few packets before the point are still decoded: a sound decoder needs the one before to get the
    // first right (overlapping transforms).
    constexpr int64_t kLeadInUs = 200000;
    if (mediaUs == INT64_MIN || packet->pts == AV_NOPTS_VALUE || packet->duration <= 0)
        return false;
    return toMediaUs(packet->pts + packet->duration, m_audioIndex) < mediaUs - kLeadInUs;
}

void PlayerSource::skipUnreferencedBefore(int64_t mediaUs)
{
    m_skipBeforeUs = mediaUs;
    if (m_video && mediaUs == INT64_MIN)
        m_video->skip_frame = AVDISCARD_DEFAULT;
}

bool PlayerSource::reachesByDecoding(int64_t mediaUs) const
{
    if (m_raw) { // the clean start before the picture has been sent: no seek would start later
        const int64_t frame = rawFrameAt(m_rawRate, mediaUs);
        return m_video && !m_eof && frame >= m_rawNext && m_rawIndex->startAtOrBefore(frame).frame < m_rawSent;
    }
    if (!m_video || m_eof || m_drained || m_lastVideoDts == INT64_MIN)
        return false;
    AVStream *st = m_fmt->streams[m_videoIndex];
    // As seek() asks the demuxer.
    const int64_t ts = av_rescale_q(std::max<int64_t>(0, mediaUs) + m_startUs, AVRational{1, 1000000}, st->time_base);
    const int i = av_index_search_timestamp(st, ts, AVSEEK_FLAG_BACKWARD);
    const AVIndexEntry *key = i >= 0 ? avformat_index_get_entry(st, i) : nullptr;
    return key && (key->flags & AVINDEX_KEYFRAME) && key->timestamp <= m_lastVideoDts;
}

AVFrame *PlayerSource::nextVideo(AudioFifo &fifo, int64_t audioFromUs)
{
    if (!m_video)
        return nullptr;
    while (m_ready.empty()) {
        if (!pump(fifo, audioFromUs) && m_ready.empty())
            return nullptr;
    }
    AVFrame *f = m_ready.front();
    m_ready.pop_front();
    return f;
}

} // namespace rsc
