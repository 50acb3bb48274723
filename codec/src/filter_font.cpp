#include "filter_font.h"

#include "common_media.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <vector>

namespace rsc::edit {

namespace {

// Font tables are far smaller than this; a larger file is read only as far as the tables need.
constexpr std::streamsize kMaxFontBytes = 64 << 20;

struct Bytes
{
    std::vector<unsigned char> data;
    bool has(size_t offset, size_t count) const { return offset <= data.size() && count <= data.size() - offset; }
    unsigned u16(size_t o) const { return unsigned(data[o]) << 8 | data[o + 1]; }
    uint32_t u32(size_t o) const { return uint32_t(u16(o)) << 16 | u16(o + 2); }
};

void appendUtf8(std::string &out, uint32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

std::string utf16be(const Bytes &b, size_t offset, size_t length)
{
    std::string out;
    for (size_t i = 0; i + 1 < length; i += 2) {
        uint32_t c = b.u16(offset + i);
        if (c >= 0xD800 && c < 0xDC00 && i + 3 < length) {
            const uint32_t low = b.u16(offset + i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        appendUtf8(out, c);
    }
    return out;
}

} // namespace

std::string fontFamilyOfFile(const std::string &path)
{
    // Opening a named pipe would block until a writer comes.
    if (!isRegularFile(path.c_str()))
        return {};
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    in.seekg(0, std::ios::end);
    const std::streamsize size = std::min<std::streamsize>(in.tellg(), kMaxFontBytes);
    in.seekg(0);
    if (size <= 0)
        return {};
    Bytes b;
    b.data.resize(size_t(size));
    in.read(reinterpret_cast<char *>(b.data.data()), size);
    b.data.resize(size_t(std::max<std::streamsize>(0, in.gcount())));

    size_t font = 0;
    if (b.has(0, 16) && b.u32(0) == 0x74746366) // 'ttcf': a collection; its first font
        font = b.u32(12);
    if (!b.has(font, 12))
        return {};
    const uint32_t version = b.u32(font);
    if (version != 0x00010000 && version != 0x4F54544F && version != 0x74727565) // 1.0, 'OTTO', 'true'
        return {};
    const unsigned tables = b.u16(font + 4);
    size_t name = 0;
    for (unsigned i = 0; i < tables; ++i) {
        const size_t rec = font + 12 + size_t(i) * 16;
        if (!b.has(rec, 16))
            return {};
        if (b.u32(rec) == 0x6E616D65) // 'name'
            name = b.u32(rec + 8);
    }
    if (name == 0 || !b.has(name, 6))
        return {};
    const unsigned count = b.u16(name + 2);
    const size_t strings = name + b.u16(name + 4);
    // Prefer the Windows English family name, then any Windows one, then the Macintosh Roman one.
    std::string best;
    int bestRank = 0;
    for (unsigned i = 0; i < count; ++i) {
        const size_t rec = name + 6 + size_t(i) * 12;
        if (!b.has(rec, 12))
            break;
        const unsigned platform = b.u16(rec), language = b.u16(rec + 4), id = b.u16(rec + 6);
        const size_t length = b.u16(rec + 8), offset = strings + b.u16(rec + 10);
        if (id != 1 || !b.has(offset, length))
            continue;
        int rank = 0;
        std::string value;
        if (platform == 3 || platform == 0) {
            rank = (platform == 3 && language == 0x409) ? 3 : 2;
            value = utf16be(b, offset, length);
        } else if (platform == 1) {
            rank = 1;
            for (size_t k = 0; k < length; ++k)
                if (b.data[offset + k] < 0x80) // Mac Roman beyond ASCII is not worth a table here
                    value += char(b.data[offset + k]);
        }
        if (rank > bestRank && !value.empty()) {
            best = value;
            bestRank = rank;
        }
    }
    return best;
}

} // namespace rsc::edit
