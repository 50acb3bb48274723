#pragma once
// The brand of a Matroska file: its EBML DocType ("matroska", "webm"), which plays the part that the
// major brand plays for MP4-family files. FFmpeg reads it but keeps it to itself.

#include <cstddef>
#include <cstdint>
#include <string>

namespace rsc {

// Bytes of the file's head worth reading for the DocType.
constexpr size_t kEbmlHeadBytes = 4096;

// The DocType of the EBML header at the start of `data`; "" when there is none or the header is damaged.
std::string ebmlDocType(const uint8_t *data, size_t size);

// The same, reading the head of a file.
std::string ebmlDocTypeOfFile(const char *path);

} // namespace rsc
