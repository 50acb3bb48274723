#include "reencode_merge.h"

#include "chapter_place.h"
#include "common_media.h"
#include "filter_audio.h"
#include "filter_escape.h"
#include "filter_inputs.h"

extern "C" {
#include <libavutil/imgutils.h>
#include <libavutil/pixdesc.h>
}

#include <algorithm>
#include <cmath>
#include <unistd.h>
#include <vector>

namespace rsc::job {

using rsc::edit::EditConfig;

namespace {

// The cut comes first, on the clip's own time line (frames arrive timed from the trim start). `desc` reads
// from "[in]"; `trim` is "trim" or "atrim".
std::string afterCut(const char *trim, int64_t lengthUs, const std::string &desc)
{
    std::string cut = std::string("[in]") + trim + "=start=0";
    if (lengthUs > 0)
        cut += ":end=" + rsc::edit::num(lengthUs / 1e6);
    return cut + "[cut];[cut]" + desc.substr(4);
}

// How long the trimmed part of a clip lasts on the clip's own clock, by the clip's stated length.
int64_t silentLengthUs(const InputClip &clip, int64_t startUs, int64_t lengthUs)
{
    int64_t us = clip.durationUs() - startUs;
    if (lengthUs > 0)
        us = std::min(us, lengthUs);
    return std::max<int64_t>(us, 0);
}

// How long `clipUs` of the clip lasts in the output at `pace` (EditConfig::pace).
int64_t outputLengthUs(int64_t clipUs, int64_t pace)
{
    return av_rescale(clipUs, EditConfig::kNormalPace, pace);
}

// A gap in a clip's sound longer than this is filled with silence before its edits: a background keeps to the
// clip's clock over it (the mix counts samples, not times), and no filter is left to make it up in one piece.
// Shorter ones are evened out after the edits, as timestamps that waver a little are.
constexpr int64_t kSoundGapUs = 100000;

} // namespace

struct ReencodeMerger::ClipState
{
    InputClip *clip = nullptr;
    const EditConfig *edit = nullptr;
    int64_t startUs = 0;  // trim start, clip time
    int64_t lengthUs = 0; // trimmed length; 0 = to the end
    int64_t originUs = 0;
    // The pace the output's length follows: the picture's when the output has pictures, else the sound's
    // (each is the clip's pace when its edits apply).
    int64_t pace = EditConfig::kNormalPace;
    rsc::edit::FilterResources resources;
    rsc::edit::FilterGraph videoGraph;
    rsc::edit::FilterGraph audioGraph;
    bool videoGraphFailed = false;
    bool audioGraphFailed = false;
    FramePtr frame = makeFrame();
    FramePtr filtered = makeFrame();
    int64_t positionUs = 0;   // progress within the clip
    int64_t contentEndUs = 0; // end of the latest picture or sound decoded, clip time
    bool videoDone = false;
    bool audioDone = false;
    int64_t videoFrames = 0; // written for this clip
    // What the graphs were built for: a source that changes its picture or sound format mid-stream gets
    // new graphs from that frame on.
    int videoWidth = 0, videoHeight = 0, videoFormat = -1;
    int audioRate = 0, audioChannels = 0, audioFormat = -1;
    int64_t videoStartUs = 0;
    int64_t audioStartSamples = 0; // output sample count when the clip began
    FramePtr lastPicture;          // the latest decoded picture and where it ends (clip time)
    int64_t lastPictureEndUs = 0;
    // Frames decoded, and where the next frame without any timestamp is placed (raw elementary streams).
    int64_t videoDecoded = 0, audioDecoded = 0;
    int64_t nextVideoUs = 0, nextAudioUs = 0;
    int64_t outputStartUs = 0; // output time when the clip began
    bool silentSound = false;  // the clip has no sound and a background is mixed into its silence
    bool background = false;   // a background is mixed into the clip's sound
    // Where the sound given to the sound graph ends (clip time from the trim start; INT64_MIN before any), and
    // the run of silence that ends there, counted in samples from where it began so that it keeps no rounding.
    int64_t soundEndUs = INT64_MIN;
    int64_t silenceFromUs = INT64_MIN;
    int64_t silenceSamples = 0;
    FramePtr soundFormat; // a frame of the clip's latest sound format, for the silence that fills its gaps
};

ReencodeMerger::~ReencodeMerger() = default;

bool ReencodeMerger::open(const std::string &path, const std::string &container, const EditConfig &cfg,
                          std::string *error)
{
    m_values = cfg.codec;
    return m_output.create(path, container, error);
}

bool ReencodeMerger::prepare(const TaskSpec &task, std::string *error)
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
    if (!filesReadable(task.edit, error) || !rsc::edit::subtitleStreamUsable(task.source, task.edit, error))
        return false;
    auto clip = std::make_unique<InputClip>();
    if (!clip->open(task.source, task.edit.audioTrack, task.edit.programIndex, error))
        return false;
    if (!m_output.headerWritten()) {
        StreamPlan plan;
        if (!planStreams(m_values, *clip, task.edit, m_output.muxer(), &plan, error))
            return false;
        if (!m_encoders.open(plan, m_output, error))
            return false;
        if (!m_output.writeHeader(error)) {
            m_broken = true;
            return false;
        }
    }
    const StreamPlan &plan = m_encoders.plan();
    if (!clip->openDecoders(plan.hasVideo, plan.hasAudio, error))
        return false;
    if (plan.hasVideo && !plan.hasAudio && !clip->videoStream()) {
        if (error)
            *error = "the clip has no picture for a video-only output";
        return false;
    }
    m_clip = std::move(clip);
    m_task = task;
    return true;
}

