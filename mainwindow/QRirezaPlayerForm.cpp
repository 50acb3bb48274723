#include "QRirezaPlayerForm.h"

#include "QIAnyUtil.h"

#include <QPainter>

QRirezaPlayerForm::QRirezaPlayerForm(QWidget *parent) : QWidget(parent)
{
    m_noPlayImage = QImage(QIAnyUtil::getResourcePath() + QStringLiteral("/image/noplay_icon.png"));
    m_noPlayImage.setDevicePixelRatio(2.0);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QRirezaPlayerForm::~QRirezaPlayerForm() = default;

void QRirezaPlayerForm::retranslateUi() {}

void QRirezaPlayerForm::open(ZtVideoConvertItem *item, bool start)
{
    if (item != m_pItem) {
        stopPlayer();
        m_pItem = item;
    }
    if (start && m_pItem && !m_bPlaying) {
        m_bPlaying = true;
        emit emitPlayState(true);
    }
    update();
}

void QRirezaPlayerForm::preparePlayer(ZtVideoConvertItem *item)
{
    open(item, false);
}

void QRirezaPlayerForm::setPlayerItem(ZtVideoConvertItem *item)
{
    open(item, true);
}

void QRirezaPlayerForm::playerItemChanged(ZtVideoConvertItem *) {}

void QRirezaPlayerForm::stopPlayer()
{
    if (!m_bPlaying)
        return;
    m_bPlaying = false;
    emit emitPlayState(false);
    emit emitPlayFinish();
}

void QRirezaPlayerForm::pausePlayer()
{
    if (!m_bPlaying)
        return;
    m_bPlaying = false;
    emit emitPlayState(false);
}

void QRirezaPlayerForm::clearCurrentPlayer()
{
    m_bPlaying = false;
    m_pItem = nullptr;
    update();
}

void QRirezaPlayerForm::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    if (!m_noPlayImage.isNull()) {
        const QSize s = m_noPlayImage.size() / 2;
        p.drawImage(QPoint((width() - s.width()) / 2, (height() - s.height()) / 2), m_noPlayImage);
    }
}
