// The media information manager: thumbnails, chapter lists and tags against the recording fake, and the
// tag writer on real files (checked with ffprobe).

#include "TestSupport.h"

#include "AudioTagWriter.h"
#include "FFprobe.h"
#include "MediaFixtures.h"
#include "ZTInfoManager.h"
#include "rscodec_fake.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>

namespace {

QByteArray png(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::blue);
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    return bytes;
}

QString copyFixture(const QString &name, const QString &dirName)
{
    const QString dir = rstest::scratchDir(dirName);
    const QString target = dir + QLatin1Char('/') + name;
    QFile::remove(target);
    if (!QFile::copy(rstest::MediaFixtures::standard(name), target))
        return QString();
    QFile(target).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    return target;
}

QJsonObject lowerKeys(const QJsonObject &o)
{
    QJsonObject out;
    for (auto it = o.begin(); it != o.end(); ++it)
        out.insert(it.key().toLower(), it.value());
    return out;
}

// Tags as ffprobe sees them: the container's, or the first stream's (Ogg keeps them on the stream).
QJsonObject tagsOf(const QString &path)
{
    const QJsonObject probe = rstest::FFprobe::probe(path);
    QJsonObject tags = lowerKeys(probe.value("format").toObject().value("tags").toObject());
    for (const QJsonValue &s : probe.value("streams").toArray()) {
        const QJsonObject st = lowerKeys(s.toObject().value("tags").toObject());
        for (auto it = st.begin(); it != st.end(); ++it)
            if (!tags.contains(it.key()))
                tags.insert(it.key(), it.value());
    }
    return tags;
}

// An empty file in a fresh scratch folder that the recording codec library describes as m; empty when the
// file cannot be made.
QString fakeMediaFile(const char *dirName, const char *fileName, const rscfake::FakeMedia &m)
{
    const QString path = rstest::scratchDir(QString::fromLatin1(dirName)) + QLatin1Char('/') + QLatin1String(fileName);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return QString();
    f.close();
    rscfake::setMedia(path.toStdString(), m);
    return path;
}

} // namespace

class TestInfoManager : public QObject
{
    Q_OBJECT
private slots:
    void init() { rscfake::reset(); }

    void scaling_data()
    {
        QTest::addColumn<QSize>("source");
        QTest::addColumn<int>("size");
        QTest::addColumn<QSize>("result");
        QTest::newRow("one pass") << QSize(400, 300) << 120 << QSize(160, 120);
        QTest::newRow("two passes") << QSize(1920, 1080) << 120 << QSize(213, 120);
        QTest::newRow("large picture") << QSize(4000, 3000) << 50 << QSize(66, 50);
        QTest::newRow("never enlarged") << QSize(100, 80) << 120 << QSize(100, 80);
        QTest::newRow("square") << QSize(200, 200) << 120 << QSize(120, 120);
        QTest::newRow("portrait") << QSize(300, 600) << 120 << QSize(120, 240);
    }
    void scaling()
    {
        QFETCH(QSize, source);
        QFETCH(int, size);
        QFETCH(QSize, result);
        QImage img(source, QImage::Format_RGB32);
        img.fill(Qt::green);
        QCOMPARE(ZTInfoManager::scaleImage(img, size).size(), result);
        QVERIFY(ZTInfoManager::scaleImage(QImage(), size).isNull());
    }

    void timeTexts_data()
    {
        QTest::addColumn<quint64>("us");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << quint64(0) << "00:00:00";
        QTest::newRow("under a tenth") << quint64(59999) << "00:00:00";
        QTest::newRow("one second") << quint64(1000000) << "00:00:01";
        QTest::newRow("1:02:05") << quint64(3725000000ULL) << "01:02:05";
        QTest::newRow("100 h") << quint64(360000000000ULL) << "100:00:00";
    }
    void timeTexts()
    {
        QFETCH(quint64, us);
        QFETCH(QString, text);
        QCOMPARE(ZTInfoManager::timeToString(us), text);
    }

