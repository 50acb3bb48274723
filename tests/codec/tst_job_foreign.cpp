// Lossless joins of clips made by other muxers and encoders than ffmpeg (GStreamer, mkvmerge, x264, lame,
// flac, oggenc, opusenc), as users' files are made: packets byte-identical, and the pictures shown in the
// same order as in the clips (the decoded frames of the join are the clips' decoded frames, in turn).
#include "tst_job_helpers.h"

#include <QFileInfo>

using namespace jobtest;
using rstest::FFprobe;
using rstest::MediaFixtures;

namespace {

// MD5 of every decoded picture in presentation order.
QStringList pictureDigests(const QString &path)
{
    const QByteArray out =
        ffmpegOut({QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-i"), path, QStringLiteral("-map"),
                   QStringLiteral("0:v:0"), QStringLiteral("-f"), QStringLiteral("framemd5"), QStringLiteral("-")});
    QStringList digests;
    for (const QByteArray &line : out.split('\n')) {
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        digests << QString::fromLatin1(line.split(',').last().trimmed());
    }
    return digests;
}

// 6 s of picture and sound in Matroska by `muxer` ("ffmpeg", "mkvmerge", or "mkvmerge+ffmpeg": mkvmerge's
// file with picture and sound 3 s late, copied by ffmpeg, which keeps mkvmerge's list of statistics tags),
// with a SubRip track whose last cue is at 58 s when `lateSubtitle`; cut to its first third when `cut`.
QString sixSecondMatroska(const QString &muxer, bool lateSubtitle, bool cut)
{
    const QString name =
        QStringLiteral("end_%1_%2.mkv").arg(muxer, lateSubtitle ? QStringLiteral("late") : QStringLiteral("plain"));
    QString command = QStringLiteral(
        "ffmpeg -v error -f lavfi -i testsrc2=size=320x240:rate=25:duration=6 -f lavfi -i sine=duration=6 "
        "-c:v libx264 -preset ultrafast -c:a aac clip.mp4 && "
        "printf '1\\n00:00:00,500 --> 00:00:01,000\\nFirst\\n\\n2\\n00:00:58,000 --> 00:00:59,000\\nLast\\n' > "
        "late.srt && ");
    const QString subtitle = lateSubtitle ? QStringLiteral(" late.srt") : QString();
    if (muxer == QLatin1String("ffmpeg"))
        command += QStringLiteral("ffmpeg -v error -i clip.mp4%1 -map 0%2 -c copy \"$OUT\"")
                       .arg(lateSubtitle ? QStringLiteral(" -i late.srt") : QString(),
                            lateSubtitle ? QStringLiteral(" -map 1") : QString());
    else if (muxer == QLatin1String("mkvmerge"))
        command += QStringLiteral("mkvmerge -q -o \"$OUT\" clip.mp4") + subtitle;
    else
        command += QStringLiteral("mkvmerge -q -o late.mkv --sync 0:3000 --sync 1:3000 clip.mp4") + subtitle +
                   QStringLiteral(" && ffmpeg -v error -i late.mkv -map 0 -c copy \"$OUT\"");
    const QString whole = MediaFixtures::makeByCommand(name, command);
    if (!cut)
        return whole;
    return MediaFixtures::makeByCommand(QStringLiteral("cut_") + name,
                                        QStringLiteral("s=$(stat -c %s \"$FIXTURES/%1\") && "
                                                       "head -c $((s / 3)) \"$FIXTURES/%1\" > \"$OUT\"")
                                            .arg(name));
}

} // namespace

class TestJobForeign : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void joinsForeignClips_data();
    void joinsForeignClips();
    void trimmedMatroskaKeepsPictureOrder();
    void keepsChaptersAndSubtitles_data();
    void keepsChaptersAndSubtitles();
    void answersWhetherSubtitleIsCarried_data();
    void answersWhetherSubtitleIsCarried();
    void rawStreamIsNotCopiedIntoATimedContainer();
    void reencodesRawStreams_data();
    void reencodesRawStreams();
    void endIsJudgedByTheStreamsJoined_data();
    void endIsJudgedByTheStreamsJoined();
};

