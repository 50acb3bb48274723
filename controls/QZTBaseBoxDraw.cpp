#include "QZTBaseBoxDraw.h"

#include "QBaseImageDraw.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFileInfo>
#include <QFontMetrics>
#include <QPainter>

#include <cmath>

struct ZtBaseBoxDrawPrivate
{
    QImage checked, unchecked, partial, icon;
    QRect iconRect = QRect(0, 0, 0, 0);
    QRect checkRect = QRect(0, 0, 0, 0);
    QRect textRect = QRect(0, 0, 0, 0);
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    QAbstractButton *host = nullptr;
    QZTBaseBoxDraw::enumBoxType type = QZTBaseBoxDraw::CheckBox;
    bool twoFrames = true;
    QVariant data;
    bool fillMode = false;
};

QZTBaseBoxDraw::QZTBaseBoxDraw(QAbstractButton *host, enumBoxType type) : d(new ZtBaseBoxDrawPrivate)
{
    d->host = host;
    d->type = type;
}

QZTBaseBoxDraw::~QZTBaseBoxDraw() = default;

bool QZTBaseBoxDraw::setCheckImage(const QString &checked, const QString &unchecked, const QString &partial,
                                   bool unused, bool twoFrames)
{
    if (!QFileInfo::exists(checked))
        return false;
    const QImage c(checked), u(unchecked);
    const QImage p = partial.isEmpty() ? QImage() : QImage(partial);
    return setCheckImage(&c, &u, partial.isEmpty() ? nullptr : &p, unused, twoFrames, true);
}

bool QZTBaseBoxDraw::setCheckImage(const QImage *checked, const QImage *unchecked, const QImage *partial, bool,
                                   bool twoFrames, bool)
{
    // A check box with a 0x0 image would vanish: keep the previous pair unless both new images are real.
    if (!checked || !unchecked || checked->isNull() || unchecked->isNull())
        return false;
    d->checked = *checked;
    d->unchecked = *unchecked;
    d->partial = partial ? *partial : QImage();
    d->checked.setDevicePixelRatio(2.0);
    d->unchecked.setDevicePixelRatio(2.0);
    d->partial.setDevicePixelRatio(2.0);
    d->twoFrames = twoFrames;
    const int w = d->checked.width() / (twoFrames ? 2 : 1) / 2;
    const int h = d->checked.height() / 2;
    d->checkRect = QRect(0, d->checkRect.top(), w, h);
    if (d->host) {
        if (d->host->height() < h)
            d->host->resize(d->host->width(), h);
        d->textRect.setLeft(w + 5);
        d->textRect.setWidth(0);
        d->host->repaint();
    }
    return true;
}

bool QZTBaseBoxDraw::setBtnIcon(const QString &path)
{
    QImage icon;
    if (QFileInfo::exists(path) && icon.load(path)) {
        d->icon = icon;
        d->icon.setDevicePixelRatio(2.0);
    }
    return false;
}

void QZTBaseBoxDraw::setIconRect(const QRect &rect)
{
    d->iconRect = rect;
}
void QZTBaseBoxDraw::setTextRect(const QRect &rect)
{
    d->textRect = rect;
}
QRect QZTBaseBoxDraw::textRect() const
{
    return d->textRect;
}
QRect QZTBaseBoxDraw::checkRect() const
{
    return d->checkRect;
}
Qt::Alignment QZTBaseBoxDraw::alignment() const
{
    return d->alignment;
}
void QZTBaseBoxDraw::setAlignment(Qt::Alignment alignment)
{
    d->alignment = alignment;
}
void QZTBaseBoxDraw::setBgFillMode(bool on)
{
    d->fillMode = on;
}
void QZTBaseBoxDraw::setData(const QVariant &data)
{
    d->data = data;
}
QVariant QZTBaseBoxDraw::getData() const
{
    return d->data;
}
bool QZTBaseBoxDraw::isCustomDraw() const
{
    return !d->checked.isNull();
}
QImage QZTBaseBoxDraw::checkedImage() const
{
    return d->checked;
}
QImage QZTBaseBoxDraw::uncheckedImage() const
{
    return d->unchecked;
}

void QZTBaseBoxDraw::paintEvent(QPaintEvent *)
{
    if (!d->host)
        return;
    QPainter painter(d->host);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    DrawCheckImage(painter);
    DrawIconImage(painter);
    DrawCheckText(painter);
}

void QZTBaseBoxDraw::DrawCheckImage(QPainter &painter)
{
    if (!d->host)
        return;
    QRect r = d->checkRect;
    if (r.top() <= 0)
        r.moveTop((d->host->height() - r.height()) / 2);
    const QImage *image = &d->unchecked;
    if (d->type == CheckBox) {
        auto *box = qobject_cast<QCheckBox *>(d->host);
        const Qt::CheckState state = box ? box->checkState() : (d->host->isChecked() ? Qt::Checked : Qt::Unchecked);
        if (state == Qt::Checked)
            image = &d->checked;
        // Without a partial image a partly checked box shows the checked image rather than nothing.
        else if (state == Qt::PartiallyChecked)
            image = d->partial.isNull() ? &d->checked : &d->partial;
    } else if (d->host->isChecked()) {
        image = &d->checked;
    }
    if (image->isNull())
        return;
    QImage frame = *image;
    if (d->twoFrames) {
        const int half = image->width() / 2;
        frame = image->copy(d->host->isEnabled() ? 0 : half, 0, half, image->height());
        frame.setDevicePixelRatio(2.0);
    }
    if (d->fillMode)
        QBaseImageDraw::drawBtnImageBg(painter, d->host->rect(), frame, true);
    else
        painter.drawImage(r, frame);
}

void QZTBaseBoxDraw::DrawIconImage(QPainter &painter)
{
    if (d->icon.isNull())
        return;
    if (d->iconRect.width() == 0)
        d->iconRect.setWidth(d->icon.width() / 2);
    if (d->iconRect.height() == 0)
        d->iconRect.setHeight(d->icon.height() / 2);
    QBaseImageDraw::drawImage(painter, d->iconRect, QRect(0, 0, d->icon.width() / 2, d->icon.height() / 2), d->icon);
}

void QZTBaseBoxDraw::DrawCheckText(QPainter &painter)
{
    if (!d->host || d->host->text().isEmpty())
        return;
    const QFont saved = painter.font();
    painter.setFont(d->host->font());
    painter.setPen(d->host->palette().color(QPalette::WindowText));
    if (d->textRect.width() == 0)
        d->textRect.setRight(d->host->width() - 1);
    if (d->textRect.height() == 0)
        d->textRect.setBottom(d->host->height() - 1);
    const QString text = QFontMetrics(d->host->font()).elidedText(d->host->text(), Qt::ElideRight, d->textRect.width());
    painter.drawText(d->textRect, int(d->alignment), text);
    painter.setFont(saved);
}

void QZTBaseBoxDraw::adjustSize()
{
    if (!d->host)
        return;
    const QString text = d->host->text();
    const QFontMetrics fm(d->host->font());
    // Rounded up: a box sized to the rounded-down advance would elide its own text.
    const int textWidth = int(std::ceil(QFontMetricsF(d->host->font()).horizontalAdvance(text)));
    const int w = (text.isEmpty() ? 0 : 5) + d->checkRect.width() + textWidth;
    const int h = qMax(d->checkRect.height(), fm.height());
    d->host->resize(w, h);
    d->textRect.setWidth(0);
}
