// Where a finished join goes: the very file its output path held when it began is replaced, and nothing else,
// however the filesystem numbers its files; a file saved at the path meanwhile stays, in sight; a path freed
// meanwhile is taken; and the partial file of a join whose folder changed, or the old output a read-only folder
// kept, goes.
#include "tst_job_helpers.h"
#include "tst_job_outputs.h"

#include "FatFolder.h"
#include "FileAccess.h"
#include "mux_partial.h"

#include <QFileInfo>
#include <QScopeGuard>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

using rstest::MediaFixtures;
using namespace outputtest;
using Step = rsc::job::PartialFile::Step;

namespace {

const QByteArray kLetter("the user's");

// Saves the user's letter at the free `path`, private, as a program saving a new file does.
bool saveLetter(const QString &path, const QByteArray &letter = kLetter)
{
    const int fd = ::open(path.toUtf8().constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    const bool saved = fd >= 0 && ::write(fd, letter.constData(), size_t(letter.size())) == ssize_t(letter.size());
    if (fd >= 0)
        ::close(fd);
    return saved;
}

// Saves the letter over the file at `path` as editors save: written under another name and renamed to it.
bool saveLetterOver(const QString &path, const QByteArray &letter = kLetter)
{
    const QString saving = path + QStringLiteral(".saving");
    return saveLetter(saving, letter) && ::rename(saving.toUtf8().constData(), path.toUtf8().constData()) == 0;
}

// Saves the letter over the file at `path` as editors that keep a file's extended attributes save: the new file gets
// the user's ones ("user.*") before it is renamed to the path.
bool saveLetterKeepingAttributes(const QString &path, const QByteArray &letter)
{
    const QByteArray from = path.toUtf8();
    const QString saving = path + QStringLiteral(".saving");
    char names[4096];
    const ssize_t size = ::llistxattr(from.constData(), names, sizeof names);
    if (!saveLetter(saving, letter) || (size < 0 && errno != ENOTSUP))
        return false;
    for (ssize_t at = 0; at < size; at += ssize_t(std::strlen(names + at)) + 1) {
        if (std::strncmp(names + at, "user.", 5) != 0)
            continue;
        char value[256];
        const ssize_t n = ::lgetxattr(from.constData(), names + at, value, sizeof value);
        if (n < 0 || ::lsetxattr(saving.toUtf8().constData(), names + at, value, size_t(n), 0) != 0)
            return false;
    }
    return ::rename(saving.toUtf8().constData(), from.constData()) == 0;
}

// Deletes the file at `path` and saves the letter at its name. Where the filesystem gives a freed inode number to
// the next file made in that folder (ext4 gives the lowest free one of the folder's group), the letter gets the
// deleted file's: the files made before it in this search take the free numbers below it, and go afterwards.
// `*reused` tells whether it did.
bool saveLetterAtDeletedName(const QString &path, bool *reused)
{
    struct stat old;
    *reused = false;
    if (::lstat(path.toUtf8().constData(), &old) != 0 || ::unlink(path.toUtf8().constData()) != 0)
        return false;
    QStringList made;
    auto removeMade = qScopeGuard([&] {
        for (const QString &m : made)
            QFile::remove(m);
    });
    for (int i = 0; i < 64 && !*reused; ++i) {
        const QString candidate = path + QStringLiteral(".new%1").arg(i);
        struct stat st;
        if (!saveLetter(candidate) || ::lstat(candidate.toUtf8().constData(), &st) != 0)
            return false;
        *reused = st.st_ino == old.st_ino && st.st_dev == old.st_dev;
        if (*reused)
            return ::rename(candidate.toUtf8().constData(), path.toUtf8().constData()) == 0;
        made << candidate;
    }
    return saveLetter(path);
}

// A lossless join of `clip` into `out`, its task running; null when it could not be started.
rsc_job *startJoin(const QString &out, const QString &clip)
{
    rsc_job *job = newJob(true);
    if (rsc_job_open_output(job, out.toUtf8().constData(), "mp4", nullptr) == 1 && rsc_job_start(job) == 1 &&
        rsc_job_add_task(job, clip.toUtf8().constData(), 0, 0, nullptr) == 1)
        return job;
    rsc_job_release(job);
    return nullptr;
}

// Waits for the join's task, closes and releases the join: 1 when the output took its path, 0 when it did not
// (`*error` says why), -1 when the task failed.
int closeJoin(rsc_job *job, QString *error)
{
    const bool done = waitFinished(job) && !rsc_job_is_failed(job);
    const int kept = rsc_job_close(job);
    *error = QString::fromUtf8(rsc_job_error(job));
    rsc_job_release(job);
    return done ? kept : -1;
}

ino_t inodeOf(const QString &path)
{
    struct stat st;
    return ::lstat(path.toUtf8().constData(), &st) == 0 ? st.st_ino : 0;
}

// Has the kernel forget every file no one holds, as memory pressure does; false where this user may not.
bool dropCaches()
{
    ::sync();
    QFile control(QStringLiteral("/proc/sys/vm/drop_caches"));
    return control.open(QIODevice::WriteOnly) && control.write("2\n") == 2;
}

// Makes `dir` refuse new and removed names, for root too (immutable); else, where this user may not make it so,
// by its mode. Answers how it was done, empty when it could not be.
QString lockFolder(const QString &dir)
{
    if (QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), dir}) == 0)
        return QStringLiteral("immutable");
    return ::geteuid() != 0 && ::chmod(dir.toUtf8().constData(), 0555) == 0 ? QStringLiteral("mode 0555") : QString();
}

