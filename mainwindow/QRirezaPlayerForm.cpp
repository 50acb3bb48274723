#include "QRirezaPlayerForm.h"

#include "PreviewThumbnails.h"
#include "QAudioDataWidget.h"
#include "QIAnyUtil.h"
#include "QImageDualSlider.h"
#include "QRirezaPlaterBtnForm.h"
#include "VideoImageWindow.h"
#include "ZTQPlayObject.h"
#include "ZtVideoConvertItem.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui_QRirezaPlayerForm.h"

namespace {
constexpr int kBarHeight = 40;
constexpr int kAudioWidth = 390;
constexpr int kAudioHeight = 230;

TrimInfo trimOf(const ZtVideoConvertItem *item)
{
    return TrimInfo{item->m_nTrimStart, item->m_nTrimEnd, 0, item->m_nDuration};
}

// The clip's background sound begins with its part, as the editor's preview plays it; the editor moves the
// background's start with a trim made there, and so does a trim made here.
void setTrim(ZtVideoConvertItem *item, uint64_t start, uint64_t end)
{
    item->m_nTrimStart = start;
    item->m_nTrimEnd = end;
    item->m_editConfig.audioBackground.showTime.first = start;
}
} // namespace

QRirezaPlayerForm::QRirezaPlayerForm(QWidget *parent) : QWidget(parent), m_ui(std::make_unique<Ui::QRirezaPlayerForm>())
{
    m_ui->setupUi(this);
    qRegisterMetaType<QList<QImage>>("QList<QImage>");
    qRegisterMetaType<TrimInfo>("TrimInfo");
    const QString res = QIAnyUtil::getResourcePath();
    m_noPlayImage = QImage(res + QStringLiteral("/image/noplay_icon.png"));
    m_noPlayImage.setDevicePixelRatio(2.0);

    const AudioDataAttribute attr = AudioDataAttribute::blockBars(QColor(215, 63, 63));
    m_audioWidget = new QAudioDataWidget(this, &attr);
    m_audioWidget->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_audioWidget->setAudioLogo(res + QStringLiteral("/image/PlayerImage/bg_audio.png"));
    m_audioWidget->hide();

    // The form's surface is an embedded child, not a window of its own.
    VideoImageWindow *surface = m_ui->m_pMediaPreview;
    surface->setWindowFlags(Qt::Widget | Qt::FramelessWindowHint);
    surface->setAttribute(Qt::WA_TransparentForMouseEvents);

    m_nVolume = 100;
    m_ui->m_playerBtnFrom->setVolume(50.0);

    m_player = new ZTQPlayObject;
    m_player->setSoundVolume(m_nVolume);
    m_player->SetPlayWindows(surface);

    QImageDualSlider *strip = m_ui->m_sliderProgress;
    strip->SetPaintImageCount(PreviewThumbnails::kCount);
    strip->SetStartImage(res + QStringLiteral("/image/Player/slider_start.png"));
    strip->SetEndImage(res + QStringLiteral("/image/Player/slider_end.png"));
    strip->SetSliderImage(res + QStringLiteral("/image/Player/slider_image.png"));
    strip->setEnabled(false);

    QRirezaPlaterBtnForm *bar = m_ui->m_playerBtnFrom;
    connect(bar, &QRirezaPlaterBtnForm::emitBtnPlay, m_player, &ZTQPlayObject::StartPlay);
    connect(bar, &QRirezaPlaterBtnForm::emitBtnPause, m_player, &ZTQPlayObject::pausePlay);
    connect(bar, &QRirezaPlaterBtnForm::emitSliderVolume, this, &QRirezaPlayerForm::SoundValueChange);
    connect(bar, &QRirezaPlaterBtnForm::emitBtnReset, this, &QRirezaPlayerForm::OnBtnReset);
    connect(bar, &QRirezaPlaterBtnForm::emitBtnPrevious, this, &QRirezaPlayerForm::emitBtnPrevious);
    connect(bar, &QRirezaPlaterBtnForm::emitBtnNext, this, &QRirezaPlayerForm::emitBtnNext);
    connect(m_player, &ZTQPlayObject::emitAudioData, this, &QRirezaPlayerForm::OnAudioData);
    connect(strip, &QImageDualSlider::emitProgressValueChanged, m_player, &ZTQPlayObject::ProgressValueChange);
    connect(strip, &QImageDualSlider::sendPressEvent, this, &QRirezaPlayerForm::SliderPressEvent);
    connect(strip, &QImageDualSlider::sendReleseEvent, this, &QRirezaPlayerForm::SliderReleseEvent);
    connect(strip, &QImageDualSlider::emitTrimInfoChanged, this, &QRirezaPlayerForm::TrimInfoChanged);
    connect(m_player, &ZTQPlayObject::emitIsHaveVideo, this, &QRirezaPlayerForm::IsHaveVideo);
    connect(m_player, &ZTQPlayObject::emitPlayState, this, &QRirezaPlayerForm::emitPlayState);
    connect(m_player, &ZTQPlayObject::emitPlayFinish, this, &QRirezaPlayerForm::emitPlayFinish);
    connect(m_player, &ZTQPlayObject::emitPlayPro, strip, &QImageDualSlider::SetProgressValue);
    connect(m_player, &ZTQPlayObject::emitPlayState, bar, &QRirezaPlaterBtnForm::VideoBeginPlay);
    connect(m_player, qOverload<uint64_t>(&ZTQPlayObject::emitPlayTime), bar, &QRirezaPlaterBtnForm::setTimeLabel);
    connect(m_player, &ZTQPlayObject::emitPlayFinish, bar, &QRirezaPlaterBtnForm::VideoFinished);
    connect(m_player, &ZTQPlayObject::emitRefreshPlayView, this, &QRirezaPlayerForm::InitPlayView);
    connect(this, &QRirezaPlayerForm::emitBtnEnable, bar, &QRirezaPlaterBtnForm::setBtnEnable);
    connect(this, &QRirezaPlayerForm::seedSliderImage, this, &QRirezaPlayerForm::sliderImage);
    connect(this, &QRirezaPlayerForm::seedThumbnails, this, &QRirezaPlayerForm::OnThumbnails, Qt::QueuedConnection);

    showNothing();
    retranslateUi();
}

