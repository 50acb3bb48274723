#pragma once
// A slider made of the skinned progress bar: the fill shows the value, a QZTBaseButton child serves as
// the thumb, and presses, drags and the arrow keys change the value. Positions map to
// minimum + range * distance / length, so ranges that do not start at 0 work too.

#include "QZTBaseProgress.h"

class QZTBaseButton;
class QMouseEvent;

class QZTBaseSlider : public QZTBaseProgress
{
    Q_OBJECT
public:
    explicit QZTBaseSlider(QWidget *parent = nullptr);

    bool setBtnImage(const QString &path);
    void setOffset(int start, int end);
    QZTBaseButton *getButton() const { return m_thumb; }
    void setBtnOffset(int offset) { m_thumbOffset = offset; }
    void setEnabledPull(bool on) { m_draggingEnabled = on; }
    bool enablePull() const { return m_draggingEnabled; }

    bool isValidRange(QPoint p) const;
    void PointToValue(QPoint p);
    void valueToPoint(QPoint &q) const;
    int getValidLenght() const;
    int correctPoint(QPoint p) const;

signals:
    void sendProgressValue(double v);
    void sendPressEvent(QMouseEvent *e);
    void sendReleseEvent(QMouseEvent *e);

public slots:
    void setValue(double val);
    void setValue(int val) { setValue(double(val)); }
    void btnMouseMove(QMouseEvent *e, int x);
    void btnMouseDown(QMouseEvent *e, int x);
    void btnMouseRelease(QMouseEvent *e, int x);

protected:
    virtual void calcBtnPostion();
    virtual void OnKeyLeftDown();
    virtual void OnKeyRightUp();
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void enterEvent(QEvent *) override {}
    void leaveEvent(QEvent *) override {}
    void paintEvent(QPaintEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void positionInputsChanged() override { calcBtnPostion(); }

private:
    QPoint localPos(QMouseEvent *e) const;
    void raiseOffsetsForThumb(int &start, int &end) const;
    void stepBy(double delta);

    bool m_draggingEnabled = true;
    QZTBaseButton *m_thumb = nullptr;
    int m_thumbOffset = 0;
};
