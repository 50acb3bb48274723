#pragma once
// One finished output, as the output history file keeps it.

#include <QString>

struct convertedInfo
{
    QString strImgPath;
    QString strOutputPath;
    QString strSpare1;
    QString strResolution;
    QString strTime;
    QString strSize;
    QString strExtend;
    QString strSpare2;
    QString strArtist;
};
