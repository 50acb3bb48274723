#include "QHorizontalListItem.h"

#include "QIAnyUtil.h"
#include "QVEInitCtrlStyle.h"

#include <QFontMetrics>

#include <algorithm>

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
    m_titleHeight = m_lblTitle->height();
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
                fitTitle(); // the caption follows the new width
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
    fitTitle();
    m_lblTitle->setToolTip(m_title);
    updateControlsPosition();
    update();
}

// Every caption of a row is set in the same font, so that the choices read as siblings: a name wider than
// the tile takes a second line where a space lets both lines fit ("Treble Boost", "Rounded Border"); only a
// name too long for that is cut short.
void QHorizontalListItem::fitTitle()
{
    const int w = m_lblTitle->width();
    QVEInitCtrlStyle::SetFont(m_lblTitle, 11);
    const QFontMetrics fm = m_lblTitle->fontMetrics();
    QString shown;
    bool twoLines = false;
    if (fm.horizontalAdvance(m_title) <= w)
        shown = m_title;
    for (int at = m_title.lastIndexOf(QLatin1Char(' ')); shown.isEmpty() && at > 0;
         at = m_title.lastIndexOf(QLatin1Char(' '), at - 1)) {
        const QString first = m_title.left(at).trimmed();
        const QString second = m_title.mid(at + 1).trimmed();
        if (!first.isEmpty() && !second.isEmpty() && fm.horizontalAdvance(first) <= w &&
            fm.horizontalAdvance(second) <= w) {
            shown = first + QLatin1Char('\n') + second;
            twoLines = true;
        }
    }
    if (shown.isEmpty())
        shown = fm.elidedText(m_title, Qt::ElideRight, w);
    m_lblTitle->resize(w, twoLines ? std::max(m_titleHeight, 2 * fm.lineSpacing() + 2) : m_titleHeight);
    m_lblTitle->setText(shown);
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
    // A caption on two lines grows downwards so that the pictures of a row stay level. A tile too short for
    // such a caption moves its picture up as far as one would need, whatever its own caption takes, so that
    // the pictures of the row still stand level.
    int top = (height() - c.height() - m_titleHeight - 2) / 2;
    const int twoLines = std::max(l.height(), 2 * m_lblTitle->fontMetrics().lineSpacing() + 2);
    const int overflow = top + c.height() + 1 + twoLines - height();
    if (overflow > 0)
        top = std::max(0, top - overflow);
    m_wdgCoverImage->move((width() - c.width()) / 2, top);
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
