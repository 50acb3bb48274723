#include "SkinPainter.h"

#include "SkinGlyphsMedia.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>
#include <QSaveFile>

#include <cmath>

namespace {

const QColor kAccent(215, 63, 63);

enum FrameState { Normal = 0, Hover = 1, Pressed = 2, Disabled = 3 };

struct Family
{
    QColor top, bottom, border, glyph, field, fieldBorder;
};

Family family(bool light)
{
    if (light)
        return {QColor(242, 242, 242), QColor(226, 226, 228), QColor(196, 196, 200),
                QColor(51, 51, 51),    QColor(250, 250, 250), QColor(190, 190, 195)};
    return {QColor(53, 53, 56),    QColor(42, 42, 45), QColor(78, 78, 82),
            QColor(255, 255, 255), QColor(30, 30, 32), QColor(70, 70, 74)};
}

QColor lighter(const QColor &c, int step)
{
    return QColor(qMin(255, c.red() + step), qMin(255, c.green() + step), qMin(255, c.blue() + step), c.alpha());
}

QColor withAlpha(QColor c, qreal factor)
{
    c.setAlphaF(c.alphaF() * factor);
    return c;
}

QPainterPath roundedPath(const QRectF &r, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

// One button face (or a thumb) in the state's colours.
void paintFace(QPainter &p, const QRectF &r, qreal radius, const Family &fam, int state, bool round)
{
    QColor top = fam.top, bottom = fam.bottom, border = fam.border;
    if (state == Hover) {
        top = lighter(top, 14);
        bottom = lighter(bottom, 14);
        border = lighter(border, 14);
    } else if (state == Pressed) {
        top = lighter(kAccent, 10);
        bottom = kAccent.darker(112);
        border = kAccent.lighter(120);
    }
    const qreal opacity = state == Disabled ? 0.4 : 1.0;
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, withAlpha(top, opacity));
    g.setColorAt(1, withAlpha(bottom, opacity));
    const QRectF inner = r.adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QPen(withAlpha(border, opacity), 1.0));
    p.setBrush(g);
    if (round)
        p.drawEllipse(inner);
    else
        p.drawPath(roundedPath(inner, radius));
}

QColor glyphColor(const SkinImageSpec &spec, const Family &fam, int state, bool flat)
{
    QColor c = spec.color.isValid() ? spec.color : fam.glyph;
    if (flat) {
        // A bare glyph carries the state by itself: dimmed, full, accent, faded.
        if (state == Normal)
            c = withAlpha(c, 0.75);
        else if (state == Pressed)
            c = kAccent;
    } else if (state == Pressed) {
        c = Qt::white;
    }
    if (state == Disabled)
        c = withAlpha(c, 0.4);
    return c;
}

// The light skin's buttons carry white text (as the dark skin's do), which a light grey face cannot show:
// their face is the accent, one step lighter on hover and darker when pressed; disabled they fade into the
// light panel, where the grey disabled text still reads.
void paintLightFace(QPainter &p, const QRectF &r, qreal radius, int state)
{
    Family face = family(true);
    if (state != Disabled) {
        const int step = state == Hover ? 14 : 0;
        const QColor base = state == Pressed ? kAccent.darker(125) : kAccent;
        face.top = lighter(base, 12 + step);
        face.bottom = lighter(base.darker(110), step);
        face.border = base.darker(120);
    }
    // paintFace's own hover and pressed colours are those of the grey faces: hand it the plain state.
    paintFace(p, r, radius, face, state == Disabled ? Disabled : Normal, false);
}

void paintStrip(QPainter &p, const SkinImageSpec &spec)
{
    const Family fam = family(spec.light);
    for (int k = 0; k < 4; ++k) {
        const QRectF frame(k * spec.size.width(), 0, spec.size.width(), spec.size.height());
        if (spec.tab && k == Pressed) {
            // A selected tab carries accent-coloured text: a dark face, marked by an accent underline.
            paintFace(p, frame, spec.radius, fam, Normal, false);
            p.fillRect(QRectF(frame.left() + 2, frame.bottom() - 2.5, frame.width() - 4, 2), kAccent);
        } else if (!spec.flat && spec.light)
            paintLightFace(p, frame, spec.radius, k);
        else if (!spec.flat)
            paintFace(p, frame, spec.radius, fam, k, false);
        // A bare title-bar glyph (close, minimise, maximise) shows hover and press on a faint rounded ground
        // as well, so that the pointer's arrival is plain to see and not only a slightly brighter glyph.
        const bool titleGlyph = spec.glyph == QLatin1String("close") || spec.glyph == QLatin1String("minimise") ||
                                spec.glyph == QLatin1String("maximise");
        if (spec.flat && titleGlyph && (k == Hover || k == Pressed)) {
            p.setPen(Qt::NoPen);
            p.setBrush(k == Hover ? withAlpha(fam.glyph, 0.22) : withAlpha(kAccent, 0.3));
            p.drawPath(roundedPath(frame.adjusted(0.5, 0.5, -0.5, -0.5), qMin<qreal>(spec.radius, frame.height() / 4)));
        }
        // A glyph on an accent face is white in every enabled state.
        const QColor glyph =
            !spec.flat && spec.light && k != Disabled ? QColor(Qt::white) : glyphColor(spec, fam, k, spec.flat);
        if (spec.label.isEmpty()) {
            paintSkinGlyph(p, frame, spec.glyph, glyph);
            continue;
        }
        // A labelled face: the glyph (if any) in a square at the left, the text centred in the rest.
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(qMax(8, int(spec.size.height() * 0.5)));
        const QFontMetricsF fm(font);
        const qreal glyphSide = spec.glyph.isEmpty() || spec.glyph == QLatin1String("none") ? 0 : frame.height();
        const qreal textWidth = fm.horizontalAdvance(spec.label);
        const qreal left = frame.left() + (frame.width() - glyphSide - textWidth) / 2;
        if (glyphSide > 0)
            paintSkinGlyph(p, QRectF(left, frame.top(), glyphSide, glyphSide), spec.glyph, glyph);
        p.save();
        p.setFont(font);
        p.setPen(glyph);
        p.drawText(QRectF(left + glyphSide, frame.top(), textWidth + 1, frame.height()), Qt::AlignCenter, spec.label);
        p.restore();
    }
}

