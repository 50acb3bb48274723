#pragma once
// The encoders of a re-encoding job and their streams in the output: video frames are numbered by the
// caller (one tick per frame), audio goes through a FIFO so the encoder always gets whole frames and the
// sample count runs on across clips.

#include "encode_plan.h"
#include "mux_output.h"

#include <string>

namespace rsc::job {

class Encoders
{
public:
    bool open(const StreamPlan &plan, OutputFile &output, std::string *error);

    const StreamPlan &plan() const { return m_plan; }
    // A frame in the plan's size and pixel format; its pts is the output frame number.
    bool writeVideo(AVFrame *frame);
    int64_t videoFrames() const { return m_videoFrames; }

    // Samples in the plan's format, rate and layout, appended after everything written so far.
    bool writeAudio(const AVFrame *frame);
    // Appends silence until `totalSamples` samples were written in all.
    bool padAudioTo(int64_t totalSamples);
    // Drops samples beyond `totalSamples` that have not been encoded yet. With a video stream, sound is
    // never encoded ahead of the pictures written so far, so a clip's sound can still be cut to its picture.
    void trimAudioTo(int64_t totalSamples);
    // The sample count that lines up with `frames` video frames.
    int64_t samplesForFrames(int64_t frames) const;
    int64_t audioSamples() const { return m_audioSamples; }

    // Drains the FIFO and the encoders.
    bool flush();

private:
    bool encodeAudioFrames(bool last);
    bool drain(AVCodecContext *enc, AVStream *stream, AVFrame *frame);

    StreamPlan m_plan;
    OutputFile *m_output = nullptr;
    CodecPtr m_video;
    CodecPtr m_audio;
    AVStream *m_videoStream = nullptr;
    AVStream *m_audioStream = nullptr;
    FifoPtr m_fifo;
    FramePtr m_audioFrame;
    PacketPtr m_packet;
    int m_audioFrameSize = 1024;
    int64_t m_videoFrames = 0;
    int64_t m_audioSamples = 0;        // accepted into the FIFO
    int64_t m_audioEncodedSamples = 0; // handed to the encoder
};

} // namespace rsc::job
