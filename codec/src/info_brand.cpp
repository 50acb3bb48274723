#include "info_brand.h"

#include <cstdio>
#include <vector>

namespace rsc {
namespace {

constexpr uint32_t kEbmlId = 0x1A45DFA3;
constexpr uint32_t kDocTypeId = 0x4282;

// One EBML variable-length number at `pos`; an ID keeps its length marker, a size drops it.
bool readVint(const uint8_t *data, size_t size, size_t *pos, bool keepMarker, uint64_t *value)
{
    if (*pos >= size)
        return false;
    const uint8_t first = data[*pos];
    int length = 1;
    while (length <= 8 && !(first & (0x80 >> (length - 1))))
        ++length;
    if (length > 8 || *pos + static_cast<size_t>(length) > size)
        return false;
    uint64_t v = keepMarker ? first : (first & (0xFF >> length));
    for (int i = 1; i < length; ++i)
        v = v << 8 | data[*pos + i];
    *pos += static_cast<size_t>(length);
    *value = v;
    return true;
}

} // namespace

std::string ebmlDocType(const uint8_t *data, size_t size)
{
    if (!data)
        return {};
    size_t pos = 0;
    uint64_t id = 0, length = 0;
    if (!readVint(data, size, &pos, true, &id) || id != kEbmlId || !readVint(data, size, &pos, false, &length))
        return {};
    const size_t end = length < size - pos ? pos + static_cast<size_t>(length) : size;
    while (pos < end) {
        if (!readVint(data, end, &pos, true, &id) || !readVint(data, end, &pos, false, &length) || length > end - pos)
            return {};
        if (id == kDocTypeId) {
            std::string docType(reinterpret_cast<const char *>(data + pos), static_cast<size_t>(length));
            // The string may be padded with NULs.
            docType.resize(docType.find('\0') == std::string::npos ? docType.size() : docType.find('\0'));
            return docType;
        }
        pos += static_cast<size_t>(length);
    }
    return {};
}

std::string ebmlDocTypeOfFile(const char *path)
{
    FILE *file = path ? std::fopen(path, "rb") : nullptr;
    if (!file)
        return {};
    std::vector<uint8_t> head(kEbmlHeadBytes);
    const size_t got = std::fread(head.data(), 1, head.size(), file);
    std::fclose(file);
    return ebmlDocType(head.data(), got);
}

} // namespace rsc
