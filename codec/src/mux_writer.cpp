#include "mux_writer.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace rsc::job {

namespace {
constexpr size_t kBlockSize = 4 << 20;
constexpr int kBlocks = 3; // one being filled, one being written, one ready
} // namespace

BlockWriter::BlockWriter(int fd) : m_fd(fd)
{
    for (int i = 0; i < kBlocks; ++i)
        m_spare.emplace_back(new uint8_t[kBlockSize]);
    m_thread = std::thread([this] { run(); });
}

BlockWriter::~BlockWriter()
{
    finish();
}

int BlockWriter::errorNumber() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_error;
}

bool BlockWriter::startBlock(int64_t offset)
{
    std::unique_lock<std::mutex> lock(m_lock);
    m_changed.wait(lock, [this] { return !m_spare.empty() || m_failed; });
    if (m_failed)
        return false;
    m_current.data = std::move(m_spare.back());
    m_spare.pop_back();
    m_current.offset = offset;
    m_current.size = 0;
    return true;
}

bool BlockWriter::write(int64_t offset, const uint8_t *data, size_t size)
{
    while (size > 0) {
        // Within or right after the block being filled: into it; elsewhere: a block of its own.
        if (m_current.data && (offset < m_current.offset || offset > m_current.offset + int64_t(m_current.size) ||
                               offset == m_current.offset + int64_t(kBlockSize)))
            submitCurrent();
        if (!m_current.data && !startBlock(offset))
            return false;
        const size_t at = size_t(offset - m_current.offset);
        const size_t n = std::min(size, kBlockSize - at);
        std::memcpy(m_current.data.get() + at, data, n);
        m_current.size = std::max(m_current.size, at + n);
        offset += int64_t(n);
        data += n;
        size -= n;
    }
    std::lock_guard<std::mutex> lock(m_lock);
    return !m_failed;
}

void BlockWriter::submitCurrent()
{
    if (!m_current.data)
        return;
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_current.size > 0)
        m_queue.push_back(std::move(m_current));
    else
        m_spare.push_back(std::move(m_current.data));
    m_current = Block();
    m_changed.notify_all();
}

bool BlockWriter::finish()
{
    submitCurrent();
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_stop = true;
        m_changed.notify_all();
    }
    if (m_thread.joinable())
        m_thread.join();
    return !m_failed;
}

void BlockWriter::run()
{
    std::unique_lock<std::mutex> lock(m_lock);
    for (;;) {
        m_changed.wait(lock, [this] { return !m_queue.empty() || m_stop; });
        if (m_queue.empty())
            return;
        Block block = std::move(m_queue.front());
        m_queue.pop_front();
        m_writing = true;
        const bool skip = m_failed; // after a failure the rest is dropped: the output is discarded anyway
        lock.unlock();
        int error = 0;
        for (size_t done = 0; !skip && done < block.size;) {
            const ssize_t n = ::pwrite(m_fd, block.data.get() + done, block.size - done, block.offset + off_t(done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                error = n < 0 ? errno : EIO;
                break;
            }
            done += size_t(n);
        }
        // Start the disk write now, behind the copy, rather than all at the final sync.
        if (!skip && !error)
            ::sync_file_range(m_fd, block.offset, off_t(block.size), SYNC_FILE_RANGE_WRITE);
        lock.lock();
        m_writing = false;
        if (error) {
            m_failed = true;
            m_error = error;
        }
        m_spare.push_back(std::move(block.data));
        m_changed.notify_all();
    }
}

} // namespace rsc::job