void unlockFolder(const QString &dir)
{
    QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), dir});
    ::chmod(dir.toUtf8().constData(), 0755);
}

// Has `hook` run at `step` of the placement, once, until the guard goes.
auto atStep(Step step, std::function<void()> hook)
{
    rsc::job::PartialFile::whilePlacing([step, hook = std::move(hook), done = false](Step now) mutable {
        if (now == step && !done) {
            done = true;
            hook();
        }
    });
    return qScopeGuard([] { rsc::job::PartialFile::whilePlacing(nullptr); });
}

// Opens a join into `out`, which clears up after ended jobs in its folder, and lets it go.
bool openNextJob(const QString &out)
{
    rsc_job *job = newJob(true);
    const bool opened = rsc_job_open_output(job, out.toUtf8().constData(), "mp4", nullptr) == 1;
    rsc_job_release(job);
    return opened;
}

} // namespace

class TestJobPlace : public QObject
{
    Q_OBJECT

private slots:
    void fileSavedAtTheOutputMeanwhileIsKept_data();
    void fileSavedAtTheOutputMeanwhileIsKept();
    void oldOutputTakenMeanwhileIsKept_data();
    void oldOutputTakenMeanwhileIsKept();
    void untouchedOldOutputIsReplacedWhateverItsNumber();
    void partOfAJoinWhoseFolderChangedGoes_data();
    void partOfAJoinWhoseFolderChangedGoes();
    void folderMadeAtTheOutputAsItOpensIsRefused_data();
    void folderMadeAtTheOutputAsItOpensIsRefused();
    void secondSaveDuringThePutBackIsKeptInSight_data();
    void secondSaveDuringThePutBackIsKeptInSight();
    void finishedOutputTakesThePathTheOldOneLeaves_data();
    void finishedOutputTakesThePathTheOldOneLeaves();
};

void TestJobPlace::fileSavedAtTheOutputMeanwhileIsKept_data()
{
    QTest::addColumn<bool>("unnamed");
    QTest::addColumn<bool>("writing"); // saved once the output is being written, else before its first task
    QTest::addColumn<bool>("overOld"); // saved over an old output the join was to replace (a new file renamed)
    for (const bool writing : {true, false}) {
        const char *when = writing ? "while written" : "before the first task";
        QTest::newRow(qPrintable(QStringLiteral("unnamed file, %1").arg(when))) << true << writing << false;
        QTest::newRow(qPrintable(QStringLiteral("named file, %1").arg(when))) << false << writing << false;
    }
    QTest::newRow("unnamed file, over the old output while written") << true << true << true;
    QTest::newRow("named file, over the old output while written") << false << true << true;
}

