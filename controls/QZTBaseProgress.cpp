#include "QZTBaseProgress.h"

#include "QBaseImageDraw.h"

#include <QConicalGradient>
#include <QFileInfo>
#include <QLinearGradient>
#include <QPainter>
#include <QTimer>

#include <cmath>

QZTBaseProgress::QZTBaseProgress(QWidget *parent) : QWidget(parent)
{
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(230, 230, 230));
    p.setColor(QPalette::Highlight, QColor(6, 176, 37));
    p.setColor(QPalette::Base, QColor(6, 176, 37, 0));
    p.setColor(QPalette::AlternateBase, QColor(255, 0, 0, 0));
    setPalette(p);
    setAttribute(Qt::WA_TranslucentBackground);
    m_lastRepaint.start();
}

QZTBaseProgress::~QZTBaseProgress() = default;

double QZTBaseProgress::fraction() const
{
    const double range = m_max - m_min;
    if (range <= 0.0)
        return 0.0;
    return qBound(0.0, (m_value - m_min) / range, 1.0);
}

void QZTBaseProgress::repaintNow()
{
    update();
}

void QZTBaseProgress::setProgressPolicy(ProgressPolicy policy)
{
    m_policy = policy;
    fitToTrackImage();
    rebuildBrush();
    positionInputsChanged();
    repaintNow();
}

void QZTBaseProgress::setBarStyle(BarStyle style)
{
    if (style == m_barStyle)
        return;
    m_barStyle = style;
    repaintNow();
}

void QZTBaseProgress::fitToTrackImage()
{
    if (m_track.isNull())
        return;
    const QSize track = trackSize();
    if (m_policy == Horizontal && height() < track.height())
        resize(width(), track.height());
    else if (m_policy == Vertical && width() < track.width())
        resize(track.width(), height());
}

bool QZTBaseProgress::setBottomImage(const QString &path)
{
    m_track = QImage();
    QImage image;
    if (!QFileInfo::exists(path) || !image.load(path)) {
        repaintNow();
        return false;
    }
    m_track = image;
    m_track.setDevicePixelRatio(2.0);
    fitToTrackImage();
    repaintNow();
    return true;
}

bool QZTBaseProgress::setTopImage(const QString &path)
{
    m_fill = QImage();
    QImage image;
    if (!QFileInfo::exists(path) || !image.load(path)) {
        repaintNow();
        return false;
    }
    m_fill = image;
    m_fill.setDevicePixelRatio(2.0);
    repaintNow();
    return true;
}

void QZTBaseProgress::setFormat(const QString &format)
{
    if (format == m_format)
        return;
    m_format = format;
    valueFormatChanged();
}

void QZTBaseProgress::resetFormat()
{
    m_format.clear();
    valueFormatChanged();
}

void QZTBaseProgress::setDecimals(int decimals)
{
    if (decimals < 0 || decimals == m_decimals)
        return;
    m_decimals = decimals;
    valueFormatChanged();
}

void QZTBaseProgress::setTextAlignment(int alignment)
{
    if (alignment == m_textAlignment)
        return;
    m_textAlignment = alignment;
    repaintNow();
}

void QZTBaseProgress::setTextOffset(float x, float y)
{
    m_textOffsetX = x;
    m_textOffsetY = y;
    repaintNow();
}

void QZTBaseProgress::setOffset(int start, int end)
{
    m_startOffset = start;
    m_endOffset = end;
    const int length = m_policy == Horizontal ? width() : height();
    if (start + end >= length) {
        m_startOffset = 0;
        m_endOffset = 0;
    }
    positionInputsChanged();
    repaintNow();
}

void QZTBaseProgress::setOutlinePenWidth(double width)
{
    if (width == m_outlinePenWidth)
        return;
    m_outlinePenWidth = width;
    repaintNow();
}

