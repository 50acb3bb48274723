#include "lossless_timing.h"

#include <algorithm>

extern "C" {
#include <libavutil/avutil.h>
}

namespace rsc::job {

namespace {
constexpr int kMaxDepth = 16; // H.264 and HEVC hold at most 16 frames for reordering
} // namespace

void DtsFromPts::start(const std::vector<int64_t> &firstPts)
{
    std::vector<int64_t> pts;
    for (int64_t p : firstPts) {
        if (p != AV_NOPTS_VALUE)
            pts.push_back(p);
    }
    // The reorder depth: how many frames decoded earlier a frame is shown before, at most.
    int depth = 0;
    for (size_t i = 0; i < pts.size(); ++i) {
        int earlierLater = 0;
        for (size_t j = 0; j < i; ++j)
            earlierLater += pts[j] > pts[i] ? 1 : 0;
        depth = std::max(depth, earlierLater);
    }
    depth = std::min(depth, kMaxDepth);
    std::vector<int64_t> sorted = pts;
    std::sort(sorted.begin(), sorted.end());
    int64_t spacing = 0;
    for (size_t i = 1; i < sorted.size(); ++i) {
        const int64_t d = sorted[i] - sorted[i - 1];
        if (d > 0 && (spacing == 0 || d < spacing))
            spacing = d;
    }
    if (spacing <= 0)
        spacing = 1;
    const int64_t base = sorted.empty() ? 0 : sorted.front();
    // Decoding starts `depth` frames before the first frame shown.
    m_buffer.clear();
    for (int k = depth + 1; k >= 1; --k)
        m_buffer.push_back(base - k * spacing);
}

int64_t DtsFromPts::next(int64_t pts)
{
    if (m_buffer.empty() || pts == AV_NOPTS_VALUE)
        return AV_NOPTS_VALUE;
    m_buffer[0] = pts;
    for (size_t i = 0; i + 1 < m_buffer.size() && m_buffer[i] > m_buffer[i + 1]; ++i)
        std::swap(m_buffer[i], m_buffer[i + 1]);
    return m_buffer[0];
}

} // namespace rsc::job
