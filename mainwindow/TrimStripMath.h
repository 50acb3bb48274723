#pragma once
// The arithmetic of the preview's trim strip, kept apart from the widget: the time scale's step, where
// its ticks stand, where the handles and the cursor stand for a trim and a position, and the trim the
// handles give back. Every division by a duration or a width is guarded: a clip of length 0 or one
// shorter than the scale's smallest step still gets a scale (tick 0 alone).

#include "TrimInfo.h"

#include <QRect>
#include <QString>
#include <QVector>

#include <cstdint>

namespace TrimStrip {

// The labelled step of the time scale for a duration: the first rung of 1, 2, 3, 5, 10, 15, 30 s,
// 1, 2, 3, 5, 10, 15, 30 min, 1, 2, 3, 5, 10, 15, 30 h that leaves at most ten labelled intervals
// (duration < 10 x step + 10 us); beyond, a tenth of the duration rounded up to a multiple of 30 h.
uint64_t labelStep(uint64_t duration);
// A label stands on every fifth tick.
inline uint64_t minorStep(uint64_t duration)
{
    return labelStep(duration) / 5;
}

// x of every tick from tick 0 on, in the axis [left, left + width). Tick 0 alone when the duration is 0
// or shorter than the minor step.
QVector<int> tickPositions(int axisLeft, int axisWidth, uint64_t duration, uint64_t minorStep);

// "hh:mm:ss.mmm"-like texts: the scale's labels (milliseconds) and the tooltips (hundredths).
QString timeToString(uint64_t us);
QString tooltipTime(uint64_t us);

// The strip's geometry for a widget width. Margins l, t, r, b; hw and hh the handle size; cw and ch the
// cursor size; axisHeight the time axis' height.
struct Layout
{
    int width = 0;
    int height = 0;
    int l = 0, t = 0, r = 0, b = 6;
    int hw = 9, hh = 66;
    int cw = 11, ch = 10;
    int axisHeight = 23;

    int stripLength() const { return width - l - r - 2 * hw; }
    QRect axisRect() const;
    QRect contentRect() const;
    QRect stripRect() const;
    QRect imageArea(int inset) const;
    // Handles for a trim over a duration (a duration of 0 counts as 1; an end of 0 as the duration).
    QRect startHandle(const TrimInfo &trim) const;
    QRect endHandle(const TrimInfo &trim) const;
    // The cursor head's rectangle at a fraction of the clip.
    QRect cursorHead(double progress) const;
    // The fraction a cursor head at x gives, held to [0, 1].
    double progressOf(int headLeft) const;
    // The trim the handles give back: start from the start handle's right edge, end from the end
    // handle's left edge; the end is 0 when the end handle stands at the strip's right end or the cursor
    // is there, and at least 1 otherwise.
    TrimInfo trimFromHandles(const QRect &start, const QRect &end, uint64_t duration, double progress) const;
};

} // namespace TrimStrip
