#include "QZTComboBoxItem.h"

#include <QFontMetrics>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>

QZTComboBoxItem::QZTComboBoxItem(QWidget *parent, QListWidgetItem *item)
    : QWidget(parent), QZTBaseRectImageDraw(this), m_item(item)
{
    setDrawTextMargins(5, 0, 0, 0);
    setBtnMode(true);
}

void QZTComboBoxItem::setItemAttribute(const QComboBoxItemAttribute &attribute)
{
    m_attribute = attribute;
    update();
}

int QZTComboBoxItem::calcItemWidth(const QString &text, const QFont &font) const
{
    // The widest row keeps as much room after its text as before it, so that a long text does not touch
    // the popup's right border when the rows' right margin is 0.
    const QMargins m = drawTextMargins();
    return QFontMetrics(font).horizontalAdvance(text) + m.left() + qMax(m.right(), m.left()) + 1;
}

int QZTComboBoxItem::index() const
{
    if (!m_item || !m_item->listWidget())
        return -1;
    return m_item->listWidget()->row(m_item);
}

void QZTComboBoxItem::setSeparatorHeight(int height)
{
    m_separatorHeight = height;
    update();
}

void QZTComboBoxItem::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const int W = width(), H = height();
    painter.setPen(Qt::NoPen);
    setCheckState(false);
    QColor bg = m_attribute.backgroundColor;
    QListWidget *list = m_item ? m_item->listWidget() : nullptr;
    if (m_attribute.hoverColorSet) {
        if (list && list->currentItem() == m_item) {
            bg = m_attribute.selectedColor;
            setCheckState(true);
        } else if (m_hovered) {
            bg = m_attribute.hoverColor;
        }
    } else if (m_hovered) {
        bg = m_attribute.selectedColor;
    }
    painter.fillRect(0, 0, W, H, bg);
    const int s = m_attribute.spacing;
    if (s > 0 && list) {
        const int row = list->row(m_item);
        if (row > 0 && s >= 2)
            painter.fillRect(0, 0, W, s / 2, m_attribute.spacingColor);
        if (row < list->count() - 1)
            painter.fillRect(0, H - m_separatorHeight - (s + 1) / 2, W, (s + 1) / 2, m_attribute.spacingColor);
    }
    if (m_item) {
        setDrawText(m_item->data(Qt::DisplayRole).toString());
        drawIcon(painter);
        setAlignment(m_attribute.alignment);
        drawRectText(painter);
    }
    if (m_separatorHeight > 0)
        painter.fillRect(QRect(QPoint(1, H - m_separatorHeight), QPoint(W - 2, H - 1)), m_attribute.separatorColor);
}

void QZTComboBoxItem::mousePressEvent(QMouseEvent *e)
{
    mousePressEventDraw(e);
    QWidget::mousePressEvent(e);
}

void QZTComboBoxItem::mouseReleaseEvent(QMouseEvent *e)
{
    mouseReleaseEventDraw(e);
    QWidget::mouseReleaseEvent(e);
}

void QZTComboBoxItem::mouseMoveEvent(QMouseEvent *e)
{
    QWidget::mouseMoveEvent(e);
}

void QZTComboBoxItem::enterEvent(QEvent *e)
{
    enterEventDraw(e);
    QWidget::enterEvent(e);
    m_hovered = true;
    update();
}

void QZTComboBoxItem::leaveEvent(QEvent *e)
{
    leaveEventDraw(e);
    QWidget::leaveEvent(e);
    m_hovered = false;
    update();
}

void QZTComboBoxItem::placeWidget()
{
    if (!m_widget)
        return;
    const int x = m_attribute.widgetPos.x() < 0 ? 2 : m_attribute.widgetPos.x();
    const int rowHeight = m_item ? m_item->sizeHint().height() : height();
    const int y = m_attribute.widgetPos.y() < 0 ? (rowHeight - m_separatorHeight - m_widget->height()) / 2
                                                : m_attribute.widgetPos.y();
    m_widget->move(x, y);
}

void QZTComboBoxItem::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    placeWidget();
}

void QZTComboBoxItem::changeEvent(QEvent *e)
{
    changeEventDraw(e);
    QWidget::changeEvent(e);
}
