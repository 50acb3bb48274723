// What a job must refuse or report however its caller goes on: an output that names one of its sources (by
// any spelling or link), a source that changes while its task reads it, a full disk, and the hidden files
// of runs that were killed.
#include "tst_job_helpers.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using rstest::MediaFixtures;

namespace {

QByteArray digest(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Md5);
}

QStringList hiddenParts(const QString &dir)
{
    return QDir(dir).entryList({QStringLiteral(".*.part")}, QDir::Files | QDir::Hidden);
}

rsc_job *newJob(bool lossless)
{
    return lossless ? rsc_job_create_merge_lossless(RSC_CREATE_DEFAULT) : rsc_job_create_merge(RSC_CREATE_DEFAULT);
}

bool waitFinished(rsc_job *job)
{
    QElapsedTimer t;
    t.start();
    while (!rsc_job_is_finished(job) && t.elapsed() < 240000)
        rsc_job_wait(job, 50);
    return rsc_job_is_finished(job) == 1;
}

// A process id that no process has: one of a child that has ended.
qint64 deadPid()
{
    QProcess p;
    p.start(QStringLiteral("true"), QStringList());
    p.waitForFinished();
    return p.processId() > 0 ? p.processId() : 999999;
}

} // namespace

class TestJobGuards : public QObject
{
    Q_OBJECT

private slots:
    void sourceThatIsTheOutputWritesNothing_data();
    void sourceThatIsTheOutputWritesNothing();
    void sourceChangedDuringItsTaskFails_data();
    void sourceChangedDuringItsTaskFails();
    void fullDiskSaysWhy_data();
    void fullDiskSaysWhy();
    void partsOfEndedRunsAreRemoved();
};

void TestJobGuards::sourceThatIsTheOutputWritesNothing_data()
{
    QTest::addColumn<bool>("lossless");
    QTest::addColumn<QString>("how");
    for (const bool lossless : {true, false}) {
        for (const char *how : {"same path", "source links to it", "hard link", "output links to it", "made later"})
            QTest::newRow(qPrintable(QString::fromLatin1(how) + (lossless ? ", lossless" : ", re-encoding")))
                << lossless << QString::fromLatin1(how);
    }
}

void TestJobGuards::sourceThatIsTheOutputWritesNothing()
{
    // The second clip is the output file. Its add is refused, and even a caller that goes on to close the
    // job (instead of discarding it) must find that clip as it was: nothing takes the output path.
    QFETCH(bool, lossless);
    QFETCH(QString, how);
    const QString dir = rstest::scratchDir(QStringLiteral("self"));
    const QString one = dir + QStringLiteral("/one.mp4");
    const QString two = dir + QStringLiteral("/two.mp4");
    QVERIFY(QFile::copy(MediaFixtures::standard(QStringLiteral("h264_aac.mp4")), one));
    QString out = two;
    QString second = two;
    if (how == QLatin1String("source links to it")) {
        second = dir + QStringLiteral("/alias.mp4");
        QVERIFY(QFile::link(two, second));
    } else if (how == QLatin1String("hard link")) {
        second = dir + QStringLiteral("/hard.mp4");
    } else if (how == QLatin1String("output links to it")) {
        out = dir + QStringLiteral("/out.mp4");
        QVERIFY(QFile::link(two, out));
    } else if (how == QLatin1String("made later")) {
        out = dir + QStringLiteral("/out.mp4");
        second = out;
    }
    if (how != QLatin1String("made later"))
        QVERIFY(QFile::copy(MediaFixtures::standard(QStringLiteral("h264_aac_b.mp4")), two));
    if (how == QLatin1String("hard link"))
        QCOMPARE(::link(two.toUtf8().constData(), second.toUtf8().constData()), 0);

    rsc_job *job = newJob(lossless);
    QCOMPARE(rsc_job_open_output(job, out.toUtf8().constData(), "mp4", nullptr), 1);
    QCOMPARE(rsc_job_start(job), 1);
    QCOMPARE(rsc_job_add_task(job, one.toUtf8().constData(), 0, 0, nullptr), 1);
    QVERIFY(waitFinished(job));
    QVERIFY(!rsc_job_is_failed(job));
    if (how == QLatin1String("made later")) // a clip copied to the output path while the job runs
        QVERIFY(QFile::copy(MediaFixtures::standard(QStringLiteral("h264_aac_b.mp4")), out));
    const QByteArray before = digest(second);
    QVERIFY(!before.isEmpty());
    QCOMPARE(rsc_job_add_task(job, second.toUtf8().constData(), 0, 0, nullptr), 0);
    QVERIFY2(QString::fromUtf8(rsc_job_error(job)).contains(QLatin1String("is the output")), rsc_job_error(job));
    QCOMPARE(rsc_job_close(job), 0);
    rsc_job_release(job);
    QCOMPARE(digest(second), before);
    if (how != QLatin1String("made later"))
        QCOMPARE(digest(two), before);
    QVERIFY(QFileInfo(out).isSymLink() == (how == QLatin1String("output links to it")));
    QCOMPARE(hiddenParts(dir), QStringList());
}

void TestJobGuards::sourceChangedDuringItsTaskFails_data()
{
    QTest::addColumn<bool>("lossless");
    QTest::addColumn<QString>("change");
    for (const bool lossless : {true, false}) {
        for (const char *change : {"overwritten in place", "grown", "touched"})
            QTest::newRow(qPrintable(QString::fromLatin1(change) + (lossless ? ", lossless" : ", re-encoding")))
                << lossless << QString::fromLatin1(change);
    }
}

