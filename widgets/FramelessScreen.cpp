#include "FramelessScreen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace FramelessScreen {

QRect availableGeometry(const QWidget *window)
{
    QScreen *screen = window ? window->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

} // namespace FramelessScreen
