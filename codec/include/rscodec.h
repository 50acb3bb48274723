/*
 * rscodec.h - the program's codec library: media information, still images, decoded frames, the player,
 * conversion and merge jobs, and the edit configuration they apply. A plain C API over FFmpeg; no FFmpeg
 * or Qt type crosses it.
 *
 * Rules shared by every call (codec/README.md says what each value means):
 * - Handles are opaque pointers; null means none or failure. Calls given a null handle do nothing and
 *   answer 0 / null.
 * - Times are unsigned 64-bit microseconds; texts are NUL-terminated UTF-8; bit rates are bit/s.
 * - Opens, starts and adds answer 1 on success; other calls answer non-zero on success; getters answer
 *   the value itself (0 / null when unknown).
 * - Texts, images and buffers the library returns are its own: valid while their handle lives (or until
 *   the next call of the same getter on that handle), and handed back through their free call where one
 *   exists.
 * - Still images are complete BMP files in memory (file size as little-endian uint32 at byte offset 2);
 *   audio level blocks are WAV file images.
 * - The owner that creates a handle releases it. Every call may be made from any one thread at a time per
 *   handle; frame handlers are called on the library's own threads.
 */
#ifndef RSCODEC_H
#define RSCODEC_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct rsc_player rsc_player;
typedef struct rsc_info rsc_info;
typedef struct rsc_frame rsc_frame;
typedef struct rsc_job rsc_job;
typedef struct rsc_edit rsc_edit;
typedef struct rsc_memstream rsc_memstream;
typedef struct rsc_track rsc_track;

/* Create value meaning "all defaults" for players and information objects. */
#define RSC_CREATE_DEFAULT 0xFFFFFFFFu
/* Player create flag: open a sound device. 0xFFFFFFFD (this bit cleared) plays silently. */
#define RSC_CREATE_AUDIO_OUTPUT 0x2u

/* Stream kinds (also the track types of the track-wise job interface). */
#define RSC_STREAM_VIDEO 1
#define RSC_STREAM_AUDIO 2
#define RSC_STREAM_SUBTITLE 8

/* Frame formats handed to frame handlers. */
#define RSC_FRAME_YUV420P 0u /* three planes Y, U, V; U and V (w+1)/2 x (h+1)/2 */
#define RSC_FRAME_BGRX 30u   /* one plane, bytes B, G, R, X */
#define RSC_FRAME_NONE 0xFFFFFFFFu

/* Still-image request flag (last argument of the image calls). */
#define RSC_IMAGE_IGNORE_ROTATION 0x1u /* deliver the stored orientation, not the display orientation */

/* Embedded picture returned for the metadata key "cover_image". */
typedef struct rsc_cover_image
{
    const unsigned char *data; /* the picture file's bytes (PNG, JPEG, ...) */
    int32_t size;              /* byte count */
} rsc_cover_image;

/* Frame handler: the frame is valid only during the call; answer 1 when it was used. */
typedef unsigned int (*rsc_frame_handler)(void *user, void *frame);

/* ===================================================================== global (process-wide) */

/* Logging switches: log_enabled 1 = write the library log; verbose 1 = include FFmpeg's informational
 * messages (0 = warnings and errors only). Answers 1. */
int rsc_global_set_options(int log_enabled, int verbose);
/* The application-data folder (UTF-8): the library keeps its log "codec.log" there. Answers 1 when the
 * folder exists and the log can be opened. */
int rsc_global_set_data_folder(const char *utf8_path);
/* Frame formats the frame handlers accept, in order of preference (the program passes {0, 30}, 2).
 * Answers 1 when at least one known format is given. */
int rsc_global_set_frame_formats(const int32_t *formats, int count);
/* Library-wide interrupt switch: while 1, blocking reads of information objects give up at once so that
 * a close called from another thread returns promptly. Answers the previous value. */
int rsc_global_set_interrupt(int on);
/* 1 when this build can encode the vocabulary codec id (a re-encoding job asked for an id it cannot
 * encode falls back to another codec, so callers that must keep a promise ask first); 0 otherwise. */
int rsc_global_can_encode(uint32_t codec_id);

/* ===================================================================== memory stream */

/* A readable stream over bytes in memory. flags 0 = the library copies the bytes (the caller may free
 * them at once); 1 = the bytes are borrowed and must outlive the stream. */
rsc_memstream *rsc_memstream_create(const void *data, uint32_t size, uint32_t flags);
void rsc_memstream_release(rsc_memstream *stream);

/* ===================================================================== media information */

rsc_info *rsc_info_create(uint32_t flags);
void rsc_info_release(rsc_info *info); /* closes first when still open */
int rsc_info_close(rsc_info *info);

int rsc_info_open_file(rsc_info *info, const char *utf8_path);
/* No DVD structure (titles, menus, IFO files) is read: the path opens as a plain media file, e.g. one VOB;
 * a folder answers 0. */
int rsc_info_open_dvd(rsc_info *info, const char *utf8_path);
int rsc_info_open_stream(rsc_info *info, rsc_memstream *stream);
int rsc_info_open_with_player(rsc_info *info, rsc_player *player); /* the media open in that player */

