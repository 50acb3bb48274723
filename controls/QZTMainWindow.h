#pragma once
// A QMainWindow with the frameless window behaviour of QBaseDrawWidget.

#include "QBaseDrawWidget.h"

#include <QMainWindow>

class QZTMainWindow : public QMainWindow, public QBaseDrawWidget
{
    Q_OBJECT
public:
    explicit QZTMainWindow(QWidget *parent = nullptr, dlgType type = 1);

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
