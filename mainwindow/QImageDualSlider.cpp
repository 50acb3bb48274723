#include "QImageDualSlider.h"

#include "QBaseImageDraw.h"

#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace {
constexpr uint64_t kOneHour = 3600000000ull;
constexpr int kAxisBaseHeight = 89; // handle band + time axis at the default sizes

QImage loadImage(const QString &path)
{
    QImage image(path);
    if (!image.isNull())
        image.setDevicePixelRatio(2.0);
    return image;
}
} // namespace

QImageDualSlider::QImageDualSlider(QWidget *parent) : QWidget(parent)
{
    setMouseTracking(true);
    setFixedHeight(m_margins.top() + m_margins.bottom() + kAxisBaseHeight);
    m_labelFont = font();
    m_labelFont.setFamily(QStringLiteral("Tahoma"));
    m_labelFont.setPixelSize(9);
    m_trim = TrimInfo{0, 0, 0, kOneHour};
    m_minorStep = TrimStrip::minorStep(kOneHour);
    qRegisterMetaType<TrimInfo>("TrimInfo");
    calcGeometry();
}

// ------------------------------------------------------------------------------------------ setters

void QImageDualSlider::SetStartImage(const QString &path)
{
    m_startImage = loadImage(path);
    update();
}

void QImageDualSlider::SetEndImage(const QString &path)
{
    m_endImage = loadImage(path);
    update();
}

void QImageDualSlider::SetSliderImage(const QString &path)
{
    m_cursorImage = loadImage(path);
    update();
}

void QImageDualSlider::SetImageSize(QSize size)
{
    m_imageSize = size;
    reheight();
    calcGeometry();
    update();
}

void QImageDualSlider::SetTimeAxisHeight(int height)
{
    m_axisHeight = height;
    reheight();
    calcGeometry();
    update();
}

void QImageDualSlider::reheight()
{
    setFixedHeight(m_imageSize.height() + m_axisHeight + m_margins.top() + m_margins.bottom());
}

void QImageDualSlider::SetSliderSize(QSize size)
{
    m_cursorSize = size;
    calcGeometry();
    update();
}

void QImageDualSlider::SetMargins(QMargins margins)
{
    m_margins = margins;
    calcGeometry();
    update();
}

void QImageDualSlider::SetPaintImageCount(int count)
{
    m_paintImageCount = std::max(1, count);
    calcGeometry();
    update();
}

void QImageDualSlider::SetImageList(const QList<QImage> &images)
{
    if (images == m_images)
        return;
    m_images = images;
    calcSourceRect();
    update();
}

void QImageDualSlider::AddImage(const QImage &image)
{
    if (m_images.size() >= m_paintImageCount)
        return;
    m_images.append(image);
    if (m_images.size() == 1)
        calcSourceRect();
    update();
}

void QImageDualSlider::clearImageList()
{
    m_images.clear();
    update();
}

void QImageDualSlider::SetTrimInfo(TrimInfo info)
{
    m_empty = false;
    m_trim = info;
    setEnabled(info.duration != 0);
    m_minorStep = TrimStrip::minorStep(info.duration);
    calcGeometry();
    update();
}

TrimInfo QImageDualSlider::trimInfo() const
{
    return layout().trimFromHandles(m_startRect, m_endRect, m_trim.duration, progressValue());
}

void QImageDualSlider::SetProgressValue(double value)
{
    // The user's own drag owns the cursor; the player's reports would make it jump back and forth.
    if (m_pressed && m_activePart != PartNone)
        return;
    m_progress = std::isnan(value) ? 0.0 : std::clamp(value, 0.0, 1.0);
    placeCursor();
    update();
}

double QImageDualSlider::progressValue() const
{
    return layout().progressOf(m_headRect.left());
}

void QImageDualSlider::reset()
{
    m_trim = TrimInfo{0, 0, 0, kOneHour};
    m_minorStep = TrimStrip::minorStep(kOneHour);
    m_progress = 0.0;
    m_images.clear();
    calcGeometry();
    m_empty = true;
    update();
}

