#pragma once
// Decodes the frame of a video stream near a time and turns it into a BMP file in memory, at the display
// size or fitted into a box, upright as the rotation metadata says.

#include <cstdint>

extern "C" {
#include <libavformat/avformat.h>
}

namespace rsc {

struct StillRequest
{
    int64_t timeUs = 0;
    uint32_t mode = 0; // 0 = key frame at or before the time, 1 = the frame showing at the time
    int boxWidth = 0;
    int boxHeight = 0;
    uint32_t flags = 0; // RSC_IMAGE_*
};

class RawFrameIndex;

// A new BMP (delete[]) or null. Seeks `ctx`, so the caller must not be reading it elsewhere. `raw` is the
// index of a raw elementary stream (info_raw_index.h), null for any other; it learns more as `ctx` is read.
unsigned char *grabStillImage(AVFormatContext *ctx, int streamIndex, const StillRequest &request,
                              RawFrameIndex *raw = nullptr);

} // namespace rsc
