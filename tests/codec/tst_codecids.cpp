// The codec-id vocabulary maps to FFmpeg codecs by name, both ways, over the whole table.
#include "TestSupport.h"
#include "codecids_table.h"

#include <set>

class TestCodecIds : public QObject
{
    Q_OBJECT

private slots:
    void wholeTable_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<uint>("id");
        QTest::addColumn<QString>("ffmpegName");
        for (const rsc::CodecIdRow &row : rsc::codecIdTable())
            QTest::newRow(row.name) << QString(row.name) << uint(row.id) << QString(row.ffmpegName);
    }

    void wholeTable()
    {
        QFETCH(uint, id);
        QFETCH(QString, ffmpegName);
        QCOMPARE(QString(rsc::ffmpegNameForCodecId(id)), ffmpegName);
        const AVCodecID avId = rsc::avCodecIdForCodecId(id);
        QVERIFY2(avId != AV_CODEC_ID_NONE, "the installed FFmpeg knows the codec");
        QCOMPARE(QString(avcodec_descriptor_get(avId)->name), ffmpegName);
        // Back again: the first vocabulary id of that codec maps to the same FFmpeg codec.
        const uint32_t back = rsc::codecIdForAvCodecId(avId);
        QVERIFY(back != 0);
        QCOMPARE(QString(rsc::ffmpegNameForCodecId(back)), ffmpegName);
        QVERIFY(rsc::decoderForCodecId(id) != nullptr);
    }

    void sharedIdsMapToOneCodec_data()
    {
        QTest::addColumn<uint>("id");
        QTest::addColumn<QString>("ffmpegName");
        QTest::newRow("OGG and VBIS") << 86021u << "vorbis";
        QTest::newRow("mpg1 and mp1v") << 1u << "mpeg1video";
        QTest::newRow("HMP2 and mp2v") << 2u << "mpeg2video";
        QTest::newRow("PCM and APE") << 65536u << "pcm_s16le";
        QTest::newRow("DV50 and DV60") << 25u << "dvvideo";
        QTest::newRow("H265 fourcc") << 0x48323635u << "hevc";
        QTest::newRow("Xvid fourcc") << 0x44495658u << "mpeg4";
        QTest::newRow("DIVX fourcc") << 0x30355844u << "mpeg4";
    }

    void sharedIdsMapToOneCodec()
    {
        QFETCH(uint, id);
        QFETCH(QString, ffmpegName);
        QCOMPARE(QString(rsc::ffmpegNameForCodecId(id)), ffmpegName);
    }

    // The vocabulary's numbers are its own: they are not FFmpeg's enum values.
    void numbersAreNotFfmpegs()
    {
        QCOMPARE(rsc::avCodecIdForCodecId(28), AV_CODEC_ID_H264);
        QVERIFY(int(AV_CODEC_ID_H264) != 28);
        QCOMPARE(rsc::avCodecIdForCodecId(86018), AV_CODEC_ID_AAC);
        QCOMPARE(rsc::codecIdForAvCodecId(AV_CODEC_ID_H264), 28u);
        QCOMPARE(rsc::codecIdForAvCodecId(AV_CODEC_ID_MPEG4), 13u); // MP4V is the first row of mpeg4
        QCOMPARE(rsc::codecIdForAvCodecId(AV_CODEC_ID_VORBIS), 86021u);
        QCOMPARE(rsc::codecIdForAvCodecId(AV_CODEC_ID_OPUS), 0u);
        QCOMPARE(rsc::ffmpegNameForCodecId(0), nullptr);
        QCOMPARE(rsc::ffmpegNameForCodecId(12345), nullptr);
        QCOMPARE(rsc::avCodecIdForCodecId(12345), AV_CODEC_ID_NONE);
        QCOMPARE(rsc::codecIdForFFmpegName(nullptr), 0u);
        QVERIFY(rsc::encoderForCodecId(12345) == nullptr);
    }

    // The encoders the output profiles rely on exist, and the external ones win over FFmpeg's weaker ones.
    void encoders_data()
    {
        QTest::addColumn<uint>("id");
        QTest::addColumn<QString>("encoder");
        QTest::newRow("H264") << 28u << "libx264";
        QTest::newRow("H265") << 0x48323635u << "libx265";
        QTest::newRow("VP8") << 141u << "libvpx";
        QTest::newRow("VP9") << 169u << "libvpx-vp9";
        QTest::newRow("OGG") << 86021u << "libvorbis";
        QTest::newRow("MP3") << 86017u << "libmp3lame";
        QTest::newRow("AAC") << 86018u << "aac";
        QTest::newRow("AC3") << 86019u << "ac3";
        QTest::newRow("MP4V") << 13u << "mpeg4";
        QTest::newRow("flac") << 86028u << "flac";
        QTest::newRow("PCM") << 65536u << "pcm_s16le";
        QTest::newRow("WMV2") << 19u << "wmv2";
        QTest::newRow("wma2") << 86024u << "wmav2";
        QTest::newRow("MJPG") << 8u << "mjpeg";
        QTest::newRow("mpg1") << 1u << "mpeg1video";
        QTest::newRow("HMP2") << 2u << "mpeg2video";
        QTest::newRow("MP2A") << 86016u << "mp2";
        QTest::newRow("flv1") << 22u << "flv";
        QTest::newRow("H263") << 5u << "h263";
        QTest::newRow("alac") << 86032u << "alac";
        QTest::newRow("OGV") << 31u << "libtheora";
    }

    void encoders()
    {
        QFETCH(uint, id);
        QFETCH(QString, encoder);
        const AVCodec *codec = rsc::encoderForCodecId(id);
        if (!codec && encoder.startsWith("lib"))
            QSKIP("external encoder not installed");
        QVERIFY(codec);
        QCOMPARE(QString(codec->name), encoder);
        QCOMPARE(codec->id, rsc::avCodecIdForCodecId(id));
    }

    void namesAreUniqueAndCaseSensitive()
    {
        std::set<std::string> names;
        for (const rsc::CodecIdRow &row : rsc::codecIdTable())
            QVERIFY2(names.insert(row.name).second, row.name);
        QCOMPARE(int(names.size()), 40);
        QVERIFY(!names.count("h264"));
    }
};

RS_TEST_MAIN(TestCodecIds)
#include "tst_codecids.moc"
