#include "WindowLevel.h"

#include <QWidget>

void WindowLevel::setTopHint(QWidget *widget)
{
    if (!widget || !widget->testAttribute(Qt::WA_WState_Created))
        return;
    QWidget *window = widget->window();
    const bool visible = window->isVisible();
    // Changing the flags re-creates the native window hidden; show it again as it was.
    window->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    if (visible)
        window->show();
}
