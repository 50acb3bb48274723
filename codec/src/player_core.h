#pragma once
// The player: opens one media file, demuxes and decodes it on its own thread, keeps time by the sound
// device (or a monotonic clock when there is none), and hands each frame, untouched and edited, to the
// registered frame handlers on that thread. Every public call is made from the owner's thread; calls
// that must see their effect (seek, step, show, capture) wait for the player thread, but never longer
// than kCommandTimeout.

#include "audio_fifo.h"
#include "clock_player.h"
#include "edit_config.h"
#include "filter_video.h"
#include "wave_data.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

extern "C" {
struct AVFrame;
}

namespace rsc {

namespace edit {
class FilterResources;
}

class AudioOutput;
class PlayerSource;
class PlayerRenderer;

// A frame handler as the C interface registers it; the deliverer wraps the AVFrame for the handler.
struct FrameHandler
{
    unsigned int (*fn)(void *, void *) = nullptr;
    void *user = nullptr;
};
using FrameDeliverer = std::function<unsigned int(const FrameHandler &, AVFrame *)>;

class Player
{
public:
    enum class State { Stopped, Playing, Paused, Completed };
    static constexpr std::chrono::milliseconds kCommandTimeout{5000};

    explicit Player(bool soundOutput);
    ~Player();
    Player(const Player &) = delete;
    Player &operator=(const Player &) = delete;

    void setDeliverer(FrameDeliverer deliverer);
    void setAudioDevice(const std::string &name);

    bool open(const std::string &path, int previewWidth, int previewHeight, int program = 0, int video = 0);
    bool close();
    bool isOpen() const;
    // The file open now (empty when none).
    std::string path() const;

    bool play();
    bool pause();
    bool stop();
    bool seek(uint64_t us);
    // To the key frame before (or, with `after`, after) the time.
    bool fastSeek(uint64_t us, bool after);
    bool beginAsyncSeek(uint64_t maxLagUs);
    bool endAsyncSeek();
    bool frameStep(int direction);
    bool keyFrameStep(int direction);
    bool changeSpeed(int percent);
    // The sound's rate sets the pace as speed does (the picture follows it); the pitch changes with it.
    bool changeRate(int percent);
    bool enableLoop(bool on);
    bool showVideoFrame();
    bool refreshVideoFrame();

    State state() const;
    bool hasVideo() const;
    bool hasAudio() const;
    uint64_t durationUs() const;
    uint64_t playTimeUs() const;
    uint64_t videoTimeUs() const;
    int videoWidth() const;
    int videoHeight() const;
    int aspectX() const;
    int aspectY() const;
    // The size of the edited frame the edits as set now give (the edited picture fitted into the preview
    // size); false without a picture.
    bool previewSize(int *width, int *height) const;

    void setHandler(bool edited, FrameHandler handler);

    // The current edited frame as a BMP file; empty on failure.
    std::vector<uint8_t> capture();
    void enableWaveData(bool on);
    std::vector<uint8_t> waveData(bool mono) const;

    // Live edits. The change is applied to every frame rendered from now on; while a settings batch is
    // open the frames keep the edits from before the batch.
    void edit(const std::function<void(edit::EditConfig &)> &change);
    void beginSettings();
    void endSettings();
    bool selectAudioStream(int index);
    // Program (0-based) and video stream (0-based within it): the file is opened again with that choice and
    // shown from the same time, playing on if it played. A choice the file lacks answers false and changes
    // nothing.
    bool selectStreams(int program, int video);
    int programChoice() const { return m_programChoice; }
    // Sources given as bytes in memory reach the pipeline's file-reading filters as a temporary copy, kept
    // while it may still be read (the two latest of each use) and removed with the player. Answers its
    // path, empty when it could not be written.
    enum class StreamUse { Subtitle, Background };
    std::string keepStreamCopy(StreamUse use, const std::string &bytes);
    int watermarkSlot() const;
    void setWatermarkSlot(int slot);
    int backgroundSlot() const;
    void setBackgroundSlot(int slot);
    // Layout of the selected watermark slot's items, fractions of the edited frame.
    struct Box
    {
        double x = 0, y = 0, w = 0, h = 0;
    };
    Box watermarkTextBox() const;
    Box watermarkImageBox() const;

private:
    enum class Cmd { Seek, FastSeek, AsyncSeek, Step, KeyStep, Show, Refresh, Capture, SelectAudio, Stop };
    struct Command
    {
        Cmd cmd;
        int64_t value = 0;
        uint64_t serial = 0;
        int64_t extra = 0;
    };

    bool post(Cmd cmd, int64_t value, bool wait, int64_t extra = 0);
    void run();
    void execute(const Command &c);
    void playStep();
    void topUpAudio();
    void finishPlaying();

