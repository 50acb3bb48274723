#include "QZTBaseRectImageDraw.h"

#include "QBaseImageDraw.h"

#include <QEvent>
#include <QFileInfo>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

struct ZtBaseRectImageDrawPrivate
{
    QWidget *host = nullptr;
    QImage skin;
    QImage icon;
    bool buttonMode = false;
    QRect iconRect = QRect(0, -1, 0, 0);
    bool iconButtonMode = false;
    QString text;
    bool textDrawable = true;
    QMargins margins = QMargins(1, 1, 1, 1);
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    QColor current = Qt::black;
    QColor colors[4] = {Qt::black, Qt::black, Qt::black, Qt::black};
    bool checked = false;
    int state = 0;
};

QZTBaseRectImageDraw::QZTBaseRectImageDraw(QWidget *host) : d(new ZtBaseRectImageDrawPrivate)
{
    d->host = host;
}

QZTBaseRectImageDraw::~QZTBaseRectImageDraw() = default;

void QZTBaseRectImageDraw::updateHost()
{
    if (d->host)
        d->host->update();
}

void QZTBaseRectImageDraw::repaintHost()
{
    if (d->host)
        d->host->repaint();
}

bool QZTBaseRectImageDraw::setBackgroundImage(const QString &path)
{
    QImage image;
    if (!QFileInfo::exists(path) || !image.load(path))
        return false;
    return setBackgroundImage(image);
}

bool QZTBaseRectImageDraw::setBackgroundImage(const QImage &image)
{
    if (image.isNull())
        return false;
    d->skin = image;
    d->skin.setDevicePixelRatio(2.0);
    updateHost();
    return true;
}

bool QZTBaseRectImageDraw::setRectIcon(const QString &path)
{
    QImage image;
    if (!QFileInfo::exists(path) || !image.load(path))
        return false;
    return setRectIcon(image);
}

bool QZTBaseRectImageDraw::setRectIcon(const QImage &image)
{
    if (image.isNull())
        return false;
    d->icon = image;
    d->icon.setDevicePixelRatio(2.0);
    updateHost();
    return true;
}

void QZTBaseRectImageDraw::setIconRect(const QRect &rect)
{
    d->iconRect = rect;
}
QRect QZTBaseRectImageDraw::iconRect() const
{
    return d->iconRect;
}

void QZTBaseRectImageDraw::setDrawText(const QString &text)
{
    if (text == d->text)
        return;
    d->text = text;
    updateHost();
}

QString QZTBaseRectImageDraw::drawText() const
{
    return d->text;
}

void QZTBaseRectImageDraw::setAlignment(Qt::Alignment alignment)
{
    d->alignment = alignment;
    updateHost();
}
Qt::Alignment QZTBaseRectImageDraw::alignment() const
{
    return d->alignment;
}
void QZTBaseRectImageDraw::setTextDrawable(bool on)
{
    d->textDrawable = on;
}
bool QZTBaseRectImageDraw::isTextDrawable() const
{
    return d->textDrawable;
}

void QZTBaseRectImageDraw::setDrawTextMargins(int left, int top, int right, int bottom)
{
    // Stored as 16-bit values like the rest of the record.
    d->margins = QMargins(qint16(left), qint16(top), qint16(right), qint16(bottom));
    updateHost();
}

void QZTBaseRectImageDraw::setDrawTextMargins(const QMargins &margins)
{
    setDrawTextMargins(margins.left(), margins.top(), margins.right(), margins.bottom());
}

QMargins QZTBaseRectImageDraw::drawTextMargins() const
{
    return d->margins;
}

void QZTBaseRectImageDraw::setTextColor(const QColor &color)
{
    setTextColor(color, color, color, color);
}

void QZTBaseRectImageDraw::setTextColor(const QColor &normal, const QColor &hover, const QColor &pressed,
                                        const QColor &disabled)
{
    d->colors[0] = normal;
    d->colors[1] = hover;
    d->colors[2] = pressed;
    d->colors[3] = disabled;
    d->current = normal;
}

QColor QZTBaseRectImageDraw::stateTextColor(int state) const
{
    return d->colors[qBound(0, state, 3)];
}

void QZTBaseRectImageDraw::setCheckState(bool checked)
{
    d->checked = checked;
}
bool QZTBaseRectImageDraw::checkState() const
{
    return d->checked;
}
void QZTBaseRectImageDraw::setBtnMode(bool on)
{
    d->buttonMode = on;
}
bool QZTBaseRectImageDraw::isBtnMode() const
{
    return d->buttonMode;
}
void QZTBaseRectImageDraw::setIconBtnMode(bool on)
{
    d->iconButtonMode = on;
}
bool QZTBaseRectImageDraw::IsIconBtnMode() const
{
    return d->iconButtonMode;
}
bool QZTBaseRectImageDraw::isCustomDraw() const
{
    return !d->skin.isNull();
}
int QZTBaseRectImageDraw::drawState() const
{
    return d->state;
}

