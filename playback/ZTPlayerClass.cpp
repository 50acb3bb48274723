#include "ZTPlayerClass.h"

#include "rscodec.h"

ZTPlayerClass::ZTPlayerClass(QObject *parent) : QObject(parent) {}

ZTPlayerClass::~ZTPlayerClass()
{
    Release_Player();
}

void ZTPlayerClass::teardown()
{
    rsc_player_stop(m_player);
    rsc_player_close(m_player);
    rsc_player_release(m_player);
    m_player = nullptr;
}

void *ZTPlayerClass::Create_Player(bool withSound)
{
    if (m_player)
        teardown();
    // The sound-device bit cleared plays silently.
    m_player = rsc_player_create(withSound ? RSC_CREATE_DEFAULT : (RSC_CREATE_DEFAULT & ~RSC_CREATE_AUDIO_OUTPUT));
    return m_player;
}

bool ZTPlayerClass::Reference_Player(void *player)
{
    if (m_player)
        teardown();
    m_player = player ? rsc_player_reference(static_cast<rsc_player *>(player)) : nullptr;
    m_bOpen = m_player != nullptr;
    return m_bOpen;
}

void ZTPlayerClass::Release_Player()
{
    if (m_player)
        teardown();
}

bool ZTPlayerClass::OpenEx_Player(const char *path, unsigned int width, unsigned int height, unsigned int flags,
                                  unsigned int reserved)
{
    m_bOpen = m_player && rsc_player_open(m_player, path, width, height, flags, reserved) != 0;
    return m_bOpen;
}

bool ZTPlayerClass::OpenDVD_ExPlayer(const char *path, unsigned int width, unsigned int height, unsigned int flags,
                                     unsigned int reserved)
{
    m_bOpen = m_player && rsc_player_open_dvd(m_player, path, width, height, flags, reserved) != 0;
    return m_bOpen;
}

bool ZTPlayerClass::Close_Player()
{
    return m_player && rsc_player_close(m_player) != 0;
}

bool ZTPlayerClass::HasVideoAndAudio_Player()
{
    if (HasAudio_Player())
        return true;
    return HasVideo_Player();
}

QSize ZTPlayerClass::GetVideoSize_Player()
{
    if (!m_player)
        return QSize(0, 0);
    const int w = int(rsc_player_video_width(m_player));
    const int h = int(rsc_player_video_height(m_player));
    return QSize(w, h);
}

QSize ZTPlayerClass::GetVideoAspectRatio_Player()
{
    if (!m_player)
        return QSize(0, 0);
    const int x = int(rsc_player_video_aspect_x(m_player));
    const int y = int(rsc_player_video_aspect_y(m_player));
    return QSize(x, y);
}

QSize ZTPlayerClass::GetPreviewSize_Player()
{
    uint32_t w = 0, h = 0;
    if (!m_player || !rsc_player_get_preview_size(m_player, &w, &h))
        return QSize(0, 0);
    return QSize(int(w), int(h));
}

bool ZTPlayerClass::Play_Player()
{
    return m_player && rsc_player_play(m_player) != 0;
}

bool ZTPlayerClass::Pause_Player()
{
    return m_player && rsc_player_pause(m_player) != 0;
}

bool ZTPlayerClass::Stop_Player()
{
    return m_player && rsc_player_stop(m_player) != 0;
}

bool ZTPlayerClass::CanSeek_Player()
{
    return m_player && rsc_player_can_seek(m_player) != 0;
}

bool ZTPlayerClass::Seek_Player(unsigned long long time)
{
    return m_player && rsc_player_seek(m_player, time) != 0;
}

bool ZTPlayerClass::FastSeek_Player(unsigned long long time, int after)
{
    return m_player && rsc_player_fast_seek(m_player, time, after) != 0;
}

bool ZTPlayerClass::BeginAsyncSeek_Player(unsigned long long maxLag)
{
    return m_player && rsc_player_begin_async_seek(m_player, maxLag) != 0;
}

