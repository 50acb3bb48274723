// Re-encoding joins: the first clip's geometry, continuous time line, sound and picture ending together at
// every join, explicit codec values, conversion objects, prompt stops and refusals.
#include "tst_job_helpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

using namespace jobtest;
using rstest::FFprobe;
using rstest::MediaFixtures;

namespace {

QString standard(const char *name)
{
    return MediaFixtures::standard(QString::fromLatin1(name));
}

double streamEnd(const QString &path, const QString &selector)
{
    const auto packets = FFprobe::packets(path, selector);
    double end = 0;
    for (const auto &p : packets)
        end = qMax(end, qMax(p.ptsTime, p.dtsTime) + p.durationTime); // AVI stores no pts
    return end;
}

rsc_edit *codecs(uint32_t video, uint32_t audio, int width = 0, int height = 0)
{
    rsc_edit *e = rsc_edit_create();
    rsc_edit_enable_video_edits(e, 1);
    rsc_edit_enable_audio_edits(e, 1);
    rsc_edit_set_video_codec(e, video);
    rsc_edit_set_audio_codec(e, audio);
    if (width && height)
        rsc_edit_set_video_size(e, width, height);
    rsc_edit_set_encoder_options(e, "preset=ultrafast");
    return e;
}

} // namespace

class TestJobReencode : public QObject
{
    Q_OBJECT

private slots:
    void joinsDifferentClips_data();
    void joinsDifferentClips();
    void autoSizeTakesTheContainersAspect_data();
    void autoSizeTakesTheContainersAspect();
    void noDriftOverManyJoins();
    void formatChangeMidClip();
    void soundStartingLateStaysInPlace();
    void stillPictureWithLongSound();
    void soundOnlyOutput_data();
    void soundOnlyOutput();
    void codecsOfTheFirstClip_data();
    void codecsOfTheFirstClip();
    void explicitCodecValues_data();
    void explicitCodecValues();
    void conversionWritesChapters_data();
    void conversionWritesChapters();
    void chaptersStayWithinEachClip_data();
    void chaptersStayWithinEachClip();
    void stopIsPrompt();
    void outputNamingASourceIsRefused();
    void badTaskKeepsOutput_data();
    void badTaskKeepsOutput();
};

void TestJobReencode::joinsDifferentClips_data()
{
    QTest::addColumn<QString>("container");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<bool>("trimmed");
    QTest::newRow("mp4") << QStringLiteral("mp4") << QStringLiteral("mp4") << false;
    QTest::newRow("mp4 trimmed") << QStringLiteral("mp4") << QStringLiteral("mp4") << true;
    QTest::newRow("matroska") << QStringLiteral("matroska") << QStringLiteral("mkv") << false;
    QTest::newRow("avi") << QStringLiteral("avi") << QStringLiteral("avi") << true;
    QTest::newRow("mpegts") << QStringLiteral("mpegts") << QStringLiteral("ts") << false;
}

