#include "player_core.h"

#include "audio_output.h"
#include "filter_ass.h"
#include "player_render.h"
#include "player_source.h"

extern "C" {
#include <libavutil/frame.h>
}

#include <algorithm>

namespace rsc {

namespace {
// Sound decoded ahead of the clock; enough to ride out one slow video frame.
constexpr int64_t kAudioLeadUs = 300000;
// Decoded video frames held while topping the sound up (bounds memory on badly interleaved files).
constexpr size_t kMaxQueuedVideo = 24;
// A frame later than this is dropped instead of shown, so a slow machine catches up.
constexpr int64_t kLateDropUs = 120000;
// Seeks closer together than this make a run (clicks or keys across the timeline).
constexpr std::chrono::milliseconds kSeekRunGap{300};
// Commands paused this long before the decoder is brought back after a drained seek.
constexpr std::chrono::milliseconds kResyncQuiet{150};
// Furthest ahead an exact seek decodes on instead of seeking.
constexpr int64_t kDecodeOnLimitUs = 2000000;
// Longest single wait of the play loop, so a command is seen promptly.
constexpr int64_t kMaxWaitUs = 20000;
} // namespace

Player::Player(bool soundOutput) : m_renderer(std::make_unique<PlayerRenderer>()), m_soundOutput(soundOutput) {}

Player::~Player()
{
    close();
}

void Player::setDeliverer(FrameDeliverer deliverer)
{
    std::lock_guard<std::recursive_mutex> lock(m_handlerMutex);
    m_deliverer = std::move(deliverer);
}

void Player::setAudioDevice(const std::string &name)
{
    m_audioDevice = name;
}

bool Player::open(const std::string &path, int previewWidth, int previewHeight, int program, int video)
{
    close();
    auto source = std::make_unique<PlayerSource>();
    m_abortReads = false;
    if (!source->open(path, &m_abortReads, program, video))
        return false;
    // A file whose pictures cannot be decoded (cut short, damaged) is refused now rather than shown
    // black later. The frame decoded stays the first to show.
    m_fifo.configure(source->outputSampleRate(), source->outputChannels());
    AVFrame *first = nullptr;
    if (source->hasVideo()) {
        first = source->nextVideo(m_fifo, 0);
        if (!first)
            return false;
        source->unget(first);
    }
    m_hasVideo = source->hasVideo();
    m_hasAudio = source->hasAudio();
    m_durationUs = static_cast<uint64_t>(std::max<int64_t>(0, source->durationUs()));
    // Sizes as the picture is shown: turned upright as the file asks.
    const int rotation = source->displayRotation();
    const bool turned = rotation == 90 || rotation == 270;
    m_width = turned ? source->height() : source->width();
    m_height = turned ? source->width() : source->height();
    source->displayAspect(turned ? &m_aspectY : &m_aspectX, turned ? &m_aspectX : &m_aspectY);
    m_audioStreams = source->audioStreamCount();
    m_previewW = std::max(0, previewWidth);
    m_previewH = std::max(0, previewHeight);
    m_renderer = std::make_unique<PlayerRenderer>();
    m_renderGeneration = 0;
    m_audioEditGeneration = 0;
    edit::VideoSource videoSource;
    videoSource.width = source->width();
    videoSource.height = source->height();
    videoSource.displayRotation = rotation;
    source->sampleAspect(&videoSource.sarNum, &videoSource.sarDen);
    videoSource.path = path;
    videoSource.frameUs = source->frameDurationUs();
    m_renderer->setSource(videoSource, m_previewW, m_previewH);
    m_videoSource = videoSource;
    m_wave.configure(source->outputSampleRate(), source->outputChannels());
    m_source = std::move(source);
    m_path = path;
    m_programChoice = program;
    m_videoChoice = video;

    m_clock.pause();
    m_clock.set(0);
    m_clock.setSpeed(m_clock.speed());
    m_deviceOpen = false;
    if (m_soundOutput) {
        m_audioOut = std::make_unique<AudioOutput>(m_fifo, m_clock, m_wave);
        m_audioOut->setDeviceName(m_audioDevice);
        // A clip without sound takes the device only for a background: not tried now.
        const bool usable = m_hasAudio ? m_audioOut->open(m_fifo.sampleRate(), m_fifo.channels())
                                       : m_audioOut->setFormat(m_fifo.sampleRate(), m_fifo.channels());
        if (!usable)
            m_audioOut.reset(); // no sound here: keep time with the monotonic clock
        m_deviceOpen = usable && m_hasAudio;
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_state = State::Stopped;
        m_async = false;
        m_asyncTarget = -1;
        m_sourceEnded = false;
        m_commands.clear();
    }
    m_position = 0;
    m_videoTime = 0;
    m_open = true;
    startThread();
    return true;
}

bool Player::close()
{
    if (!m_open)
        return false;
    stopThread();
    m_audioOut.reset();
    m_deviceOpen = false;
    dropPending();
    clearLastFrame();
    m_source.reset();
    m_fifo.clear();
    m_wave.clear();
    m_clock.pause();
    m_clock.set(0);
    m_open = false;
    m_hasVideo = m_hasAudio = false;
    m_durationUs = 0;
    m_width = m_height = m_aspectX = m_aspectY = m_audioStreams = 0;
    m_position = 0;
    m_videoTime = 0;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_state = State::Stopped;
    return true;
}

bool Player::isOpen() const
{
    return m_open;
}

std::string Player::path() const
{
    return m_open ? m_path : std::string();
}

void Player::startThread()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_quit = false;
    }
    m_thread = std::thread([this] { run(); });
}

