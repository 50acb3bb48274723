// Clips opened for a stream copy from their header and first packets join exactly as when probed in full
// by decoding, and their streams start where the sources say.
#include "decode_input.h"
#include "tst_job_helpers.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>

using namespace jobtest;
using rsc::job::InputClip;
using rstest::FFprobe;
using rstest::MediaFixtures;

namespace {

// `videoDelay` / `audioDelay` (seconds) shift where that stream starts in the clip.
QString clip(const QString &name, double seconds, const char *codecArgs, double videoDelay = 0, double audioDelay = 0)
{
    QStringList args;
    if (videoDelay > 0)
        args << QStringLiteral("-itsoffset") << QString::number(videoDelay);
    args << QStringLiteral("-f") << QStringLiteral("lavfi") << QStringLiteral("-i")
         << QStringLiteral("testsrc2=size=320x240:rate=25:duration=%1").arg(seconds);
    if (audioDelay > 0)
        args << QStringLiteral("-itsoffset") << QString::number(audioDelay);
    args << QStringLiteral("-f") << QStringLiteral("lavfi") << QStringLiteral("-i")
         << QStringLiteral("sine=frequency=440:sample_rate=48000:duration=%1").arg(seconds) << QStringLiteral("-ac")
         << QStringLiteral("2");
    args += QString::fromLatin1(codecArgs).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return MediaFixtures::make({name, args});
}

const char *kHigh = "-c:v libx264 -preset ultrafast -bf 2 -profile:v high -g 25 -c:a aac -b:a 96k";
const char *kVp9 = "-c:v libvpx-vp9 -deadline realtime -cpu-used 8 -b:v 300k -g 25 -c:a libopus";

// `trimUs`: the last clip joins from there on.
QString joined(const QStringList &clips, const QString &container, const QString &path, bool fromHeader, qint64 trimUs)
{
    InputClip::allowOpeningFromHeader(fromHeader);
    QList<Task> tasks;
    for (const QString &c : clips)
        tasks << Task{c};
    tasks.last().startUs = quint64(trimUs);
    const Outcome r = runMerge(true, path, container, tasks);
    InputClip::allowOpeningFromHeader(true);
    return r.failed || !r.opened ? r.error + QStringLiteral(" (failed)") : QString();
}

// Every packet's times, length, size and key flag: what a join decides.
QStringList timing(const QString &path, const QString &selector)
{
    QStringList lines;
    for (const FFprobe::Packet &p : FFprobe::packets(path, selector))
        lines << QStringLiteral("%1 %2 %3 %4 %5").arg(p.pts).arg(p.dts).arg(p.durationTime).arg(p.size).arg(p.key);
    return lines;
}

} // namespace

class TestJobCopyOpen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }
    void joinsAsProbed_data();
    void joinsAsProbed();
    void refusesWhatDiffers_data();
    void refusesWhatDiffers();

private:
    QTemporaryDir m_dir;
};