void TestJobPlace::fileSavedAtTheOutputMeanwhileIsKept()
{
    // The output path is free when the join begins; then the user saves a private file there. The join
    // must not take its place: it fails, naming the file, which keeps its bytes and mode, and leaves nothing.
    QFETCH(bool, unnamed);
    QFETCH(bool, writing);
    QFETCH(bool, overOld);
    const QString dir = rstest::scratchDir(QStringLiteral("appeared"));
    const QString out = dir + QStringLiteral("/out.mp4");
    if (overOld)
        QVERIFY(QFile::copy(MediaFixtures::standard(QStringLiteral("h264_aac_b.mp4")), out));
    rsc::job::PartialFile::allowUnnamed(unnamed);
    const auto restore = qScopeGuard([] { rsc::job::PartialFile::allowUnnamed(true); });
    rsc_job *job = rsc_job_create_merge_lossless(RSC_CREATE_DEFAULT);
    QCOMPARE(rsc_job_open_output(job, out.toUtf8().constData(), "mp4", nullptr), 1);
    QCOMPARE(rsc_job_start(job), 1);
    const QByteArray clip = jobtest::longClip().toUtf8();
    if (writing) {
        QCOMPARE(rsc_job_add_task(job, clip.constData(), 0, 0, nullptr), 1);
        QTRY_VERIFY_WITH_TIMEOUT(unnamed ? unnamedFileSize(::getpid(), dir) >= 0 : !hiddenParts(dir).isEmpty(),
                                 rstest::kHangBoundMs);
    }
    // Over the old output it is saved as editors save: written under another name and renamed to the path.
    QVERIFY(overOld ? saveLetterOver(out) : saveLetter(out));
    const QByteArray before = digest(out);
    if (!writing)
        QCOMPARE(rsc_job_add_task(job, clip.constData(), 0, 0, nullptr), 1);
    QVERIFY(waitFinished(job));
    const int kept = rsc_job_close(job);
    const QString error = QString::fromUtf8(rsc_job_error(job));
    rsc_job_release(job);
    QCOMPARE(kept, 0);
    QVERIFY2(error.contains(out), qPrintable(error));
    QCOMPARE(digest(out), before);
    QCOMPARE(QString::number(rstest::fileAccess(out).mode, 8), QStringLiteral("600"));
    QCOMPARE(filesIn(dir), QStringList{QStringLiteral("out.mp4")});
}

void TestJobPlace::oldOutputTakenMeanwhileIsKept_data()
{
    QTest::addColumn<bool>("unnamed");
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("fat"); // the output's folder is on FAT (through FUSE where it can be)
    for (const char *how : {"deleted while written, then a new file saved at its name",
                            "saved over while the finished output's data is synced",
                            "saved over right after the path was last looked at"}) {
        for (const bool unnamed : {true, false})
            QTest::newRow(qPrintable(QStringLiteral("%1, %2 file").arg(how, unnamed ? "unnamed" : "named")))
                << unnamed << QString::fromLatin1(how) << false;
    }
    // No renames that exchange there: the path is looked at after the sync, and again just before the rename.
    QTest::newRow("saved over while the finished output's data is synced, on FAT")
        << false << QStringLiteral("saved over while the finished output's data is synced") << true;
}

