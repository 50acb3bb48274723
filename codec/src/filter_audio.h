#pragma once
// The audio half of the edit pipeline: volume, equaliser, rate, speed and background audio of one clip, from
// the pad "[in]" to the pad "[out]", converted to the consumer's sample format when it names one.

#include "background_reader.h"
#include "edit_config.h"

#include <string>

namespace rsc::edit {

struct AudioTarget
{
    int sampleRate = 0;        // 0 = keep
    std::string sampleFormat;  // e.g. "fltp"; empty = keep
    std::string channelLayout; // e.g. "stereo"; empty = keep
    // Sound placed by its timestamps from time 0: gaps (and a late start) become silence. Jobs need it,
    // since they append samples one after another.
    bool followTimestamps = false;
    int64_t firstSample = 0; // with followTimestamps: the sample number the first output sample has
};

// `inputRate` is the sample rate of the frames entering "[in]"; `startUs` is the time on the clip's own clock at
// which they begin (the trim start of a join, the position a player starts from), where the background sound
// is placed: it starts at its show time on that clock, with its own beginning, and plays on at its own pace
// whatever the clip's. Its file is read into the pad "[bgsound]" from where `background` says (give it to
// FilterGraph::openAudio); without `background` the graph has no background.
std::string describeAudio(const EditConfig &cfg, int inputRate, int64_t startUs, const AudioTarget &target,
                          BackgroundStart *background);

} // namespace rsc::edit
