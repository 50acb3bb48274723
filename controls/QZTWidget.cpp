#include "QZTWidget.h"

#include <QMouseEvent>

QZTWidget::QZTWidget(QWidget *parent, dlgType type) : QWidget(parent), QBaseDrawWidget(this, type) {}

void QZTWidget::mousePressEvent(QMouseEvent *e)
{
    QWidget::mousePressEvent(e);
    QBaseDrawWidget::mousePressEvent(e);
}

void QZTWidget::mouseReleaseEvent(QMouseEvent *e)
{
    QWidget::mouseReleaseEvent(e);
    QBaseDrawWidget::mouseReleaseEvent(e);
}

void QZTWidget::mouseDoubleClickEvent(QMouseEvent *e)
{
    QWidget::mouseDoubleClickEvent(e);
    QBaseDrawWidget::mouseDoubleClickEvent(e);
}

void QZTWidget::mouseMoveEvent(QMouseEvent *e)
{
    QWidget::mouseMoveEvent(e);
    QBaseDrawWidget::mouseMoveEvent(e);
}

void QZTWidget::focusOutEvent(QFocusEvent *e)
{
    QWidget::focusOutEvent(e);
    QBaseDrawWidget::focusOutEvent(e);
}

void QZTWidget::paintEvent(QPaintEvent *e)
{
    QWidget::paintEvent(e);
    QBaseDrawWidget::paintEvent(e);
}

void QZTWidget::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    resetControlLocation();
}

void QZTWidget::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    resetControlLocation();
}
