#pragma once
// One tile of a package list: a picture under a state frame (normal, hover, selected) with the title
// below, elided to the tile's width.

#include "QBaseItem.h"
#include "ui_QHorizontalListItem.h"

#include <QImage>
#include <QString>

class QHorizontalListItem : public QBaseItem, public Ui::QHorizontalListItem
{
    Q_OBJECT
public:
    explicit QHorizontalListItem(QWidget *parent = nullptr);

    void setCoverImage(const QString &path);
    void setItem(const QString &imagePath, const QString &title);
    void setMouseState(QMouseState state);
    void updateControlsPosition();
    QString title() const { return m_title; }

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void showTitle();

    QImage m_frameStrip;
    QImage m_picture;
    QString m_title;
};
