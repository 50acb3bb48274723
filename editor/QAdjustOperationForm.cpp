#include "QAdjustOperationForm.h"

#include "OperationPageGround.h"
#include "QIAnyUtil.h"
#include "QVEInitCtrlStyle.h"
#include "QVideoEditingSettings.h"
#include "SkinStyleHelpers.h"
#include "ZTPlayerManager.h"

#include <QPainter>

namespace {

using SkinStyleHelpers::res;

int fieldValue(const QLineEdit *edit)
{
    return edit->text().toInt(); // 0 when it is no number
}

} // namespace

QAdjustOperationForm::QAdjustOperationForm(QWidget *parent) : QWidget(parent)
{
    setupUi(this);
    initControls();
}

QAdjustOperationForm::QAdjustOperationForm(QVideoEditingSettings *settings, QWidget *parent)
    : QAdjustOperationForm(parent)
{
    setEditSettings(settings);
}

void QAdjustOperationForm::initControls()
{
    m_btnRotate_L_90->setButtonImage(res("/VEditSource/adjust/rotate_L_90.png"), false);
    m_btnRotate_R_90->setButtonImage(res("/VEditSource/adjust/rotate_R_90.png"), false);
    m_btnFlipH->setButtonImage(res("/VEditSource/adjust/flip_H.png"), false);
    m_btnFlipV->setButtonImage(res("/VEditSource/adjust/flip_V.png"), false);
    m_btnRotate_L_90->setToolTip(tr("Rotate Anticlockwise"));
    m_btnRotate_R_90->setToolTip(tr("Rotate Clockwise"));
    m_btnFlipH->setToolTip(tr("Flip Horizontal"));
    m_btnFlipV->setToolTip(tr("Flip Vertical"));
    connect(m_btnRotate_L_90, &QPushButton::clicked, this, &QAdjustOperationForm::onRotate_L_90);
    connect(m_btnRotate_R_90, &QPushButton::clicked, this, &QAdjustOperationForm::onRotate_R_90);
    connect(m_btnFlipH, &QPushButton::clicked, this, &QAdjustOperationForm::onFlipH);
    connect(m_btnFlipV, &QPushButton::clicked, this, &QAdjustOperationForm::onFlipV);

    QVEInitCtrlStyle::SetLabel(m_lblRotion, tr("Rotation:"), 12);
    QVEInitCtrlStyle::SetLabel(m_lblCropAreaSize, tr("Crop Area Size:"), 12);
    QVEInitCtrlStyle::SetLabel(m_lblOriginalSize, tr("Original Resolution:"), 12);
    QVEInitCtrlStyle::SetLabel(m_lblAspectRatio, tr("Aspect Ratio:"), 12);
    m_lblX->setFixedSize(22, 22);
    m_lblX->setAlignment(Qt::AlignCenter);
    QVEInitCtrlStyle::SetFont(m_lblX, 12);
    QVEInitCtrlStyle::SetPalette(m_lblX, QPalette::WindowText, Qt::white);
    QVEInitCtrlStyle::SetFont(m_lblOriginalSizeValue, 12);
    QVEInitCtrlStyle::SetPalette(m_lblOriginalSizeValue, QPalette::WindowText, QColor(255, 255, 255));

    for (QZTLineEdit *e : {m_leCropArea_W, m_leCropArea_H}) {
        QVEInitCtrlStyle::SetQZTLineEdit(e);
        e->resize(50, 22);
    }
    connect(m_leCropArea_W, &QLineEdit::textEdited, this, &QAdjustOperationForm::cropAreaChangedW);
    connect(m_leCropArea_H, &QLineEdit::textEdited, this, &QAdjustOperationForm::cropAreaChangedH);

    QVEInitCtrlStyle::SetQZTComboBox(m_cbbAspectRatio);
    m_cbbAspectRatio->setBtnMargins(184, 0, 0, 0); // the arrow image is as tall as the field
    m_cbbAspectRatio->addItems({tr("Original Display"), tr("Original Resolution"), tr("Full Screen"),
                                QStringLiteral("16:9"), QStringLiteral("4:3"), tr("Pan Scan")});
    m_cbbAspectRatio->setCurrentIndex(-1);
    connect(m_cbbAspectRatio, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &QAdjustOperationForm::aspectRatioChanged);

    connect(m_buttonFrom, &QCommonButtonForm::emitReset, this, &QAdjustOperationForm::reset);
    connect(m_buttonFrom, &QCommonButtonForm::emitApplyToAll, this, &QAdjustOperationForm::emitApplyToAll);

    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &QAdjustOperationForm::wideTimer);
}

