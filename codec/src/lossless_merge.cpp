#include "lossless_merge.h"

#include "chapter_place.h"
#include "common_media.h"

#include <cstring>

namespace rsc::job {

namespace {
// Packets read ahead to learn a stream's frame order: deeper than any reorder depth H.264 or HEVC allow.
constexpr size_t kLookAhead = 48;
// Packets a trial writes: past the first of every stream, and past the muxer's interleaving queue.
constexpr int kTrialPackets = 64;

// Containers that store H.264 and HEVC as a byte stream (start codes, parameter sets in the stream), not in
// the length-prefixed form of MP4 and Matroska.
bool storesByteStream(const AVOutputFormat *muxer)
{
    static const char *const names[] = {"avi", "mpeg", "vob", "dvd", "svcd", "vcd"};
    for (const char *n : names) {
        if (muxer && std::strcmp(muxer->name, n) == 0)
            return true;
    }
    return false;
}

// The filter that turns a length-prefixed H.264 or HEVC stream into the byte stream; null (and true) when
// the stream is in that form already or is of another codec.
bool byteStreamFilterFor(const AVStream *in, BsfPtr *out, std::string *error)
{
    const AVCodecParameters *par = in->codecpar;
    const char *name = par->codec_id == AV_CODEC_ID_H264   ? "h264_mp4toannexb"
                       : par->codec_id == AV_CODEC_ID_HEVC ? "hevc_mp4toannexb"
                                                           : nullptr;
    if (!name || par->extradata_size < 1 || par->extradata[0] != 1)
        return true;
    const AVBitStreamFilter *f = av_bsf_get_by_name(name);
    AVBSFContext *ctx = nullptr;
    if (!f || av_bsf_alloc(f, &ctx) < 0) {
        if (error)
            *error = std::string("no ") + name + " filter";
        return false;
    }
    out->reset(ctx);
    if (avcodec_parameters_copy(ctx->par_in, par) < 0)
        return false;
    ctx->time_base_in = in->time_base;
    if (const int err = av_bsf_init(ctx); err < 0) {
        if (error)
            *error = "cannot convert the pictures into the byte stream the container stores: " + errorText(err);
        return false;
    }
    return true;
}

// True when the byte-stream packet carries a sequence parameter set before its first picture slice.
bool carriesParameterSets(const AVPacket *pkt, AVCodecID codec)
{
    const uint8_t *p = pkt->data;
    const int n = pkt->size;
    for (int i = 0; i + 3 < n; ++i) {
        if (p[i] != 0 || p[i + 1] != 0 || p[i + 2] != 1)
            continue;
        const uint8_t header = p[i + 3];
        if (codec == AV_CODEC_ID_H264) {
            const int type = header & 0x1f;
            if (type == 7)
                return true;
            if (type >= 1 && type <= 5)
                return false;
        } else {
            const int type = (header >> 1) & 0x3f;
            if (type == 33)
                return true;
            if (type < 32)
                return false;
        }
        i += 2;
    }
    return false;
}

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

bool LosslessMerger::createStreams(const InputClip &clip, const AVBSFContext *byteStream, std::string *error)
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
    if (byteStream && m_video.out) {
        // The container states the byte stream's parameter sets and the codec's own tag ("H264").
        AVCodecParameters *par = m_video.out->codecpar;
        if (av_reallocp(&par->extradata, size_t(byteStream->par_out->extradata_size) + AV_INPUT_BUFFER_PADDING_SIZE) <
            0) {
            par->extradata_size = 0;
            if (error)
                *error = "out of memory";
            return false;
        }
        par->extradata_size = byteStream->par_out->extradata_size;
        std::memcpy(par->extradata, byteStream->par_out->extradata, size_t(par->extradata_size));
        std::memset(par->extradata + par->extradata_size, 0, AV_INPUT_BUFFER_PADDING_SIZE);
        // AVI names the codec by its tag, and FFmpeg's AVI muxer has none of its own for HEVC.
        par->codec_tag = std::strcmp(muxer->name, "avi") != 0 ? 0
                         : par->codec_id == AV_CODEC_ID_HEVC  ? MKTAG('H', 'E', 'V', 'C')
                                                              : MKTAG('H', '2', '6', '4');
    }
    if (m_video.out && std::strcmp(muxer->name, "avi") == 0) {
        // AVI counts pictures: one tick a picture. In a finer time base every tick between two pictures
        // would be written as an empty (dropped) picture.
        const AVStream *in = clip.videoStream();
        const AVRational rate =
            in->avg_frame_rate.num > 0 && in->avg_frame_rate.den > 0 ? in->avg_frame_rate : in->r_frame_rate;
        if (rate.num > 0 && rate.den > 0)
            m_video.out->time_base = av_inv_q(rate);
        // Nor does it store times: shifting every stream so that a sound's priming packet is not early
        // would move the pictures by a picture and leave an empty one at the start.
        m_output.format()->avoid_negative_ts = AVFMT_AVOID_NEG_TS_DISABLED;
        m_picturesCounted = true;
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
    if (const std::string clash = outputClash(m_output, task.source, task.edit); !clash.empty()) {
        // Whatever the caller does next, this output must not take the place of a file the task reads.
        m_broken = true;
        if (error)
            *error = clash;
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
    BsfPtr byteStream;
    if (clip->videoStream() && storesByteStream(m_output.muxer()) &&
        !byteStreamFilterFor(clip->videoStream(), &byteStream, error))
        return false;
    m_task = task;
    if (!m_output.headerWritten()) {
        if (!createStreams(*clip, byteStream.get(), error))
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
    m_byteStream = std::move(byteStream);
    m_task = task;
    return true;
}

bool LosslessMerger::toByteStream(AVPacket *pkt, AVBSFContext *filter, bool firstOfClip)
{
    if (av_bsf_send_packet(filter, pkt) < 0 || av_bsf_receive_packet(filter, pkt) < 0)
        return false;
    if (!firstOfClip || carriesParameterSets(pkt, filter->par_out->codec_id))
        return true;
    // A clip that starts on a key picture other than an IDR gets no parameter sets from the filter: a
    // reader starting there needs them in front of it.
    const AVCodecParameters *par = filter->par_out;
    PacketPtr with = makePacket();
    if (!with || av_new_packet(with.get(), par->extradata_size + pkt->size) < 0 ||
        av_packet_copy_props(with.get(), pkt) < 0)
        return false;
    std::memcpy(with->data, par->extradata, size_t(par->extradata_size));
    std::memcpy(with->data + par->extradata_size, pkt->data, size_t(pkt->size));
    av_packet_unref(pkt);
    av_packet_move_ref(pkt, with.get());
    return true;
}

bool LosslessMerger::canWrite(const std::string &container, const TaskSpec &task, std::string *error)
{
    LosslessMerger trial;
    if (!trial.m_output.createTrial(container, error) || !trial.prepare(task, error))
        return false;
    trial.m_trialPackets = kTrialPackets;
    Progress progress;
    const std::atomic<bool> stop{false};
    if (!trial.run(progress, stop, error))
        return false;
    trial.m_clip.reset();
    if (!trial.m_output.finish(true)) {
        if (error)
            *error = trial.m_output.problem();
        return false;
    }
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
    const BsfPtr byteStream = std::move(m_byteStream);
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
    bool firstPicture = true;
    int written = 0;
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
            // Counted pictures all start at the first: one that starts a fraction of a picture after the
            // sound would leave an empty picture after the first.
            if (m_picturesCounted && t == &m_video && t->lastDts == AV_NOPTS_VALUE && pkt->dts != AV_NOPTS_VALUE &&
                pkt->dts + offset > 0)
                offset = -pkt->dts;
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
        if (byteStream && t == &m_video) {
            if (!toByteStream(pkt.get(), byteStream.get(), firstPicture)) {
                m_broken = true;
                ok = false;
                if (error)
                    *error = "cannot convert the pictures of " + m_task.source + " into the container's byte stream";
                break;
            }
            firstPicture = false;
        }
        if (!m_output.write(pkt.get())) {
            m_broken = true;
            ok = false;
            if (error)
                *error = m_output.problem();
            break;
        }
        if (m_trialPackets > 0 && ++written >= m_trialPackets)
            break;
    }
    av_packet_unref(pkt.get());
    if (m_trialPackets > 0)
        return ok;
    if (ok && !stop.load() && clip->sourceChanged()) {
        m_broken = true;
        ok = false;
        if (error)
            *error = m_task.source + " changed while it was read (it was written to during the join)";
    }
    if (ok && !stop.load() &&
        lostItsTail(std::min(endUs, clip->statedEndUs(m_video.out != nullptr, m_audio.out != nullptr)), reachedUs,
                    m_task.source, error)) {
        m_broken = true;
        ok = false;
    }
    if (ok && !stop.load())
        addChapters(*clip, referenceUs == AV_NOPTS_VALUE ? 0 : referenceUs, std::min(endUs, reachedUs), outputStart);
    if (ok && !stop.load())
        progress.done = progress.total.load();
    return ok;
}

void LosslessMerger::addChapters(InputClip &clip, int64_t fromUs, int64_t toUs, int64_t outputStartUs)
{
    // The chapters the edits name, counted from where the clip lands; else the clip's own, cut to the part
    // joined. Either way none runs past what the clip reached in the output.
    ChapterPlace place;
    place.outputStartUs = outputStartUs;
    place.outputEndUs = positionUs();
    std::vector<ClipChapter> chapters;
    if (!m_task.edit.chapters.empty()) {
        place.toUs = place.outputEndUs - outputStartUs;
        chapters = editChapters(m_task.edit.chapters);
    } else {
        place.fromUs = fromUs;
        place.toUs = toUs;
        const AVFormatContext *ctx = clip.format();
        for (unsigned i = 0; i < ctx->nb_chapters; ++i) {
            const AVChapter *c = ctx->chapters[i];
            ClipChapter ch{chapterTimeUs(c->start, c->time_base, clip.originUs()),
                           chapterTimeUs(c->end, c->time_base, clip.originUs()),
                           {}};
            if (ch.startUs == INT64_MIN) // no time to place it at
                continue;
            if (const AVDictionaryEntry *title = av_dict_get(c->metadata, "title", nullptr, 0))
                ch.title = title->value;
            chapters.push_back(std::move(ch));
        }
    }
    for (const rsc::edit::Chapter &ch : placeChapters(std::move(chapters), place))
        m_output.addChapter(ch);
}

bool LosslessMerger::finish(bool complete, std::string *error)
{
    m_clip.reset();
    const bool ok = m_output.finish(complete && !m_broken);
    if (!ok && complete && !m_broken && error)
        *error = m_output.problem();
    return ok;
}

} // namespace rsc::job