    // Player-thread helpers.
    // What every seek does first: edits handed on, decoded-ahead picture and sound dropped; the target
    // clamped to the media.
    int64_t beginSeek(int64_t target);
    // The clock and the position at the seek target.
    void landAt(int64_t target);
    // `mayDecodeOn`: a target ahead of the frame shown, in the same group of pictures, is reached by
    // decoding on from where the decoder is (what a seek would decode again), keeping the sound read ahead.
    // `mayDrain`: paused, the frames after the target are left undecoded until they are needed.
    bool exactSeek(int64_t target, bool present, bool mayDecodeOn = false, bool mayDrain = false);
    bool decodeOnTo(int64_t target, bool present);
    // The key frame near `target`; with a lag of 0 or more, frames are decoded on until the one shown
    // is at most that far before the target.
    bool keySeek(int64_t target, bool after, int64_t lagUs);
    bool stepForward();
    // Lets the renderer build what the seek's frame will need while the seek decodes.
    void prepareRender(int64_t target);
    void present(AVFrame *source);
    void presentAgain();
    void dropPending();
    void setVideoTime(int64_t us);
    void clearLastFrame();

    // Hands changed edits to the decoder (player thread); true when the sound edits changed.
    bool syncAudioEdits();
    // Owner's thread: whether a play holds the sound device. A clip without sound needs it only for a
    // background, and takes it when one is set while it plays.
    bool wantsDevice() const;
    void takeDeviceForBackground();

    void startThread();
    void stopThread();

    // Set once at open, read from any thread.
    std::unique_ptr<PlayerSource> m_source;
    std::unique_ptr<PlayerRenderer> m_renderer;
    std::unique_ptr<AudioOutput> m_audioOut;
    AudioFifo m_fifo;
    PlayerClock m_clock;
    WaveRecorder m_wave;
    bool m_soundOutput = true;
    std::atomic<bool> m_deviceOpen{false};
    std::string m_audioDevice;
    std::string m_path;
    int m_programChoice = 0, m_videoChoice = 0;
    int m_previewW = 0, m_previewH = 0;
    edit::VideoSource m_videoSource; // the picture the edits apply to

    // Media facts, fixed while open.
    std::atomic<bool> m_open{false};
    bool m_hasVideo = false, m_hasAudio = false;
    uint64_t m_durationUs = 0;
    int m_width = 0, m_height = 0, m_aspectX = 0, m_aspectY = 0, m_audioStreams = 0;

    // Thread and commands.
    std::thread m_thread;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_done;
    std::deque<Command> m_commands;
    uint64_t m_nextSerial = 1;
    uint64_t m_doneSerial = 0;
    bool m_quit = false;
    std::chrono::steady_clock::time_point m_lastCommandAt; // when the last command ended
    Cmd m_lastCommand = Cmd::Stop;
    std::atomic<bool> m_abortReads{false}; // set while closing: blocking reads give up
    State m_state = State::Stopped;
    bool m_async = false;
    int64_t m_asyncTarget = -1;
    int64_t m_asyncLag = -1;
    bool m_loop = false;
    bool m_lastResult = false;
    std::vector<uint8_t> m_captured;

    std::atomic<int64_t> m_videoTime{0};
    std::atomic<int64_t> m_position{0};
    bool m_sourceEnded = false;

    // Player thread only.
    AVFrame *m_pending = nullptr;    // decoded, not yet presented
    AVFrame *m_lastSource = nullptr; // the frame presented last, as decoded
    edit::EditConfig m_renderEdit;   // the edits the renderer was last given
    uint64_t m_renderGeneration = 0;
    uint64_t m_audioEditGeneration = 0;
    std::vector<int16_t> m_silentlyPlayed; // sound passed without a device, for the level bars
    mutable std::mutex m_layoutMutex;      // the renderer's overlay layout

    // Handlers: the player thread holds this while it calls one, so that a handler removed is never
    // called again once the setter returns.
    mutable std::recursive_mutex m_handlerMutex;
    FrameHandler m_editedHandler, m_originalHandler;
    FrameDeliverer m_deliverer;

    // Edits.
    std::deque<std::unique_ptr<edit::FilterResources>> m_streamCopies[2]; // by StreamUse, oldest first
    mutable std::mutex m_editMutex;
    edit::EditConfig m_edit;        // as the setters left it
    edit::EditConfig m_appliedEdit; // what frames are rendered with
    int m_batch = 0;
    uint64_t m_editGeneration = 1;
    int m_watermarkSlot = 0;
    int m_backgroundSlot = 0;
};

} // namespace rsc
