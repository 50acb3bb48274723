#include "ThumbnailCache.h"

#include "MD5.h"
#include "QIAnyUtil.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

QString ThumbnailCache::cachePath(const QString &sourcePath)
{
    const QFileInfo info(sourcePath);
    const QString key =
        QStringLiteral("%1|%2|%3").arg(sourcePath).arg(info.size()).arg(info.lastModified().toMSecsSinceEpoch());
    const QString name = QStringLiteral("%1.%2").arg(
        QString::fromStdString(MD5(key.toUtf8().toStdString()).hexdigest()), QStringLiteral("JPG"));
    return QIAnyUtil::getAppDataPath() + QStringLiteral("/Temp/") + name;
}

QString ThumbnailCache::store(const QString &sourcePath, const QImage &image)
{
    const QString path = cachePath(sourcePath);
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!QFileInfo::exists(path) && !image.isNull())
        image.save(path, "JPG");
    return path;
}
