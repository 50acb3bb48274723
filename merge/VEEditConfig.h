#pragma once
// The per-clip edit record: everything the user set for one clip in the clip editor. The clip item owns
// one; the editor works on a copy, the preview applies it live and the converter hands it to the codec
// library through ZTConfigManager. Texts are UTF-8 byte strings; times are microseconds.

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <QtGlobal>

struct VERect
{
    double x = 0.0;
    double y = 0.0;
    double width = 1.0;
    double height = 1.0;
    bool operator==(const VERect &o) const;
    bool operator!=(const VERect &o) const { return !(*this == o); }
};

// A pair of microsecond values; the first is when the item starts, the second is passed on unchanged.
struct VETimePair
{
    quint64 first = 0;
    quint64 second = 0;
    bool operator==(const VETimePair &o) const { return first == o.first && second == o.second; }
    bool operator!=(const VETimePair &o) const { return !(*this == o); }
};

struct VECropSettings
{
    qint32 aspectMode = 0;
    qint32 panScan = 0;
    qint32 aspectWidth = 0;
    qint32 aspectHeight = 0;
    // Two values the editing pages carry through unchanged (their reset writes 0 and 1).
    qint32 extraValue1 = 0;
    qint32 extraValue2 = 1;
    qint32 rotation = 0;
    qint32 mirror = 0;
    qint32 padEnabled = 1;
    quint32 padColor = 0xFF000000u;
    VERect cropRect;
    VERect panScanRect;
    bool operator==(const VECropSettings &o) const;
    bool operator!=(const VECropSettings &o) const { return !(*this == o); }
};

struct VEVideoEffectSettings
{
    qint32 brightness = 0;
    qint32 extraValue = 0; // carried through by the effect page
    qint32 saturation = 100;
    qint32 contrast = 100;
    qint32 hue = 0;
    bool operator==(const VEVideoEffectSettings &o) const;
    bool operator!=(const VEVideoEffectSettings &o) const { return !(*this == o); }
};

struct VEWatermarkTextSettings
{
    VEWatermarkTextSettings() = default;
    VEWatermarkTextSettings(const VEWatermarkTextSettings &) = default;
    VEWatermarkTextSettings &operator=(const VEWatermarkTextSettings &) = default;

    QByteArray text;
    quint32 alpha = 255;
    qint32 angle = 0;
    quint32 scaleX = 100;
    quint32 scaleY = 100;
    double posX = 0.0;
    double posY = 0.0;
    quint32 borderEnabled = 1;
    quint32 layerTopmost = 1;
    QByteArray fontName;
    quint32 fontSize = 28;
    quint32 bold = 0;
    quint32 italic = 0;
    quint32 underline = 0;
    quint32 strikeout = 0;
    quint32 color = 0xFFFFFFFFu;
    quint32 shadowColor = 0x80000000u;
    quint32 outlineColor = 0xFF000000u;
    double shadowOffset = 0.5;
    double outlineSize = 1.0;
    VETimePair showTime;
    double measuredWidth = 0.0;
    double measuredHeight = 0.0;
    double spacingH = 0.0;
    double spacingV = 0.0;
    bool operator==(const VEWatermarkTextSettings &o) const;
    bool operator!=(const VEWatermarkTextSettings &o) const { return !(*this == o); }
};

struct VEWatermarkImageSettings
{
    VEWatermarkImageSettings() = default;
    VEWatermarkImageSettings(const VEWatermarkImageSettings &) = default;
    VEWatermarkImageSettings &operator=(const VEWatermarkImageSettings &) = default;

    QByteArray imagePath;
    quint32 loop = 1;
    qint32 angle = 0;
    quint32 alpha = 255;
    quint32 scaleX = 100;
    quint32 scaleY = 100;
    double posX = 0.0;
    double posY = 0.0;
    quint32 borderEnabled = 1;
    QByteArray maskPath;
    quint32 mirror = 0;
    quint32 mixMode = 0;
    VETimePair showTime;
    VETimePair splitTime;
    VERect cropRect;
    double width = 0.0;
    double height = 0.0;
    double measuredWidth = 0.0;
    double measuredHeight = 0.0;
    bool operator==(const VEWatermarkImageSettings &o) const;
    bool operator!=(const VEWatermarkImageSettings &o) const { return !(*this == o); }
};

// One overlay: a text item and a picture item; either, both or neither may be set.
struct VEWatermarkSettings
{
    VEWatermarkSettings() = default;
    VEWatermarkSettings(const VEWatermarkSettings &) = default;
    VEWatermarkSettings &operator=(const VEWatermarkSettings &) = default;

    VEWatermarkTextSettings text;
    VEWatermarkImageSettings image;
    qint32 extraValue = 0;   // carried through
    qint32 packageIndex = 0; // the effect or frame package list entry the overlay came from
    bool operator==(const VEWatermarkSettings &o) const
    {
        return text == o.text && image == o.image && extraValue == o.extraValue && packageIndex == o.packageIndex;
    }
    bool operator!=(const VEWatermarkSettings &o) const { return !(*this == o); }
};

// The chosen audio track and subtitle source of a clip.
struct VESubtitleValue_Info
{
    qint32 extraIndex = 0;
    qint32 audioRow = 0;
    qint32 audioIndex = 0;
    // 0 none, 1..subtitleCount internal stream (row - 1), subtitleCount + 1 closed captions, higher a file.
    qint32 subtitleRow = 0;
    qint32 subtitleCount = 0;
    // -1 none, >= 0 internal stream, -2 closed captions, -3 external file.
    qint32 subtitleIndex = -1;
    QByteArray subtitleFile;
    bool operator==(const VESubtitleValue_Info &o) const;
    bool operator!=(const VESubtitleValue_Info &o) const { return !(*this == o); }
};

