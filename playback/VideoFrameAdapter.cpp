#include "VideoFrameAdapter.h"

#include "VideoFrameSink.h"

#include <algorithm>

namespace {

int toInt(uint32_t v)
{
    return int(std::min<uint32_t>(v, 0x7fffffffu));
}

} // namespace

bool describeCodecFrame(rsc_frame *frame, VideoFrameDesc &desc)
{
    desc = VideoFrameDesc();
    if (!frame)
        return false;
    const uint32_t format = rsc_frame_format(frame);
    if (format != RSC_FRAME_YUV420P && format != RSC_FRAME_BGRX)
        return false;
    desc.format = format;
    desc.width = toInt(rsc_frame_width(frame));
    desc.height = toInt(rsc_frame_height(frame));
    const uint32_t planes = format == RSC_FRAME_YUV420P ? 3 : 1;
    for (uint32_t plane = 0; plane < planes; ++plane) {
        desc.planes[plane] = rsc_frame_data(frame, plane);
        desc.strides[plane] = toInt(rsc_frame_stride(frame, plane));
    }
    return true;
}

unsigned int deliverCodecFrame(VideoFrameSink *sink, void *frame)
{
    if (!sink || !frame)
        return 0;
    rsc_frame *reference = rsc_frame_reference(frame);
    if (!reference)
        return 0;
    VideoFrameDesc desc;
    // A frame without pixels would read as "clear the picture": only drawable frames go on.
    const bool delivered = describeCodecFrame(reference, desc) && desc.isDrawable() && sink->deliver(desc);
    rsc_frame_release(reference);
    return delivered ? 1 : 0;
}
