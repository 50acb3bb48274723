#include "filter_escape.h"

#include <charconv>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>

namespace rsc::edit {

namespace {

std::string escape(const std::string &in, const char *special)
{
    std::string out;
    out.reserve(in.size() + 8);
    for (size_t i = 0; i < in.size(); ++i) {
        const char c = in[i];
        const bool edgeSpace = (c == ' ' || c == '\t' || c == '\n') && (i == 0 || i + 1 == in.size());
        bool isSpecial = edgeSpace;
        for (const char *s = special; *s && !isSpecial; ++s)
            isSpecial = (*s == c);
        if (isSpecial)
            out += '\\';
        out += c;
    }
    return out;
}

} // namespace

std::string filterValue(const std::string &raw)
{
    // Inner level: the option parser; outer level: the graph parser.
    return escape(escape(raw, "\\':"), "\\'[],;");
}

std::string filterColor(uint32_t argb)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%06X@", argb & 0xFFFFFFu);
    return buf + num(((argb >> 24) & 0xFFu) / 255.0);
}

std::string num(double value)
{
    // to_chars ignores the process locale (Qt sets it from the environment), FFmpeg wants '.' decimals.
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 6);
    return std::string(buf, res.ptr);
}

std::string exactTime(int64_t us, int64_t unit)
{
    const int digits = unit == 1000 ? 3 : 6;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s%" PRId64 ".%0*" PRId64, us < 0 ? "-" : "", int64_t(std::llabs(us) / unit),
                  digits, int64_t(std::llabs(us) % unit));
    return buf;
}

} // namespace rsc::edit
