#include "QPackageCatalogue.h"

#include "QFrameChunk.h"
#include "QReadFrameXML.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>

QList<QFrameChunk *> PackageCatalogue::load(const QString &folder)
{
    QList<QFrameChunk *> list;
    if (!QFileInfo(folder).isDir())
        return list;
    QStringList files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories); // hidden entries and folder links skipped
    while (it.hasNext()) {
        const QString path = it.next();
        if (it.fileName() == QLatin1String("config.xml"))
            files << path;
    }
    // Order by package folder, not by the file system's walk.
    std::sort(files.begin(), files.end(), [](const QString &a, const QString &b) {
        return QFileInfo(a).absolutePath() < QFileInfo(b).absolutePath();
    });
    for (const QString &path : files) {
        QFrameChunk *chunk = QReadFrameXML::readFrameChunk(path);
        if (!chunk)
            continue;
        chunk->folder = QFileInfo(path).absolutePath();
        list << chunk;
    }
    return list;
}

QFrameChunk *PackageCatalogue::at(const QList<QFrameChunk *> &list, int index)
{
    return index >= 0 && index < list.size() ? list.at(index) : nullptr;
}
