#include "QImageWidget.h"

#include "NineGridDraw.h"
#include "SkinImageLoad.h"

#include <QCoreApplication>
#include <QDebug>
#include <QMouseEvent>
#include <QPainter>

QString QImageWidget::s_applicationPath;

QImageWidget::QImageWidget(QWidget *parent) : QWidget(parent)
{
    if (s_applicationPath.isEmpty())
        s_applicationPath = QCoreApplication::applicationDirPath() + QStringLiteral("/");
}

QImageWidget::~QImageWidget() = default;

bool QImageWidget::SetImageBackgroud(const QString &path, bool fixedSize)
{
    if (!SkinImageLoad::image2x(path, m_background))
        return false;
    if (fixedSize)
        SkinImageLoad::sizeToImage(this, m_background, false);
    return true;
}

bool QImageWidget::setBackgroundImage(const QString &path, bool resizable)
{
    if (!SkinImageLoad::image2x(path, m_background))
        return false;
    SkinImageLoad::sizeToImage(this, m_background, resizable);
    m_corners.thirdsOf(m_background);
    update();
    return true;
}

void QImageWidget::setGridViewInfo(rectSize topLeft, rectSize topRight, rectSize bottomLeft, rectSize bottomRight)
{
    m_corners.set(topLeft, topRight, bottomLeft, bottomRight);
    update();
}

void QImageWidget::setBackgroundColor(int r, int g, int b)
{
    m_color = QColor(r, g, b);
}

void QImageWidget::imageDrawRect(QPainter &p, const QRect &rect, const QImage &image)
{
    p.save();
    p.translate(rect.topLeft());
    NineGridDraw::drawThirds(p, rect.width(), rect.height(), image);
    p.restore();
}

void QImageWidget::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (!m_background.isNull())
        imageDrawRect(p, QRect(0, 0, width(), height()), m_background);
    else if (m_color)
        p.fillRect(rect(), *m_color);
}

void QImageWidget::mousePressEvent(QMouseEvent *e)
{
    if (m_grab)
        m_pressed = true;
    QWidget::mousePressEvent(e);
}

void QImageWidget::mouseReleaseEvent(QMouseEvent *e)
{
    m_pressed = false;
    QWidget::mouseReleaseEvent(e);
}

void QImageWidget::mouseMoveEvent(QMouseEvent *e)
{
    if (m_grab && m_pressed) {
        const QPoint global(qRound(e->screenPos().x()), qRound(e->screenPos().y()));
        move(global);
        qDebug("%d %d %d", int(e->buttons()), global.x(), global.y());
    }
    QWidget::mouseMoveEvent(e);
}