void Player::stopThread()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_quit = true;
    }
    m_abortReads = true;
    m_wake.notify_all();
    m_done.notify_all();
    if (m_thread.joinable()) {
        if (m_thread.get_id() == std::this_thread::get_id())
            m_thread.detach(); // closed from inside a frame handler: the loop ends on its own
        else
            m_thread.join();
    }
}

// ------------------------------------------------------------------------------------------ transport

bool Player::play()
{
    if (!m_open)
        return false;
    if (!m_hasVideo && !m_hasAudio)
        return false;
    bool restart = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_state == State::Playing)
            return true;
        restart = m_state == State::Completed;
    }
    if (restart && !post(Cmd::Seek, 0, true))
        return false;
    // The device is held only while playing; without one now the sound is let go as it falls due.
    const bool sound = m_audioOut && wantsDevice() && m_audioOut->acquire();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        // Sound buffered while stepping or paused lies before the position: it is not heard.
        m_fifo.dropBefore(m_position);
        m_clock.set(m_position);
        m_clock.start();
        m_deviceOpen = sound;
        m_state = State::Playing;
    }
    if (sound)
        m_audioOut->setPlaying(true);
    m_wake.notify_all();
    return true;
}

bool Player::pause()
{
    if (!m_open)
        return false;
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_state == State::Playing) {
        if (m_audioOut)
            m_audioOut->setPlaying(false);
        m_clock.pause();
        m_position = std::clamp<int64_t>(m_clock.now(), 0, static_cast<int64_t>(m_durationUs));
    }
    if (m_state != State::Completed)
        m_state = State::Paused;
    m_wake.notify_all();
    return true;
}

bool Player::stop()
{
    if (!m_open)
        return false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_audioOut)
            m_audioOut->setPlaying(false);
        m_clock.pause();
        m_clock.set(0);
        m_state = State::Stopped;
        m_position = 0;
    }
    return post(Cmd::Stop, 0, false);
}

bool Player::seek(uint64_t us)
{
    if (!m_open)
        return false;
    const int64_t target = static_cast<int64_t>(std::min<uint64_t>(us, m_durationUs));
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_async) {
            // Only the newest position of a drag matters: replace a seek still waiting.
            m_commands.erase(std::remove_if(m_commands.begin(), m_commands.end(),
                                            [](const Command &c) { return c.cmd == Cmd::AsyncSeek; }),
                             m_commands.end());
            m_asyncTarget = target;
            m_position = target;
        }
    }
    if (m_async)
        return post(Cmd::AsyncSeek, target, false, m_asyncLag);
    return post(Cmd::Seek, target, true);
}

bool Player::fastSeek(uint64_t us, bool after)
{
    if (!m_open)
        return false;
    return post(Cmd::FastSeek, static_cast<int64_t>(std::min<uint64_t>(us, m_durationUs)), true, after ? 1 : 0);
}

