#include "ZtMacosInterface.h"

#include "WindowPositions.h"

#include <QCursor>
#include <QWidget>

QPoint ZtMacosInterface::getWindowPos(QWidget *widget)
{
    if (!widget)
        return QPoint(0, 0);
    QWidget *window = widget->window();
    if (!window)
        return QPoint(0, 0);
    // The window system's own position, with the frame Qt knows around it: Qt's may still be stale.
    const QPoint frame = window->geometry().topLeft() - window->frameGeometry().topLeft();
    return rs::nativeClientPos(window) - frame;
}

QPoint ZtMacosInterface::getGlobalPos()
{
    return QCursor::pos();
}
