// Failed, stopped and refused jobs never change a file they did not write: every kind of failure is made
// to happen with a file already at the output path, and with the output path naming each source; the
// sources and that file must be byte-identical afterwards, and no temporary file may stay behind.
#include "tst_job_helpers.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <atomic>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using rstest::MediaFixtures;

namespace {

QByteArray digest(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    QCryptographicHash h(QCryptographicHash::Md5);
    h.addData(&f);
    return h.result();
}

} // namespace

class TestJobSafety : public QObject
{
    Q_OBJECT

private slots:
    void staleTemporaryNamesArePassedOver();
    void failuresKeepEveryFile_data();
    void failuresKeepEveryFile();
    void clipWithoutSoundIsNoSuccess();
    void shrinkingSourceIsNoSuccess_data();
    void shrinkingSourceIsNoSuccess();
    void namedPipeSourceIsRefusedAtOnce_data();
    void namedPipeSourceIsRefusedAtOnce();
    void outputThatIsNoRegularFileIsRefused_data();
    void outputThatIsNoRegularFileIsRefused();
};

void TestJobSafety::staleTemporaryNamesArePassedOver()
{
    // Files an earlier run of this process id left beside the output (it stopped hard) are neither
    // opened nor removed; the job writes under another name. (First test: no job has run yet.)
    const QString dir = rstest::scratchDir(QStringLiteral("stale"));
    const QString out = dir + QStringLiteral("/out.mp4");
    for (int k = 0; k < 50; ++k) {
        QFile stale(dir + QStringLiteral("/.out.mp4.%1-%2.part").arg(::getpid()).arg(k));
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write("stale");
    }
    const jobtest::Outcome r = jobtest::runMerge(
        true, out, QStringLiteral("mp4"), {jobtest::Task{MediaFixtures::standard(QStringLiteral("h264_aac.mp4"))}});
    QVERIFY2(!r.failed, qPrintable(r.error));
    QVERIFY(QFileInfo(out).size() > 1000);
    const QStringList left = QDir(dir).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(left.size(), 51);
    for (const QString &name : left) {
        if (name != QLatin1String("out.mp4"))
            QCOMPARE(QFileInfo(dir + QLatin1Char('/') + name).size(), 5);
    }
}

void TestJobSafety::failuresKeepEveryFile_data()
{
    QTest::addColumn<bool>("lossless");
    QTest::addColumn<QString>("failure");
    QTest::addColumn<int>("outputIs"); // -1 another file at the path, else the index of the source
    const QStringList failures{QStringLiteral("refused clip"), QStringLiteral("missing clip"),
                               QStringLiteral("stop"),         QStringLiteral("disk full"),
                               QStringLiteral("discarded"),    QStringLiteral("released unclosed")};
    for (const bool lossless : {true, false}) {
        for (const QString &failure : failures) {
            for (int outputIs : {-1, 0, 1}) {
                const QString row =
                    QStringLiteral("%1, %2, output %3")
                        .arg(lossless ? QStringLiteral("lossless") : QStringLiteral("re-encoding"), failure,
                             outputIs < 0 ? QStringLiteral("exists") : QStringLiteral("is source %1").arg(outputIs));
                QTest::newRow(qPrintable(row)) << lossless << failure << outputIs;
            }
        }
    }
}

