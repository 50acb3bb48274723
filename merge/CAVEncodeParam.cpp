#include "CAVEncodeParam.h"

#include <cstdlib>
#include <cstring>

CAVEncodeParam::CAVEncodeParam(const CAVEncodeParam &o)
{
    *this = o;
}

CAVEncodeParam &CAVEncodeParam::operator=(const CAVEncodeParam &o)
{
    if (this == &o)
        return *this;
    setContainerName(o.containerName);
    videoCodec = o.videoCodec;
    width = o.width;
    height = o.height;
    frameRateHundredths = o.frameRateHundredths;
    frameRateNum = o.frameRateNum;
    frameRateDen = o.frameRateDen;
    videoBitRate = o.videoBitRate;
    videoQuality = o.videoQuality;
    audioCodec = o.audioCodec;
    sampleRate = o.sampleRate;
    channels = o.channels;
    audioBitRate = o.audioBitRate;
    audioQuality = o.audioQuality;
    start = o.start;
    end = o.end;
    duration = o.duration;
    optionText = o.optionText;
    bDVD = o.bDVD;
    bLossless = o.bLossless;
    editConfig = o.editConfig;
    return *this;
}

CAVEncodeParam::~CAVEncodeParam()
{
    std::free(containerName);
}

void CAVEncodeParam::setContainerName(const char *name)
{
    char *copy = nullptr;
    if (name) {
        const size_t n = std::strlen(name);
        copy = static_cast<char *>(std::malloc(n + 1));
        if (copy)
            std::memcpy(copy, name, n + 1);
    }
    std::free(containerName);
    containerName = copy;
}
