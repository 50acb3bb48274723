#include "WindowInput.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPointer>
#include <QProcess>
#include <QScrollBar>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <functional>
#include <memory>

namespace rstest {

namespace {

QPoint resolve(QWidget *w, const QPoint &local)
{
    return local == kCentre ? w->rect().center() : local;
}

// The top-level window of `w`, shown and exposed; null (with a recorded failure) when it cannot be.
QWindow *windowOf(QWidget *w, const char *what)
{
    if (!w) {
        QTest::qFail(qPrintable(QStringLiteral("%1 on a null widget").arg(QLatin1String(what))), __FILE__, __LINE__);
        return nullptr;
    }
    QWindow *win = w->window()->windowHandle();
    if (!win || !w->isVisible()) {
        QTest::qFail(
            qPrintable(QStringLiteral("%1 on %2 (%3), which is not on screen")
                           .arg(QLatin1String(what), w->objectName(), QLatin1String(w->metaObject()->className()))),
            __FILE__, __LINE__);
        return nullptr;
    }
    QPointer<QWindow> guard(win); // the program may close the window while the test waits for it
    if (!win->isExposed() && !QTest::qWaitForWindowExposed(win, 5000))
        QTest::qFail(
            qPrintable(QStringLiteral("%1: the window of %2 is not exposed").arg(QLatin1String(what), w->objectName())),
            __FILE__, __LINE__);
    return guard;
}

// The same, made the active window, so that key input reaches its focus widget.
QWindow *activeWindowOf(QWidget *w, const char *what)
{
    QPointer<QWindow> win = windowOf(w, what);
    if (win && QGuiApplication::focusWindow() != win) {
        w->window()->activateWindow();
        if (!QTest::qWaitForWindowActive(win, 5000))
            QTest::qFail(qPrintable(QStringLiteral("%1: the window did not become active").arg(QLatin1String(what))),
                         __FILE__, __LINE__);
    }
    return win;
}

// A key pressed and released in the window; the press may close it, and then the release goes nowhere.
void keyInto(QWindow *win, Qt::Key key, char ascii, Qt::KeyboardModifiers modifiers)
{
    QPointer<QWindow> guard(win);
    if (ascii)
        QTest::keyPress(win, ascii, modifiers);
    else
        QTest::keyPress(win, key, modifiers);
    if (!guard)
        return;
    if (ascii)
        QTest::keyRelease(win, ascii, modifiers);
    else
        QTest::keyRelease(win, key, modifiers);
}

QString describe(const QWidget *w)
{
    if (!w)
        return QStringLiteral("nothing");
    return QStringLiteral("%1 (%2)").arg(w->objectName().isEmpty() ? QStringLiteral("unnamed") : w->objectName(),
                                         QLatin1String(w->metaObject()->className()));
}

void checkOnTop(QWidget *w, const QPoint &local, const char *what)
{
    if (isOnTopAt(w, local))
        return;
    QTest::qFail(qPrintable(QStringLiteral("%1 on %2 at (%3, %4) reaches %5 instead")
                                .arg(QLatin1String(what), describe(w))
                                .arg(local.x())
                                .arg(local.y())
                                .arg(describe(widgetOnTopAt(w, local)))),
                 __FILE__, __LINE__);
}

QPoint inWindow(QWidget *w, const QPoint &local)
{
    return w->mapTo(w->window(), local);
}

// The window's own widget at a global point, skipping what lets mouse input through, as delivery does.
QWidget *childAtGlobal(QWidget *top, const QPoint &global)
{
    const QPoint p = top->mapFromGlobal(global);
    if (!top->rect().contains(p))
        return nullptr;
    QWidget *child = top->childAt(p);
    return child ? child : top;
}

bool isControl(QWidget *w)
{
    if (qobject_cast<QScrollBar *>(w))
        return false; // scroll bars reach under their neighbours' edges by design; the content is what counts
    static const char *const kinds[] = {"QAbstractButton", "QLineEdit",        "QAbstractSpinBox", "QComboBox",
                                        "QAbstractSlider", "QTextEdit",        "QPlainTextEdit",   "QCustomImageWidget",
                                        "QDualSlider",     "QImageDualSlider", "QZTBaseSlider",    "QZTTextEdit",
                                        "QCheckButton"};
    for (const char *kind : kinds)
        if (w->inherits(kind))
            return true;
    return false;
}

// Whether the point of `w` is inside every ancestor's rectangle: a control scrolled out of its viewport or
// clipped by its parent is out of reach by layout, not covered.
bool insideAncestors(QWidget *w, const QPoint &local)
{
    for (QWidget *p = w->parentWidget(); p; p = p->parentWidget()) {
        if (!p->rect().contains(w->mapTo(p, local)))
            return false;
        if (p->isWindow())
            break;
    }
    return true;
}

} // namespace

QWidget *widgetOnTopAt(QWidget *w, const QPoint &local)
{
    if (!w || !w->isVisible())
        return nullptr;
    const QPoint global = w->mapToGlobal(resolve(w, local));
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        return QApplication::widgetAt(global);
    // The offscreen platform keeps no stacking order of its windows: an open popup is on top, then the
    // modal dialog that blocks the window, then the window itself.
    if (QWidget *popup = QApplication::activePopupWidget())
        if (QWidget *hit = childAtGlobal(popup, global))
            return hit;
    QWidget *top = w->window();
    QWidget *modal = QApplication::activeModalWidget();
    if (modal && modal != top && !top->isAncestorOf(modal) && modal->isVisible())
        if (QWidget *hit = childAtGlobal(modal, global))
            return hit;
    return childAtGlobal(top, global);
}

bool isOnTopAt(QWidget *w, const QPoint &local)
{
    QWidget *hit = widgetOnTopAt(w, local);
    return hit && (hit == w || w->isAncestorOf(hit));
}

namespace {
// Mouse input at a point of `w`, checked to land on `w`, sent through `w`'s window.
template <class Send> void checkedAt(QWidget *w, const QPoint &local, const char *what, Send send)
{
    QWindow *win = windowOf(w, what);
    if (!win)
        return;
    const QPoint p = resolve(w, local);
    checkOnTop(w, p, what);
    send(win, inWindow(w, p));
}
} // namespace

void clickAt(QWidget *w, const QPoint &local, Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    checkedAt(w, local, "click",
              [&](QWindow *win, const QPoint &at) { QTest::mouseClick(win, button, modifiers, at); });
}

void doubleClickAt(QWidget *w, const QPoint &local, Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    checkedAt(w, local, "double click",
              [&](QWindow *win, const QPoint &at) { QTest::mouseDClick(win, button, modifiers, at); });
}

void pressAt(QWidget *w, const QPoint &local, Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    checkedAt(w, local, "press",
              [&](QWindow *win, const QPoint &at) { QTest::mousePress(win, button, modifiers, at); });
}

void releaseAt(QWidget *w, const QPoint &local, Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    if (QWindow *win = windowOf(w, "release"))
        QTest::mouseRelease(win, button, modifiers, inWindow(w, resolve(w, local)));
}

void moveTo(QWidget *w, const QPoint &local)
{
    if (QWindow *win = windowOf(w, "move"))
        QTest::mouseMove(win, inWindow(w, resolve(w, local)));
}

void dragTo(QWidget *source, const QPoint &from, QWidget *target, const QPoint &to, int steps)
{
    QWindow *win = windowOf(source, "drag");
    if (!win || !windowOf(target, "drop"))
        return;
    const QPoint start = inWindow(source, resolve(source, from));
    // The input stays with the window that took the press, as the window system's implicit grab does.
    const QPoint end = source->window()->mapFromGlobal(target->mapToGlobal(resolve(target, to)));
    pressAt(source, resolve(source, from));
    // A move may start a drag whose own event loop runs until the button is released, so each step is
    // queued ahead and runs from whichever loop is turning.
    steps = qMax(1, steps);
    auto step = std::make_shared<int>(0);
    auto done = std::make_shared<bool>(false);
    QPointer<QWindow> guard(win);
    auto next = std::make_shared<std::function<void()>>();
    *next = [=]() {
        if (!guard) {
            *done = true;
            return;
        }
        if (*step < steps) {
            ++*step;
            QTimer::singleShot(10, *next); // queued before the move, which may not return until the drop
            QTest::mouseMove(guard, start + (end - start) * *step / steps);
            return;
        }
        QTest::mouseRelease(guard, Qt::LeftButton, Qt::NoModifier, end);
        *done = true;
    };
    QTimer::singleShot(10, *next);
    if (!QTest::qWaitFor([&] { return *done; }, 20000))
        QTest::qFail("the drag did not end", __FILE__, __LINE__);
    *next = nullptr;
}

namespace {
// What the program has taken of the X server's pointer input so far: each step of an X drag waits for it, as
// a hand waits to see the pointer move before it goes on.
class PointerWatch : public QObject
{
public:
    PointerWatch() { qApp->installEventFilter(this); }
    QEvent::Type last = QEvent::None;
    QPoint at;

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        const QEvent::Type t = e->type();
        if (t == QEvent::MouseButtonPress || t == QEvent::MouseMove || t == QEvent::MouseButtonRelease) {
            last = t;
            at = static_cast<QMouseEvent *>(e)->globalPos();
        }
        return false;
    }
};
} // namespace

