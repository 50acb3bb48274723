#include "QZTBaseButtonDraw.h"

#include "QBaseImageDraw.h"

#include <QAbstractButton>
#include <QFileInfo>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QTimerEvent>

struct ZtBaseButtonDrawPrivate
{
    QImage image; // 4-frame strip, ratio 2
    QImage icon;
    QRect iconRect = QRect(0, 0, 0, 0);
    bool iconBtnMode = false;
    int state = 0;
    bool staticState = false;
    bool customTextRect = false;
    QRect textRect;
    QColor currentColor = Qt::black;
    int pressX = 0;
    bool nineGrid = true;
    int tag = 0;
    QColor colors[4] = {Qt::black, Qt::black, Qt::black, Qt::black};
    Qt::Alignment alignment = Qt::AlignHCenter | Qt::AlignVCenter;
    bool hasFocus = false;
    bool mouseInside = false;
    QAbstractButton *host = nullptr;
    int badgePixelSize = 11;
    int count = 0;
    QRect badgeRect = QRect(QPoint(-1, -1), QPoint(18, 18));
    QString badgeImages[2];
    QColor badgeColors[2] = {QColor(255, 120, 0), QColor(255, 120, 0)};
    QColor badgeTextColors[2] = {Qt::white, Qt::white};
    int alternationTimer = 0;
    bool alternateEffect = false;
    int alternationInterval = 0;
    int alternationPhase = 0;
    bool flickering = false;
    int flickerTimer = 0;
    int flickerInterval = 0;
    int flickerPhase = 0;
    bool enterChangesCursor = true;
    int doneSign = 0;
};

QZTBaseButtonDraw::QZTBaseButtonDraw(QAbstractButton *host) : d(new ZtBaseButtonDrawPrivate)
{
    d->host = host;
    if (host)
        d->textRect = host->rect();
}

QZTBaseButtonDraw::~QZTBaseButtonDraw()
{
    // The host's timers die with the host; nothing else is borrowed.
}

void QZTBaseButtonDraw::repaintHost()
{
    if (d->host)
        d->host->repaint();
}

void QZTBaseButtonDraw::applyImage(const QImage &image, bool nineGrid)
{
    d->image = image;
    d->image.setDevicePixelRatio(2.0);
    if (d->host) {
        d->host->resize(image.width() / 8, image.height() / 2);
        d->textRect = d->host->rect();
    }
    d->nineGrid = nineGrid;
}

bool QZTBaseButtonDraw::setButtonImage(const QString &path, bool nineGrid)
{
    if (!QFileInfo::exists(path))
        return false;
    QImage image;
    if (!image.load(path) || image.isNull())
        return false;
    applyImage(image, nineGrid);
    return true;
}

bool QZTBaseButtonDraw::setButtonImage(QImage *image, bool nineGrid, bool)
{
    if (!image || image->isNull())
        return false;
    applyImage(*image, nineGrid);
    return true;
}

bool QZTBaseButtonDraw::setButtonImage(const QImage &image, bool nineGrid)
{
    if (image.isNull())
        return false;
    applyImage(image, nineGrid);
    return true;
}

QImage QZTBaseButtonDraw::buttonImage() const
{
    return d->image;
}

void QZTBaseButtonDraw::setGridView(bool nineGrid)
{
    d->nineGrid = nineGrid;
    if (d->host)
        d->host->update();
}

void QZTBaseButtonDraw::setStaticState(bool on)
{
    d->staticState = on;
}
void QZTBaseButtonDraw::setBtnState(int state)
{
    d->state = state;
}
int QZTBaseButtonDraw::getBtnState() const
{
    return d->state;
}

void QZTBaseButtonDraw::setTextColor(const QColor &color)
{
    setTextColor(color, color, color, color);
}

void QZTBaseButtonDraw::setTextColor(const QColor &normal, const QColor &hover, const QColor &pressed,
                                     const QColor &disabled)
{
    d->colors[0] = normal;
    d->colors[1] = hover;
    d->colors[2] = pressed;
    d->colors[3] = disabled;
    d->currentColor = normal;
}