bool Player::beginAsyncSeek(uint64_t maxLagUs)
{
    if (!m_open)
        return false;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_async = true;
    m_asyncTarget = -1;
    m_asyncLag = static_cast<int64_t>(std::min<uint64_t>(maxLagUs, uint64_t(INT64_MAX)));
    return true;
}

bool Player::endAsyncSeek()
{
    if (!m_open)
        return false;
    int64_t target;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_async)
            return false;
        m_async = false;
        target = m_asyncTarget;
        m_asyncTarget = -1;
    }
    // The drag showed key frames; the final position is shown exactly.
    return target < 0 || post(Cmd::Seek, target, true);
}

bool Player::frameStep(int direction)
{
    if (!m_open || !m_hasVideo || direction == 0)
        return false;
    pause();
    return post(Cmd::Step, direction > 0 ? 1 : -1, true);
}

bool Player::keyFrameStep(int direction)
{
    if (!m_open || !m_hasVideo || direction == 0)
        return false;
    pause();
    return post(Cmd::KeyStep, direction > 0 ? 1 : -1, true);
}

bool Player::changeSpeed(int percent)
{
    if (percent <= 0)
        return false;
    // The sound follows through the audio pipeline's tempo change (the caller puts the speed into the
    // edits); until the device reports the new pace the monotonic clock carries on.
    m_clock.detachAudio();
    m_clock.setSpeed(percent);
    return true;
}

bool Player::changeRate(int percent)
{
    if (percent <= 0)
        return false;
    m_clock.detachAudio();
    m_clock.setRate(percent);
    return true;
}

bool Player::enableLoop(bool on)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_loop = on;
    return true;
}

bool Player::showVideoFrame()
{
    if (!m_open || !m_hasVideo)
        return false;
    return post(Cmd::Show, 0, true);
}

bool Player::refreshVideoFrame()
{
    if (!m_open)
        return false;
    return post(Cmd::Refresh, 0, true);
}

bool Player::selectStreams(int program, int video)
{
    if (!m_open || program < 0 || video < 0)
        return false;
    if (program == m_programChoice && video == m_videoChoice)
        return true;
    // Try the choice on a file of its own first, so a refused one leaves the open file as it was.
    {
        PlayerSource probe;
        if (!probe.open(m_path, nullptr, program, video))
            return false;
    }
    const std::string path = m_path;
    const int w = m_previewW, h = m_previewH, oldProgram = m_programChoice, oldVideo = m_videoChoice;
    const uint64_t at = playTimeUs();
    const bool playing = state() == State::Playing;
    if (!open(path, w, h, program, video)) {
        open(path, w, h, oldProgram, oldVideo);
        return false;
    }
    int track;
    {
        std::lock_guard<std::mutex> lock(m_editMutex);
        track = m_edit.audioTrack;
    }
    if (track > 0)
        selectAudioStream(track); // the chosen track when the file still has it
    seek(at);
    if (playing)
        play();
    return true;
}

std::string Player::keepStreamCopy(StreamUse use, const std::string &bytes)
{
    auto &copies = m_streamCopies[use == StreamUse::Subtitle ? 0 : 1];
    auto file = std::make_unique<edit::FilterResources>();
    // No suffix: FFmpeg recognises subtitle and sound formats by their content, and a guessed one could mislead it.
    const std::string path = file->addFile(std::string(), bytes);
    if (path.empty())
        return {};
    copies.push_back(std::move(file));
    // A graph built a moment ago may still be opening the previous copy.
    while (copies.size() > 2)
        copies.pop_front();
    return path;
}

bool Player::selectAudioStream(int index)
{
    if (!m_open || index < 0 || index >= m_audioStreams)
        return false;
    {
        std::lock_guard<std::mutex> lock(m_editMutex);
        m_edit.audioTrack = index;
        if (m_batch == 0)
            m_appliedEdit = m_edit;
    }
    return post(Cmd::SelectAudio, index, true);
}

// ------------------------------------------------------------------------------------------ queries

Player::State Player::state() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_state;
}

bool Player::hasVideo() const
{
    return m_open && m_hasVideo;
}

bool Player::hasAudio() const
{
    return m_open && m_hasAudio;
}

