// The language list of the resource folder: one element per language with its name, text file and type.

#include "QVideoSettingXml.h"

#include <QFileInfo>

QStringList QVideoSettingXml::GetLanguage(const QString &listPath)
{
    QStringList names;
    QDomDocument doc;
    if (!QFileInfo::exists(listPath) || !isValidFile(listPath, doc))
        return names;
    for (QDomElement e = doc.documentElement().firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        names << e.attribute(QStringLiteral("Language_Name"));
    return names;
}

QPair<QString, QString> QVideoSettingXml::GetLanguageFile(const QString &listPath, const QString &name)
{
    QPair<QString, QString> result;
    QDomDocument doc;
    if (!QFileInfo::exists(listPath) || !isValidFile(listPath, doc))
        return result;
    // The last entry carrying the name decides.
    for (QDomElement e = doc.documentElement().firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        if (e.attribute(QStringLiteral("Language_Name")) == name) {
            result.first = e.attribute(QStringLiteral("Language_File"));
            result.second = e.attribute(QStringLiteral("Language_Type"));
        }
    }
    return result;
}
