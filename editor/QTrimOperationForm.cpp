#include "QTrimOperationForm.h"

#include "QIAnyUtil.h"
#include "QVEInitCtrlStyle.h"
#include "QVideoEditingSettings.h"
#include "SkinStyleHelpers.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

using SkinStyleHelpers::res;

} // namespace

QTrimOperationForm::QTrimOperationForm(QWidget *parent) : QWidget(parent)
{
    setupUi(this);
    initControls();
}

void QTrimOperationForm::initControls()
{
    struct Button
    {
        QZTBaseButton *button;
        const char *image;
        QString tip;
    };
    const Button buttons[] = {
        {m_btnPlay, "/VEditSource/btn_play.png", tr("Play")},
        {m_btnPause, "/VEditSource/btn_Pause.png", tr("Pause")},
        {m_btnPrevious, "/VEditSource/btn_trimstartset.png", tr("Previous Frame")},
        {m_btnNext, "/VEditSource/btn_trimendset.png", tr("Next Frame")},
        {m_btnTrimPlay, "/VEditSource/btn_trimplay.png", tr("Play Section")},
        {m_btnTrimPause, "/VEditSource/btn_Pause.png", tr("Pause Section")},
        {m_btnTrimStop, "/VEditSource/btn_stop.png", tr("Stop")},
        {m_btnSnapshot, "/VEditSource/btn_snapshot.png", tr("Snapshot")},
        {m_btnSnapshotMenu, "/VEditSource/btn_snapshot_menu.png", tr("Snapshot Menu")},
        {m_btnTrim, "/VEditSource/btn_trim.png", tr("Trim")},
        {m_btnReset, "/VEditSource/btn_reset.png", tr("Reset")},
    };
    for (const Button &b : buttons) {
        b.button->setText(QString());
        b.button->setButtonImage(res(b.image), false);
        b.button->setToolTip(b.tip);
    }
    m_btnPlay->hide();
    m_btnTrimPause->hide();

    m_TrimDSlider->setBottomImage(res("/VEditSource/slider_bottom.png"));
    m_TrimDSlider->setTopImage(res("/VEditSource/slider_top.png"));
    m_TrimDSlider->setStartBtnImage(res("/VEditSource/btn_silder_start.png"), 2);
    m_TrimDSlider->setEndBtnImage(res("/VEditSource/btn_silder_end.png"), 2);
    m_TrimDSlider->setProgressBtnImage(res("/VEditSource/btn_silder_proess.png"), 7);
    m_TrimDSlider->setCircle(true);
    m_TrimDSlider->setCircleLenght(1);
    m_TrimDSlider->setPlayValue(0, false);
    m_TrimDSlider->setStartValue(0);
    m_TrimDSlider->setEndValue(100);

    QVEInitCtrlStyle::SetLabel(m_lblTime, QStringLiteral("00:00:00.000 / 00:00:00.000"), 12);
    m_lblTime->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QVEInitCtrlStyle::SetLabel(m_lblStartTime, QStringLiteral("00:00:00.000"), 12);
    QVEInitCtrlStyle::SetLabel(m_lblEndTime, QStringLiteral("00:00:00.000"), 12);

    QVEInitCtrlStyle::InitZTCheckCombox(m_cbbChater);
    m_cbbChater->setCheckMode(false);
    m_cbbChater->setFixedSize(164, 22);
    m_cbbChater->setBtnMargins(148, 8, 0, 0);
    m_cbbChater->hide();

    connect(m_btnPrevious, &QPushButton::clicked, this, &QTrimOperationForm::onPrevious);
    connect(m_btnNext, &QPushButton::clicked, this, &QTrimOperationForm::onNext);
    connect(m_btnTrimPlay, &QPushButton::clicked, this, &QTrimOperationForm::onTrimPlay);
    connect(m_btnTrimPause, &QPushButton::clicked, this, &QTrimOperationForm::onTrimPause);
    connect(m_btnTrimStop, &QPushButton::clicked, this, &QTrimOperationForm::onBtnStop);
    connect(m_btnPlay, &QPushButton::clicked, this, &QTrimOperationForm::onBtnPlay);
    connect(m_btnPause, &QPushButton::clicked, this, &QTrimOperationForm::onBtnPause);
    connect(m_btnSnapshot, &QPushButton::clicked, this, &QTrimOperationForm::emitSnapshot);
    connect(m_btnSnapshotMenu, &QPushButton::clicked, this, &QTrimOperationForm::emitSnapshotMenu);
    connect(m_btnTrim, &QPushButton::clicked, this, &QTrimOperationForm::onTrim);
    connect(m_btnReset, &QPushButton::clicked, this, &QTrimOperationForm::onReset);
    connect(m_TrimDSlider, &QDualSlider::sendPlayProValue, this, &QTrimOperationForm::emitSliderSendPlayProToPlay);
    connect(m_TrimDSlider, &QDualSlider::sendProgressValue, this, &QTrimOperationForm::startProgressValue);
    connect(m_TrimDSlider, &QDualSlider::sendEndProgressValue, this, &QTrimOperationForm::endProgressValue);
    connect(m_TrimDSlider, &QDualSlider::emitMousePress, this, &QTrimOperationForm::emitSliderMousePress);
    connect(m_TrimDSlider, &QDualSlider::emitmouseRelease, this, &QTrimOperationForm::emitSliderMouseRelease);
}