bool ReencodeMerger::filesReadable(const EditConfig &edit, std::string *error)
{
    // Pictures, subtitles and background sound the edits name are checked before the task is taken, so a
    // file the pipeline cannot use is a refused add rather than a task failing halfway (or never ending).
    const std::string problem = rsc::edit::editInputsProblem(edit, edit.codec.videoEdits, edit.codec.audioEdits);
    if (!problem.empty() && error)
        *error = problem;
    return problem.empty();
}

bool ReencodeMerger::openVideoGraph(ClipState &st, const AVFrame *first, std::string *error)
{
    const StreamPlan &plan = m_encoders.plan();
    AVStream *vs = st.clip->videoStream();
    static const EditConfig plain;
    const EditConfig &edit = st.edit->codec.videoEdits ? *st.edit : plain;
    rsc::edit::VideoSource src;
    src.width = first->width;
    src.height = first->height;
    // The shape the preview shows: a container's aspect (Matroska's display size, MP4's `pasp`) over the
    // stream's, which the decoded frames carry (and follow where it changes midway).
    const AVRational sar = rsc::displaySampleAspect(st.clip->format(), vs, first);
    src.sarNum = sar.num;
    src.sarDen = sar.den;
    src.displayRotation = rsc::displayRotation(vs);
    src.path = m_task.source;
    src.sourceOffsetUs = st.startUs;
    rsc::edit::VideoTarget target;
    target.width = plan.width;
    target.height = plan.height;
    target.pixelFormat = av_get_pix_fmt_name(plan.pixelFormat);
    target.frameRateNum = plan.frameRate.num;
    target.frameRateDen = plan.frameRate.den;
    target.frameRateStartUs = st.videoStartUs;
    st.videoWidth = first->width;
    st.videoHeight = first->height;
    st.videoFormat = first->format;
    const std::string desc = afterCut("trim", st.lengthUs, rsc::edit::describeVideo(edit, src, target, st.resources));
    rsc::edit::VideoInputFormat in;
    in.width = first->width;
    in.height = first->height;
    in.pixelFormat = first->format;
    in.timeBase = AVRational{1, 1000000};
    in.sampleAspect = sar;
    in.frameRate = vs->avg_frame_rate;
    return st.videoGraph.openVideo(in, desc, error);
}

