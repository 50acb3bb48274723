#include "OperationPageGround.h"

#include <QColor>
#include <QPainter>
#include <QWidget>

namespace OperationPageGround {
namespace {
const QColor kPage(37, 37, 37);
const QColor kPanel(53, 53, 53);
constexpr int kGap = 2;
} // namespace

void paint(QPainter &painter, const QWidget *page, std::initializer_list<int> panelWidths)
{
    const int w = page->width(), h = page->height();
    painter.fillRect(page->rect(), kPage);
    int fixed = kGap * (int(panelWidths.size()) - 1), shared = 0;
    for (int width : panelWidths) {
        if (width == kShareRest)
            ++shared;
        else
            fixed += width;
    }
    const int sharedWidth = shared > 0 ? (w - fixed) / shared : 0;
    int x = 0;
    int left = int(panelWidths.size());
    for (int width : panelWidths) {
        const int pw = width == kShareRest ? sharedWidth : width;
        // The last panel keeps to the right edge even when the shared room does not split evenly.
        const int px = --left == 0 ? w - pw : x;
        painter.fillRect(QRect(px, 0, pw, h), kPanel);
        x = px + pw + kGap;
    }
}
} // namespace OperationPageGround