Qt::Alignment QZTBaseButtonDraw::alignment() const
{
    return d->alignment;
}
void QZTBaseButtonDraw::setAlignment(Qt::Alignment alignment)
{
    d->alignment = alignment;
}

void QZTBaseButtonDraw::setTextRect(const QRect &rect)
{
    d->textRect = rect;
    d->customTextRect = true;
    if (d->host)
        d->host->update();
}
QRect QZTBaseButtonDraw::textRect() const
{
    return d->textRect;
}

bool QZTBaseButtonDraw::setBtnIcon(const QString &path)
{
    d->icon = QImage(path);
    d->icon.setDevicePixelRatio(2.0);
    if (d->host)
        d->host->update();
    return true;
}

bool QZTBaseButtonDraw::setBtnIcon(const QImage &image)
{
    d->icon = image;
    d->icon.setDevicePixelRatio(2.0);
    if (d->host)
        d->host->update();
    return true;
}

void QZTBaseButtonDraw::setIconBtnMode(bool on)
{
    d->iconBtnMode = on;
}
bool QZTBaseButtonDraw::isIconbtnMode() const
{
    return d->iconBtnMode;
}
void QZTBaseButtonDraw::setIconRect(const QRect &rect)
{
    d->iconRect = rect;
    if (d->host)
        d->host->update();
}
QRect QZTBaseButtonDraw::iconRect() const
{
    return d->iconRect;
}
void QZTBaseButtonDraw::setTag(int tag)
{
    d->tag = tag;
}
int QZTBaseButtonDraw::getTag() const
{
    return d->tag;
}
void QZTBaseButtonDraw::setDoneSign(int sign)
{
    d->doneSign = sign;
}
int QZTBaseButtonDraw::getDoneSign() const
{
    return d->doneSign;
}

void QZTBaseButtonDraw::resetCount()
{
    d->count = 0;
    if (d->alternationTimer != 0 && d->host)
        d->host->killTimer(d->alternationTimer);
    d->alternationTimer = 0;
    repaintHost();
}

void QZTBaseButtonDraw::addItemCount()
{
    ++d->count;
    // One alternation timer per badge: further counts do not stack timers.
    if (d->alternateEffect && d->alternationTimer == 0 && d->host && d->alternationInterval > 0)
        d->alternationTimer = d->host->startTimer(d->alternationInterval);
    repaintHost();
}

int QZTBaseButtonDraw::itmeCount() const
{
    return d->count;
}
void QZTBaseButtonDraw::setTagPixelSize(int size)
{
    d->badgePixelSize = size;
}
void QZTBaseButtonDraw::setTagRect(const QRect &rect)
{
    d->badgeRect = rect;
}
void QZTBaseButtonDraw::setTagBgImage(const QString &normal, const QString &alternate)
{
    d->badgeImages[0] = normal;
    d->badgeImages[1] = alternate;
}
void QZTBaseButtonDraw::setTagBgAlternateColor(const QColor &normal, const QColor &alternate)
{
    d->badgeColors[0] = normal;
    d->badgeColors[1] = alternate;
}
void QZTBaseButtonDraw::setTagTextAlternateColor(const QColor &normal, const QColor &alternate)
{
    d->badgeTextColors[0] = normal;
    d->badgeTextColors[1] = alternate;
}
void QZTBaseButtonDraw::setAlternateEffect(bool on, int intervalMs)
{
    d->alternateEffect = on;
    d->alternationInterval = intervalMs;
}

void QZTBaseButtonDraw::startFlicker(int intervalMs)
{
    d->flickerInterval = intervalMs;
    d->flickering = true;
    if (!d->host)
        return;
    // A second start replaces the running timer instead of adding one.
    if (d->flickerTimer != 0)
        d->host->killTimer(d->flickerTimer);
    d->flickerTimer = intervalMs > 0 ? d->host->startTimer(intervalMs) : 0;
}

void QZTBaseButtonDraw::stopFlicker()
{
    d->flickering = false;
    if (d->flickerTimer != 0 && d->host)
        d->host->killTimer(d->flickerTimer);
    d->flickerTimer = 0;
}

