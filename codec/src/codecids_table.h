#pragma once
// The library's codec-id vocabulary (the numbers the profile catalogues use) and its mapping to FFmpeg
// codecs by name. FFmpeg's numeric AVCodecID values are never taken for vocabulary ids: they differ.

#include <cstdint>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
}

namespace rsc {

struct CodecIdRow
{
    const char *name;       // the catalogue's short name
    uint32_t id;            // the vocabulary id
    const char *ffmpegName; // FFmpeg codec descriptor name
};

// Every row, in the catalogue's order; several names share an id.
const std::vector<CodecIdRow> &codecIdTable();

// FFmpeg codec descriptor name for a vocabulary id; null for an unknown id.
const char *ffmpegNameForCodecId(uint32_t id);
// Vocabulary id for an FFmpeg codec descriptor name; 0 when the vocabulary has none.
uint32_t codecIdForFFmpegName(const char *name);

AVCodecID avCodecIdForCodecId(uint32_t id);      // AV_CODEC_ID_NONE when unknown or not in this FFmpeg
uint32_t codecIdForAvCodecId(AVCodecID codecId); // 0 when the vocabulary has none

// The encoder the library uses for a vocabulary id (the best installed one), or null.
const AVCodec *encoderForCodecId(uint32_t id);
// The decoder for a vocabulary id, or null.
const AVCodec *decoderForCodecId(uint32_t id);

} // namespace rsc