uint64_t Player::durationUs() const
{
    return m_durationUs;
}

uint64_t Player::playTimeUs() const
{
    if (!m_open)
        return 0;
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_state == State::Playing)
        return static_cast<uint64_t>(std::clamp<int64_t>(m_clock.now(), 0, static_cast<int64_t>(m_durationUs)));
    return static_cast<uint64_t>(std::max<int64_t>(0, m_position));
}

uint64_t Player::videoTimeUs() const
{
    return static_cast<uint64_t>(std::max<int64_t>(0, m_videoTime));
}

int Player::videoWidth() const
{
    return m_width;
}

int Player::videoHeight() const
{
    return m_height;
}

int Player::aspectX() const
{
    return m_aspectX;
}

int Player::aspectY() const
{
    return m_aspectY;
}

bool Player::previewSize(int *width, int *height) const
{
    if (!m_open || !m_hasVideo)
        return false;
    edit::EditConfig cfg;
    {
        std::lock_guard<std::mutex> lock(m_editMutex);
        cfg = m_edit;
    }
    const edit::PictureArea frame = PlayerRenderer::frameArea(cfg, m_videoSource, m_previewW, m_previewH);
    *width = frame.w;
    *height = frame.h;
    return frame.w > 0 && frame.h > 0;
}

// ------------------------------------------------------------------------------------------ frames

void Player::setHandler(bool edited, FrameHandler handler)
{
    std::lock_guard<std::recursive_mutex> lock(m_handlerMutex);
    (edited ? m_editedHandler : m_originalHandler) = handler;
}

std::vector<uint8_t> Player::capture()
{
    if (!m_open || !m_hasVideo)
        return {};
    if (!post(Cmd::Capture, 0, true))
        return {};
    std::lock_guard<std::mutex> lock(m_mutex);
    return std::move(m_captured);
}

void Player::enableWaveData(bool on)
{
    m_wave.setEnabled(on);
}

std::vector<uint8_t> Player::waveData(bool mono) const
{
    return m_wave.image(mono);
}

// ------------------------------------------------------------------------------------------ edits

void Player::edit(const std::function<void(edit::EditConfig &)> &change)
{
    {
        std::lock_guard<std::mutex> lock(m_editMutex);
        change(m_edit);
        if (m_batch > 0)
            return;
        m_appliedEdit = m_edit;
        ++m_editGeneration;
    }
    takeDeviceForBackground();
}

void Player::beginSettings()
{
    std::lock_guard<std::mutex> lock(m_editMutex);
    ++m_batch;
}

void Player::endSettings()
{
    {
        std::lock_guard<std::mutex> lock(m_editMutex);
        if (m_batch == 0 || --m_batch > 0)
            return;
        m_appliedEdit = m_edit;
        ++m_editGeneration;
    }
    takeDeviceForBackground();
}

bool Player::wantsDevice() const
{
    if (m_hasAudio)
        return true;
    std::lock_guard<std::mutex> lock(m_editMutex);
    return m_hasVideo && !m_appliedEdit.background[0].file.empty();
}

void Player::takeDeviceForBackground()
{
    if (!m_open || m_hasAudio || !m_audioOut || m_deviceOpen || state() != State::Playing || !wantsDevice())
        return;
    // As play() takes it: opening a device may take a while, so not while the player thread could wait.
    if (!m_audioOut->acquire())
        return;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_deviceOpen = m_state == State::Playing;
    m_audioOut->setPlaying(m_deviceOpen); // paused meanwhile: let go again
}

int Player::watermarkSlot() const
{
    std::lock_guard<std::mutex> lock(m_editMutex);
    return m_watermarkSlot;
}

void Player::setWatermarkSlot(int slot)
{
    std::lock_guard<std::mutex> lock(m_editMutex);
    m_watermarkSlot = std::clamp(slot, 0, 2);
}

int Player::backgroundSlot() const
{
    std::lock_guard<std::mutex> lock(m_editMutex);
    return m_backgroundSlot;
}

void Player::setBackgroundSlot(int slot)
{
    std::lock_guard<std::mutex> lock(m_editMutex);
    m_backgroundSlot = 0; // one background track is mixed
    (void)slot;
}

