#include "ZTAVCodecAnalysis.h"

#include <cmath>
#include <iterator>

namespace {

struct CodecRow
{
    const char *name;
    unsigned int id;
};

// The codec library's own ids; the first matching row wins.
const CodecRow kCodecs[] = {
    {"AC3", 0x15003},  {"in24", 0x1000D}, {"mp43", 0x11},       {"wma3", 0x15026},    {"wma2", 0x15008},
    {"wma1", 0x15007}, {"MP3", 0x15001},  {"VP8", 0x8D},        {"VP9", 0xA9},        {"AAC", 0x15002},
    {"MJPG", 0x8},     {"MP4V", 0xD},     {"OGG", 0x15005},     {"WMV1", 0x12},       {"WMV2", 0x13},
    {"VBIS", 0x15005}, {"mpg1", 0x1},     {"HMP2", 0x2},        {"mp2v", 0x2},        {"mp1v", 0x1},
    {"H263", 0x5},     {"H264", 0x1C},    {"H265", 0x48323635}, {"Xvid", 0x44495658}, {"DIVX", 0x30355844},
    {"MP2A", 0x15000}, {"PCM", 0x10000},  {"APE", 0x10000},     {"caf", 0x11000},     {"DV60", 0x19},
    {"flac", 0x1500C}, {"AMRN", 0x12000}, {"flv1", 0x16},       {"fmp3", 0x1100D},    {"DV50", 0x19},
    {"WMV3", 0x48},    {"vc-1", 0x47},    {"pcmb", 0x10001},    {"alac", 0x15010},    {"OGV", 0x1F},
};

struct FormatRow
{
    const char *name;
    const char *container;
};

const FormatRow kFormats[] = {
    {"m4v", "mp4"},  {"wmv", "asf"}, {"mkv", "matroska"}, {"mpg", "mpeg"},   {"ts", "mpegts"}, {"m4a", "mp4"},
    {"DivX", "avi"}, {"ogv", "ogg"}, {"WebM", "webm"},    {"trp", "mpegts"}, {"wma", "asf"},   {"mka", "matroska"},
    {"aac", "adts"}, {"m4b", "mp4"}, {"m4r", "mp4"},      {"alac", "mov"},
};

} // namespace

unsigned int ZTAVCodecAnalysis::codecIDOfFourcc(const std::string &name)
{
    for (const CodecRow &row : kCodecs) {
        if (name == row.name)
            return row.id;
    }
    return 0;
}

std::string ZTAVCodecAnalysis::formatOfFourCC(const std::string &name)
{
    for (const FormatRow &row : kFormats) {
        if (name == row.name)
            return row.container;
    }
    return name;
}

void ZTAVCodecAnalysis::GetVideoFrameRate(double fps, unsigned int &num, unsigned int &den)
{
    num = 0;
    den = 1;
    // NTSC rates are kept as exact fractions; everything else is a whole number of frames.
    if (fps > 23.5 && fps < 23.99) {
        num = 24000;
        den = 1001;
    } else if (fps > 29.5 && fps < 29.99) {
        num = 30000;
        den = 1001;
    } else if (fps > 59.5 && fps < 59.99) {
        num = 60000;
        den = 1001;
    } else {
        const double whole = std::trunc(fps + 0.01);
        // A negative, non-finite or absurd rate must not wrap into a huge unsigned value.
        num = (std::isfinite(whole) && whole > 0 && whole < 1e6) ? static_cast<unsigned int>(whole) : 0;
    }
}

std::string ZTAVCodecAnalysis::formatOfCodecID(unsigned int codecId, std::string &extension)
{
    switch (codecId) {
    case 0x15002:
        extension = "m4a";
        return "mp4";
    case 0x1502A:
        extension = "asf";
        return "asf";
    default:
        extension = "mp3";
        return "mp3";
    }
}

std::string ZTAVCodecAnalysis::formatForFormatName(const std::string &demuxerNames, const std::string &majorBrand)
{
    if (demuxerNames == "mov,mp4,m4a,3gp,3g2,mj2") {
        if (majorBrand == "qt  ")
            return "mov";
        if (majorBrand == "f4v ")
            return "f4v";
        if (majorBrand.compare(0, 3, "3gp") == 0)
            return "3gp";
        if (majorBrand.compare(0, 3, "3g2") == 0)
            return "3g2";
        return "mp4";
    }
    if (demuxerNames == "matroska,webm") {
        if (majorBrand == "matroska")
            return "matroska";
        if (majorBrand == "webm")
            return "webm";
        return "mp4";
    }
    return demuxerNames;
}
