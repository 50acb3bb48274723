#include "QZTBaseButton.h"

#include <QMouseEvent>

QZTBaseButton::QZTBaseButton(QWidget *parent) : QPushButton(parent), QZTBaseButtonDraw(this)
{
    // A skinned button draws no focus, so it takes none: a click must not leave it holding the keyboard,
    // where Space would press it again. Enter presses only a button a dialog makes its default.
    setFocusPolicy(Qt::NoFocus);
    setAutoDefault(false);
}

void QZTBaseButton::mousePressEvent(QMouseEvent *e)
{
    if (QZTBaseButtonDraw::mousePressEvent(e))
        emit mouseDown(e, getMouseMapValue());
    QAbstractButton::mousePressEvent(e);
}

void QZTBaseButton::mouseReleaseEvent(QMouseEvent *e)
{
    if (QZTBaseButtonDraw::mouseReleaseEvent(e))
        emit mouseRelease(e, getMouseMapValue());
    QAbstractButton::mouseReleaseEvent(e);
}

void QZTBaseButton::mouseMoveEvent(QMouseEvent *e)
{
    QAbstractButton::mouseMoveEvent(e);
    if (QZTBaseButtonDraw::mouseMoveEvent(e))
        emit mouseMove(e, getMouseMapValue());
}

void QZTBaseButton::enterEvent(QEvent *e)
{
    QZTBaseButtonDraw::enterEvent(e);
    emit mouseEnter(e);
    QWidget::enterEvent(e);
    if (getEnterIsChangeMouse())
        setCursor(Qt::ArrowCursor);
}

void QZTBaseButton::leaveEvent(QEvent *e)
{
    QZTBaseButtonDraw::leaveEvent(e);
    emit mouseLeave(e);
    QWidget::leaveEvent(e);
}

void QZTBaseButton::changeEvent(QEvent *e)
{
    QZTBaseButtonDraw::changeEvent(e);
    QAbstractButton::changeEvent(e);
}

void QZTBaseButton::paintEvent(QPaintEvent *e)
{
    if (isCustomDraw())
        QZTBaseButtonDraw::paintEvent(e);
    else
        QPushButton::paintEvent(e);
}

void QZTBaseButton::focusInEvent(QFocusEvent *e)
{
    QPushButton::focusInEvent(e);
    QZTBaseButtonDraw::focusInEvent(e);
}

void QZTBaseButton::focusOutEvent(QFocusEvent *e)
{
    QPushButton::focusOutEvent(e);
    QZTBaseButtonDraw::focusOutEvent(e);
}

void QZTBaseButton::timerEvent(QTimerEvent *e)
{
    QAbstractButton::timerEvent(e);
    QZTBaseButtonDraw::timerEvent(e);
}