void TestJobReencode::joinsDifferentClips()
{
    RS_SHARD_UNIT();
    QFETCH(QString, container);
    QFETCH(QString, suffix);
    QFETCH(bool, trimmed);
    // 320x240 25 fps 44.1 kHz stereo, 640x360 30 fps 48 kHz mono, an AVI, a clip without sound, WebM/Opus,
    // a sound-only file.
    const QStringList clips{standard("h264_aac.mp4"),   standard("h264_aac_640x360_30.mp4"), standard("mpeg4_mp3.avi"),
                            standard("video_only.mp4"), standard("vp9_opus.webm"),           standard("audio.m4a")};
    QList<Task> tasks;
    double expected = 0;
    for (const QString &c : clips) {
        if (trimmed) {
            tasks << Task{c, 500000, 1000000};
            expected += 1.0;
        } else {
            tasks << Task{c};
            expected += FFprobe::durationSeconds(c);
        }
    }
    const QString out = rstest::scratchDir(QStringLiteral("reencode")) + QStringLiteral("/joined.") + suffix;
    const Outcome r = runMerge(false, out, container, tasks);
    QVERIFY2(r.opened && !r.failed, qPrintable(r.error));

    const QJsonArray video = FFprobe::streams(out, QStringLiteral("video"));
    QCOMPARE(video.size(), 1);
    QCOMPARE(video[0].toObject().value(QStringLiteral("width")).toInt(), 320);
    QCOMPARE(video[0].toObject().value(QStringLiteral("height")).toInt(), 240);
    const QJsonArray audio = FFprobe::streams(out, QStringLiteral("audio"));
    QCOMPARE(audio.size(), 1);
    QCOMPARE(audio[0].toObject().value(QStringLiteral("sample_rate")).toString(), QStringLiteral("44100"));
    QCOMPARE(audio[0].toObject().value(QStringLiteral("channels")).toInt(), 2);

    const double frame = 1.0 / 25;
    const double videoEnd = streamEnd(out, QStringLiteral("v:0"));
    const double audioEnd = streamEnd(out, QStringLiteral("a:0"));
    QVERIFY2(qAbs(videoEnd - expected) <= frame * clips.size(),
             qPrintable(QStringLiteral("video %1 s, clips %2 s").arg(videoEnd).arg(expected)));
    QVERIFY2(qAbs(audioEnd - videoEnd) <= frame,
             qPrintable(QStringLiteral("audio %1 s, video %2 s").arg(audioEnd).arg(videoEnd)));
    QString where;
    // Matroska keeps no decoding times, so its reordered pictures are not in pts order.
    if (container != QLatin1String("matroska"))
        QVERIFY2(FFprobe::strictlyMonotonic(FFprobe::packets(out, QStringLiteral("v:0")), &where), qPrintable(where));
    QVERIFY2(FFprobe::strictlyMonotonic(FFprobe::packets(out, QStringLiteral("a:0")), &where), qPrintable(where));
    const QString errors = FFprobe::decodeErrors(out);
    QVERIFY2(errors.isEmpty(), qPrintable(errors));

    // The clip without sound is silent, the sound-only clip is black.
    double silentFrom = 0;
    for (int i = 0; i < 3; ++i)
        silentFrom += trimmed ? 1.0 : FFprobe::durationSeconds(clips[i]);
    QVERIFY(meanVolume(out, silentFrom + 0.2, 0.5) < -80.0);
    const double blackAt = expected - (trimmed ? 0.5 : 1.0);
    const QImage black = frameAt(out, blackAt);
    QVERIFY(!black.isNull());
    QVERIFY(channelMean(black, black.rect(), 1) < 20);
    QVERIFY(meanVolume(out, blackAt - 0.2, 0.4) > -40.0);
}

void TestJobReencode::autoSizeTakesTheContainersAspect_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::newRow("matroska display size") << QStringLiteral("mkv");
    QTest::newRow("mp4 pasp") << QStringLiteral("mp4");
}

// A 720x576 clip whose stream says square pixels and whose container says 16:9 is shown at 1024x576: a join
// without a size takes that, not the squeezed 5:4 picture.
void TestJobReencode::autoSizeTakesTheContainersAspect()
{
    QFETCH(QString, suffix);
    const QString square =
        MediaFixtures::make({QStringLiteral("reencode_square_576.mp4"),
                             QString::fromLatin1("-f lavfi -i testsrc2=s=720x576:r=25:d=1 -f lavfi -i sine=d=1 -vf "
                                                 "setsar=1 -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac")
                                 .split(QLatin1Char(' '))});
    const QString clip =
        MediaFixtures::make({QStringLiteral("reencode_container_169.") + suffix,
                             {QStringLiteral("-i"), square, QStringLiteral("-c"), QStringLiteral("copy"),
                              QStringLiteral("-aspect"), QStringLiteral("16:9")}});
    const QString out = rstest::scratchDir(QStringLiteral("container-aspect")) + QStringLiteral("/joined.mp4");
    const Outcome r = runMerge(false, out, QStringLiteral("mp4"), {Task{clip}});
    QVERIFY2(r.opened && !r.failed, qPrintable(r.error));
    const QJsonObject v = FFprobe::streams(out, QStringLiteral("video")).first().toObject();
    QCOMPARE(QSize(v.value(QStringLiteral("width")).toInt(), v.value(QStringLiteral("height")).toInt()),
             QSize(1024, 576));
}