    void chapterList()
    {
        rscfake::FakeMedia m;
        m.duration = 3725000000ULL;
        for (int i = 0; i < 12; ++i)
            m.chapters.push_back({quint64(i) * 1000000, 1000000, i == 1 ? "" : "Part", i != 1});
        const QString path = fakeMediaFile("chapters", "c.mkv", m);
        QVERIFY(!path.isEmpty());
        ZTInfoManager manager;
        QVERIFY(manager.getChapterInfo().isEmpty());
        manager.createrPlayer();
        QVERIFY(manager.setMediaFile(path));
        const QList<VEChapterInfo> list = manager.getChapterInfo();
        QCOMPARE(list.size(), 13);
        QCOMPARE(list[0].nIndex, 0);
        QCOMPARE(QString::fromUtf8(list[0].strShowText), QStringLiteral("Current, 00:00:00-01:02:05"));
        QCOMPARE(QString::fromUtf8(list[1].strShowText), QStringLiteral("  1, 00:00:00-00:00:01 (Part)"));
        QCOMPARE(QString::fromUtf8(list[2].strShowText), QStringLiteral("  2, 00:00:01-00:00:02 ()"));
        QCOMPARE(list[2].strChapterTitle, QByteArray());
        QVERIFY(list[12].strShowText.startsWith("12, "));
        QCOMPARE(list[12].nEndTime, 12000000ULL);

        m.chapters.clear();
        rscfake::setMedia(path.toStdString(), m);
        QVERIFY(manager.setMediaFile(path));
        QVERIFY(manager.getChapterInfo().isEmpty());
    }

    void tagsAndThumbnail()
    {
        rscfake::FakeMedia m;
        m.metadata["date"] = "2021-05-01";
        m.metadata["title"] = "Song";
        rscfake::FakeStream v;
        v.width = 400;
        v.height = 300;
        m.video.push_back(v);
        const QByteArray cover = png(40, 30);
        m.cover.assign(cover.begin(), cover.end());
        const QString path = fakeMediaFile("tags", "t.mp4", m);
        QVERIFY(!path.isEmpty());
        ZTInfoManager manager;
        manager.createrPlayer();
        QVERIFY(manager.setMediaFile(path));
        const VEAudioTagInfo tags = manager.getAudioTagInfo();
        QCOMPARE(tags.title, QByteArray("Song"));
        QCOMPARE(tags.year, QByteArray("2021-05-01"));
        QCOMPARE(tags.date, QByteArray("2021-05-01"));
        QCOMPARE(tags.coverImage, cover);
        QCOMPARE(tags.coverSize, quint32(cover.size()));
        // The cover wins over the first frame.
        QCOMPARE(manager.getThumbnail(120).size(), QSize(40, 30));

        m.cover.clear();
        rscfake::setMedia(path.toStdString(), m);
        QVERIFY(manager.setMediaFile(path));
        QCOMPARE(manager.getThumbnail(120).size(), QSize(160, 120));
        QCOMPARE(rscfake::count("rsc_info_free_video_image"), 1);
    }

    void stillImageWithoutBmpHeaderIsRefused()
    {
        // Its "length" would be read from bytes that are not a header.
        const unsigned char notBmp[8] = {'P', 'K', 0xff, 0xff, 0xff, 0x7f, 0, 0};
        QVERIFY(ZTInfoManager::scaleImageFromUChar(notBmp, 120).isNull());
        QVERIFY(ZTInfoManager::scaleImageFromUChar(nullptr, 120).isNull());
        QImage image(8, 6, QImage::Format_RGB32);
        image.fill(Qt::red);
        QByteArray bmp;
        QBuffer buffer(&bmp);
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(image.save(&buffer, "BMP"));
        QCOMPARE(
            ZTInfoManager::scaleImageFromUChar(reinterpret_cast<const unsigned char *>(bmp.constData()), 120).size(),
            QSize(8, 6));
    }

    void missingFileKeepsThePath()
    {
        ZTInfoManager manager;
        manager.createrPlayer();
        const QString missing = rstest::scratchDir("missing") + "/nothing.mp3";
        QVERIFY(!manager.setMediaFile(missing));
        VEAudioTagInfo info;
        info.title = "x";
        QVERIFY(!manager.setAudioTag(info));
        QVERIFY(!QFile::exists(missing));
    }