bool ZTPlayerClass::EndAsyncSeek_Player()
{
    return m_player && rsc_player_end_async_seek(m_player) != 0;
}

bool ZTPlayerClass::FrameStep_Player(int direction)
{
    return m_player && rsc_player_frame_step(m_player, direction) != 0;
}

bool ZTPlayerClass::KeyFrameStep_Player(int direction)
{
    return m_player && rsc_player_key_frame_step(m_player, direction) != 0;
}

bool ZTPlayerClass::ChangeSpeed_Player(int speed)
{
    return m_player && rsc_player_change_speed(m_player, speed) != 0;
}

bool ZTPlayerClass::EnableLoop_Player(int on)
{
    return m_player && rsc_player_enable_loop(m_player, on) != 0;
}

bool ZTPlayerClass::SetTimeInterval_Player(unsigned long long interval)
{
    return m_player && rsc_player_set_time_interval(m_player, interval) != 0;
}

bool ZTPlayerClass::ShowVideoFrame_Player()
{
    return m_player && rsc_player_show_video_frame(m_player) != 0;
}

bool ZTPlayerClass::UpdateVideoFrame_Player()
{
    return m_player && rsc_player_update_video_frame(m_player) != 0;
}

bool ZTPlayerClass::RefreshVideoFrame_Player()
{
    return m_player && rsc_player_refresh_video_frame(m_player) != 0;
}

bool ZTPlayerClass::EnableShowWhenSetting_Player(unsigned int on)
{
    return m_player && rsc_player_enable_show_when_setting(m_player, on) != 0;
}

bool ZTPlayerClass::BeginSettings_Player()
{
    return m_player && rsc_player_begin_settings(m_player) != 0;
}

bool ZTPlayerClass::EndSettings_Player()
{
    return m_player && rsc_player_end_settings(m_player) != 0;
}

bool ZTPlayerClass::IsCompleted_Player()
{
    return m_player && rsc_player_is_completed(m_player) != 0;
}

bool ZTPlayerClass::IsStop_Player()
{
    return m_player && rsc_player_is_stopped(m_player) != 0;
}

bool ZTPlayerClass::IsPause_Player()
{
    return m_player && rsc_player_is_paused(m_player) != 0;
}

bool ZTPlayerClass::IsRunning_Player()
{
    return m_player && rsc_player_is_running(m_player) != 0;
}

bool ZTPlayerClass::HasVideo_Player()
{
    return m_player && rsc_player_has_video(m_player) != 0;
}

bool ZTPlayerClass::HasAudio_Player()
{
    return m_player && rsc_player_has_audio(m_player) != 0;
}

unsigned long long ZTPlayerClass::GetDuration_Player()
{
    return m_player ? rsc_player_duration(m_player) : 0;
}

unsigned long long ZTPlayerClass::GetPlayTime_Player()
{
    return m_player ? rsc_player_play_time(m_player) : 0;
}

unsigned long long ZTPlayerClass::GetVideoTime_Player()
{
    return m_player ? rsc_player_video_time(m_player) : 0;
}

bool ZTPlayerClass::SetVideoView_Player(void *view)
{
    return m_player && rsc_player_set_video_view(m_player, view) != 0;
}

bool ZTPlayerClass::SetOriginalVideoView_Player(void *view)
{
    return m_player && rsc_player_set_original_video_view(m_player, view) != 0;
}

bool ZTPlayerClass::SetVideoFrameHandle_Player(unsigned int (*handler)(void *, void *), void *user)
{
    return m_player && rsc_player_set_video_frame_handler(m_player, handler, user) != 0;
}

bool ZTPlayerClass::SetOriginalVideoFrameHandle_Player(unsigned int (*handler)(void *, void *), void *user)
{
    return m_player && rsc_player_set_original_video_frame_handler(m_player, handler, user) != 0;
}

