// The clip editor's loading, apply-to-all, snapshots and the small dialogs it opens.

#include "QVideoEditingDlg.h"

#include "QAdjustOperationForm.h"
#include "QAudioOperationForm.h"
#include "QCaptureSettingDlg.h"
#include "QEffectOperationForm.h"
#include "QIAnyUtil.h"
#include "QMediaForm.h"
#include "QMessageOpacityForm.h"
#include "QSubtitleOperationForm.h"
#include "QSubtitleSettingDlg.h"
#include "QTrimOperationForm.h"
#include "QVedioEditSettingXml.h"
#include "QVideoEditingSettings.h"
#include "QWaitForDlg.h"
#include "QWatermarkOperationForm.h"
#include "QWatermartTextSettingDlg.h"
#include "QZTMenu.h"
#include "VECommonClass.h"
#include "ZTInfoClass.h"
#include "ZTInfoManager.h"
#include "ZTPlayerManager.h"

#include <QApplication>
#include <QCursor>
#include <QDateTime>
#include <QDebug>
#include <QDesktopWidget>
#include <QDir>
#include <QFileInfo>
#include <QScreen>
#include <QTimer>

#include <chrono>
#include <thread>

std::atomic<int> QVideoEditingDlg::s_loadDelayMs{0};

void QVideoEditingDlg::loadingTimer()
{
    m_loadingTimer->stop();
    if (m_player)
        m_player->createrPlayer(m_noPlayerAudio);
    delete m_waitDlg.data();
    m_waitDlg = new QWaitForDlg(this);
    m_waitDlg->setModal(true);
    m_waitDlg->move(mapToGlobal(QPoint((width() - m_waitDlg->width()) / 2, (height() - m_waitDlg->height()) / 2)));
    m_waitDlg->show();
    {
        std::lock_guard<std::mutex> lock(m_resultMutex);
        m_hasResult = false;
    }
    m_stopLoading = false;
    StartThread();
}

void QVideoEditingDlg::OnExecute()
{
    // Reads only: the player, the edit model and every widget stay with the GUI thread.
    EditorLoadResult loaded;
    for (int waited = 0; waited < s_loadDelayMs && !m_stopLoading; waited += 10)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (m_info && !m_stopLoading) {
        m_info->setMediaFile(m_path);
        ZTInfoClass *info = m_info->getInfoClass();
        loaded.width = m_width ? m_width : (info ? info->GetVideoWidth_Info() : 0);
        loaded.height = m_height ? m_height : (info ? info->GetVideoHeight_Info() : 0);
        if (!m_stopLoading)
            loaded.cover = m_info->getThumbnail(120);
        if (!m_stopLoading)
            loaded.tags = m_info->getAudioTagInfo();
        if (!m_stopLoading)
            loaded.chapters = m_info->getChapterInfo();
    }
    if (m_stopLoading)
        return;
    emit emitMediaCoverImage(loaded.cover.copy());
    {
        std::lock_guard<std::mutex> lock(m_resultMutex);
        m_result = loaded;
        m_hasResult = true;
    }
    emit emitThreadComplete();
}

void QVideoEditingDlg::mergeLoadResult(VEEditConfig &record, const EditorLoadResult &loaded)
{
    record.resolutionWidth = static_cast<qint32>(loaded.width);
    record.resolutionHeight = static_cast<qint32>(loaded.height);
    // Tags the user already edited (or that an earlier opening read) stay; only a record that never held the
    // file's tags takes them.
    if (record.audioTag.extraFlag == 0) {
        record.audioTag = loaded.tags;
        record.audioTag.extraFlag = 1;
    }
    if (record.chapters.isEmpty())
        record.chapters = loaded.chapters;
}

void QVideoEditingDlg::threadComplete()
{
    EditorLoadResult loaded;
    {
        std::lock_guard<std::mutex> lock(m_resultMutex);
        if (!m_hasResult)
            return;
        loaded = m_result;
        m_hasResult = false;
    }
    StopThread(); // it has emitted its last signal: the join is immediate
    mergeLoadResult(m_clipConfig, loaded);
    startPlayerCon();
    m_editSettings->setEditConfig(m_clipConfig);
    m_audioForm->setIsM4VOrMP4Lossless(false);
    m_subtitleForm->setIsM4VOrMP4Lossless(false);
    m_trimForm->loadingSetting();
    delete m_waitDlg.data();
    m_loaded = true;
    if (m_player)
        m_player->onPlay();
}

