#pragma once
// The numeric values 1..7 of a stream (codec/README.md has the table). Two streams whose compared values
// and private data are equal can be joined without re-encoding.

#include <cstdint>

extern "C" {
#include <libavformat/avformat.h>
}

namespace rsc {

uint64_t streamValue(AVFormatContext *ctx, AVStream *stream, int kind, int n);

} // namespace rsc
