// The high-speed join as the main window runs it: the clips are probed into the clip list (outside the
// timing, as adding files is), then the merge driver joins them from "Convert" to its last report, with
// its worker, its reports to the GUI thread and each next clip started from there. Beside it: `cat` of the
// same files. Also reported: the longest time the GUI thread could not handle events during a join.
//
//   bench_join [clip folder, default /tmp/rs-bench-merge] [--runs N, default 5] [--only SET] [--ours]
//
// The clips are the ones bench_merge generates (run it once first). Sets: 444p10-mp4, 420p8-mp4,
// 420p8-mkv, 420p8-ts (8 clips of 30 s 1080p each). Every side writes a new file, deleted before its clock
// starts; the sides run interleaved; each figure is the median of N rounds with the fastest and slowest.
// --ours: the joins alone, each printed as "run <seconds> cpu <seconds> switches <count>" (the process's CPU
// time and context switches during it); bench/pair.sh reads them.
#include "BenchStats.h"
#include "TestSupport.h"

#include "AttributeSetting.h"
#include "QConverterOperate.h"
#include "QNewConvertObject.h"
#include "ZtVideoConvertItem.h"
#include "ZtVideoConvertManager.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QProcess>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {

using rsbench::spreadOf;

struct Set
{
    const char *name;
    const char *stem;
    const char *extension;
};

const Set kSets[] = {{"444p10-mp4", "c444p10", "mp4"},
                     {"420p8-mp4", "c420p8", "mp4"},
                     {"420p8-mkv", "c420p8", "mkv"},
                     {"420p8-ts", "c420p8", "ts"}};

struct JoinRun
{
    double seconds = -1;
    double longestStallMs = 0;
    double cpuSeconds = 0;
    long contextSwitches = 0;
};

struct Usage
{
    double cpuSeconds;
    long contextSwitches;
};

Usage usageNow()
{
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    const auto secs = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return {secs(ru.ru_utime) + secs(ru.ru_stime), ru.ru_nvcsw + ru.ru_nivcsw};
}

// One join through the driver, timed from the start to its last report, while a 2 ms timer on the GUI
// thread notes the longest gap between its ticks.
JoinRun joinOnce(QString *kept = nullptr)
{
    ZtVideoConvertManager *list = ZtVideoConvertManager::getConvertManagerObject(nullptr);
    ZtVideoConvertItem *first = list->GetItem(0);
    ZtVideoConvertItem::clearOutputFileList();
    first->getValidOutputName();
    first->getConverOutputDir();
    const QString output = first->getConverPath();
    QFile::remove(output);

    QNewConvertObject driver(nullptr);
    for (int i = 0; i < list->GetItemCount(); ++i)
        driver.AddConvertItem(list->GetItem(i));
    driver.setMergerOptputPath(output);
    QEventLoop loop;
    bool ok = true;
    QObject::connect(&driver, &QNewConvertObject::emitMergerTotalFinished, &loop, &QEventLoop::quit);
    QObject::connect(&driver, &QNewConvertObject::emitMergerFinished, &loop, [&](bool done) {
        if (!done) {
            ok = false;
            loop.quit();
        }
    });
    QElapsedTimer sinceTick;
    double longest = 0;
    QTimer ticker;
    ticker.setInterval(2);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longest = std::max(longest, double(sinceTick.nsecsElapsed()) / 1e6);
        sinceTick.restart();
    });
    const Usage before = usageNow();
    QElapsedTimer clock;
    clock.start();
    sinceTick.start();
    ticker.start();
    QTimer::singleShot(0, &driver, [&driver] { driver.OnStartToMerger(); });
    loop.exec();
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    const Usage after = usageNow();
    ticker.stop();
    JoinRun run;
    run.cpuSeconds = after.cpuSeconds - before.cpuSeconds;
    run.contextSwitches = after.contextSwitches - before.contextSwitches;
    if (ok && QFileInfo(output).size() > 0)
        run.seconds = seconds;
    run.longestStallMs = longest;
    if (kept)
        *kept = output;
    else
        QFile::remove(output);
    return run;
}

double catOnce(const QStringList &clips, const QString &out)
{
    QFile::remove(out);
    QElapsedTimer clock;
    clock.start();
    QProcess p;
    p.setStandardOutputFile(out);
    p.start(QStringLiteral("cat"), clips);
    const bool ok = p.waitForFinished(600000) && p.exitCode() == 0;
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    QFile::remove(out);
    return ok ? seconds : -1;
}

