#include "QEffectOperationForm.h"

#include "OperationPageGround.h"
#include "QFrameChunk.h"
#include "QFrameChunkManager.h"
#include "QVEInitCtrlStyle.h"
#include "QVideoEditingSettings.h"
#include "QVideoEffectManager.h"
#include "QZTScrollBar.h"

#include <QPainter>

#include <cmath>

int getTextValue(double fraction)
{
    if (fraction > 0.49 && fraction < 0.51)
        return 100;
    return int(std::trunc(fraction * 200));
}

int QEffectOperationForm::brightnessFromSlider(int t)
{
    return int(std::trunc((t - 100) * 2.55));
}

int QEffectOperationForm::brightnessToSlider(int b)
{
    return int(std::trunc((255 + b) / 2.55));
}

int QEffectOperationForm::contrastFromSlider(int t)
{
    return t <= 100 ? t : 2 * t - 100;
}

int QEffectOperationForm::contrastToSlider(int c)
{
    return c <= 100 ? c : (c - 100) / 2 + 100;
}

int QEffectOperationForm::hueFromSlider(int t)
{
    return int(std::trunc((t - 100) * 1.8));
}

int QEffectOperationForm::hueToSlider(int h)
{
    return int(std::trunc((180 + h) / 1.8));
}

QEffectOperationForm::QEffectOperationForm(QWidget *parent) : QWidget(parent)
{
    setupUi(this);
    initControls();
}

QEffectOperationForm::~QEffectOperationForm()
{
    // The scroll bars belong to their scroll areas since they were installed.
    delete m_frames;
    m_frames = nullptr;
    delete m_effects;
    m_effects = nullptr;
}

void QEffectOperationForm::initSlider(QZTBaseSlider *slider)
{
    QVEInitCtrlStyle::SetQZTSlider(slider);
    slider->setRange(0, 200);
    slider->setValue(100);
    connect(slider, &QZTBaseSlider::sendProgressValue, this, &QEffectOperationForm::progressValue);
}

void QEffectOperationForm::initLineEdit(QZTLineEdit *edit)
{
    QVEInitCtrlStyle::SetQZTLineEdit(edit);
    edit->resize(45, 22);
    edit->setAlignment(Qt::AlignCenter);
    connect(edit, &QLineEdit::textEdited, this, &QEffectOperationForm::textEdited);
}

