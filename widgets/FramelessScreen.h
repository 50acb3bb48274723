#pragma once
// The available area (without panels and docks) of the screen a window is on.

#include <QRect>

class QWidget;

namespace FramelessScreen {
QRect availableGeometry(const QWidget *window);
}