bool ReencodeMerger::openAudioGraph(ClipState &st, const AVFrame *first, std::string *error)
{
    const StreamPlan &plan = m_encoders.plan();
    static const EditConfig plain;
    const EditConfig &edit = st.edit->codec.audioEdits ? *st.edit : plain;
    AVChannelLayout layout{};
    av_channel_layout_default(&layout, plan.channels);
    char layoutName[128] = {};
    av_channel_layout_describe(&layout, layoutName, sizeof layoutName);
    av_channel_layout_uninit(&layout);
    rsc::edit::AudioTarget target;
    target.sampleRate = plan.sampleRate;
    target.sampleFormat = av_get_sample_fmt_name(plan.sampleFormat);
    target.channelLayout = layoutName;
    target.followTimestamps = true;
    // A graph opened again mid-clip goes on where the clip's sound so far ends.
    target.firstSample = m_encoders.audioSamples() - st.audioStartSamples;
    // The cut lets nothing before the trim start in: the sound begins there or, where it starts later, there.
    const int64_t startUs = st.startUs + std::max<int64_t>(0, first->pts);
    rsc::edit::BackgroundStart background;
    const std::string desc = afterCut("atrim", st.lengthUs,
                                      rsc::edit::describeAudio(edit, first->sample_rate, startUs, target, &background));
    st.audioRate = first->sample_rate;
    st.audioChannels = first->ch_layout.nb_channels;
    st.audioFormat = first->format;
    rsc::edit::AudioInputFormat in;
    in.sampleRate = first->sample_rate;
    in.sampleFormat = first->format;
    if (first->ch_layout.nb_channels > 0)
        av_channel_layout_copy(&in.layout, &first->ch_layout);
    else
        av_channel_layout_default(&in.layout, 2);
    if (in.layout.order == AV_CHANNEL_ORDER_UNSPEC)
        av_channel_layout_default(&in.layout, in.layout.nb_channels);
    in.timeBase = AVRational{1, 1000000};
    const bool ok = st.audioGraph.openAudio(in, desc, error, background.file.empty() ? nullptr : &background, m_stop);
    av_channel_layout_uninit(&in.layout);
    return ok;
}

bool ReencodeMerger::drainVideo(ClipState &st)
{
    for (;;) {
        const int err = st.videoGraph.pull(st.filtered.get());
        if (err == AVERROR(EAGAIN))
            return true;
        if (err == AVERROR_EOF) {
            st.videoDone = true;
            return true;
        }
        if (err < 0)
            return false;
        const bool ok = m_encoders.writeVideo(st.filtered.get());
        ++st.videoFrames;
        if (!m_lastPicture)
            m_lastPicture = makeFrame();
        av_frame_unref(m_lastPicture.get());
        av_frame_move_ref(m_lastPicture.get(), st.filtered.get());
        // A picture shown on over a jump in its times comes out again and again from one frame in.
        if (!ok || !keepGoing(st))
            return false;
    }
}

bool ReencodeMerger::writeBlackUpTo(ClipState &st, int64_t frames)
{
    const StreamPlan &plan = m_encoders.plan();
    while (m_encoders.videoFrames() < frames) {
        if (!keepGoing(st))
            return false;
        if (!m_black) {
            m_black = makeFrame();
            m_black->width = plan.width;
            m_black->height = plan.height;
            m_black->format = plan.pixelFormat;
            if (av_frame_get_buffer(m_black.get(), 0) < 0)
                return false;
            ptrdiff_t linesizes[4];
            for (int i = 0; i < 4; ++i)
                linesizes[i] = m_black->linesize[i];
            av_image_fill_black(m_black->data, linesizes, plan.pixelFormat, plan.colorRange(), plan.width, plan.height);
        }
        FramePtr copy(av_frame_clone(m_black.get()));
        if (!copy || !m_encoders.writeVideo(copy.get()))
            return false;
    }
    return true;
}

bool ReencodeMerger::drainAudio(ClipState &st)
{
    const StreamPlan &plan = m_encoders.plan();
    const bool blackPictures = plan.hasVideo && !st.clip->videoStream();
    for (;;) {
        const int err = st.audioGraph.pull(st.filtered.get());
        if (err == AVERROR(EAGAIN))
            return true;
        if (err == AVERROR_EOF) {
            st.audioDone = true;
            return true;
        }
        if (err < 0)
            return false;
        const bool ok = m_encoders.writeAudio(st.filtered.get());
        av_frame_unref(st.filtered.get());
        if (!ok)
            return false;
        if (blackPictures) {
            // A clip without picture shows black for as long as it sounds.
            const int64_t frames = av_rescale_q_rnd(m_encoders.audioSamples(), AVRational{1, plan.sampleRate},
                                                    av_inv_q(plan.frameRate), AV_ROUND_DOWN);
            if (!writeBlackUpTo(st, frames))
                return false;
        }
    }
}

