#include "mux_access.h"

#include <cerrno>
#include <cstring>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace rsc::job {

namespace {

// The names of the extended attributes of `path`, each ended by a zero; empty where it has none or they
// cannot be read.
std::vector<char> attributeNames(const std::string &path)
{
    for (int attempt = 0; attempt < 4; ++attempt) {
        const ssize_t size = ::llistxattr(path.c_str(), nullptr, 0);
        if (size <= 0)
            break;
        std::vector<char> names(size_t(size) + 1, '\0');
        const ssize_t got = ::llistxattr(path.c_str(), names.data(), names.size() - 1);
        if (got >= 0) {
            names.resize(size_t(got));
            return names;
        }
        if (errno != ERANGE) // else one was added meanwhile
            break;
    }
    return {};
}

bool attributeValue(const std::string &path, const char *name, std::vector<char> *value)
{
    for (int attempt = 0; attempt < 4; ++attempt) {
        const ssize_t size = ::lgetxattr(path.c_str(), name, nullptr, 0);
        if (size < 0)
            return false;
        value->assign(size_t(size) + 1, '\0');
        const ssize_t got = ::lgetxattr(path.c_str(), name, value->data(), value->size());
        if (got >= 0) {
            value->resize(size_t(got));
            return true;
        }
        if (errno != ERANGE)
            return false;
    }
    return false;
}

} // namespace

void OldFileAccess::read(const std::string &path)
{
    m_read = ::lstat(path.c_str(), &m_st) == 0 && S_ISREG(m_st.st_mode);
    m_path = m_read ? path : std::string();
}

void OldFileAccess::giveAccess(int fd, const char *skip) const
{
    if (!m_read || fd < 0)
        return;
    struct stat st;
    if (::fstat(fd, &st) == 0 && st.st_gid != m_st.st_gid)
        (void)::fchown(fd, uid_t(-1), m_st.st_gid); // refused unless this user is a member or root
    // The permission bits before the ACL: setting the ACL sets the group bits to its mask.
    (void)::fchmod(fd, m_st.st_mode & (S_IRWXU | S_IRWXG | S_IRWXO));
    const std::vector<char> names = attributeNames(m_path);
    std::vector<char> value;
    for (size_t at = 0; at < names.size(); at += std::strlen(names.data() + at) + 1) {
        const char *name = names.data() + at;
        // A file capability grants privileges to the program the old file held; the new file holds media.
        if ((skip && std::strcmp(name, skip) == 0) || std::strcmp(name, "security.capability") == 0 ||
            !attributeValue(m_path, name, &value))
            continue;
        (void)::fsetxattr(fd, name, value.data(), value.size(), 0);
    }
}

void OldFileAccess::giveOwner(int fd) const
{
    struct stat st;
    if (!m_read || fd < 0 || ::fstat(fd, &st) != 0)
        return;
    // Root may give the file away; anyone else keeps it. A change of owner clears the set-ID bits.
    if (st.st_uid != m_st.st_uid && ::fchown(fd, m_st.st_uid, gid_t(-1)) == 0 && ::fstat(fd, &st) != 0)
        return;
    mode_t mode = m_st.st_mode & 07777;
    if (st.st_uid != m_st.st_uid)
        mode &= ~mode_t(S_ISUID);
    if (st.st_gid != m_st.st_gid)
        mode &= ~mode_t(S_ISGID);
    if ((st.st_mode & 07777) != mode)
        (void)::fchmod(fd, mode);
}

} // namespace rsc::job
