// The track-wise job interface of the C API over rsc::job::PacketTrack and TrackMuxer.
#include "job_capi.h"
#include "job_tracks.h"
#include "rscodec.h"

#include <new>

struct rsc_track
{
    // Shared with the job that writes it, so either may be released first.
    std::shared_ptr<rsc::job::PacketTrack> track;
};

extern "C" {

rsc_track *rsc_track_create(int kind)
{
    if (kind != RSC_STREAM_VIDEO && kind != RSC_STREAM_AUDIO && kind != RSC_STREAM_SUBTITLE)
        return nullptr;
    auto *handle = new (std::nothrow) rsc_track;
    if (!handle)
        return nullptr;
    handle->track = std::make_shared<rsc::job::PacketTrack>(kind);
    return handle;
}

void rsc_track_release(rsc_track *track)
{
    if (!track)
        return;
    // No more packets can come: a job still writing it finishes with what it has.
    track->track->end();
    delete track;
}

int rsc_track_set_format(rsc_track *track, uint32_t codec_id)
{
    return track && track->track->setFormat(codec_id) ? 1 : 0;
}

int rsc_track_set_video_size(rsc_track *track, uint32_t width, uint32_t height)
{
    return track && track->track->setVideoSize(width, height) ? 1 : 0;
}

int rsc_track_set_frame_rate(rsc_track *track, uint32_t rate, uint32_t scale)
{
    return track && track->track->setFrameRate(rate, scale) ? 1 : 0;
}

int rsc_track_set_display_aspect(rsc_track *track, uint32_t x, uint32_t y)
{
    return track && track->track->setDisplayAspect(x, y) ? 1 : 0;
}

int rsc_track_set_audio_format(rsc_track *track, uint32_t sample_rate, uint32_t channels)
{
    return track && track->track->setAudioFormat(sample_rate, channels) ? 1 : 0;
}

int rsc_track_set_time_base(rsc_track *track, uint32_t num, uint32_t den)
{
    return track && track->track->setTimeBase(num, den) ? 1 : 0;
}

int rsc_track_set_private_data(rsc_track *track, const unsigned char *data, uint32_t size)
{
    return track && track->track->setPrivateData(data, size) ? 1 : 0;
}

int rsc_track_add_packet(rsc_track *track, const rsc_packet *packet)
{
    if (!track || !packet)
        return 0;
    if (!packet->data && packet->size == 0) {
        track->track->end();
        return 1;
    }
    return track->track->add(packet->pts, packet->dts, packet->duration, (packet->flags & 1) != 0, packet->data,
                             packet->size)
               ? 1
               : 0;
}

uint64_t rsc_track_time(rsc_track *track)
{
    return track ? track->track->writtenEndUs() : 0;
}

int rsc_job_open_tracks(rsc_job *job, rsc_track *video, rsc_track *audio, rsc_track *subtitle, const char *dst,
                        const char *container, rsc_edit *edit)
{
    if (!job || !dst || !*dst || !container || !*container)
        return 0;
    std::vector<std::shared_ptr<rsc::job::PacketTrack>> tracks;
    const std::pair<rsc_track *, int> given[] = {
        {video, RSC_STREAM_VIDEO}, {audio, RSC_STREAM_AUDIO}, {subtitle, RSC_STREAM_SUBTITLE}};
    for (const auto &[handle, kind] : given) {
        if (!handle)
            continue;
        if (handle->track->kind() != kind)
            return 0;
        tracks.push_back(handle->track);
    }
    if (tracks.empty())
        return 0;
    return rsc::job::jobOf(job).openTracks(std::make_unique<rsc::job::TrackMuxer>(std::move(tracks)), dst, container,
                                           rsc::job::editConfigOf(edit))
               ? 1
               : 0;
}

} // extern "C"
