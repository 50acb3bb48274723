// The clip probe on real files with the real codec library, checked against ffprobe: what it refuses,
// what it finds, and the choice lists it builds.

#include "TestSupport.h"

#include "FFprobe.h"
#include "MediaFixtures.h"
#include "ZtVideoConvertItem.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>

class TestProbeMedia : public QObject
{
    Q_OBJECT
private slots:
    void refusesWhatItCannotRead_data()
    {
        QTest::addColumn<QString>("bad");
        QTest::newRow("empty") << "empty.mp4";
        QTest::newRow("text") << "text.mp4";
    }
    void refusesWhatItCannotRead()
    {
        QFETCH(QString, bad);
        ZtVideoConvertItem item;
        QVERIFY(!item.setVideoPath(rstest::MediaFixtures::badFile(bad), 0));
        ZtVideoConvertItem missing;
        QVERIFY(!missing.setVideoPath(QStringLiteral("/no/such/file.mp4"), 0));
    }

    void agreesWithFfprobe_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<QString>("container");
        for (const char *name :
             {"h264_aac.mp4", "h264_aac.mov", "h264_aac.ts", "vp9_opus.webm", "mpeg4_mp3.avi", "h263_aac.3gp",
              "theora_vorbis.ogv", "video_only.mp4", "odd_size.mkv", "audio.mp3", "audio.flac", "audio.wav"})
            QTest::newRow(name) << name << "";
    }
    void agreesWithFfprobe()
    {
        QFETCH(QString, fixture);
        const QString path = rstest::MediaFixtures::standard(fixture);
        ZtVideoConvertItem item;
        QVERIFY(item.setVideoPath(path, 0));
        const QJsonArray video = rstest::FFprobe::streams(path, "video");
        const QJsonArray audio = rstest::FFprobe::streams(path, "audio");
        QCOMPARE(item.m_bHasVideo, !video.isEmpty());
        QCOMPARE(item.m_bHasAudio, !audio.isEmpty());
        QCOMPARE(item.m_videoTracks.size(), video.size());
        QCOMPARE(item.m_audioTracks.size(), audio.size());
        QCOMPARE(item.m_audioList.size(), audio.size());
        QCOMPARE(item.m_editConfig.audioList, item.m_audioList);
        QVERIFY(qAbs(double(item.m_nDuration) / 1e6 - rstest::FFprobe::durationSeconds(path)) < 0.1);
        QVERIFY(!item.m_strFormatName.isEmpty());
        if (!video.isEmpty()) {
            const QJsonObject v = video.first().toObject();
            QCOMPARE(int(item.m_nWidth), v.value("width").toInt());
            QCOMPARE(int(item.m_nHeight), v.value("height").toInt());
            QCOMPARE(QString::fromUtf8(item.m_videoTracks[0].formatName), v.value("codec_name").toString());
            QVERIFY(item.m_pCoverImage && !item.m_pCoverImage->isNull());
            QVERIFY(qMax(item.m_pCoverImage->width(), item.m_pCoverImage->height()) <= 120);
        } else {
            QVERIFY(!item.m_pCoverImage);
        }
        if (!audio.isEmpty()) {
            const QJsonObject a = audio.first().toObject();
            QCOMPARE(QString::fromUtf8(item.m_audioTracks[0].formatName), a.value("codec_name").toString());
            QCOMPARE(QString::number(item.m_audioTracks[0].value3), a.value("sample_rate").toString());
        }
        // "No Subtitle" and the closed captions are always offered.
        QCOMPARE(item.m_subltList.first()->label, QStringLiteral("No Subtitle"));
        QCOMPARE(item.m_editConfig.subtitleItems.size(), item.m_subltList.size());
    }

    // The container a high-speed join keeps for "Original": a Matroska file remuxed from an MP4 carries
    // the MP4's brand as a tag, and is still Matroska.
    void containerName_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<QString>("container");
        QTest::newRow("mp4") << "h264_aac.mp4"
                             << "mp4";
        QTest::newRow("mov") << "h264_aac.mov"
                             << "mov";
        QTest::newRow("webm") << "vp9_opus.webm"
                              << "webm";
        QTest::newRow("mkv") << "odd_size.mkv"
                             << "matroska";
        QTest::newRow("mkv remuxed from mp4") << "remuxed_from_mp4.mkv"
                                              << "matroska";
    }
    void containerName()
    {
        QFETCH(QString, fixture);
        QFETCH(QString, container);
        const QString path = fixture == QLatin1String("remuxed_from_mp4.mkv")
                                 ? rstest::MediaFixtures::makeByCommand(
                                       fixture, QStringLiteral("ffmpeg -v error -i '%1' -c copy \"$OUT\"")
                                                    .arg(rstest::MediaFixtures::standard("h264_aac.mp4")))
                                 : rstest::MediaFixtures::standard(fixture);
        ZtVideoConvertItem item;
        QVERIFY(item.setVideoPath(path, 0));
        QCOMPARE(item.m_strFormatName, container);
    }

    void streamsLanguagesAndChapters()
    {
        const QString path = rstest::MediaFixtures::standard("mkv_subs_chapters_2audio.mkv");
        ZtVideoConvertItem item;
        QVERIFY(item.setVideoPath(path, 0));
        QCOMPARE(item.m_audioList, QStringList({"English(Main)", "French(Commentary)"}));
        QCOMPARE(item.m_subtitleTracks.size(), 1);
        QCOMPARE(item.m_editConfig.subtitleValue.subtitleCount, 1);
        QCOMPARE(item.m_subltList.size(), 3);
        QCOMPARE(item.m_subltList[1]->label, QStringLiteral("English (subrip)"));
        QCOMPARE(item.m_subltList[2]->label, QStringLiteral("Video Internal CC"));
        QCOMPARE(item.m_splitInfo.nChapters, 2);
        Split_Info byChapters;
        byChapters.nMode = 3;
        item.setSplitInfo(byChapters);
        QCOMPARE(item.m_splitList.size(), 2);
        QCOMPARE(item.m_splitList[1]->start, 2000000ULL);
        QCOMPARE(item.m_splitList[1]->end, 4000000ULL);
    }

    void coverArtAndSideSubtitles()
    {
        ZtVideoConvertItem song;
        QVERIFY(song.setVideoPath(rstest::MediaFixtures::standard("cover_art.mp3"), 0));
        QVERIFY(!song.m_bHasVideo || song.m_nWidth == 64);
        QVERIFY(song.m_pCoverImage);
        QCOMPARE(song.m_pCoverImage->size().width() > 0, true);
        QVERIFY(song.m_nCoverSize > 0);

        const QString dir = rstest::scratchDir(QStringLiteral("side.subs"));
        const QString clip = dir + QStringLiteral("/holiday.mp4");
        QVERIFY(QFile::copy(rstest::MediaFixtures::standard("h264_aac.mp4"), clip));
        for (const char *side : {"holiday.srt", "holiday.vtt"}) {
            QFile f(dir + QLatin1Char('/') + QLatin1String(side));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("1\n00:00:00,000 --> 00:00:01,000\nHi\n");
        }
        ZtVideoConvertItem item;
        QVERIFY(item.setVideoPath(clip, 0));
        QStringList labels;
        for (const subltItemInfo *s : qAsConst(item.m_subltList))
            labels << s->label;
        QCOMPARE(labels, QStringList({"No Subtitle", "Video Internal CC", "(holiday)[SRT]", "(holiday)[WEBVTT]"}));
    }
};

RS_TEST_MAIN(TestProbeMedia)
#include "tst_probe_media.moc"
