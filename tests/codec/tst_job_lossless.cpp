// Lossless joins: packets copied byte for byte, timestamps rebased, refusal of clips that cannot be joined;
// chapters in either kind of join.
#include "tst_job_helpers.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

using namespace jobtest;
using rstest::FFprobe;
using rstest::MediaFixtures;

namespace {

QString clip(const QString &name, const QString &size, double seconds, const char *codecArgs)
{
    QStringList args{
        QStringLiteral("-f"),  QStringLiteral("lavfi"),
        QStringLiteral("-i"),  QStringLiteral("testsrc2=size=%1:rate=25:duration=%2").arg(size).arg(seconds),
        QStringLiteral("-f"),  QStringLiteral("lavfi"),
        QStringLiteral("-i"),  QStringLiteral("sine=frequency=440:sample_rate=44100:duration=%1").arg(seconds),
        QStringLiteral("-ac"), QStringLiteral("2")};
    args += QString::fromLatin1(codecArgs).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return MediaFixtures::make({name, args});
}

const char *kX264 = "-c:v libx264 -preset ultrafast -pix_fmt yuv420p -g 25 -c:a aac -b:a 96k";

// 3 s whose own chapters lie within the first second, across 2 s to the largest time Matroska holds, after
// the clip, and at that largest time.
QString farChaptersClip()
{
    return MediaFixtures::makeByCommand(
        QStringLiteral("ll_far_chapters.mkv"),
        QStringLiteral(
            "printf ';FFMETADATA1\n"
            "[CHAPTER]\nTIMEBASE=1/1000000000\nSTART=0\nEND=1000000000\ntitle=Opening\n"
            "[CHAPTER]\nTIMEBASE=1/1000000000\nSTART=1500000000\nEND=9223372036854775807\ntitle=Across\n"
            "[CHAPTER]\nTIMEBASE=1/1000000000\nSTART=5000000000\nEND=6000000000\ntitle=After\n"
            "[CHAPTER]\nTIMEBASE=1/1000000000\nSTART=9223372036854775000\nEND=9223372036854775807\ntitle=Far\n'"
            " > ch.txt && ffmpeg -v error -f lavfi -i testsrc2=size=320x240:rate=25:duration=3 -f lavfi -i "
            "sine=frequency=440:sample_rate=44100:duration=3 -i ch.txt -map 0 -map 1 -map_chapters 2 %1 \"$OUT\"")
            .arg(QString::fromLatin1(kX264)));
}

// 4 s of Vorbis with the chapters `comments` names: Ogg chapters state their starts only. vorbiscomment keeps
// them in the order given (ffmpeg would write them in time order).
QString oggWithChapters(const QString &name, const QString &comments)
{
    return MediaFixtures::makeByCommand(
        name, QStringLiteral("ffmpeg -v error -f lavfi -i sine=frequency=440:sample_rate=44100:duration=4 -ac 2 "
                             "-c:a libvorbis \"$OUT\" && vorbiscomment -w %1 \"$OUT\"")
                  .arg(comments));
}

} // namespace

class TestJobLossless : public QObject
{
    Q_OBJECT

private slots:
    void joinCopiesPackets_data();
    void joinCopiesPackets();
    void trimCutsAtKeyframes();
    void joinsSound_data();
    void joinsSound();
    void keepsDisplayRotation();
    void conversionCopiesRange();
    void reopensWithAnotherContainer();
    void refusesClipsThatCannotJoin_data();
    void refusesClipsThatCannotJoin();
    void chaptersStayWithinEachClip_data();
    void chaptersStayWithinEachClip();
    void chaptersInTimeOrder_data();
    void chaptersInTimeOrder();
};