Player::Box Player::watermarkTextBox() const
{
    const int slot = watermarkSlot();
    std::lock_guard<std::mutex> lock(m_layoutMutex);
    const auto b = m_renderer->textBox(slot);
    return {b.x, b.y, b.w, b.h};
}

Player::Box Player::watermarkImageBox() const
{
    const int slot = watermarkSlot();
    std::lock_guard<std::mutex> lock(m_layoutMutex);
    const auto b = m_renderer->imageBox(slot);
    return {b.x, b.y, b.w, b.h};
}

// ------------------------------------------------------------------------------------------ thread

bool Player::post(Cmd cmd, int64_t value, bool wait, int64_t extra)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    if (!m_thread.joinable() || m_quit)
        return false;
    const uint64_t serial = m_nextSerial++;
    m_commands.push_back({cmd, value, serial, extra});
    m_wake.notify_all();
    if (!wait || m_thread.get_id() == std::this_thread::get_id())
        return true;
    if (!m_done.wait_for(lock, kCommandTimeout, [&] { return m_doneSerial >= serial || m_quit; }))
        return false;
    return m_doneSerial == serial && m_lastResult;
}

void Player::run()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_quit) {
        if (!m_commands.empty()) {
            const Command c = m_commands.front();
            m_commands.pop_front();
            lock.unlock();
            execute(c);
            lock.lock();
            m_lastCommandAt = std::chrono::steady_clock::now();
            m_lastCommand = c.cmd;
            m_doneSerial = c.serial;
            m_done.notify_all();
            continue;
        }
        if (m_state == State::Playing) {
            lock.unlock();
            playStep();
            lock.lock();
            continue;
        }
        if (m_source && m_source->resyncPending()) {
            // Bring the decoder back after a drained seek, a packet at a time, once the commands have
            // paused for a moment (a run of seeks would otherwise pay for it).
            const auto quiet = m_lastCommandAt + kResyncQuiet - std::chrono::steady_clock::now();
            if (quiet > std::chrono::steady_clock::duration::zero()) {
                m_wake.wait_for(lock, quiet);
                continue;
            }
            lock.unlock();
            m_source->pump(m_fifo, m_position);
            lock.lock();
            continue;
        }
        m_wake.wait(lock);
    }
}