QRirezaPlayerForm::~QRirezaPlayerForm()
{
    stopThumbnails();
    // The player goes before the surfaces it draws on.
    delete m_player;
    m_player = nullptr;
    StopThread();
}

QImageDualSlider *QRirezaPlayerForm::strip() const
{
    return m_ui->m_sliderProgress;
}

QRirezaPlaterBtnForm *QRirezaPlayerForm::controlBar() const
{
    return m_ui->m_playerBtnFrom;
}

VideoImageWindow *QRirezaPlayerForm::videoWindow() const
{
    return m_ui->m_pMediaPreview;
}

bool QRirezaPlayerForm::isPlaying() const
{
    return m_player && m_player->status() == ZTQPlayObject::StatusPlaying;
}

void QRirezaPlayerForm::retranslateUi()
{
    m_ui->m_playerBtnFrom->retranslateUi();
}

// ------------------------------------------------------------------------------------------ opening

void QRirezaPlayerForm::showNothing()
{
    QImageDualSlider *strip = m_ui->m_sliderProgress;
    strip->setEnabled(false);
    m_ui->m_pMediaPreview->hide();
    m_audioWidget->hide();
    strip->reset();
    m_ui->m_playerBtnFrom->setTimeLabel(0);
    m_player->closePlay();
}

void QRirezaPlayerForm::initState(bool show)
{
    m_ui->m_sliderProgress->setEnabled(show);
    m_ui->m_pMediaPreview->setVisible(show);
    if (!show) {
        m_ui->m_sliderProgress->reset();
        m_ui->m_playerBtnFrom->setTimeLabel(0);
        m_player->closePlay();
    }
}

void QRirezaPlayerForm::openItem(ZtVideoConvertItem *item, bool start)
{
    if (item && item == m_pItem) {
        // The clip shown already: resume it, reload nothing (its thumbnails keep coming).
        m_ui->m_sliderProgress->setEnabled(true);
        if (start && m_player->IsPause())
            m_player->StartPlay();
        return;
    }
    stopThumbnails();
    if (!item) {
        showNothing();
        m_pItem = nullptr;
        update();
        return;
    }
    m_ui->m_sliderProgress->setEnabled(true);
    m_pItem = item;
    m_audioWidget->hide();
    m_player->SetPlayFile(item->getFilePath(), 0, 0);
    if (start)
        m_player->StartPlay();
    QImageDualSlider *strip = m_ui->m_sliderProgress;
    strip->clearImageList();
    strip->SetTrimInfo(trimOf(item));
    requestThumbnails();
    update();
}

void QRirezaPlayerForm::preparePlayer(ZtVideoConvertItem *item)
{
    openItem(item, false);
}

void QRirezaPlayerForm::setPlayerItem(ZtVideoConvertItem *item)
{
    openItem(item, true);
}

void QRirezaPlayerForm::playerItemChanged(ZtVideoConvertItem *item)
{
    if (item)
        m_ui->m_sliderProgress->SetTrimInfo(trimOf(item));
}

void QRirezaPlayerForm::stopPlayer()
{
    m_player->OnBtnStop();
}

void QRirezaPlayerForm::pausePlayer()
{
    m_player->pausePlay();
}

void QRirezaPlayerForm::clearCurrentPlayer()
{
    stopThumbnails();
    showNothing();
    m_pItem = nullptr;
    update();
}

// ------------------------------------------------------------------------------------------ thumbnails

void QRirezaPlayerForm::stopShowLineBgImage()
{
    stopThumbnails();
}

// A stop waits for at most one frame: the worker tests the flag before each.
void QRirezaPlayerForm::stopThumbnails()
{
    m_bCancel = true;
    StopThread();
    m_bCancel = false;
    // Whatever the stopped run still has queued is dropped by its generation.
    ++m_workGeneration;
}

