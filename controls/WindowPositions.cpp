#include "WindowPositions.h"

#include <QEvent>
#include <QScreen>
#include <QVariant>
#include <QWidget>
#include <QWindow>
#include <QX11Info>

#include <cstdlib>

#ifdef RS_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace {

// Set on a top-level widget after the window system moved it, until its position has been checked.
const char *const kUnsureProperty = "_rs_positionUnsure";

#ifdef RS_HAVE_XCB
bool x11RootPos(WId id, QPoint &pos)
{
    // Qt's own connection: positions are server state, the same for every client.
    xcb_connection_t *c = QX11Info::connection();
    if (!c)
        return false;
    const auto window = xcb_window_t(id);
    // Errors come back here, not in Qt's event stream: a window destroyed meanwhile is no fault of Qt's.
    xcb_generic_error_t *error = nullptr;
    xcb_get_geometry_reply_t *geometry = xcb_get_geometry_reply(c, xcb_get_geometry(c, window), &error);
    free(error);
    if (!geometry)
        return false;
    const xcb_window_t root = geometry->root;
    free(geometry);
    error = nullptr;
    xcb_translate_coordinates_reply_t *at =
        xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, window, root, 0, 0), &error);
    free(error);
    if (!at)
        return false;
    pos = QPoint(at->dst_x, at->dst_y);
    free(at);
    return true;
}

// Qt 5.15's high-DPI scaling maps a top-level window's native position about the screen that holds it:
// logical = origin + (native - origin) / factor, the origin being the screen's native top-left (which Qt
// keeps as its logical top-left) and the factor the screen's device pixel ratio.
QPoint logicalFromNative(const QWindow *window, const QPoint &native)
{
    const QScreen *screen = window->screen();
    if (!screen)
        return native;
    const auto nativeGeometry = [](const QScreen *s) {
        return QRect(s->geometry().topLeft(), s->geometry().size() * s->devicePixelRatio());
    };
    if (!nativeGeometry(screen).contains(native)) {
        for (const QScreen *sibling : screen->virtualSiblings()) {
            if (nativeGeometry(sibling).contains(native)) {
                screen = sibling;
                break;
            }
        }
    }
    const QPoint origin = screen->geometry().topLeft();
    return origin + (native - origin) * (1.0 / screen->devicePixelRatio());
}
#endif

// Windows the window manager frames and places; popups and tool tips place themselves.
bool isManagedWindow(const QWidget *w)
{
    if (!w->isWindow() || w->testAttribute(Qt::WA_DontShowOnScreen))
        return false;
    if (w->windowFlags() & Qt::BypassWindowManagerHint)
        return false;
    switch (w->windowType()) {
    case Qt::Popup:
    case Qt::ToolTip:
    case Qt::Desktop:
        return false;
    default:
        return true;
    }
}

class WindowPositionFilter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::Move:
            if (watched->isWidgetType()) {
                auto *w = static_cast<QWidget *>(watched);
                // Only what the window system reported can be stale; a move of the program's own is what
                // it asked for.
                if (w->isWindow())
                    w->setProperty(kUnsureProperty, event->spontaneous());
            }
            break;
        case QEvent::WindowActivate:
            if (watched->isWidgetType())
                checkIfUnsure(static_cast<QWidget *>(watched));
            break;
        case QEvent::Expose:
            // By the time a managed window is exposed its frame is mapped, so it has been placed.
            if (watched->isWindowType()) {
                auto *window = static_cast<QWindow *>(watched);
                if (window->isExposed() && window->handle())
                    checkIfUnsure(QWidget::find(window->winId()));
            }
            break;
        default:
            break;
        }
        return false;
    }

private:
    static void checkIfUnsure(QWidget *w)
    {
        if (w && w->isWindow() && w->property(kUnsureProperty).toBool())
            rs::syncWindowPosition(w);
    }
};

} // namespace

namespace rs {

QPoint nativeClientPos(const QWidget *window, bool *asked)
{
    if (asked)
        *asked = false;
    if (!window)
        return QPoint();
    const QWidget *top = window->window();
    QPoint pos = top->geometry().topLeft();
#ifdef RS_HAVE_XCB
    QWindow *handle = top->windowHandle();
    if (handle && handle->handle() && QX11Info::isPlatformX11()) {
        QPoint real;
        if (x11RootPos(handle->winId(), real)) {
            pos = logicalFromNative(handle, real);
            if (asked)
                *asked = true;
        }
    }
#endif
    return pos;
}

bool syncWindowPosition(QWidget *window)
{
    if (!window || !window->isWindow() || !window->isVisible() || !isManagedWindow(window))
        return false;
    window->setProperty(kUnsureProperty, false);
    bool asked = false;
    const QPoint real = nativeClientPos(window, &asked);
    if (!asked || real == window->geometry().topLeft())
        return false;
    // The window already stands there: Qt's geometry follows, and the window manager is asked for the
    // place the window has.
    window->setGeometry(QRect(real, window->size()));
    return true;
}

QObject *newWindowPositionFilter(QObject *parent)
{
    return new WindowPositionFilter(parent);
}

} // namespace rs
