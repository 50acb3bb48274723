#include "SkinGlyphsMedia.h"

#include <QPainterPath>
#include <QStringList>

#include <cmath>

bool isMediaGlyph(const QString &glyph)
{
    static const QStringList names = {QStringLiteral("phone"),   QStringLiteral("tablet"), QStringLiteral("tv"),
                                      QStringLiteral("console"), QStringLiteral("player"), QStringLiteral("disc"),
                                      QStringLiteral("film"),    QStringLiteral("globe"),  QStringLiteral("note"),
                                      QStringLiteral("bell"),    QStringLiteral("layers"), QStringLiteral("video"),
                                      QStringLiteral("audio")};
    return names.contains(glyph);
}

bool paintMediaGlyph(QPainter &p, const QRectF &rect, const QString &glyph, const QColor &color)
{
    if (!isMediaGlyph(glyph))
        return false;
    const qreal s = qMin(rect.width(), rect.height()) * 0.78;
    const QPointF c = rect.center();
    const QRectF box(c.x() - s / 2, c.y() - s / 2, s, s);
    const qreal line = qBound<qreal>(1.0, s / 14, 2.0);
    p.save();
    p.setPen(QPen(color, line, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const qreal r = s * 0.08;
    if (glyph == QLatin1String("phone")) {
        const QRectF body(c.x() - s * 0.27, box.top(), s * 0.54, s);
        p.drawRoundedRect(body, r * 1.5, r * 1.5);
        p.drawLine(QPointF(body.left(), body.top() + s * 0.14), QPointF(body.right(), body.top() + s * 0.14));
        p.drawLine(QPointF(body.left(), body.bottom() - s * 0.16), QPointF(body.right(), body.bottom() - s * 0.16));
        p.drawPoint(QPointF(c.x(), body.bottom() - s * 0.08));
    } else if (glyph == QLatin1String("tablet")) {
        const QRectF body(c.x() - s * 0.38, box.top() + s * 0.04, s * 0.76, s * 0.92);
        p.drawRoundedRect(body, r * 1.5, r * 1.5);
        p.drawRect(body.adjusted(s * 0.07, s * 0.08, -s * 0.07, -s * 0.16));
        p.drawPoint(QPointF(c.x(), body.bottom() - s * 0.08));
    } else if (glyph == QLatin1String("tv")) {
        const QRectF screen(box.left(), box.top() + s * 0.1, s, s * 0.62);
        p.drawRoundedRect(screen, r, r);
        p.drawLine(QPointF(c.x() - s * 0.18, box.bottom() - s * 0.08),
                   QPointF(c.x() + s * 0.18, box.bottom() - s * 0.08));
        p.drawLine(QPointF(c.x(), screen.bottom()), QPointF(c.x(), box.bottom() - s * 0.08));
    } else if (glyph == QLatin1String("console")) {
        const QRectF pad(box.left(), c.y() - s * 0.26, s, s * 0.52);
        p.drawRoundedRect(pad, s * 0.22, s * 0.22);
        const QPointF dpad(pad.left() + s * 0.26, c.y());
        p.drawLine(dpad - QPointF(s * 0.1, 0), dpad + QPointF(s * 0.1, 0));
        p.drawLine(dpad - QPointF(0, s * 0.1), dpad + QPointF(0, s * 0.1));
        p.drawEllipse(QPointF(pad.right() - s * 0.28, c.y() + s * 0.06), s * 0.04, s * 0.04);
        p.drawEllipse(QPointF(pad.right() - s * 0.18, c.y() - s * 0.06), s * 0.04, s * 0.04);
    } else if (glyph == QLatin1String("player")) {
        const QRectF body(c.x() - s * 0.3, box.top(), s * 0.6, s);
        p.drawRoundedRect(body, r * 1.5, r * 1.5);
        p.drawRect(QRectF(body.left() + s * 0.08, body.top() + s * 0.08, body.width() - s * 0.16, s * 0.36));
        p.drawEllipse(QPointF(c.x(), body.bottom() - s * 0.26), s * 0.15, s * 0.15);
    } else if (glyph == QLatin1String("disc")) {
        p.drawEllipse(c, s * 0.48, s * 0.48);
        p.drawEllipse(c, s * 0.12, s * 0.12);
        p.drawArc(QRectF(c.x() - s * 0.32, c.y() - s * 0.32, s * 0.64, s * 0.64), 100 * 16, 60 * 16);
    } else if (glyph == QLatin1String("film") || glyph == QLatin1String("video")) {
        const QRectF frame(box.left(), box.top() + s * 0.12, s, s * 0.76);
        p.drawRoundedRect(frame, r, r);
        p.drawLine(QPointF(frame.left() + s * 0.18, frame.top()), QPointF(frame.left() + s * 0.18, frame.bottom()));
        p.drawLine(QPointF(frame.right() - s * 0.18, frame.top()), QPointF(frame.right() - s * 0.18, frame.bottom()));
        for (int i = 0; i < 3; ++i) {
            const qreal y = frame.top() + frame.height() * (0.25 + 0.25 * i);
            p.drawLine(QPointF(frame.left(), y), QPointF(frame.left() + s * 0.18, y));
            p.drawLine(QPointF(frame.right() - s * 0.18, y), QPointF(frame.right(), y));
        }
        if (glyph == QLatin1String("video")) {
            p.setBrush(color);
            p.drawPolygon(QPolygonF({QPointF(c.x() - s * 0.1, c.y() - s * 0.13), QPointF(c.x() + s * 0.14, c.y()),
                                     QPointF(c.x() - s * 0.1, c.y() + s * 0.13)}));
        }
    } else if (glyph == QLatin1String("globe")) {
        p.drawEllipse(c, s * 0.48, s * 0.48);
        p.drawEllipse(c, s * 0.2, s * 0.48);
        p.drawLine(QPointF(c.x() - s * 0.48, c.y()), QPointF(c.x() + s * 0.48, c.y()));
        p.drawLine(QPointF(c.x(), c.y() - s * 0.48), QPointF(c.x(), c.y() + s * 0.48));
        p.drawLine(QPointF(c.x() - s * 0.41, c.y() - s * 0.24), QPointF(c.x() + s * 0.41, c.y() - s * 0.24));
        p.drawLine(QPointF(c.x() - s * 0.41, c.y() + s * 0.24), QPointF(c.x() + s * 0.41, c.y() + s * 0.24));
    } else if (glyph == QLatin1String("note") || glyph == QLatin1String("audio")) {
        const QPointF head1(c.x() - s * 0.24, box.bottom() - s * 0.14);
        const QPointF head2(c.x() + s * 0.3, box.bottom() - s * 0.22);
        p.setBrush(color);
        p.drawEllipse(head1, s * 0.13, s * 0.1);
        p.drawEllipse(head2, s * 0.13, s * 0.1);
        p.setBrush(Qt::NoBrush);
        const QPointF top1(head1.x() + s * 0.12, box.top() + s * 0.16);
        const QPointF top2(head2.x() + s * 0.12, box.top() + s * 0.06);
        p.drawLine(QPointF(top1.x(), head1.y()), top1);
        p.drawLine(QPointF(top2.x(), head2.y()), top2);
        p.setPen(QPen(color, line * 1.8, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(top1, top2);
    } else if (glyph == QLatin1String("bell")) {
        QPainterPath bell;
        bell.moveTo(box.left() + s * 0.12, box.bottom() - s * 0.2);
        bell.cubicTo(box.left() + s * 0.26, box.bottom() - s * 0.4, box.left() + s * 0.16, box.top() + s * 0.08, c.x(),
                     box.top() + s * 0.08);
        bell.cubicTo(box.right() - s * 0.16, box.top() + s * 0.08, box.right() - s * 0.26, box.bottom() - s * 0.4,
                     box.right() - s * 0.12, box.bottom() - s * 0.2);
        bell.closeSubpath();
        p.drawPath(bell);
        p.drawArc(QRectF(c.x() - s * 0.1, box.bottom() - s * 0.26, s * 0.2, s * 0.2), 180 * 16, 180 * 16);
    } else if (glyph == QLatin1String("layers")) {
        p.drawRoundedRect(QRectF(box.left() + s * 0.22, box.top() + s * 0.08, s * 0.7, s * 0.56), r, r);
        p.setBrush(QColor(45, 45, 45));
        p.drawRoundedRect(QRectF(box.left() + s * 0.08, box.top() + s * 0.34, s * 0.7, s * 0.56), r, r);
    }
    p.restore();
    return true;
}
