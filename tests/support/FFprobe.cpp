#include "FFprobe.h"

#include <QJsonDocument>
#include <QProcess>
#include <QtDebug>

namespace rstest {

namespace {
QByteArray run(const QString &program, const QStringList &args, QByteArray *err = nullptr)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(300000)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    if (err)
        *err = p.readAllStandardError();
    return p.readAllStandardOutput();
}
} // namespace

QJsonObject FFprobe::probe(const QString &path)
{
    const QByteArray out =
        run(QStringLiteral("ffprobe"),
            {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-print_format"), QStringLiteral("json"),
             QStringLiteral("-show_format"), QStringLiteral("-show_streams"), QStringLiteral("-show_chapters"), path});
    return QJsonDocument::fromJson(out).object();
}

QJsonArray FFprobe::streams(const QString &path, const QString &codecType)
{
    const QJsonArray all = probe(path).value(QStringLiteral("streams")).toArray();
    if (codecType.isEmpty())
        return all;
    QJsonArray picked;
    for (const QJsonValue &s : all) {
        if (s.toObject().value(QStringLiteral("codec_type")).toString() == codecType)
            picked.append(s);
    }
    return picked;
}

double FFprobe::durationSeconds(const QString &path)
{
    return probe(path)
        .value(QStringLiteral("format"))
        .toObject()
        .value(QStringLiteral("duration"))
        .toString()
        .toDouble();
}

double FFprobe::streamDurationSeconds(const QString &path, const QString &codecType)
{
    const QString sel = codecType == QLatin1String("video") ? QStringLiteral("v:0") : QStringLiteral("a:0");
    const QVector<Packet> pk = packets(path, sel);
    if (pk.isEmpty())
        return 0;
    double first = pk.first().ptsTime, last = 0;
    for (const Packet &p : pk) {
        first = qMin(first, p.ptsTime);
        last = qMax(last, p.ptsTime + p.durationTime);
    }
    return last - first;
}

QVector<FFprobe::Packet> FFprobe::packets(const QString &path, const QString &selector)
{
    const QByteArray out =
        run(QStringLiteral("ffprobe"), {QStringLiteral("-v"), QStringLiteral("error"),
                                        QStringLiteral("-select_streams"), selector, QStringLiteral("-show_entries"),
                                        QStringLiteral("packet=pts,dts,pts_time,dts_time,duration_time,size,flags"),
                                        QStringLiteral("-of"), QStringLiteral("csv=p=0:nk=0"), path});
    QVector<Packet> result;
    for (const QByteArray &line : out.split('\n')) {
        if (line.trimmed().isEmpty())
            continue;
        Packet p;
        // csv with keys: pts=..,dts=..,...
        for (const QByteArray &field : line.split(',')) {
            const int eq = field.indexOf('=');
            if (eq < 0)
                continue;
            const QByteArray key = field.left(eq), value = field.mid(eq + 1).trimmed();
            if (key == "pts")
                p.pts = value == "N/A" ? INT64_MIN : value.toLongLong();
            else if (key == "dts")
                p.dts = value == "N/A" ? INT64_MIN : value.toLongLong();
            else if (key == "pts_time")
                p.ptsTime = value.toDouble();
            else if (key == "dts_time")
                p.dtsTime = value.toDouble();
            else if (key == "duration_time")
                p.durationTime = value.toDouble();
            else if (key == "size")
                p.size = value.toLongLong();
            else if (key == "flags")
                p.key = value.startsWith('K');
        }
        result.append(p);
    }
    return result;
}

bool FFprobe::strictlyMonotonic(const QVector<Packet> &packets, QString *where)
{
    for (int i = 1; i < packets.size(); ++i) {
        const qint64 a = packets[i - 1].dts != INT64_MIN ? packets[i - 1].dts : packets[i - 1].pts;
        const qint64 b = packets[i].dts != INT64_MIN ? packets[i].dts : packets[i].pts;
        if (b <= a) {
            if (where)
                *where = QStringLiteral("packet %1: %2 after %3").arg(i).arg(b).arg(a);
            return false;
        }
    }
    return true;
}

QString FFprobe::decodeErrors(const QString &path)
{
    QByteArray err;
    run(QStringLiteral("ffmpeg"),
        {QStringLiteral("-hide_banner"), QStringLiteral("-nostdin"), QStringLiteral("-v"), QStringLiteral("error"),
         QStringLiteral("-i"), path, QStringLiteral("-map"), QStringLiteral("0:v?"), QStringLiteral("-map"),
         QStringLiteral("0:a?"), QStringLiteral("-f"), QStringLiteral("null"), QStringLiteral("-")},
        &err);
    return QString::fromUtf8(err).trimmed();
}

QStringList FFprobe::packetDigests(const QString &path, const QString &selector, const QString &bitstreamFilter)
{
    QStringList args{QStringLiteral("-hide_banner"), QStringLiteral("-nostdin"),
                     QStringLiteral("-v"),           QStringLiteral("error"),
                     QStringLiteral("-i"),           path,
                     QStringLiteral("-map"),         QStringLiteral("0:") + selector,
                     QStringLiteral("-c"),           QStringLiteral("copy")};
    if (!bitstreamFilter.isEmpty())
        args << QStringLiteral("-bsf") << bitstreamFilter;
    const QByteArray out =
        run(QStringLiteral("ffmpeg"),
            args + QStringList{QStringLiteral("-f"), QStringLiteral("framemd5"), QStringLiteral("-")});
    QStringList digests;
    for (const QByteArray &line : out.split('\n')) {
        if (line.startsWith('#') || line.trimmed().isEmpty())
            continue;
        const QList<QByteArray> cols = line.split(',');
        if (cols.size() >= 6)
            // Columns: stream, dts, pts, duration, size, payload hash, then side-data entries.
            digests << QString::fromLatin1(cols[5].trimmed()) + QLatin1Char('/') +
                           QString::fromLatin1(cols[4].trimmed());
    }
    return digests;
}

} // namespace rstest
