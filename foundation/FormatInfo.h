#pragma once
// Records filled from the output-profile catalogues: a profile tile, and every choice of one profile
// with its defaults.

#include <string>
#include <vector>

struct FormatBaseInfo
{
    std::string title;
    std::string id;
    std::string ext;
    std::string category;
    std::string icon;
};

struct FormatAllInfo
{
    bool bNoVideo = false;
    std::vector<std::string> vecVideoEncoder;
    std::vector<std::string> vecResolution;
    std::vector<std::string> vecFrameRate;    // each ends in " fps"
    std::vector<std::string> vecVideoBitRate; // each ends in " kbps"
    std::vector<std::string> vecAudioEncoder;
    std::vector<std::string> vecChannel;
    std::vector<std::string> vecSampleRate;   // each ends in " HZ"
    std::vector<std::string> vecAudioBitRate; // each ends in " kbps"
    std::string strExt;
    std::string strCategory;
    std::string strId;
    std::string strVideoEncoder;
    std::string strResolution;
    std::string strVideoBitRateLow;
    std::string strVideoBitRateHigh;
    std::string strVideoBitRate;
    std::string strFrameRate;
    std::string strAudioEncoder;
    std::string strChannel;
    std::string strAudioBitRateLow;
    std::string strAudioBitRateHigh;
    std::string strAudioBitRate;
    std::string strSampleRate;
    bool bAuto = false;
};
