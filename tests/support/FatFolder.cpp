#include "FatFolder.h"

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace rstest {

namespace {

constexpr long kFuseMagic = 0x65735546;
constexpr long kFatMagic = 0x4d44; // MSDOS_SUPER_MAGIC

QString tool(const QString &name)
{
    return QStandardPaths::findExecutable(name, {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin"),
                                                 QStringLiteral("/usr/bin"), QStringLiteral("/bin")});
}

// Runs a short command to its end, within the hang bound; its output on failure.
bool run(const QString &program, const QStringList &args, QString *output = nullptr)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    const bool ended = p.waitForFinished(kHangBoundMs);
    if (!ended) {
        p.kill();
        p.waitForFinished(kHangBoundMs);
    }
    if (output)
        *output = QString::fromLocal8Bit(p.readAll()).trimmed();
    return ended && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

} // namespace

FatFolder::FatFolder(const QString &base) : m_base(base), m_mountPoint(base + QStringLiteral("/mnt")) {}

FatFolder::~FatFolder()
{
    unmount();
    if (!isMounted())
        QDir(m_base).removeRecursively();
}

bool FatFolder::isMounted() const
{
    QFile info(QStringLiteral("/proc/self/mountinfo"));
    return info.open(QIODevice::ReadOnly) && info.readAll().contains(' ' + m_mountPoint.toUtf8() + ' ');
}

bool FatFolder::mountedAs(long type) const
{
    struct statfs fs;
    return isMounted() && ::statfs(m_mountPoint.toUtf8().constData(), &fs) == 0 && long(fs.f_type) == type;
}

void FatFolder::unmount()
{
    // Root's umount takes down either kind; fusermount is a user's way out of a FUSE mount. A busy mount is
    // detached.
    const QString umount = tool(QStringLiteral("umount"));
    const QString fusermount = tool(QStringLiteral("fusermount"));
    const QStringList ways[] = {{umount, m_mountPoint},
                                {fusermount, QStringLiteral("-u"), m_mountPoint},
                                {umount, QStringLiteral("-l"), m_mountPoint},
                                {fusermount, QStringLiteral("-uz"), m_mountPoint}};
    for (const QStringList &way : ways) {
        if (!isMounted())
            break;
        if (!way.first().isEmpty())
            run(way.first(), way.mid(1));
    }
    if (m_fuse.state() != QProcess::NotRunning && !m_fuse.waitForFinished(kHangBoundMs)) {
        m_fuse.kill();
        m_fuse.waitForFinished(kHangBoundMs);
    }
}

bool FatFolder::mount()
{
    unmount(); // a mount that a killed test left
    QDir(m_base).removeRecursively();
    const QString image = m_base + QStringLiteral("/fat.img");
    if (!QDir().mkpath(m_mountPoint)) {
        m_why = QStringLiteral("cannot make ") + m_mountPoint;
        return false;
    }
    const QString mkfs = tool(QStringLiteral("mkfs.vfat"));
    QString out;
    if (mkfs.isEmpty() || !run(mkfs, {QStringLiteral("-C"), image, QStringLiteral("65536")}, &out)) {
        m_why = QStringLiteral("no FAT image could be made (mkfs.vfat of dosfstools): ") + out;
        return false;
    }
    // fusefat needs /dev/fuse; without it, it fails at once rather than waits.
    const QString fusefat = tool(QStringLiteral("fusefat"));
    const int fuse = ::open("/dev/fuse", O_RDWR | O_CLOEXEC);
    if (fuse >= 0)
        ::close(fuse);
    if (!fusefat.isEmpty() && fuse >= 0) {
        // Its output goes to a file: a pipe that the test, waiting on the mount, does not read would stop it.
        const QString log = m_base + QStringLiteral("/fusefat.log");
        m_fuse.setStandardOutputFile(log);
        m_fuse.setStandardErrorFile(log, QIODevice::Append);
        m_fuse.start(fusefat, {QStringLiteral("-f"), QStringLiteral("-o"), QStringLiteral("rw+"), image, m_mountPoint});
        if (QTest::qWaitFor([this] { return mountedAs(kFuseMagic) || m_fuse.state() == QProcess::NotRunning; },
                            kHangBoundMs) &&
            mountedAs(kFuseMagic))
            return true;
        QFile output(log);
        output.open(QIODevice::ReadOnly);
        const QStringList lines = QString::fromLocal8Bit(output.readAll()).trimmed().split(QLatin1Char('\n'));
        m_why = QStringLiteral("fusefat: ") + lines.last() + QStringLiteral("; ");
        unmount();
    } else {
        m_why = fusefat.isEmpty() ? QStringLiteral("fusefat is not installed; ") : QStringLiteral("no /dev/fuse; ");
    }
    if (run(tool(QStringLiteral("mount")),
            {QStringLiteral("-t"), QStringLiteral("vfat"), QStringLiteral("-o"), QStringLiteral("loop"), image,
             m_mountPoint},
            &out) &&
        mountedAs(kFatMagic))
        return true;
    m_why += QStringLiteral("a vfat loop mount: ") + out;
    unmount();
    return false;
}

} // namespace rstest
