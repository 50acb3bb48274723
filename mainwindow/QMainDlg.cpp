#include "QMainDlg.h"

#include "ImportRules.h"
#include "QIAnyUtil.h"
#include "QInitCtrlStyle.h"
#include "QLoadingDlg.h"
#include "QNewConvertObject.h"
#include "QRirezaPlayerForm.h"
#include "QSaveFileDlg.h"
#include "QVideoSettingXml.h"
#include "QZTMenu.h"
#include "QZTScrollBar.h"
#include "VideoConvertBar.h"
#include "ZtVideoConvertItem.h"
#include "ZtVideoConvertManager.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>

namespace {
ZtVideoConvertManager *clipList()
{
    return ZtVideoConvertManager::getConvertManagerObject();
}
} // namespace

QMainDlg::QMainDlg(QWidget *parent) : QWidget(parent)
{
    setupUi(this);
    // The clip list lives on the GUI thread: the import worker hands its clips over to it.
    connect(clipList(), &ZtVideoConvertManager::emitItemAdded, this,
            [this](ZtVideoConvertItem *item, int) { addConvertItem(item); });
    Init();
    InitMenu();
    InitConnect();
    setLayout(m_verticalLayout);
    m_verticalLayout->setContentsMargins(0, 0, 0, 30);
    setMouseTracking(true);
    scrollArea->setFrameShape(QFrame::NoFrame);
    QPalette pal = m_scrollAreaWidget->palette();
    pal.setColor(QPalette::Window, QColor(53, 53, 53));
    m_scrollAreaWidget->setPalette(pal);
    m_scrollAreaWidget->setAutoFillBackground(true);
    m_pScrollBar = new QZTScrollBar(Qt::Vertical, scrollArea);
    QZTScrollBarStyleAttribute style;
    style.grooveColor = QColor(37, 37, 37);
    style.trackColor = QColor(53, 53, 53);
    style.normalColor = QColor(80, 80, 84);
    style.pressedColor = QColor(96, 96, 100);
    style.hoverColor = QColor(96, 96, 100);
    style.arrowColors[0] = style.arrowColors[1] = style.arrowColors[2] = style.arrowColors[3] = QColor(37, 37, 37);
    m_pScrollBar->setStyleAttribute(style);
    scrollArea->setVerticalScrollBar(m_pScrollBar);
    m_scrollAreaWidget->setLayout(m_ConvertLayout);
    // The designer's holder widgets are empty once their layouts are taken over; left visible they
    // would lie over the list and take its mouse input.
    verticalLayoutWidget->hide();
    verticalLayoutWidget_2->hide();
    m_listLayout->setSpacing(0);
    m_listLayout->setContentsMargins(0, 0, 0, 0);
    scrollArea->hide();
    connect(scrollArea, &QScrollAreaFrameSelection::emitSelectPtChange, this, &QMainDlg::selectPtChange);
    connect(scrollArea, &QScrollAreaFrameSelection::emitScrollBarShow, this, &QMainDlg::ScrollBarShow);
    setAcceptDrops(true);
    m_noFileImage = QImage(QIAnyUtil::getResourcePath() + QStringLiteral("/image/bg_noFile.png"));
    m_noFileImage.setDevicePixelRatio(2.0);
}

QMainDlg::~QMainDlg()
{
    m_bStopAdd = true;
    StopThread();
    if (m_pConvertObject) {
        m_pConvertObject->disconnect(this);
        if (m_bMerging)
            m_pConvertObject->OnStopConvert();
        delete m_pConvertObject;
        m_pConvertObject = nullptr;
        discardStoppedOutput();
    }
    delete m_pSaveFileDlg.data();
    delete m_pLoadingDlg.data();
    qDeleteAll(m_barList);
    m_barList.clear();
}

void QMainDlg::stopRunningWork()
{
    if (m_bImporting)
        StopAddFileThree();
    OnStopSave();
}

