#include "QZTButtonExtend.h"

#include "UserPicture.h"

#include <QPainter>
#include <QPainterPath>

QZTButtonExtend::QZTButtonExtend(QWidget *parent) : QZTBaseButton(parent) {}

bool QZTButtonExtend::showTag(const QRect &rect, const QPixmap &picture)
{
    if (picture.isNull()) {
        m_tag = false;
    } else {
        m_tag = true;
        m_tagRect = rect;
        m_tagImage = picture;
    }
    update();
    return m_tag;
}

bool QZTButtonExtend::setTagImg(const QRect &rect, const QString &path)
{
    if (path.isEmpty())
        return showTag(rect, QPixmap());
    // A file that does not load is a failure; the picture shown so far stays.
    const QImage picture = UserPicture::fromFile(path, pictureBox(rect));
    if (picture.isNull())
        return false;
    return showTag(rect, QPixmap::fromImage(picture));
}

bool QZTButtonExtend::setTagImg(const QRect &rect, const QImage &image)
{
    if (image.isNull())
        return showTag(rect, QPixmap());
    const QSize box = pictureBox(rect);
    if (image.width() <= box.width() && image.height() <= box.height())
        return showTag(rect, QPixmap::fromImage(image));
    return showTag(rect, QPixmap::fromImage(image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

bool QZTButtonExtend::setTagImg(const QRect &rect, const std::string &bytes)
{
    const QImage picture =
        UserPicture::fromData(QByteArray::fromRawData(bytes.data(), int(bytes.size())), pictureBox(rect));
    return showTag(rect, picture.isNull() ? QPixmap() : QPixmap::fromImage(picture));
}

QSize QZTButtonExtend::pictureBox(const QRect &rect)
{
    // Pixels enough for the rectangle on a 2x screen, and no more.
    return rect.size().expandedTo(QSize(1, 1)) * 2;
}

void QZTButtonExtend::setIconColor(const QColor &color)
{
    m_iconColor = color;
    update();
}

void QZTButtonExtend::setIconColorRect(const QRect &rect)
{
    m_iconColorRect = rect;
    update();
}

QRect QZTButtonExtend::fittedRect(const QRect &rect, int w, int h)
{
    QRect r = rect;
    if (w <= 0 || h <= 0)
        return r;
    if (w > h) {
        const int fitted = h * rect.width() / w;
        r.setTop(rect.top() + (rect.height() - fitted) / 2);
        r.setHeight(fitted);
    } else if (w < h) {
        const int fitted = w * rect.height() / h;
        r.setLeft(rect.left() + (rect.width() - fitted) / 2);
        r.setWidth(fitted);
    }
    return r;
}

void QZTButtonExtend::paintEvent(QPaintEvent *e)
{
    QZTBaseButton::paintEvent(e);
    QPainter p(this);
    if (m_tag) {
        p.fillRect(rect(), m_background);
        p.setRenderHint(QPainter::SmoothPixmapTransform, true);
        p.drawPixmap(fittedRect(m_tagRect, m_tagImage.width(), m_tagImage.height()), m_tagImage);
    }
    if (m_iconColorRect.left() <= m_iconColorRect.right() && m_iconColorRect.top() <= m_iconColorRect.bottom()) {
        p.fillRect(m_iconColorRect, m_iconColor);
        QPainterPath outline;
        outline.addRect(m_iconColorRect);
        p.setPen(QColor(128, 128, 128));
        p.setBrush(Qt::NoBrush);
        p.drawPath(outline);
    }
}
