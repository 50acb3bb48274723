#include "Clocks.h"
#include "FileRevealer.h"
#include "HostServices.h"
#include "LogindPowerControl.h"
#include "PropertyList.h"
#include "SystemInfo.h"
#include "TestSupport.h"
#include "UpdateChecker.h"
#include "WindowLevel.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QElapsedTimer>
#include <QMutex>
#include <QProcess>
#include <QSignalSpy>
#include <QThread>
#include <QWidget>

namespace {

// Stand-ins for logind and the file manager on a private bus, answering on their own thread.
class FakeLogin : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
public:
    QStringList calls() const
    {
        QMutexLocker lock(&m_mutex);
        return m_calls;
    }
public slots:
    void PowerOff(bool interactive) { record(QStringLiteral("PowerOff %1").arg(interactive)); }
    void Suspend(bool interactive) { record(QStringLiteral("Suspend %1").arg(interactive)); }

private:
    void record(const QString &call)
    {
        QMutexLocker lock(&m_mutex);
        m_calls << call;
    }
    mutable QMutex m_mutex;
    QStringList m_calls;
};

class FakeFileManager : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")
public:
    QStringList uris() const
    {
        QMutexLocker lock(&m_mutex);
        return m_uris;
    }
public slots:
    void ShowItems(const QStringList &uris, const QString &)
    {
        QMutexLocker lock(&m_mutex);
        m_uris << uris;
    }

private:
    mutable QMutex m_mutex;
    QStringList m_uris;
};

class FakeFetcher : public IFeedFetcher
{
public:
    QList<QUrl> urls;
    bool ok = true;
    QByteArray body;
    void fetch(const QUrl &url, Done done) override
    {
        urls << url;
        done(ok, body);
    }
};

const QByteArray kFeed =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<rss version=\"2.0\" xmlns:up=\"http://example.invalid/update\">\n"
    "  <channel>\n"
    "    <item><title>1.0.2</title><enclosure url=\"https://x.invalid/102.tgz\" up:version=\"1.0.2.0\" "
    "up:shortVersionString=\"1.0.2\"/></item>\n"
    "    <item><title>1.0.10</title><link>https://x.invalid/notes</link><up:version>1.0.10.1</up:version></item>\n"
    "    <item><title>old</title><enclosure url=\"https://x.invalid/old.tgz\" up:version=\"0.9\"/></item>\n"
    "  </channel>\n"
    "</rss>";

} // namespace

class TestServices : public QObject
{
    Q_OBJECT
private:
    QProcess m_bus;
    QString m_address;
    QThread m_serviceThread;

private slots:
    void initTestCase()
    {
        m_bus.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        if (m_bus.waitForStarted(5000) && m_bus.waitForReadyRead(5000))
            m_address = QString::fromUtf8(m_bus.readLine()).trimmed();
        m_serviceThread.start();
    }
    void cleanupTestCase()
    {
        m_serviceThread.quit();
        m_serviceThread.wait();
        QDBusConnection::disconnectFromBus("rs-service");
        QDBusConnection::disconnectFromBus("rs-client");
        if (m_bus.state() != QProcess::NotRunning) {
            m_bus.terminate();
            m_bus.waitForFinished(5000);
        }
    }

