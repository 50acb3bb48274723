#include "NSVideoView.h"

#include <QPainter>

#include <algorithm>

namespace {

inline uint8_t clampByte(int v)
{
    return uint8_t(std::clamp(v, 0, 255));
}

// Limited-range BT.601 in 8.8 fixed point: 1.164, 1.596, 0.392, 0.813, 2.017.
QImage planarToImage(const VideoFrameDesc &desc)
{
    QImage image(desc.width, desc.height, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    for (int row = 0; row < desc.height; ++row) {
        const uint8_t *y = desc.planes[0] + size_t(row) * desc.strides[0];
        const uint8_t *u = desc.planes[1] + size_t(row / 2) * desc.strides[1];
        const uint8_t *v = desc.planes[2] + size_t(row / 2) * desc.strides[2];
        auto *out = reinterpret_cast<QRgb *>(image.scanLine(row));
        for (int col = 0; col < desc.width; ++col) {
            const int c = 298 * (int(y[col]) - 16);
            const int d = int(u[col / 2]) - 128;
            const int e = int(v[col / 2]) - 128;
            out[col] = qRgb(clampByte((c + 409 * e + 128) >> 8), clampByte((c - 100 * d - 208 * e + 128) >> 8),
                            clampByte((c + 516 * d + 128) >> 8));
        }
    }
    return image;
}

} // namespace

NSVideoView::NSVideoView(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_MouseTracking);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QImage NSVideoView::frameToImage(const VideoFrameDesc &desc)
{
    if (desc.isClear() || !desc.isDrawable())
        return QImage();
    if (desc.format == VideoFrameDesc::Yuv420p)
        return planarToImage(desc);
    // RGB32 is B, G, R, X in memory on little-endian machines: the packed layout as it is. copy() detaches
    // from the caller's buffer, which is gone when the delivery returns.
    return QImage(desc.planes[0], desc.width, desc.height, desc.strides[0], QImage::Format_RGB32).copy();
}

bool NSVideoView::showImage(unsigned char *data, unsigned int width, unsigned int height, unsigned int stride)
{
    const auto clampInt = [](unsigned int v) { return int(std::min<unsigned int>(v, 0x7fffffffu)); };
    return acceptFrame(VideoFrameDesc::packed(data, clampInt(width), clampInt(height), clampInt(stride)));
}

bool NSVideoView::showYUVImage(unsigned char **planes, int width, int height, int *strides)
{
    return acceptFrame(VideoFrameDesc::planar(planes, width, height, strides));
}

bool NSVideoView::acceptFrame(const VideoFrameDesc &desc)
{
    const bool clearing = desc.isClear();
    if (!clearing && !desc.isDrawable())
        return false;
    if (!m_gate.admit(clearing, desc.format == VideoFrameDesc::Yuv420p ? "showYUVImage" : "showImage"))
        return false;
    QImage image = frameToImage(desc);
    if (!clearing && image.isNull()) {
        // Out of memory: the frame was never queued, so it must not stay counted.
        m_gate.cancel();
        return false;
    }
    return m_gate.post(this, [this, image]() { OnFrameArrived(image); });
}

void NSVideoView::OnFrameArrived(const QImage &image)
{
    mDisplayImage = image;
    update();
}

void NSVideoView::reset()
{
    m_gate.invalidate();
    mDisplayImage = QImage();
    update();
}

void NSVideoView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (mDisplayImage.isNull()) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), mDisplayImage);
}
