#include "filter_picture.h"

#include "common_media.h"
#include "filter_escape.h"
#include "filter_graph.h"
#include "filter_video.h"
#include "info_picture_size.h"

extern "C" {
#include <libavutil/imgutils.h>
}

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <list>
#include <memory>
#include <mutex>
#include <sys/stat.h>

namespace rsc::edit {

namespace {

struct CacheEntry
{
    std::string key;
    PlacedPicture placed;
    std::shared_ptr<GraphFile> file; // the finished picture, as long as a graph or the cache holds it
};

// One picture is made ready at a time: the preview builds graphs on two threads at once, and each would
// otherwise hold a decoded picture of up to 8192 x 8192 pixels of its own.
std::mutex s_cacheMutex;
std::list<CacheEntry> s_cache; // the latest first
constexpr size_t kCacheEntries = 8;

std::string identity(const std::string &path)
{
    struct stat st
    {
    };
    if (path.empty() || ::stat(path.c_str(), &st) != 0)
        return path + "|-";
    char buf[128];
    std::snprintf(buf, sizeof buf, "|%llu:%llu:%lld:%lld.%ld", static_cast<unsigned long long>(st.st_dev),
                  static_cast<unsigned long long>(st.st_ino), static_cast<long long>(st.st_size),
                  static_cast<long long>(st.st_mtim.tv_sec), st.st_mtim.tv_nsec);
    return path + buf;
}

std::string exact(double v)
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "%a,", v);
    return buf;
}

std::string keyOf(const PictureItem &p, int frameW, int frameH, int refW, int refH)
{
    std::string key = identity(p.file) + "|" + identity(p.mask) + "|";
    for (double v : {p.posX, p.posY, p.width, p.height, p.crop.x, p.crop.y, p.crop.w, p.crop.h})
        key += exact(v);
    for (long long v : {(long long)frameW, (long long)frameH, (long long)refW, (long long)refH, (long long)p.scaleX,
                        (long long)p.scaleY, (long long)p.angle, (long long)p.alpha, (long long)p.mirror,
                        (long long)p.brightness, (long long)p.saturation, (long long)p.contrast, (long long)p.hue})
        key += std::to_string(v) + ",";
    return key;
}

// Runs one frame through a graph description ("[in]" ... "[out]" added) and answers what comes out.
FramePtr runOnce(const AVFrame *in, const std::string &chain)
{
    VideoInputFormat format;
    format.width = in->width;
    format.height = in->height;
    format.pixelFormat = in->format;
    FilterGraph graph;
    if (!graph.openVideo(format, "[in]" + chain + "[out]", nullptr) || !graph.push(const_cast<AVFrame *>(in)) ||
        !graph.push(nullptr))
        return nullptr;
    FramePtr out = makeFrame();
    if (!out || graph.pull(out.get()) < 0)
        return nullptr;
    // A crop hands its input's buffer on: a piece cut from a large picture would keep all of it alive.
    size_t held = 0;
    for (const AVBufferRef *b : out->buf)
        held += b ? b->size : 0;
    const int needed = av_image_get_buffer_size(AVPixelFormat(out->format), out->width, out->height, 1);
    if (needed <= 0 || held <= 2 * size_t(needed))
        return out;
    FramePtr copy = makeFrame();
    if (!copy)
        return nullptr;
    copy->format = out->format;
    copy->width = out->width;
    copy->height = out->height;
    if (av_frame_get_buffer(copy.get(), 0) < 0 || av_frame_copy(copy.get(), out.get()) < 0)
        return nullptr;
    return copy;
}

// One axis of a picture laid into a box: the whole picture (`size` pixels) spans `box` pixels, of which
// [from, to) are wanted. The picture is cut to whole pixels around that part, scaled, and cut again to it
// exactly; `flip` counts the picture from its other end (a mirror).
struct Span
{
    int cut = 0, cutSize = 0;   // in the picture
    int scaled = 0;             // that part scaled
    int trim = 0, trimSize = 0; // the wanted part within the scaled one
};

Span spanOf(int size, double box, int from, int to, bool flip)
{
    const double k = box / size;
    const double a = flip ? size - to / k : from / k, b = flip ? size - from / k : to / k;
    Span s;
    s.cut = std::clamp(static_cast<int>(std::floor(a + 1e-9)), 0, size - 1);
    const int end = std::clamp(static_cast<int>(std::ceil(b - 1e-9)), s.cut + 1, size);
    s.cutSize = end - s.cut;
    s.scaled = std::max(1, static_cast<int>(std::lround(s.cutSize * k)));
    const double start = flip ? (size - end) * k : s.cut * k;
    s.trim = std::clamp(static_cast<int>(std::lround(from - start)), 0, s.scaled - 1);
    s.trimSize = std::clamp(to - from, 1, s.scaled - s.trim);
    return s;
}

