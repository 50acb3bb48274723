#pragma once
// The player's clock: media time in microseconds. It follows the sound device while one plays the
// clip's audio, and a monotonic clock otherwise, so a machine without sound still plays on time.

#include <chrono>
#include <cstdint>
#include <mutex>

namespace rsc {

class PlayerClock
{
public:
    using Steady = std::chrono::steady_clock;

    // Media time now.
    int64_t now() const;

    // Sets the media time (after a seek or a step); keeps the running state.
    void set(int64_t mediaUs);
    void start();
    void pause();
    bool running() const;

    // Playback speed and the sound's rate, in percent (100 = normal): both set the pace, and multiply.
    void setSpeed(int percent);
    int speed() const;
    void setRate(int percent);
    // Media time per time played, in hundredths of a percent (10000 = normal), held as
    // EditConfig::pace() holds it.
    int64_t pace() const;

    // The sound device reports the media time of the sample it is playing; from then on the clock
    // follows the device until detachAudio().
    void reportAudio(int64_t mediaUs);
    void detachAudio();
    bool followsAudio() const;

private:
    int64_t nowLocked(Steady::time_point t) const;
    int64_t paceLocked() const;
    // Moves the base to now, so that a change of pace or source applies from this moment on.
    void rebaseLocked();

    mutable std::mutex m_mutex;
    int64_t m_baseUs = 0;
    Steady::time_point m_baseWall = Steady::now();
    bool m_running = false;
    int m_speed = 100;
    int m_rate = 100;
    bool m_audio = false;
};

} // namespace rsc