void TestJobLossless::joinCopiesPackets_data()
{
    QTest::addColumn<QStringList>("clips");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QString>("suffix");
    QTest::newRow("mp4") << QStringList{MediaFixtures::standard(QStringLiteral("h264_aac.mp4")),
                                        MediaFixtures::standard(QStringLiteral("h264_aac_b.mp4")),
                                        MediaFixtures::standard(QStringLiteral("h264_aac_c.mp4"))}
                         << QStringLiteral("mp4") << QStringLiteral("mp4");
    QTest::newRow("mov") << QStringList{clip(QStringLiteral("ll_a.mov"), QStringLiteral("320x240"), 2, kX264),
                                        clip(QStringLiteral("ll_b.mov"), QStringLiteral("320x240"), 1.2, kX264),
                                        clip(QStringLiteral("ll_c.mov"), QStringLiteral("320x240"), 1.6, kX264)}
                         << QStringLiteral("mov") << QStringLiteral("mov");
    QTest::newRow("matroska") << QStringList{clip(QStringLiteral("ll_a.mkv"), QStringLiteral("320x240"), 2, kX264),
                                             clip(QStringLiteral("ll_b.mkv"), QStringLiteral("320x240"), 1.2, kX264),
                                             clip(QStringLiteral("ll_c.mkv"), QStringLiteral("320x240"), 1.6, kX264)}
                              << QStringLiteral("matroska") << QStringLiteral("mkv");
    const char *ts = "-c:v libx264 -preset ultrafast -pix_fmt yuv420p -g 25 -c:a aac -b:a 96k -f mpegts";
    QTest::newRow("mpegts") << QStringList{clip(QStringLiteral("ll_a.ts"), QStringLiteral("320x240"), 2, ts),
                                           clip(QStringLiteral("ll_b.ts"), QStringLiteral("320x240"), 1.2, ts),
                                           clip(QStringLiteral("ll_c.ts"), QStringLiteral("320x240"), 1.6, ts)}
                            << QStringLiteral("mpegts") << QStringLiteral("ts");
    const char *avi = "-c:v mpeg4 -q:v 5 -g 25 -c:a libmp3lame -b:a 128k";
    QTest::newRow("avi") << QStringList{clip(QStringLiteral("ll_a.avi"), QStringLiteral("320x240"), 2, avi),
                                        clip(QStringLiteral("ll_b.avi"), QStringLiteral("320x240"), 1.2, avi),
                                        clip(QStringLiteral("ll_c.avi"), QStringLiteral("320x240"), 1.6, avi)}
                         << QStringLiteral("avi") << QStringLiteral("avi");
    // FLV stores no packet durations: the joins must still leave a whole frame between clips.
    const char *flv = "-c:v flv -q:v 5 -g 25 -c:a libmp3lame -ar 44100";
    QTest::newRow("flv") << QStringList{clip(QStringLiteral("ll_a.flv"), QStringLiteral("320x240"), 2, flv),
                                        clip(QStringLiteral("ll_b.flv"), QStringLiteral("320x240"), 1.2, flv),
                                        clip(QStringLiteral("ll_c.flv"), QStringLiteral("320x240"), 1.6, flv)}
                         << QStringLiteral("flv") << QStringLiteral("flv");
    // Clips as cameras and editors write them: High profiles with B-frames, also 10-bit 4:4:4. MP4 clips are
    // opened from their header without decoding: the picture layout comes from the first frame's headers.
    const char *high444 = "-c:v libx264 -preset ultrafast -bf 2 -profile:v high444 -pix_fmt yuv444p10le -g 25 "
                          "-c:a aac -b:a 96k";
    QTest::newRow("mp4 high 4:4:4 10-bit b-frames")
        << QStringList{clip(QStringLiteral("ll_444p10_a.mp4"), QStringLiteral("320x240"), 2, high444),
                       clip(QStringLiteral("ll_444p10_b.mp4"), QStringLiteral("320x240"), 1.2, high444)}
        << QStringLiteral("mp4") << QStringLiteral("mp4");
    // The same full-range clip from MP4 (header only) and from Matroska (probed by decoding) joins.
    const QString fullRange = clip(QStringLiteral("ll_full.mp4"), QStringLiteral("320x240"), 1.2,
                                   "-c:v libx264 -preset ultrafast -pix_fmt yuvj420p -g 25 -c:a aac -b:a 96k");
    const QString fullRangeMkv =
        MediaFixtures::make({QStringLiteral("ll_full_remux.mkv"),
                             {QStringLiteral("-i"), fullRange, QStringLiteral("-c"), QStringLiteral("copy")}});
    QTest::newRow("full range from mp4 and matroska")
        << QStringList{fullRange, fullRangeMkv, fullRange} << QStringLiteral("mp4") << QStringLiteral("mp4");
    const char *webm = "-c:v libvpx-vp9 -deadline realtime -cpu-used 8 -b:v 300k -g 25 -c:a libopus";
    QTest::newRow("webm") << QStringList{clip(QStringLiteral("ll_a.webm"), QStringLiteral("320x240"), 2, webm),
                                         clip(QStringLiteral("ll_b.webm"), QStringLiteral("320x240"), 1.2, webm),
                                         clip(QStringLiteral("ll_c.webm"), QStringLiteral("320x240"), 1.6, webm)}
                          << QStringLiteral("webm") << QStringLiteral("webm");
}