int rsc_info_has_video(rsc_info *info);
int rsc_info_has_audio(rsc_info *info);
uint64_t rsc_info_duration(rsc_info *info);
/* 1 when frames at other times than 0 can be reached (a seekable source with a known duration). */
int rsc_info_can_seek(rsc_info *info);

/* Geometry of the current video stream: coded size, and the display aspect pair reduced (0 when the file
 * gives none). */
uint32_t rsc_info_video_width(rsc_info *info);
uint32_t rsc_info_video_height(rsc_info *info);
uint32_t rsc_info_video_aspect_x(rsc_info *info);
uint32_t rsc_info_video_aspect_y(rsc_info *info);

/* Metadata by key (README lists the keys): a UTF-8 text, or for "cover_image" a rsc_cover_image record;
 * null when absent. */
const void *rsc_info_get_metadata(rsc_info *info, const char *key);
/* Binary metadata value ("cover_image"): its bytes and byte count; null / 0 when absent. */
const unsigned char *rsc_info_get_metadata_data(rsc_info *info, const char *key);
uint32_t rsc_info_get_metadata_size(rsc_info *info, const char *key);
/* What identifies the file when it has no major brand: the demuxer's short name ("aa", "avi", ...). */
const char *rsc_info_format_id(rsc_info *info);

/* Still image of the current video stream near `time`, as a BMP file. mode 0 = the key frame at or before
 * the time (fast), 1 = the frame showing at that time. width/height 0 = the display size; otherwise the
 * picture is fitted into that box keeping its display aspect. flags: RSC_IMAGE_*. */
unsigned char *rsc_info_get_video_image(rsc_info *info, uint64_t time, uint32_t mode, uint32_t width, uint32_t height,
                                        uint32_t flags);
uint32_t rsc_info_get_video_image_size(rsc_info *info, const unsigned char *image);
int rsc_info_free_video_image(rsc_info *info, unsigned char *image);

/* Programs (MPEG-TS programs). */
uint32_t rsc_info_program_count(rsc_info *info);
const char *rsc_info_program_name(rsc_info *info);
int rsc_info_set_program_index(rsc_info *info, uint32_t index);

/* Streams: counts and the current stream of each kind (0-based; 0xFFFFFFFF = none for subtitles). */
uint32_t rsc_info_video_count(rsc_info *info);
uint32_t rsc_info_audio_count(rsc_info *info);
uint32_t rsc_info_subtitle_count(rsc_info *info);
int rsc_info_set_video_index(rsc_info *info, uint32_t index);
int rsc_info_set_audio_index(rsc_info *info, uint32_t index);
int rsc_info_set_subtitle_index(rsc_info *info, uint32_t index);
int rsc_info_set_subtitle_file(rsc_info *info, const char *utf8_path);
int rsc_info_set_subtitle_stream(rsc_info *info, rsc_memstream *stream);
int rsc_info_set_subtitle_file_ex(rsc_info *info, const char *utf8_path, uint32_t offset_ms, uint32_t flags);
int rsc_info_set_subtitle_stream_ex(rsc_info *info, rsc_memstream *stream, uint32_t offset_ms, uint32_t flags);
int rsc_info_enable_closed_caption(rsc_info *info, uint32_t on);

/* The current stream of a kind (RSC_STREAM_*): title, format and language code texts (null when none),
 * values 1..7 (README), codec private data. Equal values and private data = joinable without re-encoding. */
const char *rsc_info_stream_title(rsc_info *info, int kind);
const char *rsc_info_stream_format(rsc_info *info, int kind);
const char *rsc_info_stream_language(rsc_info *info, int kind);
uint64_t rsc_info_stream_value(rsc_info *info, int kind, int n);
const unsigned char *rsc_info_stream_private_data(rsc_info *info, int kind);
uint32_t rsc_info_stream_private_size(rsc_info *info, int kind);

/* Chapters (0-based). The title is null when the chapter has none. */
uint32_t rsc_info_chapter_count(rsc_info *info);
uint64_t rsc_info_chapter_start(rsc_info *info, uint32_t index);
uint64_t rsc_info_chapter_duration(rsc_info *info, uint32_t index);
const char *rsc_info_chapter_title(rsc_info *info, uint32_t index);

/* ===================================================================== decoded frame */

rsc_frame *rsc_frame_create(void);
rsc_frame *rsc_frame_reference(void *frame); /* a new reference to a frame handed to a frame handler */
void rsc_frame_release(rsc_frame *frame);
uint32_t rsc_frame_format(rsc_frame *frame); /* RSC_FRAME_*; RSC_FRAME_NONE for null */
uint32_t rsc_frame_width(rsc_frame *frame);
uint32_t rsc_frame_height(rsc_frame *frame);
uint32_t rsc_frame_stride(rsc_frame *frame, uint32_t plane);
unsigned char *rsc_frame_data(rsc_frame *frame, uint32_t plane);

/* ===================================================================== player */

