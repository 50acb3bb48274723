#pragma once
// What the program reads from its bundle's Info.plist at start: the version and the web addresses of the
// Home, Help and download pages (keys of our own: RSHomePageURL, RSWebHost, RSDownloadPageURL). The
// bundle is only read, never written: it may be read-only. A missing or unreadable file gives the
// built-in values.

#include <QString>
#include <QUrl>

class AppBundleInfo
{
public:
    // Reads `infoPlistPath` (empty: the bundle's own). False when it could not be read; the built-in
    // values stand then.
    static bool load(const QString &infoPlistPath = QString());

    static QString version();      // "1.0.1.2"
    static QString shortVersion(); // "1.0.1"
    static QUrl homePage();
    static QUrl helpPage(); // <web host>/api/product/redirect?pid=10401&page_type=help
    static QUrl downloadPage();
    static QUrl redirectPage(const QString &pageType);
};
