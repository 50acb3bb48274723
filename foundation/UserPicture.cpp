#include "UserPicture.h"

#include <QBuffer>
#include <QImageReader>

namespace UserPicture {

QImage fitted(QImageReader &reader, const QSize &box, Qt::AspectRatioMode mode)
{
    reader.setAutoTransform(true);
    // The header alone gives the size; nothing is decoded yet.
    const QSize declared = reader.size();
    if (!declared.isValid() || declared.isEmpty() || declared.width() > kMaxSide || declared.height() > kMaxSide ||
        qint64(declared.width()) * declared.height() > kMaxPixels)
        return QImage();
    if (box.isValid() && !box.isEmpty()) {
        const QSize target = declared.scaled(box, mode).expandedTo(QSize(1, 1));
        if (target.width() < declared.width() && target.height() < declared.height())
            reader.setScaledSize(target);
    }
    return reader.read();
}

QImage fromData(const QByteArray &bytes, const QSize &box, Qt::AspectRatioMode mode)
{
    if (bytes.isEmpty())
        return QImage();
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return QImage();
    QImageReader reader(&buffer);
    return fitted(reader, box, mode);
}

QImage fromFile(const QString &path, const QSize &box, Qt::AspectRatioMode mode)
{
    if (path.isEmpty())
        return QImage();
    QImageReader reader(path);
    return fitted(reader, box, mode);
}

} // namespace UserPicture
