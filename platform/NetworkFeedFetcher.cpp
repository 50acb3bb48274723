#include "NetworkFeedFetcher.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

NetworkFeedFetcher::NetworkFeedFetcher(int timeoutMs)
    : m_manager(new QNetworkAccessManager(this)), m_timeoutMs(timeoutMs)
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
    connect(reply, &QNetworkReply::finished, this, [reply, done] {
        const bool ok = reply->error() == QNetworkReply::NoError;
        // Feeds are small; anything larger is not a feed.
        const QByteArray body = ok ? reply->read(4 * 1024 * 1024) : QByteArray();
        reply->deleteLater();
        done(ok, body);
    });
}
