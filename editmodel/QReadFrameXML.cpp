#include "QReadFrameXML.h"

#include "QFrameChunk.h"

#include <QFile>
#include <QFileInfo>

QString QFrameChunk::getThumbnailImage() const
{
    return QStringLiteral("%1/%2").arg(folder, thumbnail);
}

bool QReadFrameXML::isValidFile(const QString &path, QDomDocument &doc)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // The parser reads the encoding the file declares.
    return doc.setContent(&file, false) && !doc.documentElement().isNull();
}

namespace {
int rootInt(const QString &path, const QString &attribute)
{
    QDomDocument doc;
    if (!QFileInfo::exists(path) || !QReadFrameXML::isValidFile(path, doc))
        return -1;
    return doc.documentElement().attribute(attribute).toInt();
}
} // namespace

int QReadFrameXML::getVersionId(const QString &path)
{
    return rootInt(path, QStringLiteral("Version"));
}

int QReadFrameXML::getAPPMinVersion(const QString &path)
{
    return rootInt(path, QStringLiteral("APPMinVersion"));
}

QFrameChunk *QReadFrameXML::readFrameChunk(const QString &path)
{
    QDomDocument doc;
    if (!QFileInfo::exists(path) || !isValidFile(path, doc))
        return nullptr;
    auto *chunk = new QFrameChunk;
    const QDomElement root = doc.documentElement();
    chunk->appMinVersion = root.attribute(QStringLiteral("APPMinVersion")).toInt();
    chunk->version = root.attribute(QStringLiteral("Version")).toInt();
    chunk->thumbnail = root.attribute(QStringLiteral("Thumbnail"));
    chunk->name = root.attribute(QStringLiteral("Name"));
    for (QDomNode n = root.firstChild(); !n.isNull(); n = n.nextSibling()) {
        if (!n.isElement())
            continue;
        const QDomElement e = n.toElement();
        const QString tag = e.tagName();
        if (tag == QLatin1String("FrameInfo")) {
            chunk->frameName = e.attribute(QStringLiteral("Name"));
            QList<FrameInfoItem> items;
            for (QDomNode c = e.firstChild(); !c.isNull(); c = c.nextSibling()) {
                const QDomElement ce = c.toElement(); // a non-element child gives an item of defaults
                FrameInfoItem item;
                item.fileName = ce.attribute(QStringLiteral("FileName"));
                item.height = ce.attribute(QStringLiteral("Height")).toInt();
                item.width = ce.attribute(QStringLiteral("Width")).toInt();
                item.type = ce.attribute(QStringLiteral("Type")).toInt();
                items << item;
            }
            chunk->frameInfoList = items;
        } else if (tag == QLatin1String("EQ")) {
            for (QDomNode c = e.firstChild(); !c.isNull(); c = c.nextSibling()) {
                const QDomElement ce = c.toElement();
                chunk->eqMap[ce.attribute(QStringLiteral("hz")).toDouble()] =
                    ce.attribute(QStringLiteral("db")).toDouble();
            }
        } else if (tag == QLatin1String("Rate")) {
            const QString value = e.attribute(QStringLiteral("Value"));
            if (!value.isEmpty())
                chunk->rate = value.toInt();
        }
    }
    return chunk;
}
