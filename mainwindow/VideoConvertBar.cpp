#include "VideoConvertBar.h"

#include "QBaseImageDraw.h"
#include "QConverterOperate.h"
#include "QIAnyUtil.h"
#include "QInitCtrlStyle.h"
#include "ThumbnailCache.h"
#include "ZtVideoConvertItem.h"
#include "ZtVideoConvertManager.h"

#include <QApplication>
#include <QDataStream>
#include <QDir>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

const char *const VideoConvertBar::kDragMime = "application/x-dnditemdata";
const char *const VideoConvertBar::kListMime = "application/x-reelsplice-list";

QPixmap *VideoConvertBar::g_iconPixmap = nullptr;
QImage *VideoConvertBar::g_btnEditTImage = nullptr;
QImage *VideoConvertBar::g_btnMarkImage = nullptr;
QImage *VideoConvertBar::g_btnCloseImage = nullptr;
QImage *VideoConvertBar::g_btnEditImage = nullptr;

namespace {

QString res(const char *path)
{
    return QIAnyUtil::getResourcePath() + QLatin1String(path);
}

// One row of a two-row strip: 0 the upper (selected look), 1 the lower.
QImage stripRow(const QImage *image, int row)
{
    if (!image || image->isNull())
        return QImage();
    const int h = image->height() / 2;
    return image->copy(0, row * h, image->width(), h);
}

} // namespace

void VideoConvertBar::InitResources()
{
    if (!g_iconPixmap)
        g_iconPixmap = new QPixmap(res("/image/videodisplay/Video_icon.png"));
    if (!g_btnEditTImage)
        g_btnEditTImage = new QImage(res("/image/videodisplay/btn_t.png"));
    if (!g_btnMarkImage)
        g_btnMarkImage = new QImage(res("/image/videodisplay/mask_img.png"));
    if (!g_btnCloseImage)
        g_btnCloseImage = new QImage(res("/image/videodisplay/btn_delete.png"));
    if (!g_btnEditImage)
        g_btnEditImage = new QImage(res("/image/videodisplay/btn_item_edit.png"));
}

void VideoConvertBar::ReleaseResources()
{
    delete g_iconPixmap;
    g_iconPixmap = nullptr;
    delete g_btnEditTImage;
    g_btnEditTImage = nullptr;
    delete g_btnMarkImage;
    g_btnMarkImage = nullptr;
    delete g_btnCloseImage;
    g_btnCloseImage = nullptr;
    delete g_btnEditImage;
    g_btnEditImage = nullptr;
}

VideoConvertBar::VideoConvertBar(QWidget *parent) : QWidget(parent)
{
    setupUi(this);
    setMouseTracking(true);
    InitResources();
    setMinimumHeight(50);
    setMaximumHeight(50);
    InitCtrl();
    connect(m_btnPlay, &QPushButton::clicked, this, &VideoConvertBar::onPlay);
    connect(m_btnPause, &QPushButton::clicked, this, &VideoConvertBar::onPause);
    connect(m_labVideoName, &RetractLabel::emitChangeName, this, &VideoConvertBar::ChangeName);
    setAcceptDrops(true);
}

VideoConvertBar::~VideoConvertBar() = default;

