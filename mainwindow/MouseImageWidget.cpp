#include "MouseImageWidget.h"

#include "MediaListRules.h"
#include "QBaseImageDraw.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimerEvent>

MouseImageWidget::MouseImageWidget(QWidget *parent) : QWidget(parent) {}

MouseImageWidget::~MouseImageWidget()
{
    dropBackground();
    dropOwnImage();
    delete m_stateImage;
}

void MouseImageWidget::dropBackground()
{
    if (m_ownBackground)
        delete m_background;
    m_background = nullptr;
    m_ownBackground = false;
}

void MouseImageWidget::dropOwnImage()
{
    if (m_ownImage)
        delete m_image;
    m_image = nullptr;
    m_ownImage = false;
}

void MouseImageWidget::resizeToBackground()
{
    // A fixed size set by the owner wins over the picture's size.
    if (!m_background || minimumSize() == maximumSize())
        return;
    resize(m_background->size() / 2);
}

void MouseImageWidget::setAllImage(const QString &background, QImage *image, const QString &stateImage)
{
    if (!background.isEmpty()) {
        QPixmap loaded(background);
        if (!loaded.isNull()) {
            dropBackground();
            m_background = new QPixmap(loaded);
            m_background->setDevicePixelRatio(2.0);
            m_ownBackground = true;
        }
    }
    delete m_stateImage;
    m_stateImage = nullptr;
    dropOwnImage();
    m_image = image;
    if (!stateImage.isEmpty()) {
        m_stateImage = new QPixmap(stateImage);
        m_stateImage->setDevicePixelRatio(2.0);
    }
    resizeToBackground();
    update();
}

void MouseImageWidget::setBackgroundImage(const QString &path)
{
    QPixmap pixmap(path);
    if (!pixmap.isNull())
        setBackgroundImage(&pixmap, true);
}

void MouseImageWidget::setBackgroundImage(QPixmap *pixmap, bool copy)
{
    dropBackground();
    if (!pixmap)
        return;
    m_background = copy ? new QPixmap(*pixmap) : pixmap;
    m_ownBackground = copy;
    m_background->setDevicePixelRatio(2.0);
    resizeToBackground();
    update();
}

void MouseImageWidget::setVideoImage(const QString &path)
{
    dropOwnImage();
    m_image = new QImage(path);
    m_ownImage = true;
    update();
}

void MouseImageWidget::ResetVideoImage()
{
    if (m_ownImage)
        dropOwnImage();
    m_image = nullptr;
    update();
}

void MouseImageWidget::setStateImage(const QString &path)
{
    delete m_stateImage;
    m_stateImage = new QPixmap(path);
    m_stateImage->setDevicePixelRatio(2.0);
    update();
}

void MouseImageWidget::setMAX(bool full)
{
    m_full = full;
    if (full && m_background)
        resize(m_background->size());
    else if (!full)
        resize(52, 36);
}

void MouseImageWidget::showPlayBtn(bool show)
{
    m_overlay = show;
    repaint();
}

void MouseImageWidget::setBgColor(const QColor &color)
{
    m_bgColor = color;
    repaint();
}

void MouseImageWidget::setIcon(const QString &path)
{
    m_icon = QPixmap(path);
    update();
}

void MouseImageWidget::setIconShow(bool show)
{
    m_iconShown = show;
    repaint();
}

void MouseImageWidget::startRotate()
{
    m_angle = 0;
    if (m_timerId == -1)
        m_timerId = startTimer(m_delay, Qt::CoarseTimer);
}

void MouseImageWidget::stopRotate()
{
    if (m_timerId != -1)
        killTimer(m_timerId);
    m_timerId = -1;
    update();
}

void MouseImageWidget::setAnimationDelay(int delay)
{
    m_delay = delay;
    if (m_timerId != -1) {
        killTimer(m_timerId);
        m_timerId = startTimer(m_delay, Qt::CoarseTimer);
    }
}

void MouseImageWidget::timerEvent(QTimerEvent *e)
{
    if (e->timerId() != m_timerId)
        return QWidget::timerEvent(e);
    m_angle = (m_angle + 10) % 360;
    update();
}

void MouseImageWidget::mousePressEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton && m_hover != 2) {
        m_hover = 2;
        repaint();
    }
    e->ignore(); // the row underneath takes the press too
}

void MouseImageWidget::mouseReleaseEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton) {
        if (m_hover == 2) {
            m_hover = 1;
            repaint();
        }
        emit emitMouseRelease();
    }
    e->ignore();
}

void MouseImageWidget::enterEvent(QEvent *e)
{
    QWidget::enterEvent(e);
    if (m_hover != 1) {
        m_hover = 1;
        repaint();
    }
    emit emitEnterEvent();
}

void MouseImageWidget::leaveEvent(QEvent *e)
{
    QWidget::leaveEvent(e);
    setCursor(Qt::ArrowCursor);
    m_hover = 0;
    repaint();
    emit emitleaveEvent();
}

void MouseImageWidget::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const int w = width();
    const int h = height();
    if (m_background)
        p.drawPixmap(rect(), *m_background);
    else
        p.fillRect(rect(), m_bgColor);
    if (m_image && !m_image->isNull()) {
        int x = 0, y = 0, cw = 0, ch = 0;
        MediaListRules::cropToAspect(m_image->width(), m_image->height(), w, h, &x, &y, &cw, &ch);
        if (cw > 0 && ch > 0) {
            p.fillRect(rect(), Qt::black);
            p.save();
            if (m_timerId != -1) {
                p.translate(w / 2.0, h / 2.0);
                p.rotate(m_angle);
                p.translate(-w / 2.0, -h / 2.0);
            }
            p.drawImage(rect(), *m_image, QRect(x, y, cw, ch));
            p.restore();
        }
    }
    if (!m_overlay && m_iconShown) {
        if (!m_icon.isNull()) {
            const QSize s = m_icon.size() / 2;
            p.drawPixmap(QRect(w - 3 - s.width(), h - 3 - s.height(), s.width(), s.height()), m_icon);
        } else {
            p.fillRect(QRect(QPoint(w - 10, h - 10), QPoint(w - 1, h - 1)), QColor(255, 0, 0));
        }
    }
    if (m_overlay && m_stateImage && !m_stateImage->isNull()) {
        const int fw = m_stateImage->width() / 8;
        const int fh = m_stateImage->height() / 2;
        const int frame = m_hover == 2 ? 2 : (m_hover == 1 ? 1 : 0);
        QBaseImageDraw::drawPixmap(p, QRect((w - fw) / 2, (h - fh) / 2, fw, fh), QRect(frame * fw, 0, fw, fh),
                                   *m_stateImage);
    }
}