    void powerGoesToLogind()
    {
        if (m_address.isEmpty())
            QSKIP("no private D-Bus daemon");
        QDBusConnection service = QDBusConnection::connectToBus(m_address, "rs-service");
        QVERIFY(service.isConnected());
        auto *login = new FakeLogin; // lives and dies on the service thread
        login->moveToThread(&m_serviceThread);
        QVERIFY(service.registerObject("/org/freedesktop/login1", login, QDBusConnection::ExportAllSlots));
        QVERIFY(service.registerService("org.freedesktop.login1"));

        LogindPowerControl power(QDBusConnection::connectToBus(m_address, "rs-client"));
        QVERIFY(power.suspend());
        QVERIFY(power.powerOff());
        QCOMPARE(login->calls(), (QStringList{"Suspend 1", "PowerOff 1"}));
        service.unregisterObject("/org/freedesktop/login1");
        service.unregisterService("org.freedesktop.login1");
        login->deleteLater();
        // Without logind the request fails instead of pretending.
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("logind.*PowerOff.*failed"));
        QVERIFY(!power.powerOff());
    }

    void revealGoesToTheFileManager()
    {
        if (m_address.isEmpty())
            QSKIP("no private D-Bus daemon");
        QDBusConnection client = QDBusConnection::connectToBus(m_address, "rs-client");
        DBusFileRevealer noService(client, false);
        QVERIFY(!noService.revealFile("/tmp/a b.mp4"));

        QDBusConnection service = QDBusConnection::connectToBus(m_address, "rs-service");
        auto *manager = new FakeFileManager;
        manager->moveToThread(&m_serviceThread);
        QVERIFY(service.registerObject("/org/freedesktop/FileManager1", manager, QDBusConnection::ExportAllSlots));
        QVERIFY(service.registerService("org.freedesktop.FileManager1"));
        DBusFileRevealer revealer(client, false);
        QVERIFY(revealer.revealFile("/tmp/a b#1.mp4"));
        QCOMPARE(manager->uris(), QStringList{"file:///tmp/a b%231.mp4"});
        QVERIFY(!revealer.revealFile(QString()));
        service.unregisterObject("/org/freedesktop/FileManager1");
        service.unregisterService("org.freedesktop.FileManager1");
        manager->deleteLater();
    }

    void versions_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("order");
        QTest::newRow("equal") << "1.0.1.2"
                               << "1.0.1.2" << 0;
        QTest::newRow("missing part is zero") << "1.0.1"
                                              << "1.0.1.0" << 0;
        QTest::newRow("numeric, not text") << "1.0.10"
                                           << "1.0.9" << 1;
        QTest::newRow("older") << "1.0.1.2"
                               << "1.0.2" << -1;
        QTest::newRow("surrounding blanks") << " 2.0 "
                                            << "1.9.9" << 1;
    }
    void versions()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, order);
        QCOMPARE(UpdateChecker::compareVersions(a, b), order);
        QCOMPARE(UpdateChecker::compareVersions(b, a), -order);
    }

    void feedParsing()
    {
        UpdateChecker::FeedEntry latest;
        QVERIFY(UpdateChecker::parseFeed(kFeed, latest));
        QCOMPARE(latest.version, QString("1.0.10.1"));
        QCOMPARE(latest.link, QString("https://x.invalid/notes"));
        QVERIFY(!UpdateChecker::parseFeed("<rss><channel></channel></rss>", latest));
        QVERIFY(!UpdateChecker::parseFeed("not xml at all", latest));
    }

    void checkUsesTheBundleFeedWithoutNetwork()
    {
        auto fetcher = std::make_unique<FakeFetcher>();
        FakeFetcher *fake = fetcher.get();
        fake->body = kFeed;
        auto previous = HostServices::setFeedFetcher(std::move(fetcher));

        // A copy of the bundle's Info.plist: tests never change the build tree's bundle.
        const QString info = rstest::scratchDir("update") + "/Info.plist";
        QVariant root;
        QVERIFY(PropertyList::readFile(rstest::bundleDir() + "/Contents/Info.plist", root));
        QVariantMap map = root.toMap();
        map["CFBundleVersion"] = "1.0.2";
        QVERIFY(PropertyList::writeXmlFile(info, map));

        UpdateChecker checker;
        QSignalSpy spy(&checker, &UpdateChecker::sendUpdateChecked);
        QVERIFY(!checker.checkForUpdates(true)); // no Info.plist set
        checker.setInfoPlistPath(info);
        QVERIFY(checker.checkForUpdates(true));
        QCOMPARE(fake->urls.value(0), QUrl(map.value("SUFeedURL").toString()));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy[0][0].toBool(), true); // interactive
        QCOMPARE(spy[0][1].toBool(), true); // fetched and parsed
        QCOMPARE(spy[0][2].toBool(), true); // newer than 1.0.2
        QCOMPARE(spy[0][3].toString(), QString("1.0.10.1"));

        fake->ok = false;
        QVERIFY(checker.checkForUpdates(false));
        QCOMPARE(spy.count(), 2);
        QCOMPARE(spy[1][1].toBool(), false);

        fake->ok = true;
        checker.setAutomaticallyChecksForUpdates(true);
        QVERIFY(checker.automaticallyChecksForUpdates());
        QTRY_COMPARE(spy.count(), 3);
        QCOMPARE(spy[2][0].toBool(), false);
        checker.setAutomaticallyChecksForUpdates(false);
        QVERIFY(!checker.automaticallyChecksForUpdates());
        HostServices::setFeedFetcher(std::move(previous));
    }

    void kernelReleases_data()
    {
        QTest::addColumn<QString>("release");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<uint>("major");
        QTest::addColumn<uint>("minor");
        QTest::addColumn<uint>("patch");
        QTest::newRow("debian") << "6.1.0-18-amd64" << true << 6u << 1u << 0u;
        QTest::newRow("two parts") << "5.15" << true << 5u << 15u << 0u;
        QTest::newRow("wsl") << "5.10.102.1-microsoft-standard" << true << 5u << 10u << 102u;
        QTest::newRow("garbage") << "unknown" << false << 9u << 9u << 9u;
    }
    void kernelReleases()
    {
        QFETCH(QString, release);
        QFETCH(bool, ok);
        QFETCH(uint, major);
        QFETCH(uint, minor);
        QFETCH(uint, patch);
        unsigned int a = 9, b = 9, c = 9;
        QCOMPARE(SystemInfo::parseRelease(release, a, b, c), ok);
        QCOMPARE(a, major);
        QCOMPARE(b, minor);
        QCOMPARE(c, patch);
        QVERIFY(SystemInfo::osVersionText().contains("Linux"));
    }

    void clocks()
    {
        const uint64_t t0 = Clocks::monotonicMicroseconds();
        QElapsedTimer timer;
        timer.start();
        Clocks::sleepMicroseconds(-1); // must not turn into an hour-long sleep
        Clocks::sleepMicroseconds(20000);
        const uint64_t t1 = Clocks::monotonicMicroseconds();
        QVERIFY(timer.elapsed() < rstest::kHangBoundMs);
        QVERIFY(t1 - t0 >= 20000);
        const uint64_t wall = Clocks::wallMicroseconds();
        QVERIFY(qAbs(qint64(wall / 1000) - QDateTime::currentMSecsSinceEpoch()) < 5000);
    }

    void keepOnTop()
    {
        QWidget notCreated;
        WindowLevel::setTopHint(&notCreated);
        QVERIFY(!(notCreated.windowFlags() & Qt::WindowStaysOnTopHint));
        WindowLevel::setTopHint(nullptr);

        QWidget shown;
        shown.show();
        QVERIFY(QTest::qWaitForWindowExposed(&shown));
        WindowLevel::setTopHint(&shown);
        QVERIFY(shown.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(shown.isVisible());
    }
};

RS_TEST_MAIN(TestServices)
#include "tst_services.moc"