void TestJobLossless::joinCopiesPackets()
{
    RS_SHARD_UNIT();
    QFETCH(QStringList, clips);
    QFETCH(QString, container);
    QFETCH(QString, suffix);
    const QString out = rstest::scratchDir(QStringLiteral("lossless")) + QStringLiteral("/joined ") + container +
                        QStringLiteral(".") + suffix;
    QList<Task> tasks;
    double expected = 0;
    QStringList videoDigests, audioDigests;
    for (const QString &c : clips) {
        QVERIFY2(QFileInfo::exists(c), qPrintable(c));
        tasks << Task{c};
        expected += FFprobe::durationSeconds(c);
        videoDigests += payloadDigests(c, QStringLiteral("v:0"));
        audioDigests += payloadDigests(c, QStringLiteral("a:0"));
    }
    const Outcome r = runMerge(true, out, container, tasks);
    QVERIFY2(r.opened && !r.failed, qPrintable(r.error));
    QCOMPARE(r.tasksAdded, clips.size());

    QCOMPARE(payloadDigests(out, QStringLiteral("v:0")), videoDigests);
    QCOMPARE(payloadDigests(out, QStringLiteral("a:0")), audioDigests);
    QString where;
    const auto video = FFprobe::packets(out, QStringLiteral("v:0"));
    QVERIFY2(FFprobe::strictlyMonotonic(video, &where), qPrintable(where));
    QVERIFY2(FFprobe::strictlyMonotonic(FFprobe::packets(out, QStringLiteral("a:0")), &where), qPrintable(where));
    // Every picture keeps its 40 ms, also across the joins.
    for (int i = 1; i < video.size(); ++i)
        QVERIFY2(video[i].dtsTime - video[i - 1].dtsTime > 0.03, qPrintable(QStringLiteral("packet %1").arg(i)));
    QVERIFY2(qAbs(FFprobe::durationSeconds(out) - expected) < 0.15,
             qPrintable(QStringLiteral("%1 vs %2").arg(FFprobe::durationSeconds(out)).arg(expected)));
    const QString errors = FFprobe::decodeErrors(out);
    QVERIFY2(errors.isEmpty(), qPrintable(errors));
}

void TestJobLossless::trimCutsAtKeyframes()
{
    RS_SHARD_UNIT();
    // Keyframes every second: a cut from 1.3 s starts at the keyframe at 1.0 s.
    const QString c = MediaFixtures::standard(QStringLiteral("h264_aac_b.mp4"));
    const QString out = rstest::scratchDir(QStringLiteral("lossless-trim")) + QStringLiteral("/trim.mp4");
    const Outcome r = runMerge(true, out, QStringLiteral("mp4"), {Task{c, 1300000, 1000000}, Task{c, 0, 1000000}});
    QVERIFY2(!r.failed, qPrintable(r.error));
    const auto video = FFprobe::packets(out, QStringLiteral("v:0"));
    // 1.0 .. 2.3 s of the first task (33 frames), then 0 .. 1.0 s (25 frames)
    QCOMPARE(video.size(), 33 + 25);
    QVERIFY(video.first().key);
    QVERIFY(video[33].key);
    QVERIFY(FFprobe::strictlyMonotonic(video));
    QVERIFY(FFprobe::strictlyMonotonic(FFprobe::packets(out, QStringLiteral("a:0"))));
    QVERIFY(qAbs(FFprobe::durationSeconds(out) - 2.32) < 0.1);
    QVERIFY(FFprobe::decodeErrors(out).isEmpty());
}

