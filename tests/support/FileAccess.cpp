#include "FileAccess.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace rstest {

FileAccess fileAccess(const QString &path)
{
    FileAccess a;
    const QByteArray p = path.toUtf8();
    struct stat st;
    if (::lstat(p.constData(), &st) != 0)
        return a;
    a.mode = st.st_mode & 07777;
    a.uid = st.st_uid;
    a.gid = st.st_gid;
    QByteArray names(4096, '\0');
    const ssize_t n = ::llistxattr(p.constData(), names.data(), size_t(names.size()));
    std::vector<char> value(65536);
    for (const QByteArray &name : names.left(int(qMax<ssize_t>(n, 0))).split('\0')) {
        const ssize_t size =
            name.isEmpty() ? -1 : ::lgetxattr(p.constData(), name.constData(), value.data(), value.size());
        if (size >= 0)
            a.attributes << QString::fromUtf8(name + '=' + QByteArray(value.data(), int(size)).toHex());
    }
    a.attributes.sort();
    return a;
}

QByteArray aclFromText(const QString &text)
{
    QByteArray acl;
    auto put = [&acl](quint32 value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            acl.append(char((value >> (8 * i)) & 0xff));
    };
    put(2, 4); // the version, then entries of tag, permission bits and id
    for (const QString &entry : text.split(QLatin1Char(','))) {
        const QStringList f = entry.split(QLatin1Char(':'));
        if (f.size() != 3 || f[2].size() != 3)
            return QByteArray();
        const bool named = !f[1].isEmpty();
        const QString tag = f[0];
        put(tag == QLatin1String("u")   ? (named ? 0x02 : 0x01)
            : tag == QLatin1String("g") ? (named ? 0x08 : 0x04)
            : tag == QLatin1String("m") ? 0x10
                                        : 0x20,
            2);
        put((f[2][0] == QLatin1Char('r') ? 4 : 0) | (f[2][1] == QLatin1Char('w') ? 2 : 0) |
                (f[2][2] == QLatin1Char('x') ? 1 : 0),
            2);
        put(named ? f[1].toUInt() : 0xffffffffu, 4);
    }
    return acl;
}

QByteArray aclLettingRead(uid_t user, int ownerBits)
{
    const auto bits = [](int b) {
        return QStringLiteral("%1%2%3").arg(b & 4 ? 'r' : '-').arg(b & 2 ? 'w' : '-').arg(b & 1 ? 'x' : '-');
    };
    return aclFromText(QStringLiteral("u::%1,u:%2:r--,g::---,m::r--,o::---").arg(bits(ownerBits)).arg(user));
}

int groupId(const char *name)
{
    const struct group *g = ::getgrnam(name);
    return g ? int(g->gr_gid) : -1;
}

int userId(const char *name)
{
    const struct passwd *u = ::getpwnam(name);
    return u ? int(u->pw_uid) : -1;
}

bool othersReach(const QString &path)
{
    QString at = QFileInfo(path).absoluteFilePath();
    for (;;) {
        at = QFileInfo(at).path();
        struct stat st;
        if (::stat(at.toUtf8().constData(), &st) != 0 || !(st.st_mode & S_IXOTH))
            return false;
        if (at == QStringLiteral("/"))
            return true;
    }
}

QVector<OpenFile> openFiles(pid_t pid)
{
    QVector<OpenFile> files;
    const QString fds = QStringLiteral("/proc/%1/fd").arg(pid);
    for (const QString &fd : QDir(fds).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        const QString link = fds + QLatin1Char('/') + fd;
        char target[4096];
        const ssize_t n = ::readlink(link.toUtf8().constData(), target, sizeof target);
        if (n > 0)
            files.append({link, QString::fromUtf8(target, int(n))});
    }
    return files;
}

} // namespace rstest
