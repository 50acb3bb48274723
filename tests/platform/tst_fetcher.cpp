#include "NetworkFeedFetcher.h"
#include "TestSupport.h"

#include <QHostAddress>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QTcpServer>
#include <QTcpSocket>

namespace {

// A one-answer HTTP server on the loopback interface: the fetcher is exercised without any network.
class LoopbackServer : public QObject
{
    Q_OBJECT
public:
    // Answers every request with `body` (announced with its length unless `announce` is false), or not
    // at all when `silent`.
    LoopbackServer(QByteArray body, bool announce, bool silent)
        : m_body(std::move(body)), m_announce(announce), m_silent(silent)
    {
        connect(&m_server, &QTcpServer::newConnection, this, &LoopbackServer::OnConnection);
        m_server.listen(QHostAddress::LocalHost);
    }
    QUrl url() const { return QUrl(QStringLiteral("http://127.0.0.1:%1/feed").arg(m_server.serverPort())); }
    bool listening() const { return m_server.isListening(); }

private slots:
    void OnConnection()
    {
        QTcpSocket *socket = m_server.nextPendingConnection();
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
            m_request += socket->readAll();
            if (m_silent || !m_request.contains("\r\n\r\n"))
                return;
            QByteArray head = "HTTP/1.1 200 OK\r\nContent-Type: application/xml\r\nConnection: close\r\n";
            if (m_announce)
                head += "Content-Length: " + QByteArray::number(m_body.size()) + "\r\n";
            socket->write(head + "\r\n" + m_body);
            socket->disconnectFromHost();
        });
    }

private:
    QTcpServer m_server;
    QByteArray m_body;
    QByteArray m_request;
    bool m_announce;
    bool m_silent;
};

} // namespace

class TestFetcher : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // Straight to the loopback server, whatever proxy the environment names.
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
    }

    void fetches_data()
    {
        QTest::addColumn<int>("bodySize");
        QTest::addColumn<bool>("announce");
        QTest::addColumn<bool>("silent");
        QTest::addColumn<bool>("ok");
        QTest::newRow("small feed") << 300 << true << false << true;
        QTest::newRow("at the limit") << 4096 << true << false << true;
        QTest::newRow("announced too large") << 4097 << true << false << false;
        QTest::newRow("streamed too large") << 64 * 1024 << false << false << false;
        QTest::newRow("no answer") << 10 << true << true << false;
    }
    void fetches()
    {
        QFETCH(int, bodySize);
        QFETCH(bool, announce);
        QFETCH(bool, silent);
        QFETCH(bool, ok);
        const QByteArray body(bodySize, 'x');
        LoopbackServer server(body, announce, silent);
        QVERIFY(server.listening());

        NetworkFeedFetcher fetcher(1500, 4096);
        int calls = 0;
        bool gotOk = !ok;
        QByteArray got;
        fetcher.fetch(server.url(), [&](bool success, const QByteArray &data) {
            ++calls;
            gotOk = success;
            got = data;
        });
        QTRY_COMPARE_WITH_TIMEOUT(calls, 1, 5000);
        QCOMPARE(gotOk, ok);
        QCOMPARE(got, ok ? body : QByteArray());
        // Once, also when aborted: nothing is left that could answer again.
        QTRY_VERIFY_WITH_TIMEOUT(fetcher.findChildren<QNetworkReply *>().isEmpty(), rstest::kHangBoundMs);
        QCOMPARE(calls, 1);
    }

    void refusesOtherSchemes_data()
    {
        QTest::addColumn<QUrl>("url");
        QTest::newRow("file") << QUrl("file:///etc/hostname");
        QTest::newRow("ftp") << QUrl("ftp://127.0.0.1/feed");
        QTest::newRow("empty") << QUrl();
    }
    void refusesOtherSchemes()
    {
        QFETCH(QUrl, url);
        NetworkFeedFetcher fetcher;
        int calls = 0;
        fetcher.fetch(url, [&](bool success, const QByteArray &) {
            ++calls;
            QVERIFY(!success);
        });
        QCOMPARE(calls, 1);
    }
};

RS_TEST_MAIN(TestFetcher)
#include "tst_fetcher.moc"
