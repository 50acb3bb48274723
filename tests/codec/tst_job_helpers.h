#pragma once
// Shared helpers of the job tests: run a merge through the C API, read pictures and levels back with the
// ffmpeg tool.

#include "FFprobe.h"
#include "MediaFixtures.h"
#include "TestSupport.h"
#include "rscodec.h"

#include <QElapsedTimer>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

namespace jobtest {

struct Task
{
    QString path;
    quint64 startUs = 0;
    quint64 durationUs = 0;
    rsc_edit *edit = nullptr; // released by runMerge
};

struct Outcome
{
    bool opened = false;
    int tasksAdded = 0;
    bool failed = false;
    QString error;
    quint64 total = 0; // rsc_job_total of the last task run
};

// Opens the output, adds each task after the previous finished, closes. Stops at the first refused task.
inline Outcome runMerge(bool lossless, const QString &out, const QString &container, QList<Task> tasks,
                        rsc_edit *openEdit = nullptr)
{
    Outcome r;
    rsc_job *job =
        lossless ? rsc_job_create_merge_lossless(RSC_CREATE_DEFAULT) : rsc_job_create_merge(RSC_CREATE_DEFAULT);
    r.opened = rsc_job_open_output(job, out.toUtf8().constData(), container.toUtf8().constData(), openEdit) == 1 &&
               rsc_job_start(job) == 1;
    rsc_edit_release(openEdit);
    for (Task &t : tasks) {
        if (!r.opened || r.failed) {
            rsc_edit_release(t.edit);
            continue;
        }
        const int added = rsc_job_add_task(job, t.path.toUtf8().constData(), t.startUs, t.durationUs, t.edit);
        rsc_edit_release(t.edit);
        if (added != 1) {
            r.failed = true;
            r.error = QString::fromUtf8(rsc_job_error(job));
            break;
        }
        ++r.tasksAdded;
        QElapsedTimer timer;
        timer.start();
        while (!rsc_job_is_finished(job) && timer.elapsed() < 240000)
            rsc_job_wait(job, 50);
        r.total = rsc_job_total(job);
        if (rsc_job_is_failed(job) || !rsc_job_is_finished(job)) {
            r.failed = true;
            r.error = QString::fromUtf8(rsc_job_error(job));
        }
    }
    if (rsc_job_close(job) != 1 && !r.failed) {
        r.failed = true;
        r.error = QString::fromUtf8(rsc_job_error(job));
    }
    rsc_job_release(job);
    return r;
}

inline QString longClip()
{
    // Long enough that a stop lands in the middle of the task in both modes.
    return rstest::MediaFixtures::make(
        {QStringLiteral("stop_720p.mp4"),
         QString::fromLatin1("-f lavfi -i testsrc2=size=1280x720:rate=30:duration=20 -f lavfi -i "
                             "sine=frequency=440:sample_rate=48000:duration=20 -c:v libx264 -preset ultrafast "
                             "-pix_fmt yuv420p -c:a aac")
             .split(QLatin1Char(' '))});
}

inline QByteArray ffmpegOut(const QStringList &args, QByteArray *err = nullptr)
{
    QProcess p;
    p.start(QStringLiteral("ffmpeg"), QStringList{QStringLiteral("-hide_banner"), QStringLiteral("-nostdin")} + args);
    p.waitForFinished(120000);
    if (err)
        *err = p.readAllStandardError();
    return p.readAllStandardOutput();
}

// MD5 of each packet's payload with its size, in order (side data left out: containers attach their own).
inline QStringList payloadDigests(const QString &path, const QString &selector, const QString &bitstreamFilter = {})
{
    return rstest::FFprobe::packetDigests(path, selector, bitstreamFilter);
}

// The picture shown at `seconds`, as RGB.
inline QImage frameAt(const QString &path, double seconds)
{
    QByteArray err;
    // Seeking after opening decodes from the start: exact whatever the keyframe spacing.
    const QByteArray png =
        ffmpegOut({QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-i"), path, QStringLiteral("-ss"),
                   QString::number(seconds), QStringLiteral("-frames:v"), QStringLiteral("1"), QStringLiteral("-f"),
                   QStringLiteral("image2pipe"), QStringLiteral("-c:v"), QStringLiteral("png"), QStringLiteral("-")},
                  &err);
    QImage img;
    img.loadFromData(png, "PNG");
    return img.convertToFormat(QImage::Format_RGB32);
}

// Mean level in dB of the first audio stream (volumedetect), between from and from + length seconds.
inline double meanVolume(const QString &path, double from = 0, double length = 0)
{
    QStringList args{QStringLiteral("-ss"), QString::number(from)};
    if (length > 0)
        args << QStringLiteral("-t") << QString::number(length);
    args << QStringLiteral("-i") << path << QStringLiteral("-map") << QStringLiteral("0:a:0") << QStringLiteral("-af")
         << QStringLiteral("volumedetect") << QStringLiteral("-f") << QStringLiteral("null") << QStringLiteral("-");
    QByteArray err;
    ffmpegOut(args, &err);
    const auto m = QRegularExpression(QStringLiteral("mean_volume: (-?[0-9.]+) dB")).match(QString::fromUtf8(err));
    return m.hasMatch() ? m.captured(1).toDouble() : -1000.0;
}

inline double channelMean(const QImage &img, const QRect &area, int channel)
{
    double sum = 0;
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = img.pixel(x, y);
            sum += channel == 0 ? qRed(p) : channel == 1 ? qGreen(p) : qBlue(p);
            ++n;
        }
    }
    return n ? sum / n : 0;
}

