#include "VEEditConfig.h"

#include <algorithm>
#include <cstring>

bool VERect::operator==(const VERect &o) const
{
    return x == o.x && y == o.y && width == o.width && height == o.height;
}

bool VECropSettings::operator==(const VECropSettings &o) const
{
    return aspectMode == o.aspectMode && panScan == o.panScan && aspectWidth == o.aspectWidth &&
           aspectHeight == o.aspectHeight && extraValue1 == o.extraValue1 && extraValue2 == o.extraValue2 &&
           rotation == o.rotation && mirror == o.mirror && padEnabled == o.padEnabled && padColor == o.padColor &&
           cropRect == o.cropRect && panScanRect == o.panScanRect;
}

bool VEVideoEffectSettings::operator==(const VEVideoEffectSettings &o) const
{
    return brightness == o.brightness && extraValue == o.extraValue && saturation == o.saturation &&
           contrast == o.contrast && hue == o.hue;
}

bool VEWatermarkTextSettings::operator==(const VEWatermarkTextSettings &o) const
{
    return text == o.text && alpha == o.alpha && angle == o.angle && scaleX == o.scaleX && scaleY == o.scaleY &&
           posX == o.posX && posY == o.posY && borderEnabled == o.borderEnabled && layerTopmost == o.layerTopmost &&
           fontName == o.fontName && fontSize == o.fontSize && bold == o.bold && italic == o.italic &&
           underline == o.underline && strikeout == o.strikeout && color == o.color && shadowColor == o.shadowColor &&
           outlineColor == o.outlineColor && shadowOffset == o.shadowOffset && outlineSize == o.outlineSize &&
           showTime == o.showTime && measuredWidth == o.measuredWidth && measuredHeight == o.measuredHeight &&
           spacingH == o.spacingH && spacingV == o.spacingV;
}

bool VEWatermarkImageSettings::operator==(const VEWatermarkImageSettings &o) const
{
    return imagePath == o.imagePath && loop == o.loop && angle == o.angle && alpha == o.alpha && scaleX == o.scaleX &&
           scaleY == o.scaleY && posX == o.posX && posY == o.posY && borderEnabled == o.borderEnabled &&
           maskPath == o.maskPath && mirror == o.mirror && mixMode == o.mixMode && showTime == o.showTime &&
           splitTime == o.splitTime && cropRect == o.cropRect && width == o.width && height == o.height &&
           measuredWidth == o.measuredWidth && measuredHeight == o.measuredHeight;
}

bool VESubtitleValue_Info::operator==(const VESubtitleValue_Info &o) const
{
    return extraIndex == o.extraIndex && audioRow == o.audioRow && audioIndex == o.audioIndex &&
           subtitleRow == o.subtitleRow && subtitleCount == o.subtitleCount && subtitleIndex == o.subtitleIndex &&
           subtitleFile == o.subtitleFile;
}

bool VEChapterInfo::operator==(const VEChapterInfo &o) const
{
    return nIndex == o.nIndex && nStartTime == o.nStartTime && nDuration == o.nDuration && nEndTime == o.nEndTime &&
           strChapterTitle == o.strChapterTitle && strShowText == o.strShowText;
}

bool VESubtitleSettings::operator==(const VESubtitleSettings &o) const
{
    return alpha == o.alpha && scaleX == o.scaleX && scaleY == o.scaleY && delay == o.delay && fontName == o.fontName &&
           fontSize == o.fontSize && bold == o.bold && italic == o.italic && underline == o.underline &&
           strikeout == o.strikeout && color == o.color && shadowColor == o.shadowColor &&
           outlineColor == o.outlineColor && shadowOffset == o.shadowOffset && outlineSize == o.outlineSize &&
           align == o.align && spacingH == o.spacingH && spacingV == o.spacingV && marginH == o.marginH &&
           marginV == o.marginV && extraValue1 == o.extraValue1 && extraValue2 == o.extraValue2;
}