void QEffectOperationForm::iniLabel(QLabel *label)
{
    QVEInitCtrlStyle::SetPalette(label, QPalette::WindowText, QColor(255, 255, 255));
    QVEInitCtrlStyle::SetFont(label, 12);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void QEffectOperationForm::initControls()
{
    for (QZTBaseSlider *s : {m_sliderBrightness, m_sliderContrast, m_sliderSaturation, m_sliderHue})
        initSlider(s);
    for (QZTLineEdit *e : {m_leBrightnessValue, m_leConstrastValue, m_leSaturationValue, m_leHueValue})
        initLineEdit(e);
    m_lblBrightness->setText(tr("Brightness:"));
    m_lblContrast->setText(tr("Contrast:"));
    m_lblSaturation->setText(tr("Saturation:"));
    m_lblHue->setText(tr("Hue:"));
    for (QLabel *l : {m_lblBrightness, m_lblContrast, m_lblSaturation, m_lblHue})
        iniLabel(l);

    m_effectTag->createTag({tr("Video effects"), tr("Frame")});
    m_effectTag->setBackgroundColor(QColor(53, 53, 53));
    m_effectTag->setFixedHeight(25);
    connect(m_effectTag, &QVideoEditTag::emitSelectedTag, this, &QEffectOperationForm::selectedTag);

    m_frames = new QFrameChunkManager(nullptr);
    m_effects = new QVideoEffectManager(this);
    m_effectsBar = new QZTScrollBar(Qt::Horizontal, nullptr);
    m_framesBar = new QZTScrollBar(Qt::Horizontal, nullptr);
    QVEInitCtrlStyle::SetQZTScrollBar(m_effectsBar);
    QVEInitCtrlStyle::SetQZTScrollBar(m_framesBar);
    m_effectsList->setBackgroundColor(QColor(53, 53, 53));
    m_effectsList->setHorizontalScrollBar(m_effectsBar);
    m_frameList->setBackgroundColor(QColor(53, 53, 53));
    m_frameList->setHorizontalScrollBar(m_framesBar);
    connect(m_effectsList, &QHorizontalListFrom::currentIndexChanged, this,
            &QEffectOperationForm::effectsListIndexChanged);
    connect(m_frameList, &QHorizontalListFrom::currentIndexChanged, this, &QEffectOperationForm::frameListIndexChanged);
    fillLists();

    connect(m_buttonFrom, &QCommonButtonForm::emitApplyToAll, this, &QEffectOperationForm::emitApplyToAll);
    connect(m_buttonFrom, &QCommonButtonForm::emitReset, this, &QEffectOperationForm::reset);
}

void QEffectOperationForm::fillLists()
{
    m_frameList->clear();
    for (QFrameChunk *chunk : m_frames->getFrameChunklist())
        m_frameList->addListItem(chunk->getThumbnailImage(), chunk->name);
    m_effectsList->clear();
    for (QFrameChunk *chunk : m_effects->getVideoEffectlist())
        m_effectsList->addListItem(chunk->getThumbnailImage(), chunk->name);
    m_effectsList->hide();
    m_frameList->hide();
}

void QEffectOperationForm::selectedTag(int index)
{
    if (index == 0) {
        m_effectsList->show();
        m_frameList->hide();
    } else if (index == 1) {
        m_effectsList->hide();
        m_frameList->show();
    }
}

bool QEffectOperationForm::storeValue(QObject *control, int t, VEVideoEffectSettings &s) const
{
    if (control == m_sliderBrightness || control == m_leBrightnessValue)
        s.brightness = brightnessFromSlider(t);
    else if (control == m_sliderContrast || control == m_leConstrastValue)
        s.contrast = contrastFromSlider(t);
    else if (control == m_sliderSaturation || control == m_leSaturationValue)
        s.saturation = t;
    else if (control == m_sliderHue || control == m_leHueValue)
        s.hue = hueFromSlider(t);
    else
        return false;
    return true;
}

void QEffectOperationForm::progressValue(double value)
{
    if (!m_settings)
        return;
    QObject *from = sender();
    const int t = getTextValue(value);
    QZTLineEdit *field = nullptr;
    if (from == m_sliderBrightness)
        field = m_leBrightnessValue;
    else if (from == m_sliderContrast)
        field = m_leConstrastValue;
    else if (from == m_sliderSaturation)
        field = m_leSaturationValue;
    else if (from == m_sliderHue)
        field = m_leHueValue;
    else
        return;
    field->setText(QString::number(t));
    VEVideoEffectSettings read;
    m_settings->getEffectSettings(read);
    VEVideoEffectSettings changed = read;
    storeValue(from, t, changed);
    if (changed != read)
        m_settings->setEffectSettings(changed);
}

void QEffectOperationForm::textEdited(QString text)
{
    if (!m_settings)
        return;
    auto *field = qobject_cast<QZTLineEdit *>(sender());
    QZTBaseSlider *slider = nullptr;
    if (field == m_leBrightnessValue)
        slider = m_sliderBrightness;
    else if (field == m_leConstrastValue)
        slider = m_sliderContrast;
    else if (field == m_leSaturationValue)
        slider = m_sliderSaturation;
    else if (field == m_leHueValue)
        slider = m_sliderHue;
    else
        return;
    if (text.size() >= 2 && text.startsWith(QLatin1Char('0'))) {
        text.remove(0, 1);
        field->setText(text);
    }
    int value = 0;
    if (text.isEmpty())
        field->setText(QStringLiteral("0"));
    else
        value = text.toInt();
    value = qMin(value, 200);
    VEVideoEffectSettings s;
    m_settings->getEffectSettings(s);
    slider->setValue(value);
    storeValue(field, value, s);
    m_settings->setEffectSettings(s);
}

int QEffectOperationForm::choosePicture(const QList<FrameInfoItem> &items, QSize clip)
{
    auto ratio = [](const FrameInfoItem &i) { return double(i.width) / i.height; };
    int best = -1;
    double bestDiff = 0;
    const bool sized = clip.width() > 0 && clip.height() > 0;
    const double target = sized ? double(clip.width()) / clip.height() : 0;
    for (int k = 0; k < items.size(); ++k) {
        const FrameInfoItem &item = items[k];
        // An entry without a size has no shape to compare nor to fit: it is never chosen.
        if (item.width <= 0 || item.height <= 0)
            continue;
        if (best < 0) {
            best = k;
            bestDiff = std::abs(ratio(item) - target);
            if (!sized)
                break;
            continue;
        }
        const double d = std::abs(ratio(item) - target);
        if (d < 1e-7) {
            best = k;
            break;
        }
        if (d < bestDiff) {
            best = k;
            bestDiff = d;
        }
    }
    return best;
}

VERect QEffectOperationForm::coverRect(const FrameInfoItem &item, QSize clip)
{
    const int W = clip.width(), H = clip.height();
    const int bw = item.width, bh = item.height;
    // Without a clip size there is nothing to cover: the whole picture.
    if (W <= 0 || H <= 0 || bw <= 0 || bh <= 0)
        return VERect{0.0, 0.0, 1.0, 1.0};
    if (double(bw) / bh > double(W) / H) {
        const int cw = int(qint64(bw) * H / bh);
        const int dx = (cw - W) / 2;
        return VERect{double(dx) / cw, 0.0, double(W) / cw, 1.0};
    }
    const int ch = int(qint64(bh) * W / bw);
    const int dy = (ch - H) / 2;
    return VERect{0.0, double(dy) / ch, 1.0, double(H) / ch};
}

void QEffectOperationForm::getVideoEffectPath(int index, QSize size, VEWatermarkSettings &settings)
{
    QFrameChunk *chunk = m_effects->getFrameChunk(index);
    const int best = chunk ? choosePicture(chunk->frameInfoList, size) : -1;
    if (best < 0) {
        // No picture to lay over the video; the rest of the overlay stays as it was.
        settings.image.imagePath.clear();
        return;
    }
    const FrameInfoItem &item = chunk->frameInfoList[best];
    settings.image.cropRect = coverRect(item, size);
    settings.image.imagePath = (chunk->folder + QLatin1Char('/') + item.fileName).toUtf8();
    settings.image.mixMode = quint32(item.type);
}

QString QEffectOperationForm::getVideoEffectPath(QFrameChunk *chunk, QSize size)
{
    const int best = chunk ? choosePicture(chunk->frameInfoList, size) : -1;
    if (best < 0)
        return QString();
    return chunk->folder + QLatin1Char('/') + chunk->frameInfoList[best].fileName;
}

void QEffectOperationForm::effectsListIndexChanged(int index)
{
    if (!m_settings || index < 0)
        return;
    VEWatermarkSettings overlay;
    m_settings->getVideoEffectWkSettings(overlay);
    getVideoEffectPath(index, m_settings->getResolutionSize(), overlay);
    overlay.packageIndex = index;
    if (m_settings->getIsWatermarkAudioStartTime())
        overlay.image.showTime = VETimePair{m_settings->getTrimStartTime(), 0};
    m_settings->setVideoEffectWkSettings(overlay);
}

void QEffectOperationForm::frameListIndexChanged(int index)
{
    if (!m_settings || index < 0)
        return;
    VEWatermarkSettings overlay;
    m_settings->getFrameWkSettings(overlay);
    overlay.image.imagePath =
        getVideoEffectPath(m_frames->getFrameChunk(index), m_settings->getResolutionSize()).toUtf8();
    overlay.packageIndex = index;
    if (m_settings->getIsWatermarkAudioStartTime())
        overlay.image.showTime = VETimePair{m_settings->getTrimStartTime(), 0};
    m_settings->setFrameWkSettings(overlay);
}

void QEffectOperationForm::showSliderValue(QZTBaseSlider *slider, QZTLineEdit *edit, int value)
{
    slider->setValue(value);
    edit->setText(QString::number(value));
}

void QEffectOperationForm::loadingSetting()
{
    if (!m_settings)
        return;
    VEVideoEffectSettings s;
    m_settings->getEffectSettings(s);
    showSliderValue(m_sliderHue, m_leHueValue, hueToSlider(s.hue));
    showSliderValue(m_sliderContrast, m_leConstrastValue, contrastToSlider(s.contrast));
    showSliderValue(m_sliderSaturation, m_leSaturationValue, s.saturation);
    showSliderValue(m_sliderBrightness, m_leBrightnessValue, brightnessToSlider(s.brightness));
    // A tile is marked only when its package is applied: marking package 0 for a clip without an overlay
    // would make its first click look like a click on the current tile, which applies nothing.
    VEWatermarkSettings overlay;
    m_settings->getVideoEffectWkSettings(overlay);
    if (overlay.image.imagePath.isEmpty())
        m_effectsList->clearSelectState();
    else
        m_effectsList->setCurrentIndex(overlay.packageIndex);
    m_settings->getFrameWkSettings(overlay);
    if (overlay.image.imagePath.isEmpty())
        m_frameList->clearSelectState();
    else
        m_frameList->setCurrentIndex(overlay.packageIndex);
    m_effectsList->show();
    m_frameList->show();
    m_effectTag->setSelectedTag(0);
    selectedTag(0);
}

void QEffectOperationForm::reset()
{
    if (!m_settings)
        return;
    VEVideoEffectSettings defaults;
    m_settings->setEffectSettings(defaults);
    VEWatermarkSettings overlay;
    m_settings->getFrameWkSettings(overlay);
    overlay.image.imagePath.clear();
    overlay.packageIndex = 0;
    m_settings->setFrameWkSettings(overlay);
    m_settings->getVideoEffectWkSettings(overlay);
    overlay.image.imagePath.clear();
    overlay.packageIndex = 0;
    m_settings->setVideoEffectWkSettings(overlay);
    m_frameList->clearSelectState();
    m_effectsList->clearSelectState();
    loadingSetting();
}

static int bottomOf(const QWidget *w)
{
    return w->y() + w->height() - 1;
}

static int rightOf(const QWidget *w)
{
    return w->x() + w->width() - 1;
}

void QEffectOperationForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int Wp = width(), Hp = height();
    auto column = [Hp](const QList<QWidget *> &controls, int x, int extra) {
        int y = (Hp - 30 - 4 * controls.first()->height()) / 2 + extra;
        for (QWidget *w : controls) {
            w->move(x, y);
            y = bottomOf(w) + 10;
        }
    };
    // The form gives a row's caption, slider and field one height, so that the three columns stand level.
    column({m_lblBrightness, m_lblContrast, m_lblSaturation, m_lblHue}, 8, 0);
    column({m_sliderBrightness, m_sliderContrast, m_sliderSaturation, m_sliderHue}, rightOf(m_lblBrightness) + 6, 2);
    column({m_leBrightnessValue, m_leConstrastValue, m_leSaturationValue, m_leHueValue},
           rightOf(m_sliderBrightness) + 6, 2);
    m_effectTag->resize(Wp - 530, m_effectTag->height());
    m_effectTag->move(389, 6);
    for (QHorizontalListFrom *list : {m_effectsList, m_frameList}) {
        list->resize(Wp - 530, list->height());
        list->move(389, bottomOf(m_effectTag) + 6);
    }
    m_buttonFrom->resize(134, Hp);
    m_buttonFrom->move(Wp - 134, 0);
}

void QEffectOperationForm::paintEvent(QPaintEvent *)
{
    const int Wp = width();
    QPainter painter(this);
    using namespace OperationPageGround;
    paint(painter, this, {382, kShareRest, 134});
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(37, 37, 37));
    painter.drawLine(QPoint(394, 30), QPoint(Wp - 146, 30));
}

void QEffectOperationForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_loaded) {
        loadingSetting();
        m_loaded = true;
    }
}
