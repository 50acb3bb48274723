#include "info_picture_size.h"

#include "common_media.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace rsc {

namespace {

using Bytes = std::vector<uint8_t>;

uint32_t be(const Bytes &b, size_t at, int n)
{
    uint32_t v = 0;
    for (int i = 0; i < n; ++i)
        v = (v << 8) | b[at + i];
    return v;
}

uint32_t le(const Bytes &b, size_t at, int n)
{
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i)
        v = (v << 8) | b[at + i];
    return v;
}

template <size_t N> bool starts(const Bytes &b, const char (&magic)[N], size_t at = 0)
{
    return b.size() >= at + N - 1 && std::memcmp(b.data() + at, magic, N - 1) == 0;
}

bool jpegSize(const Bytes &b, uint32_t *w, uint32_t *h)
{
    // Segments follow the start marker; a start-of-frame segment (C0..CF but C4, C8, CC) states the size.
    size_t at = 2;
    while (at + 9 <= b.size() && b[at] == 0xFF) {
        const uint8_t marker = b[at + 1];
        if (marker == 0xFF) {
            ++at; // fill byte
            continue;
        }
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
            *h = be(b, at + 5, 2);
            *w = be(b, at + 7, 2);
            return true;
        }
        at += 2 + be(b, at + 2, 2);
    }
    return false;
}

bool tiffSize(const Bytes &b, uint32_t *w, uint32_t *h)
{
    const bool little = b[0] == 'I';
    auto get = [&](size_t at, int n) { return at + n <= b.size() ? (little ? le(b, at, n) : be(b, at, n)) : 0u; };
    const size_t ifd = get(4, 4);
    const unsigned entries = get(ifd, 2);
    for (unsigned i = 0; i < entries; ++i) {
        const size_t e = ifd + 2 + 12 * size_t(i);
        const unsigned tag = get(e, 2), type = get(e + 2, 2);
        const uint32_t value = type == 3 ? get(e + 8, 2) : get(e + 8, 4); // SHORT or LONG
        if (tag == 256)
            *w = value;
        else if (tag == 257)
            *h = value;
    }
    return *w && *h;
}

bool webpSize(const Bytes &b, uint32_t *w, uint32_t *h)
{
    if (b.size() < 30)
        return false;
    if (starts(b, "VP8X", 12)) {
        *w = le(b, 24, 3) + 1;
        *h = le(b, 27, 3) + 1;
    } else if (starts(b, "VP8L", 12)) {
        const uint32_t bits = le(b, 21, 4); // 14 bits each of width - 1 and height - 1
        *w = (bits & 0x3FFF) + 1;
        *h = ((bits >> 14) & 0x3FFF) + 1;
    } else if (starts(b, "VP8 ", 12)) {
        *w = le(b, 26, 2) & 0x3FFF;
        *h = le(b, 28, 2) & 0x3FFF;
    } else {
        return false;
    }
    return true;
}

} // namespace

bool isPictureDemuxer(const AVFormatContext *ctx)
{
    const std::string name = ctx && ctx->iformat && ctx->iformat->name ? ctx->iformat->name : "";
    return name == "image2" || name == "gif" || name == "apng" || name.find("_pipe") != std::string::npos;
}

bool statedPictureSize(const std::string &path, int *width, int *height)
{
    FILE *f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    // JPEG metadata segments before the frame header take at most 64 KiB each; a few are enough.
    Bytes b(256 << 10);
    b.resize(std::fread(b.data(), 1, b.size(), f));
    std::fclose(f);
    if (b.size() < 30)
        return false;
    uint32_t w = 0, h = 0;
    bool found = true;
    if (starts(b, "\x89PNG\r\n\x1a\n") && starts(b, "IHDR", 12)) {
        w = be(b, 16, 4);
        h = be(b, 20, 4);
    } else if (starts(b, "GIF87a") || starts(b, "GIF89a")) {
        w = le(b, 6, 2);
        h = le(b, 8, 2);
    } else if (starts(b, "BM")) {
        const bool core = le(b, 14, 4) == 12; // the old OS/2 header has 16-bit sizes
        w = core ? le(b, 18, 2) : le(b, 18, 4);
        const uint32_t rows = core ? le(b, 20, 2) : le(b, 22, 4);
        h = core ? rows : uint32_t(std::abs(int64_t(int32_t(rows)))); // negative: stored top-down
    } else if (b[0] == 0xFF && b[1] == 0xD8) {
        found = jpegSize(b, &w, &h);
    } else if (starts(b, "II*\0") || starts(b, "MM\0*")) {
        found = tiffSize(b, &w, &h);
    } else if (starts(b, "RIFF") && starts(b, "WEBP", 8)) {
        found = webpSize(b, &w, &h);
    } else {
        found = false;
    }
    if (!found || w == 0 || h == 0 || w > 0x7FFFFFFF || h > 0x7FFFFFFF)
        return false;
    *width = int(w);
    *height = int(h);
    return true;
}

} // namespace rsc
