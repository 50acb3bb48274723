// The rsc_info_* calls: thin argument checks over the information object.
#include "bmp_image.h"
#include "bmp_still.h"
#include "common_media.h"
#include "info_object.h"
#include "info_text.h"
#include "info_values.h"
#include "log_codec.h"
#include "player_handle.h"
#include "rscodec.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <strings.h>

namespace {

AVFormatContext *opened(rsc_info *info)
{
    return info ? info->ctx.get() : nullptr;
}

// A stored text as UTF-8: itself when it is, else a Latin-1 reading kept by the object.
const char *utf8(rsc_info *info, const char *text)
{
    if (!text || rsc::isUtf8(text))
        return text;
    auto it = info->convertedTexts.find(text);
    if (it == info->convertedTexts.end())
        it = info->convertedTexts.emplace(text, rsc::latin1ToUtf8(text)).first;
    return it->second.c_str();
}

const char *tagOf(const AVStream *st, const char *key)
{
    const AVDictionaryEntry *e = st ? av_dict_get(st->metadata, key, nullptr, 0) : nullptr;
    return e && e->value && *e->value ? e->value : nullptr;
}

int setIndex(int *current, const std::vector<int> &list, uint32_t index)
{
    if (index >= list.size())
        return 0;
    *current = static_cast<int>(index);
    return 1;
}

// Tags of Ogg and FLAC files live on the stream rather than the container.
const char *findTag(rsc_info *info, const char *key)
{
    AVFormatContext *ctx = info->ctx.get();
    if (const AVDictionaryEntry *e = av_dict_get(ctx->metadata, key, nullptr, 0))
        return e->value;
    for (const std::vector<int> *list : {&info->audio, &info->video})
        if (!list->empty())
            if (const char *value = tagOf(ctx->streams[list->front()], key))
                return value;
    return nullptr;
}

} // namespace