void TestJobForeign::initTestCase()
{
    QString missing;
    if (!MediaFixtures::haveTools(MediaFixtures::foreignTools(), &missing))
        QFAIL(qPrintable(missing + QStringLiteral(" is not installed (scripts/install-deps.sh)")));
}

void TestJobForeign::joinsForeignClips_data()
{
    QTest::addColumn<QString>("fixture"); // the pair's base name, e.g. "gst_h264_aac.mp4"
    QTest::addColumn<QString>("container");
    QTest::addColumn<int>("clips");
    QTest::newRow("mp4 (GStreamer, B-frames)") << "gst_h264_aac.mp4"
                                               << "mp4" << 2;
    QTest::newRow("mov (GStreamer, B-frames)") << "gst_h264_aac.mov"
                                               << "mov" << 2;
    QTest::newRow("mkv (GStreamer, B-frames)") << "gst_h264_aac.mkv"
                                               << "matroska" << 2;
    QTest::newRow("mkv (mkvmerge, x264 B-frames)") << "mkvmerge_x264_mp3.mkv"
                                                   << "matroska" << 2;
    QTest::newRow("webm (GStreamer)") << "gst_vp8_vorbis.webm"
                                      << "webm" << 2;
    QTest::newRow("ts (GStreamer, B-frames)") << "gst_h264_aac.ts"
                                              << "mpegts" << 2;
    QTest::newRow("avi (GStreamer)") << "gst_mpeg4_mp3.avi"
                                     << "avi" << 2;
    QTest::newRow("flv (GStreamer, B-frames)") << "gst_h264_mp3.flv"
                                               << "flv" << 2;
    QTest::newRow("ogg (oggenc)") << "oggenc.ogg"
                                  << "ogg" << 2;
    QTest::newRow("opus (opusenc)") << "opusenc.opus"
                                    << "ogg" << 2;
    QTest::newRow("mp3 (lame)") << "lame.mp3"
                                << "mp3" << 2;
    QTest::newRow("m4a (GStreamer)") << "gst_aac.m4a"
                                     << "m4a" << 2;
    QTest::newRow("raw H.264 (x264) into a raw stream") << "x264.h264"
                                                        << "h264" << 2;
    QTest::newRow("flac (flac, one clip)") << "flac.flac"
                                           << "flac" << 1;
}

void TestJobForeign::joinsForeignClips()
{
    RS_SHARD_UNIT();
    QFETCH(QString, fixture);
    QFETCH(QString, container);
    QFETCH(int, clips);
    const QFileInfo name(fixture);
    QStringList sources;
    for (const char *variant : {"_a.", "_b."}) {
        if (sources.size() < clips)
            sources << MediaFixtures::foreign(name.completeBaseName() + QLatin1String(variant) + name.suffix());
    }
    const QString out = rstest::scratchDir(QStringLiteral("foreign")) + QStringLiteral("/joined.") + name.suffix();
    QList<Task> tasks;
    for (const QString &s : sources)
        tasks << Task{s};
    const Outcome r = runMerge(true, out, container, tasks);
    QVERIFY2(!r.failed, qPrintable(r.error));
    QCOMPARE(r.tasksAdded, clips);

    const bool video = !FFprobe::streams(sources[0], QStringLiteral("video")).isEmpty();
    const bool audio = !FFprobe::streams(sources[0], QStringLiteral("audio")).isEmpty();
    for (const QString &selector : {QStringLiteral("v:0"), QStringLiteral("a:0")}) {
        if (!(selector.startsWith(QLatin1Char('v')) ? video : audio))
            continue;
        QStringList expected;
        for (const QString &s : sources)
            expected += payloadDigests(s, selector);
        QVERIFY(!expected.isEmpty());
        QCOMPARE(payloadDigests(out, selector), expected);
        // Decoding times where the container stores them (Matroska keeps presentation times only).
        bool sourcesMonotonic = true;
        for (const QString &s : sources)
            sourcesMonotonic = sourcesMonotonic && FFprobe::strictlyMonotonic(FFprobe::packets(s, selector));
        QString where;
        if (sourcesMonotonic)
            QVERIFY2(FFprobe::strictlyMonotonic(FFprobe::packets(out, selector), &where), qPrintable(where));
    }
    if (video) {
        QStringList shown;
        for (const QString &s : sources)
            shown += pictureDigests(s);
        QCOMPARE(pictureDigests(out), shown);
    }
    const QString errors = FFprobe::decodeErrors(out);
    QVERIFY2(errors.isEmpty(), qPrintable(errors));
    double length = 0;
    for (const QString &s : sources)
        length += FFprobe::durationSeconds(s);
    QVERIFY2(qAbs(FFprobe::durationSeconds(out) - length) < 0.15,
             qPrintable(QStringLiteral("%1 s, clips %2 s").arg(FFprobe::durationSeconds(out)).arg(length)));
}

