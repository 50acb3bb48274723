// The merge job driver and the single-file run driver against the recording fake: signal order,
// overall progress, stops, failures and the finishing actions.

#include "TestSupport.h"

#include "AttributeSetting.h"
#include "HostServices.h"
#include "QConverterObject.h"
#include "QConverterOperate.h"
#include "QNewConvertObject.h"
#include "QVideoSettingXml.h"
#include "SettingKeys.h"
#include "ZtVideoConvertItem.h"
#include "ZtVideoConvertManager.h"
#include "rscodec_fake.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <atomic>
#include <initializer_list>

namespace {

ZtVideoConvertItem *clip(const QString &path)
{
    auto *item = new ZtVideoConvertItem;
    item->m_strFilePath = path;
    item->m_strFileName = path.mid(path.lastIndexOf('/') + 1);
    item->m_strFormatName = QStringLiteral("mp4");
    item->m_nWidth = 320;
    item->m_nHeight = 240;
    return item;
}

// Outputs go to a fresh scratch folder of that name; the clip list holds the given clips.
void listClips(const char *outputFolder, std::initializer_list<const char *> paths)
{
    QConverterOperate::setConverterPath(rstest::scratchDir(QString::fromLatin1(outputFolder)) + QLatin1Char('/'));
    ZtVideoConvertManager *list = ZtVideoConvertManager::getConvertManagerObject(nullptr);
    for (const char *p : paths)
        list->addConverItem(clip(p), -1);
}

// A file that is at the output path before the job: no failure may change or remove it (the library
// writes beside it and puts the output in place only on success).
void touch(const QString &path)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("existing");
}

bool untouched(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && f.readAll() == "existing";
}

// Stands in for the computer's power switch.
struct PowerRecorder : IPowerControl
{
    int powerOffs = 0;
    bool powerOff() override
    {
        ++powerOffs;
        return true;
    }
    bool suspend() override { return true; }
};

// Records the driver's signals as short texts, in order.
struct MergeLog : QObject
{
    QStringList events;
    QList<float> totals;
    explicit MergeLog(QNewConvertObject *d)
    {
        connect(d, &QNewConvertObject::emitStartConverter, this, [this] { events << "start"; });
        connect(d, &QNewConvertObject::emitStopConverter, this, [this] { events << "stop"; });
        connect(d, &QNewConvertObject::emitConvertTotalPro, this, [this](float t) { totals << t; });
        connect(d, &QNewConvertObject::emitMergerFinished, this,
                [this](bool ok) { events << (ok ? "clip-ok" : "failed"); });
        connect(d, &QNewConvertObject::emitMergerTotalFinished, this, [this] { events << "all-done"; });
        connect(d, &QNewConvertObject::emitConvertTotalFinished, this, [this] { events << "list-empty"; });
    }
};

} // namespace

class TestDrivers : public QObject
{
    Q_OBJECT
private:
    QList<ZtVideoConvertItem *> m_items;
    QString m_out;

    // Merges m_items into m_out.
    void startMerge(QNewConvertObject &driver)
    {
        driver.AddConvertItem(m_items);
        driver.setMergerOptputPath(m_out);
        driver.OnStartToMerger();
    }

private slots:
    void init()
    {
        rscfake::reset();
        QSettingDlgState::clearAttributeSetting();
        AttributeSetting a;
        a.fileFormat = QStringLiteral("MP4");
        a.fileExtend = QStringLiteral("mp4");
        a.VCodecsId = 28;
        QSettingDlgState::setAttributeSetting(a);
        qDeleteAll(m_items);
        m_items.clear();
        m_out = rstest::scratchDir(QStringLiteral("drivers")) + QStringLiteral("/joined.mp4");
        ZtVideoConvertManager::getConvertManagerObject(nullptr)->ClearItems();
    }
    void cleanupTestCase() { qDeleteAll(m_items); }

