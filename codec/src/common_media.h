#pragma once
// Small helpers shared by the library's objects: time conversions and stream geometry.

#include <cstdint>
#include <string>

extern "C" {
#include <libavformat/avformat.h>
}

namespace rsc {

// Stream timestamp to microseconds; AV_NOPTS_VALUE stays AV_NOPTS_VALUE.
int64_t toMicros(int64_t ts, AVRational timeBase);
// Microseconds to a stream timestamp.
int64_t fromMicros(int64_t us, AVRational timeBase);

// A frame of `samples` silent samples in that format, for standing in for a sound a clip lacks; null when out of
// memory. Owned by the caller.
AVFrame *silentFrame(int sampleFormat, int sampleRate, int channels, int samples);
// The same in the format of `like` (its sample format, rate and channel layout), to fill a gap in its sound.
AVFrame *silenceLike(const AVFrame *like, int samples);

// Clockwise display rotation of a video stream from its display matrix: 0, 90, 180 or 270.
int displayRotation(const AVStream *stream);

// The sample aspect a picture is shown with: the container's where it states one (Matroska's display size, MP4's
// `pasp`), else the stream's (a decoded `frame`'s own, where one is given); 0/1 when neither does. The preview,
// the information object and the joins all take it from here, so a join keeps the shape the preview shows.
AVRational displaySampleAspect(AVFormatContext *ctx, AVStream *stream, const AVFrame *frame = nullptr);

// Display size before rotation: the coded size with the sample aspect applied (width stretched).
void displaySize(AVFormatContext *ctx, AVStream *stream, int *width, int *height);

// Fits (w, h) into the box (boxW, boxH) keeping its aspect; a zero box side follows the other side; a box
// of 0 x 0 keeps the size. Both results are at least 1.
void fitIntoBox(int w, int h, int boxW, int boxH, int *outW, int *outH);

// True for a regular file (links followed). Checked before any open of a media path: opening a named
// pipe or a device for reading blocks until a writer comes, which may be never.
bool isRegularFile(const char *path);

// A raw elementary stream (H.264, HEVC, MPEG video ...) states no length: its frames at their rate,
// counted when the file reads within a bound, else the frames of the part read scaled by the file's size.
// Reads packets of `ctx` and returns to where it was; 0 when the stream has no rate or the file no size.
int64_t rawStreamDurationUs(AVFormatContext *ctx, int videoIndex);

// The largest picture the program handles: no encoder of ours takes more than 16384 pixels a side, and
// decoding a picture beyond 8192 x 8192 would take gigabytes for a frame.
constexpr int kMaxPictureSide = 16384;
constexpr int64_t kMaxPicturePixels = int64_t(8192) * 8192;
// True when a picture of this size is beyond those bounds.
bool pictureTooLarge(int width, int height);
// Why a picture of width x height is refused, for a message.
std::string pictureTooLargeText(int width, int height);
// avformat_find_stream_info with its decoders bounded by the pixel limit, so a tiny file that declares a
// huge picture is not decoded into gigabytes; answers its result.
int findStreamInfoBounded(AVFormatContext *ctx);
// True when a video stream (no cover picture) declares a picture beyond the bounds; `why` says which.
bool declaresHugePicture(const AVFormatContext *ctx, std::string *why);

} // namespace rsc
