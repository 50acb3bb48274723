#pragma once
// Process-wide settings made by the rsc_global_* calls and read by the library's objects.

#include <atomic>
#include <cstdint>

namespace rsc {

// The frame format (0 or 30) that frames of other pixel formats are converted to.
uint32_t preferredFrameFormat();
// True when frame handlers accept `format` as it is.
bool frameFormatAccepted(uint32_t format);

// The library-wide interrupt switch.
bool interruptRequested();

// FFmpeg interrupt callback for information objects: aborts blocking reads while the switch is on.
int interruptCallback(void *opaque);

} // namespace rsc
