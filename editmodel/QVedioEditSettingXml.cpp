#include "QVedioEditSettingXml.h"

#include "QIAnyUtil.h"
#include "QVideoSettingXml.h"

#include <QDir>

namespace {

const QString kScreenshots = QStringLiteral("Screenshots");
const QString kSuffix = QStringLiteral("IMG_SUFFIX");
const QString kFolder = QStringLiteral("IMG_Folder");
constexpr QVideoSettingXml::XmlDeclaration kDeclaration = QVideoSettingXml::XmlDeclaration::Utf8;

} // namespace

QString QVedioEditSettingXml::filePath()
{
    return QIAnyUtil::getAppDataPath() + QStringLiteral("/VedioEditDefaultSetting.xml");
}

QString QVedioEditSettingXml::readValue(const QString &tag, const QString &attribute, const QString &defaultValue,
                                        bool storeDefaultWhenEmpty)
{
    return QVideoSettingXml::readKeyIn(filePath(), tag, attribute, defaultValue, storeDefaultWhenEmpty, kDeclaration);
}

bool QVedioEditSettingXml::SetItemValue(const QString &tag, const QString &attribute, const QString &value)
{
    return QVideoSettingXml::writeKeyIn(filePath(), tag, attribute, value, kDeclaration);
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
