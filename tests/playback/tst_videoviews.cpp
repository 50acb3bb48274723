// Frame copies, texture geometry, the bitmap view's drawing, back-pressure and delivery racing with the
// destruction or replacement of a view (offscreen; the OpenGL drawing is tst_glvideoview).

#include "NSVideoView.h"
#include "QVideoElementWindow.h"
#include "TestSupport.h"
#include "VideoFrame.h"
#include "VideoFrameSink.h"
#include "VideoTextureLayout.h"
#include "tst_views_feeder.h"
#include "tst_views_frames.h"

#include <atomic>
#include <chrono>
#include <thread>

using namespace viewtest;

class TestVideoViews : public QObject
{
    Q_OBJECT

private slots:
    void planarCopyPadsOddSizes();
    void refusesInconsistentFrames_data();
    void refusesInconsistentFrames();
    void textureLayout_data();
    void textureLayout();
    void textureLayoutKeepsFittingTextures();
    void bitmapDrawsFrames_data();
    void bitmapDrawsFrames();
    void bitmapPlanarAfterPacked();
    void bitmapClearFrameDrawsBlack();
    void backPressureWithBlockedGuiThread();
    void resetIgnoresQueuedUploads();
    void deliveryRacesDestruction();
    void deliveryRacesReplacement();
};

void TestVideoViews::planarCopyPadsOddSizes()
{
    // 101 x 75 with strides 128, 64, 64: the copy has 76 luma rows and neutral chroma beyond column 51.
    const int width = 101, height = 75;
    const int strides[3] = {128, 64, 64};
    std::vector<uint8_t> planes[3];
    planes[0].resize(size_t(128) * height);
    for (size_t i = 0; i < planes[0].size(); ++i)
        planes[0][i] = uint8_t(i * 7 + i / 128);
    planes[1].assign(size_t(64) * 38, 3);
    planes[2].assign(size_t(64) * 38, 250);
    const uint8_t *pointers[3] = {planes[0].data(), planes[1].data(), planes[2].data()};

    VideoFrameBuffer copy;
    QVERIFY(VideoFrameBuffer::copyFrom(VideoFrameDesc::planar(pointers, width, height, strides), copy));
    QCOMPARE(copy.rows[0], 76);
    QCOMPARE(copy.rows[1], 38);
    QCOMPARE(copy.planes[0].size(), size_t(128 * 76));
    QVERIFY(std::equal(planes[0].begin(), planes[0].end(), copy.planes[0].begin()));
    QVERIFY(std::equal(copy.planes[0].begin() + 75 * 128, copy.planes[0].end(), copy.planes[0].begin() + 74 * 128));
    for (int plane = 1; plane < 3; ++plane) {
        const uint8_t original = plane == 1 ? 3 : 250;
        for (int row = 0; row < 38; ++row) {
            const uint8_t *line = copy.planes[plane].data() + row * 64;
            QCOMPARE(line[0], original);
            QCOMPARE(line[50], original);
            for (int col = 51; col < 64; ++col)
                QCOMPARE(line[col], uint8_t(128));
        }
    }
}

void TestVideoViews::refusesInconsistentFrames_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("stride");
    QTest::addColumn<bool>("drawable");
    QTest::newRow("packed ok") << 30 << 64 << 48 << 256 << true;
    QTest::newRow("packed stride short") << 30 << 64 << 48 << 255 << false;
    QTest::newRow("zero width") << 30 << 0 << 48 << 256 << false;
    QTest::newRow("negative height") << 30 << 64 << -2 << 256 << false;
    QTest::newRow("huge") << 30 << 100000 << 2 << 400000 << false;
    QTest::newRow("planar ok") << 0 << 64 << 48 << 64 << true;
    QTest::newRow("planar luma stride short") << 0 << 64 << 48 << 63 << false;
    QTest::newRow("unknown format") << 7 << 64 << 48 << 256 << false;
}

