#include "filter_video.h"

#include "common_media.h"
#include "filter_escape.h"
#include "filter_picture.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace rsc::edit {

namespace {

// An even size of at least 2; a size beyond the range of int (a picture widened by a sample aspect such as
// 4000000:1) saturates instead of wrapping to a small or negative one.
int even(double v)
{
    constexpr double kLargest = std::numeric_limits<int>::max() - 1;
    const int i = static_cast<int>(std::lround(std::isfinite(v) ? std::clamp(v, 2.0, kLargest) : 2.0));
    return std::max(2, i - (i & 1));
}

struct Geometry
{
    int cropX = 0, cropY = 0, cropW = 0, cropH = 0;
    bool cropped = false;
    bool turned = false;
    double displayAspect = 1.0; // of the picture after crop and rotation
};

Geometry geometryOf(const EditConfig &cfg, const VideoSource &src)
{
    Geometry g;
    // Edits apply to the picture as displayed: a source turned on display is turned before anything else.
    const bool sourceTurned = src.displayRotation == 90 || src.displayRotation == 270;
    const int w = std::max(2, sourceTurned ? src.height : src.width);
    const int h = std::max(2, sourceTurned ? src.width : src.height);
    const Rect &r = cfg.crop;
    const double x = std::clamp(r.x, 0.0, 1.0), y = std::clamp(r.y, 0.0, 1.0);
    const double cw = std::clamp(r.w, 0.0, 1.0 - x), ch = std::clamp(r.h, 0.0, 1.0 - y);
    g.cropped = !r.isFull() && cw > 0.0 && ch > 0.0;
    if (g.cropped) {
        g.cropW = std::min(w, even(cw * w));
        g.cropH = std::min(h, even(ch * h));
        g.cropX = std::clamp(static_cast<int>(std::lround(x * w)) & ~1, 0, w - g.cropW);
        g.cropY = std::clamp(static_cast<int>(std::lround(y * h)) & ~1, 0, h - g.cropH);
    } else {
        g.cropW = w;
        g.cropH = h;
    }
    double sar = (src.sarNum > 0 && src.sarDen > 0) ? double(src.sarNum) / src.sarDen : 1.0;
    if (sourceTurned)
        sar = 1.0 / sar;
    const int rot = ((cfg.rotation % 360) + 360) % 360;
    g.turned = rot == 90 || rot == 270;
    double da = g.cropW * sar / g.cropH;
    if (g.turned)
        da = 1.0 / da;
    if (cfg.aspectW > 0 && cfg.aspectH > 0)
        da = double(cfg.aspectW) / cfg.aspectH;
    g.displayAspect = da;
    return g;
}

std::string rotationFilters(int rotation)
{
    switch (((rotation % 360) + 360) % 360) {
    case 90:
        return "transpose=clock";
    case 180:
        return "hflip,vflip";
    case 270:
        return "transpose=cclock";
    default:
        return {};
    }
}

void append(std::string &chain, const std::string &filter)
{
    if (filter.empty())
        return;
    if (!chain.empty())
        chain += ',';
    chain += filter;
}

// Times that go on from the last picture's end where the pictures' own times do not (a round starting again,
// a picture repeated at the same time or at none).
std::string continuousTimes(const PlacedPicture &placed)
{
    std::string step = "PTS-PREV_INPTS";
    // tpad times the copies of the last picture by the link's frame rate, which a demuxer may state as its
    // clock (an APNG's 100000/1: 100,000 copies a second of the clip, and a 3 s join took 15 s). A copy comes a
    // hundredth of a second after the one before at the soonest: the overlay shows the latest picture at each
    // frame of the clip, and no clip's frames come closer. The source's own pictures keep their times.
    if (placed.motion.lastStarts >= 0) {
        char after[48]; // to the microsecond: any time a copy can have lies beyond it, no picture of the source
        const auto end =
            std::to_chars(after, after + sizeof after, placed.motion.lastStarts + 5e-7, std::chars_format::fixed, 7)
                .ptr;
        step = "if(gt(PTS*TB," + std::string(after, end) + "),max(" + step + ",0.01/TB)," + step + ")";
    }
    return "setpts=" + filterValue("if(eq(N,0),PTS,PREV_OUTPTS+if(gt(PTS,PREV_INPTS)," + step + "," +
                                   num(std::max(placed.motion.lastShows, 0.01)) + "/TB))");
}

// An animation or a video: each of its pictures takes the filters its first one was made ready with. It never
// ends: a loop goes round for ever, anything else shows its last picture on (as a still picture stays), so the
// frames alone end the overlay and a watermark longer than the clip is read no further than the clip.
std::string movingChain(const PictureItem &p, const PlacedPicture &placed, int &counter)
{
    std::string chain = "movie=filename=" + filterValue(p.file);
    // An animated picture loops when the item asks it to, whatever its file is named; a video never does.
    const bool loops = p.loop && placed.motion.animation;
    // The movie source starts each round at its first picture's time again; the overlay waits for times past
    // the frame's for ever unless they go on from the last picture's end.
    if (loops)
        chain += ":loop=0," + continuousTimes(placed);
    chain += "," + (placed.chain.empty() ? std::string("format=rgba") : placed.chain);
    if (!placed.maskChain.empty()) {
        const std::string pic = "p" + std::to_string(counter++), mask = "m" + std::to_string(counter++);
        chain += "[" + pic + "];movie=filename=" + filterValue(p.mask) + "," + placed.maskChain + "[" + mask + "];[" +
                 mask + "][" + pic + "]scale2ref[" + mask + "s][" + pic + "r];[" + pic + "r][" + mask + "s]alphamerge";
    }
    if (!placed.finish.empty())
        chain += "," + placed.finish;
    // The finished last picture, repeated (the copies share its data). tpad times the copies by the link's
    // frame rate, which a source without one leaves unusable: the times are made to go on all the same.
    if (!loops)
        chain += ",tpad=stop=-1:stop_mode=clone," + continuousTimes(placed);
    return chain;
}

// An overlay input's pictures moved to begin at the item's show time. The overlay shows nothing before its
// input's first picture, so the times alone decide where an item shows: a filter's `enable` expression would be
// judged at the time of whichever input it took a frame from last (a still picture's only frame, at 0, for the
// first frame of a new graph, which the paused preview always is).
std::string startingAt(uint64_t showTimeUs)
{
    if (showTimeUs == 0)
        return {};
    return ",settb=AVTB,setpts=PTS+" +
           std::to_string(std::min<uint64_t>(showTimeUs, uint64_t(std::numeric_limits<int64_t>::max() / 2)));
}

} // namespace