bool VEAudioBackgroundSettings::operator==(const VEAudioBackgroundSettings &o) const
{
    return filePath == o.filePath && mixMode == o.mixMode && loop == o.loop && volume == o.volume &&
           weight == o.weight && showTime == o.showTime && splitTime == o.splitTime;
}

VEEqualizeSettings::VEEqualizeSettings(const VEEqualizeSettings &o)
{
    setBands(o.frequencies, o.gains, o.count);
}

VEEqualizeSettings &VEEqualizeSettings::operator=(const VEEqualizeSettings &o)
{
    if (this != &o)
        setBands(o.frequencies, o.gains, o.count);
    return *this;
}

VEEqualizeSettings::~VEEqualizeSettings()
{
    clear();
}

void VEEqualizeSettings::clear()
{
    delete[] frequencies;
    delete[] gains;
    frequencies = nullptr;
    gains = nullptr;
    count = 0;
}

void VEEqualizeSettings::setBands(const double *freqs, const double *gainValues, int n)
{
    // Copy first: the source may alias our own arrays.
    double *f = nullptr;
    double *g = nullptr;
    if (n > 0) {
        f = new double[n]();
        g = new double[n]();
        if (freqs)
            std::memcpy(f, freqs, sizeof(double) * size_t(n));
        if (gainValues)
            std::memcpy(g, gainValues, sizeof(double) * size_t(n));
    }
    clear();
    frequencies = f;
    gains = g;
    count = n > 0 ? n : 0;
}

bool VEEqualizeSettings::operator==(const VEEqualizeSettings &o) const
{
    if (count != o.count)
        return false;
    if (count == 0)
        return true;
    return std::equal(frequencies, frequencies + count, o.frequencies) && std::equal(gains, gains + count, o.gains);
}

bool VEAudioSettings::operator==(const VEAudioSettings &o) const
{
    return VEAudioEffectSetting::operator==(o) && equalize == o.equalize && effectIndex == o.effectIndex;
}

void VEAudioTagInfo::SetDefault()
{
    *this = VEAudioTagInfo();
}

bool VEAudioTagInfo::operator==(const VEAudioTagInfo &o) const
{
    return title == o.title && artist == o.artist && albumArtist == o.albumArtist && composer == o.composer &&
           album == o.album && genre == o.genre && track == o.track && year == o.year && date == o.date &&
           grouping == o.grouping && comment == o.comment && disc == o.disc && copyright == o.copyright &&
           coverImage == o.coverImage && coverSize == o.coverSize && extraFlag == o.extraFlag;
}

VEEditConfig::VEEditConfig()
{
    SetDefault();
}

void VEEditConfig::SetDefault()
{
    resolutionWidth = 0;
    resolutionHeight = 0;
    trimStart = 0;
    trimEnd = 0;
    crop = VECropSettings();
    videoEffect = VEVideoEffectSettings();

    effectOverlay = VEWatermarkSettings();
    effectOverlay.image.mixMode = 1;
    effectOverlay.image.width = 1.0;
    effectOverlay.image.height = 1.0;

    frameOverlay = VEWatermarkSettings();
    frameOverlay.image.width = 1.0;
    frameOverlay.image.height = 1.0;

    watermark = VEWatermarkSettings();
    subtitleValue = VESubtitleValue_Info();
    subtitle = VESubtitleSettings();
    audioBackground = VEAudioBackgroundSettings();
    audio = VEAudioSettings();
    audioTag.SetDefault();
}

bool VEEditConfig::operator==(const VEEditConfig &o) const
{
    return trimStart == o.trimStart && trimEnd == o.trimEnd && crop == o.crop && videoEffect == o.videoEffect &&
           effectOverlay == o.effectOverlay && frameOverlay == o.frameOverlay && watermark == o.watermark &&
           subtitleValue == o.subtitleValue && subtitleItems == o.subtitleItems && chapters == o.chapters &&
           subtitle == o.subtitle && audioBackground == o.audioBackground && audio == o.audio &&
           audioList == o.audioList && audioTag == o.audioTag && resolutionWidth == o.resolutionWidth &&
           resolutionHeight == o.resolutionHeight;
}