extern "C" {

rsc_info *rsc_info_create(uint32_t)
{
    rsc::logInstall();
    return new (std::nothrow) rsc_info;
}

void rsc_info_release(rsc_info *info)
{
    delete info;
}

int rsc_info_close(rsc_info *info)
{
    if (!info)
        return 0;
    rsc::infoClose(info);
    return 1;
}

int rsc_info_open_file(rsc_info *info, const char *utf8_path)
{
    return info && rsc::infoOpenFile(info, utf8_path) ? 1 : 0;
}

// FFmpeg 5.1 reads no DVD structure; a DVD path that is a file (a VOB) opens like any file.
int rsc_info_open_dvd(rsc_info *info, const char *utf8_path)
{
    return rsc_info_open_file(info, utf8_path);
}

int rsc_info_open_stream(rsc_info *info, rsc_memstream *stream)
{
    return info && rsc::infoOpenStream(info, stream) ? 1 : 0;
}

// Describes the file open in the player; the object reads it on its own, so neither disturbs the other.
int rsc_info_open_with_player(rsc_info *info, rsc_player *player)
{
    if (!info)
        return 0;
    const std::string path = player && player->impl ? player->impl->path() : std::string();
    if (path.empty()) {
        rsc::infoClose(info);
        return 0;
    }
    return rsc::infoOpenFile(info, path.c_str()) ? 1 : 0;
}

int rsc_info_has_video(rsc_info *info)
{
    return opened(info) && !info->video.empty() ? 1 : 0;
}

int rsc_info_has_audio(rsc_info *info)
{
    return opened(info) && !info->audio.empty() ? 1 : 0;
}

uint64_t rsc_info_duration(rsc_info *info)
{
    AVFormatContext *ctx = opened(info);
    if (!ctx)
        return 0;
    if (ctx->duration != AV_NOPTS_VALUE && ctx->duration > 0)
        return static_cast<uint64_t>(ctx->duration);
    int64_t longest = 0;
    for (unsigned i = 0; i < ctx->nb_streams; ++i) {
        const AVStream *st = ctx->streams[i];
        if (st->duration != AV_NOPTS_VALUE && st->duration > 0)
            longest = std::max(longest, rsc::toMicros(st->duration, st->time_base));
    }
    return static_cast<uint64_t>(longest > 0 ? longest : info->estimatedDurationUs);
}

int rsc_info_can_seek(rsc_info *info)
{
    AVFormatContext *ctx = opened(info);
    if (!ctx || rsc_info_duration(info) == 0)
        return 0;
    return !ctx->pb || (ctx->pb->seekable & AVIO_SEEKABLE_NORMAL) ? 1 : 0;
}

uint32_t rsc_info_video_width(rsc_info *info)
{
    const AVStream *st = rsc::infoCurrentStream(info, RSC_STREAM_VIDEO);
    return st && st->codecpar->width > 0 ? static_cast<uint32_t>(st->codecpar->width) : 0;
}

uint32_t rsc_info_video_height(rsc_info *info)
{
    const AVStream *st = rsc::infoCurrentStream(info, RSC_STREAM_VIDEO);
    return st && st->codecpar->height > 0 ? static_cast<uint32_t>(st->codecpar->height) : 0;
}

static AVRational displayAspect(rsc_info *info)
{
    AVStream *st = rsc::infoCurrentStream(info, RSC_STREAM_VIDEO);
    if (!st || st->codecpar->width <= 0 || st->codecpar->height <= 0)
        return {0, 0};
    const AVRational sar = rsc::displaySampleAspect(info->ctx.get(), st);
    if (sar.num <= 0 || sar.den <= 0)
        return {0, 0};
    AVRational dar{0, 0};
    av_reduce(&dar.num, &dar.den, static_cast<int64_t>(st->codecpar->width) * sar.num,
              static_cast<int64_t>(st->codecpar->height) * sar.den, 1024 * 1024);
    return dar;
}

uint32_t rsc_info_video_aspect_x(rsc_info *info)
{
    return static_cast<uint32_t>(displayAspect(info).num);
}

uint32_t rsc_info_video_aspect_y(rsc_info *info)
{
    return static_cast<uint32_t>(displayAspect(info).den);
}

const void *rsc_info_get_metadata(rsc_info *info, const char *key)
{
    if (!opened(info) || !key)
        return nullptr;
    if (std::strcmp(key, "cover_image") == 0)
        return info->cover.data ? &info->cover : nullptr;
    if (std::strcmp(key, "ffmpeg_format") == 0)
        return info->formatNames.c_str();
    // A Matroska file's brand is its DocType. A MAJOR_BRAND tag in it is left over from the MP4 it was
    // remuxed from (the ffmpeg tool copies it): taken for the brand, it named the file an MP4 container.
    if (!info->brand.empty() && info->formatId == "matroska" && strcasecmp(key, "major_brand") == 0)
        return info->brand.c_str();
    const char *value = utf8(info, findTag(info, key));
    if (!value && !info->brand.empty() && strcasecmp(key, "major_brand") == 0)
        return info->brand.c_str();
    return value;
}

const unsigned char *rsc_info_get_metadata_data(rsc_info *info, const char *key)
{
    if (!opened(info) || !key || std::strcmp(key, "cover_image") != 0)
        return nullptr;
    return info->cover.data;
}

uint32_t rsc_info_get_metadata_size(rsc_info *info, const char *key)
{
    if (!opened(info) || !key || std::strcmp(key, "cover_image") != 0)
        return 0;
    return info->cover.data ? static_cast<uint32_t>(info->cover.size) : 0;
}

const char *rsc_info_format_id(rsc_info *info)
{
    return opened(info) ? info->formatId.c_str() : nullptr;
}

unsigned char *rsc_info_get_video_image(rsc_info *info, uint64_t time, uint32_t mode, uint32_t width, uint32_t height,
                                        uint32_t flags)
{
    AVStream *st = rsc::infoCurrentStream(info, RSC_STREAM_VIDEO);
    if (!st || width > rsc::kMaxImageSide || height > rsc::kMaxImageSide)
        return nullptr;
    // Any time past the end means the last frame; the bound keeps the rescaling within 64 bits.
    constexpr uint64_t kLatest = 1000000000000000ull; // about 31 years
    rsc::StillRequest request;
    request.timeUs = static_cast<int64_t>(std::min(time, kLatest));
    request.mode = mode;
    request.boxWidth = static_cast<int>(width);
    request.boxHeight = static_cast<int>(height);
    request.flags = flags;
    unsigned char *image = nullptr;
    // A picture too large for the memory left is no picture; the failure must not cross the C boundary.
    try {
        // The index belongs to the first video stream, the only one a raw stream has.
        rsc::RawFrameIndex *raw = info->rawIndex && st->index == info->video.front() ? info->rawIndex.get() : nullptr;
        image = rsc::grabStillImage(info->ctx.get(), st->index, request, raw);
        if (image)
            info->images.insert(image);
    } catch (const std::bad_alloc &) {
        delete[] image;
        rsc::logWrite("info: out of memory for a still image");
        return nullptr;
    }
    return image;
}

uint32_t rsc_info_get_video_image_size(rsc_info *info, const unsigned char *image)
{
    if (!info || !image || !info->images.count(const_cast<unsigned char *>(image)))
        return 0;
    return rsc::bmpFileSize(image);
}

int rsc_info_free_video_image(rsc_info *info, unsigned char *image)
{
    if (!info || !image)
        return 0;
    // Only buffers this object handed out are freed; anything else is refused, not corrupted.
    if (!info->images.erase(image))
        return 0;
    delete[] image;
    return 1;
}

uint32_t rsc_info_program_count(rsc_info *info)
{
    AVFormatContext *ctx = opened(info);
    if (!ctx)
        return 0;
    return ctx->nb_programs > 0 ? ctx->nb_programs : 1;
}

const char *rsc_info_program_name(rsc_info *info)
{
    AVFormatContext *ctx = opened(info);
    if (!ctx)
        return nullptr;
    if (ctx->nb_programs == 0)
        return "";
    const AVProgram *p = ctx->programs[info->program];
    for (const char *key : {"service_name", "title", "name"})
        if (const AVDictionaryEntry *e = av_dict_get(p->metadata, key, nullptr, 0))
            return utf8(info, e->value);
    return "";
}

int rsc_info_set_program_index(rsc_info *info, uint32_t index)
{
    return opened(info) && index <= 0x7FFFFFFF && rsc::infoSelectProgram(info, static_cast<int>(index)) ? 1 : 0;
}

uint32_t rsc_info_video_count(rsc_info *info)
{
    return opened(info) ? info->video.size() : 0;
}

uint32_t rsc_info_audio_count(rsc_info *info)
{
    return opened(info) ? info->audio.size() : 0;
}

uint32_t rsc_info_subtitle_count(rsc_info *info)
{
    return opened(info) ? info->subtitle.size() : 0;
}

int rsc_info_set_video_index(rsc_info *info, uint32_t index)
{
    return opened(info) ? setIndex(&info->currentVideo, info->video, index) : 0;
}

int rsc_info_set_audio_index(rsc_info *info, uint32_t index)
{
    return opened(info) ? setIndex(&info->currentAudio, info->audio, index) : 0;
}

int rsc_info_set_subtitle_index(rsc_info *info, uint32_t index)
{
    if (!opened(info))
        return 0;
    if (index == 0xFFFFFFFFu) {
        info->subtitleFile.reset();
        info->currentSubtitle = -1;
        return 1;
    }
    if (!setIndex(&info->currentSubtitle, info->subtitle, index))
        return 0;
    info->subtitleFile.reset();
    return 1;
}

int rsc_info_set_subtitle_file(rsc_info *info, const char *utf8_path)
{
    return rsc_info_set_subtitle_file_ex(info, utf8_path, 0, 0);
}

// Memory subtitle sources are taken by the player only.
int rsc_info_set_subtitle_stream(rsc_info *info, rsc_memstream *stream)
{
    (void)info;
    (void)stream;
    return 0;
}

int rsc_info_set_subtitle_file_ex(rsc_info *info, const char *utf8_path, uint32_t, uint32_t)
{
    if (!opened(info) || !utf8_path || !*utf8_path)
        return 0;
    rsc_info probe;
    if (!rsc::infoOpenFile(&probe, utf8_path) || probe.subtitle.empty())
        return 0;
    // Keep only the subtitle file's context; its first subtitle stream becomes the current one.
    AVFormatContext *ctx = probe.ctx.release();
    const int first = probe.subtitle.front();
    for (unsigned i = 0; i < ctx->nb_streams; ++i)
        ctx->streams[i]->discard = static_cast<int>(i) == first ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    info->subtitleFileStream = first;
    info->subtitleFile.reset(ctx);
    return 1;
}

int rsc_info_set_subtitle_stream_ex(rsc_info *info, rsc_memstream *stream, uint32_t, uint32_t)
{
    return rsc_info_set_subtitle_stream(info, stream);
}

int rsc_info_enable_closed_caption(rsc_info *info, uint32_t on)
{
    if (!opened(info) || info->video.empty())
        return 0;
    info->closedCaption = on != 0;
    return 1;
}

const char *rsc_info_stream_title(rsc_info *info, int kind)
{
    return utf8(info, tagOf(rsc::infoCurrentStream(info, kind), "title"));
}

const char *rsc_info_stream_format(rsc_info *info, int kind)
{
    const AVStream *st = rsc::infoCurrentStream(info, kind);
    return st ? avcodec_get_name(st->codecpar->codec_id) : nullptr;
}

const char *rsc_info_stream_language(rsc_info *info, int kind)
{
    return tagOf(rsc::infoCurrentStream(info, kind), "language");
}

uint64_t rsc_info_stream_value(rsc_info *info, int kind, int n)
{
    AVStream *st = rsc::infoCurrentStream(info, kind);
    AVFormatContext *ctx =
        kind == RSC_STREAM_SUBTITLE && info && info->subtitleFile ? info->subtitleFile.get() : opened(info);
    return st ? rsc::streamValue(ctx, st, kind, n) : 0;
}

const unsigned char *rsc_info_stream_private_data(rsc_info *info, int kind)
{
    const AVStream *st = rsc::infoCurrentStream(info, kind);
    return st && st->codecpar->extradata_size > 0 ? st->codecpar->extradata : nullptr;
}

uint32_t rsc_info_stream_private_size(rsc_info *info, int kind)
{
    const AVStream *st = rsc::infoCurrentStream(info, kind);
    return st && st->codecpar->extradata && st->codecpar->extradata_size > 0
               ? static_cast<uint32_t>(st->codecpar->extradata_size)
               : 0;
}

uint32_t rsc_info_chapter_count(rsc_info *info)
{
    AVFormatContext *ctx = opened(info);
    return ctx ? ctx->nb_chapters : 0;
}

static const AVChapter *chapterAt(rsc_info *info, uint32_t index)
{
    AVFormatContext *ctx = opened(info);
    return ctx && index < ctx->nb_chapters ? ctx->chapters[index] : nullptr;
}

uint64_t rsc_info_chapter_start(rsc_info *info, uint32_t index)
{
    const AVChapter *c = chapterAt(info, index);
    if (!c)
        return 0;
    const int64_t start = rsc::toMicros(c->start, c->time_base);
    return start > 0 ? static_cast<uint64_t>(start) : 0;
}

uint64_t rsc_info_chapter_duration(rsc_info *info, uint32_t index)
{
    const AVChapter *c = chapterAt(info, index);
    if (!c)
        return 0;
    const int64_t start = std::max<int64_t>(0, rsc::toMicros(c->start, c->time_base));
    const int64_t end = rsc::toMicros(c->end, c->time_base);
    return end > start ? static_cast<uint64_t>(end - start) : 0;
}

const char *rsc_info_chapter_title(rsc_info *info, uint32_t index)
{
    const AVChapter *c = chapterAt(info, index);
    if (!c)
        return nullptr;
    const AVDictionaryEntry *e = av_dict_get(c->metadata, "title", nullptr, 0);
    return e && e->value && *e->value ? utf8(info, e->value) : nullptr;
}

} // extern "C"
