#include "filter_audio.h"

#include "filter_escape.h"
#include "filter_graph.h"
#include "filter_inputs.h"

extern "C" {
#include <libavutil/mathematics.h>
}

#include <algorithm>

namespace rsc::edit {

namespace {

// Show times beyond this (about twelve days) are taken as this: no clip gets there, and the delay stays within
// what the delay filter counts in samples.
constexpr int64_t kLatestShowUs = int64_t(1) << 40;

void append(std::string &chain, const std::string &filter)
{
    if (!chain.empty())
        chain += ',';
    chain += filter;
}

// atempo takes factors from 0.5 to 100 per instance; slower tempos chain several.
void appendTempo(std::string &chain, double factor)
{
    factor = std::clamp(factor, 0.01, 100.0);
    while (factor < 0.5) {
        append(chain, "atempo=0.5");
        factor /= 0.5;
    }
    if (factor != 1.0)
        append(chain, "atempo=" + num(factor));
}

// One peaking band per non-zero gain, an octave wide; the clip and the background share it.
void appendEqualizer(std::string &chain, const std::vector<double> &frequencies, const std::vector<double> &gains)
{
    const size_t bands = std::min(frequencies.size(), gains.size());
    for (size_t i = 0; i < bands; ++i) {
        if (gains[i] == 0.0 || frequencies[i] <= 0.0)
            continue;
        append(chain, "equalizer=f=" + num(frequencies[i]) + ":t=o:w=1:g=" + num(gains[i]));
    }
}

// The background's channels rearranged: as many output channels as the map has entries.
std::string channelMapFilter(const std::vector<unsigned> &map)
{
    const size_t n = map.size();
    std::string pan = "pan=" + std::string(n == 1 ? "mono" : n == 2 ? "stereo" : std::to_string(n) + "c");
    for (size_t i = 0; i < n; ++i)
        pan += "|c" + std::to_string(i) + "=c" + std::to_string(map[i]);
    return pan;
}

// The background, from its source to the pad "[bg]", on the clip's clock: at clip time t it plays its own time
// t - show, silent before the show time, wrapped where it loops; "[in]" begins at clip time `startUs`. The
// clip's pace sets how long the clip takes to get to a time; the background keeps its own pace. `read` says
// where its file is read from.
std::string backgroundChain(const BackgroundAudio &bg, int64_t startUs, int64_t pace, BackgroundStart *read)
{
    const int64_t showUs = int64_t(std::min<uint64_t>(bg.showTimeUs, kLatestShowUs));
    auto played = [pace](int64_t clipUs) { return av_rescale(clipUs, EditConfig::kNormalPace, pace); };
    const int64_t delayUs = played(std::max<int64_t>(0, showUs - startUs));
    int64_t intoUs = played(std::max<int64_t>(0, startUs - showUs));
    SoundSpan span;
    soundSpan(bg.file, &span);
    if (bg.loop && span.lengthUs > 0)
        intoUs %= span.lengthUs;
    read->file = bg.file;
    read->intoUs = intoUs;
    read->firstUs = span.firstUs;
    read->loop = bg.loop;
    std::string chain = "[" + std::string(kBackgroundPad) + "]anull";
    if (!bg.channelMap.empty())
        chain += "," + channelMapFilter(bg.channelMap);
    std::string eq;
    appendEqualizer(eq, bg.eqFrequencies, bg.eqGains);
    if (!eq.empty())
        chain += "," + eq;
    chain += ",volume=volume=" + num(bg.volume / 100.0);
    if (delayUs > 0) // in milliseconds: the filter takes a unit only after a whole number
        chain += ",adelay=delays=" + exactTime(delayUs, 1000) + ":all=1";
    return chain + "[bg]";
}

} // namespace

std::string describeAudio(const EditConfig &cfg, int inputRate, int64_t startUs, const AudioTarget &target,
                          BackgroundStart *background)
{
    std::string chain;
    if (cfg.volume != 100)
        append(chain, "volume=volume=" + num(cfg.volume / 100.0));
    appendEqualizer(chain, cfg.eqFrequencies, cfg.eqGains);
    // Rate resamples: pitch and tempo change together. Speed changes the tempo only, as far as the held pace
    // leaves it. The picture follows both (EditConfig::pace), so the sound's length is the clip's.
    const int rate = inputRate > 0 ? inputRate : 44100;
    if (cfg.ratePercent() != 100) {
        append(chain, "asetrate=" + std::to_string(int64_t(rate) * cfg.ratePercent() / 100) +
                          ",aresample=" + std::to_string(rate));
    }
    appendTempo(chain, cfg.soundTempo());
    if (chain.empty())
        chain = "anull";

    std::string graph = "[in]" + chain;
    const BackgroundAudio &bg = cfg.background[0];
    if (!bg.file.empty() && background) {
        graph += "[fg];" + backgroundChain(bg, startUs, cfg.pace(), background);
        // Weight is the background's share of the mix; mix mode 1 replaces the clip's own sound.
        const unsigned weight = bg.mixMode == 1 ? 100u : std::min(bg.weight, 100u);
        graph += ";[fg][bg]amix=inputs=2:duration=first:dropout_transition=0:normalize=0:weights=" +
                 filterValue(num((100 - weight) / 100.0) + " " + num(weight / 100.0));
    }
    std::string tail;
    if (target.sampleRate > 0 || target.followTimestamps) {
        std::string resample = "aresample=";
        resample += target.sampleRate > 0 ? std::to_string(target.sampleRate) : std::to_string(rate);
        if (target.followTimestamps)
            resample += ":async=1:first_pts=" + std::to_string(target.firstSample);
        append(tail, resample);
    }
    if (!target.sampleFormat.empty() || target.sampleRate > 0 || !target.channelLayout.empty()) {
        std::string fmt = "aformat=";
        std::string opts;
        if (!target.sampleFormat.empty())
            opts += "sample_fmts=" + target.sampleFormat;
        if (target.sampleRate > 0)
            opts += std::string(opts.empty() ? "" : ":") + "sample_rates=" + std::to_string(target.sampleRate);
        if (!target.channelLayout.empty())
            opts += std::string(opts.empty() ? "" : ":") + "channel_layouts=" + filterValue(target.channelLayout);
        append(tail, fmt + opts);
    }
    graph += tail.empty() ? std::string() : "," + tail;
    return graph + "[out]";
}

} // namespace rsc::edit