    void totalPercent_data()
    {
        QTest::addColumn<uint>("pro");
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("total");
        QTest::addColumn<float>("expected");
        QTest::newRow("one clip start") << 0u << 0 << 1 << 0.0f;
        QTest::newRow("one clip half") << 50u << 0 << 1 << 50.0f;
        QTest::newRow("one clip end") << 100u << 0 << 1 << 100.0f;
        QTest::newRow("third of four, half") << 50u << 2 << 4 << 62.5f;
        QTest::newRow("no count: share 100") << 40u << 0 << 0 << 40.0f;
        QTest::newRow("never beyond 100") << 100u << 3 << 3 << 100.0f;
        QTest::newRow("percent above 100") << 250u << 0 << 2 << 50.0f;
    }
    void totalPercent()
    {
        QFETCH(uint, pro);
        QFETCH(int, before);
        QFETCH(int, total);
        QFETCH(float, expected);
        QCOMPARE(QNewConvertObject::totalPercent(pro, before, total), expected);
    }

    void twoClipsMergeInOrder()
    {
        rscfake::setJob(6, 1000);
        m_items << clip("/clips/a.mp4") << clip("/clips/b.mp4");
        QNewConvertObject driver;
        MergeLog log(&driver);
        driver.AddConvertItem(m_items);
        driver.setMergerOptputPath(m_out);
        QSignalSpy done(&driver, &QNewConvertObject::emitMergerTotalFinished);
        driver.OnStartToMerger();
        QVERIFY(done.wait(rstest::kHangBoundMs));
        QCOMPARE(log.events, QStringList({"start", "clip-ok", "stop", "clip-ok", "all-done", "list-empty"}));
        QCOMPARE(driver.getConvertConut(), 2);
        float last = 0;
        for (float t : log.totals) {
            QVERIFY(t >= last && t <= 100.0f);
            last = t;
        }
        QCOMPARE(log.totals.last(), 100.0f);
        QCOMPARE(rscfake::count("rsc_job_create_merge"), 1);
        QCOMPARE(rscfake::count("rsc_job_add_task"), 2);
        QCOMPARE(rscfake::count("rsc_job_close"), 1);
    }

    void stopDuringSecondClipDiscardsTheOutput()
    {
        rscfake::setJob(40, 1000);
        m_items << clip("/clips/a.mp4") << clip("/clips/b.mp4");
        touch(m_out);
        QNewConvertObject driver;
        MergeLog log(&driver);
        startMerge(driver);
        QTRY_VERIFY_WITH_TIMEOUT(log.events.contains("clip-ok"), rstest::kHangBoundMs);
        driver.OnStopConvert();
        QCOMPARE(rscfake::count("rsc_job_discard"), 1);
        QCOMPARE(rscfake::count("rsc_job_close"), 0);
        QVERIFY(untouched(m_out));
        QCOMPARE(log.events.last(), QStringLiteral("failed"));
        // Reports still on their way from the stopped job change nothing.
        driver.SetConvertProgress(100, convertFinished);
        QCoreApplication::sendPostedEvents(); // the stopped job's worker has ended: what it sent is all here
        QVERIFY(!log.events.contains("all-done"));
        QCOMPARE(log.events.count("failed"), 1);
        QVERIFY(driver.isStopConvert());
    }

    void lateFinishAfterStopTriggersNoFinishingAction()
    {
        rscfake::setJob(1, 1000);
        m_items << clip("/clips/a.mp4");
        QNewConvertObject driver;
        MergeLog log(&driver);
        // The clip finishes on the worker while the user presses Stop: the finished report is queued. The
        // worker's report is seen as it is sent, without the event loop that would deliver it.
        std::atomic<bool> sent{false};
        connect(
            &driver, &QNewConvertObject::emitConvertPro, &driver,
            [&sent](unsigned int, convertState state) { sent = sent || state == convertFinished; },
            Qt::DirectConnection);
        startMerge(driver);
        QElapsedTimer bound;
        bound.start();
        while (!sent && bound.elapsed() < rstest::kHangBoundMs)
            QThread::msleep(5);
        QVERIFY(sent);
        driver.OnStopConvert();
        QCoreApplication::sendPostedEvents(); // the queued report, late
        QVERIFY(!log.events.contains("all-done"));
        QVERIFY(log.events.contains("failed"));
    }