void QRirezaPlayerForm::requestThumbnails()
{
    ZtVideoConvertItem *item = m_pItem;
    if (!item || !item->m_bHasVideo)
        return;
    if (item->m_thumbnails.size() >= PreviewThumbnails::kCount) {
        m_ui->m_sliderProgress->SetImageList(item->m_thumbnails);
        return;
    }
    item->m_thumbnails.clear();
    m_ui->m_sliderProgress->clearImageList();
    m_workPath = item->getFilePath();
    m_workDuration = item->m_nDuration;
    m_bCancel = false;
    StartThread();
}

void QRirezaPlayerForm::OnExecute()
{
    const quint64 generation = m_workGeneration.load();
    PreviewThumbnails::extract(m_workPath, m_workDuration, m_bCancel, [this, generation](const QList<QImage> &images) {
        emit seedThumbnails(generation, images);
    });
}

void QRirezaPlayerForm::OnThumbnails(quint64 generation, QList<QImage> images)
{
    if (generation != m_workGeneration.load() || !m_pItem)
        return;
    m_pItem->m_thumbnails = images;
    emit seedSliderImage(images);
}

void QRirezaPlayerForm::sliderImage(QList<QImage> images)
{
    if (m_pItem)
        m_ui->m_sliderProgress->SetImageList(images);
}

// ------------------------------------------------------------------------------------------ trim, volume

void QRirezaPlayerForm::OnBtnReset()
{
    if (!m_pItem)
        return;
    setTrim(m_pItem, 0, 0);
    m_ui->m_sliderProgress->SetTrimInfo(TrimInfo{0, 0, 0, m_pItem->m_nDuration});
    emit emitPlayerItemChanged();
}

void QRirezaPlayerForm::TrimInfoChanged(TrimInfo info)
{
    if (!m_pItem)
        return;
    setTrim(m_pItem, info.start, info.end);
    emit emitPlayerItemChanged();
}

void QRirezaPlayerForm::SoundValueChange(double value)
{
    m_nVolume = static_cast<int>(value * 200.0);
    m_player->setSoundVolume(m_nVolume);
}

void QRirezaPlayerForm::SliderPressEvent(QMouseEvent *)
{
    m_player->beginAsyncSeek();
}

void QRirezaPlayerForm::SliderReleseEvent(QMouseEvent *)
{
    m_player->endAsyncSeek();
}

void QRirezaPlayerForm::OnAudioData(QByteArray block, int sampleRate)
{
    if (block.isEmpty())
        m_audioWidget->setAudioData(nullptr, 0, 0);
    else
        m_audioWidget->setAudioData(reinterpret_cast<const unsigned char *>(block.constData()), block.size(),
                                    sampleRate);
}

// ------------------------------------------------------------------------------------------ surface

void QRirezaPlayerForm::InitPlayView()
{
    VideoImageWindow *old = m_ui->m_pMediaPreview;
    const QRect geometry = old ? old->geometry() : QRect(0, 0, width(), height());
    auto *surface = new VideoImageWindow(this);
    surface->setWindowFlags(Qt::Widget | Qt::FramelessWindowHint);
    surface->setAttribute(Qt::WA_TransparentForMouseEvents);
    surface->setGeometry(geometry);
    surface->hide();
    // The player takes the new surface before the old one goes, so no frame is aimed at a dead window.
    m_player->SetPlayWindows(surface);
    m_ui->m_pMediaPreview = surface;
    delete old;
    m_audioWidget->raise();
}

void QRirezaPlayerForm::IsHaveVideo(bool hasVideo)
{
    m_audioWidget->setVisible(!hasVideo);
    // A clip with video shows its current frame at once, paused or playing.
    m_ui->m_pMediaPreview->setVisible(hasVideo);
    update();
}

QRect QRirezaPlayerForm::videoRect() const
{
    const int h = height() - kBarHeight - m_ui->m_sliderProgress->height();
    return QRect(0, 0, width(), qMax(0, h));
}

void QRirezaPlayerForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int w = width(), h = height();
    m_ui->m_playerBtnFrom->setGeometry(0, h - kBarHeight, w, kBarHeight);
    QImageDualSlider *strip = m_ui->m_sliderProgress;
    strip->setGeometry(0, h - kBarHeight - strip->height(), w, strip->height());
    const QRect video = videoRect();
    m_ui->m_pMediaPreview->setGeometry(video);
    m_audioWidget->setGeometry((video.width() - kAudioWidth) / 2, (video.height() - kAudioHeight) / 2, kAudioWidth,
                               kAudioHeight);
    m_player->ResizeVideoWindow(true);
}

void QRirezaPlayerForm::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!m_noPlayImage.isNull()) {
        const QRect video = videoRect();
        const QSize s = m_noPlayImage.size() / 2;
        painter.drawImage(
            QRect(video.center().x() - s.width() / 2, video.center().y() - s.height() / 2, s.width(), s.height()),
            m_noPlayImage);
    }
    setCursor(Qt::ArrowCursor);
}
