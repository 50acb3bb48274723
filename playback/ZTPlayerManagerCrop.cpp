// ZTPlayerManager, crop side: applies a clip's crop record to the preview player, computes the pan-scan
// box that fits the output shape into the crop, and lets the user drag the crop box over the original
// window.
#include "ZTPlayerManager.h"

#include "CropDragGeometry.h"
#include "QMediaElementWindow.h"
#include "ZTPlayerClass.h"

#include <QMouseEvent>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

constexpr double kMinBoxPixels = 20.0;

bool sideways(int rotation)
{
    return rotation % 180 != 0;
}

// What reaches the codec library is always a box inside the frame.
QRectF insideFrame(const VERect &r)
{
    return CropDragGeometry::clampFraction(QRectF(r.x, r.y, r.width, r.height));
}

void sendCrop(ZTPlayerClass *player, const VERect &r)
{
    const QRectF box = insideFrame(r);
    player->SetVideoCrop_Player(box.x(), box.y(), box.width(), box.height());
}

void clampRect(VERect &r)
{
    r.x = std::min(r.x, 1.0);
    r.y = std::min(r.y, 1.0);
    r.width = std::min(r.width, 1.0 - r.x);
    r.height = std::min(r.height, 1.0 - r.y);
}

void setSenderCursor(QObject *sender, unsigned zone)
{
    if (auto *w = qobject_cast<QWidget *>(sender))
        w->setCursor(CropDragGeometry::cursorForZone(zone));
}

} // namespace

bool ZTPlayerManager::panScanLocked() const
{
    return m_cropSettings.padEnabled != 0 && m_cropSettings.panScan == 1 && m_cropSettings.aspectMode != 2;
}

void ZTPlayerManager::setCropSettings(VECropSettings settings)
{
    if (!hasPlayer())
        return;
    clampRect(settings.cropRect);
    clampRect(settings.panScanRect);
    applyCrop(settings);
    m_cropSettings = settings;
    emit emitCropAreaChange(m_cropSettings);
}

void ZTPlayerManager::cropSettings(VECropSettings settings)
{
    if (hasPlayer())
        applyCrop(settings);
}

void ZTPlayerManager::applyCrop(VECropSettings &r)
{
    ZTPlayerClass *p = m_player;
    const bool turned = sideways(r.rotation);
    const bool locked = r.padEnabled != 0 && r.panScan == 1 && r.aspectMode != 2;
    p->SetVideoRotate_Player(static_cast<unsigned>(r.rotation));
    p->SetVideoMirror_Player(static_cast<unsigned>(r.mirror));
    if (locked) {
        p->SetVideoPadAndColor_Player(0, r.padColor);
        sendCrop(p, r.panScanRect);
    } else {
        p->SetVideoPadAndColor_Player(r.aspectMode == 2 ? 0u : static_cast<unsigned>(r.padEnabled), r.padColor);
        sendCrop(p, r.cropRect);
    }
    const unsigned aw = static_cast<unsigned>(r.aspectWidth), ah = static_cast<unsigned>(r.aspectHeight);
    if (r.padEnabled == 0 || r.panScan != 1) {
        if (r.aspectMode == 2 && turned)
            p->SetVideoAspectRatio_Player(ah, aw);
        else
            p->SetVideoAspectRatio_Player(aw, ah);
    } else {
        const QSize v = p->GetVideoSize_Player();
        if (turned)
            p->SetVideoAspectRatio_Player(unsigned(v.height()), unsigned(v.width()));
        else
            p->SetVideoAspectRatio_Player(unsigned(v.width()), unsigned(v.height()));
    }
    if (r.panScan == 1) {
        CalcCropPanScan(r);
        sendCrop(p, r.panScanRect);
        p->SetVideoPadAndColor_Player(0, r.padColor);
        if (turned)
            p->SetVideoAspectRatio_Player(m_previewHeight, m_previewWidth);
        else
            p->SetVideoAspectRatio_Player(m_previewWidth, m_previewHeight);
    } else if (r.panScan == 0) {
        sendCrop(p, r.cropRect);
        p->SetVideoPadAndColor_Player(1, r.padColor);
        p->SetVideoAspectRatio_Player(aw, ah);
        if (r.aspectMode == 2) {
            p->SetVideoPadAndColor_Player(0, r.padColor);
            if (turned)
                p->SetVideoAspectRatio_Player(ah, aw);
            else
                p->SetVideoAspectRatio_Player(aw, ah);
        } else if (r.padEnabled != 0) {
            p->SetVideoPadAndColor_Player(static_cast<unsigned>(r.padEnabled), r.padColor);
            p->SetVideoAspectRatio_Player(aw, ah);
        }
    }
    fitPreviewWindow(); // the edited picture may have changed its shape
    showSoon();
}

