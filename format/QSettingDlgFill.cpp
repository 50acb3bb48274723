// The parameter panel's lists: filling them from a catalogue profile, remembering and restoring picks,
// the choice pack, and the reaction to a user's pick.

#include "QSettingDlg.h"

#include "QCustomComboBox.h"
#include "QIAnyUtil.h"
#include "QPlistRead.h"
#include "QTextImageButton.h"

namespace {

QString text(const std::string &s)
{
    return QString::fromUtf8(s.c_str());
}

std::string utf8(const QString &s)
{
    return s.toUtf8().toStdString();
}

// One list's entries: shown text, data string, and which entry the fill selects.
void fillList(QCustomComboBox *list, const std::vector<std::string> &values, const std::string &selected,
              const std::function<QString(const std::string &)> &shown, bool withData, QString *remembered)
{
    list->clear();
    for (const std::string &value : values) {
        list->addItem(shown(value));
        const int index = list->count() - 1;
        if (withData)
            list->setItemDataString(index, text(value));
        if (value == selected) {
            list->setCurrentIndex(index);
            if (remembered)
                *remembered = list->itemText(index);
        }
    }
}

int findByText(const QCustomComboBox *list, const QString &value)
{
    for (int i = 0; i < list->count(); ++i) {
        if (list->itemText(i) == value)
            return i;
    }
    return -1;
}

int findByData(const QCustomComboBox *list, const QString &value)
{
    for (int i = 0; i < list->count(); ++i) {
        if (list->itemDataString(i) == value)
            return i;
    }
    return -1;
}

void selectIfFound(QCustomComboBox *list, int index)
{
    if (index >= 0)
        list->setCurrentIndex(index);
}

QString currentData(const QCustomComboBox *list)
{
    return list->currentIndex() >= 0 ? list->itemDataString(list->currentIndex()) : QString();
}

} // namespace

QPlistRead *QSettingDlg::encodingReader()
{
    return QPlistRead::getPlistRead(utf8(QIAnyUtil::getResourcePath() + QStringLiteral("/profile/profiles_mac.plist")));
}

QPlistRead *QSettingDlg::losslessReader()
{
    return QPlistRead::getPlistLosslessRead(
        utf8(QIAnyUtil::getResourcePath() + QStringLiteral("/profile/profiles_mac_Lossless.plist")));
}

FormatAllInfo *QSettingDlg::readProfile(const QString &videoEncoder, const QString &resolution,
                                        const QString &audioEncoder, const QString &channel)
{
    return encodingReader()->GetFormatInfoForPlist(utf8(m_category), utf8(m_formatId), utf8(videoEncoder),
                                                   utf8(resolution), utf8(audioEncoder), utf8(channel));
}

void QSettingDlg::setFormatInfoToCtrl(FormatAllInfo *info)
{
    fillFrom(info, encodingReader());
}

void QSettingDlg::setFormatInfoToCtrlLossLess(FormatAllInfo *info)
{
    fillFrom(info, losslessReader());
}

void QSettingDlg::fillFrom(FormatAllInfo *info, QPlistRead *names)
{
    if (!info)
        return;
    m_bOnlyAudio = info->bNoVideo;
    m_btnVideo->setVisible(!m_bOnlyAudio);
    if (m_bOnlyAudio)
        ShowVideoSet(false);
    placeButtons();
    m_category = text(info->strCategory);
    m_formatId = text(info->strId);

    auto plain = [](const std::string &v) { return text(v); };
    auto codecName = [names](const std::string &key) {
        const QString name = names ? text(names->getCodecsForKey(key)) : QString();
        return name.isEmpty() ? text(key) : name;
    };
    auto channelName = [](const std::string &v) { return getChannelName(text(v)); };

    fillList(m_cmbVEncoder, info->vecVideoEncoder, info->strVideoEncoder, codecName, true, &m_vEncoderText);
    fillList(m_cmbVResolution, info->vecResolution, info->strResolution, plain, false, &m_resolutionText);
    fillList(m_cmbVFrame, info->vecFrameRate, info->strFrameRate, plain, false, nullptr);
    fillList(m_cmbVBitRate, info->vecVideoBitRate, info->strVideoBitRateHigh, plain, false, nullptr);
    fillList(m_cmbAEncoder, info->vecAudioEncoder, info->strAudioEncoder, codecName, true, &m_aEncoderText);
    fillList(m_cmbAChannel, info->vecChannel, info->strChannel, channelName, true, &m_channelText);
    fillList(m_cmbASample, info->vecSampleRate, info->strSampleRate, plain, false, nullptr);
    fillList(m_cmbABitRate, info->vecAudioBitRate, info->strAudioBitRateHigh, plain, false, nullptr);
}

