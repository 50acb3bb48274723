#pragma once

#include <QPoint>

class QObject;
class QWidget;

// Where a top-level window really is. Qt learns a window's position from the window system's notices; a
// reparenting window manager (openbox and most X11 ones) that puts a window exactly where the program asked
// sends no notice of that, and Qt's own look-up, made while the manager was still building its frame, reads
// the frame's provisional corner (0, 0). Qt then places menus, dialogs and drops as if the window sat at the
// screen's top-left until the user moves it. The window system is asked again here once a window is shown.
namespace rs {

// The top-left of the window's client area in Qt's global coordinates, as the window system has it: the X
// server's pixels mapped to Qt's logical ones as Qt's high-DPI scaling maps them (scaled desktops). Falls back
// to Qt's geometry where it cannot be asked (not X11, no native window yet); `asked` tells which.
QPoint nativeClientPos(const QWidget *window, bool *asked = nullptr);

// The application-wide filter that watches every top-level window (rs::installWindowFilters installs it).
// When the window system has moved a window (a spontaneous move), the position is checked against the window
// system's once the window is exposed or activated, and Qt's geometry is set to the real one when they differ.
// A move the program makes itself is trusted: the window manager reports it if it places the window elsewhere.
QObject *newWindowPositionFilter(QObject *parent);

// Checks one window now and sets Qt's geometry to the window system's position when they differ. True when
// a correction was made.
bool syncWindowPosition(QWidget *window);

} // namespace rs
