#pragma once
// A QScrollBar painted by its own proxy style from colours only: flat groove and arrow areas, a rounded
// handle that sits on a rounded track and takes its state colour while the bar is hovered.

#include <QColor>
#include <QImage>
#include <QProxyStyle>
#include <QScrollBar>

struct QZTScrollBarStyleAttribute
{
    QColor grooveColor = QColor(240, 240, 240);
    QColor trackColor = QColor(149, 149, 153);
    int width = 11;
    bool trackAlwaysShown = false;
    QColor arrowColors[4] = {QColor(240, 240, 240), QColor(111, 115, 123), QColor(89, 90, 93), QColor(124, 125, 128)};
    QColor normalColor = QColor(96, 96, 96);
    QColor pressedColor = QColor(96, 96, 96);
    QColor hoverColor = QColor(96, 96, 96);
    int handleInset = 0;
    int radius = -1;
};

class QZTScrollBarStyle : public QProxyStyle
{
    Q_OBJECT
public:
    enum arrowDirection { ArrowLeft = 0, ArrowRight = 1, ArrowDown = 2, ArrowUp = 3 };

    explicit QZTScrollBarStyle(QStyle *base = nullptr);

    QZTScrollBarStyleAttribute &attribute() { return m_attribute; }
    const QZTScrollBarStyleAttribute &attribute() const { return m_attribute; }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                    const QWidget *widget = nullptr) const override;
    QImage createImage(QSize size, arrowDirection direction, const QColor &color, bool frame) const;

private:
    void drawScrollbar(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                       const QWidget *widget) const;

    QZTScrollBarStyleAttribute m_attribute;
};

class QZTScrollBar : public QScrollBar
{
    Q_OBJECT
public:
    explicit QZTScrollBar(QWidget *parent = nullptr);
    QZTScrollBar(Qt::Orientation orientation, QWidget *parent = nullptr);
    ~QZTScrollBar() override;

    void InitScrollBar();
    void setOrientation(Qt::Orientation orientation);
    void setStyleAttribute(const QZTScrollBarStyleAttribute &attribute);
    QZTScrollBarStyleAttribute styleAttribute() const;

private:
    QZTScrollBarStyle *m_style = nullptr;
};
