// The conversion parameter record rebuilt from the panel, and the panel's confirmation.

#include "QSettingDlg.h"

#include "QCustomComboBox.h"
#include "QIAnyUtil.h"
#include "QPlistRead.h"
#include "QVideoSettingXml.h"
#include "SettingKeys.h"

#include <QDebug>

void QSettingDlg::setAttributeSetting()
{
    const PanelPicks picks = currentPicks();
    FormatAllInfo *profile = readProfile(picks.videoEncoder, picks.resolution, picks.audioEncoder, picks.channel);
    if (!m_attributeSetting)
        QSettingDlgState::setAttributeSetting(AttributeSetting());
    AttributeSetting &record = *m_attributeSetting;

    RebuildInput input;
    input.picks = picks;
    input.quality = m_quality;
    input.profile = profile;
    if (!record.bLossless) {
        const std::string ext = encodingReader()->getFormatInfoForKey(m_category.toUtf8().toStdString(),
                                                                      m_formatId.toUtf8().toStdString(), "ext");
        input.fileExtend = QString::fromUtf8(ext.c_str());
        input.fileFormat = AttributeRebuild::containerOfExtension(input.fileExtend);
    } else {
        const std::string category =
            QVideoSettingXml::GetItemValue(SettingKeys::FormatCategoryLossless).toUtf8().toStdString();
        const std::string id = QVideoSettingXml::GetItemValue(SettingKeys::FormatIdLossless).toUtf8().toStdString();
        QPlistRead *reader = losslessReader();
        if (reader->getFormatInfoForKey(category, id, "title") == "Original") {
            input.fileFormat = QStringLiteral("Original");
        } else {
            input.fileExtend = QString::fromUtf8(reader->getFormatInfoForKey(category, id, "ext").c_str());
            input.fileFormat = AttributeRebuild::containerOfExtension(input.fileExtend);
        }
    }
    AttributeRebuild::rebuild(record, input);
}

void QSettingDlg::OnOkSet()
{
    // Picks the user changed away from the preset are a custom quality: the record is built for it now,
    // as it will be at the next start. A profile whose preset the user kept gets no custom quality (it
    // would show as "Customized" from then on).
    // In the high-speed mode the streams are copied: there is no quality to remember.
    const bool custom =
        !(m_attributeSetting && m_attributeSetting->bLossless) && (m_quality == Customized || differsFromPreset());
    if (custom) {
        m_quality = Customized;
        m_changeQuality = Customized;
    }
    setAttributeSetting();
    if (!custom)
        return;
    const PanelPicks p = currentPicks();
    QualitySet set;
    set.bOnlyAudio = p.onlyAudio;
    set.strVideoEncoder = p.videoEncoder;
    set.strResolution = p.resolution;
    set.strFrameRate = p.frameRate;
    set.strVideoBitRate = p.videoBitRate;
    set.strAudioEncoder = p.audioEncoder;
    set.strChannel = p.channel;
    set.strSampleRate = p.sampleRate;
    set.strAudioBitRate = p.audioBitRate;
    QVideoSettingXml::SetDefaultFormat(m_formatId, &set);
    emit emitIsCustomized(true);
}

void QSettingDlg::PrintValueText()
{
    if (!m_attributeSetting)
        return;
    const AttributeSetting &r = *m_attributeSetting;
    qDebug() << "-***************************************-";
    qDebug() << "bOnlyAudio-----:" << r.bOnlyAudio;
    qDebug() << "bLossless-----:" << r.bLossless;
    qDebug() << "nQuality-----:" << static_cast<unsigned>(r.nQuality);
    qDebug() << "fileFormat----" << r.fileFormat;
    qDebug() << "fileExtend---:" << r.fileExtend;
    qDebug() << "VEncoder---:" << r.VEncoder;
    qDebug() << "VCodecsId---:" << static_cast<unsigned>(r.VCodecsId);
    qDebug() << "VWidth---:" << static_cast<unsigned>(r.VWidth);
    qDebug() << "VHeight---:" << static_cast<unsigned>(r.VHeight);
    qDebug() << "VFrameRate_fps---:" << static_cast<unsigned>(r.VFrameRate_fps);
    qDebug() << "VFrameRate_scale---:" << static_cast<unsigned>(r.VFrameRate_scale);
    qDebug() << "VBitRate---:" << static_cast<unsigned>(r.VBitRate);
    qDebug() << "AEncoder---:" << r.AEncoder;
    qDebug() << "ACodecsId---:" << static_cast<unsigned>(r.ACodecsId);
    qDebug() << "AChannel---:" << static_cast<unsigned>(r.AChannel);
    qDebug() << "ASampleRate---:" << static_cast<unsigned>(r.ASampleRate);
    qDebug() << "ABitRate---:" << static_cast<unsigned>(r.ABitRate);
}
