#include "SystemInfo.h"

#include <QRegularExpression>
#include <QSysInfo>

QString SystemInfo::osVersionText()
{
    const QString product = QSysInfo::prettyProductName();
    const QString kernel = QSysInfo::kernelType();
    const QString release = QSysInfo::kernelVersion();
    if (release.isEmpty())
        return product;
    const QString kernelText =
        QStringLiteral("%1 %2").arg(kernel == QLatin1String("linux") ? QStringLiteral("Linux") : kernel, release);
    return product.isEmpty() ? kernelText : QStringLiteral("%1, %2").arg(product, kernelText);
}

bool SystemInfo::parseRelease(const QString &release, unsigned int &major, unsigned int &minor, unsigned int &patch)
{
    static const QRegularExpression re(QStringLiteral("^(\\d+)(?:\\.(\\d+))?(?:\\.(\\d+))?"));
    const QRegularExpressionMatch m = re.match(release.trimmed());
    if (!m.hasMatch())
        return false;
    major = m.captured(1).toUInt();
    minor = m.captured(2).toUInt();
    patch = m.captured(3).toUInt();
    return true;
}

bool SystemInfo::kernelVersion(unsigned int &major, unsigned int &minor, unsigned int &patch)
{
    return parseRelease(QSysInfo::kernelVersion(), major, minor, patch);
}