void QZTBaseProgress::setDataPenWidth(double width)
{
    if (width == m_dataPenWidth)
        return;
    m_dataPenWidth = width;
    repaintNow();
}

void QZTBaseProgress::setNullPosition(double position)
{
    if (position == m_nullPosition)
        return;
    m_nullPosition = position;
    rebuildBrush();
    repaintNow();
}

void QZTBaseProgress::setDataColors(const QVector<QPair<double, QColor>> &stops)
{
    if (stops == m_dataColors)
        return;
    m_dataColors = stops;
    rebuildBrush();
    repaintNow();
}

// The gradient is rebuilt where its inputs change, so that painting never touches the palette.
void QZTBaseProgress::rebuildBrush()
{
    if (m_dataColors.isEmpty())
        return;
    QGradientStops stops;
    for (const auto &stop : m_dataColors)
        stops.append(QGradientStop(1.0 - stop.first, stop.second));
    std::sort(stops.begin(), stops.end(),
              [](const QGradientStop &a, const QGradientStop &b) { return a.first < b.first; });
    QGradient *gradient = nullptr;
    QLinearGradient linear;
    QConicalGradient conical;
    if (m_policy == Horizontal) {
        linear = QLinearGradient(0, 0.5, 1, 0.5);
        gradient = &linear;
    } else if (m_policy == Round) {
        conical = QConicalGradient(0.5, 0.5, m_nullPosition);
        gradient = &conical;
    } else {
        linear = QLinearGradient(0.5, 1.0, 0.5, 0.0);
        gradient = &linear;
    }
    gradient->setCoordinateMode(QGradient::StretchToDeviceMode);
    gradient->setStops(stops);
    QPalette p = palette();
    p.setBrush(QPalette::Highlight, QBrush(*gradient));
    setPalette(p);
}

void QZTBaseProgress::setUpdateInterval(int ms)
{
    m_updateInterval = ms;
    m_repaintPending = false;
    delete m_throttle;
    m_throttle = nullptr;
    if (ms > 0) {
        m_throttle = new QTimer(this);
        connect(m_throttle, &QTimer::timeout, this, &QZTBaseProgress::UpdateTime);
        m_throttle->start(ms);
    }
}

void QZTBaseProgress::setRange(double min, double max)
{
    if (std::isnan(min) || std::isnan(max))
        return;
    if (min > max)
        std::swap(min, max);
    m_min = min;
    m_max = max;
    m_value = qBound(m_min, m_value, m_max);
    rebuildBrush();
    positionInputsChanged();
    repaintNow();
}

void QZTBaseProgress::setMinimum(double min)
{
    setRange(min, m_max);
}

void QZTBaseProgress::setMaximum(double max)
{
    setRange(m_min, max);
}

void QZTBaseProgress::setValue(double val)
{
    // NaN (a fraction of an empty total) would clamp to the maximum and show a full bar: it is no value.
    if (std::isnan(val) || val == m_value)
        return;
    const double clamped = qBound(m_min, val, m_max);
    if (clamped == m_value)
        return;
    m_value = clamped;
    positionInputsChanged();
    emit valueChanged(m_value);
    if (m_updateInterval <= 0) {
        repaintNow();
    } else if (m_lastRepaint.elapsed() >= m_updateInterval) {
        m_lastRepaint.restart();
        m_repaintPending = false;
        repaintNow();
    } else {
        m_repaintPending = true;
    }
}

void QZTBaseProgress::UpdateTime()
{
    if (m_repaintPending && m_lastRepaint.elapsed() >= 2 * m_updateInterval) {
        m_lastRepaint.restart();
        m_repaintPending = false;
        repaintNow();
    }
}

int QZTBaseProgress::getDefaultCircle()
{
    if (!m_roundEnds)
        return 0;
    int thickness;
    if (m_policy == Horizontal)
        thickness = m_track.isNull() ? height() : m_track.height();
    else
        thickness = m_track.isNull() ? width() : m_track.width();
    if (m_endRadius > thickness / 2)
        m_endRadius = thickness / 2;
    return m_endRadius == -1 ? thickness / 2 : m_endRadius;
}