    void cancelKeepsTheListAndFailsOnce()
    {
        rscfake::setJob(1000000, 1000);
        m_items << clip("/clips/a.mp4") << clip("/clips/b.mp4");
        touch(m_out);
        QNewConvertObject driver;
        MergeLog log(&driver);
        startMerge(driver);
        driver.OnCancelConvert();
        QCOMPARE(log.events, QStringList({"start", "failed"}));
        QCOMPARE(rscfake::count("rsc_job_discard"), 1);
        QVERIFY(untouched(m_out));
        QCOMPARE(rscfake::count("rsc_job_release"), 1);
        QCoreApplication::sendPostedEvents(); // the cancelled job's worker has ended: what it sent is all here
        QCOMPARE(log.events.size(), 2);
    }

    void clipThatCannotBeAddedFailsTheJob()
    {
        rscfake::setResult("rsc_job_add_task", 0);
        m_items << clip("/clips/a.mp4");
        touch(m_out);
        QNewConvertObject driver;
        MergeLog log(&driver);
        startMerge(driver);
        QCOMPARE(log.events, QStringList({"start", "stop", "stop", "failed"}));
        QCOMPARE(rscfake::count("rsc_job_discard"), 1);
        QVERIFY(untouched(m_out));
        QCOMPARE(rscfake::count("rsc_job_release"), 1);
    }

    void outputThatCannotBeCompletedFailsTheJob()
    {
        // The clips ran, but writing the end of the output fails: the file must not be kept.
        rscfake::setJob(2, 1000);
        rscfake::setResult("rsc_job_close", 0);
        m_items << clip("/clips/a.mp4");
        touch(m_out);
        QNewConvertObject driver;
        MergeLog log(&driver);
        startMerge(driver);
        QTRY_VERIFY_WITH_TIMEOUT(log.events.contains("failed"), rstest::kHangBoundMs);
        QCOMPARE(log.events, QStringList({"start", "stop", "stop", "failed"}));
        QVERIFY(untouched(m_out));
        QCOMPARE(driver.getConvertConut(), 0);
    }

    void outputNamingAClipIsRefusedBeforeTheJob_data()
    {
        QTest::addColumn<int>("clipAtOutput");
        QTest::newRow("first clip") << 0;
        QTest::newRow("second clip") << 1;
        QTest::newRow("other spelling") << 2;
    }
    void outputNamingAClipIsRefusedBeforeTheJob()
    {
        QFETCH(int, clipAtOutput);
        touch(m_out);
        const QString other = QFileInfo(m_out).absolutePath() + QStringLiteral("/../drivers/./joined.mp4");
        if (clipAtOutput == 0)
            m_items << clip(m_out) << clip("/clips/b.mp4");
        else
            m_items << clip("/clips/a.mp4") << clip(clipAtOutput == 1 ? m_out : other);
        QNewConvertObject driver;
        MergeLog log(&driver);
        startMerge(driver);
        QCOMPARE(log.events.last(), QStringLiteral("failed"));
        QCOMPARE(rscfake::count("rsc_job_create_merge"), 0);
        QVERIFY(untouched(m_out));
    }