void ZTPlayerManager::getCropSettings(VECropSettings &settings) const
{
    settings = m_cropSettings;
}

void ZTPlayerManager::setPanScanMode(PanScanMode mode)
{
    m_panScanMode = mode;
}

void ZTPlayerManager::CalcCropPanScan(VECropSettings &r)
{
    if (!hasPlayer() || !m_player->HasVideo_Player())
        return;
    const QSize v = m_player->GetVideoSize_Player();
    const QSize a = m_player->GetVideoAspectRatio_Player();
    const double vw = v.width(), vh = v.height();
    const VERect &A = r.cropRect;
    VERect &B = r.panScanRect;
    double dW, dH;
    if (r.aspectWidth != 0 && r.aspectHeight != 0 && r.aspectMode != 1) {
        dW = r.aspectWidth;
        dH = r.aspectHeight;
    } else if ((r.aspectWidth == 0 || r.aspectHeight == 0) && a.width() != 0 && a.height() != 0) {
        const quint32 ax = quint32(a.width()), ay = quint32(a.height());
        const quint32 g = std::gcd(ax * quint32(v.height()), ay * quint32(v.width()));
        if (g == 0) { // no picture size: nothing to fit
            m_panScanMode = PanScanCentered;
            return;
        }
        dW = vw * double(ax * quint32(v.height()) / g) * A.width;
        dH = vh * double(ay * quint32(v.width()) / g) * A.height;
    } else {
        dW = vw * A.width;
        dH = vh * A.height;
    }
    const bool turned = sideways(r.rotation);
    const double PW = turned ? m_previewHeight : m_previewWidth;
    const double PH = turned ? m_previewWidth : m_previewHeight;
    const PanScanMode mode = m_panScanMode;
    m_panScanMode = PanScanCentered;
    // An empty crop, picture or preview has no shape to fit: the box stays as it was.
    if (!(dW > 0.0) || !(dH > 0.0) || !(PW > 0.0) || !(PH > 0.0))
        return;
    switch (mode) {
    case PanScanCentered:
        if (dH * PW <= dW * PH) {
            B.width = A.width * (dH * PW) / (dW * PH);
            B.x = A.x + (A.width - B.width) * 0.5;
            B.y = A.y;
            B.height = A.height;
        } else {
            B.height = A.height * (dW * PH) / (dH * PW);
            B.y = A.y + (A.height - B.height) * 0.5;
            B.x = A.x;
            B.width = A.width;
        }
        break;
    case PanScanKeepWidth: {
        const double t = dW * PH * A.height / (dH * PW);
        B.width = A.width;
        B.height = t;
        if (t + B.y > 1.0 && t > 0.0) {
            B.height = 1.0 - B.y;
            B.width = A.width * B.height / t;
        }
        break;
    }
    case PanScanKeepHeight: {
        const double t = dH * PW * A.width / (dW * PH);
        B.width = t;
        B.height = A.height;
        if (B.x + t > 1.0 && t > 0.0) {
            B.width = 1.0 - B.x;
            B.height = A.height * B.width / t;
        }
        break;
    }
    }
}

