#include "FoundationTestFiles.h"
#include "HostServices.h"
#include "PropertyList.h"
#include "QIAnyUtil.h"
#include "TestSupport.h"
#include "VEHelper.h"
#include "ZtCommonInterface.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QWidget>

namespace {

class RecordingRevealer : public IFileRevealer
{
public:
    QStringList *paths;
    explicit RecordingRevealer(QStringList *p) : paths(p) {}
    bool revealFile(const QString &path) override
    {
        *paths << path;
        return true;
    }
};

class RecordingPower : public IPowerControl
{
public:
    QStringList *calls;
    explicit RecordingPower(QStringList *c) : calls(c) {}
    bool powerOff() override
    {
        *calls << "off";
        return true;
    }
    bool suspend() override
    {
        *calls << "sleep";
        return true;
    }
};

using ftest::readFile;

// A scratch bundle whose Info.plist is a copy of the build tree's, so that nothing there changes.
QString scratchContents(const QString &name, bool keepShortVersion, bool binary = false)
{
    const QString contents = rstest::scratchDir(name) + "/Contents";
    QDir().mkpath(contents);
    QVariant root;
    PropertyList::readFile(rstest::bundleDir() + "/Contents/Info.plist", root);
    QVariantMap info = root.toMap();
    if (!keepShortVersion)
        info.remove("CFBundleShortVersionString");
    QByteArray data;
    binary ? PropertyList::toBinary(info, data) : PropertyList::toXml(info, data);
    QFile f(contents + "/Info.plist");
    f.open(QIODevice::WriteOnly);
    f.write(data);
    return contents;
}

} // namespace

