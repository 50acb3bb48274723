#include "audio_edit.h"

#include "audio_fifo.h"
#include "common_media.h"
#include "ffmpeg_raii.h"
#include "filter_audio.h"
#include "filter_inputs.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/frame.h>
#include <libavutil/mathematics.h>
}

#include <algorithm>
#include <cstdlib>

namespace rsc {

namespace {
bool changesSound(const edit::EditConfig &c)
{
    if (c.volume != 100 || (c.rate != 100 && c.rate > 0) || (c.speed != 100 && c.speed > 0) ||
        !c.background[0].file.empty())
        return true;
    const size_t bands = std::min(c.eqFrequencies.size(), c.eqGains.size());
    for (size_t i = 0; i < bands; ++i)
        if (c.eqGains[i] != 0.0 && c.eqFrequencies[i] > 0.0)
            return true;
    return false;
}
} // namespace

bool AudioEdit::setEdits(const edit::EditConfig &cfg, uint64_t generation)
{
    if (generation == m_generation)
        return false;
    m_generation = generation;
    const edit::BackgroundAudio &a = m_cfg.background[0], &b = cfg.background[0];
    const bool changed = cfg.volume != m_cfg.volume || cfg.rate != m_cfg.rate || cfg.speed != m_cfg.speed ||
                         cfg.eqFrequencies != m_cfg.eqFrequencies || cfg.eqGains != m_cfg.eqGains || a.file != b.file ||
                         a.loop != b.loop || a.mixMode != b.mixMode || a.volume != b.volume || a.weight != b.weight ||
                         a.showTimeUs != b.showTimeUs;
    if (!changed)
        return false;
    m_cfg = cfg;
    m_active = changesSound(m_cfg);
    m_stale = true;
    m_failed = false;
    return true;
}

void AudioEdit::reset(int64_t playFromUs)
{
    m_stale = true;
    m_nextInUs = AV_NOPTS_VALUE;
    m_playFromUs = playFromUs;
}

bool AudioEdit::build(const AVFrame *frame, int64_t startUs, int outRate, int outChannels)
{
    m_graph.reset();
    edit::AudioTarget target;
    target.sampleRate = outRate;
    target.sampleFormat = "s16";
    target.channelLayout = outChannels == 1 ? "mono" : "stereo";
    edit::AudioInputFormat in;
    in.sampleRate = frame->sample_rate;
    in.sampleFormat = frame->format;
    if (frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || frame->ch_layout.nb_channels <= 0)
        av_channel_layout_default(&in.layout, std::max(1, frame->ch_layout.nb_channels));
    else
        av_channel_layout_copy(&in.layout, &frame->ch_layout);
    in.timeBase = AVRational{1, 1000000};
    auto graph = std::make_unique<edit::FilterGraph>();
    // The background file is checked again: it may have been replaced (by a named pipe, say) since its
    // setter took it, and the graph opens it where nothing bounds the wait.
    const edit::EditConfig usable = edit::withUsableInputs(m_cfg, false, true);
    // A background is placed on the clip's clock from where the graph starts.
    edit::BackgroundStart background;
    const std::string desc = edit::describeAudio(usable, frame->sample_rate, startUs, target, &background);
    const bool ok = graph->openAudio(in, desc, nullptr, background.file.empty() ? nullptr : &background);
    av_channel_layout_uninit(&in.layout);
    if (!ok)
        return false;
    m_graph = std::move(graph);
    m_inRate = frame->sample_rate;
    m_inFormat = frame->format;
    m_inChannels = frame->ch_layout.nb_channels;
    m_startUs = startUs;
    m_firstOutUs = AV_NOPTS_VALUE;
    m_nextInUs = startUs;
    m_stale = false;
    return true;
}

bool AudioEdit::process(const AVFrame *frame, AudioFifo &fifo, int outRate, int outChannels, int64_t fromUs)
{
    if (m_failed)
        return false;
    const bool timed = frame->pts != AV_NOPTS_VALUE;
    const bool sameFormat = m_graph && frame->sample_rate == m_inRate && frame->format == m_inFormat &&
                            frame->ch_layout.nb_channels == m_inChannels;
    const int64_t gapUs = timed && m_nextInUs != AV_NOPTS_VALUE ? frame->pts - m_nextInUs : 0;
    // Under a background, a gap in the clip's sound while it plays is filled with silence, over which the
    // background goes on: building the graph anew would open and seek the background's file again. Sound that
    // goes back, or jumps far ahead (packets skipped on the way to a seek target), starts a graph of its own:
    // a filter that mixes in a background counts samples, not times.
    const bool fills = hasBackground() && gapUs > kJumpUs && gapUs <= kFillUs;
    if (m_stale || !sameFormat || (!fills && std::abs(gapUs) > kJumpUs)) {
        // A background is heard from where the play starts, also where the clip's own sound begins later.
        const bool first = m_nextInUs == AV_NOPTS_VALUE && m_playFromUs != AV_NOPTS_VALUE;
        const int64_t lateUs = timed && first ? frame->pts - m_playFromUs : 0;
        const int64_t startUs =
            hasBackground() && lateUs > kJumpUs && lateUs <= kFillUs ? frame->pts - lateUs : frame->pts;
        if (!build(frame, startUs, outRate, outChannels)) {
            m_failed = true; // e.g. a background file that cannot be read: play the clip's own sound
            return false;
        }
    }
    if (timed && m_nextInUs != AV_NOPTS_VALUE && frame->pts - m_nextInUs > kJumpUs && frame->sample_rate > 0) {
        constexpr int kChunk = 4096;
        FramePtr silence(silenceLike(frame, kChunk));
        const int64_t samples = av_rescale(frame->pts - m_nextInUs, frame->sample_rate, 1000000);
        for (int64_t given = 0; silence && given < samples; given += silence->nb_samples) {
            silence->nb_samples = int(std::min<int64_t>(kChunk, samples - given));
            silence->pts = m_nextInUs + av_rescale(given, 1000000, frame->sample_rate);
            if (!filter(silence.get(), fifo, outRate, outChannels, fromUs))
                return false;
        }
    }
    m_nextInUs = !timed || frame->sample_rate <= 0
                     ? AV_NOPTS_VALUE
                     : frame->pts + av_rescale(frame->nb_samples, 1000000, frame->sample_rate);
    return filter(frame, fifo, outRate, outChannels, fromUs);
}

bool AudioEdit::filter(const AVFrame *frame, AudioFifo &fifo, int outRate, int outChannels, int64_t fromUs)
{
    AVFrame *in = av_frame_clone(frame);
    if (!in)
        return false;
    const bool pushed = m_graph->push(in);
    av_frame_free(&in);
    if (!pushed) {
        m_stale = true;
        return false;
    }
    AVFrame *out = av_frame_alloc();
    if (!out)
        return false;
    const AVRational tb = m_graph->outputTimeBase();
    // The graph's times run on the played timeline from its first sound on (a rate scales even the first
    // one's); media time runs `pace` times faster.
    const int64_t pace = m_cfg.pace();
    while (m_graph->pull(out) >= 0) {
        if (out->nb_samples > 0 && out->format == 1 /* AV_SAMPLE_FMT_S16 */) {
            int64_t pts = std::max<int64_t>(0, fifo.endUs());
            if (out->pts != AV_NOPTS_VALUE) {
                const int64_t outUs = av_rescale_q(out->pts, tb, AVRational{1, 1000000});
                if (m_firstOutUs == AV_NOPTS_VALUE)
                    m_firstOutUs = outUs;
                pts = m_startUs + (outUs - m_firstOutUs) * pace / edit::EditConfig::kNormalPace;
            }
            const auto *samples = reinterpret_cast<const int16_t *>(out->data[0]);
            int skip = 0;
            if (pts < fromUs)
                skip = static_cast<int>(std::min<int64_t>(out->nb_samples, (fromUs - pts) * outRate / (100 * pace)));
            if (skip < out->nb_samples)
                fifo.push(samples + static_cast<size_t>(skip) * outChannels, out->nb_samples - skip,
                          pts + int64_t(skip) * 100 * pace / outRate, pace);
        }
        av_frame_unref(out);
    }
    av_frame_free(&out);
    return true;
}

} // namespace rsc
