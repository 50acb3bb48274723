#pragma once
// Helpers of the widget tests: synthetic strips whose frames have distinct colours, rendering a widget
// into an image, and a window to hold a lone control so that input reaches it through the window system.

#include "QAudioDataWidget.h"
#include "WindowInput.h"

#include <QColor>
#include <QImage>
#include <QMouseEvent>
#include <QPointer>
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

// Shows a lone control in a window of its own, with room around it for the pointer to come from. Declare
// it after the control: it gives the control back before the window goes.
class Host
{
public:
    explicit Host(QWidget *control);
    ~Host();
    QWidget window;

private:
    QPointer<QWidget> m_control;
};

// The pointer comes onto the widget at `local` from elsewhere in its window, so the window hands the widget
// its Enter as it does a user's pointer.
void hover(QWidget *w, const QPoint &local = rstest::kCentre);

} // namespace wtk
