#include "QZTMainWindow.h"

#include <QMouseEvent>

QZTMainWindow::QZTMainWindow(QWidget *parent, dlgType type) : QMainWindow(parent), QBaseDrawWidget(this, type) {}

void QZTMainWindow::mousePressEvent(QMouseEvent *e)
{
    QWidget::mousePressEvent(e);
    QBaseDrawWidget::mousePressEvent(e);
}

void QZTMainWindow::mouseReleaseEvent(QMouseEvent *e)
{
    QWidget::mouseReleaseEvent(e);
    QBaseDrawWidget::mouseReleaseEvent(e);
}

void QZTMainWindow::mouseDoubleClickEvent(QMouseEvent *e)
{
    QWidget::mouseDoubleClickEvent(e);
    QBaseDrawWidget::mouseDoubleClickEvent(e);
}

void QZTMainWindow::mouseMoveEvent(QMouseEvent *e)
{
    QWidget::mouseMoveEvent(e);
    QBaseDrawWidget::mouseMoveEvent(e);
}

void QZTMainWindow::focusOutEvent(QFocusEvent *e)
{
    QWidget::focusOutEvent(e);
    QBaseDrawWidget::focusOutEvent(e);
}

void QZTMainWindow::paintEvent(QPaintEvent *e)
{
    QWidget::paintEvent(e);
    QBaseDrawWidget::paintEvent(e);
}

void QZTMainWindow::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    resetControlLocation();
}

void QZTMainWindow::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    resetControlLocation();
}
