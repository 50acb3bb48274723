#include "QBaseDrawWidget.h"

#include "QBaseImageDraw.h"
#include "WindowFilters.h"
#include "ZtMacosInterface.h"

#include <QDialog>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWidget>
#include <QWindow>

struct QBaseDrawWidgetPrivate
{
    QImage background; // ratio 2; null when none
    QImage logo;
    QColor backgroundColor = QColor(100, 100, 100, 100);
    int moveTopHeight = 40;
    bool pressed = false;
    QPoint dragOffset;
    QRect normalGeometry;
    CursorAndState cursorState = 0;
    enumStretchPolicy stretchPolicy = 3;
    dlgType type = 1;
    int stretchWidth = 4;
    bool maximised = false;
    int anchorX = 0;
    int anchorY = 0;
    QWidget *host = nullptr;
    int marginLeft = 0, marginRight = 0, marginTop = 0, marginBottom = 0;
    rectSize tl, tr, bl, br;
    QRect logoRect;
    QString title;
    QRect titleRect;
    Qt::Alignment titleAlignment = Qt::AlignLeft;
};

namespace {
// The screen the window is on (the primary one before it is shown): maximising and the resize limits
// follow that screen's area without panels and docks, not the primary screen's.
QRect availableAreaOf(const QWidget *host)
{
    QScreen *screen = host ? host->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1920, 1080);
}
// Compositors that place windows themselves (Wayland) refuse client moves: hand them the move instead.
bool compositorMovesWindows()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}
} // namespace

QBaseDrawWidget::QBaseDrawWidget(QWidget *host, dlgType type) : d(new QBaseDrawWidgetPrivate)
{
    d->host = host;
    d->type = type;
    d->stretchPolicy = type == 2 ? 0 : 3;
    if (host)
        host->setMouseTracking(true);
    // Centring dialogs, dragging and the window's menus all start from where the window is.
    if (type != 2)
        rs::installWindowFilters();
}

QBaseDrawWidget::~QBaseDrawWidget() = default;

void QBaseDrawWidget::repaintHost()
{
    if (d->host)
        d->host->repaint();
}

void QBaseDrawWidget::setDrawWidget(QWidget *host)
{
    d->host = host;
}
QWidget *QBaseDrawWidget::DrawWiget() const
{
    return d->host;
}
void QBaseDrawWidget::setMoveTopHeight(int height)
{
    d->moveTopHeight = height;
}
void QBaseDrawWidget::setStretchWidth(int width)
{
    d->stretchWidth = width;
}
int QBaseDrawWidget::stretchWidth() const
{
    return d->stretchWidth;
}
void QBaseDrawWidget::setStretchPolicy(enumStretchPolicy policy)
{
    d->stretchPolicy = policy;
}
enumStretchPolicy QBaseDrawWidget::stretchPolicy() const
{
    return d->stretchPolicy;
}
CursorAndState QBaseDrawWidget::cursorState() const
{
    return d->cursorState;
}
bool QBaseDrawWidget::isMaxSize() const
{
    return d->maximised;
}
void QBaseDrawWidget::setTransparentW(int w)
{
    setTransparentW(w, w, w, w);
}
void QBaseDrawWidget::setTransparentW(int left, int top, int right, int bottom)
{
    d->marginLeft = left;
    d->marginTop = top;
    d->marginRight = right;
    d->marginBottom = bottom;
}

void QBaseDrawWidget::setBackgroundImage(const QString &path, bool resizable)
{
    if (!d->host)
        return;
    QImage image;
    // A file that is missing or does not decode keeps the present background.
    if (!image.load(path))
        return;
    setBackgroundImage(image, resizable);
}

void QBaseDrawWidget::setBackgroundImage(const QImage &image, bool resizable)
{
    if (!d->host || image.isNull())
        return;
    d->background = image;
    d->background.setDevicePixelRatio(2.0);
    const QSize logical(image.width() / 2, image.height() / 2);
    d->host->resize(logical);
    if (resizable)
        d->host->setMinimumSize(logical);
    d->stretchPolicy = resizable ? 3 : 0;
    const rectSize corner(logical.width() / 3, logical.height() / 3);
    d->tl = d->tr = d->bl = d->br = corner;
    repaintHost();
}

void QBaseDrawWidget::changeBackgroundImage(const QImage &image)
{
    d->background = image;
    d->background.setDevicePixelRatio(2.0);
}

