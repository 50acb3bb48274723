#include "AttributeSetting.h"
#include "QIAnyUtil.h"
#include "TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

class TestPaths : public QObject
{
    Q_OBJECT
private slots:
    void sizeText_data()
    {
        QTest::addColumn<qulonglong>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0ULL << "0 B";
        QTest::newRow("1 KiB stays bytes") << 1024ULL << "1024 B";
        QTest::newRow("just above 1 KiB") << 1025ULL << "1.00 KB";
        QTest::newRow("1 MiB stays KB") << 1048576ULL << "1024.00 KB";
        QTest::newRow("just above 1 MiB") << 1048577ULL << "1.00 MB";
        QTest::newRow("1 GiB stays MB") << 1073741824ULL << "1024.00 MB";
        QTest::newRow("just above 1 GiB") << 1073741825ULL << "1.00 GB";
        QTest::newRow("2 TiB has no larger unit") << 2199023255552ULL << "2048.00 GB";
    }
    void sizeText()
    {
        QFETCH(qulonglong, bytes);
        QFETCH(QString, text);
        QCOMPARE(QIAnyUtil::size2String(bytes), text);
    }

    void olderSizeText_data()
    {
        QTest::addColumn<qulonglong>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("below 1 KiB") << 1023ULL << "1023 B";
        QTest::newRow("1 KiB") << 1024ULL << "1.00 KB";
        QTest::newRow("1.5 MiB") << 1572864ULL << "1.50 MB";
        QTest::newRow("1 GiB") << 1073741824ULL << "1.00 GB";
        QTest::newRow("1 TiB") << 1099511627776ULL << "1.00 T";
    }
    void olderSizeText()
    {
        QFETCH(qulonglong, bytes);
        QFETCH(QString, text);
        QCOMPARE(QUiAnyUtiliy::converSize(bytes), text);
    }

    void bundleFolders()
    {
        // Without an override the folder is the one above the executable's folder: this test runs from
        // <build>/tests/foundation, as a bundle's program runs from Contents/MacOS.
        QIAnyUtil::setApplicationDirPathForTesting(QString());
        const QString expected = QDir::cleanPath(rstest::buildDir() + "/tests") + "/";
        QCOMPARE(QIAnyUtil::getApplicationDirPath(), expected);
        QCOMPARE(QIAnyUtil::getResourcePath(), expected + "Resources");

        const QString contents = rstest::bundleDir() + "/Contents";
        QIAnyUtil::setApplicationDirPathForTesting(contents + "/");
        QCOMPARE(QIAnyUtil::getApplicationDirPath(), contents + "/");
        QCOMPARE(QIAnyUtil::getResourcePath(), contents + "/Resources");
        QCOMPARE(QUiAnyUtiliy::getResourcePath(), contents + "/Resources");
        QVERIFY(QFileInfo::exists(QIAnyUtil::getApplicationDirPath() + "Info.plist"));
    }

    void userFoldersAreCreatedUnderTheTitle()
    {
        const QString appData = QIAnyUtil::getAppDataPath();
        QVERIFY(appData.endsWith("/Quorvane Reelsplice"));
        QVERIFY(QFileInfo(appData).isDir());
        QCOMPARE(QIAnyUtil::getAppDataPath(), appData);
        // Tests run with a temporary HOME: nothing may land in a real user's folders.
        QVERIFY(appData.startsWith(QDir::homePath()));

        const QString docs = QIAnyUtil::getDocumentPath();
        QCOMPARE(docs, QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + "/Quorvane Reelsplice");
        QVERIFY(QFileInfo(docs).isDir());
    }

    void uncreatableFoldersFallBackToTheBareLocation_data()
    {
        QTest::addColumn<QString>("which");
        QTest::newRow("documents") << "documents";
        QTest::newRow("application data") << "appdata";
        QTest::newRow("temporary") << "temp";
    }
    void uncreatableFoldersFallBackToTheBareLocation()
    {
        // A plain file where the titled folder belongs: the folder can neither be found nor created, also
        // for a user whose privileges ignore permissions.
        QFETCH(QString, which);
        const QByteArray oldTmp = qgetenv("TMPDIR");
        if (which == "temp")
            qputenv("TMPDIR", rstest::scratchDir("tmp").toUtf8());
        QString base;
        if (which == "documents") {
            base = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        } else if (which == "appdata") {
            base = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
            base = base.left(base.lastIndexOf(QLatin1Char('/')));
        } else {
            base = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
        }
        const QString titled = base + "/Quorvane Reelsplice";
        const QString aside = titled + ".kept";
        QDir().mkpath(base);
        QDir().rename(titled, aside);
        QFile blocker(titled);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();

        QString got;
        if (which == "documents")
            got = QIAnyUtil::getDocumentPath();
        else if (which == "appdata")
            got = QIAnyUtil::getAppDataPath();
        else
            got = QIAnyUtil::getTempSavePath();

        QFile::remove(titled);
        QDir().rename(aside, titled);
        if (which == "temp" && oldTmp.isNull())
            qunsetenv("TMPDIR");
        else if (which == "temp")
            qputenv("TMPDIR", oldTmp);
        QCOMPARE(got, base);
    }

    void attributeRecordIsSharedAndOwned()
    {
        QSettingDlgState::clearAttributeSetting();
        QVERIFY(!QSettingDlgState::hasAttributeSetting());
        QCOMPARE(QSettingDlgState::attributeSetting().VCodecsId, -1);

        AttributeSetting set;
        set.fileFormat = "mp4";
        set.VWidth = 1280;
        QSettingDlgState::setAttributeSetting(set);
        AttributeSetting *first = QSettingDlgState::m_attributeSetting;
        QVERIFY(first);
        QCOMPARE(first->fileFormat, QString("mp4"));

        set.fileFormat = "mkv";
        QSettingDlgState::setAttributeSetting(set);
        // A pointer taken earlier still names the live record.
        QCOMPARE(first, QSettingDlgState::m_attributeSetting);
        QCOMPARE(first->fileFormat, QString("mkv"));
        QCOMPARE(QVariant::fromValue(HighQuality).value<VideoQuality>(), HighQuality);
    }
};

RS_TEST_MAIN(TestPaths)
#include "tst_paths.moc"
