// Picture edits measured in the output: each edit is applied by a real conversion and the frame at 1 s is
// read back with the ffmpeg tool.
#include "tst_edit_helpers.h"

#include "FileAccess.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <algorithm>
#include <atomic>
#include <csignal>
#include <functional>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace edittest;
using namespace jobtest;
using rstest::FFprobe;
using rstest::MediaFixtures;

namespace {

using SetUp = std::function<void(rsc_edit *)>;

// 3 s of red with a tone.
QString threeSeconds()
{
    return MediaFixtures::make(
        {QStringLiteral("edit_red_3s.mp4"),
         QString::fromLatin1("-f lavfi -i color=c=red:s=320x240:r=25:d=3 -f lavfi -i "
                             "sine=frequency=440:sample_rate=44100:duration=3 -c:v libx264 -preset ultrafast "
                             "-pix_fmt yuv420p -c:a aac")
             .split(QLatin1Char(' '))});
}

// White pictures for `seconds`: a video, or an animated PNG named as such files usually are. Two hours are an
// hour's minute copied over and over.
QString whiteMovie(int seconds, bool animatedPng = false)
{
    const QString piece = QString::fromLatin1("-f lavfi -i color=c=white:s=32x32:r=5:d=%1 ").arg(qMin(seconds, 60));
    if (animatedPng)
        return MediaFixtures::make({QStringLiteral("edit_white_%1s_apng.png").arg(seconds),
                                    (piece + QStringLiteral("-f apng -plays 0")).split(QLatin1Char(' '))});
    const QString video = MediaFixtures::make(
        {QStringLiteral("edit_white_%1s.mp4").arg(qMin(seconds, 60)),
         (piece + QStringLiteral("-c:v libx264 -preset ultrafast -pix_fmt yuv420p")).split(QLatin1Char(' '))});
    if (seconds <= 60)
        return video;
    return MediaFixtures::make({QStringLiteral("edit_white_%1s.mp4").arg(seconds),
                                {QStringLiteral("-stream_loop"), QString::number(seconds / 60 - 1),
                                 QStringLiteral("-i"), video, QStringLiteral("-c"), QStringLiteral("copy")}});
}

// White for 0.2 s, then black for 0.2 s, for ever, in the format and under the name given; undithered, so that a
// single pixel is white too.
QString blink(const QString &name, const QString &format)
{
    return MediaFixtures::make(
        {name,
         QString::fromLatin1("-f lavfi -i color=c=white:s=40x40:r=5:d=0.4 -vf drawbox=t=fill:c=black:enable=eq(n\\,1) "
                             "-sws_dither none %1 -f %2")
             .arg(format == QLatin1String("gif") ? QStringLiteral("-loop 0") : QStringLiteral("-plays 0"), format)
             .split(QLatin1Char(' '))});
}

// How many descriptors of process `pid` are open on files in `dir` (named or not).
int filesOpenIn(pid_t pid, const QString &dir)
{
    const QVector<rstest::OpenFile> files = rstest::openFiles(pid);
    return int(std::count_if(files.begin(), files.end(),
                             [&](const rstest::OpenFile &f) { return f.target.startsWith(dir + QLatin1Char('/')); }));
}

} // namespace

Q_DECLARE_METATYPE(SetUp)

class TestEditVideo : public QObject
{
    Q_OBJECT

private slots:
    void geometry_data();
    void geometry();
    void colourAdjustments();
    void displayRotationComesFirst();
    void programChoice();
    void watermarkPicture_data();
    void watermarkPicture();
    void watermarkPictureItems_data();
    void watermarkPictureItems();
    void textWatermark();
    void subtitles_data();
    void subtitles();
    void subtitlesOverEffects_data();
    void subtitlesOverEffects();
    void loopedAnimation_data();
    void loopedAnimation();
    void previewShowsTheJoinsAnimationPicture();
    void movingWatermarkKeepsTheClipsLength_data();
    void movingWatermarkKeepsTheClipsLength();
    void killedJoinLeavesNoTemporaryFiles();
};