void TestJobGuards::sourceChangedDuringItsTaskFails()
{
    // The clip is changed (same file, other content, size or time) right after its task started. When the
    // task was still running once the change was made, it must fail and leave nothing; a task that had
    // already ended read the clip whole and is tried again.
    QFETCH(bool, lossless);
    QFETCH(QString, change);
    const QString clip = MediaFixtures::make(
        {QStringLiteral("stop_720p.mp4"),
         QString::fromLatin1("-f lavfi -i testsrc2=size=1280x720:rate=30:duration=20 -f lavfi -i "
                             "sine=frequency=440:sample_rate=48000:duration=20 -c:v libx264 -preset ultrafast "
                             "-pix_fmt yuv420p -c:a aac")
             .split(QLatin1Char(' '))});
    QFile other(MediaFixtures::standard(QStringLiteral("h264_aac_b.mp4")));
    QVERIFY(other.open(QIODevice::ReadOnly));
    const QByteArray otherBytes = other.readAll();
    const QString dir = rstest::scratchDir(QStringLiteral("changed"));
    const QString source = dir + QStringLiteral("/clip.mp4");
    const QString out = dir + QStringLiteral("/joined.mp4");
    bool landed = false;
    for (int attempt = 0; attempt < 5 && !landed; ++attempt) {
        QFile::remove(source);
        QVERIFY(QFile::copy(clip, source));
        rsc_job *job = newJob(lossless);
        QCOMPARE(rsc_job_open_output(job, out.toUtf8().constData(), "mp4", nullptr), 1);
        QCOMPARE(rsc_job_start(job), 1);
        QCOMPARE(rsc_job_add_task(job, source.toUtf8().constData(), 0, 0, nullptr), 1);
        // Overwritten from its start, as a program saving over it does before it truncates.
        const int fd =
            ::open(source.toUtf8().constData(), change == QLatin1String("grown") ? O_WRONLY | O_APPEND : O_WRONLY);
        QVERIFY(fd >= 0);
        if (change == QLatin1String("touched"))
            QCOMPARE(::futimens(fd, nullptr), 0);
        else
            QCOMPARE(::write(fd, otherBytes.constData(), size_t(otherBytes.size())), ssize_t(otherBytes.size()));
        ::close(fd);
        landed = !rsc_job_is_finished(job);
        QVERIFY(waitFinished(job));
        if (landed) {
            QVERIFY2(rsc_job_is_failed(job), "a clip changed while it was read passed as joined");
            QVERIFY2(QString::fromUtf8(rsc_job_error(job)).contains(QLatin1String("changed")), rsc_job_error(job));
            QCOMPARE(rsc_job_close(job), 0);
            QVERIFY(!QFileInfo::exists(out));
        } else {
            rsc_job_discard(job);
        }
        rsc_job_release(job);
    }
    QVERIFY2(landed, "every task ended before its clip could be changed");
    QCOMPARE(hiddenParts(dir), QStringList());
}

void TestJobGuards::fullDiskSaysWhy_data()
{
    QTest::addColumn<bool>("lossless");
    QTest::newRow("lossless") << true;
    QTest::newRow("re-encoding") << false;
}

void TestJobGuards::fullDiskSaysWhy()
{
    // The caller shows the library's reason to the user: a full disk must name itself.
    QFETCH(bool, lossless);
    const QString dir = rstest::scratchDir(QStringLiteral("full"));
    const QString out = dir + QStringLiteral("/joined.mp4");
    jobtest::Outcome r;
    {
        rstest::FileSizeLimit limit(60000);
        r = jobtest::runMerge(lossless, out, QStringLiteral("mp4"),
                              {jobtest::Task{MediaFixtures::standard(QStringLiteral("h264_aac.mp4"))},
                               jobtest::Task{MediaFixtures::standard(QStringLiteral("h264_aac_b.mp4"))}});
    }
    QVERIFY(r.failed);
    QVERIFY2(r.error.contains(QString::fromLocal8Bit(::strerror(EFBIG))), qPrintable(r.error));
    QVERIFY(!QFileInfo::exists(out));
    QCOMPARE(hiddenParts(dir), QStringList());
}

void TestJobGuards::partsOfEndedRunsAreRemoved()
{
    // A run that was killed leaves its hidden file; the next job in that folder removes those of processes
    // that have ended, and nothing else: not those of running processes (this one, a child still running),
    // nor files that merely look alike.
    const QString dir = rstest::scratchDir(QStringLiteral("killed"));
    QProcess running;
    running.start(QStringLiteral("sleep"), {QStringLiteral("60")});
    QVERIFY(running.waitForStarted());
    const qint64 dead = deadPid();
    const QStringList gone{QStringLiteral(".clip.mp4.%1-0.part").arg(dead),
                           QStringLiteral(".other name.mkv.%1-17.part").arg(dead)};
    const QStringList kept{
        QStringLiteral(".clip.mp4.%1-0.part").arg(::getpid()),
        QStringLiteral(".clip.mp4.%1-3.part").arg(running.processId()), QStringLiteral(".clip.mp4.%1.part").arg(dead),
        QStringLiteral(".clip.mp4.x%1-0.part").arg(dead), QStringLiteral("clip.mp4.%1-0.part").arg(dead)};
    for (const QString &name : gone + kept) {
        QFile f(dir + QLatin1Char('/') + name);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    const QString out = dir + QStringLiteral("/joined.mp4");
    const jobtest::Outcome r = jobtest::runMerge(
        true, out, QStringLiteral("mp4"), {jobtest::Task{MediaFixtures::standard(QStringLiteral("h264_aac.mp4"))}});
    running.kill();
    running.waitForFinished();
    QVERIFY2(!r.failed, qPrintable(r.error));
    QStringList expected = kept + QStringList{QStringLiteral("joined.mp4")};
    expected.sort();
    QCOMPARE(QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
}

RS_TEST_MAIN(TestJobGuards)
#include "tst_job_guards.moc"
