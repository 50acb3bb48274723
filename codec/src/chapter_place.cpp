#include "chapter_place.h"

extern "C" {
#include <libavutil/avutil.h>
#include <libavutil/mathematics.h>
}

#include <algorithm>

namespace rsc::job {

namespace {

int64_t saturatedSub(int64_t a, int64_t b)
{
    int64_t r = 0;
    if (!__builtin_sub_overflow(a, b, &r))
        return r;
    return b < 0 ? INT64_MAX : INT64_MIN;
}

} // namespace

bool placeChapter(int64_t startUs, int64_t endUs, const ChapterPlace &place, rsc::edit::Chapter *out)
{
    const int64_t from = std::max(startUs, place.fromUs);
    const int64_t to = std::min(endUs, place.toUs);
    if (to <= from || place.pace <= 0)
        return false;
    // Offsets into the part joined, then output time; any step that does not fit leaves the chapter out.
    int64_t start = 0, end = 0;
    if (__builtin_sub_overflow(from, place.fromUs, &start) || __builtin_sub_overflow(to, place.fromUs, &end))
        return false;
    start = av_rescale(start, rsc::edit::EditConfig::kNormalPace, place.pace);
    end = av_rescale(end, rsc::edit::EditConfig::kNormalPace, place.pace);
    if (start < 0 || end < 0) // av_rescale's overflow
        return false;
    if (__builtin_add_overflow(place.outputStartUs, start, &start) ||
        __builtin_add_overflow(place.outputStartUs, end, &end))
        return false;
    start = std::max<int64_t>(start, 0);
    end = std::min(end, place.outputEndUs);
    if (end <= start)
        return false;
    out->startUs = uint64_t(start);
    out->durationUs = uint64_t(end - start);
    return true;
}

void editChapterSpan(const rsc::edit::Chapter &chapter, int64_t *startUs, int64_t *endUs)
{
    const uint64_t last = uint64_t(INT64_MAX);
    const uint64_t start = std::min(chapter.startUs, last);
    *startUs = int64_t(start);
    *endUs = int64_t(chapter.durationUs >= last - start ? last : start + chapter.durationUs);
}

int64_t chapterTimeUs(int64_t time, AVRational timeBase, int64_t originUs)
{
    if (time == AV_NOPTS_VALUE || timeBase.num <= 0 || timeBase.den <= 0)
        return INT64_MIN;
    int64_t us = av_rescale_q(time, timeBase, AV_TIME_BASE_Q);
    if (us == INT64_MIN && time > 0) // av_rescale_q's overflow
        us = INT64_MAX;
    return saturatedSub(us, originUs);
}

} // namespace rsc::job
