#pragma once
// A frameless, translucent QMenu drawn by its own QZTMenuStyle from a record of colours and images.

#include "QZTMenuStyle.h"

#include <QMenu>

class QZTMenu : public QMenu
{
    Q_OBJECT
public:
    explicit QZTMenu(QWidget *parent = nullptr);
    QZTMenu(const QString &title, QWidget *parent = nullptr);
    ~QZTMenu() override;

    void InitMenu();
    QAction *addMenu(QZTMenu *menu);
    QZTMenu *addMenu(const QString &title);
    QZTMenu *addMenu(const QIcon &icon, const QString &title);
    void setStyleAttribute(QZTMenuStyleAttribute *attribute);
    QZTMenuStyleAttribute *styleAttribute() const;
    void setBackgroundImage(const QString &path, bool unused);
    void setRadioImage(const QString &path);
    void setCheckStateImage(const QString &checked, const QString &unchecked);
    void setFrameWidth(int width) { styleAttribute()->frameWidth = width; }
    void setFrameColor(const QColor &c) { styleAttribute()->frameColor = c; }
    void setAreaColor(const QColor &c) { styleAttribute()->areaColor = c; }
    void setSeparatorColor(const QColor &c) { styleAttribute()->separatorColor = c; }
    void setItemColor(const QColor &c) { styleAttribute()->itemColor = c; }
    void setItemTextColor(const QColor &c) { styleAttribute()->itemTextColor = c; }
    void setItemSelectColor(const QColor &c) { styleAttribute()->itemSelectColor = c; }
    void setItemTextSelectColor(const QColor &c) { styleAttribute()->itemTextSelectColor = c; }
    void setItemEabledColor(const QColor &c) { styleAttribute()->itemEabledColor = c; }
    void setItemTextEabledColor(const QColor &c) { styleAttribute()->itemTextEabledColor = c; }
    void setItemWidth(int w) { styleAttribute()->itemWidth = w; }
    void setItemHeight(int h) { styleAttribute()->itemHeight = h; }

protected:
    bool event(QEvent *e) override;

private:
    QZTMenuStyle *m_style = nullptr;
};
