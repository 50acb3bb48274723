#include "QHorizontalListItem.h"

#include "QIAnyUtil.h"
#include "QVEInitCtrlStyle.h"

#include <QFontMetrics>

QHorizontalListItem::QHorizontalListItem(QWidget *parent) : QBaseItem(parent)
{
    setupUi(this);
    setMinimumWidth(56);
    setMaximumWidth(56);
    QVEInitCtrlStyle::SetFont(m_lblTitle, 11);
    QVEInitCtrlStyle::SetPalette(m_lblTitle, QPalette::WindowText, QColor(255, 255, 255));
    for (QZTWidget *w : {m_wdgCoverImage, m_wdgImage}) {
        w->setAttribute(Qt::WA_TranslucentBackground);
        w->setBackgrounColor(Qt::transparent);
        // Clicks and hovering belong to the tile.
        w->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    m_lblTitle->setAttribute(Qt::WA_TransparentForMouseEvents);
    setCoverImage(QIAnyUtil::getResourcePath() + QStringLiteral("/VEditSource/normal.png"));
}

void QHorizontalListItem::setCoverImage(const QString &path)
{
    if (!path.isEmpty()) {
        m_frameStrip = QImage(path);
        if (!m_frameStrip.isNull()) {
            m_wdgCoverImage->resize(m_frameStrip.width() / 8, m_frameStrip.height() / 2);
            m_lblTitle->resize(m_wdgCoverImage->width() + 2, m_lblTitle->height());
            m_wdgImage->setFixedSize(m_wdgCoverImage->size());
            if (!m_title.isEmpty())
                showTitle(); // the caption follows the new width
            setMouseState(getMouseState());
        }
    }
    update();
}

void QHorizontalListItem::setItem(const QString &imagePath, const QString &title)
{
    m_title = title;
    if (!imagePath.isEmpty()) {
        m_picture = QImage(imagePath);
        m_wdgImage->setBackgroundImage(m_picture, false);
        m_wdgImage->setGridViewInfo(rectSize(), rectSize(), rectSize(), rectSize());
        setMouseState(getMouseState());
    }
    showTitle();
    m_lblTitle->setToolTip(m_title);
    updateControlsPosition();
    update();
}

// One line, cut short at the right when the name is wider than the tile; the tool tip carries the whole
// name.
void QHorizontalListItem::showTitle()
{
    m_lblTitle->setText(m_lblTitle->fontMetrics().elidedText(m_title, Qt::ElideRight, m_lblTitle->width()));
}

void QHorizontalListItem::setMouseState(QMouseState state)
{
    if (!m_frameStrip.isNull()) {
        const int q = m_frameStrip.width() / 4;
        const int k = (state == Normal || state == Hover || state == Selected) ? int(state) : 3;
        m_wdgCoverImage->setBackgroundImage(m_frameStrip.copy(k * q, 0, q, m_frameStrip.height()), false);
        m_wdgCoverImage->setGridViewInfo(rectSize(), rectSize(), rectSize(), rectSize());
    }
    QBaseItem::setMouseState(state);
}

void QHorizontalListItem::updateControlsPosition()
{
    const QSize c = m_wdgCoverImage->size();
    const QSize l = m_lblTitle->size();
    m_wdgCoverImage->move((width() - c.width()) / 2, (height() - c.height() - l.height() - 2) / 2);
    m_wdgImage->move(m_wdgCoverImage->pos());
    m_lblTitle->move((width() - l.width()) / 2, m_wdgCoverImage->y() + c.height() + 1);
}

void QHorizontalListItem::mousePressEvent(QMouseEvent *event)
{
    QBaseItem::mousePressEvent(event);
    setMouseState(getMouseState());
}

void QHorizontalListItem::mouseDoubleClickEvent(QMouseEvent *) {}

void QHorizontalListItem::enterEvent(QEvent *event)
{
    QBaseItem::enterEvent(event);
    setMouseState(getMouseState());
}

void QHorizontalListItem::leaveEvent(QEvent *event)
{
    QBaseItem::leaveEvent(event);
    setMouseState(getMouseState());
}

void QHorizontalListItem::paintEvent(QPaintEvent *event)
{
    QBaseItem::paintEvent(event);
}

void QHorizontalListItem::resizeEvent(QResizeEvent *event)
{
    QBaseItem::resizeEvent(event);
    updateControlsPosition();
}

void QHorizontalListItem::showEvent(QShowEvent *) {}
