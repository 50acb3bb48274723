// Still images of the information object: BMP files of the right size, upright, of the right frame.
#include "FFprobe.h"
#include "MediaFixtures.h"
#include "TestSupport.h"
#include "rscodec.h"

#include <QFileInfo>
#include <QImage>
#include <QJsonObject>
#include <cstdlib>

namespace {

struct Still
{
    QImage image;
    uint32_t headerSize = 0;
    uint32_t reportedSize = 0;
    bool present = false;
};

// A standard clip by name, or a clip of the test's own by absolute path.
QString clipPath(const QString &name)
{
    return name.startsWith(QLatin1Char('/')) ? name : rstest::MediaFixtures::standard(name);
}

Still grab(const QString &name, quint64 time, uint32_t mode, uint32_t w, uint32_t h, uint32_t flags)
{
    Still still;
    rsc_info *info = rsc_info_create(RSC_CREATE_DEFAULT);
    if (rsc_info_open_file(info, clipPath(name).toUtf8().constData()) == 1) {
        unsigned char *bmp = rsc_info_get_video_image(info, time, mode, w, h, flags);
        if (bmp) {
            still.present = true;
            still.headerSize =
                uint32_t(bmp[2]) | uint32_t(bmp[3]) << 8 | uint32_t(bmp[4]) << 16 | uint32_t(bmp[5]) << 24;
            still.reportedSize = rsc_info_get_video_image_size(info, bmp);
            still.image.loadFromData(bmp, int(still.headerSize), "BMP");
            rsc_info_free_video_image(info, bmp);
        }
    }
    rsc_info_release(info);
    return still;
}

// Mean absolute difference per channel, 0..255.
double difference(const QImage &a, const QImage &b)
{
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    if (x.size() != y.size())
        return 255;
    double sum = 0;
    for (int row = 0; row < x.height(); ++row) {
        const QRgb *p = reinterpret_cast<const QRgb *>(x.constScanLine(row));
        const QRgb *q = reinterpret_cast<const QRgb *>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col)
            sum += std::abs(qRed(p[col]) - qRed(q[col])) + std::abs(qGreen(p[col]) - qGreen(q[col])) +
                   std::abs(qBlue(p[col]) - qBlue(q[col]));
    }
    return sum / (3.0 * x.width() * x.height());
}

// The frame at `seconds` as the ffmpeg tool decodes it (upright, accurate seek), or with "#N" the picture
// numbered N counting from 0 (the tool's seek in MPEG-TS is not exact).
QImage reference(const QString &name, const QString &seconds)
{
    const QString out = rstest::scratchDir("reference") + "/" + QFileInfo(name).fileName() + "_" + seconds + ".png";
    const QStringList select = {"-i", clipPath(name), "-vf", "select=eq(n\\," + seconds.mid(1) + ")"};
    const QStringList seek = {"-ss", seconds, "-i", clipPath(name)};
    if (!rstest::MediaFixtures::runFfmpeg((seconds.startsWith('#') ? select : seek) +
                                          QStringList{"-frames:v", "1", "-y", out}))
        return QImage();
    return QImage(out);
}

} // namespace

