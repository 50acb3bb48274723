#include "QEditTimeEx.h"

#include "TimeFieldMath.h"

#include <QDebug>
#include <QLineEdit>

QEditTimeEx::QEditTimeEx(QWidget *parent) : QZTTimeEdit(parent)
{
    lineEdit()->setTextMargins(3, 0, 0, 0);
    connect(this, &QZTDateTimeEdit::emitTimeEdited, this, &QEditTimeEx::onTextEdited);
}

void QEditTimeEx::setCurrentTime(unsigned long long us)
{
    m_currentUs = std::min(us, TimeFieldMath::kLastOfDayUs);
    m_current = TimeFieldMath::fromMicroseconds(m_currentUs);
    setTime(m_current);
}

unsigned long long QEditTimeEx::timeConvertToInt(const QTime &time)
{
    return TimeFieldMath::toMicroseconds(time);
}

void QEditTimeEx::onTextEdited(const QString &text)
{
    qDebug() << "change---------timeTextEdited" << time() << text;
    emit emitTextEdited(timeConvertToInt(TimeFieldMath::parseTyped(text)));
}
