#include "QHorizontalListFrom.h"

#include "QHorizontalListItem.h"

#include <QPainter>
#include <QScrollBar>

QHorizontalListFrom::QHorizontalListFrom(QWidget *parent) : QWidget(parent)
{
    setupUi(this);
    // The scroll area fills the list; the tiles and a trailing spacer fill the scroll area.
    setLayout(m_mainLayout);
    setMouseTracking(true);
    m_scrollArea->setFrameShape(QFrame::NoFrame);
    m_scrollArea->setMouseTracking(true);
    m_scrollAreaWidget->setLayout(m_contentLayout);
    m_scrollAreaWidget->setMouseTracking(true);
    m_listLayout->setSpacing(0);
    m_listLayout->setContentsMargins(2, 1, 2, 1);
    delete horizontalLayoutWidget;
    horizontalLayoutWidget = nullptr;
    delete horizontalLayoutWidget_2;
    horizontalLayoutWidget_2 = nullptr;
    setBackgroundColor(m_backgroundColor);
}

QHorizontalListFrom::~QHorizontalListFrom()
{
    clear();
}

void QHorizontalListFrom::addListItem(const QString &imagePath, const QString &title)
{
    auto *item = new QHorizontalListItem(m_scrollAreaWidget);
    connect(item, &QBaseItem::emitMousePress, this, &QHorizontalListFrom::itemMousePress);
    connect(item, &QBaseItem::emitMouseShiftPress, this, &QHorizontalListFrom::itemMouseShiftPress);
    connect(item, &QBaseItem::emitMouseCtrlPress, this, &QHorizontalListFrom::itemMouseCtrlPress);
    connect(item, &QBaseItem::emitShowTreeMenu, this, &QHorizontalListFrom::itemShowTreeMenu);
    item->setBackgroundColor(m_backgroundColor);
    item->setItem(imagePath, title);
    m_listLayout->addWidget(item);
    m_items.append(item);
}

void QHorizontalListFrom::clear()
{
    // The current tile goes with the others: nothing may point at a deleted tile afterwards.
    m_currentItem = nullptr;
    m_currentIndex = -1;
    const QList<QHorizontalListItem *> items = m_items;
    m_items.clear();
    qDeleteAll(items);
}

void QHorizontalListFrom::setBackgroundColor(const QColor &color)
{
    m_backgroundColor = color;
    for (QWidget *w : {static_cast<QWidget *>(m_scrollArea), m_scrollAreaWidget}) {
        QPalette pal = w->palette();
        pal.setColor(QPalette::Window, color);
        w->setPalette(pal);
    }
    for (QHorizontalListItem *item : qAsConst(m_items))
        item->setBackgroundColor(color);
    update();
}

void QHorizontalListFrom::setHorizontalScrollBar(QScrollBar *bar)
{
    m_scrollArea->setHorizontalScrollBar(bar);
}

void QHorizontalListFrom::setVerticalScrollBar(QScrollBar *bar)
{
    m_scrollArea->setVerticalScrollBar(bar);
}

void QHorizontalListFrom::clearSelectState()
{
    for (QHorizontalListItem *item : qAsConst(m_items))
        if (item->getMouseState() != QBaseItem::Normal)
            item->setMouseState(QBaseItem::Normal);
    m_currentItem = nullptr;
    m_currentIndex = -1;
}

void QHorizontalListFrom::setCurrentIndex(int index)
{
    if (index < 0 || index >= m_items.size())
        return;
    for (int i = 0; i < m_items.size(); ++i)
        m_items[i]->setMouseState(i == index ? QBaseItem::Selected : QBaseItem::Normal);
    m_currentItem = m_items[index];
    m_currentIndex = index;
}

void QHorizontalListFrom::itemMousePress()
{
    auto *source = qobject_cast<QHorizontalListItem *>(sender());
    for (QHorizontalListItem *item : qAsConst(m_items))
        if (item != source)
            item->setMouseState(QBaseItem::Normal);
    if (source == m_currentItem)
        return;
    m_currentItem = source;
    // The stored index follows the mouse too, so getCurrentIndex() names the tile the user chose.
    m_currentIndex = m_items.indexOf(source);
    emit currentIndexChanged(m_currentIndex);
}

void QHorizontalListFrom::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_backgroundColor);
}
