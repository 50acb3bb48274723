#include "QMediaForm.h"

#include "CropDragGeometry.h"
#include "QAudioDataWidget.h"
#include "QIAnyUtil.h"
#include "QMediaBorderFrame.h"
#include "QMediaElementWindow.h"
#include "ZTPlayerManager.h"

#include <QPainter>

#include <cmath>
#include <cstring>

namespace {

int cut(double v)
{
    return int(std::trunc(v));
}

// What each editor tab shows, with and without video.
struct TabLook
{
    bool audio;
    bool source;
    bool preview;
    bool crop;
    bool watermark;
    int playerSource; // 0 none, 1 the source window, 2 left as it is
};

TabLook lookOf(int type, bool video)
{
    switch (type) {
    case 0:
        return video ? TabLook{false, false, true, false, false, 0} : TabLook{true, false, false, false, false, 1};
    case 1:
        return video ? TabLook{false, true, true, true, false, 1} : TabLook{false, true, true, false, false, 0};
    case 2:
    case 4:
        return video ? TabLook{false, true, true, false, false, 1} : TabLook{false, false, false, false, false, 0};
    case 3:
        return video ? TabLook{false, true, true, false, true, 1} : TabLook{false, true, true, false, false, 0};
    case 5:
        return video ? TabLook{false, true, true, false, false, 1} : TabLook{true, false, false, false, false, 1};
    default:
        return TabLook{false, false, false, false, false, 2};
    }
}

} // namespace

QMediaForm::QMediaForm(QWidget *parent) : QWidget(parent)
{
    setupUi(this);
    initControls();
}

QMediaForm::QMediaForm(ZTPlayerManager *player, QWidget *parent) : QMediaForm(parent)
{
    setPlayerManager(player);
}

QMediaForm::~QMediaForm()
{
    // The controller keeps the windows by weak pointer; give it none before they go.
    if (m_player) {
        m_player->setMediaOriginalWindow(nullptr);
        m_player->setMediaPreviewWindow(nullptr);
    }
    delete m_sourceWindow;
    m_sourceWindow = nullptr;
    delete m_previewWindow;
    m_previewWindow = nullptr;
    if (m_cropFrame)
        m_cropFrame->hide();
    delete m_cropFrame;
    m_cropFrame = nullptr;
    if (m_watermarkFrame)
        m_watermarkFrame->hide();
    delete m_watermarkFrame;
    m_watermarkFrame = nullptr;
    delete m_audioView;
    m_audioView = nullptr;
}

void QMediaForm::initControls()
{
    const AudioDataAttribute bars = AudioDataAttribute::blockBars(QColor(243, 228, 142));
    m_audioView = new QAudioDataWidget(this, &bars);
    m_audioView->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_audioView->setGeometry(6, 6, 390, 230);
    m_audioView->setAudioLogo(QIAnyUtil::getResourcePath() + QStringLiteral("/image/PlayDlg/bg_audio.png"));
    m_audioView->hide();

    for (QMediaElementWindow **w : {&m_sourceWindow, &m_previewWindow}) {
        *w = new QMediaElementWindow(this);
        (*w)->setAttribute(Qt::WA_TransparentForMouseEvents);
        (*w)->SetOpenGl(true);
        (*w)->setWindowFlags(Qt::FramelessWindowHint);
    }
    connect(m_sourceWindow, &QMediaElementWindow::emitVideoElementSizeChange, this,
            &QMediaForm::originalVideoElementSizeChange);
    connect(m_previewWindow, &QMediaElementWindow::emitVideoElementSizeChange, this,
            &QMediaForm::previewVideoElementSizeChange);

    // The overlays lie over the panes as children: see QMediaBorderFrame.
    m_cropFrame = new QMediaBorderFrame(this, true);
    m_watermarkFrame = new QMediaBorderFrame(this, true);
    m_cropFrame->hide();
    m_watermarkFrame->hide();
    connect(m_cropFrame, &QMediaBorderFrame::emitWindowsActivate, this, &QMediaForm::borderDlgActivateState);
    connect(m_watermarkFrame, &QMediaBorderFrame::emitWindowsActivate, this, &QMediaForm::borderDlgActivateState);
    m_watermarkFrame->addDashFrameItem(QRect()); // 0: the text watermark
    m_watermarkFrame->addDashFrameItem(QRect()); // 1: the image watermark
}

