#include "filter_inputs.h"

#include "background_reader.h"
#include "ffmpeg_raii.h"
#include "filter_files.h"
#include "filter_graph.h"
#include "filter_picture.h"
#include "info_object.h"
#include "info_picture_size.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string_view>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>
#include <utility>
#include <vector>

namespace rsc::edit {

namespace {

struct Identity
{
    std::string path;
    int use;
    dev_t dev;
    ino_t ino;
    off_t size;
    int64_t mtimeNs;
    bool operator<(const Identity &o) const
    {
        return std::tie(path, use, dev, ino, size, mtimeNs) < std::tie(o.path, o.use, o.dev, o.ino, o.size, o.mtimeNs);
    }
};

// What the check of a file found: its problem (empty when none) and, for subtitles, what the style's check
// needs, since the style may change after the file was checked.
struct Verdict
{
    std::string problem;
    std::string refused;    // "cannot use <the subtitles>: ", before the style's problem
    int64_t textAtOnce = 0; // the most bytes of text on screen at once
    double canvas = 288.0;  // the height of the canvas the style's sizes are in
    SoundSpan sound;        // for a background sound
};

// Whether `text` begins with `prefix`, ASCII letters in either case (libass's own comparison, whatever the
// locale).
bool startsAnyCase(std::string_view text, std::string_view prefix)
{
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [&](char a, char b) { return lower(a) == lower(b); });
}

std::mutex s_cacheMutex;
std::map<Identity, Verdict> s_cache;
constexpr size_t kCacheEntries = 64;

// Where the sound `probe` holds begins, as a decoder hands it out: the first decoded sound of the stream the
// background is read from (FFmpeg's best audio stream), on the file's own time line, in `firstUs`. Priming cut
// by the decoder is not counted. False when the whole file gives no sound (a header without samples, as an
// aborted recording leaves); a stream whose first some seconds of packets do not decode is taken from 0.
bool firstSound(rsc_info &probe, int64_t *firstUs)
{
    *firstUs = 0;
    AVFormatContext *ctx = probe.ctx.get();
    int index = -1;
    const rsc::CodecContextPtr dec = openBackgroundDecoder(ctx, &index);
    if (!dec)
        return index >= 0; // a sound stream without a decoder here: reading it says so
    const AVStream *st = ctx->streams[index];
    rsc::PacketPtr packet = rsc::makePacket();
    rsc::FramePtr frame = rsc::makeFrame();
    auto decoded = [&] {
        if (avcodec_receive_frame(dec.get(), frame.get()) != 0 || frame->nb_samples <= 0)
            return false;
        const int64_t ts = frame->best_effort_timestamp;
        *firstUs = ts == AV_NOPTS_VALUE ? 0 : av_rescale_q(ts, st->time_base, AV_TIME_BASE_Q);
        return true;
    };
    for (int read = 0; read < kSoundlessPackets; ++read) {
        if (av_read_frame(ctx, packet.get()) < 0) {
            avcodec_send_packet(dec.get(), nullptr); // what the decoder holds back
            for (int i = 0; i < 64; ++i)
                if (decoded())
                    return true;
            return false;
        }
        const bool ours = packet->stream_index == index;
        if (ours)
            avcodec_send_packet(dec.get(), packet.get());
        av_packet_unref(packet.get());
        if (ours && decoded())
            return true;
    }
    return true;
}

Verdict soundVerdict(const std::string &path)
{
    // The clip probe's open: its refusal of giant pictures and of oversized text files applies here too.
    Verdict v;
    rsc_info probe;
    std::string why;
    if (!rsc::infoOpenFile(&probe, path.c_str(), &why))
        v.problem = "cannot use the background sound " + path + ": " + (why.empty() ? "it is no media file" : why);
    else if (probe.audio.empty())
        v.problem = "cannot use the background sound " + path + ": it holds no sound";
    if (!v.problem.empty())
        return v;
    if (!firstSound(probe, &v.sound.firstUs)) {
        v.problem = "cannot use the background sound " + path + ": it holds no sound";
        return v;
    }
    const int64_t length = probe.ctx->duration;
    v.sound.lengthUs = length != AV_NOPTS_VALUE && length > 0 ? length : 0;
    return v;
}

std::string pictureProblem(const std::string &path)
{
    // A picture is decoded once, as the overlay will take it (a cover picture is a picture too), after the
    // refusals the clip probe makes before it decodes anything.
    const std::string refused = "cannot use the picture " + path;
    if (isOversizedText(path.c_str()))
        return refused + ": a text file larger than any subtitle file";
    int width = 0, height = 0;
    const bool stated = rsc::statedPictureSize(path, &width, &height);
    if (stated && pictureTooLarge(width, height))
        return refused + ": " + rsc::pictureTooLargeText(width, height);
    std::string why;
    if (decodeFirstPicture(path, &why))
        return {};
    // The header may state a size its data does not hold: the overlay would fail in every graph.
    const std::string size = stated ? " (" + std::to_string(width) + "x" + std::to_string(height) + " pixels)" : "";
    return refused + size + ": " + (why.empty() ? "it is no media file" : why);
}

// The bytes of a cue's text without its line breaks: text demuxers break a long line every 4 KiB as they
// read it, so a cue of exactly kMaxCueBytes on one line arrives a little longer.
int cueTextBytes(const AVPacket *packet)
{
    const uint8_t *data = packet->data;
    return static_cast<int>(std::count_if(data, data + packet->size, [](uint8_t c) { return c != '\n' && c != '\r'; }));
}

// The integer of a header value as libass reads it: hexadecimal after "&h" or "0x" right at its start, then
// spaces and tabs (no other white space), a sign ("0x" again in hexadecimal) and digits, taken modulo 2^32 as
// a 32-bit integer; 0 without digits. "18446744073709551617" is 1, "1e6" is 1.
int32_t assHeaderInteger(std::string_view v)
{
    unsigned base = 10;
    if (startsAnyCase(v, "&h") || startsAnyCase(v, "0x")) {
        v.remove_prefix(2);
        base = 16;
    }
    v.remove_prefix(std::min(v.find_first_not_of(" \t"), v.size()));
    const bool negative = !v.empty() && v[0] == '-';
    if (!v.empty() && (v[0] == '-' || v[0] == '+'))
        v.remove_prefix(1);
    if (base == 16 && startsAnyCase(v, "0x"))
        v.remove_prefix(2);
    uint32_t value = 0;
    for (const char c : v) {
        const unsigned digit = c >= '0' && c <= '9'   ? unsigned(c - '0')
                               : c >= 'a' && c <= 'z' ? unsigned(c - 'a' + 10)
                               : c >= 'A' && c <= 'Z' ? unsigned(c - 'A' + 10)
                                                      : base;
        if (digit >= base)
            break;
        value = value * base + digit;
    }
    return int32_t(negative ? 0u - value : value);
}

// The height of the canvas a subtitle stream's sizes are in. Only the ASS decoders hand the stream's header
// (its codec private data) to libass; every other text decoder writes a header of 384 x 288 of its own,
// whatever the stream carries there (a WebVTT track's header may hold any text).
double canvasHeight(const AVCodecParameters *par)
{
    if ((par->codec_id != AV_CODEC_ID_ASS && par->codec_id != AV_CODEC_ID_SSA) || !par->extradata)
        return 288.0;
    return double(
        assCanvas(reinterpret_cast<const char *>(par->extradata), size_t(std::max(par->extradata_size, 0))).height);
}

// The glyph area a cue's override tags ask libass to draw (script pixels squared): each glyph as large as the
// largest font size (\fs, <font size> of HTML-like formats; the default style's where only a scale is set)
// times the largest scale (\fscx, \fscy), with the outline (\bord) and the blur's spread (\blur, \be) around
// it. 0 for a cue that sets none of them: the style draws it, within its setters' bounds. A drawing (\p<n>)
// takes the box of its points, in 1/2^(n-1) pixels, scaled, outlined and blurred as a glyph is: libass draws
// it whole, however little of it falls on the frame. An ASS packet's fields before its text are skipped; the
// SubRip, WebVTT and plain text decoders drop or escape braces, others (mov_text) hand them on to libass as
// they are.
double taggedGlyphArea(const AVPacket *packet, AVCodecID codec)
{
    constexpr double kLargestTag = 1e6;
    const bool ass = codec == AV_CODEC_ID_ASS || codec == AV_CODEC_ID_SSA;
    const bool braces = codec != AV_CODEC_ID_SUBRIP && codec != AV_CODEC_ID_WEBVTT && codec != AV_CODEC_ID_TEXT;
    const char *text = reinterpret_cast<const char *>(packet->data), *const end = text + packet->size;
    for (int fields = ass ? 8 : 0; fields > 0 && text < end; --fields)
        text = std::min(end, std::find(text, end, ',') + 1);
    double size = 0, scale = 1, outline = 0, blur = 0;
    bool tagged = false;
    int64_t glyphs = 0;
    int level = 0;        // of the drawing being read (\p); 0 for text
    std::string drawn;    // its commands
    double drawnArea = 0; // of the drawings read
    auto endDrawing = [&] {
        // The box of the points: the numbers of the commands, x and y in turn.
        double lo[2] = {0, 0}, hi[2] = {0, 0};
        int axis = 0, points = 0;
        for (const char *d = drawn.c_str(); *d;) {
            char *after = nullptr;
            const double v = std::strtod(d, &after);
            if (after == d || !std::isfinite(v)) {
                d = after == d ? d + 1 : after;
                continue;
            }
            const double at = std::clamp(v, -kLargestTag, kLargestTag);
            lo[axis] = points < 2 ? at : std::min(lo[axis], at);
            hi[axis] = points < 2 ? at : std::max(hi[axis], at);
            axis ^= 1;
            ++points;
            d = after;
        }
        if (level > 0 && points > 0) {
            const double unit = scale / std::ldexp(1.0, std::min(level, 30) - 1), pad = 1 + 2 * outline + 6 * blur;
            drawnArea += ((hi[0] - lo[0]) * unit + pad) * ((hi[1] - lo[1]) * unit + pad);
            tagged = true;
        }
        drawn.clear();
    };
    // A tag's value, at most kLargestTag (infinity and NaN too): a glyph that large is far beyond the bound
    // already, and the area stays a finite number. 0 glyphs times an infinite size would be NaN, and a NaN
    // in the running sum of the cues on screen would let every later cue through.
    auto value = [](const char *at) {
        const double v = std::fabs(std::strtod(at, nullptr));
        return v < kLargestTag ? v : kLargestTag;
    };
    for (const char *c = text; c < end; ++c) {
        if ((*c != '{' || !braces) && (*c != '<' || ass)) {
            if (level > 0)
                drawn += *c;
            else
                glyphs += *c != '\n' && *c != '\r';
            continue;
        }
        const char *close = std::find(c, end, *c == '{' ? '}' : '>');
        std::string block(c + 1, close);
        if (*c == '<') {
            std::transform(block.begin(), block.end(), block.begin(),
                           [](unsigned char b) { return char(std::tolower(b)); });
            const size_t at = block.rfind("font", 0) == 0 ? block.find("size=") : std::string::npos;
            if (at != std::string::npos) {
                size = std::max(size,
                                value(block.c_str() + std::min(block.size(), block.find_first_not_of("\"'", at + 5))));
                tagged = true;
            }
        }
        for (size_t at = *c == '{' ? block.find('\\') : std::string::npos; at != std::string::npos;
             at = block.find('\\', at + 1)) {
            size_t n = at + 1;
            while (n < block.size() && std::isalpha(static_cast<unsigned char>(block[n])))
                ++n;
            const std::string tag = block.substr(at + 1, n - at - 1);
            const double v = value(block.c_str() + n);
            if (tag == "fs")
                size = std::max(size, v);
            else if (tag == "fscx" || tag == "fscy")
                scale = std::max(scale, v / 100);
            else if (tag == "bord" || tag == "xbord" || tag == "ybord")
                outline = std::max(outline, v);
            else if (tag == "blur" || tag == "be")
                blur = std::max(blur, v);
            else {
                if (tag == "p") {
                    endDrawing();
                    level = int(v);
                }
                continue;
            }
            tagged = true;
        }
        c = close == end ? end - 1 : close;
    }
    endDrawing();
    const double side = (size > 0 ? size : SubtitleStyle().fontSize) * scale + 2 * outline + 6 * blur;
    return tagged ? double(glyphs) * side * side + drawnArea : 0.0;
}

bool isTextSubtitle(const AVStream *st)
{
    const AVCodecDescriptor *desc = avcodec_descriptor_get(st->codecpar->codec_id);
    return desc && (desc->props & AV_CODEC_PROP_TEXT_SUB);
}

// Reads every packet of the stream `index` of `ctx`: empty when it holds text subtitles whose cues keep within
// the bounds, otherwise why not (to follow "cannot use ...: ").
std::string cueProblem(AVFormatContext *ctx, int index, Verdict *found)
{
    if (!isTextSubtitle(ctx->streams[index]))
        return "it holds picture subtitles; only text subtitles can be drawn into the picture";
    const CNumericScope cLocale; // the tags' numbers
    for (unsigned i = 0; i < ctx->nb_streams; ++i)
        if (int(i) != index)
            ctx->streams[i]->discard = AVDISCARD_ALL; // a clip's pictures and sound are skipped, not read out
    struct Edge
    {
        int64_t time;
        int cues; // +1 shows, -1 ends; ends sort first: a cue that ends as the next begins is not shown with it
        int64_t bytes;
        double area; // the glyph area its tags ask for
        bool operator<(const Edge &o) const { return std::tie(time, cues) < std::tie(o.time, o.cues); }
    };
    const AVCodecParameters *par = ctx->streams[index]->codecpar;
    found->canvas = canvasHeight(par);
    const double toTextCanvas = std::pow(288.0 / found->canvas, 2);
    std::vector<Edge> edges;
    int64_t total = 0;
    int cues = 0;
    PacketPtr packet = makePacket();
    if (!packet)
        return "out of memory";
    // Each packet is one cue: its bytes are the cue's text, its time and duration when it shows.
    while (av_read_frame(ctx, packet.get()) >= 0) {
        if (packet->stream_index != index) {
            av_packet_unref(packet.get());
            continue;
        }
        const int bytes = packet->size, text = cueTextBytes(packet.get());
        const double area = taggedGlyphArea(packet.get(), par->codec_id) * toTextCanvas;
        const int64_t start = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
        const int64_t duration = std::max<int64_t>(1, packet->duration);
        av_packet_unref(packet.get());
        if (text > kMaxCueBytes || bytes > 2 * kMaxCueBytes)
            return "a subtitle in it has more than " + std::to_string(kMaxCueBytes >> 10) + " KiB of text";
        total += bytes;
        if (total > kMaxSubtitleFileBytes)
            return "its subtitles hold more than " + std::to_string(kMaxSubtitleFileBytes >> 20) + " MiB of text";
        if (++cues > kMaxCues)
            return "it holds more than " + std::to_string(kMaxCues) + " subtitles";
        if (start == AV_NOPTS_VALUE)
            continue;
        edges.push_back({start, 1, text, area});
        edges.push_back({start + duration, -1, -int64_t(text), -area});
    }
    std::sort(edges.begin(), edges.end());
    int shown = 0;
    int64_t shownBytes = 0;
    double shownArea = 0;
    for (const Edge &e : edges) {
        shown += e.cues;
        shownBytes += e.bytes;
        shownArea += e.area;
        found->textAtOnce = std::max(found->textAtOnce, shownBytes);
        if (shownArea > kMaxTaggedGlyphAreaAtOnce * 1.000001) // the sums of doubles may drift a little
            return "its override tags ask for a larger glyph area at once than two glyphs of font size " +
                   std::to_string(kMaxFontSize);
        if (shown > kMaxCuesAtOnce)
            return "it shows more than " + std::to_string(kMaxCuesAtOnce) + " subtitles at once";
        if (shownBytes > kMaxTextBytesAtOnce)
            return "it shows more than " + std::to_string(kMaxTextBytesAtOnce >> 10) + " KiB of text at once";
    }
    return {};
}

Verdict subtitleProblem(const std::string &path, int64_t size)
{
    Verdict v;
    v.refused = "cannot use the subtitle file " + path + ": ";
    const auto refuse = [&v](const std::string &why) {
        v.problem = v.refused + why;
        return v;
    };
    if (size > kMaxSubtitleFileBytes)
        return refuse("it is larger than " + std::to_string(kMaxSubtitleFileBytes >> 20) + " MiB");
    rsc_info probe;
    std::string why;
    if (!rsc::infoOpenFile(&probe, path.c_str(), &why))
        return refuse(why.empty() ? std::string("it cannot be read") : why);
    AVFormatContext *ctx = probe.ctx.get();
    // The stream the subtitles filter draws.
    const int index = av_find_best_stream(ctx, AVMEDIA_TYPE_SUBTITLE, -1, -1, nullptr, 0);
    if (index < 0)
        return refuse("it holds no subtitles");
    const std::string problem = cueProblem(ctx, index, &v);
    return problem.empty() ? v : refuse(problem);
}

Verdict streamProblem(const std::string &source, int stream)
{
    Verdict v;
    v.refused = "cannot use subtitle stream " + std::to_string(stream + 1) + " of " + source + ": ";
    rsc_info probe;
    if (!rsc::infoOpenFile(&probe, source.c_str()))
        return v; // the clip's own open says what is wrong with it
    AVFormatContext *ctx = probe.ctx.get();
    // Counted as the subtitles filter counts them (stream specifier "s:<n>"): among all of the file's.
    int index = -1;
    for (unsigned i = 0, n = 0; i < ctx->nb_streams && index < 0; ++i)
        if (ctx->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_SUBTITLE && int(n++) == stream)
            index = int(i);
    if (index < 0)
        return v;
    const std::string problem = cueProblem(ctx, index, &v);
    if (!problem.empty())
        v.problem = v.refused + problem;
    return v;
}

Verdict checkNow(const std::string &path, int use, const struct stat &st)
{
    if (use < 0)
        return streamProblem(path, -1 - use);
    if (use == int(InputUse::Subtitle))
        return subtitleProblem(path, st.st_size);
    Verdict v;
    if (use == int(InputUse::Sound))
        return soundVerdict(path);
    v.problem = pictureProblem(path);
    return v;
}

// The answer for `path` used so (a stream's use is -1 - its number), from the cache while the file stays
// the same.
Verdict cachedVerdict(const std::string &path, int use, const struct stat &st)
{
    const Identity key{path,      use,        st.st_dev,
                       st.st_ino, st.st_size, int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
    {
        std::lock_guard<std::mutex> lock(s_cacheMutex);
        const auto it = s_cache.find(key);
        if (it != s_cache.end())
            return it->second;
    }
    Verdict found = checkNow(path, use, st);
    std::lock_guard<std::mutex> lock(s_cacheMutex);
    if (s_cache.size() >= kCacheEntries)
        s_cache.clear();
    s_cache.emplace(key, found);
    return found;
}

// The file's verdict, after the refusals no check needs to read the file for.
Verdict verdictFor(const std::string &path, InputUse use)
{
    struct stat st
    {
    };
    // A named pipe or a device would block the filter that opens it (and so a close) for ever; a file of
    // ours that has gone (a copy of a stream handed over in memory) leaves its descriptor's number to
    // whatever was opened since.
    if (path.empty() || GraphFile::isStalePath(path) || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) ||
        ::access(path.c_str(), R_OK) != 0) {
        Verdict v;
        v.problem = "cannot read " + path;
        return v;
    }
    return cachedVerdict(path, int(use), st);
}

Verdict streamVerdict(const std::string &source, int stream)
{
    struct stat st
    {
    };
    if (stream < 0 || ::stat(source.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    return cachedVerdict(source, -1 - stream, st);
}

// The subtitles drawn with `style`: libass draws every glyph on screen as large as the style makes it. The
// text-at-once bound is what the default style may draw; a larger style may draw as much glyph area, so less
// text, and no line taller than the picture (glyphs larger than the frame cost seconds a frame, all of it
// drawn off the picture: a film's two-line cue at size 1000 took over a minute for 3 s of 1080p).
std::string styledProblem(const Verdict &v, const SubtitleStyle &style)
{
    if (!v.problem.empty() || v.textAtOnce == 0)
        return v.problem;
    const double toText = 288.0 / v.canvas, outline = 2 * std::max(0.0, style.outlineSize);
    const double w = (style.fontSize * style.scaleX / 100.0 + outline) * toText;
    const double h = (style.fontSize * style.scaleY / 100.0 + outline) * toText;
    const std::string asked = "with the subtitle style's size " + std::to_string(style.fontSize) + ", outline " +
                              std::to_string(int(std::lround(style.outlineSize))) + " and scale " +
                              std::to_string(style.scaleX) + "% x " + std::to_string(style.scaleY) + "%";
    if (h > 288.0)
        return v.refused + asked + ", a line would be taller than the picture";
    if (double(v.textAtOnce) * w * h > kMaxStyledTextAreaAtOnce)
        return v.refused + asked + ", it shows more text at once than can be drawn (" + std::to_string(v.textAtOnce) +
               " bytes; at most " + std::to_string(int64_t(kMaxStyledTextAreaAtOnce / (w * h))) + " at that size)";
    return {};
}

bool drawsSubtitleStream(const EditConfig &cfg, const std::string &source)
{
    return !source.empty() && (cfg.subtitleMode & 2) && cfg.subtitleFile.empty() && cfg.subtitleStream >= 0;
}

} // namespace

AssCanvas assCanvas(const char *header, size_t size)
{
    // libass reads up to the first NUL, line by line (a line ends at CR or LF; line breaks and byte-order
    // marks before a line are skipped), each line after its leading spaces and tabs. A line beginning with a
    // section's name (any case) starts that section; in [Script Info] the last line beginning "PlayResX:" or
    // "PlayResY:" (this case alone) names that side.
    std::string_view text(header ? header : "", header ? size : 0);
    text = text.substr(0, text.find('\0'));
    AssCanvas canvas{0, 0};
    bool inInfo = false;
    for (size_t at = 0; at < text.size();) {
        if (text[at] == '\r' || text[at] == '\n') {
            ++at;
            continue;
        }
        if (text.compare(at, 3, "\xEF\xBB\xBF") == 0) {
            at += 3;
            continue;
        }
        const size_t end = std::min(text.find_first_of("\r\n", at), text.size());
        std::string_view line = text.substr(at, end - at);
        at = end;
        line.remove_prefix(std::min(line.find_first_not_of(" \t"), line.size()));
        if (startsAnyCase(line, "[Script Info]"))
            inInfo = true;
        else if (startsAnyCase(line, "[V4 Styles]") || startsAnyCase(line, "[V4+ Styles]") ||
                 startsAnyCase(line, "[Events]") || startsAnyCase(line, "[Fonts]"))
            inInfo = false;
        else if (inInfo && line.compare(0, 9, "PlayResX:") == 0)
            canvas.width = assHeaderInteger(line.substr(9));
        else if (inInfo && line.compare(0, 9, "PlayResY:") == 0)
            canvas.height = assHeaderInteger(line.substr(9));
    }
    // libass's defaults, applied when it first draws the script: 384 x 288 without either side, otherwise the
    // missing side at 4:3 (1280 x 1024 for either of those), at least 1. The width is kept to 32 bits as
    // libass keeps it.
    int32_t &w = canvas.width, &h = canvas.height;
    if (w <= 0 && h <= 0)
        return {384, 288};
    if (h <= 0)
        h = w == 1280 ? 1024 : int32_t(std::max<int64_t>(1, w * int64_t(3) / 4));
    else if (w <= 0)
        w = h == 1024 ? 1280 : int32_t(uint32_t(std::max<int64_t>(1, h * int64_t(4) / 3)));
    return canvas;
}

std::string inputProblem(const std::string &path, InputUse use)
{
    return verdictFor(path, use).problem;
}

bool soundSpan(const std::string &path, SoundSpan *span)
{
    const Verdict v = verdictFor(path, InputUse::Sound);
    if (v.problem.empty() && span)
        *span = v.sound;
    return v.problem.empty();
}

std::string subtitleStreamProblem(const std::string &source, int stream)
{
    return streamVerdict(source, stream).problem;
}

std::string editInputsProblem(const EditConfig &cfg, bool picture, bool sound)
{
    if (picture) {
        for (const Overlay &ov : cfg.overlays) {
            if (!ov.picture.set || ov.picture.file.empty())
                continue;
            for (const std::string *f : {&ov.picture.file, &ov.picture.mask}) {
                if (f->empty())
                    continue;
                std::string problem = inputProblem(*f, InputUse::Picture);
                if (!problem.empty())
                    return problem;
            }
        }
        if (!cfg.subtitleFile.empty() && (cfg.subtitleMode & 2)) {
            std::string problem = styledProblem(verdictFor(cfg.subtitleFile, InputUse::Subtitle), cfg.subtitle);
            if (!problem.empty())
                return problem;
        }
    }
    if (sound && !cfg.background[0].file.empty())
        return inputProblem(cfg.background[0].file, InputUse::Sound);
    return {};
}

bool subtitleStreamUsable(const std::string &source, const EditConfig &cfg, std::string *error)
{
    if (!cfg.codec.videoEdits || !drawsSubtitleStream(cfg, source))
        return true;
    const std::string problem = styledProblem(streamVerdict(source, cfg.subtitleStream), cfg.subtitle);
    if (!problem.empty() && error)
        *error = problem;
    return problem.empty();
}

EditConfig withUsableInputs(const EditConfig &cfg, bool picture, bool sound, const std::string &source)
{
    EditConfig usable = cfg;
    if (picture) {
        for (Overlay &ov : usable.overlays) {
            PictureItem &p = ov.picture;
            if (!p.set || p.file.empty())
                continue;
            if (!inputProblem(p.file, InputUse::Picture).empty())
                p.set = false;
            else if (!p.mask.empty() && !inputProblem(p.mask, InputUse::Picture).empty())
                p.mask.clear();
        }
        if (!usable.subtitleFile.empty() && (usable.subtitleMode & 2) &&
            !styledProblem(verdictFor(usable.subtitleFile, InputUse::Subtitle), usable.subtitle).empty())
            usable.subtitleFile.clear();
        if (drawsSubtitleStream(usable, source) &&
            !styledProblem(streamVerdict(source, usable.subtitleStream), usable.subtitle).empty())
            usable.subtitleStream = -1;
    }
    if (sound && !usable.background[0].file.empty() &&
        !inputProblem(usable.background[0].file, InputUse::Sound).empty())
        usable.background[0].file.clear();
    return usable;
}

bool isOversizedText(const char *path)
{
    struct stat st
    {
    };
    if (!path || ::stat(path, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= kMaxSubtitleFileBytes)
        return false;
    FILE *f = std::fopen(path, "rb");
    if (!f)
        return false;
    std::vector<unsigned char> head(64 << 10);
    const size_t got = std::fread(head.data(), 1, head.size(), f);
    std::fclose(f);
    head.resize(got);
    const bool bom = (got >= 2 && ((head[0] == 0xFF && head[1] == 0xFE) || (head[0] == 0xFE && head[1] == 0xFF))) ||
                     (got >= 3 && head[0] == 0xEF && head[1] == 0xBB && head[2] == 0xBF);
    // Any binary media format has a zero byte within its first 64 KiB.
    return bom || std::find(head.begin(), head.end(), 0) == head.end();
}

} // namespace rsc::edit