void TestEditVideo::geometry_data()
{
    QTest::addColumn<SetUp>("setUp");
    QTest::addColumn<QSize>("size");
    // The colour expected at fractions of the output frame.
    QTest::addColumn<QList<QPointF>>("points");
    QTest::addColumn<QList<int>>("colours");
    const QList<QPointF> corners{{0.1, 0.1}, {0.9, 0.1}, {0.1, 0.9}, {0.9, 0.9}};
    QTest::newRow("none") << SetUp([](rsc_edit *) {}) << QSize(320, 240) << corners
                          << QList<int>{Green, Blue, Red, Yellow};
    QTest::newRow("mirror") << SetUp([](rsc_edit *e) { rsc_edit_set_mirror(e, 1); }) << QSize(320, 240) << corners
                            << QList<int>{Blue, Green, Yellow, Red};
    QTest::newRow("rotation 90 swaps the size") << SetUp([](rsc_edit *e) { rsc_edit_set_rotation(e, 90); })
                                                << QSize(240, 320) << corners << QList<int>{Red, Green, Yellow, Blue};
    QTest::newRow("rotation 180") << SetUp([](rsc_edit *e) { rsc_edit_set_rotation(e, 180); }) << QSize(320, 240)
                                  << corners << QList<int>{Yellow, Red, Blue, Green};
    QTest::newRow("rotation 270") << SetUp([](rsc_edit *e) { rsc_edit_set_rotation(e, 270); }) << QSize(240, 320)
                                  << corners << QList<int>{Blue, Yellow, Green, Red};
    // The right half, fitted into the 320x240 frame: padded at the sides with the pad colour.
    QTest::newRow("crop padded") << SetUp([](rsc_edit *e) { rsc_edit_set_crop(e, 0.5, 0.0, 0.5, 1.0); })
                                 << QSize(320, 240)
                                 << QList<QPointF>{{0.5, 0.25}, {0.5, 0.75}, {0.05, 0.5}, {0.95, 0.5}}
                                 << QList<int>{Blue, Yellow, Black, Black};
    QTest::newRow("crop padded white") << SetUp([](rsc_edit *e) {
        rsc_edit_set_crop(e, 0.5, 0.0, 0.5, 1.0);
        rsc_edit_set_pad(e, 1, 0xFFFFFFFF);
    }) << QSize(320, 240) << QList<QPointF>{{0.5, 0.25}, {0.05, 0.5}, {0.95, 0.5}}
                                       << QList<int>{Blue, White, White};
    QTest::newRow("crop stretched") << SetUp([](rsc_edit *e) {
        rsc_edit_set_crop(e, 0.5, 0.0, 0.5, 1.0);
        rsc_edit_set_pad(e, 0, 0xFF000000);
    }) << QSize(320, 240) << QList<QPointF>{{0.05, 0.25}, {0.95, 0.75}}
                                    << QList<int>{Blue, Yellow};
    QTest::newRow("aspect 16:9 padded") << SetUp([](rsc_edit *e) { rsc_edit_set_aspect(e, 16, 9); }) << QSize(320, 240)
                                        << QList<QPointF>{{0.5, 0.03}, {0.1, 0.3}, {0.9, 0.7}}
                                        << QList<int>{Black, Green, Yellow};
}

void TestEditVideo::geometry()
{
    QFETCH(SetUp, setUp);
    QFETCH(QSize, size);
    QFETCH(QList<QPointF>, points);
    QFETCH(QList<int>, colours);
    const int w = size.width(), h = size.height();
    // An explicit output size of 320x240 for the crop rows keeps the frame; the others take the edited size.
    const bool keepFrame = QByteArray(QTest::currentDataTag()).startsWith("crop") ||
                           QByteArray(QTest::currentDataTag()).startsWith("aspect");
    const QString out =
        convert(QString::fromLatin1(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('_')), setUp,
                keepFrame ? w : 0, keepFrame ? h : 0);
    QVERIFY(!out.isEmpty());
    const QImage img = frameAt(out, 1.0);
    QCOMPARE(img.size(), size);
    for (int i = 0; i < points.size(); ++i) {
        const QPoint p(int(points[i].x() * (w - 1)), int(points[i].y() * (h - 1)));
        QVERIFY2(classify(img.pixel(p)) == colours[i],
                 qPrintable(QStringLiteral("point %1,%2 is %3").arg(p.x()).arg(p.y()).arg(img.pixel(p), 8, 16)));
    }
}

void TestEditVideo::colourAdjustments()
{
    const QImage plain = frameAt(quadrants(), 1.0);
    const QRect redArea(20, 140, 100, 80);
    const QString dark = convert(QStringLiteral("brightness"), [](rsc_edit *e) { rsc_edit_set_brightness(e, -200); });
    const QImage darkImg = frameAt(dark, 1.0);
    QVERIFY(channelMean(darkImg, redArea, 0) < channelMean(plain, redArea, 0) - 100);

    const QString grey = convert(QStringLiteral("saturation"), [](rsc_edit *e) { rsc_edit_set_saturation(e, 0); });
    const QImage greyImg = frameAt(grey, 1.0);
    QVERIFY(qAbs(channelMean(greyImg, redArea, 0) - channelMean(greyImg, redArea, 1)) < 12);
    QVERIFY(qAbs(channelMean(greyImg, redArea, 0) - channelMean(greyImg, redArea, 2)) < 12);

    // Contrast 0 flattens every brightness to one level (seen without colour, which would clip).
    const QString flat = convert(QStringLiteral("contrast"), [](rsc_edit *e) {
        rsc_edit_set_contrast(e, 0);
        rsc_edit_set_saturation(e, 0);
    });
    const QImage flatImg = frameAt(flat, 1.0);
    const QRect greenArea(20, 20, 100, 80);
    QVERIFY(qAbs(channelMean(greyImg, redArea, 1) - channelMean(greyImg, greenArea, 1)) > 50);
    QVERIFY(qAbs(channelMean(flatImg, redArea, 1) - channelMean(flatImg, greenArea, 1)) < 8);

    // Hue 100 turns the colour wheel by 180 degrees: red becomes cyan.
    const QString turned = convert(QStringLiteral("hue"), [](rsc_edit *e) { rsc_edit_set_hue(e, 100); });
    const QImage turnedImg = frameAt(turned, 1.0);
    QVERIFY(channelMean(turnedImg, redArea, 1) > channelMean(turnedImg, redArea, 0) + 50);
    QVERIFY(channelMean(turnedImg, redArea, 2) > channelMean(turnedImg, redArea, 0) + 50);
}