void VideoConvertBar::InitCtrl()
{
    m_btnEditName->resize(16, 13);
    m_btnEditName->hide();
    m_btnClose->hide();
    m_btnClose->setButtonImage(g_btnCloseImage, true, false);
    connect(m_btnClose, &QPushButton::clicked, this, &VideoConvertBar::OnBtnDelete);
    m_btnMask->setButtonImage(g_btnMarkImage, true, false);
    m_btnMask->setEnabled(false);
    m_btnMask->setStaticState(true);
    m_btnMask->setBtnState(0);
    m_btnMask->hide();
    retranslateUi();
    m_labVideoName->setPixelSize(12);
    m_labVideoName->setIgnoreExten(false);
    m_labVideoName->setFixedWidth(128);
    m_btnEdit->resize(16, 13);
    m_btnEdit->hide();
    QPalette pal = m_progressBar->palette();
    pal.setColor(QPalette::Window, QColor(0, 0, 0, 76));
    pal.setColor(QPalette::Highlight, QColor(255, 130, 108, 178));
    pal.setColor(QPalette::WindowText, Qt::white);
    m_progressBar->setPalette(pal);
    m_progressBar->setCircle(false);
    m_progressBar->setProgressPolicy(QZTBaseProgress::ProgressPolicy(2));
    m_progressBar->hide();
    m_progressBar->setDecimals(0);
    m_converterState->hide();
    connect(m_btnEditName, &QPushButton::clicked, this, &VideoConvertBar::OnBtnEditName);
    connect(m_btnEdit, &QPushButton::clicked, this, &VideoConvertBar::OnBtnEdit);
    m_videoIconWidget->setFixedSize(60, 42);
    m_videoIconWidget->setIcon(res("/image/videodisplay/play_icon.png"));
    QInitCtrlStyle::InitFont(m_lblTime, 11);
    QInitCtrlStyle::InitPalette(m_labVideoName, QPalette::WindowText, Qt::white);
    QInitCtrlStyle::InitPalette(m_lblTime, QPalette::WindowText, QColor(205, 205, 205));
    m_btnPlay->setButtonImage(res("/image/videodisplay/btn_play.png"), true);
    m_btnPause->setButtonImage(res("/image/videodisplay/btn_pause.png"), true);
    m_btnPlay->hide();
    m_btnPause->hide();
    drawStaticCtrl();
}

void VideoConvertBar::retranslateUi()
{
    m_btnEditName->setToolTip(tr("Rename"));
    m_btnClose->setToolTip(tr("Delete"));
    m_btnEdit->setToolTip(tr("Edit"));
}

void VideoConvertBar::bindPicture()
{
    m_videoIconWidget->setAllImage(res("/image/videodisplay/Video_icon.png"),
                                   m_pItem ? m_pItem->m_pCoverImage : nullptr, QString());
}

void VideoConvertBar::setVideoItemInfo(ZtVideoConvertItem *item)
{
    m_pItem = item;
    if (!item)
        return;
    m_nIndex = item->Index();
    if (!ZtVideoConvertManager::getConvertManagerObject()->GetItem(m_nIndex))
        return;
    settingChange();
    if (item->m_pCoverImage && !item->m_pCoverImage->isNull()) {
        m_strThumbPath = ThumbnailCache::store(item->getFilePath(), *item->m_pCoverImage);
        item->m_strImagePath = m_strThumbPath;
    }
    bindPicture();
    updateTrimTime();
}

void VideoConvertBar::updateItemInfo(ZtVideoConvertItem *item)
{
    if (!item)
        return;
    m_nIndex = item->Index();
    if (item == m_pItem)
        return;
    m_pItem = item;
    settingChange();
    m_strThumbPath = item->m_strImagePath;
    bindPicture();
    updateTrimTime();
    update();
}

int VideoConvertBar::getIndex() const
{
    return m_pItem ? m_pItem->Index() : 0;
}

QString VideoConvertBar::getVideoName() const
{
    return m_pItem ? m_pItem->m_strFileName : QString();
}

QString VideoConvertBar::getVideoPath() const
{
    return m_pItem ? m_pItem->getFilePath() : QString();
}

QString VideoConvertBar::getOutputPath() const
{
    return m_pItem ? m_pItem->getOutputPath() : QString();
}

QString VideoConvertBar::trimName(const QString &name)
{
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}

void VideoConvertBar::settingChange()
{
    if (!m_pItem)
        return;
    QString &name = m_pItem->m_strFileName;
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0)
        name = name.left(dot + 1) + m_pItem->m_strExtend;
    m_labVideoName->setText(trimName(name));
}

void VideoConvertBar::ChangeName()
{
    QString name = m_labVideoName->getName();
    if (QString(name).remove(QLatin1Char(' ')).isEmpty())
        name = m_pItem ? trimName(m_pItem->m_strFileName) : QString();
    if (m_pItem) {
        const QString suffix = m_pItem->m_strExtend.isEmpty() ? QStringLiteral("mp4") : m_pItem->m_strExtend;
        m_pItem->m_strFileName = name + QLatin1Char('.') + suffix;
    }
    m_labVideoName->setText(name);
}

