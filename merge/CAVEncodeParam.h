#pragma once
// The codec parameters of one clip for one run: what the converter hands to the codec library. Filled by
// ZtVideoConvertItem::getEncodeParam; the record owns its container-name buffer and its edit-record copy.

#include "VEEditConfig.h"

#include <QByteArray>
#include <QtGlobal>

struct CAVEncodeParam
{
    CAVEncodeParam() = default;
    CAVEncodeParam(const CAVEncodeParam &o);
    CAVEncodeParam &operator=(const CAVEncodeParam &o);
    ~CAVEncodeParam();

    // Replaces the container name with a heap copy of the given UTF-8 text (null clears it).
    void setContainerName(const char *name);
    // The container name, or "" when none is set (never null).
    const char *container() const { return containerName ? containerName : ""; }

    char *containerName = nullptr; // lower case, as the codec library names it ("mp4", "mov")
    qint32 videoCodec = 0;         // -1: no video (audio-only output) or automatic
    quint32 width = 0;             // 0: keep the source's
    quint32 height = 0;
    quint32 frameRateHundredths = 0; // rate x 100; 0: the numerator/denominator pair holds the rate
    quint32 frameRateNum = 0;
    quint32 frameRateDen = 0;
    quint32 videoBitRate = 0; // kbit/s; 0: encoder default
    qint32 videoQuality = 0;
    qint32 audioCodec = 0;
    quint32 sampleRate = 0; // Hz; 0: converter default (44100)
    quint32 channels = 0;   // 0: converter default (2)
    quint32 audioBitRate = 0;
    qint32 audioQuality = 0;
    quint64 start = 0;    // microseconds
    quint64 end = 0;      // 0: to the end of the clip
    quint64 duration = 0; // end - start, or 0 when end is 0
    QByteArray optionText;
    bool bDVD = false;
    bool bLossless = false;
    VEEditConfig editConfig;
};
