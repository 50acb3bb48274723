#include "QVideoEditingDlg.h"

#include "QAdjustOperationForm.h"
#include "QAudioOperationForm.h"
#include "QAudioTagForm.h"
#include "QEffectOperationForm.h"
#include "QIAnyUtil.h"
#include "QMediaForm.h"
#include "QMessageOpacityForm.h"
#include "QPlayerOperationForm.h"
#include "QProgressIndicator.h"
#include "QSubtitleOperationForm.h"
#include "QTrimOperationForm.h"
#include "QVEInitCtrlStyle.h"
#include "QVideoEditTag.h"
#include "QVideoEditingSettings.h"
#include "QWaitForDlg.h"
#include "QWatermarkOperationForm.h"
#include "QZTMenu.h"
#include "QZTMessageBox.h"
#include "SkinStyleHelpers.h"
#include "ZTInfoManager.h"
#include "ZTPlayerManager.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QTimer>

namespace {

using SkinStyleHelpers::res;

} // namespace

QVideoEditingDlg::QVideoEditingDlg(QWidget *parent) : QZTDialog(parent, 1)
{
    setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setBackgroundImage(res("/VEditSource/background.png"), true);
    initData();
    initControls();
    initMenu();
    ininScreenshotsInfo();
    initEditTag();

    setStretchPolicy(0);
    setFixedSize(826, 546);
    m_editTag->setHiddenTag(Tag);
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, QColor(255, 255, 255));
    setPalette(pal);
    QFont f = font();
    f.setFamily(QStringLiteral("Tahoma"));
    f.setPixelSize(12);
    setFont(f);
    setGridViewInfo(rectSize(70, 70), rectSize(70, 70), rectSize(70, 70), rectSize(70, 70));
    m_applyConfig = VEEditConfig();
    m_clipConfig = VEEditConfig();
    setWindowTitle(tr("Video Edit"));
    installEventFilter(this);
    qRegisterMetaType<VECropSettings>("VECropSettings");
    qRegisterMetaType<VEWatermarkSettings>("VEWatermarkSettings");
}

QVideoEditingDlg::~QVideoEditingDlg()
{
    // The worker only reads the file and never waits for this thread: asking it to stop and joining it is
    // bounded by one read of the codec library.
    m_stopLoading = true;
    StopThread();
    delete m_waitDlg.data();
    delete m_mediaForm; // unbinds its windows from the controller first
    m_mediaForm = nullptr;
    delete m_player;
    m_player = nullptr;
    delete m_info;
    m_info = nullptr;
}

void QVideoEditingDlg::initData()
{
    m_loadingTimer = new QTimer(this);
    connect(m_loadingTimer, &QTimer::timeout, this, &QVideoEditingDlg::loadingTimer);
    connect(this, &QVideoEditingDlg::emitThreadComplete, this, &QVideoEditingDlg::threadComplete, Qt::QueuedConnection);
}