void TestJobLossless::joinsSound_data()
{
    QTest::addColumn<QString>("clip");
    QTest::addColumn<QString>("container");
    QTest::addColumn<bool>("joins");
    // WAV re-cuts its PCM into packets: there the decoded sound is compared instead of the packets.
    QTest::addColumn<bool>("samePackets");
    QTest::newRow("mp3") << MediaFixtures::standard(QStringLiteral("audio.mp3")) << "mp3" << true << true;
    QTest::newRow("wav") << MediaFixtures::standard(QStringLiteral("audio.wav")) << "wav" << true << false;
    QTest::newRow("ogg vorbis") << MediaFixtures::standard(QStringLiteral("audio.ogg")) << "ogg" << true << true;
    QTest::newRow("aac to adts") << MediaFixtures::standard(QStringLiteral("audio.m4a")) << "adts" << true << true;
    QTest::newRow("m4a") << MediaFixtures::standard(QStringLiteral("audio.m4a")) << "ipod" << true << true;
    QTest::newRow("flac in matroska") << MediaFixtures::standard(QStringLiteral("audio.flac")) << "matroska" << true
                                      << true;
    QTest::newRow("raw flac refused") << MediaFixtures::standard(QStringLiteral("audio.flac")) << "flac" << false
                                      << true;
}

void TestJobLossless::joinsSound()
{
    RS_SHARD_UNIT();
    QFETCH(QString, clip);
    QFETCH(QString, container);
    QFETCH(bool, joins);
    QFETCH(bool, samePackets);
    const QString out = rstest::scratchDir(QStringLiteral("lossless-sound")) + QStringLiteral("/out.") + container;
    const Outcome r = runMerge(true, out, container, {Task{clip}, Task{clip}});
    QCOMPARE(r.failed, !joins);
    QCOMPARE(r.tasksAdded, joins ? 2 : 1);
    if (samePackets) {
        const QStringList one = payloadDigests(clip, QStringLiteral("a:0"));
        // ADTS puts a header before each AAC frame.
        const QString unframe = container == QLatin1String("adts") ? QStringLiteral("aac_adtstoasc") : QString();
        QCOMPARE(payloadDigests(out, QStringLiteral("a:0"), unframe), joins ? one + one : one);
    } else {
        auto pcm = [](const QString &path) {
            return ffmpegOut({QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-i"), path,
                              QStringLiteral("-f"), QStringLiteral("s16le"), QStringLiteral("-")});
        };
        const QByteArray one = pcm(clip);
        QVERIFY(!one.isEmpty());
        QVERIFY(pcm(out) == one + one);
    }
    QString where;
    QVERIFY2(FFprobe::strictlyMonotonic(FFprobe::packets(out, QStringLiteral("a:0")), &where), qPrintable(where));
    QVERIFY(FFprobe::decodeErrors(out).isEmpty());
}

void TestJobLossless::keepsDisplayRotation()
{
    RS_SHARD_UNIT();
    const QString plain = MediaFixtures::standard(QStringLiteral("h264_aac.mp4"));
    const QString turned = MediaFixtures::standard(QStringLiteral("rotated90.mp4"));
    const QString out = rstest::scratchDir(QStringLiteral("lossless-rotation")) + QStringLiteral("/turned.mp4");
    const Outcome r = runMerge(true, out, QStringLiteral("mp4"), {Task{turned}, Task{turned}, Task{plain}});
    // The two turned clips join; the unturned one would show sideways and is refused.
    QVERIFY(r.failed);
    QCOMPARE(r.tasksAdded, 2);
    QVERIFY2(r.error.contains(QLatin1String("turned")), qPrintable(r.error));
    const QJsonObject v = FFprobe::streams(out, QStringLiteral("video")).at(0).toObject();
    const QJsonArray sideData = v.value(QStringLiteral("side_data_list")).toArray();
    QVERIFY(!sideData.isEmpty());
    QCOMPARE(qAbs(sideData.at(0).toObject().value(QStringLiteral("rotation")).toInt()), 90);
    QVERIFY(qAbs(FFprobe::durationSeconds(out) - 2 * FFprobe::durationSeconds(turned)) < 0.15);
}

