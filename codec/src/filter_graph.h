#pragma once
// One running filter graph built from an edit-pipeline description: a buffer source on "[in]", a buffer sink
// on "[out]"; frames are pushed in and pulled out. Used by the jobs and, later, the player.

#include "job_ffmpeg.h"

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

class FilterGraph
{
public:
    bool openVideo(const VideoInputFormat &in, const std::string &description, std::string *error);
    bool openAudio(const AudioInputFormat &in, const std::string &description, std::string *error);

    // A null frame ends the input. The caller keeps its own reference to the frame.
    bool push(AVFrame *frame);
    // 0 with a frame, AVERROR(EAGAIN) when more input is needed, AVERROR_EOF at the end.
    int pull(AVFrame *frame);

    AVRational outputTimeBase() const;
    bool isOpen() const { return m_sink != nullptr; }

private:
    bool finish(const std::string &args, const char *srcName, const char *sinkName, const std::string &description,
                std::string *error);

    rsc::job::GraphPtr m_graph;
    AVFilterContext *m_source = nullptr;
    AVFilterContext *m_sink = nullptr;
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