bool ReencodeMerger::keepGoing(const ClipState &st)
{
    if (m_progress) {
        const int64_t total = int64_t(m_progress->total.load());
        const uint64_t done = uint64_t(std::clamp<int64_t>(outputPositionUs() - st.outputStartUs, 0, total));
        if (done > m_progress->done.load())
            m_progress->done = done;
    }
    return !(m_stop && m_stop->load(std::memory_order_relaxed));
}

bool ReencodeMerger::fillSound(ClipState &st, int64_t untilUs, std::string *error)
{
    if (!st.soundFormat)
        return true;
    if (st.lengthUs > 0)
        untilUs = std::min(untilUs, st.lengthUs);
    const int rate = st.soundFormat->sample_rate;
    const int64_t fromUs = st.soundEndUs == INT64_MIN ? 0 : st.soundEndUs;
    auto silenceEndUs = [&] { return st.silenceFromUs + av_rescale(st.silenceSamples, 1000000, rate); };
    if (st.silenceFromUs == INT64_MIN || silenceEndUs() != fromUs) {
        st.silenceFromUs = fromUs;
        st.silenceSamples = 0;
    }
    const int64_t until = av_rescale(untilUs - st.silenceFromUs, rate, 1000000);
    // A tenth of a second at a time, so that a stop is seen and the progress moves however long the gap.
    const int64_t chunk = std::max(1, rate / 10);
    while (st.silenceSamples < until) {
        if (!keepGoing(st))
            return false;
        const int n = int(std::min(chunk, until - st.silenceSamples));
        FramePtr f(silenceLike(st.soundFormat.get(), n));
        if (!f)
            return false;
        f->pts = silenceEndUs();
        st.silenceSamples += n;
        st.soundEndUs = silenceEndUs();
        st.positionUs = std::max(st.positionUs, st.soundEndUs);
        if (!st.audioGraph.isOpen() && (st.audioGraphFailed || !openAudioGraph(st, f.get(), error))) {
            st.audioGraphFailed = true;
            return false;
        }
        if (st.audioGraph.push(f.get()) && !drainAudio(st))
            return false;
    }
    return true;
}