void QMediaForm::setPlayerManager(ZTPlayerManager *player)
{
    if (m_player.data() == player)
        return;
    if (m_player) {
        // Another controller: the old one no longer draws here nor hears the overlays.
        m_player->setMediaOriginalWindow(nullptr);
        m_player->setMediaPreviewWindow(nullptr);
        disconnect(m_player.data(), nullptr, this, nullptr);
        m_cropFrame->disconnect(m_player);
        m_watermarkFrame->disconnect(m_player);
    }
    m_player = player;
    if (!m_player)
        return;
    m_player->setMediaOriginalWindow(m_sourceWindow);
    m_player->setMediaPreviewWindow(m_previewWindow);
    connect(m_player, SIGNAL(emitIsHaveVideo(bool)), this, SLOT(isHaveVideo(bool)));
    connect(m_player, SIGNAL(emitAudioData(unsigned char *, int)), this, SLOT(audioData(unsigned char *, int)));
    connect(m_player, SIGNAL(emitPlayerChange()), this, SLOT(playerChange()));
    connect(m_player, SIGNAL(emitCropAreaChange(VECropSettings)), this, SLOT(CropAreaChange(VECropSettings)));
    connect(m_player, SIGNAL(emitWatermarkRectChange(VEWatermarkSettings, int)), this,
            SLOT(watermarkRectChange(VEWatermarkSettings, int)));
    connect(m_cropFrame, SIGNAL(emitMouseMoveEvent(QMouseEvent *)), m_player, SLOT(mouseMoveEvent(QMouseEvent *)));
    connect(m_cropFrame, SIGNAL(emitMousePressEvent(QMouseEvent *)), m_player, SLOT(mousePressEvent(QMouseEvent *)));
    connect(m_cropFrame, SIGNAL(emitMouseReleaseEvent(QMouseEvent *)), m_player,
            SLOT(mouseReleaseEvent(QMouseEvent *)));
    connect(m_watermarkFrame, SIGNAL(emitMouseMoveEvent(QMouseEvent *)), m_player,
            SLOT(mouseWatermarkMoveEvent(QMouseEvent *)));
    connect(m_watermarkFrame, SIGNAL(emitMousePressEvent(QMouseEvent *)), m_player,
            SLOT(mouseWatermarkPressEvent(QMouseEvent *)));
    connect(m_watermarkFrame, SIGNAL(emitMouseReleaseEvent(QMouseEvent *)), m_player,
            SLOT(mouseWatermarkReleaseEvent(QMouseEvent *)));
}

void QMediaForm::setOperationType(int type)
{
    // An unknown tab is refused whole: storing it would leave the panes laid out for no tab at all.
    if (type < 0 || type > 6)
        return;
    m_operationType = type;
    const TabLook look = lookOf(type, m_hasVideo);
    m_audioView->setVisible(look.audio);
    m_sourceWindow->setVisible(look.source);
    m_previewWindow->setVisible(look.preview);
    m_cropFrame->setVisible(look.crop);
    m_watermarkFrame->setVisible(look.watermark);
    // The panes change between one and two: lay them out for the new tab at once.
    if (type != 6)
        layoutPanes();
    if (type == 0 && m_hasVideo)
        m_previewWindow->reshape();
    if (m_player && look.playerSource != 2)
        m_player->setMediaOriginalWindow(look.playerSource == 1 ? m_sourceWindow : nullptr);
}

void QMediaForm::isHaveVideo(bool hasVideo)
{
    m_hasVideo = hasVideo;
    setOperationType(m_operationType);
}

void QMediaForm::audioData(unsigned char *data, int sps)
{
    // The controller hands a complete WAV image whose header counts its own data bytes; no block at all
    // (playback stopped) clears the bars.
    if (!data) {
        m_audioView->setAudioData(nullptr, 0, sps);
        return;
    }
    quint32 dataBytes = 0;
    std::memcpy(&dataBytes, data + 40, sizeof dataBytes);
    const int length = int(44 + qMin<quint32>(dataBytes, 1u << 24));
    m_audioView->setAudioData(data, length, sps);
}

void QMediaForm::playerChange()
{
    if (m_player)
        m_player->resizeVideoWindow();
    m_watermarkFrame->setDashFrameItemForList(QRect(), 0);
    m_watermarkFrame->setDashFrameItemForList(QRect(), 1);
}

void QMediaForm::CropAreaChange(VECropSettings settings)
{
    setBoiderFrameRect(m_sourceWindow->getVideoElementRect(), settings);
}

void QMediaForm::originalVideoElementSizeChange(QRect rect)
{
    if (!m_player)
        return;
    VECropSettings settings;
    m_player->getCropSettings(settings);
    setBoiderFrameRect(rect, settings);
}

void QMediaForm::previewVideoElementSizeChange(QRect rect)
{
    m_watermarkFrame->setVideoDashedFrame(rect);
    if (!m_player)
        return;
    VEWatermarkSettings settings;
    int slot = -1;
    m_player->getCurrentWatermarkSettings(settings, slot);
    setBoiderFrameRect(rect, settings);
}

void QMediaForm::watermarkRectChange(VEWatermarkSettings settings, int)
{
    if (m_previewWindow)
        setBoiderFrameRect(m_previewWindow->getVideoElementRect(), settings);
}

QRect QMediaForm::cropBoxRect(const QRect &element, const VECropSettings &c)
{
    const double X = element.left(), Y = element.top(), Wr = element.width(), Hr = element.height();
    const bool panScan = c.padEnabled != 0 && c.panScan == 1 && c.aspectMode != 2;
    const VERect &f = panScan ? c.panScanRect : c.cropRect;
    return QRect(cut(f.x * Wr + X + 0.5), cut(f.y * Hr + Y + 0.5), cut(Wr * f.width + 0.5), cut(Hr * f.height + 0.5));
}