void TestJobPlace::oldOutputTakenMeanwhileIsKept()
{
    // The output path holds an old output when the join begins; before the finished output takes its place, the
    // user saves a letter there: after deleting the old output (on ext4 the new file usually gets the freed inode
    // number: the same device and inode as the old output had), or over it, as editors save, while the join
    // syncs its data (seconds on a slow disk) or in the instant between the join's last look and its rename. The
    // letter is someone's work: the join fails, naming the path, and the letter keeps its bytes and mode.
    QFETCH(bool, unnamed);
    QFETCH(QString, how);
    QFETCH(bool, fat);
    const bool deleted = how.startsWith(QLatin1String("deleted"));
    const QString base = rstest::buildDir() + QStringLiteral("/job-place-taken");
    rstest::FatFolder fatFolder(base);
    QString dir = rstest::scratchDir(QStringLiteral("taken"));
    if (fat) {
        if (!fatFolder.mount())
            QSKIP(qPrintable(QStringLiteral("no FAT file system here: ") + fatFolder.why()));
        dir = fatFolder.path();
    }
    const QString out = dir + QStringLiteral("/out.mp4");
    if (deleted) {
        // Shown first without a join: the folder's filesystem gives the deleted file's number to the letter.
        bool reused = false;
        QVERIFY(QFile::copy(MediaFixtures::standard(QStringLiteral("h264_aac_b.mp4")), out));
        QVERIFY(saveLetterAtDeletedName(out, &reused));
        QVERIFY(QFile::remove(out));
        if (!reused)
            QSKIP("this filesystem gives a deleted file's inode number to no new file at once");
    }
    QVERIFY(QFile::copy(MediaFixtures::standard(QStringLiteral("h264_aac_b.mp4")), out));
    const ino_t oldNumber = inodeOf(out);
    rsc::job::PartialFile::allowUnnamed(unnamed);
    bool saved = false;
    ino_t letterNumber = 0;
    if (!deleted) {
        const Step at = how.contains(QLatin1String("synced")) ? Step::Syncing : Step::Looked;
        rsc::job::PartialFile::whilePlacing([at, &saved, &out, &letterNumber](Step step) {
            if (step == at && !saved) {
                saved = saveLetterOver(out);
                letterNumber = inodeOf(out);
            }
        });
    }
    const auto restore = qScopeGuard([] {
        rsc::job::PartialFile::allowUnnamed(true);
        rsc::job::PartialFile::whilePlacing(nullptr);
    });
    rsc_job *job =
        startJoin(out, deleted ? jobtest::longClip() : MediaFixtures::standard(QStringLiteral("h264_aac.mp4")));
    QVERIFY(job);
    bool reused = false;
    if (deleted) {
        QTRY_VERIFY_WITH_TIMEOUT(unnamed ? unnamedFileSize(::getpid(), dir) >= 0 : !hiddenParts(dir).isEmpty(),
                                 rstest::kHangBoundMs);
        saved = saveLetterAtDeletedName(out, &reused);
        letterNumber = inodeOf(out);
    }
    QString error;
    const int kept = closeJoin(job, &error);
    QVERIFY2(saved, "the letter was never saved");
    QVERIFY2(kept == 0, qPrintable(QStringLiteral("the letter (inode %1; the old output's was %2) was replaced")
                                       .arg(letterNumber)
                                       .arg(oldNumber)));
    // A held file's number is no other's.
    QVERIFY2(!reused, "the letter got the inode number of the old output the join held");
    QVERIFY2(error.contains(out) && error.contains(QLatin1String("made by something else")), qPrintable(error));
    QCOMPARE(digest(out), QCryptographicHash::hash(kLetter, QCryptographicHash::Md5));
    if (!fat)
        QCOMPARE(QString::number(rstest::fileAccess(out).mode, 8), QStringLiteral("600"));
    QCOMPARE(filesIn(dir), QStringList{QStringLiteral("out.mp4")});
}

void TestJobPlace::untouchedOldOutputIsReplacedWhateverItsNumber()
{
    // On FAT a file's inode number is made up when the kernel (or, through FUSE, fusefat) meets the file: a
    // file the kernel forgot, as it does under memory pressure during a long join, comes back with a new
    // number. The old output, untouched, is still the file the join began with: it is replaced, and the
    // join succeeds.
    const QString base = rstest::buildDir() + QStringLiteral("/job-place-forgotten");
    rstest::FatFolder fatFolder(base);
    if (!fatFolder.mount())
        QSKIP(qPrintable(QStringLiteral("no FAT file system here: ") + fatFolder.why()));
    const QString dir = fatFolder.path();
    const QString out = dir + QStringLiteral("/out.mp4");
    // Shown first on a file of its own: forgotten, its number changes.
    const QString probe = dir + QStringLiteral("/probe");
    QVERIFY(saveLetter(probe));
    const ino_t probeNumber = inodeOf(probe);
    if (!dropCaches())
        QSKIP("only root may have the kernel drop its caches");
    if (inodeOf(probe) == probeNumber)
        QSKIP("the kernel kept the file it was asked to forget");
    QVERIFY(QFile::remove(probe));

    QVERIFY(QFile::copy(MediaFixtures::standard(QStringLiteral("h264_aac_b.mp4")), out));
    rsc_job *job = startJoin(out, jobtest::longClip());
    QVERIFY(job);
    QTRY_VERIFY_WITH_TIMEOUT(!hiddenParts(dir).isEmpty(), rstest::kHangBoundMs);
    QVERIFY(dropCaches());
    QString error;
    const int kept = closeJoin(job, &error);
    QVERIFY2(kept == 1, qPrintable(error));
    QVERIFY(qAbs(rstest::FFprobe::durationSeconds(out) - rstest::FFprobe::durationSeconds(jobtest::longClip())) < 0.2);
    QCOMPARE(filesIn(dir), QStringList{QStringLiteral("out.mp4")});
}

