#include "FoundationTestFiles.h"
#include "QIAnyUtil.h"
#include "QVideoSettingXml.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

using ftest::readFile;
using ftest::rootOf;
using ftest::writeFile;

int childCount(const QDomElement &e)
{
    int n = 0;
    for (QDomElement c = e.firstChildElement(); !c.isNull(); c = c.nextSiblingElement())
        ++n;
    return n;
}

QString qualityFile()
{
    return QIAnyUtil::getAppDataPath() + "/VideoDefaultFormatSetting.xml";
}
QString historyFile()
{
    return QIAnyUtil::getAppDataPath() + "/VideoConverted.xml";
}

QualitySet videoQuality()
{
    QualitySet q;
    q.strVideoEncoder = "H264";
    q.strResolution = "1280*720";
    q.strFrameRate = "25 fps";
    q.strVideoBitRate = "3000 kbps";
    q.strAudioEncoder = "AAC";
    q.strChannel = "2";
    q.strSampleRate = "44100 HZ";
    q.strAudioBitRate = "128 kbps";
    return q;
}

} // namespace

class TestRecords : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        QFile::remove(qualityFile());
        QFile::remove(historyFile());
    }

    // --- custom quality file ---
    void qualityAbsentFileIsNotCreated()
    {
        QVERIFY(!QVideoSettingXml::GetDefaultFormat("1136"));
        QVERIFY(!QFileInfo::exists(qualityFile()));
    }

    void qualityRoundTripRewritesOneEntry()
    {
        QualitySet q = videoQuality();
        QVERIFY(QVideoSettingXml::SetDefaultFormat("1136", &q));
        q.strVideoBitRate = "5000 kbps";
        QVERIFY(QVideoSettingXml::SetDefaultFormat("1136", &q));
        QVERIFY(QVideoSettingXml::SetDefaultFormat("2001", &q));
        const QDomElement root = rootOf(qualityFile());
        QCOMPARE(childCount(root), 2);
        QCOMPARE(root.firstChildElement().tagName(), QString("FORMAT_"));
        QCOMPARE(childCount(root.firstChildElement()), 1);
        QCOMPARE(root.firstChildElement().firstChildElement().tagName(), QString("Format_Custom"));

        const QualitySet *read = QVideoSettingXml::GetDefaultFormat("1136");
        QVERIFY(read);
        QCOMPARE(read->bOnlyAudio, false);
        QCOMPARE(read->strVideoEncoder, QString("H264"));
        QCOMPARE(read->strVideoBitRate, QString("5000 kbps"));
        QCOMPARE(read->strAudioBitRate, QString("128 kbps"));
        QVERIFY(!QVideoSettingXml::GetDefaultFormat("9999"));
    }

    void qualityReading_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("found");
        QTest::addColumn<bool>("onlyAudio");
        QTest::addColumn<QString>("videoEncoder");
        QTest::addColumn<QString>("audioEncoder");
        const QByteArray attrs = " V_Encoder=\" H264 \" V_Resolution=\"640*480\" A_Encoder=\"  AAC\"";
        QTest::newRow("lower-case y is video")
            << "<ROOTITEM><FORMAT_ Format_ID=\"7\"><Format_Custom OnlyAudio=\"y\"" + attrs + "/></FORMAT_></ROOTITEM>"
            << true << false << "H264"
            << "AAC";
        QTest::newRow("absent flag is video")
            << "<ROOTITEM><FORMAT_ Format_ID=\"7\"><Format_Custom" + attrs + "/></FORMAT_></ROOTITEM>" << true << false
            << "H264"
            << "AAC";
        QTest::newRow("audio only drops video texts") << "<ROOTITEM><FORMAT_ Format_ID=\"7\"><Format_Custom "
                                                         "OnlyAudio=\"Y\"" +
                                                             attrs + "/></FORMAT_></ROOTITEM>"
                                                      << true << true << ""
                                                      << "AAC";
        QTest::newRow("any tag, first id wins")
            << "<ROOTITEM><X Format_ID=\"7\"><Y A_Encoder=\"MP3\"/></X><FORMAT_ Format_ID=\"7\"><Format_Custom " +
                   attrs + "/></FORMAT_></ROOTITEM>"
            << true << false << ""
            << "MP3";
        QTest::newRow("entry without quality")
            << QByteArray("<ROOTITEM><FORMAT_ Format_ID=\"7\"/></ROOTITEM>") << false << false << ""
            << "";
        QTest::newRow("not xml") << QByteArray("garbage") << false << false << ""
                                 << "";
    }
    void qualityReading()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, found);
        QFETCH(bool, onlyAudio);
        QFETCH(QString, videoEncoder);
        QFETCH(QString, audioEncoder);
        writeFile(qualityFile(), file);
        const QualitySet *q = QVideoSettingXml::GetDefaultFormat("7");
        QCOMPARE(q != nullptr, found);
        if (!q)
            return;
        QCOMPARE(q->bOnlyAudio, onlyAudio);
        QCOMPARE(q->strVideoEncoder, videoEncoder);
        QCOMPARE(q->strAudioEncoder, audioEncoder);
        QCOMPARE(readFile(qualityFile()), file); // reading never writes
    }

    void qualityWriteFillsAnEmptyEntry()
    {
        writeFile(qualityFile(), "<ROOTITEM><FORMAT_ Format_ID=\"7\"/></ROOTITEM>");
        QualitySet q = videoQuality();
        q.bOnlyAudio = true;
        QVERIFY(QVideoSettingXml::SetDefaultFormat("7", &q));
        const QDomElement custom = rootOf(qualityFile()).firstChildElement().firstChildElement();
        QCOMPARE(custom.tagName(), QString("Format_Custom"));
        QCOMPARE(custom.attribute("OnlyAudio"), QString("Y"));
        QCOMPARE(custom.attribute("V_Encoder"), QString("H264")); // written as the record holds it
        QVERIFY(QVideoSettingXml::GetDefaultFormat("7")->strVideoEncoder.isEmpty());
    }

    void qualityPointerSurvivesAFailedCall()
    {
        QualitySet q = videoQuality();
        QVERIFY(QVideoSettingXml::SetDefaultFormat("1", &q));
        QualitySet *first = QVideoSettingXml::GetDefaultFormat("1");
        QVERIFY(first);
        QVERIFY(!QVideoSettingXml::GetDefaultFormat("nothing"));
        // Still a live record (now holding the empty answer), not freed memory.
        QCOMPARE(first, QVideoSettingXml::m_defaultQualitySet);
        QCOMPARE(first->strVideoEncoder, QString());
    }

    void qualityUnparsableFileIsKeptAside()
    {
        writeFile(qualityFile(), "<ROOTITEM><FORMAT_");
        QualitySet q = videoQuality();
        QVERIFY(QVideoSettingXml::SetDefaultFormat("1", &q));
        QCOMPARE(readFile(qualityFile() + ".bad"), QByteArray("<ROOTITEM><FORMAT_"));
        QVERIFY(QVideoSettingXml::GetDefaultFormat("1"));
        QFile::remove(qualityFile() + ".bad");
    }

    // --- output history ---
    void historyStoresOneEntryPerPath()
    {
        convertedInfo info;
        info.strOutputPath = "/out/a.mp4";
        info.strResolution = "640*480";
        info.strArtist = "first";
        QVideoSettingXml::SaveConvertedInfo(&info);
        info.strArtist = "second";
        info.strSize = "1.00 MB";
        QVideoSettingXml::SaveConvertedInfo(&info);
        const QDomElement root = rootOf(historyFile());
        QCOMPARE(childCount(root), 1);
        const QDomElement item = root.firstChildElement();
        QCOMPARE(item.tagName(), QString("Path_item"));
        QCOMPARE(item.attribute("Converted_path_"), QString("/out/a.mp4"));
        QCOMPARE(childCount(item), 1);
        QCOMPARE(item.firstChildElement().tagName(), QString("CONVERTED_INFO_"));
        QCOMPARE(item.firstChildElement().attribute("Artist_"), QString("second"));
        QCOMPARE(item.firstChildElement().attribute("Resolutin_"), QString("640*480"));

        QVideoSettingXml::SetConvertedPath("/out/b.mp4");
        QVideoSettingXml::SetConvertedPath("/out/b.mp4");
        info.strOutputPath = "/out/b.mp4";
        QVideoSettingXml::SaveConvertedInfo(&info);
        QCOMPARE(childCount(rootOf(historyFile())), 2);
        QCOMPARE(childCount(rootOf(historyFile()).lastChildElement()), 1);
    }

    void historyNullAndAbsent()
    {
        QVideoSettingXml::SaveConvertedInfo(nullptr);
        QVERIFY(!QFileInfo::exists(historyFile()));
        QCOMPARE(QVideoSettingXml::GetConvertedPath(), QStringList());
        QVERIFY(!QVideoSettingXml::GetConvertedInfo("/x"));
        QVideoSettingXml::DeleteConvertedPath({"/x"});
        QVERIFY(!QFileInfo::exists(historyFile()));
    }

    void historyForgetsMissingOutputs()
    {
        const QString dir = rstest::scratchDir("history");
        const QString kept = dir + "/kept.mp4";
        writeFile(kept, "x");
        writeFile(historyFile(), "<ROOTITEM><Path_item Converted_path_=\"" + dir.toUtf8() +
                                     "/gone.mp4\"/><Path_item/><Path_item Converted_path_=\"" + kept.toUtf8() +
                                     "\"/></ROOTITEM>");
        QCOMPARE(QVideoSettingXml::GetConvertedPath(), QStringList{kept});
        QCOMPARE(childCount(rootOf(historyFile())), 1);
    }

    void historyDeletes()
    {
        writeFile(historyFile(), "<ROOTITEM><Path_item Converted_path_=\"/a\"/><Path_item Converted_path_=\"/b\"/>"
                                 "<Path_item Converted_path_=\"/a\"/><Path_item Converted_path_=\"/a\"/></ROOTITEM>");
        const QByteArray before = readFile(historyFile());
        QVideoSettingXml::DeleteConvertedPath({});
        QVideoSettingXml::DeleteConvertedPath({"/zzz"});
        QCOMPARE(readFile(historyFile()), before); // nothing removed, nothing rewritten
        QVideoSettingXml::DeleteConvertedPath({"/a", "/a"});
        const QDomElement root = rootOf(historyFile());
        QCOMPARE(childCount(root), 2);
        QCOMPARE(root.firstChildElement().attribute("Converted_path_"), QString("/b"));
        QCOMPARE(root.lastChildElement().attribute("Converted_path_"), QString("/a"));
    }

    void historyInfoNormalisesSeparators()
    {
        writeFile(historyFile(), "<ROOTITEM><Path_item Converted_path_=\"C:\\out\\a.mp4\"><CONVERTED_INFO_ "
                                 "Time_=\"00:01:00\" Extend_=\"mp4\"/></Path_item><Path_item "
                                 "Converted_path_=\"/bare\"/></ROOTITEM>");
        const convertedInfo *info = QVideoSettingXml::GetConvertedInfo("C:/out/a.mp4");
        QVERIFY(info);
        QCOMPARE(info->strOutputPath, QString("C:/out/a.mp4"));
        QCOMPARE(info->strTime, QString("00:01:00"));
        QCOMPARE(info->strExtend, QString("mp4"));
        QCOMPARE(info->strArtist, QString());
        const convertedInfo *bare = QVideoSettingXml::GetConvertedInfo("\\bare");
        QVERIFY(bare);
        QCOMPARE(bare->strOutputPath, QString("/bare"));
        QCOMPARE(bare->strTime, QString());
        QVERIFY(!QVideoSettingXml::GetConvertedInfo("/none"));
        QVERIFY(!QVideoSettingXml::m_convertInfo);
        // The pointer from the earlier call still names live storage.
        QCOMPARE(info->strTime, QString());
    }

    // --- language list ---
    void languages()
    {
        const QString path = rstest::scratchDir("lang") + "/Language.xml";
        writeFile(path, "<LIST><L Language_Name=\"English\" Language_File=\"en.qm\" Language_Type=\"English\"/>"
                        "<L Language_File=\"x.qm\"/>"
                        "<L Language_Name=\"Deutsch\" Language_File=\"de1.qm\" Language_Type=\"German\"/>"
                        "<L Language_Name=\"Deutsch\" Language_File=\"de2.qm\" Language_Type=\"German\"/></LIST>");
        QCOMPARE(QVideoSettingXml::GetLanguage(path), (QStringList{"English", "", "Deutsch", "Deutsch"}));
        QCOMPARE(QVideoSettingXml::GetLanguageFile(path, "Deutsch"), qMakePair(QString("de2.qm"), QString("German")));
        QCOMPARE(QVideoSettingXml::GetLanguageFile(path, "english"), qMakePair(QString(), QString()));
        QCOMPARE(QVideoSettingXml::GetLanguage(path + ".none"), QStringList());
        QCOMPARE(QVideoSettingXml::GetLanguageFile(path + ".none", "English"), qMakePair(QString(), QString()));
    }

    void shippedLanguageList()
    {
        const QString path = rstest::sourceDir() + "/resources/Language/Language.xml";
        const QStringList names = QVideoSettingXml::GetLanguage(path);
        QVERIFY(names.contains("English"));
        for (const QString &name : names)
            QVERIFY(!QVideoSettingXml::GetLanguageFile(path, name).second.isEmpty());
    }
};

RS_TEST_MAIN(TestRecords)
#include "tst_records.moc"
