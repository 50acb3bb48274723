// Frameless window behaviour: pointer zones and cursors, drag band, edge resize limits, maximise and
// restore, embedded widgets, centring, logo placement and the nine-grid background.

#include "ControlTestImages.h"
#include "QZTDialog.h"
#include "QZTWidget.h"
#include "WindowInput.h"

#include <QMouseEvent>
#include <QScreen>
#include <QtTest>

using namespace ctltest;

namespace {
// Input through the window at a screen point: the window moves and resizes under the pointer, so the point
// inside it is taken afresh for each event.
void sendMouse(QWidget *w, QEvent::Type type, QPoint global)
{
    const QPoint at = w->mapFromGlobal(global);
    if (type == QEvent::MouseButtonPress)
        rstest::pressAt(w, at);
    else if (type == QEvent::MouseButtonRelease)
        rstest::releaseAt(w, at);
    else if (type == QEvent::MouseButtonDblClick)
        rstest::doubleClickAt(w, at);
    else
        rstest::moveTo(w, at);
}
} // namespace

class TestFramelessWindow : public QObject
{
    Q_OBJECT
private slots:
    void zones_data();
    void zones();
    void dragBandOnly_data();
    void dragBandOnly();
    void leftEdgeResizeStopsAtLimits();
    void maximiseTwiceRestores();
    void embeddedWidgetNeverMovesOrResizes();
    void fixedBackgroundDisablesResize();
    void centerDialogClampsToFifty();
    void logoIsCentredAtNaturalSize();
    void backgroundCornersStayUnstretched();
};

void TestFramelessWindow::zones_data()
{
    QTest::addColumn<int>("policy");
    QTest::addColumn<QPoint>("offset"); // from the window's top-left
    QTest::addColumn<int>("zone");
    QTest::addColumn<int>("cursor");
    // Window 300x200, margins 8, band 4: left band x 8..12, right band 287..291, top band y 8..12,
    // bottom band 187..191.
    QTest::newRow("left band start") << 3 << QPoint(8, 100) << 1 << int(Qt::SplitHCursor);
    QTest::newRow("left band end") << 3 << QPoint(12, 100) << 1 << int(Qt::SplitHCursor);
    QTest::newRow("inside margin") << 3 << QPoint(7, 100) << 0 << int(Qt::ArrowCursor);
    QTest::newRow("past band") << 3 << QPoint(13, 100) << 0 << int(Qt::ArrowCursor);
    QTest::newRow("top-left") << 3 << QPoint(10, 10) << 2 << int(Qt::SizeFDiagCursor);
    QTest::newRow("bottom-left") << 3 << QPoint(10, 190) << 8 << int(Qt::SizeBDiagCursor);
    QTest::newRow("top-right") << 3 << QPoint(289, 10) << 4 << int(Qt::SizeBDiagCursor);
    QTest::newRow("bottom-right") << 3 << QPoint(289, 190) << 6 << int(Qt::SizeFDiagCursor);
    QTest::newRow("right") << 3 << QPoint(289, 100) << 5 << int(Qt::SplitHCursor);
    QTest::newRow("top") << 3 << QPoint(150, 9) << 3 << int(Qt::SplitVCursor);
    QTest::newRow("bottom") << 3 << QPoint(150, 190) << 7 << int(Qt::SplitVCursor);
    QTest::newRow("centre") << 3 << QPoint(150, 100) << 0 << int(Qt::ArrowCursor);
    QTest::newRow("horizontal only: top") << 1 << QPoint(150, 9) << 0 << int(Qt::ArrowCursor);
    QTest::newRow("horizontal only: left") << 1 << QPoint(10, 100) << 1 << int(Qt::SplitHCursor);
    QTest::newRow("vertical only: left band is no horizontal zone")
        << 2 << QPoint(10, 100) << 0 << int(Qt::ArrowCursor);
    QTest::newRow("vertical only: top") << 2 << QPoint(150, 9) << 3 << int(Qt::SplitVCursor);
    QTest::newRow("no policy") << 0 << QPoint(10, 100) << 0 << int(Qt::ArrowCursor);
}

