#pragma once
// Window-position helpers. On Linux the native frame origin is the window system's (top-left origin) and
// the global pointer position is QCursor's.

#include <QPoint>

class QWidget;

class ZtMacosInterface
{
public:
    ZtMacosInterface() {}

    // Top-left of the widget's window frame in global coordinates; (0, 0) for null.
    static QPoint getWindowPos(QWidget *widget);
    static QPoint getGlobalPos();
};
