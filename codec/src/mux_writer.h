#pragma once
// Writes an output file from a thread of its own: the muxing thread hands over large blocks and goes on
// reading and muxing while the system copies the previous block into the file. A few blocks at most are in
// flight, so memory stays flat however long the join. Writes carry their file offset: a muxer going back to
// fill in a size patches the block being filled when it lies there, and otherwise starts a block of its
// own, so seeking never waits for the disk. Each written block is also sent on to the disk at once, so the
// final sync before the output takes its place finds little left to do.

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace rsc::job {

class BlockWriter
{
public:
    explicit BlockWriter(int fd);
    BlockWriter(const BlockWriter &) = delete;
    BlockWriter &operator=(const BlockWriter &) = delete;
    ~BlockWriter();

    // Copies the bytes, meant for `offset` in the file, into the current block; a full block goes to the
    // writing thread. False once a write has failed (the error in errorNumber()).
    bool write(int64_t offset, const uint8_t *data, size_t size);
    // Writes what is left and ends the thread; false when any write failed.
    bool finish();
    int errorNumber() const;

private:
    struct Block
    {
        std::unique_ptr<uint8_t[]> data;
        int64_t offset = 0;
        size_t size = 0;
    };
    void submitCurrent();
    bool startBlock(int64_t offset);
    void run();

    int m_fd;
    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    std::vector<std::unique_ptr<uint8_t[]>> m_spare;
    std::deque<Block> m_queue;
    Block m_current;
    bool m_writing = false;
    bool m_stop = false;
    bool m_failed = false;
    int m_error = 0;
    std::thread m_thread;
};

} // namespace rsc::job
