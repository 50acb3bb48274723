#pragma once
// Font files for the text filters. libass chooses fonts by name, so a font file is handed to it as a folder
// (searched in addition to the system's fonts) plus a name the file itself declares, and every font name goes
// into a script's Style line or force_style only as a field there can hold it.

#include <string>

namespace rsc::edit {

// The family name in the file's OpenType/TrueType name table (the first font of a collection); empty when
// the file cannot be read or is no such font.
std::string fontFamilyOfFile(const std::string &path);

// `name` as a field of an ASS Style line and an item of the subtitles filter's force_style hold it, and as
// libass then asks for it: each run of line breaks, other control characters, commas (they end a field and an
// item), '=' (it splits an item) and braces (they open override tags) becomes one space, and spaces and a
// leading '@' (libass's mark of vertical text) are trimmed. Empty when nothing is left.
std::string fieldSafeFontName(const std::string &name);

// The name that asks libass for the font of the file in an ASS script or force_style: its family (as
// fontFamilyOfFile) when fieldSafeFontName leaves that as it is; otherwise another of the names libass knows
// the font by that it leaves so; otherwise the family made field-safe (libass then draws another font).
// Empty when the file names no family.
std::string assFontNameOfFile(const std::string &path);

} // namespace rsc::edit