void TestJobLossless::conversionCopiesRange()
{
    RS_SHARD_UNIT();
    const QString src = MediaFixtures::standard(QStringLiteral("h264_aac_b.mp4"));
    const QString out = rstest::scratchDir(QStringLiteral("lossless-convert")) + QStringLiteral("/part.mkv");
    rsc_edit *e = rsc_edit_create();
    rsc_edit_set_volume(e, 0); // edits never touch a lossless copy
    rsc_edit_enable_audio_edits(e, 1);
    rsc_job *job = rsc_job_create_convert_lossless(RSC_CREATE_DEFAULT);
    QCOMPARE(rsc_job_open_file(job, src.toUtf8().constData(), out.toUtf8().constData(), "matroska", e), 1);
    rsc_edit_release(e);
    QCOMPARE(rsc_job_set_range(job, 1000000, 1000000), 1);
    QCOMPARE(rsc_job_start(job), 1);
    QElapsedTimer t;
    t.start();
    while (!rsc_job_is_finished(job) && t.elapsed() < 30000)
        QThread::msleep(2);
    QCOMPARE(rsc_job_is_failed(job), 0);
    QCOMPARE(rsc_job_close(job), 1);
    rsc_job_release(job);
    const QStringList all = payloadDigests(src, QStringLiteral("v:0"));
    QCOMPARE(payloadDigests(out, QStringLiteral("v:0")), all.mid(25, 25)); // frames 1.0 .. 2.0 s
    QVERIFY(meanVolume(out) > -40.0);
    QVERIFY(FFprobe::decodeErrors(out).isEmpty());
}

void TestJobLossless::reopensWithAnotherContainer()
{
    RS_SHARD_UNIT();
    // PCM sound fits a QuickTime file but not an MP4 one: the first add fails, the output is opened again
    // as "mov" (what the converter does) and the clip joins.
    const QString pcm = clip(QStringLiteral("ll_pcm.mov"), QStringLiteral("320x240"), 1,
                             "-c:v libx264 -preset ultrafast -pix_fmt yuv420p -g 25 -c:a pcm_s16le");
    const QString out = rstest::scratchDir(QStringLiteral("lossless-reopen")) + QStringLiteral("/out.mp4");
    rsc_job *job = rsc_job_create_merge_lossless(RSC_CREATE_DEFAULT);
    QCOMPARE(rsc_job_open_output(job, out.toUtf8().constData(), "mp4", nullptr), 1);
    QCOMPARE(rsc_job_start(job), 1);
    QCOMPARE(rsc_job_add_task(job, pcm.toUtf8().constData(), 0, 0, nullptr), 0);
    QCOMPARE(rsc_job_open_output(job, out.toUtf8().constData(), "mov", nullptr), 1);
    QCOMPARE(rsc_job_start(job), 1);
    QCOMPARE(rsc_job_add_task(job, pcm.toUtf8().constData(), 0, 0, nullptr), 1);
    QElapsedTimer t;
    t.start();
    while (!rsc_job_is_finished(job) && t.elapsed() < 30000)
        QThread::msleep(2);
    QCOMPARE(rsc_job_is_failed(job), 0);
    // Once a clip is in, the output is not thrown away by another open.
    QCOMPARE(rsc_job_open_output(job, out.toUtf8().constData(), "matroska", nullptr), 0);
    QCOMPARE(rsc_job_close(job), 1);
    rsc_job_release(job);
    QCOMPARE(payloadDigests(out, QStringLiteral("a:0")), payloadDigests(pcm, QStringLiteral("a:0")));
    QCOMPARE(
        FFprobe::probe(out).value(QStringLiteral("format")).toObject().value(QStringLiteral("format_name")).toString(),
        QStringLiteral("mov,mp4,m4a,3gp,3g2,mj2"));
    QVERIFY(FFprobe::decodeErrors(out).isEmpty());
}

