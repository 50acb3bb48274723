#pragma once
// Text conversions for the tag writer.

#include <QString>

#include <string>

class VEHelper
{
public:
    VEHelper() {}

    // NUL-terminated UTF-32 (machine byte order) of a NUL-terminated UTF-8 text, or null when the text is
    // not valid UTF-8. The buffer belongs to the conversion: it stays valid for the next 63 conversions
    // made on the same thread, so callers use it at once.
    static char32_t *ConvertCharToUtft32(const char *text);
    // Decodes UTF-8 up to the first NUL.
    static QString charToQString(const std::string &text);
};