void QVideoEditingDlg::initControls()
{
    m_player = new ZTPlayerManager;
    m_info = new ZTInfoManager;
    m_info->createrPlayer();
    m_editSettings = new QVideoEditingSettings(this);
    m_editSettings->setPlayerManager(m_player);

    m_btnClose->setButtonImage(res("/VEditSource/btn_close.png"), true);
    m_btnMin->setButtonImage(res("/VEditSource/btn_min.png"), true);
    m_btnMin->setEnabled(false);
    m_btnMax->setButtonImage(res("/VEditSource/btn_max.png"), true);
    m_btnMax->setEnabled(false);
    connect(m_btnClose, &QPushButton::clicked, this, &QVideoEditingDlg::onCancel);
    connect(m_btnMin, &QPushButton::clicked, this, &QWidget::showMinimized);
    for (QZTBaseButton *b : {m_btnOK, m_btnCancel}) {
        b->setButtonImage(res("/VEditSource/btn_common.png"), true);
        b->setTextColor(Qt::white, Qt::white, Qt::white, QColor(101, 101, 101));
        b->resize(70, 28);
        QVEInitCtrlStyle::SetFont(b, 12);
    }
    m_btnOK->setText(tr("OK"));
    m_btnCancel->setText(tr("Cancel"));
    connect(m_btnOK, &QPushButton::clicked, this, &QVideoEditingDlg::onOK);
    connect(m_btnCancel, &QPushButton::clicked, this, &QVideoEditingDlg::onCancel);
    m_btnPreviousFile->setButtonImage(res("/VEditSource/btn_previous.png"), true);
    m_btnNextFile->setButtonImage(res("/VEditSource/btn_next.png"), true);
    m_btnPreviousFile->hide();
    m_btnNextFile->hide();
    connect(m_btnPreviousFile, &QPushButton::clicked, this, &QVideoEditingDlg::emitPreviousFile);
    connect(m_btnNextFile, &QPushButton::clicked, this, &QVideoEditingDlg::emitNextFile);

    m_playBar = new QPlayerOperationForm(this);
    m_mediaForm = new QMediaForm(m_player, this);
    m_trimForm = new QTrimOperationForm(this);
    m_adjustForm = new QAdjustOperationForm(this);
    m_effectForm = new QEffectOperationForm(this);
    m_watermarkForm = new QWatermarkOperationForm(this);
    m_subtitleForm = new QSubtitleOperationForm(this);
    m_audioForm = new QAudioOperationForm(this);
    m_tagForm = new QAudioTagForm(this);
    connectPages();

    m_indicator = new QProgressIndicator(this);
    m_indicator->setIndicatorPolicy(QProgressIndicator::Dots);
    m_indicator->resize(80, 80);
    m_indicator->setColor(QColor(157, 157, 204));
    m_indicator->hide();

    for (QWidget *w : std::initializer_list<QWidget *>{m_adjustForm, m_subtitleForm, m_audioForm, m_effectForm,
                                                       m_watermarkForm, m_playBar, m_tagForm})
        w->hide();

    m_trimForm->setEditSettings(m_editSettings);
    m_adjustForm->setEditSettings(m_editSettings);
    m_effectForm->setEditSettings(m_editSettings);
    m_watermarkForm->setEditSettings(m_editSettings);
    m_subtitleForm->setEditSettings(m_editSettings);
    m_audioForm->setEditSettings(m_editSettings);
    m_tagForm->setEditSettings(m_editSettings);
}

