#include "FoundationTestFiles.h"
#include "QIAnyUtil.h"
#include "QVideoSettingXml.h"
#include "SettingKeys.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <csignal>
#include <iterator>

#include <sys/resource.h>

namespace {

using ftest::readFile;
using ftest::rootOf;
using ftest::writeFile;

QStringList childTags(const QDomElement &root)
{
    QStringList tags;
    for (QDomElement e = root.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        tags << e.tagName();
    return tags;
}

const SettingKey kAllKeys[] = {SettingKeys::EditRemind,
                               SettingKeys::LosslessRemind,
                               SettingKeys::ShutdownComputer,
                               SettingKeys::CloseQuits,
                               SettingKeys::CloseRemind,
                               SettingKeys::AutoUpdate,
                               SettingKeys::LosslessPane,
                               SettingKeys::LosslessConvert,
                               SettingKeys::FormatCategory,
                               SettingKeys::FormatId,
                               SettingKeys::FormatCategoryLossless,
                               SettingKeys::FormatIdLossless,
                               SettingKeys::VideoQualityValue,
                               SettingKeys::OutputPath,
                               SettingKeys::OpenPath,
                               SettingKeys::LanguageName,
                               SettingKeys::ScreenshotSuffix,
                               SettingKeys::ScreenshotFolder};

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        const QDir dir(QIAnyUtil::getAppDataPath());
        for (const QString &name : dir.entryList({"VideoDefaultSetting.xml*"}, QDir::Files))
            QFile::remove(dir.filePath(name));
    }

