#pragma once
// Audio level data for the level bars: the most recently played samples as a complete WAV file image
// (sample rate at byte 24, data byte count at byte 40, 16-bit samples from byte 44).

#include <cstdint>
#include <mutex>
#include <vector>

namespace rsc {

std::vector<uint8_t> makeWavImage(const int16_t *samples, size_t frames, int channels, int sampleRate);

// Keeps a short window of the samples that were played last. Thread-safe.
class WaveRecorder
{
public:
    void configure(int sampleRate, int channels);
    void setEnabled(bool on);
    bool enabled() const;
    void append(const std::vector<int16_t> &interleaved);
    void clear();
    // The window as a WAV image (mono: the channels averaged); empty when nothing was played yet.
    std::vector<uint8_t> image(bool mono) const;

private:
    mutable std::mutex m_mutex;
    std::vector<int16_t> m_window;
    int m_rate = 44100;
    int m_channels = 2;
    bool m_enabled = false;
};

} // namespace rsc