void TestJobCopyOpen::joinsAsProbed_data()
{
    QTest::addColumn<QStringList>("clips");
    QTest::addColumn<QString>("container");
    QTest::addColumn<bool>("fromHeader");
    // False where the distance changes for reasons of its own: WebM shifts Opus by its codec delay (as the
    // ffmpeg tool's copy does); a later MP4 clip's AAC lead-in lands with its first picture.
    QTest::addColumn<bool>("startsKept");
    QTest::addColumn<qint64>("trimUs");
    const QString bf = clip(QStringLiteral("co_bf.mkv"), 1.2, kHigh);
    QTest::newRow("matroska b-frames, sound late")
        << QStringList{bf, clip(QStringLiteral("co_alate.mkv"), 1.6, kHigh, 0, 0.5)} << QStringLiteral("matroska")
        << true << true << qint64(0);
    QTest::newRow("matroska to mp4, picture late")
        << QStringList{bf, clip(QStringLiteral("co_vlate.mkv"), 1.6, kHigh, 0.5, 0)} << QStringLiteral("mp4") << true
        << true << qint64(0);
    QTest::newRow("webm vp9 opus") << QStringList{clip(QStringLiteral("co_a.webm"), 1.6, kVp9),
                                                  clip(QStringLiteral("co_b.webm"), 1.2, kVp9, 0.3)}
                                   << QStringLiteral("webm") << true << false << qint64(0);
    QTest::newRow("matroska mp3") << QStringList{clip(QStringLiteral("co_mp3.mkv"), 1.2,
                                                      "-c:v libx264 -preset ultrafast -g 25 -c:a libmp3lame"),
                                                 clip(QStringLiteral("co_mp3_b.mkv"), 1.6,
                                                      "-c:v libx264 -preset ultrafast -g 25 -c:a libmp3lame")}
                                  << QStringLiteral("matroska") << true << true << qint64(0);
    if (MediaFixtures::haveTools(MediaFixtures::foreignTools())) {
        QTest::newRow("mkvmerge") << QStringList{MediaFixtures::foreign(QStringLiteral("mkvmerge_x264_mp3_a.mkv")),
                                                 MediaFixtures::foreign(QStringLiteral("mkvmerge_x264_mp3_b.mkv"))}
                                  << QStringLiteral("mp4") << true << true << qint64(0);
        // Colour and pixel aspect stated only in the stream's sequence header, not by the container.
        const QString vui = MediaFixtures::makeByCommand(
            QStringLiteral("co_vui_sound.mkv"),
            QStringLiteral("ffmpeg -v error -f lavfi -i testsrc2=size=320x240:rate=25:duration=1 -c:v libx264 "
                           "-preset ultrafast -bf 2 -color_primaries bt709 -color_trc bt709 -colorspace bt709 "
                           "-color_range tv -bsf:v h264_metadata=sample_aspect_ratio=4/3 v.h264 && "
                           "ffmpeg -v error -f lavfi -i sine=duration=1 -c:a aac a.m4a && "
                           "mkvmerge -q -o \"$OUT\" --default-duration 0:25fps v.h264 a.m4a"));
        QTest::newRow("colour in the stream")
            << QStringList{vui, vui} << QStringLiteral("mp4") << true << true << qint64(0);
        // Chapters without an end and a subtitle track.
        QTest::newRow("mkvmerge chapters")
            << QStringList{MediaFixtures::foreign(QStringLiteral("mkvmerge_subs_chapters_a.mkv")),
                           MediaFixtures::foreign(QStringLiteral("mkvmerge_subs_chapters_b.mkv"))}
            << QStringLiteral("matroska") << true << true << qint64(0);
        QTest::newRow("gstreamer matroska") << QStringList{MediaFixtures::foreign(QStringLiteral("gst_h264_aac_a.mkv")),
                                                           MediaFixtures::foreign(QStringLiteral("gst_h264_aac_b.mkv"))}
                                            << QStringLiteral("mp4") << true << true << qint64(0);
    }
    // HEVC with reordered pictures: Matroska stores no decoding times.
    const char *hevc = "-c:v libx265 -preset ultrafast -x265-params bframes=3:keyint=25:log-level=error -c:a aac";
    QTest::newRow("hevc matroska") << QStringList{clip(QStringLiteral("co_hevc_a.mkv"), 1.2, hevc),
                                                  clip(QStringLiteral("co_hevc_b.mkv"), 1, hevc)}
                                   << QStringLiteral("mp4") << true << true << qint64(0);
    // Cut from the index; cut short; damaged inside (the header and first packets are sound).
    const QString source = clip(QStringLiteral("co_whole.mkv"), 2, kHigh);
    QTest::newRow("matroska trimmed") << QStringList{bf, source} << QStringLiteral("mp4") << true << false
                                      << qint64(700000);
    const QString make = QStringLiteral("cp \"$FIXTURES/co_whole.mkv\" w.mkv && s=$(stat -c %s w.mkv) && ");
    QTest::newRow("matroska cut short")
        << QStringList{bf,
                       MediaFixtures::makeByCommand(QStringLiteral("co_cut.mkv"),
                                                    make + QStringLiteral("head -c $((s * 6 / 10)) w.mkv > \"$OUT\""))}
        << QStringLiteral("mp4") << true << false << qint64(0);
    QTest::newRow("matroska damaged inside")
        << QStringList{bf, MediaFixtures::makeByCommand(
                               QStringLiteral("co_damaged.mkv"),
                               make + QStringLiteral("cp w.mkv \"$OUT\" && head -c 20000 /dev/urandom | dd of=\"$OUT\" "
                                                     "bs=1 seek=$((s / 3)) conv=notrunc status=none"))}
        << QStringLiteral("mp4") << true << false << qint64(0);
    // QuickTime states the sound's frame length, which only decoding finds.
    QTest::newRow("mp4 to mov") << QStringList{clip(QStringLiteral("co_a.mp4"), 1.2, kHigh),
                                               clip(QStringLiteral("co_b.mp4"), 1, kHigh)}
                                << QStringLiteral("mov") << true << false << qint64(0);
}