void TestJobSafety::failuresKeepEveryFile()
{
    QFETCH(bool, lossless);
    QFETCH(QString, failure);
    QFETCH(int, outputIs);
    const QString dir = rstest::scratchDir(QStringLiteral("safety"));
    // The sources are copies in the output's folder, so the output path can name them.
    QStringList sources{dir + QStringLiteral("/one.mp4"), dir + QStringLiteral("/two.mp4")};
    QVERIFY(QFile::copy(failure == QLatin1String("stop") ? jobtest::longClip()
                                                         : MediaFixtures::standard(QStringLiteral("h264_aac.mp4")),
                        sources[0]));
    // A clip that cannot join without re-encoding; one that is no media at all when re-encoding.
    const QString refused = lossless ? MediaFixtures::standard(QStringLiteral("vp9_opus.webm"))
                                     : MediaFixtures::badFile(QStringLiteral("text.mp4"));
    const QString second =
        failure == QLatin1String("refused clip") ? refused : MediaFixtures::standard(QStringLiteral("h264_aac_b.mp4"));
    QVERIFY(QFile::copy(second, sources[1]));
    if (failure == QLatin1String("missing clip"))
        sources[1] = dir + QStringLiteral("/gone.mp4");
    const QString out = outputIs < 0 ? dir + QStringLiteral("/joined.mp4") : sources[outputIs];
    if (outputIs < 0)
        QVERIFY(QFile::copy(MediaFixtures::standard(QStringLiteral("audio.m4a")), out));
    QList<QByteArray> before;
    for (const QString &s : sources)
        before << digest(s);
    const QByteArray outBefore = digest(out);
    const QStringList filesBefore = QDir(dir).entryList(QDir::Files | QDir::Hidden);

    {
        std::unique_ptr<rstest::FileSizeLimit> limit;
        if (failure == QLatin1String("disk full"))
            limit = std::make_unique<rstest::FileSizeLimit>(60000);
        rsc_job *job =
            lossless ? rsc_job_create_merge_lossless(RSC_CREATE_DEFAULT) : rsc_job_create_merge(RSC_CREATE_DEFAULT);
        QCOMPARE(rsc_job_open_output(job, out.toUtf8().constData(), "mp4", nullptr), 1);
        QCOMPARE(rsc_job_start(job), 1);
        bool failed = false;
        for (const QString &s : sources) {
            if (rsc_job_add_task(job, s.toUtf8().constData(), 0, 0, nullptr) != 1) {
                failed = true;
                break;
            }
            if (failure == QLatin1String("stop")) {
                QCOMPARE(rsc_job_stop(job, 1), 1);
                failed = true;
                break;
            }
            QElapsedTimer t;
            t.start();
            while (!rsc_job_is_finished(job) && t.elapsed() < 120000)
                QThread::msleep(5);
            if (rsc_job_is_failed(job)) {
                failed = true;
                break;
            }
        }
        if (failure == QLatin1String("released unclosed") && !failed) {
            // The caller drops the job without closing it (a driver torn down mid-run).
            failed = true;
        } else if (failure == QLatin1String("discarded") && !failed) {
            // Every clip joined, but the caller gives the job up (the program does when a later step fails).
            QCOMPARE(rsc_job_discard(job), 1);
            failed = true;
        } else if (failed) {
            // The program's driver discards a failed job; a close of a stopped or failed job keeps nothing either.
            if (failure == QLatin1String("stop") || failure == QLatin1String("disk full"))
                QCOMPARE(rsc_job_close(job), 0);
            else
                rsc_job_discard(job);
        } else {
            failed = rsc_job_close(job) != 1;
        }
        rsc_job_release(job);
        QVERIFY2(failed, "the job was expected to fail");
    }

    for (int i = 0; i < sources.size(); ++i)
        QVERIFY2(digest(sources[i]) == before[i], qPrintable(sources[i]));
    QVERIFY(digest(out) == outBefore);
    QCOMPARE(QDir(dir).entryList(QDir::Files | QDir::Hidden), filesBefore);
}

