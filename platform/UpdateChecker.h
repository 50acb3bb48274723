#pragma once
// Checks the update feed named by the bundle's Info.plist (SUFeedURL) against the bundle's version
// (CFBundleVersion). The feed is an RSS appcast whose items carry the version on their enclosure
// (attribute "version", any prefix) or in a "version" element. The result is announced by signal; the
// windows decide how to show it.

#include <QObject>
#include <QString>
#include <QTimer>

class UpdateChecker : public QObject
{
    Q_OBJECT
public:
    struct FeedEntry
    {
        QString version;
        QString shortVersion;
        QString link;
    };

    explicit UpdateChecker(QObject *parent = nullptr);

    // The program's checker, owned by the application object.
    static UpdateChecker &instance();

    void setInfoPlistPath(const QString &path);
    QString infoPlistPath() const { return m_infoPlistPath; }

    // Starts one check unless one is running; false when the feed address or version is unknown.
    bool checkForUpdates(bool interactive);
    void setAutomaticallyChecksForUpdates(bool on);
    bool automaticallyChecksForUpdates() const { return m_timer.isActive(); }

    // Negative, 0 or positive as a is older than, equal to or newer than b; numeric parts compare as
    // numbers ("1.10" > "1.9"), a missing part counts as 0.
    static int compareVersions(const QString &a, const QString &b);
    // The newest entry of an appcast; false when the text holds none.
    static bool parseFeed(const QByteArray &xml, FeedEntry &latest);

signals:
    void sendUpdateChecked(bool interactive, bool ok, bool newer, const QString &latestVersion, const QString &link);

private:
    void onFeed(bool interactive, const QString &currentVersion, bool ok, const QByteArray &body);

    QString m_infoPlistPath;
    QTimer m_timer;
    bool m_running = false;
};
