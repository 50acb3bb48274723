#include "mux_access.h"

#include <algorithm>
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
constexpr uint32_t kNoId = 0xffffffffu;
enum AclTag : unsigned {
    kOwner = 0x01,
    kNamedUser = 0x02,
    kOwningGroup = 0x04,
    kNamedGroup = 0x08,
    kMask = 0x10,
    kOthers = 0x20,
};

struct AclEntry
{
    unsigned tag;
    unsigned bits;
    uint32_t id;
};
using Acl = std::vector<AclEntry>;

uint32_t word(const std::vector<char> &v, size_t at, int bytes)
{
    uint32_t w = 0;
    for (int i = bytes - 1; i >= 0; --i)
        w = w << 8 | uint8_t(v[at + size_t(i)]);
    return w;
}

void putWord(std::vector<char> *v, uint32_t w, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        v->push_back(char(w >> (8 * i) & 0xff));
}

// False for a value that is no ACL this code reads.
bool parseAcl(const std::vector<char> &value, Acl *acl)
{
    acl->clear();
    if (value.size() < kAclHeader || (value.size() - kAclHeader) % kAclEntry != 0 || word(value, 0, 4) != 2)
        return false;
    for (size_t at = kAclHeader; at < value.size(); at += kAclEntry)
        acl->push_back({word(value, at, 2), word(value, at + 2, 2), word(value, at + 4, 4)});
    return true;
}

std::vector<char> aclValue(const Acl &acl)
{
    std::vector<char> value;
    putWord(&value, 2, 4);
    for (const AclEntry &e : acl) {
        putWord(&value, e.tag, 2);
        putWord(&value, e.bits, 2);
        putWord(&value, e.id, 4);
    }
    return value;
}

// The bits of the entry tagged `tag`; `none` where there is none.
unsigned bitsOf(const Acl &acl, unsigned tag, unsigned none)
{
    for (const AclEntry &e : acl) {
        if (e.tag == tag)
            return e.bits;
    }
    return none;
}

bool hasNamedEntries(const Acl &acl)
{
    return std::any_of(acl.begin(), acl.end(),
                       [](const AclEntry &e) { return e.tag == kNamedUser || e.tag == kNamedGroup; });
}

// The old file as the kernel judges it: by its ACL where the mode's group bits (the ACL's mask) hold any bit,
// else by the mode's three classes alone, whatever entries the ACL has. An ACL with a mask counts even without
// named entries: the owning group then has its own entry under the mask, which the mode's group bits (the mask
// itself) do not show: `group::--- mask::rw-` reads as rw- and denies the group.
Acl accessModel(mode_t mode, const Acl &acl)
{
    if (bitsOf(acl, kMask, 0) != 0)
        return acl;
    return {{kOwner, unsigned(mode >> 6 & 07), kNoId},
            {kOwningGroup, unsigned(mode >> 3 & 07), kNoId},
            {kOthers, unsigned(mode & 07), kNoId}};
}

// Narrows the model of the old file for a file whose owner, resp. group, is another. The old owner now falls
// under a named entry of its own, a group entry or the others' (its groups are not known here): each of them
// keeps only what its owner bits held. The old group's members become others, so the others' entry keeps only
// what the old group held; a member of the new group fell under the others' entry or under a group entry,
// so the owning-group entry keeps only what all of them held. The mask stays: entries under it only narrow, and
// a mask without bits would make the kernel pass the ACL over (named entries then count for nothing).
void narrow(Acl *acl, uid_t oldOwner, bool ownerKept, bool groupKept)
{
    const unsigned mask = bitsOf(*acl, kMask, 07);
    const unsigned owner = ownerKept ? 07 : bitsOf(*acl, kOwner, 0);
    const unsigned oldGroup = bitsOf(*acl, kOwningGroup, 0) & mask;
    unsigned everyGroup = bitsOf(*acl, kOthers, 0);
    for (const AclEntry &e : *acl) {
        if (e.tag == kOwningGroup || e.tag == kNamedGroup)
            everyGroup &= e.bits & mask;
    }
    for (AclEntry &e : *acl) {
        if (e.tag == kOwningGroup)
            e.bits &= owner & (groupKept ? 07 : everyGroup);
        else if (e.tag == kOthers)
            e.bits &= owner & (groupKept ? 07 : oldGroup);
        else if (e.tag == kNamedGroup || (e.tag == kNamedUser && e.id == oldOwner))
            e.bits &= owner;
    }
}

// What the file gets: its permission bits, safe without the ACL (set first, and kept where the ACL is
// refused), and the ACL where the old file's holds; empty where the old file had none in force.
struct Grant
{
    mode_t bare = 0;
    std::vector<char> acl;
};

