#pragma once
// The clip editor's preview controller. It owns one player and one media-information object of the codec
// library, drives the original and the edited preview windows, turns the editor's transport, trim and
// frame-step requests into player calls, polls the position with timers and reports through signals.
// The crop box (ZTPlayerManagerCrop.cpp), the watermark boxes (ZTPlayerManagerWatermark.cpp) and the live
// edits with snapshots (ZTPlayerManagerEdits.cpp) are the other parts of the same class.

#include "VEEditConfig.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRectF>
#include <QString>
#include <QVector>

#include <cstdint>
#include <memory>
#include <mutex>

class QMediaElementWindow;
class QMouseEvent;
class QTimer;
class VideoFrameSink;
class ZTInfoClass;
class ZTPlayerClass;

// Which side of the crop the user edited last; the pan-scan box follows that side.
enum PanScanMode : int { PanScanCentered = 0, PanScanKeepWidth = 1, PanScanKeepHeight = 2 };

class ZTPlayerManager : public QObject
{
    Q_OBJECT

public:
    explicit ZTPlayerManager(QObject *parent = nullptr);
    ~ZTPlayerManager() override;

    // ----- playback
    bool createrPlayer(bool flag);
    void setIsM4VPlayer(bool isM4V);
    ZTPlayerClass *getPlayerClass() const { return m_player; }
    bool setPlayFile(QString path, unsigned int width, unsigned int height, unsigned int watermarkMax);
    bool setPlayer(void *player, unsigned int width, unsigned int height, unsigned int watermarkMax);
    void setMediaOriginalWindow(QMediaElementWindow *window);
    void setMediaPreviewWindow(QMediaElementWindow *window);
    void resizeVideoWindow();
    void isNoVideoSet();
    unsigned long long getDuration();
    unsigned long long getPlaylength();
    unsigned long long getVideoSize();
    unsigned long long getResolutionSize() const;
    void setTrimTime(unsigned long long startTime, unsigned long long endTime);
    void showTime(unsigned long long time);
    void showTime2(unsigned long long time);
    void playFinished();

    // The frame handlers given to the player; the first argument is the controller.
    static unsigned int VideoEditFrameLoop(void *user, void *frame);
    static unsigned int OrignalVideEditoFrameLoop(void *user, void *frame);
    unsigned int DrawVideoFrame(void *frame);
    unsigned int DrawOrignalVideoFrame(void *frame);

    // Time texts: "hh:mm:ss" and "hh:mm:ss.mmm" (hours not wrapped).
    static QString timeText(unsigned long long time);
    static QString timeTextMs(unsigned long long time);

    // ----- crop and pan-scan
    void setCropSettings(VECropSettings settings);
    void cropSettings(VECropSettings settings);
    void getCropSettings(VECropSettings &settings) const;
    void setPanScanMode(PanScanMode mode);
    unsigned long long getCropMinSize();
    unsigned long long getCropVCMinSize() const;
    void CalcCropPanScan(VECropSettings &settings);
    void MoveCropPanScan();

    // ----- watermark boxes
    void setWatermarkSettingsSource(VEWatermarkSettings settings, int index);
    void setWatermarkSettingsNotSource(VEWatermarkSettings settings, int index);
    void setCurrentWatermarkSettings(VEWatermarkSettings settings, int index, bool refresh);
    void setCurrentWatermarkSettingsNotSource(VEWatermarkSettings settings, int index, bool refresh);
    void getCurrentWatermarkSettings(VEWatermarkSettings &settings, int &index) const;
    void setWatermarkSettingsList(QList<VEWatermarkSettings> list);
    bool WatermarkTextDown(QMouseEvent *event);
    bool WatermarkImageDown(QMouseEvent *event);
    bool WatermarkTextMove(QMouseEvent *event);
    bool WatermarkImageMove(QMouseEvent *event);
    bool WatermarkTextUp(QMouseEvent *event);
    bool WatermarkImageUp(QMouseEvent *event);
    // Whether the text (or picture) item measuring `box` on the picture at `element` is drawn and grabbed in a
    // frame around it (CropDragGeometry::itemFrame). Its size decides, but an item the pointer has taken keeps
    // the framing it was taken with until the pointer leaves it: a drag across the size never moves the drawn
    // box by the frame's margin under the pointer.
    bool isWatermarkItemFramed(bool text, const QRectF &box, const QRect &element) const;

