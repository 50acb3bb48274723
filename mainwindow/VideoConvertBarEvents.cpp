// Mouse, drag-and-drop, painting and layout of a media list row.

#include "VideoConvertBar.h"

#include "QBaseImageDraw.h"
#include "QIAnyUtil.h"
#include "ZtVideoConvertItem.h"

#include <QApplication>
#include <QDataStream>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

QConvertMouseState VideoConvertBar::effectiveState() const
{
    if (m_bPlayer)
        return 2;
    if (!isEnabled())
        return 0;
    return m_mouseState;
}

void VideoConvertBar::changeEvent(QEvent *e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::EnabledChange)
        drawStaticCtrl();
}

void VideoConvertBar::mousePressEvent(QMouseEvent *e)
{
    if (!isEnabled())
        return;
    setAcceptDrops(true);
    const Qt::KeyboardModifiers mods = e->modifiers();
    const bool left = e->button() == Qt::LeftButton;
    if (e->button() == Qt::RightButton) {
        // The menu's Delete removes the selected rows: a row outside the selection becomes the only
        // selected one, a row inside it keeps the whole selection (the list clears the others only when
        // told of a press).
        if (m_mouseState != 2) {
            setMouseState(2);
            emit emitMousePress();
        }
        emit emitshowTreeMenu();
        return;
    }
    if (mods == Qt::ShiftModifier) {
        if (left)
            emit emitMouseShiftPress();
        return;
    }
    if (mods == Qt::ControlModifier) {
        if (left) {
            m_mouseState = m_mouseState == 2 ? 0 : 2;
            drawStaticCtrl();
            emit emitMouseCtrlPress();
            repaint();
        }
        return;
    }
    if (left) {
        m_mouseState = 1;
        drawStaticCtrl();
        emit emitMousePress();
        m_bPressed = true;
        m_pressPoint = e->pos();
        repaint();
    }
}

void VideoConvertBar::mouseReleaseEvent(QMouseEvent *)
{
    m_bPressed = false;
    repaint();
    emit emitMouseRelease();
}

void VideoConvertBar::mouseDoubleClickEvent(QMouseEvent *e)
{
    if (!isEnabled() || e->button() != Qt::LeftButton)
        return;
    m_btnPlay->hide();
    m_btnPause->show();
    emit emitMouseDoublePress();
}

void VideoConvertBar::enterEvent(QEvent *e)
{
    QWidget::enterEvent(e);
    if (!isEnabled())
        return;
    m_btnClose->show();
    m_btnEditName->show();
    m_btnEdit->show();
    const bool playing = m_pItem && m_pItem->m_bIsPlaying;
    m_btnPlay->setVisible(!playing);
    m_btnPause->setVisible(playing);
    if (m_mouseState == 0) {
        m_mouseState = 1;
        m_btnMask->setBtnState(1);
        drawStaticCtrl();
        repaint();
    }
}

void VideoConvertBar::leaveEvent(QEvent *e)
{
    QWidget::leaveEvent(e);
    m_btnClose->hide();
    m_btnEditName->hide();
    m_btnEdit->hide();
    m_btnPause->setVisible(m_pItem && m_pItem->m_bIsPlaying);
    m_btnPlay->hide();
    if (m_mouseState == 1) {
        m_mouseState = 0;
        m_btnMask->setBtnState(0);
        drawStaticCtrl();
        repaint();
    }
}

void VideoConvertBar::mouseMoveEvent(QMouseEvent *e)
{
    if (!(e->buttons() & Qt::LeftButton) || !m_bPressed || e->modifiers() != Qt::NoModifier)
        return;
    if ((e->pos() - m_pressPoint).manhattanLength() < QApplication::startDragDistance())
        return;
    QMimeData *mime = createDragData();
    const QPixmap pixmap = dragPicture();
    auto *drag = new QDrag(this);
    drag->setMimeData(mime);
    drag->setPixmap(pixmap);
    drag->setHotSpot(QPoint(0, 0));
    drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
    m_bPressed = false;
}

