#include "WidgetTestKit.h"

#include "TestSupport.h"
#include "WindowInput.h"

#include <QFile>
#include <QPainter>

namespace wtk {

static QString pathOf(const QString &name)
{
    static const QString d = rstest::scratchDir(QStringLiteral("widget-images"));
    return d + QLatin1Char('/') + name + QStringLiteral(".png");
}

// A failed save would surface later as a puzzling load failure; say so where it happens.
static QString saved(const QImage &image, const QString &name)
{
    const QString path = pathOf(name);
    if (!image.save(path))
        qWarning("could not write test image %s", qPrintable(path));
    return path;
}

QVector<QColor> stripColors()
{
    return {QColor(200, 0, 0), QColor(0, 200, 0), QColor(0, 0, 200), QColor(200, 200, 0)};
}

QString makeStrip(const QString &name, int frameW, int frameH)
{
    QImage image(frameW * 4, frameH, QImage::Format_ARGB32);
    QPainter p(&image);
    const QVector<QColor> colors = stripColors();
    for (int k = 0; k < 4; ++k)
        p.fillRect(k * frameW, 0, frameW, frameH, colors[k]);
    p.end();
    return saved(image, name);
}

QString makeSolid(const QString &name, int w, int h, const QColor &color)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(color);
    return saved(image, name);
}

QString makeNineGrid(const QString &name, int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(QColor(0, 0, 255));
    QPainter p(&image);
    const int cw = w / 3, ch = h / 3;
    p.fillRect(cw, 0, w - 2 * cw, ch, QColor(0, 255, 0));
    p.fillRect(cw, h - ch, w - 2 * cw, ch, QColor(0, 255, 0));
    p.fillRect(0, ch, cw, h - 2 * ch, QColor(0, 255, 0));
    p.fillRect(w - cw, ch, cw, h - 2 * ch, QColor(0, 255, 0));
    p.fillRect(0, 0, cw, ch, QColor(255, 0, 0));
    p.fillRect(w - cw, 0, cw, ch, QColor(255, 0, 0));
    p.fillRect(0, h - ch, cw, ch, QColor(255, 0, 0));
    p.fillRect(w - cw, h - ch, cw, ch, QColor(255, 0, 0));
    p.end();
    return saved(image, name);
}

QString makeBroken(const QString &name)
{
    const QString path = pathOf(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write("not an image");
    return path;
}

AudioDataAttribute audioBarsRecord()
{
    return AudioDataAttribute::blockBars(QColor(215, 63, 63));
}

QImage render(QWidget *w)
{
    QImage image(w->size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    w->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

bool near(const QColor &a, const QColor &b, int tolerance)
{
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance &&
           qAbs(a.blue() - b.blue()) <= tolerance && qAbs(a.alpha() - b.alpha()) <= tolerance;
}

int shownFrame(QWidget *w)
{
    const QColor c = render(w).pixelColor(w->width() / 2, w->height() / 2);
    const QVector<QColor> colors = stripColors();
    for (int k = 0; k < colors.size(); ++k)
        if (near(c, colors[k]))
            return k;
    return -1;
}

Host::Host(QWidget *control) : m_control(control)
{
    control->setParent(&window);
    control->move(20, 20);
    window.resize(control->width() + 40, control->height() + 40);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        qWarning("the host window of a control was not shown");
}

Host::~Host()
{
    if (m_control)
        m_control->setParent(nullptr);
}

// A point of the window off the widget, and the one below it (not the window's origin, which the test library
// reads as "centre").
static QPoint offWidget(QWidget *w)
{
    QWidget *top = w->window();
    const QRect own(w->mapTo(top, QPoint(0, 0)), w->size());
    for (const QPoint &p : {QPoint(1, 1), QPoint(top->width() - 2, 1), QPoint(1, top->height() - 2),
                            QPoint(top->width() - 2, top->height() - 2)})
        if (!own.contains(p) && !own.contains(p + QPoint(0, 1)))
            return p;
    qWarning("no room in the window around %s", w->metaObject()->className());
    return QPoint(1, 1);
}

void hover(QWidget *w, const QPoint &local)
{
    // Twice off the widget: a move to where the pointer already is reports nothing.
    rstest::moveTo(w->window(), offWidget(w));
    rstest::moveTo(w->window(), offWidget(w) + QPoint(0, 1));
    QVERIFY2(rstest::isOnTopAt(w, local), qPrintable(QStringLiteral("the pointer over %1 reaches another widget")
                                                         .arg(QLatin1String(w->metaObject()->className()))));
    rstest::moveTo(w, local);
}

} // namespace wtk
