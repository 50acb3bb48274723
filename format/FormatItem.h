#pragma once
// One profile tile of the format chooser's grid: icon, title, hover and selected look, and while
// selected a small "Set" button that asks for the profile's custom settings.

#include "ui_FormatItem.h"

#include <QPixmap>
#include <QWidget>

typedef int QFormatItemState; // 0 normal, 1 hover, 2 selected

class FormatItem : public QWidget, public Ui::FormatItem
{
    Q_OBJECT
public:
    explicit FormatItem(QWidget *parent = nullptr);
    ~FormatItem() override;

    void setId(const QString &id) { m_itemID = id; }
    QString getItemID() const { return m_itemID; }
    void setItemName(const QString &name);
    QString getItemName() const { return m_itemName; }
    void setExtName(const QString &ext) { m_extName = ext; }
    QString getExtName() const { return m_extName; }
    void setCategories(const QString &categories) { m_categories = categories; }
    QString getCategories() const { return m_categories; }
    void setIcon(const QString &name);
    QString getIcon() const { return m_iconPath; }
    QString getfilePath() const { return m_iconFileName; }
    bool hasIcon() const { return !m_icon.isNull(); }
    void setBgImage(const QString &relativePath);
    void setItemState(QFormatItemState state);
    QFormatItemState getItemState() const { return m_itemState; }
    void setHiddenSet(bool hidden);
    bool getHiddenSet() const { return m_hiddenSet; }
    void setFavorite(bool on) { m_favorite = on; }
    bool getFavorite() const { return m_favorite; }
    void setFavoriteChange(bool on) { m_favoriteChange = on; }
    bool getFavoriteChange() const { return m_favoriteChange; }
    void setBtnState() { m_favorite = !m_favorite; }

signals:
    void emitItemPress(QString categories, QString ItemID, bool all);
    void emitItemDoubleClick();
    void emitOnSet(QString itemID);

public slots:
    void OnBtnSet();
    void BtnPress();
    void BtnEnter() {}
    void BtnLeave() {}

protected:
    void paintEvent(QPaintEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void enterEvent(QEvent *e) override;
    void leaveEvent(QEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;

private:
    void placeChildren();

    QString m_iconFileName;
    QPixmap m_icon;
    QPixmap m_background;
    QString m_iconPath;
    QString m_categories;
    QString m_itemName;
    QString m_extName;
    QString m_itemID;
    QFormatItemState m_itemState = 0;
    bool m_favorite = false;
    bool m_favoriteChange = false;
    bool m_hiddenSet = false;
};
