// Media information against what ffprobe reports for the same generated files, and refusal of bad input.
#include "FFprobe.h"
#include "MediaFixtures.h"
#include "TestSupport.h"
#include "rscodec.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QVector>
#include <cmath>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

struct InfoHandle
{
    rsc_info *info = rsc_info_create(RSC_CREATE_DEFAULT);
    ~InfoHandle() { rsc_info_release(info); }
};

QString text(const char *s)
{
    return s ? QString::fromUtf8(s) : QString();
}

QJsonArray mediaStreams(const QString &path, const QString &type)
{
    // Attached pictures are cover art, not video.
    QJsonArray out;
    for (const QJsonValue &v : rstest::FFprobe::streams(path, type))
        if (v.toObject().value("disposition").toObject().value("attached_pic").toInt() == 0)
            out.append(v);
    return out;
}

// A standard clip, or one of the variants the join tests compare with it.
QString clip(const QString &name)
{
    auto av = [](const QString &size, int seconds, int sampleRate) {
        return QStringList{
            "-f",  "lavfi", "-i", QString("testsrc2=size=%1:rate=25:duration=%2").arg(size).arg(seconds),
            "-f",  "lavfi", "-i", QString("sine=frequency=440:sample_rate=%1:duration=%2").arg(sampleRate).arg(seconds),
            "-ac", "2"};
    };
    const QStringList vp9 = {"-c:v", "libvpx-vp9", "-deadline", "realtime", "-cpu-used",
                             "8",    "-b:v",       "300k",      "-c:a",     "libopus"};
    if (name == "vp9_opus_3s.webm")
        return rstest::MediaFixtures::make({name, av("320x240", 3, 48000) + vp9});
    if (name == "vp9_opus_640x360.webm")
        return rstest::MediaFixtures::make({name, av("640x360", 2, 48000) + vp9});
    if (name == "mpeg4_mp3_3s.avi")
        return rstest::MediaFixtures::make(
            {name, av("320x240", 3, 44100) + QStringList{"-c:v", "mpeg4", "-q:v", "5", "-c:a", "libmp3lame"}});
    if (name == "theora_vorbis_3s.ogv")
        return rstest::MediaFixtures::make(
            {name, av("320x240", 3, 44100) + QStringList{"-c:v", "libtheora", "-q:v", "5", "-c:a", "libvorbis"}});
    return rstest::MediaFixtures::standard(name);
}

int kindOf(const QString &type)
{
    return type == "video" ? RSC_STREAM_VIDEO : type == "audio" ? RSC_STREAM_AUDIO : RSC_STREAM_SUBTITLE;
}

} // namespace

