#pragma once
// Combo box on the image field base whose entries pop up as a QMenu under the field; each entry keeps a
// data string and an untyped pointer that the box never dereferences.

#include "QCustomImageWidget.h"

#include <QList>
#include <QStringList>

class QAction;
class QMenu;

struct QCustomComboBoxItem
{
    QString text;
    QString dataString;
    void *data = nullptr;
};

class QCustomComboBox : public QCustomImageWidget
{
    Q_OBJECT
public:
    explicit QCustomComboBox(QWidget *parent = nullptr);
    ~QCustomComboBox() override;

    void InitCombox();
    void addItem(const QString &text);
    void addItems(const QStringList &texts);
    void addItemIcon(int index, const QString &path);
    void setCurrentIndex(int index);
    int currentIndex() const { return m_currentIndex; }
    QString currentText() const;
    bool IsValid(int index) const;
    void setIndexText(int index, const QString &text);
    void setEditText(const QString &text);
    void clear();
    void DeleteItem(int index);
    int size() const { return m_actions.size(); }
    int count() const { return m_actions.size(); }
    bool isEmpty() const { return m_actions.isEmpty(); }
    void setItemDataString(int index, const QString &data);
    QString itemDataString(int index) const;
    void setItemData(int index, void *data);
    void *itemData(int index) const;
    QString itemText(int index) const;
    void setItemStyleSheet(const QString &sheet);
    void setShowItemRect(const QRect &rect);
    void setPopupX(int x) { m_popupX = x; }
    void setItemDefaultW(int width) { m_itemWidth = width; }
    void setItemFontPointSize(int size) { m_itemFontPointSize = size; }

    QMenu *menu() const { return m_menu; }
    QList<QAction *> actions() const { return m_actions; }
    int itemWidth() const { return m_itemWidth; }

signals:
    void activated(int index);
    void currentIndexChanged(int index);
    void emitShowItemMenu();

public slots:
    void OnAction();
    void ShowItemMenu();

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void enterEvent(QEvent *e) override;
    void leaveEvent(QEvent *e) override;

private:
    void applyMenuFont();
    void growForText(const QString &text);

    QMenu *m_menu = nullptr;
    QList<QAction *> m_actions;
    QList<QCustomComboBoxItem *> m_items;
    bool m_autoGrow = true;
    int m_itemWidth = 0;
    int m_currentIndex = -1;
    int m_popupX = 0;
    QString m_itemStyleSheet;
    int m_itemFontPointSize = 8;
};