void QBaseDrawWidget::setGridViewInfo(rectSize topLeft, rectSize topRight, rectSize bottomLeft, rectSize bottomRight)
{
    d->tl = topLeft;
    d->tr = topRight;
    d->bl = bottomLeft;
    d->br = bottomRight;
    repaintHost();
}

void QBaseDrawWidget::setBackgrounColor(const QColor &color)
{
    d->backgroundColor = color;
    repaintHost();
}

void QBaseDrawWidget::sizeLogoRect()
{
    d->logoRect.setRight(d->logoRect.left() + d->logo.width() / 2 - 1);
    d->logoRect.setBottom(d->logoRect.top() + d->logo.height() / 2 - 1);
}

void QBaseDrawWidget::setLogoImage(const QString &path)
{
    d->logo = QImage();
    QImage image;
    if (image.load(path)) {
        d->logo = image;
        d->logo.setDevicePixelRatio(2.0);
        sizeLogoRect();
        repaintHost();
    }
}

void QBaseDrawWidget::setLogoImage(const QImage &image)
{
    d->logo = image;
    d->logo.setDevicePixelRatio(2.0);
    sizeLogoRect();
    repaintHost();
}

void QBaseDrawWidget::setLogoRect(const QRect &rect)
{
    d->logoRect = rect;
}
QRect QBaseDrawWidget::logoRect() const
{
    return d->logoRect;
}
void QBaseDrawWidget::setTitleRect(const QRect &rect)
{
    d->titleRect = rect;
}
void QBaseDrawWidget::setAlignment(Qt::Alignment alignment)
{
    d->titleAlignment = alignment;
    repaintHost();
}
Qt::Alignment QBaseDrawWidget::alignment() const
{
    return d->titleAlignment;
}
void QBaseDrawWidget::setDlgTitle(const QString &title)
{
    d->title = title;
    repaintHost();
}
QString QBaseDrawWidget::getDlgTitle() const
{
    return d->title;
}

void QBaseDrawWidget::CenterDlg(QDialog &dlg)
{
    if (!d->host)
        return;
    const QPoint g = d->host->mapToGlobal(QPoint(0, 0));
    int x = g.x() + (d->host->width() - dlg.width()) / 2;
    int y = g.y() + (d->host->height() - dlg.height()) / 2;
    if (x < 1)
        x = 50;
    if (y < 1)
        y = 50;
    dlg.move(x, y);
}

int QBaseDrawWidget::edgesForZone(CursorAndState zone) const
{
    switch (zone) {
    case 1:
        return Qt::LeftEdge;
    case 2:
        return Qt::LeftEdge | Qt::TopEdge;
    case 3:
        return Qt::TopEdge;
    case 4:
        return Qt::RightEdge | Qt::TopEdge;
    case 5:
        return Qt::RightEdge;
    case 6:
        return Qt::RightEdge | Qt::BottomEdge;
    case 7:
        return Qt::BottomEdge;
    case 8:
        return Qt::LeftEdge | Qt::BottomEdge;
    default:
        return 0;
    }
}

void QBaseDrawWidget::mousePressEvent(QMouseEvent *e)
{
    if (!d->host)
        return;
    // Qt's frame geometry is already top-left based: no flipping of a native origin is needed.
    const QPoint origin = d->type == 2 ? d->host->pos() : ZtMacosInterface::getWindowPos(d->host);
    d->dragOffset = e->globalPos() - origin;
    d->pressed = e->button() == Qt::LeftButton;
    if (!d->pressed || d->type == 2 || !compositorMovesWindows())
        return;
    QWindow *window = d->host->window()->windowHandle();
    if (!window)
        return;
    if (d->cursorState >= 1 && d->cursorState <= 8 && !d->maximised) {
        window->startSystemResize(Qt::Edges(edgesForZone(d->cursorState)));
        d->pressed = false;
    } else if (d->dragOffset.y() < d->moveTopHeight && !d->maximised) {
        window->startSystemMove();
        d->pressed = false;
    }
}

void QBaseDrawWidget::mouseMoveEvent(QMouseEvent *e)
{
    if (!d->host || d->type == 2)
        return;
    if (!d->pressed && !d->maximised && d->stretchPolicy != 0) {
        setCursorAndState(e);
    } else if (d->cursorState != 0) {
        setFrameGeomtry(e);
        return;
    }
    if (d->pressed && d->dragOffset.y() < d->moveTopHeight && !d->maximised)
        d->host->move(e->globalPos() - d->dragOffset);
}

void QBaseDrawWidget::mouseReleaseEvent(QMouseEvent *)
{
    d->pressed = false;
}

