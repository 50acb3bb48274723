#include "QZTMenuStyle.h"

#include "QBaseImageDraw.h"

#include <QComboBox>
#include <QPainter>
#include <QStyleOptionMenuItem>

QZTMenuStyle::QZTMenuStyle(QStyle *base) : QProxyStyle(base), m_attribute(new QZTMenuStyleAttribute) {}

QZTMenuStyle::~QZTMenuStyle() = default;

int QZTMenuStyle::pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const
{
    switch (metric) {
    case PM_MenuHMargin:
    case PM_MenuVMargin:
        return 0;
    case PM_MenuPanelWidth:
        return m_attribute->frameWidth;
    case PM_SmallIconSize:
        return m_attribute->iconSize;
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

void QZTMenuStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                                 const QWidget *widget) const
{
    if (element != PE_FrameMenu) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    painter->save();
    if (m_attribute->backgroundImage.isNull())
        painter->fillRect(option->rect, m_attribute->frameColor);
    else
        QBaseImageDraw::drawBtnImageBg(*painter, option->rect, m_attribute->backgroundImage, true);
    painter->restore();
}

void QZTMenuStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                               const QWidget *widget) const
{
    if (element == CE_MenuItem) {
        _DrawMenuItem(option, painter, widget);
    } else if (element == CE_MenuEmptyArea) {
        painter->save();
        painter->fillRect(option->rect, m_attribute->areaColor);
        painter->restore();
    } else {
        QProxyStyle::drawControl(element, option, painter, widget);
    }
}

int QZTMenuStyle::checkColumn(const QStyleOptionMenuItem *option, const QWidget *widget) const
{
    if (qobject_cast<const QComboBox *>(widget))
        return option->icon.isNull() ? 0 : option->maxIconWidth;
    return qMax(20, option->maxIconWidth);
}

void QZTMenuStyle::_DrawMenuItem(const QStyleOption *opt, QPainter *painter, const QWidget *widget) const
{
    const auto *option = qstyleoption_cast<const QStyleOptionMenuItem *>(opt);
    if (!option)
        return;
    painter->save();
    painter->setPen(Qt::NoPen);
    painter->setBrush(m_attribute->itemColor);
    painter->drawRect(option->rect);
    if (option->menuItemType == QStyleOptionMenuItem::Separator) {
        drawSeparator(option, painter); // restores the painter
        return;
    }
    const bool enabled = option->state & State_Enabled;
    const bool highlighted = enabled && (option->state & State_Selected);
    if (highlighted)
        painter->fillRect(option->rect, m_attribute->itemSelectColor);
    if (!qobject_cast<const QComboBox *>(widget))
        drawCheckState(option, painter, widget);
    if (!enabled) {
        painter->save();
        painter->fillRect(option->rect, m_attribute->itemEabledColor);
        painter->restore();
    }
    drawIcon(option, painter, widget);
    drawMenuText(option, painter, widget);
    drawArrow(option, painter);
    painter->restore();
}

void QZTMenuStyle::drawSeparator(const QStyleOptionMenuItem *option, QPainter *painter) const
{
    int reserved = 0;
    const bool rtl = option->direction == Qt::RightToLeft;
    if (!option->text.isEmpty()) {
        painter->setFont(option->font);
        const QRect textRect = option->rect.adjusted(5, 0, -5, 0);
        proxy()->drawItemText(painter, textRect, Qt::AlignLeft | Qt::AlignVCenter, option->palette,
                              option->state & State_Enabled, option->text, QPalette::Text);
        reserved = option->fontMetrics.horizontalAdvance(option->text) + 5;
    }
    painter->setPen(m_attribute->separatorColor);
    const int y = (option->rect.top() + option->rect.bottom()) / 2;
    int x1 = option->rect.left() + 5, x2 = option->rect.right() - 5;
    if (rtl)
        x2 -= reserved;
    else
        x1 += reserved;
    painter->drawLine(x1, y, x2, y);
    painter->restore();
}

namespace {
void drawFitted(QPainter *painter, const QRect &r, const QImage &image)
{
    const int w = qMin(r.width(), int(image.width() / image.devicePixelRatio()));
    const int h = qMin(r.height(), int(image.height() / image.devicePixelRatio()));
    painter->drawImage(QRect(r.x() + (r.width() - w) / 2, r.y() + (r.height() - h) / 2, w, h), image);
}
} // namespace