class TestCommon : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { QIAnyUtil::setApplicationDirPathForTesting(QString()); }

    void revealPaths_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("revealed");
        QTest::newRow("doubled slash") << "/out//a.mp4"
                                       << "/out/a.mp4";
        QTest::newRow("three slashes leave two") << "/out///a.mp4"
                                                 << "/out//a.mp4";
        QTest::newRow("two backslashes") << "C:\\\\out\\a.mp4"
                                         << "C://out/a.mp4";
        QTest::newRow("utf-8") << QString::fromUtf8("/Vidéos/ü.mp4") << QString::fromUtf8("/Vidéos/ü.mp4");
    }
    void revealPaths()
    {
        QFETCH(QString, path);
        QFETCH(QString, revealed);
        QStringList paths;
        auto previous = HostServices::setFileRevealer(std::make_unique<RecordingRevealer>(&paths));
        ZtCommonInterface::showFileInFolder(path.toStdString());
        HostServices::setFileRevealer(std::move(previous));
        QCOMPARE(paths, QStringList{revealed});
    }

    void powerRequestsGoToTheService()
    {
        QStringList calls;
        auto previous = HostServices::setPowerControl(std::make_unique<RecordingPower>(&calls));
        ZtCommonInterface::shutdownComputer();
        ZtCommonInterface::sleepComputer();
        HostServices::setPowerControl(std::move(previous));
        QCOMPARE(calls, (QStringList{"off", "sleep"}));
    }

    void infoPlistIsWrittenOnce_data()
    {
        QTest::addColumn<bool>("binary");
        QTest::newRow("xml") << false;
        QTest::newRow("binary") << true;
    }
    void infoPlistIsWrittenOnce()
    {
        QFETCH(bool, binary);
        const QString contents = scratchContents("info", false, binary);
        const std::string path = (contents + "/Info.plist").toStdString();
        QIAnyUtil::setApplicationDirPathForTesting(contents);
        QVERIFY(ZtCommonInterface::isNeedInitInfoFile());
        QCOMPARE(ZtCommonInterface::getAppVersion(), QString("1.0.1"));
        QVERIFY(ZtCommonInterface::InitInfoToFile(path));
        QVERIFY(!ZtCommonInterface::isNeedInitInfoFile());

        QVariant root;
        QVERIFY(PropertyList::readFile(contents + "/Info.plist", root));
        const QVariantMap info = root.toMap();
        QCOMPARE(info.value("CFBundleVersion").toString(), QString("1.0.1.2"));
        QCOMPARE(info.value("CFBundleShortVersionString").toString(), QString("1.0.1"));
        QCOMPARE(info.value("CFBundleDisplayName").toString(), QString("Quorvane Reelsplice"));
        QCOMPARE(info.value("CFBundleIdentifier").toString(), QString("com.Quorvane.QuorvaneReelsplice"));
        QCOMPARE(info.value("SUPublicDSAKeyFile").toString(), QString("DSAKeyFile.pem"));
        QCOMPARE(info.value("SUEnableSystemProfiling").type(), QVariant::Bool);
        QCOMPARE(info.value("SUEnableSystemProfiling").toBool(), true);
        QCOMPARE(info.value("NSAppTransportSecurity").toMap(), (QVariantMap{{"NSAllowsArbitraryLoads", true}}));
        const QUrl feed(info.value("SUFeedURL").toString());
        QCOMPARE(feed.scheme(), QString("https"));
        QCOMPARE(feed.path(), QString("/api/product/version"));
        QCOMPARE(feed.query(), QString("pid=10401&ver=1.0.1.2"));
        QCOMPARE(info.value("CFBundleExecutable").toString(), QString("QuorvaneReelsplice")); // other keys stay
        QCOMPARE(ZtCommonInterface::getAppVersion(), QString("1.0.1"));

        // A second call finds the short version and changes nothing.
        const QByteArray written = readFile(contents + "/Info.plist");
        QVERIFY(ZtCommonInterface::InitInfoToFile(path));
        QCOMPARE(readFile(contents + "/Info.plist"), written);
    }

    // The Info.plist the build lays into the bundle must say what the program itself writes at its first
    // start, or a built bundle would keep a feed address or identifier the program never uses.
    void builtInfoPlistMatchesTheProgramsRewrite()
    {
        QVariant built;
        QVERIFY(PropertyList::readFile(rstest::bundleDir() + "/Contents/Info.plist", built));
        const QString contents = scratchContents("info-built", false);
        QVERIFY(ZtCommonInterface::InitInfoToFile((contents + "/Info.plist").toStdString()));
        QVariant rewritten;
        QVERIFY(PropertyList::readFile(contents + "/Info.plist", rewritten));
        const QVariantMap a = built.toMap(), b = rewritten.toMap();
        for (const QString &key : b.keys())
            QVERIFY2(a.value(key) == b.value(key), qPrintable(key));
    }

    void infoPlistWithVersionIsUntouched()
    {
        const QString contents = scratchContents("info-kept", true);
        const QByteArray before = readFile(contents + "/Info.plist");
        QVERIFY(ZtCommonInterface::InitInfoToFile((contents + "/Info.plist").toStdString()));
        QCOMPARE(readFile(contents + "/Info.plist"), before);

        const QString broken = rstest::scratchDir("info-broken") + "/Info.plist";
        QFile f(broken);
        f.open(QIODevice::WriteOnly);
        f.write("not a property list");
        f.close();
        QVERIFY(!ZtCommonInterface::InitInfoToFile(broken.toStdString()));
        QCOMPARE(readFile(broken), QByteArray("not a property list"));
    }

    void writableProbe()
    {
        const QString dir = rstest::scratchDir("probe") + "/";
        const QString title = QIAnyUtil::appTitle();
        QStringList existing{dir + title + ".txt"};
        for (int n = 1; n <= 3; ++n)
            existing << dir + QStringLiteral("%1%2.txt").arg(title).arg(n);
        for (const QString &path : existing) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("keep");
        }
        QVERIFY(ZtCommonInterface::isWritableDir(dir));
        for (const QString &path : existing)
            QCOMPARE(readFile(path), QByteArray("keep"));
        QCOMPARE(QDir(dir).entryList(QDir::Files).size(), 4);

        for (int n = 4; n < 100; ++n) {
            QFile f(dir + QStringLiteral("%1%2.txt").arg(title).arg(n));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QVERIFY(!ZtCommonInterface::isWritableDir(dir));
        QCOMPARE(QDir(dir).entryList(QDir::Files).size(), 100);
        QVERIFY(!ZtCommonInterface::isWritableDir(dir + "missing/"));
    }

    void utf32_data()
    {
        QTest::addColumn<QByteArray>("utf8");
        QTest::addColumn<bool>("valid");
        QTest::newRow("ascii") << QByteArray("Title") << true;
        QTest::newRow("accents and emoji") << QByteArray("Caf\xc3\xa9 \xf0\x9f\x8e\xb5") << true;
        QTest::newRow("empty") << QByteArray("") << true;
        QTest::newRow("lone continuation byte") << QByteArray("a\x80z") << false;
        QTest::newRow("cut sequence") << QByteArray("ab\xe2\x82") << false;
    }
    void utf32()
    {
        QFETCH(QByteArray, utf8);
        QFETCH(bool, valid);
        char32_t *text = VEHelper::ConvertCharToUtft32(utf8.constData());
        QCOMPARE(text != nullptr, valid);
        if (!text)
            return;
        const QVector<uint> expected = QString::fromUtf8(utf8).toUcs4();
        for (int i = 0; i < expected.size(); ++i)
            QCOMPARE(uint(text[i]), expected[i]);
        QCOMPARE(uint(text[expected.size()]), 0u);
    }
    void utf32BuffersLiveTogether()
    {
        // The tag writer converts a path and then each text before using them.
        char32_t *path = ZtCommonInterface::ConvertCharToUtft32("/music/a.mp3");
        char32_t *title = ZtCommonInterface::ConvertCharToUtft32("Title");
        QCOMPARE(path[1], char32_t('m'));
        QCOMPARE(title[0], char32_t('T'));
        QVERIFY(!VEHelper::ConvertCharToUtft32(nullptr));
        const std::string withNul("ab\0cd", 5);
        QCOMPARE(VEHelper::charToQString(withNul), QString("ab"));
        QCOMPARE(ZtCommonInterface::charToQString(withNul), QString("ab"));
    }

    void systemAndClocks()
    {
        const QString version = ZtCommonInterface::SystemVersionInfo();
        QVERIFY(version.contains("Linux"));
        QVERIFY(!version.contains("Mac"));
        unsigned int major = 0, minor = 0, patch = 0;
        ZtCommonInterface::SystemVersionInfoValue(major, minor, patch);
        QVERIFY(major > 0);
        const unsigned long long t0 = ZtCommonInterface::getSystemTime();
        ZtCommonInterface::Sleep(-5);
        ZtCommonInterface::Sleep(10000);
        QVERIFY(ZtCommonInterface::getSystemTime() - t0 >= 10000);
        QVERIFY(ZtCommonInterface::getDateTime() / 1000000ULL > 1600000000ULL);

        QWidget w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        ZtCommonInterface::setWindowTopHint(&w);
        QVERIFY(w.windowFlags() & Qt::WindowStaysOnTopHint);
        ZtCommonInterface::setWindowTopHint(nullptr);
    }
};

RS_TEST_MAIN(TestCommon)
#include "tst_common.moc"