void TestEditVideo::displayRotationComesFirst()
{
    // The same quadrants stored unturned, shown turned a quarter counter-clockwise ("rotate=90").
    const QString turned =
        MediaFixtures::make({QStringLiteral("edit_quadrants_rot90.mp4"),
                             {QStringLiteral("-i"), quadrants(), QStringLiteral("-c"), QStringLiteral("copy"),
                              QStringLiteral("-metadata:s:v:0"), QStringLiteral("rotate=90")}});
    const QString plain = convert(
        QStringLiteral("displayrot"), [](rsc_edit *) {}, 0, 0, turned);
    QVERIFY(!plain.isEmpty());
    QImage img = frameAt(plain, 1.0);
    QCOMPARE(img.size(), QSize(240, 320));
    QCOMPARE(classify(img.pixel(20, 20)), Blue);
    QCOMPARE(classify(img.pixel(220, 20)), Yellow);
    QCOMPARE(classify(img.pixel(20, 300)), Green);
    // A crop of the left half of the displayed picture keeps blue and green.
    const QString cropped = convert(
        QStringLiteral("displayrotcrop"), [](rsc_edit *e) { rsc_edit_set_crop(e, 0.0, 0.0, 0.5, 1.0); }, 0, 0, turned);
    img = frameAt(cropped, 1.0);
    QCOMPARE(img.size(), QSize(120, 320));
    QCOMPARE(classify(img.pixel(60, 20)), Blue);
    QCOMPARE(classify(img.pixel(60, 300)), Green);
}

void TestEditVideo::programChoice()
{
    // A transport stream with two programs: the quadrants with 440 Hz, a blue picture with 880 Hz.
    const QString ts =
        MediaFixtures::make({QStringLiteral("edit_two_programs.ts"),
                             {QStringLiteral("-i"),       quadrants(),
                              QStringLiteral("-f"),       QStringLiteral("lavfi"),
                              QStringLiteral("-i"),       QStringLiteral("color=c=blue:s=320x240:r=25:d=2"),
                              QStringLiteral("-f"),       QStringLiteral("lavfi"),
                              QStringLiteral("-i"),       QStringLiteral("sine=frequency=880:duration=2"),
                              QStringLiteral("-map"),     QStringLiteral("0:v"),
                              QStringLiteral("-map"),     QStringLiteral("0:a"),
                              QStringLiteral("-map"),     QStringLiteral("1:v"),
                              QStringLiteral("-map"),     QStringLiteral("2:a"),
                              QStringLiteral("-c:v"),     QStringLiteral("libx264"),
                              QStringLiteral("-preset"),  QStringLiteral("ultrafast"),
                              QStringLiteral("-qp"),      QStringLiteral("10"),
                              QStringLiteral("-c:a"),     QStringLiteral("aac"),
                              QStringLiteral("-program"), QStringLiteral("title=one:st=0:st=1"),
                              QStringLiteral("-program"), QStringLiteral("title=two:st=2:st=3"),
                              QStringLiteral("-f"),       QStringLiteral("mpegts")}});
    const QString first = convert(
        QStringLiteral("program0"), [](rsc_edit *) {}, 0, 0, ts);
    const QString second = convert(
        QStringLiteral("program1"), [](rsc_edit *e) { rsc_edit_set_program_index(e, 1); }, 0, 0, ts);
    QVERIFY(!first.isEmpty() && !second.isEmpty());
    QCOMPARE(classify(frameAt(first, 1.0).pixel(20, 20)), Green);
    const QImage blue = frameAt(second, 1.0);
    QCOMPARE(classify(blue.pixel(20, 20)), Blue);
    QCOMPARE(classify(blue.pixel(300, 220)), Blue);
}

void TestEditVideo::watermarkPicture_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<uint>("alpha");
    QTest::addColumn<uint>("mixMode");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<int>("expectedGreen"); // in the red quarter under the picture; -1 = leave unchecked
    // A white square over the red quarter at (0.1, 0.6), 0.2 x 0.2 of the frame.
    QTest::newRow("watermark") << 0 << 255u << 0u << QStringLiteral("white.png") << 255;
    QTest::newRow("half transparent") << 0 << 128u << 0u << QStringLiteral("white half.png") << 128;
    QTest::newRow("awkward file name") << 0 << 255u << 0u << QStringLiteral("wm 'q' [a],b;c:d é.png") << 255;
    QTest::newRow("frame overlay slot") << 2 << 255u << 0u << QStringLiteral("white2.png") << 255;
    QTest::newRow("effect slot screen blend") << 1 << 255u << 1u << QStringLiteral("grey.png") << 128;
    QTest::newRow("multiply keeps red") << 1 << 255u << 2u << QStringLiteral("white3.png") << 0;
}

