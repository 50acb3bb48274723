#include "QRirezaPlaterBtnForm.h"

#include "QIAnyUtil.h"
#include "QInitCtrlStyle.h"
#include "QZTBaseButton.h"
#include "QZTBaseSlider.h"

#include <QCursor>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include "ui_QRirezaPlaterBtnForm.h"

QRirezaPlaterBtnForm::QRirezaPlaterBtnForm(QWidget *parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::QRirezaPlaterBtnForm>())
{
    m_ui->setupUi(this);
    initControls();
    retranslateUi();
}

QRirezaPlaterBtnForm::~QRirezaPlaterBtnForm() = default;

void QRirezaPlaterBtnForm::initControls()
{
    const QString res = QIAnyUtil::getResourcePath();
    m_ui->m_btnPlay->setButtonImage(res + QStringLiteral("/image/Player/btn_play.png"), true);
    m_ui->m_btnPrevious->setButtonImage(res + QStringLiteral("/image/Player/btn_previous.png"), true);
    m_ui->m_btnPause->setButtonImage(res + QStringLiteral("/image/Player/btn_Pause.png"), true);
    m_ui->m_btnReset->setButtonImage(res + QStringLiteral("/image/Player/btn_reset.png"), true);
    m_ui->m_btnNext->setButtonImage(res + QStringLiteral("/image/Player/btn_next.png"), true);

    QZTBaseSlider *slider = m_ui->m_sliderSound;
    slider->setBottomImage(res + QStringLiteral("/image/Player/volume_bottom.png"));
    slider->setTopImage(res + QStringLiteral("/image/Player/volume_top.png"));
    slider->setBtnImage(res + QStringLiteral("/image/Player/volume_image.png"));
    slider->setFormat(QString());
    slider->setValue(0.0);
    slider->resize(70, 10);
    slider->setOffset(5, 0);

    QInitCtrlStyle::InitFont(m_ui->m_lblTime, 12);
    QInitCtrlStyle::InitPalette(m_ui->m_lblTime, QPalette::WindowText, Qt::white);

    m_ui->m_btnPause->hide();
    m_ui->m_btnPlay->show();
    m_ui->m_btnPrevious->setEnabled(false);
    m_ui->m_btnNext->setEnabled(false);

    connect(m_ui->m_btnPlay, &QAbstractButton::clicked, this, &QRirezaPlaterBtnForm::OnBtnPalyOrPause);
    connect(m_ui->m_btnPause, &QAbstractButton::clicked, this, &QRirezaPlaterBtnForm::OnBtnPalyOrPause);
    connect(m_ui->m_btnPrevious, &QAbstractButton::clicked, this, &QRirezaPlaterBtnForm::emitBtnPrevious);
    connect(m_ui->m_btnNext, &QAbstractButton::clicked, this, &QRirezaPlaterBtnForm::emitBtnNext);
    connect(slider, &QZTBaseSlider::sendProgressValue, this, &QRirezaPlaterBtnForm::sliderVolume);
    connect(m_ui->m_btnReset, &QAbstractButton::clicked, this, &QRirezaPlaterBtnForm::emitBtnReset);
    setMouseTracking(false);
}

void QRirezaPlaterBtnForm::retranslateUi()
{
    m_ui->m_btnPlay->setToolTip(tr("Play"));
    m_ui->m_btnPrevious->setToolTip(tr("Previous file"));
    m_ui->m_btnPause->setToolTip(tr("Pause"));
    m_ui->m_btnReset->setToolTip(tr("Reset"));
    m_ui->m_btnNext->setToolTip(tr("Next file"));
}

