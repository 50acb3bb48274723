#pragma once
// Handle of the image sliders: a four-frame strip push button that reports press, move and release with
// the pointer's offset inside it.

#include "StripButtonState.h"

#include <QImage>
#include <QPushButton>

class QSliderCtrlBtn : public QPushButton
{
    Q_OBJECT
public:
    explicit QSliderCtrlBtn(QWidget *parent = nullptr);

    // False when the strip does not load; the previous strip and size stay.
    bool setBtnImage(const QString &path);
    void setStatePress();
    void setStateNormal();
    bool getMove() const { return true; }
    int btnState() const { return m_look.state(); }

signals:
    void mouseMove(QMouseEvent *e, int x);
    void mouseMoveY(QMouseEvent *e, int y);
    void mouseDown(QMouseEvent *e, int x);
    void mouseDownY(QMouseEvent *e, int y);
    void mouseUp(QMouseEvent *e, int x);
    void mouseUpY(QMouseEvent *e, int y);

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void enterEvent(QEvent *e) override;
    void leaveEvent(QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void changeEvent(QEvent *e) override;

private:
    void updateOffsets(QMouseEvent *e);

    int m_offsetX = 0;
    int m_offsetY = 0;
    QImage m_strip;
    StripButtonState m_look;
};
