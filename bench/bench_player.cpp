// Plays generated 1080p30 clips through the player as the program's preview controller drives it (sound
// output requested, both frame handlers set, the edited preview at 640x360, 50 ms position steps) and
// reports whether every frame reached the frame handler on time, the CPU time used per second of playback
// (getrusage), the latency of exact seeks to the frame shown (one after another, and on their own), and the
// latency of the end of a slider drag (the asynchronous seek pair the preview uses: begin with a 2 s lag,
// seeks, end) to the exact frame shown.
//
//   bench_player [seconds to play, default 8] [--runs N, default 5]
//
// Clips: H.264 High 8-bit 4:2:0 and H.264 High 4:4:4 10-bit, both with B-frames and a 2 s key frame
// spacing. Each figure is the median of N runs with the fastest and slowest beside it; the clips take turns.
#include "BenchStats.h"
#include "MediaFixtures.h"
#include "TestSupport.h"
#include "rscodec.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <random>
#include <string>
#include <vector>

namespace {

using rsbench::loadAverage;
using rsbench::Spread;
using rsbench::spreadOf;

constexpr double kFps = 30.0;

struct Arrivals
{
    std::mutex mutex;
    std::vector<qint64> ns; // arrival times of the untouched frames
    QElapsedTimer clock;
    std::atomic<int> edited{0};
};

unsigned int onOriginal(void *user, void *frame)
{
    auto *a = static_cast<Arrivals *>(user);
    rsc_frame *f = rsc_frame_reference(frame);
    volatile unsigned char sink = f ? rsc_frame_data(f, 0)[0] : 0;
    (void)sink;
    rsc_frame_release(f);
    std::lock_guard<std::mutex> lock(a->mutex);
    a->ns.push_back(a->clock.nsecsElapsed());
    return 1;
}

unsigned int onEdited(void *user, void *frame)
{
    auto *a = static_cast<Arrivals *>(user);
    rsc_frame *f = rsc_frame_reference(frame);
    rsc_frame_release(f);
    a->edited++;
    return 1;
}

double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_utime.tv_usec / 1e6 + u.ru_stime.tv_sec + u.ru_stime.tv_usec / 1e6;
}

struct PlayResult
{
    double cpuShare = -1; // of one core
    int late = 0;
    double worstMs = 0;
    size_t delivered = 0, expected = 0;
};

// The player as the preview controller opens it: sound output requested (without a device the player
// keeps time by the clock), the edited preview on.
rsc_player *openLikeTheProgram(const QByteArray &path, Arrivals &a)
{
    rsc_player *player = rsc_player_create(RSC_CREATE_DEFAULT);
    if (rsc_player_open(player, path.constData(), 640, 360, 0, 0) != 1) {
        std::printf("cannot open %s\n", path.constData());
        rsc_player_release(player);
        return nullptr;
    }
    rsc_player_set_time_interval(player, 50000);
    rsc_player_seek(player, 0);
    rsc_player_set_video_frame_handler(player, &onEdited, &a);
    rsc_player_set_original_video_frame_handler(player, &onOriginal, &a);
    return player;
}

PlayResult playRun(const QByteArray &path, double seconds)
{
    Arrivals a;
    rsc_player *player = openLikeTheProgram(path, a);
    if (!player)
        return {};
    rsc_player_seek(player, 0);
    {
        std::lock_guard<std::mutex> lock(a.mutex);
        a.ns.clear(); // the frame the seek showed
    }
    const double cpu0 = cpuSeconds();
    a.clock.start();
    rsc_player_play(player);
    QThread::msleep(static_cast<unsigned long>(seconds * 1000));
    rsc_player_pause(player);
    const double wall = a.clock.nsecsElapsed() / 1e9;
    const double cpu = cpuSeconds() - cpu0;
    const double played = rsc_player_play_time(player) / 1e6;
    std::vector<qint64> ns;
    {
        std::lock_guard<std::mutex> lock(a.mutex);
        ns = a.ns;
    }
    rsc_player_release(player);

    // Frame i is due at i / fps after the start; the first one sets the offset of the whole run.
    const qint64 frameNs = static_cast<qint64>(1e9 / kFps);
    const size_t expected = static_cast<size_t>(played * kFps);
    qint64 worst = 0, total = 0;
    int late = 0;
    for (size_t i = 0; i < ns.size(); ++i) {
        const qint64 lateness = ns[i] - (ns.front() + static_cast<qint64>(i) * frameNs);
        worst = std::max(worst, lateness);
        total += std::max<qint64>(0, lateness);
        if (lateness > frameNs / 2)
            ++late;
    }
    (void)total;
    PlayResult r;
    r.cpuShare = 100.0 * cpu / wall;
    r.late = late;
    r.worstMs = worst / 1e6;
    r.delivered = ns.size();
    r.expected = expected;
    return r;
}

// Opens the player as the program does, runs `count` rounds of `one` (each answers its milliseconds) and
// answers their median; -1 when the player does not open.
template <typename Round> double medianOfRounds(const QByteArray &path, int count, Round one)
{
    Arrivals a;
    rsc_player *player = openLikeTheProgram(path, a);
    if (!player)
        return -1;
    std::vector<double> ms;
    for (int i = 0; i < count; ++i)
        ms.push_back(one(player, a));
    std::sort(ms.begin(), ms.end());
    rsc_player_release(player);
    return (ms[ms.size() / 2 - 1] + ms[ms.size() / 2]) / 2;
}

