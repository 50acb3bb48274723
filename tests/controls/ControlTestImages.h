#pragma once
// Images and probes shared by the control tests: strips whose four frames carry distinct colours (so a
// rendered control tells which frame it shows), solid images, and rendering a widget into a QImage.

#include "QIAnyUtil.h"
#include "TestSupport.h"

#include <QColor>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QWidget>

namespace ctltest {

// The four frame colours of a test strip: normal, hover, pressed, disabled.
inline QColor frameColor(int k)
{
    static const QColor colors[4] = {QColor(200, 0, 0), QColor(0, 200, 0), QColor(0, 0, 200), QColor(200, 200, 0)};
    return colors[k];
}

// A 4-frame strip of frameW x frameH pixels per frame.
inline QImage stripImage(int frameW, int frameH)
{
    QImage image(4 * frameW, frameH, QImage::Format_ARGB32);
    for (int k = 0; k < 4; ++k) {
        QPainter p(&image);
        p.fillRect(k * frameW, 0, frameW, frameH, frameColor(k));
    }
    return image;
}

inline QImage solidImage(int w, int h, const QColor &color)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

// Writes an image into the test's scratch folder and returns its path.
inline QString saveImage(const QImage &image, const QString &name)
{
    static const QString dir = rstest::scratchDir(QStringLiteral("images")); // made once: it starts empty
    static int serial = 0;
    const QString path = QStringLiteral("%1/%2_%3.png").arg(dir).arg(++serial).arg(name);
    image.save(path);
    return path;
}

inline QImage render(QWidget *w, QWidget::RenderFlags flags = QWidget::DrawChildren)
{
    QImage image(w->size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    w->render(&image, QPoint(), QRegion(), flags);
    return image;
}

// Colours compare with a little tolerance for smooth scaling.
inline bool near(const QColor &a, const QColor &b, int tolerance = 12)
{
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance &&
           qAbs(a.blue() - b.blue()) <= tolerance;
}

// Points the resource folder at the build tree's bundle.
inline void useBundleResources()
{
    QIAnyUtil::setApplicationDirPathForTesting(rstest::bundleDir() + QStringLiteral("/Contents"));
}

} // namespace ctltest