std::string cropText(int w, int h, int x, int y)
{
    return "crop=w=" + std::to_string(w) + ":h=" + std::to_string(h) + ":x=" + std::to_string(x) +
           ":y=" + std::to_string(y) + ":exact=1";
}

// The picture as a PAM file (RGBA, 8 bits); null when it could not be written.
std::shared_ptr<GraphFile> writePam(const AVFrame *f)
{
    std::shared_ptr<GraphFile> file = GraphFile::create(".pam");
    if (!file)
        return nullptr;
    char header[128];
    const int n = std::snprintf(header, sizeof header,
                                "P7\nWIDTH %d\nHEIGHT %d\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n", f->width,
                                f->height);
    bool ok = n > 0 && size_t(n) < sizeof header && file->write(header, size_t(n));
    for (int y = 0; ok && y < f->height; ++y)
        ok = file->write(f->data[0] + ptrdiff_t(y) * f->linesize[0], 4 * size_t(f->width));
    return ok ? file : nullptr;
}

// The finished picture and where it goes; for an animation or a video the filters that finish each of its
// pictures instead; Hidden when nothing of it falls on the frame.
CacheEntry prepare(const PictureItem &p, int frameW, int frameH, int refW, int refH)
{
    CacheEntry entry;
    const long x0 = std::lround(p.posX * frameW), y0 = std::lround(p.posY * frameH);
    entry.placed.x = int(x0); // where the graph lays a picture it takes as it is
    entry.placed.y = int(y0);
    FramePtr picture = decodeFirstPicture(p.file, nullptr, &entry.placed.motion);
    if (!picture)
        return entry;
    const int pw = picture->width, ph = picture->height;
    // The crop as the crop filter takes fractions of the picture.
    int cropX = 0, cropY = 0, cropW = pw, cropH = ph;
    if (!p.crop.isFull()) {
        cropW = std::max(1, static_cast<int>(pw * std::clamp(p.crop.w, 0.01, 1.0)));
        cropH = std::max(1, static_cast<int>(ph * std::clamp(p.crop.h, 0.01, 1.0)));
        cropX = std::min(static_cast<int>(pw * std::clamp(p.crop.x, 0.0, 1.0)), pw - cropW);
        cropY = std::min(static_cast<int>(ph * std::clamp(p.crop.y, 0.0, 1.0)), ph - cropH);
    }
    // The box: fractions of the frame (the picture it is laid on), or the item's own size in pixels of the
    // frame's reference size, scaled as the frame is; times the scale either way.
    const double sx = p.scaleX / 100.0, sy = p.scaleY / 100.0;
    const bool sized = p.width > 0.0 && p.height > 0.0;
    const double unitX = refW > 0 ? double(frameW) / refW : 1.0, unitY = refH > 0 ? double(frameH) / refH : 1.0;
    constexpr double kMaxBox = 1 << 20;
    const int boxW = static_cast<int>(
        std::clamp(sized ? std::round(p.width * frameW * sx) : std::floor(cropW * sx * unitX + 1e-9), 1.0, kMaxBox));
    const int boxH = static_cast<int>(
        std::clamp(sized ? std::round(p.height * frameH * sy) : std::floor(cropH * sy * unitY + 1e-9), 1.0, kMaxBox));
    // The part of the box the frame shows: the frame's corners turned back into the box.
    const int turn = p.angle % 360;
    const double a = turn * M_PI / 180.0, c = std::cos(a), s = std::sin(a);
    const double turnedW = std::abs(boxW * c) + std::abs(boxH * s), turnedH = std::abs(boxW * s) + std::abs(boxH * c);
    const double centreX = x0 + turnedW / 2, centreY = y0 + turnedH / 2;
    double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
    for (const auto &[fx, fy] : {std::pair<int, int>{0, 0}, {frameW, 0}, {0, frameH}, {frameW, frameH}}) {
        const double dx = fx - centreX, dy = fy - centreY;
        const double bx = boxW / 2.0 + dx * c + dy * s, by = boxH / 2.0 - dx * s + dy * c;
        minX = std::min(minX, bx);
        maxX = std::max(maxX, bx);
        minY = std::min(minY, by);
        maxY = std::max(maxY, by);
    }
    const int fromX = std::max(0, static_cast<int>(std::floor(minX))),
              toX = static_cast<int>(std::min<double>(boxW, std::ceil(maxX)));
    const int fromY = std::max(0, static_cast<int>(std::floor(minY))),
              toY = static_cast<int>(std::min<double>(boxH, std::ceil(maxY)));
    if (fromX >= toX || fromY >= toY) {
        entry.placed.kind = PlacedPicture::Kind::Hidden;
        return entry;
    }
    const bool whole = fromX == 0 && fromY == 0 && toX == boxW && toY == boxH;

    const Span h = spanOf(cropW, boxW, fromX, toX, p.mirror), v = spanOf(cropH, boxH, fromY, toY, false);
    std::string chain = cropText(h.cutSize, v.cutSize, cropX + h.cut, cropY + v.cut) +
                        ",scale=w=" + std::to_string(h.scaled) + ":h=" + std::to_string(v.scaled) + ",format=rgba";
    if (p.mirror)
        chain += ",hflip";
    const std::string colour = colourFilters(p.brightness, p.saturation, p.contrast, p.hue);
    if (!colour.empty()) // the adjustments may leave another format; the overlay wants the alpha back
        chain += "," + colour + ",format=rgba";
    if (!whole)
        chain += "," + cropText(h.trimSize, v.trimSize, h.trim, v.trim);
    FramePtr piece = runOnce(picture.get(), chain);
    picture.reset(); // before the mask takes its own
    if (!piece)
        return entry;
    std::string maskChain;
    if (!p.mask.empty()) {
        // The mask's brightness becomes the opacity; it spans the box as the picture does, unmirrored.
        const FramePtr mask = decodeFirstPicture(p.mask, nullptr);
        if (mask) {
            const Span mh = spanOf(mask->width, boxW, fromX, toX, false),
                       mv = spanOf(mask->height, boxH, fromY, toY, false);
            maskChain = cropText(mh.cutSize, mv.cutSize, mh.cut, mv.cut) + ",scale=w=" + std::to_string(mh.scaled) +
                        ":h=" + std::to_string(mv.scaled) + ",format=gray," +
                        cropText(mh.trimSize, mv.trimSize, mh.trim, mv.trim);
            const FramePtr grey = runOnce(mask.get(), maskChain);
            if (!grey || av_frame_make_writable(piece.get()) < 0)
                return entry;
            const int w = std::min(piece->width, grey->width), rows = std::min(piece->height, grey->height);
            for (int y = 0; y < rows; ++y) {
                uint8_t *rgba = piece->data[0] + ptrdiff_t(y) * piece->linesize[0];
                const uint8_t *level = grey->data[0] + ptrdiff_t(y) * grey->linesize[0];
                for (int x = 0; x < w; ++x)
                    rgba[4 * x + 3] = level[x];
            }
        }
    }
    std::string finish;
    if (turn != 0)
        finish = "rotate=a=" + num(a) + ":c=none:ow=rotw(" + num(a) + "):oh=roth(" + num(a) + ")";
    if (p.alpha < 255)
        finish += std::string(finish.empty() ? "" : ",") + "colorchannelmixer=aa=" + num(p.alpha / 255.0);
    if (!finish.empty()) {
        piece = runOnce(piece.get(), finish + ",format=rgba");
        if (!piece)
            return entry;
    }
    long x = x0, y = y0;
    if (!whole) {
        // The part's centre, turned about the box's centre as the whole picture would be.
        const double dx = fromX + h.trimSize / 2.0 - boxW / 2.0, dy = fromY + v.trimSize / 2.0 - boxH / 2.0;
        x = std::lround(centreX + dx * c - dy * s - piece->width / 2.0);
        y = std::lround(centreY + dx * s + dy * c - piece->height / 2.0);
    }
    entry.placed.x = int(x);
    entry.placed.y = int(y);
    if (entry.placed.motion.lastShows > 0) {
        entry.placed.chain = chain;
        entry.placed.maskChain = maskChain;
        entry.placed.finish = finish;
        return entry;
    }
    entry.file = writePam(piece.get());
    if (!entry.file)
        return entry;
    entry.placed.kind = PlacedPicture::Kind::Ready;
    entry.placed.file = entry.file->path();
    return entry;
}

