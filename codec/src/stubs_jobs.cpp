// Conversion and merge jobs, the edit configuration and tracks are not built yet: every call answers
// failure (0 / null), so that no caller can take a job for done.
#include "rscodec.h"

extern "C" {

rsc_edit *rsc_edit_create(void)
{
    return nullptr;
}

void rsc_edit_release(rsc_edit *edit) {}

int rsc_edit_enable_video_edits(rsc_edit *edit, int on)
{
    return 0;
}

int rsc_edit_enable_audio_edits(rsc_edit *edit, int on)
{
    return 0;
}

int rsc_edit_set_video_codec(rsc_edit *edit, uint32_t codec_id)
{
    return 0;
}

int rsc_edit_set_audio_codec(rsc_edit *edit, uint32_t codec_id)
{
    return 0;
}

int rsc_edit_set_video_profile_mode(rsc_edit *edit, int mode)
{
    return 0;
}

int rsc_edit_set_video_profile(rsc_edit *edit, int profile)
{
    return 0;
}

int rsc_edit_set_video_size(rsc_edit *edit, uint32_t width, uint32_t height)
{
    return 0;
}

int rsc_edit_set_frame_rate(rsc_edit *edit, uint32_t num, uint32_t den)
{
    return 0;
}

int rsc_edit_set_video_bit_rate(rsc_edit *edit, uint32_t bits_per_second)
{
    return 0;
}

int rsc_edit_set_audio_channels(rsc_edit *edit, uint32_t channels)
{
    return 0;
}

int rsc_edit_set_audio_sample_rate(rsc_edit *edit, uint32_t hertz)
{
    return 0;
}

int rsc_edit_set_audio_bit_rate(rsc_edit *edit, uint32_t bits_per_second)
{
    return 0;
}

int rsc_edit_set_video_quality(rsc_edit *edit, int quality)
{
    return 0;
}

int rsc_edit_set_audio_quality(rsc_edit *edit, int quality)
{
    return 0;
}

int rsc_edit_set_encoder_options(rsc_edit *edit, const char *options)
{
    return 0;
}

int rsc_edit_set_brightness(rsc_edit *edit, int value)
{
    return 0;
}

int rsc_edit_set_saturation(rsc_edit *edit, int value)
{
    return 0;
}

int rsc_edit_set_contrast(rsc_edit *edit, int value)
{
    return 0;
}

int rsc_edit_set_hue(rsc_edit *edit, int value)
{
    return 0;
}

int rsc_edit_set_program_index(rsc_edit *edit, int index)
{
    return 0;
}

int rsc_edit_set_audio_track(rsc_edit *edit, int index)
{
    return 0;
}

int rsc_edit_set_subtitle_stream(rsc_edit *edit, int index)
{
    return 0;
}

int rsc_edit_set_closed_caption(rsc_edit *edit, int on)
{
    return 0;
}

int rsc_edit_set_subtitle_file(rsc_edit *edit, const char *utf8_path)
{
    return 0;
}

int rsc_edit_set_subtitle_mode(rsc_edit *edit, int mode)
{
    return 0;
}

int rsc_edit_set_subtitle_alpha(rsc_edit *edit, uint32_t alpha)
{
    return 0;
}

int rsc_edit_set_subtitle_scale(rsc_edit *edit, uint32_t sx, uint32_t sy)
{
    return 0;
}

int rsc_edit_set_subtitle_delay(rsc_edit *edit, int64_t delay)
{
    return 0;
}

int rsc_edit_set_subtitle_font(rsc_edit *edit, const char *family)
{
    return 0;
}

int rsc_edit_set_subtitle_bold(rsc_edit *edit, uint32_t on)
{
    return 0;
}

int rsc_edit_set_subtitle_italic(rsc_edit *edit, uint32_t on)
{
    return 0;
}

int rsc_edit_set_subtitle_underline(rsc_edit *edit, uint32_t on)
{
    return 0;
}

int rsc_edit_set_subtitle_strikeout(rsc_edit *edit, uint32_t on)
{
    return 0;
}

int rsc_edit_set_subtitle_size(rsc_edit *edit, uint32_t size)
{
    return 0;
}

int rsc_edit_set_subtitle_color(rsc_edit *edit, uint32_t argb)
{
    return 0;
}

int rsc_edit_set_subtitle_shadow_color(rsc_edit *edit, uint32_t argb)
{
    return 0;
}

int rsc_edit_set_subtitle_outline_color(rsc_edit *edit, uint32_t argb)
{
    return 0;
}

int rsc_edit_set_subtitle_shadow_offset(rsc_edit *edit, double offset)
{
    return 0;
}

int rsc_edit_set_subtitle_outline_size(rsc_edit *edit, double size)
{
    return 0;
}

int rsc_edit_set_subtitle_margin_h(rsc_edit *edit, double margin)
{
    return 0;
}

int rsc_edit_set_subtitle_margin_v(rsc_edit *edit, double margin)
{
    return 0;
}

int rsc_edit_set_subtitle_align(rsc_edit *edit, uint32_t align)
{
    return 0;
}

int rsc_edit_set_subtitle_spacing_h(rsc_edit *edit, double spacing)
{
    return 0;
}

int rsc_edit_set_subtitle_spacing_v(rsc_edit *edit, double spacing)
{
    return 0;
}

int rsc_edit_set_watermark_slot(rsc_edit *edit, int slot)
{
    return 0;
}

int rsc_edit_set_watermark_image_file(rsc_edit *edit, const char *utf8_path)
{
    return 0;
}

int rsc_edit_set_watermark_image_mask_file(rsc_edit *edit, const char *utf8_path)
{
    return 0;
}

int rsc_edit_set_watermark_image_mirror(rsc_edit *edit, uint32_t on)
{
    return 0;
}

int rsc_edit_set_watermark_image_position(rsc_edit *edit, double x, double y)
{
    return 0;
}

int rsc_edit_set_watermark_image_scale(rsc_edit *edit, uint32_t sx, uint32_t sy)
{
    return 0;
}

int rsc_edit_set_watermark_image_angle(rsc_edit *edit, int degrees)
{
    return 0;
}

int rsc_edit_set_watermark_image_alpha(rsc_edit *edit, uint32_t alpha)
{
    return 0;
}

int rsc_edit_set_watermark_image_mix_mode(rsc_edit *edit, uint32_t mode)
{
    return 0;
}

int rsc_edit_set_watermark_image_size(rsc_edit *edit, double w, double h)
{
    return 0;
}

int rsc_edit_set_watermark_image_loop(rsc_edit *edit, uint32_t on)
{
    return 0;
}

int rsc_edit_set_watermark_image_crop(rsc_edit *edit, double x, double y, double w, double h)
{
    return 0;
}

int rsc_edit_set_watermark_text(rsc_edit *edit, const char *utf8_text)
{
    return 0;
}

int rsc_edit_set_watermark_text_alpha(rsc_edit *edit, uint32_t alpha)
{
    return 0;
}

int rsc_edit_set_watermark_text_position(rsc_edit *edit, double x, double y)
{
    return 0;
}

int rsc_edit_set_watermark_text_angle(rsc_edit *edit, int degrees)
{
    return 0;
}

int rsc_edit_set_watermark_text_bold(rsc_edit *edit, uint32_t on)
{
    return 0;
}

int rsc_edit_set_watermark_text_size(rsc_edit *edit, uint32_t size)
{
    return 0;
}

int rsc_edit_set_watermark_text_font(rsc_edit *edit, const char *family)
{
    return 0;
}

int rsc_edit_set_watermark_text_color(rsc_edit *edit, uint32_t argb)
{
    return 0;
}

int rsc_edit_set_watermark_text_outline_color(rsc_edit *edit, uint32_t argb)
{
    return 0;
}

int rsc_edit_set_watermark_text_outline_size(rsc_edit *edit, double size)
{
    return 0;
}

int rsc_edit_set_watermark_text_shadow_color(rsc_edit *edit, uint32_t argb)
{
    return 0;
}

int rsc_edit_set_watermark_text_shadow_offset(rsc_edit *edit, double offset)
{
    return 0;
}

int rsc_edit_set_watermark_text_italic(rsc_edit *edit, uint32_t on)
{
    return 0;
}

int rsc_edit_set_watermark_text_underline(rsc_edit *edit, uint32_t on)
{
    return 0;
}

int rsc_edit_set_watermark_text_strikeout(rsc_edit *edit, uint32_t on)
{
    return 0;
}

int rsc_edit_set_watermark_text_scale(rsc_edit *edit, uint32_t sx, uint32_t sy)
{
    return 0;
}

int rsc_edit_set_watermark_text_layer_topmost(rsc_edit *edit, uint32_t on)
{
    return 0;
}

int rsc_edit_set_watermark_text_spacing_h(rsc_edit *edit, double spacing)
{
    return 0;
}

int rsc_edit_set_watermark_text_spacing_v(rsc_edit *edit, double spacing)
{
    return 0;
}

int rsc_edit_set_audio_background_slot(rsc_edit *edit, int slot)
{
    return 0;
}

int rsc_edit_set_audio_background_file(rsc_edit *edit, const char *utf8_path)
{
    return 0;
}

int rsc_edit_set_audio_background_loop(rsc_edit *edit, uint32_t on)
{
    return 0;
}

int rsc_edit_set_audio_background_mix_mode(rsc_edit *edit, uint32_t mode)
{
    return 0;
}

int rsc_edit_set_audio_background_volume(rsc_edit *edit, uint32_t volume)
{
    return 0;
}

int rsc_edit_set_audio_background_weight(rsc_edit *edit, uint32_t weight)
{
    return 0;
}

int rsc_edit_set_audio_background_show_time(rsc_edit *edit, uint64_t start, uint64_t length)
{
    return 0;
}

int rsc_edit_set_audio_background_split_time(rsc_edit *edit, uint64_t a, uint64_t b)
{
    return 0;
}

int rsc_edit_set_aspect(rsc_edit *edit, int width, int height)
{
    return 0;
}

int rsc_edit_set_rotation(rsc_edit *edit, int degrees)
{
    return 0;
}

int rsc_edit_set_mirror(rsc_edit *edit, int on)
{
    return 0;
}

int rsc_edit_set_pad(rsc_edit *edit, int on, uint32_t argb)
{
    return 0;
}

int rsc_edit_set_crop(rsc_edit *edit, double x, double y, double w, double h)
{
    return 0;
}

int rsc_edit_set_volume(rsc_edit *edit, uint32_t percent)
{
    return 0;
}

int rsc_edit_set_rate(rsc_edit *edit, uint32_t percent)
{
    return 0;
}

int rsc_edit_set_speed(rsc_edit *edit, uint32_t percent)
{
    return 0;
}

int rsc_edit_set_equalizer(rsc_edit *edit, const double *frequencies, const double *gains, int count)
{
    return 0;
}

int rsc_edit_add_chapter(rsc_edit *edit, uint64_t start, uint64_t duration, const char *utf8_title)
{
    return 0;
}

rsc_job *rsc_job_create_convert(uint32_t flags)
{
    return nullptr;
}

rsc_job *rsc_job_create_convert_lossless(uint32_t flags)
{
    return nullptr;
}

rsc_job *rsc_job_create_merge(uint32_t flags)
{
    return nullptr;
}

rsc_job *rsc_job_create_merge_lossless(uint32_t flags)
{
    return nullptr;
}

void rsc_job_release(rsc_job *job) {}

int rsc_job_close(rsc_job *job)
{
    return 0;
}

int rsc_job_open_file(rsc_job *job, const char *src, const char *dst, const char *container, rsc_edit *edit)
{
    return 0;
}

int rsc_job_open_dvd(rsc_job *job, const char *src, const char *dst, const char *container, rsc_edit *edit)
{
    return 0;
}

int rsc_job_set_range(rsc_job *job, uint64_t start, uint64_t duration)
{
    return 0;
}

int rsc_job_open_output(rsc_job *job, const char *dst, const char *container, rsc_edit *edit)
{
    return 0;
}

int rsc_job_add_task(rsc_job *job, const char *src, uint64_t start, uint64_t duration, rsc_edit *edit)
{
    return 0;
}

int rsc_job_add_task_dvd(rsc_job *job, const char *src, uint64_t start, uint64_t duration, rsc_edit *edit)
{
    return 0;
}

int rsc_job_start(rsc_job *job)
{
    return 0;
}

int rsc_job_is_finished(rsc_job *job)
{
    return 0;
}

int rsc_job_is_stopped(rsc_job *job)
{
    return 0;
}

uint64_t rsc_job_total(rsc_job *job)
{
    return 0;
}

uint64_t rsc_job_done(rsc_job *job)
{
    return 0;
}

int rsc_job_stop(rsc_job *job, int wait)
{
    return 0;
}

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
