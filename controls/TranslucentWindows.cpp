#include "TranslucentWindows.h"

#include <QBitmap>
#include <QEvent>
#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QVariant>
#include <QWidget>
#include <QX11Info>

namespace {

// Pixels at least this opaque belong to the panel; fainter ones are shadow or edge smoothing.
constexpr int kPanelAlpha = 160;
// A window whose drawn pixels cover less than this share of it is a floating figure (the wait spinner):
// its shape moves as it animates, so it is refitted before every repaint.
constexpr double kSparseShare = 0.5;

const char *const kMaskedProperty = "_rs_shapeMasked";
const char *const kSparseProperty = "_rs_shapeSparse";

bool isFittedWindow(const QWidget *w)
{
    return w->isWindow() && w->testAttribute(Qt::WA_TranslucentBackground) && w->windowType() != Qt::Desktop;
}

class TranslucentWindowFilter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::Show:
        case QEvent::Resize:
        case QEvent::UpdateRequest:
            break;
        default:
            return false;
        }
        if (!watched->isWidgetType())
            return false;
        auto *w = static_cast<QWidget *>(watched);
        if (!isFittedWindow(w))
            return false;
        if (event->type() == QEvent::UpdateRequest) {
            if (w->property(kSparseProperty).toBool() && !m_fitting)
                fit(w);
            return false;
        }
        if (event->type() == QEvent::Resize && !w->isVisible())
            return false; // the Show that follows fits it
        fit(w);           // before the window is mapped: no black frame is ever shown
        if (event->type() == QEvent::Show) {
            // The window places its children in its own show handler, after this filter: fit once more then.
            QPointer<QWidget> shown(w);
            QTimer::singleShot(0, this, [this, shown] {
                if (shown && shown->isVisible())
                    fit(shown);
            });
        }
        return false;
    }

private:
    void fit(QWidget *w)
    {
        m_fitting = true; // rendering for the shape sends events of its own
        rs::fitTranslucentWindow(w);
        m_fitting = false;
    }

    bool m_fitting = false;
};

} // namespace

namespace rs {

bool windowsAreComposited()
{
    // Qt follows the owner of the screen's _NET_WM_CM_S<n> selection (EWMH) from its own event stream.
    if (QX11Info::isPlatformX11())
        return QX11Info::isCompositingManagerRunning();
    // Wayland always composites; offscreen rendering keeps every pixel's alpha as drawn.
    return true;
}

void fitTranslucentWindow(QWidget *window)
{
    if (!window || !isFittedWindow(window))
        return;
    if (windowsAreComposited()) {
        if (window->property(kMaskedProperty).toBool()) {
            window->clearMask();
            window->setProperty(kMaskedProperty, false);
        }
        return;
    }
    if (window->width() <= 0 || window->height() <= 0)
        return;
    // The window's own rendering decides its shape, whatever base class drew it.
    window->clearMask();
    const QImage drawn = window->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    const QSize size = window->size();
    const double sx = double(drawn.width()) / size.width(), sy = double(drawn.height()) / size.height();
    QImage shape(size, QImage::Format_MonoLSB);
    shape.setColor(0, 0xffffffffu); // 0: outside (bitmaps: colour 0 is clear)
    shape.setColor(1, 0xff000000u);
    const auto trace = [&](int minAlpha) {
        shape.fill(0);
        qint64 inside = 0;
        for (int y = 0; y < size.height(); ++y) {
            const auto *row =
                reinterpret_cast<const QRgb *>(drawn.constScanLine(qMin(drawn.height() - 1, int(y * sy))));
            uchar *out = shape.scanLine(y);
            for (int x = 0; x < size.width(); ++x) {
                if (qAlpha(row[qMin(drawn.width() - 1, int(x * sx))]) >= minAlpha) {
                    out[x >> 3] |= uchar(1u << (x & 7));
                    ++inside;
                }
            }
        }
        return inside;
    };
    qint64 inside = trace(kPanelAlpha);
    const bool sparse = inside < kSparseShare * size.width() * size.height();
    // A floating figure has no shadow to cut off: keep its faint parts, or they would vanish.
    if (sparse)
        inside = trace(1);
    if (inside == 0)
        return; // nothing drawn yet: a mask would hide the window for good
    window->setProperty(kSparseProperty, sparse);
    window->setMask(QBitmap::fromImage(shape));
    window->setProperty(kMaskedProperty, true);
}

QObject *newTranslucentWindowFilter(QObject *parent)
{
    return new TranslucentWindowFilter(parent);
}

} // namespace rs