// Frames beyond kMaxPictureBytes are refused before their memory is taken; `opaque` learns of it.
int boundedBuffer(AVCodecContext *dec, AVFrame *frame, int flags)
{
    if (av_image_get_buffer_size(AVPixelFormat(frame->format), frame->width, frame->height, 1) > kMaxPictureBytes) {
        *static_cast<bool *>(dec->opaque) = true;
        return AVERROR(ENOMEM);
    }
    return avcodec_default_get_buffer2(dec, frame, flags);
}

} // namespace

FramePtr decodeFirstPicture(const std::string &path, std::string *why, PictureMotion *motion)
{
    auto fail = [&](const std::string &text) {
        if (why)
            *why = text;
        return FramePtr();
    };
    AVFormatContext *raw = nullptr;
    AVDictionary *options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file,crypto,data", 0);
    const int opened = avformat_open_input(&raw, ("file:" + path).c_str(), nullptr, &options);
    av_dict_free(&options);
    if (opened < 0)
        return fail(errorText(opened));
    InputFormatPtr ctx(raw);
    // A picture file names its decoder, which finds the size in the picture: a search for stream information
    // would decode it once more.
    if (!isPictureDemuxer(ctx.get()) && findStreamInfoBounded(ctx.get()) < 0)
        return fail("it cannot be read");
    const AVCodec *codec = nullptr;
    const int index = av_find_best_stream(ctx.get(), AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
    if (index < 0 || !codec)
        return fail("it holds no picture");
    const AVStream *stream = ctx->streams[index];
    if (pictureTooLarge(stream->codecpar->width, stream->codecpar->height))
        return fail(pictureTooLargeText(stream->codecpar->width, stream->codecpar->height));
    for (unsigned i = 0; i < ctx->nb_streams; ++i)
        if (int(i) != index)
            ctx->streams[i]->discard = AVDISCARD_ALL;
    CodecContextPtr dec(avcodec_alloc_context3(codec));
    if (!dec || avcodec_parameters_to_context(dec.get(), stream->codecpar) < 0)
        return fail("out of memory");
    bool tooLarge = false;
    dec->opaque = &tooLarge;
    dec->get_buffer2 = boundedBuffer;
    dec->max_pixels = kMaxPicturePixels;
    dec->thread_count = 1; // threads would each hold a picture of their own
    dec->thread_type = 0;
    if (avcodec_open2(dec.get(), codec, nullptr) < 0)
        return fail("it cannot be decoded");
    FramePtr frame = makeFrame();
    PacketPtr packet = makePacket();
    if (!frame || !packet)
        return fail("out of memory");
    bool got = false;
    int64_t lastDuration = -1; // of the last packet after the first picture; -1 while there is none
    int64_t lastPts = AV_NOPTS_VALUE;
    bool ended = false; // read to the end
    constexpr int kMaxPackets = 1000;
    for (int n = 0; n < kMaxPackets; ++n) {
        const int read = av_read_frame(ctx.get(), packet.get());
        if (read >= 0 && packet->stream_index != index) {
            av_packet_unref(packet.get());
            continue;
        }
        if (got) { // a picture after the first one: only whether and how long the last one shows is wanted
            ended = read < 0;
            if (read < 0 || !motion)
                break;
            lastDuration = packet->duration;
            lastPts = packet->pts;
            av_packet_unref(packet.get());
            continue;
        }
        avcodec_send_packet(dec.get(), read >= 0 ? packet.get() : nullptr);
        av_packet_unref(packet.get());
        got = avcodec_receive_frame(dec.get(), frame.get()) >= 0;
        if (read < 0)
            break;
    }
    if (!got)
        return fail(tooLarge ? "its pixels take more than " + std::to_string(kMaxPictureBytes >> 20) + " MiB"
                             : std::string("it cannot be decoded"));
    if (motion && lastDuration >= 0) { // more pictures follow the first
        // An animation's pictures state how long each shows; 0.1 s (GIF's usual step) when its last does not.
        motion->lastShows = lastDuration > 0 ? lastDuration * av_q2d(stream->time_base) : 0.1;
        motion->lastStarts = ended && lastPts != AV_NOPTS_VALUE ? lastPts * av_q2d(stream->time_base) : -1;
        const AVCodecID id = stream->codecpar->codec_id;
        motion->animation = id == AV_CODEC_ID_GIF || id == AV_CODEC_ID_APNG || id == AV_CODEC_ID_WEBP;
    }
    return frame;
}

PlacedPicture placePicture(const PictureItem &p, int frameW, int frameH, int refW, int refH, FilterResources &resources)
{
    if (frameW <= 0 || frameH <= 0)
        return {};
    const std::string key = keyOf(p, frameW, frameH, refW, refH);
    std::lock_guard<std::mutex> lock(s_cacheMutex);
    for (auto it = s_cache.begin(); it != s_cache.end(); ++it) {
        if (it->key != key)
            continue;
        s_cache.splice(s_cache.begin(), s_cache, it);
        resources.keep(it->file);
        return it->placed;
    }
    CacheEntry entry = prepare(p, frameW, frameH, refW, refH);
    entry.key = key;
    resources.keep(entry.file);
    s_cache.push_front(entry);
    if (s_cache.size() > kCacheEntries)
        s_cache.pop_back();
    return entry.placed;
}

} // namespace rsc::edit
