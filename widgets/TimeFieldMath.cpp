#include "TimeFieldMath.h"

#include <algorithm>

namespace TimeFieldMath {

namespace {
constexpr qint64 kLastOfDayMs = 86399999;

QTime fromMilliseconds(qint64 ms)
{
    ms = std::clamp<qint64>(ms, 0, kLastOfDayMs);
    return QTime(int(ms / 3600000), int(ms / 60000 % 60), int(ms / 1000 % 60), int(ms % 1000));
}

qint64 toMilliseconds(const QTime &t)
{
    return ((qint64(t.hour()) * 3600 + t.minute() * 60 + t.second()) * 1000) + t.msec();
}
} // namespace

unsigned long long toMicroseconds(const QTime &time)
{
    if (!time.isValid())
        return 0;
    return static_cast<unsigned long long>(toMilliseconds(time)) * 1000ULL;
}

QTime fromMicroseconds(unsigned long long us)
{
    return fromMilliseconds(qint64(std::min(us, kLastOfDayUs) / 1000ULL));
}

QTime parseTyped(const QString &text)
{
    QString rest = text;
    qint64 hours = 0, minutes = 0, seconds = 0, millis = 0;
    int at = rest.indexOf(QLatin1Char(':'));
    if (at >= 0) {
        hours = rest.left(at).toInt();
        rest = rest.mid(at + 1);
    }
    at = rest.indexOf(QLatin1Char(':'));
    if (at >= 0) {
        minutes = rest.left(at).toInt();
        rest = rest.mid(at + 1);
    }
    at = rest.indexOf(QLatin1Char('.'));
    if (at >= 0) {
        seconds = rest.left(at).toInt();
        millis = rest.mid(at + 1).toInt();
    }
    return fromMilliseconds(((hours * 3600 + minutes * 60 + seconds) * 1000) + millis);
}

bool carried(const QTime &s, QDateTimeEdit::Section section, bool up, QTime &result)
{
    if (!s.isValid())
        return false;
    qint64 unit = 0;
    bool atEnd = false;
    switch (section) {
    case QDateTimeEdit::MSecSection:
        unit = 1;
        atEnd = up ? s.msec() == 999 : s.msec() == 0;
        break;
    case QDateTimeEdit::SecondSection:
        unit = 1000;
        atEnd = up ? s.second() == 59 : s.second() == 0;
        break;
    case QDateTimeEdit::MinuteSection:
        unit = 60000;
        atEnd = up ? s.minute() == 59 : s.minute() == 0;
        break;
    default:
        return false;
    }
    if (!atEnd)
        return false;
    // At a section's end one unit more or less carries into the sections above it.
    const qint64 next = toMilliseconds(s) + (up ? unit : -unit);
    if (next < 0)
        return false;
    result = fromMilliseconds(next);
    return true;
}

} // namespace TimeFieldMath