void TestEditVideo::watermarkPicture()
{
    QFETCH(int, slot);
    QFETCH(uint, alpha);
    QFETCH(uint, mixMode);
    QFETCH(QString, fileName);
    QFETCH(int, expectedGreen);
    const QColor colour = fileName.startsWith(QLatin1String("grey")) ? QColor(128, 128, 128) : QColor(Qt::white);
    const QString png = writePng(fileName, QSize(40, 40), colour);
    const QString out =
        convert(QStringLiteral("watermark%1").arg(QTest::currentDataTag()).remove(QLatin1Char(' ')), [&](rsc_edit *e) {
            rsc_edit_set_watermark_slot(e, slot);
            rsc_edit_set_watermark_image_file(e, png.toUtf8().constData());
            rsc_edit_set_watermark_image_position(e, 0.1, 0.6);
            rsc_edit_set_watermark_image_size(e, 0.2, 0.2);
            rsc_edit_set_watermark_image_alpha(e, alpha);
            rsc_edit_set_watermark_image_mix_mode(e, mixMode);
        });
    QVERIFY(!out.isEmpty());
    const QImage img = frameAt(out, 1.0);
    // Inside the picture (x 32..96, y 144..192) and beside it.
    const QRect inside(40, 150, 48, 36), beside(110, 150, 40, 36);
    QVERIFY2(qAbs(channelMean(img, inside, 1) - expectedGreen) < 25,
             qPrintable(QString::number(channelMean(img, inside, 1))));
    QVERIFY(channelMean(img, beside, 1) < 40);
    QVERIFY(channelMean(img, beside, 0) > 200);
}

void TestEditVideo::watermarkPictureItems_data()
{
    // A 40x40 picture: white left half, black right half, laid over the red quarter at (0.1, 0.6) with a
    // 0.25 x 0.25 box (80 x 60 output pixels: x 32..112, y 144..204).
    QTest::addColumn<SetUp>("setUp");
    QTest::addColumn<int>("leftGreen");  // mean green around (46, 156): the box's left part
    QTest::addColumn<int>("rightGreen"); // around (92, 156): its right part
    QTest::addColumn<int>("rightRed");
    QTest::newRow("as it is") << SetUp([](rsc_edit *) {}) << 255 << 0 << 0;
    QTest::newRow("mirror") << SetUp([](rsc_edit *e) { rsc_edit_set_watermark_image_mirror(e, 1); }) << 0 << 255 << 255;
    QTest::newRow("crop to the white half")
        << SetUp([](rsc_edit *e) { rsc_edit_set_watermark_image_crop(e, 0.0, 0.0, 0.5, 1.0); }) << 255 << 255 << 255;
    QTest::newRow("mask hides the right half") << SetUp([](rsc_edit *e) {
        const QString mask = rstest::scratchDir(QStringLiteral("mask")) + QStringLiteral("/mask.png");
        QImage m(40, 40, QImage::Format_RGB32);
        m.fill(Qt::black);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 20; ++x)
                m.setPixel(x, y, qRgb(255, 255, 255));
        m.save(mask);
        rsc_edit_set_watermark_image_mask_file(e, mask.toUtf8().constData());
    }) << 255 << 0 << 255; // the red frame shows through the black half
    QTest::newRow("half scale") << SetUp([](rsc_edit *e) { rsc_edit_set_watermark_image_scale(e, 50, 50); }) << 255 << 0
                                << 255; // 40 x 30: the right part of the box is red again
    // Four times its own size (160 x 160 from y 144): the frame's edge cuts it; turned half round, its black
    // half comes to the left.
    QTest::newRow("cut by the frame, turned") << SetUp([](rsc_edit *e) {
        rsc_edit_set_watermark_image_size(e, 0, 0);
        rsc_edit_set_watermark_image_scale(e, 400, 400);
        rsc_edit_set_watermark_image_angle(e, 180);
    }) << 0 << 0 << 0;
}