void Player::execute(const Command &c)
{
    bool ok = false;
    std::vector<uint8_t> captured;
    switch (c.cmd) {
    case Cmd::Seek: {
        const bool inRun =
            m_lastCommand == Cmd::Seek && std::chrono::steady_clock::now() - m_lastCommandAt < kSeekRunGap;
        ok = exactSeek(c.value, true, true, inRun);
        break;
    }
    case Cmd::FastSeek:
        ok = keySeek(c.value, c.extra != 0, -1);
        break;
    case Cmd::AsyncSeek:
        ok = keySeek(c.value, false, c.extra);
        break;
    case Cmd::Step:
        if (c.value > 0) {
            ok = stepForward();
        } else {
            const int64_t cur = m_videoTime;
            ok = cur > 0 && exactSeek(cur - 1, true);
        }
        break;
    case Cmd::KeyStep: {
        const int64_t cur = m_videoTime;
        ok = c.value > 0 ? keySeek(cur + 1, true, -1) : keySeek(std::max<int64_t>(0, cur - 1), false, -1);
        break;
    }
    case Cmd::Show:
        presentAgain();
        ok = m_lastSource != nullptr;
        break;
    case Cmd::Refresh: {
        edit::EditConfig cfg;
        {
            std::lock_guard<std::mutex> lock(m_editMutex);
            cfg = m_edit;
        }
        {
            std::lock_guard<std::mutex> lock(m_layoutMutex);
            m_renderer->layout(cfg);
        }
        if (m_hasVideo)
            presentAgain();
        ok = true;
        break;
    }
    case Cmd::Capture: {
        if (!m_lastSource && m_hasVideo)
            exactSeek(m_position, false);
        if (m_lastSource) {
            edit::EditConfig cfg;
            uint64_t gen;
            {
                std::lock_guard<std::mutex> lock(m_editMutex);
                cfg = m_appliedEdit;
                gen = m_editGeneration;
            }
            std::lock_guard<std::mutex> layout(m_layoutMutex);
            if (AVFrame *e = m_renderer->edited(m_lastSource, cfg, gen))
                captured = PlayerRenderer::toBmp(e);
        }
        ok = !captured.empty();
        break;
    }
    case Cmd::SelectAudio:
        ok = m_source->selectAudio(static_cast<int>(c.value));
        if (ok) {
            m_fifo.configure(m_source->outputSampleRate(), m_source->outputChannels());
            // Re-read from the position so the new track is heard from here.
            const int64_t pos = std::max<int64_t>(m_position, 0);
            exactSeek(pos, false);
        }
        break;
    case Cmd::Stop:
        dropPending();
        clearLastFrame();
        m_fifo.clear();
        m_source->seek(0);
        m_sourceEnded = false;
        m_videoTime = 0;
        ok = true;
        break;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_lastResult = ok;
    if (c.cmd == Cmd::Capture)
        m_captured = std::move(captured);
}

bool Player::syncAudioEdits()
{
    if (!m_source)
        return false;
    std::lock_guard<std::mutex> lock(m_editMutex);
    if (m_editGeneration == m_audioEditGeneration)
        return false;
    m_audioEditGeneration = m_editGeneration;
    return m_source->setAudioEdits(m_appliedEdit, m_editGeneration);
}

void Player::topUpAudio()
{
    const bool editsChanged = syncAudioEdits();
    // A clip without sound sounds only with a background, mixed into its silence.
    const bool silence = !m_hasAudio && m_source->playsSilence();
    if (!m_hasAudio && !silence && m_fifo.empty()) {
        if (m_deviceOpen)
            m_clock.detachAudio(); // its background was taken away: the picture keeps time alone
        return;
    }
    if (editsChanged && !m_fifo.empty()) {
        // Sound decoded ahead carries the old edits (a new speed above all would put the sound out of
        // step): decode again from where the play is.
        exactSeek(std::max<int64_t>(0, m_clock.now()), false);
    }
    const int64_t now = m_clock.now();
    if (silence) {
        m_source->pumpSilence(m_fifo, now, now + kAudioLeadUs);
    } else if (m_hasAudio) {
        while (!m_source->atEnd() && m_fifo.endUs() < now + kAudioLeadUs && m_source->queuedVideo() < kMaxQueuedVideo) {
            if (!m_source->pump(m_fifo, 0))
                break;
        }
    }
    if (!m_deviceOpen) {
        m_silentlyPlayed.clear();
        m_fifo.dropBefore(now, m_wave.enabled() ? &m_silentlyPlayed : nullptr);
        m_wave.append(m_silentlyPlayed);
    } else if (m_fifo.empty() && (m_source->atEnd() || !m_hasAudio)) {
        m_clock.detachAudio(); // the sound has ended: the picture goes on with the monotonic clock
    }
}

void Player::playStep()
{
    topUpAudio();
    if (m_hasVideo && !m_pending)
        m_pending = m_source->nextVideo(m_fifo, 0);

    int64_t waitUs = kMaxWaitUs;
    if (m_pending) {
        const int64_t now = m_clock.now();
        const int64_t due = m_pending->pts;
        if (due <= now) {
            AVFrame *f = m_pending;
            m_pending = nullptr;
            if (now - due > kLateDropUs && m_source->queuedVideo() > 0) {
                av_frame_free(&f); // late: catch up instead of showing it
            } else {
                present(f);
            }
            return;
        }
        waitUs = std::min(waitUs, due - now);
    } else {
        // No more pictures: the play ends when the last one has had its time and the sound is out.
        const int64_t now = m_clock.now();
        const int64_t videoEnd = m_hasVideo ? m_videoTime + m_source->frameDurationUs() : 0;
        const bool soundDone = !m_hasAudio || m_fifo.empty();
        if (m_source->atEnd() && soundDone && now >= videoEnd) {
            finishPlaying();
            return;
        }
    }
    std::unique_lock<std::mutex> lock(m_mutex);
    m_wake.wait_for(lock, std::chrono::microseconds(std::max<int64_t>(waitUs, 1000)),
                    [&] { return m_quit || !m_commands.empty() || m_state != State::Playing; });
}

void Player::finishPlaying()
{
    bool loop;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        loop = m_loop;
    }
    if (loop) {
        exactSeek(0, true);
        return;
    }
    if (m_audioOut)
        m_audioOut->setPlaying(false);
    m_clock.pause();
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_state == State::Playing) {
        m_state = State::Completed;
        m_position = static_cast<int64_t>(m_durationUs);
    }
}

