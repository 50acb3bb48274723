#include "audio_fifo.h"

#include <algorithm>
#include <cstring>

namespace rsc {

void AudioFifo::configure(int sampleRate, int channels)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_rate = sampleRate > 0 ? sampleRate : 44100;
    m_channels = channels > 0 ? channels : 2;
    m_chunks.clear();
}

void AudioFifo::clear()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_chunks.clear();
}

void AudioFifo::push(const int16_t *samples, int frames, int64_t ptsUs, int64_t pace)
{
    if (frames <= 0)
        return;
    std::lock_guard<std::mutex> lock(m_mutex);
    Chunk c;
    c.samples.assign(samples, samples + static_cast<size_t>(frames) * m_channels);
    c.ptsUs = ptsUs;
    c.pace = pace > 0 ? pace : 10000;
    m_chunks.push_back(std::move(c));
}

int64_t AudioFifo::mediaUsOf(const Chunk &c, size_t frames) const
{
    return static_cast<int64_t>(frames) * 100 * c.pace / m_rate;
}

int64_t AudioFifo::chunkPts(const Chunk &c) const
{
    return c.ptsUs + mediaUsOf(c, c.offset);
}

int64_t AudioFifo::pull(int16_t *dst, int frames, std::vector<int16_t> *played)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    int64_t first = -1;
    int done = 0;
    while (done < frames && !m_chunks.empty()) {
        Chunk &c = m_chunks.front();
        if (first < 0)
            first = chunkPts(c);
        const size_t avail = c.samples.size() / m_channels - c.offset;
        const size_t take = std::min<size_t>(avail, static_cast<size_t>(frames - done));
        const int16_t *src = c.samples.data() + c.offset * m_channels;
        std::memcpy(dst + static_cast<size_t>(done) * m_channels, src, take * m_channels * sizeof(int16_t));
        if (played)
            played->insert(played->end(), src, src + take * m_channels);
        c.offset += take;
        done += static_cast<int>(take);
        if (c.offset * m_channels >= c.samples.size())
            m_chunks.pop_front();
    }
    if (done < frames)
        std::memset(dst + static_cast<size_t>(done) * m_channels, 0,
                    static_cast<size_t>(frames - done) * m_channels * sizeof(int16_t));
    return first;
}

void AudioFifo::dropBefore(int64_t mediaUs, std::vector<int16_t> *played)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    while (!m_chunks.empty()) {
        Chunk &c = m_chunks.front();
        const size_t total = c.samples.size() / m_channels;
        const int64_t start = chunkPts(c);
        if (start >= mediaUs)
            break;
        const size_t due = static_cast<size_t>((mediaUs - c.ptsUs) * m_rate / (100 * c.pace));
        const size_t upTo = std::min(total, std::max(due, c.offset));
        if (played)
            played->insert(played->end(), c.samples.data() + c.offset * m_channels,
                           c.samples.data() + upTo * m_channels);
        c.offset = upTo;
        if (c.offset >= total)
            m_chunks.pop_front();
        else
            break;
    }
}

int64_t AudioFifo::endUs() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_chunks.empty())
        return -1;
    const Chunk &c = m_chunks.back();
    return c.ptsUs + mediaUsOf(c, c.samples.size() / m_channels);
}

bool AudioFifo::empty() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_chunks.empty();
}

} // namespace rsc