void TestEditVideo::watermarkPictureItems()
{
    QFETCH(SetUp, setUp);
    QFETCH(int, leftGreen);
    QFETCH(int, rightGreen);
    QFETCH(int, rightRed);
    QImage pic(40, 40, QImage::Format_ARGB32);
    pic.fill(Qt::black);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 20; ++x)
            pic.setPixel(x, y, qRgb(255, 255, 255));
    const QString png = rstest::scratchDir(QStringLiteral("halves")) + QStringLiteral("/halves.png");
    QVERIFY(pic.save(png));
    const QString out = convert(QStringLiteral("items"), [&](rsc_edit *e) {
        rsc_edit_set_watermark_slot(e, 0);
        rsc_edit_set_watermark_image_file(e, png.toUtf8().constData());
        rsc_edit_set_watermark_image_position(e, 0.1, 0.6);
        rsc_edit_set_watermark_image_size(e, 0.25, 0.25);
        setUp(e);
    });
    QVERIFY(!out.isEmpty());
    const QImage img = frameAt(out, 1.0);
    const QRect left(40, 150, 12, 12), right(86, 150, 12, 12);
    QVERIFY2(qAbs(channelMean(img, left, 1) - leftGreen) < 40, qPrintable(QString::number(channelMean(img, left, 1))));
    QVERIFY2(qAbs(channelMean(img, right, 1) - rightGreen) < 40,
             qPrintable(QString::number(channelMean(img, right, 1))));
    QVERIFY2(qAbs(channelMean(img, right, 0) - rightRed) < 40, qPrintable(QString::number(channelMean(img, right, 0))));
}

void TestEditVideo::textWatermark()
{
    const QRect area(10, 130, 200, 100); // the red quarter
    auto whitePixels = [&](const QImage &img) {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                n += classify(img.pixel(x, y)) == White;
        return n;
    };
    const QString plain = convert(QStringLiteral("notext"), [](rsc_edit *) {});
    QCOMPARE(whitePixels(frameAt(plain, 1.0)), 0);
    const QString out = convert(QStringLiteral("text"), [](rsc_edit *e) {
        rsc_edit_set_watermark_slot(e, 0);
        rsc_edit_set_watermark_text(e, "H{e}l\\N 'x':y");
        rsc_edit_set_watermark_text_position(e, 0.05, 0.6);
        rsc_edit_set_watermark_text_size(e, 40);
        rsc_edit_set_watermark_text_bold(e, 1);
        rsc_edit_set_watermark_text_color(e, 0xFFFFFFFF);
    });
    QVERIFY(!out.isEmpty());
    QVERIFY(whitePixels(frameAt(out, 1.0)) > 300);
}

void TestEditVideo::subtitles_data()
{
    QTest::addColumn<bool>("fromFile");
    QTest::newRow("subtitle file") << true;
    QTest::newRow("internal stream") << false;
}

void TestEditVideo::subtitles()
{
    QFETCH(bool, fromFile);
    const QString srt = rstest::scratchDir(QStringLiteral("subs")) + QStringLiteral("/my subs: 'é'.srt");
    QFile f(srt);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("1\n00:00:00,000 --> 00:00:02,000\nWWWWWW\n\n");
    f.close();
    const QRect bottom(0, 180, 320, 60);
    auto whitePixels = [&](const QImage &img) {
        int n = 0;
        for (int y = bottom.top(); y <= bottom.bottom(); ++y)
            for (int x = bottom.left(); x < img.width(); ++x)
                n += classify(img.pixel(x, y)) == White;
        return n;
    };
    QString out;
    if (fromFile) {
        out = convert(QStringLiteral("subfile"), [&](rsc_edit *e) {
            rsc_edit_set_subtitle_file(e, srt.toUtf8().constData());
            rsc_edit_set_subtitle_size(e, 30);
        });
        QVERIFY(!out.isEmpty());
        QVERIFY2(whitePixels(frameAt(out, 1.0)) > 200, qPrintable(QString::number(whitePixels(frameAt(out, 1.0)))));
    } else {
        // The fixture's subtitle stream shows "Hello subtitle" from 0.2 s to 1.5 s.
        const QString src = MediaFixtures::standard(QStringLiteral("mkv_subs_chapters_2audio.mkv"));
        auto run = [&](const QString &name, int stream) {
            const QString path = rstest::scratchDir(name) + QStringLiteral("/out.mp4");
            rsc_edit *e = rsc_edit_create();
            rsc_edit_enable_video_edits(e, 1);
            rsc_edit_set_subtitle_stream(e, stream);
            rsc_edit_set_subtitle_size(e, 30);
            rsc_edit_set_encoder_options(e, "preset=ultrafast:qp=10");
            const Outcome r = runMerge(false, path, QStringLiteral("mp4"), {Task{src, 0, 3000000, e}});
            return r.failed ? QString() : path;
        };
        const QString with = run(QStringLiteral("substream"), 0), without = run(QStringLiteral("nosub"), -1);
        QVERIFY(!with.isEmpty() && !without.isEmpty());
        const int shown = whitePixels(frameAt(with, 1.0)), plain = whitePixels(frameAt(without, 1.0));
        QVERIFY2(shown > plain + 150, qPrintable(QStringLiteral("%1 %2").arg(shown).arg(plain)));
        // Gone between 1.5 s and the next line at 2 s.
        QVERIFY(qAbs(whitePixels(frameAt(with, 1.75)) - whitePixels(frameAt(without, 1.75))) < 20);
    }
}

void TestEditVideo::subtitlesOverEffects_data()
{
    QTest::addColumn<bool>("preview");
    QTest::newRow("join") << false;
    QTest::newRow("preview") << true;
}

