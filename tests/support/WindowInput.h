#pragma once
// Input as the window system delivers it. Every event goes to the top-level QWindow at the place where the
// target widget lies on screen, and Qt hands it to whichever widget is on top there: a control covered by
// another widget, hidden, or laid out somewhere else does not receive it, as it would not for a user.
// Keys go to the window too, so the widget that really holds the keyboard focus receives them.

#include <QPoint>
#include <QString>
#include <QStringList>
#include <Qt>

#include <functional>

class QWidget;

namespace rstest {

// A point inside the widget; (-1, -1) stands for its centre.
constexpr QPoint kCentre(-1, -1);

// The widget that a click at `local` inside `w` would reach (the topmost widget at that screen point), or
// null when no window of the program lies there.
QWidget *widgetOnTopAt(QWidget *w, const QPoint &local = kCentre);
// True when a click at `local` inside `w` reaches `w` or one of its descendants.
bool isOnTopAt(QWidget *w, const QPoint &local = kCentre);

// Mouse input through the window. Each records a test failure (and still sends the input, as a user's
// click would land) when the point is not on `w`'s top: the message names the widget that covers it.
void clickAt(QWidget *w, const QPoint &local = kCentre, Qt::MouseButton button = Qt::LeftButton,
             Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void doubleClickAt(QWidget *w, const QPoint &local = kCentre, Qt::MouseButton button = Qt::LeftButton,
                   Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void pressAt(QWidget *w, const QPoint &local = kCentre, Qt::MouseButton button = Qt::LeftButton,
             Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void releaseAt(QWidget *w, const QPoint &local = kCentre, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// A move with the buttons of the last press still held (none after a release). Not checked for cover: a
// drag goes on over whatever lies under the pointer.
void moveTo(QWidget *w, const QPoint &local = kCentre);
// Press at `from` inside `source`, move in `steps` steps to `to` inside `target`, release there.
void dragTo(QWidget *source, const QPoint &from, QWidget *target, const QPoint &to, int steps = 8);
// The same drag inside `w` as the X server's own pointer input (xdotool), in the server's pixels (Qt's scale
// applied): what lies on top there, whichever window it is, receives it. Needs the xcb platform; records a
// failure where the point is not on `w`'s top or xdotool fails.
void xDragTo(QWidget *w, const QPoint &from, const QPoint &to, int steps = 8);
// The same, calling `taken` with the pointer's place (inside `w`) once the program has taken each move of the
// held button, and once more after the release: what it shows mid-drag can be checked there.
void xDragTo(QWidget *w, const QPoint &from, const QPoint &to, int steps,
             const std::function<void(const QPoint &at)> &taken);

// A left click inside `w` as the X server's own pointer input, done once the program has taken the release.
void xClickAt(QWidget *w, const QPoint &local = kCentre);

// A click on `field` and then its whole text replaced by `text`, typed as the X server's own keyboard input
// (xdotool) once the click has given the field the keyboard. Needs the xcb platform.
void xTypeInto(QWidget *field, const QString &text);

// Keys through the window of `w` (made active first); the window's focus widget receives them.
void keyClick(QWidget *w, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void typeText(QWidget *w, const QString &text);

// Every visible, enabled control of the window (buttons, fields, spin boxes, combo boxes, sliders, tab
// bar tabs) that a click at its centre would not reach, as "name (Class) under name (Class)". Empty when
// every control can be clicked.
QStringList unreachableControls(QWidget *window);

} // namespace rstest