void TestJobReencode::noDriftOverManyJoins()
{
    RS_SHARD_UNIT();
    // Sixteen cuts of odd lengths from sources at 25 and 30 fps, 44.1 and 48 kHz, stereo and mono, behind an
    // odd-sized first clip: the picture is 320x240, and the sound still ends with the picture.
    const QStringList sources{standard("h264_aac_640x360_30.mp4"), standard("h264_aac.mp4"), standard("vp9_opus.webm"),
                              standard("h263_aac.3gp")};
    QList<Task> tasks{Task{standard("odd_size.mkv")}};
    double expected = FFprobe::durationSeconds(standard("odd_size.mkv"));
    for (int i = 0; i < 16; ++i) {
        const quint64 length = 330000 + quint64(i) * 17000; // never a whole number of frames
        tasks << Task{sources[i % sources.size()], quint64(i % 3) * 150000, length};
        expected += length / 1e6;
    }
    const QString out = rstest::scratchDir(QStringLiteral("many")) + QStringLiteral("/many.mp4");
    const Outcome r = runMerge(false, out, QStringLiteral("mp4"), tasks);
    QVERIFY2(!r.failed, qPrintable(r.error));
    const QJsonObject v = FFprobe::streams(out, QStringLiteral("video")).at(0).toObject();
    QCOMPARE(v.value(QStringLiteral("width")).toInt(), 320);
    QCOMPARE(v.value(QStringLiteral("height")).toInt(), 240);
    const double frame = 1.0 / 25;
    const double videoEnd = streamEnd(out, QStringLiteral("v:0")), audioEnd = streamEnd(out, QStringLiteral("a:0"));
    QVERIFY2(qAbs(videoEnd - expected) <= frame * tasks.size() / 2,
             qPrintable(QStringLiteral("video %1 s, clips %2 s").arg(videoEnd).arg(expected)));
    QVERIFY2(qAbs(audioEnd - videoEnd) <= frame,
             qPrintable(QStringLiteral("audio %1 s, video %2 s").arg(audioEnd).arg(videoEnd)));
    QVERIFY(FFprobe::decodeErrors(out).isEmpty());
}

void TestJobReencode::formatChangeMidClip()
{
    RS_SHARD_UNIT();
    // A transport stream whose second half changes picture size and sound format (as broadcast recordings
    // do): 320x240 test picture with 44.1 kHz stereo, then 640x480 blue with 48 kHz mono.
    const QString first = MediaFixtures::make(
        {QStringLiteral("change_a.ts"),
         QString::fromLatin1("-f lavfi -i testsrc2=size=320x240:rate=25:duration=1 -f lavfi -i "
                             "sine=frequency=440:sample_rate=44100:duration=1 -ac 2 -c:v libx264 -preset ultrafast "
                             "-pix_fmt yuv420p -c:a aac -f mpegts")
             .split(QLatin1Char(' '))});
    const QString second = MediaFixtures::make(
        {QStringLiteral("change_b.ts"),
         QString::fromLatin1("-f lavfi -i color=c=blue:size=640x480:rate=25:duration=1 -f lavfi -i "
                             "sine=frequency=440:sample_rate=48000:duration=1 -ac 1 -c:v libx264 -preset ultrafast "
                             "-pix_fmt yuv420p -c:a aac -output_ts_offset 1 -f mpegts")
             .split(QLatin1Char(' '))});
    const QString mixed = rstest::scratchDir(QStringLiteral("change")) + QStringLiteral("/mixed.ts");
    QFile a(first), b(second), m(mixed);
    QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly) && m.open(QIODevice::WriteOnly));
    m.write(a.readAll() + b.readAll());
    m.close();
    const QString out = rstest::scratchDir(QStringLiteral("change-out")) + QStringLiteral("/out.mp4");
    const Outcome r = runMerge(false, out, QStringLiteral("mp4"), {Task{mixed}});
    QVERIFY2(!r.failed, qPrintable(r.error));
    const QImage late = frameAt(out, 1.7);
    QCOMPARE(late.size(), QSize(320, 240));
    QVERIFY(channelMean(late, late.rect(), 2) > 200); // the blue half is shown, not a frozen picture
    QVERIFY(channelMean(late, late.rect(), 0) < 40);
    QVERIFY(meanVolume(out, 1.3, 0.6) > -40.0); // and heard
    QVERIFY(qAbs(streamEnd(out, QStringLiteral("v:0")) - streamEnd(out, QStringLiteral("a:0"))) <= 0.04);
    QVERIFY(FFprobe::decodeErrors(out).isEmpty());
}

