#include "bmp_image.h"

#include <cstring>
#include <new>

namespace rsc {
namespace {

void put16(unsigned char *p, uint16_t v)
{
    p[0] = static_cast<unsigned char>(v & 0xFF);
    p[1] = static_cast<unsigned char>(v >> 8);
}

void put32(unsigned char *p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>((v >> (8 * i)) & 0xFF);
}

constexpr uint32_t kHeaderBytes = 14 + 40;

} // namespace

unsigned char *makeBmp(const uint8_t *bgr, int width, int height, int stride)
{
    if (!bgr || width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide || stride < width * 3)
        return nullptr;
    const uint32_t rowBytes = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(height);
    const uint32_t fileBytes = kHeaderBytes + imageBytes;
    auto *out = new (std::nothrow) unsigned char[fileBytes];
    if (!out)
        return nullptr;
    std::memset(out, 0, kHeaderBytes);
    out[0] = 'B';
    out[1] = 'M';
    put32(out + 2, fileBytes);
    put32(out + 10, kHeaderBytes);
    put32(out + 14, 40);
    put32(out + 18, static_cast<uint32_t>(width));
    put32(out + 22, static_cast<uint32_t>(height)); // positive height: bottom-up rows
    put16(out + 26, 1);
    put16(out + 28, 24);
    put32(out + 34, imageBytes);
    put32(out + 38, 2835); // 72 dpi
    put32(out + 42, 2835);
    for (int y = 0; y < height; ++y) {
        unsigned char *dst = out + kHeaderBytes + rowBytes * static_cast<uint32_t>(height - 1 - y);
        std::memcpy(dst, bgr + static_cast<size_t>(y) * stride, static_cast<size_t>(width) * 3);
        std::memset(dst + width * 3, 0, rowBytes - static_cast<uint32_t>(width) * 3);
    }
    return out;
}

uint32_t bmpFileSize(const unsigned char *bmp)
{
    if (!bmp || bmp[0] != 'B' || bmp[1] != 'M')
        return 0;
    return static_cast<uint32_t>(bmp[2]) | static_cast<uint32_t>(bmp[3]) << 8 | static_cast<uint32_t>(bmp[4]) << 16 |
           static_cast<uint32_t>(bmp[5]) << 24;
}

} // namespace rsc