void TestJobForeign::trimmedMatroskaKeepsPictureOrder()
{
    // The second mkvmerge clip cut from its key frame at 1 s: decoding times derived after the cut too.
    const QString a = MediaFixtures::foreign(QStringLiteral("mkvmerge_x264_mp3_a.mkv"));
    const QString b = MediaFixtures::foreign(QStringLiteral("mkvmerge_x264_mp3_b.mkv"));
    const QString out = rstest::scratchDir(QStringLiteral("trim")) + QStringLiteral("/joined.mkv");
    const Outcome r = runMerge(true, out, QStringLiteral("matroska"), {Task{a}, Task{b, 1000000, 0}});
    QVERIFY2(!r.failed, qPrintable(r.error));
    const QStringList tail = pictureDigests(b).mid(25);
    QCOMPARE(tail.size(), 13);
    QCOMPARE(pictureDigests(out), pictureDigests(a) + tail);
    const QString errors = FFprobe::decodeErrors(out);
    QVERIFY2(errors.isEmpty(), qPrintable(errors));
}

void TestJobForeign::keepsChaptersAndSubtitles_data()
{
    QTest::addColumn<QString>("container");
    QTest::addColumn<int>("subtitleStreams");
    QTest::newRow("matroska holds SubRip") << "matroska" << 1;
    QTest::newRow("mp4 holds no SubRip") << "mp4" << 0;
}

void TestJobForeign::keepsChaptersAndSubtitles()
{
    // Two mkvmerge clips with two chapters and a SubRip track each, the subtitle chosen: the output has
    // the four chapters where the clips land, and the subtitles where the container holds them.
    QFETCH(QString, container);
    QFETCH(int, subtitleStreams);
    const QString a = MediaFixtures::foreign(QStringLiteral("mkvmerge_subs_chapters_a.mkv"));
    const QString b = MediaFixtures::foreign(QStringLiteral("mkvmerge_subs_chapters_b.mkv"));
    const QString out = rstest::scratchDir(QStringLiteral("chapters")) + QStringLiteral("/joined.") +
                        (container == QLatin1String("mp4") ? QStringLiteral("mp4") : QStringLiteral("mkv"));
    auto chosen = [] {
        rsc_edit *e = rsc_edit_create();
        rsc_edit_set_subtitle_stream(e, 0);
        return e;
    };
    const Outcome r = runMerge(true, out, container, {Task{a, 0, 0, chosen()}, Task{b, 0, 0, chosen()}});
    QVERIFY2(!r.failed, qPrintable(r.error));
    const QJsonArray chapters = FFprobe::probe(out).value(QStringLiteral("chapters")).toArray();
    QCOMPARE(chapters.size(), 4);
    const double offset = FFprobe::durationSeconds(a);
    const double starts[] = {0.0, 0.5, offset, offset + 0.5};
    for (int i = 0; i < 4; ++i) {
        const double start = chapters.at(i).toObject().value(QStringLiteral("start_time")).toString().toDouble();
        QVERIFY2(qAbs(start - starts[i]) < 0.05, qPrintable(QStringLiteral("chapter %1 at %2").arg(i).arg(start)));
    }
    QCOMPARE(
        chapters.at(2).toObject().value(QStringLiteral("tags")).toObject().value(QStringLiteral("title")).toString(),
        QStringLiteral("Start"));
    QCOMPARE(FFprobe::streams(out, QStringLiteral("subtitle")).size(), subtitleStreams);
    if (subtitleStreams > 0) {
        QStringList expected = payloadDigests(a, QStringLiteral("s:0")) + payloadDigests(b, QStringLiteral("s:0"));
        QCOMPARE(payloadDigests(out, QStringLiteral("s:0")), expected);
        const auto packets = FFprobe::packets(out, QStringLiteral("s:0"));
        QCOMPARE(packets.size(), 4);
        QVERIFY(qAbs(packets.at(2).ptsTime - (offset + 0.1)) < 0.05);
    }
    const QString errors = FFprobe::decodeErrors(out);
    QVERIFY2(errors.isEmpty(), qPrintable(errors));
}

