// packagegen: draws the pictures of the shipped effect, frame and sound-effect packages.
//
// Usage: packagegen --out <resource folder>
// Writes <resource folder>/VideoEffects/<package>/, VideoFrames/<package>/ and AudioEffects/<package>/
// pictures: every package gets "thumb.png" (its 92x92 list tile); effects and frames get one picture per
// aspect, "16x9.png" (640x360) and "4x3.png" (480x360), named by the package's config.xml. Effect pictures
// carry alpha or are drawn on black for the screen blend (mix mode 1). The exit code is 0 only when every
// picture was written.

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>

#include <cmath>
#include <cstdio>
#include <functional>

namespace {

using Draw = std::function<void(QPainter &, const QSize &)>;

struct Package
{
    const char *folder; // below the resource folder
    Draw draw;          // one aspect's picture
    bool onBlack;       // drawn for the screen blend: opaque, black = no change
};

const QColor kWhite(255, 255, 255);

void vignette(QPainter &p, const QSize &s)
{
    // Reaches the corners: the radius is half the diagonal.
    const double r = std::hypot(s.width(), s.height()) / 2.0;
    QRadialGradient g(QPointF(s.width() / 2.0, s.height() / 2.0), r);
    g.setColorAt(0.0, QColor(0, 0, 0, 0));
    g.setColorAt(0.45, QColor(0, 0, 0, 0));
    g.setColorAt(0.85, QColor(0, 0, 0, 190));
    g.setColorAt(1.0, QColor(0, 0, 0, 240));
    p.fillRect(QRect(QPoint(0, 0), s), g);
}

void oldFilm(QPainter &p, const QSize &s)
{
    QRandomGenerator rng(7);                                     // the same grain on every build
    p.fillRect(QRect(QPoint(0, 0), s), QColor(112, 66, 20, 60)); // sepia cast
    for (int i = 0; i < s.width() * s.height() / 40; ++i) {
        const int x = rng.bounded(s.width()), y = rng.bounded(s.height());
        const int v = rng.bounded(2) ? 255 : 0;
        p.fillRect(x, y, 1, 1, QColor(v, v, v, 40 + rng.bounded(60)));
    }
    p.setPen(QPen(QColor(240, 235, 220, 150), 1.2));
    for (int i = 0; i < 7; ++i) {
        const double x = rng.bounded(s.width());
        p.drawLine(QPointF(x, 0), QPointF(x + rng.bounded(9) - 4, s.height()));
    }
    for (int i = 0; i < 12; ++i) {
        const int x = rng.bounded(s.width()), y = rng.bounded(s.height());
        p.setBrush(QColor(20, 15, 10, 170));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(x, y), 1.5 + rng.bounded(3), 1 + rng.bounded(2));
    }
}

void lightLeak(QPainter &p, const QSize &s)
{
    p.fillRect(QRect(QPoint(0, 0), s), Qt::black);
    QRadialGradient a(QPointF(s.width() * 0.05, s.height() * 0.1), s.width() * 0.6);
    a.setColorAt(0.0, QColor(255, 150, 40));
    a.setColorAt(1.0, QColor(0, 0, 0));
    p.setCompositionMode(QPainter::CompositionMode_Plus);
    p.fillRect(QRect(QPoint(0, 0), s), a);
    QRadialGradient b(QPointF(s.width() * 0.95, s.height() * 0.9), s.width() * 0.45);
    b.setColorAt(0.0, QColor(200, 40, 90));
    b.setColorAt(1.0, QColor(0, 0, 0));
    p.fillRect(QRect(QPoint(0, 0), s), b);
}

void letterbox(QPainter &p, const QSize &s)
{
    // Bars that leave a 2.39:1 picture.
    const int visible = qRound(s.width() / 2.39);
    const int bar = qMax(0, (s.height() - visible) / 2);
    p.fillRect(0, 0, s.width(), bar, Qt::black);
    p.fillRect(0, s.height() - bar, s.width(), bar, Qt::black);
}

void snow(QPainter &p, const QSize &s)
{
    QRandomGenerator rng(11);
    p.fillRect(QRect(QPoint(0, 0), s), Qt::black);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < s.width() * s.height() / 250; ++i) {
        const double r = 1.2 + rng.bounded(3.5);
        const int v = 170 + rng.bounded(86);
        p.setBrush(QColor(v, v, v));
        p.drawEllipse(QPointF(rng.bounded(s.width()), rng.bounded(s.height())), r, r);
    }
}

