// Probes generated media files as the program's clip probe does (information and a thumbnail) and with one
// ffprobe run per file, and prints files per second for both.
//
//   bench_probe [file count, default 100] [--runs N, default 5] [--key-frame] [--by-kind]
//
// --by-kind: also the time of the open (with every value the probe reads) and of the thumbnail for one file
// of each kind, median [min-max] in ms, to show where a probe's time goes.
// --dump DIR: writes, for one file of each kind, every value the probe read (a text) and the thumbnail
// (a BMP) into DIR, to compare two builds of the library (cmp -r).
// --ours-only: no ffprobe side, for profiling the library (perf record bench_probe --ours-only).
// --key-frame: the thumbnail from the key frame at or before a third of the clip (mode 0) instead of the
// picture showing there (mode 1, what the program asks for), to show what that choice would cost.
//
// The files are the standard test clips plus 1080p clips as users have them (H.264 High with B-frames and
// a 2 s key frame spacing, 8-bit 4:2:0 and 10-bit 4:4:4), copied round-robin into distinct files. The two
// sides run interleaved (A B, B A ...); each figure is the median of N passes with the slowest and fastest
// pass beside it.
#include "BenchStats.h"
#include "MediaFixtures.h"
#include "TestSupport.h"
#include "rscodec.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using rsbench::loadAverage;
using rsbench::Spread;
using rsbench::spreadOf;

// What the clip probe reads of a file: presence, geometry, duration, names, every stream's values.
uint32_t s_thumbnailMode = 1;
// Where --dump records what the probe read, or null.
QByteArray *s_values = nullptr;
QByteArray *s_thumbnail = nullptr;

template <typename T> void note(const char *what, T value)
{
    if (s_values)
        *s_values += QByteArray(what) + ' ' + QByteArray::number(qulonglong(value)) + '\n';
}
void noteText(const char *what, const void *text)
{
    if (s_values)
        *s_values += QByteArray(what) + ' ' + (text ? QByteArray(static_cast<const char *>(text)) : "(null)") + '\n';
}

bool probeInProcess(const QByteArray &path, bool withThumbnail, double *infoMs = nullptr, double *thumbMs = nullptr)
{
    QElapsedTimer timer;
    timer.start();
    rsc_info *info = rsc_info_create(RSC_CREATE_DEFAULT);
    bool ok = rsc_info_open_file(info, path.constData()) == 1;
    if (ok) {
        volatile uint64_t sink = rsc_info_duration(info) + rsc_info_video_width(info) + rsc_info_video_height(info) +
                                 rsc_info_has_video(info) + rsc_info_has_audio(info);
        note("duration", rsc_info_duration(info));
        note("width", rsc_info_video_width(info));
        note("height", rsc_info_video_height(info));
        note("video", rsc_info_has_video(info));
        note("audio", rsc_info_has_audio(info));
        noteText("ffmpeg_format", rsc_info_get_metadata(info, "ffmpeg_format"));
        noteText("major_brand", rsc_info_get_metadata(info, "major_brand"));
        note("cover_image", rsc_info_get_metadata_size(info, "cover_image"));
        note("chapters", rsc_info_chapter_count(info));
        for (int kind : {RSC_STREAM_VIDEO, RSC_STREAM_AUDIO, RSC_STREAM_SUBTITLE}) {
            const uint32_t count = kind == RSC_STREAM_VIDEO   ? rsc_info_video_count(info)
                                   : kind == RSC_STREAM_AUDIO ? rsc_info_audio_count(info)
                                                              : rsc_info_subtitle_count(info);
            note("streams", count);
            for (uint32_t i = 0; i < count; ++i) {
                if (kind == RSC_STREAM_VIDEO)
                    rsc_info_set_video_index(info, i);
                else if (kind == RSC_STREAM_AUDIO)
                    rsc_info_set_audio_index(info, i);
                else
                    rsc_info_set_subtitle_index(info, i);
                noteText("title", rsc_info_stream_title(info, kind));
                noteText("format", rsc_info_stream_format(info, kind));
                noteText("language", rsc_info_stream_language(info, kind));
                for (int n = 1; n <= 7; ++n) {
                    sink = sink + rsc_info_stream_value(info, kind, n);
                    note("value", rsc_info_stream_value(info, kind, n));
                }
                (void)rsc_info_stream_private_data(info, kind);
                note("private_size", rsc_info_stream_private_size(info, kind));
            }
        }
        if (infoMs)
            *infoMs = timer.nsecsElapsed() / 1e6;
        timer.restart();
        const uint32_t w = rsc_info_video_width(info), h = rsc_info_video_height(info);
        if (withThumbnail && rsc_info_has_video(info) && w && h) {
            // The clip probe's thumbnail: the picture shown at a third of the clip, fitted into 120x120.
            const uint32_t boxW = w > h ? 120 : w * 120 / h;
            const uint32_t boxH = w > h ? h * 120 / w : 120;
            unsigned char *image =
                rsc_info_get_video_image(info, rsc_info_duration(info) / 3, s_thumbnailMode, boxW, boxH, 0);
            ok = image != nullptr;
            if (image && s_thumbnail)
                *s_thumbnail =
                    QByteArray(reinterpret_cast<const char *>(image), int(rsc_info_get_video_image_size(info, image)));
            rsc_info_free_video_image(info, image);
        }
    }
    rsc_info_release(info);
    if (thumbMs)
        *thumbMs = timer.nsecsElapsed() / 1e6;
    return ok;
}

