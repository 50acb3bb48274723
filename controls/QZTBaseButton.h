#pragma once
// The skinned push button: a QPushButton painted by QZTBaseButtonDraw, with mouse signals that carry the
// horizontal press offset (so a dragged thumb keeps its grab point).

#include "QZTBaseButtonDraw.h"

#include <QPushButton>

class QZTBaseButton : public QPushButton, public QZTBaseButtonDraw
{
    Q_OBJECT
public:
    explicit QZTBaseButton(QWidget *parent = nullptr);

    void seedClick() { click(); }

signals:
    void mouseMove(QMouseEvent *e, int x);
    void mouseDown(QMouseEvent *e, int x);
    void mouseRelease(QMouseEvent *e, int x);
    void mouseEnter(QEvent *event);
    void mouseLeave(QEvent *event);

public slots:
    void addItemCount() { QZTBaseButtonDraw::addItemCount(); }

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void enterEvent(QEvent *e) override;
    void leaveEvent(QEvent *e) override;
    void changeEvent(QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void timerEvent(QTimerEvent *e) override;
};