QString QTrimOperationForm::timeToString(unsigned long long us)
{
    const unsigned long long ms = us / 1000;
    return QStringLiteral("%1:%2:%3.%4")
        .arg(ms / 3600000, 2, 10, QLatin1Char('0'))
        .arg((ms / 60000) % 60, 2, 10, QLatin1Char('0'))
        .arg((ms / 1000) % 60, 2, 10, QLatin1Char('0'))
        .arg(ms % 1000, 3, 10, QLatin1Char('0'));
}

QString QTrimOperationForm::timeToString2(unsigned long long us)
{
    const unsigned long long ms = us / 1000;
    return QStringLiteral("%1:%2:%3")
        .arg(ms / 3600000, 2, 10, QLatin1Char('0'))
        .arg((ms / 60000) % 60, 2, 10, QLatin1Char('0'))
        .arg((ms / 1000) % 60, 2, 10, QLatin1Char('0'));
}

uint64_t QTrimOperationForm::windowTime(uint64_t start, uint64_t length, double fraction)
{
    // Double and rounded: single precision would step by 256 us one hour into a clip.
    if (!(fraction > 0.0))
        return start;
    const long long offset = std::llround(static_cast<double>(length) * std::min(fraction, 1.0));
    return start + static_cast<uint64_t>(offset);
}

void QTrimOperationForm::setDisableSnapshot(bool disable)
{
    m_btnSnapshot->setEnabled(!disable);
    m_btnSnapshotMenu->setEnabled(!disable);
}

void QTrimOperationForm::resetHandles()
{
    m_TrimDSlider->setStartValue(0);
    m_TrimDSlider->setEndValue(100);
    m_TrimDSlider->SetFocusInStartBtn(true);
}

void QTrimOperationForm::showRangeTexts(uint64_t start, uint64_t end)
{
    const QString endText = timeToString(end != 0 || !m_editSettings ? end : m_editSettings->getDuration());
    m_lblEndTime->setText(endText);
    m_TrimDSlider->setEndBtnToolTip(endText);
    const QString startText = timeToString(start);
    m_lblStartTime->setText(startText);
    m_TrimDSlider->setStartBtnToolTip(startText);
}

void QTrimOperationForm::startProgressValue(double startPro)
{
    if (!m_editSettings)
        return;
    m_TrimDSlider->setStartBtnToolTip(
        timeToString(windowTime(m_editSettings->getTrimStartTime(), m_editSettings->getPlaylength(), startPro)));
}

void QTrimOperationForm::endProgressValue(double endPro)
{
    if (!m_editSettings)
        return;
    m_TrimDSlider->setEndBtnToolTip(
        timeToString(windowTime(m_editSettings->getTrimStartTime(), m_editSettings->getPlaylength(), endPro)));
}

void QTrimOperationForm::loadingSetting()
{
    if (!m_editSettings)
        return;
    VEEditConfig record;
    m_editSettings->getEditConfig(record);
    showRangeTexts(record.trimStart, record.trimEnd);
    if (record.chapters.isEmpty())
        return;
    if (m_chapterConnected)
        disconnect(m_cbbChater, SIGNAL(currentIndexChanged(int)), this, SLOT(chapterSelectedChanged(int)));
    m_cbbChater->clear();
    m_cbbChater->show();
    int selected = 0;
    for (int i = 0; i < record.chapters.size(); ++i) {
        const VEChapterInfo &c = record.chapters.at(i);
        m_cbbChater->addItem(QString::fromUtf8(c.strShowText), QVariant());
        const auto near = [](uint64_t a, uint64_t b) { return (a > b ? a - b : b - a) < 1000; };
        if (i >= 1 && near(c.nStartTime, record.trimStart) && near(c.nEndTime, record.trimEnd))
            selected = i;
    }
    m_cbbChater->setCheckState(selected, true);
    m_cbbChater->setCurrentIndex(selected);
    connect(m_cbbChater, SIGNAL(currentIndexChanged(int)), this, SLOT(chapterSelectedChanged(int)));
    m_chapterConnected = true;
    updateLocation();
}

