#include "AttributeRebuild.h"

#include "ZTAVCodecAnalysis.h"

#include <QRegularExpression>

namespace AttributeRebuild {

namespace {

QString text(const std::string &s)
{
    return QString::fromUtf8(s.c_str());
}

// The profile's text of one field, or empty without a profile.
QString fallback(const FormatAllInfo *profile, std::string FormatAllInfo::*field)
{
    return profile ? text(profile->*field) : QString();
}

// A bit-rate placeholder takes the low, high or default rate of the profile by the preset in force.
QString bitRateFallback(const FormatAllInfo *profile, int quality, std::string FormatAllInfo::*low,
                        std::string FormatAllInfo::*high, std::string FormatAllInfo::*standard)
{
    if (quality == SmallSize)
        return fallback(profile, low);
    if (quality == HighQuality)
        return fallback(profile, high);
    return fallback(profile, standard);
}

int codecId(const QString &encoder)
{
    if (encoder.isEmpty())
        return -1;
    return static_cast<int>(ZTAVCodecAnalysis::codecIDOfFourcc(encoder.toStdString()));
}

} // namespace

double numberOf(const QString &value)
{
    static const QRegularExpression s_leadingNumber(QStringLiteral("^\\s*([-+]?(\\d+\\.?\\d*|\\.\\d+))"));
    const QRegularExpressionMatch m = s_leadingNumber.match(value);
    return m.hasMatch() ? m.captured(1).toDouble() : 0.0;
}

double numberBefore(const QString &value, QChar separator)
{
    const int at = value.indexOf(separator);
    if (at < 0)
        return 0.0;
    return numberOf(value.left(at));
}

bool isPlaceholder(const QString &value)
{
    return value == QLatin1String("Original") || value == QLatin1String("Auto") || value == QLatin1String("Smart Fit");
}

QString containerOfExtension(const QString &ext)
{
    return QString::fromStdString(ZTAVCodecAnalysis::formatOfFourCC(ext.toStdString()));
}

void rebuild(AttributeSetting &r, const RebuildInput &in)
{
    const PanelPicks &p = in.picks;
    const FormatAllInfo *profile = in.profile;
    const bool original = in.fileFormat == QLatin1String("Original");

    r.fileFormat = in.fileFormat;
    r.fileExtend = original ? QString() : in.fileExtend;
    r.bOnlyAudio = p.onlyAudio;
    r.nQuality = in.quality == HighQuality ? 90 : 50;

    if (!p.onlyAudio) {
        QString encoder = p.videoEncoder;
        if (original) {
            r.VEncoder.clear();
            r.VCodecsId = 0;
        } else {
            if (encoder.isEmpty() || isPlaceholder(encoder))
                encoder = fallback(profile, &FormatAllInfo::strVideoEncoder);
            r.VEncoder = encoder;
            r.VCodecsId = codecId(encoder);
        }
        const int star = p.resolution.indexOf(QLatin1Char('*'));
        if (star >= 0) {
            r.VWidth = static_cast<int>(numberOf(p.resolution.left(star)));
            r.VHeight = static_cast<int>(numberOf(p.resolution.mid(star + 1)));
        } else {
            r.VWidth = 0;
            r.VHeight = 0;
        }
        // "Auto" keeps the clip's own rate, as it keeps the clip's own size: 0 asks the join for the source's.
        unsigned int num = 0, den = 1;
        if (!isPlaceholder(p.frameRate))
            ZTAVCodecAnalysis::GetVideoFrameRate(numberBefore(p.frameRate, QLatin1Char('f')), num, den);
        r.VFrameRate_fps = static_cast<int>(num);
        r.VFrameRate_scale = static_cast<int>(den);
        QString bitRate = p.videoBitRate;
        if (isPlaceholder(bitRate))
            bitRate = bitRateFallback(profile, in.quality, &FormatAllInfo::strVideoBitRateLow,
                                      &FormatAllInfo::strVideoBitRateHigh, &FormatAllInfo::strVideoBitRate);
        r.VBitRate = static_cast<int>(numberBefore(bitRate, QLatin1Char('k')));
    } else {
        r.VEncoder.clear();
        r.VCodecsId = -1;
        r.VWidth = 0;
        r.VHeight = 0;
        r.VFrameRate_fps = 0;
        r.VBitRate = 0;
    }

    QString encoder = p.audioEncoder;
    if (original) {
        r.AEncoder.clear();
        r.ACodecsId = 0;
    } else {
        if (isPlaceholder(encoder))
            encoder = fallback(profile, &FormatAllInfo::strAudioEncoder);
        r.AEncoder = encoder;
        r.ACodecsId = codecId(encoder);
    }
    QString channel = p.channel;
    if (isPlaceholder(channel))
        channel = fallback(profile, &FormatAllInfo::strChannel);
    bool ok = false;
    const int channels = channel.trimmed().toInt(&ok);
    r.AChannel = ok ? channels : 0;
    QString sample = p.sampleRate;
    if (isPlaceholder(sample))
        sample = fallback(profile, &FormatAllInfo::strSampleRate);
    r.ASampleRate = static_cast<int>(numberBefore(sample, QLatin1Char('H')));
    QString audioRate = p.audioBitRate;
    if (isPlaceholder(audioRate))
        audioRate = bitRateFallback(profile, in.quality, &FormatAllInfo::strAudioBitRateLow,
                                    &FormatAllInfo::strAudioBitRateHigh, &FormatAllInfo::strAudioBitRate);
    r.ABitRate = static_cast<int>(numberBefore(audioRate, QLatin1Char('k')));
}

} // namespace AttributeRebuild
