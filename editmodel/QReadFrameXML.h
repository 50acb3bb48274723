#pragma once
// Reads a package's "config.xml" into a QFrameChunk.

#include <QDomDocument>
#include <QString>

class QFrameChunk;

class QReadFrameXML
{
public:
    // A new record owned by the caller; null when the file is missing, unreadable or not XML (a package
    // without a readable description is no package).
    static QFrameChunk *readFrameChunk(const QString &path);
    // False when the file cannot be opened or does not parse.
    static bool isValidFile(const QString &path, QDomDocument &doc);
    // The root's Version / APPMinVersion; -1 when the file cannot be read.
    static int getVersionId(const QString &path);
    static int getAPPMinVersion(const QString &path);
};