bool QZTBaseButtonDraw::isFlickering() const
{
    return d->flickering;
}
void QZTBaseButtonDraw::setEnterIsChangeMouse(bool on)
{
    d->enterChangesCursor = on;
}
bool QZTBaseButtonDraw::getEnterIsChangeMouse() const
{
    return d->enterChangesCursor;
}
int QZTBaseButtonDraw::getMouseMapValue() const
{
    return d->pressX;
}
bool QZTBaseButtonDraw::isCustomDraw() const
{
    return !d->image.isNull();
}
QColor QZTBaseButtonDraw::currentDrawColor() const
{
    return d->currentColor;
}

bool QZTBaseButtonDraw::mousePressEvent(QMouseEvent *e)
{
    if (!d->host || e->button() != Qt::LeftButton)
        return false;
    if (!d->host->isEnabled()) {
        d->state = 3;
        return false;
    }
    d->pressX = e->pos().x();
    if (d->state != 2) {
        d->state = 2;
        repaintHost();
    }
    return true;
}

bool QZTBaseButtonDraw::mouseReleaseEvent(QMouseEvent *e)
{
    if (!d->host || e->button() != Qt::LeftButton || d->staticState)
        return false;
    if (!d->host->isEnabled()) {
        d->state = 3;
        return false;
    }
    if (d->state == 2) {
        d->state = d->host->isChecked() ? 1 : 0;
        repaintHost();
    }
    return true;
}

bool QZTBaseButtonDraw::mouseMoveEvent(QMouseEvent *)
{
    return d->state == 2;
}

void QZTBaseButtonDraw::enterEvent(QEvent *)
{
    if (!d->host || d->staticState)
        return;
    if (!d->host->isEnabled()) {
        d->state = 3;
        return;
    }
    d->mouseInside = true;
    if (d->state != 1) {
        d->state = 1;
        repaintHost();
    }
}

void QZTBaseButtonDraw::leaveEvent(QEvent *)
{
    if (!d->host || d->staticState)
        return;
    if (!d->host->isEnabled()) {
        d->state = 3;
        return;
    }
    d->mouseInside = false;
    if (d->state == 1) {
        d->state = 0;
        repaintHost();
    }
}

void QZTBaseButtonDraw::changeEvent(QEvent *e)
{
    if (!d->host || d->staticState || e->type() != QEvent::EnabledChange)
        return;
    d->state = d->host->isEnabled() ? 0 : 3;
}

void QZTBaseButtonDraw::focusInEvent(QFocusEvent *)
{
    d->hasFocus = true;
}
void QZTBaseButtonDraw::focusOutEvent(QFocusEvent *)
{
    d->hasFocus = false;
}

void QZTBaseButtonDraw::timerEvent(QTimerEvent *e)
{
    if (!d->host)
        return;
    if (e->timerId() == d->alternationTimer && d->alternationTimer != 0) {
        d->alternationPhase = 1 - d->alternationPhase;
        d->host->update();
    } else if (e->timerId() == d->flickerTimer && d->flickerTimer != 0) {
        d->flickerPhase = 1 - d->flickerPhase;
        d->host->update();
    }
}

void QZTBaseButtonDraw::paintEvent(QPaintEvent *)
{
    if (!d->host)
        return;
    QPainter painter(d->host);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawBackground(painter);
    DrawFlicker(painter);
    DrawButtonText(painter);
    DrawFocus(painter);
    DrawIcon(painter);
    DrawDigitalTag(painter);
}

int QZTBaseButtonDraw::frameForState() const
{
    if (!d->staticState && d->host && d->host->isChecked())
        return 2;
    return d->state;
}

void QZTBaseButtonDraw::DrawBackground(QPainter &painter)
{
    if (d->image.isNull() || !d->host)
        return;
    const int k = frameForState();
    if (k < 0 || k > 3) {
        painter.drawImage(QPointF(0, 0), d->image);
        return;
    }
    QBaseImageDraw::drawBtnImageBg(painter, d->host->rect(), QBaseImageDraw::stripFrame(d->image, k), d->nineGrid);
    d->currentColor = d->colors[k];
}