void QVideoEditingDlg::connectPages()
{
    ZTPlayerManager *p = m_player;
    connect(p, &ZTPlayerManager::emitPlayFinish, m_playBar, &QPlayerOperationForm::playFinish);
    connect(p, &ZTPlayerManager::emitPlayProgress, m_playBar, &QPlayerOperationForm::setPlayProcess);
    connect(p, &ZTPlayerManager::emitPlayTime, m_playBar, &QPlayerOperationForm::setTime);
    connect(p, &ZTPlayerManager::emitPlayState, m_playBar, &QPlayerOperationForm::showPlayOrPause);
    connect(p, &ZTPlayerManager::emitIsHaveVideo, this, &QVideoEditingDlg::isHaveVideo);
    // Queued: the box runs its own loop, which must not start inside the page's change of the record.
    connect(p, &ZTPlayerManager::emitEditFileRefused, this, &QVideoEditingDlg::onEditFileRefused, Qt::QueuedConnection);
    connect(m_playBar, &QPlayerOperationForm::emitPlay, p, &ZTPlayerManager::onPlay);
    connect(m_playBar, &QPlayerOperationForm::emitPause, p, &ZTPlayerManager::onPause);
    connect(m_playBar, &QPlayerOperationForm::emitStop, p, &ZTPlayerManager::onStop);
    connect(m_playBar, &QPlayerOperationForm::emitProgressValue, p, &ZTPlayerManager::progressValueChange);
    connect(m_playBar, &QPlayerOperationForm::emitSliderPress, p, &ZTPlayerManager::beginAsyncSeek);
    connect(m_playBar, &QPlayerOperationForm::emitSliderRelease, p, &ZTPlayerManager::endAsyncSeek);
    connect(m_playBar, &QPlayerOperationForm::emitSnapshot, this, &QVideoEditingDlg::onSnapshot);
    connect(m_playBar, &QPlayerOperationForm::emitSnapshotMenu, this, &QVideoEditingDlg::onSnapshotMenu);

    QTrimOperationForm *t = m_trimForm;
    connect(p, &ZTPlayerManager::emitPlayFinish, t, &QTrimOperationForm::playFinish);
    connect(p, &ZTPlayerManager::emitPlayProgress, t, &QTrimOperationForm::setPlayProcess);
    connect(p, &ZTPlayerManager::emitPlayTime2, t, &QTrimOperationForm::setTime);
    connect(p, &ZTPlayerManager::emitPlayState, t, &QTrimOperationForm::showPlayOrPause);
    connect(p, &ZTPlayerManager::emitTrimPlayState, t, &QTrimOperationForm::showTrimPlayOrPause);
    connect(p, &ZTPlayerManager::emitStartEndProgressValue, t, &QTrimOperationForm::setStartEndProgressValue);
    connect(p, &ZTPlayerManager::emitTrimTimeChange, t, &QTrimOperationForm::trimTimeChange);
    connect(t, &QTrimOperationForm::emitTrimPlay, p, &ZTPlayerManager::onTrimPlay);
    connect(t, &QTrimOperationForm::emitPause, p, &ZTPlayerManager::onPause);
    connect(t, &QTrimOperationForm::emitTrimPause, p, &ZTPlayerManager::onTrimPause);
    connect(t, &QTrimOperationForm::emitStop, p, &ZTPlayerManager::onStop);
    connect(t, &QTrimOperationForm::emitPlay, p, &ZTPlayerManager::onPlay);
    connect(t, &QTrimOperationForm::emitSliderSendPlayProToPlay, p, &ZTPlayerManager::progressValueChange);
    connect(t, &QTrimOperationForm::emitSliderMousePress, p, &ZTPlayerManager::beginAsyncSeek);
    connect(t, &QTrimOperationForm::emitSliderMouseRelease, p, &ZTPlayerManager::endAsyncSeek);
    connect(t, &QTrimOperationForm::emitPreviousStep, p, &ZTPlayerManager::onPreviousStep);
    connect(t, &QTrimOperationForm::emitNextStep, p, &ZTPlayerManager::onNextStep);
    connect(t, &QTrimOperationForm::emitTrim, p, &ZTPlayerManager::onTrim);
    connect(t, &QTrimOperationForm::emitTrimChapter, p, &ZTPlayerManager::onTrimChapter);
    connect(t, &QTrimOperationForm::emitReset, p, &ZTPlayerManager::onReset);
    connect(t, &QTrimOperationForm::emitSnapshot, this, &QVideoEditingDlg::onSnapshot);
    connect(t, &QTrimOperationForm::emitSnapshotMenu, this, &QVideoEditingDlg::onSnapshotMenu);

    connect(m_adjustForm, &QAdjustOperationForm::emitApplyToAll, this, &QVideoEditingDlg::onApplyToAll);
    connect(m_effectForm, &QEffectOperationForm::emitApplyToAll, this, &QVideoEditingDlg::onApplyToAll);
    connect(m_watermarkForm, &QWatermarkOperationForm::emitApplyToAll, this, &QVideoEditingDlg::onApplyToAll);
    connect(m_watermarkForm, &QWatermarkOperationForm::emitWatermartTextSetting, this,
            &QVideoEditingDlg::onWatermartTextSetting);
    connect(m_watermarkForm, &QWatermarkOperationForm::emitOpenDlg, this, &QVideoEditingDlg::onOpenDlg);
    connect(m_subtitleForm, &QSubtitleOperationForm::emitAddSubtitleToCmb, this,
            &QVideoEditingDlg::emitAddSubtitleToCmb);
    connect(m_subtitleForm, &QSubtitleOperationForm::emitApplyToAll, this, &QVideoEditingDlg::onApplyToAll);
    connect(m_subtitleForm, &QSubtitleOperationForm::emitSubtitleSetting, this, &QVideoEditingDlg::onSubtitleSetting);
    connect(m_audioForm, &QAudioOperationForm::emitApplyToAll, this, &QVideoEditingDlg::onApplyToAll);
}