void QTrimOperationForm::setCurrentChapter(uint64_t start, uint64_t end)
{
    // A copy, changed and handed back: the record of the clip and the other clips keep their own lists until
    // the editor's OK.
    QList<VEChapterInfo> chapters;
    m_editSettings->getChapterInfoList(chapters);
    if (chapters.isEmpty())
        return;
    VEChapterInfo &current = chapters[0];
    current.nStartTime = start;
    current.nEndTime = end;
    current.nDuration = end >= start ? end - start : 0;
    current.strShowText = QStringLiteral("%1, %2-%3")
                              .arg(QString::fromUtf8(current.strChapterTitle), timeToString2(start), timeToString2(end))
                              .toUtf8();
    m_editSettings->setChapterInfoList(chapters);
    m_cbbChater->setItemText(0, QString::fromUtf8(current.strShowText));
}

void QTrimOperationForm::applyCurrentChapter(uint64_t start, uint64_t end)
{
    setCurrentChapter(start, end);
    if (m_cbbChater->currentIndex() != 0)
        m_cbbChater->setCurrentIndex(0); // runs chapterSelectedChanged(0), which sends the range
    else
        emit emitTrimChapter(start, end);
}

void QTrimOperationForm::chapterSelectedChanged(int index)
{
    if (!m_editSettings || index < 0)
        return;
    QList<VEChapterInfo> chapters;
    m_editSettings->getChapterInfoList(chapters);
    if (index >= chapters.size())
        return;
    const VEChapterInfo chosen = chapters.at(index);
    resetHandles();
    setCurrentChapter(chosen.nStartTime, chosen.nEndTime);
    emit emitTrimChapter(chosen.nStartTime, chosen.nEndTime);
}

void QTrimOperationForm::onTrim()
{
    const double fs = m_TrimDSlider->getStartValue();
    const double fe = m_TrimDSlider->getEndValue();
    uint64_t start = 0;
    uint64_t end = 0;
    QList<VEChapterInfo> chapters;
    if (m_editSettings) {
        const uint64_t s = m_editSettings->getTrimStartTime();
        const uint64_t length = m_editSettings->getPlaylength();
        end = (fe != 1.0) ? windowTime(s, length, fe) : m_editSettings->getTrimEndTime();
        start = windowTime(s, length, fs);
        m_editSettings->getChapterInfoList(chapters);
    }
    resetHandles();
    if (start == end && start != 0)
        end += 1;
    if (!chapters.isEmpty())
        applyCurrentChapter(start, end);
    else
        emit emitTrim(start, end);
}

void QTrimOperationForm::onReset()
{
    if (!m_editSettings)
        return;
    resetHandles();
    QList<VEChapterInfo> chapters;
    m_editSettings->getChapterInfoList(chapters);
    if (!chapters.isEmpty())
        applyCurrentChapter(0, m_editSettings->getDuration());
    else
        emit emitReset();
}

void QTrimOperationForm::trimTimeChange(uint64_t trimStartTime, uint64_t trimEndTime)
{
    showRangeTexts(trimStartTime, trimEndTime);
}

void QTrimOperationForm::onPrevious()
{
    const double p = m_TrimDSlider->getPlayValue();
    const double start = m_TrimDSlider->getStartValue();
    const double end = m_TrimDSlider->getEndValue();
    double pos = 0;
    bool isSeek = false;
    if (m_TrimDSlider->GetFocusInStartBtn()) {
        pos = start;
        isSeek = std::fabs(p - pos) > 1e-5;
    } else {
        if (std::fabs(start - end) < 1e-5)
            return;
        pos = end;
        isSeek = std::fabs(p - pos) > 1e-6;
    }
    emit emitPreviousStep(isSeek, static_cast<float>(pos));
}

void QTrimOperationForm::onNext()
{
    const double p = m_TrimDSlider->getPlayValue();
    const double start = m_TrimDSlider->getStartValue();
    const double end = m_TrimDSlider->getEndValue();
    double pos = end;
    if (m_TrimDSlider->GetFocusInStartBtn()) {
        if (std::fabs(start - end) < 1e-5)
            return;
        pos = start;
    }
    emit emitNextStep(std::fabs(p - pos) > 1e-6, static_cast<float>(pos));
}

void QTrimOperationForm::setStartEndProgressValue(float value)
{
    if (m_TrimDSlider->GetFocusInStartBtn())
        m_TrimDSlider->setStartValue(value);
    else
        m_TrimDSlider->setEndValue(value);
}

void QTrimOperationForm::onBtnPlay()
{
    m_btnPlay->hide();
    m_btnPause->show();
    emit emitPlay();
}

