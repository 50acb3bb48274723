#include "QCustomComboBox.h"

#include <QAction>
#include <QMenu>

QCustomComboBox::QCustomComboBox(QWidget *parent) : QCustomImageWidget(parent)
{
    m_itemWidth = width() - 8;
    InitCombox();
}

QCustomComboBox::~QCustomComboBox()
{
    qDeleteAll(m_items);
    m_items.clear();
    qDeleteAll(m_actions);
    m_actions.clear();
    delete m_menu;
}

void QCustomComboBox::InitCombox()
{
    if (!m_menu) {
        m_menu = new QMenu(this);
        // Queued: the menu opens after the press has been handled and painted.
        connect(this, &QCustomComboBox::emitShowItemMenu, this, &QCustomComboBox::ShowItemMenu, Qt::QueuedConnection);
    }
    clear();
}

void QCustomComboBox::addItem(const QString &text)
{
    auto *item = new QCustomComboBoxItem;
    item->text = text;
    m_items.append(item);
    auto *action = new QAction(text, this);
    connect(action, &QAction::triggered, this, &QCustomComboBox::OnAction);
    m_menu->addAction(action);
    m_actions.append(action);
    if (m_currentIndex == -1)
        setCurrentIndex(0);
    if (m_autoGrow)
        growForText(text);
}

void QCustomComboBox::addItems(const QStringList &texts)
{
    for (const QString &text : texts)
        addItem(text);
}

void QCustomComboBox::addItemIcon(int index, const QString &path)
{
    if (!IsValid(index))
        return;
    m_actions[index]->setIcon(QIcon(path));
}

bool QCustomComboBox::IsValid(int index) const
{
    return index >= 0 && index < m_actions.size();
}

void QCustomComboBox::setCurrentIndex(int index)
{
    if (!IsValid(index))
        return;
    const QString text = m_actions[index]->text();
    setBtnText(text);
    setToolTip(text);
    m_currentIndex = index;
    emit currentIndexChanged(index);
}

QString QCustomComboBox::currentText() const
{
    return IsValid(m_currentIndex) ? m_items[m_currentIndex]->text : QString();
}

void QCustomComboBox::setIndexText(int index, const QString &text)
{
    if (!IsValid(index))
        return;
    m_actions[index]->setText(text);
    if (index == m_currentIndex) {
        setBtnText(m_actions[index]->text());
        setToolTip(m_actions[index]->text());
    }
}

void QCustomComboBox::setEditText(const QString &text)
{
    setBtnText(text);
}

void QCustomComboBox::clear()
{
    m_menu->clear();
    qDeleteAll(m_actions);
    m_actions.clear();
    qDeleteAll(m_items);
    m_items.clear();
    m_currentIndex = -1;
    setBtnText(QString());
}

void QCustomComboBox::DeleteItem(int index)
{
    if (m_actions.isEmpty())
        return;
    // Callers rely on an index past the end meaning the last entry.
    if (index < 0 || index >= m_actions.size())
        index = m_actions.size() - 1;
    QAction *action = m_actions.takeAt(index);
    m_menu->removeAction(action);
    delete action;
    delete m_items.takeAt(index);
}

void QCustomComboBox::setItemDataString(int index, const QString &data)
{
    if (IsValid(index))
        m_items[index]->dataString = data;
}

QString QCustomComboBox::itemDataString(int index) const
{
    return IsValid(index) ? m_items[index]->dataString : QString();
}

void QCustomComboBox::setItemData(int index, void *data)
{
    if (IsValid(index))
        m_items[index]->data = data;
}

void *QCustomComboBox::itemData(int index) const
{
    return IsValid(index) ? m_items[index]->data : nullptr;
}

QString QCustomComboBox::itemText(int index) const
{
    return IsValid(index) ? m_items[index]->text : QString();
}

void QCustomComboBox::setItemStyleSheet(const QString &sheet)
{
    m_itemStyleSheet = sheet;
    m_menu->setStyleSheet(sheet);
}

void QCustomComboBox::applyMenuFont()
{
    QFont font = m_menu->font();
    font.setFamily(QStringLiteral("Tahoma"));
    // The list takes its size in the unit of the field's text (pixels, as on the look's own platform, where a
    // point is a pixel): as points the list would be a third bigger than the field it drops from.
    font.setPixelSize(m_itemFontPointSize);
    m_menu->setFont(font);
}

void QCustomComboBox::growForText(const QString &text)
{
    applyMenuFont();
    const QFontMetrics fm(m_menu->font());
    const int w = fm.horizontalAdvance(text);
    const int h = fm.height();
    if (w > m_itemWidth)
        m_itemWidth = w + 5;
    m_menu->setStyleSheet(m_itemStyleSheet +
                          QStringLiteral("QMenu:item{height:%1px;width:%2;}").arg(h + 5).arg(m_itemWidth));
}

void QCustomComboBox::setShowItemRect(const QRect &rect)
{
    applyMenuFont();
    m_menu->setStyleSheet(m_menu->styleSheet() +
                          QStringLiteral("QMenu:item{height:%1px;width:%2;}").arg(rect.height()).arg(rect.width()));
    m_autoGrow = false;
}

void QCustomComboBox::OnAction()
{
    const int index = m_actions.indexOf(qobject_cast<QAction *>(sender()));
    if (index == m_currentIndex)
        return;
    setCurrentIndex(index);
    if (IsValid(index))
        emit activated(index);
}

void QCustomComboBox::ShowItemMenu()
{
    if (m_actions.isEmpty())
        return;
    const QPoint topLeft = mapToGlobal(QPoint(0, 0));
    m_menu->popup(QPoint(topLeft.x() + m_popupX, topLeft.y() + height()));
}

void QCustomComboBox::mousePressEvent(QMouseEvent *e)
{
    emit emitShowItemMenu();
    QCustomImageWidget::mousePressEvent(e);
}

void QCustomComboBox::mouseReleaseEvent(QMouseEvent *e)
{
    QCustomImageWidget::mouseReleaseEvent(e);
}

void QCustomComboBox::enterEvent(QEvent *e)
{
    QCustomImageWidget::enterEvent(e);
}

void QCustomComboBox::leaveEvent(QEvent *e)
{
    QCustomImageWidget::leaveEvent(e);
}