rsc_player *rsc_player_create(uint32_t flags);
rsc_player *rsc_player_reference(rsc_player *player); /* a shared reference; release it as a player */
void rsc_player_release(rsc_player *player);
int rsc_player_set_audio_device(rsc_player *player, const char *utf8_name);
/* Opens a file. preview_width/height: size of the edited-preview picture (0 = the video's size);
 * flags: reserved, pass 0; reserved: pass 0. */
int rsc_player_open(rsc_player *player, const char *utf8_path, uint32_t preview_width, uint32_t preview_height,
                    uint32_t flags, uint32_t reserved);
/* Always answers 0: DVD structures are not played (a VOB file opens with rsc_player_open). */
int rsc_player_open_dvd(rsc_player *player, const char *utf8_path, uint32_t preview_width, uint32_t preview_height,
                        uint32_t flags, uint32_t reserved);
int rsc_player_close(rsc_player *player);
/* Why the last file setter (watermark picture or mask, subtitle file or stream, background sound file or
 * stream) answered 0 for its file: English, for the program's message; "" after a setter that took it. */
const char *rsc_player_error(rsc_player *player);

/* Transport */
int rsc_player_play(rsc_player *player);
int rsc_player_pause(rsc_player *player);
int rsc_player_stop(rsc_player *player);
int rsc_player_can_seek(rsc_player *player);
int rsc_player_seek(rsc_player *player, uint64_t time);
int rsc_player_fast_seek(rsc_player *player, uint64_t time, int after); /* key frame before (0) / after (1) */
int rsc_player_begin_async_seek(rsc_player *player, uint64_t max_lag);  /* seeks may lag up to max_lag */
int rsc_player_end_async_seek(rsc_player *player);
int rsc_player_frame_step(rsc_player *player, int direction);     /* +1 / -1 */
int rsc_player_key_frame_step(rsc_player *player, int direction); /* +1 / -1 */
int rsc_player_change_speed(rsc_player *player, int percent);     /* 100 = normal */
int rsc_player_enable_loop(rsc_player *player, int on);
int rsc_player_set_time_interval(rsc_player *player, uint64_t interval); /* position granularity */
int rsc_player_show_video_frame(rsc_player *player);
int rsc_player_update_video_frame(rsc_player *player);
int rsc_player_refresh_video_frame(rsc_player *player);
int rsc_player_enable_show_when_setting(rsc_player *player, uint32_t on);
int rsc_player_begin_settings(rsc_player *player);
int rsc_player_end_settings(rsc_player *player);

/* State and media */
int rsc_player_is_completed(rsc_player *player);
int rsc_player_is_stopped(rsc_player *player);
int rsc_player_is_paused(rsc_player *player);
int rsc_player_is_running(rsc_player *player);
int rsc_player_has_video(rsc_player *player);
int rsc_player_has_audio(rsc_player *player);
uint64_t rsc_player_duration(rsc_player *player);
uint64_t rsc_player_play_time(rsc_player *player);
uint64_t rsc_player_video_time(rsc_player *player);
uint32_t rsc_player_video_width(rsc_player *player);
uint32_t rsc_player_video_height(rsc_player *player);
uint32_t rsc_player_video_aspect_x(rsc_player *player);
uint32_t rsc_player_video_aspect_y(rsc_player *player);
/* Size of the edited-preview frame the edits as set now give: the edited picture (no bars) fitted into the
   preview size given at open, or its own size without one. 1 with the size, 0 (both left as they were) when
   nothing with a picture is open. */
int rsc_player_get_preview_size(rsc_player *player, uint32_t *width, uint32_t *height);

/* Frames, capture and audio levels */
int rsc_player_set_video_view(rsc_player *player, void *view);
int rsc_player_set_original_video_view(rsc_player *player, void *view);
int rsc_player_set_video_frame_handler(rsc_player *player, rsc_frame_handler handler, void *user);
int rsc_player_set_original_video_frame_handler(rsc_player *player, rsc_frame_handler handler, void *user);
/* Still image of the current (edited) frame as a BMP file; width/height/flags as for the info call. */
unsigned char *rsc_player_capture_video_image(rsc_player *player, uint32_t width, uint32_t height, uint32_t flags);
int rsc_player_free_video_image(rsc_player *player, unsigned char *image);
int rsc_player_enable_audio_wave_data(rsc_player *player, uint32_t on);
/* The samples played since the last call as a WAV file image (16-bit PCM); mono 1 = mixed to one channel. */
unsigned char *rsc_player_get_audio_wave_data(rsc_player *player, uint32_t mono);
int rsc_player_free_audio_wave_data(rsc_player *player, unsigned char *data);
/* Byte count of a capture or wave block this player handed out and has not taken back; 0 otherwise. */
uint32_t rsc_player_get_buffer_size(rsc_player *player, const unsigned char *buffer);

