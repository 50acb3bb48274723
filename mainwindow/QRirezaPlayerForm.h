#pragma once
// The main window's preview pane. This is the pane's frame: it holds the clip the media list hands it
// and shows the no-preview picture; playback, the thumbnail strip, the trim handles and the control bar
// fill it in later. The list talks to it only through the slots and signals declared here.

#include <QImage>
#include <QWidget>

class ZtVideoConvertItem;

class QRirezaPlayerForm : public QWidget
{
    Q_OBJECT
public:
    explicit QRirezaPlayerForm(QWidget *parent = nullptr);
    ~QRirezaPlayerForm() override;

    ZtVideoConvertItem *currentItem() const { return m_pItem; }
    bool isPlaying() const { return m_bPlaying; }

    void retranslateUi();

signals:
    void emitBtnPrevious();
    void emitBtnNext();
    void emitBtnEnable(bool previous, bool next);
    void emitPlayerItemChanged();
    void seedSliderImage(QList<QImage> images);
    void emitPlayState(bool playing);
    void emitPlayFinish();

public slots:
    // Shows the clip and starts it (setPlayerItem) or only loads it (preparePlayer).
    void preparePlayer(ZtVideoConvertItem *item);
    void setPlayerItem(ZtVideoConvertItem *item);
    // The clip's trim changed elsewhere (the editor): the pane re-reads it.
    void playerItemChanged(ZtVideoConvertItem *item);
    void stopPlayer();
    void pausePlayer();
    // Forgets the clip (it is about to be deleted).
    void clearCurrentPlayer();

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    void open(ZtVideoConvertItem *item, bool start);

    ZtVideoConvertItem *m_pItem = nullptr;
    bool m_bPlaying = false;
    QImage m_noPlayImage;
};
