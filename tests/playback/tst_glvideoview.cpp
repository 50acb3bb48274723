// The OpenGL video view on a real X server (xvfb): known planar and packed frames read back from the
// framebuffer, the planar path after a packed frame, texture geometry, back-pressure, and delivery racing
// with the destruction of the view.

#include "NSOpenGLVideoView.h"
#include "NSVideoView.h"
#include "QVideoElementWindow.h"
#include "TestSupport.h"
#include "VideoFrameSink.h"
#include "tst_views_feeder.h"
#include "tst_views_frames.h"

#include <QOpenGLContext>

#include <atomic>
#include <thread>

using namespace viewtest;

class TestGlVideoView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void drawsFrames_data();
    void drawsFrames();
    void drawsPlanarAfterPacked();
    void drawsPackedAfterPlanar();
    void clearFrameDrawsBlack();
    void keepsTexturesWhileTheSizeHolds();
    void backPressureWithBlockedGuiThread();
    void deliveryRacesDestruction();
    void containerSwitchesViews();
    void redrawsAfterMovingToAnotherWindow();

private:
    static QImage draw(NSOpenGLVideoView &view);
};

void TestGlVideoView::initTestCase()
{
    NSOpenGLVideoView probe;
    probe.resize(16, 16);
    probe.show();
    if (!QTest::qWaitForWindowExposed(&probe) || !probe.context() || !probe.context()->isValid())
        QSKIP("no OpenGL context on this display");
}

QImage TestGlVideoView::draw(NSOpenGLVideoView &view)
{
    // Uploads are queued to this thread; once they ran, grabbing paints the last of them.
    if (!QTest::qWaitFor([&] { return view.pendingCount() == 0; }, 5000))
        qWarning("uploads still pending");
    return view.grabFramebuffer().convertToFormat(QImage::Format_RGB32);
}

void TestGlVideoView::drawsFrames_data()
{
    QTest::addColumn<bool>("planar");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("planar") << true << 64 << 48;
    QTest::newRow("planar odd size") << true << 101 << 75;
    QTest::newRow("packed") << false << 64 << 48;
    QTest::newRow("packed 1080p") << false << 1920 << 1080;
}

void TestGlVideoView::drawsFrames()
{
    QFETCH(bool, planar);
    QFETCH(int, width);
    QFETCH(int, height);
    NSOpenGLVideoView view;
    view.resize(160, 120);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    if (planar)
        QVERIFY(view.acceptFrame(makePlanar(width, height).desc()));
    else
        QVERIFY(view.acceptFrame(makePacked(width, height).desc()));
    verifyQuadrants(draw(view));
    QCOMPARE(view.drawPath(), planar ? NSOpenGLVideoView::DrawPath::Planar : NSOpenGLVideoView::DrawPath::Packed);
}

void TestGlVideoView::drawsPlanarAfterPacked()
{
    NSOpenGLVideoView view;
    view.resize(128, 96);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    // Same size as the planar frame, and a stride that fits the packed texture, so that geometry shared
    // between the paths would wrongly keep unfilled planar textures.
    PackedFrame packed = makePacked(64, 48, 0);
    std::fill(packed.data.begin(), packed.data.end(), 0x30);
    QVERIFY(view.acceptFrame(packed.desc()));
    const QImage first = draw(view);
    QVERIFY(closeTo(first.pixelColor(10, 10), QColor(0x30, 0x30, 0x30)));

    QVERIFY(view.acceptFrame(makePlanar(64, 48, 0).desc()));
    verifyQuadrants(draw(view));
    QCOMPARE(view.drawPath(), NSOpenGLVideoView::DrawPath::Planar);
    QVERIFY(view.hasPlanarProgram());
}

void TestGlVideoView::drawsPackedAfterPlanar()
{
    NSOpenGLVideoView view;
    view.resize(128, 96);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QVERIFY(view.acceptFrame(makePlanar(64, 48).desc()));
    draw(view);
    QVERIFY(view.acceptFrame(makePacked(64, 48).desc()));
    verifyQuadrants(draw(view));
}

void TestGlVideoView::clearFrameDrawsBlack()
{
    NSOpenGLVideoView view;
    view.resize(64, 48);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QVERIFY(view.acceptFrame(makePlanar(64, 48).desc()));
    draw(view);
    QVERIFY(view.showYUVImage(nullptr, 0, 0, nullptr));
    const QImage image = draw(view);
    QCOMPARE(image.pixelColor(10, 10), QColor(Qt::black));
    QCOMPARE(image.pixelColor(50, 40), QColor(Qt::black));
    QCOMPARE(view.drawPath(), NSOpenGLVideoView::DrawPath::None);
}