void TestFramelessWindow::zones()
{
    QFETCH(int, policy);
    QFETCH(QPoint, offset);
    QFETCH(int, zone);
    QFETCH(int, cursor);
    QZTDialog dlg;
    dlg.setGeometry(100, 100, 300, 200);
    dlg.setTransparentW(8);
    dlg.setStretchPolicy(policy);
    dlg.show();
    sendMouse(&dlg, QEvent::MouseMove, dlg.geometry().topLeft() + offset);
    QCOMPARE(dlg.cursorState(), zone);
    QCOMPARE(int(dlg.cursor().shape()), cursor);
}

void TestFramelessWindow::dragBandOnly_data()
{
    QTest::addColumn<int>("pressY");
    QTest::addColumn<bool>("moves");
    QTest::newRow("y 39 drags") << 39 << true;
    QTest::newRow("y 40 does not") << 40 << false;
}

void TestFramelessWindow::dragBandOnly()
{
    QFETCH(int, pressY);
    QFETCH(bool, moves);
    QZTDialog dlg;
    dlg.setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint); // as every skinned window is
    dlg.setGeometry(100, 100, 300, 200);
    dlg.setStretchPolicy(0);
    dlg.show();
    const QPoint before = dlg.pos();
    const QPoint start = dlg.geometry().topLeft() + QPoint(150, pressY);
    sendMouse(&dlg, QEvent::MouseButtonPress, start);
    sendMouse(&dlg, QEvent::MouseMove, start + QPoint(30, 20));
    sendMouse(&dlg, QEvent::MouseButtonRelease, start + QPoint(30, 20));
    QCOMPARE(dlg.pos(), moves ? before + QPoint(30, 20) : before);
}

void TestFramelessWindow::leftEdgeResizeStopsAtLimits()
{
    QZTDialog dlg;
    dlg.setGeometry(100, 100, 300, 200);
    dlg.setMinimumSize(200, 100);
    dlg.show();
    const QPoint grab = dlg.pos() + QPoint(2, 100);
    sendMouse(&dlg, QEvent::MouseMove, grab); // hover classifies the left zone
    QCOMPARE(dlg.cursorState(), 1);
    sendMouse(&dlg, QEvent::MouseButtonPress, grab);
    // Inwards by 97: width 203 > minimum 200 + 1 is allowed.
    sendMouse(&dlg, QEvent::MouseMove, grab + QPoint(97, 0));
    QCOMPARE(dlg.width(), 203);
    // Further to width 200: refused, the edge stays.
    sendMouse(&dlg, QEvent::MouseMove, grab + QPoint(100, 0));
    QCOMPARE(dlg.width(), 203);
    // Outwards beyond the screen width - 4: refused.
    const int sw = QGuiApplication::primaryScreen()->geometry().width();
    sendMouse(&dlg, QEvent::MouseMove, grab - QPoint(sw, 0));
    QCOMPARE(dlg.width(), 203);
    sendMouse(&dlg, QEvent::MouseButtonRelease, grab);
}

void TestFramelessWindow::maximiseTwiceRestores()
{
    QZTDialog dlg;
    dlg.setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint); // as every skinned window is: a frame keeps it on screen
    dlg.setGeometry(120, 110, 300, 200);
    dlg.setTransparentW(8);
    dlg.show();
    const QRect before = dlg.geometry();
    sendMouse(&dlg, QEvent::MouseButtonDblClick, dlg.pos() + QPoint(150, 20));
    QVERIFY(dlg.isMaxSize());
    // The visible window (inside the 8-pixel transparent margins) covers its screen's free area exactly.
    QCOMPARE(dlg.geometry().adjusted(8, 8, -8, -8), dlg.screen()->availableGeometry());
    QCOMPARE(dlg.cursor().shape(), Qt::ArrowCursor);
    dlg.OnBtnMax();
    QVERIFY(!dlg.isMaxSize());
    QCOMPARE(dlg.geometry(), before);
    QCOMPARE(dlg.cursor().shape(), Qt::ArrowCursor);
}