void paintRow(QPainter &p, const SkinImageSpec &spec)
{
    for (int k = 0; k < 4; ++k) {
        const QRectF frame(k * spec.size.width(), 0, spec.size.width(), spec.size.height());
        QColor top(50, 50, 53), bottom(44, 44, 47);
        if (k == Hover) {
            top = lighter(top, 12);
            bottom = lighter(bottom, 12);
        } else if (k == Pressed) {
            top = QColor(112, 44, 44);
            bottom = QColor(96, 38, 38);
        }
        const qreal opacity = k == Disabled ? 0.4 : 1.0;
        QLinearGradient g(frame.topLeft(), frame.bottomLeft());
        g.setColorAt(0, withAlpha(top, opacity));
        g.setColorAt(1, withAlpha(bottom, opacity));
        p.fillRect(frame, g);
        if (k == Pressed)
            p.fillRect(QRectF(frame.left(), frame.top(), 3, frame.height()), kAccent);
        p.fillRect(QRectF(frame.left(), frame.bottom() - 1, frame.width(), 1), QColor(34, 34, 36));
    }
}

void paintNineGrid(QPainter &p, const SkinImageSpec &spec)
{
    const Family fam = family(spec.light);
    const QRectF all(0, 0, spec.size.width(), spec.size.height());
    const QRectF panel = all.adjusted(spec.margin, spec.margin, -spec.margin, -spec.margin);
    // Soft shadow: rings of falling opacity into the transparent margin.
    p.setPen(Qt::NoPen);
    for (int i = spec.margin; i > 0; --i) {
        const qreal a = 0.22 * (1.0 - qreal(i) / (spec.margin + 1));
        p.setBrush(QColor(0, 0, 0, int(255 * a / 2)));
        p.drawPath(roundedPath(panel.adjusted(-i, -i + 1, i, i + 1), spec.radius + i));
    }
    QLinearGradient g(panel.topLeft(), panel.bottomLeft());
    g.setColorAt(0, fam.top);
    g.setColorAt(1, fam.bottom);
    const QPainterPath shape = roundedPath(panel.adjusted(0.5, 0.5, -0.5, -0.5), spec.radius);
    p.setBrush(g);
    p.drawPath(shape);
    p.save();
    p.setClipPath(shape);
    if (spec.title > 0 && spec.light) {
        // The dialog routines draw the title and the close glyph in white: a light panel gets a charcoal
        // title band so that both read.
        const Family dark = family(false);
        QLinearGradient band(panel.topLeft(), QPointF(panel.left(), panel.top() + spec.title));
        band.setColorAt(0, dark.top);
        band.setColorAt(1, dark.bottom);
        p.fillRect(QRectF(panel.left(), panel.top(), panel.width(), spec.title), band);
    } else if (spec.title > 0) {
        p.fillRect(QRectF(panel.left(), panel.top(), panel.width(), spec.title), lighter(fam.top, 8));
    }
    if (spec.footer > 0)
        p.fillRect(QRectF(panel.left(), panel.bottom() - spec.footer, panel.width(), spec.footer),
                   spec.light ? fam.bottom.darker(104) : QColor(37, 37, 40));
    p.restore();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(fam.border, 1.0));
    p.drawPath(shape);
}

