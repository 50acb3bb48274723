#pragma once
// Picture sizes against the bounds of the pictures the library handles (pictureTooLarge). The size a
// still-image file states in its header (PNG/APNG, GIF, BMP, JPEG, TIFF, WebP): FFmpeg's image demuxers leave
// the size to the decoder, and a decoder bounded by the pixel limit refuses a giant picture without saying how
// large it is; this reads it for the refusal's message. And the edited picture's own size within those bounds.

#include <string>

struct AVFormatContext;

namespace rsc::edit {
struct EditConfig;
struct VideoSource;
} // namespace rsc::edit

namespace rsc {

// True, with the size, when the file's head is one of those formats and states a size.
bool statedPictureSize(const std::string &path, int *width, int *height);

// True when `ctx` was opened by a demuxer of still pictures (or of GIF and APNG animations): the decoder
// finds the size in the picture itself.
bool isPictureDemuxer(const AVFormatContext *ctx);

// The edited picture's own size (edit::editedSize), fitted into the bounds decoded pictures have when its display
// aspect widens it beyond them (a sample aspect of 100:1 makes a 2160p picture 384000 pixels wide: gigabytes a
// frame), keeping that aspect; even sizes. The preview's frame at its own size and a join's "Auto" size.
void boundedEditedSize(const edit::EditConfig &cfg, const edit::VideoSource &src, int *width, int *height);

} // namespace rsc
