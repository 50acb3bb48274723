// The converter against the recording fake: call order, retries, progress arithmetic, stop races, and
// the hand-over of edit records to the library.

#include "TestSupport.h"

#include "CAVConverter.h"
#include "ZTConfigManager.h"
#include "rscodec_fake.h"

#include <QElapsedTimer>

#include <mutex>
#include <vector>

namespace {

struct Report
{
    unsigned int percent;
    convertState state;
};

std::mutex s_lock;
std::vector<Report> s_reports; // a plain container: the workers append while the test reads copies

void recordReport(unsigned int percent, void *, convertState state)
{
    std::lock_guard<std::mutex> lock(s_lock);
    s_reports.push_back(Report{percent, state});
}

QVector<Report> reports()
{
    std::lock_guard<std::mutex> lock(s_lock);
    QVector<Report> copy;
    for (const Report &r : s_reports)
        copy.append(r);
    return copy;
}

bool ended()
{
    const QVector<Report> r = reports();
    return !r.isEmpty() && r.last().state != convertProgress && r.last().state != convertPreparingChapters;
}

QStringList calls(const char *prefix)
{
    QStringList out;
    for (const std::string &c : rscfake::calls(prefix))
        out << QString::fromStdString(c);
    return out;
}

CAVEncodeParam param(bool lossless, const char *container = "mp4")
{
    CAVEncodeParam p;
    p.bLossless = lossless;
    p.setContainerName(container);
    p.videoCodec = 28;
    p.audioCodec = 86018;
    return p;
}

} // namespace

