#include "filter_inputs.h"

#include "ffmpeg_raii.h"
#include "info_object.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <algorithm>
#include <cstdio>
#include <map>
#include <mutex>
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

std::mutex s_cacheMutex;
std::map<Identity, std::string> s_cache;
constexpr size_t kCacheEntries = 64;

std::string pictureOrSoundProblem(const std::string &path, InputUse use)
{
    // The clip probe's open: its refusal of giant pictures (by the header and by a bounded decode) and of
    // oversized text files applies here too.
    const std::string what = use == InputUse::Sound ? "the background sound " : "the picture ";
    rsc_info probe;
    std::string why;
    if (!rsc::infoOpenFile(&probe, path.c_str(), &why))
        return "cannot use " + what + path + ": " + (why.empty() ? std::string("it is no media file") : why);
    if (use == InputUse::Sound && probe.audio.empty())
        return "cannot use " + what + path + ": it holds no sound";
    if (use == InputUse::Picture && probe.video.empty()) {
        // A cover picture is a picture too (the overlay filter takes it).
        for (unsigned i = 0; i < probe.ctx->nb_streams; ++i)
            if (probe.ctx->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_VIDEO)
                return {};
        return "cannot use " + what + path + ": it holds no picture";
    }
    return {};
}

std::string subtitleProblem(const std::string &path, int64_t size)
{
    const std::string refused = "cannot use the subtitle file " + path + ": ";
    if (size > kMaxSubtitleFileBytes)
        return refused + "it is larger than " + std::to_string(kMaxSubtitleFileBytes >> 20) + " MiB";
    rsc_info probe;
    std::string why;
    if (!rsc::infoOpenFile(&probe, path.c_str(), &why))
        return refused + (why.empty() ? std::string("it cannot be read") : why);
    AVFormatContext *ctx = probe.ctx.get();
    // The stream the subtitles filter draws.
    const int index = av_find_best_stream(ctx, AVMEDIA_TYPE_SUBTITLE, -1, -1, nullptr, 0);
    if (index < 0)
        return refused + "it holds no subtitles";
    const AVCodecDescriptor *desc = avcodec_descriptor_get(ctx->streams[index]->codecpar->codec_id);
    if (!desc || !(desc->props & AV_CODEC_PROP_TEXT_SUB))
        return refused + "it holds picture subtitles; only text subtitles can be drawn into the picture";
    // Each packet is one cue: its size is the cue's text, its time and duration when it shows.
    std::vector<std::pair<int64_t, int>> edges; // time, +1 shows / -1 ends
    PacketPtr packet = makePacket();
    if (!packet)
        return "out of memory";
    while (av_read_frame(ctx, packet.get()) >= 0) {
        const bool ours = packet->stream_index == index;
        const int bytes = packet->size;
        const int64_t start = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
        const int64_t duration = std::max<int64_t>(1, packet->duration);
        av_packet_unref(packet.get());
        if (!ours)
            continue;
        if (bytes > kMaxCueBytes)
            return refused + "a subtitle in it has more than " + std::to_string(kMaxCueBytes >> 10) + " KiB of text";
        if (edges.size() / 2 >= size_t(kMaxCues))
            return refused + "it holds more than " + std::to_string(kMaxCues) + " subtitles";
        if (start == AV_NOPTS_VALUE)
            continue;
        edges.emplace_back(start, 1);
        edges.emplace_back(start + duration, -1);
    }
    // Ends sort before starts at the same time: a cue that ends as the next begins is not shown with it.
    std::sort(edges.begin(), edges.end());
    int shown = 0;
    for (const auto &e : edges) {
        shown += e.second;
        if (shown > kMaxCuesAtOnce)
            return refused + "it shows more than " + std::to_string(kMaxCuesAtOnce) + " subtitles at once";
    }
    return {};
}

std::string checkNow(const std::string &path, InputUse use, const struct stat &st)
{
    if (use == InputUse::Subtitle)
        return subtitleProblem(path, st.st_size);
    return pictureOrSoundProblem(path, use);
}

} // namespace

std::string inputProblem(const std::string &path, InputUse use)
{
    struct stat st
    {
    };
    // A named pipe or a device would block the filter that opens it (and so a close) for ever.
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || ::access(path.c_str(), R_OK) != 0)
        return "cannot read " + path;
    const Identity key{path,      int(use),   st.st_dev,
                       st.st_ino, st.st_size, int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
    {
        std::lock_guard<std::mutex> lock(s_cacheMutex);
        const auto it = s_cache.find(key);
        if (it != s_cache.end())
            return it->second;
    }
    std::string problem = checkNow(path, use, st);
    std::lock_guard<std::mutex> lock(s_cacheMutex);
    if (s_cache.size() >= kCacheEntries)
        s_cache.clear();
    s_cache.emplace(key, problem);
    return problem;
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
            std::string problem = inputProblem(cfg.subtitleFile, InputUse::Subtitle);
            if (!problem.empty())
                return problem;
        }
    }
    if (sound && !cfg.background[0].file.empty())
        return inputProblem(cfg.background[0].file, InputUse::Sound);
    return {};
}

EditConfig withUsableInputs(const EditConfig &cfg, bool picture, bool sound)
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
            !inputProblem(usable.subtitleFile, InputUse::Subtitle).empty())
            usable.subtitleFile.clear();
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