int QZTBaseProgress::axisLength() const
{
    return (m_policy == Horizontal ? width() : height()) - m_startOffset - m_endOffset;
}

QRect QZTBaseProgress::getBgRect() const
{
    if (m_policy == Horizontal) {
        const int h = m_track.isNull() ? height() : trackSize().height();
        return QRect(QPoint(m_startOffset, (height() - h) / 2),
                     QPoint(width() - 1 - m_endOffset, (height() - h) / 2 + h - 1));
    }
    if (m_policy == Vertical) {
        const int w = m_track.isNull() ? width() : trackSize().width();
        return QRect(QPoint((width() - w) / 2, m_startOffset),
                     QPoint((width() - w) / 2 + w - 1, height() - 1 - m_endOffset));
    }
    return rect();
}

void QZTBaseProgress::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(Qt::NoPen);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawBackground(painter);
    DrawProgress(painter);
    DrawProgressText(painter);
}

void QZTBaseProgress::DrawBackground(QPainter &painter)
{
    if (m_policy == Round) {
        const int s = qMin(width(), height());
        drawBase(painter, QRectF(1, 1, s - 2, s - 2));
        return;
    }
    const int r = getDefaultCircle();
    if (!m_track.isNull()) {
        DrawBottomImage(painter, r);
        return;
    }
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette().color(QPalette::Window));
    const QRect bg = getBgRect();
    painter.drawPath(QBaseImageDraw::GetRoundedRectanglePath(QRectF(bg.x(), bg.y(), bg.width(), bg.height()), r));
    painter.restore();
}

void QZTBaseProgress::DrawBottomImage(QPainter &painter, int r)
{
    drawThreeSlice(painter, m_track, getBgRect(), r, -1.0);
}

void QZTBaseProgress::drawThreeSlice(QPainter &painter, const QImage &image, const QRect &target, int r,
                                     double cutFraction)
{
    if (image.isNull() || target.isEmpty())
        return;
    const int iw = image.width() / 2, ih = image.height() / 2;
    const bool horizontal = m_policy == Horizontal;
    const int length = horizontal ? target.width() : target.height();
    const int imageLength = horizontal ? iw : ih;
    auto draw = [&](int t0, int tl, int s0, int sl) {
        if (tl <= 0 || sl <= 0)
            return;
        if (horizontal)
            QBaseImageDraw::drawImage(painter, QRect(target.x() + t0, target.y(), tl, target.height()),
                                      QRect(s0, 0, sl, ih), image);
        else
            QBaseImageDraw::drawImage(painter, QRect(target.x(), target.y() + t0, target.width(), tl),
                                      QRect(0, s0, iw, sl), image);
    };
    if (r > 0 && m_roundEnds && 2 * r < imageLength) {
        draw(0, r, 0, r);
        draw(length - r, r, imageLength - r, r);
        draw(r, length - 2 * r, r, imageLength - 2 * r);
    } else if (cutFraction >= 0.0) {
        const int part = int(imageLength * cutFraction);
        // A vertical fill grows from the bottom: its visible part is the image's lower end.
        if (horizontal)
            draw(0, length, 0, part);
        else
            draw(0, length, imageLength - part, part);
    } else {
        draw(0, length, 0, imageLength);
    }
}

