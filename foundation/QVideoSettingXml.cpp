#include "QVideoSettingXml.h"

#include "CommaList.h"
#include "QIAnyUtil.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

namespace {

const QString kRoot = QStringLiteral("ROOTITEM");

void resetToEmptyRoot(QDomDocument &doc)
{
    doc = QDomDocument();
    doc.appendChild(doc.createElement(kRoot));
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

// Keeps a copy of a file that is about to be replaced because it does not parse. The same content is
// kept once only, so repeated failed saves do not pile up copies. False when no copy could be made: the
// caller must then leave the file alone rather than destroy what the user had.
bool keepAside(const QString &path)
{
    const QByteArray content = readAll(path);
    if (content.isEmpty())
        return true;
    for (int n = 0; n < 100; ++n) {
        const QString target = n == 0 ? path + QStringLiteral(".bad") : path + QStringLiteral(".bad.%1").arg(n);
        if (!QFileInfo::exists(target)) {
            if (QFile::copy(path, target))
                return true;
            qWarning() << "could not keep the unreadable file aside:" << target;
            return false;
        }
        if (readAll(target) == content)
            return true;
    }
    qWarning() << "no free name to keep the unreadable file aside:" << path;
    return false;
}

} // namespace

bool QVideoSettingXml::isValidFile(const QString &path, QDomDocument &doc, bool *parsed)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    // A document without a root element counts as unparsable: it is kept aside before any rewrite.
    const bool ok = doc.setContent(&file, false) && !doc.documentElement().isNull();
    if (!ok)
        resetToEmptyRoot(doc);
    if (parsed)
        *parsed = ok;
    return true;
}

bool QVideoSettingXml::SaveXml(const QString &path, const QDomDocument &doc, XmlDeclaration declaration)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        qWarning() << "error::ParserXML->writeOperateXml->file.open";
        return false;
    }
    QTextStream stream(&file);
    stream.setCodec("utf-8");
    if (declaration == XmlDeclaration::Utf8)
        doc.save(stream, 4, QDomNode::EncodingFromTextStream);
    else
        doc.save(stream, 4); // no XML declaration is added: files begin with their root element
    stream.flush();
    if (stream.status() != QTextStream::Ok || !file.commit()) {
        qWarning() << "error::ParserXML->writeOperateXml->file.write" << path;
        return false;
    }
    return true;
}

std::string &QVideoSettingXml::trim(std::string &text)
{
    return trimSpaces(text);
}

bool QVideoSettingXml::loadForUpdate(const QString &path, QDomDocument &doc)
{
    if (!QFileInfo::exists(path)) {
        resetToEmptyRoot(doc);
        return true;
    }
    bool parsed = true;
    if (!isValidFile(path, doc, &parsed))
        return false;
    return parsed || keepAside(path);
}

QDomElement QVideoSettingXml::firstChildByTag(const QDomElement &parent, const QString &tag)
{
    for (QDomElement e = parent.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        if (e.tagName() == tag)
            return e;
    }
    return QDomElement();
}

QDomElement QVideoSettingXml::firstChildByAttribute(const QDomElement &parent, const QString &attribute,
                                                    const QString &value)
{
    for (QDomElement e = parent.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        if (e.attribute(attribute) == value)
            return e;
    }
    return QDomElement();
}

QDomElement QVideoSettingXml::orNewChild(const QDomElement &found, QDomDocument &doc, QDomElement parent,
                                         const QString &tag)
{
    if (!found.isNull())
        return found;
    QDomElement created = doc.createElement(tag);
    parent.appendChild(created);
    return created;
}

QDomElement QVideoSettingXml::childByAttributeOrNew(QDomDocument &doc, QDomElement parent, const QString &tag,
                                                    const QString &attribute, const QString &value)
{
    QDomElement found = firstChildByAttribute(parent, attribute, value);
    if (!found.isNull())
        return found;
    QDomElement created = doc.createElement(tag);
    created.setAttribute(attribute, value);
    parent.appendChild(created);
    return created;
}

QString QVideoSettingXml::settingsFilePath()
{
    return QIAnyUtil::getAppDataPath() + QStringLiteral("/VideoDefaultSetting.xml");
}

QString QVideoSettingXml::readKey(const QString &tag, const QString &attribute, const QString &defaultValue,
                                  bool fillEmpty)
{
    return readKeyIn(settingsFilePath(), tag, attribute, defaultValue, fillEmpty);
}