void QVideoEditingDlg::startPlayerCon()
{
    if (m_player)
        m_player->setPlayFile(m_path, static_cast<unsigned>(m_clipConfig.resolutionWidth),
                              static_cast<unsigned>(m_clipConfig.resolutionHeight), 3);
}

void QVideoEditingDlg::onApplyToAll()
{
    VEEditConfig now;
    m_editSettings->getEditConfig(now);
    QObject *page = sender();
    if (page == m_subtitleForm) {
        m_applyConfig.subtitleValue.subtitleRow = now.subtitleValue.subtitleRow;
        m_applyConfig.subtitleValue.subtitleFile = now.subtitleValue.subtitleFile;
        m_applyConfig.subtitle = now.subtitle;
        m_applyFlags[5] = m_applyFlags[7] = true;
    } else if (page == m_audioForm) {
        m_applyConfig.subtitleValue.audioIndex = now.subtitleValue.audioIndex;
        m_applyConfig.audioBackground = now.audioBackground;
        m_applyConfig.audio = now.audio;
        m_applyFlags[6] = m_applyFlags[8] = m_applyFlags[9] = true;
    } else if (page == m_adjustForm) {
        m_applyConfig.crop = now.crop;
        m_applyFlags[0] = true;
    } else if (page == m_watermarkForm) {
        m_applyConfig.watermark = now.watermark;
        m_applyFlags[2] = true;
    } else if (page == m_effectForm) {
        m_applyConfig.videoEffect = now.videoEffect;
        m_applyConfig.effectOverlay = now.effectOverlay;
        m_applyConfig.frameOverlay = now.frameOverlay;
        m_applyFlags[1] = m_applyFlags[3] = m_applyFlags[4] = true;
    }
}

void QVideoEditingDlg::getApplyConfig(VEEditConfig &target, const QSize &targetVideo)
{
    const VEEditConfig &a = m_applyConfig;
    if (m_applyFlags[0]) {
        target.crop = a.crop;
        if (target.crop.aspectMode == 1 && targetVideo.width() > 0 && targetVideo.height() > 0)
            QAdjustOperationForm::setOriginalResolution(target.crop, targetVideo);
    }
    if (m_applyFlags[1])
        target.videoEffect = a.videoEffect;
    if (m_applyFlags[2])
        target.watermark = a.watermark;
    if (m_applyFlags[3])
        target.effectOverlay = a.effectOverlay;
    if (m_applyFlags[4])
        target.frameOverlay = a.frameOverlay;
    if (m_applyFlags[5]) {
        target.subtitleValue.subtitleRow = a.subtitleValue.subtitleRow;
        const QByteArray path = a.subtitleValue.subtitleFile;
        target.subtitleValue.subtitleFile = path;
        if (!path.isEmpty()) {
            int found = -1;
            for (int i = 0; i < target.subtitleItems.size() && found < 0; ++i)
                if (target.subtitleItems.at(i).filePath == path)
                    found = i;
            if (found < 0) {
                const QString name = QFileInfo(QString::fromUtf8(path)).fileName();
                const int dot = name.lastIndexOf(QLatin1Char('.'));
                VESubltItemInfo item;
                item.label =
                    QStringLiteral("(%2)[%1]")
                        .arg(dot >= 0 ? name.mid(dot + 1).toUpper() : QString(), dot >= 0 ? name.left(dot) : name)
                        .toUtf8();
                item.filePath = path;
                target.subtitleItems.append(item);
                found = target.subtitleItems.size() - 1;
            }
            target.subtitleValue.subtitleRow = found;
        }
    }
    if (m_applyFlags[6])
        target.subtitleValue.audioIndex = a.subtitleValue.audioIndex;
    if (m_applyFlags[7])
        target.subtitle = a.subtitle;
    if (m_applyFlags[8]) {
        target.audioBackground = a.audioBackground;
        // The background begins with the target's own part, as a file chosen in its own editor does (the
        // start taken along was the trim start of the clip it was applied from).
        if (m_editSettings && m_editSettings->getIsWatermarkAudioStartTime())
            target.audioBackground.showTime = VETimePair{target.trimStart, 0};
    }
    if (m_applyFlags[9])
        target.audio = a.audio;
}

