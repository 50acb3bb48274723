#include "QZTTextEdit.h"

#include <QTextEdit>

QZTTextEdit::QZTTextEdit(QWidget *parent) : QWidget(parent), QZTBaseRectImageDraw(this)
{
    setAcceptDrops(false);
    m_edit = new QTextEdit(this);
    m_edit->setAttribute(Qt::WA_MacShowFocusRect, false);
    m_edit->setAcceptDrops(false);
    connect(m_edit, &QTextEdit::textChanged, this, &QZTTextEdit::textEditChange);
    placeEdit();
}

bool QZTTextEdit::setBackgroundImage(const QString &path)
{
    if (!QZTBaseRectImageDraw::setBackgroundImage(path))
        return false;
    m_edit->setStyleSheet(QStringLiteral("QTextEdit {background-color:transparent;border:none}"));
    return true;
}

void QZTTextEdit::setEditMargins(int left, int top, int right, int bottom)
{
    m_margins = QMargins(qint16(left), qint16(top), qint16(right), qint16(bottom));
    placeEdit();
    update();
    updateGeometry();
}

void QZTTextEdit::setEditMargins(const QMargins &margins)
{
    setEditMargins(margins.left(), margins.top(), margins.right(), margins.bottom());
}

// The inner edit follows the frame's size and margins; it is placed on resize and margin changes rather
// than while painting.
void QZTTextEdit::placeEdit()
{
    const QRect r(QPoint(m_margins.left(), m_margins.top()),
                  QPoint(width() - 1 - m_margins.right(), height() - 1 - m_margins.bottom()));
    if (m_edit->geometry() != r)
        m_edit->setGeometry(r);
}

void QZTTextEdit::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    placeEdit();
}

void QZTTextEdit::paintEvent(QPaintEvent *e)
{
    QZTBaseRectImageDraw::paintEvent(e);
}

void QZTTextEdit::textEditChange()
{
    emit textChanged(m_edit->toPlainText());
}
