#pragma once
// The 40-pixel bar under the preview: the play position on the left, Previous file, Play or Pause and
// Next file in the middle, the volume slider and Reset (the clip's trim) on the right. It only turns
// clicks into signals and shows what the pane's player reports; the pane makes every connection.

#include <QWidget>

#include <cstdint>
#include <memory>

namespace Ui {
class QRirezaPlaterBtnForm;
} // namespace Ui

class QLabel;
class QZTBaseButton;
class QZTBaseSlider;

class QRirezaPlaterBtnForm : public QWidget
{
    Q_OBJECT
public:
    explicit QRirezaPlaterBtnForm(QWidget *parent = nullptr);
    ~QRirezaPlaterBtnForm() override;

    void retranslateUi();

    // The form's controls, for the pane's layout and for tests.
    QZTBaseButton *playButton() const;
    QZTBaseButton *pauseButton() const;
    QZTBaseButton *previousButton() const;
    QZTBaseButton *nextButton() const;
    QZTBaseButton *resetButton() const;
    QZTBaseSlider *volumeSlider() const;
    QLabel *timeLabel() const;

    // "hh:mm:ss.hh" of a time in microseconds.
    static QString timeText(uint64_t us);

signals:
    void emitBtnPlay();
    void emitBtnPause();
    void emitBtnPrevious();
    void emitBtnNext();
    void emitSliderVolume(double fraction);
    void emitBtnReset();

public slots:
    void setVolume(double value);
    void setTimeLabel(uint64_t time);
    void VideoFinished();
    void VideoBeginPlay(bool playing);
    void OnBtnPalyOrPause();
    void setBtnEnable(bool previous, bool next);
    void sliderVolume(double fraction);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void initControls();

    std::unique_ptr<Ui::QRirezaPlaterBtnForm> m_ui;
};