// ------------------------------------------------------------------------------------------ helpers

void Player::dropPending()
{
    if (m_pending)
        av_frame_free(&m_pending);
}

void Player::clearLastFrame()
{
    if (m_lastSource)
        av_frame_free(&m_lastSource);
}

void Player::setVideoTime(int64_t us)
{
    m_videoTime = std::max<int64_t>(0, us);
}

int64_t Player::beginSeek(int64_t target)
{
    syncAudioEdits();
    dropPending();
    m_fifo.clear();
    return std::clamp<int64_t>(target, 0, static_cast<int64_t>(m_durationUs));
}

void Player::landAt(int64_t target)
{
    m_clock.set(target);
    std::lock_guard<std::mutex> lock(m_mutex);
    m_position = target;
    if (m_state == State::Completed)
        m_state = State::Paused; // a seek after the end makes the clip playable again
}

bool Player::exactSeek(int64_t target, bool present, bool mayDecodeOn, bool mayDrain)
{
    if (mayDecodeOn && decodeOnTo(target, present))
        return true;
    target = beginSeek(target);
    prepareRender(target);
    AVFrame *candidate = nullptr;
    if (m_hasVideo) {
        m_source->skipUnreferencedBefore(target);
        // In a run of seeks the pictures after each target are thrown away by the next seek: the decoder
        // is drained at the target and brought back only once the run has ended (playing or stepping on
        // right after one seek would decode its group twice).
        m_source->drainAfter(mayDrain && present && state() != State::Playing ? target : INT64_MIN);
        // Demuxers seek by decoding order: with reordered frames the key frame found can start after
        // the target. Then start earlier until the first frame decoded is not after it.
        int64_t from = target;
        for (int attempt = 0;; ++attempt) {
            m_source->seek(from);
            m_fifo.clear();
            AVFrame *first = m_source->nextVideo(m_fifo, target);
            if (!first) {
                // Some demuxers (MPEG-TS) land on a packet that is no key frame; with none after it nothing
                // decodes. Start earlier too.
                if (from == 0 || attempt >= 6)
                    break;
                from = std::max<int64_t>(0, from - (int64_t(1000000) << attempt));
                continue;
            }
            if (first->pts <= target || from == 0 || attempt >= 6) {
                m_source->unget(first);
                break;
            }
            av_frame_free(&first);
            from = std::max<int64_t>(0, from - (int64_t(1000000) << attempt));
        }
        // The frame showing at `target` is the last one that starts at or before it; the one decoded
        // after it stays pending as the next frame.
        while (AVFrame *f = m_source->nextVideo(m_fifo, target)) {
            if (f->pts <= target) {
                if (candidate)
                    av_frame_free(&candidate);
                candidate = f;
                continue;
            }
            if (candidate)
                m_pending = f;
            else
                candidate = f; // target before the first frame: show the first
            break;
        }
        m_source->skipUnreferencedBefore(INT64_MIN);
        m_source->drainAfter(INT64_MIN);
    } else {
        m_source->seek(target);
        m_source->pump(m_fifo, target);
    }
    landAt(target);
    if (!candidate)
        return !m_hasVideo;
    if (present) {
        this->present(candidate);
        m_clock.set(target); // playing on, the next frame is due a frame after this one, not after the decode
    } else {
        clearLastFrame();
        m_lastSource = candidate;
        setVideoTime(candidate->pts);
    }
    return true;
}