void TestJobForeign::answersWhetherSubtitleIsCarried_data()
{
    QTest::addColumn<QString>("format"); // of the source's subtitle track
    QTest::addColumn<QString>("container");
    QTest::addColumn<QString>("suffix"); // empty: the join itself is not run (the picture cannot go there)
    QTest::addColumn<int>("stream");
    QTest::addColumn<bool>("carried");
    QTest::newRow("srt into mkv") << "srt"
                                  << "matroska"
                                  << "mkv" << 0 << true;
    QTest::newRow("srt into mp4") << "srt"
                                  << "mp4"
                                  << "mp4" << 0 << false;
    QTest::newRow("mov_text into mp4") << "mov_text"
                                       << "mp4"
                                       << "mp4" << 0 << true;
    QTest::newRow("mov_text into mov") << "mov_text"
                                       << "mov"
                                       << "mov" << 0 << true;
    QTest::newRow("ass into mkv") << "ass"
                                  << "matroska"
                                  << "mkv" << 0 << true;
    QTest::newRow("ass into mp4") << "ass"
                                  << "mp4"
                                  << "mp4" << 0 << false;
    QTest::newRow("srt into flv") << "srt"
                                  << "flv"
                                  << "flv" << 0 << false;
    QTest::newRow("ass into ts") << "ass"
                                 << "mpegts"
                                 << "ts" << 0 << false;
    QTest::newRow("mov_text into flv") << "mov_text"
                                       << "flv"
                                       << "flv" << 0 << false;
    // AVC in MP4/Matroska form cannot be copied into AVI at all; the answer still has to be no.
    QTest::newRow("srt into avi") << "srt"
                                  << "avi"
                                  << "" << 0 << false;
    QTest::newRow("mov_text into avi") << "mov_text"
                                       << "avi"
                                       << "" << 0 << false;
    QTest::newRow("a stream the file lacks") << "srt"
                                             << "matroska"
                                             << "mkv" << 1 << false;
}

void TestJobForeign::answersWhetherSubtitleIsCarried()
{
    RS_SHARD_UNIT();
    // The answer the clip list gets before a run is what the join then writes.
    QFETCH(QString, format);
    QFETCH(QString, container);
    QFETCH(QString, suffix);
    QFETCH(int, stream);
    QFETCH(bool, carried);
    const QString src = MediaFixtures::foreignSubtitled(format);
    QCOMPARE(rsc_job_lossless_carries_subtitle(container.toUtf8().constData(), src.toUtf8().constData(), stream),
             carried ? 1 : 0);
    if (suffix.isEmpty())
        return;
    const QString out = rstest::scratchDir(QStringLiteral("carried")) + QStringLiteral("/joined.") + suffix;
    rsc_edit *e = rsc_edit_create();
    rsc_edit_set_subtitle_stream(e, stream);
    const Outcome r = runMerge(true, out, container, {Task{src, 0, 0, e}});
    QVERIFY2(!r.failed, qPrintable(r.error));
    QCOMPARE(FFprobe::streams(out, QStringLiteral("subtitle")).size(), carried ? 1 : 0);
}

void TestJobForeign::rawStreamIsNotCopiedIntoATimedContainer()
{
    // Pictures without any timestamps cannot be given their times by a copy: the join is refused (the
    // encoding mode times them at their rate) rather than written with every frame at one instant.
    const QString out = rstest::scratchDir(QStringLiteral("rawcopy")) + QStringLiteral("/joined.mp4");
    const Outcome r = runMerge(true, out, QStringLiteral("mp4"),
                               {Task{MediaFixtures::foreign(QStringLiteral("x264_a.h264"))},
                                Task{MediaFixtures::foreign(QStringLiteral("x264_b.h264"))}});
    QVERIFY(r.failed);
    QVERIFY2(r.error.contains(QLatin1String("timestamps")), qPrintable(r.error));
}