    void defaults_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("expected");
        const QString docs = QIAnyUtil::getDocumentPath();
        const QString expected[] = {"Y",
                                    "Y",
                                    "N",
                                    "Y",
                                    "Y",
                                    "N",
                                    "N",
                                    "N",
                                    "Devices",
                                    "1136",
                                    "General Video",
                                    "3000",
                                    "0",
                                    docs + "/Converted/",
                                    ".",
                                    "English",
                                    "JPEG",
                                    docs + "/Screenshots/"};
        for (int i = 0; i < int(std::size(kAllKeys)); ++i)
            QTest::newRow(QByteArray(kAllKeys[i].tag) + "/" + kAllKeys[i].attribute) << i << expected[i];
    }
    void defaults()
    {
        QFETCH(int, index);
        QFETCH(QString, expected);
        const SettingKey &key = kAllKeys[index];
        QCOMPARE(QVideoSettingXml::GetItemValue(key), expected);
        // The stored default reads back through the plain form whatever default that caller passes.
        QCOMPARE(QVideoSettingXml::GetItemValue(key.tag, key.attribute, "other"), expected);
    }

    void firstReadCreatesOneElement()
    {
        const QString path = QVideoSettingXml::settingsFilePath();
        QVERIFY(!QFileInfo::exists(path));
        QCOMPARE(QVideoSettingXml::GetItemValue("CLOSE_ITEM", "bIsCloseDlg", "Y"), QString("Y"));
        const QByteArray text = readFile(path);
        // No XML declaration, 4-space indentation, empty-element tags.
        QVERIFY2(text.startsWith("<ROOTITEM>"), text.constData());
        QVERIFY2(text.contains("\n    <CLOSE_ITEM bIsCloseDlg=\"Y\"/>"), text.constData());
        const QDomElement root = rootOf(path);
        QCOMPARE(root.tagName(), QString("ROOTITEM"));
        QCOMPARE(childTags(root), QStringList{"CLOSE_ITEM"});
    }

    void readingNeverAddsAnAttribute()
    {
        QCOMPARE(QVideoSettingXml::GetItemValue(SettingKeys::FormatCategory), QString("Devices"));
        QCOMPARE(QVideoSettingXml::GetItemValue(SettingKeys::FormatId), QString("1136"));
        QDomElement set = rootOf(QVideoSettingXml::settingsFilePath()).firstChildElement("FormatSet");
        QVERIFY(set.hasAttribute("Format_cate"));
        QVERIFY(!set.hasAttribute("Format_ID"));
        QVERIFY(QVideoSettingXml::SetItemValue(SettingKeys::FormatId, "2001"));
        QCOMPARE(QVideoSettingXml::GetItemValue(SettingKeys::FormatId), QString("2001"));
        QCOMPARE(QVideoSettingXml::GetItemValue(SettingKeys::FormatCategory), QString("Devices"));
    }

    void roundTrips_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("switch") << "N"
                                << "N";
        QTest::newRow("path with spaces and umlauts") << "/home/u/Vidéos mit Ü/"
                                                      << "/home/u/Vidéos mit Ü/";
        QTest::newRow("markup characters") << "a<b>&\"c'"
                                           << "a<b>&\"c'";
        QTest::newRow("empty reads as default") << ""
                                                << "Y";
    }
    void roundTrips()
    {
        QFETCH(QString, value);
        QFETCH(QString, expected);
        QCOMPARE(QVideoSettingXml::GetItemValue("REMIND_ITEM", "isShowRemind", "Y"), QString("Y"));
        QVERIFY(QVideoSettingXml::SetItemValue("REMIND_ITEM", "isShowRemind", value));
        QCOMPARE(QVideoSettingXml::GetItemValue("REMIND_ITEM", "isShowRemind", "Y"), expected);
    }

    void writingANeverReadKeyStoresIt()
    {
        // A value handed to the store must not be dropped because nobody read the key first.
        QVERIFY(QVideoSettingXml::SetItemValue(SettingKeys::ShutdownComputer, "Y"));
        QCOMPARE(QVideoSettingXml::GetItemValue(SettingKeys::ShutdownComputer), QString("Y"));
        QVERIFY(QVideoSettingXml::SetItemValue(SettingKeys::AutoUpdate, "Y"));
        QCOMPARE(childTags(rootOf(QVideoSettingXml::settingsFilePath())),
                 (QStringList{"SHOWDOWN_ITEM", "UPDATES_ITEM"}));
    }

    void duplicateTagsUseTheFirst()
    {
        writeFile(QVideoSettingXml::settingsFilePath(),
                  "<ROOTITEM><CLOSE_ITEM bIsCloseDlg=\"N\"/><CLOSE_ITEM bIsCloseDlg=\"Y\"/></ROOTITEM>");
        QCOMPARE(QVideoSettingXml::GetItemValue(SettingKeys::CloseQuits), QString("N"));
        QVERIFY(QVideoSettingXml::SetItemValue(SettingKeys::CloseQuits, "X"));
        const QDomElement root = rootOf(QVideoSettingXml::settingsFilePath());
        QCOMPARE(root.firstChildElement().attribute("bIsCloseDlg"), QString("X"));
        QCOMPARE(root.lastChildElement().attribute("bIsCloseDlg"), QString("Y"));
    }

    void unparsableFileIsKeptAside_data()
    {
        QTest::addColumn<bool>("writeFirst");
        QTest::newRow("first access reads") << false;
        QTest::newRow("first access writes") << true;
    }
    void unparsableFileIsKeptAside()
    {
        QFETCH(bool, writeFirst);
        const QString path = QVideoSettingXml::settingsFilePath();
        const QByteArray garbage = "<ROOTITEM><CLOSE_ITEM bIsCloseDlg=\"N\"></ROOT";
        writeFile(path, garbage);
        if (writeFirst)
            QVERIFY(QVideoSettingXml::SetItemValue(SettingKeys::CloseQuits, "N"));
        else
            QCOMPARE(QVideoSettingXml::GetItemValue(SettingKeys::CloseQuits), QString("Y"));
        QCOMPARE(readFile(path + ".bad"), garbage);
        QCOMPARE(childTags(rootOf(path)), QStringList{"CLOSE_ITEM"});
        // The next access works on the replaced file and keeps no second copy.
        QVideoSettingXml::GetItemValue(SettingKeys::AutoUpdate);
        QVERIFY(!QFileInfo::exists(path + ".bad.1"));
    }

    void unparsableFileWithoutRoomAsideIsLeftAlone_data()
    {
        QTest::addColumn<bool>("writeFirst");
        QTest::newRow("read") << false;
        QTest::newRow("write") << true;
    }
    void unparsableFileWithoutRoomAsideIsLeftAlone()
    {
        // Every name for a kept copy is taken by other content: the file cannot be kept aside, so it
        // must not be replaced either.
        QFETCH(bool, writeFirst);
        const QString path = QVideoSettingXml::settingsFilePath();
        for (int n = 0; n < 100; ++n)
            writeFile(n == 0 ? path + ".bad" : path + QString(".bad.%1").arg(n), QByteArray::number(n));
        const QByteArray garbage = "<ROOTITEM><CLOSE_ITEM bIsCloseDlg=\"N\"></ROOT";
        writeFile(path, garbage);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("aside"));
        if (writeFirst)
            QVERIFY(!QVideoSettingXml::SetItemValue(SettingKeys::CloseQuits, "Y"));
        else
            QCOMPARE(QVideoSettingXml::GetItemValue(SettingKeys::CloseQuits), QString("Y"));
        QCOMPARE(readFile(path), garbage);
        QCOMPARE(readFile(path + ".bad"), QByteArray("0"));
    }

    void unreadableFileIsLeftAlone()
    {
        const QString path = QVideoSettingXml::settingsFilePath();
        QDir().mkpath(path); // a folder in the file's place cannot be read as a file
        QCOMPARE(QVideoSettingXml::GetItemValue(SettingKeys::CloseQuits), QString("Y"));
        QVERIFY(!QVideoSettingXml::SetItemValue(SettingKeys::CloseQuits, "N"));
        QVERIFY(QFileInfo(path).isDir());
        QDir(path).removeRecursively();
    }

    void saveFailureKeepsTheOldFile()
    {
        QDomDocument doc;
        doc.appendChild(doc.createElement("ROOTITEM"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("writeOperateXml"));
        QVERIFY(!QVideoSettingXml::SaveXml(QIAnyUtil::getAppDataPath() + "/no/such/folder/x.xml", doc));

        // A file system that refuses the bytes (a full disk) refuses root too, unlike file permissions:
        // a file size limit makes every write fail as a full disk would.
        const QString path = QVideoSettingXml::settingsFilePath();
        QVERIFY(QVideoSettingXml::SetItemValue(SettingKeys::CloseQuits, "N"));
        const QByteArray before = readFile(path);
        rlimit old{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
        rlimit tiny = old;
        tiny.rlim_cur = 8;
        const sighandler_t oldHandler = std::signal(SIGXFSZ, SIG_IGN); // EFBIG instead of a kill
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &tiny), 0);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("writeOperateXml"));
        const bool saved = QVideoSettingXml::SetItemValue(SettingKeys::CloseQuits, "Y");
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        QVERIFY(!saved);
        QCOMPARE(readFile(path), before);
        QCOMPARE(QVideoSettingXml::GetItemValue(SettingKeys::CloseQuits), QString("N"));
        QCOMPARE(QDir(QFileInfo(path).path()).entryList(QDir::Files).filter("VideoDefaultSetting.xml.").size(), 0);
    }

    void snapshotSettingsFillEmptyAttributes()
    {
        writeFile(QVideoSettingXml::settingsFilePath(), "<ROOTITEM><Screenshots/></ROOTITEM>");
        QCOMPARE(QVideoSettingXml::GetItemValue("Screenshots", "IMG_SUFFIX", "JPEG"), QString("JPEG"));
        QVERIFY(!rootOf(QVideoSettingXml::settingsFilePath()).firstChildElement().hasAttribute("IMG_SUFFIX"));
        QCOMPARE(QVideoSettingXml::getCaptureImgSuffix(), QString("JPEG"));
        QCOMPARE(rootOf(QVideoSettingXml::settingsFilePath()).firstChildElement().attribute("IMG_SUFFIX"),
                 QString("JPEG"));
        const QString folder = QVideoSettingXml::getCaptrueImaSavePath();
        QCOMPARE(folder, QIAnyUtil::getDocumentPath() + "/Screenshots/");
        QVERIFY(QFileInfo(folder).isDir());
        QVideoSettingXml::setCaptureImgSuffix("PNG");
        QVideoSettingXml::setCaptrueImaPath("/tmp/shots/");
        QCOMPARE(QVideoSettingXml::getCaptureImgSuffix(), QString("PNG"));
        QCOMPARE(QVideoSettingXml::getCaptrueImaSavePath(), QString("/tmp/shots/"));
    }

    void trimSpaces_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("two around, one inside") << "  a b  "
                                                << "a b";
        QTest::newRow("spaces only") << "   "
                                     << "";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("tabs stay") << "\t a \t"
                                   << "\t a \t";
        QTest::newRow("nothing to trim") << "x"
                                         << "x";
    }
    void trimSpaces()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        std::string s = text.toStdString();
        std::string &same = QVideoSettingXml::trim(s);
        QCOMPARE(&same, &s);
        QCOMPARE(QString::fromStdString(s), expected);
    }
};

RS_TEST_MAIN(TestSettings)
#include "tst_settings.moc"
