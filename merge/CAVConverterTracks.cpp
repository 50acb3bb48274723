// The track-wise interface of the converter: an output built from elementary-stream packets.

#include "CAVConverter.h"

#include "rscodec.h"

#include <cstdio>
#include <limits>

namespace {

// value x 1,000,000 / scale without overflowing for large values; 0 for a scale of 0.
qint64 toMicroseconds(qint64 value, quint32 scale)
{
    if (scale == 0)
        return 0;
    const qint64 whole = value / qint64(scale);
    const qint64 rest = value % qint64(scale);
    // Times beyond ±292,000 years saturate rather than overflow.
    constexpr qint64 kLimit = std::numeric_limits<qint64>::max() / 1000000 - 1;
    if (whole > kLimit)
        return std::numeric_limits<qint64>::max();
    if (whole < -kLimit)
        return std::numeric_limits<qint64>::min();
    return whole * 1000000 + rest * 1000000 / qint64(scale);
}

} // namespace

void CAVConverter::AddTrack(unsigned int type, unsigned int format, CTrackDesc *desc)
{
    AddTrack(type, type, format, desc);
}

void CAVConverter::AddTrack(unsigned int id, unsigned int type, unsigned int format, CTrackDesc *desc)
{
    if (!desc || (type != RSC_STREAM_VIDEO && type != RSC_STREAM_AUDIO && type != RSC_STREAM_SUBTITLE))
        return;
    rsc_track *track = rsc_track_create(int(type));
    if (!track)
        return;
    if (type == RSC_STREAM_VIDEO) {
        std::printf("[AddTrack]: video format = 0x%0x, width = %u, height = %u, frameRate = %u, frameRateScale = "
                    "%u,esDataLength = %u\n",
                    format, desc->width, desc->height, desc->frameRate, desc->frameRateScale, desc->esDataLength);
        rsc_track_set_format(track, format);
        rsc_track_set_video_size(track, desc->width, desc->height);
        rsc_track_set_frame_rate(track, desc->frameRate, desc->frameRateScale);
        rsc_track_set_display_aspect(track, desc->aspectX * desc->width, desc->aspectY * desc->height);
        rsc_track_set_private_data(track, desc->esData, desc->esDataLength);
    } else if (type == RSC_STREAM_AUDIO) {
        std::printf("[AddTrack]: audio format = 0x%0x\n", format);
        rsc_track_set_format(track, format);
        rsc_track_set_audio_format(track, desc->audioValue1, desc->audioValue2);
        rsc_track_set_private_data(track, desc->esData, desc->esDataLength);
    } else {
        std::printf("[AddTrack]: subtitle format = 0x%0x\n", format);
        rsc_track_set_format(track, format);
        rsc_track_set_time_base(track, 1000, 1);
    }
    m_tracks.append(TrackRecord{id, type, track});
}

const CAVConverter::TrackRecord *CAVConverter::GetTracksInfoOfType(unsigned int type) const
{
    for (const TrackRecord &t : m_tracks) {
        if (t.type == type)
            return &t;
    }
    return nullptr;
}

bool CAVConverter::AddPacketToTrack(unsigned int id, CTrackPacket *packet)
{
    if (!packet)
        return false;
    for (const TrackRecord &t : m_tracks) {
        if (t.id != id)
            continue;
        rsc_packet p{};
        p.pts = toMicroseconds(packet->pts, packet->timeScale);
        p.dts = toMicroseconds(packet->dts, packet->timeScale);
        p.duration = toMicroseconds(packet->duration, packet->timeScale);
        p.flags = packet->flags;
        p.data = packet->data;
        p.size = packet->size;
        rsc_track_add_packet(t.handle, &p);
        return true;
    }
    return false;
}

bool CAVConverter::StartWithTrack(const char *dst, CAVEncodeParam *param, void *user,
                                  void (*progress)(unsigned int, void *), void (*time)(unsigned int, void *))
{
    if (!m_convertObject)
        return false;
    rsc_edit *edit = nullptr;
    if (param) {
        edit = rsc_edit_create();
        if (edit) {
            rsc_edit_enable_video_edits(edit, 1);
            rsc_edit_enable_audio_edits(edit, 1);
            rsc_edit_set_subtitle_stream(edit, 0);
        }
        std::printf("[Start]: video(0x%0x, %u*%u, %u fps, %u kbps %u) Audio(0x%0x, %u Hz, %u bps, %u)\n",
                    unsigned(param->videoCodec), param->width, param->height, param->frameRateHundredths,
                    param->videoBitRate, unsigned(param->videoQuality), unsigned(param->audioCodec), param->sampleRate,
                    param->audioBitRate, param->channels);
    }
    const TrackRecord *v = GetTracksInfoOfType(RSC_STREAM_VIDEO);
    const TrackRecord *a = GetTracksInfoOfType(RSC_STREAM_AUDIO);
    const TrackRecord *s = GetTracksInfoOfType(RSC_STREAM_SUBTITLE);
    int r = rsc_job_open_tracks(m_convertObject, v ? v->handle : nullptr, a ? a->handle : nullptr,
                                s ? s->handle : nullptr, dst, param ? param->container() : "", edit);
    if (edit)
        rsc_edit_release(edit);
    if (r == 1)
        r = rsc_job_start(m_convertObject);
    bool ok = r == 1;
    if (ok) {
        const TrackRecord *clock = v ? v : a;
        while (rsc_job_is_finished(m_convertObject) != 1 && !m_stop.load()) {
            if (progress)
                progress(unsigned(rsc_job_done(m_convertObject) / 1000), user);
            if (time && clock)
                time(unsigned(rsc_track_time(clock->handle) / 1000000), user);
            rsc_job_wait(m_convertObject, pollIntervalMs());
        }
        // Left by a stop while the job still runs: stop it too, so the cut output is not taken for done.
        if (rsc_job_is_finished(m_convertObject) != 1)
            rsc_job_stop(m_convertObject, 1);
        ok = !jobEndedBadly(m_convertObject);
    }
    rsc_job_close(m_convertObject);
    ReleaseAllTracks();
    m_stop.store(false);
    return ok;
}

void CAVConverter::StopWithTrack()
{
    if (!m_convertObject)
        return;
    rsc_packet end{};
    for (const TrackRecord &t : m_tracks)
        rsc_track_add_packet(t.handle, &end);
}

void CAVConverter::ReleaseAllTracks()
{
    for (const TrackRecord &t : m_tracks)
        rsc_track_release(t.handle);
    m_tracks.clear();
}
