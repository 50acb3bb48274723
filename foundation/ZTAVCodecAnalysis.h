#pragma once
// The codec vocabulary: catalogue codec names to the codec library's codec ids, extensions and format
// labels to container names, frame rates to fractions, and a probed file's demuxer names to the
// container a lossless "Original" output keeps. Comparisons are exact and case-sensitive.

#include <string>

class ZTAVCodecAnalysis
{
public:
    ZTAVCodecAnalysis() {}

    // 0 for a name the table does not hold.
    static unsigned int codecIDOfFourcc(const std::string &name);
    // Any other name is answered unchanged.
    static std::string formatOfFourCC(const std::string &name);
    static void GetVideoFrameRate(double fps, unsigned int &num, unsigned int &den);
    static std::string formatOfCodecID(unsigned int codecId, std::string &extension);
    static std::string formatForFormatName(const std::string &demuxerNames, const std::string &majorBrand);
};