QPixmap VideoConvertBar::dragPicture() const
{
    QImage picture;
    if (m_pItem && m_pItem->m_pCoverImage && !m_pItem->m_pCoverImage->isNull())
        picture = *m_pItem->m_pCoverImage;
    else
        picture = QImage(QIAnyUtil::getResourcePath() + QStringLiteral("/image/videodisplay/Video_icon.png"));
    return QPixmap::fromImage(picture.scaled(50, 50, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

QMimeData *VideoConvertBar::createDragData() const
{
    QByteArray data;
    QDataStream stream(&data, QIODevice::WriteOnly);
    stream << dragPicture();
    auto *mime = new QMimeData;
    mime->setData(QLatin1String(kDragMime), data);
    mime->setData(QLatin1String(kListMime), listIdentity());
    mime->setText(QString::number(m_pItem ? m_pItem->Index() : 0));
    return mime;
}

QByteArray VideoConvertBar::listIdentity() const
{
    return QByteArray::number(QCoreApplication::applicationPid()) + ':' +
           QByteArray::number(quintptr(parentWidget()), 16);
}

bool VideoConvertBar::acceptsDrag(const QDropEvent *e) const
{
    if (!e->mimeData()->hasFormat(QLatin1String(kDragMime)))
        return false;
    // Only a row of this same list may be dropped here: a payload of this type from another window or
    // program carries an index that means nothing to this list.
    if (auto *source = qobject_cast<VideoConvertBar *>(e->source()))
        return source->parentWidget() == parentWidget();
    return e->source() == nullptr && e->mimeData()->data(QLatin1String(kListMime)) == listIdentity();
}

void VideoConvertBar::trackDrag(QDropEvent *e)
{
    if (!acceptsDrag(e)) {
        e->ignore();
        return;
    }
    if (e->source() == this) {
        e->setDropAction(Qt::MoveAction);
        e->accept();
    } else {
        e->acceptProposedAction();
    }
    const int dragged = e->mimeData()->text().toInt();
    if (dragged == getIndex())
        return;
    m_dropState = MediaListRules::dropHalf(e->pos().y(), height());
    repaint();
}

void VideoConvertBar::dragEnterEvent(QDragEnterEvent *e)
{
    trackDrag(e);
}

void VideoConvertBar::dragMoveEvent(QDragMoveEvent *e)
{
    trackDrag(e);
}

void VideoConvertBar::dragLeaveEvent(QDragLeaveEvent *)
{
    m_dropState = 0;
    repaint();
}

void VideoConvertBar::dropEvent(QDropEvent *e)
{
    if (!acceptsDrag(e)) {
        e->ignore();
        return;
    }
    const int dragged = e->mimeData()->text().toInt();
    const int self = getIndex();
    if (dragged != self) {
        m_dropState = MediaListRules::dropHalf(e->pos().y(), height());
        const QDragMouseState state = m_dropState;
        m_dropState = 0;
        emit emitFromInsertTo(dragged, self, state);
    }
    if (e->source() == this) {
        e->setDropAction(Qt::MoveAction);
        e->accept();
    } else {
        e->acceptProposedAction();
    }
    repaint();
}

void VideoConvertBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(53, 53, 53));
    const QConvertMouseState state = effectiveState();
    const QImage &bg = []() -> const QImage & {
        static QImage image = [] {
            QImage i(QIAnyUtil::getResourcePath() + QStringLiteral("/image/videodisplay/Videoprogress_bg.png"));
            i.setDevicePixelRatio(2.0);
            return i;
        }();
        return image;
    }();
    if (!bg.isNull()) {
        const int fw = bg.width() / 4 / 2; // logical frame width
        const int fh = bg.height() / 2;
        QBaseImageDraw::drawImage(p, rect(), QRect(state * fw, 0, fw, fh), bg);
    }
    if (m_dropState == 1 || m_dropState == 2) {
        p.setPen(QPen(QColor(215, 63, 63), 2, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
        const int y = m_dropState == 1 ? 1 : height() - 1;
        p.drawLine(0, y, width() - 1, y);
    }
}

void VideoConvertBar::RefreshLocation()
{
    const int H = height();
    const int W = width();
    m_videoIconWidget->move(2, (H - 42) / 2);
    const QPoint thumb = m_videoIconWidget->pos();
    const int right = thumb.x() + m_videoIconWidget->width() - 1;
    m_btnPlay->move(thumb);
    m_btnPause->move(thumb);
    m_btnMask->move(thumb);
    m_labVideoName->move(right + 10, (H / 2 - m_labVideoName->height()) / 2 + 4);
    m_lblTime->move(right + 10, H / 2 + (H / 2 - m_lblTime->height()) / 2);
    m_btnEditName->move(right + 144, (H / 2 - m_btnEditName->height()) / 2 + 4);
    m_btnClose->move(W - m_btnClose->width(), 0);
    m_btnEdit->move(W - 55, (H - m_btnEdit->height()) / 2 - 3);
    m_progressBar->setGeometry(0, (H - m_videoIconWidget->height()) / 2, m_videoIconWidget->width(),
                               m_videoIconWidget->height());
}

void VideoConvertBar::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    RefreshLocation();
}

void VideoConvertBar::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    emit emitRepaint();
    RefreshLocation();
}
