#include "QZTStepButtons.h"

#include "QZTBaseButton.h"

#include <QAbstractSpinBox>
#include <QEvent>
#include <QFileInfo>

QZTStepButtons::QZTStepButtons(QAbstractSpinBox *host) : QObject(host), m_host(host)
{
    m_timer.setInterval(100);
    m_timer.setTimerType(Qt::CoarseTimer);
    connect(&m_timer, &QTimer::timeout, this, &QZTStepButtons::tick);
    host->installEventFilter(this);
}

QZTStepButtons::~QZTStepButtons()
{
    m_timer.stop();
}

void QZTStepButtons::deleteButtons()
{
    release();
    delete m_up;
    delete m_down;
    m_up = nullptr;
    m_down = nullptr;
}

bool QZTStepButtons::setImages(const QString &up, const QString &down, bool keepSize)
{
    deleteButtons();
    if (!QFileInfo::exists(up))
        return false;
    m_up = new QZTBaseButton(m_host);
    m_down = new QZTBaseButton(m_host);
    m_up->setButtonImage(up, true);
    m_down->setButtonImage(down, true);
    m_up->setFocusPolicy(Qt::NoFocus);
    m_down->setFocusPolicy(Qt::NoFocus);
    m_up->show();
    m_down->show();
    m_keepSize = keepSize;
    connect(m_up, &QAbstractButton::clicked, m_host, &QAbstractSpinBox::stepUp);
    connect(m_down, &QAbstractButton::clicked, m_host, &QAbstractSpinBox::stepDown);
    connect(m_up, &QAbstractButton::pressed, this, [this] { press(true); });
    connect(m_down, &QAbstractButton::pressed, this, [this] { press(false); });
    connect(m_up, &QAbstractButton::released, this, &QZTStepButtons::release);
    connect(m_down, &QAbstractButton::released, this, &QZTStepButtons::release);
    return true;
}

void QZTStepButtons::setMargins(int left, int top, int right, int bottom)
{
    m_margins = QMargins(qint16(left), qint16(top), qint16(right), qint16(bottom));
    m_host->update();
    m_host->updateGeometry();
}

void QZTStepButtons::place()
{
    if (!m_up && !m_down)
        return;
    const int W = m_host->width(), H = m_host->height();
    if (m_margins.left() < 0)
        m_margins.setLeft(W - (m_up ? m_up->width() : 0) - m_margins.right());
    const int left = m_margins.left(), top = m_margins.top();
    if (m_keepSize) {
        if (m_up)
            m_up->move(left, top);
        if (m_down)
            m_down->move(left, H - m_margins.bottom() - m_down->height());
        return;
    }
    const int upHeight = (H - top - m_margins.bottom()) / 2;
    if (m_up)
        m_up->setGeometry(QRect(QPoint(left, top), QPoint(W - 1 - m_margins.right(), top + upHeight - 1)));
    if (m_down)
        m_down->setGeometry(left, H - m_margins.bottom() - (H - top - m_margins.bottom() - upHeight),
                            W - m_margins.right() - left, H - top - m_margins.bottom() - upHeight);
}

void QZTStepButtons::press(bool up)
{
    if (!m_up)
        return;
    m_stepUp = up;
    m_ticks = 0;
    m_timer.start(); // restarts a running timer: never two at once
}

void QZTStepButtons::release()
{
    m_timer.stop();
    m_ticks = 0;
}

void QZTStepButtons::tick()
{
    // The held button must still be down; a release that never arrived (grab lost) ends the repeat.
    QZTBaseButton *held = m_stepUp ? m_up : m_down;
    if (!held || !held->isDown() || !m_host->isEnabled() || !m_host->isVisible()) {
        release();
        return;
    }
    if (m_ticks >= 6)
        m_host->stepBy(m_stepUp ? 1 : -1);
    ++m_ticks;
}

bool QZTStepButtons::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_host) {
        switch (event->type()) {
        case QEvent::Hide:
        case QEvent::FocusOut:
        case QEvent::EnabledChange:
            if (event->type() != QEvent::EnabledChange || !m_host->isEnabled())
                release();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}
