#pragma once
// What the three package catalogues share: find every "config.xml" below one folder of the resource folder
// and read it. Packages are ordered by their folder path, so a package's list position (which the clip's edit
// record stores) is the same on every machine and every run.

#include <QList>
#include <QString>

class QFrameChunk;

namespace PackageCatalogue {
// Reads the packages below the folder; the caller owns the records.
QList<QFrameChunk *> load(const QString &folder);
// The record at the index, or null outside the list.
QFrameChunk *at(const QList<QFrameChunk *> &list, int index);
} // namespace PackageCatalogue
