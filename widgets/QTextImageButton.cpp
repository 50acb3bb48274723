#include "QTextImageButton.h"

#include "NineGridDraw.h"
#include "SkinImageLoad.h"

#include <QMouseEvent>
#include <QPainter>

QTextImageButton::QTextImageButton(QWidget *parent) : QPushButton(parent) {}

bool QTextImageButton::setBtnImage(const QString &path)
{
    if (!SkinImageLoad::image2x(path, m_strip))
        return false;
    setFixedSize(m_strip.width() / 8, m_strip.height() / 2);
    m_textRect = QRect(0, 0, width(), height());
    return true;
}

bool QTextImageButton::setBtnImageAndText(const QString &path, const QString &text, int pixelSize)
{
    if (!setBtnImage(path))
        return false;
    m_text = text;
    m_textPixelSize = pixelSize;
    return true;
}

bool QTextImageButton::setBtnImageForRect(const QString &path, const QRect &rect)
{
    if (!SkinImageLoad::image2x(path, m_strip))
        return false;
    if (rect.width() != 0 && rect.height() != 0) {
        setFixedSize(rect.size());
        m_imageRect = rect;
    } else {
        setFixedSize(m_strip.width() / 8, m_strip.height() / 2);
    }
    m_textRect = QRect(0, 0, width(), height());
    return true;
}

void QTextImageButton::setImgBtnRect(const QRect &rect)
{
    setFixedSize(rect.size());
    m_imageRect = rect;
    m_textRect = QRect(0, 0, width(), height());
    update();
}

void QTextImageButton::setGridView(bool grid)
{
    m_grid = grid;
    update();
}

void QTextImageButton::setBtnText(const QString &text)
{
    m_text = text;
    update();
}

void QTextImageButton::setTextPOS(int x, int y)
{
    m_textX = x;
    m_textY = y;
    m_textRect.setTopLeft(QPoint(x, y));
}

void QTextImageButton::setCheckState(bool checked)
{
    m_checked = checked;
    update();
}

void QTextImageButton::seedChick()
{
    click();
}

void QTextImageButton::setTextColor(const QColor &color)
{
    m_normalColor = m_hoverColor = m_pressedColor = m_disabledColor = m_currentColor = color;
}

void QTextImageButton::setTextColor(const QColor &normal, const QColor &hover, const QColor &pressed,
                                    const QColor &disabled)
{
    m_normalColor = normal;
    m_hoverColor = hover;
    m_pressedColor = pressed;
    m_disabledColor = disabled;
}

bool QTextImageButton::setBtnIcon(const QString &path)
{
    if (!SkinImageLoad::pixmap1x(path, m_icon))
        return false;
    update();
    return true;
}

void QTextImageButton::setState(int state, bool repaintNow)
{
    if (m_state == state)
        return;
    m_state = state;
    if (repaintNow)
        repaint();
}

void QTextImageButton::mousePressEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton) {
        if (!isEnabled())
            m_state = 3;
        else
            setState(2, true);
    }
    QPushButton::mousePressEvent(e);
}

void QTextImageButton::mouseReleaseEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton) {
        if (!isEnabled())
            m_state = 3;
        else if (m_state == 2)
            setState(0, true);
    }
    QPushButton::mouseReleaseEvent(e);
}

void QTextImageButton::enterEvent(QEvent *e)
{
    setCursor(Qt::PointingHandCursor);
    if (!isEnabled())
        m_state = 3;
    else
        setState(1, true);
    QPushButton::enterEvent(e);
}

void QTextImageButton::leaveEvent(QEvent *e)
{
    if (!isEnabled())
        m_state = 3;
    else if (m_state == 1)
        setState(0, true);
    QPushButton::leaveEvent(e);
}

void QTextImageButton::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::EnabledChange)
        m_state = isEnabled() ? 0 : 3;
    QPushButton::changeEvent(e);
}

void QTextImageButton::paintEvent(QPaintEvent *)
{
    if (m_strip.isNull())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    if (m_imageRect.width() == 0 || m_imageRect.height() == 0)
        m_imageRect = QRect(0, 0, width(), height());

    int frameIndex = -1;
    if (m_checked) {
        frameIndex = 2;
        m_currentColor = m_pressedColor;
    } else {
        switch (m_state) {
        case 0:
            frameIndex = 0;
            m_currentColor = m_normalColor;
            break;
        case 1:
            frameIndex = 1;
            m_currentColor = m_hoverColor;
            break;
        case 2:
            frameIndex = 2;
            m_currentColor = m_pressedColor;
            break;
        case 3:
            frameIndex = m_overState ? 2 : 3;
            m_currentColor = m_disabledColor;
            break;
        default:
            break;
        }
    }
    if (frameIndex < 0) {
        p.drawImage(QPointF(0, 0), m_strip);
    } else {
        const int fw = m_strip.width() / 4;
        QImage frame = m_strip.copy(frameIndex * fw, 0, fw, m_strip.height());
        frame.setDevicePixelRatio(2.0);
        imageDrawRect(p, m_imageRect, frame);
    }

    if (!m_icon.isNull()) {
        if (m_iconRect.width() == 0)
            m_iconRect.setWidth(m_icon.width());
        if (m_iconRect.height() == 0)
            m_iconRect.setHeight(m_icon.height());
        const QPixmap scaled = m_icon.scaled(m_iconRect.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
        p.drawPixmap(m_iconRect.topLeft(), scaled);
    }

    if (!m_text.isEmpty()) {
        const QFont oldFont = p.font();
        QFont font = p.font();
        font.setWeight(m_bold ? 75 : 50);
        font.setFamily(m_fontFamily);
        font.setPixelSize(m_textPixelSize);
        p.setFont(font);
        p.setPen(m_currentColor);
        const QString shown = QFontMetrics(font).elidedText(m_text, Qt::ElideRight, m_textRect.width());
        const Qt::Alignment align =
            m_textRect.left() != 0 ? (Qt::AlignLeft | Qt::AlignVCenter) : (Qt::AlignHCenter | Qt::AlignVCenter);
        p.drawText(m_textRect, align, shown);
        p.setFont(oldFont);
    }
}

void QTextImageButton::imageDrawRect(QPainter &p, const QRect &rect, const QImage &frame)
{
    if (!m_grid) {
        p.drawImage(QRectF(rect), frame);
        return;
    }
    NineGridDraw::drawThirds(p, rect.width(), rect.height(), frame);
}
