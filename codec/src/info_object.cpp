#include "info_object.h"

#include "common_media.h"

#include "filter_inputs.h"
#include "global_settings.h"
#include "info_brand.h"
#include "info_picture_size.h"
#include "log_codec.h"

#include <algorithm>

#include <sys/stat.h>

namespace rsc {
namespace {

bool isAttachedPicture(const AVStream *st)
{
    return (st->disposition & AV_DISPOSITION_ATTACHED_PIC) != 0;
}

void findCover(rsc_info *info)
{
    info->cover = {nullptr, 0};
    AVFormatContext *ctx = info->ctx.get();
    for (unsigned i = 0; i < ctx->nb_streams; ++i) {
        const AVStream *st = ctx->streams[i];
        if (isAttachedPicture(st) && st->attached_pic.data && st->attached_pic.size > 0) {
            info->cover = {st->attached_pic.data, st->attached_pic.size};
            return;
        }
    }
    // Matroska keeps cover art as an attachment with an image type.
    for (unsigned i = 0; i < ctx->nb_streams; ++i) {
        const AVStream *st = ctx->streams[i];
        if (st->codecpar->codec_type != AVMEDIA_TYPE_ATTACHMENT || !st->codecpar->extradata ||
            st->codecpar->extradata_size <= 0)
            continue;
        const AVDictionaryEntry *mime = av_dict_get(st->metadata, "mimetype", nullptr, 0);
        if (mime && std::string(mime->value).rfind("image/", 0) == 0) {
            info->cover = {st->codecpar->extradata, st->codecpar->extradata_size};
            return;
        }
    }
}

int64_t statedDuration(const AVFormatContext *ctx)
{
    if (ctx->duration != AV_NOPTS_VALUE && ctx->duration > 0)
        return ctx->duration;
    int64_t longest = 0;
    for (unsigned i = 0; i < ctx->nb_streams; ++i) {
        const AVStream *st = ctx->streams[i];
        if (st->duration != AV_NOPTS_VALUE && st->duration > 0)
            longest = std::max(longest, av_rescale_q(st->duration, st->time_base, AV_TIME_BASE_Q));
    }
    return longest;
}

void estimateDuration(rsc_info *info)
{
    AVFormatContext *ctx = info->ctx.get();
    info->estimatedDurationUs = 0;
    if (statedDuration(ctx) > 0 || info->video.empty())
        return;
    info->estimatedDurationUs = rsc::rawStreamDurationUs(ctx, info->video.front());
    if (isRawVideoStream(ctx, info->video.front()))
        info->rawIndex = std::make_unique<RawFrameIndex>();
}

// The common second half of every open: stream information, lists, refusal of sources without media.
// `why`, when given, receives the reason of a refusal.
bool finishOpen(rsc_info *info, AVFormatContext *raw, const char *what, std::string *why)
{
    info->ctx.reset(raw);
    std::string reason;
    auto refuse = [&](const std::string &text) {
        logWrite("info: %s refused: %s", what, text.c_str());
        if (why)
            *why = text;
        infoClose(info);
        return false;
    };
    if (declaresHugePicture(raw, &reason))
        return refuse(reason);
    const int ret = findStreamInfoBounded(raw);
    if (ret < 0)
        return refuse("no stream information: " + errorText(ret));
    if (declaresHugePicture(raw, &reason))
        return refuse(reason);
    infoSelectProgram(info, 0);
    if (info->video.empty() && info->audio.empty() && info->subtitle.empty())
        return refuse("no audio, video or subtitle stream");
    info->formatNames = raw->iformat && raw->iformat->name ? raw->iformat->name : "";
    info->formatId = info->formatNames.substr(0, info->formatNames.find(','));
    findCover(info);
    estimateDuration(info);
    return true;
}

AVFormatContext *allocContext()
{
    AVFormatContext *raw = avformat_alloc_context();
    if (!raw)
        return nullptr;
    raw->interrupt_callback.callback = interruptCallback;
    raw->interrupt_callback.opaque = nullptr;
    return raw;
}

} // namespace

bool infoOpenFile(rsc_info *info, const char *path, std::string *why)
{
    infoClose(info);
    if (!path || !*path)
        return false;
    struct stat st
    {
    };
    if (stat(path, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size == 0)
        return false;
    // Subtitle demuxers read a text file whole at the open, at many times its size.
    if (edit::isOversizedText(path)) {
        logWrite("info: %s refused: a text file of %lld bytes", path, static_cast<long long>(st.st_size));
        if (why)
            *why = "a text file larger than any subtitle file";
        return false;
    }
    AVFormatContext *raw = allocContext();
    if (!raw)
        return false;
    AVDictionary *options = nullptr;
    // Playlists inside media files must not reach the network or other protocols.
    av_dict_set(&options, "protocol_whitelist", "file,crypto,data", 0);
    // "file:" keeps a colon in the name from being read as a protocol.
    const std::string url = std::string("file:") + path;
    const int ret = avformat_open_input(&raw, url.c_str(), nullptr, &options);
    av_dict_free(&options);
    if (ret < 0) {
        logWrite("info: cannot open %s: %s", path, errorText(ret).c_str());
        if (why)
            *why = errorText(ret);
        return false; // avformat_open_input frees the context on failure
    }
    // Image demuxers leave the size to the decoder, which the pixel bound stops without telling it.
    int width = 0, height = 0;
    if (isPictureDemuxer(raw) && statedPictureSize(path, &width, &height) && pictureTooLarge(width, height)) {
        avformat_close_input(&raw);
        const std::string reason = pictureTooLargeText(width, height);
        logWrite("info: %s refused: %s", path, reason.c_str());
        if (why)
            *why = reason;
        return false;
    }
    if (!finishOpen(info, raw, path, why))
        return false;
    if (info->formatId == "matroska")
        info->brand = ebmlDocTypeOfFile(path);
    return true;
}

bool infoOpenStream(rsc_info *info, rsc_memstream *stream)
{
    infoClose(info);
    if (!stream || !stream->data || stream->size == 0)
        return false;
    info->io = openMemReader(stream, &info->reader);
    if (!info->io)
        return false;
    AVFormatContext *raw = allocContext();
    if (!raw) {
        info->io.reset();
        return false;
    }
    raw->pb = info->io.get();
    raw->flags |= AVFMT_FLAG_CUSTOM_IO;
    const int ret = avformat_open_input(&raw, nullptr, nullptr, nullptr);
    if (ret < 0) {
        logWrite("info: cannot open memory stream: %s", errorText(ret).c_str());
        info->io.reset();
        return false;
    }
    if (!finishOpen(info, raw, "memory stream", nullptr))
        return false;
    if (info->formatId == "matroska")
        info->brand = ebmlDocType(stream->data, std::min(stream->size, kEbmlHeadBytes));
    return true;
}

void infoClose(rsc_info *info)
{
    for (unsigned char *image : info->images)
        delete[] image;
    info->images.clear();
    info->convertedTexts.clear();
    info->subtitleFile.reset();
    info->rawIndex.reset();
    info->ctx.reset();
    info->io.reset();
    info->reader = MemReader{};
    info->video.clear();
    info->audio.clear();
    info->subtitle.clear();
    info->program = 0;
    info->currentVideo = info->currentAudio = info->currentSubtitle = 0;
    info->closedCaption = false;
    info->cover = {nullptr, 0};
    info->formatNames.clear();
    info->formatId.clear();
    info->brand.clear();
}

bool infoSelectProgram(rsc_info *info, int program)
{
    AVFormatContext *ctx = info->ctx.get();
    if (!ctx)
        return false;
    const int programs = static_cast<int>(ctx->nb_programs);
    if (program < 0 || (programs == 0 && program != 0) || (programs > 0 && program >= programs))
        return false;
    std::vector<int> streams;
    if (programs > 0) {
        const AVProgram *p = ctx->programs[program];
        for (unsigned i = 0; i < p->nb_stream_indexes; ++i)
            streams.push_back(static_cast<int>(p->stream_index[i]));
    } else {
        for (unsigned i = 0; i < ctx->nb_streams; ++i)
            streams.push_back(static_cast<int>(i));
    }
    info->video.clear();
    info->audio.clear();
    info->subtitle.clear();
    for (int index : streams) {
        const AVStream *st = ctx->streams[index];
        switch (st->codecpar->codec_type) {
        case AVMEDIA_TYPE_VIDEO:
            // A picture whose size could not be read is no video to show or join.
            if (!isAttachedPicture(st) && st->codecpar->width > 0 && st->codecpar->height > 0)
                info->video.push_back(index);
            break;
        case AVMEDIA_TYPE_AUDIO:
            info->audio.push_back(index);
            break;
        case AVMEDIA_TYPE_SUBTITLE:
            info->subtitle.push_back(index);
            break;
        default:
            break;
        }
    }
    info->program = program;
    info->currentVideo = info->currentAudio = info->currentSubtitle = 0;
    return true;
}

AVStream *infoCurrentStream(rsc_info *info, int kind)
{
    if (!info || !info->ctx)
        return nullptr;
    const std::vector<int> *list = nullptr;
    int current = 0;
    switch (kind) {
    case RSC_STREAM_VIDEO:
        list = &info->video;
        current = info->currentVideo;
        break;
    case RSC_STREAM_AUDIO:
        list = &info->audio;
        current = info->currentAudio;
        break;
    case RSC_STREAM_SUBTITLE:
        if (info->subtitleFile)
            return info->subtitleFile->streams[info->subtitleFileStream];
        list = &info->subtitle;
        current = info->currentSubtitle;
        break;
    default:
        return nullptr;
    }
    if (current < 0 || current >= static_cast<int>(list->size()))
        return nullptr;
    return info->ctx->streams[(*list)[current]];
}

} // namespace rsc

rsc_info::~rsc_info()
{
    rsc::infoClose(this);
}