void QMainDlg::Init()
{
    QInitCtrlStyle::InitFont(m_labDrag, 15);
    QFont f = m_labDrag->font();
    f.setWeight(QFont::Bold);
    m_labDrag->setFont(f);
    // The hint sits on the list's (53, 53, 53): a mid grey keeps it quiet but readable.
    QInitCtrlStyle::InitPalette(m_labDrag, QPalette::WindowText, QColor(150, 150, 150));
    m_labDrag->setText(tr("Drag media files here to start."));
    m_labDrag->adjustSize();
    for (QLabel *l : {m_lblTotalDuration, m_lblTotalTime}) {
        QInitCtrlStyle::InitFont(l, 12);
        QInitCtrlStyle::InitPalette(l, QPalette::WindowText, Qt::white);
    }
    m_lblTotalDuration->setText(tr("Total Duration:"));
    m_lblTotalDuration->adjustSize();
    m_lblTotalTime->adjustSize();
    m_pTraversalTimer = new QTimer(this);
    connect(m_pTraversalTimer, &QTimer::timeout, this, &QMainDlg::traversalTime);
    TrimChanged();
}

void QMainDlg::InitMenu()
{
    m_actPlay = new QAction(tr("Play"), this);
    m_actConvert = new QAction(tr("Convert"), this);
    m_actRename = new QAction(tr("Rename"), this);
    m_actOpenFile = new QAction(tr("Open File"), this);
    m_actDelete = new QAction(tr("Delete"), this);
    m_actDeleteAll = new QAction(tr("Delete All"), this);
    m_actImport = new QAction(tr("Import"), this);
    m_actClearInvalid = new QAction(tr("Clear invalid files"), this);
    m_pMenu = new QZTMenu(this);
    m_pMenu->setFrameWidth(1);
    m_pMenu->setFrameColor(QColor(74, 74, 74));
    m_pMenu->setAreaColor(QColor(51, 51, 51));
    m_pMenu->setItemColor(QColor(51, 51, 51));
    m_pMenu->setItemTextColor(QColor(255, 255, 255));
    m_pMenu->setItemSelectColor(QColor(79, 78, 78));
    m_pMenu->setItemTextEabledColor(QColor(87, 87, 87));
    m_pMenu->setItemEabledColor(QColor(51, 51, 51));
    m_pMenu->setSeparatorColor(QColor(74, 74, 74));
    m_pMenu->addAction(m_actConvert);
    addMenuActionsAfterConvert();
}

void QMainDlg::addMenuActionsAfterConvert()
{
    m_pMenu->addAction(m_actRename);
    m_pMenu->addSeparator();
    m_pMenu->addAction(m_actOpenFile);
    m_pMenu->addAction(m_actDelete);
    m_pMenu->addAction(m_actDeleteAll);
    m_pMenu->addSeparator();
    m_pMenu->addAction(m_actImport);
    m_pMenu->addAction(m_actClearInvalid);
}

void QMainDlg::InitConnect()
{
    connect(m_actPlay, &QAction::triggered, this, &QMainDlg::OnACtionPlay);
    connect(m_actOpenFile, &QAction::triggered, this, &QMainDlg::OnACtionOpenFile);
    connect(m_actConvert, &QAction::triggered, this, &QMainDlg::OnACtionConvert);
    connect(m_actRename, &QAction::triggered, this, &QMainDlg::OnACtionRename);
    connect(m_actDelete, &QAction::triggered, this, &QMainDlg::OnACtionDelete);
    connect(m_actDeleteAll, &QAction::triggered, this, &QMainDlg::OnACtionDeleteAll);
    connect(m_actImport, &QAction::triggered, this, &QMainDlg::OnACtionImport);
    connect(m_actClearInvalid, &QAction::triggered, this, &QMainDlg::OnACtionClearInvalidFile);
    connect(this, &QMainDlg::seedAddComplete, this, &QMainDlg::AddFileComplete);
    connect(this, &QMainDlg::seedAddFilePath, this, &QMainDlg::onAddFilePath);
    connect(this, &QMainDlg::seedAddCount, this, &QMainDlg::onAddCount);
    connect(this, &QMainDlg::seedProgressValue, this, &QMainDlg::onProgressValue);
}

