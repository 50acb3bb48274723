#include "QZTScrollBar.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionSlider>

QZTScrollBarStyle::QZTScrollBarStyle(QStyle *base) : QProxyStyle(base) {}

int QZTScrollBarStyle::pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const
{
    if (metric == PM_ScrollBarExtent)
        return m_attribute.width;
    return QProxyStyle::pixelMetric(metric, option, widget);
}

void QZTScrollBarStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                                           const QWidget *widget) const
{
    if (control == CC_ScrollBar)
        drawScrollbar(control, option, painter, widget);
    else
        QProxyStyle::drawComplexControl(control, option, painter, widget);
}

void QZTScrollBarStyle::drawScrollbar(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                                      const QWidget *widget) const
{
    const auto *slider = qstyleoption_cast<const QStyleOptionSlider *>(option);
    if (!slider)
        return;
    const QZTScrollBarStyleAttribute &a = m_attribute;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    State state = slider->state;
    if (widget && widget->testAttribute(Qt::WA_UnderMouse) && widget->isActiveWindow())
        state |= State_MouseOver;
    const bool empty = slider->minimum == slider->maximum;
    if (empty)
        state &= ~State_Enabled;
    const bool horizontal = slider->orientation == Qt::Horizontal;
    int radius = a.radius;
    if (radius < 0)
        radius = horizontal ? slider->rect.height() / 2 : slider->rect.width() / 2;

    const QRect addLine = subControlRect(control, slider, SC_ScrollBarAddLine, widget);
    const QRect subLine = subControlRect(control, slider, SC_ScrollBarSubLine, widget);
    const QRect groove = subControlRect(control, slider, SC_ScrollBarGroove, widget);
    painter->fillRect(addLine, a.arrowColors[0]);
    painter->fillRect(subLine, a.arrowColors[0]);
    painter->fillRect(groove, a.grooveColor);
    if (empty) {
        painter->restore();
        return;
    }
    QRect handle = subControlRect(control, slider, SC_ScrollBarSlider, widget);
    const bool hovered = state & State_MouseOver;
    auto insetHandle = [&](bool testThickness) {
        int inset = a.handleInset;
        const int thickness = horizontal ? handle.height() : handle.width();
        if (testThickness && thickness < 2 * inset)
            inset = 0;
        return horizontal ? handle.adjusted(0, inset, 0, -inset) : handle.adjusted(inset, 0, -inset, 0);
    };
    auto fillRounded = [&](const QRect &r, const QColor &c) {
        QPainterPath path;
        path.addRoundedRect(QRectF(r), radius, radius);
        painter->fillPath(path, c);
    };
    if (!hovered && !a.trackAlwaysShown) {
        fillRounded(insetHandle(true), a.normalColor);
    } else {
        fillRounded(groove, a.trackColor);
        if (slider->subControls & SC_ScrollBarSlider) {
            QColor c = a.normalColor;
            const bool active = slider->activeSubControls & SC_ScrollBarSlider;
            if (!(state & State_Enabled) || !active)
                c = a.normalColor;
            else if (slider->state & State_Sunken)
                c = a.pressedColor;
            else if (slider->state & State_MouseOver)
                c = a.hoverColor;
            fillRounded(insetHandle(false), c);
        }
    }
    painter->restore();
}

QImage QZTScrollBarStyle::createImage(QSize size, arrowDirection direction, const QColor &color, bool frame) const
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal W = size.width(), H = size.height();
    if (frame) {
        p.setPen(QPen(color, 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
        p.drawRect(QRectF(0, 0, W - 1, H - 1));
    }
    QPolygonF tri;
    switch (direction) {
    case ArrowLeft:
        tri << QPointF(0.75 * W - 0.5, 0) << QPointF(0.25 * W - 0.5, 0.5 * H) << QPointF(0.75 * W, H);
        break;
    case ArrowRight:
        tri << QPointF(0.25 * W + 0.5, 0) << QPointF(0.75 * W, 0.5 * H) << QPointF(0.25 * W + 0.5, H);
        break;
    case ArrowDown:
        tri << QPointF(0, 0.25 * H + 0.5) << QPointF(0.5 * W, 0.75 * H) << QPointF(W, 0.25 * H + 0.5);
        break;
    case ArrowUp:
        tri << QPointF(0, 0.75 * H) << QPointF(0.5 * W, 0.25 * H - 0.5) << QPointF(W, 0.75 * H);
        break;
    default:
        return image;
    }
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPolygon(tri);
    return image;
}

QZTScrollBar::QZTScrollBar(QWidget *parent) : QScrollBar(parent)
{
    InitScrollBar();
}

QZTScrollBar::QZTScrollBar(Qt::Orientation orientation, QWidget *parent) : QScrollBar(orientation, parent)
{
    setOrientation(orientation);
    InitScrollBar();
}

QZTScrollBar::~QZTScrollBar()
{
    // The widget must stop using the style before the style goes.
    setStyle(nullptr);
    delete m_style;
}

void QZTScrollBar::InitScrollBar()
{
    setWindowFlags(Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground, true);
    QZTScrollBarStyle *old = m_style;
    m_style = new QZTScrollBarStyle(nullptr);
    setStyle(m_style);
    delete old;
}

void QZTScrollBar::setOrientation(Qt::Orientation orientation)
{
    QScrollBar::setOrientation(orientation);
    if (orientation == Qt::Horizontal) {
        setMinimumHeight(10);
        setMaximumHeight(10);
    } else {
        setMinimumWidth(10);
        setMaximumWidth(10);
    }
}

void QZTScrollBar::setStyleAttribute(const QZTScrollBarStyleAttribute &attribute)
{
    m_style->attribute() = attribute;
    update();
}

QZTScrollBarStyleAttribute QZTScrollBar::styleAttribute() const
{
    return m_style->attribute();
}
