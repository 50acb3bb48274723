#include "QZTSpinBox.h"

#include "QZTBaseButton.h"
#include "QZTStepButtons.h"

#include <QLineEdit>

QZTSpinBox::QZTSpinBox(QWidget *parent) : QSpinBox(parent), QZTBaseRectImageDraw(this)
{
    setAcceptDrops(false);
    setAttribute(Qt::WA_MacShowFocusRect, false);
    m_buttons = new QZTStepButtons(this);
}

bool QZTSpinBox::setBackgroundImage(const QString &path)
{
    if (!QZTBaseRectImageDraw::setBackgroundImage(path))
        return false;
    setStyleSheet(QStringLiteral("QZTSpinBox {background-color:transparent;border:none}"));
    return true;
}

bool QZTSpinBox::setUpAndDownBtnImage(const QString &up, const QString &down, bool keepSize)
{
    return m_buttons->setImages(up, down, keepSize);
}

void QZTSpinBox::setBtnMargins(int left, int top, int right, int bottom)
{
    m_buttons->setMargins(left, top, right, bottom);
}

void QZTSpinBox::setBtnMargins(const QMargins &margins)
{
    setBtnMargins(margins.left(), margins.top(), margins.right(), margins.bottom());
}

void QZTSpinBox::setTextMargins(int left, int top, int right, int bottom)
{
    if (lineEdit())
        lineEdit()->setTextMargins(left, top, right, bottom);
}

void QZTSpinBox::pressBtn()
{
    m_buttons->press(sender() == m_buttons->upButton());
}

void QZTSpinBox::releseBtn()
{
    m_buttons->release();
}

void QZTSpinBox::paintEvent(QPaintEvent *e)
{
    QZTBaseRectImageDraw::paintEvent(e);
    if (!m_buttons->upButton())
        QSpinBox::paintEvent(e);
}

void QZTSpinBox::showEvent(QShowEvent *e)
{
    QSpinBox::showEvent(e);
    m_buttons->place();
}

void QZTSpinBox::resizeEvent(QResizeEvent *e)
{
    QSpinBox::resizeEvent(e);
    m_buttons->place();
}

QZTDoubleSpinBox::QZTDoubleSpinBox(QWidget *parent) : QDoubleSpinBox(parent), QZTBaseRectImageDraw(this)
{
    setAcceptDrops(false);
    setAttribute(Qt::WA_MacShowFocusRect, false);
    m_buttons = new QZTStepButtons(this);
}

bool QZTDoubleSpinBox::setBackgroundImage(const QString &path)
{
    if (!QZTBaseRectImageDraw::setBackgroundImage(path))
        return false;
    setStyleSheet(QStringLiteral("QDoubleSpinBox {background-color:transparent;border:none}"));
    return true;
}

bool QZTDoubleSpinBox::setUpAndDownBtnImage(const QString &up, const QString &down, bool keepSize)
{
    return m_buttons->setImages(up, down, keepSize);
}

void QZTDoubleSpinBox::setBtnMargins(int left, int top, int right, int bottom)
{
    m_buttons->setMargins(left, top, right, bottom);
}

void QZTDoubleSpinBox::setBtnMargins(const QMargins &margins)
{
    setBtnMargins(margins.left(), margins.top(), margins.right(), margins.bottom());
}

void QZTDoubleSpinBox::pressBtn()
{
    m_buttons->press(sender() == m_buttons->upButton());
}

void QZTDoubleSpinBox::releseBtn()
{
    m_buttons->release();
}

void QZTDoubleSpinBox::paintEvent(QPaintEvent *e)
{
    QZTBaseRectImageDraw::paintEvent(e);
    if (!m_buttons->upButton())
        QDoubleSpinBox::paintEvent(e);
}

void QZTDoubleSpinBox::showEvent(QShowEvent *e)
{
    QDoubleSpinBox::showEvent(e);
    m_buttons->place();
}

void QZTDoubleSpinBox::resizeEvent(QResizeEvent *e)
{
    QDoubleSpinBox::resizeEvent(e);
    m_buttons->place();
}
