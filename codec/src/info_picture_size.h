#pragma once
// The picture size a still-image file states in its header (PNG/APNG, GIF, BMP, JPEG, TIFF, WebP). FFmpeg's
// image demuxers leave the size to the decoder, and a decoder bounded by the pixel limit refuses a giant
// picture without saying how large it is; this reads it for the refusal's message.

#include <string>

struct AVFormatContext;

namespace rsc {

// True, with the size, when the file's head is one of those formats and states a size.
bool statedPictureSize(const std::string &path, int *width, int *height);

// True when `ctx` was opened by a demuxer of still pictures (or of GIF and APNG animations): the decoder
// finds the size in the picture itself.
bool isPictureDemuxer(const AVFormatContext *ctx);

} // namespace rsc