    void outputNamingAFileOfTheEditsIsRefusedBeforeTheJob_data()
    {
        QTest::addColumn<QString>("use");
        QTest::addColumn<bool>("lossless"); // the edits are not applied then, but the file is the user's
        const char *uses[] = {"subtitle file",  "listed subtitle", "watermark picture", "watermark mask",
                              "effect picture", "frame picture",   "background sound"};
        for (const char *use : uses) {
            for (const bool lossless : {false, true})
                QTest::newRow(qPrintable(QString::fromLatin1(use) + (lossless ? ", high-speed" : ", encoding")))
                    << QString::fromLatin1(use) << lossless;
        }
    }
    void outputNamingAFileOfTheEditsIsRefusedBeforeTheJob()
    {
        QFETCH(QString, use);
        QFETCH(bool, lossless);
        AttributeSetting a = QSettingDlgState::attributeSetting();
        a.bLossless = lossless;
        QSettingDlgState::setAttributeSetting(a);
        touch(m_out);
        // Named in another spelling, on the second clip.
        const QByteArray used = (QFileInfo(m_out).absolutePath() + QStringLiteral("/./joined.mp4")).toUtf8();
        m_items << clip("/clips/a.mp4") << clip("/clips/b.mp4");
        VEEditConfig &edits = m_items.last()->m_editConfig;
        if (use == QLatin1String("subtitle file"))
            edits.subtitleValue.subtitleFile = used;
        else if (use == QLatin1String("listed subtitle"))
            edits.subtitleItems.append(VESubltItemInfo{"(SRT)[joined]", used});
        else if (use == QLatin1String("watermark picture"))
            edits.watermark.image.imagePath = used;
        else if (use == QLatin1String("watermark mask"))
            edits.watermark.image.maskPath = used;
        else if (use == QLatin1String("effect picture"))
            edits.effectOverlay.image.imagePath = used;
        else if (use == QLatin1String("frame picture"))
            edits.frameOverlay.image.imagePath = used;
        else
            edits.audioBackground.filePath = used;
        QNewConvertObject driver;
        MergeLog log(&driver);
        startMerge(driver);
        QCOMPARE(log.events.last(), QStringLiteral("failed"));
        QCOMPARE(rscfake::count("rsc_job_create_merge"), 0);
        QCOMPARE(rscfake::count("rsc_job_create_merge_lossless"), 0);
        QVERIFY(untouched(m_out));
        QVERIFY2(driver.errorText().startsWith(QLatin1String("joined.mp4: ")) &&
                     driver.errorText().contains(QLatin1String("b.mp4")),
                 qPrintable(driver.errorText()));
    }

    void emptyJobEndsAtOnce()
    {
        QNewConvertObject driver;
        MergeLog log(&driver);
        driver.setMergerOptputPath(m_out);
        driver.OnStartToMerger();
        QCOMPARE(log.events, QStringList({"start", "stop", "failed"}));
    }

    void singleFileRunOverThreeClips()
    {
        rscfake::setJob(4, 1000);
        listClips("single", {"/clips/a.mp4", "/clips/b.mp4", "/clips/c.mp4"});
        QConverterObject driver;
        QSignalSpy finishedCount(&driver, &QConverterObject::emitConvertedFinishCount);
        QSignalSpy started(&driver, &QConverterObject::emitIsStartConverter);
        QList<int> overall;
        connect(&driver, &QConverterObject::emitConvertProToCtrl, this, [&](int v) { overall << v; });
        driver.OnStartToCoverter(false);
        QTRY_COMPARE_WITH_TIMEOUT(finishedCount.count(), 3, rstest::kHangBoundMs);
        QCOMPARE(started.count(), 2);
        QCOMPARE(started.last().first().toBool(), false);
        QCOMPARE(overall.last(), 99); // three shares of 33.333332
        QCOMPARE(rscfake::count("rsc_job_create_convert"), 3);
    }

    void mergeModeOpensOneOutput()
    {
        rscfake::setJob(3, 1000);
        listClips("mergemode", {"/clips/a.mp4", "/clips/b.mp4", "/clips/c.mp4"});
        QConverterObject driver;
        QSignalSpy finishedCount(&driver, &QConverterObject::emitConvertedFinishCount);
        driver.OnStartToCoverter(true);
        QTRY_COMPARE_WITH_TIMEOUT(finishedCount.count(), 1, rstest::kHangBoundMs);
        QCoreApplication::sendPostedEvents(); // the merge's worker has ended: what it sent is all here
        QCOMPARE(finishedCount.count(), 1);
        QCOMPARE(rscfake::count("rsc_job_create_merge"), 1);
        QCOMPARE(rscfake::count("rsc_job_add_task"), 3);
        QCOMPARE(rscfake::count("rsc_job_close"), 1);
    }

