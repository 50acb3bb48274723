#include "UpdateChecker.h"

#include "HostServices.h"
#include "PropertyList.h"

#include <QCoreApplication>
#include <QPointer>
#include <QRegularExpression>
#include <QUrl>
#include <QXmlStreamReader>

namespace {
constexpr int kAutomaticIntervalMs = 24 * 60 * 60 * 1000;
}

UpdateChecker::UpdateChecker(QObject *parent) : QObject(parent)
{
    m_timer.setInterval(kAutomaticIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, [this] { checkForUpdates(false); });
}

UpdateChecker &UpdateChecker::instance()
{
    static QPointer<UpdateChecker> s_checker;
    if (!s_checker)
        s_checker = new UpdateChecker(QCoreApplication::instance());
    return *s_checker;
}

void UpdateChecker::setInfoPlistPath(const QString &path)
{
    m_infoPlistPath = path;
}

bool UpdateChecker::checkForUpdates(bool interactive)
{
    if (m_running)
        return true;
    QVariant root;
    if (!PropertyList::readFile(m_infoPlistPath, root))
        return false;
    const QVariantMap info = root.toMap();
    const QUrl feed(info.value(QStringLiteral("SUFeedURL")).toString());
    const QString current = info.value(QStringLiteral("CFBundleVersion")).toString();
    if (!feed.isValid() || feed.isEmpty() || current.isEmpty())
        return false;
    m_running = true;
    QPointer<UpdateChecker> self(this);
    HostServices::feedFetcher().fetch(feed, [self, interactive, current](bool ok, const QByteArray &body) {
        if (self)
            self->onFeed(interactive, current, ok, body);
    });
    return true;
}

void UpdateChecker::onFeed(bool interactive, const QString &currentVersion, bool ok, const QByteArray &body)
{
    m_running = false;
    FeedEntry latest;
    if (!ok || !parseFeed(body, latest)) {
        emit sendUpdateChecked(interactive, false, false, QString(), QString());
        return;
    }
    const bool newer = compareVersions(latest.version, currentVersion) > 0;
    emit sendUpdateChecked(interactive, true, newer,
                           latest.shortVersion.isEmpty() ? latest.version : latest.shortVersion, latest.link);
}

void UpdateChecker::setAutomaticallyChecksForUpdates(bool on)
{
    if (on == m_timer.isActive())
        return;
    if (on) {
        m_timer.start();
        // The first automatic check runs once the event loop is up, not inside the caller.
        QTimer::singleShot(0, this, [this] {
            if (m_timer.isActive())
                checkForUpdates(false);
        });
    } else {
        m_timer.stop();
    }
}

int UpdateChecker::compareVersions(const QString &a, const QString &b)
{
    const QRegularExpression separators(QStringLiteral("[.\\-_ ]"));
    const QStringList pa = a.trimmed().split(separators, Qt::SkipEmptyParts);
    const QStringList pb = b.trimmed().split(separators, Qt::SkipEmptyParts);
    for (int i = 0; i < qMax(pa.size(), pb.size()); ++i) {
        const QString x = i < pa.size() ? pa[i] : QStringLiteral("0");
        const QString y = i < pb.size() ? pb[i] : QStringLiteral("0");
        bool nx = false, ny = false;
        const qulonglong vx = x.toULongLong(&nx);
        const qulonglong vy = y.toULongLong(&ny);
        if (nx && ny) {
            if (vx != vy)
                return vx < vy ? -1 : 1;
        } else if (const int c = QString::compare(x, y, Qt::CaseInsensitive)) {
            return c < 0 ? -1 : 1;
        }
    }
    return 0;
}

bool UpdateChecker::parseFeed(const QByteArray &xml, FeedEntry &latest)
{
    QXmlStreamReader reader(xml);
    bool found = false;
    bool inItem = false;
    FeedEntry item;
    auto finishItem = [&] {
        if (!item.version.isEmpty() && (!found || compareVersions(item.version, latest.version) > 0)) {
            latest = item;
            found = true;
        }
    };
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            const QStringRef name = reader.name();
            if (name == QLatin1String("item")) {
                inItem = true;
                item = FeedEntry();
            } else if (inItem && name == QLatin1String("enclosure")) {
                for (const QXmlStreamAttribute &attr : reader.attributes()) {
                    if (attr.name() == QLatin1String("version"))
                        item.version = attr.value().toString().trimmed();
                    else if (attr.name() == QLatin1String("shortVersionString"))
                        item.shortVersion = attr.value().toString().trimmed();
                    else if (attr.name() == QLatin1String("url") && item.link.isEmpty())
                        item.link = attr.value().toString().trimmed();
                }
            } else if (inItem && name == QLatin1String("version")) {
                item.version = reader.readElementText().trimmed();
            } else if (inItem && name == QLatin1String("shortVersionString")) {
                item.shortVersion = reader.readElementText().trimmed();
            } else if (inItem && name == QLatin1String("link")) {
                item.link = reader.readElementText().trimmed();
            }
        } else if (reader.isEndElement() && reader.name() == QLatin1String("item")) {
            finishItem();
            inItem = false;
        }
    }
    if (reader.hasError() && !found)
        return false;
    return found;
}
