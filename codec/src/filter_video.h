#pragma once
// The video half of the edit pipeline: an edit configuration and the picture a source delivers become one
// filter graph description from the pad "[in]" to the pad "[out]". The jobs and the player build their
// graphs with it, so what the preview shows is what a job writes.

#include "edit_config.h"
#include "filter_ass.h"

#include <string>

namespace rsc::edit {

struct VideoSource
{
    int width = 0;
    int height = 0;
    int sarNum = 0, sarDen = 1; // 0 = square pixels
    int displayRotation = 0;    // clockwise turn the source asks for on display (0, 90, 180, 270), done first
    std::string path;           // the source file, for its internal subtitle streams
    int64_t sourceOffsetUs = 0; // source time of the frames' time 0 (the trim start of a job)
    // How long one source frame is on screen (0: unknown). An overlay item is then shown on the frame on screen
    // at its show time, not only on frames that start at or after it: a trim start between two frames shows
    // the items first shown there on the frame the preview holds at it.
    int64_t frameUs = 0;
};

struct VideoTarget
{
    int width = 0; // output frame; 0 = the edited picture's own size (see editedSize)
    int height = 0;
    std::string pixelFormat; // e.g. "yuv420p"; empty = leave to the consumer
    int frameRateNum = 0;    // constant output frame rate; 0 = keep the frames' own timing
    int frameRateDen = 1;
    int64_t frameRateStartUs = 0; // time of the first constant-rate frame
};

// The picture size after crop and rotation, widened to its display aspect (even dimensions).
void editedSize(const EditConfig &cfg, const VideoSource &src, int *width, int *height);

// Where the edited picture lies in a frame of frameW x frameH (0 x 0 = the edited size): with padding on its
// display aspect fitted and centred (even sizes), with padding off the whole frame. Overlays are laid on the
// picture, not on the frame: positions and sizes are fractions of w x h, text sizes and pictures at their own
// size are pixels of refW x refH (editedSize), scaled with the picture.
struct PictureArea
{
    int x = 0, y = 0, w = 0, h = 0;
    int refW = 0, refH = 0;
};
PictureArea pictureArea(const EditConfig &cfg, const VideoSource &src, int frameW, int frameH);

// The edited size (editedSize) within the bounds decoded pictures have (pictureTooLarge): a sample aspect of
// 100:1 widens a 2160p picture to 384000 pixels, gigabytes a frame, so such a picture is fitted into the bounds
// keeping its display aspect (even sizes). The preview's frame at its own size and a join's "Auto" size.
void boundedEditedSize(const EditConfig &cfg, const VideoSource &src, int *width, int *height);

// The filter that draws a text item on a picture of the reference size refW x refH or scaled from it (empty
// when its script could not be written): the join and the player's measure of the text use the same.
std::string textFilter(const TextItem &text, int refW, int refH, FilterResources &resources);

// Brightness, saturation, contrast and hue as the clip and its overlay pictures share them (the clip's
// ranges); empty when every value is neutral.
std::string colourFilters(int level, int saturation, int contrast, int hue);

// The description; temporary files it names are owned by `resources`, which must outlive the graph.
std::string describeVideo(const EditConfig &cfg, const VideoSource &src, const VideoTarget &target,
                          FilterResources &resources);

} // namespace rsc::edit
