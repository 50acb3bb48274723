#pragma once
// Checks of media outputs with the `ffprobe` and `ffmpeg` tools.

#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QVector>

namespace rstest {

class FFprobe
{
public:
    // -show_format -show_streams -show_chapters as JSON; an empty object when ffprobe fails.
    static QJsonObject probe(const QString &path);
    static QJsonArray streams(const QString &path, const QString &codecType = QString());
    static double durationSeconds(const QString &path); // the container's duration
    static double streamDurationSeconds(const QString &path, const QString &codecType);

    struct Packet
    {
        qint64 pts = 0;
        qint64 dts = 0;
        double ptsTime = 0;
        double dtsTime = 0;
        double durationTime = 0;
        qint64 size = 0;
        bool key = false;
    };
    // Packets of one stream selector (e.g. "v:0", "a:0").
    static QVector<Packet> packets(const QString &path, const QString &selector);

    // True when the packets' dts strictly increase (pts for streams without dts).
    static bool strictlyMonotonic(const QVector<Packet> &packets, QString *where = nullptr);

    // Decodes every stream fully; answers ffmpeg's error output (empty = clean decode).
    static QString decodeErrors(const QString &path);

    // Per-packet MD5 lines of the copied streams (`-c copy -f framemd5`), without header lines and
    // timestamps or side data: the packet payload digests in order, for byte-for-byte comparisons of lossless joins.
    // `bitstreamFilter` undoes a container's own framing first (e.g. "aac_adtstoasc").
    static QStringList packetDigests(const QString &path, const QString &selector,
                                     const QString &bitstreamFilter = QString());
};

} // namespace rstest