// Median latency of exact seeks to random positions, as the preview controller seeks: `count` of them,
// `gapMs` apart (0: one after another, as clicks or keys across the timeline; a run of seeks leaves the
// frames after each target undecoded, a seek on its own decodes on past its target).
double seekRun(const QByteArray &path, double duration, unsigned seed, int count = 30, int gapMs = 0)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> at(0.0, duration);
    return medianOfRounds(path, count, [&](rsc_player *player, Arrivals &) {
        if (gapMs > 0)
            QThread::msleep(static_cast<unsigned long>(gapMs));
        const uint64_t target = static_cast<uint64_t>(at(random) * 1e6);
        QElapsedTimer t;
        t.start();
        rsc_player_seek(player, target); // returns once the frame at the target was handed out
        return t.nsecsElapsed() / 1e6;
    });
}

// Median latency of the end of 30 drags, as the preview's slider drives them: press (begin, 2 s lag), moves
// towards a random position, each shown before the next, and release (end), which lands exactly.
double dragRun(const QByteArray &path, double duration, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> at(0.5, duration);
    return medianOfRounds(path, 30, [&](rsc_player *player, Arrivals &a) {
        const double target = at(random);
        rsc_player_begin_async_seek(player, 2000000);
        for (double back : {0.5, 0.25, 0.0}) {
            const int before = a.edited;
            rsc_player_seek(player, static_cast<uint64_t>((target - back) * 1e6));
            QElapsedTimer shown;
            shown.start();
            while (a.edited == before && shown.elapsed() < 2000)
                QThread::msleep(1);
        }
        QElapsedTimer t;
        t.start();
        rsc_player_end_async_seek(player); // returns once the frame at the target was handed out
        return t.nsecsElapsed() / 1e6;
    });
}

} // namespace

int main(int argc, char *argv[])
{
    rstest::prepareEnvironment();
    QCoreApplication app(argc, argv);
    double seconds = 8.0;
    int runs = 5;
    for (int i = 1; i < argc; ++i) {
        if (QByteArray(argv[i]) == "--runs" && i + 1 < argc)
            runs = std::max(1, QByteArray(argv[++i]).toInt());
        else
            seconds = std::max(1.0, QByteArray(argv[i]).toDouble());
    }
    const QString hd = QStringLiteral("-f lavfi -i testsrc2=size=1920x1080:rate=30:duration=12 -f lavfi -i "
                                      "sine=frequency=440:sample_rate=48000:duration=12 -c:a aac -b:a 128k -g 60 -bf 3 "
                                      "-c:v libx264 -preset veryfast ");
    struct Clip
    {
        const char *label;
        QString path;
    };
    const std::vector<Clip> clips = {
        {"H.264 High 8-bit 4:2:0",
         rstest::MediaFixtures::make({QStringLiteral("bench_1080p30_high_420p8.mp4"),
                                      (hd + "-profile:v high -pix_fmt yuv420p -crf 23").split(QLatin1Char(' '))})},
        {"H.264 High 4:4:4 10-bit",
         rstest::MediaFixtures::make(
             {QStringLiteral("bench_1080p30_high444_10bit.mp4"),
              (hd + "-profile:v high444 -pix_fmt yuv444p10le -crf 23").split(QLatin1Char(' '))})},
    };
    for (const Clip &c : clips) {
        if (c.path.isEmpty()) {
            std::printf("could not generate the clip %s\n", c.label);
            return 1;
        }
    }
    std::printf("clips: 1920x1080, 30 fps, 12 s, B-frames, 2 s key frame spacing; %d cores; load average %s\n",
                QThread::idealThreadCount(), qPrintable(loadAverage()));
    std::printf("player opened as the program opens it: edited preview 640x360 on, both frame handlers\n");
    std::vector<std::vector<double>> cpu(clips.size()), seek(clips.size()), lone(clips.size()), drag(clips.size());
    std::vector<int> late(clips.size());
    std::vector<double> worst(clips.size());
    std::vector<size_t> delivered(clips.size()), expected(clips.size());
    for (int r = 0; r < runs; ++r) {
        for (size_t k = 0; k < clips.size(); ++k) {
            const size_t i = (k + size_t(r)) % clips.size();
            const QByteArray path = clips[i].path.toUtf8();
            const PlayResult p = playRun(path, seconds);
            if (p.cpuShare < 0)
                return 1;
            cpu[i].push_back(p.cpuShare);
            late[i] += p.late;
            worst[i] = std::max(worst[i], p.worstMs);
            delivered[i] += p.delivered;
            expected[i] += p.expected;
            seek[i].push_back(seekRun(path, 11.5, unsigned(7 + r)));
            lone[i].push_back(seekRun(path, 11.5, unsigned(107 + r), 10, 400));
            drag[i].push_back(dragRun(path, 11.5, unsigned(7 + r)));
        }
    }
    for (size_t i = 0; i < clips.size(); ++i) {
        const Spread c = spreadOf(cpu[i]), s = spreadOf(seek[i]), l = spreadOf(lone[i]), d = spreadOf(drag[i]);
        std::printf("%s (median [min-max] of %d runs of %.0f s):\n", clips[i].label, runs, seconds);
        std::printf("  playback CPU: %.0f%% of one core [%.0f-%.0f]; frames %zu of %zu, %d late by more than half a "
                    "frame, worst %.1f ms\n",
                    c.median, c.min, c.max, delivered[i], expected[i], late[i], worst[i]);
        std::printf("  exact seek (median of 30 random seeks per run): %.1f ms [%.1f-%.1f]\n", s.median, s.min, s.max);
        std::printf("  exact seek on its own (median of 10 seeks 400 ms apart per run): %.1f ms [%.1f-%.1f]\n",
                    l.median, l.min, l.max);
        std::printf("  end of a drag to the exact frame (median of 30 per run): %.1f ms [%.1f-%.1f]\n", d.median, d.min,
                    d.max);
    }
    return 0;
}