/* Picture adjustments of the edited frames */
int rsc_player_set_video_rotate(rsc_player *player, uint32_t degrees);
int rsc_player_set_video_mirror(rsc_player *player, uint32_t on);
int rsc_player_set_video_pad_and_color(rsc_player *player, uint32_t pad, uint32_t argb);
int rsc_player_set_video_crop(rsc_player *player, double x, double y, double w, double h);
int rsc_player_set_video_aspect_ratio(rsc_player *player, uint32_t width, uint32_t height);
int rsc_player_set_video_crop_border_alpha(rsc_player *player, uint32_t alpha);
int rsc_player_enable_video_crop_border(rsc_player *player, uint32_t on);
int rsc_player_set_video_y_offset(rsc_player *player, uint32_t brightness);
int rsc_player_set_video_saturation(rsc_player *player, uint32_t saturation);
int rsc_player_set_video_contrast(rsc_player *player, uint32_t contrast);
int rsc_player_set_video_hue(rsc_player *player, uint32_t hue);

/* Overlays (watermark slots) */
int rsc_player_set_watermark_max_count(rsc_player *player, uint32_t count);
int rsc_player_set_watermark_index(rsc_player *player, uint32_t slot);
int rsc_player_set_watermark_image_file(rsc_player *player, const char *utf8_path);
int rsc_player_set_watermark_image_mask_file(rsc_player *player, const char *utf8_path);
int rsc_player_set_watermark_image_mirror(rsc_player *player, uint32_t on);
int rsc_player_set_watermark_image_position(rsc_player *player, double x, double y);
int rsc_player_set_watermark_image_size(rsc_player *player, double w, double h);
int rsc_player_set_watermark_image_scale(rsc_player *player, uint32_t sx, uint32_t sy);
int rsc_player_set_watermark_image_angle(rsc_player *player, int degrees);
int rsc_player_set_watermark_image_alpha(rsc_player *player, uint32_t alpha);
int rsc_player_set_watermark_image_mix_mode(rsc_player *player, uint32_t mode);
int rsc_player_set_watermark_image_loop(rsc_player *player, uint32_t on);
int rsc_player_set_watermark_image_crop(rsc_player *player, double x, double y, double w, double h);
int rsc_player_set_watermark_image_show_time(rsc_player *player, uint64_t start, uint64_t length);
int rsc_player_set_watermark_image_split_time(rsc_player *player, uint64_t a, uint64_t b);
int rsc_player_enable_watermark_image_border(rsc_player *player, uint32_t on);
int rsc_player_set_watermark_border_alpha(rsc_player *player, uint32_t alpha);
int rsc_player_set_watermark_image_brightness(rsc_player *player, uint32_t value);
int rsc_player_set_watermark_image_saturation(rsc_player *player, uint32_t value);
int rsc_player_set_watermark_image_contrast(rsc_player *player, uint32_t value);
int rsc_player_set_watermark_image_hue(rsc_player *player, uint32_t value);
int rsc_player_set_watermark_image_y_offset(rsc_player *player, uint32_t value);
int rsc_player_set_watermark_text(rsc_player *player, const char *utf8_text);
int rsc_player_set_watermark_text_font(rsc_player *player, const char *family);
int rsc_player_set_watermark_text_font_file(rsc_player *player, const char *utf8_path);
int rsc_player_set_watermark_text_size(rsc_player *player, uint32_t size);
int rsc_player_set_watermark_text_bold(rsc_player *player, uint32_t on);
int rsc_player_set_watermark_text_italic(rsc_player *player, uint32_t on);
int rsc_player_set_watermark_text_underline(rsc_player *player, uint32_t on);
int rsc_player_set_watermark_text_strikeout(rsc_player *player, uint32_t on);
int rsc_player_set_watermark_text_color(rsc_player *player, uint32_t argb);
int rsc_player_set_watermark_text_outline_color(rsc_player *player, uint32_t argb);
int rsc_player_set_watermark_text_shadow_color(rsc_player *player, uint32_t argb);
int rsc_player_set_watermark_text_outline_size(rsc_player *player, double size);
int rsc_player_set_watermark_text_shadow_offset(rsc_player *player, double offset);
int rsc_player_set_watermark_text_alpha(rsc_player *player, uint32_t alpha);
int rsc_player_set_watermark_text_position(rsc_player *player, double x, double y);
int rsc_player_set_watermark_text_angle(rsc_player *player, int degrees);
int rsc_player_set_watermark_text_scale(rsc_player *player, uint32_t sx, uint32_t sy);
int rsc_player_set_watermark_text_spacing_h(rsc_player *player, double spacing);
int rsc_player_set_watermark_text_spacing_v(rsc_player *player, double spacing);
int rsc_player_enable_watermark_text_border(rsc_player *player, uint32_t on);
int rsc_player_set_watermark_text_layer_topmost(rsc_player *player, uint32_t on);
int rsc_player_set_watermark_text_show_time(rsc_player *player, uint64_t start, uint64_t length);
int rsc_player_set_watermark_text_align(rsc_player *player, uint32_t align);
double rsc_player_watermark_text_width(rsc_player *player);
double rsc_player_watermark_text_height(rsc_player *player);
double rsc_player_watermark_text_pos_x(rsc_player *player);
double rsc_player_watermark_text_pos_y(rsc_player *player);
double rsc_player_watermark_image_width(rsc_player *player);
double rsc_player_watermark_image_height(rsc_player *player);
double rsc_player_watermark_image_pos_x(rsc_player *player);
double rsc_player_watermark_image_pos_y(rsc_player *player);

