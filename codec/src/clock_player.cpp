#include "clock_player.h"

#include "edit_config.h"

#include <algorithm>

namespace rsc {

namespace {
// A device report older than this no longer moves the clock on its own: the device starved.
constexpr int64_t kAudioHoldUs = 200000;
} // namespace

int64_t PlayerClock::nowLocked(Steady::time_point t) const
{
    if (!m_running)
        return m_baseUs;
    int64_t elapsed = std::chrono::duration_cast<std::chrono::microseconds>(t - m_baseWall).count();
    if (m_audio)
        elapsed = std::min(elapsed, kAudioHoldUs);
    return m_baseUs + elapsed * paceLocked() / edit::EditConfig::kNormalPace;
}

void PlayerClock::rebaseLocked()
{
    const auto t = Steady::now();
    m_baseUs = nowLocked(t);
    m_baseWall = t;
}

int64_t PlayerClock::now() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return nowLocked(Steady::now());
}

void PlayerClock::set(int64_t mediaUs)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_baseUs = mediaUs;
    m_baseWall = Steady::now();
}

void PlayerClock::start()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_running)
        return;
    m_baseWall = Steady::now();
    m_running = true;
}

void PlayerClock::pause()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_running)
        return;
    rebaseLocked();
    m_running = false;
}

bool PlayerClock::running() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_running;
}

void PlayerClock::setSpeed(int percent)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    rebaseLocked();
    m_speed = int(edit::EditConfig::heldPace(uint64_t(std::max(percent, 0))));
}

int PlayerClock::speed() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_speed;
}

void PlayerClock::setRate(int percent)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    rebaseLocked();
    m_rate = int(edit::EditConfig::heldPace(uint64_t(std::max(percent, 0))));
}

int64_t PlayerClock::pace() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return paceLocked();
}

int64_t PlayerClock::paceLocked() const
{
    // Held as the jobs hold it, so the preview keeps the output's pace.
    return edit::EditConfig::heldPace(unsigned(m_speed), unsigned(m_rate));
}

void PlayerClock::reportAudio(int64_t mediaUs)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_running)
        return;
    m_audio = true;
    m_baseUs = mediaUs;
    m_baseWall = Steady::now();
}

void PlayerClock::detachAudio()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    rebaseLocked();
    m_audio = false;
}

bool PlayerClock::followsAudio() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_audio;
}

} // namespace rsc
