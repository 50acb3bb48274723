#include "NetworkFeedFetcher.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

NetworkFeedFetcher::NetworkFeedFetcher(int timeoutMs, qint64 maxBytes)
    : m_manager(new QNetworkAccessManager(this)), m_timeoutMs(timeoutMs), m_maxBytes(maxBytes)
{}

NetworkFeedFetcher::~NetworkFeedFetcher() = default;

void NetworkFeedFetcher::fetch(const QUrl &url, Done done)
{
    if (!url.isValid() || (url.scheme() != QLatin1String("https") && url.scheme() != QLatin1String("http"))) {
        done(false, QByteArray());
        return;
    }
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply *reply = m_manager->get(request);
    QTimer::singleShot(m_timeoutMs, reply, [reply] { reply->abort(); });
    // Feeds are small; anything larger is not a feed, and is not downloaded whole into memory either.
    const qint64 maxBytes = m_maxBytes;
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply, maxBytes](qint64 received, qint64 total) {
        if (received > maxBytes || total > maxBytes)
            reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [reply, done, maxBytes] {
        bool ok = reply->error() == QNetworkReply::NoError;
        QByteArray body = ok ? reply->read(maxBytes + 1) : QByteArray();
        if (body.size() > maxBytes) {
            ok = false;
            body.clear();
        }
        reply->deleteLater();
        done(ok, body);
    });
}
