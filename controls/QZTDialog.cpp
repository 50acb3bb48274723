#include "QZTDialog.h"

#include "WindowFilters.h"

#include <QMouseEvent>

QZTDialog::QZTDialog(QWidget *parent, dlgType type) : QDialog(parent), QBaseDrawWidget(this, type)
{
    rs::installWindowFilters();
}

void QZTDialog::mousePressEvent(QMouseEvent *e)
{
    QWidget::mousePressEvent(e);
    QBaseDrawWidget::mousePressEvent(e);
}

void QZTDialog::mouseReleaseEvent(QMouseEvent *e)
{
    QWidget::mouseReleaseEvent(e);
    QBaseDrawWidget::mouseReleaseEvent(e);
}

void QZTDialog::mouseDoubleClickEvent(QMouseEvent *e)
{
    QWidget::mouseDoubleClickEvent(e);
    QBaseDrawWidget::mouseDoubleClickEvent(e);
}

void QZTDialog::mouseMoveEvent(QMouseEvent *e)
{
    QWidget::mouseMoveEvent(e);
    QBaseDrawWidget::mouseMoveEvent(e);
}

void QZTDialog::focusOutEvent(QFocusEvent *e)
{
    QWidget::focusOutEvent(e);
    QBaseDrawWidget::focusOutEvent(e);
}

void QZTDialog::paintEvent(QPaintEvent *e)
{
    QWidget::paintEvent(e);
    QBaseDrawWidget::paintEvent(e);
}

void QZTDialog::resizeEvent(QResizeEvent *e)
{
    QDialog::resizeEvent(e);
    resetControlLocation();
}

void QZTDialog::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    resetControlLocation();
}
