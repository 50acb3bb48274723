#include "QImageButton.h"

#include "NineGridDraw.h"
#include "SkinImageLoad.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QMovie>
#include <QPainter>

QImageButton::QImageButton(QWidget *parent) : QPushButton(parent)
{
    // A skinned button draws no focus, so it takes none: a click must not leave it holding the keyboard,
    // where Space would press it again. Enter presses only a button a dialog makes its default.
    setFocusPolicy(Qt::NoFocus);
    setAutoDefault(false);
}

QImageButton::~QImageButton() = default;

bool QImageButton::setBtnImage(const QString &path)
{
    if (!SkinImageLoad::image2x(path, m_strip))
        return false;
    setFixedSize(SkinImageLoad::stripFrameSize(m_strip));
    return true;
}

void QImageButton::setBtnanimation(int x, int y, const QString &path)
{
    // A later call replaces the earlier label and movie instead of stacking them.
    delete m_animationLabel;
    m_animationLabel = nullptr;
    m_movie = std::make_unique<QMovie>(path);
    m_animationLabel = new QLabel(this);
    m_animationLabel->setGeometry(x, y, m_strip.width() / 4, m_strip.height());
    m_animationLabel->setMovie(m_movie.get());
    m_animationLabel->hide();
    m_animation = false;
}

void QImageButton::setAnimationStart(bool on)
{
    if (!m_movie)
        return;
    m_animation = on;
    if (on) {
        m_movie->start();
        m_animationLabel->show();
    } else {
        m_movie->stop();
        m_animationLabel->hide();
    }
}

void QImageButton::setBtnText(const QRect &rect, const QString &text, bool show)
{
    m_textRect = rect;
    m_text = text;
    m_showText = show;
}

void QImageButton::mousePressEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton) {
        m_pressX = e->globalPos().x() - mapToGlobal(QPoint(0, 0)).x();
        if (m_look.press(isEnabled()))
            repaint();
    }
    QPushButton::mousePressEvent(e);
}

void QImageButton::mouseReleaseEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton && m_look.release(isEnabled()))
        repaint();
    QPushButton::mouseReleaseEvent(e);
}

void QImageButton::mouseMoveEvent(QMouseEvent *e)
{
    if (m_look.state() == 2)
        emit mouseMove(e, m_pressX);
}

void QImageButton::enterEvent(QEvent *e)
{
    setCursor(Qt::PointingHandCursor);
    if (m_look.enter(isEnabled()))
        repaint();
    QPushButton::enterEvent(e);
}

void QImageButton::leaveEvent(QEvent *e)
{
    if (m_look.leave(isEnabled()))
        repaint();
    QPushButton::leaveEvent(e);
}

void QImageButton::paintEvent(QPaintEvent *)
{
    if (m_strip.isNull())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    NineGridDraw::drawStripFrame(p, m_strip, std::max(0, m_look.frameIndex()));
    if (m_showText) {
        const QPen oldPen = p.pen();
        p.setPen(QColor(255, 255, 255));
        QFont font = p.font();
        font.setFamily(QStringLiteral("Tahoma"));
        font.setPixelSize(m_fontSize);
        p.setFont(font);
        const QString shown =
            QFontMetrics(QApplication::font()).elidedText(m_text, Qt::ElideMiddle, m_textRect.width() + 15);
        p.drawText(m_textRect, Qt::AlignHCenter | Qt::AlignVCenter, shown);
        p.setPen(oldPen);
    }
}

void QImageButton::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::EnabledChange)
        m_look.enabledChanged(isEnabled());
    QPushButton::changeEvent(e);
}
