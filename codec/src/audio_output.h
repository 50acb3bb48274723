#pragma once
// Sound output through SDL2. The device pulls from an AudioFifo on SDL's own thread and reports the
// media time it is playing to the player's clock. When no device can be opened (machines without
// sound) open() answers false and the player keeps time with its monotonic clock instead.
// The device is held only while sound plays: SDL keeps a paused device's thread feeding it silence, so
// a paused or stopped player would never sleep.

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace rsc {

class AudioFifo;
class PlayerClock;
class WaveRecorder;

class AudioOutput
{
public:
    AudioOutput(AudioFifo &fifo, PlayerClock &clock, WaveRecorder &wave);
    ~AudioOutput();
    AudioOutput(const AudioOutput &) = delete;
    AudioOutput &operator=(const AudioOutput &) = delete;

    // Device by name (empty = the system default).
    void setDeviceName(const std::string &name);
    // Whether a device takes this format; the device is let go again at once.
    bool open(int sampleRate, int channels);
    // The format to ask for, without trying a device now; false for no format at all.
    bool setFormat(int sampleRate, int channels);
    void close();
    bool isOpen() const { return m_device != 0; }

    // Takes the device for a play, still silent; false when none can be opened now.
    bool acquire();
    // true: the held device plays; false: the device is let go.
    void setPlaying(bool playing);

private:
    static void callback(void *user, uint8_t *stream, int len);
    void fill(uint8_t *stream, int len);

    AudioFifo &m_fifo;
    PlayerClock &m_clock;
    WaveRecorder &m_wave;
    std::string m_deviceName;
    uint32_t m_device = 0;
    int m_wantRate = 0;
    int m_wantChannels = 0;
    int m_rate = 0;
    int m_channels = 0;
    int m_bufferFrames = 0;
    std::vector<int16_t> m_played;
};

} // namespace rsc