bool probeWithFfprobe(const QString &path)
{
    QProcess p;
    p.start("ffprobe", {"-v", "error", "-show_format", "-show_streams", "-show_chapters", "-of", "json", path});
    return p.waitForFinished(30000) && p.exitCode() == 0 && !p.readAllStandardOutput().isEmpty();
}

template <typename F> double filesPerSecond(const QStringList &files, F probe, int *failures)
{
    QElapsedTimer timer;
    timer.start();
    for (const QString &f : files)
        if (!probe(f))
            ++*failures;
    return files.size() / (timer.nsecsElapsed() / 1e9);
}

} // namespace

int main(int argc, char *argv[])
{
    rstest::prepareEnvironment();
    QCoreApplication app(argc, argv);
    int count = 100;
    int runs = 5;
    bool byKind = false;
    bool oursOnly = false;
    QString dumpDir;
    for (int i = 1; i < argc; ++i) {
        if (QByteArray(argv[i]) == "--key-frame")
            s_thumbnailMode = 0;
        else if (QByteArray(argv[i]) == "--dump" && i + 1 < argc)
            dumpDir = QString::fromLocal8Bit(argv[++i]);
        else if (QByteArray(argv[i]) == "--ours-only")
            oursOnly = true;
        else if (QByteArray(argv[i]) == "--by-kind")
            byKind = true;
        else if (QByteArray(argv[i]) == "--runs" && i + 1 < argc)
            runs = std::max(1, QByteArray(argv[++i]).toInt());
        else
            count = std::max(1, QByteArray(argv[i]).toInt());
    }

    // The standard clips, copied round-robin into `count` distinct files.
    const QString dir = rstest::scratchDir("bench-probe");
    const QStringList names = {"h264_aac.mp4",      "h264_aac.mov",        "mkv_subs_chapters_2audio.mkv",
                               "vp9_opus.webm",     "mpeg4_mp3.avi",       "h264_aac.ts",
                               "flv1_mp3.flv",      "h263_aac.3gp",        "theora_vorbis.ogv",
                               "audio.mp3",         "audio.m4a",           "audio.flac",
                               "audio.wav",         "audio.ogg",           "cover_art.mp3",
                               "odd_size.mkv",      "rotated90.mp4",       "video_only.mp4",
                               "hd_high_420p8.mp4", "hd_high444_10bit.mp4"};
    auto clipFor = [](const QString &name) {
        const QString hd = QStringLiteral("-f lavfi -i testsrc2=size=1920x1080:rate=30:duration=10 -f lavfi -i "
                                          "sine=frequency=440:sample_rate=48000:duration=10 -c:a aac -b:a 192k "
                                          "-g 60 -bf 3 -c:v libx264 -preset veryfast ");
        if (name == "hd_high_420p8.mp4")
            return rstest::MediaFixtures::make(
                {name, (hd + "-profile:v high -pix_fmt yuv420p -b:v 12M").split(QLatin1Char(' '))});
        if (name == "hd_high444_10bit.mp4")
            return rstest::MediaFixtures::make(
                {name, (hd + "-profile:v high444 -pix_fmt yuv444p10le -b:v 14M").split(QLatin1Char(' '))});
        return rstest::MediaFixtures::standard(name);
    };
    QStringList files;
    for (int i = 0; i < count; ++i) {
        const QString source = clipFor(names[i % names.size()]);
        const QString target = QString("%1/%2_%3").arg(dir).arg(i, 3, 10, QChar('0')).arg(QFileInfo(source).fileName());
        QFile::remove(target);
        if (!QFile::copy(source, target)) {
            std::fprintf(stderr, "cannot copy %s\n", qPrintable(source));
            return 1;
        }
        files << target;
    }

    // Every side reads the files from the page cache.
    for (const QString &f : files) {
        QFile in(f);
        if (in.open(QIODevice::ReadOnly))
            while (!in.read(1 << 20).isEmpty()) {
            }
    }
    int failures = 0;
    if (!dumpDir.isEmpty()) {
        QDir().mkpath(dumpDir);
        for (int k = 0; k < std::min<int>(names.size(), files.size()); ++k) {
            QByteArray values, thumbnail;
            s_values = &values;
            s_thumbnail = &thumbnail;
            if (!probeInProcess(files[k].toUtf8(), true))
                ++failures;
            s_values = s_thumbnail = nullptr;
            QFile text(dumpDir + QLatin1Char('/') + names[k] + QStringLiteral(".txt"));
            QFile bmp(dumpDir + QLatin1Char('/') + names[k] + QStringLiteral(".bmp"));
            if (!text.open(QIODevice::WriteOnly) || text.write(values) != values.size() ||
                (!thumbnail.isEmpty() && (!bmp.open(QIODevice::WriteOnly) || bmp.write(thumbnail) != thumbnail.size())))
                ++failures;
        }
        std::printf("dumped %d kinds into %s; failures: %d\n", int(std::min<int>(names.size(), files.size())),
                    qPrintable(dumpDir), failures);
        return failures == 0 ? 0 : 1;
    }
    std::vector<double> withThumb, inProcess, ffprobe;
    for (int r = 0; r < runs; ++r) {
        auto ours = [&] {
            withThumb.push_back(filesPerSecond(
                files, [](const QString &f) { return probeInProcess(f.toUtf8(), true); }, &failures));
        };
        auto theirs = [&] {
            if (oursOnly)
                return;
            ffprobe.push_back(filesPerSecond(files, probeWithFfprobe, &failures));
        };
        if (r % 2 == 0) {
            ours();
            theirs();
        } else {
            theirs();
            ours();
        }
        inProcess.push_back(filesPerSecond(
            files, [](const QString &f) { return probeInProcess(f.toUtf8(), false); }, &failures));
    }
    const Spread a = spreadOf(withThumb), b = spreadOf(inProcess), c = spreadOf(ffprobe);
    std::printf("files: %d (%d kinds); median [min-max] of %d interleaved passes; load average %s\n", int(files.size()),
                int(names.size()), runs, qPrintable(loadAverage()));
    std::printf("clip probe with thumbnail (%s): %8.1f files/s [%.1f-%.1f]\n",
                s_thumbnailMode == 1 ? "as the program" : "key frame     ", a.median, a.min, a.max);
    std::printf("ffprobe, one process per file:              %8.1f files/s [%.1f-%.1f]\n", c.median, c.min, c.max);
    std::printf("speed-up (probe with thumbnail vs ffprobe): %8.1fx\n", a.median / c.median);
    std::printf("information only, no thumbnail:             %8.1f files/s [%.1f-%.1f]\n", b.median, b.min, b.max);
    if (byKind) {
        std::printf("%-32s %22s %22s\n", "per file (ms)", "open and values", "thumbnail and close");
        for (int k = 0; k < std::min<int>(names.size(), files.size()); ++k) {
            std::vector<double> open, thumb;
            for (int r = 0; r < runs; ++r) {
                double a = 0, b = 0;
                if (!probeInProcess(files[k].toUtf8(), true, &a, &b))
                    ++failures;
                open.push_back(a);
                thumb.push_back(b);
            }
            const Spread o = spreadOf(open), t = spreadOf(thumb);
            std::printf("%-32s %7.2f [%6.2f-%6.2f] %7.2f [%6.2f-%6.2f]\n", qPrintable(names[k]), o.median, o.min, o.max,
                        t.median, t.min, t.max);
        }
    }
    std::printf("failures: %d\n", failures);
    return failures == 0 ? 0 : 1;
}