void TestVideoViews::refusesInconsistentFrames()
{
    QFETCH(int, format);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, stride);
    QFETCH(bool, drawable);
    static uint8_t pixels[4] = {};
    VideoFrameDesc desc;
    desc.format = uint32_t(format);
    desc.width = width;
    desc.height = height;
    desc.planes[0] = desc.planes[1] = desc.planes[2] = pixels;
    desc.strides[0] = stride;
    desc.strides[1] = desc.strides[2] = 32;
    QCOMPARE(desc.isDrawable(), drawable);
    if (!drawable) {
        // A view must refuse without copying (the planes here are far too small for the claimed size).
        NSVideoView view;
        QVERIFY(!view.acceptFrame(desc));
        QCOMPARE(view.pendingCount(), 0);
    }
}

void TestVideoViews::textureLayout_data()
{
    QTest::addColumn<bool>("planar");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("stride0");
    QTest::addColumn<int>("stride1");
    QTest::addColumn<int>("powerWidth");
    QTest::addColumn<int>("powerHeight");
    QTest::addColumn<float>("widthScale");
    QTest::addColumn<float>("heightScale");
    QTest::newRow("packed 1080p") << false << 1920 << 1080 << 7680 << 0 << 2048 << 2048 << 0.9375f << 0.52734375f;
    QTest::newRow("packed small") << false << 100 << 50 << 400 << 0 << 128 << 128 << 0.78125f << 0.390625f;
    QTest::newRow("planar 720p") << true << 1280 << 720 << 1280 << 640 << 2048 << 1024 << 0.625f << 0.703125f;
    QTest::newRow("planar wide chroma") << true << 100 << 100 << 128 << 96 << 256 << 128 << 0.390625f << 0.78125f;
}

void TestVideoViews::textureLayout()
{
    QFETCH(bool, planar);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, stride0);
    QFETCH(int, stride1);
    const int strides[3] = {stride0, stride1, stride1};
    const VideoTextureLayout layout = planar ? VideoTextureLayout::forPlanar(width, height, strides)
                                             : VideoTextureLayout::forPacked(width, height, stride0);
    QTEST(layout.powerWidth, "powerWidth");
    QTEST(layout.powerHeight, "powerHeight");
    QTEST(layout.widthScale, "widthScale");
    QTEST(layout.heightScale, "heightScale");
}

void TestVideoViews::textureLayoutKeepsFittingTextures()
{
    const int strides[3] = {1280, 640, 640};
    const VideoTextureLayout layout = VideoTextureLayout::forPlanar(1280, 720, strides);
    QVERIFY(layout.fitsPlanar(1280, 720, strides));
    const int grown[3] = {1280, 1100, 640}; // chroma stride outgrows half the luma texture
    QVERIFY(!layout.fitsPlanar(1280, 720, grown));
    QVERIFY(!layout.fitsPlanar(1280, 718, strides));
    QVERIFY(!VideoTextureLayout().fitsPlanar(0, 0, strides));
    QCOMPARE(VideoTextureLayout::powerOfTwoAtLeast(0), 1);
    QCOMPARE(VideoTextureLayout::powerOfTwoAtLeast(1025), 2048);
}

void TestVideoViews::bitmapDrawsFrames_data()
{
    QTest::addColumn<bool>("planar");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("planar") << true << 64 << 48;
    QTest::newRow("planar odd") << true << 63 << 47;
    QTest::newRow("packed") << false << 64 << 48;
}

