#pragma once
// Fetches an update feed over HTTP(S) with Qt Network, bounded by a timeout and a size limit.

#include "HostServices.h"

#include <QObject>

class QNetworkAccessManager;

class NetworkFeedFetcher : public QObject, public IFeedFetcher
{
    Q_OBJECT
public:
    // A reply slower than `timeoutMs` or larger than `maxBytes` counts as failed.
    explicit NetworkFeedFetcher(int timeoutMs = 15000, qint64 maxBytes = 4 * 1024 * 1024);
    ~NetworkFeedFetcher() override;

    void fetch(const QUrl &url, Done done) override;

private:
    QNetworkAccessManager *m_manager = nullptr;
    int m_timeoutMs;
    qint64 m_maxBytes;
};