void QZTMenuStyle::drawCheckState(const QStyleOptionMenuItem *option, QPainter *painter, const QWidget *widget) const
{
    if (option->checkType == QStyleOptionMenuItem::NotCheckable)
        return;
    const QRect &item = option->rect;
    const int m = (item.top() + item.bottom()) / 2;
    const QRect check =
        visualRect(option->direction, item, QRect(QPoint(item.left() + 7, m - 6), QPoint(item.left() + 20, m + 7)));
    const bool highlighted = (option->state & State_Enabled) && (option->state & State_Selected);
    if (option->checkType == QStyleOptionMenuItem::Exclusive) {
        if (!option->checked)
            return;
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        if (!m_attribute->radioImage.isNull()) {
            drawFitted(painter, check, m_attribute->radioImage);
        } else {
            painter->setBrush(highlighted ? m_attribute->itemTextSelectColor : m_attribute->itemTextColor);
            painter->drawEllipse(check.adjusted(4, 4, -4, -4));
        }
        painter->restore();
        return;
    }
    if (!option->icon.isNull())
        return;
    QStyleOptionButton box;
    box.QStyleOption::operator=(*option);
    box.rect = check;
    if (!option->checked) {
        if (!m_attribute->uncheckedImage.isNull())
            drawFitted(painter, check, m_attribute->uncheckedImage);
        else
            proxy()->drawPrimitive(PE_IndicatorCheckBox, &box, painter, widget);
    } else {
        if (!m_attribute->checkedImage.isNull()) {
            drawFitted(painter, check, m_attribute->checkedImage);
        } else {
            box.state |= State_On;
            proxy()->drawPrimitive(PE_IndicatorCheckBox, &box, painter, widget);
        }
    }
}

void QZTMenuStyle::drawIcon(const QStyleOptionMenuItem *option, QPainter *painter, const QWidget *widget) const
{
    if (option->icon.isNull())
        return;
    const int checkcol = checkColumn(option, widget);
    const QRect iconRect =
        visualRect(option->direction, option->rect,
                   QRect(option->rect.left() + 4, option->rect.top(), checkcol, option->rect.height()));
    const bool enabled = option->state & State_Enabled;
    const bool highlighted = enabled && (option->state & State_Selected);
    const QIcon::Mode mode = !enabled ? QIcon::Disabled : (highlighted ? QIcon::Active : QIcon::Normal);
    const QIcon::State state = option->checked ? QIcon::On : QIcon::Off;
    int size = proxy()->pixelMetric(PM_SmallIconSize, option, widget);
    QSize pixSize(size, size);
    if (const auto *combo = qobject_cast<const QComboBox *>(widget))
        pixSize = combo->iconSize();
    painter->setPen(m_attribute->itemTextColor);
    if (option->checkType != QStyleOptionMenuItem::NotCheckable && option->checked) {
        QStyleOption panel(*option);
        panel.rect = iconRect;
        panel.state = State_Sunken | (option->state & State_Enabled);
        if (option->state & State_Selected)
            panel.palette.setBrush(QPalette::Button,
                                   mergedColors(m_attribute->itemColor, m_attribute->itemSelectColor, 50));
        proxy()->drawPrimitive(PE_PanelButtonCommand, &panel, painter, widget);
    }
    const QPixmap pixmap = option->icon.pixmap(pixSize, mode, state);
    const int pw = int(pixmap.width() / pixmap.devicePixelRatio());
    const int ph = int(pixmap.height() / pixmap.devicePixelRatio());
    const int x = (iconRect.left() + iconRect.right()) / 2 - (pw - 1) / 2;
    const int y = (iconRect.top() + iconRect.bottom()) / 2 - (ph - 1) / 2;
    painter->drawPixmap(x, y, pixmap);
}