void QBaseDrawWidget::mouseDoubleClickEvent(QMouseEvent *e)
{
    if (!d->host)
        return;
    if (d->type == 2) {
        e->accept();
        return;
    }
    if (d->stretchPolicy == 3)
        OnBtnMax();
}

void QBaseDrawWidget::focusOutEvent(QFocusEvent *)
{
    if (d->host)
        d->pressed = false;
}

void QBaseDrawWidget::setCursorAndState(QMouseEvent *e)
{
    if (!d->host)
        return;
    const int gx = e->globalPos().x(), gy = e->globalPos().y();
    const QRect g = d->host->geometry();
    const int x1 = g.left(), y1 = g.top(), x2 = x1 + g.width() - 1, y2 = y1 + g.height() - 1;
    const int L = d->marginLeft, R = d->marginRight, T = d->marginTop, B = d->marginBottom;
    const int S = d->stretchWidth;
    const bool h = d->stretchPolicy & 1, v = d->stretchPolicy & 2;
    const bool topBand = gy >= y1 + T && gy <= y1 + T + S;
    if (gx >= x1 + L && gx <= x1 + L + S) {
        if (h && v && topBand) {
            setCursorType(2);
            d->anchorX = gx - x1;
            d->anchorY = gy - y1;
            return;
        }
        if (v && gy >= y2 - S - B) {
            setCursorType(8);
            d->anchorX = gx - x1;
            d->anchorY = y2 - gy;
            return;
        }
        // The left band belongs to the horizontal policy; without it the point may still be a top or
        // bottom edge below.
        if (h) {
            setCursorType(1);
            d->anchorX = gx - x1;
            return;
        }
    }
    if (gx >= x2 - R - S && gx <= x2 - R) {
        if (h && v && topBand) {
            setCursorType(4);
            d->anchorX = x2 - gx;
            d->anchorY = gy - y1;
            return;
        }
        if (v && gy >= y2 - S - B) {
            setCursorType(6);
            d->anchorX = x2 - gx;
            d->anchorY = y2 - gy;
            return;
        }
        if (h) {
            setCursorType(5);
            d->anchorX = x2 - gx;
            return;
        }
    }
    if (topBand && v) {
        setCursorType(3);
        d->anchorY = gy - y1;
        return;
    }
    if (gy >= y2 - B - S && gy <= y2 - B && v) {
        setCursorType(7);
        d->anchorY = y2 - gy;
        return;
    }
    setCursorType(0);
}

void QBaseDrawWidget::setCursorType(CursorAndState zone)
{
    if (!d->host)
        return;
    d->cursorState = zone;
    Qt::CursorShape shape = Qt::ArrowCursor;
    switch (zone) {
    case 1:
    case 5:
        shape = Qt::SplitHCursor;
        break;
    case 3:
    case 7:
        shape = Qt::SplitVCursor;
        break;
    case 2:
    case 6:
        shape = Qt::SizeFDiagCursor;
        break;
    case 4:
    case 8:
        shape = Qt::SizeBDiagCursor;
        break;
    default:
        break;
    }
    d->host->setCursor(shape);
}

void QBaseDrawWidget::setFrameGeomtry(QMouseEvent *e)
{
    if (!d->host)
        return;
    const QRect g = d->host->geometry();
    int x1 = g.left(), y1 = g.top(), x2 = g.right(), y2 = g.bottom();
    const int gx = e->globalPos().x(), gy = e->globalPos().y();
    const int minW = d->host->minimumSize().width(), minH = d->host->minimumSize().height();
    const QRect area = availableAreaOf(d->host);
    const int sw = area.width();
    const int ah = area.height();
    const int s = d->cursorState;
    if (s == 1 || s == 2 || s == 8) {
        const int nx = gx - d->anchorX;
        if (x2 - nx > minW && x2 - nx < sw - 4)
            x1 = nx;
    }
    if (s == 4 || s == 5 || s == 6) {
        const int nx = gx + d->anchorX;
        if (nx - x1 > minW && nx - x1 < sw - 4)
            x2 = nx;
    }
    if (s == 2 || s == 3 || s == 4) {
        const int ny = gy - d->anchorY;
        if (y2 - ny > minH && y2 - ny < ah)
            y1 = ny;
    }
    if (s == 6 || s == 7 || s == 8) {
        const int ny = gy + d->anchorY;
        if (ny - y1 > minH && ny - y1 < ah)
            y2 = ny;
    }
    d->host->setGeometry(QRect(QPoint(x1, y1), QPoint(x2, y2)));
    d->host->update();
}

