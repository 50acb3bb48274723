#include "QVedioEditSettingXml.h"

#include "QIAnyUtil.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

namespace {

const QString kRoot = QStringLiteral("ROOTITEM");
const QString kScreenshots = QStringLiteral("Screenshots");
const QString kSuffix = QStringLiteral("IMG_SUFFIX");
const QString kFolder = QStringLiteral("IMG_Folder");

void emptyRoot(QDomDocument &doc)
{
    doc = QDomDocument();
    doc.appendChild(doc.createElement(kRoot));
}

QDomElement firstChild(const QDomElement &root, const QString &tag)
{
    return root.firstChildElement(tag); // direct children only, exact name
}

// A file that does not parse is about to be replaced: keep its bytes once beside it, so nothing the user
// had is lost. False when no copy could be made (then it must not be replaced).
bool keepAside(const QString &path)
{
    const QString aside = path + QStringLiteral(".bad");
    if (QFileInfo::exists(aside))
        QFile::remove(aside);
    return QFile::copy(path, aside);
}

// Loads the file for a change: a missing file starts an empty document. False when an existing file cannot
// be read or, unparsable, cannot be kept aside.
bool loadForChange(const QString &path, QDomDocument &doc, bool &changed)
{
    changed = false;
    if (!QFileInfo::exists(path)) {
        emptyRoot(doc);
        changed = true;
        return true;
    }
    bool parsed = true;
    if (!QVedioEditSettingXml::isValidFile(path, doc, &parsed))
        return false;
    if (!parsed) {
        if (!keepAside(path))
            return false;
        changed = true;
    }
    return true;
}

} // namespace

QString QVedioEditSettingXml::filePath()
{
    return QIAnyUtil::getAppDataPath() + QStringLiteral("/VedioEditDefaultSetting.xml");
}

bool QVedioEditSettingXml::isValidFile(const QString &path, QDomDocument &doc, bool *parsed)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    const bool ok = doc.setContent(&file, false) && !doc.documentElement().isNull();
    if (!ok)
        emptyRoot(doc);
    if (parsed)
        *parsed = ok;
    return true;
}

bool QVedioEditSettingXml::SaveXml(const QString &path, const QDomDocument &doc)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        qWarning() << "error::ParserXML->writeOperateXml->file.open";
        return false;
    }
    QTextStream stream(&file);
    stream.setCodec("utf-8");
    doc.save(stream, 4, QDomNode::EncodingFromTextStream);
    stream.flush();
    if (stream.status() != QTextStream::Ok || !file.commit()) {
        qWarning() << "error::ParserXML->writeOperateXml->file.write" << path;
        return false;
    }
    return true;
}

QString QVedioEditSettingXml::readValue(const QString &tag, const QString &attribute, const QString &defaultValue,
                                        bool storeDefaultWhenEmpty)
{
    const QString path = filePath();
    QDomDocument doc;
    bool changed = false;
    if (!loadForChange(path, doc, changed))
        return defaultValue;
    QDomElement root = doc.documentElement();
    QDomElement entry = firstChild(root, tag);
    QString result = defaultValue;
    if (entry.isNull()) {
        entry = doc.createElement(tag);
        entry.setAttribute(attribute, defaultValue);
        root.appendChild(entry);
        changed = true;
    } else {
        const QString value = entry.attribute(attribute);
        if (!value.isEmpty()) {
            result = value;
        } else if (storeDefaultWhenEmpty) {
            entry.setAttribute(attribute, defaultValue);
            changed = true;
        }
    }
    // An unchanged file is not rewritten: its content would be the same.
    if (changed)
        SaveXml(path, doc);
    return result;
}

bool QVedioEditSettingXml::SetItemValue(const QString &tag, const QString &attribute, const QString &value)
{
    const QString path = filePath();
    QDomDocument doc;
    bool changed = false;
    if (!loadForChange(path, doc, changed))
        return false;
    QDomElement root = doc.documentElement();
    QDomElement entry = firstChild(root, tag);
    if (entry.isNull()) {
        entry = doc.createElement(tag);
        root.appendChild(entry);
    }
    entry.setAttribute(attribute, value);
    return SaveXml(path, doc);
}

QString QVedioEditSettingXml::GetItemValue(const QString &tag, const QString &attribute, const QString &defaultValue)
{
    return readValue(tag, attribute, defaultValue, false);
}

QString QVedioEditSettingXml::getCaptureImgSuffix()
{
    return readValue(kScreenshots, kSuffix, QStringLiteral("JPG"), true);
}

bool QVedioEditSettingXml::setCaptureImgSuffix(const QString &suffix)
{
    return SetItemValue(kScreenshots, kSuffix, suffix);
}

QString QVedioEditSettingXml::defaultCaptureFolder()
{
    const QString documents = QIAnyUtil::getDocumentPath();
    const QString folder = documents + QStringLiteral("/Converted/Screenshots/");
    if (!QDir().mkpath(folder))
        return documents;
    return folder;
}

QString QVedioEditSettingXml::getCaptrueImaSavePath()
{
    return readValue(kScreenshots, kFolder, defaultCaptureFolder(), true);
}

bool QVedioEditSettingXml::setCaptrueImaPath(const QString &folder)
{
    return SetItemValue(kScreenshots, kFolder, folder);
}

QString QVedioEditSettingXml::captureFilePath(const QString &fileName)
{
    return QDir(getCaptrueImaSavePath()).filePath(fileName);
}