void TestJobPlace::partOfAJoinWhoseFolderChangedGoes_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("overOld"); // the join was to replace an old output
    for (const char *change : {"renamed", "made read-only"}) {
        for (const bool overOld : {false, true})
            QTest::newRow(
                qPrintable(QStringLiteral("%1, %2").arg(change, overOld ? "over an old output" : "new output")))
                << QString::fromLatin1(change) << overOld;
    }
}

void TestJobPlace::partOfAJoinWhoseFolderChangedGoes()
{
    // The output's folder is renamed, or made read-only (for root too: immutable), while the join writes its
    // named partial file there. The output cannot take its path and the join fails; its partial file does not
    // stay there full size: it goes, or where the folder takes no removal its data goes and the next job in
    // that folder removes it. An old output stays as it was.
    QFETCH(QString, change);
    QFETCH(bool, overOld);
    const QString base = rstest::scratchDir(QStringLiteral("folder-changed"));
    QString dir = base + QStringLiteral("/out");
    QVERIFY(QDir().mkpath(dir));
    const QString out = dir + QStringLiteral("/out.mp4");
    if (overOld)
        QVERIFY(QFile::copy(MediaFixtures::standard(QStringLiteral("h264_aac_b.mp4")), out));
    const QByteArray old = digest(out);
    rsc::job::PartialFile::allowUnnamed(false);
    const auto restore = qScopeGuard([&] {
        unlockFolder(dir);
        rsc::job::PartialFile::allowUnnamed(true);
    });
    rsc_job *job = startJoin(out, jobtest::longClip());
    QVERIFY(job);
    QTRY_VERIFY_WITH_TIMEOUT(!hiddenParts(dir).isEmpty(), rstest::kHangBoundMs);
    QString how = change;
    if (change == QLatin1String("renamed")) {
        const QString moved = base + QStringLiteral("/moved");
        QCOMPARE(::rename(dir.toUtf8().constData(), moved.toUtf8().constData()), 0);
        dir = moved;
    } else {
        how = lockFolder(dir);
        if (how.isEmpty())
            QSKIP("this filesystem has no immutable folders, and root ignores a folder's mode");
    }
    QString error;
    QCOMPARE(closeJoin(job, &error), 0);
    if (overOld)
        QCOMPARE(digest(dir + QStringLiteral("/out.mp4")), old);
    for (const QString &part : hiddenParts(dir))
        QVERIFY2(QFileInfo(dir + QLatin1Char('/') + part).size() == 0,
                 qPrintable(QStringLiteral("%1 left, the folder %2").arg(part, how)));
    unlockFolder(dir);
    rsc::job::PartialFile::removeAbandoned((dir + QStringLiteral("/out.mp4")).toStdString());
    QCOMPARE(hiddenParts(dir), QStringList());
    QCOMPARE(filesIn(dir), overOld ? QStringList{QStringLiteral("out.mp4")} : QStringList());
}

void TestJobPlace::folderMadeAtTheOutputAsItOpensIsRefused_data()
{
    QTest::addColumn<bool>("overOld");
    QTest::newRow("in place of an old output") << true;
    QTest::newRow("at a free path") << false;
}