void TestJobForeign::reencodesRawStreams_data()
{
    QTest::addColumn<QStringList>("clips");
    QTest::addColumn<int>("frames");
    const QString raw = QStringLiteral("x264.h264");
    QTest::newRow("alone") << QStringList{raw} << 25;
    QTest::newRow("after a clip") << QStringList{QStringLiteral("gst_h264_aac_b.mp4"), raw} << 38 + 25;
    QTest::newRow("before a clip") << QStringList{raw, QStringLiteral("gst_h264_aac_b.mp4")} << 25 + 38;
}

void TestJobForeign::reencodesRawStreams()
{
    RS_SHARD_UNIT();
    // A raw H.264 stream carries no timestamps: its pictures must still reach the output, at their rate.
    QFETCH(QStringList, clips);
    QFETCH(int, frames);
    const QString out = rstest::scratchDir(QStringLiteral("raw")) + QStringLiteral("/joined.mp4");
    QList<Task> tasks;
    for (const QString &c : clips)
        tasks << Task{MediaFixtures::foreign(c)};
    const Outcome r = runMerge(false, out, QStringLiteral("mp4"), tasks);
    QVERIFY2(!r.failed, qPrintable(r.error));
    const int shown = pictureDigests(out).size();
    QVERIFY2(qAbs(shown - frames) <= 1, qPrintable(QString::number(shown)));
    QVERIFY(qAbs(FFprobe::durationSeconds(out) - frames / 25.0) < 0.15);
}

void TestJobForeign::endIsJudgedByTheStreamsJoined_data()
{
    QTest::addColumn<QString>("clip");
    QTest::addColumn<bool>("whole");
    QTest::addColumn<bool>("lossless");
    for (const bool lossless : {true, false}) {
        const QString mode = lossless ? QStringLiteral(", lossless") : QStringLiteral(", re-encoding");
        for (const char *muxer : {"ffmpeg", "mkvmerge", "mkvmerge+ffmpeg"}) {
            // A subtitle past the picture and sound makes the file's length, not theirs.
            QTest::newRow(qPrintable(QString::fromLatin1(muxer) + QStringLiteral(", subtitle past the end") + mode))
                << sixSecondMatroska(QString::fromLatin1(muxer), true, false) << true << lossless;
        }
        // Really cut short: ffmpeg's per-track lengths survive at the head; mkvmerge's are at the tail, where
        // the file's length speaks for picture and sound alone, or, beside a subtitle, because the file ends
        // before its head says.
        QTest::newRow(qPrintable(QStringLiteral("ffmpeg, subtitle, cut short") + mode))
            << sixSecondMatroska(QStringLiteral("ffmpeg"), true, true) << false << lossless;
        QTest::newRow(qPrintable(QStringLiteral("mkvmerge, cut short") + mode))
            << sixSecondMatroska(QStringLiteral("mkvmerge"), false, true) << false << lossless;
        QTest::newRow(qPrintable(QStringLiteral("mkvmerge, subtitle, cut short") + mode))
            << sixSecondMatroska(QStringLiteral("mkvmerge"), true, true) << false << lossless;
    }
}

void TestJobForeign::endIsJudgedByTheStreamsJoined()
{
    RS_SHARD_UNIT();
    QFETCH(QString, clip);
    QFETCH(bool, whole);
    QFETCH(bool, lossless);
    const QString out = rstest::scratchDir(QStringLiteral("end")) + QStringLiteral("/joined.mkv");
    const Outcome r = runMerge(lossless, out, QStringLiteral("matroska"), {Task{clip}});
    if (whole) {
        QVERIFY2(!r.failed, qPrintable(r.error));
        QVERIFY2(qAbs(FFprobe::durationSeconds(out) - 6.0) < 0.2,
                 qPrintable(QString::number(FFprobe::durationSeconds(out))));
    } else {
        QVERIFY2(r.error.contains(QLatin1String("before its stated length")), qPrintable(r.error));
        QVERIFY(!QFileInfo::exists(out));
    }
}

RS_TEST_MAIN(TestJobForeign)
#include "tst_job_foreign.moc"
