// How promptly the codec library's jobs and player stop: the latency of a stop during a re-encoding merge, a
// lossless merge and playback (stop, close, release while frame handlers run). Each figure is also given as a
// ratio against an anchor measured in the same run: the wall time the re-encoding job takes per second of
// media, and one 40 ms frame period for the player. The tests only check that a stop does not hang.
// Usage: bench_stop [repeats, default 5]
#include "MediaFixtures.h"
#include "TestSupport.h"
#include "rscodec.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Figures
{
    std::vector<double> ms;

    double median()
    {
        if (ms.empty())
            return 0;
        std::sort(ms.begin(), ms.end());
        return ms[ms.size() / 2];
    }
    double worst() const { return ms.empty() ? 0 : *std::max_element(ms.begin(), ms.end()); }
};

double msSince(const QElapsedTimer &t)
{
    return t.nsecsElapsed() / 1e6;
}

// Runs a merge job of the clip for `runMs`, then stops it. Answers the stop's latency and, through
// `msPerMediaSecond`, how long the job took per second of media while it ran.
bool stopMerge(const QByteArray &clip, const QByteArray &out, bool lossless, int runMs, double *stopMs,
               double *msPerMediaSecond)
{
    rsc_job *job =
        lossless ? rsc_job_create_merge_lossless(RSC_CREATE_DEFAULT) : rsc_job_create_merge(RSC_CREATE_DEFAULT);
    if (rsc_job_open_output(job, out.constData(), "mp4", nullptr) != 1 || rsc_job_start(job) != 1 ||
        rsc_job_add_task(job, clip.constData(), 0, 0, nullptr) != 1) {
        rsc_job_release(job);
        return false;
    }
    QElapsedTimer run;
    run.start();
    QThread::msleep(static_cast<unsigned long>(runMs));
    const double ranMs = msSince(run);
    const uint64_t done = rsc_job_done(job);
    QElapsedTimer t;
    t.start();
    rsc_job_stop(job, 1);
    *stopMs = msSince(t);
    const bool early = rsc_job_is_finished(job) == 0;
    rsc_job_close(job);
    rsc_job_release(job);
    QFile::remove(QString::fromUtf8(out));
    if (msPerMediaSecond)
        *msPerMediaSecond = done > 0 ? ranMs / (double(done) / 1e6) : 0;
    return early;
}

unsigned int slowHandler(void *, void *frame)
{
    rsc_frame *f = rsc_frame_reference(frame);
    QThread::msleep(30); // a slow receiver, as a busy GUI would be
    rsc_frame_release(f);
    return 1;
}

void playerStops(const QByteArray &clip, int repeats)
{
    Figures stopClose, release;
    for (int i = 0; i < repeats; ++i) {
        rsc_player *player = rsc_player_create(RSC_CREATE_DEFAULT & ~RSC_CREATE_AUDIO_OUTPUT);
        rsc_player_set_original_video_frame_handler(player, &slowHandler, nullptr);
        if (rsc_player_open(player, clip.constData(), 0, 0, 0, 0) != 1) {
            std::printf("cannot open %s\n", clip.constData());
            rsc_player_release(player);
            return;
        }
        rsc_player_play(player);
        QThread::msleep(200);
        QElapsedTimer t;
        t.start();
        rsc_player_stop(player);
        rsc_player_close(player);
        stopClose.ms.push_back(msSince(t));
        rsc_player_open(player, clip.constData(), 0, 0, 0, 0);
        rsc_player_play(player);
        QThread::msleep(200);
        t.restart();
        rsc_player_release(player);
        release.ms.push_back(msSince(t));
    }
    const double frameMs = 40.0;
    std::printf("%-34s median %7.1f ms  worst %7.1f ms  = %.2f frame periods\n", "player stop + close",
                stopClose.median(), stopClose.worst(), stopClose.median() / frameMs);
    std::printf("%-34s median %7.1f ms  worst %7.1f ms  = %.2f frame periods\n", "player release while playing",
                release.median(), release.worst(), release.median() / frameMs);
}

} // namespace

int main(int argc, char *argv[])
{
    rstest::prepareEnvironment();
    QCoreApplication app(argc, argv);
    const int repeats = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 5;
    const QString clip = rstest::MediaFixtures::make(
        {QStringLiteral("bench_stop_720p.mp4"),
         QString::fromLatin1("-f lavfi -i testsrc2=size=1280x720:rate=30:duration=20 -f lavfi -i "
                             "sine=frequency=440:sample_rate=48000:duration=20 -c:v libx264 -preset ultrafast "
                             "-pix_fmt yuv420p -c:a aac")
             .split(QLatin1Char(' '))});
    if (clip.isEmpty()) {
        std::printf("could not generate the clip\n");
        return 1;
    }
    const QByteArray path = clip.toUtf8();
    const QByteArray out = (rstest::scratchDir(QStringLiteral("bench-stop")) + QStringLiteral("/out.mp4")).toUtf8();
    std::printf("clip: %s (1280x720, 30 fps, H.264, 20 s), %d cores, %d repeats\n", path.constData(),
                QThread::idealThreadCount(), repeats);
    Figures reencode, lossless;
    std::vector<double> perSecond;
    for (int i = 0; i < repeats; ++i) {
        double stop = 0, rate = 0;
        if (stopMerge(path, out, false, 300, &stop, &rate)) {
            reencode.ms.push_back(stop);
            perSecond.push_back(rate);
        }
        if (stopMerge(path, out, true, 5, &stop, nullptr))
            lossless.ms.push_back(stop);
    }
    std::sort(perSecond.begin(), perSecond.end());
    const double anchor = perSecond.empty() ? 0 : perSecond[perSecond.size() / 2];
    std::printf("anchor: re-encoding takes %.1f ms per second of media\n", anchor);
    const auto ratio = [anchor](double ms) { return anchor > 0 ? ms / anchor : 0; };
    std::printf("%-34s median %7.1f ms  worst %7.1f ms  = %.3f of the anchor (%zu stopped early)\n",
                "re-encoding merge stop", reencode.median(), reencode.worst(), ratio(reencode.median()),
                reencode.ms.size());
    std::printf("%-34s median %7.1f ms  worst %7.1f ms  = %.3f of the anchor (%zu stopped early)\n",
                "lossless merge stop", lossless.median(), lossless.worst(), ratio(lossless.median()),
                lossless.ms.size());
    playerStops(path, repeats);
    return 0;
}