void TestJobPlace::folderMadeAtTheOutputAsItOpensIsRefused()
{
    // A folder made at the output path between the open's look at it and its hold of what is there is no old
    // output: the open refuses it, as it refuses a folder there before, and the folder keeps its files.
    QFETCH(bool, overOld);
    const QString dir = rstest::scratchDir(QStringLiteral("folder-made"));
    const QString out = dir + QStringLiteral("/out.mp4");
    if (overOld)
        QVERIFY(QFile::copy(MediaFixtures::standard(QStringLiteral("h264_aac_b.mp4")), out));
    bool made = false;
    const auto restore = atStep(Step::Opening, [&] {
        made = (!overOld || QFile::remove(out)) && QDir().mkdir(out) && saveLetter(out + QStringLiteral("/letter"));
    });
    rsc_job *job = newJob(true);
    const auto release = qScopeGuard([job] { rsc_job_release(job); });
    QCOMPARE(rsc_job_open_output(job, out.toUtf8().constData(), "mp4", nullptr), 0);
    QVERIFY(made);
    const QString error = QString::fromUtf8(rsc_job_error(job));
    QVERIFY2(error.contains(out + QStringLiteral(" is not a regular file")), qPrintable(error));
    QVERIFY(QFileInfo(out).isDir());
    QCOMPARE(digest(out + QStringLiteral("/letter")), QCryptographicHash::hash(kLetter, QCryptographicHash::Md5));
    QCOMPARE(QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"out.mp4"});
}

void TestJobPlace::secondSaveDuringThePutBackIsKeptInSight_data()
{
    QTest::addColumn<bool>("unnamed");
    QTest::addColumn<bool>("crowded"); // "out (2).mp4" ... "out (99).mp4" are all taken
    QTest::addColumn<bool>("ramfs");   // on a filesystem that keeps no extended attributes, so no marks
    QTest::newRow("unnamed file") << true << false << false;
    QTest::newRow("named file") << false << false << false;
    QTest::newRow("named file, every name beside it taken") << false << true << false;
    QTest::newRow("named file, every name beside it taken, on ramfs") << false << true << true;
}

void TestJobPlace::secondSaveDuringThePutBackIsKeptInSight()
{
    // A letter is saved over the old output right after the join's last look, and a second one, keeping the
    // attributes of the file it replaces as some editors do, in the instant the exchange put the finished output
    // at the path. The first goes back to the path; the second is no partial file of the join: it is kept under a
    // name of its own beside it, else (every such name taken) where the exchange left it, and the failure names
    // where; a later join into the same output takes neither.
    QFETCH(bool, unnamed);
    QFETCH(bool, crowded);
    QFETCH(bool, ramfs);
    const QString dir = rstest::scratchDir(QStringLiteral("second-save"));
    if (ramfs && ::mount("ramfs", dir.toUtf8().constData(), "ramfs", 0, nullptr) != 0)
        QSKIP("only root may mount a ramfs");
    const auto unmount = qScopeGuard([&] {
        if (ramfs)
            ::umount2(dir.toUtf8().constData(), MNT_DETACH);
    });
    const QString out = dir + QStringLiteral("/out.mp4");
    const QByteArray second("the second letter");
    QVERIFY(QFile::copy(MediaFixtures::standard(QStringLiteral("h264_aac_b.mp4")), out));
    for (int n = 2; crowded && n < 100; ++n)
        QVERIFY(saveLetter(dir + QStringLiteral("/out (%1).mp4").arg(n)));
    rsc::job::PartialFile::allowUnnamed(unnamed);
    const auto allow = qScopeGuard([] { rsc::job::PartialFile::allowUnnamed(true); });
    int saved = 0;
    rsc::job::PartialFile::whilePlacing([&](Step step) {
        if (step == Step::Looked && saved == 0)
            saved += saveLetterOver(out);
        else if (step == Step::Exchanged && saved == 1)
            saved += saveLetterKeepingAttributes(out, second);
    });
    const auto restore = qScopeGuard([] { rsc::job::PartialFile::whilePlacing(nullptr); });
    rsc_job *job = startJoin(out, MediaFixtures::standard(QStringLiteral("h264_aac.mp4")));
    QVERIFY(job);
    QString error;
    QCOMPARE(closeJoin(job, &error), 0);
    QVERIFY2(saved == 2, "the letters were never saved");
    const QString keptAs = QStringLiteral(" is kept as ");
    const QString kept = error.mid(error.indexOf(keptAs) + keptAs.size());
    QVERIFY2(error.contains(out) && error.contains(keptAs) && QFileInfo(kept).absolutePath() == dir, qPrintable(error));
    if (!crowded)
        QCOMPARE(kept, dir + QStringLiteral("/out (2).mp4"));
    const QStringList files = filesIn(dir);
    QCOMPARE(files.size(), crowded ? 100 : 2);
    QVERIFY(files.contains(QStringLiteral("out.mp4")) && files.contains(QFileInfo(kept).fileName()));
    QVERIFY(openNextJob(out));
    QCOMPARE(filesIn(dir), files);
    QCOMPARE(digest(out), QCryptographicHash::hash(kLetter, QCryptographicHash::Md5));
    QCOMPARE(digest(kept), QCryptographicHash::hash(second, QCryptographicHash::Md5));
}

