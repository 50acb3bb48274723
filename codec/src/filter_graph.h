#pragma once
// One running filter graph built from an edit-pipeline description: a buffer source on "[in]", a buffer sink
// on "[out]"; frames are pushed in and pulled out. Used by the jobs and the player. A sound graph may have a
// second source, the background sound on "[bgsound]", which the graph reads from its file as the mix asks.

#include "background_reader.h"
#include "job_ffmpeg.h"

#include <atomic>
#include <memory>
#include <string>

namespace rsc::edit {

struct VideoInputFormat
{
    int width = 0, height = 0;
    int pixelFormat = -1; // AVPixelFormat
    AVRational timeBase{1, 1000000};
    AVRational sampleAspect{0, 1};
    AVRational frameRate{0, 1};
};

struct AudioInputFormat
{
    int sampleRate = 0;
    int sampleFormat = -1; // AVSampleFormat
    AVChannelLayout layout{};
    AVRational timeBase{1, 1000000};
};

// The pad a sound graph's description reads the background sound from.
constexpr char kBackgroundPad[] = "bgsound";

class FilterGraph
{
public:
    bool openVideo(const VideoInputFormat &in, const std::string &description, std::string *error);
    // With `background`, the description reads it from "[bgsound]"; `interrupt`, when given, ends its reading
    // once set (a stop).
    bool openAudio(const AudioInputFormat &in, const std::string &description, std::string *error,
                   const BackgroundStart *background = nullptr, const std::atomic<bool> *interrupt = nullptr);

    // A null frame ends the input. The caller keeps its own reference to the frame.
    bool push(AVFrame *frame);
    // 0 with a frame, AVERROR(EAGAIN) when more input is needed, AVERROR_EOF at the end.
    int pull(AVFrame *frame);

    AVRational outputTimeBase() const;
    bool isOpen() const { return m_sink != nullptr; }

private:
    bool finish(const std::string &args, const char *srcName, const char *sinkName, const std::string &description,
                std::string *error);
    // Hands the background source what the mix waits for; false when it waits for nothing of it.
    bool feedBackground();

    rsc::job::GraphPtr m_graph;
    AVFilterContext *m_source = nullptr;
    AVFilterContext *m_sink = nullptr;
    std::unique_ptr<BackgroundReader> m_background;
    AVFilterContext *m_backgroundSource = nullptr;
    rsc::FramePtr m_backgroundFrame;
};

// Within its scope the calling thread parses numbers in the C locale, whatever the process locale is.
class CNumericScope
{
public:
    CNumericScope();
    ~CNumericScope();
    CNumericScope(const CNumericScope &) = delete;
    CNumericScope &operator=(const CNumericScope &) = delete;

private:
    void *m_previous = nullptr;
};

} // namespace rsc::edit
