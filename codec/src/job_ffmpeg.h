#pragma once
// The FFmpeg owners under the names the job engine and the filter graphs use: the library's own
// (ffmpeg_raii.h), plus the audio FIFO only the jobs hold.

#include "ffmpeg_raii.h"

extern "C" {
#include <libavcodec/bsf.h>
#include <libavutil/audio_fifo.h>
}

namespace rsc::job {

struct FifoFreer
{
    void operator()(AVAudioFifo *f) const { av_audio_fifo_free(f); }
};

struct BsfFreer
{
    void operator()(AVBSFContext *c) const { av_bsf_free(&c); }
};

using InputPtr = rsc::InputFormatPtr;
using CodecPtr = rsc::CodecContextPtr;
using FramePtr = rsc::FramePtr;
using PacketPtr = rsc::PacketPtr;
using GraphPtr = rsc::FilterGraphPtr;
using FifoPtr = std::unique_ptr<AVAudioFifo, FifoFreer>;
using BsfPtr = std::unique_ptr<AVBSFContext, BsfFreer>;

using rsc::errorText;
using rsc::makeFrame;
using rsc::makePacket;

} // namespace rsc::job