void TestJobLossless::refusesClipsThatCannotJoin_data()
{
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("reason");
    QTest::newRow("frame size") << MediaFixtures::standard(QStringLiteral("h264_aac_640x360_30.mp4"))
                                << QStringLiteral("differs");
    QTest::newRow("codec") << MediaFixtures::standard(QStringLiteral("mpeg4_mp3.avi")) << QStringLiteral("codec");
    QTest::newRow("pixel layout") << clip(QStringLiteral("ll_444p8.mp4"), QStringLiteral("320x240"), 1,
                                          "-c:v libx264 -preset ultrafast -pix_fmt yuv444p -g 25 -c:a aac -b:a 96k")
                                  << QStringLiteral("differs");
    QTest::newRow("no audio") << MediaFixtures::standard(QStringLiteral("video_only.mp4"))
                              << QStringLiteral("no audio");
    QTest::newRow("sample rate") << clip(QStringLiteral("ll_48k.mp4"), QStringLiteral("320x240"), 1,
                                         "-c:v libx264 -preset ultrafast -pix_fmt yuv420p -g 25 -c:a aac -ar 48000")
                                 << QStringLiteral("differs");
    QTest::newRow("missing file") << QStringLiteral("/nonexistent/clip.mp4") << QStringLiteral("cannot open");
    QTest::newRow("text file") << MediaFixtures::badFile(QStringLiteral("text.mp4")) << QStringLiteral("not a media");
    QTest::newRow("empty file") << MediaFixtures::badFile(QStringLiteral("empty.mp4")) << QStringLiteral("not a media");
    QTest::newRow("truncated file") << MediaFixtures::badFile(QStringLiteral("truncated.mp4")) << QString();
}

void TestJobLossless::refusesClipsThatCannotJoin()
{
    RS_SHARD_UNIT();
    QFETCH(QString, second);
    QFETCH(QString, reason);
    const QString first = MediaFixtures::standard(QStringLiteral("h264_aac.mp4"));
    const QString out = rstest::scratchDir(QStringLiteral("lossless-refuse")) + QStringLiteral("/out.mp4");
    const Outcome r = runMerge(true, out, QStringLiteral("mp4"), {Task{first}, Task{second}});
    QVERIFY(r.failed);
    QCOMPARE(r.tasksAdded, 1);
    QVERIFY2(r.error.contains(reason), qPrintable(r.error));
    // The output holds the first clip intact.
    QCOMPARE(payloadDigests(out, QStringLiteral("v:0")), payloadDigests(first, QStringLiteral("v:0")));
    QVERIFY(FFprobe::decodeErrors(out).isEmpty());
    QVERIFY(qAbs(FFprobe::durationSeconds(out) - FFprobe::durationSeconds(first)) < 0.1);
}

void TestJobLossless::chaptersStayWithinEachClip_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("editChapters"); // else the clip's own
    QTest::addColumn<QString>("container");
    QTest::addColumn<QList<double>>("spans"); // seconds
    const QString plain = MediaFixtures::standard(QStringLiteral("h264_aac_b.mp4"));
    const QList<double> cut{0, 1, 1.5, 2, 2, 3, 3.5, 5};
    QTest::newRow("the edits' into matroska") << plain << true << QStringLiteral("matroska") << cut;
    // MP4 stores starts only: a chapter ends where the next begins.
    QTest::newRow("the edits' into mp4") << plain << true << QStringLiteral("mp4")
                                         << QList<double>{0, 1.5, 1.5, 2, 2, 3.5, 3.5, 5};
    QTest::newRow("the clip's own into matroska") << farChaptersClip() << false << QStringLiteral("matroska") << cut;
}

// A 3 s clip cut to 2 s, then whole: each chapter is cut to the part of its clip joined, none starts before
// the output or ends after it, and the join succeeds.
void TestJobLossless::chaptersStayWithinEachClip()
{
    RS_SHARD_UNIT();
    QFETCH(QString, source);
    QFETCH(bool, editChapters);
    QFETCH(QString, container);
    QFETCH(QList<double>, spans);
    QList<Task> tasks{Task{source, 0, 2000000}, Task{source}};
    if (editChapters) {
        for (Task &t : tasks) {
            t.edit = rsc_edit_create();
            addChaptersAtTheLimits(t.edit);
        }
    }
    const QString out = rstest::scratchDir(QStringLiteral("lossless-chapters")) + QStringLiteral("/out.") +
                        (container == QLatin1String("mp4") ? container : QStringLiteral("mkv"));
    const Outcome r = runMerge(true, out, container, tasks);
    QVERIFY2(!r.failed, qPrintable(r.error));
    const QString wrong = chapterMismatch(out, spans);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
}