void QTrimOperationForm::onBtnPause()
{
    m_btnPlay->show();
    m_btnPause->hide();
    m_btnTrimPlay->show();
    m_btnTrimPause->hide();
    emit emitPause();
}

void QTrimOperationForm::onBtnStop()
{
    m_btnPlay->show();
    m_btnPause->hide();
    emit emitStop();
}

void QTrimOperationForm::onTrimPlay()
{
    m_btnPlay->hide();
    m_btnPause->show();
    m_btnTrimPlay->hide();
    m_btnTrimPause->show();
    emit emitTrimPlay(static_cast<float>(m_TrimDSlider->getStartValue()),
                      static_cast<float>(m_TrimDSlider->getEndValue()));
}

void QTrimOperationForm::onTrimPause()
{
    m_btnPlay->show();
    m_btnPause->hide();
    emit emitTrimPause();
}

void QTrimOperationForm::showPlayOrPause(bool bPlay)
{
    m_btnPlay->setVisible(!bPlay);
    m_btnPause->setVisible(bPlay);
}

void QTrimOperationForm::showTrimPlayOrPause(bool bTrimPlay)
{
    m_btnTrimPlay->setVisible(!bTrimPlay);
    m_btnTrimPause->setVisible(bTrimPlay);
}

void QTrimOperationForm::setTime(QString time)
{
    m_lblTime->setText(time);
}

void QTrimOperationForm::setPlayProcess(double value)
{
    m_TrimDSlider->setPlayValue(static_cast<float>(value * 100.0), false);
}

void QTrimOperationForm::playFinish()
{
    m_TrimDSlider->setPlayValue(0, false);
    m_btnPlay->show();
    m_btnTrimPlay->show();
    m_btnPause->hide();
    m_btnTrimPause->hide();
}

void QTrimOperationForm::updateLocation()
{
    const int top = (height() - 66) / 2;
    const auto band = [top](QWidget *w) { return top + (26 - w->height()) / 2; };
    int total = m_btnSnapshot->width() + m_btnSnapshotMenu->width() + m_btnPrevious->width() + m_btnNext->width() +
                m_btnTrimPause->width() + m_btnTrimStop->width() + m_btnTrim->width() + m_btnReset->width() + 120;
    if (m_cbbChater->isVisibleTo(this))
        total += m_cbbChater->width() + 20;
    // Centred; with the chapter list the row can reach the time text on the right: then it moves left of it.
    const int timeLeft = width() - 22 - m_lblTime->width();
    const int rowX = std::max(6, std::min((width() - total) / 2, timeLeft - 12 - total));
    m_btnSnapshot->move(rowX, band(m_btnSnapshot));
    m_btnSnapshotMenu->move(m_btnSnapshot->geometry().right(), band(m_btnSnapshotMenu));
    m_btnPrevious->move(m_btnSnapshotMenu->geometry().right() + 20, band(m_btnPrevious));
    m_btnNext->move(m_btnPrevious->geometry().right() + 20, band(m_btnNext));
    m_btnTrimPause->move(m_btnNext->geometry().right() + 20, band(m_btnTrimPause));
    m_btnTrimPlay->move(m_btnNext->geometry().right() + 20, band(m_btnTrimPlay));
    m_btnTrimStop->move(m_btnTrimPlay->geometry().right() + 20, band(m_btnTrimStop));
    m_btnTrim->move(m_btnTrimStop->geometry().right() + 20, band(m_btnTrim));
    m_btnReset->move(m_btnTrim->geometry().right() + 20, band(m_btnReset));
    m_cbbChater->move(m_btnReset->geometry().right() + 20, band(m_cbbChater));
    m_lblTime->move(width() - 22 - m_lblTime->width(), band(m_lblTime));

    const auto row = [top](QWidget *w) { return top + 20 + (40 - w->height()) / 2; };
    m_btnPlay->move(22, row(m_btnPlay));
    m_btnPause->move(22, row(m_btnPause));
    m_TrimDSlider->resize(width() - 48 - m_btnPlay->width(), m_TrimDSlider->height());
    m_TrimDSlider->setEndValue(100);
    m_TrimDSlider->move(m_btnPlay->geometry().right() + 12, row(m_TrimDSlider));
    m_lblStartTime->move(m_TrimDSlider->x(), m_TrimDSlider->geometry().bottom() - 4);
    m_lblEndTime->move(m_TrimDSlider->geometry().right() - 1 - m_lblEndTime->width() + 1,
                       m_TrimDSlider->geometry().bottom() - 4);
}

void QTrimOperationForm::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(53, 53, 53));
}

void QTrimOperationForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    updateLocation();
}

void QTrimOperationForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
}
