#include "QIAnyUtil.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

QString QIAnyUtil::s_appPath;
bool QIAnyUtil::s_appPathComputed = false;
QString QIAnyUtil::s_resourcePath;
bool QIAnyUtil::s_resourcePathComputed = false;
QString QIAnyUtil::s_restorPassword;
QString QIAnyUtil::s_contentsOverride;

QString QUiAnyUtiliy::s_resourcePath;
bool QUiAnyUtiliy::s_resourcePathComputed = false;

namespace {

// The executable lives in Contents/MacOS: dropping its own folder leaves Contents. The separator is
// kept so that callers can append a file name directly.
QString parentWithSlash(QString dir, bool appendWhenNoSeparator)
{
    dir.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const int slash = dir.lastIndexOf(QLatin1Char('/'));
    if (slash >= 0)
        return dir.left(slash + 1);
    return appendWhenNoSeparator ? dir + QLatin1Char('/') : dir;
}

QString appDirBase(bool appendWhenNoSeparator)
{
    const QString contents = QIAnyUtil::contentsDirOfExecutable();
    if (contents.isEmpty())
        return parentWithSlash(QCoreApplication::applicationDirPath(), appendWhenNoSeparator);
    return contents + QLatin1Char('/');
}

QString titledFolder(const QString &base)
{
    const QString folder = QStringLiteral("%1/%2").arg(base, QIAnyUtil::appTitle());
    if (QDir(folder).exists() || QDir().mkpath(folder))
        return folder;
    return base;
}

} // namespace

QString QIAnyUtil::appTitle()
{
    return QStringLiteral("Quorvane Reelsplice");
}

QString QIAnyUtil::contentsDirOfExecutable()
{
    return s_contentsOverride;
}

void QIAnyUtil::setApplicationDirPathForTesting(const QString &contentsDir)
{
    QString dir = contentsDir;
    dir.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (dir.size() > 1 && dir.endsWith(QLatin1Char('/')))
        dir.chop(1);
    s_contentsOverride = dir;
    s_appPathComputed = false;
    s_resourcePathComputed = false;
    QUiAnyUtiliy::s_resourcePathComputed = false;
}

QString QIAnyUtil::getApplicationDirPath()
{
    if (!s_appPathComputed) {
        s_appPath = appDirBase(true);
        s_appPathComputed = true;
    }
    return s_appPath;
}

QString QIAnyUtil::getResourcePath()
{
    if (!s_resourcePathComputed) {
        s_resourcePath = appDirBase(false) + QStringLiteral("Resources");
        s_resourcePathComputed = true;
    }
    return s_resourcePath;
}

QString QIAnyUtil::getTempSavePath()
{
    return titledFolder(QStandardPaths::writableLocation(QStandardPaths::TempLocation));
}

QString QIAnyUtil::getDocumentPath()
{
    return titledFolder(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
}

QString QIAnyUtil::getAppDataPath()
{
    // The data location ends in a folder named after the executable; the application's own folder sits
    // beside it, named after the title.
    QString location = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const int slash = location.lastIndexOf(QLatin1Char('/'));
    if (slash >= 0)
        location = location.left(slash);
    return titledFolder(location);
}

QString QIAnyUtil::size2String(unsigned long long bytes)
{
    // The thresholds lie one byte above the powers of 1024, so exact powers show in the smaller unit.
    const double n = static_cast<double>(bytes);
    if (bytes >= 1073741825ULL)
        return QString::asprintf("%.2f GB", n / 1024.0 / 1024.0 / 1024.0);
    if (bytes >= 1048577ULL)
        return QString::asprintf("%.2f MB", n / 1024.0 / 1024.0);
    if (bytes >= 1025ULL)
        return QString::asprintf("%.2f KB", n / 1024.0);
    return QStringLiteral("%1 B").arg(bytes);
}

QString QIAnyUtil::dndTmpPath()
{
    return QString();
}

QString QIAnyUtil::getRestorePassWord()
{
    return s_restorPassword;
}

void QIAnyUtil::setRestorePassWord(const QString &password)
{
    s_restorPassword = password;
}

void QUiAnyUtiliy::QDpiScaleInit() {}

float QUiAnyUtiliy::getDpiScale()
{
    return 1.0f;
}

QString QUiAnyUtiliy::converSize(unsigned long long bytes)
{
    const double n = static_cast<double>(bytes);
    if (bytes < 1024ULL)
        return QStringLiteral("%1 B").arg(bytes);
    if (bytes < 1048576ULL)
        return QStringLiteral("%1 KB").arg(QString::number(n / 1024.0, 'f', 2));
    if (bytes < 1073741824ULL)
        return QStringLiteral("%1 MB").arg(QString::number(n / 1024.0 / 1024.0, 'f', 2));
    if (bytes < 1099511627776ULL)
        return QStringLiteral("%1 GB").arg(QString::number(n / 1024.0 / 1024.0 / 1024.0, 'f', 2));
    return QStringLiteral("%1 T").arg(QString::number(n / 1024.0 / 1024.0 / 1024.0 / 1024.0, 'f', 2));
}

QString QUiAnyUtiliy::getResourcePath()
{
    if (!s_resourcePathComputed) {
        s_resourcePath = appDirBase(false) + QStringLiteral("Resources");
        s_resourcePathComputed = true;
    }
    return s_resourcePath;
}
