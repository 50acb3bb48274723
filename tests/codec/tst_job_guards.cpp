// What a job must refuse or report however its caller goes on: an output that names one of its sources or a
// file its edits name (by any spelling or link), a source that changes while its task reads it, a full
// disk, and the files of writers that were killed.
#include "tst_job_access.h"
#include "tst_job_helpers.h"
#include "tst_job_outputs.h"

#include "FatFolder.h"
#include "FileAccess.h"
#include "mux_partial.h"
#include "source_watch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <grp.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

using rstest::MediaFixtures;
using namespace outputtest;

namespace {

// A process id that no process has: one of a child that has ended.
qint64 deadPid()
{
    QProcess p;
    p.start(QStringLiteral("true"), QStringList());
    p.waitForFinished();
    return p.processId() > 0 ? p.processId() : 999999;
}

// How many inotify instances this process holds.
int fileEventInstances()
{
    const QVector<rstest::OpenFile> files = rstest::openFiles(::getpid());
    return int(std::count_if(files.begin(), files.end(), [](const rstest::OpenFile &f) {
        return f.target == QLatin1String("anon_inode:inotify");
    }));
}

// Writes 4 MiB over the middle of the file open as `fd`, at the same size, and then sets its old modification
// time back, as `touch -d` does.
bool rewriteKeepingTime(int fd)
{
    struct stat before;
    const QByteArray block(4 << 20, 'x');
    if (::fstat(fd, &before) != 0 || before.st_size <= 2 * block.size())
        return false;
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    return ::pwrite(fd, block.constData(), size_t(block.size()), before.st_size / 2) == ssize_t(block.size()) &&
           ::futimens(fd, times) == 0;
}

struct ChangedRun
{
    bool landed = false; // the change was made while the task still ran
    bool finished = false;
    bool failed = false;
    bool kept = false; // close put the output in place
    QString error;
};

// Joins a fresh copy of the long clip at `source` and calls `change` right after its task started, until a
// change lands while the task still runs (at most 5 tries); a task that had already ended read the clip whole.
ChangedRun joinChangedSource(bool lossless, const QString &source, const QString &out,
                             const std::function<bool()> &change)
{
    ChangedRun r;
    for (int attempt = 0; attempt < 5 && !r.landed; ++attempt) {
        QFile::remove(source);
        if (!QFile::copy(jobtest::longClip(), source))
            return r;
        rsc_job *job = newJob(lossless);
        const bool started = rsc_job_open_output(job, out.toUtf8().constData(), "mp4", nullptr) == 1 &&
                             rsc_job_start(job) == 1 &&
                             rsc_job_add_task(job, source.toUtf8().constData(), 0, 0, nullptr) == 1;
        r.landed = started && change() && !rsc_job_is_finished(job);
        r.finished = started && waitFinished(job);
        r.error = QString::fromUtf8(rsc_job_error(job));
        if (r.landed) {
            r.failed = rsc_job_is_failed(job);
            r.kept = rsc_job_close(job) == 1;
        } else {
            rsc_job_discard(job);
        }
        rsc_job_release(job);
        if (!started)
            return r;
    }
    return r;
}

// A writer (a child process) joins the long clip into `out` and then waits, with the output open; it is
// killed (SIGKILL) once `written` holds for it. False when it never did.
bool killWriterOnceWritten(const QByteArray &out, bool unnamed, const std::function<bool(pid_t)> &written)
{
    const QByteArray source = jobtest::longClip().toUtf8();
    const pid_t child = ::fork();
    if (child < 0)
        return false;
    if (child == 0) {
        rsc::job::PartialFile::allowUnnamed(unnamed);
        rsc_job *job = rsc_job_create_merge_lossless(RSC_CREATE_DEFAULT);
        if (rsc_job_open_output(job, out.constData(), "mp4", nullptr) == 1 && rsc_job_start(job) == 1 &&
            rsc_job_add_task(job, source.constData(), 0, 0, nullptr) == 1) {
            for (;;)
                rsc_job_wait(job, 1000);
        }
        ::_exit(1);
    }
    const bool writing = QTest::qWaitFor([&] { return written(child); }, 6 * rstest::kHangBoundMs);
    ::kill(child, SIGKILL);
    int status = 0;
    return ::waitpid(child, &status, 0) == child && writing;
}

// A hidden file in `dir` that holds data and is none of `known`; empty when there is none.
QString newHiddenFile(const QString &dir, const QStringList &known)
{
    for (const QFileInfo &f : QDir(dir).entryInfoList(QDir::Files | QDir::Hidden)) {
        if (!known.contains(f.fileName()) && f.fileName().startsWith(QLatin1Char('.')) && f.size() > 0)
            return f.fileName();
    }
    return QString();
}

// Writes "the user's" into each of `names` in `dir`.
bool writeUsersFiles(const QString &dir, const QStringList &names)
{
    for (const QString &name : names) {
        QFile f(dir + QLatin1Char('/') + name);
        if (!f.open(QIODevice::WriteOnly) || f.write("the user's") != 10)
            return false;
    }
    return true;
}

// A file created at `path` and locked, as a running writer holds its hidden file; its descriptor, or -1.
int heldFile(const QString &path)
{
    const int fd = ::open(path.toUtf8().constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Joins a clip into `dir`/`name` and answers the files of `dir` then; empty when the join failed.
QStringList filesAfterJoinInto(const QString &dir, const QString &name)
{
    const jobtest::Outcome r =
        jobtest::runMerge(true, dir + QLatin1Char('/') + name, QStringLiteral("mp4"),
                          {jobtest::Task{MediaFixtures::standard(QStringLiteral("h264_aac.mp4"))}});
    if (r.failed)
        qWarning("the join failed: %s", qPrintable(r.error));
    return r.failed ? QStringList() : filesIn(dir);
}

// rstest::aclLettingRead() for `user` with the given bits in its owning group's entry (its third).
QByteArray aclWithGroup(uid_t user, int groupBits)
{
    QByteArray acl = rstest::aclLettingRead(user, 6);
    acl[4 + 2 * 8 + 2] = char(groupBits);
    return acl;
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
    void sourceMetadataChangedDuringItsTaskPasses_data();
    void sourceMetadataChangedDuringItsTaskPasses();
    void sourceWatchSharedOrOverflowed_data();
    void sourceWatchSharedOrOverflowed();
    void fullDiskSaysWhy_data();
    void fullDiskSaysWhy();
    void fileOfTheEditsThatIsTheOutputWritesNothing_data();
    void fileOfTheEditsThatIsTheOutputWritesNothing();
    void partsOfEndedRunsAreRemoved_data();
    void partsOfEndedRunsAreRemoved();
    void unmarkedPartsOfItsOutputAreRemoved_data();
    void unmarkedPartsOfItsOutputAreRemoved();
    void replacedOutputKeepsItsAccess_data();
    void replacedOutputKeepsItsAccess();
    void replacedOutputGivesNoOneMoreAccess_data();
    void replacedOutputGivesNoOneMoreAccess();
    void newOutputIsPrivateUntilComplete_data();
    void newOutputIsPrivateUntilComplete();
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
    RS_SHARD_UNIT();
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
    // Only a time taken by decoding gives room for a rewrite of this size.
    QTest::newRow("rewritten, time put back, re-encoding") << false << QStringLiteral("rewritten, time put back");
}

void TestJobGuards::sourceChangedDuringItsTaskFails()
{
    RS_SHARD_UNIT();
    // The clip is changed (same file, other content, size or time) right after its task started. When the
    // task was still running once the change was made, it must fail and leave nothing.
    QFETCH(bool, lossless);
    QFETCH(QString, change);
    QFile other(MediaFixtures::standard(QStringLiteral("h264_aac_b.mp4")));
    QVERIFY(other.open(QIODevice::ReadOnly));
    const QByteArray otherBytes = other.readAll();
    const QString dir = rstest::scratchDir(QStringLiteral("changed"));
    const QString source = dir + QStringLiteral("/clip.mp4");
    const QString out = dir + QStringLiteral("/joined.mp4");
    const ChangedRun r = joinChangedSource(lossless, source, out, [&] {
        // Overwritten from its start, as a program saving over it does before it truncates.
        const int fd =
            ::open(source.toUtf8().constData(), change == QLatin1String("grown") ? O_WRONLY | O_APPEND : O_WRONLY);
        bool done = false;
        if (change == QLatin1String("touched"))
            done = ::futimens(fd, nullptr) == 0;
        else if (change == QLatin1String("rewritten, time put back"))
            done = rewriteKeepingTime(fd);
        else
            done = ::write(fd, otherBytes.constData(), size_t(otherBytes.size())) == ssize_t(otherBytes.size());
        ::close(fd);
        return done;
    });
    QVERIFY2(r.landed, qPrintable(QStringLiteral("every task ended before its clip could be changed ") + r.error));
    QVERIFY(r.finished);
    QVERIFY2(r.failed, "a clip changed while it was read passed as joined");
    QVERIFY2(r.error.contains(QLatin1String("changed")), qPrintable(r.error));
    QVERIFY(!r.kept);
    QVERIFY(!QFileInfo::exists(out));
    QCOMPARE(hiddenParts(dir), QStringList());
}

void TestJobGuards::sourceMetadataChangedDuringItsTaskPasses_data()
{
    QTest::addColumn<bool>("lossless");
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("events");    // the kernel's file events are used (else size and time alone)
    QTest::addColumn<bool>("rewritten"); // then written to, with its time put back: must fail
    const char *const changes[] = {"tagged", "renamed", "hard-linked", "unlinked", "mode changed", "accessed"};
    for (const bool lossless : {true, false}) {
        const QString mode = lossless ? QStringLiteral(", lossless") : QStringLiteral(", re-encoding");
        for (const char *change : changes)
            QTest::newRow(qPrintable(change + mode)) << lossless << QString::fromLatin1(change) << true << false;
        QTest::newRow(qPrintable("mode changed, no file events" + mode))
            << lossless << QStringLiteral("mode changed") << false << false;
    }
    // Only a time taken by decoding gives room for a rewrite of this size.
    for (const char *change : {"renamed", "hard-linked", "unlinked"})
        QTest::newRow(qPrintable(change + QStringLiteral(", then rewritten, time put back, re-encoding")))
            << false << QString::fromLatin1(change) << true << true;
}

void TestJobGuards::sourceMetadataChangedDuringItsTaskPasses()
{
    RS_SHARD_UNIT();
    // What users' programs do to a clip without touching its bytes, while it is joined: a file manager's tag,
    // a rename, a backup's hard link, a delete, a new mode, a read. The join goes on and gives the whole clip;
    // where no file events can be had (network filesystems, watch limits) too. A write after the change (to the
    // same file, by the descriptor opened before, or through the link) still fails the task.
    QFETCH(bool, lossless);
    QFETCH(QString, change);
    QFETCH(bool, events);
    QFETCH(bool, rewritten);
    const QString dir = rstest::scratchDir(QStringLiteral("metadata"));
    const QString source = dir + QStringLiteral("/clip.mp4");
    const QString out = dir + QStringLiteral("/joined.mp4");
    const QByteArray src = source.toUtf8();
    const QByteArray other = (dir + QStringLiteral("/other.mp4")).toUtf8();
    if (change == QLatin1String("tagged") && ::setxattr(dir.toUtf8().constData(), "user.probe", "1", 1, 0) != 0)
        QSKIP("the scratch filesystem has no user attributes");
    rsc::job::SourceWatch::allowEvents(events);
    const auto restore = qScopeGuard([] { rsc::job::SourceWatch::allowEvents(true); });

    const ChangedRun r = joinChangedSource(lossless, source, out, [&] {
        ::unlink(other.constData());
        int fd = rewritten ? ::open(src.constData(), O_WRONLY) : -1;
        bool done = !rewritten || fd >= 0;
        if (change == QLatin1String("tagged")) {
            done = done && ::setxattr(src.constData(), "user.xdg.tags", "holiday", 7, 0) == 0;
        } else if (change == QLatin1String("renamed")) {
            done = done && ::rename(src.constData(), other.constData()) == 0;
        } else if (change == QLatin1String("hard-linked")) {
            done = done && ::link(src.constData(), other.constData()) == 0;
            ::close(fd);
            fd = rewritten ? ::open(other.constData(), O_WRONLY) : -1;
        } else if (change == QLatin1String("unlinked")) {
            done = done && ::unlink(src.constData()) == 0;
        } else if (change == QLatin1String("mode changed")) {
            done = done && ::chmod(src.constData(), 0444) == 0;
        } else { // the access time alone, as `touch -a`
            const struct timespec times[2] = {{0, UTIME_NOW}, {0, UTIME_OMIT}};
            done = done && ::utimensat(AT_FDCWD, src.constData(), times, 0) == 0;
        }
        done = done && (!rewritten || rewriteKeepingTime(fd));
        ::close(fd);
        return done;
    });
    QVERIFY2(r.landed, qPrintable(QStringLiteral("every task ended before its clip could be changed ") + r.error));
    QVERIFY(r.finished);
    if (rewritten) {
        QVERIFY2(r.failed && r.error.contains(QLatin1String("changed while it was read")), qPrintable(r.error));
        QVERIFY(!r.kept && !QFileInfo::exists(out));
        return;
    }
    QVERIFY2(!r.failed && r.kept, qPrintable(r.error));
    QVERIFY(qAbs(rstest::FFprobe::durationSeconds(out) - rstest::FFprobe::durationSeconds(jobtest::longClip())) < 0.2);
    QCOMPARE(rstest::FFprobe::decodeErrors(out), QString());
}

void TestJobGuards::sourceWatchSharedOrOverflowed_data()
{
    QTest::addColumn<QString>("events"); // what befell the kernel's reports before the change
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("written");
    for (const char *change : {"rewritten", "mode changed", ""}) {
        const QString c = QString::fromLatin1(change);
        const bool rewritten = c == QLatin1String("rewritten");
        const QString name = c.isEmpty() ? QStringLiteral("untouched") : c;
        QTest::newRow(qPrintable("another reader let go, " + name)) << "another reader let go" << c << rewritten;
        QTest::newRow(qPrintable("every reader let go, " + name)) << "every reader let go" << c << rewritten;
        // Reports lost: any change at all may have been a write; not so for a file watched afterwards.
        QTest::newRow(qPrintable("lost, " + name)) << "lost" << c << !c.isEmpty();
        QTest::newRow(qPrintable("lost before it was watched, " + name)) << "lost before" << c << rewritten;
    }
}

void TestJobGuards::sourceWatchSharedOrOverflowed()
{
    RS_SHARD_UNIT();
    // One file read by several clips has one watch; the first to let go leaves it to the others. When the
    // kernel's event queue overflowed, writes may have gone unreported.
    QFETCH(QString, events);
    QFETCH(QString, change);
    QFETCH(bool, written);
    QFile limitFile(QStringLiteral("/proc/sys/fs/inotify/max_queued_events"));
    const int limit = limitFile.open(QIODevice::ReadOnly) ? limitFile.readAll().trimmed().toInt() : 0;
    if (limit <= 0 || limit > (1 << 22))
        QSKIP("no inotify event queue here");
    const QString dir = rstest::scratchDir(QStringLiteral("watch"));
    int fds[3];
    rsc::job::SourceWatch watches[3];
    for (int i = 0; i < 3; ++i) {
        fds[i] = ::open((dir + QStringLiteral("/%1").arg(i)).toUtf8().constData(), O_RDWR | O_CREAT, 0644);
        QVERIFY(fds[i] >= 0 && ::write(fds[i], "data", 4) == 4);
        QVERIFY(watches[i].start(fds[i]));
    }
    rsc::job::SourceWatch later;
    rsc::job::SourceWatch *judged = &watches[0];
    if (events == QLatin1String("another reader let go")) {
        QVERIFY(later.start(fds[0]));
        watches[0].stop();
        judged = &later;
    } else if (events == QLatin1String("every reader let go")) {
        // The kernel's instance outlives its last watch: closing it waits for the kernel, which a join did
        // between every two clips. The next file is watched through it.
        const int watching = fileEventInstances();
        for (rsc::job::SourceWatch &w : watches)
            w.stop();
        QCOMPARE(fileEventInstances(), watching);
        QVERIFY(later.start(fds[0]));
        QCOMPARE(fileEventInstances(), watching);
        judged = &later;
    } else {
        // Writes to two watched files in turn, so that the kernel merges none of their reports.
        for (int i = 0; i <= limit; ++i)
            QCOMPARE(::pwrite(fds[1 + i % 2], "x", 1, 0), ssize_t(1));
        QVERIFY(later.start(fds[0]));
        if (events == QLatin1String("lost before"))
            judged = &later;
    }
    struct stat st;
    QCOMPARE(::fstat(fds[0], &st), 0);
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    if (change == QLatin1String("mode changed"))
        QCOMPARE(::fchmod(fds[0], 0444), 0);
    else if (change == QLatin1String("rewritten"))
        QVERIFY(::pwrite(fds[0], "DATA", 4, 0) == 4 && ::futimens(fds[0], times) == 0);
    QCOMPARE(judged->written(fds[0]), written);
    later.stop();
    for (int i = 0; i < 3; ++i) {
        watches[i].stop();
        ::close(fds[i]);
    }
}

void TestJobGuards::fullDiskSaysWhy_data()
{
    QTest::addColumn<bool>("lossless");
    QTest::newRow("lossless") << true;
    QTest::newRow("re-encoding") << false;
}

void TestJobGuards::fullDiskSaysWhy()
{
    RS_SHARD_UNIT();
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

void TestJobGuards::fileOfTheEditsThatIsTheOutputWritesNothing_data()
{
    QTest::addColumn<bool>("lossless");
    QTest::addColumn<QString>("use");
    for (const bool lossless : {true, false}) {
        for (const char *use : {"subtitle file", "background sound", "watermark picture", "watermark mask",
                                "effect picture", "frame picture"})
            QTest::newRow(qPrintable(QString::fromLatin1(use) + (lossless ? ", lossless" : ", re-encoding")))
                << lossless << QString::fromLatin1(use);
    }
}

void TestJobGuards::fileOfTheEditsThatIsTheOutputWritesNothing()
{
    RS_SHARD_UNIT();
    // The output path names a file the clip's edits use (in another spelling): the add is refused with the
    // file's name, in both modes (a lossless join leaves the edits unapplied, but the file is the user's), and
    // even a caller that closes the job finds the file as it was.
    QFETCH(bool, lossless);
    QFETCH(QString, use);
    const QString dir = rstest::scratchDir(QStringLiteral("editfile"));
    QString name;
    if (use == QLatin1String("subtitle file")) {
        name = QStringLiteral("used.srt");
        QFile srt(dir + QLatin1Char('/') + name);
        QVERIFY(srt.open(QIODevice::WriteOnly));
        srt.write("1\n00:00:00,100 --> 00:00:01,000\nHello\n");
    } else if (use == QLatin1String("background sound")) {
        name = QStringLiteral("used.m4a");
        QVERIFY(QFile::copy(MediaFixtures::standard(QStringLiteral("audio.m4a")), dir + QLatin1Char('/') + name));
    } else {
        name = QStringLiteral("used.png");
        QImage picture(64, 64, QImage::Format_RGB32);
        picture.fill(Qt::gray);
        QVERIFY(picture.save(dir + QLatin1Char('/') + name));
    }
    const QString used = dir + QLatin1Char('/') + name;
    const QByteArray out = (dir + QStringLiteral("/./") + name).toUtf8();
    const QByteArray usedPath = used.toUtf8();
    rsc_edit *edit = rsc_edit_create();
    if (use == QLatin1String("subtitle file")) {
        rsc_edit_set_subtitle_file(edit, usedPath.constData());
    } else if (use == QLatin1String("background sound")) {
        rsc_edit_set_audio_background_file(edit, usedPath.constData());
    } else {
        rsc_edit_set_watermark_slot(edit, use.startsWith(QLatin1String("effect"))  ? 1
                                          : use.startsWith(QLatin1String("frame")) ? 2
                                                                                   : 0);
        const QString picture = dir + QStringLiteral("/picture.png");
        QVERIFY(QImage(32, 32, QImage::Format_RGB32).save(picture));
        const bool mask = use.endsWith(QLatin1String("mask"));
        rsc_edit_set_watermark_image_file(edit, mask ? picture.toUtf8().constData() : usedPath.constData());
        if (mask)
            rsc_edit_set_watermark_image_mask_file(edit, usedPath.constData());
    }
    const QByteArray before = digest(used);
    const QStringList files = QDir(dir).entryList(QDir::Files | QDir::Hidden);

    rsc_job *job = newJob(lossless);
    QCOMPARE(rsc_job_open_output(job, out.constData(), "mp4", nullptr), 1);
    QCOMPARE(rsc_job_start(job), 1);
    const QByteArray clip = MediaFixtures::standard(QStringLiteral("h264_aac.mp4")).toUtf8();
    QCOMPARE(rsc_job_add_task(job, clip.constData(), 0, 0, edit), 0);
    rsc_edit_release(edit);
    const QString why = QString::fromUtf8(rsc_job_error(job));
    QVERIFY2(why.contains(used) && why.contains(QLatin1String("is the output")), qPrintable(why));
    QCOMPARE(rsc_job_close(job), 0);
    rsc_job_release(job);
    QCOMPARE(digest(used), before);
    QCOMPARE(QDir(dir).entryList(QDir::Files | QDir::Hidden), files);
}

void TestJobGuards::partsOfEndedRunsAreRemoved_data()
{
    QTest::addColumn<bool>("unnamed");
    QTest::newRow("unnamed file") << true;
    QTest::newRow("named file (no unnamed files)") << false;
}

void TestJobGuards::partsOfEndedRunsAreRemoved()
{
    RS_SHARD_UNIT();
    // A writer killed while it writes (a child process, SIGKILL) leaves no named file where the filesystem has
    // unnamed files (the build tree's); elsewhere its hidden file, which the next job in that folder removes.
    // That job removes nothing else: not users' files that look alike (old-style names of ended processes,
    // a name of our form for another output without our mark), nor a marked file whose writer's lock is held.
    QFETCH(bool, unnamed);
    const QString dir = rstest::buildDir() + QStringLiteral("/job-guards-killed-") + (unnamed ? "1" : "0");
    QDir(dir).removeRecursively();
    QVERIFY(QDir().mkpath(dir));
    if (unnamed) {
        const int probe = ::open(dir.toUtf8().constData(), O_TMPFILE | O_WRONLY, 0644);
        if (probe < 0)
            QSKIP("the build tree's filesystem has no unnamed files");
        ::close(probe);
    }
    const qint64 dead = deadPid();
    QStringList users{QStringLiteral(".notes.txt.99999-1.part"), QStringLiteral(".thesis.odt.4000000-7.part"),
                      QStringLiteral(".a.00099999-1.part"), QStringLiteral(".clip.mp4.%1-0.part").arg(dead),
                      QStringLiteral(".clip.mp4.0123456789abcdef0123456789abcdef.part")};
    QVERIFY(writeUsersFiles(dir, users));
    // Marked as ours, but its writer (here: this process) holds the lock.
    const QString token = QStringLiteral("fedcba9876543210fedcba9876543210");
    const QString live = QStringLiteral(".live.mp4.%1.part").arg(token);
    users << live;
    const int liveFd = heldFile(dir + QLatin1Char('/') + live);
    QVERIFY(liveFd >= 0);
    const QByteArray mark = token.toLatin1();
    if (::fsetxattr(liveFd, "user.reelsplice.partial", mark.constData(), size_t(mark.size()), 0) != 0) {
        ::close(liveFd);
        QSKIP("the build tree's filesystem has no extended attributes: no file is ever removed there");
    }
    users.sort();
    QCOMPARE(filesIn(dir), users);

    // Killed once its file holds data.
    auto written = [&](pid_t child) {
        return unnamed ? unnamedFileSize(child, dir) > 0 : !newHiddenFile(dir, users).isEmpty();
    };
    QVERIFY2(killWriterOnceWritten((dir + QStringLiteral("/out.mp4")).toUtf8(), unnamed, written),
             "the writer wrote nothing");
    QCOMPARE(filesIn(dir).size(), users.size() + (unnamed ? 0 : 1));

    const QStringList after = filesAfterJoinInto(dir, QStringLiteral("joined.mp4"));
    ::close(liveFd);
    QStringList expected = users + QStringList{QStringLiteral("joined.mp4")};
    expected.sort();
    QCOMPARE(after, expected);
    QDir(dir).removeRecursively();
}

void TestJobGuards::unmarkedPartsOfItsOutputAreRemoved_data()
{
    QTest::addColumn<bool>("fat");
    QTest::newRow("FAT: no unnamed files, no marks; writer killed") << true;
    QTest::newRow("marks: a file of its name without the mark stays") << false;
}

void TestJobGuards::unmarkedPartsOfItsOutputAreRemoved()
{
    RS_SHARD_UNIT();
    // Where the filesystem keeps no marks (FAT and exFAT have no extended attributes) a hidden file is removed by
    // the next join into the same output: by its exact name, our ownership and its free lock. Files that look
    // alike stay: other name shapes, 31 or upper-case hex digits, the name of another output, a file whose
    // writer holds its lock. Where marks exist, a file is ours by its mark alone: one of our name without it
    // (someone's file that took the name, or one whose writer was killed before it marked it) stays, and so do
    // a file whose mark is not its name's, another user's file and a link.
    QFETCH(bool, fat);
    const QString base = rstest::buildDir() + QStringLiteral("/job-guards-unmarked-") + (fat ? "fat" : "marks");
    rstest::FatFolder fatFolder(base);
    QString dir = base;
    if (fat) {
        if (!fatFolder.mount())
            QSKIP(qPrintable(QStringLiteral("no FAT file system here: ") + fatFolder.why()));
        dir = fatFolder.path();
    } else {
        QDir(dir).removeRecursively();
        QVERIFY(QDir().mkpath(dir));
    }
    const QString token = QStringLiteral("0123456789abcdef0123456789abcdef");
    auto hidden = [](const char *output, const QString &token) {
        return QStringLiteral(".%1.%2.part").arg(QString::fromLatin1(output), token);
    };
    QStringList users{QStringLiteral(".notes.txt.99999-1.part"),
                      QStringLiteral(".holiday.mp4.part"),
                      hidden("out.mp4", token.left(31)),
                      hidden("out.mp4", QStringLiteral("ABCDEF0123456789ABCDEF0123456789")),
                      hidden("other.mp4", token),
                      hidden("out.mp4", token).mid(1)};
    QVERIFY(writeUsersFiles(dir, users));
    const QString live = hidden("out.mp4", QStringLiteral("fedcba9876543210fedcba9876543210"));
    users << live;
    const int liveFd = heldFile(dir + QLatin1Char('/') + live);
    QVERIFY(liveFd >= 0);
    QString leftover;
    if (fat) {
        auto written = [&](pid_t) { return !newHiddenFile(dir, users).isEmpty(); };
        QVERIFY2(killWriterOnceWritten((dir + QStringLiteral("/out.mp4")).toUtf8(), true, written),
                 "the writer wrote nothing");
        leftover = newHiddenFile(dir, users);
        QVERIFY2(QRegularExpression(QStringLiteral("^\\.out\\.mp4\\.[0-9a-f]{32}\\.part$")).match(leftover).hasMatch(),
                 qPrintable(leftover));
    } else {
        // Created, not yet marked nor locked: as any file of that name, it stays.
        users << hidden("out.mp4", token);
        const QString otherMark = hidden("out.mp4", QString(32, QLatin1Char('a')));
        const QString shortMark = hidden("out.mp4", QString(32, QLatin1Char('d')));
        const QString othersFile = hidden("out.mp4", QString(32, QLatin1Char('b')));
        const QString link = hidden("out.mp4", QString(32, QLatin1Char('c')));
        QVERIFY(writeUsersFiles(dir, {users.last(), otherMark, shortMark, othersFile}));
        for (const QString &marked : {otherMark, shortMark}) {
            const QByteArray mark = marked == otherMark ? token.toLatin1() : QByteArray("d");
            QCOMPARE(::setxattr((dir + QLatin1Char('/') + marked).toUtf8().constData(), "user.reelsplice.partial",
                                mark.constData(), size_t(mark.size()), 0),
                     0);
        }
        QVERIFY(QFile::link(users.first(), dir + QLatin1Char('/') + link));
        users << otherMark << shortMark << link;
        // Given away where this user may (root).
        const struct passwd *nobody = ::getpwnam("nobody");
        if (nobody &&
            ::chown((dir + QLatin1Char('/') + othersFile).toUtf8().constData(), nobody->pw_uid, gid_t(-1)) == 0)
            users << othersFile;
        else
            QVERIFY(QFile::remove(dir + QLatin1Char('/') + othersFile));
    }
    QStringList before = users;
    if (!leftover.isEmpty())
        before << leftover;
    before.sort();
    QCOMPARE(filesIn(dir), before);

    const QStringList after = filesAfterJoinInto(dir, QStringLiteral("out.mp4"));
    ::close(liveFd);
    QStringList expected = users + QStringList{QStringLiteral("out.mp4")};
    expected.sort();
    QCOMPARE(after, expected);
    if (!fat)
        QDir(dir).removeRecursively();
}

void TestJobGuards::replacedOutputKeepsItsAccess_data()
{
    QTest::addColumn<bool>("unnamed");
    QTest::addColumn<int>("aclGroup");  // the bits of the ACL's owning-group entry; -1: no ACL
    QTest::addColumn<int>("mode");      // of the old output
    QTest::addColumn<bool>("nobodys");  // the old output is user nobody's (else this user's), of group nogroup
    QTest::addColumn<bool>("byNobody"); // user nobody replaces this user's output (of this user's group)
    QTest::addColumn<int>("expected");  // the new file's mode
    QTest::newRow("private, unnamed file") << true << -1 << 0600 << false << false << 0600;
    QTest::newRow("private, named file") << false << -1 << 0600 << false << false << 0600;
    QTest::newRow("ACL, unnamed file") << true << 0 << 0600 << false << false << 0640;
    QTest::newRow("ACL, named file") << false << 0 << 0600 << false << false << 0640;
    QTest::newRow("set-ID bits, nobody's file replaced by root") << true << -1 << 06750 << true << false << 0750;
    QTest::newRow("set-ID bits, root's file replaced by nobody") << false << -1 << 06755 << false << true << 0755;
    // Nobody's group was never the old file's: it gets what the old file gave others.
    QTest::newRow("group's bits, root's 0640 file replaced by nobody, unnamed file")
        << true << -1 << 0640 << false << true << 0600;
    QTest::newRow("group's bits, root's 0660 file replaced by nobody, named file")
        << false << -1 << 0660 << false << true << 0600;
    QTest::newRow("group's bits, root's 0664 file replaced by nobody") << true << -1 << 0664 << false << true << 0644;
    QTest::newRow("ACL's owning group, root's file replaced by nobody") << false << 4 << 0600 << false << true << 0640;
}

void TestJobGuards::replacedOutputKeepsItsAccess()
{
    RS_SHARD_UNIT();
    // A join replaces an output the user had made private: the new file keeps its mode, owner and group
    // where this user may give them, and its extended attributes and ACL, but not our mark (left on it by a
    // writer killed after placing it). Set-ID bits are never given, nor the old group's access to another
    // group.
    QFETCH(bool, unnamed);
    QFETCH(int, aclGroup);
    QFETCH(int, mode);
    QFETCH(bool, nobodys);
    QFETCH(bool, byNobody);
    QFETCH(int, expected);
    const int nogroup = rstest::groupId("nogroup");
    const struct passwd *nobody = ::getpwnam("nobody");
    if (nogroup < 0 || !nobody)
        QSKIP("this system has no group nogroup or no user nobody");
    if ((nobodys || byNobody) && ::geteuid() != 0)
        QSKIP("only root acts for user nobody");
    // A folder of this run in the temporary folder (the build tree may lie where user nobody cannot reach),
    // with the clip in it.
    QTemporaryDir scratch(QDir::tempPath() + QStringLiteral("/rs-access-XXXXXX"));
    QVERIFY(scratch.isValid());
    const QString dir = scratch.path();
    QCOMPARE(::chmod(dir.toUtf8().constData(), 0777), 0);
    if (byNobody && !rstest::othersReach(dir))
        QSKIP(qPrintable(QStringLiteral("user nobody cannot reach ") + dir));
    QString clip, out;
    QVERIFY(accesstest::clipAndOldOutput(dir, &clip, &out));
    const QByteArray path = out.toUtf8();
    const QByteArray old = digest(out);
    if (::chown(path.constData(), nobodys ? nobody->pw_uid : ::geteuid(), byNobody ? ::getegid() : gid_t(nogroup)) != 0)
        QSKIP("this user may not give the file to group nogroup");
    QCOMPARE(::chmod(path.constData(), mode_t(mode)), 0);
    QCOMPARE(::setxattr(path.constData(), "user.comment", "private", 7, 0), 0);
    const QByteArray list = aclWithGroup(nobody->pw_uid, aclGroup);
    if (aclGroup >= 0 &&
        ::setxattr(path.constData(), "system.posix_acl_access", list.constData(), size_t(list.size()), 0) != 0)
        QSKIP("the build tree's filesystem has no POSIX ACLs");
    const rstest::FileAccess before = rstest::fileAccess(out);
    QStringList attributes = before.attributes;
    if (byNobody && aclGroup < 0 && !(mode & S_IROTH)) // a user's attributes are read as the file is
        attributes.clear();
    if (byNobody && aclGroup >= 0) // the others' entry holds nothing
        attributes.replaceInStrings(QString::fromLatin1("=" + list.toHex()),
                                    QString::fromLatin1("=" + aclWithGroup(nobody->pw_uid, 0).toHex()));
    QCOMPARE(::setxattr(path.constData(), "user.reelsplice.partial", "0123456789abcdef0123456789abcdef", 32, 0), 0);

    const QString failed = accesstest::joinOver(clip, out, byNobody, unnamed);
    QVERIFY2(failed.isEmpty(), qPrintable(failed));
    QVERIFY(digest(out) != old);
    const rstest::FileAccess after = rstest::fileAccess(out);
    QCOMPARE(QString::number(after.mode, 8), QString::number(expected, 8));
    QCOMPARE(after.uid, byNobody ? uint(nobody->pw_uid) : before.uid);
    QCOMPARE(after.gid, byNobody ? uint(nobody->pw_gid) : before.gid);
    QCOMPARE(after.attributes, attributes);
    QCOMPARE(hiddenParts(dir), QStringList());
}

void TestJobGuards::replacedOutputGivesNoOneMoreAccess_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("acl");       // of the old output (its text sets the mode's bits)
    QTest::addColumn<QString>("folderAcl"); // the folder's default ACL, set once the old output exists
    QTest::addColumn<QString>("by");        // who joins: root, the old output's owner or nobody
    QTest::addColumn<bool>("unnamed");
    const struct
    {
        const char *name;
        int mode;
        const char *acl;
        const char *folderAcl;
    } cases[] = {
        {"0604", 0604, "", ""},
        {"0606", 0606, "", ""},
        {"0646", 0646, "", ""},
        {"0707", 0707, "", ""},
        {"6755", 06755, "", ""},
        {"group 3000 denied under mask r--", 0, "u::rw-,g::r--,g:3000:---,m::r--,o::r--", ""},
        {"named user and group allowed, mask rw-", 0, "u::rw-,u:2000:rw-,g::r--,g:3000:rw-,m::rw-,o::---", ""},
        {"named user and group denied, others read", 0, "u::rw-,u:2000:---,g::r--,g:3000:---,m::r--,o::r--", ""},
        {"mask r-- denies the named entries' write", 0, "u::rw-,u:2000:rw-,g::rw-,g:3000:rw-,m::r--,o::r--", ""},
        {"named entries under mask --- (the mode alone counts)", 0, "u::rw-,u:2000:r--,g::r--,g:3000:rw-,m::---,o::r--",
         ""},
        {"0640, the folder's default ACL lets user 2000 write", 0640, "", "u::rw-,u:2000:rw-,g::r--,m::rw-,o::---"},
        // The mode's group bits show the mask, not the owning group's entry under it.
        {"group --- under mask rw-", 0, "u::rw-,g::---,m::rw-,o::---", ""},
        {"group --- under mask rw-, others read", 0, "u::rw-,g::---,m::rw-,o::r--", ""},
        {"made in a folder whose default ACL has a mask only", -1, "", "u::rwx,g::---,m::rwx,o::r-x"},
    };
    for (const auto &c : cases) {
        for (const char *by : {"root", "owner", "nobody"}) {
            for (const bool unnamed : {true, false})
                QTest::newRow(qPrintable(
                    QStringLiteral("%1, by %2, %3 file").arg(QLatin1String(c.name), by, unnamed ? "unnamed" : "named")))
                    << c.mode << QString::fromLatin1(c.acl) << QString::fromLatin1(c.folderAcl)
                    << QString::fromLatin1(by) << unnamed;
        }
    }
}

void TestJobGuards::replacedOutputGivesNoOneMoreAccess()
{
    RS_SHARD_UNIT();
    // User 1000's output in a shared folder is replaced by root, who keeps owner and group, by user 1000 itself,
    // or by user nobody, who can keep neither. Asked of the kernel for one user of each class, no one may then read,
    // write or run the file who could not before (an entry of the folder's default ACL, which the new file inherits,
    // counts too); where owner and group are kept, everyone keeps what they had.
    QFETCH(int, mode);
    QFETCH(QString, acl);
    QFETCH(QString, folderAcl);
    QFETCH(QString, by);
    QFETCH(bool, unnamed);
    const bool byNobody = by == QLatin1String("nobody");
    const struct passwd *nobody = ::getpwnam("nobody");
    if (!nobody)
        QSKIP("this system has no user nobody");
    if (::geteuid() != 0)
        QSKIP("only root acts for other users");
    QTemporaryDir scratch(QDir::tempPath() + QStringLiteral("/rs-access-XXXXXX"));
    QVERIFY(scratch.isValid());
    const QString dir = scratch.path();
    QCOMPARE(::chmod(dir.toUtf8().constData(), 0777), 0);
    if (!rstest::othersReach(dir))
        QSKIP(qPrintable(QStringLiteral("other users cannot reach ") + dir));
    // Mode -1: the folder has its default ACL before the old output is made, which inherits it.
    const int folderError = mode < 0 ? accesstest::setAcl(dir.toUtf8(), "system.posix_acl_default", folderAcl) : 0;
    QString clip, out;
    QVERIFY(accesstest::clipAndOldOutput(dir, &clip, &out));
    const QByteArray path = out.toUtf8();
    QCOMPARE(::chown(path.constData(), accesstest::kOwner, accesstest::kGroup), 0);
    QVERIFY(mode < 0 || ::chmod(path.constData(), mode_t(mode)) == 0);
    for (const int error :
         {accesstest::setAcl(path, "system.posix_acl_access", acl),
          mode < 0 ? folderError : accesstest::setAcl(dir.toUtf8(), "system.posix_acl_default", folderAcl)}) {
        if (error == EOPNOTSUPP)
            QSKIP("the temporary folder's filesystem has no POSIX ACLs");
        QVERIFY2(error == 0, strerror(error));
    }
    const QByteArray old = digest(out);
    const QVector<accesstest::Person> people = accesstest::people(nobody->pw_gid);
    const QVector<unsigned> before = accesstest::accessMatrix(out, people);

    const QString failed = by == QLatin1String("owner")
                               ? accesstest::joinAs(clip, out, accesstest::kOwner, accesstest::kGroup, unnamed)
                               : accesstest::joinOver(clip, out, byNobody, unnamed);
    QVERIFY2(failed.isEmpty(), qPrintable(failed));
    QVERIFY(digest(out) != old);
    QCOMPARE(hiddenParts(dir), QStringList());
    const QVector<unsigned> after = accesstest::accessMatrix(out, people);
    const QString seen = QStringLiteral("before: %1\nafter:  %2")
                             .arg(accesstest::describe(before, people), accesstest::describe(after, people));
    for (int i = 0; i < people.size(); ++i)
        QVERIFY2(before[i] <= 7 && after[i] <= 7 && (after[i] & ~before[i]) == 0,
                 qPrintable(QString::fromLatin1(people[i].name) + QStringLiteral(" gained\n") + seen));
    if (!byNobody)
        QVERIFY2(after == before, qPrintable(seen));
    const rstest::FileAccess file = rstest::fileAccess(out);
    QCOMPARE(file.uid, byNobody ? uint(nobody->pw_uid) : uint(accesstest::kOwner));
    QCOMPARE(QString::number(file.mode & 07000, 8), QStringLiteral("0"));
}

void TestJobGuards::newOutputIsPrivateUntilComplete_data()
{
    QTest::addColumn<int>("umask");
    QTest::addColumn<bool>("inherits"); // the folder has a default ACL, which takes the umask's place
    QTest::addColumn<int>("expected");  // the output's mode
    QTest::newRow("umask 022") << 022 << false << 0644;
    QTest::newRow("umask 027") << 027 << false << 0640;
    QTest::newRow("folder's default ACL") << 077 << true << 0640;
}

void TestJobGuards::newOutputIsPrivateUntilComplete()
{
    RS_SHARD_UNIT();
    // Where the folder takes no unnamed files a new output is written under a hidden name: no one else may
    // open it while it is written, and once complete it has the mode a new file gets there.
    QFETCH(int, umask);
    QFETCH(bool, inherits);
    QFETCH(int, expected);
    QTemporaryDir scratch(QDir::tempPath() + QStringLiteral("/rs-private-XXXXXX"));
    QVERIFY(scratch.isValid());
    const QString dir = scratch.path();
    const QByteArray acl = rstest::aclLettingRead(uid_t(qMax(0, rstest::userId("nobody"))), 6);
    if (inherits &&
        ::setxattr(dir.toUtf8().constData(), "system.posix_acl_default", acl.constData(), size_t(acl.size()), 0) != 0)
        QSKIP("the temporary folder's filesystem has no POSIX ACLs");
    const QString out = dir + QStringLiteral("/out.mp4");
    const QByteArray clip = jobtest::longClip().toUtf8();
    const mode_t umaskBefore = ::umask(mode_t(umask));
    rsc::job::PartialFile::allowUnnamed(false);
    const auto restore = qScopeGuard([&] {
        ::umask(umaskBefore);
        rsc::job::PartialFile::allowUnnamed(true);
    });
    // Looked at while the task runs and once it has ended, before the close puts the file in place.
    uint seen = 0;
    int looks = 0;
    auto look = [&] {
        for (const QString &name : hiddenParts(dir)) {
            struct stat st;
            if (::stat((dir + QLatin1Char('/') + name).toUtf8().constData(), &st) == 0) {
                seen |= st.st_mode & 0777;
                ++looks;
            }
        }
    };
    rsc_job *job = rsc_job_create_merge_lossless(RSC_CREATE_DEFAULT);
    QCOMPARE(rsc_job_open_output(job, out.toUtf8().constData(), "mp4", nullptr), 1);
    QCOMPARE(rsc_job_start(job), 1);
    QCOMPARE(rsc_job_add_task(job, clip.constData(), 0, 0, nullptr), 1);
    QVERIFY(waitFinished(job, look));
    look();
    QVERIFY(!rsc_job_is_failed(job));
    QCOMPARE(rsc_job_close(job), 1);
    rsc_job_release(job);
    QVERIFY(looks > 0);
    QCOMPARE(QString::number(seen & 077, 8), QStringLiteral("0"));
    const rstest::FileAccess after = rstest::fileAccess(out);
    QCOMPARE(QString::number(after.mode, 8), QString::number(expected, 8));
    if (inherits)
        QVERIFY2(after.attributes.contains(QString::fromLatin1("system.posix_acl_access=" + acl.toHex())),
                 qPrintable(after.attributes.join(QLatin1Char(' '))));
    QCOMPARE(hiddenParts(dir), QStringList());
}

RS_TEST_MAIN(TestJobGuards)
#include "tst_job_guards.moc"