/* Subtitle style */
int rsc_player_set_subtitle_alpha(rsc_player *player, uint32_t alpha);
int rsc_player_set_subtitle_scale(rsc_player *player, uint32_t sx, uint32_t sy);
int rsc_player_set_subtitle_delay(rsc_player *player, int64_t delay);
int rsc_player_set_subtitle_font(rsc_player *player, const char *family);
int rsc_player_set_subtitle_font_file(rsc_player *player, const char *utf8_path);
int rsc_player_set_subtitle_size(rsc_player *player, uint32_t size);
int rsc_player_set_subtitle_bold(rsc_player *player, uint32_t on);
int rsc_player_set_subtitle_italic(rsc_player *player, uint32_t on);
int rsc_player_set_subtitle_underline(rsc_player *player, uint32_t on);
int rsc_player_set_subtitle_strikeout(rsc_player *player, uint32_t on);
int rsc_player_set_subtitle_color(rsc_player *player, uint32_t argb);
int rsc_player_set_subtitle_shadow_color(rsc_player *player, uint32_t argb);
int rsc_player_set_subtitle_outline_color(rsc_player *player, uint32_t argb);
int rsc_player_set_subtitle_shadow_offset(rsc_player *player, double offset);
int rsc_player_set_subtitle_outline_size(rsc_player *player, double size);
int rsc_player_set_subtitle_angle(rsc_player *player, int degrees);
int rsc_player_set_subtitle_align(rsc_player *player, uint32_t align);
int rsc_player_set_subtitle_spacing_h(rsc_player *player, double spacing);
int rsc_player_set_subtitle_spacing_v(rsc_player *player, double spacing);
int rsc_player_set_subtitle_margin_h(rsc_player *player, double margin);
int rsc_player_set_subtitle_margin_v(rsc_player *player, double margin);
int rsc_player_set_subtitle_image_offset_h(rsc_player *player, double offset);
int rsc_player_set_subtitle_image_offset_v(rsc_player *player, double offset);

/* Stream selection and subtitle sources */
int rsc_player_set_program_index(rsc_player *player, uint32_t index);
int rsc_player_set_video_index(rsc_player *player, uint32_t index);
int rsc_player_set_audio_index(rsc_player *player, uint32_t index);
int rsc_player_set_subtitle_index(rsc_player *player, uint32_t index); /* 0xFFFFFFFF = none */
int rsc_player_set_subtitle_file(rsc_player *player, const char *utf8_path);
int rsc_player_set_subtitle_stream(rsc_player *player, rsc_memstream *stream);
int rsc_player_set_subtitle_file_ex(rsc_player *player, const char *utf8_path, uint32_t offset_ms, uint32_t flags);
int rsc_player_set_subtitle_stream_ex(rsc_player *player, rsc_memstream *stream, uint32_t offset_ms, uint32_t flags);
int rsc_player_enable_closed_caption(rsc_player *player, uint32_t on);

/* Background audio slots */
int rsc_player_set_audio_background_index(rsc_player *player, uint32_t slot);
int rsc_player_set_audio_background_file(rsc_player *player, const char *utf8_path);
int rsc_player_set_audio_background_loop(rsc_player *player, uint32_t on);
int rsc_player_set_audio_background_mix_mode(rsc_player *player, uint32_t mode);
int rsc_player_set_audio_background_weight(rsc_player *player, uint32_t weight);
int rsc_player_set_audio_background_volume(rsc_player *player, uint32_t volume);
int rsc_player_set_audio_background_show_time(rsc_player *player, uint64_t start, uint64_t length);
int rsc_player_set_audio_background_split_time(rsc_player *player, uint64_t a, uint64_t b);
int rsc_player_set_audio_background_last(rsc_player *player, uint32_t on);
int rsc_player_set_audio_background_reset(rsc_player *player);
int rsc_player_set_audio_background_stream(rsc_player *player, rsc_memstream *stream);
int rsc_player_set_audio_background_track(rsc_player *player, rsc_track *track);
int rsc_player_set_audio_background_file_ex(rsc_player *player, const char *utf8_path, uint32_t offset_ms,
                                            uint32_t flags);
int rsc_player_set_audio_background_stream_ex(rsc_player *player, rsc_memstream *stream, uint32_t offset_ms,
                                              uint32_t flags);
int rsc_player_set_audio_background_channel_mix(rsc_player *player, const uint32_t *map, uint32_t count);
int rsc_player_set_audio_background_equalize(rsc_player *player, const double *frequencies, const double *gains,
                                             uint32_t count);

/* The clip's own audio */
int rsc_player_set_audio_volume(rsc_player *player, uint64_t percent);
int rsc_player_set_audio_rate(rsc_player *player, uint64_t percent);
int rsc_player_set_audio_equalize(rsc_player *player, const double *frequencies, const double *gains, uint32_t count);

