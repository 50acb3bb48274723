#include "MergeFlow.h"

#include "ZtCommonInterface.h"
#include "ZtVideoConvertItem.h"

#include <QDialog>
#include <QDir>
#include <QFileInfo>

bool MergeFlow::prepareOutputFolder(const QString &dir)
{
    if (dir.isEmpty())
        return false;
    const QFileInfo info(dir);
    if (!info.isDir() && !QDir().mkpath(dir))
        return false;
    QString withSlash = dir;
    if (!withSlash.endsWith(QLatin1Char('/')))
        withSlash += QLatin1Char('/');
    return QFileInfo(dir).isDir() && ZtCommonInterface::isWritableDir(withSlash);
}

bool MergeFlow::needsMismatchNotice(bool lossless, bool compatible, const QString &remind)
{
    return lossless && !compatible && remind == QLatin1String("Y");
}

bool MergeFlow::keepsSilence(int result, bool ticked)
{
    return result == QDialog::Accepted && ticked;
}

QString MergeFlow::failureText(const QString &fixed, const QString &reason)
{
    return reason.isEmpty() ? fixed : fixed + QLatin1Char('\n') + reason;
}

void MergeFlow::releaseOutputName(const QString &path)
{
    if (!path.isEmpty())
        ZtVideoConvertItem::releaseOutputPath(path);
}
