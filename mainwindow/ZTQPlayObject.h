#pragma once
// The main window preview's own player: one player of the codec library, one file at a time. It plays,
// pauses, stops, seeks and steps, hands each decoded frame to the pane's video window through the
// window's frame sink, and polls the player only while it plays: the position every 100 ms and the audio
// levels every 50 ms for audio-only media. Paused, stopped or just opened it asks for the current frame
// once and then stays quiet. It lives on the GUI thread; only DrawVideoFrame runs on the library's.

#include <QByteArray>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <memory>
#include <mutex>

class QTimer;
class VideoFrameSink;
class VideoImageWindow;
class ZTPlayerClass;

class ZTQPlayObject : public QObject
{
    Q_OBJECT
public:
    enum Status {
        StatusNone = 0,
        StatusPlaying = 1,
        StatusPaused = 2,
        StatusFinished = 3,
        StatusStopped = 4,
        StatusPlayFailed = 5
    };

    explicit ZTQPlayObject(QObject *parent = nullptr);
    ~ZTQPlayObject() override;

    bool SetPlayFile(QString path, unsigned int previewWidth, unsigned int previewHeight);
    void InitPlay();
    void IsNoVideoSet();
    void SetPlayWindows(VideoImageWindow *window);
    bool IsPause();
    void InitPlayViewParameter();
    unsigned int DrawVideoFrame(void *frame);

    int status() const { return m_status; }
    bool isAudioOnly() const { return m_bAudioOnly; }
    float soundVolume() const { return m_fVolume; }
    // The wrapper of the library player (null only when it could not be created).
    ZTPlayerClass *playerClass() const { return m_player; }
    uint64_t duration() const;

    static QString timeText(uint64_t us);

signals:
    void emitPlayTime(QString text);
    void emitPlayTime(uint64_t time);
    // One level block, a copy the receiver may keep (empty clears the bars); the rate the bars expect.
    void emitAudioData(QByteArray block, int sampleRate);
    void emitPlayFinish();
    void emitIsHaveVideo(bool hasVideo);
    void emitPlayState(bool playing);
    void emitPlayPro(double fraction);
    void emitClosePlay();
    void emitRefreshPlayView();
    void emitCoverImage(QImage image);

public slots:
    void setSoundVolume(int volume);
    void ProgressValueChange(double fraction);
    void OnBtnStop();
    void closePlay();
    void OnPlayVideo();
    void OnPauseVideo();
    void StartPlay();
    void pausePlay();
    void ResizeVideoWindow(bool keepScale);
    void videoFrameStepUp();
    void videoFrameStepDown();
    bool Screenshots(QString outPath);
    QImage getCoverImage(QString filePath);
    void beginAsyncSeek();
    void endAsyncSeek();
    void UpdateTime();
    void UpdataScreen();
    void OnAudioDataTime();
    void VideoFinished();
    void ShowTime(unsigned long long time);

private:
    bool hasPlayer() const;
    bool hasMedia();
    void frameStep(int direction);
    void clearLevels() { emit emitAudioData(QByteArray(), 0); }
    void stopTimers();
    // Timers stopped, time and progress back to 0, and the end reported to the pane.
    void showStoppedAtStart();

    ZTPlayerClass *m_player = nullptr;
    int m_status = StatusNone;
    QTimer *m_timeTimer = nullptr;
    QTimer *m_screenTimer = nullptr;
    QTimer *m_audioTimer = nullptr;
    float m_fVolume = 100.0f;
    QPointer<VideoImageWindow> m_window;
    bool m_bAudioOnly = false;
    bool m_bKeepScale = true;

    // The window's frame sink as the library's thread sees it: replaced on the GUI thread, read under the
    // lock by DrawVideoFrame, so a window that is swapped or deleted is never reached.
    mutable std::mutex m_sinkMutex;
    std::shared_ptr<VideoFrameSink> m_sink;
};

// The frame handler registered with the library: user is the ZTQPlayObject.
unsigned int VideoFrameLoop(void *user, void *frame);
