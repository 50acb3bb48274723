#include "OutputGuard.h"

#include <QFileInfo>

#include <sys/stat.h>

namespace OutputGuard {

bool sameFile(const QString &a, const QString &b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    const QString ca = QFileInfo(a).canonicalFilePath();
    if (!ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath())
        return true;
    struct stat sa, sb;
    return ::stat(QFile::encodeName(a).constData(), &sa) == 0 && ::stat(QFile::encodeName(b).constData(), &sb) == 0 &&
           sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

QString sourceAtOutput(const QString &output, const QStringList &sources)
{
    for (const QString &source : sources) {
        if (sameFile(output, source))
            return source;
    }
    return QString();
}

QStringList namedFiles(const VEEditConfig &config)
{
    QStringList files;
    auto add = [&files](const QByteArray &path) {
        if (!path.isEmpty())
            files << QString::fromUtf8(path);
    };
    add(config.subtitleValue.subtitleFile);
    for (const VESubltItemInfo &item : config.subtitleItems)
        add(item.filePath);
    for (const VEWatermarkSettings *overlay : {&config.watermark, &config.effectOverlay, &config.frameOverlay}) {
        add(overlay->image.imagePath);
        add(overlay->image.maskPath);
    }
    add(config.audioBackground.filePath);
    return files;
}

} // namespace OutputGuard
