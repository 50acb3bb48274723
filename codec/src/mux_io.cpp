#include "mux_io.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rsc::job {

namespace {
// Reads of whole packets larger than the buffer go straight into the packet (one copy less); smaller ones
// are gathered in 256 KiB reads. Writes are gathered into 4 MiB: fewer system calls than one per packet.
constexpr int kReadBufferSize = 256 << 10;
constexpr int kWriteBufferSize = 4 << 20;
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
    return setUp(false);
}

bool FileIO::openNew(const std::string &path)
{
    close();
    // A new file only: whatever is at the path already (a link, a pipe, another job's file) is never opened.
    m_fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (m_fd < 0)
        return false;
    return setUp(true);
}

bool FileIO::sync()
{
    if (m_ctx && m_ctx->write_flag)
        avio_flush(m_ctx);
    return m_fd >= 0 && !m_writeFailed && (!m_ctx || m_ctx->error >= 0) && ::fdatasync(m_fd) == 0;
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
    m_ctx = avio_alloc_context(buffer, size, write ? 1 : 0, this, write ? nullptr : &FileIO::readPacket,
                               write ? &FileIO::writePacket : nullptr, &FileIO::seek);
    if (!m_ctx) {
        av_free(buffer);
        close();
        return false;
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
        av_freep(&m_ctx->buffer);
        avio_context_free(&m_ctx);
    }
    if (m_fd >= 0) {
        if (::close(m_fd) != 0)
            ok = false;
        m_fd = -1;
    }
    return ok;
}

int FileIO::readPacket(void *opaque, uint8_t *buf, int size)
{
    auto *self = static_cast<FileIO *>(opaque);
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
    int done = 0;
    while (done < size) {
        const ssize_t n = ::write(self->m_fd, buf + done, static_cast<size_t>(size - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            self->m_writeFailed = true;
            return AVERROR(errno ? errno : EIO);
        }
        done += static_cast<int>(n);
    }
    return size;
}

int64_t FileIO::seek(void *opaque, int64_t offset, int whence)
{
    auto *self = static_cast<FileIO *>(opaque);
    if (whence & AVSEEK_SIZE) {
        struct stat st;
        return ::fstat(self->m_fd, &st) == 0 ? st.st_size : AVERROR(errno);
    }
    const off_t pos = ::lseek(self->m_fd, offset, whence & ~AVSEEK_FORCE);
    return pos < 0 ? AVERROR(errno) : pos;
}

} // namespace rsc::job
