#include "QZTBaseSlider.h"

#include "QZTBaseButton.h"

#include <QKeyEvent>
#include <QMouseEvent>

QZTBaseSlider::QZTBaseSlider(QWidget *parent) : QZTBaseProgress(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

QPoint QZTBaseSlider::localPos(QMouseEvent *e) const
{
    return e->globalPos() - mapToGlobal(QPoint(0, 0));
}

int QZTBaseSlider::getValidLenght() const
{
    if (progressPolicy() == Horizontal)
        return width() - getTLOffset() - getRBOffset();
    if (progressPolicy() == Vertical)
        return height() - getTLOffset() - getRBOffset();
    return 0;
}

bool QZTBaseSlider::isValidRange(QPoint p) const
{
    if (progressPolicy() == Horizontal)
        return p.x() >= getTLOffset() && p.x() <= width() - getRBOffset();
    if (progressPolicy() == Vertical)
        return p.y() >= getTLOffset() && p.y() <= height() - getRBOffset();
    return false;
}

int QZTBaseSlider::correctPoint(QPoint p) const
{
    const int L = getValidLenght();
    int d = 0;
    if (progressPolicy() == Horizontal)
        d = p.x() - getTLOffset();
    else if (progressPolicy() == Vertical)
        d = L - (p.y() - getTLOffset());
    else
        return 0;
    return qBound(0, d, qMax(0, L));
}

void QZTBaseSlider::PointToValue(QPoint p)
{
    const int L = getValidLenght();
    if (!m_draggingEnabled || progressPolicy() == Round || L <= 0)
        return;
    const double range = maximum() - minimum();
    const double v = minimum() + range * correctPoint(p) / L;
    if (v == value())
        return;
    QZTBaseProgress::setValue(v);
    update();
    emit sendProgressValue(range > 0 ? (value() - minimum()) / range : 0.0);
}

void QZTBaseSlider::valueToPoint(QPoint &q) const
{
    const int L = getValidLenght();
    if (L <= 0)
        return;
    const double f = fraction();
    if (progressPolicy() == Horizontal)
        q = QPoint(int(getTLOffset() + L * f - 1), 0);
    else if (progressPolicy() == Vertical)
        q = QPoint(0, int(L - L * f + getTLOffset()));
}

void QZTBaseSlider::setValue(double val)
{
    if (val == value())
        return;
    QZTBaseProgress::setValue(val);
    update();
}

void QZTBaseSlider::raiseOffsetsForThumb(int &start, int &end) const
{
    if (!m_thumb)
        return;
    const int half = (progressPolicy() == Horizontal ? m_thumb->width() : m_thumb->height()) / 2;
    start = qMax(start, half);
    end = qMax(end, half);
}

bool QZTBaseSlider::setBtnImage(const QString &path)
{
    delete m_thumb;
    m_thumb = new QZTBaseButton(this);
    connect(m_thumb, &QZTBaseButton::mouseMove, this, &QZTBaseSlider::btnMouseMove);
    connect(m_thumb, &QZTBaseButton::mouseDown, this, &QZTBaseSlider::btnMouseDown);
    connect(m_thumb, &QZTBaseButton::mouseRelease, this, &QZTBaseSlider::btnMouseRelease);
    if (!m_thumb->setButtonImage(path, false)) {
        if (progressPolicy() == Horizontal)
            m_thumb->resize(10, height());
        else
            m_thumb->resize(width(), 10);
    }
    m_thumb->move(0, 0);
    m_thumb->show();
    int start = getTLOffset(), end = getRBOffset();
    raiseOffsetsForThumb(start, end);
    QZTBaseProgress::setOffset(start, end);
    calcBtnPostion();
    update();
    return true;
}

void QZTBaseSlider::setOffset(int start, int end)
{
    raiseOffsetsForThumb(start, end);
    QZTBaseProgress::setOffset(start, end);
    calcBtnPostion();
    update();
}

void QZTBaseSlider::btnMouseMove(QMouseEvent *e, int)
{
    PointToValue(localPos(e));
    update();
}

void QZTBaseSlider::btnMouseDown(QMouseEvent *e, int)
{
    emit sendPressEvent(e);
}

void QZTBaseSlider::btnMouseRelease(QMouseEvent *e, int)
{
    emit sendReleseEvent(e);
}

void QZTBaseSlider::mousePressEvent(QMouseEvent *e)
{
    const QPoint p = localPos(e);
    if (isValidRange(p)) {
        emit sendPressEvent(e);
        PointToValue(p);
    }
}

void QZTBaseSlider::mouseMoveEvent(QMouseEvent *e)
{
    if (e->buttons() != Qt::NoButton)
        PointToValue(localPos(e));
}

void QZTBaseSlider::mouseReleaseEvent(QMouseEvent *e)
{
    if (isValidRange(localPos(e)))
        emit sendReleseEvent(e);
}

void QZTBaseSlider::stepBy(double delta)
{
    const double v = qBound(minimum(), value() + delta, maximum());
    if (v != value()) {
        QZTBaseProgress::setValue(v);
        update();
    }
}

void QZTBaseSlider::OnKeyLeftDown()
{
    stepBy(-(maximum() - minimum()) / 100.0);
}

void QZTBaseSlider::OnKeyRightUp()
{
    stepBy((maximum() - minimum()) / 100.0);
}

void QZTBaseSlider::keyPressEvent(QKeyEvent *e)
{
    QZTBaseProgress::keyPressEvent(e);
    switch (e->key()) {
    case Qt::Key_Left:
    case Qt::Key_Down:
        OnKeyLeftDown();
        break;
    case Qt::Key_Up:
    case Qt::Key_Right:
        OnKeyRightUp();
        break;
    default:
        break;
    }
}

// The thumb is placed when the value, range, offsets or size change, not from the paint handler, so
// painting never moves a widget.
void QZTBaseSlider::paintEvent(QPaintEvent *e)
{
    QZTBaseProgress::paintEvent(e);
}

void QZTBaseSlider::resizeEvent(QResizeEvent *e)
{
    QZTBaseProgress::resizeEvent(e);
    calcBtnPostion();
}

void QZTBaseSlider::calcBtnPostion()
{
    if (!m_thumb)
        return;
    QPoint q;
    valueToPoint(q);
    QPoint target(0, 0);
    if (progressPolicy() == Horizontal)
        target = QPoint(q.x() - m_thumb->width() / 2, (height() - m_thumb->height()) / 2 + m_thumbOffset);
    else if (progressPolicy() == Vertical)
        target = QPoint((width() - m_thumb->width()) / 2 + m_thumbOffset, q.y() - m_thumb->height() / 2);
    if (m_thumb->pos() != target)
        m_thumb->move(target);
}
