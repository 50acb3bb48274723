#include "decode_input.h"

#include <vector>

namespace rsc::job {

InputClip::~InputClip()
{
    m_videoDec.reset();
    m_audioDec.reset();
    if (m_format) {
        // The context does not own our I/O: detach it before closing.
        m_format->pb = nullptr;
        m_format.reset();
    }
}

bool InputClip::open(const std::string &path, int audioTrack, int program, std::string *error)
{
    auto fail = [&](const std::string &why) {
        if (error)
            *error = why;
        return false;
    };
    if (!m_io.openRead(path))
        return fail("cannot open " + path);
    AVFormatContext *ctx = avformat_alloc_context();
    if (!ctx)
        return fail("out of memory");
    ctx->pb = m_io.context();
    ctx->flags |= AVFMT_FLAG_CUSTOM_IO;
    int err = avformat_open_input(&ctx, path.c_str(), nullptr, nullptr);
    if (err < 0)
        return fail("not a media file: " + path + " (" + errorText(err) + ")");
    m_format.reset(ctx);
    err = avformat_find_stream_info(ctx, nullptr);
    if (err < 0)
        return fail("cannot read the streams of " + path + " (" + errorText(err) + ")");

    // The streams of the chosen program; every stream when the file has none (or not that many).
    std::vector<bool> inProgram(ctx->nb_streams, true);
    if (program > 0 && static_cast<unsigned>(program) < ctx->nb_programs) {
        const AVProgram *p = ctx->programs[program];
        inProgram.assign(ctx->nb_streams, false);
        for (unsigned k = 0; k < p->nb_stream_indexes; ++k) {
            if (p->stream_index[k] < ctx->nb_streams)
                inProgram[p->stream_index[k]] = true;
        }
    }
    int audioSeen = 0;
    int firstAudio = -1;
    for (unsigned i = 0; i < ctx->nb_streams; ++i) {
        if (!inProgram[i])
            continue;
        const AVStream *st = ctx->streams[i];
        const AVCodecParameters *par = st->codecpar;
        if (par->codec_type == AVMEDIA_TYPE_VIDEO && m_video < 0 && !(st->disposition & AV_DISPOSITION_ATTACHED_PIC) &&
            par->width > 0 && par->height > 0)
            m_video = static_cast<int>(i);
        if (par->codec_type == AVMEDIA_TYPE_AUDIO && par->sample_rate > 0) {
            if (firstAudio < 0)
                firstAudio = static_cast<int>(i);
            if (audioSeen++ == audioTrack)
                m_audio = static_cast<int>(i);
        }
    }
    if (m_audio < 0)
        m_audio = firstAudio;
    if (m_video < 0 && m_audio < 0)
        return fail("no audio or video stream in " + path);
    if (m_video >= 0 && ctx->streams[m_video]->codecpar->format < 0)
        return fail("the picture of " + path + " cannot be read (damaged or truncated file)");
    // Containers with an index say where their data ends: a file cut short is refused before anything of
    // it is used, rather than found out halfway through a join.
    if (ctx->pb) {
        const int64_t size = avio_size(ctx->pb);
        for (int index : {m_video, m_audio}) {
            if (index < 0 || size <= 0)
                continue;
            AVStream *st = ctx->streams[index];
            const int entries = avformat_index_get_entries_count(st);
            if (entries <= 0)
                continue;
            const AVIndexEntry *last = avformat_index_get_entry(st, entries - 1);
            if (last && last->pos + last->size > size)
                return fail(path + " is truncated: its data ends before its index says");
        }
    }
    for (unsigned i = 0; i < ctx->nb_streams; ++i) {
        if (static_cast<int>(i) != m_video && static_cast<int>(i) != m_audio)
            ctx->streams[i]->discard = AVDISCARD_ALL;
    }
    return true;
}

bool InputClip::openDecoders(bool video, bool audio, std::string *error)
{
    auto openOne = [&](int index, CodecPtr &dec) {
        AVStream *st = m_format->streams[index];
        const AVCodec *codec = avcodec_find_decoder(st->codecpar->codec_id);
        if (!codec) {
            if (error)
                *error = std::string("no decoder for ") + avcodec_get_name(st->codecpar->codec_id);
            return false;
        }
        dec.reset(avcodec_alloc_context3(codec));
        if (!dec || avcodec_parameters_to_context(dec.get(), st->codecpar) < 0)
            return false;
        dec->pkt_timebase = st->time_base;
        dec->thread_count = 0;
        const int err = avcodec_open2(dec.get(), codec, nullptr);
        if (err < 0) {
            if (error)
                *error = "cannot open the decoder: " + errorText(err);
            return false;
        }
        return true;
    };
    if (video && m_video >= 0 && !openOne(m_video, m_videoDec))
        return false;
    if (audio && m_audio >= 0 && !openOne(m_audio, m_audioDec))
        return false;
    return true;
}

int64_t InputClip::durationUs() const
{
    if (!m_format)
        return 0;
    if (m_format->duration > 0)
        return m_format->duration;
    int64_t best = 0;
    for (AVStream *st : {videoStream(), audioStream()}) {
        if (st && st->duration > 0)
            best = std::max(best, av_rescale_q(st->duration, st->time_base, AV_TIME_BASE_Q));
    }
    return best;
}

int64_t InputClip::originUs() const
{
    return m_format && m_format->start_time != AV_NOPTS_VALUE ? m_format->start_time : 0;
}

bool InputClip::seekTo(int64_t us)
{
    if (!m_format || us <= 0)
        return true;
    const int64_t target = us + originUs();
    if (m_video >= 0) {
        AVStream *st = m_format->streams[m_video];
        const int64_t ts = av_rescale_q(target, AV_TIME_BASE_Q, st->time_base);
        if (av_seek_frame(m_format.get(), m_video, ts, AVSEEK_FLAG_BACKWARD) >= 0)
            return true;
    }
    return av_seek_frame(m_format.get(), -1, target, AVSEEK_FLAG_BACKWARD) >= 0;
}

} // namespace rsc::job