bool Player::decodeOnTo(int64_t target, bool present)
{
    target = std::clamp<int64_t>(target, 0, static_cast<int64_t>(m_durationUs));
    // Sound decoded with other edits must be decoded again: a real seek.
    if (!m_hasVideo || !m_lastSource || syncAudioEdits())
        return false;
    const int64_t shown = m_lastSource->pts;
    // The bound covers files whose index grows as they are read (a key frame not yet met is not in it).
    if (target < shown || target - shown > kDecodeOnLimitUs || !m_source->reachesByDecoding(target))
        return false;
    m_fifo.dropBefore(target);
    m_source->skipUnreferencedBefore(target);
    AVFrame *candidate = nullptr;
    AVFrame *next = m_pending;
    m_pending = nullptr;
    if (!next)
        next = m_source->nextVideo(m_fifo, target);
    while (next && next->pts <= target) {
        if (candidate)
            av_frame_free(&candidate);
        candidate = next;
        next = m_source->nextVideo(m_fifo, target);
    }
    m_source->skipUnreferencedBefore(INT64_MIN);
    m_pending = next; // null at the end of the media
    landAt(target);
    if (!candidate) { // the frame shown is still the one at the target
        if (present)
            this->present(m_lastSource);
        return true;
    }
    if (present) {
        this->present(candidate);
        m_clock.set(target);
    } else {
        clearLastFrame();
        m_lastSource = candidate;
        setVideoTime(candidate->pts);
    }
    return true;
}

bool Player::keySeek(int64_t target, bool after, int64_t lagUs)
{
    target = beginSeek(target);
    prepareRender(target);
    m_source->seek(target, after);
    landAt(target);
    if (!m_hasVideo)
        return true;
    AVFrame *f = m_source->nextVideo(m_fifo, target);
    if (!f && after) { // no key frame after the time: the last one before it
        m_source->seek(target, false);
        f = m_source->nextVideo(m_fifo, target);
    }
    if (!f)
        return false;
    while (lagUs >= 0 && target - f->pts > lagUs) {
        AVFrame *next = m_source->nextVideo(m_fifo, target);
        if (!next)
            break;
        av_frame_free(&f);
        f = next;
    }
    if (after) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_position = std::max<int64_t>(0, f->pts);
        m_clock.set(m_position);
    }
    present(f);
    return true;
}

bool Player::stepForward()
{
    AVFrame *f = m_pending;
    m_pending = nullptr;
    if (!f)
        f = m_source->nextVideo(m_fifo, m_videoTime);
    if (!f)
        return false;
    m_clock.set(f->pts);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_position = f->pts;
    }
    present(f);
    return true;
}

void Player::prepareRender(int64_t target)
{
    if (!m_hasVideo || !m_lastSource)
        return;
    bool wantEdited;
    {
        std::lock_guard<std::recursive_mutex> lock(m_handlerMutex);
        if (!m_deliverer || (!m_originalHandler.fn && !m_editedHandler.fn))
            return;
        wantEdited = m_editedHandler.fn != nullptr;
    }
    edit::EditConfig cfg;
    uint64_t gen;
    {
        std::lock_guard<std::mutex> edits(m_editMutex);
        gen = m_editGeneration;
        cfg = gen == m_renderGeneration ? m_renderEdit : m_appliedEdit;
    }
    std::lock_guard<std::mutex> layout(m_layoutMutex);
    m_renderer->prepareSeek(m_lastSource, target, cfg, gen, wantEdited);
}

void Player::present(AVFrame *source)
{
    if (source != m_lastSource) {
        clearLastFrame();
        m_lastSource = source;
    }
    setVideoTime(source->pts);
    std::lock_guard<std::recursive_mutex> lock(m_handlerMutex);
    if (!m_deliverer)
        return;
    if (m_originalHandler.fn) {
        if (AVFrame *o = m_renderer->upright(source))
            m_deliverer(m_originalHandler, o);
    }
    if (m_editedHandler.fn) {
        edit::EditConfig cfg;
        uint64_t gen;
        {
            std::lock_guard<std::mutex> edits(m_editMutex);
            gen = m_editGeneration;
            if (gen != m_renderGeneration)
                cfg = m_appliedEdit;
        }
        if (gen != m_renderGeneration) {
            m_renderEdit = std::move(cfg);
            m_renderGeneration = gen;
        }
        AVFrame *e;
        {
            std::lock_guard<std::mutex> layout(m_layoutMutex); // the box getters read the layout
            e = m_renderer->edited(source, m_renderEdit, m_renderGeneration);
        }
        if (e)
            m_deliverer(m_editedHandler, e);
    }
}

void Player::presentAgain()
{
    if (m_lastSource)
        present(m_lastSource);
    else if (m_hasVideo)
        exactSeek(m_position, true);
}

} // namespace rsc
