#pragma once
// What a stream copy needs of a clip that its container's header leaves out, found without decoding
// pictures: the layout a VP9 key frame states, and the stream timings a full probe would settle on.

#include "job_ffmpeg.h"

#include <cstdint>

namespace rsc::job {

// The picture layout, size, profile and colour signalling the header of a VP8 or VP9 key frame states, as
// the decoder reports them. False when the packet does not begin with a key frame or its header is
// malformed.
struct KeyFrameLayout
{
    int format = -1;
    int width = 0;
    int height = 0;
    int profile = 0;
    AVColorRange range = AVCOL_RANGE_UNSPECIFIED;
    AVColorSpace space = AVCOL_SPC_UNSPECIFIED;
};
bool vp8KeyFrameLayout(const uint8_t *data, int size, KeyFrameLayout *out);
bool vp9KeyFrameLayout(const uint8_t *data, int size, KeyFrameLayout *out);

// What decoding an H.264 stream states of its pictures beyond their layout, from its sequence header.
struct H264Sequence
{
    int profile = FF_PROFILE_UNKNOWN;
    int level = FF_LEVEL_UNKNOWN;
    int bitDepth = 8;
    bool progressive = true;
    bool hasVui = false;
    AVRational aspect{0, 1};
    AVColorRange range = AVCOL_RANGE_UNSPECIFIED;
    bool colourDescribed = false;
    AVColorPrimaries primaries = AVCOL_PRI_UNSPECIFIED;
    AVColorTransferCharacteristic transfer = AVCOL_TRC_UNSPECIFIED;
    AVColorSpace space = AVCOL_SPC_UNSPECIFIED;
    AVChromaLocation chromaLocation = AVCHROMA_LOC_UNSPECIFIED;
};
// From the first sequence parameter set of avcC extradata or of an Annex B packet. False when there is
// none or it cannot be read.
bool h264SequenceHeader(const uint8_t *data, size_t size, H264Sequence *out);

// Once each picture and sound stream knows its start: the container's start as the full probe sets it
// (the earliest of them, or of a text stream less than a second earlier), and every stream without a
// start of its own takes the container's start and length. Chapters without an end keep none here: the join
// settles them as it places them (chapter_place.h). False when no stream knows its start.
bool settleStreamTimings(AVFormatContext *ctx);

} // namespace rsc::job
