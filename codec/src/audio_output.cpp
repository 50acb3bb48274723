#include "audio_output.h"

#include "audio_fifo.h"
#include "clock_player.h"
#include "wave_data.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <mutex>

namespace rsc {

namespace {
bool sdlAudioReady()
{
    static std::once_flag once;
    static bool ready = false;
    std::call_once(once, [] {
        // SDL would catch SIGINT and SIGTERM for an event queue nobody reads: the program handles them.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        ready = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    });
    return ready;
}
} // namespace

AudioOutput::AudioOutput(AudioFifo &fifo, PlayerClock &clock, WaveRecorder &wave)
    : m_fifo(fifo), m_clock(clock), m_wave(wave)
{}

AudioOutput::~AudioOutput()
{
    close();
}

void AudioOutput::setDeviceName(const std::string &name)
{
    m_deviceName = name;
}

bool AudioOutput::setFormat(int sampleRate, int channels)
{
    close();
    m_wantRate = sampleRate;
    m_wantChannels = channels;
    return sampleRate > 0 && channels > 0;
}

bool AudioOutput::open(int sampleRate, int channels)
{
    if (!setFormat(sampleRate, channels) || !acquire())
        return false;
    close();
    return true;
}

bool AudioOutput::acquire()
{
    if (m_device != 0)
        return true;
    if (m_wantRate <= 0 || m_wantChannels <= 0 || !sdlAudioReady())
        return false;
    SDL_AudioSpec want{};
    want.freq = m_wantRate;
    want.format = AUDIO_S16SYS;
    want.channels = static_cast<Uint8>(m_wantChannels);
    want.samples = 1024;
    want.callback = &AudioOutput::callback;
    want.userdata = this;
    SDL_AudioSpec have{};
    const char *name = m_deviceName.empty() ? nullptr : m_deviceName.c_str();
    SDL_AudioDeviceID dev = SDL_OpenAudioDevice(name, 0, &want, &have, 0);
    if (dev == 0 && name)
        dev = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0); // a vanished device: fall back to the default
    if (dev == 0)
        return false;
    m_device = dev;
    m_rate = have.freq;
    m_channels = have.channels;
    m_bufferFrames = have.samples;
    return true;
}

void AudioOutput::close()
{
    if (m_device == 0)
        return;
    SDL_CloseAudioDevice(m_device); // waits for a running callback
    m_device = 0;
    m_clock.detachAudio();
}

void AudioOutput::setPlaying(bool playing)
{
    if (playing) {
        if (m_device != 0)
            SDL_PauseAudioDevice(m_device, 0);
    } else {
        close();
    }
}

void AudioOutput::callback(void *user, uint8_t *stream, int len)
{
    static_cast<AudioOutput *>(user)->fill(stream, len);
}

void AudioOutput::fill(uint8_t *stream, int len)
{
    const int frames = len / (2 * m_channels);
    auto *out = reinterpret_cast<int16_t *>(stream);
    m_played.clear();
    const int64_t pts = m_fifo.pull(out, frames, m_wave.enabled() ? &m_played : nullptr);
    if (pts >= 0) {
        // This buffer is heard after the one the device is playing now.
        m_clock.reportAudio(pts - static_cast<int64_t>(m_bufferFrames) * 100 * m_clock.pace() / std::max(1, m_rate));
        m_wave.append(m_played);
    }
}

} // namespace rsc
