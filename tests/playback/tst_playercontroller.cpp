#include "QMediaElementWindow.h"
#include "TestSupport.h"
#include "ZTPlayerClass.h"
#include "ZTPlayerManager.h"
#include "rscodec_fake.h"

#include <QImage>
#include <QImageReader>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <memory>
#include <thread>

Q_DECLARE_METATYPE(VECropSettings)
Q_DECLARE_METATYPE(VEWatermarkSettings)
Q_DECLARE_METATYPE(unsigned char *)

namespace {

const std::string kClip = "/clips/a.mp4";
constexpr uint64_t kSecond = 1000000;

rscfake::FakeMedia media(uint64_t duration = 4 * kSecond, bool video = true, bool audio = true, uint32_t w = 1920,
                         uint32_t h = 1080)
{
    rscfake::FakeMedia m;
    m.duration = duration;
    if (video) {
        rscfake::FakeStream v;
        v.width = w;
        v.height = h;
        m.video.push_back(v);
    }
    if (audio)
        m.audio.push_back({});
    return m;
}

// The names of the recorded calls, without their arguments.
QStringList names(const std::vector<std::string> &calls, const QString &prefix = QStringLiteral("rsc_player_"))
{
    QStringList out;
    for (const std::string &c : calls) {
        const QString s = QString::fromStdString(c);
        if (s.startsWith(prefix))
            out << s.left(s.indexOf(QLatin1Char('(')));
    }
    return out;
}

QStringList withArgs(const std::vector<std::string> &calls, const QString &name)
{
    QStringList out;
    for (const std::string &c : calls) {
        const QString s = QString::fromStdString(c);
        if (s.startsWith(name + QLatin1Char('(')))
            out << s.mid(s.indexOf(QLatin1Char(',')) + 2).chopped(1); // the arguments after the handle
    }
    return out;
}

struct Fixture
{
    ZTPlayerManager manager;
    Fixture(const rscfake::FakeMedia &m = media())
    {
        rscfake::reset();
        rscfake::setMedia("*", m);
    }
    bool open(unsigned w = 640, unsigned h = 360)
    {
        return manager.setPlayFile(QString::fromStdString(kClip), w, h, 3);
    }
};

QMouseEvent mouse(QEvent::Type type, QPoint p)
{
    return QMouseEvent(type, QPointF(p), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
}

// A shown window whose picture area is known; points are placed by fractions of that area.
struct Window
{
    QMediaElementWindow window;
    Window()
    {
        window.resize(640, 360);
        window.setVideoElementSize(640, 360);
        window.show();
        QCoreApplication::processEvents();
    }
    QRect element() const { return window.getVideoElementRect(); }
    QPoint at(double fx, double fy) const
    {
        const QRect e = element();
        return QPoint(int(fx * e.width() + e.left()), int(fy * e.height() + e.top()));
    }
};

} // namespace

class TestPlayerController : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        qRegisterMetaType<VECropSettings>();
        qRegisterMetaType<VEWatermarkSettings>();
        qRegisterMetaType<uint64_t>("uint64_t");
        qRegisterMetaType<unsigned char *>();
    }

    // ------------------------------------------------------------------------------------------ opening

    void openingPreparesThePlayer()
    {
        Fixture f;
        QSignalSpy changed(&f.manager, &ZTPlayerManager::emitPlayerChange);
        QSignalSpy hasVideo(&f.manager, &ZTPlayerManager::emitIsHaveVideo);
        f.manager.setTrimTime(kSecond, 3 * kSecond);
        QVERIFY(f.open());
        const QStringList n = names(rscfake::calls());
        const int open = n.indexOf(QStringLiteral("rsc_player_open"));
        QVERIFY(open > 0);
        QCOMPARE(n.mid(open + 1, 5),
                 QStringList({QStringLiteral("rsc_player_set_watermark_max_count"),
                              QStringLiteral("rsc_player_set_time_interval"), QStringLiteral("rsc_player_seek"),
                              QStringLiteral("rsc_player_set_video_frame_handler"),
                              QStringLiteral("rsc_player_set_original_video_frame_handler")}));
        QCOMPARE(withArgs(rscfake::calls(), QStringLiteral("rsc_player_seek")), QStringList{QStringLiteral("1000000")});
        QCOMPARE(withArgs(rscfake::calls(), QStringLiteral("rsc_player_open")).first(),
                 QStringLiteral("\"/clips/a.mp4\", 640, 360, 0, 0"));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(hasVideo.first().first().toBool(), true);
        QCOMPARE(f.manager.getResolutionSize(), (360ull << 32) | 640ull);
        QCOMPARE(f.manager.getVideoSize(), (1080ull << 32) | 1920ull);
    }

    void aFailedOpenReportsTheEndAndShowsTheWindows()
    {
        rscfake::FakeMedia m = media();
        m.openable = false;
        Fixture f(m);
        QMediaElementWindow original, preview;
        original.hide();
        preview.hide();
        f.manager.setMediaOriginalWindow(&original);
        f.manager.setMediaPreviewWindow(&preview);
        QSignalSpy finished(&f.manager, &ZTPlayerManager::emitPlayFinish);
        QSignalSpy progress(&f.manager, &ZTPlayerManager::emitPlayProgress);
        QVERIFY(!f.open());
        QCOMPARE(finished.count(), 1);
        QCOMPARE(progress.first().first().toDouble(), 0.0);
        QVERIFY(!original.isHidden());
        QVERIFY(!preview.isHidden());
        QCOMPARE(rscfake::count("rsc_info_open_file"), 0);
    }

    // A second file gets a fresh information object; the same file keeps the one it has.
    void reopeningAnotherFileReopensTheInformation()
    {
        Fixture f;
        QVERIFY(f.open());
        QVERIFY(f.manager.setPlayFile(QStringLiteral("/clips/a.mp4"), 640, 360, 3));
        QCOMPARE(rscfake::count("rsc_info_open_file"), 1);
        QVERIFY(f.manager.setPlayFile(QStringLiteral("/clips/b.mp4"), 640, 360, 3));
        const QStringList opens = withArgs(rscfake::calls(), QStringLiteral("rsc_info_open_file"));
        QCOMPARE(opens, QStringList({QStringLiteral("\"/clips/a.mp4\""), QStringLiteral("\"/clips/b.mp4\"")}));
        QCOMPARE(rscfake::count("rsc_info_release"), 1);
    }

    // ------------------------------------------------------------------------------------------ timers

    // Nothing more is to come from the controller once none of its timers runs: no redraw, no poll.
    static bool quiet(const ZTPlayerManager &manager)
    {
        const QList<QTimer *> timers = manager.findChildren<QTimer *>();
        return !timers.isEmpty() &&
               std::none_of(timers.begin(), timers.end(), [](const QTimer *t) { return t->isActive(); });
    }

    void timersPollWhilePlayingAndRepaintOnlyOnChange()
    {
        Fixture f;
        QVERIFY(f.open());
        QSignalSpy progress(&f.manager, &ZTPlayerManager::emitPlayProgress);
        QSignalSpy time(&f.manager, &ZTPlayerManager::emitPlayTime);
        const auto shows = [] { return rscfake::count("rsc_player_show_video_frame"); };
        // Paused after opening: the current frame is asked for once, then nothing while nothing changes.
        QTRY_VERIFY_WITH_TIMEOUT(quiet(f.manager), rstest::kHangBoundMs);
        QCOMPARE(shows(), 1);
        // A burst of edits while paused: one redraw with all of them.
        rscfake::clearCalls();
        VEVideoEffectSettings effect;
        for (int b : {120, 140, 160}) {
            effect.brightness = b;
            f.manager.setVideoEffectSettings(effect);
        }
        f.manager.setCropSettings(VECropSettings());
        QTRY_VERIFY_WITH_TIMEOUT(quiet(f.manager), rstest::kHangBoundMs);
        QCOMPARE(shows(), 1);
        // Playing: no redraws, even for an edit (the next frame carries it), the position every 100 ms.
        rscfake::setResult("rsc_player_play_time", int64_t(2 * kSecond));
        f.manager.onPlay();
        rscfake::clearCalls();
        progress.clear();
        QElapsedTimer clock;
        clock.start();
        f.manager.setVideoEffectSettings(effect);
        // The polls are counted against the time that really passed.
        QTRY_VERIFY_WITH_TIMEOUT(progress.count() >= 3, rstest::kHangBoundMs);
        QVERIFY(!quiet(f.manager));
        QCOMPARE(shows(), 0);
        QVERIFY2(progress.count() <= clock.elapsed() / 95 + 1, qPrintable(QString::number(progress.count())));
        QCOMPARE(progress.last().first().toDouble(), 0.5);
        QCOMPARE(time.last().first().toString(), QStringLiteral("00:00:02 / 00:00:04"));
        // Paused again: polling stops; one redraw at most, then quiet.
        f.manager.onPause();
        const int polls = progress.count();
        rscfake::clearCalls();
        QTRY_VERIFY_WITH_TIMEOUT(quiet(f.manager), rstest::kHangBoundMs);
        QVERIFY2(shows() <= 1, qPrintable(QString::number(shows())));
        QCOMPARE(progress.count(), polls);
    }

    void audioOnlyMediaSendsWaveCopies()
    {
        Fixture f(media(4 * kSecond, false, true));
        QSignalSpy hasVideo(&f.manager, &ZTPlayerManager::emitIsHaveVideo);
        QVERIFY(f.open());
        QCOMPARE(hasVideo.first().first().toBool(), false);
        QCOMPARE(withArgs(rscfake::calls(), QStringLiteral("rsc_player_enable_audio_wave_data")),
                 QStringList{QStringLiteral("1")});
        QByteArray seen;
        int sps = -1;
        connect(&f.manager, &ZTPlayerManager::emitAudioData, this, [&](unsigned char *data, int n) {
            if (data) {
                seen = QByteArray(reinterpret_cast<char *>(data), 44);
                sps = n;
            }
        });
        QSignalSpy audio(&f.manager, &ZTPlayerManager::emitAudioData);
        f.manager.onPlay();
        QTRY_VERIFY_WITH_TIMEOUT(audio.count() >= 2, rstest::kHangBoundMs);
        // Every block handed out was given back; what receivers got is a copy that is still readable.
        QCOMPARE(rscfake::count("rsc_player_get_audio_wave_data"), rscfake::count("rsc_player_free_audio_wave_data"));
        QCOMPARE(seen.left(4), QByteArray("RIFF"));
        QCOMPARE(sps, 44100 / 2);
        auto *last = audio.last().first().value<unsigned char *>();
        QVERIFY(last);
        QCOMPARE(QByteArray(reinterpret_cast<char *>(last), 4), QByteArray("RIFF"));
        f.manager.onPause();
        QCOMPARE(audio.last().first().value<unsigned char *>(), nullptr);
        QCOMPARE(audio.last().at(1).toInt(), 0);
    }

    // ------------------------------------------------------------------------------------------ trim play

    void sectionPlayEndsPausedOnTheSectionEnd()
    {
        Fixture f;
        QVERIFY(f.open());
        QSignalSpy state(&f.manager, &ZTPlayerManager::emitPlayState);
        QSignalSpy trimState(&f.manager, &ZTPlayerManager::emitTrimPlayState);
        QSignalSpy progress(&f.manager, &ZTPlayerManager::emitPlayProgress);
        rscfake::clearCalls();
        f.manager.onTrimPlay(0.25f, 0.5f);
        QCOMPARE(withArgs(rscfake::calls(), QStringLiteral("rsc_player_seek")), QStringList{QStringLiteral("1000000")});
        QVERIFY(rscfake::count("rsc_player_play") == 1);
        QCOMPARE(trimState.last().first().toBool(), true);
        // The first poll past the section end goes back to it and pauses.
        rscfake::clearCalls();
        rscfake::setResult("rsc_player_play_time", int64_t(2 * kSecond + 30000));
        f.manager.updateTime();
        QCOMPARE(withArgs(rscfake::calls(), QStringLiteral("rsc_player_seek")), QStringList{QStringLiteral("2000000")});
        QCOMPARE(rscfake::count("rsc_player_pause"), 1);
        QCOMPARE(state.last().first().toBool(), false);
        QCOMPARE(trimState.last().first().toBool(), false);
        QCOMPARE(progress.last().first().toDouble(), 0.5);
        // A new section play after the end seeks again.
        rscfake::clearCalls();
        f.manager.onTrimPlay(0.25f, 0.5f);
        QCOMPARE(rscfake::count("rsc_player_seek"), 1);
    }

    void pausedSectionResumesWithoutSeeking()
    {
        Fixture f;
        QVERIFY(f.open());
        f.manager.onTrimPlay(0.1f, 0.9f);
        f.manager.onTrimPause();
        rscfake::clearCalls();
        f.manager.onTrimPlay(0.1f, 0.9f);
        QCOMPARE(rscfake::count("rsc_player_seek"), 0);
        QCOMPARE(rscfake::count("rsc_player_play"), 1);
        // A plain pause forgets the section.
        f.manager.onPause();
        rscfake::clearCalls();
        f.manager.onTrimPlay(0.1f, 0.9f);
        QCOMPARE(rscfake::count("rsc_player_seek"), 1);
    }

    void trimEndStopsPlayAndPlayLengthFollowsTheTrim_data()
    {
        QTest::addColumn<qint64>("start");
        QTest::addColumn<qint64>("end");
        QTest::addColumn<qint64>("emittedStart");
        QTest::addColumn<qint64>("emittedEnd");
        QTest::addColumn<qint64>("length");
        QTest::newRow("range") << qint64(kSecond) << qint64(3 * kSecond) << qint64(kSecond) << qint64(3 * kSecond)
                               << qint64(2 * kSecond);
        QTest::newRow("end 0 = to the end")
            << qint64(kSecond) << qint64(0) << qint64(kSecond) << qint64(0) << qint64(3 * kSecond);
        QTest::newRow("given backwards") << qint64(3 * kSecond) << qint64(kSecond) << qint64(kSecond)
                                         << qint64(3 * kSecond) << qint64(2 * kSecond);
        QTest::newRow("start past the end of the media")
            << qint64(5 * kSecond) << qint64(0) << qint64(5 * kSecond) << qint64(0) << qint64(0);
    }
    void trimEndStopsPlayAndPlayLengthFollowsTheTrim()
    {
        QFETCH(qint64, start);
        QFETCH(qint64, end);
        QFETCH(qint64, emittedStart);
        QFETCH(qint64, emittedEnd);
        QFETCH(qint64, length);
        Fixture f;
        QVERIFY(f.open());
        QSignalSpy trim(&f.manager, &ZTPlayerManager::emitTrimTimeChange);
        f.manager.onTrim(uint64_t(start), uint64_t(end));
        QCOMPARE(trim.count(), 1);
        QCOMPARE(trim.first().at(0).value<uint64_t>(), uint64_t(emittedStart));
        QCOMPARE(trim.first().at(1).value<uint64_t>(), uint64_t(emittedEnd));
        QCOMPARE(f.manager.getPlaylength(), uint64_t(length));
        // Progress never divides by an empty length.
        QSignalSpy progress(&f.manager, &ZTPlayerManager::emitPlayProgress);
        QSignalSpy finished(&f.manager, &ZTPlayerManager::emitPlayFinish);
        rscfake::setResult("rsc_player_play_time", int64_t(emittedStart + 500000));
        f.manager.updateTime();
        QVERIFY(!progress.isEmpty());
        for (const auto &args : progress) {
            QVERIFY(std::isfinite(args.first().toDouble()));
            if (length == 0) // nothing left to play: no progress to show
                QCOMPARE(args.first().toDouble(), 0.0);
        }
        if (emittedEnd != 0) { // past the trim end: stopped, back to the start
            rscfake::setResult("rsc_player_play_time", int64_t(emittedEnd + 1));
            rscfake::clearCalls();
            f.manager.updateTime();
            QCOMPARE(finished.count(), 1);
            QCOMPARE(withArgs(rscfake::calls(), QStringLiteral("rsc_player_seek")),
                     QStringList{QString::number(emittedStart)});
        }
    }

    // Targets of long media in single precision land thousands of microseconds off.
    void sectionAndStepTargetsAreExact()
    {
        Fixture f(media(36000ull * kSecond + 123457));
        QVERIFY(f.open());
        f.manager.setTrimTime(1, 0);
        rscfake::clearCalls();
        f.manager.onTrimPlay(0.5f, 0.75f);
        const uint64_t length = 36000ull * kSecond + 123456;
        QCOMPARE(withArgs(rscfake::calls(), QStringLiteral("rsc_player_seek")),
                 QStringList{QString::number(1 + uint64_t(double(length) * 0.5))});
        rscfake::clearCalls();
        f.manager.onNextStep(true, 0.25f);
        QCOMPARE(withArgs(rscfake::calls(), QStringLiteral("rsc_player_seek")),
                 QStringList{QString::number(1 + uint64_t(double(length) * 0.25) + 1)});
    }

    // ------------------------------------------------------------------------------------------ frame steps

    void frameStepsStayInsideTheTrim_data()
    {
        QTest::addColumn<bool>("next");
        QTest::addColumn<bool>("isSeek");
        QTest::addColumn<float>("pos");
        QTest::addColumn<QString>("step");
        QTest::newRow("next inside") << true << true << 0.5f << QStringLiteral("rsc_player_frame_step");
        QTest::newRow("next at the end, seeking")
            << true << true << 1.0f << QStringLiteral("rsc_player_update_video_frame");
        QTest::newRow("next at the end, not seeking") << true << false << 1.0f << QString();
        QTest::newRow("previous inside") << false << false << 0.5f << QStringLiteral("rsc_player_frame_step");
        QTest::newRow("previous at the start, seeking")
            << false << true << 0.0f << QStringLiteral("rsc_player_update_video_frame");
        QTest::newRow("previous at the start, not seeking") << false << false << 0.0f << QString();
    }
    void frameStepsStayInsideTheTrim()
    {
        QFETCH(bool, next);
        QFETCH(bool, isSeek);
        QFETCH(float, pos);
        QFETCH(QString, step);
        Fixture f;
        QVERIFY(f.open());
        f.manager.setTrimTime(kSecond, 3 * kSecond);
        rscfake::setResult("rsc_player_video_time", int64_t(2 * kSecond));
        QSignalSpy percent(&f.manager, &ZTPlayerManager::emitStartEndProgressValue);
        QSignalSpy time2(&f.manager, &ZTPlayerManager::emitPlayTime2);
        QSignalSpy time(&f.manager, &ZTPlayerManager::emitPlayTime);
        rscfake::clearCalls();
        if (next)
            f.manager.onNextStep(isSeek, pos);
        else
            f.manager.onPreviousStep(isSeek, pos);
        const QStringList n = names(rscfake::calls());
        QCOMPARE(n.contains(QStringLiteral("rsc_player_seek")), isSeek);
        QCOMPARE(rscfake::count("rsc_player_frame_step"), step == QLatin1String("rsc_player_frame_step") ? 1 : 0);
        QCOMPARE(rscfake::count("rsc_player_update_video_frame"),
                 step == QLatin1String("rsc_player_update_video_frame") ? 1 : 0);
        if (!step.isEmpty() && step.endsWith(QLatin1String("frame_step")))
            QCOMPARE(withArgs(rscfake::calls(), step).first(), QString::number(next ? 1 : -1));
        // The playing state was paused first (the fake's player never reports paused).
        QCOMPARE(rscfake::count("rsc_player_pause"), 1);
        QCOMPARE(percent.last().first().toFloat(), 50.0f);
        QCOMPARE(time2.last().first().toString(), QStringLiteral("00:00:01.000 / 00:00:02.000"));
        QCOMPARE(time.count(), 0);
    }

    // ------------------------------------------------------------------------------------------ time texts

    void timeTexts_data()
    {
        QTest::addColumn<qint64>("time");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("textMs");
        QTest::newRow("zero") << qint64(0) << QStringLiteral("00:00:00") << QStringLiteral("00:00:00.000");
        QTest::newRow("1:02:03.004") << qint64(3723004000) << QStringLiteral("01:02:03")
                                     << QStringLiteral("01:02:03.004");
        QTest::newRow("100 hours") << qint64(360000ll * kSecond) << QStringLiteral("100:00:00")
                                   << QStringLiteral("100:00:00.000");
        QTest::newRow("past 596 hours") << qint64(600ll * 3600 * kSecond) << QStringLiteral("600:00:00")
                                        << QStringLiteral("600:00:00.000");
    }
    void timeTexts()
    {
        QFETCH(qint64, time);
        QFETCH(QString, text);
        QFETCH(QString, textMs);
        QCOMPARE(ZTPlayerManager::timeText(uint64_t(time)), text);
        QCOMPARE(ZTPlayerManager::timeTextMs(uint64_t(time)), textMs);
    }

    void timeTextWithoutPlayer()
    {
        rscfake::reset();
        ZTPlayerManager m;
        QSignalSpy time(&m, &ZTPlayerManager::emitPlayTime);
        m.showTime(0);
        QCOMPARE(time.first().first().toString(), QStringLiteral("00:00:00 / 00:00:00"));
        m.onPlay(); // nothing to talk to: nothing happens
        QCOMPARE(rscfake::calls().size(), size_t(0));
    }

    // ------------------------------------------------------------------------------------------ crop

    void cropRecordsAreCutToTheFrame()
    {
        Fixture f;
        QVERIFY(f.open());
        QSignalSpy changed(&f.manager, &ZTPlayerManager::emitCropAreaChange);
        VECropSettings c;
        c.cropRect = VERect{0.5, 0.25, 0.75, 0.5};
        c.panScanRect = VERect{-0.25, 0.0, 0.5, 1.0};
        rscfake::clearCalls();
        f.manager.setCropSettings(c);
        QCOMPARE(changed.count(), 1);
        const VECropSettings stored = changed.first().first().value<VECropSettings>();
        QCOMPARE(stored.cropRect.width, 0.5);  // cut to end at 1.0
        QCOMPARE(stored.panScanRect.x, -0.25); // the record keeps what it was given...
        // ...but nothing outside the frame reaches the player.
        for (const QString &args : withArgs(rscfake::calls(), QStringLiteral("rsc_player_set_video_crop")))
            for (const QString &v : args.split(QStringLiteral(", "))) {
                QVERIFY2(v.toDouble() >= 0.0 && v.toDouble() <= 1.0, qPrintable(args));
            }
    }

    void cropApplyOrder_data()
    {
        QTest::addColumn<int>("aspectMode");
        QTest::addColumn<int>("panScan");
        QTest::addColumn<int>("padEnabled");
        QTest::addColumn<int>("rotation");
        QTest::addColumn<QStringList>("calls");
        const QString rot = QStringLiteral("rsc_player_set_video_rotate"),
                      mir = QStringLiteral("rsc_player_set_video_mirror"),
                      pad = QStringLiteral("rsc_player_set_video_pad_and_color"),
                      crop = QStringLiteral("rsc_player_set_video_crop"),
                      asp = QStringLiteral("rsc_player_set_video_aspect_ratio");
        QTest::newRow("plain") << 0 << 0 << 1 << 0
                               << QStringList{rot + "(0)",
                                              mir + "(0)",
                                              pad + "(1, 4278190080)",
                                              crop + "(0, 0, 1, 1)",
                                              asp + "(16, 9)",
                                              crop + "(0, 0, 1, 1)",
                                              pad + "(1, 4278190080)",
                                              asp + "(16, 9)",
                                              pad + "(1, 4278190080)",
                                              asp + "(16, 9)"};
        QTest::newRow("no padding, sideways") << 2 << 0 << 1 << 90
                                              << QStringList{rot + "(90)",
                                                             mir + "(0)",
                                                             pad + "(0, 4278190080)",
                                                             crop + "(0, 0, 1, 1)",
                                                             asp + "(9, 16)",
                                                             crop + "(0, 0, 1, 1)",
                                                             pad + "(1, 4278190080)",
                                                             asp + "(16, 9)",
                                                             pad + "(0, 4278190080)",
                                                             asp + "(9, 16)"};
        QTest::newRow("pan-scan") << 0 << 1 << 1 << 0
                                  << QStringList{rot + "(0)",
                                                 mir + "(0)",
                                                 pad + "(0, 4278190080)",
                                                 crop + "(0.3, 0.3, 0.1, 0.1)",
                                                 asp + "(1920, 1080)",
                                                 crop + "(0.125, 0, 0.75, 1)",
                                                 pad + "(0, 4278190080)",
                                                 asp + "(640, 480)"};
    }
    void cropApplyOrder()
    {
        QFETCH(int, aspectMode);
        QFETCH(int, panScan);
        QFETCH(int, padEnabled);
        QFETCH(int, rotation);
        QFETCH(QStringList, calls);
        Fixture f;
        QVERIFY(f.open(640, 480));
        VECropSettings c;
        c.aspectMode = aspectMode;
        c.panScan = panScan;
        c.padEnabled = padEnabled;
        c.rotation = rotation;
        c.aspectWidth = 16;
        c.aspectHeight = 9;
        if (panScan == 1) { // a 16:9 crop shown on a 4:3 preview: a narrower box of the full height
            c.aspectWidth = 0;
            c.aspectHeight = 0;
            c.panScanRect = VERect{0.3, 0.3, 0.1, 0.1};
        }
        rscfake::clearCalls();
        f.manager.setCropSettings(c);
        QStringList got;
        for (const std::string &s : rscfake::calls("rsc_player_set_video_")) {
            QString t = QString::fromStdString(s);
            got << t.left(t.indexOf(QLatin1Char('('))) + QLatin1Char('(') + t.mid(t.indexOf(QLatin1Char(',')) + 2);
        }
        QCOMPARE(got, calls);
    }

    void panScanBox_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<double>("y");
        QTest::addColumn<double>("height");
        QTest::addColumn<double>("expectX");
        QTest::addColumn<double>("expectY");
        QTest::addColumn<double>("expectW");
        QTest::addColumn<double>("expectH");
        // A 16:9 crop of the whole frame on a 4:3 preview.
        QTest::newRow("centred") << 0 << 0.0 << 1.0 << 0.125 << 0.0 << 0.75 << 1.0;
        // Keeping the width, the box would be 4/3 high: cut at the frame's bottom, narrowed to keep its shape.
        QTest::newRow("keep width") << 1 << 0.5 << 0.5 << 0.0 << 0.5 << 0.375 << 0.5;
        QTest::newRow("keep height") << 2 << 0.0 << 1.0 << 0.0 << 0.0 << 0.75 << 1.0;
    }
    void panScanBox()
    {
        QFETCH(int, mode);
        QFETCH(double, y);
        QFETCH(double, height);
        QFETCH(double, expectX);
        QFETCH(double, expectY);
        QFETCH(double, expectW);
        QFETCH(double, expectH);
        Fixture f;
        QVERIFY(f.open(640, 480));
        VECropSettings c;
        c.cropRect = VERect{0.0, y, 1.0, height};
        c.panScanRect = VERect{0.0, y, 1.0, height};
        f.manager.setPanScanMode(PanScanMode(mode));
        f.manager.CalcCropPanScan(c);
        QVERIFY(qAbs(c.panScanRect.x - expectX) < 1e-9);
        QVERIFY(qAbs(c.panScanRect.y - expectY) < 1e-9);
        QVERIFY(qAbs(c.panScanRect.width - expectW) < 1e-9);
        QVERIFY2(qAbs(c.panScanRect.height - expectH) < 1e-9, qPrintable(QString::number(c.panScanRect.height)));
        // The mode is used once.
        VECropSettings again;
        f.manager.CalcCropPanScan(again);
        QCOMPARE(again.panScanRect.width, 0.75);
    }

    // No division by an empty picture, preview or element anywhere.
    void emptySizesAreHarmless()
    {
        Fixture f(media(4 * kSecond, true, true, 0, 0));
        QVERIFY(f.open(0, 0));
        VECropSettings c;
        c.panScan = 1;
        c.cropRect = VERect{0.1, 0.1, 0.5, 0.5};
        c.panScanRect = VERect{0.2, 0.2, 0.3, 0.3};
        f.manager.CalcCropPanScan(c);
        QCOMPARE(c.panScanRect, (VERect{0.2, 0.2, 0.3, 0.3}));
        f.manager.setCropSettings(c);
        QMediaElementWindow hidden; // never shown: an empty picture area
        f.manager.setMediaOriginalWindow(&hidden);
        f.manager.getCropMinSize();
        QMouseEvent press = mouse(QEvent::MouseButtonPress, QPoint(0, 0));
        f.manager.mousePressEvent(&press);
        QMouseEvent move = mouse(QEvent::MouseMove, QPoint(5, 5));
        f.manager.mouseMoveEvent(&move);
        VECropSettings after;
        f.manager.getCropSettings(after);
        QVERIFY(std::isfinite(after.cropRect.x) && std::isfinite(after.panScanRect.width));
    }

    void cropDragging_data()
    {
        QTest::addColumn<QPointF>("press");
        QTest::addColumn<QPointF>("release");
        QTest::addColumn<QRectF>("expected"); // fractions; negative width = not grabbed, 0 = the smallest box
        // The box starts at (0.25, 0.25, 0.5, 0.5).
        QTest::newRow("left edge past the right")
            << QPointF(0.25, 0.5) << QPointF(0.95, 0.5) << QRectF(0.0, 0.25, 0.0, 0.5);
        QTest::newRow("move past the top-left") << QPointF(0.5, 0.5) << QPointF(0.1, 0.0) << QRectF(0.0, 0.0, 0.5, 0.5);
        QTest::newRow("move past the bottom-right")
            << QPointF(0.5, 0.5) << QPointF(1.0, 1.0) << QRectF(0.5, 0.5, 0.5, 0.5);
        QTest::newRow("bottom-right corner out")
            << QPointF(0.75, 0.75) << QPointF(1.2, 1.2) << QRectF(0.25, 0.25, 0.75, 0.75);
        QTest::newRow("outside the box") << QPointF(0.1, 0.1) << QPointF(0.2, 0.2) << QRectF(0, 0, -1, -1);
    }
    void cropDragging()
    {
        QFETCH(QPointF, press);
        QFETCH(QPointF, release);
        QFETCH(QRectF, expected);
        Fixture f;
        QVERIFY(f.open());
        Window w;
        QVERIFY(w.element().width() > 100);
        f.manager.setMediaOriginalWindow(&w.window);
        VECropSettings c;
        c.cropRect = VERect{0.25, 0.25, 0.5, 0.5};
        c.panScanRect = c.cropRect;
        f.manager.setCropSettings(c);
        QSignalSpy changed(&f.manager, &ZTPlayerManager::emitCropAreaChange);
        connect(&w.window, &QMediaElementWindow::emitMousePressEvent, &f.manager, &ZTPlayerManager::mousePressEvent);
        connect(&w.window, &QMediaElementWindow::emitMouseMoveEvent, &f.manager, &ZTPlayerManager::mouseMoveEvent);
        connect(&w.window, &QMediaElementWindow::emitMouseReleaseEvent, &f.manager,
                &ZTPlayerManager::mouseReleaseEvent);
        QMouseEvent down = mouse(QEvent::MouseButtonPress, w.at(press.x(), press.y()));
        emit w.window.emitMousePressEvent(&down);
        QMouseEvent move = mouse(QEvent::MouseMove, w.at(release.x(), release.y()));
        emit w.window.emitMouseMoveEvent(&move);
        QMouseEvent up = mouse(QEvent::MouseButtonRelease, w.at(release.x(), release.y()));
        emit w.window.emitMouseReleaseEvent(&up);
        if (expected.width() < 0) {
            QCOMPARE(changed.count(), 0);
            return;
        }
        QCOMPARE(changed.count(), 1);
        const VERect r = changed.last().first().value<VECropSettings>().cropRect;
        const double px = 1.5 / w.element().width(); // a pixel of rounding
        if (expected.width() == 0.0) {
            // The left edge stops before the right one: 0.02 of the frame, or 20 pixels when that is more.
            const double smallest = qMax(0.02, 20.0 / w.element().width());
            expected = QRectF(0.75 - smallest, expected.y(), smallest, expected.height());
        }
        QVERIFY2(qAbs(r.x - expected.x()) < px && qAbs(r.y - expected.y()) < px &&
                     qAbs(r.width - expected.width()) < px && qAbs(r.height - expected.height()) < px,
                 qPrintable(QStringLiteral("%1 %2 %3 %4").arg(r.x).arg(r.y).arg(r.width).arg(r.height)));
        // The box on screen never gets narrower than 20 pixels.
        QVERIFY(r.width * w.element().width() >= 19.0);
        // The release ends the drag: a further move only hovers.
        QMouseEvent hover = mouse(QEvent::MouseMove, w.at(0.5, 0.9));
        emit w.window.emitMouseMoveEvent(&hover);
        QCOMPARE(changed.count(), 1);
    }

    void grabDistance_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<bool>("grabbed");
        QTest::newRow("4 pixels off the corner") << 4 << true;
        QTest::newRow("5 pixels off the corner") << 5 << false;
    }
    void grabDistance()
    {
        QFETCH(int, offset);
        QFETCH(bool, grabbed);
        Fixture f;
        QVERIFY(f.open());
        Window w;
        f.manager.setMediaOriginalWindow(&w.window);
        VECropSettings c;
        c.cropRect = VERect{0.25, 0.25, 0.5, 0.5};
        f.manager.setCropSettings(c);
        QSignalSpy changed(&f.manager, &ZTPlayerManager::emitCropAreaChange);
        const QRect e = w.element();
        const QPoint corner(int(0.25 * e.width() + e.left()), int(0.25 * e.height() + e.top()));
        QMouseEvent down = mouse(QEvent::MouseButtonPress, corner - QPoint(offset, offset));
        f.manager.mousePressEvent(&down);
        QMouseEvent move = mouse(QEvent::MouseMove, corner + QPoint(30, 30));
        f.manager.mouseMoveEvent(&move);
        QCOMPARE(changed.count(), grabbed ? 1 : 0);
    }

    // Original resolution: the crop's size in video pixels, made even.
    void originalResolutionFollowsTheCrop()
    {
        Fixture f;
        QVERIFY(f.open());
        Window w;
        f.manager.setMediaOriginalWindow(&w.window);
        VECropSettings c;
        c.aspectMode = 1;
        f.manager.setCropSettings(c);
        QSignalSpy changed(&f.manager, &ZTPlayerManager::emitCropAreaChange);
        const QRect e = w.element();
        if (e.width() % 2)
            QSKIP("the picture area must have an even width to halve it exactly");
        // Grab the right edge and pull it to the middle: exactly half the width.
        const int mid = e.top() + e.height() / 2;
        QMouseEvent down = mouse(QEvent::MouseButtonPress, QPoint(e.left() + e.width(), mid));
        f.manager.mousePressEvent(&down);
        QMouseEvent move = mouse(QEvent::MouseMove, QPoint(e.left() + e.width() / 2, mid));
        f.manager.mouseMoveEvent(&move);
        QCOMPARE(changed.count(), 1);
        const VECropSettings r = changed.first().first().value<VECropSettings>();
        QCOMPARE(r.cropRect.width, 0.5);
        // q = 32768, r = (32768 * 1920 + 65536) >> 16 = 961, lowest bit cleared.
        QCOMPARE(r.aspectWidth, 960);
        QCOMPARE(r.aspectHeight, 1080);
        QCOMPARE(r.panScan, 0);
    }

    // ------------------------------------------------------------------------------------------ watermarks

    void watermarkSendingOrder()
    {
        Fixture f;
        QVERIFY(f.open());
        VEWatermarkSettings s;
        s.image.imagePath = "/pics/logo.png";
        s.text.text = "Hello";
        s.text.fontName = "@Serif";
        rscfake::clearCalls();
        f.manager.setWatermarkSettingsSource(s, 1);
        const QStringList n = names(rscfake::calls());
        QCOMPARE(n.first(), QStringLiteral("rsc_player_begin_settings"));
        QCOMPARE(n.at(1), QStringLiteral("rsc_player_set_watermark_index"));
        QCOMPARE(n.at(2), QStringLiteral("rsc_player_set_watermark_image_file"));
        QCOMPARE(n.last(), QStringLiteral("rsc_player_end_settings"));
        QCOMPARE(n.at(n.size() - 2), QStringLiteral("rsc_player_set_watermark_border_alpha"));
        QCOMPARE(withArgs(rscfake::calls(), QStringLiteral("rsc_player_set_watermark_text_font")),
                 QStringList{QStringLiteral("\"Serif\"")});
        // Empty items are removed with null sources; layout-only sending leaves sources alone.
        VEWatermarkSettings empty;
        rscfake::clearCalls();
        f.manager.setWatermarkSettingsSource(empty, 2);
        QCOMPARE(withArgs(rscfake::calls(), QStringLiteral("rsc_player_set_watermark_image_file")),
                 QStringList{QStringLiteral("null")});
        QCOMPARE(withArgs(rscfake::calls(), QStringLiteral("rsc_player_set_watermark_text")),
                 QStringList{QStringLiteral("null")});
        rscfake::clearCalls();
        f.manager.setWatermarkSettingsNotSource(s, 1);
        QCOMPARE(rscfake::count("rsc_player_set_watermark_image_file"), 0);
        QCOMPARE(rscfake::count("rsc_player_set_watermark_text"), 0);
        QCOMPARE(rscfake::count("rsc_player_enable_watermark_image_border"), 2);
        QCOMPARE(rscfake::count("rsc_player_set_watermark_border_alpha"), 0);
    }

    void currentWatermarkReadsBackTheLayout()
    {
        Fixture f;
        QVERIFY(f.open());
        rscfake::setDouble("rsc_player_watermark_text_width", 0.3);
        rscfake::setDouble("rsc_player_watermark_text_height", 0.1);
        rscfake::setDouble("rsc_player_watermark_text_pos_x", 0.2);
        rscfake::setDouble("rsc_player_watermark_text_pos_y", 0.4);
        QSignalSpy rect(&f.manager, &ZTPlayerManager::emitWatermarkRectChange);
        VEWatermarkSettings s;
        s.text.text = "Hello";
        s.image.posX = 0.7; // no picture: its position stays
        f.manager.setCurrentWatermarkSettings(s, 0, true);
        QCOMPARE(rect.count(), 1);
        const VEWatermarkSettings got = rect.first().first().value<VEWatermarkSettings>();
        QCOMPARE(got.text.measuredWidth, 0.3);
        QCOMPARE(got.text.posY, 0.4);
        QCOMPARE(got.image.measuredWidth, 0.0);
        QCOMPARE(got.image.posX, 0.7);
        QCOMPARE(rect.first().at(1).toInt(), 0);
        // A negative slot is no current overlay.
        f.manager.setCurrentWatermarkSettings(s, -1, true);
        QCOMPARE(rect.count(), 1);
    }

    void currentWatermarkKeepsItsPlaceWithoutAClip()
    {
        // The clip cannot be opened (renamed, its drive gone): the player laid nothing out, so the record's
        // place and measured size stand; a text moved to the corner would move in the output too.
        Fixture f;
        rscfake::setResult("rsc_player_open", 0);
        QVERIFY(!f.open());
        QSignalSpy rect(&f.manager, &ZTPlayerManager::emitWatermarkRectChange);
        VEWatermarkSettings s;
        s.text.text = "Hello";
        s.text.posX = 0.04;
        s.text.posY = 0.41;
        s.text.measuredWidth = 0.3;
        s.image.imagePath = "/pics/logo.png";
        s.image.posX = 0.6;
        s.image.measuredHeight = 0.2;
        f.manager.setCurrentWatermarkSettings(s, 0, true);
        f.manager.setCurrentWatermarkSettingsNotSource(s, 0, true);
        QCOMPARE(rect.count(), 2);
        for (const QList<QVariant> &args : rect) {
            const VEWatermarkSettings got = args.first().value<VEWatermarkSettings>();
            QCOMPARE(got.text.posX, 0.04);
            QCOMPARE(got.text.posY, 0.41);
            QCOMPARE(got.text.measuredWidth, 0.3);
            QCOMPARE(got.image.posX, 0.6);
            QCOMPARE(got.image.measuredHeight, 0.2);
        }
    }

    void watermarkDragging_data()
    {
        QTest::addColumn<bool>("textOnTop");
        QTest::addColumn<QPointF>("press");
        QTest::addColumn<QPointF>("to");
        QTest::addColumn<bool>("textMoved");
        QTest::addColumn<double>("posX");
        QTest::addColumn<double>("posY");
        QTest::addColumn<int>("scaleX");
        // Text box (0.2, 0.2, 0.2, 0.1); picture box (0.3, 0.25, 0.2, 0.2): they overlap at (0.35, 0.27).
        QTest::newRow("overlap, text on top")
            << true << QPointF(0.35, 0.27) << QPointF(0.45, 0.27) << true << 0.3 << 0.2 << 100;
        QTest::newRow("overlap, picture on top")
            << false << QPointF(0.35, 0.27) << QPointF(0.45, 0.27) << false << 0.4 << 0.25 << 100;
        QTest::newRow("text right edge to twice the width")
            << true << QPointF(0.4, 0.22) << QPointF(0.6, 0.22) << true << 0.2 << 0.2 << 200;
        QTest::newRow("text moved past the top")
            << true << QPointF(0.25, 0.25) << QPointF(0.25, -0.2) << true << 0.2 << 0.0 << 100;
        QTest::newRow("picture right edge past the frame")
            << false << QPointF(0.5, 0.35) << QPointF(1.2, 0.35) << false << 0.3 << 0.25 << 350;
    }
    void watermarkDragging()
    {
        QFETCH(bool, textOnTop);
        QFETCH(QPointF, press);
        QFETCH(QPointF, to);
        QFETCH(bool, textMoved);
        QFETCH(double, posX);
        QFETCH(double, posY);
        QFETCH(int, scaleX);
        Fixture f;
        QVERIFY(f.open());
        Window w;
        f.manager.setMediaPreviewWindow(&w.window);
        rscfake::setDouble("rsc_player_watermark_text_width", 0.2);
        rscfake::setDouble("rsc_player_watermark_text_height", 0.1);
        rscfake::setDouble("rsc_player_watermark_image_width", 0.2);
        rscfake::setDouble("rsc_player_watermark_image_height", 0.2);
        VEWatermarkSettings s;
        s.text.text = "Hello";
        s.text.posX = 0.2;
        s.text.posY = 0.2;
        s.text.layerTopmost = textOnTop ? 1 : 0;
        s.image.imagePath = "/pics/logo.png";
        s.image.posX = 0.3;
        s.image.posY = 0.25;
        f.manager.setCurrentWatermarkSettings(s, 0, false);
        QSignalSpy rect(&f.manager, &ZTPlayerManager::emitWatermarkRectChange);
        QMouseEvent down = mouse(QEvent::MouseButtonPress, w.at(press.x(), press.y()));
        f.manager.mouseWatermarkPressEvent(&down);
        QMouseEvent move = mouse(QEvent::MouseMove, w.at(to.x(), to.y()));
        f.manager.mouseWatermarkMoveEvent(&move);
        QCOMPARE(rect.count(), 1);
        const VEWatermarkSettings got = rect.last().first().value<VEWatermarkSettings>();
        const double px = 1.5 / w.element().width();
        const double gx = textMoved ? got.text.posX : got.image.posX;
        const double gy = textMoved ? got.text.posY : got.image.posY;
        const int gs = int(textMoved ? got.text.scaleX : got.image.scaleX);
        QVERIFY2(qAbs(gx - posX) < px && qAbs(gy - posY) < 2 * px, qPrintable(QStringLiteral("%1 %2").arg(gx).arg(gy)));
        QVERIFY2(qAbs(gs - scaleX) <= 1, qPrintable(QString::number(gs)));
        // The other item did not move; the pressed item is now on top.
        QCOMPARE(textMoved ? got.image.posX : got.text.posX, textMoved ? 0.3 : 0.2);
        QCOMPARE(got.text.layerTopmost, textMoved ? 1u : 0u);
        // Release re-sends without sources, reads the sizes back and reports once more.
        rscfake::clearCalls();
        QMouseEvent up = mouse(QEvent::MouseButtonRelease, w.at(to.x(), to.y()));
        f.manager.mouseWatermarkReleaseEvent(&up);
        QCOMPARE(rect.count(), 2);
        QCOMPARE(rscfake::count("rsc_player_refresh_video_frame"), 1);
        QCOMPARE(rscfake::count("rsc_player_set_watermark_text"), 0);
        QCOMPARE(rect.last().first().value<VEWatermarkSettings>().text.measuredWidth, 0.2);
    }

    // One mouse event reaches the crop and the watermark slots: each drag keeps its own start.
    void cropAndWatermarkDragsDoNotMix()
    {
        Fixture f;
        QVERIFY(f.open());
        Window w;
        f.manager.setMediaOriginalWindow(&w.window);
        f.manager.setMediaPreviewWindow(&w.window);
        VECropSettings c;
        c.cropRect = VERect{0.25, 0.25, 0.5, 0.5};
        f.manager.setCropSettings(c);
        rscfake::setDouble("rsc_player_watermark_text_width", 0.2);
        rscfake::setDouble("rsc_player_watermark_text_height", 0.1);
        VEWatermarkSettings s;
        s.text.text = "Hello";
        s.text.posX = 0.4;
        s.text.posY = 0.4;
        f.manager.setCurrentWatermarkSettings(s, 0, false);
        QSignalSpy crop(&f.manager, &ZTPlayerManager::emitCropAreaChange);
        QSignalSpy rect(&f.manager, &ZTPlayerManager::emitWatermarkRectChange);
        QMouseEvent down = mouse(QEvent::MouseButtonPress, w.at(0.45, 0.45));
        f.manager.mousePressEvent(&down);
        f.manager.mouseWatermarkPressEvent(&down);
        QMouseEvent move = mouse(QEvent::MouseMove, w.at(0.55, 0.55));
        f.manager.mouseMoveEvent(&move);
        f.manager.mouseWatermarkMoveEvent(&move);
        const double px = 1.5 / w.element().width();
        const VERect r = crop.last().first().value<VECropSettings>().cropRect;
        QVERIFY2(qAbs(r.x - 0.35) < px && qAbs(r.width - 0.5) < px, qPrintable(QString::number(r.width)));
        const VEWatermarkSettings got = rect.last().first().value<VEWatermarkSettings>();
        QVERIFY(qAbs(got.text.posX - 0.5) < px);
    }

    void releaseWithoutDragStillReports()
    {
        Fixture f;
        QVERIFY(f.open());
        VEWatermarkSettings s;
        s.text.text = "Hello";
        f.manager.setCurrentWatermarkSettings(s, 0, false);
        QSignalSpy rect(&f.manager, &ZTPlayerManager::emitWatermarkRectChange);
        QMouseEvent up = mouse(QEvent::MouseButtonRelease, QPoint(3, 3));
        f.manager.mouseWatermarkReleaseEvent(&up);
        QCOMPARE(rect.count(), 1);
    }

    // ------------------------------------------------------------------------------------------ live edits

    void liveEditOrder()
    {
        Fixture f;
        QVERIFY(f.open());
        rscfake::clearCalls();
        VEVideoEffectSettings v;
        v.brightness = -10;
        f.manager.setVideoEffectSettings(v);
        QCOMPARE(names(rscfake::calls()), QStringList({QStringLiteral("rsc_player_set_video_y_offset"),
                                                       QStringLiteral("rsc_player_set_video_saturation"),
                                                       QStringLiteral("rsc_player_set_video_hue"),
                                                       QStringLiteral("rsc_player_set_video_contrast")}));
        rscfake::clearCalls();
        f.manager.setSubtitleSettings(VESubtitleSettings());
        const QStringList sub = names(rscfake::calls());
        QCOMPARE(sub.size(), 19);
        QCOMPARE(sub.first(), QStringLiteral("rsc_player_set_subtitle_alpha"));
        QCOMPARE(sub.at(1), QStringLiteral("rsc_player_set_subtitle_delay"));
        QCOMPARE(sub.at(8), QStringLiteral("rsc_player_set_subtitle_scale"));
        QCOMPARE(sub.last(), QStringLiteral("rsc_player_set_subtitle_spacing_v"));
        rscfake::clearCalls();
        VEAudioEffectSetting a;
        a.speed = 150;
        f.manager.setAudioEffectSettings(a);
        QCOMPARE(names(rscfake::calls()),
                 QStringList({QStringLiteral("rsc_player_set_audio_volume"), QStringLiteral("rsc_player_change_speed"),
                              QStringLiteral("rsc_player_set_audio_rate")}));
        rscfake::clearCalls();
        VEAudioBackgroundSettings bg;
        f.manager.setAudioBackgroundSettingsSource(bg, 0);
        QCOMPARE(withArgs(rscfake::calls(), QStringLiteral("rsc_player_set_audio_background_file")),
                 QStringList{QStringLiteral("null")});
        QCOMPARE(names(rscfake::calls()).first(), QStringLiteral("rsc_player_begin_settings"));
        rscfake::clearCalls();
        f.manager.setAudioBackgroundSettingsNotSource(bg, 0);
        QCOMPARE(rscfake::count("rsc_player_set_audio_background_file"), 0);
        QCOMPARE(rscfake::count("rsc_player_set_audio_background_split_time"), 1);
        rscfake::clearCalls();
        VEEqualizeSettings eq;
        const double freqs[] = {100, 1000}, gains[] = {3, -3};
        eq.setBands(freqs, gains, 2);
        f.manager.setEqualizeSettings(eq);
        QCOMPARE(withArgs(rscfake::calls(), QStringLiteral("rsc_player_set_audio_equalize")),
                 QStringList{QStringLiteral("[100, 1000], [3, -3], 2")});
    }

    void subtitleRows_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("args");
        QTest::newRow("none") << 0 << QStringLiteral("rsc_player_set_subtitle_index") << QStringLiteral("4294967295");
        QTest::newRow("second stream") << 2 << QStringLiteral("rsc_player_set_subtitle_index") << QStringLiteral("1");
        QTest::newRow("closed captions") << 4 << QStringLiteral("rsc_player_enable_closed_caption")
                                         << QStringLiteral("1");
        QTest::newRow("file") << 5 << QStringLiteral("rsc_player_set_subtitle_file")
                              << QStringLiteral("\"/subs/a.srt\"");
    }
    void subtitleRows()
    {
        QFETCH(int, row);
        QFETCH(QString, call);
        QFETCH(QString, args);
        rscfake::FakeMedia m = media();
        m.subtitle.resize(3);
        m.audio.resize(2);
        Fixture f(m);
        QVERIFY(f.open());
        VESubtitleValue_Info v;
        v.audioIndex = 1;
        v.subtitleRow = row;
        v.subtitleFile = "/subs/a.srt";
        rscfake::clearCalls();
        f.manager.setSubtitleValueInfo(v);
        QCOMPARE(withArgs(rscfake::calls(), QStringLiteral("rsc_player_set_audio_index")),
                 QStringList{QStringLiteral("1")});
        QCOMPARE(withArgs(rscfake::calls(), call), QStringList{args});
    }

    void closedCaptionsGoOffWhenAnotherRowIsChosen()
    {
        rscfake::FakeMedia m = media();
        m.subtitle.resize(3);
        Fixture f(m);
        QVERIFY(f.open());
        VESubtitleValue_Info v;
        v.subtitleRow = 4;
        f.manager.setSubtitleValueInfo(v);
        rscfake::clearCalls();
        v.subtitleRow = 1;
        f.manager.setSubtitleValueInfo(v);
        QCOMPARE(withArgs(rscfake::calls(), QStringLiteral("rsc_player_enable_closed_caption")),
                 QStringList{QStringLiteral("0")});
        QCOMPARE(withArgs(rscfake::calls(), QStringLiteral("rsc_player_set_subtitle_index")),
                 QStringList{QStringLiteral("0")});
        // A failing audio choice cancels the whole selection.
        rscfake::setResult("rsc_info_set_audio_index", 0);
        rscfake::clearCalls();
        f.manager.setSubtitleValueInfo(v);
        QCOMPARE(names(rscfake::calls()).size(), 0);
    }

    void snapshotFormatComesFromTheFormatText()
    {
        Fixture f(media(4 * kSecond, true, true, 64, 48));
        QVERIFY(f.open());
        const QString path = rstest::scratchDir(QStringLiteral("snap")) + QStringLiteral("/shot.jpg");
        QVERIFY(f.manager.captureImage(path, QStringLiteral("PNG")));
        QCOMPARE(QImageReader(path).format(), QByteArray("png"));
        QCOMPARE(QImage(path).size(), QSize(64, 48));
        QCOMPARE(rscfake::count("rsc_player_free_video_image"), 1);
        // Nothing to capture: refused, nothing written.
        ZTPlayerManager none;
        QVERIFY(!none.captureImage(path + QStringLiteral(".x"), QStringLiteral("png")));
    }

    // ------------------------------------------------------------------------------------------ frames

    void framesReachOnlyTheCurrentWindow()
    {
        Fixture f;
        QVERIFY(f.open());
        auto *player = static_cast<rsc_player *>(f.manager.getPlayerClass()->GetPlayer());
        auto first = std::make_unique<QMediaElementWindow>();
        first->SetOpenGl(false);
        f.manager.setMediaPreviewWindow(first.get());
        QCOMPARE(rscfake::sendFrame(player, false, RSC_FRAME_BGRX, 64, 48), 1u);
        // No original window: nothing to draw on.
        QCOMPARE(rscfake::sendFrame(player, true, RSC_FRAME_BGRX, 64, 48), 0u);
        // The editor deletes the window the controller still names: frames are refused, not drawn on it.
        first.reset();
        QCOMPARE(rscfake::sendFrame(player, false, RSC_FRAME_BGRX, 64, 48), 0u);
        f.manager.resizeVideoWindow();
        QMediaElementWindow second;
        second.SetOpenGl(false);
        f.manager.setMediaPreviewWindow(&second);
        QCOMPARE(rscfake::sendFrame(player, false, RSC_FRAME_BGRX, 64, 48), 1u);
        QCoreApplication::processEvents();
    }

    // The player delivers on its own thread while the editor replaces and deletes windows.
    void windowsReplacedWhileFramesArrive()
    {
        Fixture f;
        QVERIFY(f.open());
        auto *player = static_cast<rsc_player *>(f.manager.getPlayerClass()->GetPlayer());
        std::atomic<bool> stop{false};
        std::atomic<int> taken{0};
        std::thread sender([&] {
            while (!stop) {
                taken += int(rscfake::sendFrame(player, false, RSC_FRAME_YUV420P, 64, 48));
                taken += int(rscfake::sendFrame(player, true, RSC_FRAME_BGRX, 64, 48));
            }
        });
        for (int i = 0; i < 100; ++i) {
            auto window = std::make_unique<QMediaElementWindow>();
            window->SetOpenGl(i % 2 == 0);
            f.manager.setMediaPreviewWindow(window.get());
            f.manager.setMediaOriginalWindow(window.get());
            QCoreApplication::processEvents();
            // Deleted while it is still the controller's window.
        }
        QMediaElementWindow last;
        last.SetOpenGl(false);
        f.manager.setMediaOriginalWindow(&last);
        QTRY_VERIFY_WITH_TIMEOUT(taken > 0, 10000);
        stop = true;
        sender.join();
    }

    // A player shared with another owner keeps running after this controller is gone: the handlers that
    // name the controller are taken back before its reference is dropped.
    void aDeletedControllerLeavesNoHandlerBehind()
    {
        rscfake::reset();
        rscfake::setMedia("*", media());
        ZTPlayerClass owner;
        QVERIFY(owner.Create_Player(true));
        QVERIFY(owner.OpenEx_Player(kClip.c_str(), 640, 360, 0, 0));
        QMediaElementWindow window;
        {
            ZTPlayerManager manager;
            QVERIFY(manager.setPlayer(owner.GetPlayer(), 640, 360, 3));
            manager.setMediaPreviewWindow(&window);
            rscfake::clearCalls();
        }
        const QStringList n = names(rscfake::calls());
        const int release = n.indexOf(QStringLiteral("rsc_player_release"));
        QVERIFY(release > 0);
        for (const QString &handler : {QStringLiteral("rsc_player_set_video_frame_handler"),
                                       QStringLiteral("rsc_player_set_original_video_frame_handler")}) {
            const int at = n.indexOf(handler);
            QVERIFY2(at >= 0 && at < release, qPrintable(handler));
        }
        QVERIFY(withArgs(rscfake::calls(), QStringLiteral("rsc_player_set_video_frame_handler"))
                    .first()
                    .startsWith(QStringLiteral("null")));
    }
};

RS_TEST_MAIN(TestPlayerController)
#include "tst_playercontroller.moc"