std::string colourFilters(int level, int saturation, int contrast, int hue)
{
    std::string out;
    if (contrast != 100 || saturation != 100)
        append(out, "eq=contrast=" + num(std::clamp(contrast, 0, 300) / 100.0) +
                        ":saturation=" + num(std::clamp(saturation, 0, 200) / 100.0));
    // Brightness fades towards black (-255) or white (255) in every colour, not only in the luma.
    const int brightness = std::clamp(level, -255, 255);
    if (brightness < 0) {
        const std::string top = num(1.0 + brightness / 255.0);
        append(out, "colorlevels=romax=" + top + ":gomax=" + top + ":bomax=" + top);
    } else if (brightness > 0) {
        const std::string bottom = num(brightness / 255.0);
        append(out, "colorlevels=romin=" + bottom + ":gomin=" + bottom + ":bomin=" + bottom);
    }
    if (hue != 0)
        append(out, "hue=h=" + num(std::clamp(hue, 0, 200) * 1.8));
    return out;
}

void editedSize(const EditConfig &cfg, const VideoSource &src, int *width, int *height)
{
    const Geometry g = geometryOf(cfg, src);
    int w = g.turned ? g.cropH : g.cropW;
    int h = g.turned ? g.cropW : g.cropH;
    // Widen (never shrink) to the display aspect so no detail is lost.
    if (double(w) / h < g.displayAspect)
        w = even(h * g.displayAspect);
    else
        h = even(w / g.displayAspect);
    *width = w - (w & 1);
    *height = h - (h & 1);
}

PictureArea pictureArea(const EditConfig &cfg, const VideoSource &src, int frameW, int frameH)
{
    PictureArea a;
    editedSize(cfg, src, &a.refW, &a.refH);
    if (frameW <= 0 || frameH <= 0) {
        frameW = a.refW;
        frameH = a.refH;
    }
    a.w = frameW;
    a.h = frameH;
    if (cfg.padEnabled) {
        // Keep the display aspect; the rest of the frame is padding.
        const double aspect = geometryOf(cfg, src).displayAspect;
        if (double(frameW) / frameH > aspect)
            a.w = std::min(frameW, even(frameH * aspect));
        else
            a.h = std::min(frameH, even(frameW / aspect));
        a.x = (frameW - a.w) / 2;
        a.y = (frameH - a.h) / 2;
    }
    return a;
}