void paintField(QPainter &p, const SkinImageSpec &spec)
{
    const Family fam = family(spec.light);
    for (int k = 0; k < spec.frames; ++k) {
        const QRectF r =
            QRectF(k * spec.size.width(), 0, spec.size.width(), spec.size.height()).adjusted(0.5, 0.5, -0.5, -0.5);
        const qreal opacity = (spec.frames == 4 && k == Disabled) || (spec.frames == 2 && k == 1) ? 0.4 : 1.0;
        QColor border = fam.fieldBorder;
        if (spec.frames == 4 && k == Hover)
            border = lighter(border, 20);
        if (spec.frames == 4 && k == Pressed)
            border = kAccent;
        p.setPen(QPen(withAlpha(border, opacity), 1.0));
        p.setBrush(withAlpha(fam.field, opacity));
        p.drawPath(roundedPath(r, spec.radius));
        // A field with a glyph (a combo box's drop-down cue) carries it at its right end, where a nine-grid
        // of a third of the width never stretches it sideways: centred 6 pixels from the edge, exactly where
        // a 14-pixel drop-down button placed 13 pixels from the right draws its own.
        if (!spec.glyph.isEmpty()) {
            const QRectF cue((k + 1) * spec.size.width() - 13, 0, 14, spec.size.height());
            QColor c = spec.color.isValid() ? spec.color : fam.glyph;
            if (spec.frames == 4 && k == Pressed)
                c = kAccent;
            paintSkinGlyph(p, cue, spec.glyph, withAlpha(c, opacity));
        }
    }
}

void paintCheck(QPainter &p, const SkinImageSpec &spec)
{
    const Family fam = family(spec.light);
    for (int k = 0; k < spec.frames; ++k) {
        const QRectF frame(k * spec.size.width(), 0, spec.size.width(), spec.size.height());
        const qreal side = qMin(frame.width(), frame.height()) - 2;
        const QRectF box(frame.center().x() - side / 2, frame.center().y() - side / 2, side, side);
        const bool disabled = (spec.frames == 2 && k == 1) || (spec.frames == 4 && k == Disabled);
        const qreal opacity = disabled ? 0.4 : 1.0;
        const QColor fill = spec.checked ? kAccent : fam.field;
        const QColor border = spec.checked ? kAccent.lighter(120)
                                           : (spec.frames == 4 && k == Hover ? lighter(fam.border, 30) : fam.border);
        p.setPen(QPen(withAlpha(border, opacity), 1.0));
        p.setBrush(withAlpha(fill, opacity));
        if (spec.radio) {
            p.drawEllipse(box.adjusted(0.5, 0.5, -0.5, -0.5));
            if (spec.checked) {
                p.setPen(Qt::NoPen);
                p.setBrush(withAlpha(Qt::white, opacity));
                const qreal d = side * 0.4;
                p.drawEllipse(QRectF(box.center().x() - d / 2, box.center().y() - d / 2, d, d));
            }
        } else {
            p.drawPath(roundedPath(box.adjusted(0.5, 0.5, -0.5, -0.5), qMin<qreal>(spec.radius, side / 4)));
            if (spec.checked)
                paintSkinGlyph(p, box, QStringLiteral("check"), withAlpha(Qt::white, opacity));
        }
    }
}

void paintIcon(QPainter &p, const SkinImageSpec &spec)
{
    const Family fam = family(spec.light);
    for (int k = 0; k < spec.frames; ++k) {
        const QRectF frame(k * spec.size.width(), 0, spec.size.width(), spec.size.height());
        int state = Normal;
        if (spec.frames == 4)
            state = k;
        else if (spec.frames == 2 && k == 1)
            state = Disabled;
        QColor c = spec.color.isValid() ? spec.color : fam.glyph;
        if (state == Hover)
            c = lighter(c, 30);
        else if (state == Pressed)
            c = kAccent;
        else if (state == Disabled)
            c = withAlpha(c, 0.4);
        if (spec.label.isEmpty()) {
            paintSkinGlyph(p, frame, spec.glyph, c);
            continue;
        }
        // A captioned icon: the glyph above, the caption in a small bold face below.
        const qreal captionHeight = frame.height() * 0.3;
        paintSkinGlyph(p, frame.adjusted(0, 0, 0, -captionHeight), spec.glyph, c);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setBold(true);
        font.setPixelSize(qMax(6, int(captionHeight * 0.8)));
        p.setFont(font);
        p.setPen(c);
        p.drawText(QRectF(frame.left(), frame.bottom() - captionHeight, frame.width(), captionHeight), Qt::AlignCenter,
                   spec.label);
    }
}

void paintTrack(QPainter &p, const SkinImageSpec &spec)
{
    const Family fam = family(spec.light);
    const qreal h = spec.bar > 0 ? qMin(spec.bar, spec.size.height()) : spec.size.height() / 2.0;
    const QRectF bar(0, (spec.size.height() - h) / 2, spec.size.width(), h);
    const qreal radius = h / 2;
    if (spec.fill) {
        const QColor c = spec.color.isValid() ? spec.color : kAccent;
        QLinearGradient g(bar.topLeft(), bar.bottomLeft());
        g.setColorAt(0, lighter(c, 20));
        g.setColorAt(1, c.darker(110));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
    } else {
        p.setPen(QPen(fam.fieldBorder, 1.0));
        p.setBrush(fam.field);
    }
    p.drawPath(roundedPath(bar.adjusted(0.5, 0.5, -0.5, -0.5), radius));
}