QString QSettingDlg::getChannelName(const QString &value)
{
    if (value == QLatin1String("Auto") || value == QLatin1String("0"))
        return QStringLiteral("Auto");
    if (value == QLatin1String("1"))
        return QStringLiteral("Mono");
    if (value == QLatin1String("2"))
        return QStringLiteral("Stereo");
    if (value == QLatin1String("6"))
        return QStringLiteral("5.1 Surround");
    return value;
}

PanelPicks QSettingDlg::currentPicks() const
{
    PanelPicks p;
    p.onlyAudio = m_bOnlyAudio;
    p.videoEncoder = currentData(m_cmbVEncoder);
    p.resolution = m_cmbVResolution->currentText();
    p.frameRate = m_cmbVFrame->currentText();
    p.videoBitRate = m_cmbVBitRate->currentText();
    p.audioEncoder = currentData(m_cmbAEncoder);
    p.channel = currentData(m_cmbAChannel);
    p.sampleRate = m_cmbASample->currentText();
    p.audioBitRate = m_cmbABitRate->currentText();
    return p;
}

void QSettingDlg::getDefaultChagen()
{
    const PanelPicks p = currentPicks();
    m_defaultValue.bOnlyAudio = p.onlyAudio;
    m_defaultValue.strVideoEncoder = p.videoEncoder;
    m_defaultValue.strResolution = p.resolution;
    m_defaultValue.strFrameRate = p.frameRate;
    m_defaultValue.strVideoBitRate = p.videoBitRate;
    m_defaultValue.strAudioEncoder = p.audioEncoder;
    m_defaultValue.strChannel = p.channel;
    m_defaultValue.strSampleRate = p.sampleRate;
    m_defaultValue.strAudioBitRate = p.audioBitRate;
}

// The codec and channel picks are remembered as data strings (codec keys, channel values), so they are
// found again by data string; comparing them with the shown names would lose every named pick.
void QSettingDlg::restorePicks(const QualitySet &set, bool video)
{
    if (video) {
        selectIfFound(m_cmbVEncoder, findByData(m_cmbVEncoder, set.strVideoEncoder));
        selectIfFound(m_cmbVResolution, findByText(m_cmbVResolution, set.strResolution));
        selectIfFound(m_cmbVFrame, findByText(m_cmbVFrame, set.strFrameRate));
        selectIfFound(m_cmbVBitRate, findByText(m_cmbVBitRate, set.strVideoBitRate));
    }
    selectIfFound(m_cmbAEncoder, findByData(m_cmbAEncoder, set.strAudioEncoder));
    selectIfFound(m_cmbAChannel, findByData(m_cmbAChannel, set.strChannel));
    selectIfFound(m_cmbASample, findByText(m_cmbASample, set.strSampleRate));
    selectIfFound(m_cmbABitRate, findByText(m_cmbABitRate, set.strAudioBitRate));
}

void QSettingDlg::setCheckValue()
{
    restorePicks(m_defaultValue, !m_defaultValue.bOnlyAudio);
}

void QSettingDlg::SetCustomValue(QualitySet *set)
{
    if (set)
        restorePicks(*set, !set->bOnlyAudio);
}

ChoicePack QSettingDlg::currentChoices() const
{
    ChoicePack pack;
    const QList<QCustomComboBox *> all = lists();
    for (int i = 0; i < 8; ++i)
        pack.indexes[static_cast<size_t>(i)] = all[i]->currentIndex();
    return pack;
}

void QSettingDlg::SaveCurrValue(int &pack)
{
    pack = static_cast<int>(static_cast<quint32>(pack) | currentChoices().packed());
}

void QSettingDlg::ResetValue()
{
    for (QCustomComboBox *list : lists()) {
        if (list->count() > 0)
            list->setCurrentIndex(0);
    }
}

void QSettingDlg::CmbItemChange(int)
{
    if (m_quality != Customized) {
        // The indexes themselves are compared: the pack folds long or empty lists into other fields.
        if (differsFromPreset())
            m_changeQuality = Customized;
        else
            m_changeQuality = m_quality == HighQuality ? HighQuality : SmallSize;
        emit emitChangeText(m_changeQuality);
    }

    auto *list = qobject_cast<QCustomComboBox *>(sender());
    QString videoEncoder, resolution, audioEncoder, channel;
    if (list == m_cmbVEncoder) {
        if (list->currentText() == m_vEncoderText)
            return;
        videoEncoder = currentData(list);
    } else if (list == m_cmbVResolution) {
        if (list->currentText() == m_resolutionText)
            return;
        resolution = list->currentText();
    } else if (list == m_cmbAEncoder) {
        if (list->currentText() == m_aEncoderText)
            return;
        audioEncoder = currentData(list);
    } else if (list == m_cmbAChannel) {
        if (list->currentText() == m_channelText)
            return;
        channel = currentData(list);
    } else {
        return;
    }
    FormatAllInfo *record = readProfile(videoEncoder, resolution, audioEncoder, channel);
    getDefaultChagen();
    setFormatInfoToCtrl(record);
    setCheckValue();
}
