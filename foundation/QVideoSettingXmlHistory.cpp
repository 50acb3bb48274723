// The output history "VideoConverted.xml": one Path_item per output path, optionally with a
// CONVERTED_INFO_ child describing that output.

#include "QIAnyUtil.h"
#include "QVideoSettingXml.h"

#include <QFileInfo>

convertedInfo *QVideoSettingXml::m_convertInfo = nullptr;

namespace {

const QString kPathAttr = QStringLiteral("Converted_path_");

QString historyFilePath()
{
    return QIAnyUtil::getAppDataPath() + QStringLiteral("/VideoConverted.xml");
}

// The readers neither create the file nor read one that cannot be opened.
bool loadExisting(QDomDocument &doc)
{
    const QString path = historyFilePath();
    return QFileInfo::exists(path) && QVideoSettingXml::isValidFile(path, doc);
}

QString slashed(QString path)
{
    return path.replace(QLatin1Char('\\'), QLatin1Char('/'));
}

} // namespace

void QVideoSettingXml::SaveConvertedInfo(const convertedInfo *info)
{
    if (!info)
        return;
    const QString path = historyFilePath();
    QDomDocument doc;
    if (!loadForUpdate(path, doc))
        return;
    QDomElement root = doc.documentElement();
    QDomElement item = childByAttributeOrNew(doc, root, QStringLiteral("Path_item"), kPathAttr, info->strOutputPath);
    QDomElement description = orNewChild(item.firstChildElement(), doc, item, QStringLiteral("CONVERTED_INFO_"));
    description.setAttribute(QStringLiteral("Img_path_"), info->strImgPath);
    description.setAttribute(QStringLiteral("Resolutin_"), info->strResolution);
    description.setAttribute(QStringLiteral("Time_"), info->strTime);
    description.setAttribute(QStringLiteral("Size_"), info->strSize);
    description.setAttribute(QStringLiteral("Extend_"), info->strExtend);
    description.setAttribute(QStringLiteral("Artist_"), info->strArtist);
    SaveXml(path, doc);
}

void QVideoSettingXml::SetConvertedPath(const QString &outputPath)
{
    const QString path = historyFilePath();
    QDomDocument doc;
    if (!loadForUpdate(path, doc))
        return;
    QDomElement root = doc.documentElement();
    childByAttributeOrNew(doc, root, QStringLiteral("Path_item"), kPathAttr, outputPath);
    SaveXml(path, doc);
}

QStringList QVideoSettingXml::GetConvertedPath()
{
    QStringList paths;
    QDomDocument doc;
    if (!loadExisting(doc))
        return paths;
    QDomElement root = doc.documentElement();
    bool removed = false;
    QDomElement e = root.firstChildElement();
    while (!e.isNull()) {
        const QDomElement next = e.nextSiblingElement();
        const QString value = e.attribute(kPathAttr);
        if (!value.isEmpty() && QFileInfo::exists(value)) {
            paths << value;
        } else {
            // Outputs that are gone are forgotten.
            root.removeChild(e);
            removed = true;
        }
        e = next;
    }
    if (removed)
        SaveXml(historyFilePath(), doc);
    return paths;
}

void QVideoSettingXml::DeleteConvertedPath(QStringList paths)
{
    if (paths.isEmpty())
        return;
    QDomDocument doc;
    if (!loadExisting(doc))
        return;
    QDomElement root = doc.documentElement();
    bool removed = false;
    QDomElement e = root.firstChildElement();
    while (!e.isNull() && !paths.isEmpty()) {
        const QDomElement next = e.nextSiblingElement();
        const int index = paths.indexOf(e.attribute(kPathAttr));
        if (index >= 0) {
            root.removeChild(e);
            paths.removeAt(index);
            removed = true;
        }
        e = next;
    }
    if (removed)
        SaveXml(historyFilePath(), doc);
}

convertedInfo *QVideoSettingXml::GetConvertedInfo(const QString &outputPath)
{
    static convertedInfo s_record;
    s_record = convertedInfo();
    m_convertInfo = nullptr;

    QDomDocument doc;
    if (!loadExisting(doc))
        return nullptr;
    const QString wanted = slashed(outputPath);
    QDomElement match;
    for (QDomElement e = doc.documentElement().firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        if (slashed(e.attribute(kPathAttr)) == wanted) {
            match = e;
            break;
        }
    }
    if (match.isNull())
        return nullptr;
    const QDomElement description = match.firstChildElement();
    s_record.strOutputPath = wanted;
    s_record.strImgPath = description.attribute(QStringLiteral("Img_path_"));
    s_record.strResolution = description.attribute(QStringLiteral("Resolutin_"));
    s_record.strTime = description.attribute(QStringLiteral("Time_"));
    s_record.strSize = description.attribute(QStringLiteral("Size_"));
    s_record.strExtend = description.attribute(QStringLiteral("Extend_"));
    s_record.strArtist = description.attribute(QStringLiteral("Artist_"));
    m_convertInfo = &s_record;
    return m_convertInfo;
}
