#include "QNinePointsImageDialog.h"

#include "FramelessScreen.h"
#include "NineGridDraw.h"
#include "QImageButton.h"
#include "SkinImageLoad.h"
#include "WindowFilters.h"

#include <QMouseEvent>
#include <QPainter>

QNinePointsImageDialog::QNinePointsImageDialog(QWidget *parent) : QDialog(parent)
{
    setAttribute(Qt::WA_MouseTracking, true);
    rs::installWindowFilters();
}

QNinePointsImageDialog::~QNinePointsImageDialog() = default;

bool QNinePointsImageDialog::setBackgroundImage(const QString &path, bool resizable)
{
    if (!SkinImageLoad::image2x(path, m_background))
        return false;
    SkinImageLoad::sizeToImage(this, m_background, resizable);
    m_edgeResize = resizable;
    m_corners.thirdsOf(m_background);
    update();
    m_titleRect.setWidth(m_background.width() / 2);
    return true;
}

void QNinePointsImageDialog::setGridViewInfo(rectSize topLeft, rectSize topRight, rectSize bottomLeft,
                                             rectSize bottomRight)
{
    m_corners.set(topLeft, topRight, bottomLeft, bottomRight);
    update();
}

bool QNinePointsImageDialog::setLogoImage(const QString &path)
{
    if (!SkinImageLoad::image2x(path, m_logo))
        return false;
    m_logoRect.setWidth(m_logo.width() / 2);
    m_logoRect.setHeight(m_logo.height() / 2);
    update();
    return true;
}

void QNinePointsImageDialog::setTitle(const QString &title)
{
    m_title = title;
    update();
}

QImageButton *QNinePointsImageDialog::makeButton(QImageButton *old, const QString &path, bool show, int x, int y)
{
    delete old;
    auto *button = new QImageButton(this);
    button->setBtnImage(path);
    button->setVisible(show);
    button->move(x, y);
    return button;
}

void QNinePointsImageDialog::addCloseBtn(const QString &path, bool show)
{
    m_btnClose = makeButton(m_btnClose, path, show, 16, 13);
}

void QNinePointsImageDialog::addMinBtn(const QString &path, bool show)
{
    m_btnMin = makeButton(m_btnMin, path, show, 36, 13);
    m_btnMin->setEnabled(false);
}

void QNinePointsImageDialog::addMaxBtn(const QString &path, bool show)
{
    m_btnMax = makeButton(m_btnMax, path, show, 56, 13);
    m_btnMax->setEnabled(false);
}

void QNinePointsImageDialog::addRestoreBtn(const QString &, bool) {}

QRect QNinePointsImageDialog::availableArea() const
{
    return FramelessScreen::availableGeometry(this);
}

void QNinePointsImageDialog::OnBtnMax()
{
    // A resize grabbed before the toggle must not carry over into the new geometry.
    m_tracker.reset();
    if (!m_maximised) {
        m_normalGeometry = geometry();
        setGeometry(availableArea());
    } else {
        setGeometry(m_normalGeometry);
    }
    m_maximised = !m_maximised;
}

void QNinePointsImageDialog::mousePressEvent(QMouseEvent *e)
{
    m_pressOffset = e->globalPos() - pos();
    if (e->button() == Qt::LeftButton)
        m_pressed = true;
}

void QNinePointsImageDialog::mouseReleaseEvent(QMouseEvent *)
{
    m_pressed = false;
    // A finished drag ends the resize; the next hover decides again.
    m_tracker.reset();
}

void QNinePointsImageDialog::mouseDoubleClickEvent(QMouseEvent *)
{
    if (m_edgeResize)
        OnBtnMax();
}

void QNinePointsImageDialog::mouseMoveEvent(QMouseEvent *e)
{
    QWidget::mouseMoveEvent(e);
    const QPoint global(qRound(e->screenPos().x()), qRound(e->screenPos().y()));
    if (m_tracker.pointerMoved(this, global, !m_pressed && !m_maximised && m_edgeResize, m_horizontal))
        return;
    if (m_pressed && m_pressOffset.y() < m_moveTop && !m_maximised && m_move)
        move(global - m_pressOffset);
}

void QNinePointsImageDialog::enterEvent(QEvent *e)
{
    QDialog::enterEvent(e);
}

void QNinePointsImageDialog::leaveEvent(QEvent *e)
{
    QDialog::leaveEvent(e);
}

void QNinePointsImageDialog::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (!m_background.isNull())
        NineGridDraw::drawCorners(p, width(), height(), m_background, m_corners);
    NineGridDraw::drawLogo(p, m_logoRect, m_logo);
    QFont font = p.font();
    font.setFamily(QStringLiteral("Tahoma"));
    font.setPixelSize(m_titlePixelSize);
    NineGridDraw::drawTitle(p, m_titleRect, width(), m_title, font, m_titleColor);
}
