#include "player_render.h"

#include "common_media.h"

#include "bmp_image.h"
#include "filter_inputs.h"
#include "global_settings.h"
#include "info_object.h"
#include "info_picture_size.h"
#include "rscodec.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/frame.h>
#include <libavutil/imgutils.h>
#include <libavutil/macros.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace rsc {

namespace {

AVPixelFormat handlerPixelFormat()
{
    return preferredFrameFormat() == RSC_FRAME_BGRX ? AV_PIX_FMT_BGR0 : AV_PIX_FMT_YUV420P;
}

} // namespace

PlayerRenderer::PlayerRenderer() : m_outputPixelFormat(handlerPixelFormat()) {}

PlayerRenderer::~PlayerRenderer()
{
    if (m_preparing.valid())
        m_preparing.wait();
}

void PlayerRenderer::setSource(const edit::VideoSource &source, int previewWidth, int previewHeight)
{
    m_source = source;
    m_previewW = std::max(0, previewWidth);
    m_previewH = std::max(0, previewHeight);
    m_graphUsable = false;
}

const char *PlayerRenderer::turnFilters() const
{
    switch (m_source.displayRotation) {
    case 90:
        return "transpose=clock";
    case 180:
        return "hflip,vflip";
    case 270:
        return "transpose=cclock";
    default:
        return nullptr;
    }
}

bool PlayerRenderer::buildTurn(const AVFrame *source, const char *turn, edit::FilterGraph *out)
{
    edit::VideoInputFormat in;
    in.width = source->width;
    in.height = source->height;
    in.pixelFormat = source->format;
    in.sampleAspect = source->sample_aspect_ratio;
    return out->openVideo(in, std::string("[in]") + turn + "[out]", nullptr);
}

AVFrame *PlayerRenderer::upright(AVFrame *source)
{
    const char *turn = turnFilters();
    if (!turn)
        return source;
    if (!source)
        return nullptr;
    // The turn is stateless, but a graph takes its frames in time order: a step back starts a new one.
    if (!m_turnUsable || source->pts <= m_turnLastPts || source->width != m_turnInW || source->height != m_turnInH ||
        source->format != m_turnInFormat) {
        Prepared *ready = takePrepared(source);
        if (ready && ready->hasTurn) {
            ready->hasTurn = false;
            retire(std::move(m_turn));
            m_turn = std::move(ready->turn);
            m_turnUsable = true;
        } else {
            retire(std::move(m_turn));
            m_turnUsable = buildTurn(source, turn, &m_turn);
        }
        if (!m_turnUsable)
            return nullptr;
        m_turnInW = source->width;
        m_turnInH = source->height;
        m_turnInFormat = source->format;
    }
    const bool pushed = m_turn.push(source); // the graph takes its own reference
    av_frame_unref(m_upright.get());
    if (!pushed || m_turn.pull(m_upright.get()) < 0) {
        m_turnUsable = false;
        return nullptr;
    }
    m_turnLastPts = source->pts;
    m_upright->pts = source->pts;
    return m_upright.get();
}