void QZTMenuStyle::drawMenuText(const QStyleOptionMenuItem *option, QPainter *painter, const QWidget *widget) const
{
    const bool enabled = option->state & State_Enabled;
    const bool selected = option->state & State_Selected;
    const bool highlighted = enabled && selected;
    QColor pen = highlighted ? m_attribute->itemTextSelectColor : m_attribute->itemTextColor;
    if (!enabled)
        pen = m_attribute->itemTextEabledColor;
    painter->setPen(pen);
    const int checkcol = checkColumn(option, widget);
    const QRect &item = option->rect;
    const QRect textRect(QPoint(item.left() + 7 + checkcol, item.top() + 8),
                         QPoint(item.right() - option->tabWidth - 14, item.bottom() - 8));
    if (option->text.isEmpty())
        return;
    int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip | Qt::TextShowMnemonic;
    if (!proxy()->styleHint(SH_UnderlineShortcut, option, widget))
        flags |= Qt::TextHideMnemonic;
    QString label = option->text;
    // A disabled item is drawn once, in the disabled colour: an etched offset copy in the panel's light
    // colour reads as a doubled, blurred text on the skinned menus.
    const int tab = label.indexOf(QLatin1Char('\t'));
    if (tab >= 0) {
        const QString shortcut = label.mid(tab + 1);
        const QRect shortcutRect =
            visualRect(option->direction, item,
                       QRect(QPoint(textRect.right(), textRect.top()), QPoint(item.right(), textRect.bottom())));
        painter->drawText(shortcutRect, flags, shortcut);
        label = label.left(tab);
    }
    QFont font = option->font;
    font.setPointSizeF(QFontInfo(font).pointSizeF());
    if (option->menuItemType == QStyleOptionMenuItem::DefaultItem)
        font.setWeight(QFont::Bold);
    painter->setFont(font);
    const QRect vText = visualRect(option->direction, item, textRect);
    painter->drawText(vText, flags, label);
}

void QZTMenuStyle::drawArrow(const QStyleOptionMenuItem *option, QPainter *painter) const
{
    if (option->menuItemType != QStyleOptionMenuItem::SubMenu)
        return;
    const QRect &item = option->rect;
    const int h = item.height();
    const int d = (h - 4) / 2;
    const int left = item.right() - 2 - d;
    const int top = item.top() + h / 2 - (h - 4) / 4;
    const int right = item.right() - 3;
    const int bottom = top + d - 1;
    QRect square(QPoint(left, top), QPoint(right, bottom));
    square = visualRect(option->direction, item, square);
    const bool highlighted = (option->state & State_Enabled) && (option->state & State_Selected);
    painter->save();
    painter->setPen(Qt::NoPen);
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setBrush(highlighted ? m_attribute->itemTextSelectColor : m_attribute->itemTextColor);
    const int mid = square.top() + (square.bottom() + 1 - square.top()) / 2;
    QPolygon tri;
    if (option->direction == Qt::RightToLeft)
        tri << QPoint(square.right() + 1, square.top()) << QPoint(square.left(), mid)
            << QPoint(square.right() + 1, square.bottom() + 1);
    else
        tri << QPoint(square.left(), square.top()) << QPoint(square.right() + 1, mid)
            << QPoint(square.left(), square.bottom() + 1);
    painter->drawPolygon(tri, Qt::OddEvenFill);
    painter->restore();
}

QSize QZTMenuStyle::sizeFromContents(ContentsType type, const QStyleOption *opt, const QSize &size,
                                     const QWidget *widget) const
{
    const auto *option = qstyleoption_cast<const QStyleOptionMenuItem *>(opt);
    if (type != CT_MenuItem || !option || (m_attribute->itemWidth < 1 && m_attribute->itemHeight < 1))
        return QProxyStyle::sizeFromContents(type, opt, size, widget);
    int w, h;
    if (option->menuItemType == QStyleOptionMenuItem::Separator) {
        w = 10;
        h = 2;
    } else {
        w = size.width();
        h = option->fontMetrics.height() + 8;
        if (!option->icon.isNull()) {
            const int is = proxy()->pixelMetric(PM_SmallIconSize, option, widget);
            h = qMax(h, option->icon.actualSize(QSize(is, is), QIcon::Normal, QIcon::On).height() + 4);
        }
    }
    if (option->text.contains(QLatin1Char('\t')))
        w += 32;
    const int maxIcon = option->maxIconWidth;
    const int extra =
        (option->menuHasCheckableItems && maxIcon < 20 ? 20 - maxIcon : 0) + (maxIcon >= 1 ? maxIcon + 6 : 0);
    int width = m_attribute->itemWidth >= 1 ? m_attribute->itemWidth : w + extra + 52;
    if (m_attribute->itemWidth < 1 && (option->menuHasCheckableItems || maxIcon > 0))
        width += 2;
    const int height = m_attribute->itemHeight >= 1 ? m_attribute->itemHeight : h;
    return QSize(width, height);
}

QColor QZTMenuStyle::mergedColors(const QColor &a, const QColor &b, int factor)
{
    QColor c = a;
    c.setRed(a.red() * factor / 100 + b.red() * (100 - factor) / 100);
    c.setGreen(a.green() * factor / 100 + b.green() * (100 - factor) / 100);
    c.setBlue(a.blue() * factor / 100 + b.blue() * (100 - factor) / 100);
    return c;
}