// Empty when the chapter spans `found` are `expected` (start and end pairs in seconds, within a frame and a
// sound packet), none starting before the file or ending after it; else the chapters found.
inline QString spanMismatch(const QList<double> &found, const QList<double> &expected, const QString &path)
{
    const double length = rstest::FFprobe::durationSeconds(path);
    bool same = found.size() == expected.size();
    QStringList spans;
    for (int i = 0; i + 1 < found.size(); i += 2) {
        const double start = found[i], end = found[i + 1];
        spans << QStringLiteral("%1-%2").arg(start).arg(end);
        same = same && start >= 0 && end <= length + 0.001 && qAbs(start - expected.value(i)) <= 0.07 &&
               qAbs(end - expected.value(i + 1)) <= 0.07;
    }
    return same ? QString() : QStringLiteral("chapters %1 in %2 s").arg(spans.join(QStringLiteral(", "))).arg(length);
}

// The same for the chapters ffprobe reads.
inline QString chapterMismatch(const QString &path, const QList<double> &expected)
{
    const QJsonArray chapters = rstest::FFprobe::probe(path).value(QStringLiteral("chapters")).toArray();
    QList<double> found;
    for (const QJsonValue &c : chapters) {
        found << c.toObject().value(QStringLiteral("start_time")).toString().toDouble()
              << c.toObject().value(QStringLiteral("end_time")).toString().toDouble();
    }
    return spanMismatch(found, expected, path);
}

// Start and end pairs (seconds) of every chapter a Matroska file stores, in its order, as mkvextract reads
// them: FFmpeg's reader leaves out a chapter that starts before one read earlier.
inline QList<double> storedMatroskaChapters(const QString &path)
{
    QProcess p;
    p.start(QStringLiteral("mkvextract"), {path, QStringLiteral("chapters"), QStringLiteral("-")});
    p.waitForFinished(60000);
    const QString xml = QString::fromUtf8(p.readAllStandardOutput());
    QList<double> spans;
    static const QRegularExpression time(
        QStringLiteral("<ChapterTime(?:Start|End)>(\\d+):(\\d+):(\\d+\\.\\d+)</ChapterTime(?:Start|End)>"));
    for (auto m = time.globalMatch(xml); m.hasNext();) {
        const auto t = m.next();
        spans << t.captured(1).toInt() * 3600 + t.captured(2).toInt() * 60 + t.captured(3).toDouble();
    }
    return spans;
}

// Chapters for a clip's edits: within the first second, across a trim end at 2 s, and beyond any clip at 5 s,
// at the largest signed time and at the largest time.
inline void addChaptersAtTheLimits(rsc_edit *e)
{
    rsc_edit_add_chapter(e, 0, 1000000, "Opening");
    rsc_edit_add_chapter(e, 1500000, 10000000, "Across the end");
    rsc_edit_add_chapter(e, 5000000, 1000000, "After the clip");
    rsc_edit_add_chapter(e, quint64(INT64_MAX), 1000000, "Far beyond");
    rsc_edit_add_chapter(e, ~quint64(0) - 1, ~quint64(0), "At the end of time");
}

} // namespace jobtest
