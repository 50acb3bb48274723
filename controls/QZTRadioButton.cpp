#include "QZTRadioButton.h"

#include <QFileInfo>
#include <QMouseEvent>

QZTRadioButton::QZTRadioButton(QWidget *parent)
    : QRadioButton(parent), QZTBaseBoxDraw(this, RadioButton), QZTBaseButtonDraw(this)
{}

bool QZTRadioButton::setCheckImage(const QString &checked, const QString &unchecked, bool buttonMode, bool twoFrames)
{
    m_buttonMode = buttonMode;
    bool ok;
    if (buttonMode)
        ok = QZTBaseButtonDraw::setButtonImage(checked, true);
    else
        ok = QZTBaseBoxDraw::setCheckImage(checked, unchecked, QString(), false, twoFrames);
    repaint();
    return ok;
}

bool QZTRadioButton::setBtnIcon(const QString &path)
{
    if (m_buttonMode)
        return QZTBaseButtonDraw::setBtnIcon(path);
    return QZTBaseBoxDraw::setBtnIcon(path);
}

void QZTRadioButton::setIconRect(const QRect &rect)
{
    if (m_buttonMode)
        QZTBaseButtonDraw::setIconRect(rect);
    else
        QZTBaseBoxDraw::setIconRect(rect);
}

Qt::Alignment QZTRadioButton::alignment() const
{
    return m_buttonMode ? QZTBaseButtonDraw::alignment() : QZTBaseBoxDraw::alignment();
}

void QZTRadioButton::setAlignment(Qt::Alignment alignment)
{
    if (m_buttonMode)
        QZTBaseButtonDraw::setAlignment(alignment);
    else
        QZTBaseBoxDraw::setAlignment(alignment);
}

void QZTRadioButton::setTextRect(const QRect &rect)
{
    if (m_buttonMode)
        QZTBaseButtonDraw::setTextRect(rect);
    else
        QZTBaseBoxDraw::setTextRect(rect);
}

void QZTRadioButton::adjustSize()
{
    if (m_buttonMode)
        return;
    if (QZTBaseBoxDraw::isCustomDraw())
        QZTBaseBoxDraw::adjustSize();
    else
        QRadioButton::adjustSize();
}

void QZTRadioButton::paintEvent(QPaintEvent *e)
{
    if (m_buttonMode && QZTBaseButtonDraw::isCustomDraw())
        QZTBaseButtonDraw::paintEvent(e);
    else if (!m_buttonMode && QZTBaseBoxDraw::isCustomDraw())
        QZTBaseBoxDraw::paintEvent(e);
    else
        QRadioButton::paintEvent(e);
}

void QZTRadioButton::mousePressEvent(QMouseEvent *e)
{
    if (m_buttonMode) {
        QZTBaseButtonDraw::mousePressEvent(e);
        if (e->button() == Qt::LeftButton && isEnabled()) {
            // An auto-exclusive checked button stays checked: Qt refuses to uncheck it.
            setChecked(!isChecked());
        }
    }
    QAbstractButton::mousePressEvent(e);
}

void QZTRadioButton::mouseReleaseEvent(QMouseEvent *e)
{
    if (m_buttonMode)
        QZTBaseButtonDraw::mouseReleaseEvent(e);
    QRadioButton::mouseReleaseEvent(e);
}

void QZTRadioButton::enterEvent(QEvent *e)
{
    if (m_buttonMode)
        QZTBaseButtonDraw::enterEvent(e);
    QRadioButton::enterEvent(e);
}

void QZTRadioButton::leaveEvent(QEvent *e)
{
    if (m_buttonMode)
        QZTBaseButtonDraw::leaveEvent(e);
    QRadioButton::leaveEvent(e);
}

void QZTRadioButton::changeEvent(QEvent *e)
{
    QAbstractButton::changeEvent(e);
    if (m_buttonMode)
        QZTBaseButtonDraw::changeEvent(e);
    repaint();
}

void QZTRadioButton::mouseMoveEvent(QMouseEvent *e)
{
    QRadioButton::mouseMoveEvent(e);
}

void QZTRadioButton::focusInEvent(QFocusEvent *e)
{
    QAbstractButton::focusInEvent(e);
    QZTBaseButtonDraw::focusInEvent(e);
}

void QZTRadioButton::focusOutEvent(QFocusEvent *e)
{
    QAbstractButton::focusOutEvent(e);
    QZTBaseButtonDraw::focusOutEvent(e);
}
