// Overlays stand on the clip's picture: every overlay (pictures of the three slots, one blended, one at its own
// size; the text; the subtitles) covers the same part of the picture in joins at several output sizes and
// aspects, and in the player's edited preview at several preview sizes. Measured in the decoded output by the
// boxes of their colours, as fractions of the picture (what is not the magenta padding).
#include "tst_edit_helpers.h"

#include <QFile>
#include <QMap>

using namespace edittest;
using namespace jobtest;
using rstest::MediaFixtures;

namespace {

constexpr uint32_t kMagenta = 0xFFFF00FF; // the padding

struct Scene
{
    QString clip;
    QRectF crop{0, 0, 1, 1};
    bool pad = true;
};

// Pictures and subtitles laid over the clip.
struct Items
{
    QByteArray blue, green, red, srt;
};

Items items()
{
    const QString dir = rstest::scratchDir(QStringLiteral("place"));
    auto picture = [&](const char *name, const QSize &size, QColor colour) {
        QImage img(size, QImage::Format_ARGB32);
        img.fill(colour);
        const QString path = dir + QLatin1Char('/') + QLatin1String(name);
        return img.save(path, "PNG") ? path.toUtf8() : QByteArray();
    };
    Items it{picture("blue.png", QSize(40, 40), Qt::blue), picture("green.png", QSize(64, 48), Qt::green),
             picture("red.png", QSize(40, 40), Qt::red), (dir + QStringLiteral("/cue.srt")).toUtf8()};
    QFile f(QString::fromUtf8(it.srt));
    if (f.open(QIODevice::WriteOnly))
        f.write("1\n00:00:00,000 --> 00:00:05,000\nWWWW\n\n");
    return it;
}

// A flat dark grey clip, so that every overlay's colour stands out.
QString greyClip(const QSize &size)
{
    return MediaFixtures::make({QStringLiteral("place_grey_%1x%2.mp4").arg(size.width()).arg(size.height()),
                                QString::fromLatin1("-f lavfi -i color=c=0x404040:s=%1x%2:r=25:d=1 -c:v libx264 "
                                                    "-preset ultrafast -qp 10 -pix_fmt yuv420p")
                                    .arg(size.width())
                                    .arg(size.height())
                                    .split(QLatin1Char(' '))});
}

// The same overlays in a join's edit and in the player: slot 1 (effect) a green picture at its own size,
// blended (screen); slot 2 (frame) a red one; slot 0 a blue one and a yellow text; subtitles.
void setUp(rsc_edit *e, const Scene &s, const Items &it)
{
    rsc_edit_set_pad(e, s.pad ? 1 : 0, kMagenta);
    if (s.crop != QRectF(0, 0, 1, 1))
        rsc_edit_set_crop(e, s.crop.x(), s.crop.y(), s.crop.width(), s.crop.height());
    rsc_edit_set_watermark_slot(e, 1);
    rsc_edit_set_watermark_image_file(e, it.green.constData());
    rsc_edit_set_watermark_image_position(e, 0.05, 0.05);
    rsc_edit_set_watermark_image_mix_mode(e, 1);
    rsc_edit_set_watermark_slot(e, 2);
    rsc_edit_set_watermark_image_file(e, it.red.constData());
    rsc_edit_set_watermark_image_position(e, 0.75, 0.05);
    rsc_edit_set_watermark_image_size(e, 0.2, 0.15);
    rsc_edit_set_watermark_slot(e, 0);
    rsc_edit_set_watermark_image_file(e, it.blue.constData());
    rsc_edit_set_watermark_image_position(e, 0.5, 0.25);
    rsc_edit_set_watermark_image_size(e, 0.2, 0.2);
    rsc_edit_set_watermark_text(e, "WWW");
    rsc_edit_set_watermark_text_position(e, 0.25, 0.6);
    rsc_edit_set_watermark_text_size(e, 24);
    rsc_edit_set_watermark_text_color(e, 0xFFFFFF00);
    rsc_edit_set_subtitle_file(e, it.srt.constData());
    rsc_edit_set_subtitle_size(e, 36);
    rsc_edit_set_subtitle_bold(e, 1);
}

bool setUp(rsc_player *p, const Scene &s, const Items &it)
{
    bool ok = rsc_player_set_video_pad_and_color(p, s.pad ? 1 : 0, kMagenta);
    if (s.crop != QRectF(0, 0, 1, 1))
        ok = ok && rsc_player_set_video_crop(p, s.crop.x(), s.crop.y(), s.crop.width(), s.crop.height());
    ok = ok && rsc_player_set_watermark_index(p, 1) && rsc_player_set_watermark_image_file(p, it.green.constData()) &&
         rsc_player_set_watermark_image_position(p, 0.05, 0.05) && rsc_player_set_watermark_image_mix_mode(p, 1);
    ok = ok && rsc_player_set_watermark_index(p, 2) && rsc_player_set_watermark_image_file(p, it.red.constData()) &&
         rsc_player_set_watermark_image_position(p, 0.75, 0.05) && rsc_player_set_watermark_image_size(p, 0.2, 0.15);
    ok = ok && rsc_player_set_watermark_index(p, 0) && rsc_player_set_watermark_image_file(p, it.blue.constData()) &&
         rsc_player_set_watermark_image_position(p, 0.5, 0.25) && rsc_player_set_watermark_image_size(p, 0.2, 0.2);
    ok = ok && rsc_player_set_watermark_text(p, "WWW") && rsc_player_set_watermark_text_position(p, 0.25, 0.6) &&
         rsc_player_set_watermark_text_size(p, 24) && rsc_player_set_watermark_text_color(p, 0xFFFFFF00);
    return ok && rsc_player_set_subtitle_file(p, it.srt.constData()) && rsc_player_set_subtitle_size(p, 36) &&
           rsc_player_set_subtitle_bold(p, 1);
}

bool isMagenta(QRgb p)
{
    return qRed(p) > 180 && qBlue(p) > 180 && qGreen(p) < 80;
}

// The box of the pixels that match inside `area`, in its pixels; a row or column with a single one (a colour
// bled from an edge) does not count.
QRect boxOf(const QImage &img, const QRect &area, const std::function<bool(QRgb)> &match)
{
    QVector<int> rows(area.height()), cols(area.width());
    for (int y = 0; y < area.height(); ++y) {
        for (int x = 0; x < area.width(); ++x) {
            if (match(img.pixel(area.x() + x, area.y() + y))) {
                ++rows[y];
                ++cols[x];
            }
        }
    }
    auto first = [](const QVector<int> &n) {
        return int(std::find_if(n.begin(), n.end(), [](int c) { return c > 1; }) - n.begin());
    };
    auto last = [](const QVector<int> &n) {
        return int(n.rend() - std::find_if(n.rbegin(), n.rend(), [](int c) { return c > 1; })) - 1;
    };
    return QRect(QPoint(first(cols), first(rows)), QPoint(last(cols), last(rows)));
}

// Each colour's box as fractions of the picture, and the picture's rectangle in the frame.
struct Layout
{
    QRect picture;
    QMap<int, QRectF> boxes;
};

Layout layoutOf(const QImage &img)
{
    Layout l;
    l.picture = boxOf(img, img.rect(), [](QRgb p) { return !isMagenta(p); });
    for (Colour c : {Blue, Green, Red, Yellow, White}) {
        const QRect b = boxOf(img, l.picture, [c](QRgb p) { return classify(p) == c; });
        const double w = l.picture.width(), h = l.picture.height();
        l.boxes[c] = b.isValid() ? QRectF(b.x() / w, b.y() / h, b.width() / w, b.height() / h) : QRectF();
    }
    return l;
}

QString text(const QRectF &r)
{
    return QStringLiteral("(%1, %2, %3 x %4)")
        .arg(r.x(), 0, 'f', 3)
        .arg(r.y(), 0, 'f', 3)
        .arg(r.width(), 0, 'f', 3)
        .arg(r.height(), 0, 'f', 3);
}

const char *name(int colour)
{
    static const char *const names[] = {"red picture", "green picture", "blue picture", "text", "", "subtitles"};
    return names[colour];
}

// Two boxes agree when each edge lies within `pixels` pixels of either picture.
bool agree(const QRectF &a, const QSize &pa, const QRectF &b, const QSize &pb, double pixels)
{
    const double tx = pixels / pa.width() + pixels / pb.width(), ty = pixels / pa.height() + pixels / pb.height();
    return qAbs(a.left() - b.left()) <= tx && qAbs(a.right() - b.right()) <= tx && qAbs(a.top() - b.top()) <= ty &&
           qAbs(a.bottom() - b.bottom()) <= ty;
}

} // namespace