namespace {
bool xdotool(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral("xdotool"), args);
    if (p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
        return true;
    QTest::qFail(qPrintable(QStringLiteral("xdotool %1 failed").arg(args.join(' '))), __FILE__, __LINE__);
    return false;
}
} // namespace

void xDragTo(QWidget *w, const QPoint &from, const QPoint &to, int steps)
{
    xDragTo(w, from, to, steps, nullptr);
}

void xDragTo(QWidget *w, const QPoint &from, const QPoint &to, int steps,
             const std::function<void(const QPoint &at)> &taken)
{
    QWindow *win = windowOf(w, "X drag");
    if (!win)
        return;
    checkOnTop(w, from, "X drag");
    const qreal scale = win->devicePixelRatio();
    PointerWatch watch;
    // One xdotool command, then the program's event of that kind at that place.
    const auto step = [&](const QPoint &local, const QString &button, QEvent::Type expected) {
        const QPoint global = w->mapToGlobal(local);
        const QPoint at = (QPointF(global) * scale).toPoint();
        // The pointer already there moves nowhere: the X server sends nothing to wait for.
        if (button.isEmpty() && (QCursor::pos() - global).manhattanLength() <= 1)
            return true;
        QStringList args{"mousemove", QString::number(at.x()), QString::number(at.y())};
        if (!button.isEmpty())
            args << button << "1";
        if (!xdotool(args))
            return false;
        if (QTest::qWaitFor([&] { return watch.last == expected && (watch.at - global).manhattanLength() <= 2; },
                            10000))
            return true;
        QTest::qFail(qPrintable(QStringLiteral("the program did not take xdotool %1").arg(args.join(' '))), __FILE__,
                     __LINE__);
        return false;
    };
    if (!step(from, QString(), QEvent::MouseMove) || !step(from, QStringLiteral("mousedown"), QEvent::MouseButtonPress))
        return;
    steps = qMax(1, steps);
    for (int i = 1; i <= steps; ++i) {
        const QPoint at = from + (to - from) * i / steps;
        if (!step(at, QString(), QEvent::MouseMove))
            return;
        if (taken)
            taken(at);
    }
    if (step(to, QStringLiteral("mouseup"), QEvent::MouseButtonRelease) && taken)
        taken(to);
}

