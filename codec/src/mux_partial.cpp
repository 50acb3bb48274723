#include "mux_partial.h"

#include "fd_paths.h"

#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace rsc::job {

std::atomic<bool> PartialFile::s_allowUnnamed{true};

namespace {

std::function<void(PartialFile::Step)> s_whilePlacing;

void reached(PartialFile::Step step)
{
    const int error = errno;
    if (s_whilePlacing)
        s_whilePlacing(step);
    errno = error;
}

} // namespace

void PartialFile::whilePlacing(std::function<void(Step)> hook)
{
    s_whilePlacing = std::move(hook);
}

namespace {

constexpr char kMark[] = "user.reelsplice.partial";
constexpr size_t kTokenChars = 32;
constexpr char kSuffix[] = ".part";
constexpr size_t kSuffixChars = sizeof(kSuffix) - 1;

std::string randomToken()
{
    unsigned char bytes[kTokenChars / 2];
    size_t got = 0;
    while (got < sizeof bytes) {
        const ssize_t n = ::getrandom(bytes + got, sizeof bytes - got, 0);
        if (n > 0)
            got += size_t(n);
        else if (errno != EINTR)
            break;
    }
    if (got < sizeof bytes) {
        std::random_device device;
        for (unsigned char &b : bytes)
            b = static_cast<unsigned char>(device());
    }
    static const char digits[] = "0123456789abcdef";
    std::string token;
    for (const unsigned char b : bytes) {
        token += digits[b >> 4];
        token += digits[b & 15];
    }
    return token;
}

void splitPath(const std::string &path, std::string *dir, std::string *base)
{
    const size_t slash = path.find_last_of('/');
    *dir = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    *base = slash == std::string::npos ? path : path.substr(slash + 1);
}

// The hidden name for the output `path` in its folder.
std::string hiddenName(const std::string &path, const std::string &token)
{
    std::string dir, base;
    splitPath(path, &dir, &base);
    return "." + base + "." + token + kSuffix;
}

// The token of a name hiddenName() made (".<name>.<token>.part"); empty for any other name.
std::string tokenOf(const std::string &name)
{
    if (name.size() < 3 + kTokenChars + kSuffixChars || name[0] != '.' ||
        name.compare(name.size() - kSuffixChars, kSuffixChars, kSuffix) != 0)
        return std::string();
    const size_t at = name.size() - kSuffixChars - kTokenChars;
    const std::string token = name.substr(at, kTokenChars);
    if (name[at - 1] != '.' || token.find_first_not_of("0123456789abcdef") != std::string::npos)
        return std::string();
    return token;
}

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Takes our mark off the file `name` in `dir` that `st` describes, which is not ours: a save that keeps the
// attributes of the file it replaces copies the mark too. True when it carries none now, or is no regular file
// (never taken for a partial file); false while it may still pass for one: the mark would not come off, or the
// filesystem keeps no marks and the name alone decides.
bool unmark(int dir, const std::string &name, const struct stat &st)
{
    const int fd = ::openat(dir, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return errno == ELOOP;
    struct stat own;
    bool unmarked = false;
    if (::fstat(fd, &own) == 0 && sameFile(own, st)) {
        (void)::fremovexattr(fd, kMark);
        unmarked = !S_ISREG(own.st_mode) || (::fgetxattr(fd, kMark, nullptr, 0) < 0 && errno == ENODATA);
    }
    ::close(fd);
    return unmarked;
}

} // namespace

PartialFile::~PartialFile()
{
    discard();
}

bool PartialFile::holdOld(const std::string &path, int *held)
{
    *held = -1;
    // Only a new name or a regular file can be replaced: a folder, a pipe or a device at the path is refused
    // before anything is opened.
    struct stat st;
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
        return false;
    reached(Step::Opening);
    // Only what is there now may be replaced: a file saved at a free path while the job runs is someone's. It
    // is held from now on, so that no file saved in its place meanwhile can have its inode number.
    *held = ::open(path.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
    // Decided by what is held: a folder made at the path since the look is no old output (the exchange would
    // put it, with its files, under the partial file's name).
    if (*held >= 0 && (::fstat(*held, &st) != 0 || !(S_ISREG(st.st_mode) || S_ISLNK(st.st_mode)))) {
        ::close(*held);
        *held = -1;
        return false;
    }
    return true;
}

bool PartialFile::create(const std::string &path, int replaces)
{
    discard();
    m_path = path;
    m_setAside.clear();
    std::string dir, base;
    splitPath(path, &dir, &base);
    // The folder is held, so that the file is found by what it is even when the folder is renamed meanwhile.
    m_dir = ::open(dir.empty() ? "." : dir.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (m_dir < 0 || (replaces >= 0 && (m_held = ::fcntl(replaces, F_DUPFD_CLOEXEC, 0)) < 0)) {
        const int error = errno;
        discard();
        errno = error;
        return false;
    }
    m_old = OldFileAccess(); // nothing is taken from a file that appeared after the job began
    struct stat held;
    if (m_held >= 0 && ::fstat(m_held, &held) == 0)
        m_old.read(path, held);
    // An unnamed file gets its name through /proc at the end (linkTo()): without /proc the named way is
    // taken, so that a complete output is never lost for want of a name.
    if (s_allowUnnamed.load() && descriptorPathsWork()) {
        m_fd = ::openat(m_dir, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0644);
        if (m_fd >= 0) {
            // Locked now, marked only if it ever gets a name (see nameHidden()).
            m_locked = ::flock(m_fd, LOCK_EX | LOCK_NB) == 0;
            m_old.giveAccess(m_fd, kMark);
            return true;
        }
        if (!noUnnamedFiles(errno))
            return false;
    }
    // A name taken already (by anything) is passed over, never opened. Named, the file can be opened by
    // others: it is private to this user until it has the old file's access, or until it is complete.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string token = randomToken();
        const std::string name = hiddenName(path, token);
        m_fd = ::openat(m_dir, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (m_fd < 0) {
            if (errno != EEXIST)
                return false;
            continue;
        }
        m_name = name;
        // Until it is locked the file looks abandoned to a job cleaning up beside the same output, which may
        // take its lock or remove its name first: then it is left to that job and another name taken. Where
        // the filesystem has no locks no other job ever removes the file.
        if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0) {
            struct stat named;
            if (::fstatat(m_dir, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0 || !is(named)) {
                m_name.clear();
                closeFile();
                continue;
            }
            m_locked = true;
        } else if (errno == EWOULDBLOCK) {
            closeFile();
            continue;
        }
        // Marked only once locked: a marked file whose lock is free has lost its writer.
        m_marked = m_locked && ::fsetxattr(m_fd, kMark, token.data(), token.size(), 0) == 0;
        m_old.giveAccess(m_fd, kMark);
        m_private = !m_old.isRead();
        return true;
    }
    return false;
}

int PartialFile::duplicate() const
{
    return m_fd >= 0 ? ::fcntl(m_fd, F_DUPFD_CLOEXEC, 0) : -1;
}

bool PartialFile::is(const struct stat &st) const
{
    struct stat own;
    return m_fd >= 0 && ::fstat(m_fd, &own) == 0 && sameFile(own, st);
}

bool PartialFile::linkTo(int dir, const std::string &name) const
{
    // Through /proc, which any user may do; else by the descriptor itself, which older kernels allow only
    // to privileged users.
    const std::string self = descriptorPath(m_fd);
    if (::linkat(AT_FDCWD, self.c_str(), dir, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return true;
    if (errno == EEXIST)
        return false;
    return ::linkat(m_fd, "", dir, name.c_str(), AT_EMPTY_PATH) == 0;
}

bool PartialFile::nameHidden()
{
    // A link cannot replace a file, a rename can: the unnamed file gets a hidden name first, marked before it
    // appears, so that a writer killed between the two steps leaves a file the next job removes.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string token = randomToken();
        m_marked = m_locked && ::fsetxattr(m_fd, kMark, token.data(), token.size(), 0) == 0;
        const std::string name = hiddenName(m_path, token);
        if (linkTo(m_dir, name)) {
            m_name = name;
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

bool PartialFile::commit()
{
    bool ok = false;
    if (m_fd < 0)
        errno = EBADF;
    else
        ok = place();
    const int error = errno;
    if (ok && m_marked)
        ::fremovexattr(m_fd, kMark);
    discard();
    errno = error;
    return ok;
}

bool PartialFile::place()
{
    if (m_private) {
        std::string dir, base;
        splitPath(m_path, &dir, &base);
        giveNewFileAccess(m_fd, dir, 0644); // as the unnamed file was created
    }
    m_old.giveOwner(m_fd);
    if (m_held < 0) {
        // A free path is taken only while it is still free: a link or a rename that never replaces. Nothing is
        // lost if the machine stops first, so the data is not waited for.
        struct stat st;
        if (::lstat(m_path.c_str(), &st) == 0) {
            errno = EEXIST;
            return false;
        }
        return m_name.empty() ? linkTo(AT_FDCWD, m_path) : moveToFreePath();
    }
    // An old file is replaced by one rename, so its readers see it or the new one, never a part; the data
    // reaches the disk first, so that a machine stopping after the rename leaves no empty file in its place,
    // and before the path is looked at: a sync may take seconds, in which the path may change hands.
    return syncData() && (!m_name.empty() || nameHidden()) && replaceHeld();
}

bool PartialFile::syncData() const
{
    const bool synced = ::fdatasync(m_fd) == 0;
    reached(Step::Syncing);
    return synced;
}

bool PartialFile::holds(const struct stat &st) const
{
    struct stat held;
    return ::fstat(m_held, &held) == 0 && held.st_nlink > 0 && sameFile(held, st);
}

bool PartialFile::replaceHeld()
{
    // The held file keeps its inode number from reuse (and, on FUSE, its node and so its number): what has
    // that number is the file itself.
    struct stat st;
    if (::lstat(m_path.c_str(), &st) != 0)
        return errno == ENOENT && moveToFreePath(); // it went, and nothing took its place
    if (!holds(st)) {
        errno = EEXIST;
        return false;
    }
    reached(Step::Looked);
    // The two files change places, and what came out is looked at: anything that took the path since the look
    // is put back.
    if (::renameat2(m_dir, m_name.c_str(), AT_FDCWD, m_path.c_str(), RENAME_EXCHANGE) == 0) {
        reached(Step::Exchanged);
        if (::fstatat(m_dir, m_name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && holds(st)) {
            dropOld();
            m_name.clear();
            return true;
        }
        putBack();
        errno = EEXIST;
        return false;
    }
    // The old file was deleted or renamed since the look, and nothing took its place.
    if (errno == ENOENT)
        return moveToFreePath();
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return false;
    // Network and FUSE filesystems may not exchange: the path is looked at once more, just before the rename.
    if (::lstat(m_path.c_str(), &st) != 0)
        return errno == ENOENT && moveToFreePath();
    if (!holds(st)) {
        errno = EEXIST;
        return false;
    }
    if (::renameat(m_dir, m_name.c_str(), AT_FDCWD, m_path.c_str()) != 0)
        return false;
    m_name.clear();
    return true;
}

void PartialFile::dropOld()
{
    // Where the folder takes no removal now (made read-only or immutable since the exchange) the old file keeps
    // its bytes and the hidden name, and gets the name's mark: known as ours, the next job there removes it.
    if (::unlinkat(m_dir, m_name.c_str(), 0) == 0 || errno == ENOENT)
        return;
    const int fd = ::openat(m_dir, m_name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    struct stat st;
    if (fd >= 0 && ::fstat(fd, &st) == 0 && holds(st)) {
        const std::string token = tokenOf(m_name);
        (void)::fsetxattr(fd, kMark, token.data(), token.size(), 0);
    }
    if (fd >= 0)
        ::close(fd);
}

void PartialFile::putBack()
{
    // What took the path goes back to it. What the path gives in exchange is the finished output, unless a file
    // was saved there meanwhile too: that one is someone's as well, and must never pass for a partial file, which
    // a later job would remove. It takes the path where that is free (the exchange found none), else a free name
    // of its own beside it.
    ::renameat2(m_dir, m_name.c_str(), AT_FDCWD, m_path.c_str(), RENAME_EXCHANGE);
    struct stat st;
    if (::fstatat(m_dir, m_name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || is(st))
        return;
    const bool unmarked = unmark(m_dir, m_name, st);
    if (::renameat2(m_dir, m_name.c_str(), AT_FDCWD, m_path.c_str(), RENAME_NOREPLACE) == 0) {
        m_name.clear();
        return;
    }
    // "out (2).mp4", "out (3).mp4" ...
    std::string dir, base;
    splitPath(m_path, &dir, &base);
    const size_t dot = base.find_last_of('.');
    const size_t stem = dot == std::string::npos || dot == 0 ? base.size() : dot;
    for (int n = 2; n < 100; ++n) {
        const std::string name = base.substr(0, stem) + " (" + std::to_string(n) + ")" + base.substr(stem);
        if (::renameat2(m_dir, m_name.c_str(), m_dir, name.c_str(), RENAME_NOREPLACE) == 0) {
            m_setAside = dir + name;
            m_name.clear();
            return;
        }
        if (errno != EEXIST)
            break;
    }
    // None free: it stays under the hidden name, which the failure names. Where the name alone would make it a
    // partial file (no marks kept there, or its mark would not come off) it loses the name's ending.
    if (!unmarked) {
        const std::string plain = m_name.substr(0, m_name.size() - kSuffixChars);
        if (::renameat2(m_dir, m_name.c_str(), m_dir, plain.c_str(), RENAME_NOREPLACE) == 0)
            m_name = plain;
    }
    m_setAside = dir + m_name;
    m_name.clear();
}

bool PartialFile::moveToFreePath()
{
    if (::renameat2(m_dir, m_name.c_str(), AT_FDCWD, m_path.c_str(), RENAME_NOREPLACE) == 0) {
        m_name.clear();
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return false;
    // Network and FUSE filesystems may not rename that way: a hard link too is made only at a free name.
    if (::linkat(m_dir, m_name.c_str(), AT_FDCWD, m_path.c_str(), 0) == 0) {
        ::unlinkat(m_dir, m_name.c_str(), 0);
        m_name.clear();
        return true;
    }
    if (errno == EEXIST)
        return false;
    // Nor link (FAT): the path is looked at once more just before the rename, microseconds before.
    struct stat st;
    if (::lstat(m_path.c_str(), &st) == 0) {
        errno = EEXIST;
        return false;
    }
    if (::renameat(m_dir, m_name.c_str(), AT_FDCWD, m_path.c_str()) != 0)
        return false;
    m_name.clear();
    return true;
}

void PartialFile::discard()
{
    closeFile();
    for (int *fd : {&m_dir, &m_held}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

void PartialFile::closeFile()
{
    if (!m_name.empty()) {
        // Only while the name is still this file's. A folder made read-only meanwhile keeps the name: the data
        // goes, and the marked, unlocked file is left to the next job there.
        struct stat named;
        if (::fstatat(m_dir, m_name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 && is(named) &&
            ::unlinkat(m_dir, m_name.c_str(), 0) != 0)
            (void)::ftruncate(m_fd, 0);
        m_name.clear();
    }
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_locked = m_marked = m_private = false;
}

void PartialFile::removeAbandoned(const std::string &path)
{
    std::string dir, base;
    splitPath(path, &dir, &base);
    DIR *d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d)
        return;
    const int dfd = ::dirfd(d);
    while (const dirent *e = ::readdir(d)) {
        const std::string token = tokenOf(e->d_name);
        if (token.empty())
            continue;
        const int fd = ::openat(dfd, e->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd < 0)
            continue;
        char mark[kTokenChars];
        struct stat st, named;
        bool ours = false;
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid()) {
            const ssize_t n = ::fgetxattr(fd, kMark, mark, sizeof mark);
            if (n == ssize_t(kTokenChars))
                ours = token.compare(0, kTokenChars, mark, kTokenChars) == 0;
            else if (n < 0 && errno == ENOTSUP) // no marks on this filesystem at all
                ours = e->d_name == hiddenName(base, token);
        }
        if (ours && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::fstatat(dfd, e->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 && sameFile(st, named))
            ::unlinkat(dfd, e->d_name, 0);
        ::close(fd);
    }
    ::closedir(d);
}

} // namespace rsc::job