// ------------------------------------------------------------------------------------------ geometry

TrimStrip::Layout QImageDualSlider::layout() const
{
    TrimStrip::Layout g;
    g.width = width();
    g.height = height();
    g.l = m_margins.left();
    g.t = m_margins.top();
    g.r = m_margins.right();
    g.b = m_margins.bottom();
    g.hw = m_imageSize.width();
    g.hh = m_imageSize.height();
    g.cw = m_cursorSize.width();
    g.ch = m_cursorSize.height();
    g.axisHeight = m_axisHeight;
    return g;
}

void QImageDualSlider::calcGeometry()
{
    const TrimStrip::Layout g = layout();
    m_contentRect = g.contentRect();
    m_stripRect = g.stripRect();
    m_axisRect = g.axisRect();
    m_startRect = g.startHandle(m_trim);
    m_endRect = g.endHandle(m_trim);
    m_rangeRect =
        QRect(QPoint(m_startRect.right() + 1, m_startRect.top()), QPoint(m_endRect.left() - 1, m_startRect.bottom()));
    m_imageArea = g.imageArea(m_imageInset);
    const int cellWidth = qRound(double(g.stripLength()) / m_paintImageCount);
    m_cellSize = QSize(std::max(1, cellWidth), std::max(1, m_imageArea.height()));
    calcSourceRect();
    placeCursor();
}

void QImageDualSlider::calcSourceRect()
{
    m_sourceRect = QRect();
    if (!m_images.isEmpty() && !m_images.first().isNull()) {
        const QSize is = m_images.first().size();
        const qint64 cw = m_cellSize.width(), ch = m_cellSize.height();
        if (qint64(is.height()) * cw <= qint64(is.width()) * ch) {
            const int w = int(qint64(is.height()) * cw / ch);
            m_sourceRect = QRect((is.width() - w) / 2, 0, w, is.height());
        } else {
            const int h = int(qint64(is.width()) * ch / cw);
            m_sourceRect = QRect(0, (is.height() - h) / 2, is.width(), h);
        }
    }
}

void QImageDualSlider::placeCursor()
{
    m_headRect = layout().cursorHead(m_progress);
    m_lineRect =
        QRect(m_headRect.left(), m_margins.top(), m_headRect.width(), m_contentRect.bottom() - m_margins.top() + 1);
}

void QImageDualSlider::centreCursorAt(int x)
{
    m_headRect.moveLeft(x - m_cursorSize.width() / 2);
    m_lineRect.moveLeft(m_headRect.left());
}

void QImageDualSlider::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    calcGeometry();
}

// ------------------------------------------------------------------------------------------ mouse

void QImageDualSlider::showTimeTip(QMouseEvent *event, uint64_t time)
{
    QToolTip::showText(event->globalPos(), TrimStrip::tooltipTime(time), this);
}

