#include "PreviewThumbnails.h"

#include "CodecBuffers.h"

#include "rscodec.h"

#include <memory>

namespace PreviewThumbnails {

namespace {
struct InfoCloser
{
    void operator()(rsc_info *info) const
    {
        rsc_info_close(info);
        rsc_info_release(info);
    }
};
} // namespace

QSize requestSize(uint32_t width, uint32_t height, uint32_t aspectX, uint32_t aspectY)
{
    uint64_t w = width, h = height;
    if (aspectX != 0 && aspectY != 0) {
        if (h * aspectX <= w * aspectY)
            w = h * aspectX / aspectY;
        else
            h = w * aspectY / aspectX;
    }
    if (w == 0 || h == 0)
        return QSize();
    return QSize(int(std::min<uint64_t>(w, 1u << 16)), int(std::min<uint64_t>(h, 1u << 16)))
        .scaled(kMaxSide, kMaxSide, Qt::KeepAspectRatio)
        .expandedTo(QSize(1, 1));
}

QImage grabFrame(rsc_info *info, uint64_t time)
{
    if (!info)
        return QImage();
    const QSize size = requestSize(rsc_info_video_width(info), rsc_info_video_height(info),
                                   rsc_info_video_aspect_x(info), rsc_info_video_aspect_y(info));
    if (size.isEmpty())
        return QImage();
    if (!rsc_info_can_seek(info))
        time = 0;
    unsigned char *buffer = rsc_info_get_video_image(info, time, 1, uint32_t(size.width()), uint32_t(size.height()), 0);
    if (!buffer)
        return QImage();
    QImage image = CodecBuffers::decodeImage(buffer, rsc_info_get_video_image_size(info, buffer));
    rsc_info_free_video_image(info, buffer);
    if (!image.isNull() && (image.width() > kMaxSide || image.height() > kMaxSide))
        image = image.scaled(kMaxSide, kMaxSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

QList<QImage> extract(const QString &path, uint64_t duration, const std::atomic<bool> &cancel,
                      const std::function<void(const QList<QImage> &)> &progress)
{
    QList<QImage> images;
    std::unique_ptr<rsc_info, InfoCloser> info(rsc_info_create(RSC_CREATE_DEFAULT));
    if (!info || !rsc_info_open_file(info.get(), path.toUtf8().constData()) || !rsc_info_has_video(info.get()))
        return images;
    for (int i = 0; i < kCount; ++i) {
        if (cancel.load())
            break;
        // Multiplied first: duration x i fits 64 bits for any real clip, and keeps the steps exact.
        const uint64_t time = duration / kCount * uint64_t(i) + duration % kCount * uint64_t(i) / kCount;
        const QImage image = grabFrame(info.get(), time);
        if (!image.isNull())
            images.append(image);
        if (progress)
            progress(images);
    }
    return images;
}

} // namespace PreviewThumbnails