void TestJobLossless::chaptersInTimeOrder_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("editChapters"); // 3-4, 0-1.5 and 1.5-3 s named by the edits; else the source's own
    QTest::addColumn<bool>("lossless");
    QTest::addColumn<QString>("container");
    const QString video = clip(QStringLiteral("ll_4s.mp4"), QStringLiteral("320x240"), 4, kX264);
    for (const bool lossless : {true, false}) {
        for (const char *container : {"mp4", "matroska"}) {
            QTest::addRow("edit chapters out of order, %s, %s", lossless ? "lossless" : "re-encoding", container)
                << video << true << lossless << QString::fromLatin1(container);
        }
    }
    // A clip's own chapters are carried by lossless joins only, and Vorbis copies into Matroska and MP4.
    const QString outOfOrder =
        oggWithChapters(QStringLiteral("ll_chapters_out_of_order.ogg"),
                        QStringLiteral("-t CHAPTER000=00:00:03.000 -t CHAPTER000NAME=Third -t CHAPTER001=00:00:00.000 "
                                       "-t CHAPTER001NAME=First -t CHAPTER002=00:00:01.500 -t CHAPTER002NAME=Second"));
    // Opened from its header, the last chapter's end is not known yet.
    const QString inOrder =
        oggWithChapters(QStringLiteral("ll_chapters_in_order.ogg"),
                        QStringLiteral("-t CHAPTER000=00:00:00.000 -t CHAPTER000NAME=First -t CHAPTER001=00:00:01.500 "
                                       "-t CHAPTER001NAME=Second -t CHAPTER002=00:00:03.000 -t CHAPTER002NAME=Third"));
    for (const char *container : {"mp4", "matroska"}) {
        QTest::addRow("ogg chapters out of order, lossless, %s", container)
            << outOfOrder << false << true << QString::fromLatin1(container);
        QTest::addRow("ogg chapters in order, the last without an end, lossless, %s", container)
            << inOrder << false << true << QString::fromLatin1(container);
    }
}

// Chapters are written in time order, and one that states no end runs to the next one's start or to the end
// of its clip.
void TestJobLossless::chaptersInTimeOrder()
{
    RS_SHARD_UNIT();
    QFETCH(QString, source);
    QFETCH(bool, editChapters);
    QFETCH(bool, lossless);
    QFETCH(QString, container);
    Task task{source};
    if (editChapters) {
        task.edit = rsc_edit_create();
        rsc_edit_add_chapter(task.edit, 3000000, 1000000, "Third");
        rsc_edit_add_chapter(task.edit, 0, 1500000, "First");
        rsc_edit_add_chapter(task.edit, 1500000, 1500000, "Second");
    }
    const QString out = rstest::scratchDir(QStringLiteral("chapter-order")) + QStringLiteral("/out.") +
                        (container == QLatin1String("mp4") ? container : QStringLiteral("mkv"));
    const Outcome r = runMerge(lossless, out, container, {task});
    QVERIFY2(!r.failed, qPrintable(r.error));
    const QList<double> spans{0, 1.5, 1.5, 3, 3, 4};
    QString wrong = chapterMismatch(out, spans);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
    QStringList titles;
    for (const QJsonValue &c : FFprobe::probe(out).value(QStringLiteral("chapters")).toArray())
        titles << c.toObject().value(QStringLiteral("tags")).toObject().value(QStringLiteral("title")).toString();
    QCOMPARE(titles, QStringList({QStringLiteral("First"), QStringLiteral("Second"), QStringLiteral("Third")}));
    if (container == QLatin1String("matroska")) {
        wrong = spanMismatch(storedMatroskaChapters(out), spans, out);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
    }
}

RS_TEST_MAIN(TestJobLossless)
#include "tst_job_lossless.moc"