QAction *QMainDlg::action(const QString &text) const
{
    for (QAction *a : {m_actPlay, m_actConvert, m_actRename, m_actOpenFile, m_actDelete, m_actDeleteAll, m_actImport,
                       m_actClearInvalid})
        if (a->text() == text)
            return a;
    return nullptr;
}

void QMainDlg::setPlayerForm(QRirezaPlayerForm *form)
{
    if (!form)
        return;
    m_pPlayerForm = form;
    connect(this, &QMainDlg::emitPlayerItem, form, &QRirezaPlayerForm::setPlayerItem);
    connect(this, &QMainDlg::emitPlayerItemChanged, form, &QRirezaPlayerForm::playerItemChanged);
    connect(this, &QMainDlg::emitBtnEnable, form, &QRirezaPlayerForm::emitBtnEnable);
    connect(this, &QMainDlg::emitStopPlayer, form, &QRirezaPlayerForm::stopPlayer);
    connect(this, &QMainDlg::emitPreparePlayer, form, &QRirezaPlayerForm::preparePlayer);
    connect(form, &QRirezaPlayerForm::emitBtnPrevious, this, &QMainDlg::OnBtnPrevious);
    connect(form, &QRirezaPlayerForm::emitBtnNext, this, &QMainDlg::OnBtnNext);
    connect(form, &QRirezaPlayerForm::emitPlayerItemChanged, this, &QMainDlg::TrimChanged);
    connect(form, &QRirezaPlayerForm::emitPlayState, this, &QMainDlg::playStateChanged);
    connect(form, &QRirezaPlayerForm::emitPlayFinish, this, &QMainDlg::playFinish);
}

void QMainDlg::retranslateUi()
{
    m_labDrag->setText(tr("Drag media files here to start."));
    m_labDrag->adjustSize();
    placeLabels();
    for (VideoConvertBar *bar : qAsConst(m_barList))
        bar->retranslateUi();
}

void QMainDlg::addConvertItem(ZtVideoConvertItem *item)
{
    if (!item)
        return;
    auto *bar = new VideoConvertBar(m_scrollAreaWidget);
    m_barList.append(bar);
    connect(bar, &VideoConvertBar::emitMousePress, this, &QMainDlg::respondMouseStateEmit);
    connect(bar, &VideoConvertBar::emitMouseDoublePress, this, &QMainDlg::respondMouseDoubleEmit);
    connect(bar, &VideoConvertBar::emitMouseRelease, this, &QMainDlg::emitReleaseItem);
    connect(bar, &VideoConvertBar::emitMouseShiftPress, this, &QMainDlg::shiftMouseStateEmit);
    connect(bar, &VideoConvertBar::emitMouseCtrlPress, this, &QMainDlg::ctrlMouseStateEmit);
    connect(bar, &VideoConvertBar::emitDelete, this, &QMainDlg::respondDeleteEmit);
    connect(bar, &VideoConvertBar::emitEdit, this, &QMainDlg::respondEditEmit);
    connect(bar, &VideoConvertBar::emitPlay, this, &QMainDlg::respondPlayEmit);
    connect(bar, &VideoConvertBar::emitPause, this, &QMainDlg::respondPauseEmit);
    connect(bar, &VideoConvertBar::emitshowTreeMenu, this, &QMainDlg::respondShowTreeMenu);
    connect(bar, &VideoConvertBar::emitFromInsertTo, this, &QMainDlg::respondFromInsertTo);
    bar->setVideoItemInfo(item);
    m_listLayout->addWidget(bar);
    SearchTextChanged(m_strSearch);
    if (!m_barList.isEmpty()) {
        scrollArea->show();
        scrollArea->raise();
        emit seedIsAddItem(true);
    }
    TrimChanged();
    if (!m_pPlayerBar) {
        m_pPlayerBar = bar;
        bar->setIsPlayer(true);
        emit emitPreparePlayer(item);
    }
    noticeBtnEnable(m_barList.indexOf(m_pPlayerBar));
}

