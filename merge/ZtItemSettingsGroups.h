#pragma once
// The five older settings groups a clip item keeps beside its edit record. Nothing on the merge path
// reads them; they are reset when a clip is probed or copied.

#include "VEEditConfig.h"

#include <QByteArray>
#include <QtGlobal>

struct ZtItemEffectSettings
{
    qint32 values[5] = {100, 100, 0, 100, 100};
};

struct ZtItemWatermarkTextSettings
{
    QByteArray text;
    qint32 values[7] = {255, 100, 100, 0, 0, 1, 1};
    QByteArray fontName;
    quint32 fontSize = 28;
    quint32 style[4] = {0, 0, 0, 0};
    quint32 colors[3] = {0xFFFFFFFFu, 0x80000000u, 0xFF000000u};
    qint32 tail[2] = {0, 800};
};

struct ZtItemWatermarkImageSettings
{
    QByteArray imagePath;
    qint32 values[8] = {1, 0, 255, 100, 100, 0, 0, 1};
};

struct ZtItemSubtitleSettings
{
    qint32 values[4] = {255, 100, 100, 0};
    QByteArray fontName;
    quint32 fontSize = 16;
    quint32 style[4] = {0, 0, 0, 0};
    quint32 colors[3] = {0xFFFFFFFFu, 0x80000000u, 0xFF000000u};
    qint32 tail[2] = {500, 1000};
};

// How a clip is cut into segments.
struct Split_Info
{
    qint32 nMode = 0;      // 0 none, 1 every N units, 2 into N equal parts, 3 by chapters
    qint32 nEvery = 1;     // N for mode 1
    bool bMinutes = false; // unit of mode 1: hours (false) or minutes (true)
    qint32 nParts = 1;     // N for mode 2
    qint32 nChapters = 0;  // chapters in the source
};

// One segment of a split clip; end 0 means up to the end of the clip.
struct SplitSegment
{
    quint64 start = 0;
    quint64 end = 0;
};