QString QVideoSettingXml::readKeyIn(const QString &path, const QString &tag, const QString &attribute,
                                    const QString &defaultValue, bool fillEmpty, XmlDeclaration declaration)
{
    const bool existed = QFileInfo::exists(path);
    bool parsed = true;
    QDomDocument doc;
    if (existed) {
        if (!isValidFile(path, doc, &parsed))
            return defaultValue;
        if (!parsed && !keepAside(path))
            return defaultValue;
    } else {
        resetToEmptyRoot(doc);
    }
    bool changed = !existed || !parsed;
    QDomElement root = doc.documentElement();
    QString result = defaultValue;
    QDomElement entry = firstChildByTag(root, tag);
    if (!entry.isNull()) {
        const QString value = entry.attribute(attribute);
        if (!value.isEmpty()) {
            result = value;
        } else if (fillEmpty) {
            entry.setAttribute(attribute, defaultValue);
            changed = true;
        }
    } else {
        QDomElement created = doc.createElement(tag);
        created.setAttribute(attribute, defaultValue);
        root.appendChild(created);
        changed = true;
    }
    // An unchanged document is not rewritten: a read must not race another process's write for nothing.
    if (changed)
        SaveXml(path, doc, declaration);
    return result;
}

QString QVideoSettingXml::GetItemValue(const QString &tag, const QString &attribute, const QString &defaultValue)
{
    return readKey(tag, attribute, defaultValue, false);
}

bool QVideoSettingXml::SetItemValue(const QString &tag, const QString &attribute, const QString &value)
{
    return writeKeyIn(settingsFilePath(), tag, attribute, value);
}

bool QVideoSettingXml::writeKeyIn(const QString &path, const QString &tag, const QString &attribute,
                                  const QString &value, XmlDeclaration declaration)
{
    QDomDocument doc;
    if (!loadForUpdate(path, doc))
        return false;
    QDomElement root = doc.documentElement();
    QDomElement entry = orNewChild(firstChildByTag(root, tag), doc, root, tag);
    entry.setAttribute(attribute, value);
    return SaveXml(path, doc, declaration);
}

QString QVideoSettingXml::GetItemValue(const SettingKey &key)
{
    return GetItemValue(QLatin1String(key.tag), QLatin1String(key.attribute), SettingKeys::defaultOf(key));
}

bool QVideoSettingXml::SetItemValue(const SettingKey &key, const QString &value)
{
    return SetItemValue(QLatin1String(key.tag), QLatin1String(key.attribute), value);
}

QString QVideoSettingXml::getCaptureImgSuffix()
{
    const SettingKey &key = SettingKeys::ScreenshotSuffix;
    return readKey(QLatin1String(key.tag), QLatin1String(key.attribute), QLatin1String(key.defaultValue), true);
}

void QVideoSettingXml::setCaptureImgSuffix(const QString &suffix)
{
    SetItemValue(SettingKeys::ScreenshotSuffix, suffix);
}

QString QVideoSettingXml::getCaptrueImaSavePath()
{
    qDebug() << settingsFilePath();
    const SettingKey &key = SettingKeys::ScreenshotFolder;
    return readKey(QLatin1String(key.tag), QLatin1String(key.attribute), SettingKeys::defaultOf(key), true);
}

void QVideoSettingXml::setCaptrueImaPath(const QString &path)
{
    SetItemValue(SettingKeys::ScreenshotFolder, path);
}

QString SettingKeys::defaultOutputPath()
{
    QString path = QIAnyUtil::getDocumentPath() + QStringLiteral("/Converted/");
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return path;
}

QString SettingKeys::defaultOf(const SettingKey &key)
{
    if (key.defaultValue)
        return QLatin1String(key.defaultValue);
    const QString tag = QLatin1String(key.tag);
    if (tag == QLatin1String(OutputPath.tag))
        return defaultOutputPath();
    if (tag == QLatin1String(ScreenshotFolder.tag)) {
        const QString documents = QIAnyUtil::getDocumentPath();
        const QString folder = documents + QStringLiteral("/Screenshots/");
        if (QDir(folder).exists() || QDir().mkpath(folder))
            return folder;
        return documents;
    }
    return QString();
}
