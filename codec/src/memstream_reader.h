#pragma once
// rsc_memstream: bytes in memory that information objects (and later the player) read like a file.

#include "ffmpeg_raii.h"

#include <cstdint>
#include <memory>
#include <vector>

struct rsc_memstream
{
    std::vector<uint8_t> copy; // owned bytes (flags 0); empty when borrowed
    const uint8_t *data = nullptr;
    size_t size = 0;
};

namespace rsc {

// One reader's position over a stream; several readers may share one stream.
struct MemReader
{
    const uint8_t *data = nullptr;
    size_t size = 0;
    size_t pos = 0;
};

// An AVIOContext reading the stream through `reader`, which must outlive it.
IOContextPtr openMemReader(const rsc_memstream *stream, MemReader *reader);

} // namespace rsc
