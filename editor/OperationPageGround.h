#pragma once
// The ground of the editor's operation pages: a dark page with lighter panels side by side, two pixels
// apart, the last one standing against the right edge.

#include <initializer_list>

class QPainter;
class QWidget;

namespace OperationPageGround {
// A panel of this width shares what the fixed panels leave, equally with the other shared ones.
constexpr int kShareRest = -1;

// Fills the page's whole rect, then the panels of the given widths from left to right.
void paint(QPainter &painter, const QWidget *page, std::initializer_list<int> panelWidths);
} // namespace OperationPageGround
