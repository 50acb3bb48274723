#pragma once
// The main window's preview pane: the selected clip's video (or, for sound only, animated level bars),
// the thumbnail strip with the clip's trim handles, and the control bar. It owns its player object and
// a worker that takes ten thumbnails of the clip. Trim changes on the strip and Reset are written into
// the clip at once and announced, so that the media list can recompute its total duration.

#include "QUtilThread.h"
#include "TrimInfo.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QWidget>

#include <atomic>
#include <cstdint>
#include <memory>

class QAudioDataWidget;
class QImageDualSlider;
class QMouseEvent;
class QRirezaPlaterBtnForm;
class VideoImageWindow;
class ZTQPlayObject;
class ZtVideoConvertItem;

namespace Ui {
class QRirezaPlayerForm;
} // namespace Ui

class QRirezaPlayerForm : public QWidget, public QUtilThread
{
    Q_OBJECT
public:
    explicit QRirezaPlayerForm(QWidget *parent = nullptr);
    ~QRirezaPlayerForm() override;

    ZtVideoConvertItem *currentItem() const { return m_pItem; }
    bool isPlaying() const;

    void retranslateUi();
    void initState(bool show);

    // The pane's parts, for the main window's tests.
    ZTQPlayObject *player() const { return m_player; }
    QImageDualSlider *strip() const;
    QRirezaPlaterBtnForm *controlBar() const;
    VideoImageWindow *videoWindow() const;
    QAudioDataWidget *audioPicture() const { return m_audioWidget; }
    int volume() const { return m_nVolume; }
    bool isThumbnailWorkerIdle() const { return !IsThreadRunning(); }

signals:
    void emitBtnPrevious();
    void emitBtnNext();
    void emitBtnEnable(bool previous, bool next);
    void emitPlayerItemChanged();
    void seedSliderImage(QList<QImage> images);
    void emitPlayState(bool playing);
    void emitPlayFinish();
    // Worker to GUI thread: the thumbnails so far of the run `generation`.
    void seedThumbnails(quint64 generation, QList<QImage> images);

public slots:
    // Shows the clip and starts it (setPlayerItem) or only opens it (preparePlayer).
    void preparePlayer(ZtVideoConvertItem *item);
    void setPlayerItem(ZtVideoConvertItem *item);
    // The clip's trim changed elsewhere (the editor): the strip re-reads it.
    void playerItemChanged(ZtVideoConvertItem *item);
    void stopPlayer();
    void pausePlayer();
    void stopShowLineBgImage();
    // Forgets the clip (it is about to be deleted).
    void clearCurrentPlayer();
    void SoundValueChange(double value);
    void OnBtnReset();
    void SliderPressEvent(QMouseEvent *event);
    void SliderReleseEvent(QMouseEvent *event);
    void TrimInfoChanged(TrimInfo info);
    void sliderImage(QList<QImage> images);
    void InitPlayView();
    void IsHaveVideo(bool hasVideo);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void OnExecute() override;

private slots:
    void OnThumbnails(quint64 generation, QList<QImage> images);
    void OnAudioData(QByteArray block, int sampleRate);

private:
    void openItem(ZtVideoConvertItem *item, bool start);
    void showNothing();
    void requestThumbnails();
    void stopThumbnails();
    QRect videoRect() const;

    std::unique_ptr<Ui::QRirezaPlayerForm> m_ui;
    ZTQPlayObject *m_player = nullptr;
    ZtVideoConvertItem *m_pItem = nullptr;
    int m_nVolume = 100;
    std::atomic<bool> m_bCancel{false};
    QAudioDataWidget *m_audioWidget = nullptr;
    QImage m_noPlayImage;

    // What the thumbnail worker works on, copied on the GUI thread before it starts: the worker never
    // reads the clip item, which the GUI thread may change or delete meanwhile.
    QString m_workPath;
    uint64_t m_workDuration = 0;
    std::atomic<quint64> m_workGeneration{0};
};
