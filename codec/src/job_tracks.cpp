#include "job_tracks.h"

#include "chapter_place.h"
#include "codecids_table.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace rsc::job {

namespace {

AVMediaType mediaTypeOf(int kind)
{
    switch (kind) {
    case 1:
        return AVMEDIA_TYPE_VIDEO;
    case 2:
        return AVMEDIA_TYPE_AUDIO;
    case 8:
        return AVMEDIA_TYPE_SUBTITLE;
    default:
        return AVMEDIA_TYPE_UNKNOWN;
    }
}

const AVRational kMicroseconds{1, 1000000};

} // namespace

bool PacketTrack::setFormat(uint32_t codecId)
{
    const AVCodecID id = rsc::avCodecIdForCodecId(codecId);
    if (id == AV_CODEC_ID_NONE || avcodec_get_type(id) != mediaTypeOf(m_kind))
        return false;
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_attached)
        return false;
    m_codec = id;
    return true;
}

bool PacketTrack::setVideoSize(uint32_t width, uint32_t height)
{
    // FFmpeg keeps picture sizes in int; anything near that is no real picture.
    if (m_kind != 1 || width == 0 || height == 0 || width > 65536 || height > 65536)
        return false;
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_attached)
        return false;
    m_width = width;
    m_height = height;
    return true;
}

bool PacketTrack::setFrameRate(uint32_t rate, uint32_t scale)
{
    // rate / scale frames a second, as the stream headers give it.
    if (m_kind != 1 || rate == 0 || scale == 0)
        return false;
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_attached)
        return false;
    av_reduce(&m_frameRate.num, &m_frameRate.den, rate, scale, INT32_MAX);
    return true;
}

bool PacketTrack::setDisplayAspect(uint32_t x, uint32_t y)
{
    if (m_kind != 1 || x == 0 || y == 0)
        return false;
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_attached)
        return false;
    av_reduce(&m_aspect.num, &m_aspect.den, x, y, INT32_MAX);
    return true;
}

bool PacketTrack::setAudioFormat(uint32_t sampleRate, uint32_t channels)
{
    if (m_kind != 2 || sampleRate == 0 || sampleRate > 1000000 || channels == 0 || channels > 64)
        return false;
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_attached)
        return false;
    m_sampleRate = sampleRate;
    m_channels = channels;
    return true;
}

bool PacketTrack::setTimeBase(uint32_t num, uint32_t den)
{
    // num / den ticks a second (1000/1 = milliseconds): the muxer's preferred time base for the stream.
    // Packet times stay in microseconds either way.
    if (num == 0 || den == 0)
        return false;
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_attached)
        return false;
    av_reduce(&m_timeBase.num, &m_timeBase.den, den, num, INT32_MAX);
    return true;
}

bool PacketTrack::setPrivateData(const unsigned char *data, uint32_t size)
{
    if (size > 0 && !data)
        return false;
    if (size > (1u << 24)) // codec headers are small; this is not one
        return false;
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_attached)
        return false;
    m_private.assign(data, data + size);
    return true;
}

bool PacketTrack::attach(AVStream *stream, std::string *error)
{
    auto fail = [&](const char *why) {
        if (error)
            *error = why;
        return false;
    };
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_attached)
        return fail("a track can feed one output only");
    if (m_codec == AV_CODEC_ID_NONE)
        return fail("a track has no format");
    AVCodecParameters *par = stream->codecpar;
    par->codec_type = mediaTypeOf(m_kind);
    par->codec_id = m_codec;
    if (m_kind == 1) {
        if (m_width == 0 || m_height == 0)
            return fail("a video track has no picture size");
        par->width = int(m_width);
        par->height = int(m_height);
        if (m_aspect.num > 0) {
            // The display aspect over the picture's own gives the pixel aspect.
            AVRational sar{0, 1};
            av_reduce(&sar.num, &sar.den, int64_t(m_aspect.num) * m_height, int64_t(m_aspect.den) * m_width, INT32_MAX);
            par->sample_aspect_ratio = sar;
            stream->sample_aspect_ratio = sar;
        }
        if (m_frameRate.num > 0) {
            stream->avg_frame_rate = m_frameRate;
            stream->r_frame_rate = m_frameRate;
        }
    } else if (m_kind == 2) {
        if (m_sampleRate == 0 || m_channels == 0)
            return fail("an audio track has no sample rate or channel count");
        par->sample_rate = int(m_sampleRate);
        av_channel_layout_default(&par->ch_layout, int(m_channels));
    }
    if (!m_private.empty()) {
        par->extradata = static_cast<uint8_t *>(av_mallocz(m_private.size() + AV_INPUT_BUFFER_PADDING_SIZE));
        if (!par->extradata)
            return fail("out of memory");
        std::memcpy(par->extradata, m_private.data(), m_private.size());
        par->extradata_size = int(m_private.size());
    }
    stream->time_base = m_timeBase.num > 0 ? m_timeBase : kMicroseconds;
    m_attached = true;
    return true;
}

void PacketTrack::detach()
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_attached = false;
}