unsigned char *ZTPlayerClass::CaptureVideoImage_Player(unsigned int width, unsigned int height, unsigned int flags)
{
    return m_player ? rsc_player_capture_video_image(m_player, width, height, flags) : nullptr;
}

bool ZTPlayerClass::FreeVideoImage_Player(unsigned char *image)
{
    return m_player && rsc_player_free_video_image(m_player, image) != 0;
}

bool ZTPlayerClass::EnableAudioWaveData_Player(unsigned int on)
{
    return m_player && rsc_player_enable_audio_wave_data(m_player, on) != 0;
}

unsigned char *ZTPlayerClass::GetAudioWaveData_Player(unsigned int mono)
{
    return m_player ? rsc_player_get_audio_wave_data(m_player, mono) : nullptr;
}

bool ZTPlayerClass::FreeAudioWaveData_Player(unsigned char *data)
{
    return m_player && rsc_player_free_audio_wave_data(m_player, data) != 0;
}

unsigned int ZTPlayerClass::GetBufferSize_Player(const unsigned char *buffer)
{
    return m_player ? rsc_player_get_buffer_size(m_player, buffer) : 0;
}

bool ZTPlayerClass::SetVideoRotate_Player(unsigned int degrees)
{
    return m_player && rsc_player_set_video_rotate(m_player, degrees) != 0;
}

bool ZTPlayerClass::SetVideoMirror_Player(unsigned int on)
{
    return m_player && rsc_player_set_video_mirror(m_player, on) != 0;
}

bool ZTPlayerClass::SetVideoPadAndColor_Player(unsigned int pad, unsigned int color)
{
    return m_player && rsc_player_set_video_pad_and_color(m_player, pad, color) != 0;
}

bool ZTPlayerClass::SetVideoCrop_Player(double x, double y, double w, double h)
{
    return m_player && rsc_player_set_video_crop(m_player, x, y, w, h) != 0;
}

bool ZTPlayerClass::SetVideoAspectRatio_Player(unsigned int width, unsigned int height)
{
    return m_player && rsc_player_set_video_aspect_ratio(m_player, width, height) != 0;
}

bool ZTPlayerClass::SetVideoCropBorderAlpha_Player(unsigned int alpha)
{
    return m_player && rsc_player_set_video_crop_border_alpha(m_player, alpha) != 0;
}

bool ZTPlayerClass::EnableVideoCropBorder_Player(unsigned int on)
{
    return m_player && rsc_player_enable_video_crop_border(m_player, on) != 0;
}

bool ZTPlayerClass::SetVideoYOffset_Player(unsigned int value)
{
    return m_player && rsc_player_set_video_y_offset(m_player, value) != 0;
}

bool ZTPlayerClass::SetVideoSaturation_Player(unsigned int value)
{
    return m_player && rsc_player_set_video_saturation(m_player, value) != 0;
}

bool ZTPlayerClass::SetVideoContrast_Player(unsigned int value)
{
    return m_player && rsc_player_set_video_contrast(m_player, value) != 0;
}

bool ZTPlayerClass::SetVideoHue_Player(unsigned int value)
{
    return m_player && rsc_player_set_video_hue(m_player, value) != 0;
}

bool ZTPlayerClass::SetVideoWatermarkMaxCount_Player(unsigned int count)
{
    return m_player && rsc_player_set_watermark_max_count(m_player, count) != 0;
}

bool ZTPlayerClass::SetWatermarkIndex_Player(unsigned int slot)
{
    return m_player && rsc_player_set_watermark_index(m_player, slot) != 0;
}

bool ZTPlayerClass::SetWatermarkImageFile_Player(const char *path)
{
    return m_player && rsc_player_set_watermark_image_file(m_player, path) != 0;
}

bool ZTPlayerClass::SetWatermarkImageMaskFile_Player(const char *path)
{
    return m_player && rsc_player_set_watermark_image_mask_file(m_player, path) != 0;
}