void QVideoEditingDlg::initMenu()
{
    m_actOpenFolder = new QAction(tr("Open Folder"), this);
    m_actSettings = new QAction(tr("Settings"), this);
    m_menu = new QZTMenu(this);
    m_menu->setFrameWidth(1);
    m_menu->setFrameColor(QColor(53, 53, 53));
    m_menu->setAreaColor(QColor(37, 37, 37));
    m_menu->setItemColor(QColor(37, 37, 37));
    m_menu->setItemTextColor(QColor(255, 255, 255));
    m_menu->setItemSelectColor(QColor(105, 105, 105));
    m_menu->setItemTextEabledColor(QColor(101, 101, 101));
    m_menu->setItemEabledColor(QColor(37, 37, 37));
    m_menu->setSeparatorColor(QColor(53, 53, 53));
    QVEInitCtrlStyle::SetFont(m_menu, 12);
    m_menu->addAction(m_actOpenFolder);
    m_menu->addAction(m_actSettings);
    connect(m_actOpenFolder, &QAction::triggered, this, &QVideoEditingDlg::openImgPath, Qt::QueuedConnection);
    connect(m_actSettings, &QAction::triggered, this, &QVideoEditingDlg::showPathSettingDlg);
}

void QVideoEditingDlg::initEditTag()
{
    m_editTag = new QVideoEditTag(this);
    m_editTag->createTag(
        {tr("Trim"), tr("Adjust"), tr("Effect"), tr("Watermark"), tr("Subtitle"), tr("Audio"), tr("Tag")});
    m_editTag->resize(width(), 25);
    m_editTag->show();
    m_editTag->setSelectedTag(0);
    connect(m_editTag, &QVideoEditTag::emitSelectedTag, this, &QVideoEditingDlg::selectedTag);
}

void QVideoEditingDlg::setVideoFile(QString path, unsigned int width, unsigned int height)
{
    m_path = path;
    m_width = width;
    m_height = height;
}

void QVideoEditingDlg::setEditConfig(VEEditConfig &config)
{
    m_clipConfig = config;
}

void QVideoEditingDlg::setIsWatermarkAudioStartTime(bool on)
{
    if (m_editSettings)
        m_editSettings->setIsWatermarkAudioStartTime(on);
}

void QVideoEditingDlg::isHaveVideo(bool flag)
{
    if (!flag)
        for (int tab = Adjust; tab <= Subtitle; ++tab)
            m_editTag->setHiddenTag(tab);
    m_trimForm->setDisableSnapshot(!flag);
}

void QVideoEditingDlg::onEditFileRefused(QString why)
{
    QZTMessageBox::ShowMessage(this, QString(), tr("This file cannot be used:") + QLatin1Char('\n') + why,
                               QZTMessageBox::Warning, QZTMessageBox::StyleOk);
}

void QVideoEditingDlg::hideMediaForm()
{
    delete m_mediaForm;
    m_mediaForm = nullptr;
    delete m_player;
    m_player = nullptr;
}

void QVideoEditingDlg::getEditConfig(VEEditConfig &config)
{
    m_editSettings->getEditConfig(config);
}

void QVideoEditingDlg::selectedTag(int index)
{
    m_currentTab = index;
    if (m_mediaForm) {
        m_mediaForm->show();
        m_mediaForm->setOperationType(index);
    }
    if (index <= Tag) {
        QWidget *pages[] = {m_trimForm,     m_adjustForm, m_effectForm, m_watermarkForm,
                            m_subtitleForm, m_audioForm,  m_tagForm};
        for (int i = 0; i <= Tag; ++i)
            pages[i]->setVisible(i == index);
        m_playBar->setVisible(index != Trim && index != Tag);
        if (index == Tag && m_mediaForm)
            m_mediaForm->hide();
    }
    updateMediaFormGeometry();
}

void QVideoEditingDlg::updateMediaFormGeometry()
{
    if (!m_mediaForm)
        return;
    const int bottomEdge = m_currentTab == Trim ? m_trimForm->y() : m_playBar->y();
    m_mediaForm->setGeometry(0, 47, width(), bottomEdge - 47);
}

