#pragma once
// Draws one skin image at 2x from its manifest entry, in the program's one look: dark charcoal (or light
// grey) panels, 1-pixel lighter borders, faint vertical gradients, the red accent for pressed, checked
// and filled states, 2-pixel line glyphs.

#include "SkinManifest.h"

#include <QImage>
#include <QPainter>

// The whole image: frames side by side, each 2 x the logical size, ARGB premultiplied, ratio 1 (the
// program sets ratio 2 when it loads it). A null image for an entry it cannot draw.
QImage paintSkinImage(const SkinImageSpec &spec);

// Draws a glyph centred in a logical rectangle with a 2-pixel pen (exposed for the tool's tests).
bool paintSkinGlyph(QPainter &p, const QRectF &rect, const QString &glyph, const QColor &color);

// Writes a PNG through QSaveFile so that a build never leaves half an image behind.
bool saveImageAtomically(const QImage &image, const QString &path);
