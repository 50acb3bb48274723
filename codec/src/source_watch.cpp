#include "source_watch.h"

#include "fd_paths.h"

#include <algorithm>
#include <cerrno>
#include <iterator>
#include <mutex>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>
#include <unordered_map>

namespace rsc::job {

std::atomic<bool> SourceWatch::s_events{true};

namespace {

int64_t ns(const struct timespec &t)
{
    return int64_t(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// Filesystems whose files other machines or a user-space server can write without the kernel here
// reporting it (statfs f_type).
constexpr uint32_t kRemoteFilesystems[] = {
    0x6969,     // NFS
    0x517b,     // SMB
    0xff534d42, // CIFS
    0xfe534d42, // SMB2
    0x65735546, // FUSE (sshfs, virtiofs, ...)
    0x73757245, // Coda
    0x5346414f, // AFS
    0x6b414653, // kAFS
    0x00c36400, // Ceph
    0x01021997, // 9P
    0x564c,     // NCP
    0x7461636f, // OCFS2
    0x01161970, // GFS2
    0x0bd00bd0, // Lustre
    0x47504653, // GPFS
};

bool othersWriteUnseen(int fd)
{
    struct statfs fs;
    if (::fstatfs(fd, &fs) != 0)
        return true;
    const auto type = static_cast<uint32_t>(fs.f_type);
    return std::find(std::begin(kRemoteFilesystems), std::end(kRemoteFilesystems), type) !=
           std::end(kRemoteFilesystems);
}

// One inotify instance for the whole process, shared by every source open (the user has few instances:
// fs.inotify.max_user_instances). It stays open once made: closing an instance waits for the kernel to retire
// its watches (a grace period of milliseconds, tens of them on a busy machine), and a join lets go of its
// last watch at the end of every clip. A file open several times has one watch (the kernel keeps one per file
// and instance), counted by its users.
class FileEvents
{
public:
    enum class Seen { Nothing, Written, Unknown };

    static FileEvents &get()
    {
        static auto *events = new FileEvents; // never destroyed: job threads may outlive static destructors
        return *events;
    }

    // Watches the file open as `fd` for writes; false when no watch can be had (limits reached).
    bool add(int fd, int *wd, uint64_t *instance, uint64_t *writes, uint64_t *overflows)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        leaveParentsInstance();
        if (m_fd < 0) {
            m_fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
            if (m_fd < 0)
                return false;
            m_pid = ::getpid();
            ++m_instance;
        }
        // By the open file, not its name: the name may already lead elsewhere, or nowhere.
        *wd = ::inotify_add_watch(m_fd, descriptorPath(fd).c_str(), IN_MODIFY);
        if (*wd < 0)
            return false;
        // Writes reported before now are in what will be read.
        drain();
        Watch &w = m_watches[*wd];
        ++w.users;
        *instance = m_instance;
        *writes = w.writes;
        *overflows = m_overflows;
        return true;
    }

    Seen seen(int wd, uint64_t instance, uint64_t writes, uint64_t overflows)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        leaveParentsInstance();
        if (instance != m_instance || m_fd < 0)
            return Seen::Unknown;
        drain();
        const auto w = m_watches.find(wd);
        if (w == m_watches.end())
            return Seen::Unknown;
        if (w->second.writes != writes)
            return Seen::Written;
        return w->second.lost || m_overflows != overflows ? Seen::Unknown : Seen::Nothing;
    }

    void release(int wd, uint64_t instance)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        leaveParentsInstance();
        const auto w = m_watches.find(wd);
        if (instance != m_instance || m_fd < 0 || w == m_watches.end() || --w->second.users > 0)
            return;
        ::inotify_rm_watch(m_fd, wd);
        m_watches.erase(w);
    }

private:
    struct Watch
    {
        int users = 0;
        uint64_t writes = 0;
        bool lost = false; // the kernel dropped the watch (its filesystem went away)
    };

    // Reads the reports queued so far, without waiting.
    void drain()
    {
        alignas(struct inotify_event) char buffer[16 << 10];
        for (;;) {
            const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                if (n == 0 || errno != EAGAIN)
                    ++m_overflows; // what was queued is unknown
                return;
            }
            for (ssize_t at = 0; at < n;) {
                const auto *e = reinterpret_cast<const struct inotify_event *>(buffer + at);
                at += ssize_t(sizeof(struct inotify_event) + e->len);
                if (e->mask & IN_Q_OVERFLOW)
                    ++m_overflows;
                const auto w = m_watches.find(e->wd);
                if (w == m_watches.end())
                    continue;
                if (e->mask & IN_MODIFY)
                    ++w->second.writes;
                if (e->mask & (IN_IGNORED | IN_UNMOUNT))
                    w->second.lost = true;
            }
        }
    }

    // A child process (fork) shares the parent's instance: reading it would take the parent's reports.
    void leaveParentsInstance()
    {
        if (m_fd < 0 || m_pid == ::getpid())
            return;
        ::close(m_fd);
        m_fd = -1;
        m_watches.clear();
        ++m_instance; // the watches inherited are no longer known here
    }

    std::mutex m_mutex;
    int m_fd = -1;
    pid_t m_pid = 0;
    uint64_t m_instance = 0;
    uint64_t m_overflows = 0;
    std::unordered_map<int, Watch> m_watches;
};

} // namespace

bool SourceWatch::start(int fd)
{
    stop();
    if (s_events.load() && !othersWriteUnseen(fd) &&
        !FileEvents::get().add(fd, &m_wd, &m_instance, &m_writes, &m_overflows))
        m_wd = -1; // no watch to be had: the size and time alone, never a failed join for it
    // Taken after the watch is in place, so that no write falls between the two.
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        stop();
        return false;
    }
    m_size = st.st_size;
    m_mtimeNs = ns(st.st_mtim);
    m_ctimeNs = ns(st.st_ctim);
    m_started = true;
    return true;
}

bool SourceWatch::written(int fd) const
{
    if (!m_started)
        return false;
    struct stat st;
    if (::fstat(fd, &st) != 0)
        return true;
    // A file grown, cut or touched counts as written wherever it is.
    if (st.st_size != m_size || ns(st.st_mtim) != m_mtimeNs)
        return true;
    if (m_wd < 0)
        return false;
    switch (FileEvents::get().seen(m_wd, m_instance, m_writes, m_overflows)) {
    case FileEvents::Seen::Nothing:
        return false;
    case FileEvents::Seen::Written:
        return true;
    case FileEvents::Seen::Unknown:
        // Writes may have gone unreported: the change time moves with every write, and with every other
        // change of the file too, which here must count as a write.
        return ns(st.st_ctim) != m_ctimeNs;
    }
    return true;
}

void SourceWatch::stop()
{
    if (m_wd >= 0)
        FileEvents::get().release(m_wd, m_instance);
    m_wd = -1;
    m_started = false;
}

} // namespace rsc::job