void paintThumb(QPainter &p, const SkinImageSpec &spec)
{
    for (int k = 0; k < 4; ++k) {
        const QRectF frame(k * spec.size.width(), 0, spec.size.width(), spec.size.height());
        const qreal side = qMin(frame.width(), frame.height() - 2.0 * spec.drop) - 1;
        const QRectF disc(frame.center().x() - side / 2, frame.center().y() + spec.drop - side / 2, side, side);
        // A light knob on the dark skin (and the reverse), so the thumb reads against both tracks.
        Family knob = family(!spec.light);
        knob.top = spec.light ? QColor(90, 90, 94) : QColor(242, 242, 242);
        knob.bottom = spec.light ? QColor(70, 70, 74) : QColor(213, 213, 216);
        knob.border = spec.light ? QColor(50, 50, 53) : QColor(180, 180, 184);
        paintFace(p, disc, 0, knob, k, true);
        if (k != Pressed) {
            p.setPen(Qt::NoPen);
            p.setBrush(withAlpha(kAccent, k == Disabled ? 0.4 : 1.0));
            const qreal d = side * 0.3;
            p.drawEllipse(QRectF(disc.center().x() - d / 2, disc.center().y() - d / 2, d, d));
        }
    }
}

// Grab handles of a selection box, on a transparent ground: small squares at the corners and edge
// middles and a centre cross in a ring, white with a dark rim so they read on any picture.
void paintHandles(QPainter &p, const SkinImageSpec &spec)
{
    const qreal W = spec.size.width(), H = spec.size.height();
    const qreal k = 3.0; // side of a handle square (logical)
    p.setPen(QPen(QColor(30, 30, 30), 0.5));
    p.setBrush(Qt::white);
    const QPointF spots[] = {{0, 0},     {(W - k) / 2, 0},     {W - k, 0},    {0, (H - k) / 2}, {W - k, (H - k) / 2},
                             {0, H - k}, {(W - k) / 2, H - k}, {W - k, H - k}};
    for (const QPointF &s : spots)
        p.drawRect(QRectF(s.x() + 0.25, s.y() + 0.25, k - 0.5, k - 0.5));
    const QPointF c(W / 2, H / 2);
    const qreal r = 3.0;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(30, 30, 30), 2.0));
    p.drawEllipse(c, r, r);
    p.drawLine(c - QPointF(r + 1, 0), c + QPointF(r + 1, 0));
    p.drawLine(c - QPointF(0, r + 1), c + QPointF(0, r + 1));
    p.setPen(QPen(Qt::white, 1.0));
    p.drawEllipse(c, r, r);
    p.drawLine(c - QPointF(r + 1, 0), c + QPointF(r + 1, 0));
    p.drawLine(c - QPointF(0, r + 1), c + QPointF(0, r + 1));
}

// The line colour of the tile and tab kinds in state k: grey, lighter on hover, the accent (or the
// manifest's colour) when selected or current, faint when disabled.
QColor markColor(const SkinImageSpec &spec, const Family &fam, int k)
{
    if (k == Hover)
        return lighter(fam.border, 70);
    if (k == Pressed)
        return spec.color.isValid() ? spec.color : kAccent;
    const QColor c = lighter(fam.border, 20);
    return k == Disabled ? withAlpha(c, 0.4) : c;
}

// The frame of a list tile in its four states: a thin grey outline, a lighter one on hover, an accent
// outline when selected and a faint one when disabled; the inside stays transparent for the picture.
void paintTile(QPainter &p, const SkinImageSpec &spec)
{
    const Family fam = family(spec.light);
    for (int k = 0; k < 4; ++k) {
        const QRectF frame(k * spec.size.width(), 0, spec.size.width(), spec.size.height());
        const QColor c = markColor(spec, fam, k);
        const qreal width = k == Pressed ? 2.0 : 1.0;
        p.setPen(QPen(c, width));
        p.setBrush(Qt::NoBrush);
        p.drawPath(roundedPath(frame.adjusted(width / 2, width / 2, -width / 2, -width / 2), spec.radius));
    }
}

void paintHandle(QPainter &p, const SkinImageSpec &spec)
{
    const QColor base = spec.color.isValid() ? spec.color : QColor(255, 250, 112);
    for (int k = 0; k < 4; ++k) {
        const QRectF frame(k * spec.size.width(), 0, spec.size.width(), spec.size.height());
        QColor face = base;
        if (k == Hover)
            face = lighter(base, 20);
        else if (k == Pressed)
            face = kAccent;
        else if (k == Disabled)
            face = withAlpha(QColor(137, 137, 137), 0.4);
        const QRectF bar = frame.adjusted(0.5, 0.5, -0.5, -0.5);
        p.setPen(QPen(k == Disabled ? withAlpha(face.darker(140), 0.4) : face.darker(140), 1.0));
        p.setBrush(face);
        p.drawPath(roundedPath(bar, qMin<qreal>(spec.radius, bar.width() / 2)));
        // Grip: two short lines across the middle.
        const QPointF c = frame.center();
        const qreal gw = frame.width() * 0.25;
        p.setPen(QPen(k == Disabled ? withAlpha(QColor(40, 40, 40), 0.4) : QColor(40, 40, 40, 200), 1.0));
        for (qreal dy : {-3.0, 0.0, 3.0})
            p.drawLine(QPointF(c.x() - gw, c.y() + dy), QPointF(c.x() + gw, c.y() + dy));
    }
}

