#pragma once
// rsc_memstream: bytes in memory that information objects (and later the player) read like a file.

#include "ffmpeg_raii.h"

#include <cstdint>
#include <memory>
#include <vector>

struct rsc_memstream
{
    // Owned bytes (flags 0), shared with the readers so that a stream released before the objects reading
    // it leaves them valid; null when borrowed.
    std::shared_ptr<const std::vector<uint8_t>> copy;
    const uint8_t *data = nullptr;
    size_t size = 0;
};

namespace rsc {

// One reader's position over a stream; several readers may share one stream.
struct MemReader
{
    std::shared_ptr<const std::vector<uint8_t>> keep; // the stream's owned bytes, if any
    const uint8_t *data = nullptr;
    size_t size = 0;
    size_t pos = 0;
};

// An AVIOContext reading the stream through `reader`, which must outlive it.
IOContextPtr openMemReader(const rsc_memstream *stream, MemReader *reader);

} // namespace rsc
