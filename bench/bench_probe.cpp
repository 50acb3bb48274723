// Probes 100 generated media files in-process and with one ffprobe run per file, and prints files per
// second for both. Usage: bench_probe [file count]
#include "MediaFixtures.h"
#include "TestSupport.h"
#include "rscodec.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <cstdio>

namespace {

// What the clip probe reads of a file: presence, geometry, duration, names, every stream's values.
bool probeInProcess(const QByteArray &path, bool withThumbnail)
{
    rsc_info *info = rsc_info_create(RSC_CREATE_DEFAULT);
    bool ok = rsc_info_open_file(info, path.constData()) == 1;
    if (ok) {
        volatile uint64_t sink = rsc_info_duration(info) + rsc_info_video_width(info) + rsc_info_video_height(info) +
                                 rsc_info_has_video(info) + rsc_info_has_audio(info);
        (void)rsc_info_get_metadata(info, "ffmpeg_format");
        (void)rsc_info_get_metadata(info, "major_brand");
        (void)rsc_info_get_metadata(info, "cover_image");
        for (int kind : {RSC_STREAM_VIDEO, RSC_STREAM_AUDIO, RSC_STREAM_SUBTITLE}) {
            const uint32_t count = kind == RSC_STREAM_VIDEO   ? rsc_info_video_count(info)
                                   : kind == RSC_STREAM_AUDIO ? rsc_info_audio_count(info)
                                                              : rsc_info_subtitle_count(info);
            for (uint32_t i = 0; i < count; ++i) {
                if (kind == RSC_STREAM_VIDEO)
                    rsc_info_set_video_index(info, i);
                else if (kind == RSC_STREAM_AUDIO)
                    rsc_info_set_audio_index(info, i);
                else
                    rsc_info_set_subtitle_index(info, i);
                (void)rsc_info_stream_title(info, kind);
                (void)rsc_info_stream_format(info, kind);
                (void)rsc_info_stream_language(info, kind);
                for (int n = 1; n <= 7; ++n)
                    sink = sink + rsc_info_stream_value(info, kind, n);
                (void)rsc_info_stream_private_data(info, kind);
            }
        }
        if (withThumbnail && rsc_info_has_video(info)) {
            unsigned char *image = rsc_info_get_video_image(info, rsc_info_duration(info) / 3, 1, 120, 67, 0);
            ok = image != nullptr;
            rsc_info_free_video_image(info, image);
        }
    }
    rsc_info_release(info);
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
    const int count = argc > 1 ? QString(argv[1]).toInt() : 100;

    // The standard clips, copied round-robin into `count` distinct files.
    const QString dir = rstest::scratchDir("bench-probe");
    const QStringList names = {"h264_aac.mp4",  "h264_aac.mov",  "mkv_subs_chapters_2audio.mkv",
                               "vp9_opus.webm", "mpeg4_mp3.avi", "h264_aac.ts",
                               "flv1_mp3.flv",  "h263_aac.3gp",  "theora_vorbis.ogv",
                               "audio.mp3",     "audio.m4a",     "audio.flac",
                               "audio.wav",     "audio.ogg",     "cover_art.mp3",
                               "odd_size.mkv",  "rotated90.mp4", "video_only.mp4"};
    QStringList files;
    for (int i = 0; i < count; ++i) {
        const QString source = rstest::MediaFixtures::standard(names[i % names.size()]);
        const QString target = QString("%1/%2_%3").arg(dir).arg(i, 3, 10, QChar('0')).arg(QFileInfo(source).fileName());
        QFile::remove(target);
        if (!QFile::copy(source, target)) {
            std::fprintf(stderr, "cannot copy %s\n", qPrintable(source));
            return 1;
        }
        files << target;
    }

    int failures = 0;
    filesPerSecond(
        files, [](const QString &f) { return probeInProcess(f.toUtf8(), false); }, &failures); // warm-up
    failures = 0;
    const double inProcess = filesPerSecond(
        files, [](const QString &f) { return probeInProcess(f.toUtf8(), false); }, &failures);
    const double withThumb = filesPerSecond(
        files, [](const QString &f) { return probeInProcess(f.toUtf8(), true); }, &failures);
    const double ffprobe = filesPerSecond(files, probeWithFfprobe, &failures);

    std::printf("files: %d (%d kinds)\n", int(files.size()), int(names.size()));
    std::printf("in-process probe:             %8.1f files/s\n", inProcess);
    std::printf("in-process probe + thumbnail: %8.1f files/s\n", withThumb);
    std::printf("ffprobe per file:             %8.1f files/s\n", ffprobe);
    std::printf("speed-up (probe vs ffprobe):  %8.1fx\n", inProcess / ffprobe);
    std::printf("failures: %d\n", failures);
    return failures == 0 ? 0 : 1;
}