void TestJobSafety::clipWithoutSoundIsNoSuccess()
{
    // A clip whose header is sound but whose coded sound is all zero bytes gives no sound when decoded: a
    // re-encoding join must not report it as joined with its sound.
    const QString dir = rstest::scratchDir(QStringLiteral("nosound"));
    const QString clip = dir + QStringLiteral("/zeroed.mp4");
    QVERIFY(QFile::copy(MediaFixtures::standard(QStringLiteral("h264_aac.mp4")), clip));
    QProcess probe;
    probe.start(QStringLiteral("ffprobe"),
                {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-select_streams"),
                 QStringLiteral("a:0"), QStringLiteral("-show_entries"), QStringLiteral("packet=pos,size"),
                 QStringLiteral("-of"), QStringLiteral("csv=p=0"), clip});
    QVERIFY(probe.waitForFinished(30000));
    QFile f(clip);
    QVERIFY(f.open(QIODevice::ReadWrite));
    int zeroed = 0;
    for (const QByteArray &line : probe.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> v = line.trimmed().split(',');
        // ffprobe writes the size first, then the position.
        if (v.size() < 2 || v[1].toLongLong() <= 0)
            continue;
        QVERIFY(f.seek(v[1].toLongLong()));
        f.write(QByteArray(v[0].toInt(), 0));
        ++zeroed;
    }
    f.close();
    QVERIFY(zeroed > 10);
    const QString out = dir + QStringLiteral("/joined.mp4");
    const jobtest::Outcome r = jobtest::runMerge(
        false, out, QStringLiteral("mp4"),
        {jobtest::Task{MediaFixtures::standard(QStringLiteral("h264_aac_b.mp4"))}, jobtest::Task{clip}});
    QVERIFY2(r.failed, "a clip that gave no sound was reported as joined");
    QVERIFY2(r.error.contains(QLatin1String("no sound")), qPrintable(r.error));
}

void TestJobSafety::shrinkingSourceIsNoSuccess_data()
{
    QTest::addColumn<bool>("lossless");
    QTest::newRow("lossless") << true;
    QTest::newRow("re-encoding") << false;
}

void TestJobSafety::shrinkingSourceIsNoSuccess()
{
    // The source is cut to a third while the task reads it: a job that reports success must hold the
    // whole clip; one that lost the tail must fail and keep nothing.
    QFETCH(bool, lossless);
    const QString dir = rstest::scratchDir(QStringLiteral("shrink"));
    const QString source = dir + QStringLiteral("/clip.mp4");
    const QString out = dir + QStringLiteral("/joined.mp4");
    QVERIFY(QFile::copy(jobtest::longClip(), source));
    const double length = rstest::FFprobe::durationSeconds(source);
    rsc_job *job =
        lossless ? rsc_job_create_merge_lossless(RSC_CREATE_DEFAULT) : rsc_job_create_merge(RSC_CREATE_DEFAULT);
    QCOMPARE(rsc_job_open_output(job, out.toUtf8().constData(), "mp4", nullptr), 1);
    QCOMPARE(rsc_job_start(job), 1);
    QCOMPARE(rsc_job_add_task(job, source.toUtf8().constData(), 0, 0, nullptr), 1);
    QFile f(source);
    QVERIFY(f.resize(f.size() / 3));
    QElapsedTimer t;
    t.start();
    while (!rsc_job_is_finished(job) && t.elapsed() < 120000)
        QThread::msleep(5);
    const bool failed = rsc_job_is_failed(job) != 0;
    const bool kept = rsc_job_close(job) == 1;
    const QString why = QString::fromUtf8(rsc_job_error(job));
    rsc_job_release(job);
    if (!lossless) // far slower than the cut: it must see it
        QVERIFY(failed);
    if (failed) {
        QVERIFY2(why.contains(QLatin1String("before its stated length")) ||
                     why.contains(QLatin1String("changed while it was read")),
                 qPrintable(why));
        QVERIFY(!kept);
        QVERIFY(!QFileInfo::exists(out));
    } else {
        QVERIFY(kept);
        QVERIFY(qAbs(rstest::FFprobe::durationSeconds(out) - length) < 0.2);
    }
}

void TestJobSafety::namedPipeSourceIsRefusedAtOnce_data()
{
    QTest::addColumn<QString>("use");
    for (const char *use : {"lossless merge", "re-encoding merge", "conversion", "player", "information"})
        QTest::newRow(use) << QString::fromLatin1(use);
}