void QAdjustOperationForm::setEditSettings(QVideoEditingSettings *settings)
{
    m_settings = settings;
    if (settings && settings->getPlayerManager())
        connect(settings->getPlayerManager(), &ZTPlayerManager::emitCropAreaChange, this,
                &QAdjustOperationForm::cropAreaChange, Qt::UniqueConnection);
}

void QAdjustOperationForm::saveEditingSettings()
{
    wideTimer();
}

void QAdjustOperationForm::setAspectRatio(int index)
{
    m_cbbAspectRatio->setCurrentIndex(index);
}

void QAdjustOperationForm::push(VECropSettings &s)
{
    m_settings->setCropSettings(s);
}

void QAdjustOperationForm::rotate(int step, int mirroredStep)
{
    if (!m_settings)
        return;
    VECropSettings s;
    m_settings->getCropSettings(s);
    s.rotation = (s.rotation + (s.mirror != 0 ? mirroredStep : step)) % 360;
    if (s.panScan == 1) {
        s.aspectWidth = 0;
        s.aspectHeight = 0;
    }
    push(s);
}

void QAdjustOperationForm::onRotate_R_90()
{
    rotate(90, 270);
}

void QAdjustOperationForm::onRotate_L_90()
{
    rotate(270, 90);
}

void QAdjustOperationForm::onFlipH()
{
    if (!m_settings)
        return;
    VECropSettings s;
    m_settings->getCropSettings(s);
    s.mirror = 1 - s.mirror;
    push(s);
}

void QAdjustOperationForm::onFlipV()
{
    if (!m_settings)
        return;
    VECropSettings s;
    m_settings->getCropSettings(s);
    s.rotation = (s.rotation + 180) % 360;
    s.mirror = 1 - s.mirror;
    push(s);
}

int QAdjustOperationForm::croppedSide(unsigned videoSide, double fraction)
{
    const double f = qBound(0.0, fraction, 1.0);
    const quint64 q = static_cast<quint64>(f * 65536.0 + 0.5);
    quint64 size = videoSide;
    if (q != 65536) {
        const quint64 v = (q * videoSide + 65536) >> 16;
        size = v < videoSide ? (v & ~quint64(1)) : videoSide;
    }
    return static_cast<int>(qMax<quint64>(size, 2));
}

void QAdjustOperationForm::setOriginalResolution(VECropSettings &s, const QSize &video)
{
    // The preview keeps the box inside the frame, so a side typed beyond the frame's edge counts only up to it.
    const auto inFrame = [](double origin, double side) { return qMin(side, 1.0 - qBound(0.0, origin, 1.0)); };
    s.aspectWidth = croppedSide(static_cast<unsigned>(qMax(0, video.width())), inFrame(s.cropRect.x, s.cropRect.width));
    s.aspectHeight =
        croppedSide(static_cast<unsigned>(qMax(0, video.height())), inFrame(s.cropRect.y, s.cropRect.height));
}