void VideoConvertBar::updateTrimTime()
{
    if (!m_pItem)
        return;
    m_lblTime->setText(MediaListRules::timeText(
        MediaListRules::trimmedLength(m_pItem->m_nTrimStart, m_pItem->m_nTrimEnd, m_pItem->m_nDuration)));
    m_lblTime->adjustSize();
}

void VideoConvertBar::setMouseState(QConvertMouseState state)
{
    m_mouseState = state;
    drawStaticCtrl();
    repaint();
}

void VideoConvertBar::setIsPlayer(bool player)
{
    m_bPlayer = player;
    drawStaticCtrl();
    if (m_pItem) {
        if (m_mouseState == 1)
            m_btnPlay->setVisible(!m_pItem->m_bIsPlaying);
        m_btnPause->setVisible(m_pItem->m_bIsPlaying);
    }
    update();
}

void VideoConvertBar::resetIconImage()
{
    m_videoIconWidget->ResetVideoImage();
}

void VideoConvertBar::OnBtnEditName()
{
    m_labVideoName->setCanEditText(true);
}

void VideoConvertBar::OnBtnDelete()
{
    emit emitDelete();
}

void VideoConvertBar::OnBtnEdit()
{
    emit emitEdit();
}

void VideoConvertBar::OnBtnPlay()
{
    emit emitPlay();
}

void VideoConvertBar::onPlay()
{
    m_btnPlay->hide();
    m_btnPause->show();
    emit emitPlay();
}

void VideoConvertBar::onPause()
{
    m_btnPlay->show();
    m_btnPause->hide();
    emit emitPause();
}

void VideoConvertBar::setConvertState()
{
    const int s = m_nConvertState;
    if (s == 0 || s == 4 || s == 5 || s == 1 || s == 2) {
        const bool on = s == 0 || s == 4 || s == 5;
        m_progressBar->hide();
        m_converterState->hide();
        m_btnClose->setEnabled(on);
        m_btnEditName->setEnabled(on);
        m_videoIconWidget->setEnabled(on);
    }
}

void VideoConvertBar::WaitConverVideo()
{
    m_nConvertState = 2;
    setConvertState();
}

void VideoConvertBar::FailConverVideo()
{
    m_nConvertState = 5;
    setConvertState();
}

bool VideoConvertBar::isBigFile() const
{
    return m_pItem && quint64(m_pItem->m_nWidth) * m_pItem->m_nHeight > 20000000ULL;
}

void VideoConvertBar::removeOutPutDir()
{
    if (!m_pItem)
        return;
    auto norm = [](QString p) {
        p.replace(QLatin1Char('\\'), QLatin1Char('/'));
        p.replace(QStringLiteral("//"), QStringLiteral("/"));
        return p;
    };
    QString dir = norm(m_pItem->m_strOutputDir);
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    if (dir == norm(QConverterOperate::getConverterPath()))
        return;
    QDir d(dir);
    if (d.exists() && d.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System).isEmpty())
        QDir().rmdir(dir);
}

void VideoConvertBar::RefreshBtn(QImage &image, QRect rect, QZTBaseButton *button)
{
    if (button)
        button->setButtonImage(image.copy(rect), true);
}

void VideoConvertBar::drawStaticCtrl()
{
    // The selected (accent) look takes the upper row of the two button images.
    const int look = effectiveState() == 2 ? 0 : 1;
    if (look == m_drawnLook)
        return;
    m_drawnLook = look;
    const QImage t = stripRow(g_btnEditTImage, look);
    const QImage e = stripRow(g_btnEditImage, look);
    if (!t.isNull())
        m_btnEditName->setButtonImage(t, true);
    if (!e.isNull())
        m_btnEdit->setButtonImage(e, true);
    m_btnEditName->resize(16, 13);
    m_btnEdit->resize(16, 13);
}