void PlayerRenderer::prepareSeek(const AVFrame *like, int64_t targetUs, const edit::EditConfig &cfg,
                                 uint64_t generation, bool wantEdited)
{
    if (!like || like->width <= 0 || like->height <= 0)
        return;
    const char *turn = turnFilters();
    // Graphs that go on taking frames after the target need nothing new.
    const bool turnNeeded = turn && (!m_turnUsable || targetUs <= m_turnLastPts);
    const bool editedNeeded =
        wantEdited && (!m_graphUsable || generation != m_graphGeneration || targetUs <= m_lastPushedPts);
    if (!turnNeeded && !editedNeeded)
        return;
    if (m_preparing.valid() || m_prepared) {
        // One built ahead and not used yet (a seek that found no frame, a drag): still good when it was
        // made for the same frames and edits.
        Prepared *p = takePrepared(like);
        if (p && (!turnNeeded || p->hasTurn) && (!editedNeeded || (p->hasEdited && p->generation == generation)))
            return;
        if (m_prepared && m_prepared->hasEdited)
            retire(std::move(m_prepared->graph), std::move(m_prepared->resources));
        if (m_prepared && m_prepared->hasTurn)
            retire(std::move(m_prepared->turn));
        m_prepared.reset();
    }
    int outW = 0, outH = 0;
    outputSize(cfg, &outW, &outH);
    // The helper needs the frame's format only; a blank frame carries it.
    FramePtr shape = makeFrame();
    if (!shape)
        return;
    shape->width = like->width;
    shape->height = like->height;
    shape->format = like->format;
    shape->sample_aspect_ratio = like->sample_aspect_ratio;
    std::vector<Built> retired = std::move(m_retired);
    m_retired.clear();
    m_preparing = std::async(std::launch::async,
                             [shape = std::move(shape), retired = std::move(retired), videoSource = m_source, outW,
                              outH, format = m_outputPixelFormat, turn = turnNeeded ? turn : nullptr, editedNeeded, cfg,
                              generation]() mutable -> std::unique_ptr<Prepared> {
                                 retired.clear();
                                 auto p = std::make_unique<Prepared>();
                                 p->width = shape->width;
                                 p->height = shape->height;
                                 p->format = shape->format;
                                 p->sar = shape->sample_aspect_ratio;
                                 if (turn)
                                     p->hasTurn = buildTurn(shape.get(), turn, &p->turn);
                                 if (editedNeeded) {
                                     Built built;
                                     p->hasEdited =
                                         buildEdited(videoSource, outW, outH, format, shape.get(), cfg, &built);
                                     p->generation = generation;
                                     p->graph = std::move(built.graph);
                                     p->resources = std::move(built.resources);
                                 }
                                 return p;
                             });
}

PlayerRenderer::Prepared *PlayerRenderer::takePrepared(const AVFrame *source)
{
    if (m_preparing.valid())
        m_prepared = m_preparing.get();
    Prepared *p = m_prepared.get();
    if (!p)
        return nullptr;
    if (p->width == source->width && p->height == source->height && p->format == source->format &&
        av_cmp_q(p->sar, source->sample_aspect_ratio) == 0)
        return p;
    if (p->hasEdited)
        retire(std::move(p->graph), std::move(p->resources));
    if (p->hasTurn)
        retire(std::move(p->turn));
    m_prepared.reset();
    return nullptr;
}

void PlayerRenderer::retire(edit::FilterGraph &&graph, std::unique_ptr<edit::FilterResources> resources)
{
    if (!graph.isOpen())
        return;
    m_retired.push_back(Built{std::move(graph), std::move(resources)});
    // Bounded: without seeks nothing else frees them.
    while (m_retired.size() > 2)
        m_retired.erase(m_retired.begin());
}

edit::PictureArea PlayerRenderer::frameArea(const edit::EditConfig &cfg, const edit::VideoSource &source,
                                            int previewWidth, int previewHeight)
{
    const bool sized = previewWidth > 0 && previewHeight > 0;
    // Odd sizes cannot carry 4:2:0 chroma exactly; the preview is drawn scaled anyway.
    edit::PictureArea area = edit::pictureArea(cfg, source, sized ? std::max(2, previewWidth & ~1) : 0,
                                               sized ? std::max(2, previewHeight & ~1) : 0);
    if (!sized) // bounded as the decoded pictures are: the reference size stays the overlays' unit
        edit::boundedEditedSize(cfg, source, &area.w, &area.h);
    area.x = area.y = 0; // the frame is the picture
    return area;
}

void PlayerRenderer::outputSize(const edit::EditConfig &cfg, int *width, int *height) const
{
    const edit::PictureArea area = frameArea(cfg, m_source, m_previewW, m_previewH);
    *width = area.w;
    *height = area.h;
}

