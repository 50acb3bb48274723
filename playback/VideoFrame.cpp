#include "VideoFrame.h"

#include <cstring>
#include <new>

bool VideoFrameDesc::isDrawable() const
{
    if (width < 1 || height < 1 || width > kMaxDimension || height > kMaxDimension)
        return false;
    if (format == Bgrx32)
        return planes[0] && strides[0] >= width * 4 && strides[0] <= kMaxDimension * 8;
    if (format == Yuv420p) {
        const int chromaWidth = (width + 1) / 2;
        return planes[0] && planes[1] && planes[2] && strides[0] >= width && strides[1] >= chromaWidth &&
               strides[2] >= chromaWidth && strides[0] <= kMaxDimension * 2 && strides[1] <= kMaxDimension * 2 &&
               strides[2] <= kMaxDimension * 2;
    }
    return false;
}

VideoFrameDesc VideoFrameDesc::packed(const uint8_t *data, int width, int height, int stride)
{
    VideoFrameDesc desc;
    desc.format = Bgrx32;
    desc.width = width;
    desc.height = height;
    desc.planes[0] = data;
    desc.strides[0] = stride;
    return desc;
}

VideoFrameDesc VideoFrameDesc::planar(const uint8_t *const *planes, int width, int height, const int *strides)
{
    VideoFrameDesc desc;
    desc.format = Yuv420p;
    desc.width = width;
    desc.height = height;
    if (planes) {
        for (int i = 0; i < 3; ++i)
            desc.planes[i] = planes[i];
    }
    if (strides) {
        for (int i = 0; i < 3; ++i)
            desc.strides[i] = strides[i];
    }
    return desc;
}

namespace {

bool resize(std::vector<uint8_t> &plane, size_t bytes)
{
    try {
        plane.resize(bytes);
    } catch (const std::bad_alloc &) {
        return false;
    }
    return true;
}

bool copyPacked(const VideoFrameDesc &desc, VideoFrameBuffer &out)
{
    const int srcStride = desc.strides[0];
    const int stride = srcStride % 4 == 0 ? srcStride : desc.width * 4;
    if (!resize(out.planes[0], size_t(stride) * size_t(desc.height)))
        return false;
    if (stride == srcStride) {
        std::memcpy(out.planes[0].data(), desc.planes[0], out.planes[0].size());
    } else {
        for (int row = 0; row < desc.height; ++row)
            std::memcpy(out.planes[0].data() + size_t(row) * stride, desc.planes[0] + size_t(row) * srcStride,
                        size_t(stride));
    }
    out.strides[0] = stride;
    out.rows[0] = desc.height;
    return true;
}

bool copyPlanar(const VideoFrameDesc &desc, VideoFrameBuffer &out)
{
    const int evenHeight = desc.height + (desc.height & 1);
    const int chromaRows = evenHeight / 2;
    const int rows[3] = {evenHeight, chromaRows, chromaRows};
    const int sourceRows[3] = {desc.height, chromaRows, chromaRows};
    for (int i = 0; i < 3; ++i) {
        const size_t stride = size_t(desc.strides[i]);
        if (!resize(out.planes[i], stride * size_t(rows[i])))
            return false;
        std::memcpy(out.planes[i].data(), desc.planes[i], stride * size_t(sourceRows[i]));
        out.strides[i] = desc.strides[i];
        out.rows[i] = rows[i];
    }
    if (evenHeight != desc.height) {
        const size_t stride = size_t(desc.strides[0]);
        uint8_t *last = out.planes[0].data() + stride * size_t(desc.height);
        std::memcpy(last, last - stride, stride);
    }
    const int chromaWidth = (desc.width + 1) / 2;
    for (int plane = 1; plane < 3; ++plane) {
        const int stride = out.strides[plane];
        if (stride <= chromaWidth)
            continue;
        for (int row = 0; row < chromaRows; ++row)
            std::memset(out.planes[plane].data() + size_t(row) * stride + chromaWidth, 128,
                        size_t(stride - chromaWidth));
    }
    return true;
}

} // namespace

bool VideoFrameBuffer::copyFrom(const VideoFrameDesc &desc, VideoFrameBuffer &out)
{
    out = VideoFrameBuffer();
    out.format = desc.format;
    if (desc.isClear())
        return true;
    if (!desc.isDrawable())
        return false;
    out.width = desc.width;
    out.height = desc.height;
    const bool copied = desc.format == VideoFrameDesc::Bgrx32 ? copyPacked(desc, out) : copyPlanar(desc, out);
    if (!copied)
        out = VideoFrameBuffer();
    return copied;
}
