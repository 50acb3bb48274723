#include "info_text.h"

namespace rsc {

bool isUtf8(const char *text)
{
    const auto *p = reinterpret_cast<const unsigned char *>(text);
    while (*p) {
        int follow = 0;
        uint32_t code = 0;
        if (*p < 0x80) {
            ++p;
            continue;
        } else if ((*p & 0xE0) == 0xC0) {
            follow = 1;
            code = *p & 0x1F;
        } else if ((*p & 0xF0) == 0xE0) {
            follow = 2;
            code = *p & 0x0F;
        } else if ((*p & 0xF8) == 0xF0) {
            follow = 3;
            code = *p & 0x07;
        } else {
            return false;
        }
        ++p;
        for (int i = 0; i < follow; ++i, ++p) {
            if ((*p & 0xC0) != 0x80)
                return false; // also stops at the terminating NUL
            code = code << 6 | (*p & 0x3F);
        }
        // Overlong forms, surrogates and values beyond Unicode are not UTF-8.
        static const uint32_t s_least[] = {0, 0x80, 0x800, 0x10000};
        if (code < s_least[follow] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
            return false;
    }
    return true;
}

std::string latin1ToUtf8(const char *text)
{
    std::string out;
    for (const auto *p = reinterpret_cast<const unsigned char *>(text); *p; ++p) {
        if (*p < 0x80) {
            out += static_cast<char>(*p);
        } else {
            out += static_cast<char>(0xC0 | (*p >> 6));
            out += static_cast<char>(0x80 | (*p & 0x3F));
        }
    }
    return out;
}

} // namespace rsc
