#include "QPlayerOperationForm.h"

#include "QBaseImageDraw.h"
#include "QIAnyUtil.h"
#include "QVEInitCtrlStyle.h"

#include <QMouseEvent>
#include <QPainter>

QPlayerOperationForm::QPlayerOperationForm(QWidget *parent) : QWidget(parent)
{
    setupUi(this);
    initControls();
}

void QPlayerOperationForm::initControls()
{
    const QString res = QIAnyUtil::getResourcePath();
    struct Skin
    {
        QZTBaseButton *button;
        const char *image;
        QString tip;
    } const skins[] = {
        {m_btnPlay, "/VEditSource/btn_play.png", tr("Play")},
        {m_btnPause, "/VEditSource/btn_pause.png", tr("Pause")},
        {m_btnStop, "/VEditSource/btn_stop.png", tr("Stop")},
        {m_btnSnapshot, "/VEditSource/btn_snapshot.png", tr("Snapshot")},
        {m_btnSnapshotMenu, "/VEditSource/btn_snapshot_menu.png", tr("Snapshot Menu")},
    };
    for (const Skin &s : skins) {
        s.button->setText(QString());
        s.button->setToolTip(s.tip);
        s.button->setButtonImage(res + QLatin1String(s.image), true);
    }
    m_btnPause->hide();

    m_playProgress->setBottomImage(res + QStringLiteral("/VEditSource/slider_play_bottom.png"));
    m_playProgress->setTopImage(res + QStringLiteral("/VEditSource/slider_play_top.png"));
    m_playProgress->setRange(0, 100);
    m_playProgress->setCircle(true);
    m_playProgress->setCircleLenght(3);
    m_playProgress->setFormat(QString());
    m_playProgress->setEnabledPull(true);
    m_playProgress->setValue(0);

    QVEInitCtrlStyle::SetLabel(m_lblTime, QStringLiteral("00:00:00 / 00:00:00"), 12);
    m_lblTime->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    connect(m_btnPlay, &QAbstractButton::clicked, this, &QPlayerOperationForm::onBtnPlay);
    connect(m_btnPause, &QAbstractButton::clicked, this, &QPlayerOperationForm::onBtnPause);
    connect(m_btnStop, &QAbstractButton::clicked, this, &QPlayerOperationForm::onBtnStop);
    connect(m_playProgress, &QZTBaseSlider::sendProgressValue, this, &QPlayerOperationForm::emitProgressValue);
    connect(m_playProgress, &QZTBaseSlider::sendPressEvent, this, &QPlayerOperationForm::sliderPressEvent);
    connect(m_playProgress, &QZTBaseSlider::sendReleseEvent, this, &QPlayerOperationForm::sliderReleaseEvent);
    connect(m_btnSnapshot, &QAbstractButton::clicked, this, &QPlayerOperationForm::emitSnapshot);
    connect(m_btnSnapshotMenu, &QAbstractButton::clicked, this, &QPlayerOperationForm::emitSnapshotMenu);
}

void QPlayerOperationForm::onBtnPlay()
{
    m_btnPlay->hide();
    m_btnPause->show();
    emit emitPlay();
}

void QPlayerOperationForm::onBtnPause()
{
    m_btnPlay->show();
    m_btnPause->hide();
    emit emitPause();
}

void QPlayerOperationForm::onBtnStop()
{
    m_btnPlay->show();
    m_btnPause->hide();
    emit emitStop();
}

void QPlayerOperationForm::showPlayOrPause(bool bPlay)
{
    m_btnPlay->setHidden(bPlay);
    m_btnPause->setHidden(!bPlay);
}

void QPlayerOperationForm::setTime(QString time)
{
    m_lblTime->setText(time);
    // A longer text (a clip of a hundred hours or more) widens the label instead of being cut.
    const int needed = m_lblTime->fontMetrics().horizontalAdvance(time);
    if (needed > m_lblTime->width()) {
        m_lblTime->resize(needed, m_lblTime->height());
        layoutRow();
    }
}

void QPlayerOperationForm::playFinish()
{
    m_playProgress->setValue(0);
    m_btnPlay->show();
    m_btnPause->hide();
}

void QPlayerOperationForm::setPlayProcess(double value)
{
    m_playProgress->setValue(value * 100);
}

void QPlayerOperationForm::sliderPressEvent(QMouseEvent *)
{
    emit emitSliderPress();
}

void QPlayerOperationForm::sliderReleaseEvent(QMouseEvent *)
{
    emit emitSliderRelease();
}

static int rightEdge(const QWidget *w)
{
    return w->x() + w->width() - 1;
}

void QPlayerOperationForm::layoutRow()
{
    const int H = height();
    auto place = [H](QWidget *w, int x) { w->move(x, (H - w->height()) / 2); };
    place(m_btnSnapshot, 12);
    place(m_btnSnapshotMenu, rightEdge(m_btnSnapshot));
    place(m_btnPlay, rightEdge(m_btnSnapshotMenu) + 12);
    place(m_btnPause, rightEdge(m_btnSnapshotMenu) + 12);
    place(m_btnStop, rightEdge(m_btnPause) + 12);
    place(m_lblTime, width() - 12 - m_lblTime->width());
    m_playProgress->resize(m_lblTime->x() - 24 - rightEdge(m_btnStop), m_playProgress->height());
    place(m_playProgress, rightEdge(m_btnStop) + 12);
}

void QPlayerOperationForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    layoutRow();
}

void QPlayerOperationForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutRow();
}

void QPlayerOperationForm::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(QBaseImageDraw::GetRoundedRectanglePath(QRectF(rect()), 4.0), QColor(53, 53, 53));
}
