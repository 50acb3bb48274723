#pragma once
// Overlay pictures of the edit pipeline (the watermark, effect and frame slots, and their masks) made
// ready once instead of in every graph: a still picture is decoded once, cut to its crop and to the part of
// its box the frame can show, scaled to its box, mirrored, coloured, masked, turned and faded, and written
// as a small RGBA file (PAM: a graph's movie source takes it as format pam_pipe; see GraphFile for where it
// lives) that a graph lays over each frame. A picture of 8192 x 8192 pixels thus costs one
// decode of it and never a frame of that size beyond it; graphs built again with the same edits (the
// preview builds them at each seek) take the same file. Animated pictures and videos change from frame to
// frame: the graph cuts and scales each of their pictures with the filters the first one took.

#include "common_media.h"
#include "edit_config.h"
#include "ffmpeg_raii.h"
#include "filter_ass.h"

#include <string>

namespace rsc::edit {

// How the pictures of an animation or a video follow one another (all unset for a still picture).
struct PictureMotion
{
    double lastShows = 0;   // how long its last picture shows (seconds); 0 for a still picture
    double lastStarts = -1; // source time of its last picture (seconds); -1 where it was not read to its end
    bool animation = false; // an animated picture format (GIF, APNG, WebP) as FFmpeg identifies the content
};

struct PlacedPicture
{
    enum class Kind {
        Ready,  // `file` holds the finished picture (PAM), its top left corner at x, y of the frame
        Hidden, // nothing of it falls on the frame
        Moving, // an animation or a video (or a picture that cannot be made ready): the graph does it all
    };
    Kind kind = Kind::Moving;
    std::string file;
    int x = 0, y = 0;
    // Moving: the filters each picture takes after its movie source, as the first one was made ready (empty
    // when it could not be), those of the mask after its own, and the turn and fade after the mask.
    std::string chain, maskChain, finish;
    PictureMotion motion; // Moving: how its pictures follow one another
};

// The picture item `p` made ready for a picture of frameW x frameH whose own pixel size is refW x refH: its
// position and box are fractions of the picture, a box of 0 x 0 is the item's own size scaled as the picture
// is. `resources` keeps its file for the graph.
PlacedPicture placePicture(const PictureItem &p, int frameW, int frameH, int refW, int refH,
                           FilterResources &resources);

// The most a decoded picture may take: an 8-bit RGBA picture at the pixel bound. A picture of as many pixels
// in 16-bit colour would take twice as much.
constexpr int64_t kMaxPictureBytes = kMaxPicturePixels * 4;

// The first picture of `path`, decoded within the pixel bound and kMaxPictureBytes (null, and why not, when
// it cannot be). `motion`, when given, learns how the pictures after it follow, whatever the file is named.
FramePtr decodeFirstPicture(const std::string &path, std::string *why, PictureMotion *motion = nullptr);

} // namespace rsc::edit
