#pragma once
// Pictures that users give the program (cover art, watermark images) are shown in small buttons. Their
// declared size is read first, a picture that declares an absurd size is refused before a pixel is decoded,
// and the rest is decoded no larger than the box it is shown in, so a small file that declares a huge
// picture costs neither seconds on the window's thread nor a gigabyte held for a 125-pixel button.

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

class QImageReader;

namespace UserPicture {

// The largest picture decoded at all: no side over 16384 and no more than 64 million pixels.
constexpr int kMaxSide = 16384;
constexpr qint64 kMaxPixels = qint64(8192) * 8192;

// The picture scaled down to `box` keeping its aspect (inside it, or covering it with
// Qt::KeepAspectRatioByExpanding), never scaled up; null when it cannot be read, declares no size or declares
// one beyond the limits above.
QImage fitted(QImageReader &reader, const QSize &box, Qt::AspectRatioMode mode = Qt::KeepAspectRatio);
QImage fromData(const QByteArray &bytes, const QSize &box, Qt::AspectRatioMode mode = Qt::KeepAspectRatio);
QImage fromFile(const QString &path, const QSize &box, Qt::AspectRatioMode mode = Qt::KeepAspectRatio);

} // namespace UserPicture
