// The player is not built yet: every call answers failure (0 / null) so that callers take their
// no-player paths cleanly.
#include "rscodec.h"

extern "C" {

rsc_player *rsc_player_create(uint32_t flags)
{
    return nullptr;
}

rsc_player *rsc_player_reference(rsc_player *player)
{
    return nullptr;
}

void rsc_player_release(rsc_player *player) {}

int rsc_player_set_audio_device(rsc_player *player, const char *utf8_name)
{
    return 0;
}

int rsc_player_open(rsc_player *player, const char *utf8_path, uint32_t preview_width, uint32_t preview_height,
                    uint32_t flags, uint32_t reserved)
{
    return 0;
}

int rsc_player_open_dvd(rsc_player *player, const char *utf8_path, uint32_t preview_width, uint32_t preview_height,
                        uint32_t flags, uint32_t reserved)
{
    return 0;
}

int rsc_player_close(rsc_player *player)
{
    return 0;
}

int rsc_player_play(rsc_player *player)
{
    return 0;
}

int rsc_player_pause(rsc_player *player)
{
    return 0;
}

int rsc_player_stop(rsc_player *player)
{
    return 0;
}

int rsc_player_can_seek(rsc_player *player)
{
    return 0;
}

int rsc_player_seek(rsc_player *player, uint64_t time)
{
    return 0;
}

int rsc_player_fast_seek(rsc_player *player, uint64_t time, int after)
{
    return 0;
}

int rsc_player_begin_async_seek(rsc_player *player, uint64_t max_lag)
{
    return 0;
}

int rsc_player_end_async_seek(rsc_player *player)
{
    return 0;
}

int rsc_player_frame_step(rsc_player *player, int direction)
{
    return 0;
}

int rsc_player_key_frame_step(rsc_player *player, int direction)
{
    return 0;
}

int rsc_player_change_speed(rsc_player *player, int percent)
{
    return 0;
}

int rsc_player_enable_loop(rsc_player *player, int on)
{
    return 0;
}

int rsc_player_set_time_interval(rsc_player *player, uint64_t interval)
{
    return 0;
}

int rsc_player_show_video_frame(rsc_player *player)
{
    return 0;
}

int rsc_player_update_video_frame(rsc_player *player)
{
    return 0;
}

int rsc_player_refresh_video_frame(rsc_player *player)
{
    return 0;
}

int rsc_player_enable_show_when_setting(rsc_player *player, uint32_t on)
{
    return 0;
}

int rsc_player_begin_settings(rsc_player *player)
{
    return 0;
}

int rsc_player_end_settings(rsc_player *player)
{
    return 0;
}

int rsc_player_is_completed(rsc_player *player)
{
    return 0;
}

int rsc_player_is_stopped(rsc_player *player)
{
    return 0;
}

int rsc_player_is_paused(rsc_player *player)
{
    return 0;
}

int rsc_player_is_running(rsc_player *player)
{
    return 0;
}

int rsc_player_has_video(rsc_player *player)
{
    return 0;
}

int rsc_player_has_audio(rsc_player *player)
{
    return 0;
}

uint64_t rsc_player_duration(rsc_player *player)
{
    return 0;
}

uint64_t rsc_player_play_time(rsc_player *player)
{
    return 0;
}

uint64_t rsc_player_video_time(rsc_player *player)
{
    return 0;
}

uint32_t rsc_player_video_width(rsc_player *player)
{
    return 0;
}

uint32_t rsc_player_video_height(rsc_player *player)
{
    return 0;
}

uint32_t rsc_player_video_aspect_x(rsc_player *player)
{
    return 0;
}

uint32_t rsc_player_video_aspect_y(rsc_player *player)
{
    return 0;
}

int rsc_player_set_video_view(rsc_player *player, void *view)
{
    return 0;
}

int rsc_player_set_original_video_view(rsc_player *player, void *view)
{
    return 0;
}

int rsc_player_set_video_frame_handler(rsc_player *player, rsc_frame_handler handler, void *user)
{
    return 0;
}

int rsc_player_set_original_video_frame_handler(rsc_player *player, rsc_frame_handler handler, void *user)
{
    return 0;
}

unsigned char *rsc_player_capture_video_image(rsc_player *player, uint32_t width, uint32_t height, uint32_t flags)
{
    return nullptr;
}

int rsc_player_free_video_image(rsc_player *player, unsigned char *image)
{
    return 0;
}

int rsc_player_enable_audio_wave_data(rsc_player *player, uint32_t on)
{
    return 0;
}

unsigned char *rsc_player_get_audio_wave_data(rsc_player *player, uint32_t mono)
{
    return nullptr;
}

int rsc_player_free_audio_wave_data(rsc_player *player, unsigned char *data)
{
    return 0;
}

int rsc_player_set_video_rotate(rsc_player *player, uint32_t degrees)
{
    return 0;
}

int rsc_player_set_video_mirror(rsc_player *player, uint32_t on)
{
    return 0;
}

int rsc_player_set_video_pad_and_color(rsc_player *player, uint32_t pad, uint32_t argb)
{
    return 0;
}

int rsc_player_set_video_crop(rsc_player *player, double x, double y, double w, double h)
{
    return 0;
}

int rsc_player_set_video_aspect_ratio(rsc_player *player, uint32_t width, uint32_t height)
{
    return 0;
}

int rsc_player_set_video_crop_border_alpha(rsc_player *player, uint32_t alpha)
{
    return 0;
}

int rsc_player_enable_video_crop_border(rsc_player *player, uint32_t on)
{
    return 0;
}

int rsc_player_set_video_y_offset(rsc_player *player, uint32_t brightness)
{
    return 0;
}

int rsc_player_set_video_saturation(rsc_player *player, uint32_t saturation)
{
    return 0;
}

int rsc_player_set_video_contrast(rsc_player *player, uint32_t contrast)
{
    return 0;
}

int rsc_player_set_video_hue(rsc_player *player, uint32_t hue)
{
    return 0;
}

int rsc_player_set_watermark_max_count(rsc_player *player, uint32_t count)
{
    return 0;
}

int rsc_player_set_watermark_index(rsc_player *player, uint32_t slot)
{
    return 0;
}

int rsc_player_set_watermark_image_file(rsc_player *player, const char *utf8_path)
{
    return 0;
}

int rsc_player_set_watermark_image_mask_file(rsc_player *player, const char *utf8_path)
{
    return 0;
}

int rsc_player_set_watermark_image_mirror(rsc_player *player, uint32_t on)
{
    return 0;
}

int rsc_player_set_watermark_image_position(rsc_player *player, double x, double y)
{
    return 0;
}

int rsc_player_set_watermark_image_size(rsc_player *player, double w, double h)
{
    return 0;
}

int rsc_player_set_watermark_image_scale(rsc_player *player, uint32_t sx, uint32_t sy)
{
    return 0;
}

int rsc_player_set_watermark_image_angle(rsc_player *player, int degrees)
{
    return 0;
}

int rsc_player_set_watermark_image_alpha(rsc_player *player, uint32_t alpha)
{
    return 0;
}

int rsc_player_set_watermark_image_mix_mode(rsc_player *player, uint32_t mode)
{
    return 0;
}

int rsc_player_set_watermark_image_loop(rsc_player *player, uint32_t on)
{
    return 0;
}

int rsc_player_set_watermark_image_crop(rsc_player *player, double x, double y, double w, double h)
{
    return 0;
}

int rsc_player_set_watermark_image_show_time(rsc_player *player, uint64_t start, uint64_t length)
{
    return 0;
}

int rsc_player_set_watermark_image_split_time(rsc_player *player, uint64_t a, uint64_t b)
{
    return 0;
}

int rsc_player_enable_watermark_image_border(rsc_player *player, uint32_t on)
{
    return 0;
}

int rsc_player_set_watermark_border_alpha(rsc_player *player, uint32_t alpha)
{
    return 0;
}

int rsc_player_set_watermark_image_brightness(rsc_player *player, uint32_t value)
{
    return 0;
}

int rsc_player_set_watermark_image_saturation(rsc_player *player, uint32_t value)
{
    return 0;
}

int rsc_player_set_watermark_image_contrast(rsc_player *player, uint32_t value)
{
    return 0;
}

int rsc_player_set_watermark_image_hue(rsc_player *player, uint32_t value)
{
    return 0;
}

int rsc_player_set_watermark_image_y_offset(rsc_player *player, uint32_t value)
{
    return 0;
}

int rsc_player_set_watermark_text(rsc_player *player, const char *utf8_text)
{
    return 0;
}

int rsc_player_set_watermark_text_font(rsc_player *player, const char *family)
{
    return 0;
}

int rsc_player_set_watermark_text_font_file(rsc_player *player, const char *utf8_path)
{
    return 0;
}

int rsc_player_set_watermark_text_size(rsc_player *player, uint32_t size)
{
    return 0;
}

int rsc_player_set_watermark_text_bold(rsc_player *player, uint32_t on)
{
    return 0;
}

int rsc_player_set_watermark_text_italic(rsc_player *player, uint32_t on)
{
    return 0;
}

int rsc_player_set_watermark_text_underline(rsc_player *player, uint32_t on)
{
    return 0;
}

int rsc_player_set_watermark_text_strikeout(rsc_player *player, uint32_t on)
{
    return 0;
}

int rsc_player_set_watermark_text_color(rsc_player *player, uint32_t argb)
{
    return 0;
}

int rsc_player_set_watermark_text_outline_color(rsc_player *player, uint32_t argb)
{
    return 0;
}

int rsc_player_set_watermark_text_shadow_color(rsc_player *player, uint32_t argb)
{
    return 0;
}

int rsc_player_set_watermark_text_outline_size(rsc_player *player, double size)
{
    return 0;
}

int rsc_player_set_watermark_text_shadow_offset(rsc_player *player, double offset)
{
    return 0;
}

int rsc_player_set_watermark_text_alpha(rsc_player *player, uint32_t alpha)
{
    return 0;
}

int rsc_player_set_watermark_text_position(rsc_player *player, double x, double y)
{
    return 0;
}

int rsc_player_set_watermark_text_angle(rsc_player *player, int degrees)
{
    return 0;
}

int rsc_player_set_watermark_text_scale(rsc_player *player, uint32_t sx, uint32_t sy)
{
    return 0;
}

int rsc_player_set_watermark_text_spacing_h(rsc_player *player, double spacing)
{
    return 0;
}

int rsc_player_set_watermark_text_spacing_v(rsc_player *player, double spacing)
{
    return 0;
}

int rsc_player_enable_watermark_text_border(rsc_player *player, uint32_t on)
{
    return 0;
}

int rsc_player_set_watermark_text_layer_topmost(rsc_player *player, uint32_t on)
{
    return 0;
}

int rsc_player_set_watermark_text_show_time(rsc_player *player, uint64_t start, uint64_t length)
{
    return 0;
}

int rsc_player_set_watermark_text_align(rsc_player *player, uint32_t align)
{
    return 0;
}

double rsc_player_watermark_text_width(rsc_player *player)
{
    return 0.0;
}

double rsc_player_watermark_text_height(rsc_player *player)
{
    return 0.0;
}

double rsc_player_watermark_text_pos_x(rsc_player *player)
{
    return 0.0;
}

double rsc_player_watermark_text_pos_y(rsc_player *player)
{
    return 0.0;
}

double rsc_player_watermark_image_width(rsc_player *player)
{
    return 0.0;
}

double rsc_player_watermark_image_height(rsc_player *player)
{
    return 0.0;
}

double rsc_player_watermark_image_pos_x(rsc_player *player)
{
    return 0.0;
}

double rsc_player_watermark_image_pos_y(rsc_player *player)
{
    return 0.0;
}

int rsc_player_set_subtitle_alpha(rsc_player *player, uint32_t alpha)
{
    return 0;
}

int rsc_player_set_subtitle_scale(rsc_player *player, uint32_t sx, uint32_t sy)
{
    return 0;
}

int rsc_player_set_subtitle_delay(rsc_player *player, int64_t delay)
{
    return 0;
}

int rsc_player_set_subtitle_font(rsc_player *player, const char *family)
{
    return 0;
}

int rsc_player_set_subtitle_font_file(rsc_player *player, const char *utf8_path)
{
    return 0;
}

int rsc_player_set_subtitle_size(rsc_player *player, uint32_t size)
{
    return 0;
}

int rsc_player_set_subtitle_bold(rsc_player *player, uint32_t on)
{
    return 0;
}

int rsc_player_set_subtitle_italic(rsc_player *player, uint32_t on)
{
    return 0;
}

int rsc_player_set_subtitle_underline(rsc_player *player, uint32_t on)
{
    return 0;
}

int rsc_player_set_subtitle_strikeout(rsc_player *player, uint32_t on)
{
    return 0;
}

int rsc_player_set_subtitle_color(rsc_player *player, uint32_t argb)
{
    return 0;
}

int rsc_player_set_subtitle_shadow_color(rsc_player *player, uint32_t argb)
{
    return 0;
}

int rsc_player_set_subtitle_outline_color(rsc_player *player, uint32_t argb)
{
    return 0;
}

int rsc_player_set_subtitle_shadow_offset(rsc_player *player, double offset)
{
    return 0;
}

int rsc_player_set_subtitle_outline_size(rsc_player *player, double size)
{
    return 0;
}

int rsc_player_set_subtitle_angle(rsc_player *player, int degrees)
{
    return 0;
}

int rsc_player_set_subtitle_align(rsc_player *player, uint32_t align)
{
    return 0;
}

int rsc_player_set_subtitle_spacing_h(rsc_player *player, double spacing)
{
    return 0;
}

int rsc_player_set_subtitle_spacing_v(rsc_player *player, double spacing)
{
    return 0;
}

int rsc_player_set_subtitle_margin_h(rsc_player *player, double margin)
{
    return 0;
}

int rsc_player_set_subtitle_margin_v(rsc_player *player, double margin)
{
    return 0;
}

int rsc_player_set_subtitle_image_offset_h(rsc_player *player, double offset)
{
    return 0;
}

int rsc_player_set_subtitle_image_offset_v(rsc_player *player, double offset)
{
    return 0;
}

int rsc_player_set_program_index(rsc_player *player, uint32_t index)
{
    return 0;
}

int rsc_player_set_video_index(rsc_player *player, uint32_t index)
{
    return 0;
}

int rsc_player_set_audio_index(rsc_player *player, uint32_t index)
{
    return 0;
}

int rsc_player_set_subtitle_index(rsc_player *player, uint32_t index)
{
    return 0;
}

int rsc_player_set_subtitle_file(rsc_player *player, const char *utf8_path)
{
    return 0;
}

int rsc_player_set_subtitle_stream(rsc_player *player, rsc_memstream *stream)
{
    return 0;
}

int rsc_player_set_subtitle_file_ex(rsc_player *player, const char *utf8_path, uint32_t offset_ms, uint32_t flags)
{
    return 0;
}

int rsc_player_set_subtitle_stream_ex(rsc_player *player, rsc_memstream *stream, uint32_t offset_ms, uint32_t flags)
{
    return 0;
}

int rsc_player_enable_closed_caption(rsc_player *player, uint32_t on)
{
    return 0;
}

int rsc_player_set_audio_background_index(rsc_player *player, uint32_t slot)
{
    return 0;
}

int rsc_player_set_audio_background_file(rsc_player *player, const char *utf8_path)
{
    return 0;
}

int rsc_player_set_audio_background_loop(rsc_player *player, uint32_t on)
{
    return 0;
}

int rsc_player_set_audio_background_mix_mode(rsc_player *player, uint32_t mode)
{
    return 0;
}

int rsc_player_set_audio_background_weight(rsc_player *player, uint32_t weight)
{
    return 0;
}

int rsc_player_set_audio_background_volume(rsc_player *player, uint32_t volume)
{
    return 0;
}

int rsc_player_set_audio_background_show_time(rsc_player *player, uint64_t start, uint64_t length)
{
    return 0;
}

int rsc_player_set_audio_background_split_time(rsc_player *player, uint64_t a, uint64_t b)
{
    return 0;
}

int rsc_player_set_audio_background_last(rsc_player *player, uint32_t on)
{
    return 0;
}

int rsc_player_set_audio_background_reset(rsc_player *player)
{
    return 0;
}

int rsc_player_set_audio_background_stream(rsc_player *player, rsc_memstream *stream)
{
    return 0;
}

int rsc_player_set_audio_background_track(rsc_player *player, rsc_track *track)
{
    return 0;
}

int rsc_player_set_audio_background_file_ex(rsc_player *player, const char *utf8_path, uint32_t offset_ms,
                                            uint32_t flags)
{
    return 0;
}

int rsc_player_set_audio_background_stream_ex(rsc_player *player, rsc_memstream *stream, uint32_t offset_ms,
                                              uint32_t flags)
{
    return 0;
}

int rsc_player_set_audio_background_channel_mix(rsc_player *player, const uint32_t *map, uint32_t count)
{
    return 0;
}

int rsc_player_set_audio_background_equalize(rsc_player *player, const double *frequencies, const double *gains,
                                             uint32_t count)
{
    return 0;
}

int rsc_player_set_audio_volume(rsc_player *player, uint64_t percent)
{
    return 0;
}

int rsc_player_set_audio_rate(rsc_player *player, uint64_t percent)
{
    return 0;
}

int rsc_player_set_audio_equalize(rsc_player *player, const double *frequencies, const double *gains, uint32_t count)
{
    return 0;
}

} // extern "C"