bool ZTPlayerClass::SetWatermarkImageMirror_Player(unsigned int on)
{
    return m_player && rsc_player_set_watermark_image_mirror(m_player, on) != 0;
}

bool ZTPlayerClass::SetWatermarkImagePosition_Player(double x, double y)
{
    return m_player && rsc_player_set_watermark_image_position(m_player, x, y) != 0;
}

bool ZTPlayerClass::SetWatermarkImageSize_Player(double w, double h)
{
    return m_player && rsc_player_set_watermark_image_size(m_player, w, h) != 0;
}

bool ZTPlayerClass::SetWatermarkImageScale_Player(unsigned int sx, unsigned int sy)
{
    return m_player && rsc_player_set_watermark_image_scale(m_player, sx, sy) != 0;
}

bool ZTPlayerClass::SetWatermarkImageAngle_Player(int degrees)
{
    return m_player && rsc_player_set_watermark_image_angle(m_player, degrees) != 0;
}

bool ZTPlayerClass::SetWatermarkImageAlpha_Player(unsigned int alpha)
{
    return m_player && rsc_player_set_watermark_image_alpha(m_player, alpha) != 0;
}

bool ZTPlayerClass::SetWatermarkImageMixMode_Player(unsigned int mode)
{
    return m_player && rsc_player_set_watermark_image_mix_mode(m_player, mode) != 0;
}

bool ZTPlayerClass::SetWatermarkImageLoop_Player(unsigned int on)
{
    return m_player && rsc_player_set_watermark_image_loop(m_player, on) != 0;
}

bool ZTPlayerClass::SetWatermarkImageCrop_Player(double x, double y, double w, double h)
{
    return m_player && rsc_player_set_watermark_image_crop(m_player, x, y, w, h) != 0;
}

bool ZTPlayerClass::SetWatermarkImageShowTime_Player(unsigned long long a, unsigned long long b)
{
    return m_player && rsc_player_set_watermark_image_show_time(m_player, a, b) != 0;
}

bool ZTPlayerClass::SetWatermarkImageSplitTime_Player(unsigned long long a, unsigned long long b)
{
    return m_player && rsc_player_set_watermark_image_split_time(m_player, a, b) != 0;
}

bool ZTPlayerClass::EnableWatermarkImageBorder_Player(int on)
{
    return m_player && rsc_player_enable_watermark_image_border(m_player, uint32_t(on)) != 0;
}

bool ZTPlayerClass::EnableWatermarkImageBordert_Player(unsigned int on)
{
    return m_player && rsc_player_enable_watermark_image_border(m_player, on) != 0;
}

bool ZTPlayerClass::SetWatermarkBorderAlpha_Player(unsigned int alpha)
{
    return m_player && rsc_player_set_watermark_border_alpha(m_player, alpha) != 0;
}

bool ZTPlayerClass::SetWatermarkImageBrightness_Player(unsigned int value)
{
    return m_player && rsc_player_set_watermark_image_brightness(m_player, value) != 0;
}

bool ZTPlayerClass::SetWatermarkImageSaturation_Player(unsigned int value)
{
    return m_player && rsc_player_set_watermark_image_saturation(m_player, value) != 0;
}

bool ZTPlayerClass::SetWatermarkImageContrast_Player(unsigned int value)
{
    return m_player && rsc_player_set_watermark_image_contrast(m_player, value) != 0;
}

bool ZTPlayerClass::SetWatermarkImageHue_Player(unsigned int value)
{
    return m_player && rsc_player_set_watermark_image_hue(m_player, value) != 0;
}

bool ZTPlayerClass::SetWatermarkImageYOffset_Player(unsigned int value)
{
    return m_player && rsc_player_set_watermark_image_y_offset(m_player, value) != 0;
}

bool ZTPlayerClass::SetWatermarkText_Player(const char *text)
{
    return m_player && rsc_player_set_watermark_text(m_player, text) != 0;
}

