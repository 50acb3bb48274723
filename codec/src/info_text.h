#pragma once
// Texts handed out by information objects are UTF-8. Most demuxers give UTF-8 already; a few (AVI INFO
// chunks, some old tags) pass the file's bytes through, which are then taken as Latin-1.

#include <cstdint>
#include <string>

namespace rsc {

bool isUtf8(const char *text);
// `text` converted from Latin-1 to UTF-8.
std::string latin1ToUtf8(const char *text);

} // namespace rsc
