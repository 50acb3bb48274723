#include "decode_input.h"

#include "common_media.h"
#include "copy_probe.h"

extern "C" {
#include <libavutil/parseutils.h>
}

#include <algorithm>
#include <cstring>
#include <vector>

namespace rsc::job {

std::atomic<bool> InputClip::s_openFromHeader{true};

InputClip::~InputClip()
{
    m_videoDec.reset();
    m_audioDec.reset();
    if (m_format) {
        // The context does not own our I/O: detach it before closing.
        m_format->pb = nullptr;
        m_format.reset();
    }
}

namespace {

// Packets read ahead to find the first picture's headers: enough for any sane interleaving, little enough
// that a strange file falls back to the full probe quickly.
constexpr size_t kMaxPendingPackets = 512;
constexpr int64_t kMaxPendingBytes = 32 << 20;

struct ParserCloser
{
    void operator()(AVCodecParserContext *p) const { av_parser_close(p); }
};

// Full and limited range differ in what a sample means, not in how it is stored: a copy compares layouts.
int storedLayout(int format)
{
    switch (format) {
    case AV_PIX_FMT_YUVJ420P:
        return AV_PIX_FMT_YUV420P;
    case AV_PIX_FMT_YUVJ422P:
        return AV_PIX_FMT_YUV422P;
    case AV_PIX_FMT_YUVJ444P:
        return AV_PIX_FMT_YUV444P;
    case AV_PIX_FMT_YUVJ440P:
        return AV_PIX_FMT_YUV440P;
    case AV_PIX_FMT_YUVJ411P:
        return AV_PIX_FMT_YUV411P;
    default:
        return format;
    }
}

// Matroska and WebM state every stream's parameters but not its start.
bool startsFromPackets(const AVFormatContext *ctx)
{
    return ctx->iformat && std::strcmp(ctx->iformat->name, "matroska,webm") == 0;
}

// Picture codecs whose headers state all that decoding would (layout, colour, aspect, profile), read here
// without decoding pictures. Others are probed in full.
bool layoutFromPackets(AVCodecID id)
{
    return id == AV_CODEC_ID_H264 || id == AV_CODEC_ID_HEVC || id == AV_CODEC_ID_VP8 || id == AV_CODEC_ID_VP9;
}

// Sound codecs whose first decoded packet settles what a full probe states (compared on real files).
bool soundFromFirstPacket(AVCodecID id)
{
    switch (id) {
    case AV_CODEC_ID_AAC:
    case AV_CODEC_ID_OPUS:
    case AV_CODEC_ID_VORBIS:
    case AV_CODEC_ID_MP3:
    case AV_CODEC_ID_MP2:
    case AV_CODEC_ID_AC3:
    case AV_CODEC_ID_EAC3:
    case AV_CODEC_ID_FLAC:
    case AV_CODEC_ID_PCM_S16LE:
    case AV_CODEC_ID_PCM_S24LE:
    case AV_CODEC_ID_PCM_F32LE:
        return true;
    default:
        return false;
    }
}

// Matroska writers state each track's length in a "DURATION" tag ("DURATION-<language>" too): mkvmerge as
// the length from the track's first timestamp (a statistic it lists in "_STATISTICS_TAGS"), ffmpeg as
// where the track ends. ffmpeg keeps that list when it remuxes such a file but writes its own tag, so the
// list counts only in files that libavformat did not write. Microseconds on the file's time line; 0 when the
// stream states none, or an end no time of the file's can reach (beyond 292,000 years).
int64_t taggedEndUs(const AVFormatContext *ctx, const AVStream *st)
{
    const AVDictionaryEntry *tag = av_dict_get(st->metadata, "DURATION", nullptr, AV_DICT_IGNORE_SUFFIX);
    int64_t us = 0;
    if (!tag || av_parse_time(&us, tag->value, 1) < 0 || us <= 0)
        return 0;
    const AVDictionaryEntry *stats = av_dict_get(st->metadata, "_STATISTICS_TAGS", nullptr, AV_DICT_IGNORE_SUFFIX);
    const AVDictionaryEntry *muxer = av_dict_get(ctx->metadata, "encoder", nullptr, 0);
    const bool byLibavformat = muxer && std::strncmp(muxer->value, "Lavf", 4) == 0;
    if (stats && std::strstr(stats->value, "DURATION") && !byLibavformat && st->start_time != AV_NOPTS_VALUE &&
        __builtin_add_overflow(us, av_rescale_q(st->start_time, st->time_base, AV_TIME_BASE_Q), &us))
        return 0;
    return us;
}

// `to` - `from` (microseconds), or 0 (nothing stated) when the difference is beyond any time.
int64_t since(int64_t to, int64_t from)
{
    int64_t d = 0;
    return __builtin_sub_overflow(to, from, &d) ? 0 : d;
}

// An EBML number at `p`: an element's ID keeps its length marker, a size drops it, and a size with every bit
// set is unknown (UINT64_MAX). False when it does not fit before `end`.
bool readEbml(const uint8_t *&p, const uint8_t *end, bool id, uint64_t *value)
{
    if (p >= end || *p == 0)
        return false;
    const int length = __builtin_clz(unsigned(*p)) - 23; // the byte's leading zeros, plus one
    if (end - p < length)
        return false;
    const unsigned marker = 0x100u >> length;
    uint64_t v = id ? *p : *p & (marker - 1);
    bool unknown = v == marker - 1;
    for (int i = 1; i < length; ++i) {
        unknown = unknown && p[i] == 0xff;
        v = v << 8 | p[i];
    }
    p += length;
    *value = !id && unknown ? UINT64_MAX : v;
    return true;
}

// Where a Matroska file's Segment ends by its head (its writer fills the size in when it finishes); -1 when
// the size is unknown (a live recording) or cannot be read.
int64_t matroskaSegmentEnd(const FileIO &io)
{
    constexpr uint64_t kSegment = 0x18538067;
    uint8_t head[256];
    const uint8_t *p = head;
    const uint8_t *end = head + std::max<ssize_t>(io.readAt(0, head, sizeof head), 0);
    uint64_t id = 0;
    uint64_t size = 0;
    while (readEbml(p, end, true, &id) && readEbml(p, end, false, &size) && size != UINT64_MAX) {
        if (id == kSegment)
            return int64_t(p - head) + int64_t(size);
        if (size > uint64_t(end - p))
            break;
        p += size;
    }
    return -1;
}

} // namespace

bool InputClip::open(const std::string &path, int audioTrack, int program, std::string *error, Purpose purpose)
{
    auto fail = [&](const std::string &why) {
        if (error)
            *error = why;
        return false;
    };
    if (!m_io.openRead(path))
        return fail("cannot open " + path);
    AVFormatContext *ctx = avformat_alloc_context();
    if (!ctx)
        return fail("out of memory");
    ctx->pb = m_io.context();
    ctx->flags |= AVFMT_FLAG_CUSTOM_IO;
    int err = avformat_open_input(&ctx, path.c_str(), nullptr, nullptr);
    if (err < 0)
        return fail("not a media file: " + path + " (" + errorText(err) + ")");
    m_format.reset(ctx);
    if (purpose == Purpose::Copy && s_openFromHeader.load() && headerSufficesForCopy()) {
        // A stream copy needs no decoding: the header and the first picture's headers say all a join
        // compares. Where they do not, the file is opened again and probed in full.
        pickStreams(audioTrack, program);
        if (std::string why; rsc::declaresHugePicture(ctx, &why))
            return fail("cannot use " + path + ": " + why);
        if (!completeForCopy()) {
            m_pending.clear();
            m_format->pb = nullptr;
            m_format.reset();
            m_video = m_audio = -1;
            m_fromHeader = m_dropGuessedDts = false;
            return open(path, audioTrack, program, error, Purpose::Decode) && normaliseForCopy();
        }
    } else {
        std::string why;
        if (rsc::declaresHugePicture(ctx, &why))
            return fail("cannot use " + path + ": " + why);
        err = rsc::findStreamInfoBounded(ctx);
        if (err < 0)
            return fail("cannot read the streams of " + path + " (" + errorText(err) + ")");
        pickStreams(audioTrack, program);
        if (purpose == Purpose::Copy)
            normaliseForCopy();
    }
    if (m_video < 0 && m_audio < 0)
        return fail("no audio or video stream in " + path);
    if (std::string why; rsc::declaresHugePicture(ctx, &why))
        return fail("cannot use " + path + ": " + why);
    if (m_video >= 0 && ctx->streams[m_video]->codecpar->format < 0)
        return fail("the picture of " + path + " cannot be read (damaged or truncated file)");
    // Containers with an index say where their data ends: a file cut short is refused before anything of
    // it is used, rather than found out halfway through a join.
    if (ctx->pb) {
        const int64_t size = avio_size(ctx->pb);
        for (int index : {m_video, m_audio}) {
            if (index < 0 || size <= 0)
                continue;
            AVStream *st = ctx->streams[index];
            const int entries = avformat_index_get_entries_count(st);
            if (entries <= 0)
                continue;
            const AVIndexEntry *last = avformat_index_get_entry(st, entries - 1);
            if (last && last->pos + last->size > size)
                return fail(path + " is truncated: its data ends before its index says");
        }
        m_shorterThanStated =
            size > 0 && std::strncmp(ctx->iformat->name, "matroska", 8) == 0 && matroskaSegmentEnd(m_io) > size;
    }
    for (unsigned i = 0; i < ctx->nb_streams; ++i) {
        if (static_cast<int>(i) != m_video && static_cast<int>(i) != m_audio)
            ctx->streams[i]->discard = AVDISCARD_ALL;
    }
    return true;
}

bool InputClip::pickStreams(int audioTrack, int program)
{
    const AVFormatContext *ctx = m_format.get();
    // The streams of the chosen program; every stream when the file has none (or not that many).
    std::vector<bool> inProgram(ctx->nb_streams, true);
    if (program > 0 && static_cast<unsigned>(program) < ctx->nb_programs) {
        const AVProgram *p = ctx->programs[program];
        inProgram.assign(ctx->nb_streams, false);
        for (unsigned k = 0; k < p->nb_stream_indexes; ++k) {
            if (p->stream_index[k] < ctx->nb_streams)
                inProgram[p->stream_index[k]] = true;
        }
    }
    int audioSeen = 0;
    int firstAudio = -1;
    for (unsigned i = 0; i < ctx->nb_streams; ++i) {
        if (!inProgram[i])
            continue;
        const AVStream *st = ctx->streams[i];
        const AVCodecParameters *par = st->codecpar;
        if (par->codec_type == AVMEDIA_TYPE_VIDEO && m_video < 0 && !(st->disposition & AV_DISPOSITION_ATTACHED_PIC) &&
            par->width > 0 && par->height > 0)
            m_video = static_cast<int>(i);
        if (par->codec_type == AVMEDIA_TYPE_AUDIO && par->sample_rate > 0) {
            if (firstAudio < 0)
                firstAudio = static_cast<int>(i);
            if (audioSeen++ == audioTrack)
                m_audio = static_cast<int>(i);
        }
    }
    if (m_audio < 0)
        m_audio = firstAudio;
    return m_video >= 0 || m_audio >= 0;
}

bool InputClip::headerSufficesForCopy() const
{
    // Containers like MP4 state every stream's codec, geometry, sound format and start in their header.
    // Matroska and WebM state all but the start, which their first packets tell; transport streams and
    // most others state their parameters only in their packets.
    const AVFormatContext *ctx = m_format.get();
    const bool startFromPackets = startsFromPackets(ctx);
    if (startFromPackets && (ctx->duration == AV_NOPTS_VALUE || ctx->duration <= 0))
        return false; // the length would be estimated from the bit rate
    bool any = false;
    for (unsigned i = 0; i < ctx->nb_streams; ++i) {
        const AVStream *st = ctx->streams[i];
        const AVCodecParameters *par = st->codecpar;
        if (par->codec_type == AVMEDIA_TYPE_VIDEO && !(st->disposition & AV_DISPOSITION_ATTACHED_PIC)) {
            if (par->codec_id == AV_CODEC_ID_NONE || par->width <= 0 || par->height <= 0)
                return false;
            // Without a stated frame rate the probe measures one from the packets.
            if (startFromPackets &&
                (!layoutFromPackets(par->codec_id) || st->avg_frame_rate.num <= 0 || st->avg_frame_rate.den <= 0))
                return false;
        } else if (par->codec_type == AVMEDIA_TYPE_AUDIO) {
            if (par->codec_id == AV_CODEC_ID_NONE || par->sample_rate <= 0 || par->ch_layout.nb_channels <= 0)
                return false;
            if (startFromPackets && !soundFromFirstPacket(par->codec_id))
                return false;
        } else {
            continue;
        }
        if (st->time_base.num <= 0 || st->time_base.den <= 0)
            return false;
        if (st->start_time == AV_NOPTS_VALUE && !startFromPackets)
            return false;
        any = true;
    }
    return any;
}

bool InputClip::readPending(int64_t *bytes)
{
    if (m_pending.size() >= kMaxPendingPackets || *bytes >= kMaxPendingBytes)
        return false;
    PacketPtr pkt = makePacket();
    if (!pkt || av_read_frame(m_format.get(), pkt.get()) < 0)
        return false;
    *bytes += pkt->size;
    m_pending.push_back(std::move(pkt));
    return true;
}

bool InputClip::completeForCopy()
{
    AVFormatContext *ctx = m_format.get();
    if (m_video < 0 && m_audio < 0)
        return false;
    const bool startFromPackets = startsFromPackets(ctx);

    CodecPtr sound;
    if (m_audio >= 0 && ctx->streams[m_audio]->codecpar->format < 0) {
        // Sound decoders state their sample format when they are set up, before any decoding.
        AVCodecParameters *par = ctx->streams[m_audio]->codecpar;
        const AVCodec *codec = avcodec_find_decoder(par->codec_id);
        CodecPtr dec(codec ? avcodec_alloc_context3(codec) : nullptr);
        if (!dec || avcodec_parameters_to_context(dec.get(), par) < 0)
            return false;
        dec->thread_count = 1;
        if (avcodec_open2(dec.get(), codec, nullptr) < 0 || dec->sample_fmt == AV_SAMPLE_FMT_NONE)
            return false;
        par->format = dec->sample_fmt;
        // MP4 states only the channel count; the decoder's set-up names the channels, as a full probe does.
        if (par->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC && dec->ch_layout.order != AV_CHANNEL_ORDER_UNSPEC &&
            dec->ch_layout.nb_channels == par->ch_layout.nb_channels &&
            av_channel_layout_copy(&par->ch_layout, &dec->ch_layout) < 0)
            return false;
        if (par->frame_size <= 0 && dec->frame_size > 0)
            par->frame_size = dec->frame_size;
        // The first packet is also decoded: a full probe takes the channels, the frame length (which times
        // the packets read after it where the container does not) and the true rate from decoding.
        sound = std::move(dec);
    }

    // The picture's layout from the headers of its first frame, parsed, not decoded.
    AVStream *vst = m_video >= 0 ? ctx->streams[m_video] : nullptr;
    std::unique_ptr<AVCodecParserContext, ParserCloser> parser;
    CodecPtr headers;
    CodecPtr pictureHeaders;
    if (vst && vst->codecpar->format < 0) {
        const AVCodecID id = vst->codecpar->codec_id;
        if (id == AV_CODEC_ID_HEVC) {
            // The HEVC decoder states what it reads of the parameter sets and slice headers even when told
            // to decode no picture: exactly what a full probe finds, at the cost of reading headers.
            const AVCodec *codec = avcodec_find_decoder(id);
            pictureHeaders.reset(codec ? avcodec_alloc_context3(codec) : nullptr);
            if (!pictureHeaders || avcodec_parameters_to_context(pictureHeaders.get(), vst->codecpar) < 0)
                return false;
            pictureHeaders->thread_count = 1;
            pictureHeaders->skip_frame = AVDISCARD_ALL;
            if (avcodec_open2(pictureHeaders.get(), codec, nullptr) < 0)
                return false;
            // Parameter sets in the codec's private data are read as the decoder is set up.
            if (pictureHeaders->pix_fmt != AV_PIX_FMT_NONE) {
                if (avcodec_parameters_from_context(vst->codecpar, pictureHeaders.get()) < 0)
                    return false;
                pictureHeaders.reset();
            }
        } else if (id != AV_CODEC_ID_VP8 && id != AV_CODEC_ID_VP9) {
            parser.reset(av_parser_init(id));
            headers.reset(avcodec_alloc_context3(nullptr));
            if (!parser || !headers || avcodec_parameters_to_context(headers.get(), vst->codecpar) < 0)
                return false;
            parser->flags |= PARSER_FLAG_COMPLETE_FRAMES;
        }
    }
    // What decoding would state of an H.264 picture beyond its layout, from the sequence header. Interlaced
    // pictures name their field order only as they are decoded.
    if (vst && vst->codecpar->codec_id == AV_CODEC_ID_H264) {
        AVCodecParameters *par = vst->codecpar;
        H264Sequence sps;
        if (!h264SequenceHeader(par->extradata, size_t(std::max(par->extradata_size, 0)), &sps) || !sps.progressive)
            return false;
        par->profile = sps.profile;
        par->level = sps.level;
        par->bits_per_raw_sample = sps.bitDepth;
        par->field_order = AV_FIELD_PROGRESSIVE;
        par->sample_aspect_ratio = sps.aspect;
        if (sps.range != AVCOL_RANGE_UNSPECIFIED)
            par->color_range = sps.range;
        if (sps.colourDescribed) {
            par->color_primaries = sps.primaries;
            par->color_trc = sps.transfer;
            par->color_space = sps.space;
        }
        if (sps.chromaLocation != AVCHROMA_LOC_UNSPECIFIED)
            par->chroma_location = sps.chromaLocation;
    }
    // Streams whose start their first packet tells.
    std::vector<bool> startPending(ctx->nb_streams, false);
    size_t startsToFind = 0;
    for (unsigned i = 0; i < ctx->nb_streams; ++i) {
        const AVStream *st = ctx->streams[i];
        const AVMediaType type = st->codecpar->codec_type;
        if ((type == AVMEDIA_TYPE_VIDEO && !(st->disposition & AV_DISPOSITION_ATTACHED_PIC)) ||
            type == AVMEDIA_TYPE_AUDIO) {
            if (st->start_time == AV_NOPTS_VALUE) {
                startPending[i] = true;
                ++startsToFind;
            }
        }
    }

    int64_t bytes = 0;
    for (size_t seen = 0; (vst && vst->codecpar->format < 0) || startsToFind > 0 || sound;) {
        for (; seen < m_pending.size(); ++seen) {
            const AVPacket *p = m_pending[seen].get();
            const int index = p->stream_index;
            if (index < 0 || unsigned(index) >= ctx->nb_streams)
                return false;
            AVStream *st = ctx->streams[index];
            if (startPending[index]) {
                // The demuxer sets the start itself where the packet carries a decoding time; a picture
                // stream's start is its first packet's presentation time, as the full probe finds it. A
                // stream that does not begin cleanly is left to the probe.
                if (st->start_time == AV_NOPTS_VALUE) {
                    const bool video = st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO;
                    if (p->pts == AV_NOPTS_VALUE || (video && !(p->flags & AV_PKT_FLAG_KEY)))
                        return false;
                    st->start_time = p->pts;
                }
                startPending[index] = false;
                --startsToFind;
            }
            if (index == m_audio && sound) {
                FramePtr frame = makeFrame();
                if (!frame || avcodec_send_packet(sound.get(), p) < 0)
                    return false;
                const int err = avcodec_receive_frame(sound.get(), frame.get());
                if (err == 0) {
                    AVCodecParameters *par = st->codecpar;
                    if (frame->ch_layout.nb_channels != par->ch_layout.nb_channels ||
                        avcodec_parameters_from_context(par, sound.get()) < 0)
                        return false;
                    sound.reset();
                } else if (err != AVERROR(EAGAIN)) {
                    return false;
                }
            }
            if (index == m_video && vst->codecpar->format < 0) {
                AVCodecParameters *par = vst->codecpar;
                if (pictureHeaders) {
                    FramePtr frame = makeFrame();
                    if (!frame || avcodec_send_packet(pictureHeaders.get(), p) < 0)
                        return false;
                    avcodec_receive_frame(pictureHeaders.get(), frame.get()); // none: no picture is decoded
                    if (pictureHeaders->pix_fmt != AV_PIX_FMT_NONE &&
                        avcodec_parameters_from_context(par, pictureHeaders.get()) < 0)
                        return false;
                } else if (parser) {
                    uint8_t *out = nullptr;
                    int outSize = 0;
                    av_parser_parse2(parser.get(), headers.get(), &out, &outSize, p->data, p->size, p->pts, p->dts,
                                     p->pos);
                    if (parser->format >= 0) {
                        par->format = parser->format;
                        // The picture's own size (after its cropping), as decoding would state it.
                        if (parser->width > 0 && parser->height > 0) {
                            par->width = parser->width;
                            par->height = parser->height;
                        }
                    }
                } else if (KeyFrameLayout l; par->codec_id == AV_CODEC_ID_VP8
                                                 ? vp8KeyFrameLayout(p->data, p->size, &l)
                                                 : vp9KeyFrameLayout(p->data, p->size, &l)) {
                    par->format = l.format;
                    par->width = l.width;
                    par->height = l.height;
                    par->profile = l.profile;
                    if (l.range != AVCOL_RANGE_UNSPECIFIED) {
                        par->color_range = l.range;
                        par->color_space = l.space;
                    }
                } else {
                    return false; // a stream that does not begin with a key frame
                }
            }
        }
        if ((vst && vst->codecpar->format < 0) || startsToFind > 0 || sound) {
            if (!readPending(&bytes))
                return false;
        }
    }
    if (startFromPackets) {
        // A subtitle may set the file's start (a text stream counts when less than a second earlier): one
        // not yet seen could, unless picture and sound start at zero.
        int64_t start = INT64_MAX;
        bool textUnseen = false;
        for (unsigned i = 0; i < ctx->nb_streams; ++i) {
            const AVStream *st = ctx->streams[i];
            const AVMediaType type = st->codecpar->codec_type;
            if (type == AVMEDIA_TYPE_SUBTITLE || type == AVMEDIA_TYPE_DATA)
                textUnseen = textUnseen || st->start_time == AV_NOPTS_VALUE;
            else if (st->start_time != AV_NOPTS_VALUE)
                start = std::min(start, av_rescale_q(st->start_time, st->time_base, AV_TIME_BASE_Q));
        }
        if (textUnseen && start != 0)
            return false;
    }
    // Matroska stores presentation times only. Without the probe's decoder the demuxer guesses decoding
    // times equal to them for HEVC with reordered pictures; the probe leaves the first ones unknown, so the
    // join derives them all from the frame order. Dropping the guesses does the same.
    m_dropGuessedDts =
        startFromPackets && vst && vst->codecpar->codec_id == AV_CODEC_ID_HEVC && vst->codecpar->video_delay > 0;
    if (!settleStreamTimings(ctx))
        return false;
    m_fromHeader = true;
    return normaliseForCopy();
}

bool InputClip::normaliseForCopy()
{
    if (m_video >= 0) {
        AVCodecParameters *par = m_format->streams[m_video]->codecpar;
        par->format = storedLayout(par->format);
    }
    return true;
}

std::vector<int64_t> InputClip::upcomingPts(int stream, size_t count)
{
    std::vector<int64_t> pts;
    for (const PacketPtr &p : m_pending) {
        if (p->stream_index == stream && pts.size() < count)
            pts.push_back(p->pts);
    }
    while (pts.size() < count && m_pending.size() < kMaxPendingPackets) {
        PacketPtr pkt = makePacket();
        if (!pkt || av_read_frame(m_format.get(), pkt.get()) < 0)
            break;
        if (pkt->stream_index == stream)
            pts.push_back(pkt->pts);
        m_pending.push_back(std::move(pkt));
    }
    return pts;
}

bool InputClip::firstPacketTimed(int stream)
{
    for (;;) {
        for (const PacketPtr &p : m_pending) {
            if (p->stream_index == stream)
                return p->pts != AV_NOPTS_VALUE || p->dts != AV_NOPTS_VALUE;
        }
        PacketPtr pkt = makePacket();
        if (m_pending.size() >= kMaxPendingPackets || !pkt || av_read_frame(m_format.get(), pkt.get()) < 0)
            return true; // nothing to judge by
        m_pending.push_back(std::move(pkt));
    }
}

int InputClip::read(AVPacket *packet)
{
    int err = 0;
    if (!m_pending.empty()) {
        av_packet_move_ref(packet, m_pending.front().get());
        m_pending.pop_front();
    } else {
        err = av_read_frame(m_format.get(), packet);
    }
    if (err >= 0 && m_dropGuessedDts && packet->stream_index == m_video)
        packet->dts = AV_NOPTS_VALUE;
    return err;
}

bool InputClip::openDecoders(bool video, bool audio, std::string *error)
{
    auto openOne = [&](int index, CodecPtr &dec) {
        AVStream *st = m_format->streams[index];
        const AVCodec *codec = avcodec_find_decoder(st->codecpar->codec_id);
        if (!codec) {
            if (error)
                *error = std::string("no decoder for ") + avcodec_get_name(st->codecpar->codec_id);
            return false;
        }
        dec.reset(avcodec_alloc_context3(codec));
        if (!dec || avcodec_parameters_to_context(dec.get(), st->codecpar) < 0)
            return false;
        dec->pkt_timebase = st->time_base;
        dec->thread_count = 0;
        const int err = avcodec_open2(dec.get(), codec, nullptr);
        if (err < 0) {
            if (error)
                *error = "cannot open the decoder: " + errorText(err);
            return false;
        }
        return true;
    };
    if (video && m_video >= 0 && !openOne(m_video, m_videoDec))
        return false;
    if (audio && m_audio >= 0 && !openOne(m_audio, m_audioDec))
        return false;
    return true;
}

int64_t InputClip::durationUs() const
{
    if (!m_format)
        return 0;
    if (m_format->duration > 0) {
        // A container's length that other streams may set (a subtitle's last cue long after the picture) is
        // not the clip's: the streams' own ends are, where they are stated.
        if (containerSpeaksFor(videoStream(), audioStream()))
            return m_format->duration;
        const int64_t stated = statedEndUs(true, true);
        return stated > 0 ? stated : m_format->duration;
    }
    int64_t best = 0;
    for (AVStream *st : {videoStream(), audioStream()}) {
        if (st && st->duration > 0)
            best = std::max(best, av_rescale_q(st->duration, st->time_base, AV_TIME_BASE_Q));
    }
    return best;
}

bool InputClip::containerSpeaksFor(const AVStream *video, const AVStream *audio) const
{
    if (m_format->duration <= 0)
        return false;
    // A file that ends before its head says has lost its tail: its stated length stands, whichever stream
    // set it (the streams' own statements may have been in the part lost).
    if (m_shorterThanStated)
        return true;
    for (unsigned i = 0; i < m_format->nb_streams; ++i) {
        const AVStream *st = m_format->streams[i];
        if (st == video || st == audio || st->codecpar->codec_type == AVMEDIA_TYPE_ATTACHMENT ||
            (st->disposition & AV_DISPOSITION_ATTACHED_PIC))
            continue;
        if (st->codecpar->codec_type != AVMEDIA_TYPE_UNKNOWN)
            return false;
    }
    return true;
}

int64_t InputClip::statedEndUs(bool video, bool audio) const
{
    if (!m_format || m_format->duration_estimation_method == AVFMT_DURATION_FROM_BITRATE)
        return 0;
    const AVStream *v = video ? videoStream() : nullptr;
    const AVStream *a = audio ? audioStream() : nullptr;
    const bool containerSpeaks = containerSpeaksFor(v, a);
    int64_t end = 0;
    for (const AVStream *st : {v, a}) {
        if (!st)
            continue;
        int64_t last = 0;
        if (st->duration > 0 && st->start_time != AV_NOPTS_VALUE) {
            if (!__builtin_add_overflow(st->start_time, st->duration, &last))
                end = std::max(end, since(av_rescale_q(last, st->time_base, AV_TIME_BASE_Q), originUs()));
        } else if (const int64_t tagged = taggedEndUs(m_format.get(), st); tagged > 0) {
            end = std::max(end, since(tagged, originUs()));
        } else if (containerSpeaks) {
            end = std::max(end, m_format->duration);
        }
    }
    return end;
}

int64_t InputClip::originUs() const
{
    return m_format && m_format->start_time != AV_NOPTS_VALUE ? m_format->start_time : 0;
}

bool InputClip::seekTo(int64_t us)
{
    if (!m_format || us <= 0)
        return true;
    m_pending.clear();
    const int64_t target = us + originUs();
    if (m_video >= 0) {
        AVStream *st = m_format->streams[m_video];
        const int64_t ts = av_rescale_q(target, AV_TIME_BASE_Q, st->time_base);
        if (av_seek_frame(m_format.get(), m_video, ts, AVSEEK_FLAG_BACKWARD) >= 0)
            return true;
    }
    return av_seek_frame(m_format.get(), -1, target, AVSEEK_FLAG_BACKWARD) >= 0;
}

} // namespace rsc::job