bool ZTPlayerClass::SetWatermarkTextFont_Player(const char *family)
{
    return m_player && rsc_player_set_watermark_text_font(m_player, family) != 0;
}

bool ZTPlayerClass::SetWatermarkTextFontFile_Player(const char *path)
{
    return m_player && rsc_player_set_watermark_text_font_file(m_player, path) != 0;
}

bool ZTPlayerClass::SetWatermarkTextSize_Player(unsigned int size)
{
    return m_player && rsc_player_set_watermark_text_size(m_player, size) != 0;
}

bool ZTPlayerClass::SetWatermarkTextBold_Player(unsigned int on)
{
    return m_player && rsc_player_set_watermark_text_bold(m_player, on) != 0;
}

bool ZTPlayerClass::SetWatermarkTextItalic_Player(unsigned int on)
{
    return m_player && rsc_player_set_watermark_text_italic(m_player, on) != 0;
}

bool ZTPlayerClass::SetWatermarkTextUnderline_Player(unsigned int on)
{
    return m_player && rsc_player_set_watermark_text_underline(m_player, on) != 0;
}

bool ZTPlayerClass::SetWatermarkTextStrikeout_Player(unsigned int on)
{
    return m_player && rsc_player_set_watermark_text_strikeout(m_player, on) != 0;
}

bool ZTPlayerClass::SetWatermarkTextColor_Player(unsigned int color)
{
    return m_player && rsc_player_set_watermark_text_color(m_player, color) != 0;
}

bool ZTPlayerClass::SetWatermarkTextOutlineColor_Player(unsigned int color)
{
    return m_player && rsc_player_set_watermark_text_outline_color(m_player, color) != 0;
}

bool ZTPlayerClass::SetWatermarkTextShadowColor_Player(unsigned int color)
{
    return m_player && rsc_player_set_watermark_text_shadow_color(m_player, color) != 0;
}

bool ZTPlayerClass::SetWatermarkTextOutlineSize_Player(double size)
{
    return m_player && rsc_player_set_watermark_text_outline_size(m_player, size) != 0;
}

bool ZTPlayerClass::SetWatermarkTextShadowOffset_Player(double offset)
{
    return m_player && rsc_player_set_watermark_text_shadow_offset(m_player, offset) != 0;
}

bool ZTPlayerClass::SetWatermarkTextAlpha_Player(unsigned int alpha)
{
    return m_player && rsc_player_set_watermark_text_alpha(m_player, alpha) != 0;
}

bool ZTPlayerClass::SetWatermarkTextPosition_Player(double x, double y)
{
    return m_player && rsc_player_set_watermark_text_position(m_player, x, y) != 0;
}

bool ZTPlayerClass::SetWatermarkTextAngle_Player(int degrees)
{
    return m_player && rsc_player_set_watermark_text_angle(m_player, degrees) != 0;
}

bool ZTPlayerClass::SetWatermarkTextScale_Player(unsigned int sx, unsigned int sy)
{
    return m_player && rsc_player_set_watermark_text_scale(m_player, sx, sy) != 0;
}

bool ZTPlayerClass::SetWatermarkTextSpacingH_Player(double spacing)
{
    return m_player && rsc_player_set_watermark_text_spacing_h(m_player, spacing) != 0;
}

bool ZTPlayerClass::SetWatermarkTextSpacingV_Player(double spacing)
{
    return m_player && rsc_player_set_watermark_text_spacing_v(m_player, spacing) != 0;
}

bool ZTPlayerClass::EnableWatermarkTextBorder_Player(unsigned int on)
{
    return m_player && rsc_player_enable_watermark_text_border(m_player, on) != 0;
}

bool ZTPlayerClass::SetWatermarkTextLayerTopmost_Player(unsigned int on)
{
    return m_player && rsc_player_set_watermark_text_layer_topmost(m_player, on) != 0;
}