void QMainDlg::noticeBtnEnable(int index)
{
    const MediaListRules::Navigation n = MediaListRules::navigation(index, m_barList.size());
    emit emitBtnEnable(n.previous, n.next);
}

// ---- selection ----

void QMainDlg::respondMouseStateEmit()
{
    auto *bar = qobject_cast<VideoConvertBar *>(sender());
    if (!bar || isBusy())
        return;
    for (VideoConvertBar *other : qAsConst(m_barList))
        if (other != bar)
            other->setMouseState(0);
    m_pCurrentBar = bar;
    m_pAnchorBar = bar;
    emit emitPressItem();
}

void QMainDlg::ctrlMouseStateEmit()
{
    auto *bar = qobject_cast<VideoConvertBar *>(sender());
    if (!bar)
        return;
    m_pCurrentBar = bar;
    m_pAnchorBar = bar;
}

void QMainDlg::shiftMouseStateEmit()
{
    auto *bar = qobject_cast<VideoConvertBar *>(sender());
    if (!bar)
        return;
    m_pCurrentBar = bar;
    const int a = m_pAnchorBar ? m_barList.indexOf(m_pAnchorBar) : 0;
    const int b = m_barList.indexOf(bar);
    for (int i = 0; i < m_barList.size(); ++i)
        m_barList.at(i)->setMouseState(MediaListRules::inShiftRange(i, a, b) ? 2 : 0);
}

void QMainDlg::SelectAllItem()
{
    for (VideoConvertBar *bar : qAsConst(m_barList))
        bar->setMouseState(2);
}

void QMainDlg::keyPressEvent(QKeyEvent *e)
{
    QWidget::keyPressEvent(e);
    if (e->key() == Qt::Key_A && e->modifiers() == Qt::ControlModifier && !isBusy())
        SelectAllItem();
}

void QMainDlg::selectPtChange(QPoint startPt, QPoint endPt)
{
    if (isBusy())
        return;
    for (VideoConvertBar *bar : qAsConst(m_barList)) {
        const bool hit = MediaListRules::inRubberBand(bar->y(), bar->height(), startPt, endPt);
        bar->setMouseState(hit ? 2 : 0);
    }
}

void QMainDlg::ScrollBarShow(bool flag)
{
    m_scrollAreaWidget->setMaximumWidth(width() - (flag ? m_pScrollBar->width() : 0));
}

// ---- the previewed row ----

void QMainDlg::playerItem(VideoConvertBar *bar)
{
    if (!bar)
        return;
    if (m_pPlayerBar && m_pPlayerBar->getVideoItemInfo()) {
        m_pPlayerBar->getVideoItemInfo()->m_bIsPlaying = false;
        m_pPlayerBar->setIsPlayer(false);
    }
    for (VideoConvertBar *other : qAsConst(m_barList))
        if (other != bar)
            other->setMouseState(0);
    m_pCurrentBar = m_pAnchorBar = m_pPlayerBar = bar;
    ZtVideoConvertItem *item = bar->getVideoItemInfo();
    if (item)
        item->m_bIsPlaying = true;
    bar->setIsPlayer(true);
    emit emitPlayerItem(item);
    noticeBtnEnable(m_barList.indexOf(bar));
}

void QMainDlg::respondMouseDoubleEmit()
{
    if (!isBusy())
        playerItem(qobject_cast<VideoConvertBar *>(sender()));
}

void QMainDlg::respondPlayEmit()
{
    if (!isBusy())
        playerItem(qobject_cast<VideoConvertBar *>(sender()));
}

void QMainDlg::respondPauseEmit()
{
    if (m_pPlayerForm)
        m_pPlayerForm->pausePlayer();
}