class TestEditOverlays : public QObject
{
    Q_OBJECT

private slots:
    void overlaysStandOnThePicture_data();
    void overlaysStandOnThePicture();
};

void TestEditOverlays::overlaysStandOnThePicture_data()
{
    QTest::addColumn<QSize>("clipSize");
    QTest::addColumn<QRectF>("crop");
    QTest::addColumn<bool>("pad");
    QTest::addColumn<QSize>("picture"); // the clip's picture after the crop: the green picture's unit
    // Joined at 320x240, 640x480 and 1280x720; previewed at 320x240 and 640x480.
    QTest::newRow("16:9 clip: bars above and below, then none")
        << QSize(320, 180) << QRectF(0, 0, 1, 1) << true << QSize(320, 180);
    QTest::newRow("4:3 clip: no bars, then bars at the sides")
        << QSize(320, 240) << QRectF(0, 0, 1, 1) << true << QSize(320, 240);
    QTest::newRow("cropped to 2:3: bars at the sides")
        << QSize(320, 240) << QRectF(0.25, 0, 0.5, 1) << true << QSize(160, 240);
    QTest::newRow("16:9 clip, padding off: stretched")
        << QSize(320, 180) << QRectF(0, 0, 1, 1) << false << QSize(320, 180);
}

void TestEditOverlays::overlaysStandOnThePicture()
{
    QFETCH(QSize, clipSize);
    QFETCH(QRectF, crop);
    QFETCH(bool, pad);
    QFETCH(QSize, picture);
    const Scene scene{greyClip(clipSize), crop, pad};
    const Items it = items();
    QStringList seen;
    QList<Layout> layouts;
    const QString tag = QString::fromLatin1(QTest::currentDataTag()).left(12).remove(QLatin1Char(' '));
    for (const QSize &size : {QSize(320, 240), QSize(640, 480), QSize(1280, 720)}) {
        const QString out = convert(
            QStringLiteral("place-%1-%2").arg(tag).arg(size.width()), [&](rsc_edit *e) { setUp(e, scene, it); },
            size.width(), size.height(), scene.clip);
        QVERIFY(!out.isEmpty());
        const QImage img = frameAt(out, 0.5);
        QCOMPARE(img.size(), size);
        layouts << layoutOf(img);
        seen << QStringLiteral("join %1x%2").arg(size.width()).arg(size.height());
    }
    for (const QSize &size : {QSize(320, 240), QSize(640, 480)}) {
        rsc_player *player = rsc_player_create(RSC_CREATE_DEFAULT & ~RSC_CREATE_AUDIO_OUTPUT);
        QCOMPARE(rsc_player_open(player, scene.clip.toUtf8().constData(), size.width(), size.height(), 0, 0), 1);
        QVERIFY(setUp(player, scene, it));
        uint32_t w = 0, h = 0;
        QCOMPARE(rsc_player_get_preview_size(player, &w, &h), 1);
        QVERIFY(rsc_player_seek(player, 500000));
        unsigned char *bmp = rsc_player_capture_video_image(player, 0, 0, 0);
        QVERIFY(bmp);
        QImage img;
        img.loadFromData(bmp, int(rsc_player_get_buffer_size(player, bmp)), "BMP");
        rsc_player_free_video_image(player, bmp);
        // The edited preview is the picture: no bars, so a window shaped by the getter shows it whole.
        QCOMPARE(img.size(), QSize(int(w), int(h)));
        const Layout l = layoutOf(img);
        QCOMPARE(l.picture, img.rect());
        // The box getters: the own-size picture and the text, as the frame shows them.
        QVERIFY(rsc_player_set_watermark_index(player, 1));
        const QRectF green(rsc_player_watermark_image_pos_x(player), rsc_player_watermark_image_pos_y(player),
                           rsc_player_watermark_image_width(player), rsc_player_watermark_image_height(player));
        QVERIFY(rsc_player_set_watermark_index(player, 0));
        const QRectF textBox(rsc_player_watermark_text_pos_x(player), rsc_player_watermark_text_pos_y(player),
                             rsc_player_watermark_text_width(player), rsc_player_watermark_text_height(player));
        rsc_player_release(player);
        QVERIFY2(agree(green, img.size(), l.boxes[Green], img.size(), 2),
                 qPrintable(text(green) + QStringLiteral(" reported, shown ") + text(l.boxes[Green])));
        // The text's box holds the glyphs and their outline and shadow, a few pixels of the picture beyond.
        QVERIFY2(textBox.contains(l.boxes[Yellow]) && agree(textBox, picture, l.boxes[Yellow], picture, 4),
                 qPrintable(text(textBox) + QStringLiteral(" reported, shown ") + text(l.boxes[Yellow])));
        layouts << l;
        seen << QStringLiteral("preview %1x%2").arg(size.width()).arg(size.height());
    }
    // Where each overlay stands on the picture; the text and the subtitles are checked against each other.
    const QRectF green(0.05, 0.05, 64.0 / picture.width(), 48.0 / picture.height());
    const QMap<int, QRectF> expected{
        {Blue, QRectF(0.5, 0.25, 0.2, 0.2)}, {Green, green}, {Red, QRectF(0.75, 0.05, 0.2, 0.15)}};
    for (int i = 0; i < layouts.size(); ++i) {
        const QSize size = layouts[i].picture.size();
        for (int c : {Blue, Green, Red, Yellow, White}) {
            const QRectF box = layouts[i].boxes[c];
            QVERIFY2(!box.isEmpty(), qPrintable(seen[i] + QStringLiteral(": no ") + QLatin1String(name(c))));
            const QRectF want = expected.value(c, layouts[0].boxes[c]);
            const QSize wantSize = expected.contains(c) ? size : layouts[0].picture.size();
            QVERIFY2(agree(box, size, want, wantSize, 2),
                     qPrintable(seen[i] + QStringLiteral(": ") + QLatin1String(name(c)) + QStringLiteral(" at ") +
                                text(box) + QStringLiteral(", not ") + text(want)));
        }
        // The subtitles stand centred near the picture's bottom.
        const QRectF sub = layouts[i].boxes[White];
        QVERIFY2(qAbs(sub.center().x() - 0.5) < 0.02 && sub.bottom() > 0.85 && sub.bottom() < 0.97,
                 qPrintable(seen[i] + QStringLiteral(": subtitles at ") + text(sub)));
    }
}

RS_TEST_MAIN(TestEditOverlays)
#include "tst_edit_overlays.moc"