void TestJobReencode::soundStartingLateStaysInPlace()
{
    RS_SHARD_UNIT();
    // The tone starts half a second after the picture: in the output too, after a clip before it.
    const QString late = MediaFixtures::make(
        {QStringLiteral("late_sound.mp4"),
         QString::fromLatin1("-f lavfi -i testsrc2=size=320x240:rate=25:duration=2 -itsoffset 0.5 -f lavfi -i "
                             "sine=frequency=440:duration=1.5 -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac")
             .split(QLatin1Char(' '))});
    const QString out = rstest::scratchDir(QStringLiteral("late")) + QStringLiteral("/out.mp4");
    const Outcome r = runMerge(false, out, QStringLiteral("mp4"), {Task{standard("video_only.mp4")}, Task{late}});
    QVERIFY2(!r.failed, qPrintable(r.error));
    QVERIFY(meanVolume(out, 2.05, 0.35) < -80.0);
    QVERIFY(meanVolume(out, 2.6, 0.4) > -40.0);
    QVERIFY(qAbs(streamEnd(out, QStringLiteral("v:0")) - streamEnd(out, QStringLiteral("a:0"))) <= 0.04);
}

void TestJobReencode::stillPictureWithLongSound()
{
    RS_SHARD_UNIT();
    // One picture and 14 s of sound (a song with its cover as a video stream): the picture stays for the
    // whole song, and the sound is not held back in memory whole.
    const QString still = MediaFixtures::make(
        {QStringLiteral("still_song.mkv"),
         QString::fromLatin1("-f lavfi -i color=c=red:size=320x240:rate=25:duration=0.04 -f lavfi -i "
                             "sine=frequency=440:duration=14 -c:v libx264 -preset ultrafast -pix_fmt yuv420p "
                             "-c:a libvorbis")
             .split(QLatin1Char(' '))});
    const QString out = rstest::scratchDir(QStringLiteral("still")) + QStringLiteral("/out.mp4");
    const Outcome r = runMerge(false, out, QStringLiteral("mp4"), {Task{still}, Task{standard("h264_aac_c.mp4")}});
    QVERIFY2(!r.failed, qPrintable(r.error));
    const double videoEnd = streamEnd(out, QStringLiteral("v:0")), audioEnd = streamEnd(out, QStringLiteral("a:0"));
    QVERIFY2(qAbs(videoEnd - 15.5) < 0.1, qPrintable(QString::number(videoEnd)));
    QVERIFY2(qAbs(audioEnd - videoEnd) <= 0.04, qPrintable(QStringLiteral("%1 %2").arg(audioEnd).arg(videoEnd)));
    const QImage late = frameAt(out, 12.0);
    QVERIFY(channelMean(late, late.rect(), 0) > 200);
    QVERIFY(meanVolume(out, 11.0, 2.0) > -40.0);
}

void TestJobReencode::soundOnlyOutput_data()
{
    QTest::addColumn<QString>("container");
    QTest::addColumn<uint>("videoCodec");
    QTest::addColumn<QString>("audioCodec");
    QTest::newRow("mp3") << QStringLiteral("mp3") << 0u << QStringLiteral("mp3");
    QTest::newRow("adts") << QStringLiteral("adts") << 0u << QStringLiteral("aac");
    QTest::newRow("mp4 without video codec") << QStringLiteral("mp4") << 0xFFFFFFFFu << QStringLiteral("aac");
}

void TestJobReencode::soundOnlyOutput()
{
    RS_SHARD_UNIT();
    QFETCH(QString, container);
    QFETCH(uint, videoCodec);
    QFETCH(QString, audioCodec);
    const QString out = rstest::scratchDir(QStringLiteral("sound")) + QStringLiteral("/out.") + container;
    rsc_edit *open = rsc_edit_create();
    rsc_edit_set_video_codec(open, videoCodec);
    const Outcome r = runMerge(
        false, out, container,
        {Task{standard("h264_aac.mp4")}, Task{standard("audio.flac")}, Task{standard("video_only.mp4")}}, open);
    QVERIFY2(!r.failed, qPrintable(r.error));
    QCOMPARE(FFprobe::streams(out, QStringLiteral("video")).size(), 0);
    const QJsonArray audio = FFprobe::streams(out, QStringLiteral("audio"));
    QCOMPARE(audio.size(), 1);
    QCOMPARE(audio[0].toObject().value(QStringLiteral("codec_name")).toString(), audioCodec);
    // The clip without sound adds its length as silence.
    // (ADTS has no index: its container duration is a guess from the bit rate, the packets tell.)
    const double end = streamEnd(out, QStringLiteral("a:0"));
    QVERIFY2(qAbs(end - 6.0) < 0.15, qPrintable(QString::number(end)));
    QVERIFY(FFprobe::decodeErrors(out).isEmpty());
}