/* ===================================================================== edit configuration */

rsc_edit *rsc_edit_create(void);
void rsc_edit_release(rsc_edit *edit);

/* Encoder side (codec ids: the library's vocabulary, README) */
int rsc_edit_enable_video_edits(rsc_edit *edit, int on); /* apply the picture edits of this configuration */
int rsc_edit_enable_audio_edits(rsc_edit *edit, int on); /* apply the sound edits of this configuration */
int rsc_edit_set_video_codec(rsc_edit *edit, uint32_t codec_id);
int rsc_edit_set_audio_codec(rsc_edit *edit, uint32_t codec_id);
int rsc_edit_set_video_profile_mode(rsc_edit *edit, int mode);
int rsc_edit_set_video_profile(rsc_edit *edit, int profile);
int rsc_edit_set_video_size(rsc_edit *edit, uint32_t width, uint32_t height);
int rsc_edit_set_frame_rate(rsc_edit *edit, uint32_t num, uint32_t den);
int rsc_edit_set_video_bit_rate(rsc_edit *edit, uint32_t bits_per_second);
int rsc_edit_set_audio_channels(rsc_edit *edit, uint32_t channels);
int rsc_edit_set_audio_sample_rate(rsc_edit *edit, uint32_t hertz);
int rsc_edit_set_audio_bit_rate(rsc_edit *edit, uint32_t bits_per_second);
int rsc_edit_set_video_quality(rsc_edit *edit, int quality);
int rsc_edit_set_audio_quality(rsc_edit *edit, int quality);
int rsc_edit_set_encoder_options(rsc_edit *edit, const char *options); /* "key=value:key=value" */

/* Colour */
int rsc_edit_set_brightness(rsc_edit *edit, int value);
int rsc_edit_set_saturation(rsc_edit *edit, int value);
int rsc_edit_set_contrast(rsc_edit *edit, int value);
int rsc_edit_set_hue(rsc_edit *edit, int value);

/* Streams and subtitles */
int rsc_edit_set_program_index(rsc_edit *edit, int index);
int rsc_edit_set_audio_track(rsc_edit *edit, int index);
int rsc_edit_set_subtitle_stream(rsc_edit *edit, int index); /* -1 = none */
int rsc_edit_set_closed_caption(rsc_edit *edit, int on);
int rsc_edit_set_subtitle_file(rsc_edit *edit, const char *utf8_path); /* null or "" = none */
int rsc_edit_set_subtitle_mode(rsc_edit *edit, int mode);              /* bit flags, README */
int rsc_edit_set_subtitle_alpha(rsc_edit *edit, uint32_t alpha);
int rsc_edit_set_subtitle_scale(rsc_edit *edit, uint32_t sx, uint32_t sy);
int rsc_edit_set_subtitle_delay(rsc_edit *edit, int64_t delay);
int rsc_edit_set_subtitle_font(rsc_edit *edit, const char *family);
int rsc_edit_set_subtitle_bold(rsc_edit *edit, uint32_t on);
int rsc_edit_set_subtitle_italic(rsc_edit *edit, uint32_t on);
int rsc_edit_set_subtitle_underline(rsc_edit *edit, uint32_t on);
int rsc_edit_set_subtitle_strikeout(rsc_edit *edit, uint32_t on);
int rsc_edit_set_subtitle_size(rsc_edit *edit, uint32_t size);
int rsc_edit_set_subtitle_color(rsc_edit *edit, uint32_t argb);
int rsc_edit_set_subtitle_shadow_color(rsc_edit *edit, uint32_t argb);
int rsc_edit_set_subtitle_outline_color(rsc_edit *edit, uint32_t argb);
int rsc_edit_set_subtitle_shadow_offset(rsc_edit *edit, double offset);
int rsc_edit_set_subtitle_outline_size(rsc_edit *edit, double size);
int rsc_edit_set_subtitle_margin_h(rsc_edit *edit, double margin);
int rsc_edit_set_subtitle_margin_v(rsc_edit *edit, double margin);
int rsc_edit_set_subtitle_align(rsc_edit *edit, uint32_t align);
int rsc_edit_set_subtitle_spacing_h(rsc_edit *edit, double spacing);
int rsc_edit_set_subtitle_spacing_v(rsc_edit *edit, double spacing);