bool ZTPlayerClass::SetWatermarkTextShowTime_Player(unsigned long long a, unsigned long long b)
{
    return m_player && rsc_player_set_watermark_text_show_time(m_player, a, b) != 0;
}

bool ZTPlayerClass::SetWatermarkTextAlign_Player(unsigned int align)
{
    return m_player && rsc_player_set_watermark_text_align(m_player, align) != 0;
}

double ZTPlayerClass::GetWatermarkTextWidth_Player()
{
    return m_player ? rsc_player_watermark_text_width(m_player) : 0.0;
}

double ZTPlayerClass::GetWatermarkTextHeight_Player()
{
    return m_player ? rsc_player_watermark_text_height(m_player) : 0.0;
}

double ZTPlayerClass::GetWatermarkTextPosX_Player()
{
    return m_player ? rsc_player_watermark_text_pos_x(m_player) : 0.0;
}

double ZTPlayerClass::GetWatermarkTextPosY_Player()
{
    return m_player ? rsc_player_watermark_text_pos_y(m_player) : 0.0;
}

double ZTPlayerClass::GetWatermarkImageWidth_Player()
{
    return m_player ? rsc_player_watermark_image_width(m_player) : 0.0;
}

double ZTPlayerClass::GetWatermarkImageHeight_Player()
{
    return m_player ? rsc_player_watermark_image_height(m_player) : 0.0;
}

double ZTPlayerClass::GetWatermarkImagePosX_Player()
{
    return m_player ? rsc_player_watermark_image_pos_x(m_player) : 0.0;
}

double ZTPlayerClass::GetWatermarkImagePosY_Player()
{
    return m_player ? rsc_player_watermark_image_pos_y(m_player) : 0.0;
}

bool ZTPlayerClass::SetSubtlAlpha_Player(unsigned int alpha)
{
    return m_player && rsc_player_set_subtitle_alpha(m_player, alpha) != 0;
}

bool ZTPlayerClass::SetSubtlScale_Player(unsigned int sx, unsigned int sy)
{
    return m_player && rsc_player_set_subtitle_scale(m_player, sx, sy) != 0;
}

bool ZTPlayerClass::SetSubtlDelay_Player(long long delay)
{
    return m_player && rsc_player_set_subtitle_delay(m_player, delay) != 0;
}

bool ZTPlayerClass::SetSubtlTextFont_Player(const char *family)
{
    return m_player && rsc_player_set_subtitle_font(m_player, family) != 0;
}

bool ZTPlayerClass::SetSubtlTextFontFile_Player(const char *path)
{
    return m_player && rsc_player_set_subtitle_font_file(m_player, path) != 0;
}

bool ZTPlayerClass::SetSubtlTextSize_Player(unsigned int size)
{
    return m_player && rsc_player_set_subtitle_size(m_player, size) != 0;
}

bool ZTPlayerClass::SetSubtlTextBold_Player(unsigned int on)
{
    return m_player && rsc_player_set_subtitle_bold(m_player, on) != 0;
}

bool ZTPlayerClass::SetSubtlTextItalic_Player(unsigned int on)
{
    return m_player && rsc_player_set_subtitle_italic(m_player, on) != 0;
}

bool ZTPlayerClass::SetSubtlTextUnderline_Player(unsigned int on)
{
    return m_player && rsc_player_set_subtitle_underline(m_player, on) != 0;
}

bool ZTPlayerClass::SetSubtlTextStrikeout_Player(unsigned int on)
{
    return m_player && rsc_player_set_subtitle_strikeout(m_player, on) != 0;
}

bool ZTPlayerClass::SetSubtlTextColor_Player(unsigned int color)
{
    return m_player && rsc_player_set_subtitle_color(m_player, color) != 0;
}

bool ZTPlayerClass::SetSubtlTextShadowColor_Player(unsigned int color)
{
    return m_player && rsc_player_set_subtitle_shadow_color(m_player, color) != 0;
}