void TestJobSafety::namedPipeSourceIsRefusedAtOnce()
{
    // Opening a pipe for reading waits for a writer: the caller (the GUI thread, for the probe and the
    // player) would hang for ever. Each use must refuse it without opening it.
    QFETCH(QString, use);
    const QString dir = rstest::scratchDir(QStringLiteral("fifo"));
    const QString fifo = dir + QStringLiteral("/clip.mp4");
    const QByteArray fifoPath = fifo.toUtf8();
    QCOMPARE(::mkfifo(fifoPath.constData(), 0644), 0);
    const QByteArray out = (dir + QStringLiteral("/out.mp4")).toUtf8();
    std::function<int()> open;
    if (use.endsWith(QLatin1String("merge"))) {
        open = [&] {
            rsc_job *job = use.startsWith(QLatin1String("lossless")) ? rsc_job_create_merge_lossless(RSC_CREATE_DEFAULT)
                                                                     : rsc_job_create_merge(RSC_CREATE_DEFAULT);
            int r = rsc_job_open_output(job, out.constData(), "mp4", nullptr) == 1 && rsc_job_start(job) == 1;
            r = r && rsc_job_add_task(job, fifoPath.constData(), 0, 0, nullptr) == 1;
            rsc_job_release(job);
            return r;
        };
    } else if (use == QLatin1String("conversion")) {
        open = [&] {
            rsc_job *job = rsc_job_create_convert(RSC_CREATE_DEFAULT);
            int r = rsc_job_open_file(job, fifoPath.constData(), out.constData(), "mp4", nullptr) == 1 &&
                    rsc_job_start(job) == 1;
            rsc_job_release(job);
            return r;
        };
    } else if (use == QLatin1String("player")) {
        open = [&] {
            rsc_player *player = rsc_player_create(RSC_CREATE_DEFAULT);
            const int r = rsc_player_open(player, fifoPath.constData(), 320, 240, 0, 0);
            rsc_player_release(player);
            return r;
        };
    } else {
        open = [&] {
            rsc_info *info = rsc_info_create(RSC_CREATE_DEFAULT);
            const int r = rsc_info_open_file(info, fifoPath.constData());
            rsc_info_release(info);
            return r;
        };
    }
    std::atomic<int> result{-1};
    std::thread t([&] { result = open(); });
    (void)QTest::qWaitFor([&] { return result.load() >= 0; }, 2 * rstest::kHangBoundMs);
    const bool blocked = result.load() < 0;
    if (blocked) {
        // Let the blocked open go (a writer that closes at once), so the test can end.
        const int fd = ::open(fifoPath.constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            ::close(fd);
    }
    t.join();
    QVERIFY2(!blocked, "the open waited for a writer");
    QCOMPARE(result.load(), 0);
    QCOMPARE(QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList{QStringLiteral("clip.mp4")});
}

void TestJobSafety::outputThatIsNoRegularFileIsRefused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("named pipe") << QStringLiteral("fifo");
    QTest::newRow("folder") << QStringLiteral("dir");
}

void TestJobSafety::outputThatIsNoRegularFileIsRefused()
{
    // Opening a pipe for writing would wait for a reader for ever; a folder cannot take the file.
    QFETCH(QString, kind);
    const QString out = rstest::scratchDir(QStringLiteral("special")) + QStringLiteral("/out.mp4");
    if (kind == QLatin1String("fifo"))
        QCOMPARE(::mkfifo(out.toUtf8().constData(), 0644), 0);
    else
        QVERIFY(QDir().mkpath(out));
    for (const bool lossless : {true, false}) {
        rsc_job *job =
            lossless ? rsc_job_create_merge_lossless(RSC_CREATE_DEFAULT) : rsc_job_create_merge(RSC_CREATE_DEFAULT);
        QCOMPARE(rsc_job_open_output(job, out.toUtf8().constData(), "mp4", nullptr), 0);
        QVERIFY(QString::fromUtf8(rsc_job_error(job)).contains(QLatin1String("not a regular file")));
        rsc_job_release(job);
        rsc_job *conv = rsc_job_create_convert(RSC_CREATE_DEFAULT);
        const QString src = MediaFixtures::standard(QStringLiteral("h264_aac.mp4"));
        QCOMPARE(rsc_job_open_file(conv, src.toUtf8().constData(), out.toUtf8().constData(), "mp4", nullptr), 0);
        rsc_job_release(conv);
    }
    QVERIFY(kind == QLatin1String("fifo") ? QFileInfo(out).isFile() == false && QFileInfo::exists(out)
                                          : QFileInfo(out).isDir());
}

RS_TEST_MAIN(TestJobSafety)
#include "tst_job_safety.moc"