QZTBaseButton *QRirezaPlaterBtnForm::playButton() const
{
    return m_ui->m_btnPlay;
}
QZTBaseButton *QRirezaPlaterBtnForm::pauseButton() const
{
    return m_ui->m_btnPause;
}
QZTBaseButton *QRirezaPlaterBtnForm::previousButton() const
{
    return m_ui->m_btnPrevious;
}
QZTBaseButton *QRirezaPlaterBtnForm::nextButton() const
{
    return m_ui->m_btnNext;
}
QZTBaseButton *QRirezaPlaterBtnForm::resetButton() const
{
    return m_ui->m_btnReset;
}
QZTBaseSlider *QRirezaPlaterBtnForm::volumeSlider() const
{
    return m_ui->m_sliderSound;
}
QLabel *QRirezaPlaterBtnForm::timeLabel() const
{
    return m_ui->m_lblTime;
}

// ------------------------------------------------------------------------------------------ slots

void QRirezaPlaterBtnForm::setVolume(double value)
{
    m_ui->m_sliderSound->setValue(value);
}

QString QRirezaPlaterBtnForm::timeText(uint64_t us)
{
    const uint64_t ms = us / 1000;
    const auto two = [](uint64_t v) { return QStringLiteral("%1").arg(qulonglong(v), 2, 10, QLatin1Char('0')); };
    return QStringLiteral("%1:%2:%3.%4")
        .arg(two(ms / 3600000), two((ms / 60000) % 60), two((ms / 1000) % 60), two((ms % 1000) / 10));
}

void QRirezaPlaterBtnForm::setTimeLabel(uint64_t time)
{
    m_ui->m_lblTime->setText(timeText(time));
    m_ui->m_lblTime->adjustSize();
}

void QRirezaPlaterBtnForm::VideoBeginPlay(bool playing)
{
    m_ui->m_btnPause->setVisible(playing);
    m_ui->m_btnPlay->setVisible(!playing);
}

void QRirezaPlaterBtnForm::VideoFinished()
{
    m_ui->m_btnPause->hide();
    m_ui->m_btnPlay->show();
}

void QRirezaPlaterBtnForm::OnBtnPalyOrPause()
{
    if (m_ui->m_btnPause->isHidden()) {
        m_ui->m_btnPause->show();
        m_ui->m_btnPlay->hide();
        emit emitBtnPlay();
    } else {
        m_ui->m_btnPause->hide();
        m_ui->m_btnPlay->show();
        emit emitBtnPause();
    }
}

void QRirezaPlaterBtnForm::setBtnEnable(bool previous, bool next)
{
    m_ui->m_btnPrevious->setEnabled(previous);
    m_ui->m_btnNext->setEnabled(next);
}

void QRirezaPlaterBtnForm::sliderVolume(double fraction)
{
    QToolTip::showText(QCursor::pos(), QString::number(static_cast<int>(fraction * 200)), this);
    emit emitSliderVolume(fraction);
}

// ------------------------------------------------------------------------------------------ layout

void QRirezaPlaterBtnForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int w = width(), h = height();
    const auto vcentre = [h](QWidget *c) { return (h - c->height()) / 2; };
    QLabel *time = m_ui->m_lblTime;
    time->adjustSize();
    time->move(20, vcentre(time));
    QZTBaseButton *play = m_ui->m_btnPlay;
    play->move((w - play->width()) / 2, vcentre(play));
    m_ui->m_btnPause->move((w - m_ui->m_btnPause->width()) / 2, vcentre(m_ui->m_btnPause));
    QZTBaseButton *previous = m_ui->m_btnPrevious;
    previous->move(play->x() - previous->width() - 15, vcentre(previous));
    QZTBaseButton *next = m_ui->m_btnNext;
    next->move(play->x() + play->width() - 1 + 15, vcentre(next));
    QZTBaseButton *reset = m_ui->m_btnReset;
    reset->move(w - 20 - reset->width(), vcentre(reset));
    QZTBaseSlider *slider = m_ui->m_sliderSound;
    slider->move(reset->x() - slider->width() - 25, vcentre(slider));
}

void QRirezaPlaterBtnForm::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(38, 38, 38));
}

void QRirezaPlaterBtnForm::mouseMoveEvent(QMouseEvent *event)
{
    setCursor(Qt::ArrowCursor);
    QWidget::mouseMoveEvent(event);
}