bool ZTPlayerClass::SetSubtlTextOutlineColor_Player(unsigned int color)
{
    return m_player && rsc_player_set_subtitle_outline_color(m_player, color) != 0;
}

bool ZTPlayerClass::SetSubtlTextShadowOffset_Player(double offset)
{
    return m_player && rsc_player_set_subtitle_shadow_offset(m_player, offset) != 0;
}

bool ZTPlayerClass::SetSubtlTextOutlineSize_Player(double size)
{
    return m_player && rsc_player_set_subtitle_outline_size(m_player, size) != 0;
}

bool ZTPlayerClass::SetSubtlTextAngle_Player(int degrees)
{
    return m_player && rsc_player_set_subtitle_angle(m_player, degrees) != 0;
}

bool ZTPlayerClass::SetSubtlTextAlign_Player(unsigned int align)
{
    return m_player && rsc_player_set_subtitle_align(m_player, align) != 0;
}

bool ZTPlayerClass::SetSubtlTextSpacingH_Player(double spacing)
{
    return m_player && rsc_player_set_subtitle_spacing_h(m_player, spacing) != 0;
}

bool ZTPlayerClass::SetSubtlTextSpacingV_Player(double spacing)
{
    return m_player && rsc_player_set_subtitle_spacing_v(m_player, spacing) != 0;
}

bool ZTPlayerClass::SetSubtlTextMarginH_Player(double margin)
{
    return m_player && rsc_player_set_subtitle_margin_h(m_player, margin) != 0;
}

bool ZTPlayerClass::SetSubtlTextMarginV_Player(double margin)
{
    return m_player && rsc_player_set_subtitle_margin_v(m_player, margin) != 0;
}

bool ZTPlayerClass::SetSubtlImageOffsetH_Player(double offset)
{
    return m_player && rsc_player_set_subtitle_image_offset_h(m_player, offset) != 0;
}

bool ZTPlayerClass::SetSubtlImageOffsetV_Player(double offset)
{
    return m_player && rsc_player_set_subtitle_image_offset_v(m_player, offset) != 0;
}

bool ZTPlayerClass::SetProgrIndex_Player(unsigned int index)
{
    return m_player && rsc_player_set_program_index(m_player, index) != 0;
}

bool ZTPlayerClass::SetVideoIndex_Player(unsigned int index)
{
    return m_player && rsc_player_set_video_index(m_player, index) != 0;
}

bool ZTPlayerClass::SetAudioIndex_Player(unsigned int index)
{
    return m_player && rsc_player_set_audio_index(m_player, index) != 0;
}

bool ZTPlayerClass::SetSubtlIndex_Player(unsigned int index)
{
    return m_player && rsc_player_set_subtitle_index(m_player, index) != 0;
}

bool ZTPlayerClass::SetSubtlFile_Player(const char *path)
{
    return m_player && rsc_player_set_subtitle_file(m_player, path) != 0;
}

QString ZTPlayerClass::GetFileError_Player()
{
    return m_player ? QString::fromUtf8(rsc_player_error(m_player)) : QString();
}

bool ZTPlayerClass::SetSubtlStream_Player(void *stream)
{
    return m_player && rsc_player_set_subtitle_stream(m_player, static_cast<rsc_memstream *>(stream)) != 0;
}

bool ZTPlayerClass::SetSubtlFileEx_Player(const char *path, unsigned int offset, unsigned int flags)
{
    return m_player && rsc_player_set_subtitle_file_ex(m_player, path, offset, flags) != 0;
}

bool ZTPlayerClass::SetSubtlStreamEx_Player(void *stream, unsigned int offset, unsigned int flags)
{
    return m_player &&
           rsc_player_set_subtitle_stream_ex(m_player, static_cast<rsc_memstream *>(stream), offset, flags) != 0;
}

bool ZTPlayerClass::EnableClosedCaption_Player(unsigned int on)
{
    return m_player && rsc_player_enable_closed_caption(m_player, on) != 0;
}

