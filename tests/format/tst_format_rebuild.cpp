// The rules that turn the panel's picks into the conversion parameter record, and the choice pack.

#include "AttributeRebuild.h"
#include "ChoicePack.h"
#include "TestSupport.h"

class TestFormatRebuild : public QObject
{
    Q_OBJECT
private:
    static FormatAllInfo profile()
    {
        FormatAllInfo p;
        p.strVideoEncoder = "H264";
        p.strFrameRate = "25 fps";
        p.strVideoBitRateLow = "800 kbps";
        p.strVideoBitRateHigh = "3000 kbps";
        p.strVideoBitRate = "1500 kbps";
        p.strAudioEncoder = "AAC";
        p.strChannel = "2";
        p.strSampleRate = "48000 HZ";
        p.strAudioBitRateLow = "96 kbps";
        p.strAudioBitRateHigh = "192 kbps";
        p.strAudioBitRate = "128 kbps";
        return p;
    }
    static RebuildInput input(const PanelPicks &picks, int quality = HighQuality)
    {
        static FormatAllInfo s_profile = profile();
        RebuildInput in;
        in.picks = picks;
        in.quality = quality;
        in.fileExtend = QStringLiteral("mkv");
        in.fileFormat = AttributeRebuild::containerOfExtension(in.fileExtend);
        in.profile = &s_profile;
        return in;
    }
    static PanelPicks picks()
    {
        PanelPicks p;
        p.videoEncoder = "H265";
        p.resolution = "1920*1080";
        p.frameRate = "29.97 fps";
        p.videoBitRate = "1500 kbps";
        p.audioEncoder = "AAC";
        p.channel = "6";
        p.sampleRate = "44100 HZ";
        p.audioBitRate = "128 kbps";
        return p;
    }

private slots:
    void video_data()
    {
        QTest::addColumn<QString>("resolution");
        QTest::addColumn<QString>("frameRate");
        QTest::addColumn<QString>("bitRate");
        QTest::addColumn<int>("quality");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("num");
        QTest::addColumn<int>("den");
        QTest::addColumn<int>("kbps");
        QTest::newRow("ntsc") << "1920*1080"
                              << "29.97 fps"
                              << "1500 kbps" << 1 << QSize(1920, 1080) << 30000 << 1001 << 1500;
        QTest::newRow("pal") << "720*576"
                             << "25 fps"
                             << "Auto" << 1 << QSize(720, 576) << 25 << 1 << 3000;
        QTest::newRow("strict bound") << "Auto"
                                      << "23.99 fps"
                                      << "Auto" << 0 << QSize(0, 0) << 24 << 1 << 800;
        QTest::newRow("film") << "Original"
                              << "23.976 fps"
                              << "Auto" << 2 << QSize(0, 0) << 24000 << 1001 << 1500;
        QTest::newRow("x not star") << "640x360"
                                    << "60 fps"
                                    << "2000 kbps" << 1 << QSize(0, 0) << 60 << 1 << 2000;
        // A placeholder rate keeps the clip's own (0), not the profile's 25 fps.
        QTest::newRow("placeholder rate") << "640*360"
                                          << "Original"
                                          << "no unit" << 1 << QSize(640, 360) << 0 << 1 << 0;
        QTest::newRow("auto rate") << "Auto"
                                   << "Auto"
                                   << "Auto" << 1 << QSize(0, 0) << 0 << 1 << 3000;
        QTest::newRow("rate without f") << "640*360"
                                        << "30"
                                        << "500 kbps" << 1 << QSize(640, 360) << 0 << 1 << 500;
    }
    void video()
    {
        QFETCH(QString, resolution);
        QFETCH(QString, frameRate);
        QFETCH(QString, bitRate);
        QFETCH(int, quality);
        PanelPicks p = picks();
        p.resolution = resolution;
        p.frameRate = frameRate;
        p.videoBitRate = bitRate;
        AttributeSetting r;
        AttributeRebuild::rebuild(r, input(p, quality));
        QTEST(QSize(r.VWidth, r.VHeight), "size");
        QTEST(r.VFrameRate_fps, "num");
        QTEST(r.VFrameRate_scale, "den");
        QTEST(r.VBitRate, "kbps");
        QCOMPARE(r.nQuality, quality == 1 ? 90 : 50);
        QCOMPARE(r.fileFormat, QStringLiteral("matroska"));
        QCOMPARE(r.fileExtend, QStringLiteral("mkv"));
    }

