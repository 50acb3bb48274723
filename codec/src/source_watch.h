#pragma once
// Whether a source file is written to while a job reads it. Only writes to its content count: a file
// manager's tag (an extended attribute), a rename or move, a backup's hard link, an unlink while it is open,
// a new mode or owner and a new access time leave the bytes read as they were.
//
// On local filesystems the kernel reports every write by any process to the file (inotify's IN_MODIFY, on
// the file itself, whatever its names), also one that sets the modification time back afterwards, and no
// change of its metadata. Where those reports cannot be had — network and FUSE filesystems, whose other
// clients' writes they miss, or the user's inotify limits are reached — the size and the modification time
// decide. Where reports were lost (the event queue overflowed), any change of the file's change time counts
// as a write.

#include <atomic>
#include <cstdint>

namespace rsc::job {

class SourceWatch
{
public:
    SourceWatch() = default;
    SourceWatch(const SourceWatch &) = delete;
    SourceWatch &operator=(const SourceWatch &) = delete;
    ~SourceWatch() { stop(); }

    // Starts watching the file open as `fd`; called before it is first read. False when `fd` cannot be
    // examined at all.
    bool start(int fd);
    // True when the file may have been written to since start().
    bool written(int fd) const;
    // Lets the file's watch go (the last user of the file's watch removes it from the kernel).
    void stop();

    // Whether the kernel's reports are used at all (on by default): tests take the size and time alone.
    static void allowEvents(bool allow) { s_events.store(allow); }

private:
    static std::atomic<bool> s_events;

    bool m_started = false;
    int m_wd = -1;            // the kernel's watch of the file, -1 without one
    uint64_t m_instance = 0;  // which inotify instance the watch belongs to
    uint64_t m_writes = 0;    // the writes that instance had seen to the file at the start
    uint64_t m_overflows = 0; // the instance's lost reports at the start
    int64_t m_size = -1;
    int64_t m_mtimeNs = 0;
    int64_t m_ctimeNs = 0;
};

} // namespace rsc::job
