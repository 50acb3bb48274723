#pragma once
// rsc_frame: one decoded picture in a format the program draws (0 = YUV 4:2:0 planar, 30 = BGRX), and
// the converter that brings decoded frames of any pixel format into one of them.

#include "ffmpeg_raii.h"

#include <cstdint>

struct rsc_frame
{
    rsc::FramePtr frame; // empty (no data) for rsc_frame_create
};

namespace rsc {

// The frame format code of an AVFrame's pixel format, RSC_FRAME_NONE when it is not one we hand out.
// (Full-range YUV is converted, since the views draw limited-range YUV.)
uint32_t frameFormatOf(int pixelFormat);

// Converts decoded frames for frame handlers; keeps its scaler between frames of the same geometry.
class FrameConverter
{
public:
    // A new rsc_frame referencing `src` when its format is accepted, else a converted copy in the
    // preferred format; null on failure. The caller releases it with rsc_frame_release.
    rsc_frame *wrap(const AVFrame *src);

private:
    SwsPtr m_sws;
};

} // namespace rsc