bool ReencodeMerger::decodeAndFilter(ClipState &st, AVCodecContext *dec, AVPacket *pkt, bool video, std::string *error)
{
    if (avcodec_send_packet(dec, pkt) < 0 && pkt)
        return true; // a damaged packet: skip it, the decoder resynchronises
    for (;;) {
        const int err = avcodec_receive_frame(dec, st.frame.get());
        if (err == AVERROR(EAGAIN))
            return true;
        if (err == AVERROR_EOF) {
            rsc::edit::FilterGraph &graph = video ? st.videoGraph : st.audioGraph;
            // A background goes on to the end of the picture where the clip's own sound ends before it, or
            // where the part holds none of it.
            if (!video && st.background && !st.audioGraphFailed && !fillSound(st, st.contentEndUs, error))
                return false;
            if (graph.isOpen()) {
                // The constant-rate conversion ends with the last picture's start; shown again just before
                // that picture's end, it keeps its time (a single still picture would vanish otherwise).
                // (Half an output frame earlier, so the rounding to output frames adds none beyond the end.)
                const int64_t halfFrameUs =
                    av_rescale_q(1, av_inv_q(m_encoders.plan().frameRate), AV_TIME_BASE_Q) / 2 + 1;
                if (video && st.lastPicture && st.lastPicture->pts < st.lastPictureEndUs - halfFrameUs) {
                    st.lastPicture->pts = st.lastPictureEndUs - halfFrameUs;
                    graph.push(st.lastPicture.get());
                }
                graph.push(nullptr);
            }
            return video ? drainVideo(st) : drainAudio(st);
        }
        if (err < 0)
            return true;
        AVFrame *f = st.frame.get();
        const AVRational tb = dec->pkt_timebase.num > 0 ? dec->pkt_timebase : AVRational{1, 1000000};
        const int64_t ts = f->best_effort_timestamp != AV_NOPTS_VALUE ? f->best_effort_timestamp : f->pts;
        // A raw elementary stream has no timestamps at all: its frames follow one another at their rate.
        int64_t &nextUs = video ? st.nextVideoUs : st.nextAudioUs;
        const int64_t rel =
            ts == AV_NOPTS_VALUE ? nextUs : av_rescale_q(ts, tb, AV_TIME_BASE_Q) - st.originUs - st.startUs;
        ++(video ? st.videoDecoded : st.audioDecoded);
        f->pts = rel;
        if (!video && !st.soundFormat) // a part with none of the clip's sound still has its format for silence
            st.soundFormat = FramePtr(silenceLike(f, 1));
        if (st.lengthUs > 0 && rel >= st.lengthUs) {
            (video ? st.videoDone : st.audioDone) = true;
            av_frame_unref(f);
            continue;
        }
        st.positionUs = std::max(st.positionUs, rel);
        int64_t lengthUs = 0;
        if (video) {
            AVRational rate = st.clip->videoStream()->avg_frame_rate;
            if (rate.num <= 0 || rate.den <= 0)
                rate = st.clip->videoStream()->r_frame_rate;
            lengthUs = f->pkt_duration > 0            ? av_rescale_q(f->pkt_duration, tb, AV_TIME_BASE_Q)
                       : rate.num > 0 && rate.den > 0 ? av_rescale_q(1, av_inv_q(rate), AV_TIME_BASE_Q)
                                                      : 40000; // 25 a second where nothing says otherwise
        } else if (f->sample_rate > 0) {
            lengthUs = av_rescale(f->nb_samples, 1000000, f->sample_rate);
        }
        nextUs = rel + lengthUs;
        st.contentEndUs = std::max(st.contentEndUs, rel + lengthUs);
        rsc::edit::FilterGraph &graph = video ? st.videoGraph : st.audioGraph;
        bool &failed = video ? st.videoGraphFailed : st.audioGraphFailed;
        const bool changed =
            video ? (f->width != st.videoWidth || f->height != st.videoHeight || f->format != st.videoFormat)
                  : (f->sample_rate != st.audioRate || f->ch_layout.nb_channels != st.audioChannels ||
                     f->format != st.audioFormat);
        if (graph.isOpen() && changed) {
            graph.push(nullptr);
            if (!(video ? drainVideo(st) : drainAudio(st)))
                return false;
            (video ? st.videoDone : st.audioDone) = false;
            graph = rsc::edit::FilterGraph();
            // The new picture graph goes on where the last one's frames ended.
            if (video)
                st.videoStartUs = av_rescale_q(st.videoFrames, av_inv_q(m_encoders.plan().frameRate), AV_TIME_BASE_Q);
        }
        if (!video) {
            // Silence where the clip's sound leaves a gap, from the part's start where it begins late.
            if (!st.soundFormat || st.soundFormat->format != f->format ||
                st.soundFormat->sample_rate != f->sample_rate ||
                av_channel_layout_compare(&st.soundFormat->ch_layout, &f->ch_layout) != 0)
                st.soundFormat = FramePtr(silenceLike(f, 1));
            const int64_t soundEndUs = st.soundEndUs == INT64_MIN ? 0 : st.soundEndUs;
            if (rel - soundEndUs > kSoundGapUs && !failed && !fillSound(st, rel, error)) {
                av_frame_unref(f);
                return false;
            }
            st.soundEndUs = rel + lengthUs;
        }
        if (!graph.isOpen() && !failed) {
            std::string why;
            if (!(video ? openVideoGraph(st, f, &why) : openAudioGraph(st, f, &why))) {
                failed = true;
                if (error)
                    *error = why;
                av_frame_unref(f);
                return false;
            }
        }
        if (video) {
            if (!st.lastPicture)
                st.lastPicture = makeFrame();
            av_frame_unref(st.lastPicture.get());
            if (av_frame_ref(st.lastPicture.get(), f) >= 0)
                st.lastPictureEndUs = rel + lengthUs;
        }
        const bool pushed = graph.push(f);
        av_frame_unref(f);
        if (!pushed)
            return true; // a frame the graph cannot take is dropped
        if (!(video ? drainVideo(st) : drainAudio(st)))
            return false;
        if (video && st.silentSound && !fillSound(st, nextUs, error)) // the sound keeps up with the pictures
            return false;
    }
}