Grant grantFor(const struct stat &old, const std::vector<char> &oldAcl, const struct stat &now)
{
    const mode_t bits = old.st_mode & (S_IRWXU | S_IRWXG | S_IRWXO);
    Acl acl;
    if (!oldAcl.empty() && !parseAcl(oldAcl, &acl))
        return {bits & S_IRWXU, {}};
    Acl model = accessModel(bits, acl);
    narrow(&model, old.st_uid, now.st_uid == old.st_uid, now.st_gid == old.st_gid);
    // Without the ACL a named user or a member of a named group falls under the group's or the others' bits.
    const unsigned mask = bitsOf(model, kMask, 07);
    unsigned named = 07;
    for (const AclEntry &e : model) {
        if (e.tag == kNamedUser || e.tag == kNamedGroup)
            named &= e.bits & mask;
    }
    Grant grant;
    grant.bare = mode_t(bitsOf(model, kOwner, 0) << 6 | (bitsOf(model, kOwningGroup, 0) & mask & named) << 3 |
                        (bitsOf(model, kOthers, 0) & named));
    if (hasNamedEntries(model))
        grant.acl = aclValue(model);
    return grant;
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
    std::vector<char> value;
    Acl acl;
    const bool inherits = attributeValue(dir.empty() ? "." : dir, kAclDefault, &value) && parseAcl(value, &acl);
    const unsigned none = 010;
    const unsigned group = bitsOf(acl, kMask, bitsOf(acl, kOwningGroup, none));
    const unsigned others = bitsOf(acl, kOthers, none);
    // A default ACL takes the umask's place; its mask (else its owning-group entry) gives the group's bits.
    const mode_t allowed = inherits && group != none && others != none ? mode_t(group << 3 | others) : ~currentUmask();
    struct stat st;
    if (::fstat(fd, &st) != 0)
        return;
    const mode_t wanted = (st.st_mode & S_IRWXU) | (mode & allowed & (S_IRWXG | S_IRWXO));
    if ((st.st_mode & 0777) != wanted)
        (void)::fchmod(fd, wanted);
}

void OldFileAccess::read(const std::string &path, const struct stat &file)
{
    auto isFile = [&](const struct stat &st) { return st.st_dev == file.st_dev && st.st_ino == file.st_ino; };
    m_read = ::lstat(path.c_str(), &m_st) == 0 && S_ISREG(m_st.st_mode) && isFile(m_st);
    m_path = m_read ? path : std::string();
    if (!m_read || !attributeValue(path, kAclAccess, &m_acl))
        m_acl.clear();
    // Read by its name: a file saved over it meanwhile must not lend its access.
    struct stat after;
    if (m_read && (::lstat(path.c_str(), &after) != 0 || !isFile(after))) {
        m_read = false;
        m_path.clear();
        m_acl.clear();
    }
}

void OldFileAccess::givePermissions(int fd) const
{
    struct stat now;
    if (::fstat(fd, &now) != 0)
        return;
    const Grant grant = grantFor(m_st, m_acl, now);
    // An ACL the file inherited from its folder's default ACL goes first: it is none of the old file's. The
    // permission bits come before the ACL, which sets the group's bits to its mask.
    (void)::fremovexattr(fd, kAclAccess);
    (void)::fchmod(fd, grant.bare);
    if (!grant.acl.empty())
        (void)::fsetxattr(fd, kAclAccess, grant.acl.data(), grant.acl.size(), 0);
}

void OldFileAccess::giveAccess(int fd, const char *skip) const
{
    if (!m_read || fd < 0)
        return;
    struct stat st;
    // Refused unless this user is a member of the group or root.
    if (::fstat(fd, &st) == 0 && st.st_gid != m_st.st_gid)
        (void)::fchown(fd, uid_t(-1), m_st.st_gid);
    givePermissions(fd);
    const std::vector<char> names = attributeNames(m_path);
    std::vector<char> value;
    for (size_t at = 0; at < names.size(); at += std::strlen(names.data() + at) + 1) {
        const char *name = names.data() + at;
        // A file capability grants privileges to the program the old file held; the new file holds media.
        if ((skip && std::strcmp(name, skip) == 0) || std::strcmp(name, "security.capability") == 0 ||
            std::strcmp(name, kAclAccess) == 0 || !attributeValue(m_path, name, &value))
            continue;
        (void)::fsetxattr(fd, name, value.data(), value.size(), 0);
    }
}

void OldFileAccess::giveOwner(int fd) const
{
    struct stat st;
    if (!m_read || fd < 0 || ::fstat(fd, &st) != 0)
        return;
    // Root may give the file away; anyone else keeps it. Given away, the file may have the old file's access.
    if (st.st_uid != m_st.st_uid && ::fchown(fd, m_st.st_uid, gid_t(-1)) == 0)
        givePermissions(fd);
}

} // namespace rsc::job
