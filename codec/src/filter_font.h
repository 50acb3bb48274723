#pragma once
// Font files for the text filters. libass chooses fonts by family name, so a font file is handed to it as
// a folder (searched in addition to the system's fonts) plus the family name the file itself declares.

#include <string>

namespace rsc::edit {

// The family name in the file's OpenType/TrueType name table (the first font of a collection); empty when
// the file cannot be read or is no such font.
std::string fontFamilyOfFile(const std::string &path);

} // namespace rsc::edit