void TestJobReencode::codecsOfTheFirstClip_data()
{
    QTest::addColumn<QString>("container");
    QTest::addColumn<QString>("codecs"); // of the output, in stream order
    // The first clip is H.264/AAC: kept where the container takes them, else the container's own.
    QTest::newRow("mpegts keeps") << "mpegts"
                                  << "h264 aac";
    QTest::newRow("matroska keeps") << "matroska"
                                    << "h264 aac";
    QTest::newRow("mpeg program stream") << "mpeg"
                                         << "mpeg1video mp2";
    QTest::newRow("webm") << "webm"
                          << "vp9 opus";
    QTest::newRow("ogg") << "ogg"
                         << "theora vorbis";
    QTest::newRow("wav is pcm") << "wav"
                                << "pcm_s16le";
    QTest::newRow("flac sound only") << "flac"
                                     << "flac";
}

void TestJobReencode::codecsOfTheFirstClip()
{
    RS_SHARD_UNIT();
    QFETCH(QString, container);
    QFETCH(QString, codecs);
    const QString out = rstest::scratchDir(QStringLiteral("first-codecs")) + QStringLiteral("/out.") + container;
    const Outcome r =
        runMerge(false, out, container,
                 {Task{standard("h264_aac.mp4"), 0, 1000000}, Task{standard("mpeg4_mp3.avi"), 0, 1000000}});
    QVERIFY2(!r.failed, qPrintable(r.error));
    QStringList names;
    for (const QJsonValue &st : FFprobe::streams(out))
        names << st.toObject().value(QStringLiteral("codec_name")).toString();
    QCOMPARE(names.join(QLatin1Char(' ')), codecs);
    const QString errors = FFprobe::decodeErrors(out);
    QVERIFY2(errors.isEmpty(), qPrintable(errors));
}

void TestJobReencode::explicitCodecValues_data()
{
    QTest::addColumn<QString>("container");
    QTest::addColumn<uint>("videoId");
    QTest::addColumn<uint>("audioId");
    QTest::addColumn<QString>("videoCodec");
    QTest::addColumn<QString>("audioCodec");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    // Vocabulary ids: H264 28, MP4V 13, H263 5, VP9 169, MJPG 8, WMV2 19, HMP2 2, AAC 0x15002, MP3 0x15001,
    // OGG 0x15005, AC3 0x15003, flac 0x1500C, wma2 0x15008, MP2A 0x15000.
    QTest::newRow("h264/aac 640x480") << "mp4" << 28u << 0x15002u << "h264"
                                      << "aac" << 640 << 480;
    QTest::newRow("mpeg4/mp3 avi") << "avi" << 13u << 0x15001u << "mpeg4"
                                   << "mp3" << 320 << 240;
    QTest::newRow("h263 fits its sizes") << "3gp" << 5u << 0x15002u << "h263"
                                         << "aac" << 320 << 240;
    QTest::newRow("vp9/vorbis webm") << "webm" << 169u << 0x15005u << "vp9"
                                     << "vorbis" << 320 << 240;
    QTest::newRow("mjpeg/flac mkv") << "matroska" << 8u << 0x1500Cu << "mjpeg"
                                    << "flac" << 320 << 240;
    QTest::newRow("wmv2/wma2 asf") << "asf" << 19u << 0x15008u << "wmv2"
                                   << "wmav2" << 320 << 240;
    QTest::newRow("mpeg2/mp2 mpeg") << "mpeg" << 2u << 0x15000u << "mpeg2video"
                                    << "mp2" << 320 << 240;
    QTest::newRow("h264/ac3 mov odd size") << "mov" << 28u << 0x15003u << "h264"
                                           << "ac3" << 321 << 241;
}