void QImageDualSlider::mousePressEvent(QMouseEvent *event)
{
    QWidget::mousePressEvent(event);
    if (event->button() == Qt::RightButton || !isEnabled())
        return;
    m_pressed = true;
    m_pressPoint = event->pos();
    const QPoint p = m_pressPoint;
    const int half = m_cursorSize.width() / 2;
    const auto atTime = [this](double progress) {
        return static_cast<uint64_t>(static_cast<double>(m_trim.duration) * progress);
    };
    if (m_startRect.contains(p) || m_endRect.contains(p)) {
        const bool start = m_startRect.contains(p);
        emit sendPressEvent(event);
        m_activePart = start ? PartStart : PartEnd;
        m_handleState = 2;
        m_startRectPress = m_startRect;
        m_endRectPress = m_endRect;
        m_rangeRectPress = m_rangeRect;
        if (start)
            m_headRect.moveLeft(m_startRect.right() - half + 1);
        else
            m_headRect.moveLeft(m_endRect.left() - half - 1);
        m_lineRect.moveLeft(m_headRect.left());
        setCursor(Qt::SizeHorCursor);
        m_progress = progressValue();
        showTimeTip(event, atTime(m_progress));
        emit emitProgressValueChanged(m_progress);
        update();
        return;
    }
    // A range that fills the whole strip cannot move: a press on it seeks like one on the thumbnails.
    const bool rangeMovable =
        m_startRect.left() > m_margins.left() || m_endRect.left() < width() - m_margins.right() - m_imageSize.width();
    if (m_rangeRect.contains(p) && rangeMovable) {
        emit sendPressEvent(event);
        m_activePart = PartRange;
        m_startRectPress = m_startRect;
        m_endRectPress = m_endRect;
        m_rangeRectPress = m_rangeRect;
        m_headRect.moveLeft(m_startRect.right() - half + 1);
        m_lineRect.moveLeft(m_headRect.left());
        setCursor(Qt::SizeAllCursor);
        return;
    }
    if (!m_contentRect.contains(p)) {
        m_activePart = PartNone;
        return;
    }
    if (m_stripRect.contains(p)) {
        emit sendPressEvent(event);
        centreCursorAt(p.x());
        m_progress = progressValue();
        emit emitProgressValueChanged(m_progress);
        update();
    }
    showTimeTip(event, atTime(progressValue()));
    m_activePart = PartPosition;
}

void QImageDualSlider::mouseMoveEvent(QMouseEvent *event)
{
    if (!isEnabled())
        return;
    const QPoint p = event->pos();
    const int half = m_cursorSize.width() / 2;
    if (m_pressed) {
        const int d = p.x() - m_pressPoint.x();
        const int maxEndLeft = width() - m_margins.right() - m_imageSize.width();
        switch (m_activePart) {
        case PartPosition:
            centreCursorAt(std::clamp(p.x(), m_stripRect.left(), m_stripRect.right() + 1));
            break;
        case PartStart: {
            int x = std::max(m_margins.left(), m_startRectPress.left() + d);
            // At least one pixel of range stays between the handles: a trim of length 0 is no clip.
            x = std::min(x, m_endRect.left() - m_imageSize.width() - 1);
            m_startRect.moveLeft(x);
            m_headRect.moveLeft(m_startRect.right() - half + 1);
            break;
        }
        case PartEnd: {
            int x = std::min(maxEndLeft, m_endRectPress.left() + d);
            x = std::max(x, m_startRect.right() + 2);
            m_endRect.moveLeft(x);
            m_headRect.moveLeft(m_endRect.left() - half - 1);
            break;
        }
        case PartRange: {
            const int dd =
                std::clamp(d, m_margins.left() - m_startRectPress.left(), maxEndLeft - m_endRectPress.left());
            m_startRect.moveLeft(m_startRectPress.left() + dd);
            m_endRect.moveLeft(m_endRectPress.left() + dd);
            m_headRect.moveLeft(m_startRect.right() - half + 1);
            break;
        }
        default:
            update();
            return;
        }
        m_rangeRect = QRect(QPoint(m_startRect.right() + 1, m_startRect.top()),
                            QPoint(m_endRect.left() - 1, m_startRect.bottom()));
        m_lineRect.moveLeft(m_headRect.left());
        m_progress = progressValue();
        showTimeTip(event, static_cast<uint64_t>(static_cast<double>(m_trim.duration) * m_progress));
        emit emitProgressValueChanged(m_progress);
        update();
        return;
    }
    // Hover.
    if (m_startRect.contains(p)) {
        setCursor(Qt::SizeHorCursor);
        m_activePart = PartStart;
        m_handleState = 1;
        showTimeTip(event, m_trim.start);
    } else if (m_endRect.contains(p)) {
        setCursor(Qt::SizeHorCursor);
        m_activePart = PartEnd;
        m_handleState = 1;
        showTimeTip(event, m_trim.end == 0 ? m_trim.duration : m_trim.end);
    } else if (m_rangeRect.contains(p)) {
        setCursor(Qt::SizeAllCursor);
        m_activePart = PartRange;
        QToolTip::hideText();
    } else if (m_stripRect.contains(p)) {
        setCursor(Qt::ArrowCursor);
        QToolTip::hideText();
    } else {
        setCursor(Qt::ArrowCursor);
        m_activePart = PartNone;
        QToolTip::hideText();
    }
    update();
}