struct VESubltItemInfo
{
    QByteArray label;
    QByteArray filePath;
    bool operator==(const VESubltItemInfo &o) const { return label == o.label && filePath == o.filePath; }
};

struct VEChapterInfo
{
    qint32 nIndex = -1;
    quint64 nStartTime = 0;
    quint64 nDuration = 0;
    quint64 nEndTime = 0;
    QByteArray strChapterTitle;
    QByteArray strShowText;
    bool operator==(const VEChapterInfo &o) const;
};

struct VESubtitleSettings
{
    quint32 alpha = 255;
    quint32 scaleX = 100;
    quint32 scaleY = 100;
    qint64 delay = 0;
    QByteArray fontName;
    quint32 fontSize = 18;
    quint32 bold = 0;
    quint32 italic = 0;
    quint32 underline = 0;
    quint32 strikeout = 0;
    quint32 color = 0xFFFFFFFFu;
    quint32 shadowColor = 0x80000000u;
    quint32 outlineColor = 0xFF000000u;
    double shadowOffset = 0.5;
    double outlineSize = 1.0;
    quint32 align = 0;
    double spacingH = 0.0;
    double spacingV = 0.0;
    double marginH = 0.05;
    double marginV = 0.05;
    qint64 extraValue1 = 0; // two values carried through by the subtitle pages
    qint64 extraValue2 = 0;
    bool operator==(const VESubtitleSettings &o) const;
    bool operator!=(const VESubtitleSettings &o) const { return !(*this == o); }
};

struct VEAudioBackgroundSettings
{
    QByteArray filePath;
    quint32 mixMode = 0;
    quint32 loop = 1;
    quint32 volume = 100;
    quint32 weight = 50;
    VETimePair showTime;
    VETimePair splitTime;
    bool operator==(const VEAudioBackgroundSettings &o) const;
    bool operator!=(const VEAudioBackgroundSettings &o) const { return !(*this == o); }
};

struct VEAudioEffectSetting
{
    quint32 volume = 100;
    quint32 speed = 100;
    quint32 rate = 100;
    bool operator==(const VEAudioEffectSetting &o) const
    {
        return volume == o.volume && speed == o.speed && rate == o.rate;
    }
};

// The equaliser owns both arrays; they are null when count is 0. Copies are deep.
struct VEEqualizeSettings
{
    VEEqualizeSettings() = default;
    VEEqualizeSettings(const VEEqualizeSettings &o);
    VEEqualizeSettings &operator=(const VEEqualizeSettings &o);
    ~VEEqualizeSettings();

    // Replaces both arrays with copies of the given ones (null/0 clears).
    void setBands(const double *freqs, const double *gainValues, int n);
    void clear();

    double *frequencies = nullptr;
    double *gains = nullptr;
    qint32 count = 0;
    bool operator==(const VEEqualizeSettings &o) const;
    bool operator!=(const VEEqualizeSettings &o) const { return !(*this == o); }
};

struct VEAudioSettings : VEAudioEffectSetting
{
    VEEqualizeSettings equalize;
    qint32 effectIndex = 0;
    bool operator==(const VEAudioSettings &o) const;
    bool operator!=(const VEAudioSettings &o) const { return !(*this == o); }
};

struct VEAudioTagInfo
{
    VEAudioTagInfo() = default;
    VEAudioTagInfo(const VEAudioTagInfo &) = default;
    VEAudioTagInfo &operator=(const VEAudioTagInfo &) = default;
    void SetDefault();

    QByteArray title;
    QByteArray artist;
    QByteArray albumArtist;
    QByteArray composer;
    QByteArray album;
    QByteArray genre;
    QByteArray track;
    QByteArray year;
    QByteArray date;
    QByteArray grouping;
    QByteArray comment;
    QByteArray disc;
    QByteArray copyright;
    QByteArray coverImage; // the cover picture's encoded bytes
    quint32 coverSize = 0;
    quint8 extraFlag = 0; // 1 once the clip editor read the file's tags into the record: later openings keep them
    bool operator==(const VEAudioTagInfo &o) const;
    bool operator!=(const VEAudioTagInfo &o) const { return !(*this == o); }
};

class VEEditConfig
{
public:
    VEEditConfig();
    VEEditConfig(const VEEditConfig &o) = default;
    VEEditConfig &operator=(const VEEditConfig &o) = default;
    ~VEEditConfig() = default;

    // Every field back to its default; the three lists (subtitle items, chapters, audio list) are kept.
    void SetDefault();

    bool operator==(const VEEditConfig &o) const;
    bool operator!=(const VEEditConfig &o) const { return !(*this == o); }

    quint64 trimStart = 0;
    quint64 trimEnd = 0; // 0 = to the end of the clip
    VECropSettings crop;
    VEVideoEffectSettings videoEffect;
    VEWatermarkSettings effectOverlay; // slot 1
    VEWatermarkSettings frameOverlay;  // slot 2
    VEWatermarkSettings watermark;     // slot 0
    VESubtitleValue_Info subtitleValue;
    QList<VESubltItemInfo> subtitleItems;
    QList<VEChapterInfo> chapters;
    VESubtitleSettings subtitle;
    VEAudioBackgroundSettings audioBackground;
    VEAudioSettings audio;
    QStringList audioList;
    VEAudioTagInfo audioTag;
    qint32 resolutionWidth = 0;
    qint32 resolutionHeight = 0;
};