void QAdjustOperationForm::aspectRatioChanged(int index)
{
    if (!m_settings || index < 0 || index > 5)
        return;
    VECropSettings s;
    m_settings->getCropSettings(s);
    if (index == 5) {
        s.aspectMode = 0;
        s.panScan = 1;
        s.aspectWidth = 0;
        s.aspectHeight = 0;
        push(s);
        return;
    }
    s.aspectMode = index;
    s.panScan = 0;
    switch (index) {
    case 0:
        s.aspectWidth = s.aspectHeight = 0;
        break;
    case 1:
        setOriginalResolution(s, m_settings->getVideoSize());
        break;
    case 2: {
        const QSize r = m_settings->getResolutionSize();
        s.aspectWidth = r.width();
        s.aspectHeight = r.height();
        break;
    }
    case 3:
        s.aspectWidth = 16;
        s.aspectHeight = 9;
        break;
    case 4:
        s.aspectWidth = 4;
        s.aspectHeight = 3;
        break;
    }
    push(s);
}

void QAdjustOperationForm::typed(int field)
{
    if (!m_settings)
        return;
    m_timer.stop();
    m_lastTyped = field;
    m_pendingEdit = true;
    m_timer.start(1500);
}

void QAdjustOperationForm::cropAreaChangedW(QString)
{
    typed(1);
}

void QAdjustOperationForm::cropAreaChangedH(QString)
{
    typed(0);
}

void QAdjustOperationForm::wideTimer()
{
    m_timer.stop();
    // Only typing commits: without a keystroke the fields hold what the preview reported (under pan-scan
    // that is the pan-scan size, which must never be written into the crop).
    if (!m_settings || !m_pendingEdit)
        return;
    m_pendingEdit = false;
    const QSize minimum = m_settings->getCropMinSize();
    if (m_lastTyped == 1) {
        int v = fieldValue(m_leCropArea_W);
        if (v <= minimum.width())
            v = minimum.width();
        widthChanged(v);
    } else {
        int v = fieldValue(m_leCropArea_H);
        if (v <= minimum.height())
            v = minimum.height();
        heightChanged(v);
    }
}

void QAdjustOperationForm::widthChanged(int w)
{
    const QSize video = m_settings->getVideoSize();
    if (video.width() <= 0 || video.height() <= 0)
        return; // no picture yet: nothing to measure against
    VECropSettings s;
    m_settings->getCropSettings(s);
    int h = fieldValue(m_leCropArea_H);
    const QSize minimum = m_settings->getCropMinSize();
    if (h <= minimum.height())
        h = minimum.height();
    s.cropRect.height = double(h) / video.height();
    m_leCropArea_W->setText(QString::number(w));
    s.cropRect.width = double(w) / video.width();
    if (s.aspectMode == 1) // as a drag of the crop box does
        setOriginalResolution(s, video);
    if (panScanHolds(s))
        m_settings->setPanScanMode(PanScanKeepWidth);
    push(s);
}

void QAdjustOperationForm::heightChanged(int h)
{
    const QSize video = m_settings->getVideoSize();
    if (video.width() <= 0 || video.height() <= 0)
        return;
    VECropSettings s;
    m_settings->getCropSettings(s);
    int w = fieldValue(m_leCropArea_W);
    const QSize minimum = m_settings->getCropMinSize();
    if (w <= minimum.width())
        w = minimum.width();
    s.cropRect.width = double(w) / video.width();
    m_leCropArea_H->setText(QString::number(h));
    s.cropRect.height = double(h) / video.height();
    if (s.aspectMode == 1)
        setOriginalResolution(s, video);
    if (panScanHolds(s))
        m_settings->setPanScanMode(PanScanKeepHeight);
    push(s);
}

void QAdjustOperationForm::setCropAreaSize(const QSizeF &f)
{
    if (!m_settings)
        return;
    const QSize video = m_settings->getVideoSize();
    m_leCropArea_H->setText(QString::number(static_cast<qint64>(video.height() * f.height() + 0.5)));
    m_leCropArea_W->setText(QString::number(static_cast<qint64>(video.width() * f.width() + 0.5)));
}

