#include "QMediaBorderFrame.h"

#include "QIAnyUtil.h"
#include "QMediaDashedFrame.h"
#include "VECommonClass.h"

#include <QEvent>
#include <QPainter>

QMediaBorderFrame::QMediaBorderFrame(QWidget *parent, bool inParent) : QZTDialog(parent, 1)
{
    setMouseTracking(true);
    installEventFilter(this);
    if (inParent && parent) {
        setWindowFlags(Qt::Widget);
        return;
    }
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setWindowTitle(QStringLiteral("Quorvane Reelsplice"));
    setAttribute(Qt::WA_TranslucentBackground);
    // Shown with its tab, the overlay must not take the activation from the editor.
    setAttribute(Qt::WA_ShowWithoutActivating);
    // The level belongs to the native window: create it now (hidden) so that it can be raised.
    winId();
    VECommonClass::setWindowTopHint(this);
}

QMediaBorderFrame::~QMediaBorderFrame()
{
    delete m_dashedFrame;
    m_dashedFrame = nullptr;
    qDeleteAll(m_items);
    m_items.clear();
}

QString QMediaBorderFrame::borderImagePath() const
{
    return QIAnyUtil::getResourcePath() + QStringLiteral("/VEditSource/bg_border_line.png");
}

void QMediaBorderFrame::setDashedFrame(QRect rect, bool isVideoFrame)
{
    if (!m_dashedFrame) {
        m_dashedFrame = new QMediaDashedFrame(this);
        m_dashedFrame->setImage(borderImagePath());
        m_dashedFrame->show();
    }
    if (isVideoFrame) {
        m_videoDashedFrame = rect;
        m_dashedFrame->setGeometry(rect);
    } else {
        m_dashedFrame->setGeometry(QRect(m_videoDashedFrame.left() + rect.left(), m_videoDashedFrame.top() + rect.top(),
                                         rect.width(), rect.height()));
    }
}

void QMediaBorderFrame::addDashFrameItem(QRect rect)
{
    auto *item = new QMediaDashedFrame(this);
    item->setAttribute(Qt::WA_TransparentForMouseEvents);
    item->setImage(borderImagePath());
    item->showCenterImage(false);
    item->setGeometry(rect);
    m_items.append(item);
}

void QMediaBorderFrame::setDashFrameItemForList(QRect rect, int index)
{
    if (isValid(index))
        m_items[index]->setGeometry(rect);
}

void QMediaBorderFrame::setDashFrameItemShow(int index, bool show)
{
    if (isValid(index))
        m_items[index]->setVisible(show);
}

void QMediaBorderFrame::setDashedFrameRect(QMediaDashedFrame *frame, QRect rect)
{
    if (frame)
        frame->setGeometry(rect);
}

void QMediaBorderFrame::setVisible(bool visible)
{
    QZTDialog::setVisible(visible);
    if (m_dashedFrame)
        m_dashedFrame->setVisible(visible);
    for (QMediaDashedFrame *item : qAsConst(m_items))
        item->setVisible(visible);
}

void QMediaBorderFrame::mouseMoveEvent(QMouseEvent *event)
{
    emit emitMouseMoveEvent(event);
}

void QMediaBorderFrame::mousePressEvent(QMouseEvent *event)
{
    emit emitMousePressEvent(event);
}

void QMediaBorderFrame::mouseReleaseEvent(QMouseEvent *event)
{
    emit emitMouseReleaseEvent(event);
}

void QMediaBorderFrame::mouseDoubleClickEvent(QMouseEvent *) {}

bool QMediaBorderFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == this) {
        if (event->type() == QEvent::WindowActivate) {
            emit emitWindowsActivate(true);
            return true;
        }
        if (event->type() == QEvent::WindowDeactivate) {
            emit emitWindowsActivate(false);
            return true;
        }
    }
    return QZTDialog::eventFilter(watched, event);
}

void QMediaBorderFrame::paintEvent(QPaintEvent *)
{
    // A child lets the pane show through untouched.
    if (!isWindow())
        return;
    // A window is almost transparent, yet not fully: a fully transparent pixel would let the clicks through
    // to the windows below.
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(rect(), QColor(0, 0, 0, 1));
}
