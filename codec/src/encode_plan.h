#pragma once
// The output streams of a re-encoding job: the caller's codec values where it gave them, the first clip's
// parameters elsewhere, adjusted to what the chosen encoder and container accept.

#include "decode_input.h"
#include "edit_config.h"

#include <string>

namespace rsc::job {

struct StreamPlan
{
    bool hasVideo = false;
    const AVCodec *videoCodec = nullptr;
    int width = 0, height = 0;
    AVRational frameRate{25, 1};
    AVPixelFormat pixelFormat = AV_PIX_FMT_YUV420P;
    int64_t videoBitRate = 0;
    bool bitRateCeiling = false; // quality 0: the bit rate is a ceiling, not an average
    std::string videoProfile;
    // The JPEG ("J") pixel formats carry full-range levels.
    AVColorRange colorRange() const
    {
        return pixelFormat == AV_PIX_FMT_YUVJ420P || pixelFormat == AV_PIX_FMT_YUVJ422P ||
                       pixelFormat == AV_PIX_FMT_YUVJ444P
                   ? AVCOL_RANGE_JPEG
                   : AVCOL_RANGE_MPEG;
    }

    bool hasAudio = false;
    const AVCodec *audioCodec = nullptr;
    int sampleRate = 44100;
    int channels = 2;
    AVSampleFormat sampleFormat = AV_SAMPLE_FMT_FLTP;
    int64_t audioBitRate = 0;

    std::string options; // "key=value:key=value" for the encoders
};

// The encoder we use for an FFmpeg codec name (e.g. "h264" -> libx264); an encoder name is taken as is.
const AVCodec *encoderForName(const std::string &name);

// Without a size from the caller the picture takes the first clip's size after its own crop and rotation
// (`firstEdit`, when its picture edits are on), within the bounds of a decoded picture.
bool planStreams(const rsc::edit::CodecValues &values, const InputClip &first, const rsc::edit::EditConfig &firstEdit,
                 const AVOutputFormat *muxer, StreamPlan *plan, std::string *error);

} // namespace rsc::job
