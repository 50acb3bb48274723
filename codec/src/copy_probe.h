#pragma once
// What a stream copy needs of a clip that its container's header leaves out, found without decoding
// pictures: the layout a VP9 key frame states, and the stream timings a full probe would settle on.

#include "job_ffmpeg.h"

#include <cstdint>

namespace rsc::job {

// The picture layout and size the header of a VP9 key frame states, as the decoder reports them. False
// when the packet does not begin with a key frame or its header is malformed.
bool vp9KeyFrameLayout(const uint8_t *data, int size, int *format, int *width, int *height);

// Once each picture and sound stream knows its start: the container's start as the full probe sets it
// (the earliest of them, or of a text stream less than a second earlier), and every stream without a
// start of its own takes the container's start and length; chapters without an end end where the next
// begins. False when no stream knows its start.
bool settleStreamTimings(AVFormatContext *ctx);

} // namespace rsc::job