// Subtitles are drawn over the effect, frame and watermark pictures: a white cue stands in a letterbox's
// bottom bar, in the output and in the preview alike.
void TestEditVideo::subtitlesOverEffects()
{
    QFETCH(bool, preview);
    const QString dir = rstest::scratchDir(QStringLiteral("letterbox"));
    QImage bars(320, 240, QImage::Format_ARGB32);
    bars.fill(Qt::transparent);
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320 && (y < 60 || y >= 180); ++x)
            bars.setPixel(x, y, qRgb(0, 0, 0));
    const QByteArray effect = (dir + QStringLiteral("/letterbox.png")).toUtf8();
    QVERIFY(bars.save(QString::fromUtf8(effect)));
    const QByteArray srt = (dir + QStringLiteral("/cue.srt")).toUtf8();
    QFile f(QString::fromUtf8(srt));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("1\n00:00:00,000 --> 00:00:02,000\nWWWWWW\n\n");
    f.close();
    QImage img;
    if (!preview) {
        const QString out = convert(QStringLiteral("letterbox"), [&](rsc_edit *e) {
            rsc_edit_set_watermark_slot(e, 1);
            rsc_edit_set_watermark_image_file(e, effect.constData());
            rsc_edit_set_watermark_image_size(e, 1.0, 1.0);
            rsc_edit_set_subtitle_file(e, srt.constData());
            rsc_edit_set_subtitle_size(e, 30);
        });
        QVERIFY(!out.isEmpty());
        img = frameAt(out, 1.0);
    } else {
        rsc_player *player = rsc_player_create(RSC_CREATE_DEFAULT & ~RSC_CREATE_AUDIO_OUTPUT);
        QCOMPARE(rsc_player_open(player, quadrants().toUtf8().constData(), 320, 240, 0, 0), 1);
        QVERIFY(rsc_player_set_watermark_index(player, 1));
        QVERIFY(rsc_player_set_watermark_image_file(player, effect.constData()));
        QVERIFY(rsc_player_set_watermark_image_size(player, 1.0, 1.0));
        QVERIFY(rsc_player_set_subtitle_file(player, srt.constData()));
        QVERIFY(rsc_player_set_subtitle_size(player, 30));
        QVERIFY(rsc_player_seek(player, 1000000));
        img = captured(player);
        rsc_player_release(player);
    }
    QCOMPARE(img.size(), QSize(320, 240));
    int white = 0;
    for (int y = 180; y < 240; ++y)
        for (int x = 0; x < 320; ++x)
            white += classify(img.pixel(x, y)) == White;
    QVERIFY2(white > 200, qPrintable(QString::number(white)));
    QCOMPARE(classify(img.pixel(5, 235)), Black); // the bar is there
    QCOMPARE(classify(img.pixel(20, 150)), Red);  // and the picture between the bars
}

void TestEditVideo::loopedAnimation_data()
{
    QTest::addColumn<QString>("animation");
    QTest::addColumn<uint>("scale");
    QTest::addColumn<bool>("loop");
    const QString gif = blink(QStringLiteral("edit_blink_plain.gif"), QStringLiteral("gif"));
    QTest::newRow("GIF in its box") << gif << 100u << true;
    // A box of 80000 x 60000 pixels: each picture is cut to the part the frame shows.
    QTest::newRow("GIF scaled far beyond the frame") << gif << 100000u << true;
    // What the file holds decides, not its name.
    QTest::newRow("animated PNG named .png")
        << blink(QStringLiteral("edit_blink_apng.png"), QStringLiteral("apng")) << 100u << true;
    QTest::newRow("animated PNG named .apng")
        << blink(QStringLiteral("edit_blink.apng"), QStringLiteral("apng")) << 100u << true;
    QTest::newRow("GIF named .dat") << blink(QStringLiteral("edit_blink_gif.dat"), QStringLiteral("gif")) << 100u
                                    << true;
    QTest::newRow("animated PNG named .png, loop off")
        << blink(QStringLiteral("edit_blink_apng.png"), QStringLiteral("apng")) << 100u << false;
    QTest::newRow("GIF, loop off") << gif << 100u << false;
    // A video faster than the repeats of an ended picture keeps its own pace: black from its second 1 on.
    QTest::newRow("video of 200 pictures a second")
        << MediaFixtures::make({QStringLiteral("edit_blink_200fps.mp4"),
                                QString::fromLatin1("-f lavfi -i color=c=white:s=40x40:r=200:d=2 -vf "
                                                    "drawbox=t=fill:c=black:enable=gte(t\\,1) -c:v libx264 "
                                                    "-preset ultrafast -pix_fmt yuv420p")
                                    .split(QLatin1Char(' '))})
        << 100u << false;
}

