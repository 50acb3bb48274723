// The edit configuration of the C API: every setter stores its values in a plain rsc::edit::EditConfig,
// which jobs copy when they are opened or given a task (the caller may release the handle at once).
#include "edit_handle.h"

#include "codecids_table.h"
#include "filter_inputs.h"
#include "rscodec.h"

#include <algorithm>
#include <new>

namespace {

std::string text(const char *utf8)
{
    return utf8 ? std::string(utf8) : std::string();
}

rsc::edit::PictureItem &picture(rsc_edit *e)
{
    return e->cfg.overlays[e->cfg.currentSlot].picture;
}

rsc::edit::TextItem &textItem(rsc_edit *e)
{
    return e->cfg.overlays[e->cfg.currentSlot].text;
}

} // namespace

extern "C" {

rsc_edit *rsc_edit_create(void)
{
    return new (std::nothrow) rsc_edit;
}

void rsc_edit_release(rsc_edit *edit)
{
    delete edit;
}

int rsc_edit_enable_video_edits(rsc_edit *e, int on)
{
    if (!e)
        return 0;
    e->cfg.codec.videoEdits = on != 0;
    return 1;
}

int rsc_edit_enable_audio_edits(rsc_edit *e, int on)
{
    if (!e)
        return 0;
    e->cfg.codec.audioEdits = on != 0;
    return 1;
}

int rsc_edit_set_video_codec(rsc_edit *e, uint32_t codec_id)
{
    if (!e)
        return 0;
    e->cfg.codec.videoCodec = static_cast<int>(codec_id);
    const char *name = (codec_id == 0 || codec_id == 0xFFFFFFFFu) ? nullptr : rsc::ffmpegNameForCodecId(codec_id);
    if (codec_id != 0 && codec_id != 0xFFFFFFFFu && !name)
        return 0;
    e->cfg.codec.videoCodecName = name ? name : "";
    return 1;
}

int rsc_edit_set_audio_codec(rsc_edit *e, uint32_t codec_id)
{
    if (!e)
        return 0;
    e->cfg.codec.audioCodec = static_cast<int>(codec_id);
    const char *name = (codec_id == 0 || codec_id == 0xFFFFFFFFu) ? nullptr : rsc::ffmpegNameForCodecId(codec_id);
    if (codec_id != 0 && codec_id != 0xFFFFFFFFu && !name)
        return 0;
    e->cfg.codec.audioCodecName = name ? name : "";
    return 1;
}

int rsc_edit_set_video_profile_mode(rsc_edit *e, int mode)
{
    if (!e)
        return 0;
    e->cfg.codec.profileMode = mode;
    return 1;
}

int rsc_edit_set_video_profile(rsc_edit *e, int profile)
{
    if (!e)
        return 0;
    e->cfg.codec.profile = profile;
    return 1;
}

int rsc_edit_set_video_size(rsc_edit *e, uint32_t width, uint32_t height)
{
    if (!e)
        return 0;
    if (width > 16384 || height > 16384)
        return 0;
    e->cfg.codec.width = static_cast<int>(width);
    e->cfg.codec.height = static_cast<int>(height);
    return 1;
}

int rsc_edit_set_frame_rate(rsc_edit *e, uint32_t num, uint32_t den)
{
    if (!e)
        return 0;
    if (den == 0 && num != 0)
        return 0;
    e->cfg.codec.frameRateNum = num;
    e->cfg.codec.frameRateDen = den;
    return 1;
}

int rsc_edit_set_video_bit_rate(rsc_edit *e, uint32_t bits_per_second)
{
    if (!e)
        return 0;
    e->cfg.codec.videoBitRate = bits_per_second;
    return 1;
}

int rsc_edit_set_audio_channels(rsc_edit *e, uint32_t channels)
{
    if (!e)
        return 0;
    if (channels > 8)
        return 0;
    e->cfg.codec.channels = static_cast<int>(channels);
    return 1;
}

int rsc_edit_set_audio_sample_rate(rsc_edit *e, uint32_t hertz)
{
    if (!e)
        return 0;
    if (hertz > 384000)
        return 0;
    e->cfg.codec.sampleRate = static_cast<int>(hertz);
    return 1;
}

int rsc_edit_set_audio_bit_rate(rsc_edit *e, uint32_t bits_per_second)
{
    if (!e)
        return 0;
    e->cfg.codec.audioBitRate = bits_per_second;
    return 1;
}

int rsc_edit_set_video_quality(rsc_edit *e, int quality)
{
    if (!e)
        return 0;
    e->cfg.codec.videoQuality = quality;
    return 1;
}

int rsc_edit_set_audio_quality(rsc_edit *e, int quality)
{
    if (!e)
        return 0;
    e->cfg.codec.audioQuality = quality;
    return 1;
}

int rsc_edit_set_encoder_options(rsc_edit *e, const char *options)
{
    if (!e)
        return 0;
    e->cfg.codec.options = text(options);
    return 1;
}

int rsc_edit_set_brightness(rsc_edit *e, int value)
{
    if (!e)
        return 0;
    e->cfg.brightness = value;
    return 1;
}

int rsc_edit_set_saturation(rsc_edit *e, int value)
{
    if (!e)
        return 0;
    e->cfg.saturation = value;
    return 1;
}

int rsc_edit_set_contrast(rsc_edit *e, int value)
{
    if (!e)
        return 0;
    e->cfg.contrast = value;
    return 1;
}

int rsc_edit_set_hue(rsc_edit *e, int value)
{
    if (!e)
        return 0;
    e->cfg.hue = value;
    return 1;
}

int rsc_edit_set_program_index(rsc_edit *e, int index)
{
    if (!e)
        return 0;
    e->cfg.programIndex = index;
    return 1;
}

int rsc_edit_set_audio_track(rsc_edit *e, int index)
{
    if (!e)
        return 0;
    e->cfg.audioTrack = index;
    return 1;
}

int rsc_edit_set_subtitle_stream(rsc_edit *e, int index)
{
    if (!e)
        return 0;
    e->cfg.subtitleStream = index;
    return 1;
}

int rsc_edit_set_closed_caption(rsc_edit *e, int on)
{
    if (!e)
        return 0;
    e->cfg.closedCaptions = on != 0;
    return 1;
}

int rsc_edit_set_subtitle_file(rsc_edit *e, const char *utf8_path)
{
    if (!e)
        return 0;
    e->cfg.subtitleFile = text(utf8_path);
    return 1;
}

int rsc_edit_set_subtitle_mode(rsc_edit *e, int mode)
{
    if (!e)
        return 0;
    e->cfg.subtitleMode = mode;
    return 1;
}

int rsc_edit_set_subtitle_alpha(rsc_edit *e, uint32_t alpha)
{
    if (!e)
        return 0;
    e->cfg.subtitle.alpha = std::min(alpha, 255u);
    return 1;
}

int rsc_edit_set_subtitle_scale(rsc_edit *e, uint32_t sx, uint32_t sy)
{
    if (!e)
        return 0;
    e->cfg.subtitle.scaleX = sx;
    e->cfg.subtitle.scaleY = sy;
    return 1;
}

int rsc_edit_set_subtitle_delay(rsc_edit *e, int64_t delay)
{
    if (!e)
        return 0;
    e->cfg.subtitle.delayUs = delay;
    return 1;
}

int rsc_edit_set_subtitle_font(rsc_edit *e, const char *family)
{
    if (!e)
        return 0;
    e->cfg.subtitle.fontName = text(family);
    return 1;
}

int rsc_edit_set_subtitle_bold(rsc_edit *e, uint32_t on)
{
    if (!e)
        return 0;
    e->cfg.subtitle.bold = on != 0;
    return 1;
}

int rsc_edit_set_subtitle_italic(rsc_edit *e, uint32_t on)
{
    if (!e)
        return 0;
    e->cfg.subtitle.italic = on != 0;
    return 1;
}

int rsc_edit_set_subtitle_underline(rsc_edit *e, uint32_t on)
{
    if (!e)
        return 0;
    e->cfg.subtitle.underline = on != 0;
    return 1;
}

int rsc_edit_set_subtitle_strikeout(rsc_edit *e, uint32_t on)
{
    if (!e)
        return 0;
    e->cfg.subtitle.strikeout = on != 0;
    return 1;
}

int rsc_edit_set_subtitle_size(rsc_edit *e, uint32_t size)
{
    if (!e)
        return 0;
    e->cfg.subtitle.fontSize = std::clamp(size, 1u, unsigned(rsc::edit::kMaxFontSize)); // as the player takes it
    return 1;
}

int rsc_edit_set_subtitle_color(rsc_edit *e, uint32_t argb)
{
    if (!e)
        return 0;
    e->cfg.subtitle.color = argb;
    return 1;
}

int rsc_edit_set_subtitle_shadow_color(rsc_edit *e, uint32_t argb)
{
    if (!e)
        return 0;
    e->cfg.subtitle.shadowColor = argb;
    return 1;
}

int rsc_edit_set_subtitle_outline_color(rsc_edit *e, uint32_t argb)
{
    if (!e)
        return 0;
    e->cfg.subtitle.outlineColor = argb;
    return 1;
}

int rsc_edit_set_subtitle_shadow_offset(rsc_edit *e, double offset)
{
    if (!e)
        return 0;
    e->cfg.subtitle.shadowOffset = offset;
    return 1;
}

int rsc_edit_set_subtitle_outline_size(rsc_edit *e, double size)
{
    if (!e)
        return 0;
    e->cfg.subtitle.outlineSize = size;
    return 1;
}

int rsc_edit_set_subtitle_margin_h(rsc_edit *e, double margin)
{
    if (!e)
        return 0;
    e->cfg.subtitle.marginH = margin;
    return 1;
}

int rsc_edit_set_subtitle_margin_v(rsc_edit *e, double margin)
{
    if (!e)
        return 0;
    e->cfg.subtitle.marginV = margin;
    return 1;
}

int rsc_edit_set_subtitle_align(rsc_edit *e, uint32_t align)
{
    if (!e)
        return 0;
    e->cfg.subtitle.align = align;
    return 1;
}

int rsc_edit_set_subtitle_spacing_h(rsc_edit *e, double spacing)
{
    if (!e)
        return 0;
    e->cfg.subtitle.spacingH = spacing;
    return 1;
}

int rsc_edit_set_subtitle_spacing_v(rsc_edit *e, double spacing)
{
    if (!e)
        return 0;
    e->cfg.subtitle.spacingV = spacing;
    return 1;
}

int rsc_edit_set_watermark_slot(rsc_edit *e, int slot)
{
    if (!e)
        return 0;
    if (slot < 0 || slot > 2)
        return 0;
    e->cfg.currentSlot = slot;
    return 1;
}

int rsc_edit_set_watermark_image_file(rsc_edit *e, const char *utf8_path)
{
    if (!e)
        return 0;
    picture(e).file = text(utf8_path);
    picture(e).set = !picture(e).file.empty();
    return 1;
}

int rsc_edit_set_watermark_image_mask_file(rsc_edit *e, const char *utf8_path)
{
    if (!e)
        return 0;
    picture(e).mask = text(utf8_path);
    return 1;
}

int rsc_edit_set_watermark_image_mirror(rsc_edit *e, uint32_t on)
{
    if (!e)
        return 0;
    picture(e).mirror = on != 0;
    return 1;
}

int rsc_edit_set_watermark_image_position(rsc_edit *e, double x, double y)
{
    if (!e)
        return 0;
    picture(e).posX = x;
    picture(e).posY = y;
    return 1;
}

int rsc_edit_set_watermark_image_scale(rsc_edit *e, uint32_t sx, uint32_t sy)
{
    if (!e)
        return 0;
    picture(e).scaleX = sx;
    picture(e).scaleY = sy;
    return 1;
}

int rsc_edit_set_watermark_image_angle(rsc_edit *e, int degrees)
{
    if (!e)
        return 0;
    picture(e).angle = degrees;
    return 1;
}

int rsc_edit_set_watermark_image_alpha(rsc_edit *e, uint32_t alpha)
{
    if (!e)
        return 0;
    picture(e).alpha = std::min(alpha, 255u);
    return 1;
}

int rsc_edit_set_watermark_image_mix_mode(rsc_edit *e, uint32_t mode)
{
    if (!e)
        return 0;
    picture(e).mixMode = mode;
    return 1;
}

int rsc_edit_set_watermark_image_size(rsc_edit *e, double w, double h)
{
    if (!e)
        return 0;
    picture(e).width = w;
    picture(e).height = h;
    return 1;
}

int rsc_edit_set_watermark_image_loop(rsc_edit *e, uint32_t on)
{
    if (!e)
        return 0;
    picture(e).loop = on != 0;
    return 1;
}

int rsc_edit_set_watermark_image_crop(rsc_edit *e, double x, double y, double w, double h)
{
    if (!e)
        return 0;
    picture(e).crop = rsc::edit::Rect{x, y, w, h};
    return 1;
}

int rsc_edit_set_watermark_text(rsc_edit *e, const char *utf8_text)
{
    if (!e)
        return 0;
    textItem(e).text = text(utf8_text);
    textItem(e).set = !textItem(e).text.empty();
    return 1;
}

int rsc_edit_set_watermark_text_alpha(rsc_edit *e, uint32_t alpha)
{
    if (!e)
        return 0;
    textItem(e).alpha = std::min(alpha, 255u);
    return 1;
}

int rsc_edit_set_watermark_text_position(rsc_edit *e, double x, double y)
{
    if (!e)
        return 0;
    textItem(e).posX = x;
    textItem(e).posY = y;
    return 1;
}

int rsc_edit_set_watermark_text_angle(rsc_edit *e, int degrees)
{
    if (!e)
        return 0;
    textItem(e).angle = degrees;
    return 1;
}

int rsc_edit_set_watermark_text_bold(rsc_edit *e, uint32_t on)
{
    if (!e)
        return 0;
    textItem(e).bold = on != 0;
    return 1;
}

int rsc_edit_set_watermark_text_size(rsc_edit *e, uint32_t size)
{
    if (!e)
        return 0;
    textItem(e).fontSize = std::clamp(size, 1u, unsigned(rsc::edit::kMaxFontSize));
    return 1;
}

int rsc_edit_set_watermark_text_font(rsc_edit *e, const char *family)
{
    if (!e)
        return 0;
    textItem(e).fontName = text(family);
    return 1;
}

int rsc_edit_set_watermark_text_color(rsc_edit *e, uint32_t argb)
{
    if (!e)
        return 0;
    textItem(e).color = argb;
    return 1;
}

int rsc_edit_set_watermark_text_outline_color(rsc_edit *e, uint32_t argb)
{
    if (!e)
        return 0;
    textItem(e).outlineColor = argb;
    return 1;
}

int rsc_edit_set_watermark_text_outline_size(rsc_edit *e, double size)
{
    if (!e)
        return 0;
    textItem(e).outlineSize = size;
    return 1;
}

int rsc_edit_set_watermark_text_shadow_color(rsc_edit *e, uint32_t argb)
{
    if (!e)
        return 0;
    textItem(e).shadowColor = argb;
    return 1;
}

int rsc_edit_set_watermark_text_shadow_offset(rsc_edit *e, double offset)
{
    if (!e)
        return 0;
    textItem(e).shadowOffset = offset;
    return 1;
}

int rsc_edit_set_watermark_text_italic(rsc_edit *e, uint32_t on)
{
    if (!e)
        return 0;
    textItem(e).italic = on != 0;
    return 1;
}

int rsc_edit_set_watermark_text_underline(rsc_edit *e, uint32_t on)
{
    if (!e)
        return 0;
    textItem(e).underline = on != 0;
    return 1;
}

int rsc_edit_set_watermark_text_strikeout(rsc_edit *e, uint32_t on)
{
    if (!e)
        return 0;
    textItem(e).strikeout = on != 0;
    return 1;
}

int rsc_edit_set_watermark_text_scale(rsc_edit *e, uint32_t sx, uint32_t sy)
{
    if (!e)
        return 0;
    textItem(e).scaleX = sx;
    textItem(e).scaleY = sy;
    return 1;
}

int rsc_edit_set_watermark_text_layer_topmost(rsc_edit *e, uint32_t on)
{
    if (!e)
        return 0;
    textItem(e).layerTopmost = on != 0;
    return 1;
}

int rsc_edit_set_watermark_text_spacing_h(rsc_edit *e, double spacing)
{
    if (!e)
        return 0;
    textItem(e).spacingH = spacing;
    return 1;
}

int rsc_edit_set_watermark_text_spacing_v(rsc_edit *e, double spacing)
{
    if (!e)
        return 0;
    textItem(e).spacingV = spacing;
    return 1;
}

int rsc_edit_set_audio_background_slot(rsc_edit *e, int slot)
{
    if (!e)
        return 0;
    if (slot != 0)
        return 0;
    e->cfg.currentAudioSlot = slot;
    return 1;
}

int rsc_edit_set_audio_background_file(rsc_edit *e, const char *utf8_path)
{
    if (!e)
        return 0;
    e->cfg.background[0].file = text(utf8_path);
    return 1;
}

int rsc_edit_set_audio_background_loop(rsc_edit *e, uint32_t on)
{
    if (!e)
        return 0;
    e->cfg.background[0].loop = on != 0;
    return 1;
}

int rsc_edit_set_audio_background_mix_mode(rsc_edit *e, uint32_t mode)
{
    if (!e)
        return 0;
    e->cfg.background[0].mixMode = mode;
    return 1;
}

int rsc_edit_set_audio_background_volume(rsc_edit *e, uint32_t volume)
{
    if (!e)
        return 0;
    e->cfg.background[0].volume = volume;
    return 1;
}

int rsc_edit_set_audio_background_weight(rsc_edit *e, uint32_t weight)
{
    if (!e)
        return 0;
    e->cfg.background[0].weight = std::min(weight, 100u);
    return 1;
}

int rsc_edit_set_audio_background_show_time(rsc_edit *e, uint64_t start, uint64_t length)
{
    if (!e)
        return 0;
    e->cfg.background[0].showTimeUs = start;
    e->cfg.background[0].showTime2 = length;
    return 1;
}

int rsc_edit_set_audio_background_split_time(rsc_edit *e, uint64_t a, uint64_t b)
{
    if (!e)
        return 0;
    e->cfg.background[0].splitTime1 = a;
    e->cfg.background[0].splitTime2 = b;
    return 1;
}

int rsc_edit_set_aspect(rsc_edit *e, int width, int height)
{
    if (!e)
        return 0;
    e->cfg.aspectW = std::max(0, width);
    e->cfg.aspectH = std::max(0, height);
    return 1;
}

int rsc_edit_set_rotation(rsc_edit *e, int degrees)
{
    if (!e)
        return 0;
    if (degrees % 90 != 0)
        return 0;
    e->cfg.rotation = ((degrees % 360) + 360) % 360;
    return 1;
}

int rsc_edit_set_mirror(rsc_edit *e, int on)
{
    if (!e)
        return 0;
    e->cfg.mirror = on != 0;
    return 1;
}

int rsc_edit_set_pad(rsc_edit *e, int on, uint32_t argb)
{
    if (!e)
        return 0;
    e->cfg.padEnabled = on != 0;
    e->cfg.padColor = argb;
    return 1;
}

int rsc_edit_set_crop(rsc_edit *e, double x, double y, double w, double h)
{
    if (!e)
        return 0;
    if (!(w > 0.0) || !(h > 0.0))
        return 0;
    e->cfg.crop = rsc::edit::Rect{x, y, w, h};
    return 1;
}

int rsc_edit_set_volume(rsc_edit *e, uint32_t percent)
{
    if (!e)
        return 0;
    e->cfg.volume = percent;
    return 1;
}

int rsc_edit_set_rate(rsc_edit *e, uint32_t percent)
{
    if (!e)
        return 0;
    if (percent == 0)
        return 0;
    e->cfg.rate = rsc::edit::EditConfig::heldPace(percent);
    return 1;
}

int rsc_edit_set_speed(rsc_edit *e, uint32_t percent)
{
    if (!e)
        return 0;
    if (percent == 0)
        return 0;
    e->cfg.speed = rsc::edit::EditConfig::heldPace(percent);
    return 1;
}

int rsc_edit_set_equalizer(rsc_edit *e, const double *frequencies, const double *gains, int count)
{
    if (!e)
        return 0;
    if (count < 0 || (count > 0 && (!frequencies || !gains)))
        return 0;
    e->cfg.eqFrequencies.assign(frequencies, frequencies + count);
    e->cfg.eqGains.assign(gains, gains + count);
    return 1;
}

int rsc_edit_add_chapter(rsc_edit *e, uint64_t start, uint64_t duration, const char *utf8_title)
{
    if (!e)
        return 0;
    if (duration == 0)
        return 0;
    e->cfg.chapters.push_back(rsc::edit::Chapter{start, duration, text(utf8_title)});
    return 1;
}

} // extern "C"