void TestJobReencode::explicitCodecValues()
{
    RS_SHARD_UNIT();
    QFETCH(QString, container);
    QFETCH(uint, videoId);
    QFETCH(uint, audioId);
    QFETCH(QString, videoCodec);
    QFETCH(QString, audioCodec);
    QFETCH(int, width);
    QFETCH(int, height);
    const QString out = rstest::scratchDir(QStringLiteral("codecs")) + QStringLiteral("/out.") + container;
    rsc_edit *open = codecs(videoId, audioId, width, height);
    rsc_edit_set_frame_rate(open, 30000, 1001);
    const Outcome r =
        runMerge(false, out, container,
                 {Task{standard("h264_aac.mp4"), 0, 1000000}, Task{standard("mpeg4_mp3.avi"), 0, 1000000}}, open);
    QVERIFY2(!r.failed, qPrintable(r.error));
    const QJsonObject v = FFprobe::streams(out, QStringLiteral("video")).at(0).toObject();
    const QJsonObject a = FFprobe::streams(out, QStringLiteral("audio")).at(0).toObject();
    QCOMPARE(v.value(QStringLiteral("codec_name")).toString(), videoCodec);
    QCOMPARE(a.value(QStringLiteral("codec_name")).toString(), audioCodec);
    if (videoCodec == QLatin1String("h263")) {
        QCOMPARE(v.value(QStringLiteral("width")).toInt(), 352); // nearest H.263 size
        QCOMPARE(v.value(QStringLiteral("height")).toInt(), 288);
    } else {
        QCOMPARE(v.value(QStringLiteral("width")).toInt(), width & ~1);
        QCOMPARE(v.value(QStringLiteral("height")).toInt(), height & ~1);
    }
    QVERIFY(qAbs(FFprobe::durationSeconds(out) - 2.0) < 0.15);
    const QString errors = FFprobe::decodeErrors(out);
    QVERIFY2(errors.isEmpty(), qPrintable(errors));
}

void TestJobReencode::conversionWritesChapters_data()
{
    QTest::addColumn<uint>("rate"); // the clip's pace: its chapters follow it
    QTest::newRow("normal pace") << 100u;
    QTest::newRow("rate 200") << 200u;
}

void TestJobReencode::conversionWritesChapters()
{
    RS_SHARD_UNIT();
    QFETCH(uint, rate);
    const QString out = rstest::scratchDir(QStringLiteral("convert")) + QStringLiteral("/chapters.mkv");
    rsc_edit *e = codecs(0, 0);
    rsc_edit_set_rate(e, rate);
    const double scale = 100.0 / rate;
    rsc_edit_add_chapter(e, 0, 1000000, "Opening");
    rsc_edit_add_chapter(e, 1000000, 1000000, "Ending ünïcode");
    rsc_job *job = rsc_job_create_convert(RSC_CREATE_DEFAULT);
    QCOMPARE(rsc_job_open_file(job, standard("h264_aac_b.mp4").toUtf8().constData(), out.toUtf8().constData(),
                               "matroska", e),
             1);
    rsc_edit_release(e); // the job keeps its own copy
    QCOMPARE(rsc_job_set_range(job, 500000, 2000000), 1);
    QCOMPARE(rsc_job_start(job), 1);
    QElapsedTimer t;
    t.start();
    while (!rsc_job_is_finished(job) && t.elapsed() < 60000)
        QThread::msleep(5);
    QCOMPARE(rsc_job_is_finished(job), 1);
    QCOMPARE(rsc_job_is_failed(job), 0);
    QCOMPARE(rsc_job_done(job), rsc_job_total(job));
    QCOMPARE(rsc_job_total(job), quint64(2000000 * scale));
    QCOMPARE(rsc_job_close(job), 1);
    rsc_job_release(job);
    const QJsonArray chapters = FFprobe::probe(out).value(QStringLiteral("chapters")).toArray();
    QCOMPARE(chapters.size(), 2);
    QCOMPARE(chapters[1].toObject().value(QStringLiteral("tags")).toObject().value(QStringLiteral("title")).toString(),
             QStringLiteral("Ending ünïcode"));
    QCOMPARE(chapters[1].toObject().value(QStringLiteral("start_time")).toString().toDouble(), 1.0 * scale);
    QCOMPARE(chapters[1].toObject().value(QStringLiteral("end_time")).toString().toDouble(), 2.0 * scale);
    QVERIFY(qAbs(FFprobe::durationSeconds(out) - 2.0 * scale) < 0.1);
}

