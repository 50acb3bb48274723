#include "TrimStripMath.h"

#include <QLatin1Char>

#include <algorithm>
#include <cmath>

namespace TrimStrip {

namespace {
constexpr uint64_t kSecond = 1000000;
constexpr uint64_t kMinute = 60 * kSecond;
constexpr uint64_t kHour = 60 * kMinute;

QString twoDigits(uint64_t v)
{
    return QStringLiteral("%1").arg(static_cast<qulonglong>(v), 2, 10, QLatin1Char('0'));
}
} // namespace

uint64_t labelStep(uint64_t duration)
{
    static const uint64_t rungs[] = {1 * kSecond,  2 * kSecond,  3 * kSecond, 5 * kSecond, 10 * kSecond, 15 * kSecond,
                                     30 * kSecond, 1 * kMinute,  2 * kMinute, 3 * kMinute, 5 * kMinute,  10 * kMinute,
                                     15 * kMinute, 30 * kMinute, 1 * kHour,   2 * kHour,   3 * kHour,    5 * kHour,
                                     10 * kHour,   15 * kHour,   30 * kHour};
    for (uint64_t step : rungs) {
        if (duration < 10 * step + 10)
            return step;
    }
    const uint64_t tenth = duration / 10 + (duration % 10 ? 1 : 0);
    const uint64_t unit = 30 * kHour;
    return (tenth + unit - 1) / unit * unit;
}

QVector<int> tickPositions(int axisLeft, int axisWidth, uint64_t duration, uint64_t minorStep)
{
    QVector<int> xs{axisLeft};
    if (duration == 0 || minorStep == 0 || axisWidth <= 0)
        return xs;
    const uint64_t n = duration / minorStep;
    if (n == 0)
        return xs;
    // The ladder keeps n near 50; a hand-made step is held to one tick per pixel.
    const uint64_t count = std::min<uint64_t>(n, static_cast<uint64_t>(axisWidth));
    const double distance =
        static_cast<double>(axisWidth) * static_cast<double>(minorStep) / static_cast<double>(duration);
    for (uint64_t i = 1; i <= count; ++i)
        xs << static_cast<int>(static_cast<double>(i) * distance + axisLeft);
    return xs;
}

QString timeToString(uint64_t t)
{
    return QStringLiteral("%1:%2:%3.%4")
        .arg(twoDigits(t / 3600000000ull), twoDigits((t / 60000000ull) % 60), twoDigits((t / 1000000ull) % 60),
             twoDigits((t / 1000ull) % 1000));
}

QString tooltipTime(uint64_t t)
{
    const uint64_t ms = t / 1000;
    return QStringLiteral("%1:%2:%3.%4")
        .arg(twoDigits(ms / 3600000), twoDigits((ms / 60000) % 60), twoDigits((ms / 1000) % 60),
             twoDigits((ms % 1000) / 10));
}

QRect Layout::axisRect() const
{
    return QRect(QPoint(hw + l, t), QPoint(width - 1 - hw - r, t + axisHeight - 1));
}

QRect Layout::contentRect() const
{
    return QRect(l, t, width - l - r, height - t - b);
}

QRect Layout::stripRect() const
{
    return contentRect().adjusted(hw, 0, -hw, 0);
}

QRect Layout::imageArea(int inset) const
{
    return QRect(QPoint(hw + l, t + axisHeight + inset),
                 QPoint(hw + l + stripLength() - 1, t + axisHeight + hh - 1 - inset));
}

namespace {
int pixelsOf(int length, uint64_t time, uint64_t duration)
{
    const double d = duration == 0 ? 1.0 : static_cast<double>(duration);
    return static_cast<int>(static_cast<double>(length) * static_cast<double>(time) / d + 0.5);
}
} // namespace

QRect Layout::startHandle(const TrimInfo &trim) const
{
    const uint64_t d = trim.duration == 0 ? 1 : trim.duration;
    return QRect(l + pixelsOf(stripLength(), std::min(trim.start, d), d), t + axisHeight, hw, hh);
}

QRect Layout::endHandle(const TrimInfo &trim) const
{
    const uint64_t d = trim.duration == 0 ? 1 : trim.duration;
    // An end before the start means "to the end", as the clip's own rules read it.
    const uint64_t e = (trim.end == 0 || trim.end <= trim.start) ? d : std::min(trim.end, d);
    return QRect(l + hw + pixelsOf(stripLength(), e, d), t + axisHeight, hw, hh);
}

QRect Layout::cursorHead(double progress) const
{
    const double p = std::clamp(std::isnan(progress) ? 0.0 : progress, 0.0, 1.0);
    const int x = static_cast<int>(std::floor(hw + l + p * stripLength() + 0.5)) - cw / 2;
    return QRect(x, t, cw, ch);
}

double Layout::progressOf(int headLeft) const
{
    const int aw = axisRect().width();
    if (aw <= 0)
        return 0.0;
    const double f = static_cast<double>(headLeft - hw + cw / 2 - l) / aw;
    if (f <= 0.00000001)
        return 0.0;
    return f > 1.0 ? 1.0 : f;
}

TrimInfo Layout::trimFromHandles(const QRect &start, const QRect &end, uint64_t duration, double progress) const
{
    TrimInfo trim;
    trim.duration = duration;
    const QRect axis = axisRect();
    const double aw = axis.width();
    if (aw <= 0 || duration == 0)
        return trim;
    const double d = static_cast<double>(duration);
    const int startPx = std::max(0, start.right() + 1 - axis.left());
    trim.start = std::min<uint64_t>(static_cast<uint64_t>(startPx * d / aw), duration);
    const int endPx = end.left() - axis.left();
    if (progress > 0.999999999 || endPx >= axis.width()) {
        trim.end = 0;
    } else {
        trim.end = static_cast<uint64_t>(std::max(0, endPx) * d / aw);
        if (trim.end == 0)
            trim.end = 1;
    }
    return trim;
}

} // namespace TrimStrip
