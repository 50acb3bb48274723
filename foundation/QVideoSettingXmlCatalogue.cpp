// The read-only format-settings catalogue "VideoSetting.xml": per output format its choice lists, its
// container and extension, and named quality presets.

#include "CommaList.h"
#include "QIAnyUtil.h"
#include "QVideoSettingXml.h"

FormatAllInfo *QVideoSettingXml::m_formatInfo = nullptr;
QualitySet *QVideoSettingXml::m_highQualitySet = nullptr;
FileFormatInfo *QVideoSettingXml::m_fileFormatInfo = nullptr;

namespace {

QString catalogueFilePath()
{
    return QIAnyUtil::getResourcePath() + QStringLiteral("/VideoSetting.xml");
}

// The format element of `key`, or a null element (every read of it then finds nothing).
bool findFormat(const QString &key, QDomDocument &doc, QDomElement &format)
{
    if (!QVideoSettingXml::isValidFile(catalogueFilePath(), doc))
        return false;
    for (QDomElement e = doc.documentElement().firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        if (e.attribute(QStringLiteral("DevFormat")) == key) {
            format = e;
            break;
        }
    }
    return true;
}

std::string attr(const QDomElement &e, const char *name)
{
    return e.attribute(QLatin1String(name)).toStdString();
}

} // namespace

void QVideoSettingXml::analysisTextInfo(const std::string &text, std::vector<std::string> &out)
{
    out.clear();
    appendCommaList(text, std::string(), out);
}

void QVideoSettingXml::analysisTextInfo(const std::string &text, const std::string &unit, std::vector<std::string> &out)
{
    out.clear();
    appendCommaList(text, unit, out);
}

QString QVideoSettingXml::addUnit(const QString &value, const QString &attributeName)
{
    const QString v = value.trimmed();
    if (v == QLatin1String("0"))
        return QStringLiteral("Auto");
    if (v == QLatin1String("Original") || v == QLatin1String("Auto"))
        return v;
    if (attributeName == QLatin1String("V_FrameRate"))
        return v + QStringLiteral(" fps");
    if (attributeName == QLatin1String("V_BitRate") || attributeName == QLatin1String("A_BitRate"))
        return v + QStringLiteral(" kbps");
    if (attributeName == QLatin1String("A_SampleRate"))
        return v + QStringLiteral(" HZ");
    return v;
}

FormatAllInfo *QVideoSettingXml::GetFormatAllInfo(const QString &formatKey)
{
    static FormatAllInfo s_record;
    s_record = FormatAllInfo();
    m_formatInfo = &s_record;
    if (formatKey.isEmpty())
        return nullptr;
    QDomDocument doc;
    QDomElement format;
    if (!findFormat(formatKey, doc, format))
        return nullptr;
    s_record.bNoVideo = format.attribute(QStringLiteral("OnlyAudio")) == QLatin1String("Y");
    const QDomElement values = format.firstChildElement(QStringLiteral("ATTRIBUTE_VALUE"));
    if (values.isNull())
        return nullptr;
    if (!s_record.bNoVideo) {
        analysisTextInfo(attr(values, "V_Encoder"), s_record.vecVideoEncoder);
        analysisTextInfo(attr(values, "V_Resolution"), s_record.vecResolution);
        analysisTextInfo(attr(values, "V_FrameRate"), " fps", s_record.vecFrameRate);
        analysisTextInfo(attr(values, "V_BitRate"), " kbps", s_record.vecVideoBitRate);
    }
    analysisTextInfo(attr(values, "A_Encoder"), s_record.vecAudioEncoder);
    analysisTextInfo(attr(values, "A_Channel"), s_record.vecChannel);
    analysisTextInfo(attr(values, "A_SampleRate"), " HZ", s_record.vecSampleRate);
    analysisTextInfo(attr(values, "A_BitRate"), " kbps", s_record.vecAudioBitRate);
    return &s_record;
}

QualitySet *QVideoSettingXml::GetQuality(const QString &presetTag, const QString &formatKey)
{
    static QualitySet s_record;
    s_record = QualitySet();
    m_highQualitySet = &s_record;
    QDomDocument doc;
    QDomElement format;
    if (!findFormat(formatKey, doc, format))
        return nullptr;
    s_record.bOnlyAudio = format.attribute(QStringLiteral("OnlyAudio")) == QLatin1String("Y");
    const QDomElement preset = format.firstChildElement(presetTag);
    if (presetTag.isEmpty() || preset.isNull())
        return nullptr;
    auto value = [&](const char *name) { return preset.attribute(QLatin1String(name)); };
    if (!s_record.bOnlyAudio) {
        s_record.strVideoEncoder = value("V_Encoder").trimmed();
        s_record.strResolution = value("V_Resolution").trimmed();
        s_record.strFrameRate = addUnit(value("V_FrameRate"), QStringLiteral("V_FrameRate"));
        s_record.strVideoBitRate = addUnit(value("V_BitRate"), QStringLiteral("V_BitRate"));
    }
    s_record.strAudioEncoder = value("A_Encoder").trimmed();
    s_record.strChannel = value("A_Channel").trimmed();
    s_record.strSampleRate = addUnit(value("A_SampleRate"), QStringLiteral("A_SampleRate"));
    s_record.strAudioBitRate = addUnit(value("A_BitRate"), QStringLiteral("A_BitRate"));
    return &s_record;
}

FileFormatInfo *QVideoSettingXml::GetFormatInfo(const QString &formatKey)
{
    static FileFormatInfo s_record;
    s_record = FileFormatInfo();
    m_fileFormatInfo = &s_record;
    if (formatKey.isEmpty())
        return nullptr;
    QDomDocument doc;
    QDomElement format;
    if (!findFormat(formatKey, doc, format))
        return nullptr;
    const QDomElement info = format.firstChildElement(QStringLiteral("VIDIO_FOMAT_INFO"));
    if (info.isNull())
        return nullptr;
    s_record.strFormat = info.attribute(QStringLiteral("V_Format"));
    s_record.strExtend = info.attribute(QStringLiteral("V_Extend"));
    return &s_record;
}
