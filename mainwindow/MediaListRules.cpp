#include "MediaListRules.h"

#include <QtGlobal>

MediaListRules::Navigation MediaListRules::navigation(int index, int count)
{
    Navigation n;
    if (index < 0 || count <= 0 || index >= count)
        return n;
    n.previous = index > 0 && count > 1;
    n.next = index < count - 1 && count > 1;
    return n;
}

int MediaListRules::reorderTarget(int from, int onto, QDragMouseState state)
{
    if (from == onto || from < 0 || onto < 0)
        return -1;
    if (state == 1)
        return from < onto ? onto - 1 : onto;
    if (state == 2)
        return from < onto ? onto : onto + 1;
    return -1;
}

QDragMouseState MediaListRules::dropHalf(int y, int height)
{
    if (height <= 0 || y < 0 || y >= height)
        return 0;
    return y < height / 2 ? 1 : 2;
}

bool MediaListRules::inShiftRange(int row, int anchor, int pressed)
{
    return row >= qMin(anchor, pressed) && row <= qMax(anchor, pressed);
}

bool MediaListRules::inRubberBand(int y0, int height, const QPoint &start, const QPoint &end)
{
    const int lo = qMin(start.y(), end.y());
    const int hi = qMax(start.y(), end.y());
    const int y1 = y0 + height;
    return (lo < y0 && y0 < hi) || (lo < y1 && y1 < hi) || (y0 <= start.y() && start.y() <= y1);
}

QList<int> MediaListRules::deletionSnapshot(const QVector<QConvertMouseState> &states, const QVector<bool> &visible)
{
    QList<int> rows;
    const int n = qMin(states.size(), visible.size());
    for (int i = 0; i < n; ++i)
        if (states.at(i) == 2 && visible.at(i))
            rows.append(i);
    return rows;
}

quint64 MediaListRules::trimmedLength(quint64 start, quint64 end, quint64 duration)
{
    const quint64 stop = end == 0 ? duration : end;
    return stop > start ? stop - start : 0;
}

QString MediaListRules::timeText(quint64 microseconds)
{
    const quint64 ms = microseconds / 1000;
    const QLatin1Char zero('0');
    return QStringLiteral("%1:%2:%3.%4")
        .arg(ms / 3600000ULL, 2, 10, zero)
        .arg((ms / 60000ULL) % 60, 2, 10, zero)
        .arg((ms / 1000ULL) % 60, 2, 10, zero)
        .arg((ms % 1000ULL) / 10, 2, 10, zero);
}

void MediaListRules::cropToAspect(int iw, int ih, int w, int h, int *x, int *y, int *cw, int *ch)
{
    *x = *y = *cw = *ch = 0;
    if (iw <= 0 || ih <= 0 || w <= 0 || h <= 0)
        return;
    if (qint64(ih) * w <= qint64(iw) * h) {
        *ch = ih;
        *cw = int(qint64(ih) * w / h);
        *x = (iw - *cw) / 2;
    } else {
        *cw = iw;
        *ch = int(qint64(iw) * h / w);
        *y = (ih - *ch) / 2;
    }
}
