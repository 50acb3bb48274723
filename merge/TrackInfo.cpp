#include "TrackInfo.h"

#include <cstring>

TrackPrivateData::TrackPrivateData(const TrackPrivateData &o)
{
    assign(o.privateData, o.privateDataSize);
}

TrackPrivateData &TrackPrivateData::operator=(const TrackPrivateData &o)
{
    if (this != &o)
        assign(o.privateData, o.privateDataSize);
    return *this;
}

TrackPrivateData::~TrackPrivateData()
{
    reset();
}

void TrackPrivateData::assign(const unsigned char *bytes, int size)
{
    unsigned char *copy = nullptr;
    if (bytes && size > 0) {
        copy = new unsigned char[size_t(size)]();
        std::memcpy(copy, bytes, size_t(size));
    }
    reset();
    privateData = copy;
    privateDataSize = copy ? size : 0;
}

void TrackPrivateData::reset()
{
    delete[] privateData;
    privateData = nullptr;
    privateDataSize = 0;
}

bool TrackPrivateData::sameAs(const TrackPrivateData &o) const
{
    if (privateDataSize != o.privateDataSize)
        return false;
    if (privateDataSize == 0)
        return true;
    return std::memcmp(privateData, o.privateData, size_t(privateDataSize)) == 0;
}

void VideoTrackInfo::SetDefault()
{
    *this = VideoTrackInfo();
}

void AudioTrackInfo::SetDefault()
{
    *this = AudioTrackInfo();
}

void SubtitleTrackInfo::SetDefault()
{
    *this = SubtitleTrackInfo();
}
