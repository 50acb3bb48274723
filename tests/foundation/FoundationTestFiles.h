#pragma once
// File helpers of the foundation tests: whole-file reads and writes and the root element of an XML file.

#include <QDomDocument>
#include <QDomElement>
#include <QFile>
#include <QtTest>

namespace ftest {

// The file's bytes, or empty when it does not open.
inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeFile(const QString &path, const QByteArray &content)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content);
}

// The document element, null when the file is missing or not XML.
inline QDomElement rootOf(const QString &path)
{
    QDomDocument doc;
    doc.setContent(readFile(path));
    return doc.documentElement();
}

} // namespace ftest
