#pragma once
// What a user may have set on a file that a join then replaces: its mode, owner, group and extended
// attributes (the POSIX ACL among them), read back as text for comparing the old file with its successor.

#include <QString>
#include <QStringList>
#include <QVector>

#include <sys/types.h>

namespace rstest {

struct FileAccess
{
    uint mode = 0; // the permission and set-ID bits
    uint uid = 0;
    uint gid = 0;
    QStringList attributes; // "name=<hex value>", sorted
};

FileAccess fileAccess(const QString &path);

// A POSIX ACL (the value of system.posix_acl_access or _default) from its short text, entries in the kernel's
// order: "u::rw-,u:2000:---,g::r--,g:3000:r--,m::r--,o::---" (as getfacl lists them); empty for a text it
// cannot read.
QByteArray aclFromText(const QString &text);

// A POSIX ACL that lets `user` read the file, with the given bits for its owner and none for anyone else; its
// mask makes the file's group bits r--.
QByteArray aclLettingRead(uid_t user, int ownerBits);

// The id of a group or user by name; -1 when it does not exist.
int groupId(const char *name);
int userId(const char *name);

// A file process `pid` holds open: its descriptor's link under /proc and what that names (an unnamed or
// removed file's name ends in " (deleted)").
struct OpenFile
{
    QString link;
    QString target;
};
QVector<OpenFile> openFiles(pid_t pid);

// Whether another user may pass through every folder down to `path` (each has the others' search bit).
bool othersReach(const QString &path);

} // namespace rstest