class TestInfo : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(!rstest::MediaFixtures::fixtureDir().isEmpty()); }

    void matchesFfprobe_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : {"h264_aac.mp4", "h264_aac.mov", "mkv_subs_chapters_2audio.mkv", "vp9_opus.webm",
                                 "mpeg4_mp3.avi", "h264_aac.ts", "flv1_mp3.flv", "h263_aac.3gp", "theora_vorbis.ogv",
                                 "audio.mp3", "audio.m4a", "audio.flac", "audio.wav", "audio.ogg", "cover_art.mp3",
                                 "odd_size.mkv", "rotated90.mp4", "video_only.mp4", "h264_aac_640x360_30.mp4"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    // Presence, duration, geometry, container names and every stream's texts and private data.
    void matchesFfprobe()
    {
        RS_SHARD_UNIT();
        QFETCH(QString, name);
        const QString path = rstest::MediaFixtures::standard(name);
        const QJsonObject probe = rstest::FFprobe::probe(path);
        QVERIFY(!probe.isEmpty());
        const QJsonObject format = probe.value("format").toObject();

        InfoHandle h;
        QCOMPARE(rsc_info_open_file(h.info, path.toUtf8().constData()), 1);

        const QJsonArray video = mediaStreams(path, "video");
        const QJsonArray audio = mediaStreams(path, "audio");
        const QJsonArray subs = mediaStreams(path, "subtitle");
        QCOMPARE(rsc_info_has_video(h.info), video.isEmpty() ? 0 : 1);
        QCOMPARE(rsc_info_has_audio(h.info), audio.isEmpty() ? 0 : 1);
        QCOMPARE(int(rsc_info_video_count(h.info)), video.size());
        QCOMPARE(int(rsc_info_audio_count(h.info)), audio.size());
        QCOMPARE(int(rsc_info_subtitle_count(h.info)), subs.size());

        const double seconds = format.value("duration").toString().toDouble();
        QVERIFY2(std::abs(double(rsc_info_duration(h.info)) / 1e6 - seconds) < 2e-6,
                 qPrintable(QString("%1 vs %2").arg(rsc_info_duration(h.info)).arg(seconds)));

        QCOMPARE(text(static_cast<const char *>(rsc_info_get_metadata(h.info, "ffmpeg_format"))),
                 format.value("format_name").toString());
        QCOMPARE(text(rsc_info_format_id(h.info)), format.value("format_name").toString().section(',', 0, 0));
        // Matroska's DocType stands as its brand: the container name of a lossless output depends on it.
        QString brand = format.value("tags").toObject().value("major_brand").toString();
        if (format.value("format_name").toString() == "matroska,webm")
            brand = name.endsWith(".webm") ? "webm" : "matroska";
        QCOMPARE(text(static_cast<const char *>(rsc_info_get_metadata(h.info, "major_brand"))), brand);

        if (!video.isEmpty()) {
            QCOMPARE(int(rsc_info_video_width(h.info)), video[0].toObject().value("width").toInt());
            QCOMPARE(int(rsc_info_video_height(h.info)), video[0].toObject().value("height").toInt());
        } else {
            QCOMPARE(rsc_info_video_width(h.info), 0u);
        }

        for (const QString &type : {QStringLiteral("video"), QStringLiteral("audio"), QStringLiteral("subtitle")}) {
            const QJsonArray streams = mediaStreams(path, type);
            const int kind = kindOf(type);
            for (int i = 0; i < streams.size(); ++i) {
                const QJsonObject s = streams[i].toObject();
                const QJsonObject tags = s.value("tags").toObject();
                const int selected = kind == RSC_STREAM_VIDEO   ? rsc_info_set_video_index(h.info, i)
                                     : kind == RSC_STREAM_AUDIO ? rsc_info_set_audio_index(h.info, i)
                                                                : rsc_info_set_subtitle_index(h.info, i);
                QCOMPARE(selected, 1);
                const QString where = QString("%1 %2").arg(type).arg(i);
                QVERIFY2(text(rsc_info_stream_format(h.info, kind)) == s.value("codec_name").toString(),
                         qPrintable(where));
                QVERIFY2(text(rsc_info_stream_language(h.info, kind)) == tags.value("language").toString(),
                         qPrintable(where));
                QVERIFY2(text(rsc_info_stream_title(h.info, kind)) == tags.value("title").toString(),
                         qPrintable(where));
                QVERIFY2(int(rsc_info_stream_private_size(h.info, kind)) == s.value("extradata_size").toInt(),
                         qPrintable(where));
                QCOMPARE(rsc_info_stream_private_data(h.info, kind) != nullptr, s.value("extradata_size").toInt() > 0);
                if (kind == RSC_STREAM_AUDIO) {
                    QCOMPARE(qint64(rsc_info_stream_value(h.info, kind, 3)),
                             s.value("sample_rate").toString().toLongLong());
                    QCOMPARE(int(rsc_info_stream_value(h.info, kind, 4) >> 24), s.value("channels").toInt());
                }
                if (kind == RSC_STREAM_VIDEO)
                    QCOMPARE(qint64(rsc_info_stream_value(h.info, kind, 3)),
                             s.value("codec_tag").toString().toLongLong(nullptr, 16));
            }
        }
    }

    void chapters()
    {
        RS_SHARD_UNIT();
        const QString path = rstest::MediaFixtures::standard("mkv_subs_chapters_2audio.mkv");
        const QJsonArray expected = rstest::FFprobe::probe(path).value("chapters").toArray();
        QCOMPARE(expected.size(), 2);
        InfoHandle h;
        QCOMPARE(rsc_info_open_file(h.info, path.toUtf8().constData()), 1);
        QCOMPARE(int(rsc_info_chapter_count(h.info)), expected.size());
        for (int i = 0; i < expected.size(); ++i) {
            const QJsonObject c = expected[i].toObject();
            const double start = c.value("start_time").toString().toDouble();
            const double end = c.value("end_time").toString().toDouble();
            QCOMPARE(qint64(rsc_info_chapter_start(h.info, i)), qint64(std::llround(start * 1e6)));
            QCOMPARE(qint64(rsc_info_chapter_duration(h.info, i)), qint64(std::llround((end - start) * 1e6)));
            QCOMPARE(text(rsc_info_chapter_title(h.info, i)), c.value("tags").toObject().value("title").toString());
        }
        // Out of range asks answer nothing rather than reading past the list.
        QCOMPARE(rsc_info_chapter_start(h.info, 2), 0ull);
        QVERIFY(rsc_info_chapter_title(h.info, 99) == nullptr);
    }

    void streamSelectionKeepsChoiceOnBadIndex()
    {
        RS_SHARD_UNIT();
        const QString path = rstest::MediaFixtures::standard("mkv_subs_chapters_2audio.mkv");
        InfoHandle h;
        QCOMPARE(rsc_info_open_file(h.info, path.toUtf8().constData()), 1);
        QCOMPARE(rsc_info_set_audio_index(h.info, 1), 1);
        QCOMPARE(text(rsc_info_stream_title(h.info, RSC_STREAM_AUDIO)), QString("Commentary"));
        QCOMPARE(rsc_info_set_audio_index(h.info, 2), 0);
        QCOMPARE(text(rsc_info_stream_language(h.info, RSC_STREAM_AUDIO)), QString("fra"));
        QCOMPARE(rsc_info_set_subtitle_index(h.info, 0xFFFFFFFFu), 1);
        QVERIFY(rsc_info_stream_format(h.info, RSC_STREAM_SUBTITLE) == nullptr);
        QCOMPARE(rsc_info_set_subtitle_index(h.info, 0), 1);
        QCOMPARE(text(rsc_info_stream_format(h.info, RSC_STREAM_SUBTITLE)), QString("subrip"));
    }

    void externalSubtitleFile()
    {
        RS_SHARD_UNIT();
        const QString video = rstest::MediaFixtures::standard("mkv_subs_chapters_2audio.mkv");
        const QString srt = QFileInfo(video).absolutePath() + "/subtitle_en.srt";
        QVERIFY(QFile::exists(srt));
        InfoHandle h;
        QCOMPARE(rsc_info_open_file(h.info, rstest::MediaFixtures::standard("h264_aac.mp4").toUtf8().constData()), 1);
        QCOMPARE(rsc_info_subtitle_count(h.info), 0u);
        QCOMPARE(rsc_info_set_subtitle_file(h.info, rstest::MediaFixtures::standard("audio.wav").toUtf8().constData()),
                 0);
        QVERIFY(rsc_info_stream_format(h.info, RSC_STREAM_SUBTITLE) == nullptr);
        QCOMPARE(rsc_info_set_subtitle_file(h.info, srt.toUtf8().constData()), 1);
        QCOMPARE(text(rsc_info_stream_format(h.info, RSC_STREAM_SUBTITLE)), QString("subrip"));
        QVERIFY(rsc_info_stream_value(h.info, RSC_STREAM_SUBTITLE, 2) != 0);
        QCOMPARE(rsc_info_set_subtitle_index(h.info, 0xFFFFFFFFu), 1);
        QVERIFY(rsc_info_stream_format(h.info, RSC_STREAM_SUBTITLE) == nullptr);
        QCOMPARE(rsc_info_subtitle_count(h.info), 0u);
    }

    void tagsAndCover_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("args"); // empty: a standard clip
        const QString png = QFileInfo(rstest::MediaFixtures::standard("cover_art.mp3")).absolutePath() + "/cover.png";
        const QStringList tags = {"-metadata",     "title=Fixture", "-metadata",
                                  "artist=Tester", "-metadata",     "album=Fixtures"};
        auto withPicture = [&](const QString &codec) {
            return QStringList{
                       "-f",  "lavfi", "-i",  "sine=duration=1", "-i",          png, "-map", "0", "-map", "1", "-c:a",
                       codec, "-c:v",  "png", "-disposition:v",  "attached_pic"} +
                   tags;
        };
        QTest::newRow("mp3 ID3 picture") << "cover_art.mp3" << QStringList();
        QTest::newRow("m4a covr") << "cover_art.m4a" << withPicture("aac");
        QTest::newRow("flac picture block") << "cover_art.flac" << withPicture("flac");
        QTest::newRow("matroska attachment") << "cover_art.mka"
                                             << QStringList{"-f",
                                                            "lavfi",
                                                            "-i",
                                                            "sine=duration=1",
                                                            "-attach",
                                                            png,
                                                            "-metadata:s:t",
                                                            "mimetype=image/png",
                                                            "-metadata:s:t",
                                                            "filename=cover.png",
                                                            "-c:a",
                                                            "libvorbis"} +
                                                    tags;
    }

    // Tags from the container (or the stream), and the embedded picture of every container that has one.
    void tagsAndCover()
    {
        RS_SHARD_UNIT();
        QFETCH(QString, name);
        QFETCH(QStringList, args);
        const QString path =
            args.isEmpty() ? rstest::MediaFixtures::standard(name) : rstest::MediaFixtures::make({name, args});
        InfoHandle h;
        QCOMPARE(rsc_info_open_file(h.info, path.toUtf8().constData()), 1);
        QCOMPARE(text(static_cast<const char *>(rsc_info_get_metadata(h.info, "title"))), QString("Fixture"));
        QCOMPARE(text(static_cast<const char *>(rsc_info_get_metadata(h.info, "ARTIST"))), QString("Tester"));
        QCOMPARE(text(static_cast<const char *>(rsc_info_get_metadata(h.info, "album"))), QString("Fixtures"));
        QVERIFY(rsc_info_get_metadata(h.info, "composer") == nullptr);
        QCOMPARE(rsc_info_has_video(h.info), 0); // the cover is not a video

        const auto *cover = static_cast<const rsc_cover_image *>(rsc_info_get_metadata(h.info, "cover_image"));
        QVERIFY(cover && cover->data && cover->size > 0);
        QCOMPARE(rsc_info_get_metadata_data(h.info, "cover_image"), cover->data);
        QCOMPARE(qint64(rsc_info_get_metadata_size(h.info, "cover_image")), qint64(cover->size));
        QImage image;
        QVERIFY(image.loadFromData(cover->data, cover->size));
        QCOMPARE(image.size(), QSize(64, 64));

        InfoHandle plain;
        QCOMPARE(rsc_info_open_file(plain.info, rstest::MediaFixtures::standard("audio.mp3").toUtf8().constData()), 1);
        QVERIFY(rsc_info_get_metadata(plain.info, "cover_image") == nullptr);
        QCOMPARE(rsc_info_get_metadata_size(plain.info, "cover_image"), 0u);
    }

    // Equal compared values and private data must mean "joinable without re-encoding": pairs judged equal
    // are joined by a stream copy with the ffmpeg tool and must decode without an error.
    void joinValues_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("videoEqual");
        QTest::addColumn<bool>("audioEqual");
        QTest::newRow("same recipe, other length") << "h264_aac.mp4"
                                                   << "h264_aac_b.mp4" << true << true;
        QTest::newRow("mp4 and mov") << "h264_aac.mp4"
                                     << "h264_aac.mov" << true << true;
        QTest::newRow("webm, other length") << "vp9_opus.webm"
                                            << "vp9_opus_3s.webm" << true << true;
        QTest::newRow("avi, other length") << "mpeg4_mp3.avi"
                                           << "mpeg4_mp3_3s.avi" << true << true;
        QTest::newRow("ogv, other length") << "theora_vorbis.ogv"
                                           << "theora_vorbis_3s.ogv" << true << true;
        // VP9 in WebM has no private data: only the frame size tells these apart.
        QTest::newRow("webm, other size") << "vp9_opus.webm"
                                          << "vp9_opus_640x360.webm" << false << true;
        QTest::newRow("other size and audio") << "h264_aac.mp4"
                                              << "h264_aac_640x360_30.mp4" << false << false;
        QTest::newRow("other codecs") << "h264_aac.mp4"
                                      << "mpeg4_mp3.avi" << false << false;
        QTest::newRow("rotated copy") << "h264_aac.mp4"
                                      << "rotated90.mp4" << false << true;
    }

    void joinValues()
    {
        RS_SHARD_UNIT();
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(bool, videoEqual);
        QFETCH(bool, audioEqual);
        const QString pathA = clip(a), pathB = clip(b);
        InfoHandle ha, hb;
        QCOMPARE(rsc_info_open_file(ha.info, pathA.toUtf8().constData()), 1);
        QCOMPARE(rsc_info_open_file(hb.info, pathB.toUtf8().constData()), 1);
        auto same = [&](int kind, std::initializer_list<int> values) {
            for (int n : values)
                if (rsc_info_stream_value(ha.info, kind, n) != rsc_info_stream_value(hb.info, kind, n))
                    return false;
            const uint32_t size = rsc_info_stream_private_size(ha.info, kind);
            if (size != rsc_info_stream_private_size(hb.info, kind))
                return false;
            return size == 0 || memcmp(rsc_info_stream_private_data(ha.info, kind),
                                       rsc_info_stream_private_data(hb.info, kind), size) == 0;
        };
        const bool video = same(RSC_STREAM_VIDEO, {1, 2, 3}) &&
                           rsc_info_video_width(ha.info) == rsc_info_video_width(hb.info) &&
                           rsc_info_video_height(ha.info) == rsc_info_video_height(hb.info);
        QCOMPARE(video, videoEqual);
        QCOMPARE(same(RSC_STREAM_AUDIO, {2, 3, 4}), audioEqual);
        if (!video || !audioEqual)
            return;

        const QString dir = rstest::scratchDir("join");
        const QString list = dir + "/" + QTest::currentDataTag() + ".txt";
        QFile listFile(list);
        QVERIFY(listFile.open(QIODevice::WriteOnly | QIODevice::Truncate));
        listFile.write(QString("file '%1'\nfile '%2'\n").arg(pathA, pathB).toUtf8());
        listFile.close();
        const QString joined = dir + "/" + QTest::currentDataTag() + "." + QFileInfo(pathA).suffix();
        QVERIFY(rstest::MediaFixtures::runFfmpeg({"-f", "concat", "-safe", "0", "-i", list, "-c", "copy", joined}));
        QCOMPARE(rstest::FFprobe::decodeErrors(joined), QString());
        QVERIFY(rstest::FFprobe::durationSeconds(joined) >
                std::max(rstest::FFprobe::durationSeconds(pathA), rstest::FFprobe::durationSeconds(pathB)) + 1.0);
    }

    void rotationAndAspect()
    {
        RS_SHARD_UNIT();
        InfoHandle h;
        QCOMPARE(rsc_info_open_file(h.info, rstest::MediaFixtures::standard("rotated90.mp4").toUtf8().constData()), 1);
        // ffprobe reports the matrix's counter-clockwise angle; value 7 is the clockwise turn for display.
        const QJsonObject side = rstest::FFprobe::streams(rstest::MediaFixtures::standard("rotated90.mp4"), "video")[0]
                                     .toObject()
                                     .value("side_data_list")
                                     .toArray()[0]
                                     .toObject();
        const int clockwise = (360 - side.value("rotation").toInt()) % 360;
        QVERIFY(clockwise == 90 || clockwise == 270);
        QCOMPARE(int(rsc_info_stream_value(h.info, RSC_STREAM_VIDEO, 7)), clockwise);
        QCOMPARE(rsc_info_video_width(h.info), 320u); // coded size stays as stored
        QCOMPARE(rsc_info_stream_value(h.info, RSC_STREAM_VIDEO, 5), 25ull);
        QCOMPARE(rsc_info_stream_value(h.info, RSC_STREAM_VIDEO, 6), 1ull);

        InfoHandle odd;
        QCOMPARE(rsc_info_open_file(odd.info, rstest::MediaFixtures::standard("odd_size.mkv").toUtf8().constData()), 1);
        const QJsonObject v =
            rstest::FFprobe::streams(rstest::MediaFixtures::standard("odd_size.mkv"), "video")[0].toObject();
        const QString dar = v.value("display_aspect_ratio").toString();
        if (!dar.isEmpty() && dar != "0:1")
            QCOMPARE(QString("%1:%2").arg(rsc_info_video_aspect_x(odd.info)).arg(rsc_info_video_aspect_y(odd.info)),
                     dar);
    }

    void rawStreamLength_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<double>("seconds");
        QTest::newRow("x264, 25 frames") << QStringLiteral("x264.h264") << 1.0;
        QTest::newRow("x264, 38 frames") << QStringLiteral("x264_b.h264") << 1.52;
    }
    void rawStreamLength()
    {
        // A raw elementary stream states no length; 0 would show as 00:00:00 and divide the trim maths.
        QFETCH(QString, fixture);
        QFETCH(double, seconds);
        const QString path = rstest::MediaFixtures::foreign(fixture);
        rsc_info *info = rsc_info_create(RSC_CREATE_DEFAULT);
        QCOMPARE(rsc_info_open_file(info, path.toUtf8().constData()), 1);
        const double length = double(rsc_info_duration(info)) / 1e6;
        QVERIFY2(std::fabs(length - seconds) < 0.05, qPrintable(QString::number(length)));
        rsc_info_release(info);
    }

    void hugeDeclaredPicture_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("side");
        QTest::newRow("png 16000") << QStringLiteral("png") << 16000;
        QTest::newRow("png 100000") << QStringLiteral("png") << 100000;
        QTest::newRow("y4m 16000") << QStringLiteral("y4m") << 16000;
    }
    void hugeDeclaredPicture()
    {
        // A file of a few bytes that declares a giant picture: refused at once (not decoded into
        // gigabytes, not taken for a 0 x 0 video), by the probe and by a job with the reason.
        QFETCH(QString, kind);
        QFETCH(int, side);
        const QString path = rstest::MediaFixtures::badFile(QStringLiteral("huge_%1.%2").arg(side).arg(kind));
        QElapsedTimer t;
        t.start();
        rusage before{};
        getrusage(RUSAGE_SELF, &before);
        rsc_info *info = rsc_info_create(RSC_CREATE_DEFAULT);
        const int opened = rsc_info_open_file(info, path.toUtf8().constData());
        QVERIFY(!opened || (rsc_info_has_video(info) && rsc_info_video_width(info) > 0));
        QCOMPARE(opened, 0);
        rsc_info_release(info);
        rsc_job *job = rsc_job_create_merge(RSC_CREATE_DEFAULT);
        const QString out = rstest::scratchDir(QStringLiteral("huge")) + QStringLiteral("/out.mp4");
        QCOMPARE(rsc_job_open_output(job, out.toUtf8().constData(), "mp4", nullptr), 1);
        QCOMPARE(rsc_job_start(job), 1);
        QCOMPARE(rsc_job_add_task(job, path.toUtf8().constData(), 0, 0, nullptr), 0);
        const QString why = QString::fromUtf8(rsc_job_error(job));
        rsc_job_release(job);
        QVERIFY2(why.contains(QLatin1String("larger than")) || why.contains(QLatin1String("cannot be read")) ||
                     why.contains(QLatin1String("no audio or video")),
                 qPrintable(why));
        QVERIFY2(t.elapsed() < 5000, qPrintable(QString::number(t.elapsed())));
        rusage after{};
        getrusage(RUSAGE_SELF, &after);
        QVERIFY2(after.ru_maxrss - before.ru_maxrss < 200 * 1024, qPrintable(QString::number(after.ru_maxrss)));
    }

    void badInput_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("partial");
        QTest::newRow("zero bytes") << rstest::MediaFixtures::badFile("empty.mp4") << false;
        QTest::newRow("text named mp4") << rstest::MediaFixtures::badFile("text.mp4") << false;
        QTest::newRow("truncated") << rstest::MediaFixtures::badFile("truncated.mp4") << true;
        QTest::newRow("directory") << rstest::MediaFixtures::fixtureDir() << false;
        QTest::newRow("missing") << rstest::MediaFixtures::fixtureDir() + "/no such file.mp4" << false;
        QTest::newRow("empty path") << QString() << false;
        // Opening these blocks or never ends: they must be refused before any read.
        const QString fifo = rstest::scratchDir("fifo") + "/clip.mp4";
        QFile::remove(fifo);
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QTest::newRow("named pipe") << fifo << false;
        QTest::newRow("endless device") << "/dev/zero" << false;
        // A subtitle demuxer would read it whole, at many times its size.
        const QString text = rstest::scratchDir("bigtext") + "/subtitles.srt";
        QFile big(text);
        QVERIFY(big.open(QIODevice::WriteOnly));
        const QByteArray cue = "1\n00:00:01,000 --> 00:00:02,000\nA line of subtitle text\n\n";
        for (int i = 0; i < (9 << 20) / cue.size() + 1; ++i)
            big.write(cue);
        big.close();
        QTest::newRow("9 MB of text") << text << false;
    }

    // Refused (or, for a truncated file whose header survived, the true partial answer); never a crash or
    // hang; after a refusal every getter answers nothing.
    void badInput()
    {
        RS_SHARD_UNIT();
        QFETCH(QString, path);
        QFETCH(bool, partial);
        InfoHandle h;
        const int opened = rsc_info_open_file(h.info, path.toUtf8().constData());
        if (partial && opened) {
            // The header promises pictures the file no longer holds: no image, no crash.
            unsigned char *image = rsc_info_get_video_image(h.info, 1000000, 1, 0, 0, 0);
            if (image)
                rsc_info_free_video_image(h.info, image);
            QCOMPARE(rsc_info_close(h.info), 1);
        } else {
            QCOMPARE(opened, 0);
        }
        QCOMPARE(rsc_info_has_video(h.info), 0);
        QCOMPARE(rsc_info_duration(h.info), 0ull);
        QVERIFY(rsc_info_get_metadata(h.info, "ffmpeg_format") == nullptr);
        QVERIFY(rsc_info_get_video_image(h.info, 0, 0, 0, 0, 0) == nullptr);
        QCOMPARE(rsc_info_chapter_count(h.info), 0u);
        // The object stays usable for a good file.
        QCOMPARE(rsc_info_open_file(h.info, rstest::MediaFixtures::standard("audio.wav").toUtf8().constData()), 1);
        QCOMPARE(rsc_info_has_audio(h.info), 1);
    }

    void nullHandleAnswersNothing()
    {
        RS_SHARD_UNIT();
        QCOMPARE(rsc_info_open_file(nullptr, "x.mp4"), 0);
        QCOMPARE(rsc_info_duration(nullptr), 0ull);
        QVERIFY(rsc_info_stream_title(nullptr, RSC_STREAM_VIDEO) == nullptr);
        QCOMPARE(rsc_info_free_video_image(nullptr, nullptr), 0);
        QCOMPARE(rsc_info_close(nullptr), 0);
        rsc_info_release(nullptr);
    }

    void pathWithSpacesAndNonAscii_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::newRow("spaces and umlaut") << QString::fromUtf8("clip mit ü und ß.mp4");
        QTest::newRow("cjk") << QString::fromUtf8("片段 一.mkv");
        QTest::newRow("colon and percent") << QString::fromUtf8("a:b %20 c.mp4");
    }

    void pathWithSpacesAndNonAscii()
    {
        RS_SHARD_UNIT();
        QFETCH(QString, fileName);
        const QString dir = rstest::scratchDir("names");
        const QString target = dir + "/" + fileName;
        QFile::remove(target);
        QVERIFY(QFile::copy(rstest::MediaFixtures::standard("h264_aac.mp4"), target));
        InfoHandle h;
        QCOMPARE(rsc_info_open_file(h.info, target.toUtf8().constData()), 1);
        QCOMPARE(rsc_info_video_width(h.info), 320u);
    }

    void memoryStreamDescribesTheSameMedia()
    {
        RS_SHARD_UNIT();
        QFile file(rstest::MediaFixtures::standard("h264_aac.mp4"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray bytes = file.readAll();
        rsc_memstream *stream = rsc_memstream_create(bytes.constData(), bytes.size(), 0);
        QVERIFY(stream);
        bytes.fill('\0'); // the library keeps its own copy
        InfoHandle fromMemory, fromFile;
        QCOMPARE(rsc_info_open_stream(fromMemory.info, stream), 1);
        QCOMPARE(rsc_info_open_file(fromFile.info, file.fileName().toUtf8().constData()), 1);
        QCOMPARE(rsc_info_duration(fromMemory.info), rsc_info_duration(fromFile.info));
        QCOMPARE(rsc_info_audio_count(fromMemory.info), 1u);
        unsigned char *image = rsc_info_get_video_image(fromMemory.info, 1000000, 1, 0, 0, 0);
        QVERIFY(image);
        QVERIFY(rsc_info_free_video_image(fromMemory.info, image));
        rsc_info_close(fromMemory.info);
        rsc_memstream_release(stream);

        QCOMPARE(rsc_memstream_create(nullptr, 10, 0), nullptr);
        const char junk[] = "not media at all";
        rsc_memstream *bad = rsc_memstream_create(junk, sizeof(junk), 1);
        QCOMPARE(rsc_info_open_stream(fromMemory.info, bad), 0);
        rsc_memstream_release(bad);
    }

    void memoryStreamReleasedBeforeTheObject_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("brand");
        QTest::newRow("mp4") << "h264_aac.mp4"
                             << "isom";
        QTest::newRow("webm") << "vp9_opus.webm"
                              << "webm";
        QTest::newRow("matroska") << "mkv_subs_chapters_2audio.mkv"
                                  << "matroska";
    }

    // A copied stream may be released while an object still reads it: pictures keep coming from the bytes.
    void memoryStreamReleasedBeforeTheObject()
    {
        RS_SHARD_UNIT();
        QFETCH(QString, name);
        QFETCH(QString, brand);
        QFile file(rstest::MediaFixtures::standard(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        rsc_memstream *stream = rsc_memstream_create(bytes.constData(), bytes.size(), 0);
        QVERIFY(stream);
        InfoHandle fromMemory, fromFile;
        QCOMPARE(rsc_info_open_stream(fromMemory.info, stream), 1);
        rsc_memstream_release(stream);
        QCOMPARE(rsc_info_open_file(fromFile.info, file.fileName().toUtf8().constData()), 1);
        QCOMPARE(text(static_cast<const char *>(rsc_info_get_metadata(fromMemory.info, "major_brand"))), brand);
        unsigned char *a = rsc_info_get_video_image(fromMemory.info, 1000000, 1, 0, 0, 0);
        unsigned char *b = rsc_info_get_video_image(fromFile.info, 1000000, 1, 0, 0, 0);
        QVERIFY(a && b);
        const uint32_t size = rsc_info_get_video_image_size(fromMemory.info, a);
        QCOMPARE(size, rsc_info_get_video_image_size(fromFile.info, b));
        QVERIFY(memcmp(a, b, size) == 0);
        rsc_info_free_video_image(fromMemory.info, a);
        rsc_info_free_video_image(fromFile.info, b);
    }

    // Run under the leak checker (see codec/README.md): nothing may stay behind.
    void thousandObjects()
    {
        RS_SHARD_UNIT();
        const QStringList names = {"h264_aac.mp4", "mkv_subs_chapters_2audio.mkv", "cover_art.mp3", "vp9_opus.webm",
                                   "h264_aac.ts"};
        QList<QByteArray> paths;
        for (const QString &name : names)
            paths << rstest::MediaFixtures::standard(name).toUtf8();
        paths << rstest::MediaFixtures::badFile("truncated.mp4").toUtf8()
              << rstest::MediaFixtures::badFile("text.mp4").toUtf8();
        QVector<int> tries(paths.size()), opened(paths.size());
        for (int i = 0; i < 1000; ++i) {
            rsc_info *info = rsc_info_create(RSC_CREATE_DEFAULT);
            QVERIFY(info);
            ++tries[i % paths.size()];
            opened[i % paths.size()] += rsc_info_open_file(info, paths[i % paths.size()].constData());
            rsc_info_get_metadata(info, "cover_image");
            if (i % 10 == 0) {
                // Every tenth keeps one image unreturned: the release must free it.
                unsigned char *kept = rsc_info_get_video_image(info, 500000, i % 20 == 0 ? 1 : 0, 64, 64, 0);
                unsigned char *returned = rsc_info_get_video_image(info, 0, 0, 0, 0, 0);
                rsc_info_free_video_image(info, returned);
                (void)kept;
            }
            if (i % 3 == 0)
                rsc_info_close(info);
            rsc_info_release(info);
        }
        // Every good file opens each time, the text never; the truncated one keeps its header, so always
        // or never.
        for (int k = 0; k < names.size(); ++k)
            QCOMPARE(opened[k], tries[k]);
        const int truncated = opened[names.size()];
        QVERIFY(truncated == 0 || truncated == tries[names.size()]);
        QCOMPARE(opened.back(), 0);
    }

    // The preview describes a shared player's media through it; a player with nothing open gives nothing.
    void openWithPlayer()
    {
        RS_SHARD_UNIT();
        const QString path = rstest::MediaFixtures::standard("mkv_subs_chapters_2audio.mkv");
        rsc_player *player = rsc_player_create(RSC_CREATE_DEFAULT & ~RSC_CREATE_AUDIO_OUTPUT);
        QVERIFY(player);
        InfoHandle h, direct;
        QCOMPARE(rsc_info_open_with_player(h.info, player), 0);
        QCOMPARE(rsc_info_open_with_player(h.info, nullptr), 0);
        QCOMPARE(rsc_player_open(player, path.toUtf8().constData(), 0, 0, 0, 0), 1);
        QCOMPARE(rsc_info_open_with_player(h.info, player), 1);
        QCOMPARE(rsc_info_open_file(direct.info, path.toUtf8().constData()), 1);
        QCOMPARE(rsc_info_duration(h.info), rsc_info_duration(direct.info));
        QCOMPARE(rsc_info_audio_count(h.info), 2u);
        QCOMPARE(rsc_info_chapter_count(h.info), rsc_info_chapter_count(direct.info));
        QCOMPARE(rsc_info_video_width(h.info), rsc_info_video_width(direct.info));
        rsc_player_stop(player);
        rsc_player_close(player);
        QCOMPARE(rsc_info_open_with_player(h.info, player), 0);
        QCOMPARE(rsc_info_has_video(h.info), 0);
        rsc_player_release(player);
    }

    // AVI INFO tags hold the file's own bytes; a Latin-1 title still comes out as UTF-8.
    void latin1TagsBecomeUtf8()
    {
        RS_SHARD_UNIT();
        const QString made = rstest::MediaFixtures::make(
            {"latin1_tags.avi",
             {"-f", "lavfi", "-i", "sine=duration=0.5", "-c:a", "pcm_s16le", "-metadata", "title=CafQ au lait"}});
        QFile file(made);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray bytes = file.readAll();
        const int at = bytes.indexOf("CafQ");
        QVERIFY(at > 0);
        bytes[at + 3] = char(0xE9); // é in Latin-1
        const QString path = rstest::scratchDir("latin1") + "/latin1.avi";
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(out.write(bytes), qint64(bytes.size()));
        out.close();
        InfoHandle h;
        QCOMPARE(rsc_info_open_file(h.info, path.toUtf8().constData()), 1);
        const char *title = static_cast<const char *>(rsc_info_get_metadata(h.info, "title"));
        QVERIFY(title);
        QCOMPARE(QByteArray(title), QString::fromUtf8("Caf\u00e9 au lait").toUtf8());
        QCOMPARE(static_cast<const char *>(rsc_info_get_metadata(h.info, "title")), title); // stable text
    }

    void programs()
    {
        RS_SHARD_UNIT();
        InfoHandle ts, mp4;
        QCOMPARE(rsc_info_open_file(ts.info, rstest::MediaFixtures::standard("h264_aac.ts").toUtf8().constData()), 1);
        QCOMPARE(rsc_info_program_count(ts.info), 1u);
        QCOMPARE(rsc_info_set_program_index(ts.info, 0), 1);
        QCOMPARE(rsc_info_set_program_index(ts.info, 1), 0);
        QVERIFY(rsc_info_program_name(ts.info) != nullptr);
        QCOMPARE(rsc_info_has_video(ts.info), 1);
        QCOMPARE(rsc_info_open_file(mp4.info, rstest::MediaFixtures::standard("audio.m4a").toUtf8().constData()), 1);
        QCOMPARE(rsc_info_program_count(mp4.info), 1u);
        QCOMPARE(QString(rsc_info_program_name(mp4.info)), QString());
    }
};

RS_TEST_MAIN(TestInfo)
#include "tst_info.moc"