void xClickAt(QWidget *w, const QPoint &local)
{
    // A drag that goes nowhere: press and release at one place.
    const QPoint at = w ? resolve(w, local) : local;
    xDragTo(w, at, at, 1);
}

void xTypeInto(QWidget *field, const QString &text)
{
    QWindow *win = windowOf(field, "X typing");
    if (!win)
        return;
    checkOnTop(field, kCentre, "X typing");
    const QPoint at = (QPointF(field->mapToGlobal(resolve(field, kCentre))) * win->devicePixelRatio()).toPoint();
    PointerWatch watch;
    if (!xdotool({"mousemove", QString::number(at.x()), QString::number(at.y()), "click", "1"}))
        return;
    // Keys go where the X focus is: typed only once the click has given the field the keyboard.
    if (!QTest::qWaitFor(
            [&] { return watch.last == QEvent::MouseButtonRelease && win->isActive() && field->hasFocus(); }, 10000)) {
        QTest::qFail("X typing: the click did not give the field the keyboard", __FILE__, __LINE__);
        return;
    }
    if (xdotool({"key", "--clearmodifiers", "ctrl+a"}))
        xdotool({"type", "--delay", "20", "--", text});
}

void keyClick(QWidget *w, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    if (QWindow *win = activeWindowOf(w, "key"))
        keyInto(win, key, 0, modifiers);
}

void typeText(QWidget *w, const QString &text)
{
    QPointer<QWindow> win = activeWindowOf(w, "typing");
    for (const QChar c : text)
        if (win)
            keyInto(win, Qt::Key_unknown, c.toLatin1(), Qt::NoModifier);
}

QStringList unreachableControls(QWidget *window)
{
    QStringList covered;
    const auto check = [&](QWidget *w, const QPoint &local, const QString &name) {
        if (!insideAncestors(w, local))
            return;
        QWidget *hit = widgetOnTopAt(w, local);
        if (!hit || (hit != w && !w->isAncestorOf(hit)))
            covered << QStringLiteral("%1 under %2").arg(name, describe(hit));
    };
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->isVisible() || !w->isEnabled() || w->window() != window)
            continue;
        if (auto *tabs = qobject_cast<QTabBar *>(w)) {
            for (int i = 0; i < tabs->count(); ++i)
                if (tabs->isTabVisible(i) && tabs->isTabEnabled(i))
                    check(tabs, tabs->tabRect(i).center(),
                          QStringLiteral("tab \"%1\" of %2").arg(tabs->tabText(i), describe(tabs)));
            continue;
        }
        if (isControl(w))
            check(w, w->rect().center(), describe(w));
    }
    return covered;
}

} // namespace rstest
