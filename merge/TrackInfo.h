#pragma once
// One record per stream of a clip's source file. Each record owns a copy of the stream's codec private
// data; copies are deep. The lossless test of the clip list compares the values marked below.

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// The owned private-data buffer shared by the three records: null with a size of 0.
class TrackPrivateData
{
public:
    TrackPrivateData() = default;
    TrackPrivateData(const TrackPrivateData &o);
    TrackPrivateData &operator=(const TrackPrivateData &o);
    ~TrackPrivateData();

    void assign(const unsigned char *bytes, int size);
    void reset();
    // Equal counts and equal bytes over that count; two empty buffers are equal.
    bool sameAs(const TrackPrivateData &o) const;

    qint32 privateDataSize = 0;
    unsigned char *privateData = nullptr;
};

struct VideoTrackInfo : TrackPrivateData
{
    void SetDefault();

    qint32 index = -1;
    QByteArray label;
    QByteArray title;
    QByteArray spare;
    QByteArray formatName;
    quint32 value1 = 0; // codec (compared)
    quint32 width = 0;
    quint32 height = 0;
    quint32 value2 = 0; // pixel format / profile (compared)
    quint32 value3 = 0; // (compared)
    quint64 value4 = 0;
    quint32 aspectX = 0;
    quint32 aspectY = 0;
    quint32 value5 = 0;
    quint32 value6 = 0;
    quint32 value7 = 0;
    QByteArray language;
};

struct AudioTrackInfo : TrackPrivateData
{
    void SetDefault();

    qint32 index = -1;
    QByteArray label;
    QByteArray title;
    QByteArray formatName;
    quint32 value1 = 0; // stays 0 (compared)
    quint32 value2 = 0; // (compared)
    quint32 value3 = 0; // (compared)
    quint32 value4 = 0; // (compared)
    quint32 value5 = 0;
    quint32 value6 = 0;
    quint64 value7 = 0;
    QByteArray language;
};

struct SubtitleTrackInfo : TrackPrivateData
{
    void SetDefault();

    QByteArray source; // "Embedded" for streams found in the file
    qint32 index = -1;
    QByteArray label;
    QByteArray title;
    QByteArray formatName;
    quint32 value1 = 0; // stays 0 (compared)
    QByteArray spare;
    QByteArray language;
    quint64 value2 = 0;
};

// One subtitle source of a clip as the subtitle page offers it.
struct subltItemInfo
{
    QString label;
    QByteArray filePath; // UTF-8; empty for every entry that is not a file
};