unsigned long long ZTPlayerManager::getCropMinSize()
{
    QMediaElementWindow *window = m_originalWindow.data();
    if (!hasPlayer() || !window)
        return 0;
    const QRect e = window->getVideoElementRect();
    const double ew = e.width(), eh = e.height();
    if (ew < 1.0 || eh < 1.0)
        return 0;
    const QSize v = m_player->GetVideoSize_Player();
    unsigned minW = static_cast<unsigned>(v.width() * kMinBoxPixels / ew + 0.5);
    unsigned minH = static_cast<unsigned>(kMinBoxPixels * v.height() / eh + 0.5);
    if (panScanLocked()) {
        if (!sideways(m_cropSettings.rotation)) {
            if (v.height() > 0)
                minW = static_cast<unsigned>(double(qint64(v.width()) * minH) / v.height());
        } else if (v.width() > 0) {
            minH = static_cast<unsigned>(double(qint64(v.height()) * minW) / v.width());
        }
    }
    return (static_cast<unsigned long long>(minH) << 32) | minW;
}

unsigned long long ZTPlayerManager::getCropVCMinSize() const
{
    QMediaElementWindow *window = m_originalWindow.data();
    if (!window)
        return 0;
    const QRect e = window->getVideoElementRect();
    unsigned w = unsigned(kMinBoxPixels), h = unsigned(kMinBoxPixels);
    if (panScanLocked() && e.width() >= 1 && e.height() >= 1) {
        if (!sideways(m_cropSettings.rotation))
            w = static_cast<unsigned>(e.width() * kMinBoxPixels / e.height());
        else
            h = static_cast<unsigned>(e.height() * kMinBoxPixels / e.width());
    }
    return (static_cast<unsigned long long>(h) << 32) | w;
}

unsigned ZTPlayerManager::cropPixelsEven(double fraction, unsigned videoSide) const
{
    const double f = std::isfinite(fraction) ? std::clamp(fraction, 0.0, 1.0) : 0.0;
    const quint64 q = static_cast<quint64>(f * 65536.0 + 0.5);
    if (q == 65536)
        return videoSide;
    const quint64 r = (q * videoSide + 65536) >> 16;
    return r < videoSide ? static_cast<unsigned>(r & ~quint64(1)) : videoSide;
}

QRectF ZTPlayerManager::dragBoxOf() const
{
    const VERect &r = panScanLocked() ? m_cropSettings.panScanRect : m_cropSettings.cropRect;
    return QRectF(r.x, r.y, r.width, r.height);
}

void ZTPlayerManager::MoveCropPanScan()
{
    VERect &c = m_cropSettings.cropRect;
    double x = c.x, y = c.y, w = c.width, h = c.height;
    const double sx = m_dragStart.x(), sy = m_dragStart.y(), sw = m_dragStart.width(), sh = m_dragStart.height();
    if (!(sw > 0.0) || !(sh > 0.0))
        return; // no shape to keep
    switch (m_cropZone) {
    case 1:
        if (w * sh <= h * sw) {
            w = h * sw / sh;
            x = sx + sw - w;
            if (x < 0) {
                h = sh * (sx + sw) / sw;
                y = sy + sh - h;
                x = 0;
                w = sx + sw;
            }
        } else {
            h = w * sh / sw;
            y = sy + sh - h;
            if (y < 0) {
                w = sw * (sy + sh) / sh;
                x = sx + sw - w;
                y = 0;
                h = sy + sh;
            }
        }
        break;
    case 2:
        if (h * sw < w * sh) {
            h = w * sh / sw;
            if (y + h > 1) {
                w = (1 - y) * sw / sh;
                x = sx + sw - w;
                h = 1 - y;
            }
        } else {
            w = h * sw / sh;
            x = sx + sw - w;
            if (x < 0) {
                x = 0;
                h = sh * (sx + sw) / sw;
                w = sx + sw;
            }
        }
        break;
    case 3:
        h = w * sh / sw;
        if (y + h > 1) {
            w = (1 - y) * sw / sh;
            x = sx + sw - w;
            h = 1 - y;
        }
        break;
    case 4:
        if (w * sh <= h * sw) {
            w = h * sw / sh;
            if (x + w > 1) {
                h = (1 - x) * sh / sw;
                y = sy + sh - h;
                w = 1 - x;
            }
        } else {
            h = w * sh / sw;
            y = sy + sh - h;
            if (y < 0) {
                y = 0;
                h = sy + sh;
                w = sw * (sy + sh) / sh;
            }
        }
        break;
    case 5:
        if (h * sw < w * sh) {
            h = w * sh / sw;
            if (y + h > 1) {
                h = 1 - y;
                w = sw * (1 - y) / sh;
            }
        } else {
            w = h * sw / sh;
            if (x + w > 1) {
                h = sh * (1 - x) / sw;
                w = 1 - x;
            }
        }
        break;
    case 6:
        h = w * sh / sw;
        if (y + h > 1) {
            h = 1 - y;
            w = sw * (1 - y) / sh;
        }
        break;
    case 7:
        w = h * sw / sh;
        if (x + w > 1) {
            h = (1 - x) * sh / sw;
            y = sy + sh - h;
            w = 1 - x;
        }
        break;
    case 8:
        w = h * sw / sh;
        if (x + w > 1) {
            h = sh * (1 - x) / sw;
            w = 1 - x;
        }
        break;
    default:
        break;
    }
    c.x = x;
    c.y = y;
    c.width = w;
    c.height = h;
}

