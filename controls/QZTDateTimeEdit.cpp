#include "QZTDateTimeEdit.h"

#include "QZTBaseButton.h"
#include "QZTStepButtons.h"

#include <QLineEdit>

QZTDateTimeEdit::QZTDateTimeEdit(QWidget *parent) : QDateTimeEdit(parent), QZTBaseRectImageDraw(this)
{
    init();
}

QZTDateTimeEdit::QZTDateTimeEdit(const QVariant &value, QVariant::Type parserType, QWidget *parent)
    : QDateTimeEdit(parent), QZTBaseRectImageDraw(this)
{
    // QDateTimeEdit's parser-typed constructor is private: reproduce its effect with the public API, as
    // QTimeEdit and QDateEdit set themselves up.
    if (parserType == QVariant::Time) {
        setDisplayFormat(QLocale().timeFormat(QLocale::ShortFormat));
        setDateRange(date(), date()); // a time of day: steps never roll into another day
        setTime(value.toTime());
    } else if (parserType == QVariant::Date) {
        setDisplayFormat(QLocale().dateFormat(QLocale::ShortFormat));
        setDate(value.toDate());
    } else {
        setDateTime(value.toDateTime());
    }
    init();
}

void QZTDateTimeEdit::init()
{
    setAcceptDrops(false);
    setAttribute(Qt::WA_MacShowFocusRect, false);
    m_buttons = new QZTStepButtons(this);
    connect(lineEdit(), &QLineEdit::textEdited, this, &QZTDateTimeEdit::emitTimeEdited);
}

bool QZTDateTimeEdit::setBackgroundImage(const QString &path)
{
    if (!QZTBaseRectImageDraw::setBackgroundImage(path))
        return false;
    setStyleSheet(QStringLiteral("QDateTimeEdit {background-color:transparent;border:none}"));
    return true;
}

bool QZTDateTimeEdit::setUpAndDownBtnImage(const QString &up, const QString &down, bool keepSize)
{
    if (!m_buttons->setImages(up, down, keepSize))
        return false;
    // Steps go through this class's slots so that each one reports the new text.
    disconnect(m_buttons->upButton(), &QAbstractButton::clicked, this, nullptr);
    disconnect(m_buttons->downButton(), &QAbstractButton::clicked, this, nullptr);
    connect(m_buttons->upButton(), &QAbstractButton::clicked, this, &QZTDateTimeEdit::stepUp);
    connect(m_buttons->downButton(), &QAbstractButton::clicked, this, &QZTDateTimeEdit::stepDown);
    return true;
}

void QZTDateTimeEdit::setBtnMargins(int left, int top, int right, int bottom)
{
    m_buttons->setMargins(left, top, right, bottom);
}

void QZTDateTimeEdit::setBtnMargins(const QMargins &margins)
{
    setBtnMargins(margins.left(), margins.top(), margins.right(), margins.bottom());
}

void QZTDateTimeEdit::setTextMargins(int left, int top, int right, int bottom)
{
    if (lineEdit())
        lineEdit()->setTextMargins(left, top, right, bottom);
}

void QZTDateTimeEdit::setTextMargins(const QMargins &margins)
{
    setTextMargins(margins.left(), margins.top(), margins.right(), margins.bottom());
}

void QZTDateTimeEdit::stepBy(int steps)
{
    QDateTimeEdit::stepBy(steps);
    emit emitTimeEdited(text());
}

void QZTDateTimeEdit::pressBtn()
{
    m_buttons->press(sender() == m_buttons->upButton());
}

void QZTDateTimeEdit::releseBtn()
{
    m_buttons->release();
}

void QZTDateTimeEdit::paintEvent(QPaintEvent *e)
{
    QZTBaseRectImageDraw::paintEvent(e);
    if (!m_buttons->upButton())
        QDateTimeEdit::paintEvent(e);
}

void QZTDateTimeEdit::showEvent(QShowEvent *e)
{
    QDateTimeEdit::showEvent(e);
    m_buttons->place();
}

void QZTDateTimeEdit::resizeEvent(QResizeEvent *e)
{
    QDateTimeEdit::resizeEvent(e);
    m_buttons->place();
}

QZTTimeEdit::QZTTimeEdit(QWidget *parent) : QZTTimeEdit(QTime(0, 0, 0, 0), parent) {}

QZTTimeEdit::QZTTimeEdit(const QTime &time, QWidget *parent) : QZTDateTimeEdit(time, QVariant::Time, parent)
{
    setAcceptDrops(false);
    setAttribute(Qt::WA_MacShowFocusRect, false);
}