QImage QZTBaseProgress::createImage(QRect rect, int radius) const
{
    QImage image(rect.size(), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(palette().brush(QPalette::Highlight));
    p.drawPath(QBaseImageDraw::GetRoundedRectanglePath(QRectF(0, 0, rect.width(), rect.height()), radius));
    return image;
}

void QZTBaseProgress::DrawProgress(QPainter &painter)
{
    if (m_policy == Round) {
        const int s = qMin(width(), height());
        if (s < 2)
            return;
        QImage image(2 * s, 2 * s, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        drawRoundValue(p, QRectF(2, 2, 2 * s - 4, 2 * s - 4), m_value, 360.0 * fraction());
        QRectF inner;
        double innerRadius = 0;
        calculateInnerRect(QRectF(0, 0, 2 * s, 2 * s), 2 * s, inner, innerRadius);
        drawInnerBackground(p, inner);
        p.end();
        image.setDevicePixelRatio(2.0);
        painter.drawImage(QRect(0, 0, s, s), image);
        return;
    }
    const int r = getDefaultCircle();
    if (!m_fill.isNull()) {
        DrawTopImage(painter, m_fill, r);
        return;
    }
    const QRect bg = getBgRect();
    QImage generated = createImage(QRect(0, 0, 2 * bg.width(), 2 * bg.height()), 2 * r);
    generated.setDevicePixelRatio(2.0);
    DrawTopImage(painter, generated, r);
}

void QZTBaseProgress::DrawTopImage(QPainter &painter, const QImage &image, int r)
{
    const int L = axisLength();
    if (L <= 0 || image.isNull())
        return;
    const double f = fraction();
    const int P = int(f * L + 0.5);
    if (P <= 0)
        return;
    const QRect bg = getBgRect();
    const int iw = image.width() / 2, ih = image.height() / 2;
    if (2 * r >= P) {
        if (r == 0)
            return;
        // A fill shorter than its two caps: the image's two ends side by side keep both ends round.
        if (m_policy == Horizontal) {
            const int half = P / 2;
            const int rest = P - half;
            QBaseImageDraw::drawImage(painter, QRect(bg.x(), bg.y(), half, bg.height()), QRect(0, 0, half, ih), image);
            QBaseImageDraw::drawImage(painter, QRect(bg.x() + half, bg.y(), rest, bg.height()),
                                      QRect(iw - rest, 0, rest, ih), image);
        } else {
            const int half = int((P + 0.5) / 2);
            const int rest = P - half;
            const int bottom = height() - m_endOffset;
            QBaseImageDraw::drawImage(painter, QRect(bg.x(), bottom - half, bg.width(), half),
                                      QRect(0, ih - half, iw, half), image);
            QBaseImageDraw::drawImage(painter, QRect(bg.x(), bottom - P, bg.width(), rest), QRect(0, 0, iw, rest),
                                      image);
        }
        return;
    }
    QRect target;
    if (m_policy == Horizontal)
        target = QRect(bg.x(), bg.y(), P, bg.height());
    else
        target = QRect(bg.x(), height() - m_endOffset - P, bg.width(), P);
    drawThreeSlice(painter, image, target, r, f);
}

void QZTBaseProgress::DrawProgressText(QPainter &painter)
{
    if (m_format.isEmpty())
        return;
    painter.save();
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    const QRectF r(width() * m_textOffsetX, height() * m_textOffsetY, width() * (1 - m_textOffsetX),
                   height() * (1 - m_textOffsetY));
    painter.drawText(r, m_textAlignment, valueToText(m_value));
    painter.restore();
}

QString QZTBaseProgress::valueToText(double value) const
{
    QString text = m_format;
    if (m_formatTokens & 1)
        text.replace(QLatin1String("%v"), QString::number(value, 'f', m_decimals));
    if (m_formatTokens & 2) {
        const double range = m_max - m_min;
        const double percent = range > 0 ? (value - m_min) / range * 100.0 : 0.0;
        text.replace(QLatin1String("%p"), QString::number(percent, 'f', m_decimals));
    }
    if (m_formatTokens & 4)
        text.replace(QLatin1String("%m"), QString::number(m_max - m_min + 1, 'f', m_decimals));
    return text;
}

void QZTBaseProgress::valueFormatChanged()
{
    m_formatTokens = 0;
    if (m_format.contains(QLatin1String("%v")))
        m_formatTokens |= 1;
    if (m_format.contains(QLatin1String("%p")))
        m_formatTokens |= 2;
    if (m_format.contains(QLatin1String("%m")))
        m_formatTokens |= 4;
    repaintNow();
}

void QZTBaseProgress::drawBase(QPainter &painter, const QRectF &rect)
{
    painter.save();
    if (m_barStyle == StyleLine) {
        painter.setPen(QPen(palette().color(QPalette::Base), m_outlinePenWidth));
        painter.setBrush(Qt::NoBrush);
        const double h = m_outlinePenWidth / 2;
        painter.drawEllipse(rect.adjusted(h, h, -h, -h));
    } else {
        painter.setPen(m_barStyle == StylePie ? palette().color(QPalette::Base) : palette().color(QPalette::Shadow));
        painter.setBrush(palette().brush(QPalette::Base));
        painter.drawEllipse(rect);
    }
    painter.restore();
}

void QZTBaseProgress::drawRoundValue(QPainter &painter, const QRectF &rect, double value, double arc)
{
    if (value == m_min)
        return;
    painter.save();
    if (m_barStyle == StyleLine) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2 * m_dataPenWidth));
        painter.setBrush(Qt::NoBrush);
        const double o = m_outlinePenWidth;
        painter.drawArc(rect.adjusted(o, o, -o, -o), int(m_nullPosition * 16), int(-arc * 16));
    } else {
        QPainterPath path;
        path.moveTo(rect.center());
        path.arcTo(rect, m_nullPosition, -arc);
        path.lineTo(rect.center());
        painter.setBrush(palette().brush(QPalette::Highlight));
        painter.setPen(QPen(palette().color(QPalette::Shadow), m_dataPenWidth));
        painter.drawPath(path);
    }
    painter.restore();
}

