#pragma once
// A clip's trim as the preview strip reports it: start and end in microseconds from the clip's beginning
// (an end of 0 means the end of the clip), a reserved value kept 0, and the clip's duration.

#include <QMetaType>

#include <cstdint>

struct TrimInfo
{
    uint64_t start = 0;
    uint64_t end = 0;
    uint64_t reserved = 0;
    uint64_t duration = 0;

    bool operator==(const TrimInfo &o) const
    {
        return start == o.start && end == o.end && reserved == o.reserved && duration == o.duration;
    }
    bool operator!=(const TrimInfo &o) const { return !(*this == o); }
};

Q_DECLARE_METATYPE(TrimInfo)