void useLossless(const QString &extension)
{
    AttributeSetting a;
    a.bLossless = true;
    a.fileFormat = QStringLiteral("Original");
    a.fileExtend = extension;
    QSettingDlgState::setAttributeSetting(a);
}

} // namespace

int main(int argc, char *argv[])
{
    rstest::prepareEnvironment();
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false")); // the driver's per-clip log lines
    QString folder = QStringLiteral("/tmp/rs-bench-merge");
    QString only;
    int rounds = 5;
    bool oursAlone = false;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--runs") && i + 1 < args.size())
            rounds = std::max(1, args[++i].toInt());
        else if (args[i] == QLatin1String("--only") && i + 1 < args.size())
            only = args[++i];
        else if (args[i] == QLatin1String("--ours"))
            oursAlone = true;
        else
            folder = args[i];
    }
    const QString outDir = rstest::scratchDir(QStringLiteral("bench-join")) + QLatin1Char('/');
    QConverterOperate::setConverterPath(outDir);
    std::printf("%d cores, load average at start: %s\n", QThread::idealThreadCount(),
                qPrintable(rsbench::loadAverage()));
    std::printf("each figure: median [fastest-slowest] of %d interleaved rounds\n", rounds);

    bool ok = true;
    for (const Set &set : kSets) {
        if (!only.isEmpty() && only != QLatin1String(set.name))
            continue;
        QStringList clips;
        for (int i = 1; i <= 8; ++i)
            clips << QStringLiteral("%1/%2_%3.%4").arg(folder, QLatin1String(set.stem)).arg(i).arg(set.extension);
        ZtVideoConvertManager *list = ZtVideoConvertManager::getConvertManagerObject(nullptr);
        list->ClearItems();
        useLossless(QLatin1String(set.extension));
        bool probed = true;
        for (const QString &clip : qAsConst(clips)) {
            auto *item = new ZtVideoConvertItem;
            if (!QFileInfo::exists(clip) || !item->setVideoPath(clip, 0)) {
                delete item;
                probed = false;
                break;
            }
            list->addConverItem(item, -1);
        }
        if (!probed || !list->IsLosslessMerger()) {
            std::printf("\n%s: the clips are missing or not joinable (run bench_merge once first)\n", set.name);
            ok = false;
            continue;
        }
        if (oursAlone) {
            std::printf("\nhigh-speed join %s, 8 clips through the merge driver\n", set.name);
            for (int r = 0; r < rounds && ok; ++r) {
                const JoinRun run = joinOnce();
                ok = run.seconds >= 0;
                std::printf("  run %.4f cpu %.4f switches %ld\n", run.seconds, run.cpuSeconds, run.contextSwitches);
            }
            continue;
        }
        std::vector<double> ours, copies, stalls;
        for (int r = 0; r < rounds; ++r) {
            // Interleaved, starting with each side in turn.
            for (int side = 0; side < 2; ++side) {
                if ((side + r) % 2 == 0) {
                    const JoinRun run = joinOnce();
                    if (run.seconds < 0)
                        ok = false;
                    ours.push_back(run.seconds);
                    stalls.push_back(run.longestStallMs);
                } else {
                    copies.push_back(catOnce(clips, outDir + QStringLiteral("copy.bin")));
                }
            }
        }
        const rsbench::Spread a = spreadOf(ours), c = spreadOf(copies), s = spreadOf(stalls);
        std::printf("\nhigh-speed join %s, 8 clips through the merge driver\n", set.name);
        std::printf("  ours (driver, as the window runs it) %.2f s [%.2f-%.2f]\n", a.median, a.min, a.max);
        std::printf("  cat > file                           %.2f s [%.2f-%.2f]   ours/this %.2fx\n", c.median, c.min,
                    c.max, c.median > 0 ? a.median / c.median : 0.0);
        std::printf("  longest GUI-thread stall             %.0f ms [%.0f-%.0f]\n", s.median, s.min, s.max);
        // What the join wrote, as ffprobe reads it.
        QString output;
        if (joinOnce(&output).seconds >= 0) {
            QProcess probe;
            probe.start(QStringLiteral("ffprobe"),
                        {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_entries"),
                         QStringLiteral("format=format_name,duration,size:stream=codec_name"), QStringLiteral("-of"),
                         QStringLiteral("compact=p=0:nk=1"), output});
            probe.waitForFinished(60000);
            std::printf("  output %s: %s\n", qPrintable(QFileInfo(output).fileName()),
                        qPrintable(QString::fromUtf8(probe.readAllStandardOutput()).simplified()));
            QFile::remove(output);
        }
    }
    std::printf("\nload average at the end: %s\n", qPrintable(rsbench::loadAverage()));
    return ok ? 0 : 1;
}