bool PlayerRenderer::buildEdited(const edit::VideoSource &videoSource, int outW, int outH, int outputPixelFormat,
                                 const AVFrame *source, const edit::EditConfig &cfg, Built *out)
{
    edit::VideoTarget target;
    target.width = outW;
    target.height = outH;
    target.pixelFormat = outputPixelFormat == AV_PIX_FMT_BGR0 ? "bgr0" : "yuv420p";
    // Files named by the edits are checked again: a picture or subtitle file may have been replaced (by a
    // named pipe, say) since its setter took it, and the graph opens them where nothing bounds the wait. A
    // subtitle stream of the clip beyond the bounds of a subtitle file is left out likewise.
    edit::EditConfig playing = edit::withUsableInputs(cfg, true, false, videoSource.path);
    playing.speed = 100; // the player keeps the pace itself (speed and rate); the frames keep their source times
    playing.rate = 100;
    // The frame is the picture (frameArea): fitted already, it is filled, not fitted again with bars.
    playing.padEnabled = false;
    edit::VideoSource src = videoSource;
    src.width = source->width;
    src.height = source->height;
    auto resources = std::make_unique<edit::FilterResources>();
    const std::string description = edit::describeVideo(playing, src, target, *resources);
    edit::VideoInputFormat in;
    in.width = source->width;
    in.height = source->height;
    in.pixelFormat = source->format;
    in.timeBase = AVRational{1, 1000000};
    in.sampleAspect = source->sample_aspect_ratio;
    edit::FilterGraph graph;
    std::string error;
    if (!graph.openVideo(in, description, &error)) {
        // An edit the pipeline cannot build (a missing picture file, say): show the frame without edits
        // rather than nothing.
        edit::EditConfig plain;
        resources = std::make_unique<edit::FilterResources>();
        if (!graph.openVideo(in, edit::describeVideo(plain, src, target, *resources), &error))
            return false;
    }
    out->graph = std::move(graph);
    out->resources = std::move(resources);
    return true;
}

bool PlayerRenderer::rebuild(const AVFrame *source, const edit::EditConfig &cfg)
{
    m_graphUsable = false;
    Built built;
    Prepared *ready = takePrepared(source);
    if (ready && ready->hasEdited && ready->generation == m_graphGeneration) {
        ready->hasEdited = false;
        built.graph = std::move(ready->graph);
        built.resources = std::move(ready->resources);
    } else {
        int w, h;
        outputSize(cfg, &w, &h);
        if (!buildEdited(m_source, w, h, m_outputPixelFormat, source, cfg, &built))
            return false;
    }
    retire(std::move(m_graph), std::move(m_resources));
    m_graph = std::move(built.graph);
    m_resources = std::move(built.resources);
    m_graphUsable = true;
    m_lastPushedPts = INT64_MIN;
    m_graphInW = source->width;
    m_graphInH = source->height;
    m_graphInFormat = source->format;
    return true;
}

AVFrame *PlayerRenderer::edited(const AVFrame *source, const edit::EditConfig &cfg, uint64_t generation)
{
    if (!source)
        return nullptr;
    if (m_editedGeneration == generation && m_editedPts == source->pts && m_edited->data[0])
        return m_edited.get(); // the same picture again (a paused preview being redrawn)
    const bool stale = !m_graphUsable || generation != m_graphGeneration || source->pts <= m_lastPushedPts ||
                       source->width != m_graphInW || source->height != m_graphInH || source->format != m_graphInFormat;
    if (stale) {
        const uint64_t before = m_graphGeneration;
        m_graphGeneration = generation; // what the graph is built for, also what a prepared one must match
        if (!rebuild(source, cfg)) {
            m_graphGeneration = before;
            return nullptr;
        }
        if (m_laidOutGeneration != generation) { // a seek back keeps the edits and so their layout
            layout(cfg);
            m_laidOutGeneration = generation;
        }
    }
    // The graph takes its own reference and leaves the frame as it is.
    if (!m_graph.push(const_cast<AVFrame *>(source))) {
        m_graphUsable = false;
        return nullptr;
    }
    m_lastPushedPts = source->pts;
    av_frame_unref(m_edited.get());
    int ret = m_graph.pull(m_edited.get());
    if (ret == AVERROR(EAGAIN)) {
        // A filter holds the frame back (it waits for more input): end the input so it lets go; the
        // next frame gets a new graph.
        m_graph.push(nullptr);
        ret = m_graph.pull(m_edited.get());
        m_graphUsable = false;
    }
    // Anything further the graph has ready belongs to frames already shown.
    if (ret >= 0) {
        while (m_graph.pull(m_drained.get()) >= 0)
            av_frame_unref(m_drained.get());
    }
    if (ret < 0) {
        m_graphUsable = false;
        m_editedPts = INT64_MIN;
        return nullptr;
    }
    m_edited->pts = source->pts;
    m_editedPts = source->pts;
    m_editedGeneration = generation;
    return m_edited.get();
}

