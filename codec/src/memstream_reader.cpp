#include "memstream_reader.h"

#include "rscodec.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace rsc {
namespace {

constexpr int kBufferSize = 32 * 1024;

int readPacket(void *opaque, uint8_t *buf, int bufSize)
{
    auto *r = static_cast<MemReader *>(opaque);
    if (r->pos >= r->size)
        return AVERROR_EOF;
    const size_t n = std::min(static_cast<size_t>(bufSize), r->size - r->pos);
    std::memcpy(buf, r->data + r->pos, n);
    r->pos += n;
    return static_cast<int>(n);
}

int64_t seek(void *opaque, int64_t offset, int whence)
{
    auto *r = static_cast<MemReader *>(opaque);
    whence &= ~AVSEEK_FORCE;
    if (whence == AVSEEK_SIZE)
        return static_cast<int64_t>(r->size);
    int64_t base = 0;
    if (whence == SEEK_CUR)
        base = static_cast<int64_t>(r->pos);
    else if (whence == SEEK_END)
        base = static_cast<int64_t>(r->size);
    else if (whence != SEEK_SET)
        return AVERROR(EINVAL);
    const int64_t target = base + offset;
    if (target < 0 || target > static_cast<int64_t>(r->size))
        return AVERROR(EINVAL);
    r->pos = static_cast<size_t>(target);
    return target;
}

} // namespace

IOContextPtr openMemReader(const rsc_memstream *stream, MemReader *reader)
{
    if (!stream || !reader)
        return nullptr;
    reader->keep = stream->copy;
    reader->data = stream->data;
    reader->size = stream->size;
    reader->pos = 0;
    auto *buffer = static_cast<unsigned char *>(av_malloc(kBufferSize));
    if (!buffer)
        return nullptr;
    AVIOContext *io = avio_alloc_context(buffer, kBufferSize, 0, reader, readPacket, nullptr, seek);
    if (!io) {
        av_free(buffer);
        return nullptr;
    }
    return IOContextPtr(io);
}

} // namespace rsc

extern "C" {

rsc_memstream *rsc_memstream_create(const void *data, uint32_t size, uint32_t flags)
{
    if (!data || size == 0)
        return nullptr;
    auto *stream = new (std::nothrow) rsc_memstream;
    if (!stream)
        return nullptr;
    const auto *bytes = static_cast<const uint8_t *>(data);
    if (flags & 1u) {
        stream->data = bytes;
    } else {
        auto copy = std::make_shared<std::vector<uint8_t>>();
        copy->assign(bytes, bytes + size);
        stream->data = copy->data();
        stream->copy = std::move(copy);
    }
    stream->size = size;
    return stream;
}

void rsc_memstream_release(rsc_memstream *stream)
{
    delete stream;
}

} // extern "C"
