#pragma once
// Turns decoded frames into the pictures the frame handlers get: the untouched source frame in the
// handlers' format, and the edited frame built with the jobs' edit pipeline (filter_video) at the preview
// size. Also lays out the overlay boxes the watermark getters report. Player thread only (the box getters
// are guarded by the player).

#include "edit_config.h"
#include "ffmpeg_raii.h"
#include "filter_ass.h"
#include "filter_graph.h"
#include "filter_video.h"

#include <cstdint>
#include <future>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace rsc {

class PlayerRenderer
{
public:
    PlayerRenderer();
    ~PlayerRenderer();
    PlayerRenderer(const PlayerRenderer &) = delete;
    PlayerRenderer &operator=(const PlayerRenderer &) = delete;

    // The source picture and the preview size the edited picture is fitted into (0 = its own size).
    void setSource(const edit::VideoSource &source, int previewWidth, int previewHeight);

    // The edited frame: the edited picture itself, without bars (x, y 0). With a preview size, its display aspect
    // fitted into it (padding on) or the preview size (padding off, stretched as a join's output is); without
    // one, the picture's own size within a decoded picture's bounds (boundedEditedSize). Thread-safe: uses only
    // its arguments.
    static edit::PictureArea frameArea(const edit::EditConfig &cfg, const edit::VideoSource &source, int previewWidth,
                                       int previewHeight);

    // The source frame turned upright as the file asks (the source itself when it needs no turn); owned by
    // the renderer, valid until the next call; null on failure.
    AVFrame *upright(AVFrame *source);

    // The edited frame, owned by the renderer and valid until the next call; null on failure.
    AVFrame *edited(const AVFrame *source, const edit::EditConfig &cfg, uint64_t generation);

    // Called as a seek starts. A frame before the last one rendered needs new filter graphs (they take
    // frames in time order); those are built on a helper thread while the seek decodes, so the frame
    // shown does not wait for them. `like` is a frame of the same stream.
    void prepareSeek(const AVFrame *like, int64_t targetUs, const edit::EditConfig &cfg, uint64_t generation,
                     bool wantEdited);

    struct Box
    {
        double x = 0, y = 0, w = 0, h = 0;
    };
    // Where the overlay items of a slot lie in the edited frame (fractions of it), as last laid out.
    Box textBox(int slot) const;
    Box imageBox(int slot) const;
    // Lays the overlays out for the given edits without rendering a frame.
    void layout(const edit::EditConfig &cfg);

    // A complete 24-bit BMP file of the frame; empty on failure.
    static std::vector<uint8_t> toBmp(const AVFrame *frame);

private:
    // Graphs built ahead for the frame a seek lands on, with what they were built for.
    struct Prepared
    {
        int width = 0, height = 0, format = -1;
        AVRational sar{0, 1};
        bool hasTurn = false;
        edit::FilterGraph turn;
        bool hasEdited = false;
        uint64_t generation = 0;
        edit::FilterGraph graph;
        std::unique_ptr<edit::FilterResources> resources;
    };
    struct Built
    {
        edit::FilterGraph graph;
        std::unique_ptr<edit::FilterResources> resources;
    };
    // Thread-safe: uses only its arguments.
    static bool buildEdited(const edit::VideoSource &videoSource, int outW, int outH, int outputPixelFormat,
                            const AVFrame *source, const edit::EditConfig &cfg, Built *out);
    static bool buildTurn(const AVFrame *source, const char *turn, edit::FilterGraph *out);
    const char *turnFilters() const;
    // The prepared graphs when they fit `source`; waits for them if they are still being built.
    Prepared *takePrepared(const AVFrame *source);
    void retire(edit::FilterGraph &&graph, std::unique_ptr<edit::FilterResources> resources = nullptr);

    void outputSize(const edit::EditConfig &cfg, int *width, int *height) const;
    bool rebuild(const AVFrame *source, const edit::EditConfig &cfg);
    Box measureText(const edit::TextItem &text, const edit::PictureArea &frame) const;
    bool pictureSize(const std::string &path, int *width, int *height);

    edit::VideoSource m_source;
    int m_previewW = 0, m_previewH = 0;
    int m_outputPixelFormat;
    FramePtr m_edited = makeFrame();
    FramePtr m_upright = makeFrame();
    FramePtr m_drained = makeFrame(); // frames the graph holds beyond the one shown, dropped
    edit::FilterGraph m_turn;
    bool m_turnUsable = false;
    int64_t m_turnLastPts = INT64_MIN;
    int m_turnInW = 0, m_turnInH = 0, m_turnInFormat = -1;

    edit::FilterGraph m_graph;
    std::unique_ptr<edit::FilterResources> m_resources;
    bool m_graphUsable = false;
    uint64_t m_graphGeneration = 0;
    int64_t m_lastPushedPts = INT64_MIN;
    int m_graphInW = 0, m_graphInH = 0, m_graphInFormat = -1;
    // The edited frame in m_edited was made from this source time with these edits.
    int64_t m_editedPts = INT64_MIN;
    uint64_t m_editedGeneration = 0;

    std::future<std::unique_ptr<Prepared>> m_preparing;
    std::unique_ptr<Prepared> m_prepared;
    // Graphs replaced on the player thread are freed on the helper (their worker threads take a while to
    // end on a busy machine).
    std::vector<Built> m_retired;
    uint64_t m_laidOutGeneration = 0; // the edits the boxes were laid out for; 0 = unknown

    Box m_text[3], m_image[3];
    std::map<std::string, std::pair<int, int>> m_pictureSizes;
};

} // namespace rsc
