#pragma once
// Who may read, write and run a file, as the kernel answers for one user of each class the file's owner,
// group and ACL tell apart, and joins that replace an old output as this user or as user nobody: for the tests
// of what a replaced output keeps.

#include "tst_job_helpers.h"

#include "FileAccess.h"

#include "mux_partial.h"

#include <QByteArray>
#include <QFile>
#include <QVector>

#include <cerrno>
#include <csignal>
#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace accesstest {

// The old output's owner and group, and the ids the ACLs of the tests name.
constexpr uid_t kOwner = 1000;
constexpr gid_t kGroup = 1000;
constexpr uid_t kNamedUser = 2000;
constexpr gid_t kNamedGroup = 3000;

struct Person
{
    const char *name;
    uid_t uid;
    gid_t gid; // its only group
};

// One user of each class; `newGroup` is the group of user nobody's files.
inline QVector<Person> people(gid_t newGroup)
{
    return {{"owner", kOwner, kGroup},        {"old group", 1001, kGroup},        {"new group", 1002, newGroup},
            {"named user", kNamedUser, 4000}, {"named group", 3001, kNamedGroup}, {"others", 4001, 4000}};
}

// Sets the ACL of `text` (none when empty) as the attribute `name` of `path`; 0, else the error.
inline int setAcl(const QByteArray &path, const char *name, const QString &text)
{
    const QByteArray acl = rstest::aclFromText(text);
    return text.isEmpty() || ::setxattr(path.constData(), name, acl.constData(), size_t(acl.size()), 0) == 0 ? 0
                                                                                                             : errno;
}

// What the kernel lets `p` do with `path` (4 read, 2 write, 1 run), asked by a child process running as `p`.
inline unsigned kernelAccess(const QByteArray &path, const Person &p)
{
    const pid_t child = ::fork();
    if (child < 0)
        return 0100;
    if (child == 0) {
        if (::setgroups(1, &p.gid) != 0 || ::setresgid(p.gid, p.gid, p.gid) != 0 ||
            ::setresuid(p.uid, p.uid, p.uid) != 0)
            ::_exit(0100);
        ::_exit((::access(path.constData(), R_OK) == 0 ? 4 : 0) | (::access(path.constData(), W_OK) == 0 ? 2 : 0) |
                (::access(path.constData(), X_OK) == 0 ? 1 : 0));
    }
    int status = 0;
    return ::waitpid(child, &status, 0) == child && WIFEXITED(status) ? unsigned(WEXITSTATUS(status)) : 0100;
}

inline QVector<unsigned> accessMatrix(const QString &path, const QVector<Person> &who)
{
    QVector<unsigned> m;
    for (const Person &p : who)
        m << kernelAccess(path.toUtf8(), p);
    return m;
}

// "owner rw-, old group r--, ..."; a check that could not be made shows as "?".
inline QString describe(const QVector<unsigned> &m, const QVector<Person> &who)
{
    QStringList s;
    for (int i = 0; i < m.size(); ++i) {
        const unsigned a = m[i];
        s << QString::fromLatin1(who[i].name) + QLatin1Char(' ') +
                 (a > 7
                      ? QStringLiteral("?")
                      : QStringLiteral("%1%2%3").arg(a & 4 ? 'r' : '-').arg(a & 2 ? 'w' : '-').arg(a & 1 ? 'x' : '-'));
    }
    return s.join(QStringLiteral(", "));
}

// In `dir`: a clip to join and the old output it replaces, both files copied; false when one could not be.
inline bool clipAndOldOutput(const QString &dir, QString *clip, QString *out)
{
    *clip = dir + QStringLiteral("/clip.mp4");
    *out = dir + QStringLiteral("/out.mp4");
    return QFile::copy(rstest::MediaFixtures::standard(QStringLiteral("h264_aac.mp4")), *clip) &&
           ::chmod(clip->toUtf8().constData(), 0644) == 0 &&
           QFile::copy(rstest::MediaFixtures::standard(QStringLiteral("h264_aac_b.mp4")), *out);
}

// Joins `clip` losslessly into `out` in a child process running as user `uid` of group `gid` alone, written
// into an unnamed or a named file; why it failed, else empty.
inline QString joinOver(const QString &clip, const QString &out, bool byNobody, bool unnamed);
inline QString joinAs(const QString &clip, const QString &out, uid_t uid, gid_t gid, bool unnamed)
{
    const pid_t child = ::fork();
    if (child < 0)
        return QStringLiteral("no child process");
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0)
            ::_exit(2);
        ::_exit(joinOver(clip, out, false, unnamed).isEmpty() ? 0 : 1);
    }
    int status = -1;
    const bool ended =
        QTest::qWaitFor([&] { return ::waitpid(child, &status, WNOHANG) == child; }, 6 * rstest::kHangBoundMs);
    if (!ended) {
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
    }
    return ended && WIFEXITED(status) && WEXITSTATUS(status) == 0 ? QString()
                                                                  : QStringLiteral("user %1's join failed").arg(uid);
}

// Joins `clip` losslessly into `out`, as this user or in a child process as user nobody, written into an
// unnamed or a named file; why it failed, else empty.
inline QString joinOver(const QString &clip, const QString &out, bool byNobody, bool unnamed)
{
    if (!byNobody) {
        rsc::job::PartialFile::allowUnnamed(unnamed);
        const jobtest::Outcome r = jobtest::runMerge(true, out, QStringLiteral("mp4"), {jobtest::Task{clip}});
        rsc::job::PartialFile::allowUnnamed(true);
        return r.failed ? r.error : QString();
    }
    const struct passwd *pw = ::getpwnam("nobody");
    return pw ? joinAs(clip, out, pw->pw_uid, pw->pw_gid, unnamed) : QStringLiteral("no user nobody");
}

} // namespace accesstest
