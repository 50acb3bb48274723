#pragma once
// The media list's rules that need no widget: which of Previous/Next apply, where a dropped row lands,
// which rows a Shift press or a rubber band selects, which rows a context Delete removes, and the time
// texts of a row and of the whole list.

#include <QList>
#include <QPoint>
#include <QString>
#include <QVector>

// Where a dragged row is over the target row: 0 nowhere, 1 upper half (before it), 2 lower half (after).
typedef int QDragMouseState;
// The look and selection state of a row: 0 normal, 1 hover, 2 selected.
typedef int QConvertMouseState;

class MediaListRules
{
public:
    struct Navigation
    {
        bool previous = false;
        bool next = false;
    };
    // Previous/Next for the previewed row at `index` among `count` rows.
    static Navigation navigation(int index, int count);

    // The clip-list index the row at `from` moves to when dropped on the row at `onto`; -1 when nothing
    // moves (dropped on itself, or nowhere).
    static int reorderTarget(int from, int onto, QDragMouseState state);

    // The half of a row of `height` pixels that the pointer at `y` is over.
    static QDragMouseState dropHalf(int y, int height);

    // Shift selection: the rows from the anchor to the pressed row, both included, in either order.
    static bool inShiftRange(int row, int anchor, int pressed);

    // Rubber band: the row spanning y0..y0+height is hit by the band from start to end (content
    // coordinates).
    static bool inRubberBand(int y0, int height, const QPoint &start, const QPoint &end);

    // The rows a context Delete removes: the selected rows that the filter shows, each once, in list
    // order. Both vectors are indexed by row.
    static QList<int> deletionSnapshot(const QVector<QConvertMouseState> &states, const QVector<bool> &visible);

    // The length of a trimmed range in microseconds: (end, or the duration when end is 0) - start, 0 when
    // the range is empty or reversed.
    static quint64 trimmedLength(quint64 start, quint64 end, quint64 duration);

    // "hh:mm:ss.cc" of microseconds; hours grow past two digits, nothing wraps.
    static QString timeText(quint64 microseconds);

    // The thumbnail crop: the part of an image of iw x ih that fills a widget of w x h around the image's
    // centre; an empty rectangle when either size is empty.
    static void cropToAspect(int iw, int ih, int w, int h, int *x, int *y, int *cw, int *ch);
};