void QImageDualSlider::mouseReleaseEvent(QMouseEvent *event)
{
    QWidget::mouseReleaseEvent(event);
    const bool wasPressed = m_pressed;
    m_pressed = false;
    if (wasPressed && m_activePart == PartRange && m_startRect == m_startRectPress && m_endRect == m_endRectPress &&
        m_stripRect.contains(event->pos())) {
        // A click on the selected range that did not drag it: the user asked for that position.
        centreCursorAt(event->pos().x());
        m_progress = progressValue();
        emit emitProgressValueChanged(m_progress);
    } else if (wasPressed && (m_activePart == PartStart || m_activePart == PartEnd || m_activePart == PartRange)) {
        const TrimInfo fromHandles = trimInfo();
        // A side whose handle did not move keeps its exact time: a click must not round the trim.
        TrimInfo next = m_trim;
        if (m_startRect != m_startRectPress)
            next.start = fromHandles.start;
        if (m_endRect != m_endRectPress)
            next.end = fromHandles.end;
        next.reserved = 0;
        if (next != m_trim) {
            m_trim = next;
            emit emitTrimInfoChanged(m_trim);
        }
        m_handleState = 0;
    } else if (m_activePart == PartNone) {
        setCursor(Qt::ArrowCursor);
    }
    emit sendReleseEvent(event);
    update();
}

void QImageDualSlider::mouseDoubleClickEvent(QMouseEvent *) {}

void QImageDualSlider::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    // A handle lit by hovering goes back to normal once the pointer has left the strip.
    if (m_pressed)
        return;
    m_activePart = PartNone;
    m_handleState = 0;
    update();
}

// ------------------------------------------------------------------------------------------ painting

void QImageDualSlider::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_backgroundColor);
    paintTimeScale(painter);
    if (m_empty) {
        const QRect area = m_imageArea;
        QPen pen(QColor(119, 119, 119), 1, Qt::DashLine, Qt::SquareCap, Qt::BevelJoin);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(area);
        paintPerforations(painter, 6);
        return;
    }
    painter.fillRect(m_rangeRect, isEnabled() ? m_rangeColor : QColor(137, 137, 137));
    paintShowImage(painter);
    paintStartEndImage(painter);
    paintsliderImage(painter);
}

void QImageDualSlider::paintTimeScale(QPainter &painter)
{
    const QRect axis = m_axisRect;
    if (axis.width() <= 0)
        return;
    const QVector<int> ticks = TrimStrip::tickPositions(axis.left(), axis.width(), m_trim.duration, m_minorStep);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(m_tickColor, 1));
    for (int i = 0; i < ticks.size(); ++i) {
        const int x = ticks[i];
        painter.drawLine(x, axis.bottom() - (i % 5 == 0 ? 6 : 4), x, axis.bottom() - 1);
    }
    painter.drawLine(axis.left(), axis.bottom() - 1, axis.right(), axis.bottom() - 1);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setFont(m_labelFont);
    painter.setPen(m_labelColor);
    const QFontMetrics fm(m_labelFont);
    for (int i = 0; i < ticks.size(); i += 5) {
        QString text = m_empty ? QStringLiteral("00:00:00.00") : TrimStrip::timeToString(uint64_t(i) * m_minorStep);
        const int x = ticks[i] + 1;
        if (x >= axis.right())
            continue;
        const int available = axis.right() - x + 1;
        int w = fm.horizontalAdvance(text) + 2;
        if (w > available) {
            w = available;
            if (fm.horizontalAdvance(text.left(6)) > available) {
                while (!text.isEmpty() && fm.horizontalAdvance(text) > available)
                    text.chop(1);
            }
        }
        const QRect r(x, axis.bottom() - 7 - fm.height() + 1, w, fm.height());
        painter.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, text);
    }
    painter.restore();
}

