#include "ZtMacosInterface.h"

#include <QCursor>
#include <QWidget>

QPoint ZtMacosInterface::getWindowPos(QWidget *widget)
{
    if (!widget)
        return QPoint(0, 0);
    QWidget *window = widget->window();
    return window ? window->frameGeometry().topLeft() : QPoint(0, 0);
}

QPoint ZtMacosInterface::getGlobalPos()
{
    return QCursor::pos();
}
