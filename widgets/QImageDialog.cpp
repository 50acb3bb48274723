#include "QImageDialog.h"

#include "SkinImageLoad.h"

#include <QMouseEvent>
#include <QPainter>

QString QImageDialog::s_applicationPath;

QImageDialog::QImageDialog(QWidget *parent, Qt::WindowFlags flags) : QDialog(parent, flags) {}

QImageDialog::~QImageDialog() = default;

bool QImageDialog::SetImageBackgroud(const QString &path)
{
    if (!SkinImageLoad::image2x(path, m_background))
        return false;
    SkinImageLoad::sizeToImage(this, m_background, false);
    return true;
}

void QImageDialog::paintEvent(QPaintEvent *)
{
    if (m_background.isNull())
        return;
    QPainter p(this);
    p.drawImage(QPointF(0, 0), m_background);
}

void QImageDialog::mousePressEvent(QMouseEvent *e)
{
    m_pressOffset = e->globalPos() - pos();
    if (e->button() == Qt::LeftButton)
        m_pressed = true;
    QWidget::mousePressEvent(e);
}

void QImageDialog::mouseReleaseEvent(QMouseEvent *e)
{
    m_pressed = false;
    QWidget::mouseReleaseEvent(e);
}

void QImageDialog::mouseMoveEvent(QMouseEvent *e)
{
    if (m_pressed && m_move && m_pressOffset.y() >= 1 && m_pressOffset.y() <= 49)
        move(e->globalPos() - m_pressOffset);
    QWidget::mouseMoveEvent(e);
}