void TestFramelessWindow::embeddedWidgetNeverMovesOrResizes()
{
    QWidget top;
    top.resize(400, 300);
    QZTWidget child(&top);
    child.setGeometry(50, 50, 100, 100);
    top.show();
    const QPoint edge = child.mapToGlobal(QPoint(1, 50));
    sendMouse(&child, QEvent::MouseMove, edge);
    QCOMPARE(child.cursorState(), 0);
    sendMouse(&child, QEvent::MouseButtonPress, child.mapToGlobal(QPoint(50, 5)));
    sendMouse(&child, QEvent::MouseMove, child.mapToGlobal(QPoint(80, 25)));
    QCOMPARE(child.geometry(), QRect(50, 50, 100, 100));
    sendMouse(&child, QEvent::MouseButtonRelease, child.mapToGlobal(QPoint(80, 25)));
    sendMouse(&child, QEvent::MouseButtonDblClick, child.mapToGlobal(QPoint(50, 5)));
    QVERIFY(!child.isMaxSize());
}

void TestFramelessWindow::fixedBackgroundDisablesResize()
{
    QZTDialog dlg;
    dlg.setBackgroundImage(solidImage(400, 300, Qt::darkGray), false);
    QCOMPARE(dlg.size(), QSize(200, 150));
    QCOMPARE(dlg.stretchPolicy(), 0);
    dlg.move(100, 100);
    dlg.show();
    sendMouse(&dlg, QEvent::MouseMove, dlg.pos() + QPoint(1, 75));
    QCOMPARE(dlg.cursor().shape(), Qt::ArrowCursor);
    sendMouse(&dlg, QEvent::MouseButtonDblClick, dlg.pos() + QPoint(100, 10));
    QVERIFY(!dlg.isMaxSize());
    // A missing file keeps the image set before.
    dlg.setBackgroundImage(QStringLiteral("/nonexistent/bg.png"), true);
    QCOMPARE(dlg.stretchPolicy(), 0);
    QCOMPARE(dlg.size(), QSize(200, 150));
}

void TestFramelessWindow::centerDialogClampsToFifty()
{
    QZTDialog host;
    host.setGeometry(0, 0, 100, 80);
    host.show();
    QDialog big;
    big.resize(400, 300);
    host.CenterDlg(big);
    QCOMPARE(big.pos(), QPoint(50, 50));
    QDialog small;
    small.resize(20, 20);
    host.CenterDlg(small);
    QCOMPARE(small.pos(), host.mapToGlobal(QPoint(40, 30)));
}

void TestFramelessWindow::logoIsCentredAtNaturalSize()
{
    QZTDialog dlg;
    dlg.resize(300, 200);
    dlg.setLogoRect(QRect(-1, -1, 0, 0));
    dlg.setLogoImage(solidImage(40, 20, Qt::red));
    dlg.setLogoRect(QRect(-1, -1, 0, 0));
    const QImage shot = render(&dlg);
    QCOMPARE(dlg.logoRect(), QRect(140, 95, 20, 10));
    QVERIFY(near(shot.pixelColor(150, 100), Qt::red));
}

void TestFramelessWindow::backgroundCornersStayUnstretched()
{
    // 2x image 120x120 (logical 60): a 20-logical red corner square in each corner, blue elsewhere.
    QImage bg = solidImage(120, 120, Qt::blue);
    {
        QPainter p(&bg);
        for (QPoint o : {QPoint(0, 0), QPoint(80, 0), QPoint(0, 80), QPoint(80, 80)})
            p.fillRect(QRect(o, QSize(40, 40)), Qt::red);
    }
    QZTDialog dlg;
    dlg.setBackgroundImage(bg, true);
    QCOMPARE(dlg.minimumSize(), QSize(60, 60));
    dlg.resize(300, 200);
    const QImage shot = render(&dlg);
    QVERIFY(near(shot.pixelColor(18, 18), Qt::red));
    QVERIFY(near(shot.pixelColor(22, 10), Qt::blue));
    QVERIFY(near(shot.pixelColor(281, 181), Qt::red));
    QVERIFY(near(shot.pixelColor(277, 190), Qt::blue));
    QVERIFY(near(shot.pixelColor(150, 100), Qt::blue));
}

RS_TEST_MAIN(TestFramelessWindow)
#include "tst_framelesswindow.moc"
