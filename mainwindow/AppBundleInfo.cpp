#include "AppBundleInfo.h"

#include "PropertyList.h"
#include "QIAnyUtil.h"
#include "ZtCommonInterface.h"

#include <QVariant>

namespace {

struct Values
{
    QString version = ZtCommonInterface::bundleVersion();
    QString shortVersion = ZtCommonInterface::shortVersion();
    QString home = QStringLiteral("https://www.quorvane.example/");
    QString host = QStringLiteral("https://www.quorvane.example");
    QString download = QStringLiteral("https://www.quorvane.example/download");
};

Values &values()
{
    static Values v;
    return v;
}

void take(const QVariantMap &info, const char *key, QString &into)
{
    const QString text = info.value(QLatin1String(key)).toString().trimmed();
    if (!text.isEmpty())
        into = text;
}

} // namespace

bool AppBundleInfo::load(const QString &infoPlistPath)
{
    const QString path =
        infoPlistPath.isEmpty() ? QIAnyUtil::getApplicationDirPath() + QStringLiteral("Info.plist") : infoPlistPath;
    QVariant root;
    if (!PropertyList::readFile(path, root) || root.type() != QVariant::Map)
        return false;
    const QVariantMap info = root.toMap();
    Values &v = values();
    take(info, "CFBundleVersion", v.version);
    take(info, "CFBundleShortVersionString", v.shortVersion);
    take(info, "RSHomePageURL", v.home);
    take(info, "RSWebHost", v.host);
    take(info, "RSDownloadPageURL", v.download);
    while (v.host.endsWith(QLatin1Char('/')))
        v.host.chop(1);
    return true;
}

QString AppBundleInfo::version()
{
    return values().version;
}

QString AppBundleInfo::shortVersion()
{
    return values().shortVersion;
}

QUrl AppBundleInfo::homePage()
{
    return QUrl(values().home);
}

QUrl AppBundleInfo::redirectPage(const QString &pageType)
{
    return QUrl(values().host + QStringLiteral("/api/product/redirect?pid=%1&page_type=%2")
                                    .arg(ZtCommonInterface::updateProductId(), pageType));
}

QUrl AppBundleInfo::helpPage()
{
    return redirectPage(QStringLiteral("help"));
}

QUrl AppBundleInfo::downloadPage()
{
    return QUrl(values().download);
}
