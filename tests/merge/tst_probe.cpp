// The clip probe against scripted media of the recording fake: names, refused brands, cover and
// thumbnail, track records, choice lists and the seeded edit record.

#include "TestSupport.h"

#include "ZtVideoConvertItem.h"
#include "rscodec_fake.h"

#include <QBuffer>
#include <QDir>
#include <QFile>

namespace {

rscfake::FakeStream stream(const std::string &title, const std::string &format, const std::string &language)
{
    rscfake::FakeStream s;
    s.title = title;
    s.format = format;
    s.language = language;
    return s;
}

rscfake::FakeMedia videoMedia(uint32_t w = 320, uint32_t h = 240)
{
    rscfake::FakeMedia m;
    m.duration = 9000000;
    rscfake::FakeStream v = stream("", "h264", "");
    v.width = w;
    v.height = h;
    v.values[1] = 27;
    v.privateData = {1, 2, 3};
    m.video.push_back(v);
    m.audio.push_back(stream("", "aac", ""));
    m.metadata["ffmpeg_format"] = "mov,mp4,m4a,3gp,3g2,mj2";
    m.metadata["major_brand"] = "isom";
    return m;
}

std::vector<uint8_t> pngBytes(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::red);
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

QStringList calls(const char *prefix)
{
    QStringList out;
    for (const std::string &c : rscfake::calls(prefix))
        out << QString::fromStdString(c);
    return out;
}

QStringList sourceLabels(const ZtVideoConvertItem &item)
{
    QStringList out;
    for (const subltItemInfo *s : item.m_subltList)
        out << s->label;
    return out;
}

} // namespace

class TestProbe : public QObject
{
    Q_OBJECT
private slots:
    void init() { rscfake::reset(); }