QImage QZTBaseRectImageDraw::frameOf(const QImage &image) const
{
    return QBaseImageDraw::stripFrame(image, d->checked ? 2 : qBound(0, d->state, 3));
}

void QZTBaseRectImageDraw::paintEvent(QPaintEvent *)
{
    if (!d->host || d->skin.isNull())
        return;
    QPainter painter(d->host);
    drawBackgroundImage(painter);
    drawIcon(painter);
    drawRectText(painter);
}

void QZTBaseRectImageDraw::drawBackgroundImage(QPainter &painter)
{
    if (!d->host || d->skin.isNull())
        return;
    const QRect r(0, 0, d->host->width(), d->host->height());
    QBaseImageDraw::drawBtnImageBg(painter, r, d->buttonMode ? frameOf(d->skin) : d->skin, true);
}

void QZTBaseRectImageDraw::drawIcon(QPainter &painter)
{
    if (d->icon.isNull())
        return;
    iconDraw(painter, d->iconButtonMode ? frameOf(d->icon) : d->icon);
}

void QZTBaseRectImageDraw::iconDraw(QPainter &painter, const QImage &image)
{
    if (image.isNull() || !d->host)
        return;
    QRect &r = d->iconRect;
    if (r.width() == 0)
        r.setWidth(image.width() / 2);
    if (r.height() == 0)
        r.setHeight(image.height() / 2);
    if (r.y() == -1)
        r.moveTop((d->host->height() - r.height()) / 2);
    QBaseImageDraw::drawIcon(painter, r.topLeft(), r.size(), image);
}

void QZTBaseRectImageDraw::drawRectText(QPainter &painter)
{
    painter.setRenderHint(QPainter::TextAntialiasing);
    if (d->text.isEmpty() || !d->textDrawable || !d->host)
        return;
    const QFont saved = painter.font();
    painter.setFont(d->host->font());
    painter.setPen(drawTextColor());
    const QRect r(QPoint(d->margins.left(), d->margins.top()),
                  QPoint(d->host->width() - 1 - d->margins.right(), d->host->height() - 1 - d->margins.bottom()));
    const QString text = QFontMetrics(d->host->font()).elidedText(d->text, Qt::ElideRight, r.width());
    painter.drawText(r, int(d->alignment), text);
    painter.setFont(saved);
}

QColor QZTBaseRectImageDraw::drawTextColor()
{
    if (!d->buttonMode)
        return d->colors[0];
    if (d->checked)
        d->current = d->colors[2];
    else
        d->current = d->colors[(d->state >= 1 && d->state <= 3) ? d->state : 0];
    return d->current;
}

bool QZTBaseRectImageDraw::mousePressEventDraw(QMouseEvent *e)
{
    if (!d->host || e->button() != Qt::LeftButton)
        return false;
    if (!d->host->isEnabled()) {
        d->state = 3;
        return false;
    }
    if (d->state == 2)
        return false;
    d->state = 2;
    repaintHost();
    return true;
}

void QZTBaseRectImageDraw::mouseReleaseEventDraw(QMouseEvent *e)
{
    if (!d->host || e->button() != Qt::LeftButton)
        return;
    if (!d->host->isEnabled()) {
        d->state = 3;
        return;
    }
    if (d->state == 2) {
        d->state = 0;
        repaintHost();
    }
}

void QZTBaseRectImageDraw::enterEventDraw(QEvent *)
{
    if (!d->host)
        return;
    if (!d->host->isEnabled()) {
        d->state = 3;
        return;
    }
    if (d->state != 1) {
        d->state = 1;
        repaintHost();
    }
}

void QZTBaseRectImageDraw::leaveEventDraw(QEvent *)
{
    if (!d->host)
        return;
    if (!d->host->isEnabled()) {
        d->state = 3;
        return;
    }
    if (d->state == 1) {
        d->state = 0;
        repaintHost();
    }
}

void QZTBaseRectImageDraw::changeEventDraw(QEvent *e)
{
    if (!d->host || e->type() != QEvent::EnabledChange)
        return;
    d->state = d->host->isEnabled() ? 0 : 3;
}

void QZTBaseRectImageDraw::resetBtnState()
{
    d->state = 0;
    repaintHost();
}
