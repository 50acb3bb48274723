#pragma once
// One popup row of the skinned combo box: paints its background (normal, hover, selected), spacing
// bands, separator, icon and text from a QComboBoxItemAttribute, and can carry an embedded widget.

#include "QZTBaseRectImageDraw.h"

#include <QColor>
#include <QPoint>
#include <QWidget>

class QListWidgetItem;

struct QComboBoxItemAttribute
{
    QColor backgroundColor = QColor(255, 255, 255);
    QColor hoverColor = QColor(229, 243, 255);
    QColor selectedColor = QColor(205, 232, 255);
    int spacing = 0;
    QColor spacingColor = Qt::black;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    bool hoverColorSet = false;
    QPoint widgetPos = QPoint(-1, -1);
    QColor separatorColor = Qt::black;
};

class QZTComboBoxItem : public QWidget, public QZTBaseRectImageDraw
{
    Q_OBJECT
public:
    QZTComboBoxItem(QWidget *parent, QListWidgetItem *item);

    void setItemAttribute(const QComboBoxItemAttribute &attribute);
    const QComboBoxItemAttribute &itemAttribute() const { return m_attribute; }
    int calcItemWidth(const QString &text, const QFont &font) const;
    void setWidgtPos(const QPoint &pos) { m_attribute.widgetPos = pos; }
    void setWidgt(QWidget *widget) { m_widget = widget; }
    QWidget *getWidgt() const { return m_widget; }
    int index() const;
    void setSeparatorHeight(int height);
    int separatorHeight() const { return m_separatorHeight; }
    QListWidgetItem *listItem() const { return m_item; }
    bool isHovered() const { return m_hovered; }
    // Places the embedded widget at the attribute's position (x 2 and vertical centring for negatives).
    void placeWidget();

protected:
    void paintEvent(QPaintEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void enterEvent(QEvent *e) override;
    void leaveEvent(QEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void changeEvent(QEvent *e) override;

private:
    QListWidgetItem *m_item = nullptr;
    QComboBoxItemAttribute m_attribute;
    bool m_hovered = false;
    QWidget *m_widget = nullptr;
    int m_separatorHeight = 0;
};
