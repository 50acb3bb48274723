#include "WindowPositions.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include <cstdlib>

#ifdef RS_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace {

// Set on a top-level widget after the window system moved it, until its position has been checked.
const char *const kUnsureProperty = "_rs_positionUnsure";

#ifdef RS_HAVE_XCB
// A connection of our own: Qt's is not public. Positions are server state, the same for every client.
xcb_connection_t *x11()
{
    static xcb_connection_t *s_connection = nullptr;
    static bool s_failed = false;
    if (!s_connection && !s_failed) {
        s_connection = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(s_connection)) {
            xcb_disconnect(s_connection);
            s_connection = nullptr;
            s_failed = true;
        }
    }
    return s_connection;
}

bool x11RootPos(WId id, QPoint &pos)
{
    xcb_connection_t *c = x11();
    if (!c)
        return false;
    const auto window = xcb_window_t(id);
    xcb_get_geometry_reply_t *geometry = xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr);
    if (!geometry)
        return false;
    const xcb_window_t root = geometry->root;
    free(geometry);
    xcb_translate_coordinates_reply_t *at =
        xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, window, root, 0, 0), nullptr);
    if (!at)
        return false;
    pos = QPoint(at->dst_x, at->dst_y);
    free(at);
    return true;
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

QPointer<WindowPositionFilter> s_filter;

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
    if (handle && handle->handle() && QGuiApplication::platformName() == QLatin1String("xcb")) {
        QPoint real;
        if (x11RootPos(handle->winId(), real)) {
            pos = real;
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

void trackWindowPositions()
{
    if (s_filter || !qApp)
        return;
    s_filter = new WindowPositionFilter(qApp);
    qApp->installEventFilter(s_filter);
}

} // namespace rs

namespace {
void trackAtStartup()
{
    rs::trackWindowPositions();
}
} // namespace
Q_COREAPP_STARTUP_FUNCTION(trackAtStartup)