    void namesFromThePath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("extension");
        QTest::newRow("backslashes") << "C:\\clips\\a.MOV"
                                     << "C:/clips/a.MOV"
                                     << "a.MOV"
                                     << "MOV";
        QTest::newRow("no extension") << "/v.d/noext"
                                      << "/v.d/noext"
                                      << "noext"
                                      << "mp4";
        QTest::newRow("dots") << "/v/my.holiday.mkv"
                              << "/v/my.holiday.mkv"
                              << "my.holiday.mkv"
                              << "mkv";
    }
    void namesFromThePath()
    {
        QFETCH(QString, path);
        QFETCH(QString, stored);
        QFETCH(QString, fileName);
        QFETCH(QString, extension);
        rscfake::setMedia("*", videoMedia());
        ZtVideoConvertItem item;
        QVERIFY(item.setVideoPath(path, 3));
        QCOMPARE(item.getFilePath(), stored);
        QCOMPARE(item.m_strFileName, fileName);
        QCOMPARE(item.m_strExtend, extension);
        QCOMPARE(item.m_nDVDProgram, 3);
        QCOMPARE(item.m_nDuration, 9000000ULL);
        QCOMPARE(item.m_nWidth, 320u);
        // The handle is closed and released on every path.
        QCOMPARE(rscfake::count("rsc_info_release"), rscfake::count("rsc_info_create"));
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("brand");
        QTest::addColumn<QString>("formatId");
        QTest::addColumn<bool>("openable");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("aax with blank, any case") << "AAX "
                                                  << "" << true << false;
        QTest::newRow("aax without blank") << "aax"
                                           << "" << true << true;
        QTest::newRow("no brand, aa demuxer") << ""
                                              << "aa" << true << false;
        QTest::newRow("unreadable") << "isom"
                                    << "" << false << false;
        QTest::newRow("plain mp4") << "isom"
                                   << "mov,mp4" << true << true;
    }
    void refusals()
    {
        QFETCH(QString, brand);
        QFETCH(QString, formatId);
        QFETCH(bool, openable);
        QFETCH(bool, accepted);
        rscfake::FakeMedia m = videoMedia();
        if (brand.isEmpty())
            m.metadata.erase("major_brand");
        else
            m.metadata["major_brand"] = brand.toStdString();
        m.formatId = formatId.toStdString();
        m.openable = openable;
        rscfake::setMedia("/clips/x.mp4", m);
        ZtVideoConvertItem item;
        QCOMPARE(item.setVideoPath(QStringLiteral("/clips/x.mp4"), 0), accepted);
        QCOMPARE(rscfake::count("rsc_info_release"), rscfake::count("rsc_info_create"));
    }

    void containerName_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("brand");
        QTest::addColumn<QString>("container");
        QTest::newRow("quicktime") << "mov,mp4,m4a,3gp,3g2,mj2"
                                   << "qt  "
                                   << "mov";
        QTest::newRow("3gp") << "mov,mp4,m4a,3gp,3g2,mj2"
                             << "3gp5"
                             << "3gp";
        QTest::newRow("mp4") << "mov,mp4,m4a,3gp,3g2,mj2"
                             << "isom"
                             << "mp4";
    }
    void containerName()
    {
        QFETCH(QString, format);
        QFETCH(QString, brand);
        QFETCH(QString, container);
        rscfake::FakeMedia m = videoMedia();
        m.metadata["ffmpeg_format"] = format.toStdString();
        m.metadata["major_brand"] = brand.toStdString();
        rscfake::setMedia("*", m);
        ZtVideoConvertItem item;
        QVERIFY(item.setVideoPath(QStringLiteral("/clips/a.mp4"), 0));
        QCOMPARE(item.m_strFormatName, container);
    }

    void thumbnailBox_data()
    {
        QTest::addColumn<uint>("w");
        QTest::addColumn<uint>("h");
        QTest::addColumn<QSize>("box");
        QTest::newRow("landscape") << 1920u << 1080u << QSize(120, 67);
        QTest::newRow("portrait") << 1080u << 1920u << QSize(67, 120);
        QTest::newRow("square") << 500u << 500u << QSize(120, 120);
    }
    void thumbnailBox()
    {
        QFETCH(uint, w);
        QFETCH(uint, h);
        QFETCH(QSize, box);
        rscfake::setMedia("*", videoMedia(w, h));
        ZtVideoConvertItem item;
        QVERIFY(item.setVideoPath(QStringLiteral("/clips/a.mp4"), 0));
        QCOMPARE(calls("rsc_info_get_video_image("),
                 QStringList({QStringLiteral("rsc_info_get_video_image(info#1, 3000000, 1, %1, %2, 0)")
                                  .arg(box.width())
                                  .arg(box.height())}));
        QVERIFY(item.m_pCoverImage);
        QCOMPARE(item.m_pCoverImage->size(), box);
        QVERIFY(item.m_nCoverSize > 0);
        QCOMPARE(rscfake::count("rsc_info_free_video_image"), 1);
    }

    void covers_data()
    {
        QTest::addColumn<bool>("hasVideo");
        QTest::addColumn<int>("coverKind"); // 0 none, 1 png, 2 bytes Qt cannot read
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("streams");
        QTest::newRow("audio with cover") << false << 1 << QSize(30, 20) << 0;
        QTest::newRow("audio without cover") << false << 0 << QSize() << 0;
        QTest::newRow("video with cover") << true << 1 << QSize(30, 20) << 0;
        QTest::newRow("video, cover only the library reads") << true << 2 << QSize(320, 240) << 1;
    }
    void covers()
    {
        QFETCH(bool, hasVideo);
        QFETCH(int, coverKind);
        QFETCH(QSize, size);
        QFETCH(int, streams);
        rscfake::FakeMedia m = videoMedia();
        if (!hasVideo)
            m.video.clear();
        if (coverKind == 1)
            m.cover = pngBytes(30, 20);
        else if (coverKind == 2)
            m.cover = {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07};
        rscfake::setMedia("*", m);
        ZtVideoConvertItem item;
        QVERIFY(item.setVideoPath(QStringLiteral("/clips/a.m4a"), 0));
        QCOMPARE(rscfake::count("rsc_memstream_create"), streams);
        QCOMPARE(rscfake::count("rsc_memstream_release"), streams);
        if (!size.isValid()) {
            QVERIFY(!item.m_pCoverImage);
            QCOMPARE(item.m_nCoverSize, 0);
            return;
        }
        QVERIFY(item.m_pCoverImage);
        QCOMPARE(item.m_pCoverImage->size(), size);
        QImage fromBytes;
        QVERIFY(fromBytes.loadFromData(reinterpret_cast<const uchar *>(item.m_pCoverBytes), item.m_nCoverSize));
        QCOMPARE(fromBytes.size(), size);
    }

    void tracksAndChoiceLists()
    {
        rscfake::FakeMedia m = videoMedia();
        m.video[0].title = "Main";
        m.video[0].language = "ger";
        m.audio.clear();
        m.audio.push_back(stream("Commentary", "aac", "eng"));
        m.audio.push_back(stream("", "aac", "und"));
        m.audio.push_back(stream("", "", ""));
        m.audio[0].values[2] = 86018;
        m.audio[0].privateData = {0x12, 0x10};
        m.subtitle.push_back(stream("Forced", "subrip", "fre"));
        m.subtitle.push_back(stream("", "ass", "el"));
        rscfake::setMedia("*", m);
        ZtVideoConvertItem item;
        QVERIFY(item.setVideoPath(QStringLiteral("/clips/a.mkv"), 0));

        QCOMPARE(item.m_audioList, QStringList({"English(Commentary)", "Undefined(aac)", "()"}));
        QCOMPARE(item.m_videoTracks.size(), 1);
        QCOMPARE(item.m_videoTracks[0].label, QByteArray("Main (German)"));
        QCOMPARE(item.m_videoTracks[0].language, QByteArray("German"));
        QCOMPARE(item.m_videoTracks[0].value1, 27u);
        QCOMPARE(item.m_videoTracks[0].privateDataSize, 3);
        QCOMPARE(item.m_audioTracks.size(), 3);
        QCOMPARE(item.m_audioTracks[0].value2, 86018u);
        QCOMPARE(item.m_audioTracks[0].value1, 0u);
        QCOMPARE(item.m_audioTracks[2].privateDataSize, 0);
        QVERIFY(item.m_audioTracks[2].privateData == nullptr);
        QCOMPARE(item.m_subtitleTracks.size(), 2);
        QCOMPARE(item.m_subtitleTracks[0].label, QByteArray("French (Forced)[subrip]"));
        QCOMPARE(item.m_subtitleTracks[0].source, QByteArray("Embedded"));
        QCOMPARE(item.m_subtitleTracks[1].language, QByteArray("Greek,Modern()"));
        QCOMPARE(sourceLabels(item), QStringList({"No Subtitle", "French (Forced)(subrip)", "Greek, Modern () (ass)",
                                                  "Video Internal CC"}));

        const VEEditConfig &e = item.m_editConfig;
        QCOMPARE(e.subtitleValue.subtitleCount, 2);
        QCOMPARE(e.subtitleValue.subtitleRow, 0);
        QCOMPARE(e.subtitleValue.audioIndex, 0);
        QCOMPARE(e.audioList, item.m_audioList);
        QCOMPARE(e.subtitleItems.size(), 4);
        QCOMPARE(e.subtitleItems[3].label, QByteArray("Video Internal CC"));
        QCOMPARE(item.m_splitInfo.nMode, 0);
    }

    void subtitleFilesBesideTheClip()
    {
        // The folder has a "." and the clip has none: the base still comes from the file name.
        const QString dir = rstest::scratchDir(QStringLiteral("with.dot"));
        for (const char *name : {"movie.srt", "movie.ass", "movie.vtt.bak", "with.srt"}) {
            QFile f(dir + QLatin1Char('/') + QLatin1String(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        rscfake::setMedia("*", videoMedia());
        ZtVideoConvertItem item;
        QVERIFY(item.setVideoPath(dir + QStringLiteral("/movie"), 0));
        QCOMPARE(sourceLabels(item), QStringList({"No Subtitle", "Video Internal CC", "(movie)[ASS]", "(movie)[SRT]"}));
        QCOMPARE(item.m_subltList.last()->filePath, (dir + QStringLiteral("/movie.srt")).toUtf8());
        QCOMPARE(item.m_editConfig.subtitleItems.last().filePath, (dir + QStringLiteral("/movie.srt")).toUtf8());
    }
};

RS_TEST_MAIN(TestProbe)
#include "tst_probe.moc"
