#include "ZtCommonInterface.h"

#include "Clocks.h"
#include "HostServices.h"
#include "PropertyList.h"
#include "QIAnyUtil.h"
#include "SystemInfo.h"
#include "UpdateChecker.h"
#include "VEHelper.h"
#include "WindowLevel.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QWidget>

QString ZtCommonInterface::bundleVersion()
{
    return QStringLiteral("1.0.1.2");
}

QString ZtCommonInterface::shortVersion()
{
    return QStringLiteral("1.0.1");
}

QString ZtCommonInterface::updateProductId()
{
    return QStringLiteral("10401");
}

QString ZtCommonInterface::makerName()
{
    return QStringLiteral("Quorvane");
}

QString ZtCommonInterface::updateFeedAddress()
{
    return QStringLiteral("https://update.quorvane.example/api/product/version?pid=%1&ver=%2")
        .arg(updateProductId(), bundleVersion());
}

QString ZtCommonInterface::normalisedRevealPath(const std::string &path)
{
    QString p = QString::fromUtf8(path.c_str());
    p.replace(QStringLiteral("//"), QStringLiteral("/"));
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return p;
}

void ZtCommonInterface::showFileInFolder(const std::string &path)
{
    HostServices::fileRevealer().revealFile(normalisedRevealPath(path));
}

void ZtCommonInterface::shutdownComputer()
{
    HostServices::powerControl().powerOff();
}

void ZtCommonInterface::sleepComputer()
{
    HostServices::powerControl().suspend();
}

namespace {
UpdateChecker &updateChecker()
{
    UpdateChecker &checker = UpdateChecker::instance();
    if (checker.infoPlistPath().isEmpty())
        checker.setInfoPlistPath(ZtCommonInterface::getAppInfoFile());
    return checker;
}
} // namespace

void ZtCommonInterface::checkForUpdate()
{
    updateChecker().checkForUpdates(true);
}

void ZtCommonInterface::setAutoCheckUpdate(bool on)
{
    updateChecker().setAutomaticallyChecksForUpdates(on);
}

QString ZtCommonInterface::SystemVersionInfo()
{
    const QString text = SystemInfo::osVersionText();
    return text.isEmpty() ? QStringLiteral("Unkown") : text;
}

void ZtCommonInterface::SystemVersionInfoValue(unsigned int &major, unsigned int &minor, unsigned int &patch)
{
    SystemInfo::kernelVersion(major, minor, patch);
}

QString ZtCommonInterface::getAppInfoFile()
{
    return QIAnyUtil::getApplicationDirPath() + QStringLiteral("Info.plist");
}

bool ZtCommonInterface::isNeedInitInfoFile()
{
    return isNeedInitInfoFile(getAppInfoFile().toStdString());
}

bool ZtCommonInterface::isNeedInitInfoFile(const std::string &infoPlistPath)
{
    QVariant root;
    if (!PropertyList::readFile(QString::fromUtf8(infoPlistPath.c_str()), root))
        return true;
    return !root.toMap().contains(QStringLiteral("CFBundleShortVersionString"));
}

bool ZtCommonInterface::InitInfoToFile(const std::string &infoPlistPath)
{
    // The rewrite happens once: afterwards the short version is present.
    if (!isNeedInitInfoFile(infoPlistPath))
        return true;
    const QString path = QString::fromUtf8(infoPlistPath.c_str());
    QVariant root;
    if (!PropertyList::readFile(path, root) || root.type() != QVariant::Map)
        return false;
    QVariantMap info = root.toMap();
    info.insert(QStringLiteral("CFBundleVersion"), bundleVersion());
    info.insert(QStringLiteral("CFBundleShortVersionString"), shortVersion());
    info.insert(QStringLiteral("SUFeedURL"), updateFeedAddress());
    info.insert(QStringLiteral("CFBundleDisplayName"), QIAnyUtil::appTitle());
    QString identifier = QStringLiteral("com.%1.%2 %3").arg(makerName(), QIAnyUtil::appTitle(), QString());
    identifier.remove(QLatin1Char(' '));
    info.insert(QStringLiteral("CFBundleIdentifier"), identifier);
    info.insert(QStringLiteral("SUPublicDSAKeyFile"), QStringLiteral("DSAKeyFile.pem"));
    info.insert(QStringLiteral("SUEnableSystemProfiling"), true);
    info.insert(QStringLiteral("NSAppTransportSecurity"),
                QVariantMap{{QStringLiteral("NSAllowsArbitraryLoads"), true}});
    return PropertyList::writeXmlFile(path, info);
}

QString ZtCommonInterface::getAppVersion()
{
    QVariant root;
    PropertyList::readFile(getAppInfoFile(), root);
    const QString version = root.toMap().value(QStringLiteral("CFBundleShortVersionString")).toString();
    return version.isEmpty() ? shortVersion() : version;
}

bool ZtCommonInterface::isWritableDir(const QString &dir)
{
    qDebug() << dir;
    const QString title = QIAnyUtil::appTitle();
    for (int n = 0; n < 100; ++n) {
        const QString candidate =
            n == 0 ? dir + QStringLiteral("%1.txt").arg(title) : dir + QStringLiteral("%1%2.txt").arg(title).arg(n);
        if (QFileInfo::exists(candidate))
            continue;
        QFile probe(candidate);
        // NewOnly: a file that appeared meanwhile is never truncated or removed.
        if (!probe.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return false;
        probe.close();
        probe.remove();
        return true;
    }
    // Every probe name is taken: nothing is touched, and the answer is unknown, so not writable.
    return false;
}

unsigned long long ZtCommonInterface::getSystemTime()
{
    return Clocks::monotonicMicroseconds();
}

unsigned long long ZtCommonInterface::getDateTime()
{
    return Clocks::wallMicroseconds();
}

void ZtCommonInterface::Sleep(long long microseconds)
{
    Clocks::sleepMicroseconds(microseconds);
}

void ZtCommonInterface::setWindowTopHint(void *widget)
{
    WindowLevel::setTopHint(static_cast<QWidget *>(widget));
}

char32_t *ZtCommonInterface::ConvertCharToUtft32(const char *text)
{
    return VEHelper::ConvertCharToUtft32(text);
}

QString ZtCommonInterface::charToQString(const std::string &text)
{
    return VEHelper::charToQString(text);
}