/* Overlay slots 0..2; the slot setter chooses the slot every following overlay setter addresses */
int rsc_edit_set_watermark_slot(rsc_edit *edit, int slot);
int rsc_edit_set_watermark_image_file(rsc_edit *edit, const char *utf8_path);
int rsc_edit_set_watermark_image_mask_file(rsc_edit *edit, const char *utf8_path);
int rsc_edit_set_watermark_image_mirror(rsc_edit *edit, uint32_t on);
int rsc_edit_set_watermark_image_position(rsc_edit *edit, double x, double y);
int rsc_edit_set_watermark_image_scale(rsc_edit *edit, uint32_t sx, uint32_t sy);
int rsc_edit_set_watermark_image_angle(rsc_edit *edit, int degrees);
int rsc_edit_set_watermark_image_alpha(rsc_edit *edit, uint32_t alpha);
int rsc_edit_set_watermark_image_mix_mode(rsc_edit *edit, uint32_t mode);
int rsc_edit_set_watermark_image_size(rsc_edit *edit, double w, double h);
int rsc_edit_set_watermark_image_loop(rsc_edit *edit, uint32_t on);
int rsc_edit_set_watermark_image_crop(rsc_edit *edit, double x, double y, double w, double h);
int rsc_edit_set_watermark_text(rsc_edit *edit, const char *utf8_text);
int rsc_edit_set_watermark_text_alpha(rsc_edit *edit, uint32_t alpha);
int rsc_edit_set_watermark_text_position(rsc_edit *edit, double x, double y);
int rsc_edit_set_watermark_text_angle(rsc_edit *edit, int degrees);
int rsc_edit_set_watermark_text_bold(rsc_edit *edit, uint32_t on);
int rsc_edit_set_watermark_text_size(rsc_edit *edit, uint32_t size);
int rsc_edit_set_watermark_text_font(rsc_edit *edit, const char *family);
int rsc_edit_set_watermark_text_color(rsc_edit *edit, uint32_t argb);
int rsc_edit_set_watermark_text_outline_color(rsc_edit *edit, uint32_t argb);
int rsc_edit_set_watermark_text_outline_size(rsc_edit *edit, double size);
int rsc_edit_set_watermark_text_shadow_color(rsc_edit *edit, uint32_t argb);
int rsc_edit_set_watermark_text_shadow_offset(rsc_edit *edit, double offset);
int rsc_edit_set_watermark_text_italic(rsc_edit *edit, uint32_t on);
int rsc_edit_set_watermark_text_underline(rsc_edit *edit, uint32_t on);
int rsc_edit_set_watermark_text_strikeout(rsc_edit *edit, uint32_t on);
int rsc_edit_set_watermark_text_scale(rsc_edit *edit, uint32_t sx, uint32_t sy);
int rsc_edit_set_watermark_text_layer_topmost(rsc_edit *edit, uint32_t on);
int rsc_edit_set_watermark_text_spacing_h(rsc_edit *edit, double spacing);
int rsc_edit_set_watermark_text_spacing_v(rsc_edit *edit, double spacing);

/* Background audio slot; the slot setter chooses the slot the following setters address */
int rsc_edit_set_audio_background_slot(rsc_edit *edit, int slot);
int rsc_edit_set_audio_background_file(rsc_edit *edit, const char *utf8_path);
int rsc_edit_set_audio_background_loop(rsc_edit *edit, uint32_t on);
int rsc_edit_set_audio_background_mix_mode(rsc_edit *edit, uint32_t mode);
int rsc_edit_set_audio_background_volume(rsc_edit *edit, uint32_t volume);
int rsc_edit_set_audio_background_weight(rsc_edit *edit, uint32_t weight);
int rsc_edit_set_audio_background_show_time(rsc_edit *edit, uint64_t start, uint64_t length);
int rsc_edit_set_audio_background_split_time(rsc_edit *edit, uint64_t a, uint64_t b);

/* Geometry */
int rsc_edit_set_aspect(rsc_edit *edit, int width, int height);
int rsc_edit_set_rotation(rsc_edit *edit, int degrees);
int rsc_edit_set_mirror(rsc_edit *edit, int on);
int rsc_edit_set_pad(rsc_edit *edit, int on, uint32_t argb);
int rsc_edit_set_crop(rsc_edit *edit, double x, double y, double w, double h);

/* Clip audio */
int rsc_edit_set_volume(rsc_edit *edit, uint32_t percent);
int rsc_edit_set_rate(rsc_edit *edit, uint32_t percent);
int rsc_edit_set_speed(rsc_edit *edit, uint32_t percent);
int rsc_edit_set_equalizer(rsc_edit *edit, const double *frequencies, const double *gains, int count);

/* Chapters of the output */
int rsc_edit_add_chapter(rsc_edit *edit, uint64_t start, uint64_t duration, const char *utf8_title);

/* ===================================================================== conversion and merge jobs */

/* flags: pass RSC_CREATE_DEFAULT. Conversion objects turn one source into one output; merge objects join
 * tasks into one output. */
rsc_job *rsc_job_create_convert(uint32_t flags);
rsc_job *rsc_job_create_convert_lossless(uint32_t flags);
rsc_job *rsc_job_create_merge(uint32_t flags);
rsc_job *rsc_job_create_merge_lossless(uint32_t flags);
void rsc_job_release(rsc_job *job); /* stops first when needed; an output not closed is discarded */
int rsc_job_close(rsc_job *job);
/* Stops (waiting) and closes the job without keeping its output: the output path keeps what it held
 * before the job. A conversion that already finished keeps its file. */
int rsc_job_discard(rsc_job *job);

