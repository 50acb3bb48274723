#pragma once
// The thumbnail cache files of the media list: one JPG per clip picture in "<app data>/Temp", named by
// the MD5 digest of the source path together with the file's size and modification time, so that a file
// that changed on disk gets a fresh picture while re-importing an unchanged file costs no encoding.

#include <QImage>
#include <QString>

class ThumbnailCache
{
public:
    // The cache file for the source as it is now on disk.
    static QString cachePath(const QString &sourcePath);
    // Writes the picture unless its file exists; answers the path (also when the save failed: the
    // history only records it).
    static QString store(const QString &sourcePath, const QImage &image);
};