void boundedEditedSize(const EditConfig &cfg, const VideoSource &src, int *width, int *height)
{
    editedSize(cfg, src, width, height);
    if (!pictureTooLarge(*width, *height))
        return;
    // The display aspect fitted into the bounds, as a picture into a frame with padding on; then, with too many
    // pixels still, both sides shrunk alike.
    EditConfig fitting = cfg;
    fitting.padEnabled = true;
    PictureArea area = pictureArea(fitting, src, kMaxPictureSide, kMaxPictureSide);
    if (pictureTooLarge(area.w, area.h)) {
        // A frame of even sides, rounded down: the side pictureArea does not fit is the frame's own.
        const double scale = std::sqrt(double(kMaxPicturePixels) / (double(area.w) * area.h));
        area = pictureArea(fitting, src, std::max(2, int(area.w * scale) & ~1), std::max(2, int(area.h * scale) & ~1));
    }
    *width = area.w;
    *height = area.h;
}

std::string textFilter(const TextItem &text, int refW, int refH, FilterResources &resources)
{
    const std::string path = resources.addFile(".ass", assScriptForText(text, refW, refH));
    if (path.empty())
        return {};
    // libass scales the script's units to the picture it draws on; the original size stretches the glyphs
    // as the picture is stretched (padding off) instead of keeping their own shape.
    return "ass=filename=" + filterValue(path) + ":original_size=" + std::to_string(refW) + "x" + std::to_string(refH) +
           assFontsDirOption(text.fontFile, resources);
}

