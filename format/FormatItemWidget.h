#pragma once
// The scrolling grid of profile tiles: one category of one catalogue, five tiles a row, exactly one
// selected. The tiles' signals are passed on to the chooser.

#include "ui_FormatItemWidget.h"

#include <QList>
#include <QScrollArea>

class FormatItem;
class QPlistRead;

class FormatItemWidget : public QScrollArea, public Ui::FormatItemWidget
{
    Q_OBJECT
public:
    explicit FormatItemWidget(QWidget *parent = nullptr);
    ~FormatItemWidget() override;

    void RefreshItem(const QString &categories, QPlistRead *plist, bool lossless);
    void AdjustItemPos(FormatItem *item);
    void setDefaultItem(const QString &itemID);
    QString getSelItemIcon() const;
    QList<FormatItem *> items() const { return m_items; }
    FormatItem *selectedItem() const { return m_selItem; }

signals:
    void emitItemPress(QString categories, QString itemName);
    void emitClickBtnSet(QString itemID);
    void emitClickFormatWgt();
    void emitDoubleClick();

public slots:
    void ItemPress(QString categories, QString itemID, bool all);

protected:
    void paintEvent(QPaintEvent *) override {}
    void mousePressEvent(QMouseEvent *e) override;

private:
    void clearItems();

    QList<FormatItem *> m_items;
    FormatItem *m_selItem = nullptr;
};
