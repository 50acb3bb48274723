#pragma once
// Where the message dialog puts its message and how large it grows: the message is centred in the base
// size when it fits and wraps up to a fixed width otherwise, widening and heightening the window.

#include <QFontMetrics>
#include <QRect>
#include <QSize>
#include <QString>

namespace MessageDlgLayout {

struct Result
{
    QRect window;  // inclusive left/top/right/bottom, as placed on the screen
    QRect message; // inclusive, in window coordinates
};

// base: the dialog's base size; window: its rectangle before the message is laid out; screen: the size
// the grown window is centred in; withIcon: room for a status icon at the message's left.
Result layout(const QString &text, const QFontMetrics &fm, const QSize &base, const QRect &window, const QSize &screen,
              bool withIcon);

} // namespace MessageDlgLayout
