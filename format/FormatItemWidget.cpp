#include "FormatItemWidget.h"

#include "FormatItem.h"
#include "QPlistRead.h"
#include "QVEInitCtrlStyle.h"
#include "QZTScrollBar.h"

#include <QMouseEvent>

FormatItemWidget::FormatItemWidget(QWidget *parent) : QScrollArea(parent)
{
    setupUi(this);
    setAttribute(Qt::WA_TranslucentBackground);
    m_scrollAreaWidget->setLayout(m_Layout);
    m_Layout->setContentsMargins(0, 0, 3, 3);
    m_Layout->setHorizontalSpacing(6);
    m_Layout->setVerticalSpacing(8);
    setFrameStyle(0);
    QPalette pal = QPalette();
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        pal.setColor(g, QPalette::Window, QColor(51, 51, 51));
    setPalette(pal);

    auto *bar = new QZTScrollBar(Qt::Vertical, this);
    QVEInitCtrlStyle::SetQZTScrollBar(bar);
    setVerticalScrollBar(bar);
}

FormatItemWidget::~FormatItemWidget()
{
    clearItems();
}

void FormatItemWidget::clearItems()
{
    qDeleteAll(m_items);
    m_items.clear();
    m_selItem = nullptr;
}

void FormatItemWidget::RefreshItem(const QString &categories, QPlistRead *plist, bool lossless)
{
    clearItems();
    if (!plist)
        return;
    const std::vector<FormatBaseInfo *> *list = plist->getCategoriesInfoList(categories.toUtf8().toStdString());
    if (!list)
        return;
    for (const FormatBaseInfo *info : *list) {
        auto *item = new FormatItem(m_scrollAreaWidget);
        item->setId(QString::fromUtf8(info->id.c_str()));
        item->setIcon(QString::fromUtf8(info->icon.c_str()));
        item->setItemName(QString::fromUtf8(info->title.c_str()));
        item->setCategories(QString::fromUtf8(info->category.c_str()));
        item->setHiddenSet(lossless);
        item->setExtName(QString::fromUtf8(info->ext.c_str()));
        connect(item, &FormatItem::emitOnSet, this, &FormatItemWidget::emitClickBtnSet);
        connect(item, &FormatItem::emitItemDoubleClick, this, &FormatItemWidget::emitDoubleClick);
        AdjustItemPos(item);
        item->show();
    }
}

void FormatItemWidget::AdjustItemPos(FormatItem *item)
{
    m_items.append(item);
    connect(item, &FormatItem::emitItemPress, this, &FormatItemWidget::ItemPress);
    QVBoxLayout *const columns[5] = {m_LayoutR1, m_LayoutL1, m_LayoutL2, m_LayoutM, m_LayoutR2};
    columns[m_items.size() % 5]->addWidget(item);
}

void FormatItemWidget::setDefaultItem(const QString &itemID)
{
    for (FormatItem *item : qAsConst(m_items)) {
        if (item->getItemID() == itemID) {
            item->setItemState(2);
            m_selItem = item;
        } else {
            item->setItemState(0);
        }
    }
}

QString FormatItemWidget::getSelItemIcon() const
{
    return m_selItem ? m_selItem->getIcon() : QString();
}

void FormatItemWidget::ItemPress(QString categories, QString itemID, bool all)
{
    if (!all)
        emit emitItemPress(categories, itemID);
    m_selItem = nullptr;
    for (FormatItem *item : qAsConst(m_items)) {
        if (item == sender())
            m_selItem = item;
        else
            item->setItemState(0);
    }
}

void FormatItemWidget::mousePressEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton)
        emit emitClickFormatWgt();
}