void paintPlayhead(QPainter &p, const SkinImageSpec &spec)
{
    const QColor c = spec.color.isValid() ? spec.color : kAccent;
    const qreal w = spec.size.width();
    const qreal head = spec.bar > 0 ? qMin<qreal>(spec.bar, spec.size.height()) : 10.0;
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    QPainterPath shape;
    shape.moveTo(0.5, 0.5);
    shape.lineTo(w - 0.5, 0.5);
    shape.lineTo(w - 0.5, head * 0.55);
    shape.lineTo(w / 2, head);
    shape.lineTo(0.5, head * 0.55);
    shape.closeSubpath();
    p.drawPath(shape);
    p.fillRect(QRectF(w / 2 - 0.5, head - 0.5, 1.0, spec.size.height() - head + 0.5), c);
}

// A tab of a tab row in its four states: no face, a bar along the bottom edge (grey, lighter on hover,
// a thicker accent bar for the current tab, faint when disabled); the text sits above the bar.
void paintTab(QPainter &p, const SkinImageSpec &spec)
{
    const Family fam = family(spec.light);
    for (int k = 0; k < 4; ++k) {
        const QRectF frame(k * spec.size.width(), 0, spec.size.width(), spec.size.height());
        const QColor c = markColor(spec, fam, k);
        const qreal h = k == Hover ? 2.0 : k == Pressed ? 3.0 : 1.0;
        p.fillRect(QRectF(frame.left() + 2, frame.bottom() - h, frame.width() - 4, h), c);
    }
}

} // namespace