void TestJobPlace::finishedOutputTakesThePathTheOldOneLeaves_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("fat");
    QTest::addColumn<QString>("next"); // the output of the next job in that folder
    for (const bool fat : {false, true}) {
        for (const char *change : {"deleted", "renamed"})
            QTest::newRow(
                qPrintable(QStringLiteral("old output %1 after the last look%2").arg(change, fat ? ", on FAT" : "")))
                << QString::fromLatin1(change) << fat << QString();
    }
    for (const char *next : {"out.mp4", "other.mp4"})
        QTest::newRow(
            qPrintable(QStringLiteral("folder made read-only after the exchange, next job into %1").arg(next)))
            << QStringLiteral("read-only") << false << QString::fromLatin1(next);
}

void TestJobPlace::finishedOutputTakesThePathTheOldOneLeaves()
{
    // Right after the join's last look the old output is deleted, or renamed (it keeps its bytes): nothing holds
    // the path, and the finished output takes it. Or right after the two changed places the folder is made
    // read-only (for root too: immutable): the output is in place, and the old one, which cannot go, keeps its
    // bytes under the hidden name, marked as the join's: the next job in that folder, into any output, removes it.
    QFETCH(QString, change);
    QFETCH(bool, fat);
    QFETCH(QString, next);
    rstest::FatFolder fatFolder(rstest::buildDir() + QStringLiteral("/job-place-gone"));
    QString dir = rstest::scratchDir(QStringLiteral("gone"));
    if (fat) {
        if (!fatFolder.mount())
            QSKIP(qPrintable(QStringLiteral("no FAT file system here: ") + fatFolder.why()));
        dir = fatFolder.path();
    }
    const QString out = dir + QStringLiteral("/out.mp4");
    const QString moved = dir + QStringLiteral("/old.mp4");
    QVERIFY(QFile::copy(MediaFixtures::standard(QStringLiteral("h264_aac_b.mp4")), out));
    const QByteArray old = digest(out);
    QString how;
    const bool locked = change == QLatin1String("read-only");
    const auto restore = atStep(locked ? Step::Exchanged : Step::Looked, [&] {
        if (locked)
            how = lockFolder(dir);
        else if (change == QLatin1String("renamed") ? QFile::rename(out, moved) : QFile::remove(out))
            how = change;
    });
    const auto unlock = qScopeGuard([&] {
        if (locked)
            unlockFolder(dir);
    });
    const QString clip = MediaFixtures::standard(QStringLiteral("h264_aac.mp4"));
    rsc_job *job = startJoin(out, clip);
    QVERIFY(job);
    QString error;
    const int kept = closeJoin(job, &error);
    if (how.isEmpty() && locked)
        QSKIP("this filesystem has no immutable folders, and root ignores a folder's mode");
    QVERIFY2(!how.isEmpty(), "the old output was not changed");
    QVERIFY2(kept == 1, qPrintable(error));
    QVERIFY(qAbs(rstest::FFprobe::durationSeconds(out) - rstest::FFprobe::durationSeconds(clip)) < 0.2);
    if (locked) {
        const QStringList left = hiddenParts(dir);
        QCOMPARE(left.size(), 1);
        QCOMPARE(digest(dir + QLatin1Char('/') + left.first()), old);
        unlockFolder(dir);
        QVERIFY(openNextJob(dir + QLatin1Char('/') + next));
    }
    const QStringList files =
        change == QLatin1String("renamed") ? QStringList{"old.mp4", "out.mp4"} : QStringList{"out.mp4"};
    QCOMPARE(filesIn(dir), files);
    if (change == QLatin1String("renamed"))
        QCOMPARE(digest(moved), old);
}

RS_TEST_MAIN(TestJobPlace)
#include "tst_job_place.moc"
