// The custom quality file "VideoDefaultFormatSetting.xml": one FORMAT_ entry per profile id, holding the
// user's own quality for that profile.

#include "QIAnyUtil.h"
#include "QVideoSettingXml.h"

#include <QFileInfo>

QualitySet *QVideoSettingXml::m_defaultQualitySet = nullptr;

namespace {

QString qualityFilePath()
{
    return QIAnyUtil::getAppDataPath() + QStringLiteral("/VideoDefaultFormatSetting.xml");
}

QString trimmedAttribute(const QDomElement &e, const char *name)
{
    return e.attribute(QLatin1String(name)).trimmed();
}

} // namespace

QualitySet *QVideoSettingXml::GetDefaultFormat(const QString &formatId, QualitySet *)
{
    // The record lives in class storage: a pointer from an earlier call never dangles, it only sees the
    // newest answer.
    static QualitySet s_record;
    s_record = QualitySet();
    m_defaultQualitySet = &s_record;

    const QString path = qualityFilePath();
    if (!QFileInfo::exists(path))
        return nullptr;
    QDomDocument doc;
    if (!isValidFile(path, doc))
        return nullptr;
    const QDomElement entry = firstChildByAttribute(doc.documentElement(), QStringLiteral("Format_ID"), formatId);
    if (entry.isNull())
        return nullptr;
    const QDomElement quality = entry.firstChildElement();
    if (quality.isNull())
        return nullptr;

    s_record.bOnlyAudio = quality.attribute(QStringLiteral("OnlyAudio")) == QLatin1String("Y");
    if (!s_record.bOnlyAudio) {
        s_record.strVideoEncoder = trimmedAttribute(quality, "V_Encoder");
        s_record.strResolution = trimmedAttribute(quality, "V_Resolution");
        s_record.strFrameRate = trimmedAttribute(quality, "V_FrameRate");
        s_record.strVideoBitRate = trimmedAttribute(quality, "V_BitRate");
    }
    s_record.strAudioEncoder = trimmedAttribute(quality, "A_Encoder");
    s_record.strChannel = trimmedAttribute(quality, "A_Channel");
    s_record.strSampleRate = trimmedAttribute(quality, "A_SampleRate");
    s_record.strAudioBitRate = trimmedAttribute(quality, "A_BitRate");
    return &s_record;
}

bool QVideoSettingXml::SetDefaultFormat(const QString &formatId, const QualitySet *quality)
{
    if (!quality)
        return false;
    const QString path = qualityFilePath();
    QDomDocument doc;
    if (!loadForUpdate(path, doc))
        return false;
    QDomElement root = doc.documentElement();
    QDomElement entry =
        childByAttributeOrNew(doc, root, QStringLiteral("FORMAT_"), QStringLiteral("Format_ID"), formatId);
    QDomElement custom = orNewChild(entry.firstChildElement(), doc, entry, QStringLiteral("Format_Custom"));
    custom.setAttribute(QStringLiteral("OnlyAudio"), quality->bOnlyAudio ? QStringLiteral("Y") : QStringLiteral("N"));
    custom.setAttribute(QStringLiteral("V_Encoder"), quality->strVideoEncoder);
    custom.setAttribute(QStringLiteral("V_Resolution"), quality->strResolution);
    custom.setAttribute(QStringLiteral("V_FrameRate"), quality->strFrameRate);
    custom.setAttribute(QStringLiteral("V_BitRate"), quality->strVideoBitRate);
    custom.setAttribute(QStringLiteral("A_Encoder"), quality->strAudioEncoder);
    custom.setAttribute(QStringLiteral("A_Channel"), quality->strChannel);
    custom.setAttribute(QStringLiteral("A_SampleRate"), quality->strSampleRate);
    custom.setAttribute(QStringLiteral("A_BitRate"), quality->strAudioBitRate);
    return SaveXml(path, doc);
}