bool paintSkinGlyph(QPainter &p, const QRectF &rect, const QString &glyph, const QColor &color)
{
    if (glyph.isEmpty() || glyph == QLatin1String("none"))
        return true;
    const qreal s = qMin(rect.width(), rect.height()) * 0.42;
    const QPointF c = rect.center();
    const QRectF box(c.x() - s / 2, c.y() - s / 2, s, s);
    QPen pen(color, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.save();
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    if (glyph == QLatin1String("close")) {
        p.drawLine(box.topLeft(), box.bottomRight());
        p.drawLine(box.topRight(), box.bottomLeft());
    } else if (glyph == QLatin1String("minimise") || glyph == QLatin1String("minus")) {
        p.drawLine(QPointF(box.left(), c.y()), QPointF(box.right(), c.y()));
    } else if (glyph == QLatin1String("plus")) {
        p.drawLine(QPointF(box.left(), c.y()), QPointF(box.right(), c.y()));
        p.drawLine(QPointF(c.x(), box.top()), QPointF(c.x(), box.bottom()));
    } else if (glyph == QLatin1String("maximise")) {
        p.drawRect(box);
    } else if (glyph == QLatin1String("play")) {
        p.setBrush(color);
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygonF({box.topLeft() + QPointF(s * 0.1, 0), QPointF(box.right(), c.y()),
                                 box.bottomLeft() + QPointF(s * 0.1, 0)}));
    } else if (glyph == QLatin1String("stop")) {
        p.setBrush(color);
        p.setPen(Qt::NoPen);
        p.drawRect(box.adjusted(s * 0.08, s * 0.08, -s * 0.08, -s * 0.08));
    } else if (glyph == QLatin1String("camera")) {
        // A body with a lens and a small viewfinder bump.
        const QRectF body(box.left() - s * 0.1, box.top() + s * 0.2, s * 1.2, s * 0.8);
        p.drawRoundedRect(body, s * 0.12, s * 0.12);
        p.drawEllipse(body.center(), s * 0.22, s * 0.22);
        p.drawLine(QPointF(c.x() - s * 0.2, body.top()), QPointF(c.x() - s * 0.1, box.top() + s * 0.02));
        p.drawLine(QPointF(c.x() - s * 0.1, box.top() + s * 0.02), QPointF(c.x() + s * 0.1, box.top() + s * 0.02));
        p.drawLine(QPointF(c.x() + s * 0.1, box.top() + s * 0.02), QPointF(c.x() + s * 0.2, body.top()));
    } else if (glyph == QLatin1String("pause")) {
        p.drawLine(QPointF(c.x() - s * 0.22, box.top()), QPointF(c.x() - s * 0.22, box.bottom()));
        p.drawLine(QPointF(c.x() + s * 0.22, box.top()), QPointF(c.x() + s * 0.22, box.bottom()));
    } else if (glyph == QLatin1String("up") || glyph == QLatin1String("down")) {
        const qreal dy = s * 0.25 * (glyph == QLatin1String("up") ? -1 : 1);
        p.drawPolyline(
            QPolygonF({QPointF(box.left(), c.y() - dy), QPointF(c.x(), c.y() + dy), QPointF(box.right(), c.y() - dy)}));
    } else if (glyph == QLatin1String("left") || glyph == QLatin1String("right")) {
        const qreal dx = s * 0.25 * (glyph == QLatin1String("left") ? -1 : 1);
        p.drawPolyline(
            QPolygonF({QPointF(c.x() - dx, box.top()), QPointF(c.x() + dx, c.y()), QPointF(c.x() - dx, box.bottom())}));
    } else if (glyph == QLatin1String("previous") || glyph == QLatin1String("next")) {
        // A bar and a filled triangle pointing at it.
        const bool prev = glyph == QLatin1String("previous");
        const qreal barX = prev ? box.left() + s * 0.1 : box.right() - s * 0.1;
        p.drawLine(QPointF(barX, box.top()), QPointF(barX, box.bottom()));
        p.setBrush(color);
        p.setPen(Qt::NoPen);
        const qreal tip = prev ? box.left() + s * 0.3 : box.right() - s * 0.3;
        const qreal back = prev ? box.right() : box.left();
        p.drawPolygon(QPolygonF({QPointF(back, box.top()), QPointF(tip, c.y()), QPointF(back, box.bottom())}));
    } else if (glyph == QLatin1String("reset")) {
        // Three quarters of a circle with an arrow head at its open end.
        const QRectF ring = box.adjusted(s * 0.05, s * 0.05, -s * 0.05, -s * 0.05);
        p.drawArc(ring, 90 * 16, 270 * 16);
        const QPointF end(ring.center().x(), ring.top());
        const qreal a = s * 0.22;
        p.drawPolyline(QPolygonF({end + QPointF(-a, -a), end, end + QPointF(-a, a)}));
    } else if (glyph == QLatin1String("check")) {
        p.drawPolyline(QPolygonF({QPointF(box.left(), c.y()), QPointF(c.x() - s * 0.1, box.bottom() - s * 0.1),
                                  QPointF(box.right(), box.top() + s * 0.1)}));
    } else if (glyph == QLatin1String("settings")) {
        p.drawEllipse(c, s * 0.22, s * 0.22);
        for (int i = 0; i < 8; ++i) {
            const qreal a = i * M_PI / 4;
            p.drawLine(c + QPointF(std::cos(a), std::sin(a)) * s * 0.36,
                       c + QPointF(std::cos(a), std::sin(a)) * s * 0.5);
        }
    } else if (glyph == QLatin1String("pencil") || glyph == QLatin1String("trash") ||
               glyph == QLatin1String("sliders")) {
        // Small-button glyphs: they fill most of their frame, or they do not read at 16 x 13.
        const qreal t = qMin(rect.width(), rect.height()) * 0.8;
        const QRectF b(c.x() - t / 2, c.y() - t / 2, t, t);
        p.setPen(QPen(color, qMax<qreal>(1.5, t / 7), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        if (glyph == QLatin1String("pencil")) {
            p.drawLine(QPointF(b.left() + t * 0.15, b.bottom() - t * 0.15), QPointF(b.right(), b.top()));
            p.drawLine(QPointF(b.left(), b.bottom()), QPointF(b.left() + t * 0.35, b.bottom()));
        } else if (glyph == QLatin1String("trash")) {
            p.drawLine(QPointF(b.left(), b.top() + t * 0.15), QPointF(b.right(), b.top() + t * 0.15));
            p.drawRect(QRectF(b.left() + t * 0.15, b.top() + t * 0.3, t * 0.7, t * 0.7));
        } else {
            for (int i = 0; i < 3; ++i) {
                const qreal y = b.top() + t * (0.1 + 0.4 * i);
                p.drawLine(QPointF(b.left(), y), QPointF(b.right(), y));
            }
            p.setBrush(color);
            p.drawEllipse(QPointF(b.left() + t * 0.7, b.top() + t * 0.1), t * 0.1, t * 0.1);
            p.drawEllipse(QPointF(b.left() + t * 0.3, b.top() + t * 0.5), t * 0.1, t * 0.1);
            p.drawEllipse(QPointF(b.left() + t * 0.6, b.top() + t * 0.9), t * 0.1, t * 0.1);
        }
    } else if (glyph == QLatin1String("filmstrip")) {
        // A film frame: a wide rounded body with sprocket holes along both edges.
        const qreal big = qMin(rect.width(), rect.height()) * 0.7;
        const QRectF body(c.x() - big * 0.7, c.y() - big * 0.5, big * 1.4, big);
        pen.setWidthF(qMax<qreal>(2.0, big / 24));
        p.setPen(pen);
        p.drawRoundedRect(body, big * 0.08, big * 0.08);
        p.drawLine(QPointF(body.left() + big * 0.22, body.top()), QPointF(body.left() + big * 0.22, body.bottom()));
        p.drawLine(QPointF(body.right() - big * 0.22, body.top()), QPointF(body.right() - big * 0.22, body.bottom()));
        p.setBrush(color);
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 4; ++i) {
            const qreal y = body.top() + big * (0.14 + 0.24 * i);
            p.drawRect(QRectF(body.left() + big * 0.06, y, big * 0.1, big * 0.1));
            p.drawRect(QRectF(body.right() - big * 0.16, y, big * 0.1, big * 0.1));
        }
        p.drawPolygon(QPolygonF({QPointF(c.x() - big * 0.12, c.y() - big * 0.18), QPointF(c.x() + big * 0.18, c.y()),
                                 QPointF(c.x() - big * 0.12, c.y() + big * 0.18)}));
    } else if (glyph == QLatin1String("menu")) {
        for (int i = 0; i < 3; ++i) {
            const qreal y = box.top() + s * (0.15 + 0.35 * i);
            p.drawLine(QPointF(box.left(), y), QPointF(box.right(), y));
        }
    } else if (glyph == QLatin1String("restore")) {
        p.drawRect(QRectF(box.left(), box.top() + s * 0.3, s * 0.7, s * 0.7));
        p.drawPolyline(
            QPolygonF({QPointF(box.left() + s * 0.3, box.top() + s * 0.3), QPointF(box.left() + s * 0.3, box.top()),
                       QPointF(box.right(), box.top()), QPointF(box.right(), box.top() + s * 0.7),
                       QPointF(box.left() + s * 0.7, box.top() + s * 0.7)}));
    } else if (glyph == QLatin1String("logo")) {
        // The program's badge: an accent rounded square holding two clips joined by a seam.
        const qreal big = qMin(rect.width(), rect.height()) * 0.9;
        const QRectF badge(c.x() - big / 2, c.y() - big / 2, big, big);
        p.setPen(Qt::NoPen);
        QLinearGradient g(badge.topLeft(), badge.bottomLeft());
        g.setColorAt(0, QColor(229, 86, 86));
        g.setColorAt(1, QColor(190, 50, 50));
        p.setBrush(g);
        p.drawRoundedRect(badge, big * 0.22, big * 0.22);
        p.setBrush(Qt::white);
        const qreal w = big * 0.26, h = big * 0.36;
        p.drawRoundedRect(QRectF(c.x() - w - big * 0.04, c.y() - h / 2, w, h), big * 0.04, big * 0.04);
        p.drawRoundedRect(QRectF(c.x() + big * 0.04, c.y() - h / 2, w, h), big * 0.04, big * 0.04);
        p.setPen(QPen(Qt::white, qMax<qreal>(1.5, big / 28), Qt::DashLine, Qt::RoundCap));
        p.drawLine(QPointF(c.x(), c.y() - h * 0.75), QPointF(c.x(), c.y() + h * 0.75));
    } else if (glyph == QLatin1String("warning") || glyph == QLatin1String("success") ||
               glyph == QLatin1String("error")) {
        // Status badges: a filled shape in the colour, a white mark inside.
        const qreal big = qMin(rect.width(), rect.height()) * 0.9;
        const QRectF disc(c.x() - big / 2, c.y() - big / 2, big, big);
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        QPen mark(Qt::white, qMax<qreal>(2.0, big / 12), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        const qreal m = big * 0.22;
        if (glyph == QLatin1String("warning")) {
            QPainterPath tri;
            tri.moveTo(c.x(), disc.top() + big * 0.04);
            tri.lineTo(disc.right(), disc.bottom() - big * 0.06);
            tri.lineTo(disc.left(), disc.bottom() - big * 0.06);
            tri.closeSubpath();
            p.drawPath(tri);
            mark.setColor(QColor(40, 40, 40));
            p.setPen(mark);
            p.drawLine(QPointF(c.x(), c.y() - m * 0.6), QPointF(c.x(), c.y() + m * 0.7));
            p.drawPoint(QPointF(c.x(), c.y() + m * 1.4));
        } else {
            p.drawEllipse(disc);
            p.setPen(mark);
            if (glyph == QLatin1String("success"))
                p.drawPolyline(QPolygonF({QPointF(c.x() - m, c.y()), QPointF(c.x() - m * 0.25, c.y() + m * 0.8),
                                          QPointF(c.x() + m * 1.1, c.y() - m * 0.8)}));
            else {
                p.drawLine(QPointF(c.x() - m, c.y() - m), QPointF(c.x() + m, c.y() + m));
                p.drawLine(QPointF(c.x() + m, c.y() - m), QPointF(c.x() - m, c.y() + m));
            }
        }
    } else if (glyph == QLatin1String("rotate_left") || glyph == QLatin1String("rotate_right")) {
        // Three quarters of a circle from the top, open on the side the turn comes from; the arrow head at
        // the side end points up, the way the turn goes on.
        const bool left = glyph == QLatin1String("rotate_left");
        const QRectF ring = box.adjusted(s * 0.05, s * 0.1, -s * 0.05, s * 0.05);
        p.drawArc(ring, 90 * 16, (left ? 270 : -270) * 16);
        const QPointF end(left ? ring.right() : ring.left(), ring.center().y());
        const qreal h = s * 0.26;
        p.drawPolyline(QPolygonF({end + QPointF(-h, h * 0.9), end, end + QPointF(h, h * 0.9)}));
    } else if (glyph == QLatin1String("flip_h") || glyph == QLatin1String("flip_v")) {
        // Two mirrored triangles about a dashed axis.
        const bool h = glyph == QLatin1String("flip_h");
        p.save();
        if (!h) {
            p.translate(c);
            p.rotate(90);
            p.translate(-c);
        }
        p.drawPolygon(QPolygonF({QPointF(c.x() - s * 0.12, box.top()), QPointF(c.x() - s * 0.12, box.bottom()),
                                 QPointF(box.left(), box.bottom())}));
        p.setBrush(color);
        p.drawPolygon(QPolygonF({QPointF(c.x() + s * 0.12, box.top()), QPointF(c.x() + s * 0.12, box.bottom()),
                                 QPointF(box.right(), box.bottom())}));
        p.restore();
    } else if (glyph == QLatin1String("folder")) {
        QPainterPath f;
        f.moveTo(box.left(), box.bottom() - s * 0.1);
        f.lineTo(box.left(), box.top() + s * 0.1);
        f.lineTo(c.x() - s * 0.1, box.top() + s * 0.1);
        f.lineTo(c.x(), box.top() + s * 0.25);
        f.lineTo(box.right(), box.top() + s * 0.25);
        f.lineTo(box.right(), box.bottom() - s * 0.1);
        f.closeSubpath();
        p.drawPath(f);
    } else if (glyph == QLatin1String("font")) {
        // A capital A.
        p.drawPolyline(QPolygonF(
            {QPointF(box.left(), box.bottom()), QPointF(c.x(), box.top()), QPointF(box.right(), box.bottom())}));
        p.drawLine(QPointF(box.left() + s * 0.25, c.y() + s * 0.12), QPointF(box.right() - s * 0.25, c.y() + s * 0.12));
    } else if (glyph == QLatin1String("image")) {
        // A picture: a frame with a mountain and a sun, and a small plus for "add".
        p.drawRoundedRect(box, s * 0.08, s * 0.08);
        p.drawPolyline(QPolygonF({QPointF(box.left(), box.bottom() - s * 0.15), QPointF(c.x() - s * 0.1, c.y()),
                                  QPointF(c.x() + s * 0.15, c.y() + s * 0.22), QPointF(box.right() - s * 0.2, c.y()),
                                  QPointF(box.right(), c.y() + s * 0.15)}));
        p.drawEllipse(QPointF(c.x() + s * 0.2, box.top() + s * 0.25), s * 0.08, s * 0.08);
    } else if (glyph == QLatin1String("delete")) {
        // A filled disc with a white cross: sits on a picture's corner.
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        p.drawEllipse(c, s * 0.75, s * 0.75);
        p.setPen(QPen(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(c + QPointF(-s * 0.3, -s * 0.3), c + QPointF(s * 0.3, s * 0.3));
        p.drawLine(c + QPointF(s * 0.3, -s * 0.3), c + QPointF(-s * 0.3, s * 0.3));
    } else {
        p.restore();
        return paintMediaGlyph(p, rect, glyph, color);
    }
    p.restore();
    return true;
}

QImage paintSkinImage(const SkinImageSpec &spec)
{
    const int frames = spec.frames;
    QImage image(spec.size.width() * frames * 2, spec.size.height() * 2 * spec.rows,
                 QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(2.0, 2.0); // draw in logical pixels
    bool ok = true;
    switch (spec.kind) {
    case SkinKind::Strip:
        ok = isKnownSkinGlyph(spec.glyph);
        paintStrip(p, spec);
        break;
    case SkinKind::NineGrid:
        paintNineGrid(p, spec);
        break;
    case SkinKind::Field:
        paintField(p, spec);
        break;
    case SkinKind::Check:
        paintCheck(p, spec);
        break;
    case SkinKind::Icon:
        ok = isKnownSkinGlyph(spec.glyph) && !spec.glyph.isEmpty() && spec.glyph != QLatin1String("none");
        if (ok)
            paintIcon(p, spec);
        break;
    case SkinKind::Track:
        paintTrack(p, spec);
        break;
    case SkinKind::Thumb:
        paintThumb(p, spec);
        break;
    case SkinKind::Handles:
        paintHandles(p, spec);
        break;
    case SkinKind::Tile:
        paintTile(p, spec);
        break;
    case SkinKind::Tab:
        paintTab(p, spec);
        break;
    case SkinKind::Handle:
        paintHandle(p, spec);
        break;
    case SkinKind::Playhead:
        paintPlayhead(p, spec);
        break;
    case SkinKind::Row:
        paintRow(p, spec);
        break;
    }
    if (ok && spec.rows == 2) {
        // The second row repeats the first (the ordinary look below the selected look).
        p.resetTransform();
        const QImage first = image.copy(0, 0, image.width(), image.height() / 2);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, image.height() / 2, first);
    }
    p.end();
    return ok ? image : QImage();
}

bool saveImageAtomically(const QImage &image, const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (!image.save(&file, "PNG")) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
