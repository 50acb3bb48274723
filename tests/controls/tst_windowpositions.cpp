// Window positions on a scaled desktop (ctest runs this unit at a global and at a per-screen scale factor):
// the X server counts device pixels, Qt logical ones. The position read back from the server must be Qt's
// own, at the program's placement and after a move by another client as a window manager makes one.

#include "TestSupport.h"
#include "WindowFilters.h"
#include "WindowPositions.h"

#include <QScreen>
#include <QWidget>

#include <xcb/xcb.h>

class TestWindowPositions : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        QVERIFY2(QGuiApplication::primaryScreen()->devicePixelRatio() > 1, "runs on a scaled screen");
        rs::installWindowFilters();
    }

    void stayWhereTheWindowSystemHasThem_data()
    {
        QTest::addColumn<QPoint>("native"); // where the other client moves the window, in the server's pixels
        QTest::newRow("even") << QPoint(600, 360);
        QTest::newRow("odd") << QPoint(601, 363);
        QTest::newRow("screen's corner") << QPoint(0, 0);
    }

    void stayWhereTheWindowSystemHasThem()
    {
        QFETCH(QPoint, native);
        QWidget window;
        window.resize(200, 120);
        window.move(100, 80);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(rs::nativeClientPos(&window), QPoint(100, 80));

        xcb_connection_t *c = xcb_connect(nullptr, nullptr);
        const uint32_t xy[] = {uint32_t(native.x()), uint32_t(native.y())};
        const auto move = xcb_configure_window_checked(c, xcb_window_t(window.winId()),
                                                       XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, xy);
        xcb_generic_error_t *error = xcb_request_check(c, move); // done when the server answers
        const bool done = !error;
        free(error);
        xcb_disconnect(c);
        QVERIFY(done);
        QTRY_VERIFY(window.pos() != QPoint(100, 80));
        const QPoint moved = window.pos(); // as Qt maps the server's notice

        // Activation checks a position the window system reported: it must find nothing to correct.
        window.activateWindow();
        QTRY_VERIFY(window.isActiveWindow());
        QCOMPARE(window.pos(), moved);
        QCOMPARE(rs::nativeClientPos(&window), moved);
        QVERIFY(!rs::syncWindowPosition(&window));
    }
};

RS_TEST_MAIN(TestWindowPositions)
#include "tst_windowpositions.moc"
