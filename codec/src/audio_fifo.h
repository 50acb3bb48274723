#pragma once
// Decoded sound waiting to be played: interleaved signed 16-bit samples with the media time of the
// first one. Filled by the player thread, drained by the sound device (or by the clock when the
// player plays silently). Thread-safe.

#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

namespace rsc {

class AudioFifo
{
public:
    void configure(int sampleRate, int channels);
    int sampleRate() const { return m_rate; }
    int channels() const { return m_channels; }

    void clear();
    // `pace`: how much media time a sample stands for, in hundredths of a percent of its own length (20000 =
    // twice its length, as after a tempo change to double speed or a rate of 200).
    void push(const int16_t *samples, int frames, int64_t ptsUs, int64_t pace = 10000);

    // Copies up to `frames` frames into dst (silence for what is missing); answers the media time of the
    // first frame copied, or -1 when nothing was buffered.
    int64_t pull(int16_t *dst, int frames, std::vector<int16_t> *played = nullptr);

    // Drops every frame that should have played before mediaUs (silent playback); the dropped frames
    // are appended to `played` when given.
    void dropBefore(int64_t mediaUs, std::vector<int16_t> *played = nullptr);

    // Media time just after the last buffered frame, or -1 when empty.
    int64_t endUs() const;
    bool empty() const;

private:
    struct Chunk
    {
        std::vector<int16_t> samples;
        int64_t ptsUs = 0;
        int64_t pace = 10000;
        size_t offset = 0; // frames already taken
    };
    int64_t chunkPts(const Chunk &c) const;
    int64_t mediaUsOf(const Chunk &c, size_t frames) const;

    mutable std::mutex m_mutex;
    std::deque<Chunk> m_chunks;
    int m_rate = 44100;
    int m_channels = 2;
};

} // namespace rsc