QRect QMediaForm::watermarkBoxRect(const QRect &element, double x, double y, double w, double h)
{
    const double X = element.left(), Y = element.top(), Wr = element.width(), Hr = element.height();
    return QRect(cut(x * Wr + X), cut(y * Hr + Y), cut(Wr * w + 0.5), cut(Hr * h + 0.5));
}

void QMediaForm::setBoiderFrameRect(QRect rect, VECropSettings settings)
{
    if (m_cropFrame)
        m_cropFrame->setDashedFrame(cropBoxRect(rect, settings), false);
}

void QMediaForm::setBoiderFrameRect(QRect rect, VEWatermarkSettings settings)
{
    if (!m_watermarkFrame)
        return;
    // Each box is drawn where the preview controller grabs it: on its measured box, whose handles lie in its
    // corners and edge middles, or, when it is too small for them, around it in a frame of its own. The
    // controller decides the framing: a box it is dragging keeps the framing the drag began with.
    auto place = [this, &rect](int index, bool shown, double x, double y, double w, double h) {
        m_watermarkFrame->setDashFrameItemShow(index, shown);
        const QRect box = watermarkBoxRect(rect, x, y, w, h);
        const QRectF measured(x, y, w, h);
        const bool framed = m_player ? m_player->isWatermarkItemFramed(index == 0, measured, rect)
                                     : CropDragGeometry::needsFrame(measured, rect);
        const QRect frame = CropDragGeometry::itemFrame(measured, rect, framed);
        if (!shown)
            m_watermarkFrame->setDashFrameItemForList(QRect(box.topLeft(), QSize(0, 0)), index);
        else
            m_watermarkFrame->setDashFrameItemForList(frame.isNull() ? box : frame, index);
    };
    const VEWatermarkTextSettings &t = settings.text;
    place(0, !t.text.isEmpty(), t.posX, t.posY, t.measuredWidth, t.measuredHeight);
    const VEWatermarkImageSettings &im = settings.image;
    place(1, !im.imagePath.isEmpty(), im.posX, im.posY, im.measuredWidth, im.measuredHeight);
}

void QMediaForm::setBoiderFrameSize(VECropSettings settings)
{
    setBoiderFrameRect(m_sourceWindow->getVideoElementRect(), settings);
}

void QMediaForm::resetBorderFrameLocation()
{
    // Overlay windows are placed on the screen, overlay children inside the form.
    auto place = [this](QMediaBorderFrame *frame, int x, int y) {
        if (frame)
            frame->move(frame->isWindow() ? mapToGlobal(QPoint(x, y)) : QPoint(x, y));
    };
    place(m_cropFrame, 6, 6);
    place(m_watermarkFrame, (width() - 18) / 2 + 12, 6);
}

void QMediaForm::hideBorder()
{
    hiddenBorderFrame();
}

void QMediaForm::hiddenBorderFrame()
{
    if (m_cropFrame)
        m_cropFrame->hide();
    if (m_watermarkFrame)
        m_watermarkFrame->hide();
}

void QMediaForm::setDlgActivate(bool active)
{
    m_dlgActive = active;
    ActivateStateToBorderDlg();
}

void QMediaForm::borderDlgActivateState(bool active)
{
    QObject *from = sender();
    if (from && from == m_cropFrame)
        m_cropFrameActive = active;
    else if (from && from == m_watermarkFrame)
        m_watermarkFrameActive = active;
    ActivateStateToBorderDlg();
}

void QMediaForm::ActivateStateToBorderDlg()
{
    QMediaBorderFrame *frame = nullptr;
    bool own = false;
    if (m_operationType == 3) {
        frame = m_watermarkFrame;
        own = m_watermarkFrameActive;
    } else if (m_operationType == 1) {
        frame = m_cropFrame;
        own = m_cropFrameActive;
    }
    // Without video the tab shows no overlay at all.
    if (!frame || !m_hasVideo)
        return;
    if (!m_dlgActive && !own)
        frame->setHidden(true);
    else if (frame->isHidden())
        frame->setHidden(false);
}

void QMediaForm::paintEvent(QPaintEvent *)
{
    if (m_hasVideo)
        return;
    QPainter painter(this);
    painter.fillRect(QRect(6, 6, width() - 12, height() - 12), Qt::black);
}

void QMediaForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutPanes();
}

void QMediaForm::layoutPanes()
{
    const int W = width();
    const int H = height();
    if (m_operationType != 0) {
        const int half = (W - 18) / 2;
        m_sourceWindow->resize(half, H - 12);
        m_previewWindow->resize(half, H - 12);
        m_sourceWindow->move(6, 6);
        m_previewWindow->move(half + 12, 6);
        m_cropFrame->resize(half, H - 12);
        m_watermarkFrame->resize(half, H - 12);
        resetBorderFrameLocation();
    } else {
        m_previewWindow->resize(W - 12, H - 12);
        m_previewWindow->move(6, 6);
    }
    m_audioView->move((W - m_audioView->width()) / 2, (H - m_audioView->height()) / 2);
    if (m_player)
        m_player->resizeVideoWindow();
}

void QMediaForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
}