/* Conversion: open (source, output, container name, edit or null), set range, start */
int rsc_job_open_file(rsc_job *job, const char *src, const char *dst, const char *container, rsc_edit *edit);
/* As rsc_job_open_file: the source is read as a plain media file (no DVD structure is read). */
int rsc_job_open_dvd(rsc_job *job, const char *src, const char *dst, const char *container, rsc_edit *edit);
int rsc_job_set_range(rsc_job *job, uint64_t start, uint64_t duration); /* duration 0 = to the end */
/* Merge: open the output, start, then add one task at a time (it runs at once) */
int rsc_job_open_output(rsc_job *job, const char *dst, const char *container, rsc_edit *edit);
int rsc_job_add_task(rsc_job *job, const char *src, uint64_t start, uint64_t duration, rsc_edit *edit);
/* As rsc_job_add_task: the source is read as a plain media file (no DVD structure is read). */
int rsc_job_add_task_dvd(rsc_job *job, const char *src, uint64_t start, uint64_t duration, rsc_edit *edit);
int rsc_job_start(rsc_job *job);
/* 1 when a lossless merge into this container (a name as for open_output) takes one clip only, so a
 * second add is refused (raw FLAC); 0 otherwise. The clip list asks it before offering a lossless join. */
int rsc_job_container_is_single_clip(const char *container);
/* 1 when a lossless merge into this container would carry the source file's subtitle stream `index`
 * (0-based among its subtitle streams) as a stream: the container holds its format (SubRip/ASS in
 * Matroska, mov_text in MP4/MOV); 0 when it would be left out, or the file or stream cannot be read.
 * The same rule the lossless merge applies; the clip list asks it before the run. */
int rsc_job_lossless_carries_subtitle(const char *container, const char *src, int index);
/* 1 when the source's picture and its `audio_track`-th sound (of program `program`, 0-based; as the edit
 * configuration's set_audio_track and set_program_index choose them), copied as a lossless merge copies
 * them, can be written into this container; 0 when the container cannot hold them (a codec it has no
 * place for, a sound format it refuses), or the file cannot be read. The merge's own steps are tried
 * without writing anything; the clip list asks it before offering a lossless join. */
int rsc_job_lossless_container_takes(const char *container, const char *src, int audio_track, int program);

/* Polling, from the caller's thread */
int rsc_job_is_finished(rsc_job *job); /* 1 = the current work is done (merge: the current task) */
int rsc_job_is_stopped(rsc_job *job);  /* 1 = ended by a stop */
/* 1 = the current work failed while running (is_finished answers 1 too): the output must not be kept.
 * A refused open or add answers 0 at once and leaves the output as it was. */
int rsc_job_is_failed(rsc_job *job);
const char *rsc_job_error(rsc_job *job); /* why it failed (English, for the log); "" when it did not */
uint64_t rsc_job_total(rsc_job *job);    /* same unit as done (microseconds of output) */
uint64_t rsc_job_done(rsc_job *job);
/* Waits up to timeout_ms for the running work (merge: the current task) to end, however it ends: 1 = none
 * runs now, 0 = it still runs. A poller that waits here instead of sleeping sees the end at once. */
int rsc_job_wait(rsc_job *job, uint32_t timeout_ms);
/* Requests a stop; wait 1 = return only when the job's threads have ended. 0 = failure. */
int rsc_job_stop(rsc_job *job, int wait);

/* Track-wise conversion: an output built from elementary-stream packets */
typedef struct rsc_packet
{
    int64_t pts;      /* microseconds */
    int64_t dts;      /* microseconds */
    int64_t duration; /* microseconds */
    uint32_t flags;   /* 1 = key frame */
    const unsigned char *data;
    uint32_t size; /* 0 with null data = end of stream */
} rsc_packet;

rsc_track *rsc_track_create(int kind); /* RSC_STREAM_* */
void rsc_track_release(rsc_track *track);
int rsc_track_set_format(rsc_track *track, uint32_t codec_id);
int rsc_track_set_video_size(rsc_track *track, uint32_t width, uint32_t height);
int rsc_track_set_frame_rate(rsc_track *track, uint32_t rate, uint32_t scale); /* rate / scale per second */
int rsc_track_set_display_aspect(rsc_track *track, uint32_t x, uint32_t y);    /* display aspect x:y */
int rsc_track_set_audio_format(rsc_track *track, uint32_t sample_rate, uint32_t channels);
int rsc_track_set_time_base(rsc_track *track, uint32_t num, uint32_t den); /* num / den ticks a second */
int rsc_track_set_private_data(rsc_track *track, const unsigned char *data, uint32_t size);
/* The bytes are copied. 0 = refused: decoding time not increasing, pts before dts, or after the end. */
int rsc_track_add_packet(rsc_track *track, const rsc_packet *packet);
uint64_t rsc_track_time(rsc_track *track); /* end time of the packets written so far */
/* A conversion job written from the tracks (null where absent); it finishes when every track has ended.
 * Setters are refused once a job has taken a track. */
int rsc_job_open_tracks(rsc_job *job, rsc_track *video, rsc_track *audio, rsc_track *subtitle, const char *dst,
                        const char *container, rsc_edit *edit);

#ifdef __cplusplus
}
#endif

#endif /* RSCODEC_H */
