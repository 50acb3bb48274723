#include "frame_object.h"

#include "global_settings.h"
#include "rscodec.h"

#include <new>

namespace rsc {

uint32_t frameFormatOf(int pixelFormat)
{
    switch (pixelFormat) {
    case AV_PIX_FMT_YUV420P:
        return RSC_FRAME_YUV420P;
    case AV_PIX_FMT_BGR0:
    case AV_PIX_FMT_BGRA:
        return RSC_FRAME_BGRX;
    default:
        return RSC_FRAME_NONE;
    }
}

rsc_frame *FrameConverter::wrap(const AVFrame *src)
{
    if (!src || src->width <= 0 || src->height <= 0)
        return nullptr;
    const uint32_t format = frameFormatOf(src->format);
    FramePtr out = makeFrame();
    if (!out)
        return nullptr;
    if (format != RSC_FRAME_NONE && frameFormatAccepted(format)) {
        if (av_frame_ref(out.get(), src) < 0)
            return nullptr;
    } else {
        const AVPixelFormat target = preferredFrameFormat() == RSC_FRAME_BGRX ? AV_PIX_FMT_BGR0 : AV_PIX_FMT_YUV420P;
        m_sws.reset(sws_getCachedContext(m_sws.release(), src->width, src->height,
                                         static_cast<AVPixelFormat>(src->format), src->width, src->height, target,
                                         SWS_BILINEAR, nullptr, nullptr, nullptr));
        if (!m_sws)
            return nullptr;
        out->format = target;
        out->width = src->width;
        out->height = src->height;
        if (av_frame_get_buffer(out.get(), 0) < 0 || av_frame_copy_props(out.get(), src) < 0)
            return nullptr;
        const int rows = sws_scale(m_sws.get(), src->data, src->linesize, 0, src->height, out->data, out->linesize);
        if (rows <= 0)
            return nullptr;
    }
    auto *frame = new (std::nothrow) rsc_frame;
    if (!frame)
        return nullptr;
    frame->frame = std::move(out);
    return frame;
}

} // namespace rsc

namespace {

const AVFrame *pictureOf(const rsc_frame *frame)
{
    return frame && frame->frame && frame->frame->data[0] ? frame->frame.get() : nullptr;
}

// The frame's picture when `plane` is one of its planes (three for YUV 4:2:0, one for BGRX), else null.
const AVFrame *pictureWithPlane(const rsc_frame *frame, uint32_t plane)
{
    const AVFrame *f = pictureOf(frame);
    const uint32_t planes = f && rsc::frameFormatOf(f->format) == RSC_FRAME_YUV420P ? 3 : 1;
    return f && plane < planes ? f : nullptr;
}

} // namespace

extern "C" {

rsc_frame *rsc_frame_create(void)
{
    auto *frame = new (std::nothrow) rsc_frame;
    if (!frame)
        return nullptr;
    frame->frame = rsc::makeFrame();
    if (!frame->frame) {
        delete frame;
        return nullptr;
    }
    return frame;
}

rsc_frame *rsc_frame_reference(void *frame)
{
    const AVFrame *src = pictureOf(static_cast<rsc_frame *>(frame));
    if (!src)
        return nullptr;
    auto *copy = new (std::nothrow) rsc_frame;
    if (!copy)
        return nullptr;
    copy->frame = rsc::makeFrame();
    if (!copy->frame || av_frame_ref(copy->frame.get(), src) < 0) {
        delete copy;
        return nullptr;
    }
    return copy;
}

void rsc_frame_release(rsc_frame *frame)
{
    delete frame;
}

uint32_t rsc_frame_format(rsc_frame *frame)
{
    const AVFrame *f = pictureOf(frame);
    return f ? rsc::frameFormatOf(f->format) : RSC_FRAME_NONE;
}

uint32_t rsc_frame_width(rsc_frame *frame)
{
    const AVFrame *f = pictureOf(frame);
    return f ? static_cast<uint32_t>(f->width) : 0;
}

uint32_t rsc_frame_height(rsc_frame *frame)
{
    const AVFrame *f = pictureOf(frame);
    return f ? static_cast<uint32_t>(f->height) : 0;
}

uint32_t rsc_frame_stride(rsc_frame *frame, uint32_t plane)
{
    const AVFrame *f = pictureWithPlane(frame, plane);
    if (!f || f->linesize[plane] < 0)
        return 0;
    return static_cast<uint32_t>(f->linesize[plane]);
}

unsigned char *rsc_frame_data(rsc_frame *frame, uint32_t plane)
{
    const AVFrame *f = pictureWithPlane(frame, plane);
    return f ? f->data[plane] : nullptr;
}

} // extern "C"