    void mergeFailureDiscardsTheMergeOutput()
    {
        rscfake::setJob(3, 1000);
        listClips("mergefail", {"/clips/a.mp4", "/clips/b.mp4"});
        QConverterObject driver;
        QSignalSpy started(&driver, &QConverterObject::emitIsStartConverter);
        rscfake::setResults("rsc_job_add_task", {1, 0});
        driver.OnStartToCoverter(true);
        const QString output = driver.currentOutputPath();
        QVERIFY(!output.isEmpty());
        touch(output);
        QTRY_VERIFY_WITH_TIMEOUT(started.count() >= 2, rstest::kHangBoundMs);
        QCOMPARE(started.last().first().toBool(), false);
        QCOMPARE(rscfake::count("rsc_job_discard"), 1);
        QVERIFY(untouched(output));
    }

    void mergeModeIncompleteOutputIsNotKept()
    {
        rscfake::setJob(2, 1000);
        rscfake::setResult("rsc_job_close", 0);
        listClips("mergeclose", {"/clips/a.mp4"});
        QConverterObject driver;
        QSignalSpy finishedCount(&driver, &QConverterObject::emitConvertedFinishCount);
        QSignalSpy started(&driver, &QConverterObject::emitIsStartConverter);
        driver.OnStartToCoverter(true);
        const QString output = driver.currentOutputPath();
        touch(output);
        QTRY_VERIFY_WITH_TIMEOUT(started.count() >= 2, rstest::kHangBoundMs);
        QCoreApplication::sendPostedEvents(); // the merge's worker has ended: what it sent is all here
        QCOMPARE(finishedCount.count(), 0);
        QVERIFY(untouched(output));
    }

    void shutdownOnlyOnExactY_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("shutdowns");
        QTest::newRow("Y") << "Y" << 1;
        QTest::newRow("y") << "y" << 0;
        QTest::newRow("N") << "N" << 0;
    }
    void shutdownOnlyOnExactY()
    {
        QFETCH(QString, value);
        QFETCH(int, shutdowns);
        rscfake::setJob(2, 1000);
        QVERIFY(QVideoSettingXml::SetItemValue(SettingKeys::ShutdownComputer, value));
        auto *recorder = new PowerRecorder;
        auto previous = HostServices::setPowerControl(std::unique_ptr<IPowerControl>(recorder));
        listClips("shutdown", {"/clips/a.mp4"});
        QConverterObject driver;
        QSignalSpy finishedCount(&driver, &QConverterObject::emitConvertedFinishCount);
        driver.OnStartToCoverter(false);
        QTRY_COMPARE_WITH_TIMEOUT(finishedCount.count(), 1, rstest::kHangBoundMs);
        QCOMPARE(recorder->powerOffs, shutdowns); // decided with the last clip's finish
        HostServices::setPowerControl(std::move(previous));
        QVERIFY(QVideoSettingXml::SetItemValue(SettingKeys::ShutdownComputer, QStringLiteral("N")));
    }

    void cancelledRunDoesNotBlockTheNextStart()
    {
        rscfake::setJob(1000000, 1000);
        listClips("restart", {"/clips/a.mp4"});
        QConverterObject driver;
        driver.OnStartToCoverter(false);
        driver.OnCancelConvert();
        QVERIFY(driver.isStopConvert());
        QCOMPARE(rscfake::count("rsc_job_create_convert"), 1);
        QSignalSpy started(&driver, &QConverterObject::emitIsStartConverter);
        driver.OnStartToCoverter(false);
        // The new run starts a clip rather than only clearing the old stop.
        QCOMPARE(rscfake::count("rsc_job_create_convert"), 2);
        QVERIFY(!driver.isStopConvert());
        // The cancelled run's stop report must not end the new run: its worker has ended, what it sent is here.
        QCoreApplication::sendPostedEvents();
        QCOMPARE(started.count(), 1);
        QCOMPARE(started.first().first().toBool(), true);
        QCOMPARE(rscfake::count("rsc_job_stop"), 1);
        driver.StopConvert();
    }
};

RS_TEST_MAIN(TestDrivers)
#include "tst_drivers.moc"
