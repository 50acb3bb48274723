#pragma once
// Picture buffers for the decoders of still images, kept between images. A thumbnail of a 1080p clip
// decodes a group of pictures on several threads into a few hundred megabytes of fresh buffers; taking
// them anew for every clip spends a third of the time in page faults and zeroing.

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <chrono>
#include <cstddef>

namespace rsc {

// A get_buffer2 callback for video decoders drawing from the shared pool; formats it does not handle
// (hardware, palettes, decoders without direct rendering) go to FFmpeg's own allocator. Thread-safe.
int pooledGetBuffer(AVCodecContext *ctx, AVFrame *frame, int flags);
// Makes a decoder, before it opens, take its pictures from the pool.
void usePooledBuffers(AVCodecContext *ctx);

// Idle bytes the pool keeps at most; buffers beyond it, and buffers left unused for a while (10 s), are
// freed, the latter by a thread of the pool's own that ends when nothing is left to free.
constexpr size_t kFramePoolIdleBytes = size_t(192) << 20;
// How long a buffer may stay unused (for tests).
void framePoolSetIdleLife(std::chrono::milliseconds life);

// Frees every idle buffer (buffers in use return to the allocator when released). For tests and for
// a caller that wants the memory back now.
void framePoolTrim();
// Bytes of idle buffers kept now.
size_t framePoolIdleBytes();

} // namespace rsc