void QVideoEditingDlg::ininScreenshotsInfo()
{
    m_snapshotFormat = QVedioEditSettingXml::getCaptureImgSuffix();
    m_snapshotFolder = QVedioEditSettingXml::getCaptrueImaSavePath().replace(QLatin1Char('\\'), QLatin1Char('/'));
}

QString QVideoEditingDlg::snapshotPath(const QString &folder, const QDateTime &when, const QString &format)
{
    const QString name =
        QStringLiteral("ScreenCapture_%1.%2").arg(when.toString(QStringLiteral("yyyyMMddhhmmsszzz")), format.toLower());
    return QDir(folder).filePath(name);
}

void QVideoEditingDlg::onSnapshot()
{
    m_snapshotFolder.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!QFileInfo(m_snapshotFolder).isDir()) {
        showOpacityMsgDlg(QStringLiteral("\"%1\"%2").arg(m_snapshotFolder, tr("is not exists")));
        return;
    }
    const QString path = snapshotPath(m_snapshotFolder, QDateTime::currentDateTime(), m_snapshotFormat);
    const bool ok = m_player && m_player->captureImage(path, m_snapshotFormat);
    showOpacityMsgDlg(ok ? tr("Snapshot successfully!") : tr("Snapshot failed!"));
}

void QVideoEditingDlg::showOpacityMsgDlg(const QString &text)
{
    if (!m_messageForm) {
        m_messageForm = new QMessageOpacityForm(this);
        m_messageForm->setBackgroundImage(QIAnyUtil::getResourcePath() + QStringLiteral("/VEditSource/bg_3.png"),
                                          false);
    }
    m_messageForm->setMessageText(text);
    m_messageForm->startOpacity();
    m_messageForm->setShowlink(0, 0, false);
    m_messageForm->setCheckShow(false);
    const QRect desktop = QGuiApplication::primaryScreen()->geometry();
    m_messageForm->move(desktop.width() - m_messageForm->width() - 30, 10);
    m_messageForm->show();
}

void QVideoEditingDlg::onSnapshotMenu()
{
    m_menu->popup(QCursor::pos() - QPoint(2, 0));
}

void QVideoEditingDlg::openImgPath()
{
    VECommonClass::setOpenFinder(m_snapshotFolder);
}

void QVideoEditingDlg::showPathSettingDlg()
{
    m_childDlgOpen = true;
    QCaptureSettingDlg dlg(this);
    connect(&dlg, &QCaptureSettingDlg::emitDlgClose, this, &QVideoEditingDlg::dlgClose);
    if (dlg.exec() == QDialog::Accepted)
        ininScreenshotsInfo();
    m_childDlgOpen = false;
}

void QVideoEditingDlg::onWatermartTextSetting()
{
    m_childDlgOpen = true;
    QWatermartTextSettingDlg dlg(this);
    dlg.setEditSettings(m_editSettings);
    connect(&dlg, &QWatermartTextSettingDlg::emitDlgClose, this, &QVideoEditingDlg::dlgClose);
    dlg.exec();
    m_childDlgOpen = false;
}

void QVideoEditingDlg::onSubtitleSetting()
{
    QSubtitleSettingDlg dlg(this);
    dlg.setEditSettings(m_editSettings);
    dlg.exec();
}

void QVideoEditingDlg::dlgClose()
{
    m_childDlgOpen = false;
}

void QVideoEditingDlg::onOpenDlg(bool isShow)
{
    qDebug() << ".........QVideoEditingDlg::onOpenDlg......" << (isShow ? "true" : "false");
    m_childDlgOpen = isShow;
    if (m_mediaForm)
        m_mediaForm->setDlgActivate(!isShow);
}