void TestJobReencode::chaptersStayWithinEachClip_data()
{
    QTest::addColumn<uint>("speed");
    QTest::addColumn<uint>("rate");
    QTest::addColumn<QList<double>>("spans"); // seconds
    QTest::newRow("normal pace") << 100u << 100u << QList<double>{0, 1, 1.5, 2, 2, 3, 3.5, 5};
    QTest::newRow("rate 200") << 100u << 200u << QList<double>{0, 0.5, 0.75, 1, 1, 1.5, 1.75, 2.5};
    QTest::newRow("ten times the pace, speed and rate at 1000")
        << 1000u << 1000u << QList<double>{0, 0.1, 0.15, 0.2, 0.2, 0.3, 0.35, 0.5};
}

// A 3 s clip cut to 2 s, then whole: each clip's chapters are cut to its part joined at its pace, none starts
// before the output or ends after it, and the join succeeds.
void TestJobReencode::chaptersStayWithinEachClip()
{
    RS_SHARD_UNIT();
    QFETCH(uint, speed);
    QFETCH(uint, rate);
    QFETCH(QList<double>, spans);
    const QString clip = standard("h264_aac_b.mp4");
    QList<Task> tasks{Task{clip, 0, 2000000, codecs(0, 0)}, Task{clip, 0, 0, codecs(0, 0)}};
    for (Task &t : tasks) {
        rsc_edit_set_speed(t.edit, speed);
        rsc_edit_set_rate(t.edit, rate);
        addChaptersAtTheLimits(t.edit);
    }
    const QString out = rstest::scratchDir(QStringLiteral("reencode-chapters")) + QStringLiteral("/out.mkv");
    const Outcome r = runMerge(false, out, QStringLiteral("matroska"), tasks);
    QVERIFY2(!r.failed, qPrintable(r.error));
    const QString wrong = chapterMismatch(out, spans);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
}

