#include "QZTCheckBox.h"

QZTCheckBox::QZTCheckBox(QWidget *parent) : QCheckBox(parent), QZTBaseBoxDraw(this, CheckBox) {}

bool QZTCheckBox::setCheckImage(const QString &checked, const QString &unchecked, const QString &partial,
                                bool twoFrames)
{
    return QZTBaseBoxDraw::setCheckImage(checked, unchecked, partial, false, twoFrames);
}

bool QZTCheckBox::setCheckImage(const QImage *checked, const QImage *unchecked, const QImage *partial, bool twoFrames,
                                bool copy)
{
    return QZTBaseBoxDraw::setCheckImage(checked, unchecked, partial, false, twoFrames, copy);
}

void QZTCheckBox::adjustSize()
{
    if (isCustomDraw())
        QZTBaseBoxDraw::adjustSize();
    else
        QCheckBox::adjustSize();
}

void QZTCheckBox::paintEvent(QPaintEvent *e)
{
    if (isCustomDraw())
        QZTBaseBoxDraw::paintEvent(e);
    else
        QCheckBox::paintEvent(e);
}

void QZTCheckBox::mousePressEvent(QMouseEvent *e)
{
    QAbstractButton::mousePressEvent(e);
}

bool QZTCheckBox::hitButton(const QPoint &) const
{
    return true;
}
