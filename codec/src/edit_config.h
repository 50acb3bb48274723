#pragma once
// The values an edit configuration carries: the codec choices of a job and the edits of one clip. It is a
// plain value type, so a job copies it when it is opened or a task is added and the caller may release its
// handle at once. The filter builders (filter_*) turn it into FFmpeg filter graphs.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace rsc::edit {

struct Rect
{
    double x = 0.0, y = 0.0, w = 1.0, h = 1.0;
    bool isFull() const { return x <= 0.0 && y <= 0.0 && w >= 1.0 && h >= 1.0; }
};

struct PictureItem
{
    bool set = false;
    std::string file;
    std::string mask;
    bool mirror = false;
    double posX = 0.0, posY = 0.0;
    unsigned scaleX = 100, scaleY = 100;
    int angle = 0;
    unsigned alpha = 255;
    unsigned mixMode = 0;
    double width = 0.0, height = 0.0;
    bool loop = true;
    Rect crop;
    uint64_t showTimeUs = 0;
    // colour adjustments of the picture alone, in the ranges of the clip's own
    int brightness = 0;
    int saturation = 100;
    int contrast = 100;
    int hue = 0;
};

struct TextItem
{
    bool set = false;
    std::string text;
    unsigned alpha = 255;
    double posX = 0.0, posY = 0.0;
    int angle = 0;
    bool bold = false, italic = false, underline = false, strikeout = false;
    unsigned fontSize = 28;
    std::string fontName;
    std::string fontFile; // when set and readable, its family replaces fontName
    uint32_t color = 0xFFFFFFFF;
    uint32_t outlineColor = 0xFF000000;
    double outlineSize = 1.0;
    uint32_t shadowColor = 0x80000000;
    double shadowOffset = 0.5;
    unsigned scaleX = 100, scaleY = 100;
    bool layerTopmost = true;
    double spacingH = 0.0, spacingV = 0.0;
    uint64_t showTimeUs = 0;
};

struct Overlay
{
    PictureItem picture;
    TextItem text;
};

struct SubtitleStyle
{
    unsigned alpha = 255;
    unsigned scaleX = 100, scaleY = 100;
    int64_t delayUs = 0;
    std::string fontName;
    std::string fontFile; // when set and readable, its family replaces fontName
    unsigned fontSize = 18;
    bool bold = false, italic = false, underline = false, strikeout = false;
    uint32_t color = 0xFFFFFFFF;
    uint32_t shadowColor = 0x80000000;
    uint32_t outlineColor = 0xFF000000;
    double shadowOffset = 0.5;
    double outlineSize = 1.0;
    double marginH = 0.05, marginV = 0.05;
    unsigned align = 0;
    double spacingH = 0.0, spacingV = 0.0;
    int angle = 0; // degrees; turns as the watermark text's angle does
};

struct BackgroundAudio
{
    std::string file;
    bool loop = true;
    unsigned mixMode = 0;
    unsigned volume = 100;
    unsigned weight = 50;
    uint64_t showTimeUs = 0, showTime2 = 0;
    uint64_t splitTime1 = 0, splitTime2 = 0;
    std::vector<unsigned> channelMap; // output channel i takes the background's channel channelMap[i]; empty = as is
    std::vector<double> eqFrequencies;
    std::vector<double> eqGains;
};

struct Chapter
{
    uint64_t startUs = 0;
    uint64_t durationUs = 0;
    std::string title;
};

// Codec values of a job; 0 (or -1 for the codecs) means "as the first clip".
struct CodecValues
{
    bool videoEdits = false; // the two switches: apply this configuration's picture / sound edits
    bool audioEdits = false;
    int videoCodec = 0;         // vocabulary id; 0 = as the first clip; -1 without a video size = audio-only output
    int audioCodec = 0;         // vocabulary id; 0 or -1 = as the first clip
    std::string videoCodecName; // FFmpeg codec name for the id; empty = as the first clip
    std::string audioCodecName;
    int profileMode = 0;
    int profile = 0;
    int width = 0, height = 0;
    unsigned frameRateNum = 0, frameRateDen = 0;
    int64_t videoBitRate = 0; // bit/s
    int64_t audioBitRate = 0;
    int channels = 0;
    int sampleRate = 0;
    int videoQuality = 0;
    int audioQuality = 0;
    std::string options; // "key=value:key=value" encoder options
};

struct EditConfig
{
    CodecValues codec;

    // colour adjustments (brightness -255..255, saturation 0..200 and contrast 0..300 with 100 neutral, hue 0..200)
    int brightness = 0;
    int saturation = 100;
    int contrast = 100;
    int hue = 0;

    int programIndex = 0;
    int audioTrack = 0;   // index among the source's audio streams
    int subtitleMode = 3; // bit 1: carry as a subtitle stream, bit 2: render into the picture

    int subtitleStream = -1; // index among the source's subtitle streams, -1 none
    bool closedCaptions = false;
    std::string subtitleFile;
    SubtitleStyle subtitle;

    Overlay overlays[3]; // 0 user watermark, 1 effect overlay, 2 frame overlay
    int currentSlot = 0;

    BackgroundAudio background[1];
    int currentAudioSlot = 0;

    // crop section
    int aspectW = 0, aspectH = 0; // wanted display aspect; 0 = the picture's own
    int rotation = 0;
    bool mirror = false;
    bool padEnabled = true;
    uint32_t padColor = 0xFF000000;
    Rect crop;

    // audio section
    unsigned volume = 100;
    unsigned speed = 100;
    unsigned rate = 100;
    std::vector<double> eqFrequencies;
    std::vector<double> eqGains;

    std::vector<Chapter> chapters;

    // How fast the clip plays, in hundredths of a percent (kNormalPace = as recorded). Speed and rate both
    // set it and multiply: speed keeps the sound's pitch, rate changes it with the pace (resampling). The
    // picture follows either, so sound and picture stay together and the clip lasts its length x
    // kNormalPace / pace. 0 stands for 100 in either.
    static constexpr int64_t kNormalPace = 10000;
    int64_t pace() const { return heldPace(speedPercent(), ratePercent()); }

    // Speed and rate, percent, are each held from a tenth of the normal pace to ten times it, and so is
    // their product, in the jobs and in the player's clock alike, so that the preview keeps the pace the
    // output has. Where the product is held, the rate keeps its pitch and the tempo gives way (soundTempo).
    static constexpr unsigned kMinPacePercent = 10, kMaxPacePercent = 1000;
    static unsigned heldPace(uint64_t percent)
    {
        return unsigned(std::clamp<uint64_t>(percent, kMinPacePercent, kMaxPacePercent));
    }
    static int64_t heldPace(unsigned speedPercent, unsigned ratePercent)
    {
        return std::clamp<int64_t>(int64_t(heldPace(speedPercent)) * heldPace(ratePercent), kNormalPace / 10,
                                   kNormalPace * 10);
    }
    unsigned speedPercent() const { return speed > 0 ? heldPace(speed) : 100; }
    unsigned ratePercent() const { return rate > 0 ? heldPace(rate) : 100; }
    // The tempo change the sound takes beside its rate's resampling, so that it lasts as the picture does.
    double soundTempo() const { return double(pace()) / (100.0 * ratePercent()); }
};

} // namespace rsc::edit
