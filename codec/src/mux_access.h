#pragma once
// What a file that takes an old file's place keeps of it, as a careful editor's save does: the group, the
// permission bits and every extended attribute (the POSIX ACL among them) from the start, before any data is
// written, so that the data is never open to more users than the old file was; the owner where this user may
// give it, at the end. Whatever the filesystem or the user's rights refuse is passed over. Where the old
// group cannot be given, the new group gets only what the old file gave its groups and others alike: a member
// of the new group may have held no more than that before.

#include <string>
#include <sys/stat.h>

namespace rsc::job {

class OldFileAccess
{
public:
    // Reads the regular file at `path` (not a link's target); nothing is kept for any other kind of file.
    void read(const std::string &path);
    bool isRead() const { return m_read; }
    // Gives the file open at `fd` the old file's group, permission bits and extended attributes, except the
    // attribute `skip`; with another group, the group's bits and the ACL's owning-group entry and mask
    // narrowed as above.
    void giveAccess(int fd, const char *skip) const;
    // Gives it the old file's owner where allowed, then its set-user-ID and set-group-ID bits only when the
    // owner, resp. the group, is the old file's; its permission bits stay as giveAccess() left them.
    void giveOwner(int fd) const;

private:
    mode_t permissionsFor(bool groupKept) const;

    std::string m_path;
    struct stat m_st
    {
    };
    bool m_read = false;
};

// Gives the file open at `fd`, created 0600 in the folder `dir`, the group's and others' bits that a file
// created with `mode` gets there: the folder's default ACL decides them where it has one, else the umask.
void giveNewFileAccess(int fd, const std::string &dir, mode_t mode);

} // namespace rsc::job
