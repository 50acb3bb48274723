#pragma once
// Builds the conversion parameter record from the parameter panel's picks, the profile they belong to and
// the output container. Plain functions so that every rule is testable without a window.

#include "AttributeSetting.h"
#include "FormatInfo.h"

#include <QString>

// The panel's current picks: data strings for the two codec lists and the channel list, shown texts for
// the others (the same choice a stored custom quality makes).
struct PanelPicks
{
    bool onlyAudio = false;
    QString videoEncoder;
    QString resolution;
    QString frameRate;
    QString videoBitRate;
    QString audioEncoder;
    QString channel;
    QString sampleRate;
    QString audioBitRate;
};

struct RebuildInput
{
    PanelPicks picks;
    int quality = HighQuality;              // the preset in force (VideoQuality)
    QString fileFormat;                     // container name, "Original" or empty
    QString fileExtend;                     // output extension, empty with "Original"
    const FormatAllInfo *profile = nullptr; // fallbacks; null reads as empty texts
};

namespace AttributeRebuild {

// The number a text starts with (blanks ignored); 0 when the text holds no number.
double numberOf(const QString &text);
// The number before the first `separator` (case-sensitive); 0 when the text has no separator.
double numberBefore(const QString &text, QChar separator);
bool isPlaceholder(const QString &text); // "Original", "Auto" or "Smart Fit", exactly

// The container name of an output extension ("mkv" -> "matroska"; an unlisted one is its own name).
QString containerOfExtension(const QString &ext);

// Every field but bLossless, as the panel's confirmation rebuilds them.
void rebuild(AttributeSetting &record, const RebuildInput &input);

} // namespace AttributeRebuild