// ------------------------------------------------------------------------------------------ mouse

void ZTPlayerManager::mousePressEvent(QMouseEvent *event)
{
    QMediaElementWindow *window = m_originalWindow.data();
    if (!window || !event)
        return;
    const QRectF box = dragBoxOf();
    if (!CropDragGeometry::isGrabbable(box))
        return;
    const QPoint p = event->localPos().toPoint();
    const unsigned zone = CropDragGeometry::hitZone(CropDragGeometry::pixelBox(box, window->getVideoElementRect()), p);
    if (zone == 0)
        return;
    m_cropZone = zone;
    setSenderCursor(sender(), zone);
    m_pressPoint = p;
    m_dragStart = box;
}

void ZTPlayerManager::mouseMoveEvent(QMouseEvent *event)
{
    QMediaElementWindow *window = m_originalWindow.data();
    if (!window || !event)
        return;
    setSenderCursor(sender(), 0);
    const QRect e = window->getVideoElementRect();
    const QPoint p = event->localPos().toPoint();
    if (m_cropZone == 0) {
        const QRectF box = dragBoxOf();
        if (!CropDragGeometry::isGrabbable(box))
            return;
        const unsigned zone = CropDragGeometry::hitZone(CropDragGeometry::pixelBox(box, e), p);
        if (zone != 0)
            setSenderCursor(sender(), zone);
        return;
    }
    QSizeF minimum(kMinBoxPixels, kMinBoxPixels);
    if (panScanLocked() && e.width() >= 1 && e.height() >= 1) {
        if (!sideways(m_cropSettings.rotation))
            minimum.setWidth(std::trunc(e.width() * kMinBoxPixels / e.height()));
        else
            minimum.setHeight(std::trunc(e.height() * kMinBoxPixels / e.width()));
    }
    const QRectF box = CropDragGeometry::dragBox(m_cropZone, m_dragStart, m_pressPoint, p, e, minimum);
    setSenderCursor(sender(), m_cropZone);
    VECropSettings &r = m_cropSettings;
    r.cropRect = VERect{box.x(), box.y(), box.width(), box.height()};
    if (r.padEnabled != 0 && r.panScan == 1 && r.aspectMode < 2)
        MoveCropPanScan();
    r.panScanRect = r.cropRect;
    if (r.aspectMode == 1 || (r.aspectMode == 0 && r.padEnabled == 0)) {
        r.panScan = 0;
        if (r.aspectMode == 1) {
            const QSize v = hasPlayer() ? m_player->GetVideoSize_Player() : QSize();
            r.aspectWidth = qint32(std::max(2u, cropPixelsEven(r.cropRect.width, unsigned(std::max(0, v.width())))));
            r.aspectHeight = qint32(std::max(2u, cropPixelsEven(r.cropRect.height, unsigned(std::max(0, v.height())))));
        } else {
            r.aspectWidth = 0;
            r.aspectHeight = 0;
        }
    }
    emit emitCropAreaChange(m_cropSettings);
    cropSettings(m_cropSettings);
}

void ZTPlayerManager::mouseReleaseEvent(QMouseEvent *)
{
    m_cropZone = 0;
}
