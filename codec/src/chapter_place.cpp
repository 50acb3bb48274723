#include "chapter_place.h"

extern "C" {
#include <libavutil/avutil.h>
#include <libavutil/mathematics.h>
}

#include <algorithm>
#include <tuple>

namespace rsc::job {

namespace {

int64_t saturatedSub(int64_t a, int64_t b)
{
    int64_t r = 0;
    if (!__builtin_sub_overflow(a, b, &r))
        return r;
    return b < 0 ? INT64_MAX : INT64_MIN;
}

// The output chapter of the clip-time span [startUs, endUs); false when no part of it lies in the part joined.
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

} // namespace

void sortChapters(std::vector<rsc::edit::Chapter> *chapters)
{
    std::stable_sort(chapters->begin(), chapters->end(), [](const rsc::edit::Chapter &a, const rsc::edit::Chapter &b) {
        return std::tie(a.startUs, a.durationUs) < std::tie(b.startUs, b.durationUs);
    });
}

std::vector<rsc::edit::Chapter> placeChapters(std::vector<ClipChapter> chapters, const ChapterPlace &place)
{
    std::stable_sort(chapters.begin(), chapters.end(),
                     [](const ClipChapter &a, const ClipChapter &b) { return a.startUs < b.startUs; });
    // Ends as libavformat's compute_chapters_end gives them: a header alone (Ogg) or the caller may state none.
    for (size_t i = 0; i < chapters.size(); ++i) {
        ClipChapter &c = chapters[i];
        if (c.endUs > c.startUs)
            continue;
        c.endUs = place.toUs;
        if (i + 1 < chapters.size() && chapters[i + 1].startUs > c.startUs && chapters[i + 1].startUs < c.endUs)
            c.endUs = chapters[i + 1].startUs;
    }
    std::vector<rsc::edit::Chapter> out;
    for (ClipChapter &c : chapters) {
        rsc::edit::Chapter ch;
        if (!placeChapter(c.startUs, c.endUs, place, &ch))
            continue;
        ch.title = std::move(c.title);
        out.push_back(std::move(ch));
    }
    // Sorted again once placed: cutting to the part joined can give chapters that began apart the same start.
    sortChapters(&out);
    return out;
}

std::vector<ClipChapter> editChapters(const std::vector<rsc::edit::Chapter> &chapters)
{
    const uint64_t last = uint64_t(INT64_MAX);
    std::vector<ClipChapter> out;
    out.reserve(chapters.size());
    for (const rsc::edit::Chapter &c : chapters) {
        const uint64_t start = std::min(c.startUs, last);
        const uint64_t end = c.durationUs >= last - start ? last : start + c.durationUs;
        out.push_back(ClipChapter{int64_t(start), int64_t(end), c.title});
    }
    return out;
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