bool ReencodeMerger::endClip(ClipState &st)
{
    const StreamPlan &plan = m_encoders.plan();
    int64_t clipUs = st.contentEndUs;
    if (st.lengthUs > 0)
        clipUs = std::min(clipUs, st.lengthUs);
    if (!plan.hasVideo) {
        if (!st.clip->audioStream() && plan.hasAudio) {
            // A clip without sound lasts as long as its picture would have: silence (with the background over
            // it, when it has one).
            const int64_t silentUs = outputLengthUs(silentLengthUs(*st.clip, st.startUs, st.lengthUs), st.pace);
            return padAudioTo(st, st.audioStartSamples + av_rescale(silentUs, plan.sampleRate, 1000000));
        }
        return true;
    }
    if (st.videoFrames > 0 && m_lastPicture) {
        // The picture lasts as long as the clip at its pace, rounded to whole frames: the frame rate
        // conversion alone would round every clip down.
        const int64_t target = av_rescale_q(outputLengthUs(clipUs, st.pace), AV_TIME_BASE_Q, av_inv_q(plan.frameRate));
        for (int64_t n = st.videoFrames; n < target; ++n) {
            FramePtr copy(av_frame_clone(m_lastPicture.get()));
            if (!copy || !m_encoders.writeVideo(copy.get()) || !keepGoing(st))
                return false;
        }
    }
    const bool noPicture =
        st.clip->videoStream() ? st.videoFrames == 0 : plan.hasAudio; // nothing decoded, or no video at all
    if (noPicture) {
        // Black for as long as the clip sounds.
        const int64_t frames = av_rescale_q_rnd(m_encoders.audioSamples(), AVRational{1, plan.sampleRate},
                                                av_inv_q(plan.frameRate), AV_ROUND_UP);
        if (!writeBlackUpTo(st, frames))
            return false;
    }
    // The clip's sound ends with its picture: silence where it is short, cut where it is long.
    const int64_t target = m_encoders.samplesForFrames(m_encoders.videoFrames());
    m_encoders.trimAudioTo(target);
    return padAudioTo(st, target);
}

bool ReencodeMerger::padAudioTo(const ClipState &st, int64_t totalSamples)
{
    // A second at a time: hours of silence must not hold a stop.
    const int64_t second = std::max(1, m_encoders.plan().sampleRate);
    for (int64_t done = m_encoders.audioSamples(); done < totalSamples;) {
        done = std::min(totalSamples, done + second);
        if (!m_encoders.padAudioTo(done) || !keepGoing(st))
            return false;
    }
    return true;
}

int64_t ReencodeMerger::outputPositionUs() const
{
    const StreamPlan &plan = m_encoders.plan();
    return plan.hasVideo ? av_rescale_q(m_encoders.videoFrames(), av_inv_q(plan.frameRate), AV_TIME_BASE_Q)
                         : av_rescale(m_encoders.audioSamples(), 1000000, plan.sampleRate);
}

