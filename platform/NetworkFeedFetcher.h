#pragma once
// Fetches an update feed over HTTP(S) with Qt Network, bounded by a timeout.

#include "HostServices.h"

#include <QObject>

class QNetworkAccessManager;

class NetworkFeedFetcher : public QObject, public IFeedFetcher
{
    Q_OBJECT
public:
    explicit NetworkFeedFetcher(int timeoutMs = 15000);
    ~NetworkFeedFetcher() override;

    void fetch(const QUrl &url, Done done) override;

private:
    QNetworkAccessManager *m_manager = nullptr;
    int m_timeoutMs;
};
