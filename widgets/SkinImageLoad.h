#pragma once
// Loading of 2x skin images for the custom widgets: a file that is missing or cannot be decoded leaves the
// previous image untouched and reports failure, so a control never shrinks to nothing on a bad path.

#include <QImage>
#include <QPixmap>
#include <QString>

class QWidget;

namespace SkinImageLoad {

// Loads path into target with device pixel ratio 2; false (target unchanged) when nothing decodes.
bool image2x(const QString &path, QImage &target);
bool pixmap2x(const QString &path, QPixmap &target);
// The same without setting a device pixel ratio.
bool pixmap1x(const QString &path, QPixmap &target);

// Logical size of one frame of a 2x strip of four frames side by side.
inline QSize stripFrameSize(const QImage &strip2x)
{
    return QSize(strip2x.width() / 8, strip2x.height() / 2);
}

// Gives the widget a 2x image's logical size: as its starting size when resizable, fixed otherwise.
void sizeToImage(QWidget *widget, const QImage &image2x, bool resizable);

} // namespace SkinImageLoad
