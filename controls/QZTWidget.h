#pragma once
// A QWidget with the frameless window behaviour of QBaseDrawWidget.

#include "QBaseDrawWidget.h"

#include <QWidget>

class QZTWidget : public QWidget, public QBaseDrawWidget
{
    Q_OBJECT
public:
    explicit QZTWidget(QWidget *parent = nullptr, dlgType type = 2);

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void showEvent(QShowEvent *e) override;
};
