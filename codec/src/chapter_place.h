#pragma once
// Where a clip's chapters land in a join's output: in time order, each without an end run on to the next,
// kept to the part of the clip that is joined, moved to where that part lands and scaled by the clip's pace.
// Chapter times come from files and from callers and may be anything up to 2^64: every step saturates or
// checks for overflow, and a chapter with nothing inside the part joined is left out rather than wrapped into
// a negative time.

#include "edit_config.h"

extern "C" {
#include <libavutil/rational.h>
}

#include <cstdint>
#include <string>
#include <vector>

namespace rsc::job {

struct ChapterPlace
{
    int64_t fromUs = 0;              // clip time where the part joined begins
    int64_t toUs = INT64_MAX;        // clip time where it ends
    int64_t outputStartUs = 0;       // output time where `fromUs` lands
    int64_t outputEndUs = INT64_MAX; // output time the clip reached: no chapter runs beyond it
    int64_t pace = rsc::edit::EditConfig::kNormalPace;
};

// A chapter in clip time as the edits or a file state it; an end at or before the start states none.
struct ClipChapter
{
    int64_t startUs = 0;
    int64_t endUs = 0;
    std::string title;
};

// In time order, as readers take chapters (a Matroska reader stops at one that goes back): by start, then end;
// chapters alike in both keep their order.
void sortChapters(std::vector<rsc::edit::Chapter> *chapters);

// The output chapters of a clip's chapters, in time order (sortChapters). A chapter that
// states no end first runs to the start of the one after it by start, or to the end of the part joined
// (`place.toUs`) when that one starts with it or after that end: libavformat's rule as it probes a file, so
// a clip opened from its header alone gets what a full probe gives.
std::vector<rsc::edit::Chapter> placeChapters(std::vector<ClipChapter> chapters, const ChapterPlace &place);

// The edits' chapters (start and duration, unsigned) in clip time counted from the part joined, saturated at
// the largest time.
std::vector<ClipChapter> editChapters(const std::vector<rsc::edit::Chapter> &chapters);

// A file's chapter time in microseconds less `originUs`, saturated instead of wrapped; INT64_MIN for no time
// (unset, or in a time base FFmpeg cannot rescale).
int64_t chapterTimeUs(int64_t time, AVRational timeBase, int64_t originUs);

} // namespace rsc::job
