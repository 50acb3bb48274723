#include "SkinImageLoad.h"

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

} // namespace SkinImageLoad
