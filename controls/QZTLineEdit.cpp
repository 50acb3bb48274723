#include "QZTLineEdit.h"

#include <QRegExpValidator>

QZTLineEdit::QZTLineEdit(QWidget *parent) : QLineEdit(parent), QZTBaseRectImageDraw(this)
{
    setAttribute(Qt::WA_MacShowFocusRect, false);
    setAcceptDrops(false);
    m_textColor = palette().color(QPalette::Text);
}

bool QZTLineEdit::setBackgroundImage(const QString &path)
{
    if (!QZTBaseRectImageDraw::setBackgroundImage(path))
        return false;
    // Qt keeps 2 pixels of its own inside the frame; 1 more puts the text 3 pixels in, where the drawn
    // text of the other skinned fields begins, instead of flush against the field's border.
    setStyleSheet(QStringLiteral("QLineEdit {background-color:transparent;border:none; padding: 0px 0px 1px 1px}"));
    setDrawTextMargins(3, 0, 2, 0);
    return true;
}

void QZTLineEdit::onlyInputNumber()
{
    setValidator(new QRegExpValidator(QRegExp(QStringLiteral("^[0-9]*[1-9][0-9]*$")), this));
}

void QZTLineEdit::setPalette(const QPalette &palette)
{
    QLineEdit::setPalette(palette);
    m_textColor = palette.color(QPalette::Text);
}

void QZTLineEdit::setTextRole(const QColor &color)
{
    QPalette p = palette();
    p.setBrush(QPalette::All, QPalette::Text, QBrush(color));
    QLineEdit::setPalette(p);
}

void QZTLineEdit::setPlaceholderText(const QString &text)
{
    QLineEdit::setPlaceholderText(text);
    m_placeholderText = text;
}

void QZTLineEdit::showPlaceholder()
{
    QLineEdit::setPlaceholderText(m_placeholderText);
    setTextRole(m_placeholderColor);
}

void QZTLineEdit::setPlaceholderTextColor(const QColor &color, bool on)
{
    m_placeholderColor = color;
    m_placeholderMode = on;
    if (on && text().isEmpty())
        showPlaceholder();
}

void QZTLineEdit::focusInEvent(QFocusEvent *e)
{
    QLineEdit::focusInEvent(e);
    if (m_placeholderMode) {
        QLineEdit::setPlaceholderText(QString());
        setTextRole(m_textColor);
    }
}

void QZTLineEdit::focusOutEvent(QFocusEvent *e)
{
    QLineEdit::focusOutEvent(e);
    if (m_placeholderMode && text().isEmpty())
        showPlaceholder();
}

void QZTLineEdit::paintEvent(QPaintEvent *e)
{
    QZTBaseRectImageDraw::paintEvent(e);
    QLineEdit::paintEvent(e);
}
