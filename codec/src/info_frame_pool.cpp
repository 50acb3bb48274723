#include "info_frame_pool.h"

extern "C" {
#include <libavutil/imgutils.h>
#include <libavutil/mem.h>
#include <libavutil/pixdesc.h>
}

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

namespace rsc {
namespace {

using Clock = std::chrono::steady_clock;

// Decoders may read and write a little past a plane's end (edge emulation, SIMD tails).
constexpr size_t kPlanePadding = 16 + 64 + 64;

struct Block
{
    size_t size;
    uint8_t *data;
    Clock::time_point idleSince;
};

class Pool
{
public:
    uint8_t *take(size_t size)
    {
        uint8_t *reused = nullptr;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            dropOld(Clock::now());
            for (size_t i = m_idle.size(); i-- > 0 && !reused;) {
                if (m_idle[i].size == size) {
                    reused = m_idle[i].data;
                    m_idleBytes -= size;
                    m_idle.erase(m_idle.begin() + static_cast<std::ptrdiff_t>(i));
                }
            }
        }
        if (!reused)
            return static_cast<uint8_t *>(av_mallocz(size));
        // Cleared as FFmpeg clears its own: a damaged picture shows no remains of another clip.
        std::memset(reused, 0, size);
        return reused;
    }

    void give(uint8_t *data, size_t size)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const Clock::time_point now = Clock::now();
        dropOld(now);
        while (!m_idle.empty() && m_idleBytes + size > kFramePoolIdleBytes) {
            av_free(m_idle.front().data);
            m_idleBytes -= m_idle.front().size;
            m_idle.erase(m_idle.begin());
        }
        if (size > kFramePoolIdleBytes) {
            av_free(data);
            return;
        }
        m_idle.push_back({size, data, now});
        m_idleBytes += size;
        startJanitor();
    }

    void trim()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (const Block &b : m_idle)
            av_free(b.data);
        m_idle.clear();
        m_idleBytes = 0;
        m_wake.notify_all();
    }

    void setIdleLife(std::chrono::milliseconds life)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_idleLife = life;
        m_wake.notify_all();
    }

    size_t idleBytes()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_idleBytes;
    }

private:
    // A thread that frees idle buffers once they have been idle for their life, and ends when none is
    // left; the next one joins it. Called with the lock held.
    void startJanitor()
    {
        if (m_janitorRunning)
            return;
        if (m_janitor.joinable())
            m_janitor.join(); // it has left its loop and holds no lock
        try {
            m_janitor = std::thread([this] { sweep(); });
            m_janitorRunning = true;
        } catch (const std::system_error &) {
            // No thread to spare: idle buffers are then freed at the next use of the pool.
        }
    }

    void sweep()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        while (!m_idle.empty()) {
            m_wake.wait_until(lock, m_idle.front().idleSince + m_idleLife + std::chrono::milliseconds(10));
            dropOld(Clock::now());
        }
        m_janitorRunning = false;
    }

    // Oldest first: the list is in the order buffers came back.
    void dropOld(Clock::time_point now)
    {
        size_t n = 0;
        while (n < m_idle.size() && now - m_idle[n].idleSince > m_idleLife) {
            av_free(m_idle[n].data);
            m_idleBytes -= m_idle[n].size;
            ++n;
        }
        m_idle.erase(m_idle.begin(), m_idle.begin() + static_cast<std::ptrdiff_t>(n));
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::vector<Block> m_idle;
    size_t m_idleBytes = 0;
    std::thread m_janitor;
    bool m_janitorRunning = false;
    // A burst of probes reuses idle buffers; an idle program gives them back.
    std::chrono::milliseconds m_idleLife = std::chrono::seconds(10);
};

// Never destroyed: a buffer released during the program's exit must still find its pool, and a sweeping
// thread still waiting then must find its lock.
Pool &pool()
{
    static Pool *s_pool = new Pool;
    return *s_pool;
}

struct Taken
{
    size_t size;
};

void giveBack(void *opaque, uint8_t *data)
{
    auto *taken = static_cast<Taken *>(opaque);
    pool().give(data, taken->size);
    delete taken;
}

AVBufferRef *takeBuffer(size_t size)
{
    uint8_t *data = pool().take(size);
    if (!data)
        return nullptr;
    auto *taken = new (std::nothrow) Taken{size};
    AVBufferRef *ref = taken ? av_buffer_create(data, size, giveBack, taken, 0) : nullptr;
    if (!ref) {
        delete taken;
        av_free(data);
    }
    return ref;
}

bool pooled(const AVCodecContext *ctx, const AVFrame *frame)
{
    if (!ctx->codec || !(ctx->codec->capabilities & AV_CODEC_CAP_DR1) || ctx->hw_frames_ctx || ctx->hwaccel)
        return false;
    const AVPixFmtDescriptor *desc = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(frame->format));
    return desc && !(desc->flags & (AV_PIX_FMT_FLAG_PAL | AV_PIX_FMT_FLAG_HWACCEL | AV_PIX_FMT_FLAG_BITSTREAM)) &&
           frame->width > 0 && frame->height > 0;
}

} // namespace

// The layout FFmpeg's own allocator gives: dimensions aligned for the codec, every line size a multiple
// of the alignment the codec's SIMD code wants, each plane a buffer of its own.
int pooledGetBuffer(AVCodecContext *ctx, AVFrame *frame, int flags)
{
    if (!pooled(ctx, frame))
        return avcodec_default_get_buffer2(ctx, frame, flags);
    const auto format = static_cast<AVPixelFormat>(frame->format);
    int w = frame->width, h = frame->height;
    int align[AV_NUM_DATA_POINTERS] = {};
    avcodec_align_dimensions2(ctx, &w, &h, align);
    int linesize[4] = {};
    for (int tries = 0;; ++tries) {
        if (av_image_fill_linesizes(linesize, format, w) < 0 || tries > 16)
            return avcodec_default_get_buffer2(ctx, frame, flags);
        bool aligned = true;
        for (int i = 0; i < 4; ++i)
            aligned = aligned && (align[i] <= 0 || linesize[i] % align[i] == 0);
        if (aligned)
            break;
        w += w & ~(w - 1); // the lowest set bit: a coarser alignment next time
    }
    ptrdiff_t linesizes[4] = {linesize[0], linesize[1], linesize[2], linesize[3]};
    size_t sizes[4] = {};
    if (av_image_fill_plane_sizes(sizes, format, h, linesizes) < 0)
        return avcodec_default_get_buffer2(ctx, frame, flags);
    for (int i = 0; i < 4 && sizes[i]; ++i) {
        AVBufferRef *buf = takeBuffer(sizes[i] + kPlanePadding);
        if (!buf) {
            for (int j = 0; j < i; ++j)
                av_buffer_unref(&frame->buf[j]);
            return AVERROR(ENOMEM);
        }
        frame->buf[i] = buf;
        frame->data[i] = buf->data;
        frame->linesize[i] = linesize[i];
    }
    frame->extended_data = frame->data;
    return 0;
}

void usePooledBuffers(AVCodecContext *ctx)
{
    ctx->get_buffer2 = pooledGetBuffer;
#if FF_API_THREAD_SAFE_CALLBACKS
    // FFmpeg 5 still asks for the promise that the callback may run on any decoding thread; it may.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    ctx->thread_safe_callbacks = 1;
#pragma GCC diagnostic pop
#endif
}

void framePoolTrim()
{
    pool().trim();
}

void framePoolSetIdleLife(std::chrono::milliseconds life)
{
    pool().setIdleLife(life);
}

size_t framePoolIdleBytes()
{
    return pool().idleBytes();
}

} // namespace rsc