void QImageDualSlider::paintPerforations(QPainter &painter, int topOffset)
{
    const QRect area = m_imageArea;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(42, 42, 42));
    for (int x = area.left() + 4; x <= area.right(); x += 14) {
        const int w = std::min(10, area.right() - x + 1);
        painter.drawRoundedRect(QRect(x, area.top() + topOffset, w, 6), 2, 2);
        painter.drawRoundedRect(QRect(x, area.bottom() - 10, w, 6), 2, 2);
    }
    painter.restore();
}

void QImageDualSlider::paintShowImage(QPainter &painter)
{
    const QRect area = m_imageArea;
    painter.fillRect(area, QColor(25, 25, 25));
    if (m_images.isEmpty()) {
        paintPerforations(painter, 5);
    } else {
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        const float step = float(area.width()) / float(m_paintImageCount);
        int x = 0;
        for (int i = 0; i < m_paintImageCount; ++i) {
            const int w = int(float(i + 1) * step - float(x) + 0.1f);
            const QImage &image = m_images.at(std::min(i, m_images.size() - 1));
            const QRect cell(area.left() + x, area.top(), w, area.height());
            if (!image.isNull()) {
                const QRect source = m_sourceRect.isValid() ? m_sourceRect : image.rect();
                painter.drawImage(cell, image, source);
            }
            x += w;
        }
        painter.restore();
    }
    // Outside the trim the thumbnails are shaded.
    if (m_startRect.right() >= area.left())
        painter.fillRect(QRect(QPoint(area.left(), area.top()), QPoint(m_startRect.right(), area.bottom())),
                         m_shadeColor);
    if (m_endRect.left() <= area.right())
        painter.fillRect(QRect(QPoint(m_endRect.left(), area.top()), QPoint(area.right(), area.bottom())),
                         m_shadeColor);
}

void QImageDualSlider::paintStartEndImage(QPainter &painter)
{
    if (m_startImage.isNull() || m_endImage.isNull()) {
        const QColor c = isEnabled() ? QColor(146, 189, 108) : QColor(137, 137, 137);
        painter.fillRect(m_startRect, c);
        painter.fillRect(m_endRect, c);
        return;
    }
    int startState = 0, endState = 0;
    if (!isEnabled()) {
        startState = endState = 3;
    } else if (m_activePart == PartStart) {
        startState = m_handleState;
    } else if (m_activePart == PartEnd) {
        endState = m_handleState;
    }
    const auto frame = [](const QImage &strip, int state) {
        QImage f = QBaseImageDraw::stripFrame(strip, (state >= 0 && state <= 3) ? state : 0);
        f.setDevicePixelRatio(2.0);
        return f;
    };
    QBaseImageDraw::drawBtnImageBg(painter, m_startRect, frame(m_startImage, startState), false);
    QBaseImageDraw::drawBtnImageBg(painter, m_endRect, frame(m_endImage, endState), false);
}

void QImageDualSlider::paintsliderImage(QPainter &painter)
{
    QRect head = m_headRect;
    QRect line = m_lineRect;
    const int rightEdge = m_stripRect.right() + 1;
    if (head.left() + head.width() / 2 >= rightEdge) {
        head.moveLeft(rightEdge - head.width() / 2);
        line.moveLeft(head.left());
    }
    if (!m_cursorImage.isNull()) {
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter.drawImage(line, m_cursorImage);
        painter.restore();
        return;
    }
    painter.fillRect(head, QColor(255, 0, 0));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(QColor(255, 0, 0), 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    const int cx = head.left() + head.width() / 2;
    painter.drawLine(cx, head.bottom(), cx, m_margins.top() + m_axisHeight + m_imageSize.height() - 1);
    painter.restore();
}
