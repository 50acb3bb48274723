#include "ImageScrollBars.h"

#include "QImageButton.h"
#include "SkinImageLoad.h"

#include <QPainter>

ScrollBar::ScrollBar(QWidget *parent) : QScrollBar(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

void ScrollBar::setImageBackground(const QString &path)
{
    m_background = QPixmap();
    SkinImageLoad::pixmap1x(path, m_background);
    update();
}

void ScrollBar::setImageSlider(const QString &path)
{
    m_handle = QPixmap();
    SkinImageLoad::pixmap1x(path, m_handle);
    update();
}

void ScrollBar::setImageSliderMiddle(const QString &path)
{
    m_handleMiddle = QPixmap();
    SkinImageLoad::pixmap1x(path, m_handleMiddle);
    update();
}

void ScrollBar::setImageUpallow(const QString &path)
{
    delete m_up;
    m_up = new QImageButton(this);
    m_up->setBtnImage(path);
    connect(m_up, &QImageButton::clicked, this, &ScrollBar::UP);
    update();
}

void ScrollBar::setImageDownallow(const QString &path)
{
    delete m_down;
    m_down = new QImageButton(this);
    m_down->setBtnImage(path);
    connect(m_down, &QImageButton::clicked, this, &ScrollBar::DOWN);
    update();
}

void ScrollBar::UP()
{
    setValue(value() >= 21 ? value() - 20 : 0);
    update();
}

void ScrollBar::DOWN()
{
    setValue(qMin(value() + 20, maximum()));
    update();
}

void ScrollBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const int W = width();
    const int H = height();
    p.fillRect(rect(), QColor(214, 214, 214));
    // A bar with nothing to scroll has maximum + page step 0: show no handle rather than divide by it.
    const qint64 span = qint64(maximum()) + pageStep();
    if (span <= 0)
        return;
    const int top = int(qint64(H) * value() / span);
    const int h = int(qint64(H) * pageStep() / span);
    p.fillRect(QRect(0, top, W, h), QColor(174, 176, 164));
}

StyleScrollBar::StyleScrollBar(QWidget *parent) : QScrollBar(parent)
{
    setStyleSheet(QStringLiteral(
        "QScrollBar:vertical{width:8px;background:rgba(0,0,0,0%);margin:0px,0px,0px,0px;padding-top:9px;"
        "padding-bottom:9px;}QScrollBar::handle:vertical{width:8px;background:rgba(80,80,80,100%); "
        "border-radius:4px;min-height:20;}QScrollBar::handle:vertical:hover{width:8px;background:rgba(104,104,"
        "104,100%); border-radius:4px;min-height:20;}QScrollBar::add-page:vertical,QScrollBar::sub-page:"
        "vertical{background:rgba(0,0,0,10%);border-radius:4px;}"));
}

void StyleScrollBar::appendRule(const QString &rule, QString path)
{
    if (path.isEmpty())
        return;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    setStyleSheet(styleSheet() + rule.arg(path));
}

void StyleScrollBar::setImageUpallow(const QString &normal, const QString &hover)
{
    appendRule(QStringLiteral("QScrollBar::sub-line:vertical{height:9px;width:8px;border-image:url(%1);"
                              "subcontrol-position:top;}"),
               normal);
    appendRule(QStringLiteral("QScrollBar::sub-line:vertical:hover{height:9px;width:8px;border-image:url(%1);"
                              "subcontrol-position:top;}"),
               hover);
}

void StyleScrollBar::setImageDownallow(const QString &normal, const QString &hover)
{
    appendRule(QStringLiteral("QScrollBar::add-line:vertical{height:9px;width:8px;border-image:url(%1);"
                              "subcontrol-position:bottom;}"),
               normal);
    appendRule(QStringLiteral("QScrollBar::add-line:vertical:hover{height:9px;width:8px;border-image:url(%1);"
                              "subcontrol-position:bottom;}"),
               hover);
}
