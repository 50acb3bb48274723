#pragma once
// What a file that takes an old file's place keeps of it, as a careful editor's save does: the group, the
// permission bits and every extended attribute (the POSIX ACL among them) from the start, before any data is
// written, and the owner where this user may give it, at the end. Whatever the filesystem or the user's rights
// refuse is passed over. The rule: no one may read, write or run the new file who could not do so with the old
// one, as the kernel judges it. Where the owner or the group cannot be the old file's, the bits are narrowed so
// that it holds: the old group's members become others, the new group's members were others (or members of a
// named group), and the old owner, now one of them, had only its owner bits. The user who replaces the file and
// cannot give it away owns it with the old owner's bits: it made the file and could change them anyway.
// Set-user-ID, set-group-ID and sticky bits are never given: they are no business of a media file.

#include <string>
#include <sys/stat.h>
#include <vector>

namespace rsc::job {

class OldFileAccess
{
public:
    // Reads the regular file at `path` (not a link's target) when it is the file `file` describes (same device and
    // inode) from before to after the read; nothing is kept for any other file.
    void read(const std::string &path, const struct stat &file);
    bool isRead() const { return m_read; }
    // Gives the file open at `fd` the old file's group where this user may, its extended attributes except
    // `skip`, and the permission bits and ACL the rule above allows for the owner and group the file has.
    void giveAccess(int fd, const char *skip) const;
    // Gives it the old file's owner where allowed (root), and then the access that owner's file may have.
    void giveOwner(int fd) const;

private:
    void givePermissions(int fd) const;

    std::string m_path;
    struct stat m_st
    {
    };
    std::vector<char> m_acl; // the old file's access ACL as the kernel passes it; empty: none
    bool m_read = false;
};

// Gives the file open at `fd`, created 0600 in the folder `dir`, the group's and others' bits that a file
// created with `mode` gets there: the folder's default ACL decides them where it has one, else the umask.
void giveNewFileAccess(int fd, const std::string &dir, mode_t mode);

} // namespace rsc::job