// ------------------------------------------------------------------------------------------ layout

PlayerRenderer::Box PlayerRenderer::textBox(int slot) const
{
    return slot >= 0 && slot < 3 ? m_text[slot] : Box{};
}

PlayerRenderer::Box PlayerRenderer::imageBox(int slot) const
{
    return slot >= 0 && slot < 3 ? m_image[slot] : Box{};
}

bool PlayerRenderer::pictureSize(const std::string &path, int *width, int *height)
{
    auto it = m_pictureSizes.find(path);
    if (it == m_pictureSizes.end()) {
        std::pair<int, int> size{0, 0};
        rsc_info probe;
        const bool usable = edit::inputProblem(path, edit::InputUse::Picture).empty();
        // A picture file's header states its size; anything else is probed, which decodes its first picture.
        if (usable && !statedPictureSize(path, &size.first, &size.second) && infoOpenFile(&probe, path.c_str())) {
            const int i = av_find_best_stream(probe.ctx.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
            if (i >= 0)
                size = {probe.ctx->streams[i]->codecpar->width, probe.ctx->streams[i]->codecpar->height};
        }
        it = m_pictureSizes.emplace(path, size).first;
    }
    *width = it->second.first;
    *height = it->second.second;
    return *width > 0 && *height > 0;
}

PlayerRenderer::Box PlayerRenderer::measureText(const edit::TextItem &text, const edit::PictureArea &frame) const
{
    const int width = frame.w, height = frame.h;
    Box box{text.posX, text.posY, 0, 0};
    // Draw the text alone, as the pipeline draws it, on a clear canvas and measure what it covered.
    edit::FilterResources resources;
    const std::string filter = edit::textFilter(text, frame.refW, frame.refH, resources);
    if (filter.empty())
        return box;
    edit::FilterGraph graph;
    edit::VideoInputFormat in;
    in.width = width;
    in.height = height;
    in.pixelFormat = AV_PIX_FMT_YUV420P;
    if (!graph.openVideo(in, "[in]" + filter + "[out]", nullptr))
        return box;
    FramePtr canvas = makeFrame();
    FramePtr out = makeFrame();
    if (!canvas || !out)
        return box;
    canvas->format = AV_PIX_FMT_YUV420P;
    canvas->width = width;
    canvas->height = height;
    canvas->pts = static_cast<int64_t>(text.showTimeUs);
    if (av_frame_get_buffer(canvas.get(), 0) < 0)
        return box;
    // Mid grey: the white body, the dark outline and the shadow all stand out from it.
    for (int p = 0; p < 3; ++p) {
        const int rows = p == 0 ? height : (height + 1) / 2;
        const int cols = p == 0 ? width : (width + 1) / 2;
        for (int y = 0; y < rows; ++y)
            std::memset(canvas->data[p] + y * canvas->linesize[p], 128, size_t(cols));
    }
    int ret = graph.push(canvas.get()) ? graph.pull(out.get()) : AVERROR_EOF;
    if (ret == AVERROR(EAGAIN) && graph.push(nullptr))
        ret = graph.pull(out.get());
    if (ret < 0 || out->format != AV_PIX_FMT_YUV420P)
        return box;
    int maxX = -1, maxY = -1;
    for (int y = 0; y < out->height; ++y) {
        const uint8_t *row = out->data[0] + y * out->linesize[0];
        for (int x = 0; x < out->width; ++x) {
            if (std::abs(int(row[x]) - 128) <= 8)
                continue;
            maxX = std::max(maxX, x);
            maxY = std::max(maxY, y);
        }
    }
    if (maxX >= 0) {
        // The box starts at the text's position (the record keeps it) and reaches to the farthest pixel
        // drawn.
        box.w = std::max(0.0, double(maxX + 1) / width - text.posX);
        box.h = std::max(0.0, double(maxY + 1) / height - text.posY);
    }
    return box;
}

void PlayerRenderer::layout(const edit::EditConfig &cfg)
{
    m_laidOutGeneration = 0; // laid out for edits that may not be the rendered ones
    // The frame is the picture: the overlays' fractions are of it, their pixels those of its own size.
    const edit::PictureArea frame = frameArea(cfg, m_source, m_previewW, m_previewH);
    const int w = frame.w, h = frame.h;
    for (int slot = 0; slot < 3; ++slot) {
        const edit::Overlay &ov = cfg.overlays[slot];
        m_text[slot] = Box{ov.text.posX, ov.text.posY, 0, 0};
        if (ov.text.set && !ov.text.text.empty() && w > 0 && h > 0)
            m_text[slot] = measureText(ov.text, frame);
        const edit::PictureItem &p = ov.picture;
        m_image[slot] = Box{p.posX, p.posY, 0, 0};
        if (!p.set || p.file.empty() || w <= 0 || h <= 0)
            continue;
        const double sx = p.scaleX / 100.0, sy = p.scaleY / 100.0;
        double bw = 0, bh = 0;
        if (p.width > 0.0 && p.height > 0.0) {
            bw = p.width * sx;
            bh = p.height * sy;
        } else {
            int pw = 0, ph = 0;
            if (pictureSize(p.file, &pw, &ph)) {
                bw = pw * std::clamp(p.crop.w, 0.01, 1.0) * sx / frame.refW;
                bh = ph * std::clamp(p.crop.h, 0.01, 1.0) * sy / frame.refH;
            }
        }
        m_image[slot].w = bw;
        m_image[slot].h = bh;
    }
}

// ------------------------------------------------------------------------------------------ capture

std::vector<uint8_t> PlayerRenderer::toBmp(const AVFrame *frame)
{
    // Within the bounds the rows' bytes fit swscale's int offsets (stride times rows) and the BMP's header; a
    // larger frame gets no capture rather than writes beyond the buffer.
    if (!frame || frame->width <= 0 || frame->height <= 0 || pictureTooLarge(frame->width, frame->height))
        return {};
    const int w = frame->width, h = frame->height;
    // swscale writes whole SIMD blocks: rows padded and room to spare at the end.
    const int stride = FFALIGN(w * 3, 64);
    std::vector<uint8_t> bgr(size_t(stride) * size_t(h) + 256);
    SwsPtr sws(sws_getContext(w, h, AVPixelFormat(frame->format), w, h, AV_PIX_FMT_BGR24, SWS_BILINEAR, nullptr,
                              nullptr, nullptr));
    if (!sws)
        return {};
    uint8_t *dst[4] = {bgr.data(), nullptr, nullptr, nullptr};
    int dstStride[4] = {stride, 0, 0, 0};
    if (sws_scale(sws.get(), frame->data, frame->linesize, 0, h, dst, dstStride) <= 0)
        return {}; // no picture rather than a black one
    unsigned char *bmp = makeBmp(bgr.data(), w, h, stride);
    if (!bmp)
        return {};
    std::vector<uint8_t> out(bmp, bmp + bmpFileSize(bmp));
    delete[] bmp;
    return out;
}

} // namespace rsc