bool ZTPlayerClass::SetAudioBackgroundIndex_Player(unsigned int slot)
{
    return m_player && rsc_player_set_audio_background_index(m_player, slot) != 0;
}

bool ZTPlayerClass::SetAudioBackgroundFile_Player(const char *path)
{
    return m_player && rsc_player_set_audio_background_file(m_player, path) != 0;
}

bool ZTPlayerClass::SetAudioBackgroundLoop_Player(unsigned int on)
{
    return m_player && rsc_player_set_audio_background_loop(m_player, on) != 0;
}

bool ZTPlayerClass::SetAudioBackgroundMixMode_Player(unsigned int mode)
{
    return m_player && rsc_player_set_audio_background_mix_mode(m_player, mode) != 0;
}

bool ZTPlayerClass::SetAudioBackgroundWeight_Player(unsigned int weight)
{
    return m_player && rsc_player_set_audio_background_weight(m_player, weight) != 0;
}

bool ZTPlayerClass::SetAudioBackgroundVolume_Player(unsigned int volume)
{
    return m_player && rsc_player_set_audio_background_volume(m_player, volume) != 0;
}

bool ZTPlayerClass::SetAudioBackgroundShowTime_Player(unsigned long long a, unsigned long long b)
{
    return m_player && rsc_player_set_audio_background_show_time(m_player, a, b) != 0;
}

bool ZTPlayerClass::SetAudioBackgroundSplitTime_Player(unsigned long long a, unsigned long long b)
{
    return m_player && rsc_player_set_audio_background_split_time(m_player, a, b) != 0;
}

bool ZTPlayerClass::SetAudioBackgroundLast_Player(unsigned int on)
{
    return m_player && rsc_player_set_audio_background_last(m_player, on) != 0;
}

bool ZTPlayerClass::SetAudioBackgroundReset_Player()
{
    return m_player && rsc_player_set_audio_background_reset(m_player) != 0;
}

bool ZTPlayerClass::SetAudioBackgroundStream_Player(void *stream)
{
    return m_player && rsc_player_set_audio_background_stream(m_player, static_cast<rsc_memstream *>(stream)) != 0;
}

bool ZTPlayerClass::SetAudioBackgroundTrack_Player(void *track)
{
    return m_player && rsc_player_set_audio_background_track(m_player, static_cast<rsc_track *>(track)) != 0;
}

bool ZTPlayerClass::SetAudioBackgroundFileEx_Player(const char *path, unsigned int offset, unsigned int flags)
{
    return m_player && rsc_player_set_audio_background_file_ex(m_player, path, offset, flags) != 0;
}

bool ZTPlayerClass::SetAudioBackgroundStreamEx_Player(void *stream, unsigned int offset, unsigned int flags)
{
    return m_player && rsc_player_set_audio_background_stream_ex(m_player, static_cast<rsc_memstream *>(stream), offset,
                                                                 flags) != 0;
}

bool ZTPlayerClass::SetAudioBackgroundChannelMix_Player(unsigned int *map, unsigned int count)
{
    return m_player && rsc_player_set_audio_background_channel_mix(m_player, map, count) != 0;
}

bool ZTPlayerClass::SetAudioBackgroundEqualize_Player(double *frequencies, double *gains, unsigned int count)
{
    return m_player && rsc_player_set_audio_background_equalize(m_player, frequencies, gains, count) != 0;
}

bool ZTPlayerClass::SetAudioVolume_Player(unsigned long long volume)
{
    return m_player && rsc_player_set_audio_volume(m_player, volume) != 0;
}

bool ZTPlayerClass::SetAudioRate_Player(unsigned long long rate)
{
    return m_player && rsc_player_set_audio_rate(m_player, rate) != 0;
}

bool ZTPlayerClass::SetAudioEqualize_Player(double *frequencies, double *gains, unsigned int count)
{
    return m_player && rsc_player_set_audio_equalize(m_player, frequencies, gains, count) != 0;
}
