// Plays a generated 1080p30 H.264 clip silently through the player and reports whether every frame
// reached the frame handler on time, the CPU time used per second of playback (getrusage), and the
// latency of exact seeks to the frame shown. Usage: bench_player [seconds to play, default 8]
#include "MediaFixtures.h"
#include "TestSupport.h"
#include "rscodec.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <random>
#include <vector>

namespace {

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

void playRun(const QByteArray &path, double seconds, bool withEdited)
{
    rsc_player *player = rsc_player_create(RSC_CREATE_DEFAULT & ~RSC_CREATE_AUDIO_OUTPUT);
    Arrivals a;
    if (rsc_player_open(player, path.constData(), withEdited ? 640 : 0, withEdited ? 360 : 0, 0, 0) != 1) {
        std::printf("cannot open %s\n", path.constData());
        rsc_player_release(player);
        return;
    }
    rsc_player_set_original_video_frame_handler(player, &onOriginal, &a);
    if (withEdited)
        rsc_player_set_video_frame_handler(player, &onEdited, &a);
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
    std::printf("%s: played %.2f s in %.2f s wall; frames delivered %zu of %zu; late by more than half a frame: %d; "
                "worst lateness %.1f ms, mean %.2f ms; edited frames %d\n",
                withEdited ? "original + edited 640x360" : "original only", played, wall, ns.size(), expected, late,
                worst / 1e6, ns.empty() ? 0.0 : total / 1e6 / double(ns.size()), a.edited.load());
    std::printf("    CPU %.2f s for %.2f s of playback = %.0f%% of one core\n", cpu, wall, 100.0 * cpu / wall);
}

void seekRun(const QByteArray &path, double duration)
{
    rsc_player *player = rsc_player_create(RSC_CREATE_DEFAULT & ~RSC_CREATE_AUDIO_OUTPUT);
    Arrivals a;
    if (rsc_player_open(player, path.constData(), 640, 360, 0, 0) != 1) {
        rsc_player_release(player);
        return;
    }
    rsc_player_set_original_video_frame_handler(player, &onOriginal, &a);
    rsc_player_set_video_frame_handler(player, &onEdited, &a);
    std::mt19937 random(7);
    std::uniform_real_distribution<double> at(0.0, duration);
    std::vector<double> ms;
    for (int i = 0; i < 30; ++i) {
        const uint64_t target = static_cast<uint64_t>(at(random) * 1e6);
        QElapsedTimer t;
        t.start();
        rsc_player_seek(player, target); // returns once the frame at the target was handed out
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    double sum = 0;
    for (double v : ms)
        sum += v;
    std::printf("exact seek to the frame shown (30 random positions, 2 s key frame spacing): mean %.1f ms, "
                "median %.1f ms, worst %.1f ms\n",
                sum / ms.size(), ms[ms.size() / 2], ms.back());
    rsc_player_release(player);
}

} // namespace

int main(int argc, char *argv[])
{
    rstest::prepareEnvironment();
    QCoreApplication app(argc, argv);
    const double seconds = argc > 1 ? std::max(1.0, QByteArray(argv[1]).toDouble()) : 8.0;
    const QString clip = rstest::MediaFixtures::make(
        {QStringLiteral("bench_1080p30_h264.mp4"),
         QString::fromLatin1("-f lavfi -i testsrc2=size=1920x1080:rate=30:duration=12 "
                             "-f lavfi -i sine=frequency=440:sample_rate=48000:duration=12 "
                             "-c:v libx264 -preset veryfast -crf 23 -g 60 -pix_fmt yuv420p -c:a aac -b:a 128k")
             .split(QLatin1Char(' '))});
    if (clip.isEmpty()) {
        std::printf("could not generate the clip\n");
        return 1;
    }
    const QByteArray path = clip.toUtf8();
    std::printf("clip: %s (1920x1080, 30 fps, H.264, 12 s), %d cores\n", path.constData(), QThread::idealThreadCount());
    playRun(path, seconds, false);
    playRun(path, seconds, true);
    seekRun(path, 11.5);
    return 0;
}