void QBaseDrawWidget::OnBtnMax()
{
    if (!d->host)
        return;
    if (!d->maximised) {
        d->normalGeometry = d->host->geometry();
        // The transparent margins go outside the area, so the visible window fills it exactly.
        const QRect area = availableAreaOf(d->host);
        d->host->setGeometry(area.adjusted(-d->marginLeft, -d->marginTop, d->marginRight, d->marginBottom));
    } else {
        d->host->setGeometry(d->normalGeometry);
    }
    d->maximised = !d->maximised;
    setCursorType(0);
}

void QBaseDrawWidget::paintEvent(QPaintEvent *)
{
    if (!d->host)
        return;
    QPainter painter(d->host);
    const int W = d->host->width(), H = d->host->height();
    if (d->background.isNull()) {
        painter.fillRect(d->host->rect(), d->backgroundColor);
    } else {
        const QImage &img = d->background;
        const int iw = img.width() / 2, ih = img.height() / 2;
        const rectSize TL = d->tl, TR = d->tr, BL = d->bl, BR = d->br;
        auto draw = [&](QRect target, QRect source) { QBaseImageDraw::drawImage(painter, target, source, img); };
        draw(QRect(0, 0, TL.width, TL.height), QRect(0, 0, TL.width, TL.height));
        draw(QRect(W - TR.width, 0, TR.width, TR.height), QRect(iw - TR.width, 0, TR.width, TR.height));
        if (W - TL.width - TR.width > 0)
            draw(QRect(TL.width, 0, W - TL.width - TR.width, TR.height),
                 QRect(TL.width, 0, iw - TL.width - TR.width, TR.height));
        draw(QRect(0, H - BL.height, BL.width, BL.height), QRect(0, ih - BL.height, BL.width, BL.height));
        draw(QRect(W - BR.width, H - BR.height, BR.width, BR.height),
             QRect(iw - BR.width, ih - BR.height, BR.width, BR.height));
        if (W - BL.width - BR.width > 0)
            draw(QRect(BL.width, H - BR.height, W - BL.width - BR.width, BR.height),
                 QRect(BL.width, ih - BR.height, iw - BL.width - BR.width, BR.height));
        if (H - TL.height - BL.height > 0)
            draw(QRect(0, TL.height, TL.width, H - TL.height - BL.height),
                 QRect(0, TL.height, TL.width, ih - TL.height - BL.height));
        if (H - TR.height - BR.height > 0)
            draw(QRect(W - TR.width, TR.height, TR.width, H - TR.height - BR.height),
                 QRect(iw - TR.width, TR.height, TR.width, ih - TR.height - BR.height));
        const int cw = W - TL.width - TR.width, chh = H - TL.height - BL.height;
        const int sh = ih - TL.height - BL.height;
        if (cw > 0 && chh > 0 && sh > 0)
            draw(QRect(TL.width, TL.height, cw, chh), QRect(TL.width, TL.height, iw - TL.width - TR.width, sh));
    }
    DrawLogo(painter);
    DrawWgtText(painter);
}

void QBaseDrawWidget::DrawLogo(QPainter &painter)
{
    if (d->logo.isNull() || !d->host)
        return;
    QRect &r = d->logoRect;
    const int lw = d->logo.width() / 2, lh = d->logo.height() / 2;
    if (r.width() == 0)
        r.setWidth(lw);
    if (r.height() == 0)
        r.setHeight(lh);
    if (r.left() == -1)
        r.moveLeft((d->host->width() - r.width()) / 2);
    if (r.top() == -1)
        r.moveTop((d->host->height() - r.height()) / 2);
    QBaseImageDraw::drawImage(painter, r, QRect(0, 0, lw, lh), d->logo);
}

void QBaseDrawWidget::DrawWgtText(QPainter &painter)
{
    if (!d->host || d->title.isEmpty())
        return;
    const QFont saved = painter.font();
    painter.setFont(d->host->font());
    painter.setPen(d->host->palette().color(QPalette::WindowText));
    QRect r = d->titleRect;
    const int left = r.left() == 0 ? d->marginLeft : r.left();
    const int top = r.top() == 0 ? d->marginTop : r.top();
    const int width = r.width() == 0 ? d->host->width() - left - d->marginRight : r.width();
    const int height = r.height() == 0 ? 20 : r.height();
    r = QRect(left, top, width, height);
    const QString text = QFontMetrics(d->host->font()).elidedText(d->title, Qt::ElideRight, r.width());
    painter.drawText(r, int(d->titleAlignment), text);
    painter.setFont(saved);
}
