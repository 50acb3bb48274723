#pragma once
// Still images handed to callers are complete BMP files in memory: 24-bit, bottom-up rows padded to four
// bytes, the total file size as little-endian uint32 at byte offset 2.

#include <cstdint>

namespace rsc {

// The largest width or height of a BMP the library makes.
constexpr int kMaxImageSide = 16384;

// A new BMP file (release with delete[]) from top-down packed B,G,R rows; null on a bad size.
unsigned char *makeBmp(const uint8_t *bgr, int width, int height, int stride);

// The file size stored in a BMP header.
uint32_t bmpFileSize(const unsigned char *bmp);

} // namespace rsc
