// The preview windows: letterboxing, their forms, the main preview's click, drag, double-click and
// full-screen band signals, and the editor preview's element size signal.

#include "QMediaElementWindow.h"
#include "QVideoElementWindow.h"
#include "QVideoShowWidget.h"
#include "TestSupport.h"
#include "VideoImageWindow.h"
#include "VideoLetterbox.h"
#include "WindowInput.h"

#include <QSignalSpy>

class TestVideoWindows : public QObject
{
    Q_OBJECT

private slots:
    void letterbox_data();
    void letterbox();
    void formsAsDesigned();
    void imageWindowLetterboxes();
    void imageWindowIgnoresEmptySizes_data();
    void imageWindowIgnoresEmptySizes();
    void clickVersusDrag();
    void doubleClickTogglesFullScreen();
    void fullScreenBand_data();
    void fullScreenBand();
    void elementWindowReportsItsPicture();
    void elementWindowPassesMouseEvents();
    void framesWithoutViewAreDropped();
};

void TestVideoWindows::letterbox_data()
{
    QTest::addColumn<QSize>("video");
    QTest::addColumn<QSize>("outer");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("wide video") << QSize(1920, 1080) << QSize(692, 478) << QRect(0, 44, 692, 389);
    QTest::newRow("tall video") << QSize(1080, 1920) << QSize(692, 478) << QRect(212, 0, 268, 478);
    QTest::newRow("same shape") << QSize(800, 600) << QSize(400, 300) << QRect(0, 0, 400, 300);
    QTest::newRow("empty outer keeps the picture size")
        << QSize(320, 240) << QSize(0, 0) << QRect(-160, -120, 320, 240);
    QTest::newRow("zero-height outer") << QSize(320, 240) << QSize(100, 0) << QRect(50, 0, 0, 0);
    QTest::newRow("huge video, no overflow")
        << QSize(16384, 16384) << QSize(200000, 100000) << QRect(50000, 0, 100000, 100000);
    QTest::newRow("empty video") << QSize(0, 720) << QSize(692, 478) << QRect();
}

void TestVideoWindows::letterbox()
{
    QFETCH(QSize, video);
    QFETCH(QSize, outer);
    QTEST(letterboxVideoRect(video.width(), video.height(), outer.width(), outer.height()), "expected");
}

void TestVideoWindows::formsAsDesigned()
{
    VideoImageWindow image;
    QCOMPARE(image.objectName(), QStringLiteral("VideoImageWindow"));
    QCOMPARE(image.windowTitle(), QStringLiteral("Form"));
    QCOMPARE(image.imageWidget()->objectName(), QStringLiteral("m_ImageWidget"));
    QCOMPARE(image.imageWidget()->parentWidget(), &image);
    QCOMPARE(image.windowFlags() & (Qt::Dialog | Qt::FramelessWindowHint), Qt::Dialog | Qt::FramelessWindowHint);

    QMediaElementWindow element;
    QCOMPARE(element.objectName(), QStringLiteral("QMediaElementWindow"));
    QCOMPARE(element.videoElement()->objectName(), QStringLiteral("m_videoElement"));
    QVERIFY(element.videoElement()->hasMouseTracking());
    QVERIFY(element.hasMouseTracking());
}

void TestVideoWindows::imageWindowLetterboxes()
{
    VideoImageWindow window;
    window.resize(692, 478);
    window.setVideoSize(1920, 1080);
    QCOMPARE(window.getVideoRect(), QRect(0, 44, 692, 389));
    window.setVideoScale(1080, 1920);
    QCOMPARE(window.getVideoRect(), QRect(212, 0, 268, 478));
}

void TestVideoWindows::imageWindowIgnoresEmptySizes_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("zero width") << 0 << 720;
    QTest::newRow("zero height") << 1280 << 0;
    QTest::newRow("negative") << -4 << 720;
}

void TestVideoWindows::imageWindowIgnoresEmptySizes()
{
    QFETCH(int, width);
    QFETCH(int, height);
    VideoImageWindow window;
    window.resize(692, 478);
    window.setVideoSize(1920, 1080);
    window.setVideoSize(width, height);
    window.setVideoScale(width, height);
    QCOMPARE(window.getVideoRect(), QRect(0, 44, 692, 389));

    QMediaElementWindow element;
    element.resize(692, 478);
    QSignalSpy changes(&element, &QMediaElementWindow::emitVideoElementSizeChange);
    const QRect before = element.getVideoElementRect();
    element.setVideoElementSize(width, height);
    QCOMPARE(changes.count(), 0);
    QCOMPARE(element.getVideoElementRect(), before);
}