bool ReencodeMerger::run(Progress &progress, const std::atomic<bool> &stop, std::string *error)
{
    if (!m_clip) {
        if (error)
            *error = "no task";
        return false;
    }
    std::unique_ptr<InputClip> clip = std::move(m_clip);
    m_stop = &stop;
    m_progress = &progress;
    ClipState st;
    st.clip = clip.get();
    st.edit = &m_task.edit;
    st.startUs = int64_t(m_task.startUs);
    st.lengthUs = int64_t(m_task.durationUs);
    st.originUs = clip->originUs();
    st.audioStartSamples = m_encoders.audioSamples();
    const StreamPlan &plan = m_encoders.plan();
    if (plan.hasVideo ? m_task.edit.codec.videoEdits : m_task.edit.codec.audioEdits)
        st.pace = m_task.edit.pace();
    const int64_t sourceLength = clip->durationUs();
    // Progress counts output time, as the clip list gives the clip's length.
    const int64_t clipLength = st.lengthUs > 0 ? st.lengthUs : std::max<int64_t>(1, sourceLength - st.startUs);
    progress.total = uint64_t(std::max<int64_t>(1, outputLengthUs(clipLength, st.pace)));
    progress.done = 0;

    const int64_t outputStartUs = outputPositionUs();
    st.outputStartUs = outputStartUs;

    if (st.startUs > 0)
        clip->seekTo(st.startUs);
    AVCodecContext *vdec = plan.hasVideo ? clip->videoDecoder() : nullptr;
    AVCodecContext *adec = plan.hasAudio ? clip->audioDecoder() : nullptr;
    st.videoDone = !vdec;
    st.audioDone = !adec;
    st.background = plan.hasAudio && m_task.edit.codec.audioEdits && !m_task.edit.background[0].file.empty();
    st.silentSound = st.background && !clip->audioStream();
    if (st.silentSound)
        st.soundFormat = FramePtr(silentFrame(plan.sampleFormat, plan.sampleRate, plan.channels, 1));
    const auto report = [&] {
        const uint64_t done =
            uint64_t(std::clamp<int64_t>(outputLengthUs(st.positionUs, st.pace), 0, int64_t(progress.total.load())));
        if (done > progress.done.load())
            progress.done = done;
    };
    PacketPtr pkt = makePacket();
    bool ok = true;
    while (ok && !(st.videoDone && st.audioDone)) {
        if (stop.load(std::memory_order_relaxed))
            return true;
        const int err = av_read_frame(clip->format(), pkt.get());
        if (err == AVERROR(EAGAIN))
            continue;
        if (err < 0)
            break;
        if (vdec && pkt->stream_index == clip->videoIndex() && !st.videoDone)
            ok = decodeAndFilter(st, vdec, pkt.get(), true, error);
        else if (adec && pkt->stream_index == clip->audioIndex() && !st.audioDone)
            ok = decodeAndFilter(st, adec, pkt.get(), false, error);
        av_packet_unref(pkt.get());
        report();
    }
    if (ok && vdec)
        ok = decodeAndFilter(st, vdec, nullptr, true, error);
    if (ok && adec)
        ok = decodeAndFilter(st, adec, nullptr, false, error);
    if (ok && st.silentSound) // the silence the pictures have not taken yet (all of it without pictures)
        ok = fillSound(st, vdec ? st.contentEndUs : silentLengthUs(*clip, st.startUs, st.lengthUs), error);
    if (ok && st.videoGraph.isOpen() && !st.videoDone) {
        st.videoGraph.push(nullptr);
        ok = drainVideo(st);
    }
    if (ok && st.audioGraph.isOpen() && !st.audioDone) {
        st.audioGraph.push(nullptr);
        ok = drainAudio(st);
    }
    if (stop.load())
        return true;
    if (ok && clip->sourceChanged()) {
        if (error)
            *error = m_task.source + " changed while it was read (it was written to during the join)";
        ok = false;
    }
    // A clip that should have given pictures or sound and gave none must not pass as joined.
    if (ok && st.startUs == 0 && ((vdec && st.videoDecoded == 0) || (adec && st.audioDecoded == 0))) {
        if (error)
            *error = std::string("no ") + (vdec && st.videoDecoded == 0 ? "picture" : "sound") +
                     " could be decoded from " + m_task.source;
        ok = false;
    }
    if (ok && (vdec || adec)) {
        const int64_t stated = clip->statedEndUs(vdec != nullptr, adec != nullptr);
        const int64_t statedEnd = st.lengthUs > 0 ? std::min(st.startUs + st.lengthUs, stated) : stated;
        if (lostItsTail(statedEnd, st.startUs + st.contentEndUs, m_task.source, error))
            ok = false;
    }
    if (ok)
        ok = endClip(st);
    if (stop.load())
        return true;
    if (!ok) {
        m_broken = true;
        if (error && error->empty())
            *error = m_output.writeFailed() ? m_output.problem() : "cannot encode " + m_task.source;
        return false;
    }
    // The chapters of this clip, counted from its trim start: kept to its length, placed where it begins in
    // the output at its pace, and none past where it ended.
    ChapterPlace place;
    place.toUs = clipLength;
    place.outputStartUs = outputStartUs;
    place.outputEndUs = outputPositionUs();
    place.pace = st.pace;
    for (const rsc::edit::Chapter &ch : placeChapters(editChapters(m_task.edit.chapters), place))
        m_output.addChapter(ch);
    progress.done = progress.total.load();
    return true;
}

bool ReencodeMerger::finish(bool complete, std::string *error)
{
    m_clip.reset();
    bool ok = !m_broken;
    if (m_output.headerWritten() && complete)
        ok = m_encoders.flush() && ok;
    const bool kept = m_output.finish(complete && ok);
    if (!kept && complete && !m_broken && error)
        *error = m_output.problem();
    return kept;
}

} // namespace rsc::job