    void audio_data()
    {
        QTest::addColumn<QString>("encoder");
        QTest::addColumn<QString>("channel");
        QTest::addColumn<QString>("sample");
        QTest::addColumn<QString>("bitRate");
        QTest::addColumn<int>("quality");
        QTest::addColumn<QString>("aEncoder");
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("hz");
        QTest::addColumn<int>("kbps");
        QTest::newRow("plain") << "MP3"
                               << "6"
                               << "44100 HZ"
                               << "128 kbps" << 1 << "MP3" << 6 << 44100 << 128;
        QTest::newRow("auto") << "Auto"
                              << "Auto"
                              << "Auto"
                              << "Auto" << 0 << "AAC" << 2 << 48000 << 96;
        QTest::newRow("empty encoder") << ""
                                       << "1"
                                       << "44100"
                                       << "Auto" << 2 << "" << 1 << 0 << 128;
    }
    void audio()
    {
        PanelPicks p = picks();
        QFETCH(QString, encoder);
        QFETCH(QString, channel);
        QFETCH(QString, sample);
        QFETCH(QString, bitRate);
        QFETCH(int, quality);
        p.audioEncoder = encoder;
        p.channel = channel;
        p.sampleRate = sample;
        p.audioBitRate = bitRate;
        AttributeSetting r;
        AttributeRebuild::rebuild(r, input(p, quality));
        QTEST(r.AEncoder, "aEncoder");
        QTEST(r.AChannel, "channels");
        QTEST(r.ASampleRate, "hz");
        QTEST(r.ABitRate, "kbps");
        QCOMPARE(r.ACodecsId == -1, encoder.isEmpty());
    }

    void encoders()
    {
        PanelPicks p = picks();
        p.videoEncoder.clear(); // the profile's default encoder
        AttributeSetting r;
        AttributeRebuild::rebuild(r, input(p));
        QCOMPARE(r.VEncoder, QStringLiteral("H264"));
        QVERIFY(r.VCodecsId > 0);
        QVERIFY(r.ACodecsId > 0);

        p.videoEncoder = QStringLiteral("NOPE"); // a hand-edited catalogue: unknown name, id 0
        AttributeRebuild::rebuild(r, input(p));
        QCOMPARE(r.VCodecsId, 0);

        RebuildInput original = input(picks());
        original.fileFormat = QStringLiteral("Original");
        AttributeRebuild::rebuild(r, original);
        QCOMPARE(r.fileExtend, QString());
        QVERIFY(r.VEncoder.isEmpty() && r.AEncoder.isEmpty());
        QCOMPARE(r.VCodecsId, 0);
        QCOMPARE(r.ACodecsId, 0);
        QCOMPARE(r.VWidth, 1920); // sizes and rates are still read
    }

    void audioOnlyAndNoProfile()
    {
        PanelPicks p = picks();
        p.onlyAudio = true;
        AttributeSetting r;
        r.VFrameRate_scale = 1001;
        AttributeRebuild::rebuild(r, input(p));
        QVERIFY(r.bOnlyAudio);
        QCOMPARE(r.VCodecsId, -1);
        QCOMPARE(r.VWidth + r.VHeight + r.VFrameRate_fps + r.VBitRate, 0);
        QCOMPARE(r.VFrameRate_scale, 1001);
        QCOMPARE(r.ASampleRate, 44100);

        // No profile chosen yet: every fallback is an empty text, nothing dereferences null.
        RebuildInput in = input(picks());
        in.profile = nullptr;
        in.picks.frameRate = QStringLiteral("Auto");
        in.picks.videoEncoder = QStringLiteral("Auto");
        AttributeRebuild::rebuild(r, in);
        QCOMPARE(r.VFrameRate_fps, 0);
        QCOMPARE(r.VEncoder, QString());
        QCOMPARE(r.VCodecsId, -1);
    }

    // Indexes of 16 or more and empty lists spill into other fields of the documented pack; the
    // comparison is made on the indexes, so such picks are told apart.
    void choicePack()
    {
        ChoicePack a;
        a.indexes = {{1, 2, 0, 3, 0, 1, 2, 0}};
        QCOMPARE(a.packed(), quint32(0x12030120));
        ChoicePack empty;
        empty.indexes = {{-1, -1, -1, -1, 0, 0, 0, 0}};
        QCOMPARE(empty.packed() & 0xFFFF0000u, 0xFFFF0000u);

        ChoicePack b = a;
        b.indexes[3] = 16; // spills into the frame-rate field of the pack
        ChoicePack c = a;
        c.indexes[2] = 1;
        c.indexes[3] = 0;
        QCOMPARE(b.packed(), c.packed()); // the pack cannot tell them apart...
        QVERIFY(b != c);                  // ...the indexes can
        QVERIFY(a == a);
    }
};

RS_TEST_MAIN(TestFormatRebuild)
#include "tst_format_rebuild.moc"
