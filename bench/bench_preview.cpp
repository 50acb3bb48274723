// The main window's preview as the pane drives it:
//  - the ten strip thumbnails of a two-hour 1080p H.264 file (key frames every 10 s), taken as the pane's
//    worker takes them, against the time one still image at the start takes (the anchor);
//  - seeks from the strip on a 1080p30 clip through the preview's player object: a key-frame seek while
//    the strip is dragged and the exact landing on release, each timed until the frame shown is the one
//    asked for.
//
//  - with --play S: the 1080p30 clip played over and over for S seconds in a shown 960x540 preview window
//    (the OpenGL view, so run it under X, e.g. xvfb-run), reporting the CPU time the whole program used
//    per second of play and its resident memory at the start and the end.
//
//   bench_preview [--runs N, default 5] [--play S]
//
// Each figure is the median of N runs with the fastest and slowest beside it.
#include "MediaFixtures.h"
#include "PreviewThumbnails.h"
#include "TestSupport.h"
#include "VideoImageWindow.h"
#include "ZTPlayerClass.h"
#include "ZTQPlayObject.h"

#include "rscodec.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <random>
#include <vector>

namespace {

struct Spread
{
    double median, min, max;
};

Spread spread(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    if (v.empty())
        return {0, 0, 0};
    return {v[v.size() / 2], v.front(), v.back()};
}

QString longClip()
{
    return rstest::MediaFixtures::make(
        {QStringLiteral("bench_preview_2h.mp4"),
         QString::fromLatin1("-f lavfi -i testsrc2=size=1920x1080:rate=1:duration=7200 -c:v libx264 -preset ultrafast "
                             "-g 10 -pix_fmt yuv420p")
             .split(QLatin1Char(' '))});
}

QString clip1080()
{
    return rstest::MediaFixtures::make(
        {QStringLiteral("bench_preview_1080p30.mp4"),
         QString::fromLatin1("-f lavfi -i testsrc2=size=1920x1080:rate=30:duration=20 "
                             "-f lavfi -i sine=frequency=440:sample_rate=48000:duration=20 "
                             "-c:v libx264 -preset veryfast -g 60 -bf 2 -pix_fmt yuv420p -c:a aac -shortest")
             .split(QLatin1Char(' '))});
}

double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_utime.tv_usec / 1e6 + u.ru_stime.tv_sec + u.ru_stime.tv_usec / 1e6;
}

double residentMiB()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = f.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * sysconf(_SC_PAGESIZE) / (1024.0 * 1024.0) : 0;
}

// Plays the clip for `seconds` in a shown window, starting it again whenever it ends.
// mode 0: the window shown; 1: hidden (frames still copied and uploaded); 2: no window (decoding only).
int playFor(const QString &clip, int seconds, int mode)
{
    VideoImageWindow window;
    window.resize(960, 540);
    if (mode == 0)
        window.show();
    ZTQPlayObject player;
    if (mode != 2)
        player.SetPlayWindows(&window);
    if (!player.SetPlayFile(clip, 0, 0)) {
        std::printf("cannot open the 1080p clip\n");
        return 1;
    }
    QTimer again;
    QObject::connect(&again, &QTimer::timeout, [&player] {
        if (player.status() == ZTQPlayObject::StatusFinished)
            player.StartPlay();
    });
    again.start(100);
    player.StartPlay();
    // Warm-up: the first second opens the sound device and the GL view. The waits run the event loop (a
    // processEvents loop would spin and be measured).
    const auto wait = [](int ms) {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    };
    wait(1000);
    const double rssStart = residentMiB();
    double peak = rssStart, rssAt10 = 0;
    const double cpu0 = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    QTimer sample;
    QObject::connect(&sample, &QTimer::timeout, [&] {
        peak = std::max(peak, residentMiB());
        if (rssAt10 == 0 && wall.elapsed() >= 10000)
            rssAt10 = residentMiB();
    });
    sample.start(500);
    wait(seconds * 1000);
    sample.stop();
    const double cpu = (cpuSeconds() - cpu0) / (wall.elapsed() / 1000.0);
    std::printf("1080p30 preview play for %d s, window %s: %.0f %% of one core (the whole program); resident %.0f "
                "MiB at the start, %.0f MiB after 10 s, %.0f MiB at the end, %.0f MiB at most; target under 100 %%, "
                "memory flat\n",
                seconds,
                mode == 0   ? "shown"
                : mode == 1 ? "hidden (frames still uploaded)"
                            : "absent (decoding only)",
                cpu * 100, rssStart, rssAt10, residentMiB(), peak);
    return 0;
}

