#include "TestSupport.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <csignal>
#include <cstdlib>
#include <memory>
#include <sys/resource.h>
#include <utility>

namespace rstest {

namespace {
std::unique_ptr<QTemporaryDir> &homeDir()
{
    static std::unique_ptr<QTemporaryDir> dir;
    return dir;
}
} // namespace

void prepareEnvironment()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    homeDir() = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/rs-test-home-XXXXXX"));
    const QByteArray home = homeDir()->path().toUtf8();
    qputenv("HOME", home);
    qputenv("XDG_CONFIG_HOME", home + "/.config");
    qputenv("XDG_DATA_HOME", home + "/.local/share");
    qputenv("XDG_CACHE_HOME", home + "/.cache");
    qunsetenv("XDG_DATA_DIRS");
    qunsetenv("XDG_CONFIG_DIRS");
    QStandardPaths::setTestModeEnabled(true);
}

QString bundleDir()
{
    return QString::fromUtf8(RS_BUNDLE_DIR);
}
QString resourcesDir()
{
    return bundleDir() + QStringLiteral("/Contents/Resources");
}
QString sourceDir()
{
    return QString::fromUtf8(RS_SOURCE_DIR);
}
QString buildDir()
{
    return QString::fromUtf8(RS_BUILD_DIR);
}

QString galleryPath(const QString &name)
{
    const QString dir = buildDir() + QStringLiteral("/gallery");
    QDir().mkpath(dir);
    return dir + QLatin1Char('/') + name + QStringLiteral(".png");
}

bool takesShardUnit()
{
    // RS_TEST_SHARD="<index>/<count>", index from 1, set by ctest for each shard of a split test.
    static const std::pair<int, int> shard = [] {
        const QList<QByteArray> parts = qgetenv("RS_TEST_SHARD").split('/');
        const int index = parts.size() == 2 ? parts[0].toInt() : 0;
        const int count = parts.size() == 2 ? parts[1].toInt() : 0;
        return index >= 1 && index <= count ? std::make_pair(index - 1, count) : std::make_pair(0, 1);
    }();
    static int next = 0;
    return next++ % shard.second == shard.first;
}

FileSizeLimit::FileSizeLimit(qint64 bytes)
{
    std::signal(SIGXFSZ, SIG_IGN); // a write beyond the limit fails instead of ending the process
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    m_previous = qint64(limit.rlim_cur);
    limit.rlim_cur = rlim_t(bytes);
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit()
{
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = rlim_t(m_previous);
    setrlimit(RLIMIT_FSIZE, &limit);
}

QString scratchDir(const QString &name)
{
    const QString base = homeDir() ? homeDir()->path() : QDir::tempPath();
    const QString path = base + QStringLiteral("/scratch/") + name;
    QDir(path).removeRecursively();
    QDir().mkpath(path);
    return path;
}

} // namespace rstest
