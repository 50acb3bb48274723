#include "filter_font.h"

#include "common_media.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
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

// The name records of a font file, and whether its outlines are PostScript (CFF) ones.
struct FontNames
{
    struct Record
    {
        unsigned platform, encoding, language, id;
        std::string value; // UTF-8; a Macintosh name keeps its ASCII bytes alone
    };
    std::vector<Record> records;
    bool postScriptOutlines = false;
};

bool readFontNames(const std::string &path, FontNames *names)
{
    // Opening a named pipe would block until a writer comes.
    if (!isRegularFile(path.c_str()))
        return false;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    in.seekg(0, std::ios::end);
    const std::streamsize size = std::min<std::streamsize>(in.tellg(), kMaxFontBytes);
    in.seekg(0);
    if (size <= 0)
        return false;
    Bytes b;
    b.data.resize(size_t(size));
    in.read(reinterpret_cast<char *>(b.data.data()), size);
    b.data.resize(size_t(std::max<std::streamsize>(0, in.gcount())));

    size_t font = 0;
    if (b.has(0, 16) && b.u32(0) == 0x74746366) // 'ttcf': a collection; its first font
        font = b.u32(12);
    if (!b.has(font, 12))
        return false;
    const uint32_t version = b.u32(font);
    if (version != 0x00010000 && version != 0x4F54544F && version != 0x74727565) // 1.0, 'OTTO', 'true'
        return false;
    names->postScriptOutlines = version == 0x4F54544F;
    const unsigned tables = b.u16(font + 4);
    size_t name = 0;
    for (unsigned i = 0; i < tables; ++i) {
        const size_t rec = font + 12 + size_t(i) * 16;
        if (!b.has(rec, 16))
            return false;
        if (b.u32(rec) == 0x6E616D65) // 'name'
            name = b.u32(rec + 8);
    }
    if (name == 0 || !b.has(name, 6))
        return false;
    const unsigned count = b.u16(name + 2);
    const size_t strings = name + b.u16(name + 4);
    for (unsigned i = 0; i < count; ++i) {
        const size_t rec = name + 6 + size_t(i) * 12;
        if (!b.has(rec, 12))
            break;
        FontNames::Record r{b.u16(rec), b.u16(rec + 2), b.u16(rec + 4), b.u16(rec + 6), {}};
        const size_t length = b.u16(rec + 8), offset = strings + b.u16(rec + 10);
        if (!b.has(offset, length))
            continue;
        if (r.platform == 3 || r.platform == 0) {
            r.value = utf16be(b, offset, length);
        } else if (r.platform == 1) {
            for (size_t k = 0; k < length; ++k)
                if (b.data[offset + k] < 0x80) // Mac Roman beyond ASCII is not worth a table here
                    r.value += char(b.data[offset + k]);
        }
        names->records.push_back(std::move(r));
    }
    return true;
}

// The family name: the Windows English one, then any Windows one, then the Macintosh Roman one.
std::string familyOf(const FontNames &names)
{
    std::string best;
    int bestRank = 0;
    for (const FontNames::Record &r : names.records) {
        if (r.id != 1 || r.value.empty())
            continue;
        const int rank = r.platform == 3 && r.language == 0x409 ? 3 : r.platform == 3 || r.platform == 0 ? 2 : 1;
        if (rank > bestRank) {
            best = r.value;
            bestRank = rank;
        }
    }
    return best;
}

// The PostScript name as FreeType reads it (and libass after it): the last Windows English record, else the
// last Macintosh Roman one, of characters a PostScript name may hold.
std::string postScriptNameOf(const FontNames &names)
{
    auto valid = [](const std::string &v) {
        return !v.empty() && std::all_of(v.begin(), v.end(),
                                         [](char c) { return c > 32 && c < 127 && !std::strchr("[](){}<>/%", c); });
    };
    std::string windows, mac;
    for (const FontNames::Record &r : names.records) {
        if (r.id == 6 && r.platform == 3 && r.language == 0x409)
            windows = r.value;
        else if (r.id == 6 && r.platform == 1 && r.encoding == 0 && r.language == 0)
            mac = r.value;
    }
    return valid(windows) ? windows : valid(mac) ? mac : std::string();
}

bool isFieldSafe(const std::string &name)
{
    return !name.empty() && fieldSafeFontName(name) == name;
}

} // namespace

std::string fontFamilyOfFile(const std::string &path)
{
    FontNames names;
    return readFontNames(path, &names) ? familyOf(names) : std::string();
}

std::string fieldSafeFontName(const std::string &name)
{
    std::string out;
    for (const char c : name) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u != 0x7F && c != ',' && c != '=' && c != '{' && c != '}')
            out += c;
        else if (!out.empty() && out.back() != ' ')
            out += ' ';
    }
    const size_t first = out.find_first_not_of(" @"), last = out.find_last_not_of(' ');
    return first == std::string::npos ? std::string() : out.substr(first, last + 1 - first);
}

std::string assFontNameOfFile(const std::string &path)
{
    FontNames names;
    if (!readFontNames(path, &names))
        return {};
    const std::string family = familyOf(names);
    if (family.empty() || isFieldSafe(family))
        return family;
    // libass knows a font by each of its Windows family names, and by its Windows full name (TrueType
    // outlines) or its PostScript name (CFF outlines).
    for (const FontNames::Record &r : names.records)
        if (r.platform == 3 && r.id == 1 && isFieldSafe(r.value))
            return r.value;
    if (names.postScriptOutlines) {
        const std::string postScript = postScriptNameOf(names);
        if (isFieldSafe(postScript))
            return postScript;
    } else {
        for (const FontNames::Record &r : names.records)
            if (r.platform == 3 && r.id == 4 && isFieldSafe(r.value))
                return r.value;
    }
    return fieldSafeFontName(family);
}

} // namespace rsc::edit
