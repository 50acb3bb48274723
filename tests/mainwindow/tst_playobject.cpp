// The preview's player object against the recording fake of the codec library: what it asks the player
// and what it reports, where real media cannot easily stage the case (no duration, refusals).
#include "TestSupport.h"
#include "VideoImageWindow.h"
#include "ZTPlayerClass.h"
#include "ZTQPlayObject.h"

#include "rscodec_fake.h"

#include <QSignalSpy>

#include <algorithm>
#include <cstring>

Q_DECLARE_METATYPE(uint64_t)

namespace {
rscfake::FakeMedia videoMedia(uint64_t duration)
{
    rscfake::FakeMedia m;
    m.duration = duration;
    rscfake::FakeStream v;
    v.width = 320;
    v.height = 240;
    m.video.push_back(v);
    return m;
}
} // namespace

class TestPlayObject : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { qRegisterMetaType<uint64_t>("uint64_t"); }
    void init() { rscfake::reset(); }

    // Live and unknown-length streams have no duration: the position has no fraction, not a division
    // by zero.
    void positionWithoutDuration()
    {
        rscfake::setMedia("live.ts", videoMedia(0));
        rscfake::setResult("rsc_player_duration", 0);
        rscfake::setResult("rsc_player_play_time", 2500000);
        rscfake::setResult("rsc_player_has_video", 1);
        ZTQPlayObject player;
        QVERIFY(player.SetPlayFile(QStringLiteral("live.ts"), 0, 0));
        QSignalSpy progress(&player, &ZTQPlayObject::emitPlayPro);
        QSignalSpy texts(&player, qOverload<QString>(&ZTQPlayObject::emitPlayTime));
        player.StartPlay();
        QCOMPARE(player.status(), int(ZTQPlayObject::StatusPlaying));
        player.UpdateTime();
        QCOMPARE(progress.count(), 1);
        QCOMPARE(progress.first().first().toDouble(), 0.0);
        QCOMPARE(texts.last().first().toString(), QStringLiteral("00:00:02 / 00:00:00"));
    }

    void positionReportsFractionAndTime()
    {
        rscfake::setResult("rsc_player_duration", 8000000);
        rscfake::setResults("rsc_player_play_time", {0, 2000000});
        rscfake::setResult("rsc_player_has_video", 1);
        ZTQPlayObject player;
        QVERIFY(player.SetPlayFile(QStringLiteral("a.mp4"), 0, 0));
        player.StartPlay();
        QSignalSpy progress(&player, &ZTQPlayObject::emitPlayPro);
        QSignalSpy times(&player, qOverload<uint64_t>(&ZTQPlayObject::emitPlayTime));
        player.UpdateTime(); // a position of 0 reports nothing
        QCOMPARE(progress.count(), 0);
        player.UpdateTime();
        QCOMPARE(progress.last().first().toDouble(), 0.25);
        QCOMPARE(times.last().first().value<uint64_t>(), uint64_t(2000000));
    }

    void endOfMediaStopsAndReports()
    {
        rscfake::setResult("rsc_player_has_audio", 1);
        ZTQPlayObject player;
        QVERIFY(player.SetPlayFile(QStringLiteral("a.mp3"), 0, 0));
        QVERIFY(player.isAudioOnly());
        player.StartPlay();
        QSignalSpy finished(&player, &ZTQPlayObject::emitPlayFinish);
        QSignalSpy levels(&player, &ZTQPlayObject::emitAudioData);
        rscfake::setResult("rsc_player_is_completed", 1);
        player.UpdateTime();
        QCOMPARE(player.status(), int(ZTQPlayObject::StatusFinished));
        QCOMPARE(finished.count(), 1);
        QVERIFY(levels.last().first().toByteArray().isEmpty()); // bars cleared
        QCOMPARE(rscfake::count("rsc_player_stop"), 2);         // before the open, at the end
        // Playing again stops the completed player first.
        rscfake::clearCalls();
        player.StartPlay();
        const std::vector<std::string> transport = rscfake::calls("rsc_player_");
        const auto stop = std::find_if(transport.begin(), transport.end(),
                                       [](const std::string &c) { return c.rfind("rsc_player_stop", 0) == 0; });
        const auto play = std::find_if(transport.begin(), transport.end(),
                                       [](const std::string &c) { return c.rfind("rsc_player_play(", 0) == 0; });
        QVERIFY(stop != transport.end() && play != transport.end() && stop < play);
    }

    void refusals()
    {
        rscfake::FakeMedia broken;
        broken.openable = false;
        rscfake::setMedia("broken.mp4", broken);
        VideoImageWindow window;
        window.show();
        ZTQPlayObject player;
        player.SetPlayWindows(&window);
        QSignalSpy finished(&player, &ZTQPlayObject::emitPlayFinish);
        QVERIFY(!player.SetPlayFile(QStringLiteral("broken.mp4"), 0, 0));
        QCOMPARE(player.status(), int(ZTQPlayObject::StatusStopped));
        QCOMPARE(finished.count(), 1);
        QVERIFY(window.isHidden());
        // Nothing open: play reports finished at once, and the player counts as paused.
        QSignalSpy progress(&player, &ZTQPlayObject::emitPlayPro);
        player.StartPlay();
        QCOMPARE(finished.count(), 2);
        QCOMPARE(progress.last().first().toDouble(), 0.0);
        QVERIFY(player.IsPause());

        // A player that refuses to play: status 5, the "playing" report already sent stays.
        player.SetPlayWindows(nullptr);
        rscfake::setResult("rsc_player_has_video", 1);
        rscfake::setResult("rsc_player_play", 0);
        QVERIFY(player.SetPlayFile(QStringLiteral("ok.mp4"), 0, 0));
        QSignalSpy state(&player, &ZTQPlayObject::emitPlayState);
        player.StartPlay();
        QCOMPARE(player.status(), int(ZTQPlayObject::StatusPlayFailed));
        QCOMPARE(state.count(), 1);
        QVERIFY(state.first().first().toBool());
    }

    void stepsAndVolume()
    {
        rscfake::setResult("rsc_player_has_video", 1);
        ZTQPlayObject player;
        QVERIFY(player.SetPlayFile(QStringLiteral("a.mp4"), 0, 0));
        QSignalSpy state(&player, &ZTQPlayObject::emitPlayState);
        player.videoFrameStepUp();
        player.videoFrameStepDown();
        QCOMPARE(state.count(), 2);
        QVERIFY(!state.last().first().toBool());
        QCOMPARE(rscfake::count("rsc_player_pause"), 2);
        const std::vector<std::string> steps = rscfake::calls("rsc_player_frame_step");
        QCOMPARE(steps.size(), size_t(2));
        QVERIFY(steps[0].find(", 1)") != std::string::npos);
        QVERIFY(steps[1].find(", -1)") != std::string::npos);
        player.setSoundVolume(-5);
        QCOMPARE(player.soundVolume(), 0.0f);
        player.setSoundVolume(150);
        QCOMPARE(rscfake::calls("rsc_player_set_audio_volume").back(),
                 std::string("rsc_player_set_audio_volume(player#1, 150)"));
    }

    void seekAtTheEndShowsTheDurationAtOnce()
    {
        rscfake::setResult("rsc_player_duration", 7000000);
        ZTQPlayObject player;
        QVERIFY(player.SetPlayFile(QStringLiteral("a.mp4"), 0, 0));
        QSignalSpy texts(&player, qOverload<QString>(&ZTQPlayObject::emitPlayTime));
        player.ProgressValueChange(1.0);
        QCOMPARE(rscfake::calls("rsc_player_seek").back(), std::string("rsc_player_seek(player#1, 7000000)"));
        QCOMPARE(texts.last().first().toString(), QStringLiteral("00:00:07 / 00:00:07"));
    }

    void framesReachOnlyTheCurrentWindow()
    {
        rscfake::setResult("rsc_player_has_video", 1);
        ZTQPlayObject player;
        QVERIFY(player.SetPlayFile(QStringLiteral("a.mp4"), 0, 0));
        auto *first = new VideoImageWindow;
        first->SetOpenGl(false); // the bitmap view: no GL on this platform
        player.SetPlayWindows(first);
        rsc_player *handle = static_cast<rsc_player *>(player.playerClass()->GetPlayer());
        QCOMPARE(rscfake::sendFrame(handle, true, RSC_FRAME_YUV420P, 64, 48), 1u);
        auto *second = new VideoImageWindow;
        player.SetPlayWindows(second);
        delete first;
        // The new window has no view yet: the frame is refused, not delivered to the deleted one.
        QCOMPARE(rscfake::sendFrame(handle, true, RSC_FRAME_YUV420P, 64, 48), 0u);
        player.SetPlayWindows(nullptr);
        delete second;
        QCOMPARE(rscfake::sendFrame(handle, true, RSC_FRAME_BGRX, 64, 48), 0u);
    }
};

RS_TEST_MAIN(TestPlayObject)
#include "tst_playobject.moc"