void TestJobCopyOpen::joinsAsProbed()
{
    QFETCH(QStringList, clips);
    QFETCH(QString, container);
    QFETCH(bool, fromHeader);
    QFETCH(bool, startsKept);
    QFETCH(qint64, trimUs);
    for (const QString &c : clips) {
        InputClip header;
        std::string error;
        QVERIFY2(header.open(c.toStdString(), 0, 0, &error, InputClip::Purpose::Copy), error.c_str());
        QCOMPARE(header.openedFromHeader(), fromHeader);
    }
    const QString suffix = container == QLatin1String("matroska") ? QStringLiteral("mkv") : container;
    const QString tag = QString::fromLatin1(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('_'));
    const QString fast = m_dir.filePath(QStringLiteral("%1_header.%2").arg(tag, suffix));
    const QString probed = m_dir.filePath(QStringLiteral("%1_probed.%2").arg(tag, suffix));
    QCOMPARE(joined(clips, container, fast, true, trimUs), QString());
    QCOMPARE(joined(clips, container, probed, false, trimUs), QString());

    for (const QString &sel : {QStringLiteral("v:0"), QStringLiteral("a:0")}) {
        const QStringList got = timing(fast, sel);
        QVERIFY(!got.isEmpty());
        QCOMPARE(got, timing(probed, sel));
        QCOMPARE(payloadDigests(fast, sel), payloadDigests(probed, sel));
    }
    QCOMPARE(FFprobe::streams(fast), FFprobe::streams(probed));
    QCOMPARE(FFprobe::probe(fast).value(QLatin1String("chapters")),
             FFprobe::probe(probed).value(QLatin1String("chapters")));
    // The output decodes cleanly where the sources do.
    bool sourcesClean = true;
    for (const QString &c : clips)
        sourcesClean = sourcesClean && FFprobe::decodeErrors(c).isEmpty();
    if (sourcesClean)
        QCOMPARE(FFprobe::decodeErrors(fast), QString());
    // MP4 and QuickTime files come out the same to the byte: the header states what decoding found.
    if (container == QLatin1String("mp4") || container == QLatin1String("mov")) {
        QFile a(fast), b(probed);
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        QVERIFY(a.readAll() == b.readAll());
    }

    // Each clip's picture and sound keep the distance they have in the source: a start taken wrongly
    // moves one against the other, or the clip against the one before.
    if (!startsKept)
        return;
    QList<QVector<FFprobe::Packet>> out;
    for (const QString &sel : {QStringLiteral("v:0"), QStringLiteral("a:0")})
        out << FFprobe::packets(fast, sel);
    auto earliest = [](const QVector<FFprobe::Packet> &packets, int from, int count) {
        double t = packets[from].ptsTime;
        for (int i = from; i < from + count; ++i)
            t = std::min(t, packets[i].ptsTime);
        return t;
    };
    QVector<int> first{0, 0}; // each stream's first packet of the clip in the output
    for (const QString &c : clips) {
        QList<double> sourceStart, outputStart;
        for (int s = 0; s < 2; ++s) {
            const QVector<FFprobe::Packet> source =
                FFprobe::packets(c, s == 0 ? QStringLiteral("v:0") : QStringLiteral("a:0"));
            QVERIFY(!source.isEmpty() && first[s] + source.size() <= out[s].size());
            sourceStart << earliest(source, 0, source.size());
            outputStart << earliest(out[s], first[s], source.size());
            first[s] += source.size();
        }
        const double want = sourceStart[0] - sourceStart[1];
        const double got = outputStart[0] - outputStart[1];
        QVERIFY2(std::abs(got - want) < 0.0015,
                 qPrintable(QStringLiteral("%1: picture %2 s after the sound, not %3 s").arg(c).arg(got).arg(want)));
    }
}

void TestJobCopyOpen::refusesWhatDiffers_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("reason");
    const QString h264 = clip(QStringLiteral("co_bf.mkv"), 1.2, kHigh);
    QTest::newRow("matroska 4:4:4 after 4:2:0")
        << h264
        << clip(QStringLiteral("co_444.mkv"), 1, "-c:v libx264 -preset ultrafast -pix_fmt yuv444p -g 25 -c:a aac")
        << QStringLiteral("differs");
    QTest::newRow("vp9 4:4:4 after 4:2:0")
        << clip(QStringLiteral("co_a.webm"), 1.6, kVp9)
        << clip(QStringLiteral("co_444.webm"), 1,
                "-c:v libvpx-vp9 -deadline realtime -cpu-used 8 -pix_fmt yuv444p -g 25 -c:a libopus")
        << QStringLiteral("pixel format differs");
    QTest::newRow("matroska sound rate") << clip(QStringLiteral("co_mp3.mkv"), 1.2,
                                                 "-c:v libx264 -preset ultrafast -g 25 -c:a libmp3lame")
                                         << clip(QStringLiteral("co_mp3_44k.mkv"), 1,
                                                 "-c:v libx264 -preset ultrafast -g 25 -c:a libmp3lame -ar 44100")
                                         << QStringLiteral("sample rate");
}

void TestJobCopyOpen::refusesWhatDiffers()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, reason);
    InputClip clip;
    std::string error;
    QVERIFY(clip.open(second.toStdString(), 0, 0, &error, InputClip::Purpose::Copy));
    QVERIFY(clip.openedFromHeader());
    const QString out = m_dir.filePath(
        QStringLiteral("refused_%1.mkv")
            .arg(QString::fromLatin1(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('_'))));
    const Outcome r = runMerge(true, out, QStringLiteral("matroska"), {Task{first}, Task{second}});
    QVERIFY(r.failed);
    QVERIFY2(r.error.contains(reason), qPrintable(r.error));
    QCOMPARE(r.tasksAdded, 1);
}

QTEST_GUILESS_MAIN(TestJobCopyOpen)
#include "tst_job_copy_open.moc"
