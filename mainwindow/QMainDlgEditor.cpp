// The editing road of the media list: a row's Edit opens the clip editor on its clip and writes the result
// back into the clip and, for the sections applied to all, into every other clip.

#include "QMainDlg.h"

#include "AttributeSetting.h"
#include "QEditTipDlg.h"
#include "QRirezaPlayerForm.h"
#include "QVideoEditingDlg.h"
#include "QVideoSettingXml.h"
#include "VideoConvertBar.h"
#include "ZtVideoConvertItem.h"
#include "ZtVideoConvertManager.h"

#include <memory>

void QMainDlg::respondEditEmit()
{
    auto *bar = qobject_cast<VideoConvertBar *>(sender());
    ZtVideoConvertItem *item = bar ? bar->getVideoItemInfo() : nullptr;
    if (!item || isBusy())
        return;
    if (m_pPlayerForm)
        m_pPlayerForm->pausePlayer();

    std::unique_ptr<QVideoEditingDlg> editor(new QVideoEditingDlg(nullptr));
    editor->setVideoFile(item->getFilePath(), item->getVideoWidth(), item->getVideoHeight());
    item->m_editConfig.trimStart = item->m_nTrimStart;
    item->m_editConfig.trimEnd = item->m_nTrimEnd;
    VEEditConfig record = item->m_editConfig;
    editor->setEditConfig(record);
    editor->isHaveVideo(item->m_bHasVideo);
    editor->setIsWatermarkAudioStartTime(true);

    ZtVideoConvertManager *clips = ZtVideoConvertManager::getConvertManagerObject();
    const auto applyTo = [&editor](ZtVideoConvertItem *clip) {
        // A record's trim is written only when its clip is edited; the clip's own is the current one (the
        // preview's strip changes it too), and an applied background begins there.
        clip->m_editConfig.trimStart = clip->m_nTrimStart;
        clip->m_editConfig.trimEnd = clip->m_nTrimEnd;
        editor->getApplyConfig(clip->m_editConfig, clip->shownVideoSize(false));
    };
    if (editor->exec() == QDialog::Accepted) {
        editor->hideMediaForm();
        // Edits have no effect on a join without re-encoding: say so, unless the user asked not to be told.
        if (QSettingDlgState::attributeSetting().bLossless &&
            QVideoSettingXml::GetItemValue("EDIT_REMIND_ITEM", "isEditRemind", "Y") == QLatin1String("Y")) {
            QEditTipDlg tip(this);
            if (tip.exec() == QDialog::Accepted && tip.isNoShowThisDlg())
                QVideoSettingXml::SetItemValue("EDIT_REMIND_ITEM", "isEditRemind", "N");
        }
        // Each clip's crop is counted in the picture its own editor shows: a phone clip's stored size lies on its
        // side, and a crop counted in it came out stretched.
        for (int i = 0; i < clips->GetItemCount(); ++i)
            if (ZtVideoConvertItem *other = clips->GetItem(i); other && other != item)
                applyTo(other);
        editor->getEditConfig(item->m_editConfig);
        item->m_nTrimStart = item->m_editConfig.trimStart;
        item->m_nTrimEnd = item->m_editConfig.trimEnd;
    } else {
        for (int i = 0; i < clips->GetItemCount(); ++i)
            if (ZtVideoConvertItem *clip = clips->GetItem(i))
                applyTo(clip);
    }
    // The edited row shows its new length whether or not it is the one in the preview.
    bar->updateTrimTime();
    if (m_pPlayerBar)
        emit emitPlayerItemChanged(m_pPlayerBar->getVideoItemInfo());
    TrimChanged();
}
