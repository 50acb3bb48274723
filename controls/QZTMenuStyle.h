#pragma once
// The proxy style that draws a QZTMenu entirely from a record of colours, images and sizes: frame as a
// colour or nine-grid image, flat item, highlight, disabled and separator colours, image or drawn check
// and radio marks, icons, shortcut texts and drawn submenu arrows.

#include <QColor>
#include <QImage>
#include <QProxyStyle>
#include <memory>

class QStyleOptionMenuItem;

struct QZTMenuStyleAttribute
{
    QImage backgroundImage;
    int frameWidth = 3;
    QColor frameColor = QColor(225, 225, 225);
    QColor areaColor = QColor(225, 225, 225);
    QColor itemColor = QColor(225, 225, 225);
    QColor itemTextColor = QColor(0, 0, 0);
    QColor itemSelectColor = QColor(144, 200, 246);
    QColor itemTextSelectColor = QColor(255, 255, 255);
    QColor itemEabledColor = QColor(225, 225, 225);
    QColor itemTextEabledColor = QColor(109, 109, 109);
    QColor separatorColor = QColor(0, 223, 223);
    QImage radioImage;
    QImage uncheckedImage;
    QImage checkedImage;
    int iconSize = 15;
    int itemWidth = -1;
    int itemHeight = -1;
};

class QZTMenuStyle : public QProxyStyle
{
    Q_OBJECT
public:
    explicit QZTMenuStyle(QStyle *base = nullptr);
    ~QZTMenuStyle() override;

    QZTMenuStyleAttribute *attribute() const { return m_attribute.get(); }

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                    const QWidget *widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                           const QWidget *widget = nullptr) const override;

    void _DrawMenuItem(const QStyleOption *option, QPainter *painter, const QWidget *widget) const;
    void drawSeparator(const QStyleOptionMenuItem *option, QPainter *painter) const;
    void drawCheckState(const QStyleOptionMenuItem *option, QPainter *painter, const QWidget *widget) const;
    void drawIcon(const QStyleOptionMenuItem *option, QPainter *painter, const QWidget *widget) const;
    void drawMenuText(const QStyleOptionMenuItem *option, QPainter *painter, const QWidget *widget) const;
    void drawArrow(const QStyleOptionMenuItem *option, QPainter *painter) const;
    static QColor mergedColors(const QColor &a, const QColor &b, int factor);

private:
    int checkColumn(const QStyleOptionMenuItem *option, const QWidget *widget) const;

    std::unique_ptr<QZTMenuStyleAttribute> m_attribute;
};
