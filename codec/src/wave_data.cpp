#include "wave_data.h"

#include <cstring>

namespace rsc {

namespace {
// The level bars poll every 50 ms: a window of that length shows what is heard now.
constexpr int kWindowMs = 50;

void put32(uint8_t *p, uint32_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}
void put16(uint8_t *p, uint16_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
} // namespace

std::vector<uint8_t> makeWavImage(const int16_t *samples, size_t frames, int channels, int sampleRate)
{
    const uint32_t dataBytes = static_cast<uint32_t>(frames * channels * 2);
    std::vector<uint8_t> out(44 + dataBytes);
    uint8_t *h = out.data();
    std::memcpy(h, "RIFF", 4);
    put32(h + 4, 36 + dataBytes);
    std::memcpy(h + 8, "WAVEfmt ", 8);
    put32(h + 16, 16);
    put16(h + 20, 1); // PCM
    put16(h + 22, static_cast<uint16_t>(channels));
    put32(h + 24, static_cast<uint32_t>(sampleRate));
    put32(h + 28, static_cast<uint32_t>(sampleRate * channels * 2));
    put16(h + 32, static_cast<uint16_t>(channels * 2));
    put16(h + 34, 16);
    std::memcpy(h + 36, "data", 4);
    put32(h + 40, dataBytes);
    for (size_t i = 0; i < frames * channels; ++i)
        put16(h + 44 + 2 * i, static_cast<uint16_t>(samples[i]));
    return out;
}

void WaveRecorder::configure(int sampleRate, int channels)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_rate = sampleRate > 0 ? sampleRate : 44100;
    m_channels = channels > 0 ? channels : 2;
    m_window.clear();
}

void WaveRecorder::setEnabled(bool on)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_enabled = on;
    if (!on)
        m_window.clear();
}

bool WaveRecorder::enabled() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_enabled;
}

void WaveRecorder::append(const std::vector<int16_t> &interleaved)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_enabled || interleaved.empty())
        return;
    const size_t keep = static_cast<size_t>(m_rate) * kWindowMs / 1000 * m_channels;
    m_window.insert(m_window.end(), interleaved.begin(), interleaved.end());
    if (m_window.size() > keep)
        m_window.erase(m_window.begin(), m_window.end() - static_cast<std::ptrdiff_t>(keep));
}

void WaveRecorder::clear()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_window.clear();
}

std::vector<uint8_t> WaveRecorder::image(bool mono) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_window.empty())
        return {};
    const size_t frames = m_window.size() / m_channels;
    if (!mono || m_channels == 1)
        return makeWavImage(m_window.data(), frames, m_channels, m_rate);
    std::vector<int16_t> down(frames);
    for (size_t i = 0; i < frames; ++i) {
        int sum = 0;
        for (int c = 0; c < m_channels; ++c)
            sum += m_window[i * m_channels + c];
        down[i] = static_cast<int16_t>(sum / m_channels);
    }
    return makeWavImage(down.data(), frames, 1, m_rate);
}

} // namespace rsc
