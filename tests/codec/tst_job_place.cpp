// Where a finished join goes: a file saved at the output path meanwhile stays.
#include "tst_job_helpers.h"
#include "tst_job_outputs.h"

#include "FileAccess.h"
#include "mux_partial.h"

#include <QFileInfo>
#include <QScopeGuard>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using rstest::MediaFixtures;
using namespace outputtest;

namespace {

const QByteArray kLetter("the user's");

// Saves the user's letter at the free `path`, private, as a program saving a new file does.
bool saveLetter(const QString &path)
{
    const int fd = ::open(path.toUtf8().constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    const bool saved = fd >= 0 && ::write(fd, kLetter.constData(), size_t(kLetter.size())) == ssize_t(kLetter.size());
    if (fd >= 0)
        ::close(fd);
    return saved;
}

// Saves the letter over the file at `path` as editors save: written under another name and renamed to it.
bool saveLetterOver(const QString &path)
{
    const QString saving = path + QStringLiteral(".saving");
    return saveLetter(saving) && ::rename(saving.toUtf8().constData(), path.toUtf8().constData()) == 0;
}

} // namespace

class TestJobPlace : public QObject
{
    Q_OBJECT

private slots:
    void fileSavedAtTheOutputMeanwhileIsKept_data();
    void fileSavedAtTheOutputMeanwhileIsKept();
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

RS_TEST_MAIN(TestJobPlace)
#include "tst_job_place.moc"