void QZTBaseProgress::calculateInnerRect(const QRectF &, double outerRadius, QRectF &inner, double &innerRadius)
{
    innerRadius = m_barStyle == StyleLine ? outerRadius - m_outlinePenWidth : outerRadius * 0.75;
    const double delta = (outerRadius - innerRadius) / 2;
    inner = QRectF(delta, delta, innerRadius, innerRadius);
}

void QZTBaseProgress::drawInnerBackground(QPainter &painter, const QRectF &inner)
{
    if (m_barStyle != StyleDonut)
        return;
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.setBrush(Qt::black);
    painter.drawEllipse(inner);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setBrush(palette().brush(QPalette::AlternateBase));
    painter.setPen(QPen(palette().color(QPalette::Shadow), m_dataPenWidth));
    painter.drawEllipse(inner);
    painter.restore();
}

QPainterPath QZTBaseProgress::getProPath()
{
    QPainterPath path;
    const int r = getDefaultCircle();
    const QRect bg = getBgRect();
    const int L = int(fraction() * axisLength());
    if (m_policy == Horizontal) {
        if (L > 2 * r) {
            path = QBaseImageDraw::GetRoundedRectanglePath(QRectF(m_startOffset, bg.y(), L, bg.height()), r);
        } else {
            const QPainterPath full = QBaseImageDraw::GetRoundedRectanglePath(QRectF(bg), r);
            QPainterPath left, right;
            left.addRect(QRectF(bg.x(), bg.y(), (L + 0.5) / 2, bg.height()));
            right.addRect(QRectF(bg.right() + 1 - (L - 0.5) / 2, bg.y(), (L - 0.5) / 2, bg.height()));
            path = full.intersected(left).united(full.intersected(right).translated(-(bg.width() - L), 0));
        }
    } else if (m_policy == Vertical) {
        const int top = height() - L - m_startOffset;
        path = QBaseImageDraw::GetRoundedRectanglePath(QRectF(bg.x(), top, bg.width(), L), qMin(r, L / 2));
    }
    return path;
}
