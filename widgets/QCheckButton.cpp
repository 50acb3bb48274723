#include "QCheckButton.h"

#include "NineGridDraw.h"
#include "SkinImageLoad.h"

#include <QMouseEvent>
#include <QPainter>

QCheckButton::QCheckButton(QWidget *parent) : QCommonWidget(parent) {}

void QCheckButton::setText(const QString &text)
{
    m_text = text;
    update();
}

bool QCheckButton::setCheckImage(const QString &checkedPath, const QString &uncheckedPath)
{
    // An image that does not load leaves an empty picture: the label then starts at the left edge.
    m_checked = QPixmap();
    m_unchecked = QPixmap();
    const bool checkedOk = SkinImageLoad::pixmap2x(checkedPath, m_checked);
    const bool uncheckedOk = SkinImageLoad::pixmap2x(uncheckedPath, m_unchecked);
    m_imageRect = QRect(0, 0, m_checked.width() / 2, m_checked.height() / 2);
    m_textRect.setCoords(m_imageRect.width() + 5, 0, width() - 1, height() - 1);
    update();
    return checkedOk && uncheckedOk;
}

void QCheckButton::setFont(const QFont &font)
{
    QCommonWidget::setFont(font);
    m_measureFont = font;
}

void QCheckButton::adjustSize()
{
    if (m_text.isEmpty())
        return;
    resize(m_imageRect.width() + 5 + QFontMetrics(m_measureFont).horizontalAdvance(m_text), height());
}

void QCheckButton::setChecked(bool checked)
{
    m_state = checked ? 2 : 0;
    update();
}

void QCheckButton::mousePressEvent(QMouseEvent *e)
{
    if (!m_radio && m_state != 0)
        m_state = 0;
    else
        m_state = 2;
    update();
    emit clicked();
    QWidget::mousePressEvent(e);
}

void QCheckButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    QRect imageRect = m_imageRect;
    if (imageRect.top() <= 0)
        imageRect.moveTop((height() - imageRect.height()) / 2);
    const QPixmap &image = m_state == 2 ? m_checked : m_unchecked;
    if (!image.isNull() && imageRect.width() > 0 && imageRect.height() > 0)
        p.drawPixmap(imageRect, image);

    if (m_text.isEmpty())
        return;
    QFont font;
    if (m_fontCopy) {
        font = *m_fontCopy;
    } else {
        font = p.font();
        font.setWeight(50);
        font.setFamily(m_family);
        font.setPixelSize(m_pixelSize);
    }
    m_measureFont = font;
    if (m_textRect.width() == 0)
        m_textRect.setRight(width() - 1);
    if (m_textRect.height() == 0)
        m_textRect.setBottom(height() - 1);
    NineGridDraw::drawElidedLine(p, m_textRect, m_text, font, m_textColor);
}