// A looped animation goes on through the clip, each round's pictures at their own times; unlooped, its last
// picture stays.
void TestEditVideo::loopedAnimation()
{
    QFETCH(QString, animation);
    QFETCH(uint, scale);
    QFETCH(bool, loop);
    const QString out =
        convert(QStringLiteral("blink%1").arg(QTest::currentDataTag()).remove(QLatin1Char(' ')), [&](rsc_edit *e) {
            rsc_edit_set_watermark_image_file(e, animation.toUtf8().constData());
            rsc_edit_set_watermark_image_position(e, 0.1, 0.6);
            rsc_edit_set_watermark_image_size(e, 0.25, 0.25);
            rsc_edit_set_watermark_image_scale(e, scale, scale);
            rsc_edit_set_watermark_image_loop(e, loop ? 1 : 0);
        });
    QVERIFY(!out.isEmpty());
    // 0.1 s and 0.3 s into the fourth round.
    QCOMPARE(classify(frameAt(out, 1.3).pixel(60, 170)), loop ? White : Black);
    QCOMPARE(classify(frameAt(out, 1.5).pixel(60, 170)), Black);
}

// A paused preview shows an animation at the picture a join shows on that frame: one that changes twice a frame
// of the clip tells a frame's time from any later time within it.
void TestEditVideo::previewShowsTheJoinsAnimationPicture()
{
    const QString animation = MediaFixtures::make(
        {QStringLiteral("edit_flicker_50.apng"),
         QString::fromLatin1(
             "-f lavfi -i color=c=white:s=40x40:r=50:d=0.4 -vf drawbox=t=fill:c=black:enable=mod(n\\,2) "
             "-sws_dither none -plays 0 -f apng")
             .split(QLatin1Char(' '))});
    const QByteArray file = animation.toUtf8();
    const QString out = convert(QStringLiteral("flicker"), [&](rsc_edit *e) {
        rsc_edit_set_watermark_image_file(e, file.constData());
        rsc_edit_set_watermark_image_position(e, 0.1, 0.6);
        rsc_edit_set_watermark_image_size(e, 0.25, 0.25);
    });
    QVERIFY(!out.isEmpty());
    rsc_player *player = rsc_player_create(RSC_CREATE_DEFAULT & ~RSC_CREATE_AUDIO_OUTPUT);
    QCOMPARE(rsc_player_open(player, quadrants().toUtf8().constData(), 320, 240, 0, 0), 1);
    QVERIFY(rsc_player_set_watermark_image_file(player, file.constData()));
    QVERIFY(rsc_player_set_watermark_image_position(player, 0.1, 0.6));
    QVERIFY(rsc_player_set_watermark_image_size(player, 0.25, 0.25));
    for (const double at : {1.0, 1.04}) {
        QVERIFY(rsc_player_seek(player, quint64(at * 1e6)));
        const Colour joined = classify(frameAt(out, at).pixel(60, 170));
        QVERIFY(joined == White || joined == Black);
        QCOMPARE(classify(captured(player).pixel(60, 170)), joined);
    }
    rsc_player_release(player);
}

void TestEditVideo::movingWatermarkKeepsTheClipsLength_data()
{
    QTest::addColumn<QString>("watermark");
    QTest::addColumn<uint>("mixMode");
    QTest::addColumn<bool>("preview");
    QTest::newRow("video of 60 s") << whiteMovie(60) << 0u << false;
    QTest::newRow("video of 60 s, screen blend") << whiteMovie(60) << 1u << false;
    QTest::newRow("animated PNG of 20 s") << whiteMovie(20, true) << 0u << false;
    QTest::newRow("video of 2 hours") << whiteMovie(7200) << 0u << false;
    QTest::newRow("video of 1 s: its last picture stays") << whiteMovie(1) << 0u << false;
    QTest::newRow("preview, video of 2 hours") << whiteMovie(7200) << 0u << true;
    QTest::newRow("preview, video of 1 s") << whiteMovie(1) << 0u << true;
    QTest::newRow("preview, video of 60 s, screen blend") << whiteMovie(60) << 1u << true;
}

