// Quality presets ("Small Size", "High Quality", "Customized") and the custom quality stored per profile.

#include "QSettingDlg.h"

#include "QCustomComboBox.h"
#include "QVideoSettingXml.h"

namespace {

// Without a record the chooser has not chosen a mode yet: that counts as the encoding mode.
bool losslessMode()
{
    return QSettingDlgState::m_attributeSetting && QSettingDlgState::m_attributeSetting->bLossless;
}

} // namespace

void QSettingDlg::setFormatMode(bool lossless)
{
    if (!m_attributeSetting)
        QSettingDlgState::setAttributeSetting(AttributeSetting());
    m_attributeSetting->bLossless = lossless;
}

void QSettingDlg::setVideoQuality(VideoQuality q)
{
    m_quality = q;
    m_changeQuality = q;
    if (q == Customized && SetDefaultValue(m_formatId))
        return;

    const PanelPicks picks = currentPicks();
    if (losslessMode())
        return;
    FormatAllInfo *record = readProfile(picks.videoEncoder, picks.resolution, picks.audioEncoder, picks.channel);
    if (!record)
        return;
    setFormatInfoToCtrl(record);
    if (record->bAuto) {
        ResetValue();
    } else if (q == SmallSize) {
        const QString low = QString::fromUtf8(record->strVideoBitRateLow.c_str());
        for (int i = 0; i < m_cmbVBitRate->count(); ++i) {
            if (m_cmbVBitRate->itemText(i) == low) {
                m_cmbVBitRate->setCurrentIndex(i);
                break;
            }
        }
    }
    m_defaultChoices = currentChoices();
    m_defaultPack = m_defaultChoices.packed();
}

bool QSettingDlg::SetDefaultValue(const QString &formatId)
{
    QualitySet *stored = QVideoSettingXml::GetDefaultFormat(formatId);
    if (!stored)
        return false;
    if (losslessMode())
        return false;
    const QualitySet set = *stored; // the reader's record is replaced by its next call
    FormatAllInfo *record = readProfile(set.strVideoEncoder, set.strResolution, set.strAudioEncoder, set.strChannel);
    setFormatInfoToCtrl(record);
    restorePicks(set, true);
    return true;
}