void QAdjustOperationForm::cropAreaChange(VECropSettings s)
{
    const VERect &r = panScanHolds(s) ? s.panScanRect : s.cropRect;
    setCropAreaSize(QSizeF(r.width, r.height));
}

void QAdjustOperationForm::cropAreaChanged(QString text)
{
    if (!m_settings)
        return;
    int v = text.toInt();
    if (v < 20)
        return;
    const QSize video = m_settings->getVideoSize();
    if (video.width() <= 0 || video.height() <= 0)
        return;
    VECropSettings s;
    m_settings->getCropSettings(s);
    VERect &r = panScanHolds(s) ? s.panScanRect : s.cropRect;
    if (sender() == m_leCropArea_W) {
        const double W = video.width();
        if (v + r.x * W > W)
            v = static_cast<int>(W - r.x * W);
        m_leCropArea_W->setText(QString::number(v));
        r.width = v / W;
    } else if (sender() == m_leCropArea_H) {
        const double H = video.height();
        if (v + r.y * H > H)
            v = static_cast<int>(H - r.y * H);
        m_leCropArea_H->setText(QString::number(v));
        r.height = v / H;
    }
    push(s);
}

void QAdjustOperationForm::reset()
{
    if (!m_settings)
        return;
    m_timer.stop();
    m_pendingEdit = false;
    m_cbbAspectRatio->setCurrentIndex(0);
    VECropSettings defaults;
    push(defaults);
}

void QAdjustOperationForm::loadingSetting()
{
    if (!m_settings)
        return;
    VECropSettings s;
    m_settings->getCropSettings(s);
    const QSize video = m_settings->getVideoSize();
    m_lblOriginalSizeValue->setText(QStringLiteral("%1 x %2").arg(video.width()).arg(video.height()));
    m_lblOriginalSizeValue->adjustSize();
    cropAreaChange(s);
    const int index = s.panScan != 0 ? 5 : s.aspectMode;
    if (m_cbbAspectRatio->currentIndex() == index)
        aspectRatioChanged(index);
    else
        m_cbbAspectRatio->setCurrentIndex(index);
}

void QAdjustOperationForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_loaded)
        return;
    m_loaded = true;
    loadingSetting();
}

void QAdjustOperationForm::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    using namespace OperationPageGround;
    paint(p, this, {178, kShareRest, kShareRest, 134});
}

void QAdjustOperationForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int x0 = (172 - 2 * m_btnRotate_R_90->width()) / 2;
    m_lblRotion->move(x0, 12);
    m_btnRotate_R_90->move(x0, m_lblRotion->geometry().bottom() + 15);
    m_btnRotate_L_90->move(m_btnRotate_R_90->geometry().right() + 6, m_btnRotate_R_90->y());
    m_btnFlipH->move(x0, m_btnRotate_R_90->geometry().bottom() + 5);
    m_btnFlipV->move(m_btnFlipH->geometry().right() + 6, m_btnFlipH->y());

    m_lblCropAreaSize->move(200, 12);
    m_leCropArea_W->move(200, m_lblCropAreaSize->geometry().bottom() + 20);
    m_lblX->move(m_leCropArea_W->geometry().right(), m_leCropArea_W->y());
    m_leCropArea_H->move(m_lblX->geometry().right(), m_leCropArea_W->y());
    m_lblOriginalSize->move(200, m_leCropArea_W->geometry().bottom() + 15);
    m_lblOriginalSizeValue->move(m_lblOriginalSize->geometry().right() + 10, m_lblOriginalSize->y());

    const int d = (width() - 318) / 2;
    m_lblAspectRatio->move(d + 202, 12);
    m_cbbAspectRatio->move(d + 202, m_lblAspectRatio->geometry().bottom() + 30);
    m_buttonFrom->resize(134, height());
    m_buttonFrom->move(width() - 134, 0);
}
