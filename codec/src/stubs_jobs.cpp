// The track-wise job interface (an output built from elementary-stream packets) has no caller in the
// program and is not built: every call answers failure (0 / null), so no caller can take it for done.
#include "rscodec.h"

extern "C" {

rsc_track *rsc_track_create(int kind)
{
    return nullptr;
}

void rsc_track_release(rsc_track *track) {}

int rsc_track_set_format(rsc_track *track, uint32_t codec_id)
{
    return 0;
}

int rsc_track_set_video_size(rsc_track *track, uint32_t width, uint32_t height)
{
    return 0;
}

int rsc_track_set_frame_rate(rsc_track *track, uint32_t rate, uint32_t scale)
{
    return 0;
}

int rsc_track_set_display_aspect(rsc_track *track, uint32_t x, uint32_t y)
{
    return 0;
}

int rsc_track_set_audio_format(rsc_track *track, uint32_t sample_rate, uint32_t channels)
{
    return 0;
}

int rsc_track_set_time_base(rsc_track *track, uint32_t num, uint32_t den)
{
    return 0;
}

int rsc_track_set_private_data(rsc_track *track, const unsigned char *data, uint32_t size)
{
    return 0;
}

int rsc_track_add_packet(rsc_track *track, const rsc_packet *packet)
{
    return 0;
}

uint64_t rsc_track_time(rsc_track *track)
{
    return 0;
}

int rsc_job_open_tracks(rsc_job *job, rsc_track *video, rsc_track *audio, rsc_track *subtitle, const char *dst,
                        const char *container, rsc_edit *edit)
{
    return 0;
}

} // extern "C"
