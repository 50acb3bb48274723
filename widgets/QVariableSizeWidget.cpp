#include "QVariableSizeWidget.h"

#include "FramelessScreen.h"
#include "NineGridDraw.h"
#include "SkinImageLoad.h"

#include <QMouseEvent>
#include <QPainter>

QVariableSizeWidget::QVariableSizeWidget(QWidget *parent) : QMainWindow(parent)
{
    setMouseTracking(true);
}

QVariableSizeWidget::~QVariableSizeWidget() = default;

bool QVariableSizeWidget::setBackgroundImage(const QString &path, bool resizable)
{
    if (!SkinImageLoad::image2x(path, m_background))
        return false;
    const int w = m_background.width() / 2;
    const int h = m_background.height() / 2;
    resize(w, h);
    if (resizable)
        setMinimumSize(w - 50, h - 50);
    m_edgeResize = resizable;
    m_corners.thirdsOf(m_background);
    m_tile = false;
    update();
    return true;
}

void QVariableSizeWidget::setGridViewInfo(rectSize topLeft, rectSize topRight, rectSize bottomLeft,
                                          rectSize bottomRight)
{
    m_corners.set(topLeft, topRight, bottomLeft, bottomRight);
    update();
}

bool QVariableSizeWidget::setBackgroundTile(const QString &path, bool resizable)
{
    if (!SkinImageLoad::image2x(path, m_background))
        return false;
    resize(800, 600);
    m_tile = true;
    m_edgeResize = resizable;
    update();
    return true;
}

bool QVariableSizeWidget::setLogoImage(const QString &path)
{
    if (!SkinImageLoad::image2x(path, m_logo))
        return false;
    m_logoRect.setWidth(m_logo.width() / 2);
    m_logoRect.setHeight(m_logo.height() / 2);
    update();
    return true;
}

void QVariableSizeWidget::setDlgTitle(const QString &title)
{
    m_title = title;
    update();
}

void QVariableSizeWidget::OnBtnMax(int TransparentSize)
{
    m_tracker.reset();
    if (!m_maximised) {
        m_normalGeometry = geometry();
        // The transparent margin hangs over the screen's left, right and top edges.
        const QRect area = FramelessScreen::availableGeometry(this);
        const int m = TransparentSize / 2;
        setGeometry(area.x() - m, area.y() - m, area.width() + TransparentSize, area.height());
    } else {
        setGeometry(m_normalGeometry);
        emit emitRestoreDlg();
    }
    m_maximised = !m_maximised;
}

void QVariableSizeWidget::startCloseAnimation()
{
    setMinimumSize(0, 0);
    close();
}

void QVariableSizeWidget::mousePressEvent(QMouseEvent *e)
{
    m_pressOffset = e->globalPos() - pos();
    if (e->button() == Qt::LeftButton)
        m_pressed = true;
}

void QVariableSizeWidget::mouseReleaseEvent(QMouseEvent *)
{
    m_pressed = false;
    setCursor(Qt::ArrowCursor);
    m_tracker.reset();
}

void QVariableSizeWidget::mouseDoubleClickEvent(QMouseEvent *)
{
    if (m_pressOffset.y() <= 75)
        OnBtnMax(0);
}

void QVariableSizeWidget::mouseMoveEvent(QMouseEvent *e)
{
    QWidget::mouseMoveEvent(e);
    const QPoint global(qRound(e->screenPos().x()), qRound(e->screenPos().y()));
    if (m_tracker.pointerMoved(this, global, !m_pressed && !m_maximised && m_edgeResize, m_horizontal))
        return;
    if (m_pressed && m_pressOffset.y() < 76 && !m_maximised)
        move(global - m_pressOffset);
}

void QVariableSizeWidget::enterEvent(QEvent *) {}

void QVariableSizeWidget::leaveEvent(QEvent *) {}

void QVariableSizeWidget::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const int W = width();
    const int H = height();
    if (m_background.isNull()) {
        p.fillRect(rect(), QColor(100, 100, 100, 100));
        return;
    }
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    if (m_tile) {
        const int iw = m_background.width() / 2;
        const int ih = m_background.height() / 2;
        for (int y = 0; ih > 0 && y < H; y += ih)
            for (int x = 0; iw > 0 && x < W; x += iw)
                p.drawImage(QPointF(x, y), m_background);
    } else if (!m_edgeResize) {
        p.drawImage(QRectF(rect()), m_background);
    } else {
        NineGridDraw::drawCorners(p, W, H, m_background, m_corners);
    }
    NineGridDraw::drawLogo(p, m_logoRect, m_logo);
    QFont font = p.font();
    font.setFamily(m_titleFamily);
    font.setPointSize(m_titleSize);
    NineGridDraw::drawTitle(p, m_titleRect, W, m_title, font, m_titleColor);
}
