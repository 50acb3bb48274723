#pragma once
// Keeps a window above the others.

class QWidget;

class WindowLevel
{
public:
    // Only for a widget whose native window exists already; the window stays visible if it was.
    static void setTopHint(QWidget *widget);
};
