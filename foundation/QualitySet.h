#pragma once
// One custom quality of an output profile, as the parameter panel holds it: texts, neither parsed nor
// checked here.

#include <QString>

struct QualitySet
{
    bool bOnlyAudio = false;
    QString strVideoEncoder;
    QString strResolution;
    QString strFrameRate;
    QString strVideoBitRate;
    QString strAudioEncoder;
    QString strChannel;
    QString strSampleRate;
    QString strAudioBitRate;
};

// Container name and extension of one format of the format-settings catalogue.
struct FileFormatInfo
{
    QString strFormat;
    QString strExtend;
};
