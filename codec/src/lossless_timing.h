#pragma once
// Decoding times for a video stream whose container stores presentation times only (Matroska, WebM):
// the presentation times in ascending order, held back by the stream's reorder depth, so that every frame
// is decoded before it is shown and decoding times strictly increase. Presentation times are never changed.

#include <cstdint>
#include <vector>

namespace rsc::job {

class DtsFromPts
{
public:
    // `firstPts`: the presentation times of the stream's first packets in decoding order (a look ahead of a
    // few dozen packets; NOPTS entries are skipped). Gives the reorder depth and the frame spacing.
    void start(const std::vector<int64_t> &firstPts);
    // The decoding time of the next packet (in decoding order) of presentation time `pts`.
    int64_t next(int64_t pts);
    int depth() const { return int(m_buffer.size()) - 1; }

private:
    std::vector<int64_t> m_buffer; // ascending; its first entry is the next decoding time
};

} // namespace rsc::job