std::string describeVideo(const EditConfig &cfg, const VideoSource &src, const VideoTarget &target,
                          FilterResources &resources)
{
    const Geometry g = geometryOf(cfg, src);
    const PictureArea area = pictureArea(cfg, src, target.width, target.height);
    const bool sized = target.width > 0 && target.height > 0;
    const int outW = sized ? target.width : area.refW, outH = sized ? target.height : area.refH;

    std::string chain = rotationFilters(src.displayRotation);
    if (g.cropped)
        append(chain, "crop=w=" + std::to_string(g.cropW) + ":h=" + std::to_string(g.cropH) +
                          ":x=" + std::to_string(g.cropX) + ":y=" + std::to_string(g.cropY) + ":exact=1");
    append(chain, rotationFilters(cfg.rotation));
    if (cfg.mirror)
        append(chain, "hflip");
    append(chain, colourFilters(cfg.brightness, cfg.saturation, cfg.contrast, cfg.hue));
    // The picture at its size in the output frame; the overlays and subtitles are laid on it before it is
    // padded, so they keep their place on the picture whatever frame it is fitted into. Square pixels from
    // here: the blend modes take frames of one shape only.
    append(chain, "scale=w=" + std::to_string(area.w) + ":h=" + std::to_string(area.h));
    append(chain, "setsar=1");
    // Items shown from a later time than the clip's start compare it with the end of the frame (its last
    // microsecond) where the source says how long a frame lasts: the frame on screen at an item's show time shows
    // it. Items shown from the start keep the frames' own times, so an animation is at the picture a join shows.
    const bool later = std::any_of(std::begin(cfg.overlays), std::end(cfg.overlays), [](const Overlay &ov) {
        return ov.picture.showTimeUs > 0 || ov.text.showTimeUs > 0;
    });
    const std::string lead =
        later && src.frameUs > 1 ? "round(" + std::to_string(src.frameUs - 1) + "/1000000/TB)" : std::string();
    if (!lead.empty())
        append(chain, "setpts=PTS+" + lead);

    std::string graph = "[in]" + (chain.empty() ? std::string("null") : chain);
    std::string current = "v0";
    graph += "[" + current + "]";
    int counter = 0;
    // Effect overlay lowest, then the frame, the user's watermark on top.
    for (int slot : {1, 2, 0}) {
        const Overlay &ov = cfg.overlays[slot];
        auto addPicture = [&] {
            if (!ov.picture.set || ov.picture.file.empty())
                return;
            const PlacedPicture placed = placePicture(ov.picture, area.w, area.h, area.refW, area.refH, resources);
            if (placed.kind == PlacedPicture::Kind::Hidden)
                return;
            const std::string label = "ov" + std::to_string(counter++);
            const bool endless = placed.kind == PlacedPicture::Kind::Moving;
            const std::string starting = startingAt(ov.picture.showTimeUs);
            if (placed.kind == PlacedPicture::Kind::Ready)
                graph += ";movie=filename=" + filterValue(placed.file) + ":format_name=pam_pipe,format=rgba";
            else
                graph += ";" + movingChain(ov.picture, placed, counter);
            graph += starting + "[" + label + "]";
            const std::string x = std::to_string(placed.x), y = std::to_string(placed.y);
            const std::string next = "v" + std::to_string(counter++);
            const unsigned mix = ov.picture.mixMode;
            if (mix >= 1 && mix <= 3) {
                // Blending modes work on whole pictures: the overlay is laid on a neutral canvas (black for
                // screen and add, white for multiply) so the rest of the picture stays as it was.
                const char *mode = mix == 1 ? "screen" : mix == 2 ? "multiply" : "addition";
                const char *neutral = mix == 2 ? "white" : "black";
                const std::string canvas = "c" + std::to_string(counter++);
                const std::string base = "b" + std::to_string(counter++);
                // The canvas begins with the picture: the blend leaves the frames before it as they are.
                graph += ";color=c=" + std::string(neutral) + ":s=" + std::to_string(area.w) + "x" +
                         std::to_string(area.h) + ",format=gbrp" + starting + "[" + canvas + "];[" + canvas + "][" +
                         label + "]overlay=x=" + x + ":y=" + y + ":shortest=0:eof_action=repeat:format=gbrp[" + label +
                         "c]";
                graph += ";[" + current + "]format=gbrp[" + base + "];[" + base + "][" + label +
                         "c]blend=all_mode=" + mode + ":shortest=1[" + next + "]";
            } else {
                // An animation or a video never ends (movingChain): the frames end the overlay. A still
                // picture ends at once and stays.
                graph += ";[" + current + "][" + label + "]overlay=x=" + x + ":y=" + y + ":eof_action=repeat" +
                         (endless ? ":shortest=1" : "") + "[" + next + "]";
            }
            current = next;
        };
        auto addText = [&] {
            if (!ov.text.set || ov.text.text.empty())
                return;
            const std::string text = textFilter(ov.text, area.refW, area.refH, resources);
            if (text.empty())
                return;
            const std::string next = "v" + std::to_string(counter++);
            graph += ";[" + current + "]" + text + "[" + next + "]";
            current = next;
        };
        if (ov.text.layerTopmost) {
            addPicture();
            addText();
        } else {
            addText();
            addPicture();
        }
    }

    // Subtitles are drawn on the picture over the overlays: an effect or frame picture (a letterbox's bars)
    // must not hide them. They are timed against the source; frames are timed from the trim start.
    std::string tail;
    if (!lead.empty())
        append(tail, "setpts=PTS-" + lead);
    const bool render = (cfg.subtitleMode & 2) != 0;
    const bool subtitleFromFile = render && !cfg.subtitleFile.empty();
    const bool subtitleFromStream = render && !subtitleFromFile && cfg.subtitleStream >= 0 && !src.path.empty();
    if (subtitleFromFile || subtitleFromStream) {
        const double shift = (src.sourceOffsetUs - cfg.subtitle.delayUs) / 1e6;
        if (shift != 0.0)
            append(tail, "setpts=PTS+" + num(shift) + "/TB");
        std::string sub = "subtitles=filename=" + filterValue(subtitleFromFile ? cfg.subtitleFile : src.path);
        if (subtitleFromStream)
            sub += ":si=" + std::to_string(cfg.subtitleStream);
        sub += ":force_style=" + filterValue(assForceStyle(cfg.subtitle));
        sub += ":original_size=" + std::to_string(area.refW) + "x" + std::to_string(area.refH);
        sub += assFontsDirOption(cfg.subtitle.fontFile, resources);
        append(tail, sub);
        if (shift != 0.0)
            append(tail, "setpts=PTS-" + num(shift) + "/TB");
    }
    // Fit into the output frame: with padding on the picture is centred on the pad colour; with padding off
    // it is the frame already (stretched).
    if (area.w != outW || area.h != outH)
        append(tail, "pad=w=" + std::to_string(outW) + ":h=" + std::to_string(outH) + ":x=" + std::to_string(area.x) +
                         ":y=" + std::to_string(area.y) + ":color=" + filterValue(filterColor(cfg.padColor)));
    // Speed and rate both set the clip's pace; the sound takes the same (filter_audio).
    if (cfg.pace() != EditConfig::kNormalPace)
        append(tail, "setpts=PTS*" + std::to_string(EditConfig::kNormalPace) + "/" + std::to_string(cfg.pace()));
    if (target.frameRateNum > 0 && target.frameRateDen > 0)
        append(tail, "fps=fps=" + std::to_string(target.frameRateNum) + "/" + std::to_string(target.frameRateDen) +
                         ":start_time=" + num(target.frameRateStartUs / 1e6));
    if (!target.pixelFormat.empty())
        append(tail, "format=pix_fmts=" + target.pixelFormat);
    graph += ";[" + current + "]" + (tail.empty() ? std::string("null") : tail) + "[out]";
    return graph;
}

} // namespace rsc::edit
