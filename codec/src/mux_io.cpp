#include "mux_io.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rsc::job {

namespace {
// Reads of whole packets larger than the buffer go straight into the packet (one copy less); smaller ones
// are gathered in 256 KiB reads. Writes bypass the muxer's buffer: packets are copied once, into the
// writer's blocks (mux_writer.h); the buffer only gathers the muxer's small header writes.
constexpr int kReadBufferSize = 256 << 10;
constexpr int kWriteBufferSize = 64 << 10;
} // namespace

FileIO::~FileIO()
{
    close();
}

bool FileIO::openRead(const std::string &path)
{
    close();
    // Only regular files: opening a named pipe or a device could block for ever. The type is checked
    // before the open, the open does not block, and the opened file is checked again (it may have been
    // replaced in between).
    struct stat before;
    if (::stat(path.c_str(), &before) != 0 || !S_ISREG(before.st_mode))
        return false;
    m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (m_fd < 0)
        return false;
    struct stat st;
    if (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_ino != before.st_ino || st.st_dev != before.st_dev) {
        close();
        return false;
    }
    ::fcntl(m_fd, F_SETFL, ::fcntl(m_fd, F_GETFL) & ~O_NONBLOCK);
    ::posix_fadvise(m_fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    m_changed = false;
    if (!m_watch.start(m_fd)) {
        close();
        return false;
    }
    return setUp(false);
}

bool FileIO::sourceChanged()
{
    // A clip written over while it is read gives packets of two files; what was joined must not pass.
    if (!m_changed && m_fd >= 0)
        m_changed = m_watch.written(m_fd);
    return m_changed;
}

ssize_t FileIO::readAt(int64_t offset, void *buffer, size_t size) const
{
    return m_fd >= 0 && !m_writer ? ::pread(m_fd, buffer, size, offset) : -1;
}

bool FileIO::openWrite(int fd)
{
    close();
    if (fd < 0)
        return false;
    m_fd = fd;
    return setUp(true);
}

void FileIO::noteWriteFailure(int error)
{
    m_writeFailed = true;
    if (!m_writeErrno)
        m_writeErrno = error ? error : EIO;
}

bool FileIO::setUp(bool write)
{
    const int size = write ? kWriteBufferSize : kReadBufferSize;
    auto *buffer = static_cast<unsigned char *>(av_malloc(size));
    if (!buffer) {
        close();
        return false;
    }
    m_writeFailed = false;
    m_writeErrno = 0;
    m_ctx = avio_alloc_context(buffer, size, write ? 1 : 0, this, write ? nullptr : &FileIO::readPacket,
                               write ? &FileIO::writePacket : nullptr, &FileIO::seek);
    if (!m_ctx) {
        av_free(buffer);
        close();
        return false;
    }
    if (write) {
        m_writePos = m_writeEnd = 0;
        m_ctx->direct = 1;
        m_writer = std::make_unique<BlockWriter>(m_fd);
    }
    return true;
}

bool FileIO::close()
{
    bool ok = !m_writeFailed;
    if (m_ctx) {
        if (m_ctx->write_flag) {
            avio_flush(m_ctx);
            ok = ok && !m_writeFailed && m_ctx->error >= 0;
        }
        if (m_writer && !m_writer->finish()) {
            noteWriteFailure(m_writer->errorNumber());
            ok = false;
        }
        m_writer.reset();
        av_freep(&m_ctx->buffer);
        avio_context_free(&m_ctx);
    }
    m_watch.stop();
    if (m_fd >= 0) {
        if (::close(m_fd) != 0) {
            noteWriteFailure(errno);
            ok = false;
        }
        m_fd = -1;
    }
    return ok;
}

std::string FileIO::writeProblem() const
{
    return m_writeErrno ? std::strerror(m_writeErrno) : std::string();
}

int FileIO::readPacket(void *opaque, uint8_t *buf, int size)
{
    auto *self = static_cast<FileIO *>(opaque);
    if (self->sourceChanged())
        return AVERROR(EIO);
    for (;;) {
        const ssize_t n = ::read(self->m_fd, buf, static_cast<size_t>(size));
        if (n > 0)
            return static_cast<int>(n);
        if (n == 0)
            return AVERROR_EOF;
        if (errno != EINTR)
            return AVERROR(errno);
    }
}

int FileIO::writePacket(void *opaque, uint8_t *buf, int size)
{
    auto *self = static_cast<FileIO *>(opaque);
    if (!self->m_writer->write(self->m_writePos, buf, static_cast<size_t>(size))) {
        const int error = self->m_writer->errorNumber();
        self->noteWriteFailure(error);
        return AVERROR(error ? error : EIO);
    }
    self->m_writePos += size;
    self->m_writeEnd = std::max(self->m_writeEnd, self->m_writePos);
    return size;
}

int64_t FileIO::seek(void *opaque, int64_t offset, int whence)
{
    auto *self = static_cast<FileIO *>(opaque);
    if (self->m_writer) {
        // Output: positions are kept here; the writer puts each block where it belongs.
        if (whence & AVSEEK_SIZE)
            return self->m_writeEnd;
        const int64_t base = (whence & ~AVSEEK_FORCE) == SEEK_CUR   ? self->m_writePos
                             : (whence & ~AVSEEK_FORCE) == SEEK_END ? self->m_writeEnd
                                                                    : 0;
        if (base + offset < 0)
            return AVERROR(EINVAL);
        self->m_writePos = base + offset;
        return self->m_writePos;
    }
    if (whence & AVSEEK_SIZE) {
        struct stat st;
        return ::fstat(self->m_fd, &st) == 0 ? st.st_size : AVERROR(errno);
    }
    const off_t pos = ::lseek(self->m_fd, offset, whence & ~AVSEEK_FORCE);
    return pos < 0 ? AVERROR(errno) : pos;
}

} // namespace rsc::job
