#include "QCustomImageWidget.h"

#include "NineGridDraw.h"
#include "SkinImageLoad.h"

#include <QMouseEvent>
#include <QPainter>

QCustomImageWidget::QCustomImageWidget(QWidget *parent) : QWidget(parent) {}

QCustomImageWidget::~QCustomImageWidget() = default;

bool QCustomImageWidget::setBtnImage(const QString &path)
{
    if (!SkinImageLoad::image2x(path, m_strip))
        return false;
    setFixedSize(SkinImageLoad::stripFrameSize(m_strip));
    m_textRect = QRect(0, 0, width(), height());
    return true;
}

bool QCustomImageWidget::setBtnImageAndText(const QString &path, const QString &text, int size)
{
    if (!setBtnImage(path))
        return false;
    m_text = text;
    m_textSize = size;
    return true;
}

bool QCustomImageWidget::setImageForRect(const QString &path, const QRect &rect)
{
    if (!SkinImageLoad::image2x(path, m_strip))
        return false;
    QRect r = rect;
    if (r.width() == 0)
        r.setWidth(m_strip.width() / 8);
    if (r.height() == 0)
        r.setHeight(m_strip.height() / 2);
    setFixedSize(r.size());
    m_imageRect = r;
    m_textRect = QRect(0, 0, width(), height());
    return true;
}

void QCustomImageWidget::setImgBtnRect(const QRect &rect)
{
    setFixedSize(rect.size());
    m_imageRect = rect;
    m_textRect = QRect(0, 0, width(), height());
    update();
}

void QCustomImageWidget::setBtnText(const QString &text)
{
    m_text = text;
    update();
}

void QCustomImageWidget::setTextPOS(int x, int y)
{
    m_textRect.setLeft(x);
    m_textRect.setTop(y);
}

void QCustomImageWidget::setTextColor(const QColor &color)
{
    m_colours.setAll(color);
}

void QCustomImageWidget::setTextColor(const QColor &normal, const QColor &hover, const QColor &pressed,
                                      const QColor &disabled)
{
    m_colours.set(normal, hover, pressed, disabled);
}

bool QCustomImageWidget::setBtnIcon(const QString &path, bool frames)
{
    if (!SkinImageLoad::pixmap2x(path, m_icon))
        return false;
    m_iconFrames = frames;
    update();
    return true;
}

void QCustomImageWidget::setCheckState(bool checked)
{
    m_checked = checked;
    update();
}

void QCustomImageWidget::mousePressEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton && m_look.press(isEnabled()))
        repaint();
    QWidget::mousePressEvent(e);
}

void QCustomImageWidget::mouseReleaseEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton && m_look.release(isEnabled()))
        repaint();
    QWidget::mouseReleaseEvent(e);
}

void QCustomImageWidget::enterEvent(QEvent *e)
{
    if (m_buttonMode)
        setCursor(Qt::PointingHandCursor);
    if (m_look.enter(isEnabled()))
        repaint();
    QWidget::enterEvent(e);
}

void QCustomImageWidget::leaveEvent(QEvent *e)
{
    if (m_look.leave(isEnabled()))
        repaint();
    QWidget::leaveEvent(e);
}

void QCustomImageWidget::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::EnabledChange)
        m_look.enabledChanged(isEnabled());
    QWidget::changeEvent(e);
}

void QCustomImageWidget::drawIcon(QPainter &p, const QPixmap &icon)
{
    if (m_iconRect.width() == 0)
        m_iconRect.setRight(m_iconRect.left() + icon.width() - 1);
    if (m_iconRect.height() == 0)
        m_iconRect.setBottom(m_iconRect.top() + icon.height() - 1);
    QPixmap scaled =
        icon.scaled(m_iconRect.width(), m_iconRect.height(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    scaled.setDevicePixelRatio(1.0);
    p.drawPixmap(m_iconRect.topLeft(), scaled);
}

QFont QCustomImageWidget::textFont() const
{
    QFont font = this->font();
    font.setFamily(m_fontFamily);
    font.setPixelSize(m_textSize); // the size is given in pixels (setTextPixelSize)
    return font;
}

void QCustomImageWidget::paintEvent(QPaintEvent *)
{
    if (m_strip.isNull())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    if (m_imageRect.width() == 0 || m_imageRect.height() == 0)
        m_imageRect = QRect(0, 0, width(), height());

    // Outside button mode the whole image is the frame; checked shows frame 2 and keeps the colour.
    int frameIndex = -1;
    if (m_buttonMode) {
        frameIndex = m_checked ? 2 : std::max(0, m_look.frameIndex());
        if (!m_checked)
            m_colours.current = m_colours.forState(m_look.state());
    }
    QImage frame;
    if (frameIndex < 0) {
        frame = m_strip;
    } else {
        const int fw = m_strip.width() / 4;
        frame = m_strip.copy(frameIndex * fw, 0, fw, m_strip.height());
        frame.setDevicePixelRatio(2.0);
    }
    NineGridDraw::drawThirds(p, m_imageRect.width(), m_imageRect.height(), frame);

    if (!m_icon.isNull()) {
        if (m_iconFrames) {
            if (m_buttonMode) {
                const int iw = m_icon.width() / 4;
                const int k = frameIndex < 0 ? 0 : frameIndex;
                drawIcon(p, m_icon.copy(k * iw, 0, iw, m_icon.height()));
            }
        } else {
            drawIcon(p, m_icon);
        }
    }

    if (!m_text.isEmpty()) {
        const QFont font = textFont();
        if (m_textRect.width() == 0)
            m_textRect.setRight(width() - 1 - m_textRect.left());
        if (m_textRect.height() == 0)
            m_textRect.setBottom(height() - 1 - m_textRect.top());
        NineGridDraw::drawElidedLine(p, m_textRect, m_text, font, m_colours.current);
    }
}