void TestVideoWindows::clickVersusDrag()
{
    VideoImageWindow window;
    window.resize(300, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy playOrPause(&window, &VideoImageWindow::emitPlayOrPause);
    QSignalSpy down(&window, &VideoImageWindow::emitMouseDown);
    QSignalSpy up(&window, &VideoImageWindow::emitMouseUp);

    const QPoint start = window.mapToGlobal(QPoint(100, 100));
    QCursor::setPos(start);
    if (QCursor::pos() != start)
        QSKIP("the platform cannot place the pointer");
    rstest::clickAt(&window, QPoint(100, 100));
    QCOMPARE(down.count(), 1);
    QCOMPARE(up.count(), 1);
    QCOMPARE(playOrPause.count(), 1);

    rstest::pressAt(&window, QPoint(100, 100));
    QCursor::setPos(start + QPoint(1, 0));
    rstest::moveTo(&window, QPoint(101, 100));
    rstest::releaseAt(&window, QPoint(101, 100));
    QCOMPARE(up.count(), 2);
    QCOMPARE(playOrPause.count(), 1);
}

void TestVideoWindows::doubleClickTogglesFullScreen()
{
    VideoImageWindow window;
    window.resize(692, 478);
    window.setVideoSize(1920, 1080);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy fullScreen(&window, &VideoImageWindow::emitFullScreen);

    rstest::doubleClickAt(&window, QPoint(50, 50));
    QTRY_VERIFY(window.isFullScreen());
    QCOMPARE(fullScreen.count(), 1);
    QTRY_COMPARE(window.getVideoRect(), letterboxVideoRect(1920, 1080, window.width(), window.height()));

    rstest::doubleClickAt(&window, QPoint(50, 50));
    QTRY_VERIFY(!window.isFullScreen());
    QCOMPARE(fullScreen.count(), 2);
    QTRY_COMPARE(window.size(), QSize(692, 478));
    QTRY_COMPARE(window.getVideoRect(), QRect(0, 44, 692, 389));
}

void TestVideoWindows::fullScreenBand_data()
{
    QTest::addColumn<bool>("fullScreen");
    QTest::addColumn<int>("rowsFromBottom");
    QTest::addColumn<int>("expected"); // -1: no emitShowBtn at all
    QTest::newRow("bottom row") << true << 1 << 1;
    QTest::newRow("79th row from the bottom") << true << 79 << 1;
    QTest::newRow("80th row from the bottom") << true << 80 << 0;
    QTest::newRow("top") << true << 400 << 0;
    QTest::newRow("not full screen") << false << 1 << -1;
}

void TestVideoWindows::fullScreenBand()
{
    QFETCH(bool, fullScreen);
    QFETCH(int, rowsFromBottom);
    QFETCH(int, expected);
    VideoImageWindow window;
    window.resize(692, 478);
    if (fullScreen)
        window.showFullScreen();
    else
        window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_COMPARE(window.isFullScreen(), fullScreen);
    QSignalSpy showBtn(&window, &VideoImageWindow::emitShowBtn);
    QSignalSpy moves(&window, &VideoImageWindow::emitMouseMove);
    rstest::moveTo(&window, QPoint(20, window.height() - rowsFromBottom));
    QCOMPARE(moves.count(), 1);
    if (expected < 0) {
        QCOMPARE(showBtn.count(), 0);
        return;
    }
    QCOMPARE(showBtn.count(), 1);
    QCOMPARE(showBtn.at(0).at(0).toBool(), expected == 1);
}

void TestVideoWindows::elementWindowReportsItsPicture()
{
    QMediaElementWindow element;
    element.resize(692, 478);
    QSignalSpy changes(&element, &QMediaElementWindow::emitVideoElementSizeChange);
    element.setVideoElementSize(1920, 1080);
    QCOMPARE(changes.count(), 1);
    QCOMPARE(changes.at(0).at(0).toRect(), QRect(0, 44, 692, 389));
    QCOMPARE(element.getVideoElementRect(), QRect(0, 44, 692, 389));
}

void TestVideoWindows::elementWindowPassesMouseEvents()
{
    QMediaElementWindow element;
    element.resize(300, 200);
    element.show();
    QVERIFY(QTest::qWaitForWindowExposed(&element));
    rstest::moveTo(&element, QPoint(10, 10)); // the pointer comes before it presses
    QSignalSpy press(&element, &QMediaElementWindow::emitMousePressEvent);
    QSignalSpy release(&element, &QMediaElementWindow::emitMouseReleaseEvent);
    QSignalSpy move(&element, &QMediaElementWindow::emitMouseMoveEvent);
    rstest::pressAt(&element, QPoint(10, 10));
    rstest::moveTo(&element, QPoint(20, 20));
    rstest::releaseAt(&element, QPoint(20, 20));
    QCOMPARE(press.count(), 1);
    QCOMPARE(move.count(), 1);
    QCOMPARE(release.count(), 1);
}

void TestVideoWindows::framesWithoutViewAreDropped()
{
    VideoImageWindow window;
    unsigned char pixels[16 * 4] = {};
    QVERIFY(!window.showImage(pixels, 4, 4, 16));
    window.SetOpenGl(false);
    QVERIFY(!window.imageWidget()->isOpenGl());
    QVERIFY(window.showImage(pixels, 4, 4, 16));
    // A stride shorter than a row is refused, not read past.
    QVERIFY(!window.showImage(pixels, 4, 4, 12));
}

RS_TEST_MAIN(TestVideoWindows)
#include "tst_videowindows.moc"