class TestInfoImages : public QObject
{
    Q_OBJECT

private slots:
    void sizes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<uint>("boxW");
        QTest::addColumn<uint>("boxH");
        QTest::addColumn<uint>("flags");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("source size") << "h264_aac.mp4" << 0u << 0u << 0u << QSize(320, 240);
        QTest::newRow("thumbnail box") << "h264_aac.mp4" << 120u << 67u << 0u << QSize(89, 67);
        QTest::newRow("wide box") << "h264_aac_640x360_30.mp4" << 200u << 200u << 0u << QSize(200, 113);
        QTest::newRow("width only") << "h264_aac.mp4" << 160u << 0u << 0u << QSize(160, 120);
        QTest::newRow("enlarged") << "h263_aac.3gp" << 352u << 288u << 0u << QSize(352, 288);
        QTest::newRow("odd size") << "odd_size.mkv" << 0u << 0u << 0u << QSize(321, 241);
        QTest::newRow("rotated upright") << "rotated90.mp4" << 0u << 0u << 0u << QSize(240, 320);
        QTest::newRow("rotated in box") << "rotated90.mp4" << 120u << 120u << 0u << QSize(90, 120);
        QTest::newRow("rotation ignored")
            << "rotated90.mp4" << 0u << 0u << uint(RSC_IMAGE_IGNORE_ROTATION) << QSize(320, 240);
        QTest::newRow("vp9") << "vp9_opus.webm" << 0u << 0u << 0u << QSize(320, 240);
        QTest::newRow("theora") << "theora_vorbis.ogv" << 0u << 0u << 0u << QSize(320, 240);
        QTest::newRow("mpeg-ts") << "h264_aac.ts" << 0u << 0u << 0u << QSize(320, 240);
        QTest::newRow("flv") << "flv1_mp3.flv" << 0u << 0u << 0u << QSize(320, 240);
        QTest::newRow("avi") << "mpeg4_mp3.avi" << 0u << 0u << 0u << QSize(320, 240);
    }

    // A complete BMP: the size at offset 2 is the buffer's size and decodes to the expected picture.
    void sizes()
    {
        QFETCH(QString, name);
        QFETCH(uint, boxW);
        QFETCH(uint, boxH);
        QFETCH(uint, flags);
        QFETCH(QSize, expected);
        for (uint32_t mode : {0u, 1u}) {
            const Still still = grab(name, 500000, mode, boxW, boxH, flags);
            QVERIFY(still.present);
            QCOMPARE(still.reportedSize, still.headerSize);
            QVERIFY(!still.image.isNull());
            QCOMPARE(still.image.size(), expected);
            const int rowBytes = (expected.width() * 3 + 3) & ~3;
            QCOMPARE(int(still.headerSize), 54 + rowBytes * expected.height());
        }
    }

    void noPictureWithoutVideo_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("mp3") << "audio.mp3";
        QTest::newRow("cover art is not video") << "cover_art.mp3";
        QTest::newRow("wav") << "audio.wav";
    }

    void noPictureWithoutVideo()
    {
        QFETCH(QString, name);
        QVERIFY(!grab(name, 0, 1, 0, 0, 0).present);
    }

    // The right frame, upright: compared with what the ffmpeg tool decodes at the same time.
    void frameContent_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<quint64>("time");
        QTest::addColumn<uint>("mode");
        QTest::addColumn<QString>("referenceTime");
        QTest::newRow("exact frame") << "h264_aac.mp4" << quint64(1500000) << 1u << "1.5";
        QTest::newRow("key frame before") << "h264_aac.mp4" << quint64(1500000) << 0u << "1";
        QTest::newRow("first frame") << "h264_aac.mp4" << quint64(0) << 1u << "0";
        QTest::newRow("rotated upright") << "rotated90.mp4" << quint64(1000000) << 1u << "1";
        QTest::newRow("matroska") << "mkv_subs_chapters_2audio.mkv" << quint64(2000000) << 1u << "2";
        // MPEG-TS seeks land on any picture, not a key frame; the picture must still be the one showing
        // (25 fps, a key frame every 25 pictures).
        QTest::newRow("mpeg-ts first group") << "h264_aac.ts" << quint64(674000) << 1u << "#16";
        QTest::newRow("mpeg-ts second group") << "h264_aac.ts" << quint64(1500000) << 1u << "#37";
    }

    void frameContent()
    {
        QFETCH(QString, name);
        QFETCH(quint64, time);
        QFETCH(uint, mode);
        QFETCH(QString, referenceTime);
        const Still still = grab(name, time, mode, 0, 0, 0);
        QVERIFY(still.present);
        const QImage expected = reference(name, referenceTime);
        QVERIFY(!expected.isNull());
        const double diff = difference(still.image, expected);
        QVERIFY2(diff < 6.0, qPrintable(QString("mean difference %1").arg(diff)));
    }

    // Among B-frames (some decoded, some skipped on the way to the target) the picture is still the one
    // showing at the time: nearer to it than to either neighbour.
    void exactFrameAmongBFrames_data()
    {
        QTest::addColumn<quint64>("time");
        QTest::addColumn<QString>("at");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("size");
        // Pictures 44, 73 and 30 of the clip are B-frames no other picture refers to.
        QTest::newRow("late in the group") << quint64(1760000) << "1.76"
                                           << "1.72"
                                           << "1.8"
                                           << "320x240";
        QTest::newRow("a B-frame") << quint64(2920000) << "2.92"
                                   << "2.88"
                                   << "2.96"
                                   << "320x240";
        QTest::newRow("between two frames") << quint64(1210000) << "1.2"
                                            << "1.16"
                                            << "1.24"
                                            << "320x240";
        // Large enough to be decoded on frame threads.
        QTest::newRow("threads, late in the group") << quint64(1760000) << "1.76"
                                                    << "1.72"
                                                    << "1.8"
                                                    << "704x480";
        QTest::newRow("threads, a B-frame") << quint64(2920000) << "2.92"
                                            << "2.88"
                                            << "2.96"
                                            << "704x480";
    }

    void exactFrameAmongBFrames()
    {
        QFETCH(quint64, time);
        QFETCH(QString, at);
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(QString, size);
        const QString clip = rstest::MediaFixtures::make(
            {size == "320x240" ? "bframes_25fps.mp4" : "bframes_25fps_" + size + ".mp4",
             QString("-f lavfi -i testsrc2=size=%1:rate=25:duration=4 -c:v libx264 -preset veryfast -bf 3 -g 50 "
                     "-pix_fmt yuv420p")
                 .arg(size)
                 .split(' ')});
        QVERIFY(!clip.isEmpty());
        const Still still = grab(clip, time, 1, 0, 0, 0);
        QVERIFY(still.present);
        const double exact = difference(still.image, reference(clip, at));
        const double earlier = difference(still.image, reference(clip, before));
        const double later = difference(still.image, reference(clip, after));
        QVERIFY2(
            exact < 6.0 && exact < earlier && exact < later,
            qPrintable(QString("differences %1 (at), %2 (before), %3 (after)").arg(exact).arg(earlier).arg(later)));
    }

    // The picture showing at a time in each container and codec with reordered or hidden pictures: found
    // among the packets first where they state their times, by decoding on where they do not (AVI).
    // 25 fps, a key frame every 2 s; pictures are counted from 0.
    void exactFrameInEachContainer_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("codec");
        QTest::addColumn<quint64>("time");
        QTest::addColumn<int>("picture");
        const QString x264 = "-c:v libx264 -preset veryfast -bf 3 -g 50 -pix_fmt yuv420p";
        for (quint64 time : {quint64(1780000), quint64(2900000)}) {
            const int picture = int(time / 40000);
            const QByteArray at = QByteArray::number(picture);
            QTest::newRow("h264 matroska " + at) << "exact_h264.mkv" << x264 << time << picture;
            QTest::newRow("h264 mpeg-ts " + at) << "exact_h264.ts" << x264 << time << picture;
            QTest::newRow("hevc mp4 " + at)
                << "exact_hevc.mp4"
                << "-c:v libx265 -preset ultrafast -x265-params bframes=3:keyint=50:min-keyint=50:log-level=error"
                << time << picture;
            QTest::newRow("mpeg-2 mpeg-ts " + at) << "exact_mpeg2.ts"
                                                  << "-c:v mpeg2video -bf 2 -g 50 -q:v 4" << time << picture;
            QTest::newRow("vp8 hidden pictures webm " + at)
                << "exact_vp8.webm"
                << "-c:v libvpx -auto-alt-ref 1 -lag-in-frames 16 -g 50 -b:v 600k" << time << picture;
            QTest::newRow("mpeg-4 b-frames avi " + at) << "exact_mpeg4.avi"
                                                       << "-c:v mpeg4 -bf 2 -g 50 -q:v 4" << time << picture;
        }
    }

    void exactFrameInEachContainer()
    {
        QFETCH(QString, name);
        QFETCH(QString, codec);
        QFETCH(quint64, time);
        QFETCH(int, picture);
        const QString clip = rstest::MediaFixtures::make(
            {name, ("-f lavfi -i testsrc2=size=320x240:rate=25:duration=4 " + codec).split(' ')});
        const Still still = grab(clip, time, 1, 0, 0, 0);
        QVERIFY(still.present);
        const double exact = difference(still.image, reference(clip, "#" + QString::number(picture)));
        const double earlier = difference(still.image, reference(clip, "#" + QString::number(picture - 1)));
        const double later = difference(still.image, reference(clip, "#" + QString::number(picture + 1)));
        QVERIFY2(
            exact < 6.0 && exact < earlier && exact < later,
            qPrintable(QString("differences %1 (at), %2 (before), %3 (after)").arg(exact).arg(earlier).arg(later)));
    }

    void frameNearTheEndIsTheLastOne_data()
    {
        QTest::addColumn<quint64>("time");
        QTest::newRow("a minute into a 2 s clip") << quint64(60000000);
        QTest::newRow("the largest time") << quint64(UINT64_MAX);
        QTest::newRow("just past the end") << quint64(2000001);
    }

    // Times beyond the end give the last frame (25 fps, 2 s: the frame at 1.96 s), never nothing.
    void frameNearTheEndIsTheLastOne()
    {
        QFETCH(quint64, time);
        const Still still = grab("h264_aac.mp4", time, 1, 0, 0, 0);
        QVERIFY(still.present);
        QCOMPARE(still.image.size(), QSize(320, 240));
        const double diff = difference(still.image, reference("h264_aac.mp4", "1.96"));
        QVERIFY2(diff < 6.0, qPrintable(QString("mean difference %1").arg(diff)));
    }

    // A sample aspect of 1000:1 would stretch 320 pixels to 320,000: the picture is fitted into the
    // largest image the library makes instead of failing or exhausting memory.
    void absurdSampleAspectIsBounded()
    {
        const QString path = rstest::MediaFixtures::make(
            {"sar_1000_to_1.mkv",
             {"-f", "lavfi", "-i", "testsrc=size=320x240:rate=25:duration=1", "-vf", "setsar=sar=1000/1:max=1000",
              "-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p"}});
        QVERIFY(!path.isEmpty());
        rsc_info *info = rsc_info_create(RSC_CREATE_DEFAULT);
        QCOMPARE(rsc_info_open_file(info, path.toUtf8().constData()), 1);
        unsigned char *bmp = rsc_info_get_video_image(info, 0, 0, 0, 0, 0);
        QVERIFY(bmp);
        QImage image;
        QVERIFY(image.loadFromData(bmp, int(rsc_info_get_video_image_size(info, bmp))));
        QCOMPARE(image.size(), QSize(16384, 12));
        rsc_info_free_video_image(info, bmp);
        // A box still gets its fitted picture.
        bmp = rsc_info_get_video_image(info, 0, 0, 120, 67, 0);
        QVERIFY(bmp && image.loadFromData(bmp, int(rsc_info_get_video_image_size(info, bmp))));
        QCOMPARE(image.size(), QSize(120, 1));
        rsc_info_free_video_image(info, bmp);
        rsc_info_release(info);
    }

    void coverDecodedFromMemory()
    {
        // The probe's fallback: a cover's bytes opened as a memory stream give a picture at time 0.
        rsc_info *info = rsc_info_create(RSC_CREATE_DEFAULT);
        QCOMPARE(rsc_info_open_file(info, rstest::MediaFixtures::standard("cover_art.mp3").toUtf8().constData()), 1);
        const unsigned char *data = rsc_info_get_metadata_data(info, "cover_image");
        const uint32_t size = rsc_info_get_metadata_size(info, "cover_image");
        QVERIFY(data && size > 0);
        rsc_memstream *stream = rsc_memstream_create(data, size, 0);
        rsc_info *cover = rsc_info_create(RSC_CREATE_DEFAULT);
        QCOMPARE(rsc_info_open_stream(cover, stream), 1);
        unsigned char *bmp = rsc_info_get_video_image(cover, 0, 1, 0, 0, 0);
        QVERIFY(bmp);
        QImage image;
        QVERIFY(image.loadFromData(bmp, int(rsc_info_get_video_image_size(cover, bmp))));
        QCOMPARE(image.size(), QSize(64, 64));
        QCOMPARE(rsc_info_free_video_image(cover, bmp), 1);
        QCOMPARE(rsc_info_free_video_image(cover, bmp), 0); // a second free is refused, not a double free
        rsc_info_release(cover);
        rsc_memstream_release(stream);
        rsc_info_release(info);
    }

    void foreignBuffersAreRefused()
    {
        rsc_info *a = rsc_info_create(RSC_CREATE_DEFAULT);
        rsc_info *b = rsc_info_create(RSC_CREATE_DEFAULT);
        const QByteArray path = rstest::MediaFixtures::standard("h264_aac.mp4").toUtf8();
        QCOMPARE(rsc_info_open_file(a, path.constData()), 1);
        QCOMPARE(rsc_info_open_file(b, path.constData()), 1);
        unsigned char *bmp = rsc_info_get_video_image(a, 0, 0, 0, 0, 0);
        QVERIFY(bmp);
        QCOMPARE(rsc_info_get_video_image_size(b, bmp), 0u);
        QCOMPARE(rsc_info_free_video_image(b, bmp), 0);
        unsigned char local[64] = {'B', 'M'};
        QCOMPARE(rsc_info_free_video_image(a, local), 0);
        QCOMPARE(rsc_info_free_video_image(a, bmp), 1);
        // Images still held when the object is released are freed with it (checked under the leak run).
        QVERIFY(rsc_info_get_video_image(a, 0, 0, 0, 0, 0));
        rsc_info_release(a);
        rsc_info_release(b);
    }
};

RS_TEST_MAIN(TestInfoImages)
#include "tst_info_images.moc"
