#pragma once
// Overlay pictures of the edit pipeline (the watermark, effect and frame slots, and their masks) made
// ready once instead of in every graph: a still picture is decoded once, cut to its crop and to the part of
// its box the frame can show, scaled to its box, mirrored, coloured, masked, turned and faded, and written
// as a small RGBA file that a graph lays over each frame. A picture of 8192 x 8192 pixels thus costs one
// decode of it and never a frame of that size beyond it; graphs built again with the same edits (the
// preview builds them at each seek) take the same file. Animated pictures and videos change from frame to
// frame and stay with the graph.

#include "edit_config.h"
#include "ffmpeg_raii.h"
#include "filter_ass.h"

#include <string>

namespace rsc::edit {

struct PlacedPicture
{
    enum class Kind {
        Ready,  // `file` holds the finished picture, its top left corner at x, y of the frame
        Hidden, // nothing of it falls on the frame
        Moving, // an animation or a video (or a picture that cannot be made ready): the graph does it all
    };
    Kind kind = Kind::Moving;
    std::string file;
    int x = 0, y = 0;
};

// The picture item `p` made ready for a frame of frameW x frameH; `resources` keeps its file for the graph.
PlacedPicture placePicture(const PictureItem &p, int frameW, int frameH, FilterResources &resources);

// The first picture of `path`, decoded within the pixel bound (null, and why not, when it cannot be);
// `moving`, when given, tells whether more pictures follow it (an animation or a video).
FramePtr decodeFirstPicture(const std::string &path, bool *moving, std::string *why);

} // namespace rsc::edit