// A watermark that moves (a video, an animation) is laid over the clip for as long as the clip lasts, however
// long it runs itself; one that ends first leaves its last picture. A watermark of hours is read no further
// than the clip (the conversion's bound is a minute).
void TestEditVideo::movingWatermarkKeepsTheClipsLength()
{
    QFETCH(QString, watermark);
    QFETCH(uint, mixMode);
    QFETCH(bool, preview);
    if (preview) {
        rsc_player *player = rsc_player_create(RSC_CREATE_DEFAULT & ~RSC_CREATE_AUDIO_OUTPUT);
        QCOMPARE(rsc_player_open(player, threeSeconds().toUtf8().constData(), 320, 240, 0, 0), 1);
        QVERIFY(rsc_player_set_watermark_image_file(player, watermark.toUtf8().constData()));
        QVERIFY(rsc_player_set_watermark_image_position(player, 0.1, 0.6));
        QVERIFY(rsc_player_set_watermark_image_size(player, 0.2, 0.2));
        QVERIFY(rsc_player_set_watermark_image_mix_mode(player, mixMode));
        QVERIFY(rsc_player_seek(player, 2500000));
        QVERIFY(rsc_player_play(player));
        QTRY_COMPARE_WITH_TIMEOUT(rsc_player_is_completed(player), 1, rstest::kHangBoundMs);
        QCOMPARE(rsc_player_play_time(player), rsc_player_duration(player));
        const QImage last = captured(player);
        rsc_player_release(player);
        QVERIFY(!last.isNull());
        QVERIFY(channelMean(last, QRect(40, 150, 48, 36), 1) > 200);
        QCOMPARE(classify(last.pixel(200, 60)), Red);
        return;
    }
    const QString out = convert(
        QStringLiteral("moving-watermark"),
        [&](rsc_edit *e) {
            rsc_edit_set_watermark_image_file(e, watermark.toUtf8().constData());
            rsc_edit_set_watermark_image_position(e, 0.1, 0.6);
            rsc_edit_set_watermark_image_size(e, 0.2, 0.2);
            rsc_edit_set_watermark_image_mix_mode(e, mixMode);
        },
        0, 0, threeSeconds());
    QVERIFY(!out.isEmpty());
    for (const QString &kind : {QStringLiteral("video"), QStringLiteral("audio")}) {
        const double seconds = FFprobe::streamDurationSeconds(out, kind);
        QVERIFY2(qAbs(seconds - 3.0) < 0.1, qPrintable(QStringLiteral("%1 %2 s").arg(kind).arg(seconds)));
    }
    const QImage last = frameAt(out, 2.9);
    QVERIFY(channelMean(last, QRect(40, 150, 48, 36), 1) > 200);
    QCOMPARE(classify(last.pixel(200, 60)), Red);
}

void TestEditVideo::killedJoinLeavesNoTemporaryFiles()
{
    // A join with a still picture and a text watermark, beside a preview with them, is killed (SIGKILL) while
    // it runs: the files their graphs read have no names, so the temporary folder is left as it was.
    const QString tmp = rstest::scratchDir(QStringLiteral("killed-tmpdir"));
    QDir(tmp).removeRecursively();
    QVERIFY(QDir().mkpath(tmp));
    const QByteArray picture = writePng(QStringLiteral("killed.png"), QSize(64, 48), Qt::yellow).toUtf8();
    const QByteArray clip = longClip().toUtf8();
    const QByteArray out = (rstest::scratchDir(QStringLiteral("killed-out")) + QStringLiteral("/out.mp4")).toUtf8();
    const QByteArray tmpPath = tmp.toUtf8();
    int ready[2];
    QCOMPARE(::pipe(ready), 0);
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        ::close(ready[0]);
        ::setenv("TMPDIR", tmpPath.constData(), 1);
        rsc_player *player = rsc_player_create(RSC_CREATE_DEFAULT & ~RSC_CREATE_AUDIO_OUTPUT);
        static std::atomic<int> shown{0};
        rsc_player_set_video_frame_handler(
            player, [](void *, void *) -> unsigned { return ++shown, 1u; }, nullptr);
        rsc_player_open(player, clip.constData(), 320, 180, 0, 0);
        rsc_player_set_watermark_image_file(player, picture.constData());
        rsc_player_set_watermark_text(player, "Preview");
        rsc_player_seek(player, 1000000);
        for (int i = 0; i < 200 && shown == 0; ++i) // an edited frame shown: its graph is built
            ::usleep(50000);
        rsc_edit *edit = rsc_edit_create();
        rsc_edit_enable_video_edits(edit, 1);
        rsc_edit_set_watermark_image_file(edit, picture.constData());
        rsc_edit_set_watermark_text(edit, "Joined");
        rsc_job *job = rsc_job_create_merge(RSC_CREATE_DEFAULT);
        if (rsc_job_open_output(job, out.constData(), "mp4", nullptr) != 1 || rsc_job_start(job) != 1 ||
            rsc_job_add_task(job, clip.constData(), 0, 0, edit) != 1)
            ::_exit(1);
        while (rsc_job_done(job) < 1000000 && !rsc_job_is_finished(job)) // a second of 20 joined
            rsc_job_wait(job, 20);
        if (::write(ready[1], "1", 1) != 1)
            ::_exit(1);
        for (;;)
            rsc_job_wait(job, 1000);
    }
    ::close(ready[1]);
    pollfd running{ready[0], POLLIN, 0};
    const bool joining = ::poll(&running, 1, 6 * rstest::kHangBoundMs) == 1 && (running.revents & POLLIN);
    const int held = filesOpenIn(child, tmp);
    ::kill(child, SIGKILL);
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    ::close(ready[0]);
    QVERIFY2(joining, "the join did not start");
    const QStringList left = QDir(tmp).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    QVERIFY2(left.isEmpty(), qPrintable(left.join(QLatin1Char(' '))));
    // The preview's and the join's pictures and scripts were there, open and unnamed.
    QVERIFY2(held >= 4, qPrintable(QString::number(held)));
}

RS_TEST_MAIN(TestEditVideo)
#include "tst_edit_video.moc"
