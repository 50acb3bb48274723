#include "mux_access.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
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

// A POSIX ACL as the kernel passes it: a version word (2), then entries of a 16-bit tag, 16-bit permission
// bits and a 32-bit id, all little-endian.
constexpr char kAclAccess[] = "system.posix_acl_access";
constexpr char kAclDefault[] = "system.posix_acl_default";
constexpr size_t kAclHeader = 4;
constexpr size_t kAclEntry = 8;
enum AclTag : unsigned {
    kNamedUser = 0x02,
    kOwningGroup = 0x04,
    kNamedGroup = 0x08,
    kMask = 0x10,
    kOthers = 0x20,
};

unsigned word16(const std::vector<char> &v, size_t at)
{
    return unsigned(uint8_t(v[at])) | unsigned(uint8_t(v[at + 1])) << 8;
}

size_t aclEntries(const std::vector<char> &acl)
{
    const bool valid = acl.size() >= kAclHeader && (acl.size() - kAclHeader) % kAclEntry == 0 && word16(acl, 0) == 2 &&
                       word16(acl, 2) == 0;
    return valid ? (acl.size() - kAclHeader) / kAclEntry : 0;
}

unsigned aclTag(const std::vector<char> &acl, size_t entry)
{
    return word16(acl, kAclHeader + entry * kAclEntry);
}

unsigned aclBits(const std::vector<char> &acl, size_t entry)
{
    return word16(acl, kAclHeader + entry * kAclEntry + 2);
}

void setAclBits(std::vector<char> *acl, size_t entry, unsigned bits)
{
    const size_t at = kAclHeader + entry * kAclEntry + 2;
    (*acl)[at] = char(bits & 0xff);
    (*acl)[at + 1] = char(bits >> 8);
}

// The bits of the entry tagged `tag`; -1 where there is none.
int aclBitsOf(const std::vector<char> &acl, unsigned tag)
{
    for (size_t i = 0; i < aclEntries(acl); ++i) {
        if (aclTag(acl, i) == tag)
            return int(aclBits(acl, i));
    }
    return -1;
}

// The old file's ACL for a file of another group. A member of the new group fell under one of the old group
// entries or under the others' entry, so the owning-group entry keeps only what all of them held; the mask
// keeps only what the entries it bounds hold. Named users and groups keep what they had. False for a value
// that is no ACL this code reads, which is then not given at all.
bool narrowForAnotherGroup(std::vector<char> *acl)
{
    const size_t entries = aclEntries(*acl);
    if (entries == 0)
        return false;
    unsigned held = 07;
    for (size_t i = 0; i < entries; ++i) {
        const unsigned tag = aclTag(*acl, i);
        if (tag == kOwningGroup || tag == kNamedGroup || tag == kOthers)
            held &= aclBits(*acl, i);
    }
    unsigned bounded = 0;
    for (size_t i = 0; i < entries; ++i) {
        const unsigned tag = aclTag(*acl, i);
        if (tag == kOwningGroup)
            setAclBits(acl, i, held);
        if (tag == kNamedUser || tag == kOwningGroup || tag == kNamedGroup)
            bounded |= aclBits(*acl, i);
    }
    for (size_t i = 0; i < entries; ++i) {
        if (aclTag(*acl, i) == kMask)
            setAclBits(acl, i, aclBits(*acl, i) & bounded);
    }
    return true;
}

mode_t currentUmask()
{
    if (std::FILE *status = std::fopen("/proc/self/status", "re")) {
        char line[256];
        unsigned mask = 0;
        bool found = false;
        while (!found && std::fgets(line, sizeof line, status))
            found = std::sscanf(line, "Umask: %o", &mask) == 1;
        std::fclose(status);
        if (found)
            return mode_t(mask);
    }
    // Only by setting it otherwise: to a value that lets no one else into what another thread creates meanwhile.
    const mode_t mask = ::umask(S_IRWXG | S_IRWXO);
    ::umask(mask);
    return mask;
}

} // namespace

void giveNewFileAccess(int fd, const std::string &dir, mode_t mode)
{
    std::vector<char> acl;
    const bool inherits = attributeValue(dir.empty() ? "." : dir, kAclDefault, &acl);
    const int group = aclBitsOf(acl, kMask) >= 0 ? aclBitsOf(acl, kMask) : aclBitsOf(acl, kOwningGroup);
    const int others = aclBitsOf(acl, kOthers);
    // A default ACL takes the umask's place; its mask (else its owning-group entry) gives the group's bits.
    const mode_t allowed = inherits && group >= 0 && others >= 0 ? mode_t(group << 3 | others) : ~currentUmask();
    struct stat st;
    if (::fstat(fd, &st) != 0)
        return;
    const mode_t wanted = (st.st_mode & S_IRWXU) | (mode & allowed & (S_IRWXG | S_IRWXO));
    if ((st.st_mode & 0777) != wanted)
        (void)::fchmod(fd, wanted);
}

mode_t OldFileAccess::permissionsFor(bool groupKept) const
{
    mode_t mode = m_st.st_mode & (S_IRWXU | S_IRWXG | S_IRWXO);
    // A member of the new group fell under the old group's bits or the others'.
    if (!groupKept)
        mode &= ~mode_t(S_IRWXG) | ((mode & S_IRWXO) << 3);
    return mode;
}

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
    // Refused unless this user is a member of the group or root.
    const bool groupKept =
        (::fstat(fd, &st) == 0 && st.st_gid == m_st.st_gid) || ::fchown(fd, uid_t(-1), m_st.st_gid) == 0;
    // The permission bits before the ACL: setting the ACL sets the group bits to its mask.
    (void)::fchmod(fd, permissionsFor(groupKept));
    const std::vector<char> names = attributeNames(m_path);
    std::vector<char> value;
    for (size_t at = 0; at < names.size(); at += std::strlen(names.data() + at) + 1) {
        const char *name = names.data() + at;
        // A file capability grants privileges to the program the old file held; the new file holds media.
        if ((skip && std::strcmp(name, skip) == 0) || std::strcmp(name, "security.capability") == 0 ||
            !attributeValue(m_path, name, &value) ||
            (!groupKept && std::strcmp(name, kAclAccess) == 0 && !narrowForAnotherGroup(&value)))
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
    mode_t mode = (st.st_mode & (S_IRWXU | S_IRWXG | S_IRWXO)) | (m_st.st_mode & (S_ISUID | S_ISGID | S_ISVTX));
    if (st.st_uid != m_st.st_uid)
        mode &= ~mode_t(S_ISUID);
    if (st.st_gid != m_st.st_gid)
        mode &= ~mode_t(S_ISGID);
    if ((st.st_mode & 07777) != mode)
        (void)::fchmod(fd, mode);
}

} // namespace rsc::job
