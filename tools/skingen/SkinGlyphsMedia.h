#pragma once
// Line glyphs for output profiles and media kinds (a phone, a tablet, a film frame, a globe, a note...),
// drawn larger than the control glyphs because profile tiles show them as their picture.

#include <QColor>
#include <QPainter>
#include <QString>

bool isMediaGlyph(const QString &glyph);
// Draws the glyph filling most of `rect`; false for a name it does not know.
bool paintMediaGlyph(QPainter &p, const QRectF &rect, const QString &glyph, const QColor &color);
