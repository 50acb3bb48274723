// The codec library wrappers against the recording fake: neutral answers without a handle, teardown
// order, shared references, frames.

#include "TestSupport.h"

#include "ZTFrameClass.h"
#include "ZTInfoClass.h"
#include "ZTPlayerClass.h"
#include "rscodec_fake.h"

namespace {

QStringList calls(const char *prefix)
{
    QStringList out;
    for (const std::string &c : rscfake::calls(prefix))
        out << QString::fromStdString(c);
    return out;
}

rscfake::FakeMedia media()
{
    rscfake::FakeMedia m;
    m.duration = 5000000;
    rscfake::FakeStream v;
    v.width = 640;
    v.height = 360;
    m.video.push_back(v);
    m.chapters = {{0, 1000000, "One", true}, {1000000, 1000000, "", false}};
    return m;
}

unsigned int s_lastFormat = 0;
QSize s_lastSize;

// The pattern every frame handler follows.
unsigned int handler(void *, void *frame)
{
    ZTFrameClass f;
    f.Reference_Frame(frame);
    if (!f.IsCreateFrame())
        return 0;
    s_lastFormat = f.GetVideoFormat_Frame();
    s_lastSize = QSize(int(f.GetVideoWidth_Frame()), int(f.GetVideoHeight_Frame()));
    if (s_lastFormat == 0)
        return f.GetVideoData_Frame(0) && f.GetVideoData_Frame(2) && f.GetVideoStride_Frame(1) ? 1 : 0;
    if (s_lastFormat == 30)
        return f.GetVideoData_Frame(0) && f.GetVideoStride_Frame(0) >= f.GetVideoWidth_Frame() * 4 ? 1 : 0;
    return 0;
}

} // namespace

class TestWrappers : public QObject
{
    Q_OBJECT
private slots:
    void init() { rscfake::reset(); }

    void neutralAnswersWithoutAHandle()
    {
        ZTPlayerClass player;
        ZTInfoClass info;
        ZTFrameClass frame;
        QVERIFY(!player.Play_Player());
        QVERIFY(!player.OpenEx_Player("/a.mp4", 0, 0, 0, 0));
        QVERIFY(!player.IsOpenPlayerSuccess());
        QCOMPARE(player.GetDuration_Player(), 0ULL);
        QCOMPARE(player.GetVideoSize_Player(), QSize(0, 0));
        QCOMPARE(player.GetWatermarkTextWidth_Player(), 0.0);
        QVERIFY(!player.CaptureVideoImage_Player(0, 0, 0));
        QVERIFY(!info.Open_Info("/a.mp4"));
        QCOMPARE(QByteArray(info.GetChapterTitle_Info(0)), QByteArray(""));
        QCOMPARE(QByteArray(info.GetProgrName_Info()), QByteArray(""));
        QVERIFY(!info.GetMetaData_Info("title"));
        QCOMPARE(frame.GetVideoFormat_Frame(), 0xFFFFFFFFu);
        QVERIFY(!frame.GetVideoData_Frame(0));
        // Not a single library call was made.
        QVERIFY(rscfake::calls().empty());
    }

    void recreatingAPlayerTearsTheOldOneDown()
    {
        ZTPlayerClass player;
        QVERIFY(player.Create_Player(true));
        QVERIFY(player.Create_Player(true));
        QCOMPARE(calls("rsc_player_"), QStringList({"rsc_player_create(4294967295)", "rsc_player_stop(player#1)",
                                                    "rsc_player_close(player#1)", "rsc_player_release(player#1)",
                                                    "rsc_player_create(4294967295)"}));
        rscfake::clearCalls();
        player.Release_Player();
        QVERIFY(!player.IsCreatePlayer());
        QCOMPARE(calls("rsc_player_"), QStringList({"rsc_player_stop(player#2)", "rsc_player_close(player#2)",
                                                    "rsc_player_release(player#2)"}));
        player.Create_Player(false);
        QCOMPARE(calls("rsc_player_create").last(), QStringLiteral("rsc_player_create(4294967293)"));
    }

    void sharedReferences()
    {
        ZTPlayerClass owner;
        owner.Create_Player(true);
        ZTPlayerClass shared;
        QVERIFY(shared.Reference_Player(owner.GetPlayer()));
        QVERIFY(shared.IsOpenPlayerSuccess());
        rscfake::setResult("rsc_player_reference", 0);
        QVERIFY(!shared.Reference_Player(owner.GetPlayer()));
        QVERIFY(!shared.IsCreatePlayer());
        QVERIFY(!shared.IsOpenPlayerSuccess());
    }

    void mediaQueries()
    {
        rscfake::setMedia("/a.mp4", media());
        ZTPlayerClass player;
        player.Create_Player(true);
        QVERIFY(player.OpenEx_Player("/a.mp4", 0, 0, 0, 0));
        QVERIFY(player.IsOpenPlayerSuccess());
        rscfake::clearCalls();
        QCOMPARE(player.GetVideoSize_Player(), QSize(640, 360));
        QCOMPARE(calls("rsc_player_"),
                 QStringList({"rsc_player_video_width(player#1)", "rsc_player_video_height(player#1)"}));
        QVERIFY(player.HasVideoAndAudio_Player()); // video only still plays
        QCOMPARE(player.GetDuration_Player(), 5000000ULL);

        ZTInfoClass info;
        info.Create_Info();
        info.Create_Info();
        QCOMPARE(rscfake::count("rsc_info_create"), 1);
        QVERIFY(info.Open_Info("/a.mp4"));
        QCOMPARE(info.GetChapterCount_Info(), 2u);
        QCOMPARE(QByteArray(info.GetChapterTitle_Info(0)), QByteArray("One"));
        QCOMPARE(QByteArray(info.GetChapterTitle_Info(1)), QByteArray(""));
        info.Release_Info();
        QCOMPARE(calls("rsc_info_close").size(), 1);
        QCOMPARE(calls("rsc_info_release").size(), 1);
    }

    void framesReachTheHandler_data()
    {
        QTest::addColumn<uint>("format");
        QTest::addColumn<uint>("drawn");
        QTest::newRow("planar") << 0u << 1u;
        QTest::newRow("packed") << 30u << 1u;
        QTest::newRow("other") << 7u << 0u;
    }
    void framesReachTheHandler()
    {
        QFETCH(uint, format);
        QFETCH(uint, drawn);
        ZTPlayerClass player;
        player.Create_Player(true);
        QVERIFY(player.SetVideoFrameHandle_Player(handler, nullptr));
        auto *handle = static_cast<rsc_player *>(player.GetPlayer());
        // Cleared so that every row proves its own frame arrived.
        s_lastFormat = 0xFFu;
        s_lastSize = QSize();
        QCOMPARE(rscfake::sendFrame(handle, false, format, 64, 48), drawn);
        QCOMPARE(s_lastFormat, format);
        QCOMPARE(s_lastSize, QSize(64, 48));
        // The reference taken in the handler is given back.
        QCOMPARE(rscfake::count("rsc_frame_release"), rscfake::count("rsc_frame_reference"));
    }
};

RS_TEST_MAIN(TestWrappers)
#include "tst_wrappers.moc"