void QZTBaseButtonDraw::DrawButtonText(QPainter &painter)
{
    if (!d->host || d->host->text().isEmpty())
        return;
    const QFont saved = painter.font();
    painter.setFont(d->host->font());
    painter.setPen(d->currentColor);
    QRect r = d->host->rect();
    if (d->customTextRect) {
        if (d->textRect.width() == 0)
            d->textRect.setRight(d->textRect.left() + d->host->width() - (d->iconRect.right() + 1) - 1);
        if (d->textRect.height() == 0)
            d->textRect.setBottom(d->host->height() - 1);
        r = d->textRect;
    }
    const QString text = QFontMetrics(d->host->font()).elidedText(d->host->text(), Qt::ElideRight, r.width());
    painter.drawText(r, int(d->alignment), text);
    painter.setFont(saved);
}

void QZTBaseButtonDraw::iconDraw(QPainter &painter, const QImage &image)
{
    if (image.isNull() || !d->host)
        return;
    QRect &r = d->iconRect;
    const int w = r.width() >= 1 ? r.width() : image.width() / 2;
    const int h = r.height() >= 1 ? r.height() : image.height() / 2;
    const int left = r.left() == -1 ? (d->host->width() - w) / 2 : r.left();
    const int top = r.top() == -1 ? (d->host->height() - h) / 2 : r.top();
    r = QRect(left, top, w, h);
    QBaseImageDraw::drawIcon(painter, r.topLeft(), r.size(), image);
}

void QZTBaseButtonDraw::DrawIcon(QPainter &painter)
{
    if (d->icon.isNull())
        return;
    if (d->iconBtnMode) {
        int k = frameForState();
        if (k < 0 || k > 3)
            k = 0;
        iconDraw(painter, QBaseImageDraw::stripFrame(d->icon, k));
    } else {
        iconDraw(painter, d->icon);
    }
}

void QZTBaseButtonDraw::DrawFlicker(QPainter &painter)
{
    if (!d->flickering || d->image.isNull() || !d->host)
        return;
    QBaseImageDraw::drawBtnImageBg(painter, d->host->rect(),
                                   QBaseImageDraw::stripFrame(d->image, d->flickerPhase == 1 ? 1 : 2), d->nineGrid);
}

void QZTBaseButtonDraw::DrawDigitalTag(QPainter &painter)
{
    if (d->count <= 0 || !d->host)
        return;
    painter.setRenderHint(QPainter::Antialiasing);
    const int left = d->badgeRect.left() == -1 ? d->host->width() - d->badgeRect.right() - 2 : d->badgeRect.left();
    const int top = d->badgeRect.top() == -1 ? 0 : d->badgeRect.top();
    const QRect badge(left, top, d->badgeRect.width(), d->badgeRect.height());
    const int look = d->alternateEffect && d->alternationPhase == 1 ? 1 : 0;
    painter.save();
    if (d->badgeImages[0].isEmpty() && d->badgeImages[1].isEmpty()) {
        painter.setPen(QPen(d->badgeColors[look], 1));
        painter.setBrush(d->badgeColors[look]);
        painter.drawEllipse(badge);
    } else {
        QImage bg(d->badgeImages[look]);
        if (!bg.isNull()) {
            bg.setDevicePixelRatio(2.0);
            QBaseImageDraw::drawImage(painter, badge, QRect(0, 0, bg.width() / 2, bg.height() / 2), bg);
        }
    }
    QFont font = painter.font();
    font.setFamily(QStringLiteral("Tahoma"));
    font.setPixelSize(d->count < 100 ? d->badgePixelSize : qMax(1, d->badgePixelSize - 2));
    painter.setFont(font);
    painter.setPen(d->badgeTextColors[look]);
    painter.drawText(badge, Qt::AlignCenter, d->count < 100 ? QString::number(d->count) : QStringLiteral("99+"));
    painter.restore();
}
