#pragma once
// What the benchmark programs print beside their figures: the median with the fastest and slowest run,
// and the machine's load average (a busy machine explains a slow figure).

#include <QFile>
#include <QString>

#include <algorithm>
#include <vector>

namespace rsbench {

struct Spread
{
    double median, min, max;
};

// The median (the mean of the middle two for an even count) with the smallest and largest value.
inline Spread spreadOf(std::vector<double> v)
{
    if (v.empty())
        return {0, 0, 0};
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return {n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2, v.front(), v.back()};
}

// The 1, 5 and 15 minute load averages, or "unknown".
inline QString loadAverage()
{
    QFile f(QStringLiteral("/proc/loadavg"));
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()).section(QLatin1Char(' '), 0, 2)
                                       : QStringLiteral("unknown");
}

} // namespace rsbench
