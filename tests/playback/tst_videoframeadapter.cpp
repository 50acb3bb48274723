// Frame handlers over the codec library's frames (its recording fake): the frame reaches the view through
// the host's sink, unusable frames are refused, and every reference taken is released.

#include "NSVideoView.h"
#include "QVideoElementWindow.h"
#include "TestSupport.h"
#include "VideoFrameAdapter.h"
#include "VideoFrameSink.h"
#include "rscodec_fake.h"

class TestVideoFrameAdapter : public QObject
{
    Q_OBJECT

private slots:
    void init() { rscfake::reset(); }
    void handlerDeliversFrames_data();
    void handlerDeliversFrames();
    void refusesWithoutViewOrHandle();
};

static unsigned int frameHandler(void *user, void *frame)
{
    return deliverCodecFrame(static_cast<VideoFrameSink *>(user), frame);
}

void TestVideoFrameAdapter::handlerDeliversFrames_data()
{
    QTest::addColumn<uint>("format");
    QTest::addColumn<uint>("width");
    QTest::addColumn<uint>("height");
    QTest::addColumn<uint>("answer");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("planar black") << uint(RSC_FRAME_YUV420P) << 8u << 6u << 1u << QColor(0, 0, 0);
    QTest::newRow("packed grey") << uint(RSC_FRAME_BGRX) << 8u << 6u << 1u << QColor(0x40, 0x40, 0x40);
    QTest::newRow("unknown format") << 7u << 8u << 6u << 0u << QColor();
    QTest::newRow("empty frame") << uint(RSC_FRAME_BGRX) << 0u << 0u << 0u << QColor();
}

void TestVideoFrameAdapter::handlerDeliversFrames()
{
    QFETCH(uint, format);
    QFETCH(uint, width);
    QFETCH(uint, height);
    QFETCH(uint, answer);
    QFETCH(QColor, colour);
    QVideoElementWindow host;
    host.SetOpenGl(false);
    std::shared_ptr<VideoFrameSink> sink = host.frameSink();
    rsc_player *player = rsc_player_create(RSC_CREATE_DEFAULT);
    QVERIFY(player);
    QVERIFY(rsc_player_set_video_frame_handler(player, &frameHandler, sink.get()));

    QCOMPARE(rscfake::sendFrame(player, false, format, width, height), answer);
    QCOMPARE(rscfake::count("rsc_frame_release"), rscfake::count("rsc_frame_reference"));
    QTRY_COMPARE(host.bitmapView()->pendingCount(), 0);
    const QImage shown = host.bitmapView()->displayImage();
    if (answer == 0) {
        QVERIFY(shown.isNull());
    } else {
        QCOMPARE(shown.size(), QSize(int(width), int(height)));
        QCOMPARE(shown.pixelColor(3, 3), colour);
    }
    rsc_player_release(player);
}

void TestVideoFrameAdapter::refusesWithoutViewOrHandle()
{
    VideoFrameSink detached;
    int dummy = 0;
    QCOMPARE(deliverCodecFrame(nullptr, &dummy), 0u);
    QCOMPARE(deliverCodecFrame(&detached, nullptr), 0u);
    VideoFrameDesc desc;
    QVERIFY(!describeCodecFrame(nullptr, desc));

    rsc_player *player = rsc_player_create(RSC_CREATE_DEFAULT);
    QVERIFY(rsc_player_set_video_frame_handler(player, &frameHandler, &detached));
    QCOMPARE(rscfake::sendFrame(player, false, RSC_FRAME_BGRX, 4, 4), 0u);
    QCOMPARE(rscfake::count("rsc_frame_release"), rscfake::count("rsc_frame_reference"));
    rsc_player_release(player);
}

RS_TEST_MAIN(TestVideoFrameAdapter)
#include "tst_videoframeadapter.moc"