bool PacketTrack::add(int64_t ptsUs, int64_t dtsUs, int64_t durationUs, bool key, const unsigned char *data,
                      uint32_t size)
{
    if (!data || size == 0 || size > uint32_t(INT32_MAX - AV_INPUT_BUFFER_PADDING_SIZE) || ptsUs < dtsUs ||
        durationUs < 0)
        return false;
    PacketPtr pkt = makePacket();
    if (!pkt || av_new_packet(pkt.get(), int(size)) < 0)
        return false;
    std::memcpy(pkt->data, data, size);
    pkt->pts = ptsUs;
    pkt->dts = dtsUs;
    pkt->duration = durationUs;
    pkt->time_base = kMicroseconds;
    if (key)
        pkt->flags |= AV_PKT_FLAG_KEY;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        // The muxers need strictly increasing decoding times; a packet out of order would fail the whole
        // output, so it is refused alone.
        if (m_ended || dtsUs <= m_lastDts)
            return false;
        m_lastDts = dtsUs;
        m_queue.push_back(std::move(pkt));
    }
    m_arrived.notify_all();
    return true;
}

void PacketTrack::end()
{
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_ended = true;
    }
    m_arrived.notify_all();
}

PacketTrack::State PacketTrack::front(int64_t *dtsUs)
{
    std::lock_guard<std::mutex> lock(m_lock);
    if (!m_queue.empty()) {
        *dtsUs = m_queue.front()->dts;
        return State::Packet;
    }
    return m_ended ? State::Ended : State::Empty;
}

PacketPtr PacketTrack::take()
{
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_queue.empty())
        return nullptr;
    PacketPtr pkt = std::move(m_queue.front());
    m_queue.pop_front();
    return pkt;
}

void PacketTrack::waitForPacket(int ms)
{
    std::unique_lock<std::mutex> lock(m_lock);
    m_arrived.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_ended || !m_queue.empty(); });
}

void PacketTrack::noteWritten(int64_t endUs)
{
    if (endUs > m_writtenEnd.load())
        m_writtenEnd = endUs;
}

TrackMuxer::~TrackMuxer()
{
    // An output whose file was never begun leaves its tracks free for another job.
    if (!m_output.headerWritten()) {
        for (size_t i = 0; i < m_streams.size(); ++i)
            m_tracks[i]->detach();
    }
}

bool TrackMuxer::open(const std::string &path, const std::string &container, const rsc::edit::EditConfig &cfg,
                      std::string *error)
{
    if (m_tracks.empty()) {
        if (error)
            *error = "no track to write";
        return false;
    }
    if (!m_output.create(path, container, error))
        return false;
    for (const auto &track : m_tracks) {
        AVStream *st = m_output.addStream();
        if (!st) {
            if (error)
                *error = "out of memory";
            return false;
        }
        if (!track->attach(st, error))
            return false;
        m_streams.push_back(st);
        if (avformat_query_codec(m_output.muxer(), st->codecpar->codec_id, FF_COMPLIANCE_NORMAL) == 0) {
            if (error)
                *error = std::string("the container cannot hold ") + avcodec_get_name(st->codecpar->codec_id);
            return false;
        }
    }
    m_chapters = cfg.chapters;
    return true;
}

bool TrackMuxer::prepare(const TaskSpec &, std::string *error)
{
    return m_output.writeHeader(error);
}

bool TrackMuxer::run(Progress &progress, const std::atomic<bool> &stop, std::string *error)
{
    PacketPtr pkt;
    while (!stop.load()) {
        // The next packet is the earliest by decoding time, once every track still running has one ready:
        // the file is interleaved without the muxer holding packets back without bound.
        int next = -1;
        int64_t nextDts = 0;
        PacketTrack *waitOn = nullptr;
        for (size_t i = 0; i < m_tracks.size() && !waitOn; ++i) {
            int64_t dts = 0;
            switch (m_tracks[i]->front(&dts)) {
            case PacketTrack::State::Packet:
                if (next < 0 || dts < nextDts) {
                    next = int(i);
                    nextDts = dts;
                }
                break;
            case PacketTrack::State::Empty:
                waitOn = m_tracks[i].get();
                break;
            case PacketTrack::State::Ended:
                break;
            }
        }
        if (waitOn) {
            waitOn->waitForPacket(20); // short: a stop is seen within this
            continue;
        }
        if (next < 0)
            return true; // every track has ended
        PacketTrack &track = *m_tracks[size_t(next)];
        pkt = track.take();
        const int64_t endUs = pkt->pts + pkt->duration;
        AVStream *st = m_streams[size_t(next)];
        av_packet_rescale_ts(pkt.get(), kMicroseconds, st->time_base);
        pkt->stream_index = st->index;
        if (!m_output.write(pkt.get())) {
            if (error)
                *error = "cannot write a packet";
            return false;
        }
        track.noteWritten(endUs);
        const uint64_t done = uint64_t(std::max<int64_t>(0, endUs));
        if (done > progress.done.load())
            progress.done = done;
        // The length is not known before the tracks end: the total follows what has been written.
        progress.total = progress.done.load();
    }
    return true;
}

bool TrackMuxer::finish(bool complete, std::string *error)
{
    // Only now is the length known: the chapters are kept within it and put in time order, as the joins place
    // theirs. Chapters added after the header are written with the trailer (MP4, MOV, Matroska).
    if (complete) {
        int64_t endUs = 0;
        for (const auto &track : m_tracks)
            endUs = std::max(endUs, int64_t(track->writtenEndUs()));
        ChapterPlace place;
        place.toUs = place.outputEndUs = endUs;
        for (const rsc::edit::Chapter &c : placeChapters(editChapters(m_chapters), place))
            m_output.addChapter(c);
    }
    const bool ok = m_output.finish(complete);
    if (!ok && complete && error)
        *error = m_output.problem();
    return ok;
}

} // namespace rsc::job