static QImage renderView(QWidget &view)
{
    QImage image(view.size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    view.render(&image);
    return image;
}

void TestVideoViews::bitmapDrawsFrames()
{
    QFETCH(bool, planar);
    QFETCH(int, width);
    QFETCH(int, height);
    NSVideoView view;
    view.resize(160, 120);
    bool accepted = false;
    if (planar) {
        const PlanarFrame frame = makePlanar(width, height);
        accepted = view.acceptFrame(frame.desc());
    } else {
        const PackedFrame frame = makePacked(width, height);
        accepted = view.acceptFrame(frame.desc());
    }
    // The frame buffers are gone here: the view must have copied them.
    QVERIFY(accepted);
    QTRY_COMPARE(view.pendingCount(), 0);
    QCOMPARE(view.displayImage().size(), QSize(width, height));
    verifyQuadrants(renderView(view));
}

void TestVideoViews::bitmapPlanarAfterPacked()
{
    NSVideoView view;
    view.resize(64, 48);
    PackedFrame packed = makePacked(64, 48);
    std::fill(packed.data.begin(), packed.data.end(), 0x20);
    QVERIFY(view.acceptFrame(packed.desc()));
    QVERIFY(view.acceptFrame(makePlanar(64, 48).desc()));
    QTRY_COMPARE(view.pendingCount(), 0);
    verifyQuadrants(renderView(view));
}

void TestVideoViews::bitmapClearFrameDrawsBlack()
{
    NSVideoView view;
    view.resize(64, 48);
    QVERIFY(view.acceptFrame(makePlanar(64, 48).desc()));
    QVERIFY(view.showImage(nullptr, 0, 0, 0));
    QTRY_COMPARE(view.pendingCount(), 0);
    const QImage image = renderView(view);
    QCOMPARE(image.pixelColor(10, 10), QColor(Qt::black));
    QCOMPARE(image.pixelColor(50, 40), QColor(Qt::black));
}

void TestVideoViews::backPressureWithBlockedGuiThread()
{
    NSVideoView view;
    const PlanarFrame frame = makePlanar(32, 32);
    // The GUI thread does not run its event loop while the worker delivers: nothing is uploaded.
    QCOMPARE(acceptFromWorker(view, frame, 40), 9);
    QCOMPARE(view.pendingCount(), 9);
    // A clearing frame is admitted even now.
    QVERIFY(view.showYUVImage(nullptr, 0, 0, nullptr));
    QCOMPARE(view.pendingCount(), 10);
    QTRY_COMPARE(view.pendingCount(), 0);
    QCoreApplication::processEvents();
    QCOMPARE(view.pendingCount(), 0);
    // With the queue drained, frames are admitted again.
    QVERIFY(view.acceptFrame(frame.desc()));
    QTRY_COMPARE(view.pendingCount(), 0);
    QCOMPARE(view.displayImage().size(), QSize(32, 32));
}

void TestVideoViews::resetIgnoresQueuedUploads()
{
    NSVideoView view;
    const PlanarFrame frame = makePlanar(32, 32);
    QVERIFY(view.acceptFrame(frame.desc()));
    QVERIFY(view.acceptFrame(frame.desc()));
    view.reset();
    QTRY_COMPARE(view.pendingCount(), 0);
    QVERIFY(view.displayImage().isNull());
}

// A worker delivers frames through the host's sink, as a codec frame handler does, while the GUI thread
// destroys the host. Nothing may reach the dead view, neither a delivery nor a queued upload.
void TestVideoViews::deliveryRacesDestruction()
{
    const PlanarFrame frame = makePlanar(48, 32);
    for (int round = 0; round < 300; ++round) {
        auto *host = new QVideoElementWindow;
        host->SetOpenGl(false);
        std::shared_ptr<VideoFrameSink> sink = host->frameSink();
        SinkFeeder feeder(sink, frame);
        if (round % 2 == 0)
            QCoreApplication::processEvents(); // some uploads run, others stay queued
        while (feeder.delivered() == 0 && round % 3 == 0)
            std::this_thread::yield();
        delete host;
        QVERIFY(!sink->isAttached());
        QCoreApplication::processEvents();
        feeder.stop();
        QVERIFY(!sink->deliver(frame.desc()));
    }
}

void TestVideoViews::deliveryRacesReplacement()
{
    const PlanarFrame frame = makePlanar(48, 32);
    QVideoElementWindow host;
    host.resize(96, 64);
    host.SetOpenGl(false);
    std::shared_ptr<VideoFrameSink> sink = host.frameSink();
    std::atomic<bool> stop{false};
    std::thread worker([&] {
        while (!stop.load())
            sink->deliver(frame.desc());
    });
    for (int round = 0; round < 200; ++round) {
        host.SetOpenGl(false);
        QCoreApplication::processEvents();
    }
    stop = true;
    worker.join();
    NSVideoView *view = host.bitmapView();
    QVERIFY(view);
    QTRY_COMPARE(view->pendingCount(), 0);
    // The surviving view still draws what the sink gives it.
    QVERIFY(sink->deliver(frame.desc()));
    QTRY_VERIFY(!view->displayImage().isNull());
}

RS_TEST_MAIN(TestVideoViews)
#include "tst_videoviews.moc"