class TestConverter : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        rscfake::reset();
        std::lock_guard<std::mutex> lock(s_lock);
        s_reports.clear();
    }

    void progressArithmetic_data()
    {
        QTest::addColumn<quint64>("done");
        QTest::addColumn<quint64>("total");
        QTest::addColumn<float>("base");
        QTest::addColumn<float>("percent");
        QTest::newRow("half") << quint64(50) << quint64(100) << 0.0f << 50.0f;
        QTest::newRow("chapter base") << quint64(50) << quint64(100) << 20.0f << 60.0f;
        QTest::newRow("total unknown") << quint64(5) << quint64(0) << 0.0f << -1.0f;
        QTest::newRow("done beyond total") << quint64(300) << quint64(100) << 0.0f << 100.0f;
    }
    void progressArithmetic()
    {
        QFETCH(quint64, done);
        QFETCH(quint64, total);
        QFETCH(float, base);
        QFETCH(float, percent);
        QCOMPARE(CAVConverter::progressPercent(done, total, base), percent);
    }

    void mergeRunsClipAfterClip()
    {
        rscfake::setJob(8, 4000000);
        CAVConverter c;
        CAVEncodeParam p = param(false);
        QVERIFY(c.StartMerger("/out/joined.mp4", &p));
        QCOMPARE(calls("rsc_job_open_output"),
                 QStringList({"rsc_job_open_output(job#1, \"/out/joined.mp4\", \"mp4\", edit#1)"}));
        QVERIFY(c.AddMergerTask("/clips/a.mp4", &p, nullptr, recordReport));
        QTRY_VERIFY_WITH_TIMEOUT(ended(), 5000);
        QVector<Report> r = reports();
        QCOMPARE(r.last().state, convertFinished);
        QCOMPARE(r.last().percent, 100u);
        unsigned int last = 0;
        for (int i = 0; i + 1 < r.size(); ++i) {
            QCOMPARE(r[i].state, convertProgress);
            QVERIFY(r[i].percent >= last && r[i].percent <= 100);
            last = r[i].percent;
        }
        QVERIFY(r.size() > 2);

        QVERIFY(c.AddMergerTask("/clips/b.mp4", &p, nullptr, recordReport));
        QTRY_COMPARE_WITH_TIMEOUT(reports().size() > r.size() && ended(), true, 5000);
        c.StopMerger(false);
        QCOMPARE(calls("rsc_job_add_task"), QStringList({"rsc_job_add_task(job#1, \"/clips/a.mp4\", 0, 0, edit#2)",
                                                         "rsc_job_add_task(job#1, \"/clips/b.mp4\", 0, 0, edit#3)"}));
        QCOMPARE(rscfake::count("rsc_job_close"), 1);
        QCOMPARE(rscfake::count("rsc_job_release"), 1);
        // Every edit configuration made for a clip is handed back.
        QCOMPARE(rscfake::count("rsc_edit_release"), rscfake::count("rsc_edit_create"));
    }

    void losslessRetryReopensAsMovForTheFirstClip()
    {
        rscfake::setJob(2, 1000);
        CAVConverter c;
        CAVEncodeParam p = param(true, "MP4");
        QVERIFY(c.StartMerger("/out/j.mp4", &p));
        rscfake::setResults("rsc_job_add_task", {0, 0, 1});
        QVERIFY(c.AddMergerTask("/clips/a.mp4", &p, nullptr, recordReport));
        QCOMPARE(calls("rsc_job_open_output"),
                 QStringList({"rsc_job_open_output(job#1, \"/out/j.mp4\", \"MP4\", edit#1)",
                              "rsc_job_open_output(job#1, \"/out/j.mp4\", \"MP4\", edit#2)",
                              "rsc_job_open_output(job#1, \"/out/j.mp4\", \"mov\", edit#2)"}));
        // The second try runs without subtitles.
        QVERIFY(calls("rsc_edit_set_subtitle_stream").contains("rsc_edit_set_subtitle_stream(edit#2, -1)"));
        QCOMPARE(rscfake::count("rsc_job_add_task"), 3);
        QTRY_VERIFY_WITH_TIMEOUT(ended(), 5000);
        c.StopMerger(false);
    }

    void laterClipFailureNeverReopensTheOutput()
    {
        rscfake::setJob(2, 1000);
        CAVConverter c;
        CAVEncodeParam p = param(true, "mp4");
        QVERIFY(c.StartMerger("/out/j.mp4", &p));
        QVERIFY(c.AddMergerTask("/clips/a.mp4", &p, nullptr, recordReport));
        QTRY_VERIFY_WITH_TIMEOUT(ended(), 5000);
        rscfake::setResult("rsc_job_add_task", 0);
        QVERIFY(!c.AddMergerTask("/clips/b.mp4", &p, nullptr, recordReport));
        // Re-opening would throw away the first clip already written.
        QCOMPARE(rscfake::count("rsc_job_open_output"), 1);
        QCOMPARE(rscfake::count("rsc_job_add_task"), 2);
        c.StopMerger(false);
    }

    void stopIsBounded_data()
    {
        QTest::addColumn<int>("polls");
        QTest::addColumn<bool>("waitForEnd");
        QTest::addColumn<int>("stopReports");
        QTest::newRow("stop while running") << 1000000 << false << 1;
        QTest::newRow("stop after the clip finished") << 1 << true << 0;
    }
    void stopIsBounded()
    {
        QFETCH(int, polls);
        QFETCH(bool, waitForEnd);
        QFETCH(int, stopReports);
        rscfake::setJob(polls, 1000);
        auto *c = new CAVConverter;
        CAVEncodeParam p = param(false);
        QVERIFY(c->StartMerger("/out/j.mp4", &p));
        QVERIFY(c->AddMergerTask("/clips/a.mp4", &p, nullptr, recordReport));
        if (waitForEnd)
            QTRY_VERIFY_WITH_TIMEOUT(ended(), 5000);
        QElapsedTimer t;
        t.start();
        c->StopMerger(true);
        QVERIFY2(t.elapsed() < rstest::kHangBoundMs, "a stop must not wait without bound");
        QVERIFY(!c->IsThreadRunning());
        int stops = 0;
        for (const Report &r : reports())
            stops += r.state == convertStopped ? 1 : 0;
        QCOMPARE(stops, stopReports);
        if (stopReports)
            QCOMPARE(reports().last().state, convertStopped); // nothing reported after the stop
        const int before = reports().size();
        DestroyAVConverter(c); // the worker has ended: nothing can report later
        QCOMPARE(reports().size(), before);
        QCOMPARE(rscfake::count("rsc_job_close"), 1);
    }

    void destroyDuringARunJoinsTheWorker()
    {
        rscfake::setJob(1000000, 1000);
        auto *c = new CAVConverter;
        CAVEncodeParam p = param(false);
        QVERIFY(c->StartMerger("/out/j.mp4", &p));
        QVERIFY(c->AddMergerTask("/clips/a.mp4", &p, nullptr, recordReport));
        QTRY_VERIFY_WITH_TIMEOUT(rscfake::count("rsc_job_is_finished") >= 1, rstest::kHangBoundMs); // under way
        QElapsedTimer t;
        t.start();
        DestroyAVConverter(c);
        QVERIFY(t.elapsed() < rstest::kHangBoundMs);
        DestroyAVConverter(nullptr);
    }

    void singleFileReportsWholeRisingNumbers()
    {
        rscfake::setJob(40, 1000);
        CAVConverter c;
        auto *p = new CAVEncodeParam(param(false));
        p->start = 2000000;
        p->duration = 3000000;
        QVERIFY(c.StartConvert("/clips/a.mp4", "/out/a.mkv", p, nullptr, recordReport, false));
        QCOMPARE(calls("rsc_job_set_range"), QStringList({"rsc_job_set_range(job#1, 2000000, 3000000)"}));
        QTRY_VERIFY_WITH_TIMEOUT(ended(), 5000);
        const QVector<Report> r = reports();
        QCOMPARE(r.last().state, convertFinished);
        unsigned int last = 0;
        for (int i = 0; i + 1 < r.size(); ++i) {
            QVERIFY(r[i].percent > last && r[i].percent <= 100);
            last = r[i].percent;
        }
        QElapsedTimer t;
        t.start();
        c.StopConvert(); // after the end: returns at once
        QVERIFY(t.elapsed() < rstest::kHangBoundMs);
    }

    void singleFileFailureIsNotSuccess()
    {
        rscfake::setResult("rsc_job_open_file", 0);
        CAVConverter c;
        QVERIFY(!c.StartConvert("/clips/a.mp4", "/out/a.mp4", new CAVEncodeParam(param(true, "m4a")), nullptr,
                                recordReport, false));
        // Lossless: once as given, once without subtitles, once as "mov".
        QCOMPARE(rscfake::count("rsc_job_open_file"), 3);
        QVERIFY(calls("rsc_job_open_file").last().contains("\"mov\""));
        QVERIFY(!c.StartConvert(nullptr, "/out/a.mp4", new CAVEncodeParam, nullptr, recordReport, false));
    }

    void jobThatFailsWhileRunningIsNotFinished_data()
    {
        QTest::addColumn<bool>("merge");
        QTest::newRow("merge task") << true;
        QTest::newRow("single file") << false;
    }
    void jobThatFailsWhileRunningIsNotFinished()
    {
        // The library answers "finished" for a job that broke off with an error, and "failed" besides.
        QFETCH(bool, merge);
        rscfake::setJob(3, 1000);
        rscfake::setResult("rsc_job_is_failed", 1);
        CAVConverter c;
        CAVEncodeParam p = param(false);
        if (merge) {
            QVERIFY(c.StartMerger("/out/j.mp4", &p));
            QVERIFY(c.AddMergerTask("/clips/a.mp4", &p, nullptr, recordReport));
        } else {
            QVERIFY(c.StartConvert("/clips/a.mp4", "/out/a.mp4", new CAVEncodeParam(p), nullptr, recordReport, false));
        }
        QTRY_VERIFY_WITH_TIMEOUT(ended(), 5000);
        QCOMPARE(reports().last().state, convertFailed);
        for (const Report &r : reports())
            QVERIFY(r.state != convertFinished);
        if (merge)
            c.StopMerger(false);
    }

    void chapterModeRetimesChapters()
    {
        rscfake::FakeMedia media;
        media.duration = 100000000;
        media.chapters = {{0, 10000000, "Intro", true},
                          {10000000, 20000000, "", false},
                          {30000000, 40000000, "Middle", true},
                          {70000000, 30000000, "Late", true}};
        rscfake::setMedia("/clips/ch.mp4", media);
        rscfake::setJob(3, 1000);
        CAVConverter c;
        auto *p = new CAVEncodeParam(param(false));
        p->start = 15000000;
        p->end = 60000000;
        p->duration = 45000000;
        QVERIFY(c.StartConvert("/clips/ch.mp4", "/out/ch.mp4", p, nullptr, recordReport, true));
        QTRY_VERIFY_WITH_TIMEOUT(ended(), 5000);
        const QVector<Report> r = reports();
        QCOMPARE(r.first().state, convertPreparingChapters);
        QCOMPARE(r.first().percent, 1u);
        QVERIFY(r.size() < 3 || r[1].percent >= 20);
        QCOMPARE(calls("rsc_edit_add_chapter"),
                 QStringList({"rsc_edit_add_chapter(edit#1, 0, 15000000, \"Chapter 2\")",
                              "rsc_edit_add_chapter(edit#1, 15000000, 30000000, \"Middle\")"}));
    }

    void reencodeSettingsOrder()
    {
        CAVEncodeParam p = param(false);
        p.videoCodec = int(0x48323635);
        p.width = 1280;
        p.height = 720;
        p.frameRateNum = 30;
        p.frameRateDen = 1;
        p.videoBitRate = 2000;
        CAVConverter c;
        rsc_edit *e = rsc_edit_create();
        rscfake::clearCalls();
        c.SetConvertConfig(e, &p);
        QCOMPARE(calls("rsc_edit_"), QStringList({
                                         "rsc_edit_enable_video_edits(edit#1, 1)",
                                         "rsc_edit_enable_audio_edits(edit#1, 1)",
                                         "rsc_edit_set_video_codec(edit#1, 1211250229)",
                                         "rsc_edit_set_audio_codec(edit#1, 86018)",
                                         "rsc_edit_set_video_profile_mode(edit#1, 2)",
                                         "rsc_edit_set_video_profile(edit#1, 1)",
                                         "rsc_edit_set_video_size(edit#1, 1280, 720)",
                                         "rsc_edit_set_frame_rate(edit#1, 30, 1)",
                                         "rsc_edit_set_video_bit_rate(edit#1, 2000000)",
                                         "rsc_edit_set_audio_channels(edit#1, 2)",
                                         "rsc_edit_set_audio_sample_rate(edit#1, 44100)",
                                         "rsc_edit_set_video_quality(edit#1, 0)",
                                         "rsc_edit_set_audio_quality(edit#1, 0)",
                                     }));
        rsc_edit_release(e);
    }

    void subtitleSourceRows_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("call");
        QTest::newRow("none") << 0 << "rsc_edit_set_subtitle_stream(edit#1, -1)";
        QTest::newRow("second stream") << 2 << "rsc_edit_set_subtitle_stream(edit#1, 1)";
        QTest::newRow("closed captions") << 3 << "rsc_edit_set_closed_caption(edit#1, 1)";
        QTest::newRow("file") << 4 << "rsc_edit_set_subtitle_file(edit#1, \"/s.srt\")";
    }
    void subtitleSourceRows()
    {
        QFETCH(int, row);
        QFETCH(QString, call);
        VEEditConfig config;
        config.subtitleValue.subtitleCount = 2;
        config.subtitleValue.subtitleRow = row;
        config.subtitleValue.subtitleFile = "/s.srt";
        rsc_edit *e = rsc_edit_create();
        ZTConfigManager::setEditConfig(e, config);
        const QStringList all = calls("rsc_edit_");
        QVERIFY2(all.contains(call), qPrintable(all.join('\n')));
        rsc_edit_release(e);
    }

    void overlaysAndFonts()
    {
        rsc_edit *e = rsc_edit_create();
        VEWatermarkSettings empty;
        rscfake::clearCalls();
        ZTConfigManager::setConfigWatermarkSettings(e, empty, 2);
        QCOMPARE(calls("rsc_edit_"), QStringList({"rsc_edit_set_watermark_slot(edit#1, 2)"}));
        VEWatermarkSettings text;
        text.text.text = "Hi";
        text.text.fontName = "@Sans";
        rscfake::clearCalls();
        ZTConfigManager::setConfigWatermarkSettings(e, text, 0);
        QVERIFY(calls("rsc_edit_").contains("rsc_edit_set_watermark_text_font(edit#1, \"Sans\")"));
        VESubtitleSettings sub;
        rscfake::clearCalls();
        ZTConfigManager::setConfigSubtitleSettings(e, sub);
        QVERIFY(calls("rsc_edit_").contains("rsc_edit_set_subtitle_font(edit#1, \"\")"));
        VEAudioSettings audio;
        rscfake::clearCalls();
        ZTConfigManager::setAudioSettings(e, audio);
        QCOMPARE(calls("rsc_edit_set_equalizer"), QStringList({"rsc_edit_set_equalizer(edit#1, null, null, 0)"}));
        rsc_edit_release(e);
    }

    void cropGeometry_data()
    {
        QTest::addColumn<int>("aspectMode");
        QTest::addColumn<int>("panScan");
        QTest::addColumn<int>("rotation");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("mode 2 turned") << 2 << 0 << 90
                                       << QStringList({"rsc_edit_set_aspect(edit#1, 9, 16)",
                                                       "rsc_edit_set_rotation(edit#1, 90)",
                                                       "rsc_edit_set_mirror(edit#1, 0)",
                                                       "rsc_edit_set_pad(edit#1, 0, 4278190080)",
                                                       "rsc_edit_set_crop(edit#1, 0, 0, 1, 1)"});
        QTest::newRow("pan-scan turned")
            << 0 << 1 << 270
            << QStringList({"rsc_edit_set_aspect(edit#1, 16, 9)", "rsc_edit_set_rotation(edit#1, 270)",
                            "rsc_edit_set_mirror(edit#1, 0)", "rsc_edit_set_aspect(edit#1, 1080, 1920)",
                            "rsc_edit_set_pad(edit#1, 0, 4278190080)", "rsc_edit_set_crop(edit#1, 0.25, 0, 0.5, 1)"});
    }
    void cropGeometry()
    {
        QFETCH(int, aspectMode);
        QFETCH(int, panScan);
        QFETCH(int, rotation);
        QFETCH(QStringList, expected);
        VECropSettings c;
        c.aspectMode = aspectMode;
        c.panScan = panScan;
        c.rotation = rotation;
        c.aspectWidth = 16;
        c.aspectHeight = 9;
        c.panScanRect = VERect{0.25, 0, 0.5, 1};
        rsc_edit *e = rsc_edit_create();
        rscfake::clearCalls();
        ZTConfigManager::setConfigCropSettings(e, c, 1920, 1080);
        QCOMPARE(calls("rsc_edit_"), expected);
        rsc_edit_release(e);
    }
};

RS_TEST_MAIN(TestConverter)
#include "tst_converter.moc"
