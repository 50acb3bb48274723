#include "QCustomSpinBox.h"

#include <QEvent>
#include <QLineEdit>
#include <QRegExpValidator>

QCustomSpinBox::QCustomSpinBox(QWidget *parent) : QCustomImageWidget(parent)
{
    m_edit = new QLineEdit(this);
    m_edit->setStyleSheet(QStringLiteral("QLineEdit {background-color:transparent;border:none}"));
    m_edit->setAttribute(Qt::WA_MacShowFocusRect, false);
    QFont font = m_edit->font();
    font.setFamily(QStringLiteral("helvetica neue"));
    font.setPointSize(12);
    m_edit->setFont(font);
    m_edit->setValidator(new QRegExpValidator(QRegExp(QStringLiteral("^[0-9]*[1-9][0-9]*$")), m_edit));
    applyTextColour();
    connect(m_edit, &QLineEdit::textEdited, this, &QCustomSpinBox::editTextChange);
    SetEditText(0);
    m_up = new QCustomSpinButton(this);
    m_down = new QCustomSpinButton(this);
    m_up->hide();
    m_down->hide();
    connect(m_up, &QCustomSpinButton::clicked, this, &QCustomSpinBox::OnBtnUp);
    connect(m_down, &QCustomSpinButton::clicked, this, &QCustomSpinBox::OnBtnDown);
    layoutChildren();
}

bool QCustomSpinBox::setUpAndDownBtnImage(const QString &up, const QString &down)
{
    const bool ok = m_up->setBtnImageForRect(up, QRect()) & m_down->setBtnImageForRect(down, QRect());
    m_up->show();
    m_down->show();
    layoutChildren();
    return ok;
}

int QCustomSpinBox::clamped(int value) const
{
    if (value < m_minimum)
        return m_minimum;
    if (value >= m_upperBound)
        return std::max(m_minimum, m_upperBound - 1);
    return value;
}

void QCustomSpinBox::setRange(int minimum, int upperBound)
{
    m_minimum = minimum;
    m_upperBound = upperBound;
    SetEditText(m_minimum);
}

void QCustomSpinBox::setValue(int value)
{
    SetEditText(clamped(value));
}

void QCustomSpinBox::SetEditText(int value)
{
    m_value = value;
    m_edit->setText(QString::number(value));
}

void QCustomSpinBox::setEditColor(const QColor &enabled, const QColor &disabled)
{
    m_enabledColor = enabled;
    m_disabledColor = disabled;
}

void QCustomSpinBox::OnBtnUp()
{
    if (m_value + 1 < m_upperBound)
        SetEditText(m_value + 1);
}

void QCustomSpinBox::OnBtnDown()
{
    if (m_value > m_minimum)
        SetEditText(m_value - 1);
}

void QCustomSpinBox::editTextChange(const QString &str)
{
    SetEditText(clamped(str.isEmpty() ? 0 : str.toInt()));
}

void QCustomSpinBox::applyTextColour()
{
    QPalette palette = m_edit->palette();
    palette.setColor(QPalette::All, QPalette::Text, isEnabled() ? m_enabledColor : m_disabledColor);
    m_edit->setPalette(palette);
}

void QCustomSpinBox::changeEvent(QEvent *e)
{
    QCustomImageWidget::changeEvent(e);
    if (e->type() == QEvent::EnabledChange)
        applyTextColour();
}

void QCustomSpinBox::resizeEvent(QResizeEvent *e)
{
    QCustomImageWidget::resizeEvent(e);
    layoutChildren();
}

// Laid out on resize rather than while painting: moving children from a paint handler repaints again.
void QCustomSpinBox::layoutChildren()
{
    m_edit->setGeometry(3, 0, std::max(0, width() - 27), height());
    m_up->move(width() - 16, 0);
    m_down->move(width() - 16, 11);
}
