#include "QVeAnyUtiliy.h"

#include "QIAnyUtil.h"

QString QVeAnyUtiliy::converSize(unsigned long long bytes)
{
    const unsigned long long kb = 1024ULL, mb = kb * 1024, gb = mb * 1024, tb = gb * 1024;
    if (bytes < kb)
        return QStringLiteral("%1 B").arg(bytes);
    if (bytes < mb)
        return QStringLiteral("%1 KB").arg(QString::number(double(bytes) / kb, 'f', 2));
    if (bytes < gb)
        return QStringLiteral("%1 MB").arg(QString::number(double(bytes) / mb, 'f', 2));
    if (bytes < tb)
        return QStringLiteral("%1 GB").arg(QString::number(double(bytes) / gb, 'f', 2));
    return QStringLiteral("%1 T").arg(QString::number(double(bytes) / tb, 'f', 2));
}

// One resource folder for the whole program (and one test hook): the foundation's.
QString QVeAnyUtiliy::getResourcePath()
{
    return QIAnyUtil::getResourcePath();
}
