#include "lossless_merge.h"

#include "common_media.h"

#include <cstring>

namespace rsc::job {

namespace {
// Packets read ahead to learn a stream's frame order: deeper than any reorder depth H.264 or HEVC allow.
constexpr size_t kLookAhead = 48;
} // namespace

LosslessMerger::~LosslessMerger()
{
    m_clip.reset();
    avcodec_parameters_free(&m_video.params);
    avcodec_parameters_free(&m_audio.params);
    avcodec_parameters_free(&m_subtitle.params);
}

AVStream *carriedSubtitle(AVFormatContext *source, int n, const AVOutputFormat *muxer)
{
    if (!source || n < 0)
        return nullptr;
    int seen = 0;
    for (unsigned i = 0; i < source->nb_streams; ++i) {
        AVStream *s = source->streams[i];
        if (s->codecpar->codec_type == AVMEDIA_TYPE_SUBTITLE && seen++ == n)
            return OutputFile::holdsCodec(muxer, s->codecpar->codec_id) ? s : nullptr;
    }
    return nullptr;
}

namespace {

// The chosen subtitle stream of a clip when the edits carry it as a stream and the output holds it.
AVStream *chosenSubtitle(AVFormatContext *ctx, const rsc::edit::EditConfig &edit, const AVOutputFormat *muxer)
{
    if (!(edit.subtitleMode & 1) || !edit.subtitleFile.empty())
        return nullptr;
    return carriedSubtitle(ctx, edit.subtitleStream, muxer);
}

} // namespace

bool LosslessMerger::open(const std::string &path, const std::string &container, const rsc::edit::EditConfig &,
                          std::string *error)
{
    return m_output.create(path, container, error);
}

bool LosslessMerger::createStreams(const InputClip &clip, std::string *error)
{
    const AVOutputFormat *muxer = m_output.muxer();
    auto add = [&](const AVStream *in, Track &track) {
        if (!in)
            return true;
        AVStream *out = m_output.addStream();
        if (!out || avcodec_parameters_copy(out->codecpar, in->codecpar) < 0)
            return false;
        // Keep the source's codec tag only where this container knows it.
        const uint32_t tag = in->codecpar->codec_tag;
        if (!muxer->codec_tag || av_codec_get_id(muxer->codec_tag, tag) != in->codecpar->codec_id)
            out->codecpar->codec_tag = 0;
        out->time_base = in->time_base;
        out->avg_frame_rate = in->avg_frame_rate;
        out->r_frame_rate = in->r_frame_rate;
        out->sample_aspect_ratio = in->sample_aspect_ratio;
        av_dict_copy(&out->metadata, in->metadata, 0);
        // Display rotation, stereo mode and the like travel as stream side data.
        for (int i = 0; i < in->nb_side_data; ++i) {
            const AVPacketSideData &sd = in->side_data[i];
            if (uint8_t *dst = av_stream_new_side_data(out, sd.type, sd.size))
                std::memcpy(dst, sd.data, sd.size);
        }
        track.out = out;
        track.params = avcodec_parameters_alloc();
        return track.params && avcodec_parameters_copy(track.params, in->codecpar) >= 0;
    };
    m_videoRotation = rsc::displayRotation(clip.videoStream());
    // The chosen subtitle stream travels where the container holds its format; elsewhere it is left out.
    AVStream *subtitle = chosenSubtitle(clip.format(), m_task.edit, muxer);
    if (!add(clip.videoStream(), m_video) || !add(clip.audioStream(), m_audio) || !add(subtitle, m_subtitle)) {
        if (error)
            *error = "out of memory";
        return false;
    }
    return m_output.writeHeader(error);
}

bool LosslessMerger::canJoin(const AVCodecParameters *ref, const AVCodecParameters *par, std::string *error) const
{
    auto refuse = [&](const std::string &why) {
        if (error)
            *error = "cannot join without re-encoding: " + why;
        return false;
    };
    if (par->codec_id != ref->codec_id)
        return refuse(std::string("codec ") + avcodec_get_name(par->codec_id) + " differs from " +
                      avcodec_get_name(ref->codec_id));
    if (ref->extradata_size > 0 && par->extradata_size > 0 &&
        (ref->extradata_size != par->extradata_size ||
         std::memcmp(ref->extradata, par->extradata, size_t(ref->extradata_size)) != 0))
        return refuse("the codec's private data differs");
    if ((ref->extradata_size > 0) != (par->extradata_size > 0) && (m_output.muxer()->flags & AVFMT_GLOBALHEADER))
        return refuse("the codec's private data differs");
    if (ref->codec_type == AVMEDIA_TYPE_VIDEO) {
        if (par->width != ref->width || par->height != ref->height)
            return refuse("frame size " + std::to_string(par->width) + "x" + std::to_string(par->height) +
                          " differs from " + std::to_string(ref->width) + "x" + std::to_string(ref->height));
        if (par->format >= 0 && ref->format >= 0 && par->format != ref->format)
            return refuse("pixel format differs");
    } else {
        if (par->sample_rate != ref->sample_rate)
            return refuse("sample rate " + std::to_string(par->sample_rate) + " differs from " +
                          std::to_string(ref->sample_rate));
        if (av_channel_layout_compare(&par->ch_layout, &ref->ch_layout) != 0)
            return refuse("channel layout differs");
        if (par->format >= 0 && ref->format >= 0 && par->format != ref->format)
            return refuse("sample format differs");
    }
    return true;
}

bool LosslessMerger::prepare(const TaskSpec &task, std::string *error)
{
    if (m_broken) {
        if (error)
            *error = "the output was damaged by an earlier failure";
        return false;
    }
    if (m_output.isFile(task.source)) {
        if (error)
            *error = task.source + " is the output itself";
        return false;
    }
    auto clip = std::make_unique<InputClip>();
    if (!clip->open(task.source, task.edit.audioTrack, task.edit.programIndex, error, InputClip::Purpose::Copy))
        return false;
    // A raw elementary stream carries no timestamps: a copy into a container that stores them would put
    // every frame at one instant. Raw outputs take it as it is; the encoding mode times its frames.
    if (clip->videoStream() && !(m_output.muxer()->flags & AVFMT_NOTIMESTAMPS) &&
        !clip->firstPacketTimed(clip->videoIndex())) {
        if (error)
            *error = "cannot join without re-encoding: the pictures of " + task.source + " carry no timestamps";
        return false;
    }
    m_task = task;
    if (!m_output.headerWritten()) {
        if (!createStreams(*clip, error))
            return false;
    } else {
        // The one rule the clip list asks before offering the join (rsc_job_container_is_single_clip).
        if (OutputFile::holdsOneClip(m_output.muxer()->name)) {
            if (error)
                *error = "cannot join without re-encoding: a FLAC file holds one clip only";
            return false;
        }
        if (m_video.out && !clip->videoStream()) {
            if (error)
                *error = "cannot join without re-encoding: the clip has no video";
            return false;
        }
        if (m_audio.out && !clip->audioStream()) {
            if (error)
                *error = "cannot join without re-encoding: the clip has no audio";
            return false;
        }
        if (m_video.out && !canJoin(m_video.params, clip->videoStream()->codecpar, error))
            return false;
        if (m_video.out && rsc::displayRotation(clip->videoStream()) != m_videoRotation) {
            if (error)
                *error = "cannot join without re-encoding: the picture is turned differently";
            return false;
        }
        if (m_audio.out && !canJoin(m_audio.params, clip->audioStream()->codecpar, error))
            return false;
    }
    m_video.input = m_video.out ? clip->videoIndex() : -1;
    m_audio.input = m_audio.out ? clip->audioIndex() : -1;
    // A later clip's subtitles join when they are of the output's subtitle format; otherwise the clip has
    // none in the output.
    m_subtitle.input = -1;
    if (m_subtitle.out) {
        const AVStream *s = chosenSubtitle(clip->format(), task.edit, m_output.muxer());
        if (s && s->codecpar->codec_id == m_subtitle.params->codec_id) {
            m_subtitle.input = s->index;
            clip->format()->streams[s->index]->discard =
                AVDISCARD_DEFAULT; // the clip reads only its picture and sound otherwise
        }
    }
    // Streams the output does not carry are not read at all.
    for (unsigned i = 0; i < clip->format()->nb_streams; ++i) {
        if (int(i) != m_video.input && int(i) != m_audio.input && int(i) != m_subtitle.input)
            clip->format()->streams[i]->discard = AVDISCARD_ALL;
    }
    m_clip = std::move(clip);
    m_task = task;
    return true;
}

int64_t LosslessMerger::positionUs() const
{
    // Subtitles may outlast the picture; the next clip follows the picture and the sound.
    int64_t pos = 0;
    for (const Track *t : {&m_video, &m_audio}) {
        if (t->out && t->end != AV_NOPTS_VALUE)
            pos = std::max(pos, av_rescale_q(t->end, t->out->time_base, AV_TIME_BASE_Q));
    }
    return pos;
}

bool LosslessMerger::run(Progress &progress, const std::atomic<bool> &stop, std::string *error)
{
    if (!m_clip) {
        if (error)
            *error = "no task";
        return false;
    }
    std::unique_ptr<InputClip> clip = std::move(m_clip);
    AVFormatContext *in = clip->format();
    const int64_t origin = clip->originUs();
    const int64_t startUs = int64_t(m_task.startUs);
    const int64_t endUs = m_task.durationUs > 0 ? startUs + int64_t(m_task.durationUs) : INT64_MAX;
    const int64_t sourceLength = clip->durationUs();
    progress.total = m_task.durationUs > 0 ? m_task.durationUs : uint64_t(std::max<int64_t>(1, sourceLength - startUs));
    progress.done = 0;
    if (startUs > 0 && !clip->seekTo(startUs)) {
        if (error)
            *error = "cannot seek in " + m_task.source;
        return false;
    }

    const int64_t outputStart = positionUs();
    for (rsc::edit::Chapter ch : m_task.edit.chapters) {
        ch.startUs += uint64_t(outputStart);
        m_output.addChapter(ch);
    }
    // The clip time that lands on the output's current end: the container start for a whole clip, the
    // keyframe at or before the cut for a trimmed one (a lossless cut can only start on a keyframe).
    int64_t referenceUs = startUs > 0 ? AV_NOPTS_VALUE : 0;
    if (startUs > 0 && clip->videoStream()) {
        AVStream *vs = clip->videoStream();
        const int64_t ts = av_rescale_q(startUs + origin, AV_TIME_BASE_Q, vs->time_base);
        if (const AVIndexEntry *e = avformat_index_get_entry_from_timestamp(vs, ts, AVSEEK_FLAG_BACKWARD))
            referenceUs = av_rescale_q(e->timestamp, vs->time_base, AV_TIME_BASE_Q) - origin;
    }
    for (Track *t : {&m_video, &m_audio, &m_subtitle}) {
        t->offsetSet = false;
        t->timingChecked = false;
        t->deriveDts = false;
        t->done = t->out == nullptr;
    }
    bool videoStarted = !m_video.out;

    PacketPtr pkt = makePacket();
    bool ok = true;
    int64_t reachedUs = 0; // clip time where the latest packet read ends
    while (!(m_video.done && m_audio.done)) {
        if (stop.load(std::memory_order_relaxed))
            break;
        const int err = clip->read(pkt.get());
        if (err == AVERROR(EAGAIN))
            continue;
        if (err < 0)
            break; // the end, or a damaged tail: what was read stays
        Track *t = pkt->stream_index == m_video.input      ? &m_video
                   : pkt->stream_index == m_audio.input    ? &m_audio
                   : pkt->stream_index == m_subtitle.input ? &m_subtitle
                                                           : nullptr;
        if (!t || t->done) {
            av_packet_unref(pkt.get());
            continue;
        }
        const AVRational inTb = in->streams[pkt->stream_index]->time_base;
        if (t == &m_video && !t->timingChecked) {
            // Containers that store presentation times only: decoding times are derived from them (a
            // decoding time equal to the presentation time would reorder frames with B-frames).
            t->timingChecked = true;
            t->deriveDts = pkt->dts == AV_NOPTS_VALUE && pkt->pts != AV_NOPTS_VALUE;
            if (t->deriveDts) {
                std::vector<int64_t> ahead{pkt->pts};
                const std::vector<int64_t> more = clip->upcomingPts(pkt->stream_index, kLookAhead);
                ahead.insert(ahead.end(), more.begin(), more.end());
                t->dtsFromPts.start(ahead);
            }
        }
        if (t->deriveDts)
            pkt->dts = t->dtsFromPts.next(pkt->pts);
        if (pkt->dts == AV_NOPTS_VALUE)
            pkt->dts = pkt->pts;
        if (pkt->pts == AV_NOPTS_VALUE)
            pkt->pts = pkt->dts;
        const int64_t ptsUs =
            pkt->pts == AV_NOPTS_VALUE ? AV_NOPTS_VALUE : av_rescale_q(pkt->pts, inTb, AV_TIME_BASE_Q) - origin;
        const int64_t dtsUs =
            pkt->dts == AV_NOPTS_VALUE ? ptsUs : av_rescale_q(pkt->dts, inTb, AV_TIME_BASE_Q) - origin;
        if (t == &m_video && !videoStarted) {
            if (!(pkt->flags & AV_PKT_FLAG_KEY)) {
                av_packet_unref(pkt.get());
                continue;
            }
            videoStarted = true;
            if (referenceUs == AV_NOPTS_VALUE)
                referenceUs = ptsUs;
        }
        if (startUs > 0 && t == &m_audio &&
            (referenceUs == AV_NOPTS_VALUE ? m_video.out != nullptr
                                           : (ptsUs != AV_NOPTS_VALUE && ptsUs + 1000 < referenceUs))) {
            av_packet_unref(pkt.get()); // sound before the picture's cut point
            continue;
        }
        // The end of the range: video by decoding order, audio by presentation time.
        const int64_t cutTime = t == &m_video ? dtsUs : ptsUs;
        if (cutTime != AV_NOPTS_VALUE && cutTime >= endUs) {
            t->done = true;
            av_packet_unref(pkt.get());
            continue;
        }
        if (referenceUs == AV_NOPTS_VALUE)
            referenceUs = ptsUs != AV_NOPTS_VALUE ? ptsUs : 0;

        av_packet_rescale_ts(pkt.get(), inTb, t->out->time_base);
        if (!t->offsetSet) {
            // Each stream starts where the clip starts on the output time line, but never overlaps its
            // own previous packets.
            int64_t offset = av_rescale_q(outputStart - referenceUs - origin, AV_TIME_BASE_Q, t->out->time_base);
            if (t->end != AV_NOPTS_VALUE && pkt->pts != AV_NOPTS_VALUE && pkt->pts + offset < t->end)
                offset = t->end - pkt->pts;
            // Decoding times go on increasing across the join: the whole clip moves, never single frames.
            if (t->lastDts != AV_NOPTS_VALUE && pkt->dts != AV_NOPTS_VALUE && pkt->dts + offset <= t->lastDts)
                offset = t->lastDts + 1 - pkt->dts;
            t->offset = offset;
            t->offsetSet = true;
        }
        if (pkt->pts != AV_NOPTS_VALUE)
            pkt->pts += t->offset;
        if (pkt->dts != AV_NOPTS_VALUE)
            pkt->dts += t->offset;
        if (pkt->dts == AV_NOPTS_VALUE)
            pkt->dts = pkt->pts = (t->lastDts == AV_NOPTS_VALUE ? 0 : t->lastDts + 1);
        if (t->lastDts != AV_NOPTS_VALUE && pkt->dts <= t->lastDts)
            pkt->dts = t->lastDts + 1;
        if (pkt->pts != AV_NOPTS_VALUE && pkt->pts < pkt->dts)
            pkt->pts = pkt->dts;
        t->lastDts = pkt->dts;
        int64_t length = pkt->duration;
        if (length <= 0) {
            // Containers that store no packet durations: a frame's length from the stream's rate, so the
            // next clip does not start on top of this one's last frame.
            const AVStream *src = in->streams[pkt->stream_index];
            const AVCodecParameters *par = src->codecpar;
            if (par->codec_type == AVMEDIA_TYPE_VIDEO && src->avg_frame_rate.num > 0 && src->avg_frame_rate.den > 0)
                length = av_rescale_q(1, av_inv_q(src->avg_frame_rate), t->out->time_base);
            else if (par->codec_type == AVMEDIA_TYPE_AUDIO && par->frame_size > 0 && par->sample_rate > 0)
                length = av_rescale_q(par->frame_size, AVRational{1, par->sample_rate}, t->out->time_base);
        }
        const int64_t end = (pkt->pts != AV_NOPTS_VALUE ? pkt->pts : pkt->dts) + std::max<int64_t>(length, 0);
        if (t->end == AV_NOPTS_VALUE || end > t->end)
            t->end = end;
        if (ptsUs != AV_NOPTS_VALUE)
            reachedUs = std::max(reachedUs,
                                 ptsUs + av_rescale_q(std::max<int64_t>(length, 0), t->out->time_base, AV_TIME_BASE_Q));
        if (ptsUs != AV_NOPTS_VALUE && ptsUs > startUs)
            progress.done = uint64_t(std::min<int64_t>(ptsUs - startUs, int64_t(progress.total.load())));
        pkt->stream_index = t->out->index;
        pkt->pos = -1;
        if (!m_output.write(pkt.get())) {
            m_broken = true;
            ok = false;
            if (error)
                *error = "cannot write the output";
            break;
        }
    }
    av_packet_unref(pkt.get());
    if (ok && !stop.load() &&
        lostItsTail(std::min(endUs, clip->statedEndUs(m_video.out != nullptr, m_audio.out != nullptr)), reachedUs,
                    m_task.source, error)) {
        m_broken = true;
        ok = false;
    }
    if (ok && !stop.load() && m_task.edit.chapters.empty())
        addSourceChapters(*clip, referenceUs == AV_NOPTS_VALUE ? 0 : referenceUs, std::min(endUs, reachedUs),
                          outputStart);
    if (ok && !stop.load())
        progress.done = progress.total.load();
    return ok;
}

void LosslessMerger::addSourceChapters(InputClip &clip, int64_t fromUs, int64_t toUs, int64_t outputStartUs)
{
    // The clip's own chapters, cut to the part joined, where that part lands in the output.
    const AVFormatContext *ctx = clip.format();
    const int64_t origin = clip.originUs();
    for (unsigned i = 0; i < ctx->nb_chapters; ++i) {
        const AVChapter *c = ctx->chapters[i];
        const int64_t start = std::max(av_rescale_q(c->start, c->time_base, AV_TIME_BASE_Q) - origin, fromUs);
        const int64_t end = std::min(av_rescale_q(c->end, c->time_base, AV_TIME_BASE_Q) - origin, toUs);
        if (end <= start)
            continue;
        rsc::edit::Chapter ch;
        ch.startUs = uint64_t(std::max<int64_t>(0, outputStartUs + start - fromUs));
        ch.durationUs = uint64_t(end - start);
        if (const AVDictionaryEntry *title = av_dict_get(c->metadata, "title", nullptr, 0))
            ch.title = title->value;
        m_output.addChapter(ch);
    }
}

bool LosslessMerger::finish(bool complete)
{
    m_clip.reset();
    return m_output.finish(complete && !m_broken);
}

} // namespace rsc::job
