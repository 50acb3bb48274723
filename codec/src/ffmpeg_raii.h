#pragma once
// Owners for every FFmpeg object the library holds, so that each early return frees what it made.
// FFmpeg's own free functions take a pointer to the pointer and clear it; the deleters below adapt them
// to std::unique_ptr.

#include <memory>
#include <string>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavfilter/avfilter.h>
#include <libavformat/avformat.h>
#include <libavformat/avio.h>
#include <libavutil/dict.h>
#include <libavutil/error.h>
#include <libavutil/frame.h>
#include <libavutil/mem.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

namespace rsc {

struct InputFormatDeleter
{
    void operator()(AVFormatContext *ctx) const { avformat_close_input(&ctx); }
};
// An output context owns its AVIOContext only when it opened one itself (avio_open); custom I/O stays
// with its own owner.
struct OutputFormatDeleter
{
    void operator()(AVFormatContext *ctx) const
    {
        if (!ctx)
            return;
        if (ctx->oformat && !(ctx->oformat->flags & AVFMT_NOFILE) && !(ctx->flags & AVFMT_FLAG_CUSTOM_IO))
            avio_closep(&ctx->pb);
        avformat_free_context(ctx);
    }
};
struct CodecContextDeleter
{
    void operator()(AVCodecContext *ctx) const { avcodec_free_context(&ctx); }
};
struct FrameDeleter
{
    void operator()(AVFrame *frame) const { av_frame_free(&frame); }
};
struct PacketDeleter
{
    void operator()(AVPacket *packet) const { av_packet_free(&packet); }
};
struct SwsDeleter
{
    void operator()(SwsContext *ctx) const { sws_freeContext(ctx); }
};
struct SwrDeleter
{
    void operator()(SwrContext *ctx) const { swr_free(&ctx); }
};
struct FilterGraphDeleter
{
    void operator()(AVFilterGraph *graph) const { avfilter_graph_free(&graph); }
};
struct FilterInOutDeleter
{
    void operator()(AVFilterInOut *io) const { avfilter_inout_free(&io); }
};
// Custom AVIOContexts: the buffer may have been replaced by FFmpeg, so free the one it holds now.
struct IOContextDeleter
{
    void operator()(AVIOContext *io) const
    {
        if (!io)
            return;
        av_freep(&io->buffer);
        avio_context_free(&io);
    }
};
struct DictionaryDeleter
{
    void operator()(AVDictionary *dict) const { av_dict_free(&dict); }
};
struct AvFreeDeleter
{
    void operator()(void *p) const { av_free(p); }
};

using InputFormatPtr = std::unique_ptr<AVFormatContext, InputFormatDeleter>;
using OutputFormatPtr = std::unique_ptr<AVFormatContext, OutputFormatDeleter>;
using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextDeleter>;
using FramePtr = std::unique_ptr<AVFrame, FrameDeleter>;
using PacketPtr = std::unique_ptr<AVPacket, PacketDeleter>;
using SwsPtr = std::unique_ptr<SwsContext, SwsDeleter>;
using SwrPtr = std::unique_ptr<SwrContext, SwrDeleter>;
using FilterGraphPtr = std::unique_ptr<AVFilterGraph, FilterGraphDeleter>;
using FilterInOutPtr = std::unique_ptr<AVFilterInOut, FilterInOutDeleter>;
using IOContextPtr = std::unique_ptr<AVIOContext, IOContextDeleter>;
using DictionaryPtr = std::unique_ptr<AVDictionary, DictionaryDeleter>;
template <typename T> using AvBufferPtr = std::unique_ptr<T, AvFreeDeleter>;

inline FramePtr makeFrame()
{
    return FramePtr(av_frame_alloc());
}
inline PacketPtr makePacket()
{
    return PacketPtr(av_packet_alloc());
}

// av_strerror into a sized buffer, never an unterminated or truncated-without-notice text.
inline std::string errorText(int err)
{
    char buf[AV_ERROR_MAX_STRING_SIZE + 1] = {};
    if (av_strerror(err, buf, sizeof(buf) - 1) < 0)
        snprintf(buf, sizeof(buf), "error %d", err);
    return std::string(buf);
}

} // namespace rsc