void TestGlVideoView::keepsTexturesWhileTheSizeHolds()
{
    NSOpenGLVideoView view;
    view.resize(64, 48);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QVERIFY(view.acceptFrame(makePlanar(100, 50, 28).desc()));
    draw(view);
    const VideoTextureLayout first = view.planarLayout();
    QCOMPARE(first.powerWidth, 128);
    QCOMPARE(first.widthScale, 100.0f / 128.0f);
    // Same size, tighter strides: the textures stay.
    QVERIFY(view.acceptFrame(makePlanar(100, 50, 0).desc()));
    draw(view);
    QCOMPARE(view.planarLayout().powerWidth, 128);
    // Strides outgrowing the texture re-allocate it.
    QVERIFY(view.acceptFrame(makePlanar(100, 50, 60).desc()));
    verifyQuadrants(draw(view));
    QCOMPARE(view.planarLayout().powerWidth, 256);
}

void TestGlVideoView::backPressureWithBlockedGuiThread()
{
    NSOpenGLVideoView view;
    view.resize(64, 48);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const PlanarFrame frame = makePlanar(64, 48);
    QCOMPARE(acceptFromWorker(view, frame, 30), 9);
    QCOMPARE(view.pendingCount(), 9);
    QVERIFY(view.showImage(nullptr, 0, 0, 0));
    QTRY_COMPARE(view.pendingCount(), 0);
    QVERIFY(view.acceptFrame(frame.desc()));
    verifyQuadrants(draw(view));
}

void TestGlVideoView::deliveryRacesDestruction()
{
    const PlanarFrame frame = makePlanar(64, 48);
    for (int round = 0; round < 200; ++round) {
        auto *host = new QVideoElementWindow;
        host->resize(64, 48);
        host->SetOpenGl(true);
        if (round % 20 == 0) {
            host->show();
            QVERIFY(QTest::qWaitForWindowExposed(host));
        }
        std::shared_ptr<VideoFrameSink> sink = host->frameSink();
        SinkFeeder feeder(sink, frame);
        while (feeder.delivered() == 0)
            std::this_thread::yield();
        if (round % 2 == 0)
            QCoreApplication::processEvents();
        delete host;
        QCoreApplication::processEvents();
        feeder.stop();
        QVERIFY(!sink->deliver(frame.desc()));
    }
}

void TestGlVideoView::containerSwitchesViews()
{
    QVideoElementWindow host;
    host.resize(160, 120);
    host.SetOpenGl(true);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    QVERIFY(host.openGlView());
    QCOMPARE(host.openGlView()->geometry(), host.rect());
    const PlanarFrame frame = makePlanar(64, 48);
    QVERIFY(host.showYUVImage(const_cast<unsigned char **>(frame.pointers), frame.width, frame.height,
                              const_cast<int *>(frame.strides)));
    verifyQuadrants(draw(*host.openGlView()));

    host.SetOpenGl(false);
    QVERIFY(!host.openGlView());
    QVERIFY(host.bitmapView());
    const PackedFrame packed = makePacked(64, 48);
    QVERIFY(host.showImage(const_cast<unsigned char *>(packed.data.data()), 64, 48, unsigned(packed.stride)));
    QTRY_COMPARE(host.bitmapView()->pendingCount(), 0);
    verifyQuadrants(host.bitmapView()->grab().toImage().convertToFormat(QImage::Format_RGB32));
}

// Moving the view into another window gives it a new context without textures; the last frame must
// still show there.
void TestGlVideoView::redrawsAfterMovingToAnotherWindow()
{
    QWidget first;
    QWidget second;
    first.resize(160, 120);
    second.resize(160, 120);
    auto *view = new NSOpenGLVideoView(&first);
    view->resize(160, 120);
    first.show();
    second.show();
    QVERIFY(QTest::qWaitForWindowExposed(&first));
    QVERIFY(QTest::qWaitForWindowExposed(&second));
    QVERIFY(view->acceptFrame(makePlanar(64, 48).desc()));
    verifyQuadrants(draw(*view));

    view->setParent(&second);
    view->show();
    QVERIFY(view->context() == nullptr || view->context()->isValid());
    verifyQuadrants(draw(*view));
}

RS_TEST_MAIN(TestGlVideoView)
#include "tst_glvideoview.moc"