    // ----- live edits and snapshots
    void setVideoEffectSettings(VEVideoEffectSettings settings);
    void setSubtitleSettings(VESubtitleSettings settings);
    void setSubtitleValueInfo(VESubtitleValue_Info info);
    void setAudioBackgroundSettingsSource(VEAudioBackgroundSettings settings, int index);
    void setAudioBackgroundSettingsNotSource(VEAudioBackgroundSettings settings, int index);
    void setAudioEffectSettings(VEAudioEffectSetting settings);
    void setEqualizeSettings(VEEqualizeSettings settings);
    bool captureImage(QString path, QString format);

public slots:
    void progressValueChange(double value);
    void beginAsyncSeek();
    void endAsyncSeek();
    void onStop();
    void onPlay();
    void onPause();
    void closePlay();
    void startPlay();
    void pausePlay();
    void onTrimPlay(float startPos, float endPos);
    void onTrimPause();
    void onPreviousStep(bool isSeek, float pos);
    void onNextStep(bool isSeek, float pos);
    void onTrim(uint64_t startTime, uint64_t endTime);
    void onTrimChapter(uint64_t startTime, uint64_t endTime);
    void onReset();
    void updateTime();
    void updataScreen();
    void audioDataChanged();
    void mouseMoveEvent(QMouseEvent *event);
    void mousePressEvent(QMouseEvent *event);
    void mouseReleaseEvent(QMouseEvent *event);
    void mouseWatermarkMoveEvent(QMouseEvent *event);
    void mouseWatermarkPressEvent(QMouseEvent *event);
    void mouseWatermarkReleaseEvent(QMouseEvent *event);

signals:
    void emitPlayProgress(double progress);
    void emitStartEndProgressValue(float percent);
    void emitPlayFinish();
    void emitPlayTime(QString text);
    void emitPlayTime2(QString text);
    void emitAudioData(unsigned char *data, int sps);
    void emitClosePlay();
    void emitPlayState(bool bPlay);
    void emitIsHaveVideo(bool bHave);
    void emitPlayerChange();
    void emitTrimPlayState(bool state);
    void emitTrimTimeChange(uint64_t trimStartTime, uint64_t trimEndTime);
    void emitCropAreaChange(VECropSettings settings);
    void emitWatermarkRectChange(VEWatermarkSettings watermarkSettings, int currentWatermarkIndex);
    // A subtitle, picture or sound file of the edits was refused by the player (a named pipe, a picture of
    // absurd size, a subtitle file beyond what a real one holds); `why` names the file and the reason.
    void emitEditFileRefused(QString why);

private:
    bool hasPlayer() const;
    bool laidOutOnClip() const;
    void initData();
    void initPlayerManager();
    bool afterOpen(unsigned int watermarkMax);
    void openFailed();
    void showWindows();
    void basePause();
    // Shows the current frame again once, soon, unless the preview plays (several requests give one redraw).
    void showSoon();
    void fitPreviewWindow(); // the preview pane at the edited picture's shape
    // Reports a file setter's refusal, when the player says why.
    void fileTaken(bool taken);
    void trimChanged(uint64_t startTime, uint64_t endTime);
    double progressOf(unsigned long long relative);
    void frameStep(bool forward, bool isSeek, float pos);
    std::shared_ptr<VideoFrameSink> sinkOf(bool original) const;
    void setSink(bool original, QMediaElementWindow *window);

    // crop helpers
    bool panScanLocked() const;
    void applyCrop(VECropSettings &settings);
    QRectF dragBoxOf() const;
    unsigned cropPixelsEven(double fraction, unsigned videoSide) const;

    // live-edit helpers
    void sendAudioBackground(const VEAudioBackgroundSettings &settings, int index, bool withSource);

    // watermark helpers
    void sendWatermark(const VEWatermarkSettings &settings, bool withSources);
    void sendWatermarkSlot(const VEWatermarkSettings &settings, int index, bool withSources);
    bool watermarkBox(bool text, QRectF *box, QRect *element) const;
    int watermarkReach(QMouseEvent *event, bool text) const;
    bool textTriedFirst(QMouseEvent *event) const;
    bool watermarkDown(QMouseEvent *event, bool text);
    bool watermarkMove(QMouseEvent *event, bool text);
    bool fitWatermarkScale(bool text, unsigned zone);
    void measureWatermarkSizes(VEWatermarkSettings &settings);
    void forgetFramingAwayFrom(QMouseEvent *event);
    void selectCurrentSlot();

    // ----- playback state
    bool m_isM4V = false;
    ZTPlayerClass *m_player = nullptr;
    ZTInfoClass *m_info = nullptr;
    QByteArray m_infoPath; // the file the info object describes
    QTimer *m_timeTimer = nullptr;
    QTimer *m_screenTimer = nullptr;
    QTimer *m_audioTimer = nullptr;
    // GUI thread only: a window the editor deletes reads as null here.
    QPointer<QMediaElementWindow> m_originalWindow;
    QPointer<QMediaElementWindow> m_previewWindow;
    // What the frame handlers reach on the player's thread: the windows' frame sinks, never the windows.
    // A sink outlives its window and refuses frames once the window's view is gone.
    mutable std::mutex m_sinkMutex;
    std::shared_ptr<VideoFrameSink> m_originalSink;
    std::shared_ptr<VideoFrameSink> m_previewSink;
    quint32 m_audioOnly = 1;
    quint32 m_previewWidth = 0;
    quint32 m_previewHeight = 0;
    uint64_t m_trimStart = 0;
    uint64_t m_trimEnd = 0;
    uint64_t m_sectionStart = 0;
    uint64_t m_sectionEnd = 0;
    bool m_trimPlay = false;
    // Copies of the last wave-data blocks: receivers of emitAudioData may read a block after the
    // emission (queued connections), so each stays alive for several further ticks.
    QVector<QByteArray> m_waveCopies;
    int m_waveNext = 0;

    // ----- crop state
    QRectF m_dragStart;
    QPoint m_pressPoint;
    unsigned m_cropZone = 0;
    VECropSettings m_cropSettings;
    PanScanMode m_panScanMode = PanScanCentered;

    // ----- watermark state
    VEWatermarkSettings m_currentWatermark;
    int m_currentWatermarkIndex = -1;
    int m_selectedWatermarkIndex = -1;
    unsigned m_imageZone = 0;
    unsigned m_textZone = 0;
    // Kept apart from the crop drag's: one mouse event reaches both, and each drag needs its own start.
    QPoint m_watermarkPress;
    QRectF m_watermarkStart;
    double m_startScaleX = 100.0;
    double m_startScaleY = 100.0;
    // The framing the pointer keeps for each item: -1 none (its size decides), 0 drawn on itself, 1 framed.
    int m_textFramed = -1;
    int m_imageFramed = -1;

    // ----- live edits
    bool m_closedCaptions = false;
};
