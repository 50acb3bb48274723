#include "MessageDlgLayout.h"

#include <algorithm>
#include <climits>

namespace MessageDlgLayout {

namespace {
// Width of the text: of its longest line, measured on a prefix as long as that line plus slack.
int textWidth(const QString &text, const QFontMetrics &fm)
{
    const int breaks = text.count(QLatin1Char('\n'));
    if (breaks == 0)
        return fm.boundingRect(text).width();
    int longest = 0;
    int previous = -1;
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('\n'))
            continue;
        longest = std::max(longest, previous < 0 ? i : i - previous);
        previous = i;
    }
    longest = std::max(longest, text.size() - previous);
    return fm.boundingRect(text.left(longest + breaks + 4)).width();
}
} // namespace

Result layout(const QString &text, const QFontMetrics &fm, const QSize &base, const QRect &window, const QSize &screen,
              bool withIcon)
{
    const int Dw = base.width();
    const int Dh = base.height();
    const int pad = withIcon ? 112 : 80;
    const int maxWidth = withIcon ? 488 : 520;
    const int wideLeft = withIcon ? 82 : 40;
    int gl = window.left(), gt = window.top(), gr = window.right(), gb = window.bottom();

    const int w0 = textWidth(text, fm);
    int w = w0;
    int left = 0;
    if (w0 > Dw - pad) {
        w = std::min(w0, maxWidth);
        left = wideLeft;
        gl = (screen.width() - (pad + w)) / 2;
        gr = gl + pad + w;
    } else {
        left = (Dw - w0) / 2;
    }
    const int h = fm.boundingRect(QRect(0, 0, w + 1, INT_MAX / 2), Qt::TextWordWrap, text).height();
    int top = 0;
    if (Dh > h && (Dh - h) / 2 - 5 > 35) {
        top = (Dh - h) / 2 - 5;
    } else {
        top = 36;
        auto bottomFor = [&](int t) {
            const int b = t + h + 10 + Dh / 2;
            return b - t + 1 < Dh ? t + Dh : b;
        };
        gb = bottomFor(gt);
        gt = (screen.height() - (gb - gt)) / 2;
        gb = bottomFor(gt);
    }
    Result r;
    r.window = QRect(QPoint(gl, gt), QPoint(gr, gb));
    r.message = QRect(QPoint(left, top), QPoint(left + w, top + h));
    return r;
}

} // namespace MessageDlgLayout
