#pragma once
// Helpers of the widget tests: synthetic strips whose frames have distinct colours, rendering a widget
// into an image, and mouse events with explicit global positions.

#include "QAudioDataWidget.h"

#include <QColor>
#include <QImage>
#include <QMouseEvent>
#include <QString>
#include <QVector>
#include <QWidget>

Q_DECLARE_METATYPE(QMouseEvent *)

namespace wtk {

// The frame colours of makeStrip: normal, hover, pressed, disabled.
QVector<QColor> stripColors();
// A strip of four solid frames side by side, pixel size (4 * frameW) x frameH, saved as PNG.
QString makeStrip(const QString &name, int frameW, int frameH);
// One solid image of the given pixel size.
QString makeSolid(const QString &name, int w, int h, const QColor &color);
// A 2x image whose four corner thirds are red, the bands green and the centre blue (nine-grid checks).
QString makeNineGrid(const QString &name, int w, int h);
// A path that holds no image (a text file with a .png name).
QString makeBroken(const QString &name);

// The layout record the program gives its audio level bars.
AudioDataAttribute audioBarsRecord();

QImage render(QWidget *w);
bool near(const QColor &a, const QColor &b, int tolerance = 24);
// Index of the makeStrip frame whose colour the widget shows in its middle, or -1.
int shownFrame(QWidget *w);

void sendMouse(QWidget *w, QEvent::Type type, const QPoint &local, Qt::MouseButton button = Qt::LeftButton,
               Qt::MouseButtons buttons = Qt::LeftButton);
// Global positions of widgets are taken as given: offscreen windows sit where they are placed.
void sendMouseGlobal(QWidget *w, QEvent::Type type, const QPoint &global, Qt::MouseButton button = Qt::LeftButton,
                     Qt::MouseButtons buttons = Qt::LeftButton);
void sendEnter(QWidget *w);
void sendLeave(QWidget *w);

} // namespace wtk
