#pragma once
// Where a clip's chapter lands in a join's output: kept to the part of the clip that is joined, moved to
// where that part lands and scaled by the clip's pace. Chapter times come from files and from callers and
// may be anything up to 2^64: every step saturates or checks for overflow, and a chapter with nothing inside
// the part joined is left out rather than wrapped into a negative time.

#include "edit_config.h"

extern "C" {
#include <libavutil/rational.h>
}

#include <cstdint>

namespace rsc::job {

struct ChapterPlace
{
    int64_t fromUs = 0;              // clip time where the part joined begins
    int64_t toUs = INT64_MAX;        // clip time where it ends
    int64_t outputStartUs = 0;       // output time where `fromUs` lands
    int64_t outputEndUs = INT64_MAX; // output time the clip reached: no chapter runs beyond it
    int64_t pace = rsc::edit::EditConfig::kNormalPace;
};

// The output chapter of the clip-time span [startUs, endUs); false when no part of it lies in the part joined.
bool placeChapter(int64_t startUs, int64_t endUs, const ChapterPlace &place, rsc::edit::Chapter *out);

// An edit chapter's span (start and duration, unsigned) in clip time counted from the part joined,
// saturated at the largest time.
void editChapterSpan(const rsc::edit::Chapter &chapter, int64_t *startUs, int64_t *endUs);

// A file's chapter time in microseconds less `originUs`, saturated instead of wrapped (a time base FFmpeg
// cannot rescale gives the earliest time, so the chapter is left out).
int64_t chapterTimeUs(int64_t time, AVRational timeBase, int64_t originUs);

} // namespace rsc::job
