// ZTPlayerManager, live edits: each section of a clip's edit record goes to the preview player field by
// field so the preview shows it at once; and the snapshot of the current edited frame.
#include "ZTPlayerManager.h"

#include "CodecBuffers.h"
#include "ZTConfigManager.h"
#include "ZTInfoClass.h"
#include "ZTPlayerClass.h"

#include <QImage>

void ZTPlayerManager::setVideoEffectSettings(VEVideoEffectSettings s)
{
    if (!hasPlayer())
        return;
    m_player->SetVideoYOffset_Player(static_cast<unsigned>(s.brightness));
    m_player->SetVideoSaturation_Player(static_cast<unsigned>(s.saturation));
    m_player->SetVideoHue_Player(static_cast<unsigned>(ZTConfigManager::hueForLibrary(s.hue)));
    m_player->SetVideoContrast_Player(static_cast<unsigned>(s.contrast));
    showSoon();
}

void ZTPlayerManager::setSubtitleSettings(VESubtitleSettings s)
{
    if (!hasPlayer())
        return;
    ZTPlayerClass *p = m_player;
    p->SetSubtlAlpha_Player(s.alpha);
    p->SetSubtlDelay_Player(s.delay);
    p->SetSubtlTextBold_Player(s.bold);
    p->SetSubtlTextFont_Player(s.fontName.constData());
    p->SetSubtlTextSize_Player(s.fontSize);
    p->SetSubtlTextItalic_Player(s.italic);
    p->SetSubtlTextOutlineColor_Player(s.outlineColor);
    p->SetSubtlTextOutlineSize_Player(s.outlineSize);
    p->SetSubtlScale_Player(s.scaleX, s.scaleY);
    p->SetSubtlTextShadowColor_Player(s.shadowColor);
    p->SetSubtlTextShadowOffset_Player(s.shadowOffset);
    p->SetSubtlTextColor_Player(s.color);
    p->SetSubtlTextStrikeout_Player(s.strikeout);
    p->SetSubtlTextUnderline_Player(s.underline);
    p->SetSubtlTextMarginH_Player(s.marginH);
    p->SetSubtlTextMarginV_Player(s.marginV);
    p->SetSubtlTextAlign_Player(s.align);
    p->SetSubtlTextSpacingH_Player(s.spacingH);
    p->SetSubtlTextSpacingV_Player(s.spacingV);
    showSoon();
}

void ZTPlayerManager::setSubtitleValueInfo(VESubtitleValue_Info v)
{
    if (!hasPlayer() || !m_info || !m_info->IsCreateInfo())
        return;
    if (!m_info->SetAudioIndex_Info(static_cast<unsigned>(v.audioIndex)))
        return;
    m_player->SetAudioIndex_Player(static_cast<unsigned>(v.audioIndex));
    const quint32 count = m_info->GetSubtlCount_Info();
    const quint32 row = static_cast<quint32>(v.subtitleRow);
    if (row != count + 1 && m_closedCaptions) {
        // Another row replaces the closed captions, in the preview as in the output.
        if (m_info->EnableClosedCaption_Info(0))
            m_player->EnableClosedCaption_Player(0);
        m_closedCaptions = false;
    }
    if (row <= count) {
        if (m_info->SetSubtlIndex_Info(row - 1))
            m_player->SetSubtlIndex_Player(row - 1);
    } else if (row == count + 1) {
        if (m_info->EnableClosedCaption_Info(1)) {
            m_player->EnableClosedCaption_Player(1);
            m_closedCaptions = true;
        }
    } else if (m_info->SetSubtlIndex_Info(0xFFFFFFFFu)) {
        fileTaken(m_player->SetSubtlFile_Player(v.subtitleFile.constData()));
    }
    showSoon();
}

void ZTPlayerManager::setAudioBackgroundSettingsSource(VEAudioBackgroundSettings s, int index)
{
    sendAudioBackground(s, index, true);
}

void ZTPlayerManager::setAudioBackgroundSettingsNotSource(VEAudioBackgroundSettings s, int index)
{
    sendAudioBackground(s, index, false);
}

// One batch, so that the player applies the slot as one change.
void ZTPlayerManager::sendAudioBackground(const VEAudioBackgroundSettings &s, int index, bool withSource)
{
    if (!hasPlayer())
        return;
    ZTPlayerClass *p = m_player;
    p->BeginSettings_Player();
    p->SetAudioBackgroundIndex_Player(static_cast<unsigned>(index));
    if (withSource)
        fileTaken(p->SetAudioBackgroundFile_Player(s.filePath.isEmpty() ? nullptr : s.filePath.constData()));
    p->SetAudioBackgroundLoop_Player(s.loop);
    p->SetAudioBackgroundMixMode_Player(s.mixMode);
    p->SetAudioBackgroundWeight_Player(s.weight);
    p->SetAudioBackgroundVolume_Player(s.volume);
    p->SetAudioBackgroundShowTime_Player(s.showTime.first, s.showTime.second);
    p->SetAudioBackgroundSplitTime_Player(s.splitTime.first, s.splitTime.second);
    p->EndSettings_Player();
}

void ZTPlayerManager::setAudioEffectSettings(VEAudioEffectSetting s)
{
    if (!hasPlayer())
        return;
    m_player->SetAudioVolume_Player(s.volume);
    m_player->ChangeSpeed_Player(static_cast<int>(s.speed));
    m_player->SetAudioRate_Player(s.rate);
}

void ZTPlayerManager::setEqualizeSettings(VEEqualizeSettings s)
{
    if (!hasPlayer())
        return;
    const unsigned count = s.count > 0 && s.frequencies && s.gains ? static_cast<unsigned>(s.count) : 0;
    m_player->SetAudioEqualize_Player(count ? s.frequencies : nullptr, count ? s.gains : nullptr, count);
}

bool ZTPlayerManager::captureImage(QString path, QString format)
{
    if (!hasPlayer())
        return false;
    unsigned char *buffer = m_player->CaptureVideoImage_Player(0, 0, 0);
    if (!buffer)
        return false;
    bool saved = false;
    const QImage image = CodecBuffers::decodeImage(buffer, m_player->GetBufferSize_Player(buffer));
    if (!image.isNull())
        saved = image.save(path, format.toLower().toUtf8().constData(), -1);
    m_player->FreeVideoImage_Player(buffer);
    return saved;
}
