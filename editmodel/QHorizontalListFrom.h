#pragma once
// A horizontal, scrollable row of package tiles. A plain click selects a tile, clears the others and
// reports its index when it differs from the current one; the pages mark the stored choice with
// setCurrentIndex (which reports nothing).

#include "ui_QHorizontalListFrom.h"

#include <QColor>
#include <QList>
#include <QWidget>

class QHorizontalListItem;
class QScrollBar;

class QHorizontalListFrom : public QWidget, public Ui::QHorizontalListFrom
{
    Q_OBJECT
public:
    explicit QHorizontalListFrom(QWidget *parent = nullptr);
    ~QHorizontalListFrom() override;

    void addListItem(const QString &imagePath, const QString &title);
    void clear();
    void setBackgroundColor(const QColor &color);
    void setHorizontalScrollBar(QScrollBar *bar);
    void setVerticalScrollBar(QScrollBar *bar);
    QScrollArea *getScrollArea() const { return m_scrollArea; }
    void clearSelectState();
    void setCurrentIndex(int index);
    int getCurrentIndex() const { return m_currentIndex; }

    int count() const { return m_items.size(); }
    QHorizontalListItem *item(int index) const { return m_items.value(index, nullptr); }
    QHorizontalListItem *currentItem() const { return m_currentItem; }

signals:
    void currentIndexChanged(int index);

public slots:
    void itemMousePress();
    void itemMouseShiftPress() {}
    void itemMouseCtrlPress() {}
    void itemShowTreeMenu() {}

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_backgroundColor = QColor(74, 74, 74);
    QList<QHorizontalListItem *> m_items;
    QHorizontalListItem *m_currentItem = nullptr;
    int m_currentIndex = -1;
};
