#pragma once
// Quoting of values placed into FFmpeg filter graph descriptions. A value passes two parsers: the filter's
// own option parser (separator ':') and the graph parser (separators '[', ']', ',', ';'); each needs its own
// level of backslash escaping, so paths with spaces, quotes, colons or non-ASCII bytes arrive unchanged.

#include <cstdint>
#include <string>

namespace rsc::edit {

// A filter option value, escaped for both parsers.
std::string filterValue(const std::string &raw);

// "0xRRGGBB@alpha" from an ARGB colour (alpha in the top byte).
std::string filterColor(uint32_t argb);

// A number in plain C locale notation.
std::string num(double value);

// `us` microseconds in `unit`s (1000000: seconds, 1000: milliseconds) with every microsecond, where num()'s six
// significant digits would round a time away.
std::string exactTime(int64_t us, int64_t unit);

} // namespace rsc::edit
