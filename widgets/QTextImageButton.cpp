#include "QTextImageButton.h"

#include "NineGridDraw.h"
#include "SkinImageLoad.h"

#include <QMouseEvent>
#include <QPainter>

QTextImageButton::QTextImageButton(QWidget *parent) : QPushButton(parent)
{
    // A skinned button draws no focus, so it takes none: a click must not leave it holding the keyboard,
    // where Space would press it again. Enter presses only a button a dialog makes its default.
    setFocusPolicy(Qt::NoFocus);
    setAutoDefault(false);
}

bool QTextImageButton::setBtnImage(const QString &path)
{
    if (!SkinImageLoad::image2x(path, m_strip))
        return false;
    setFixedSize(SkinImageLoad::stripFrameSize(m_strip));
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
        setFixedSize(SkinImageLoad::stripFrameSize(m_strip));
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
    m_colours.setAll(color);
}

void QTextImageButton::setTextColor(const QColor &normal, const QColor &hover, const QColor &pressed,
                                    const QColor &disabled)
{
    m_colours.set(normal, hover, pressed, disabled);
}

bool QTextImageButton::setBtnIcon(const QString &path)
{
    if (!SkinImageLoad::pixmap1x(path, m_icon))
        return false;
    update();
    return true;
}

void QTextImageButton::mousePressEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton && m_look.press(isEnabled()))
        repaint();
    QPushButton::mousePressEvent(e);
}

void QTextImageButton::mouseReleaseEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton && m_look.release(isEnabled()))
        repaint();
    QPushButton::mouseReleaseEvent(e);
}

void QTextImageButton::enterEvent(QEvent *e)
{
    setCursor(Qt::PointingHandCursor);
    if (m_look.enter(isEnabled()))
        repaint();
    QPushButton::enterEvent(e);
}

void QTextImageButton::leaveEvent(QEvent *e)
{
    if (m_look.leave(isEnabled()))
        repaint();
    QPushButton::leaveEvent(e);
}

void QTextImageButton::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::EnabledChange)
        m_look.enabledChanged(isEnabled());
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

    // Checked shows the pressed look whatever the state; a state outside 0..3 draws the whole strip.
    const int frameIndex = m_checked ? 2 : m_look.frameIndex();
    if (m_checked)
        m_colours.current = m_colours.pressed;
    else if (frameIndex >= 0)
        m_colours.current = m_colours.forState(m_look.state());
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
        QFont font = p.font();
        font.setWeight(m_bold ? 75 : 50);
        font.setFamily(m_fontFamily);
        font.setPixelSize(m_textPixelSize);
        NineGridDraw::drawElidedLine(p, m_textRect, m_text, font, m_colours.current);
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