void TestJobReencode::stopIsPrompt()
{
    RS_SHARD_UNIT();
    // A long 720p clip keeps the encoder busy.
    const QString big = MediaFixtures::make(
        {QStringLiteral("stop_720p.mp4"),
         QString::fromLatin1("-f lavfi -i testsrc2=size=1280x720:rate=30:duration=20 -f lavfi -i "
                             "sine=frequency=440:sample_rate=48000:duration=20 -c:v libx264 -preset ultrafast "
                             "-pix_fmt yuv420p -c:a aac")
             .split(QLatin1Char(' '))});
    for (const bool lossless : {false, true}) {
        const QString out = rstest::scratchDir(QStringLiteral("stop")) + QStringLiteral("/stopped.mp4");
        rsc_job *job =
            lossless ? rsc_job_create_merge_lossless(RSC_CREATE_DEFAULT) : rsc_job_create_merge(RSC_CREATE_DEFAULT);
        QCOMPARE(rsc_job_open_output(job, out.toUtf8().constData(), "mp4", nullptr), 1);
        QCOMPARE(rsc_job_start(job), 1);
        QCOMPARE(rsc_job_add_task(job, big.toUtf8().constData(), 0, 0, nullptr), 1);
        QThread::msleep(lossless ? 5 : 300);
        QCOMPARE(rsc_job_wait(job, 0), 0); // still running: a waiter is not let go early
        // Prompt means "does not wait for the rest of the clip": the job ends unfinished, well short of
        // its total, within a bound a busy machine keeps. The latency itself is measured by bench_stop.
        QElapsedTimer t;
        t.start();
        QCOMPARE(rsc_job_stop(job, 1), 1);
        QVERIFY2(t.elapsed() < rstest::kHangBoundMs, qPrintable(QString::number(t.elapsed())));
        QCOMPARE(rsc_job_is_stopped(job), 1);
        QCOMPARE(rsc_job_is_finished(job), 0);
        QCOMPARE(rsc_job_wait(job, 0), 1);
        QVERIFY(rsc_job_done(job) < rsc_job_total(job));
        t.restart();
        rsc_job_close(job);
        rsc_job_release(job);
        QVERIFY2(t.elapsed() < rstest::kHangBoundMs, qPrintable(QString::number(t.elapsed())));
        // A stopped job keeps nothing: no output and no temporary file beside it.
        QVERIFY(!QFileInfo::exists(out));
        QCOMPARE(QDir(QFileInfo(out).absolutePath()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }
}

void TestJobReencode::outputNamingASourceIsRefused()
{
    RS_SHARD_UNIT();
    // A clip chosen as its own output must survive: nothing is written before the clip is known.
    const QString dir = rstest::scratchDir(QStringLiteral("self"));
    const QString clip = dir + QStringLiteral("/clip.mp4");
    QVERIFY(QFile::copy(standard("h264_aac.mp4"), clip));
    QFile f(clip);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();
    for (const bool lossless : {false, true}) {
        const Outcome r = runMerge(lossless, clip, QStringLiteral("mp4"), {Task{clip}});
        QVERIFY(r.failed);
        QVERIFY2(r.error.contains(QLatin1String("output")), qPrintable(r.error));
        rsc_job *job = rsc_job_create_convert(RSC_CREATE_DEFAULT);
        QCOMPARE(rsc_job_open_file(job, clip.toUtf8().constData(), clip.toUtf8().constData(), "mp4", nullptr), 1);
        QCOMPARE(rsc_job_start(job), 0);
        rsc_job_release(job);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll() == before);
        f.close();
    }
}

void TestJobReencode::badTaskKeepsOutput_data()
{
    QTest::addColumn<QString>("bad");
    QTest::addColumn<QString>("missingEditFile"); // a file the clip's edits name that is not there
    QTest::newRow("missing") << QStringLiteral("/nonexistent/clip.mp4") << QString();
    QTest::newRow("text") << MediaFixtures::badFile(QStringLiteral("text.mp4")) << QString();
    QTest::newRow("truncated") << MediaFixtures::badFile(QStringLiteral("truncated.mp4")) << QString();
    QTest::newRow("empty") << MediaFixtures::badFile(QStringLiteral("empty.mp4")) << QString();
    QTest::newRow("missing watermark") << standard("h264_aac_b.mp4") << QStringLiteral("/nonexistent/logo.png");
    QTest::newRow("missing subtitles") << standard("h264_aac_b.mp4") << QStringLiteral("/nonexistent/subs.srt");
    QTest::newRow("missing background") << standard("h264_aac_b.mp4") << QStringLiteral("/nonexistent/music.mp3");
}

void TestJobReencode::badTaskKeepsOutput()
{
    RS_SHARD_UNIT();
    QFETCH(QString, bad);
    QFETCH(QString, missingEditFile);
    const QString out = rstest::scratchDir(QStringLiteral("bad")) + QStringLiteral("/out.mp4");
    const QString good = standard("h264_aac.mp4");
    rsc_edit *edit = nullptr;
    if (!missingEditFile.isEmpty()) {
        edit = rsc_edit_create();
        rsc_edit_enable_video_edits(edit, 1);
        rsc_edit_enable_audio_edits(edit, 1);
        if (missingEditFile.endsWith(QLatin1String(".png")))
            rsc_edit_set_watermark_image_file(edit, missingEditFile.toUtf8().constData());
        else if (missingEditFile.endsWith(QLatin1String(".srt")))
            rsc_edit_set_subtitle_file(edit, missingEditFile.toUtf8().constData());
        else
            rsc_edit_set_audio_background_file(edit, missingEditFile.toUtf8().constData());
    }
    const Outcome r = runMerge(false, out, QStringLiteral("mp4"), {Task{good}, Task{bad, 0, 0, edit}});
    QVERIFY(r.failed);
    QCOMPARE(r.tasksAdded, 1);
    QVERIFY(!r.error.isEmpty());
    if (!missingEditFile.isEmpty())
        QVERIFY2(r.error.contains(QLatin1String("cannot read")), qPrintable(r.error));
    QVERIFY(FFprobe::decodeErrors(out).isEmpty());
    QVERIFY(qAbs(FFprobe::durationSeconds(out) - FFprobe::durationSeconds(good)) < 0.1);
}

RS_TEST_MAIN(TestJobReencode)
#include "tst_job_reencode.moc"
