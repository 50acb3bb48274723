#pragma once
// Screenshots of the editor controls for review by eye: <build>/gallery/<Class>[-state].png. A window
// pictured on screen must also let every control it shows be clicked.

#include "TestSupport.h"
#include "WindowInput.h"

#include <QDir>
#include <QImage>
#include <QWidget>

namespace editgallery {

inline QString path(const QString &name)
{
    return rstest::galleryPath(name);
}

// Saves the image and fails the test when it shows nothing but one colour.
inline void saveImage(const QImage &image, const QString &name)
{
    QVERIFY2(!image.isNull(), qPrintable(name));
    QVERIFY2(image.save(path(name)), qPrintable(path(name)));
    const QImage plain = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb first = plain.pixel(0, 0);
    bool varied = false;
    for (int y = 0; y < plain.height() && !varied; y += 2)
        for (int x = 0; x < plain.width() && !varied; x += 2)
            varied = plain.pixel(x, y) != first;
    QVERIFY2(varied, qPrintable(name + QStringLiteral(" shows one colour only")));
}

// The widget and its children drawn on a page-coloured ground, at 2x.
inline void save(QWidget *w, const QString &name, const QColor &ground = QColor(37, 37, 37))
{
    QImage image(w->size() * 2, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2.0);
    image.fill(ground);
    w->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    saveImage(image, name);
    if (w->isVisible()) {
        const QStringList unreachable = rstest::unreachableControls(w->window());
        QVERIFY2(unreachable.isEmpty(),
                 qPrintable(name + QStringLiteral(": ") + unreachable.join(QStringLiteral("; "))));
    }
}

} // namespace editgallery