void QMainDlg::movePreview(int step)
{
    if (!m_pPlayerBar || isBusy())
        return;
    const int i = m_barList.indexOf(m_pPlayerBar);
    const int target = i + step;
    if (i < 0 || target < 0 || target >= m_barList.size())
        return;
    if (ZtVideoConvertItem *old = m_pPlayerBar->getVideoItemInfo())
        old->m_bIsPlaying = false;
    m_pPlayerBar->setIsPlayer(false);
    m_pPlayerBar->setMouseState(0);
    m_pPlayerBar = m_barList.at(target);
    ZtVideoConvertItem *item = m_pPlayerBar->getVideoItemInfo();
    if (item)
        item->m_bIsPlaying = true;
    m_pPlayerBar->setIsPlayer(true);
    emit emitPlayerItem(item);
    noticeBtnEnable(target);
}

void QMainDlg::OnBtnPrevious()
{
    movePreview(-1);
}

void QMainDlg::OnBtnNext()
{
    movePreview(1);
}

void QMainDlg::playStateChanged(bool flag)
{
    if (!m_pPlayerBar)
        return;
    if (ZtVideoConvertItem *item = m_pPlayerBar->getVideoItemInfo())
        item->m_bIsPlaying = flag;
    m_pPlayerBar->setIsPlayer(true);
}

void QMainDlg::playFinish()
{
    playStateChanged(false);
}

// ---- total duration, painting, placement ----

void QMainDlg::TrimChanged()
{
    if (m_barList.isEmpty()) {
        m_lblTotalDuration->hide();
        m_lblTotalTime->hide();
        return;
    }
    if (m_pPlayerBar)
        m_pPlayerBar->updateTrimTime();
    quint64 total = 0;
    for (VideoConvertBar *bar : qAsConst(m_barList)) {
        const ZtVideoConvertItem *item = bar->getVideoItemInfo();
        if (item)
            total += MediaListRules::trimmedLength(item->m_nTrimStart, item->m_nTrimEnd, item->m_nDuration);
    }
    m_lblTotalTime->setText(MediaListRules::timeText(total));
    m_lblTotalTime->adjustSize();
    m_lblTotalDuration->show();
    m_lblTotalTime->show();
    placeLabels();
}

QString QMainDlg::totalTimeText() const
{
    return m_lblTotalTime->isVisibleTo(const_cast<QMainDlg *>(this)) ? m_lblTotalTime->text() : QString();
}

void QMainDlg::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(53, 53, 53));
    if (!m_noFileImage.isNull()) {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        const int pw = m_noFileImage.width();
        const int ph = m_noFileImage.height();
        p.drawImage(QPoint((width() - pw / 2) / 2, (height() - ph / 2) / 2 - 50), m_noFileImage);
    }
}

void QMainDlg::placeLabels()
{
    const int W = width();
    const int H = height();
    m_labDrag->move((W - m_labDrag->width()) / 2, (H - m_labDrag->height()) / 2 + 70);
    const int wc = m_lblTotalDuration->width();
    const int wt = m_lblTotalTime->width();
    const int x = (W - wc - wt - 4) / 2;
    m_lblTotalDuration->move(x, (30 - m_lblTotalDuration->height()) / 2 + H - 30);
    m_lblTotalTime->move(x + wc + 3, (30 - m_lblTotalTime->height()) / 2 + H - 30);
}

void QMainDlg::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    placeLabels();
    ScrollBarShow(m_pScrollBar->isVisible());
}

void QMainDlg::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    placeLabels();
}

void QMainDlg::mousePressEvent(QMouseEvent *e)
{
    QWidget::mousePressEvent(e);
    if (e->button() == Qt::RightButton)
        showMenu(false);
}

void QMainDlg::SaveConvertedInfo(convertedInfo *info)
{
    QVideoSettingXml::SaveConvertedInfo(info);
}

QString QMainDlg::ImportFilter()
{
    return ImportRules::fileDialogFilter();
}
