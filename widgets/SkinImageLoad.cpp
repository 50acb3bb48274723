#include "SkinImageLoad.h"

#include <QWidget>

namespace SkinImageLoad {

bool image2x(const QString &path, QImage &target)
{
    QImage loaded;
    if (path.isEmpty() || !loaded.load(path) || loaded.isNull())
        return false;
    loaded.setDevicePixelRatio(2.0);
    target = loaded;
    return true;
}

bool pixmap2x(const QString &path, QPixmap &target)
{
    QPixmap loaded;
    if (!pixmap1x(path, loaded))
        return false;
    loaded.setDevicePixelRatio(2.0);
    target = loaded;
    return true;
}

bool pixmap1x(const QString &path, QPixmap &target)
{
    QPixmap loaded;
    if (path.isEmpty() || !loaded.load(path) || loaded.isNull())
        return false;
    target = loaded;
    return true;
}

void sizeToImage(QWidget *widget, const QImage &image2x, bool resizable)
{
    const QSize logical(image2x.width() / 2, image2x.height() / 2);
    if (resizable)
        widget->resize(logical);
    else
        widget->setFixedSize(logical);
}

} // namespace SkinImageLoad