void QVideoEditingDlg::resizeEvent(QResizeEvent *event)
{
    QZTDialog::resizeEvent(event);
    const int W = width();
    const int H = height();
    if (m_indicator)
        m_indicator->move((W - m_indicator->width()) / 2, (H - m_indicator->height()) / 2);
    m_btnClose->move(5, 5);
    // The smaller window buttons sit on the close button's middle line.
    const int beside = 5 + (m_btnClose->height() - m_btnMin->height()) / 2;
    m_btnMin->move(m_btnClose->geometry().right() + 8, beside);
    m_btnMax->move(m_btnMin->geometry().right() + 8, beside);
    const auto band = [H](QWidget *w) { return H - 50 + (50 - w->height()) / 2; };
    m_btnOK->move(W - 15 - m_btnOK->width(), band(m_btnOK));
    m_btnCancel->move(m_btnOK->x() - 15 - m_btnCancel->width(), band(m_btnCancel));
    m_btnPreviousFile->move(15, band(m_btnPreviousFile));
    m_btnNextFile->move(m_btnPreviousFile->geometry().right(), band(m_btnNextFile));
    if (!m_trimForm)
        return;
    if (m_editTag)
        m_editTag->setGeometry(0, 22, W, 25);
    m_tagForm->setGeometry(0, 47, W, H - 97);
    m_trimForm->setGeometry(6, H - 56 - 86, W - 12, 86);
    for (QWidget *page :
         std::initializer_list<QWidget *>{m_adjustForm, m_effectForm, m_watermarkForm, m_subtitleForm, m_audioForm})
        page->setGeometry(6, H - 56 - 128, W - 12, 128);
    m_playBar->setGeometry(6, m_adjustForm->y() - 32, W - 12, 26);
    updateMediaFormGeometry();
}

void QVideoEditingDlg::paintEvent(QPaintEvent *event)
{
    QZTDialog::paintEvent(event);
    QPainter painter(this);
    painter.setPen(QColor(37, 37, 37));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(0, 0, width() - 1, height() - 1);
}

void QVideoEditingDlg::onOK()
{
    if (!m_loaded)
        return;
    if (m_mediaForm)
        m_mediaForm->hideBorder();
    m_trimForm->onTrim();
    m_adjustForm->saveEditingSettings();
    accept();
}

void QVideoEditingDlg::onCancel()
{
    if (!m_loaded)
        return;
    if (m_mediaForm)
        m_mediaForm->hideBorder();
    close();
}

void QVideoEditingDlg::done(int result)
{
    // Nothing ends the editor while its clip is still being opened.
    if (!m_loaded)
        return;
    QZTDialog::done(result);
}

void QVideoEditingDlg::closeEvent(QCloseEvent *event)
{
    if (!m_loaded) {
        event->ignore();
        return;
    }
    QZTDialog::closeEvent(event);
}

void QVideoEditingDlg::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QZTDialog::keyPressEvent(event);
}

void QVideoEditingDlg::mouseDoubleClickEvent(QMouseEvent *) {}

void QVideoEditingDlg::mouseMoveEvent(QMouseEvent *event)
{
    QZTDialog::mouseMoveEvent(event);
    if (m_mediaForm)
        m_mediaForm->resetBorderFrameLocation();
}

bool QVideoEditingDlg::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == this && m_mediaForm) {
        if (event->type() == QEvent::WindowDeactivate) {
            m_mediaForm->setDlgActivate(false);
            return true;
        }
        if (event->type() == QEvent::WindowActivate) {
            if (!m_childDlgOpen)
                m_mediaForm->setDlgActivate(true);
            return true;
        }
    }
    return QZTDialog::eventFilter(watched, event);
}

void QVideoEditingDlg::showEvent(QShowEvent *event)
{
    if (!m_shownOnce) {
        m_shownOnce = true;
        m_loadingTimer->start(100);
    }
    QZTDialog::showEvent(event);
}

QWaitForDlg *QVideoEditingDlg::waitDialog() const
{
    return m_waitDlg.data();
}