    void writesTagsIntoACopyAndReplacesTheFile_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::newRow("mp3") << "audio.mp3";
        QTest::newRow("m4a") << "audio.m4a";
        QTest::newRow("flac") << "audio.flac";
        QTest::newRow("ogg") << "audio.ogg";
        QTest::newRow("wav") << "audio.wav";
    }
    void writesTagsIntoACopyAndReplacesTheFile()
    {
        QFETCH(QString, fixture);
        const QString path = copyFixture(fixture, QStringLiteral("tagwrite-") + fixture);
        QVERIFY(!path.isEmpty());
        const int streamsBefore = rstest::FFprobe::streams(path).size();
        VEAudioTagInfo info;
        info.title = "Ünïcödé Title";
        info.artist = "The Artist";
        info.album = "An Album";
        info.genre = "Jazz";
        info.year = "1999";
        info.comment = "said so";
        info.coverImage = png(32, 32);
        info.coverSize = quint32(info.coverImage.size());
        ZTInfoManager manager;
        QVERIFY(manager.setAudioTag(info, path));
        const QJsonObject tags = tagsOf(path);
        QCOMPARE(tags.value("title").toString(), QStringLiteral("Ünïcödé Title"));
        QCOMPARE(tags.value("artist").toString(), QStringLiteral("The Artist"));
        QCOMPARE(tags.value("album").toString(), QStringLiteral("An Album"));
        QCOMPARE(tags.value("genre").toString(), QStringLiteral("Jazz"));
        // The audio is untouched and still decodes.
        QCOMPARE(rstest::FFprobe::decodeErrors(path), QString());
        QVERIFY(rstest::FFprobe::streams(path, "audio").size() == 1);
        QVERIFY(rstest::FFprobe::streams(path).size() >= streamsBefore);
        // No temporary copy is left beside the file.
        QCOMPARE(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    void linkedFileKeepsItsLink()
    {
        const QString path = copyFixture(QStringLiteral("audio.mp3"), QStringLiteral("tag-linked.mp3"));
        QVERIFY(!path.isEmpty());
        const QString link = rstest::scratchDir(QStringLiteral("taglink")) + QStringLiteral("/link.mp3");
        QFile::remove(link);
        QVERIFY(QFile::link(path, link));
        VEAudioTagInfo info;
        info.title = "Through a link";
        ZTInfoManager manager;
        QVERIFY(manager.setAudioTag(info, link));
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(tagsOf(path).value("title").toString(), QStringLiteral("Through a link"));
    }

    void failedWriteLeavesTheOriginal()
    {
        const QString dir = rstest::scratchDir(QStringLiteral("tagfail"));
        const QString path = dir + QStringLiteral("/not-audio.mp3");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("this is not an mp3 file at all");
        f.close();
        VEAudioTagInfo info;
        info.title = "x";
        ZTInfoManager manager;
        QVERIFY(!manager.setAudioTag(info, path));
        QFile again(path);
        QVERIFY(again.open(QIODevice::ReadOnly));
        QCOMPARE(again.readAll(), QByteArray("this is not an mp3 file at all"));
        QCOMPARE(QDir(dir).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    void fullDiskKeepsTheOriginal_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<bool>("limited");
        for (const char *name : {"lame.mp3", "oggenc.ogg", "flac.flac", "gst_aac.m4a", "sox.wav"}) {
            QTest::newRow(qPrintable(QStringLiteral("%1, disk full").arg(QLatin1String(name))))
                << QString::fromLatin1(name) << true;
            QTest::newRow(qPrintable(QStringLiteral("%1, room enough").arg(QLatin1String(name))))
                << QString::fromLatin1(name) << false;
        }
    }
    void fullDiskKeepsTheOriginal()
    {
        // A writer stopped by a full disk (a file-size limit in a child process) must report failure and
        // leave the original byte for byte, with no copy beside it.
        QFETCH(QString, fixture);
        QFETCH(bool, limited);
        QString missing;
        if (!rstest::MediaFixtures::haveTools(rstest::MediaFixtures::foreignTools(), &missing))
            QFAIL(qPrintable(missing + QStringLiteral(" is not installed (scripts/install-deps.sh)")));
        const QString dir = rstest::scratchDir(QStringLiteral("fulldisk"));
        const QString path = dir + QLatin1Char('/') + fixture;
        QVERIFY(QFile::copy(rstest::MediaFixtures::foreign(fixture), path));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray before = f.readAll();
        f.close();
        // Room for the plain copy, not for the 256 KiB cover the child adds.
        const qint64 limit = limited ? before.size() + 64 * 1024 : 0;
        QProcess child;
        child.start(QStringLiteral(TAGWRITE_CHILD), {path, QString::number(limit)});
        QVERIFY(child.waitForFinished(60000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), limited ? 1 : 0);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray after = f.readAll();
        f.close();
        QCOMPARE(QDir(dir).entryList(QDir::Files | QDir::Hidden), QStringList{fixture});
        if (limited) {
            QVERIFY(after == before);
        } else {
            QVERIFY(after.size() > before.size() + 256 * 1024);
            QVERIFY2(rstest::FFprobe::decodeErrors(path).isEmpty(), qPrintable(path));
            QVERIFY(qAbs(rstest::FFprobe::durationSeconds(path) - 1.0) < 0.1);
        }
    }

    void writerCallSequence()
    {
        // Open refuses what is not a readable file; Release is safe after a failed open.
        AudioTagWriter *w = AudioTagWriter::Create();
        const uint32_t none[] = {'/', 'n', 'o', 0};
        QVERIFY(w->Open(none) != 0);
        QVERIFY(w->Save() != 0);
        QVERIFY(w->Close() != 0);
        QVERIFY(!w->committed());
        AudioTagWriter::Release(w);
    }
};

RS_TEST_MAIN(TestInfoManager)
#include "tst_infomanager.moc"