double anchorStill(const QString &path)
{
    QElapsedTimer t;
    t.start();
    rsc_info *info = rsc_info_create(RSC_CREATE_DEFAULT);
    rsc_info_open_file(info, path.toUtf8().constData());
    unsigned char *image = rsc_info_get_video_image(info, 0, 1, 200, 113, 0);
    rsc_info_free_video_image(info, image);
    rsc_info_close(info);
    rsc_info_release(info);
    return t.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    rstest::prepareEnvironment();
    QApplication app(argc, argv);
    int runs = 5;
    int play = 0;
    for (int i = 1; i + 1 < argc; ++i) {
        if (QByteArray(argv[i]) == "--runs")
            runs = std::max(1, atoi(argv[i + 1]));
        if (QByteArray(argv[i]) == "--play")
            play = std::max(1, atoi(argv[i + 1]));
    }
    if (play)
        return playFor(clip1080(), play, 0) + playFor(clip1080(), play, 1) + playFor(clip1080(), play, 2);

    const QString two = longClip();
    std::vector<double> thumbs, anchors;
    int taken = 0;
    for (int r = 0; r < runs; ++r) {
        anchors.push_back(anchorStill(two));
        std::atomic<bool> cancel{false};
        QElapsedTimer t;
        t.start();
        taken = PreviewThumbnails::extract(two, 7200ull * 1000000ull, cancel, {}).size();
        thumbs.push_back(t.nsecsElapsed() / 1e6);
    }
    const Spread s = spread(thumbs), a = spread(anchors);
    std::printf("ten thumbnails of a 2 h 1080p file: %d taken, %.0f ms (%.0f..%.0f); one still at the start "
                "%.0f ms (%.0f..%.0f); ratio %.1f; target under 2000 ms\n",
                taken, s.median, s.min, s.max, a.median, a.min, a.max, a.median > 0 ? s.median / a.median : 0.0);

    ZTQPlayObject player;
    if (!player.SetPlayFile(clip1080(), 0, 0)) {
        std::printf("cannot open the 1080p clip\n");
        return 1;
    }
    ZTPlayerClass *p = player.playerClass();
    const uint64_t duration = p->GetDuration_Player();
    std::mt19937 random(7);
    std::uniform_real_distribution<double> where(0.0, 0.98);
    std::vector<double> drags, landings, clicks;
    for (int r = 0; r < runs * 4; ++r) {
        player.beginAsyncSeek();
        QElapsedTimer t;
        t.start();
        player.ProgressValueChange(where(random));
        drags.push_back(t.nsecsElapsed() / 1e6);
        const double f = where(random);
        t.restart();
        player.ProgressValueChange(f);
        player.endAsyncSeek();
        landings.push_back(t.nsecsElapsed() / 1e6);
        const uint64_t asked = uint64_t(double(duration) * f);
        const uint64_t shown = p->GetVideoTime_Player();
        if (shown + 34000 < asked || shown > asked + 34000)
            std::printf("  landing off: asked %llu, shown %llu\n", (unsigned long long)asked,
                        (unsigned long long)shown);
    }
    for (int r = 0; r < runs * 4; ++r) {
        QElapsedTimer t;
        t.start();
        player.ProgressValueChange(where(random)); // a click on the strip: one exact seek
        clicks.push_back(t.nsecsElapsed() / 1e6);
    }
    const Spread d = spread(drags), l = spread(landings), c = spread(clicks);
    std::printf("strip clicks on 1080p30 (one exact seek): %.1f ms (%.1f..%.1f)\n", c.median, c.min, c.max);
    std::printf("strip seeks on 1080p30: while dragging %.1f ms (%.1f..%.1f), exact landing %.1f ms (%.1f..%.1f); "
                "target under 100 ms\n",
                d.median, d.min, d.max, l.median, l.min, l.max);
    return 0;
}
