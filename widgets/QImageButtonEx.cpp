#include "QImageButtonEx.h"

#include "QIAnyUtil.h"

#include <QPainter>

QImageButtonEx::QImageButtonEx(QWidget *parent) : QTextImageButton(parent) {}

void QImageButtonEx::addItemCount()
{
    ++m_count;
    repaint();
}

void QImageButtonEx::resetCount()
{
    m_count = 0;
    repaint();
}

void QImageButtonEx::paintEvent(QPaintEvent *e)
{
    QTextImageButton::paintEvent(e);
    if (m_count <= 0)
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    QPixmap badge(QIAnyUtil::getResourcePath() + QStringLiteral("/image/Common_bg/btn_count.png"));
    if (!badge.isNull()) {
        badge.setDevicePixelRatio(2.0);
        QPixmap scaled = badge.scaled(40, 40, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        scaled.setDevicePixelRatio(2.0);
        p.drawPixmap(width() - 22, 5, scaled);
    }
    QFont font = p.font();
    font.setFamily(QStringLiteral("Tahoma"));
    QString text;
    if (m_count < 100) {
        text = QString::number(m_count);
        font.setPixelSize(11);
    } else {
        text = QStringLiteral("99+");
        font.setPixelSize(9);
    }
    p.setFont(font);
    p.setPen(QColor(255, 255, 255));
    p.drawText(QRect(width() - 22, 5, 20, 20), Qt::AlignCenter, text);
}
