#pragma once
// The sound edits of the preview (volume, equaliser, rate, background audio) applied with the jobs' audio
// pipeline (filter_audio), ending in the interleaved 16-bit samples the player's fifo holds. Player thread
// only. At another speed or rate (the clip's pace) each sample stands for more or less media time.

#include "edit_config.h"
#include "filter_graph.h"

#include <cstdint>

extern "C" {
#include <libavutil/avutil.h>
}
#include <memory>

extern "C" {
struct AVFrame;
}

namespace rsc {

class AudioFifo;

class AudioEdit
{
public:
    // The edits to apply from now on; `generation` changes whenever any edit does. Answers true when the
    // sound edits themselves changed (sound already filtered is then out of date).
    bool setEdits(const edit::EditConfig &cfg, uint64_t generation);
    // After a seek: what the graph holds belongs to the old position. The sound is heard from `playFromUs` of
    // media time (the seek's target; none where silence is given from there anyway): where the clip's own
    // sound begins later, a background is heard from there over silence.
    void reset(int64_t playFromUs = AV_NOPTS_VALUE);
    // True when the edits change the sound at all (otherwise the caller converts the frame itself).
    bool active() const { return m_active; }
    bool hasBackground() const { return !m_cfg.background[0].file.empty() && !m_failed; }

    // Filters one decoded frame (pts in microseconds of media time) into `fifo`, dropping what lies before
    // `fromUs`. False when the graph cannot be built: the caller then plays the sound unedited.
    bool process(const AVFrame *frame, AudioFifo &fifo, int outRate, int outChannels, int64_t fromUs);

private:
    // A graph whose sound begins at `startUs` of media time (silence fills it up to the frame).
    bool build(const AVFrame *frame, int64_t startUs, int outRate, int outChannels);
    // Pushes one frame through the graph into `fifo`.
    bool filter(const AVFrame *frame, AudioFifo &fifo, int outRate, int outChannels, int64_t fromUs);

    edit::EditConfig m_cfg;
    uint64_t m_generation = 0;
    bool m_active = false;
    bool m_stale = true;
    bool m_failed = false;
    std::unique_ptr<edit::FilterGraph> m_graph;
    int m_inRate = 0, m_inFormat = -1, m_inChannels = 0;
    int64_t m_startUs = 0;          // media time of the first frame the graph was given
    int64_t m_firstOutUs = 0;       // the graph's time of its first sound out (that frame's start), once out
    int64_t m_nextInUs = INT64_MIN; // where the sound given last ends (media time), INT64_MIN when not known
    int64_t m_playFromUs = 0;       // where the play starts (see reset)
    static constexpr int64_t kJumpUs = 100000;
    // The longest gap filled with silence while playing: a longer one (a seek's skip) builds the graph anew.
    static constexpr int64_t kFillUs = 10000000;
};

} // namespace rsc
