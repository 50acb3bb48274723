#include "filter_graph.h"

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/cpu.h>
#include <libavutil/opt.h>
}

#include <algorithm>
#include <locale.h>

namespace rsc::edit {

namespace {

// Each thread of a scaling filter keeps line buffers of its own, which grow with how far the picture is scaled
// (tens of megabytes each for a picture widened a hundredfold): beyond a few threads they add memory faster
// than speed, so a many-core machine does not multiply them.
constexpr int kMaxFilterThreads = 8;

locale_t cLocale()
{
    static locale_t loc = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr));
    return loc;
}

} // namespace

CNumericScope::CNumericScope()
{
    if (cLocale())
        m_previous = uselocale(cLocale());
}

CNumericScope::~CNumericScope()
{
    if (m_previous)
        uselocale(static_cast<locale_t>(m_previous));
}

bool FilterGraph::openVideo(const VideoInputFormat &in, const std::string &description, std::string *error)
{
    char args[512];
    const AVRational sar = in.sampleAspect.num > 0 ? in.sampleAspect : AVRational{1, 1};
    snprintf(args, sizeof args, "video_size=%dx%d:pix_fmt=%d:time_base=%d/%d:pixel_aspect=%d/%d", in.width, in.height,
             in.pixelFormat, in.timeBase.num, in.timeBase.den, sar.num, sar.den);
    std::string a = args;
    if (in.frameRate.num > 0 && in.frameRate.den > 0)
        a += ":frame_rate=" + std::to_string(in.frameRate.num) + "/" + std::to_string(in.frameRate.den);
    return finish(a, "buffer", "buffersink", description, error);
}

namespace {

std::string abufferArgs(AVRational timeBase, int sampleRate, int sampleFormat, const AVChannelLayout &layout)
{
    char name[128] = {};
    av_channel_layout_describe(&layout, name, sizeof name);
    char args[512];
    snprintf(args, sizeof args, "time_base=%d/%d:sample_rate=%d:sample_fmt=%s:channel_layout=%s", timeBase.num,
             timeBase.den, sampleRate, av_get_sample_fmt_name(AVSampleFormat(sampleFormat)), name);
    return args;
}

} // namespace

bool FilterGraph::openAudio(const AudioInputFormat &in, const std::string &description, std::string *error,
                            const BackgroundStart *background, const std::atomic<bool> *interrupt)
{
    m_background.reset();
    m_backgroundSource = nullptr;
    if (background) {
        auto reader = std::make_unique<BackgroundReader>();
        if (!reader->open(*background, interrupt, error))
            return false;
        m_background = std::move(reader);
        m_backgroundFrame = rsc::makeFrame();
    }
    const bool ok = finish(abufferArgs(in.timeBase, in.sampleRate, in.sampleFormat, in.layout), "abuffer",
                           "abuffersink", description, error);
    if (!ok)
        m_background.reset();
    return ok;
}

bool FilterGraph::finish(const std::string &args, const char *srcName, const char *sinkName,
                         const std::string &description, std::string *error)
{
    CNumericScope numeric;
    m_graph.reset(avfilter_graph_alloc());
    m_source = m_sink = nullptr;
    if (!m_graph)
        return false;
    m_graph->nb_threads = std::clamp(av_cpu_count(), 1, kMaxFilterThreads);
    auto fail = [&](const std::string &what, int err) {
        if (error)
            *error = what + ": " + rsc::job::errorText(err);
        m_graph.reset();
        m_source = m_sink = m_backgroundSource = nullptr;
        return false;
    };
    int err = avfilter_graph_create_filter(&m_source, avfilter_get_by_name(srcName), "in", args.c_str(), nullptr,
                                           m_graph.get());
    if (err < 0)
        return fail("source", err);
    err = avfilter_graph_create_filter(&m_sink, avfilter_get_by_name(sinkName), "out", nullptr, nullptr, m_graph.get());
    if (err < 0)
        return fail("sink", err);

    AVFilterInOut *outputs = avfilter_inout_alloc();
    AVFilterInOut *inputs = avfilter_inout_alloc();
    outputs->name = av_strdup("in");
    outputs->filter_ctx = m_source;
    outputs->pad_idx = 0;
    outputs->next = nullptr;
    if (m_background) {
        const BackgroundReader &bg = *m_background;
        err = avfilter_graph_create_filter(
            &m_backgroundSource, avfilter_get_by_name("abuffer"), kBackgroundPad,
            abufferArgs(AVRational{1, bg.sampleRate()}, bg.sampleRate(), bg.sampleFormat(), bg.layout()).c_str(),
            nullptr, m_graph.get());
        if (err < 0) {
            avfilter_inout_free(&inputs);
            avfilter_inout_free(&outputs);
            return fail("background source", err);
        }
        AVFilterInOut *second = avfilter_inout_alloc();
        second->name = av_strdup(kBackgroundPad);
        second->filter_ctx = m_backgroundSource;
        second->pad_idx = 0;
        second->next = nullptr;
        outputs->next = second;
    }
    inputs->name = av_strdup("out");
    inputs->filter_ctx = m_sink;
    inputs->pad_idx = 0;
    inputs->next = nullptr;
    err = avfilter_graph_parse_ptr(m_graph.get(), description.c_str(), &inputs, &outputs, nullptr);
    avfilter_inout_free(&inputs);
    avfilter_inout_free(&outputs);
    if (err < 0)
        return fail("graph \"" + description + "\"", err);
    err = avfilter_graph_config(m_graph.get(), nullptr);
    if (err < 0)
        return fail("graph setup", err);
    return true;
}

bool FilterGraph::push(AVFrame *frame)
{
    if (!m_source)
        return false;
    return av_buffersrc_add_frame_flags(m_source, frame, AV_BUFFERSRC_FLAG_KEEP_REF) >= 0;
}

int FilterGraph::pull(AVFrame *frame)
{
    if (!m_sink)
        return AVERROR_EOF;
    for (;;) {
        const int err = av_buffersink_get_frame(m_sink, frame);
        // The mix asks for the background only for sound of the clip it holds, so each frame of the clip's
        // sound takes about as much of it: read here, it never runs ahead of the clip.
        if (err != AVERROR(EAGAIN) || !feedBackground())
            return err;
    }
}

bool FilterGraph::feedBackground()
{
    // Its end (or a frame it refuses): the mix goes on with the clip's sound alone.
    auto end = [this] {
        const int closed = av_buffersrc_add_frame_flags(m_backgroundSource, nullptr, 0);
        (void)closed; // a source already closed stays so
        m_background.reset();
        return true;
    };
    if (!m_background || !m_backgroundSource || av_buffersrc_get_nb_failed_requests(m_backgroundSource) == 0)
        return false;
    if (m_background->read(m_backgroundFrame.get()) < 0)
        return end();
    const int err = av_buffersrc_add_frame_flags(m_backgroundSource, m_backgroundFrame.get(), 0);
    av_frame_unref(m_backgroundFrame.get());
    return err < 0 ? end() : true;
}

AVRational FilterGraph::outputTimeBase() const
{
    return m_sink ? av_buffersink_get_time_base(m_sink) : AVRational{1, 1};
}

} // namespace rsc::edit
