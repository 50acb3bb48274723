#pragma once
// The Trim page's range slider: a track with a start, an end and a play-position handle. It is the
// widgets' dual slider (positions in pixels, percentages in, fractions of the track out; fractions are 0
// while the slider is narrower than its two handles) with the editor's own handle class.

#include "QDualSlider.h"
#include "QSliderCtrlBtn.h"

// One handle of the editor's range slider: a four-frame strip button that reports press, move and
// release with the pointer's offset inside it.
class QVESliderCtrlBtn : public QSliderCtrlBtn
{
    Q_OBJECT
public:
    explicit QVESliderCtrlBtn(QWidget *parent = nullptr) : QSliderCtrlBtn(parent) {}
};

class QVEDualSlider : public QDualSlider
{
    Q_OBJECT
public:
    // A press on the Trim page's slider writes nothing to the debug stream.
    explicit QVEDualSlider(QWidget *parent = nullptr) : QDualSlider(parent) { setPressLogged(false); }

    using QDualSlider::setEndBtnImage;
    // The end handle always shares the start handle's row: the offset is accepted and not used.
    bool setEndBtnImage(const QString &path, int) { return QDualSlider::setEndBtnImage(path); }

    QVESliderCtrlBtn *startButton() const { return qobject_cast<QVESliderCtrlBtn *>(startHandle()); }
    QVESliderCtrlBtn *endButton() const { return qobject_cast<QVESliderCtrlBtn *>(endHandle()); }
    QVESliderCtrlBtn *playButton() const { return qobject_cast<QVESliderCtrlBtn *>(playHandle()); }

protected:
    QSliderCtrlBtn *createHandle() override { return new QVESliderCtrlBtn(this); }
};