void softGlow(QPainter &p, const QSize &s)
{
    p.fillRect(QRect(QPoint(0, 0), s), Qt::black);
    QRadialGradient g(QPointF(s.width() / 2.0, s.height() / 2.0), s.width() * 0.7);
    g.setColorAt(0.0, QColor(70, 64, 56));
    g.setColorAt(1.0, QColor(18, 16, 14));
    p.fillRect(QRect(QPoint(0, 0), s), g);
}

void border(QPainter &p, const QSize &s, int width, const QColor &c, qreal radius = 0)
{
    QPainterPath outer;
    outer.addRect(QRectF(QPointF(0, 0), s));
    QPainterPath inner;
    inner.addRoundedRect(QRectF(width, width, s.width() - 2 * width, s.height() - 2 * width), radius, radius);
    p.fillPath(outer.subtracted(inner), c);
}

void thinWhite(QPainter &p, const QSize &s)
{
    border(p, s, s.height() / 40, kWhite);
}

void wood(QPainter &p, const QSize &s)
{
    const int w = s.height() / 12;
    QLinearGradient g(0, 0, 0, 6);
    g.setSpread(QGradient::ReflectSpread);
    g.setColorAt(0.0, QColor(120, 72, 36));
    g.setColorAt(1.0, QColor(92, 52, 24));
    QPainterPath outer;
    outer.addRect(QRectF(QPointF(0, 0), s));
    QPainterPath inner;
    inner.addRect(QRectF(w, w, s.width() - 2 * w, s.height() - 2 * w));
    p.fillPath(outer.subtracted(inner), g);
    p.setPen(QPen(QColor(60, 32, 14), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(w, w, s.width() - 2 * w, s.height() - 2 * w));
    p.drawLine(0, 0, w, w);
    p.drawLine(s.width(), 0, s.width() - w, w);
    p.drawLine(0, s.height(), w, s.height() - w);
    p.drawLine(s.width(), s.height(), s.width() - w, s.height() - w);
}

void filmStrip(QPainter &p, const QSize &s)
{
    const int band = s.height() / 9;
    p.fillRect(0, 0, s.width(), band, QColor(16, 16, 16));
    p.fillRect(0, s.height() - band, s.width(), band, QColor(16, 16, 16));
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    const int hole = band / 2, step = hole * 2;
    for (int x = hole / 2; x + hole < s.width(); x += step) {
        p.fillRect(QRect(x, (band - hole) / 2, hole, hole), Qt::transparent);
        p.fillRect(QRect(x, s.height() - band + (band - hole) / 2, hole, hole), Qt::transparent);
    }
}

void roundedBlack(QPainter &p, const QSize &s)
{
    border(p, s, s.height() / 30, Qt::black, s.height() / 10.0);
}

void doubleLine(QPainter &p, const QSize &s)
{
    const int u = qMax(2, s.height() / 90);
    border(p, s, 2 * u, QColor(230, 230, 230));
    QPainterPath outer;
    outer.addRect(QRectF(5 * u, 5 * u, s.width() - 10 * u, s.height() - 10 * u));
    QPainterPath inner;
    inner.addRect(QRectF(6 * u, 6 * u, s.width() - 12 * u, s.height() - 12 * u));
    p.fillPath(outer.subtracted(inner), QColor(230, 230, 230));
}

void polaroid(QPainter &p, const QSize &s)
{
    const int side = s.height() / 18;
    QPainterPath outer;
    outer.addRect(QRectF(QPointF(0, 0), s));
    QPainterPath inner;
    inner.addRect(QRectF(side, side, s.width() - 2 * side, s.height() - side - s.height() / 6));
    p.fillPath(outer.subtracted(inner), QColor(246, 244, 238));
}

// Sound effects have no picture of their own: a tile with a small curve glyph.
Draw curve(const QVector<QPointF> &points)
{
    return [points](QPainter &p, const QSize &s) {
        QPainterPath path;
        for (int i = 0; i < points.size(); ++i) {
            const QPointF q(points[i].x() * s.width(), (1.0 - points[i].y()) * s.height());
            if (i == 0)
                path.moveTo(q);
            else
                path.lineTo(q);
        }
        p.setPen(QPen(QColor(215, 63, 63), s.width() / 16.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(path);
    };
}

const QList<Package> &effects()
{
    static const QList<Package> list = {
        {"VideoEffects/01_vignette", vignette, false},
        {"VideoEffects/02_old_film", oldFilm, false},
        {"VideoEffects/03_light_leak", lightLeak, true},
        {"VideoEffects/04_letterbox", letterbox, false},
        {"VideoEffects/05_snow", snow, true},
        {"VideoEffects/06_soft_glow", softGlow, true},
    };
    return list;
}

const QList<Package> &frames()
{
    static const QList<Package> list = {
        {"VideoFrames/01_thin_white", thinWhite, false},   {"VideoFrames/02_wood", wood, false},
        {"VideoFrames/03_film_strip", filmStrip, false},   {"VideoFrames/04_rounded_black", roundedBlack, false},
        {"VideoFrames/05_double_line", doubleLine, false}, {"VideoFrames/06_polaroid", polaroid, false},
    };
    return list;
}

const QList<Package> &sounds()
{
    static const QList<Package> list = {
        {"AudioEffects/01_bass_boost", curve({{0.1, 0.85}, {0.35, 0.7}, {0.6, 0.4}, {0.9, 0.4}}), false},
        {"AudioEffects/02_treble_boost", curve({{0.1, 0.4}, {0.4, 0.4}, {0.65, 0.7}, {0.9, 0.85}}), false},
        {"AudioEffects/03_voice", curve({{0.1, 0.25}, {0.35, 0.5}, {0.5, 0.8}, {0.65, 0.5}, {0.9, 0.35}}), false},
        {"AudioEffects/04_radio", curve({{0.1, 0.1}, {0.3, 0.15}, {0.5, 0.85}, {0.7, 0.15}, {0.9, 0.1}}), false},
        {"AudioEffects/05_chipmunk", curve({{0.15, 0.3}, {0.5, 0.5}, {0.85, 0.85}}), false},
        {"AudioEffects/06_slow_down", curve({{0.15, 0.85}, {0.5, 0.5}, {0.85, 0.3}}), false},
    };
    return list;
}

bool save(const QImage &image, const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QString temp = path + QStringLiteral(".part");
    if (!image.save(temp, "PNG"))
        return false;
    QFile::remove(path);
    return QFile::rename(temp, path);
}

QImage picture(const Package &pkg, const QSize &size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(pkg.onBlack ? Qt::black : Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    pkg.draw(p, size);
    return image;
}

// The list tile: a dark card with the package's own picture (or glyph) in it.
QImage thumbnail(const Package &pkg, bool glyph)
{
    const QSize size(92, 92);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath card;
    card.addRoundedRect(QRectF(1, 1, 90, 90), 8, 8);
    p.fillPath(card, QColor(70, 70, 70));
    const QRect inner(8, 18, 76, 56);
    if (glyph) {
        p.setClipRect(inner);
        p.translate(inner.topLeft());
        pkg.draw(p, inner.size());
    } else {
        // A sample scene under the picture, so a transparent effect or frame still shows what it does.
        QLinearGradient sky(0, inner.top(), 0, inner.bottom());
        sky.setColorAt(0.0, QColor(96, 150, 210));
        sky.setColorAt(1.0, QColor(70, 130, 80));
        p.fillRect(inner, sky);
        QImage over =
            picture(pkg, QSize(152, 112)).scaled(inner.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        p.setCompositionMode(pkg.onBlack ? QPainter::CompositionMode_Screen : QPainter::CompositionMode_SourceOver);
        p.drawImage(inner.topLeft(), over);
    }
    return image;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int at = args.indexOf(QStringLiteral("--out"));
    if (at < 0 || at + 1 >= args.size()) {
        std::fprintf(stderr, "usage: packagegen --out <resource folder>\n");
        return 2;
    }
    const QString out = args.at(at + 1);
    bool ok = true;
    int written = 0;
    auto write = [&](const QImage &image, const QString &path) {
        if (save(image, path)) {
            ++written;
        } else {
            std::fprintf(stderr, "packagegen: cannot write %s\n", qPrintable(path));
            ok = false;
        }
    };
    for (const QList<Package> *list : {&effects(), &frames()}) {
        for (const Package &pkg : *list) {
            const QString dir = out + QLatin1Char('/') + QLatin1String(pkg.folder);
            write(picture(pkg, QSize(640, 360)), dir + QStringLiteral("/16x9.png"));
            write(picture(pkg, QSize(480, 360)), dir + QStringLiteral("/4x3.png"));
            write(thumbnail(pkg, false), dir + QStringLiteral("/thumb.png"));
        }
    }
    for (const Package &pkg : sounds())
        write(thumbnail(pkg, true), out + QLatin1Char('/') + QLatin1String(pkg.folder) + QStringLiteral("/thumb.png"));
    std::printf("packagegen: %d pictures written to %s\n", written, qPrintable(out));
    return ok ? 0 : 1;
}
