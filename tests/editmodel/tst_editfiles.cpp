// The clip editor's files: the snapshot settings file and the effect, frame and sound-effect packages.
#include "QAudioEffectManager.h"
#include "QFrameChunkManager.h"
#include "QIAnyUtil.h"
#include "QReadFrameXML.h"
#include "QVedioEditSettingXml.h"
#include "QVideoEffectManager.h"
#include "TestSupport.h"

#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QImage>
#include <QScopedPointer>

namespace {

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString attributeOf(const QString &attribute)
{
    QDomDocument doc;
    QFile f(QVedioEditSettingXml::filePath());
    if (!f.open(QIODevice::ReadOnly) || !doc.setContent(&f))
        return QStringLiteral("<unreadable>");
    return doc.documentElement().firstChildElement(QStringLiteral("Screenshots")).attribute(attribute);
}

} // namespace

class TestEditFiles : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        QIAnyUtil::setApplicationDirPathForTesting(rstest::bundleDir() + QStringLiteral("/Contents"));
        QFile::remove(QVedioEditSettingXml::filePath());
        QFile::remove(QVedioEditSettingXml::filePath() + QStringLiteral(".bad"));
        QFile::remove(QVedioEditSettingXml::filePath() + QStringLiteral(".bad.1"));
    }

    // ----- snapshot settings file

    void snapshotSettingsRoundTrip()
    {
        QCOMPARE(QVedioEditSettingXml::getCaptureImgSuffix(), QStringLiteral("JPG"));
        const QByteArray written = readFile(QVedioEditSettingXml::filePath());
        QVERIFY(written.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
        QCOMPARE(attributeOf(QStringLiteral("IMG_SUFFIX")), QStringLiteral("JPG"));
        const QString folder = QVedioEditSettingXml::getCaptrueImaSavePath();
        QVERIFY(folder.endsWith(QLatin1String("/Converted/Screenshots/")));
        QVERIFY(QFileInfo(folder).isDir()); // the default folder is made
        QVERIFY(QVedioEditSettingXml::setCaptureImgSuffix(QStringLiteral("PNG")));
        QVERIFY(QVedioEditSettingXml::setCaptrueImaPath(QStringLiteral("/tmp/shots")));
        QCOMPARE(QVedioEditSettingXml::getCaptureImgSuffix(), QStringLiteral("PNG"));
        QCOMPARE(QVedioEditSettingXml::getCaptrueImaSavePath(), QStringLiteral("/tmp/shots"));
        // A folder stored without its final "/" still names the folder.
        QCOMPARE(QVedioEditSettingXml::captureFilePath(QStringLiteral("ScreenCapture_1.PNG")),
                 QStringLiteral("/tmp/shots/ScreenCapture_1.PNG"));
        QVERIFY(QVedioEditSettingXml::setCaptrueImaPath(QStringLiteral("/tmp/shots/")));
        QCOMPARE(QVedioEditSettingXml::captureFilePath(QStringLiteral("a.JPG")), QStringLiteral("/tmp/shots/a.JPG"));
    }

    // A setter on a missing file, or a file without the element, stores its value (it used to be dropped).
    void settersCreateWhatIsMissing_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::newRow("no file") << QByteArray();
        QTest::newRow("no Screenshots element") << QByteArray("<ROOTITEM><Other a=\"1\"/></ROOTITEM>\n");
        QTest::newRow("not XML") << QByteArray("this is <not xml");
    }

    void settersCreateWhatIsMissing()
    {
        QFETCH(QByteArray, before);
        if (!before.isEmpty())
            writeFile(QVedioEditSettingXml::filePath(), before);
        QVERIFY(QVedioEditSettingXml::setCaptureImgSuffix(QStringLiteral("PNG")));
        QCOMPARE(attributeOf(QStringLiteral("IMG_SUFFIX")), QStringLiteral("PNG"));
        QCOMPARE(QVedioEditSettingXml::getCaptureImgSuffix(), QStringLiteral("PNG"));
        if (before.startsWith("this"))
            QCOMPARE(readFile(QVedioEditSettingXml::filePath() + ".bad"), before); // kept, not lost
        if (before.contains("Other"))
            QVERIFY(readFile(QVedioEditSettingXml::filePath()).contains("<Other a=\"1\"/>"));
    }

    // A second unreadable version is kept beside the first one, not over it.
    void everyUnreadableVersionIsKept()
    {
        const QString path = QVedioEditSettingXml::filePath();
        writeFile(path, "first <not xml");
        QVERIFY(QVedioEditSettingXml::setCaptureImgSuffix(QStringLiteral("PNG")));
        writeFile(path, "second <not xml");
        QCOMPARE(QVedioEditSettingXml::getCaptureImgSuffix(), QStringLiteral("JPG"));
        QCOMPARE(readFile(path + ".bad"), QByteArray("first <not xml"));
        QCOMPARE(readFile(path + ".bad.1"), QByteArray("second <not xml"));
        QVERIFY(readFile(path).startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    }

    void gettersFillEmptyValuesAndReadTheFirstElement()
    {
        writeFile(QVedioEditSettingXml::filePath(),
                  "<ROOTITEM><Screenshots IMG_SUFFIX=\"\" IMG_Folder=\"/x\"/><Screenshots IMG_SUFFIX=\"PNG\"/>"
                  "</ROOTITEM>");
        QCOMPARE(QVedioEditSettingXml::getCaptureImgSuffix(), QStringLiteral("JPG"));
        QCOMPARE(attributeOf(QStringLiteral("IMG_SUFFIX")), QStringLiteral("JPG"));
        QCOMPARE(QVedioEditSettingXml::getCaptrueImaSavePath(), QStringLiteral("/x"));
        QVERIFY(readFile(QVedioEditSettingXml::filePath()).contains("IMG_SUFFIX=\"PNG\"")); // second one untouched
    }

    void failedSaveIsReported()
    {
        // The settings file's name is taken by a folder: nothing can be written, for root too.
        QDir().mkpath(QVedioEditSettingXml::filePath());
        QVERIFY(!QVedioEditSettingXml::setCaptureImgSuffix(QStringLiteral("PNG")));
        QCOMPARE(QVedioEditSettingXml::getCaptureImgSuffix(), QStringLiteral("JPG"));
        QDir(QVedioEditSettingXml::filePath()).removeRecursively();
    }

    // ----- packages

    void readingOnePackage_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("items");
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("rate");
        QTest::newRow("bare root") << QByteArray("<P/>") << 0 << QString() << 0 << 0 << 100;
        QTest::newRow("full") << QByteArray("<P Version=\"3\" APPMinVersion=\"1\" Name=\"Glow\" Thumbnail=\"t.png\">"
                                            "<FrameInfo Name=\"a\"><I FileName=\"x.png\" Width=\"16\" Height=\"9\" "
                                            "Type=\"1\"/><I FileName=\"y.png\" Width=\"4\" Height=\"3\"/></FrameInfo>"
                                            "<EQ><p hz=\"60\" db=\"3\"/><p hz=\"1000\" db=\"-2\"/></EQ>"
                                            "<Rate Value=\"140\"/></P>")
                              << 3 << "Glow" << 2 << 2 << 140;
        QTest::newRow("second FrameInfo replaces the first")
            << QByteArray("<P><FrameInfo><I/><I/></FrameInfo><FrameInfo><I/></FrameInfo></P>") << 0 << QString() << 1
            << 0 << 100;
        QTest::newRow("repeated hz keeps the last db, EQ elements add")
            << QByteArray("<P><EQ><p hz=\"60\" db=\"1\"/><p hz=\"60\" db=\"5\"/></EQ><EQ><p hz=\"90\"/></EQ></P>") << 0
            << QString() << 0 << 2 << 100;
        QTest::newRow("empty rate keeps 100")
            << QByteArray("<P><Rate Value=\"\"/></P>") << 0 << QString() << 0 << 0 << 100;
        QTest::newRow("letters rate is 0")
            << QByteArray("<P><Rate Value=\"fast\"/></P>") << 0 << QString() << 0 << 0 << 0;
        QTest::newRow("tags are case-sensitive")
            << QByteArray("<P><rate Value=\"50\"/><eq><p hz=\"1\"/></eq></P>") << 0 << QString() << 0 << 0 << 100;
    }

    void readingOnePackage()
    {
        QFETCH(QByteArray, xml);
        const QString path = rstest::scratchDir(QStringLiteral("package")) + QStringLiteral("/config.xml");
        writeFile(path, xml);
        QScopedPointer<QFrameChunk> chunk(QReadFrameXML::readFrameChunk(path));
        QVERIFY(chunk);
        QTEST(chunk->version, "version");
        QTEST(chunk->name, "name");
        QTEST(chunk->frameInfoList.size(), "items");
        QTEST(chunk->eqMap.size(), "points");
        QTEST(chunk->rate, "rate");
        if (chunk->eqMap.contains(60))
            QCOMPARE(chunk->eqMap.value(60), xml.contains("db=\"5\"") ? 5.0 : 3.0);
        if (chunk->frameInfoList.size() == 2) {
            QCOMPARE(chunk->frameInfoList[0].width, 16);
            QCOMPARE(chunk->frameInfoList[0].type, 1);
            QCOMPARE(chunk->frameInfoList[1].fileName, QStringLiteral("y.png"));
        }
        QCOMPARE(QReadFrameXML::getVersionId(path), chunk->version);
        QCOMPARE(readFile(path), xml); // reading never rewrites a package
    }

    void unreadablePackagesGiveNoRecord()
    {
        const QString dir = rstest::scratchDir(QStringLiteral("broken"));
        writeFile(dir + "/config.xml", "<P><unclosed></P>");
        QVERIFY(!QReadFrameXML::readFrameChunk(dir + "/config.xml"));
        QVERIFY(!QReadFrameXML::readFrameChunk(dir + "/missing.xml"));
        QCOMPARE(QReadFrameXML::getVersionId(dir + "/missing.xml"), -1);
        QCOMPARE(QReadFrameXML::getAPPMinVersion(dir + "/missing.xml"), -1);
    }

    // Packages are found by their exact file name and listed by folder, whatever order the disk gives.
    void catalogueFindsAndOrdersPackages()
    {
        const QString contents = rstest::scratchDir(QStringLiteral("bundle")) + QStringLiteral("/Contents");
        const QString frames = contents + QStringLiteral("/Resources/VideoFrames");
        for (const char *name : {"c_third", "a_first", "b_second/nested"})
            writeFile(frames + "/" + name + "/config.xml",
                      QByteArray("<F Name=\"") + name + "\" Thumbnail=\"t.png\"/>");
        writeFile(frames + "/d_prefix/oldconfig.xml", "<F Name=\"prefix\"/>");
        writeFile(frames + "/e_backup/config.xml.orig", "<F Name=\"backup\"/>");
        writeFile(frames + "/f_broken/config.xml", "not xml at all");
        writeFile(frames + "/.hidden/config.xml", "<F Name=\"hidden\"/>");
        QIAnyUtil::setApplicationDirPathForTesting(contents);
        QFrameChunkManager catalogue;
        const QList<QFrameChunk *> list = catalogue.getFrameChunklist();
        QStringList names;
        for (QFrameChunk *c : list)
            names << c->name;
        QCOMPARE(names, QStringList({"a_first", "b_second/nested", "c_third"}));
        QCOMPARE(list[0]->folder, QDir(frames + "/a_first").absolutePath());
        QCOMPARE(list[0]->getThumbnailImage(), QDir(frames + "/a_first").absolutePath() + "/t.png");
        QCOMPARE(catalogue.getFrameChunk(2), list[2]);
        QVERIFY(!catalogue.getFrameChunk(-1));
        QVERIFY(!catalogue.getFrameChunk(3));
        QVideoEffectManager none; // no such folder: an empty catalogue
        QVERIFY(none.getVideoEffectlist().isEmpty());
    }

    // The packages we ship: six of each kind, every picture they name drawn into the bundle.
    void shippedPackages()
    {
        QVideoEffectManager effects;
        QFrameChunkManager frames;
        QAudioEffectManager sounds;
        QCOMPARE(effects.getVideoEffectlist().size(), 6);
        QCOMPARE(frames.getFrameChunklist().size(), 6);
        QCOMPARE(sounds.getFrameChunklist().size(), 6);
        for (const QList<QFrameChunk *> &list : {effects.getVideoEffectlist(), frames.getFrameChunklist()}) {
            for (QFrameChunk *c : list) {
                QVERIFY2(!QImage(c->getThumbnailImage()).isNull(), qPrintable(c->getThumbnailImage()));
                QCOMPARE(c->frameInfoList.size(), 2);
                for (const FrameInfoItem &item : c->frameInfoList) {
                    const QImage picture(c->folder + "/" + item.fileName);
                    QVERIFY2(!picture.isNull(), qPrintable(c->folder + "/" + item.fileName));
                    QVERIFY(picture.hasAlphaChannel() || item.type == 1);
                    QCOMPARE(picture.width() * item.height, picture.height() * item.width);
                }
            }
        }
        QCOMPARE(sounds.getFrameChunk(0)->name, QStringLiteral("Bass Boost"));
        QVERIFY(sounds.getFrameChunk(0)->eqMap.value(60) > 0);
        QVERIFY(sounds.getFrameChunk(4)->rate > 100); // chipmunk
        QVERIFY(sounds.getFrameChunk(5)->rate < 100); // slow down
        for (QFrameChunk *c : sounds.getFrameChunklist())
            QVERIFY2(!QImage(c->getThumbnailImage()).isNull(), qPrintable(c->getThumbnailImage()));
    }
};

RS_TEST_MAIN(TestEditFiles)
#include "tst_editfiles.moc"
