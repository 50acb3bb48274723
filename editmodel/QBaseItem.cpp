#include "QBaseItem.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

QBaseItem::QBaseItem(QWidget *parent) : QWidget(parent) {}

void QBaseItem::setBackgroundColor(const QColor &normal, const QColor &hover, const QColor &selected,
                                   const QColor &other)
{
    m_normalColor = normal;
    m_hoverColor = hover;
    m_selectedColor = selected;
    m_otherColor = other;
    update();
}

void QBaseItem::setBackgroundColor(const QColor &color)
{
    setBackgroundColor(color, color, color, color);
}

void QBaseItem::setMouseState(QMouseState state)
{
    m_mouseState = state;
    update();
}

void QBaseItem::selectForMenu()
{
    if (m_mouseState != Selected) {
        setMouseState(Selected);
        emit emitMousePress();
    }
    emit emitShowTreeMenu();
}

void QBaseItem::mousePressEvent(QMouseEvent *event)
{
    // The base handler is not called: a tile consumes its clicks.
    const Qt::KeyboardModifiers mods = QApplication::keyboardModifiers();
    const Qt::MouseButton button = event->button();
    if (button != Qt::LeftButton && button != Qt::RightButton)
        return;
    if (mods == Qt::ShiftModifier) {
        if (button == Qt::LeftButton)
            emit emitMouseShiftPress();
        else
            selectForMenu();
        return;
    }
    if (mods == Qt::ControlModifier) {
        if (button == Qt::LeftButton) {
            setMouseState(m_mouseState == Selected ? Normal : Selected);
            emit emitMouseCtrlPress();
        } else {
            selectForMenu();
        }
        update();
        return;
    }
    if (button == Qt::LeftButton) {
        setMouseState(Selected);
        emit emitMousePress();
    } else {
        selectForMenu();
    }
}

void QBaseItem::mouseDoubleClickEvent(QMouseEvent *) {}

void QBaseItem::enterEvent(QEvent *)
{
    if (m_mouseState != Hover && m_mouseState != Selected)
        setMouseState(Hover);
}

void QBaseItem::leaveEvent(QEvent *)
{
    if (m_mouseState == Hover)
        setMouseState(Normal);
}

void QBaseItem::paintEvent(QPaintEvent *)
{
    QColor color;
    switch (m_mouseState) {
    case Normal:
        color = m_normalColor;
        break;
    case Hover:
        color = m_hoverColor;
        break;
    case Selected:
        color = m_selectedColor;
        break;
    default:
        color = m_otherColor;
        break;
    }
    QPainter painter(this);
    painter.fillRect(rect(), color);
}
