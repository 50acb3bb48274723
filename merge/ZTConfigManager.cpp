#include "ZTConfigManager.h"

#include "rscodec.h"

#include <cmath>

namespace {

rsc_edit *E(void *edit)
{
    return static_cast<rsc_edit *>(edit);
}

bool turned(int rotation)
{
    return rotation % 180 != 0;
}

} // namespace

QByteArray ZTConfigManager::fontForLibrary(const QByteArray &name)
{
    return name.startsWith('@') ? name.mid(1) : name;
}

int ZTConfigManager::hueForLibrary(int degrees)
{
    const int turn = (degrees % 360 + 360) % 360;
    return static_cast<int>(std::lround(turn / 1.8));
}

void ZTConfigManager::setEditConfig(void *edit, VEEditConfig config)
{
    if (!edit)
        return;
    rsc_edit *e = E(edit);
    rsc_edit_set_brightness(e, config.videoEffect.brightness);
    rsc_edit_set_saturation(e, config.videoEffect.saturation);
    rsc_edit_set_contrast(e, config.videoEffect.contrast);
    rsc_edit_set_hue(e, hueForLibrary(config.videoEffect.hue));

    const VESubtitleValue_Info &sv = config.subtitleValue;
    rsc_edit_set_program_index(e, sv.extraIndex);
    rsc_edit_set_audio_track(e, sv.audioIndex);
    if (sv.subtitleRow <= sv.subtitleCount)
        rsc_edit_set_subtitle_stream(e, sv.subtitleRow - 1);
    else if (sv.subtitleRow == sv.subtitleCount + 1)
        rsc_edit_set_closed_caption(e, 1);
    else
        rsc_edit_set_subtitle_file(e, sv.subtitleFile.constData());

    setConfigSubtitleSettings(edit, config.subtitle);
    rsc_edit_set_subtitle_mode(e, 3);

    setConfigWatermarkSettings(edit, config.watermark, 0);
    setConfigWatermarkSettings(edit, config.effectOverlay, 1);
    setConfigWatermarkSettings(edit, config.frameOverlay, 2);
    setConfigAudioBackgroundSettings(edit, config.audioBackground, 0);
    setConfigCropSettings(edit, config.crop, config.resolutionWidth, config.resolutionHeight);
    setAudioSettings(edit, config.audio); // the copy owns fresh equaliser arrays
}

void ZTConfigManager::setConfigSubtitleSettings(void *edit, VESubtitleSettings s)
{
    if (!edit)
        return;
    rsc_edit *e = E(edit);
    rsc_edit_set_subtitle_alpha(e, s.alpha);
    rsc_edit_set_subtitle_scale(e, s.scaleX, s.scaleY);
    rsc_edit_set_subtitle_delay(e, s.delay);
    rsc_edit_set_subtitle_font(e, fontForLibrary(s.fontName).constData());
    rsc_edit_set_subtitle_bold(e, s.bold);
    rsc_edit_set_subtitle_italic(e, s.italic);
    rsc_edit_set_subtitle_underline(e, s.underline);
    rsc_edit_set_subtitle_strikeout(e, s.strikeout);
    rsc_edit_set_subtitle_size(e, s.fontSize);
    rsc_edit_set_subtitle_color(e, s.color);
    rsc_edit_set_subtitle_shadow_color(e, s.shadowColor);
    rsc_edit_set_subtitle_outline_color(e, s.outlineColor);
    rsc_edit_set_subtitle_shadow_offset(e, s.shadowOffset);
    rsc_edit_set_subtitle_outline_size(e, s.outlineSize);
    rsc_edit_set_subtitle_margin_h(e, s.marginH);
    rsc_edit_set_subtitle_margin_v(e, s.marginV);
    rsc_edit_set_subtitle_align(e, s.align);
    rsc_edit_set_subtitle_spacing_h(e, s.spacingH);
    rsc_edit_set_subtitle_spacing_v(e, s.spacingV);
}

void ZTConfigManager::setConfigWatermarkSettings(void *edit, VEWatermarkSettings w, int slot)
{
    if (!edit)
        return;
    rsc_edit *e = E(edit);
    rsc_edit_set_watermark_slot(e, slot);
    const VEWatermarkImageSettings &img = w.image;
    if (!img.imagePath.isEmpty()) {
        rsc_edit_set_watermark_image_file(e, img.imagePath.constData());
        rsc_edit_set_watermark_image_mask_file(e, img.maskPath.constData());
        rsc_edit_set_watermark_image_mirror(e, img.mirror);
        rsc_edit_set_watermark_image_position(e, img.posX, img.posY);
        rsc_edit_set_watermark_image_scale(e, img.scaleX, img.scaleY);
        rsc_edit_set_watermark_image_angle(e, img.angle);
        rsc_edit_set_watermark_image_alpha(e, img.alpha);
        rsc_edit_set_watermark_image_mix_mode(e, img.mixMode);
        rsc_edit_set_watermark_image_size(e, img.width, img.height);
        rsc_edit_set_watermark_image_loop(e, img.loop);
        rsc_edit_set_watermark_image_crop(e, img.cropRect.x, img.cropRect.y, img.cropRect.width, img.cropRect.height);
    }
    const VEWatermarkTextSettings &t = w.text;
    if (!t.text.isEmpty()) {
        rsc_edit_set_watermark_text(e, t.text.constData());
        rsc_edit_set_watermark_text_alpha(e, t.alpha);
        rsc_edit_set_watermark_text_position(e, t.posX, t.posY);
        rsc_edit_set_watermark_text_angle(e, t.angle);
        rsc_edit_set_watermark_text_bold(e, t.bold);
        rsc_edit_set_watermark_text_size(e, t.fontSize);
        rsc_edit_set_watermark_text_font(e, fontForLibrary(t.fontName).constData());
        rsc_edit_set_watermark_text_color(e, t.color);
        rsc_edit_set_watermark_text_outline_color(e, t.outlineColor);
        rsc_edit_set_watermark_text_outline_size(e, t.outlineSize);
        rsc_edit_set_watermark_text_shadow_color(e, t.shadowColor);
        rsc_edit_set_watermark_text_shadow_offset(e, t.shadowOffset);
        rsc_edit_set_watermark_text_italic(e, t.italic);
        rsc_edit_set_watermark_text_underline(e, t.underline);
        rsc_edit_set_watermark_text_strikeout(e, t.strikeout);
        rsc_edit_set_watermark_text_scale(e, t.scaleX, t.scaleY);
        rsc_edit_set_watermark_text_layer_topmost(e, t.layerTopmost);
        rsc_edit_set_watermark_text_spacing_h(e, t.spacingH);
        rsc_edit_set_watermark_text_spacing_v(e, t.spacingV);
    }
}

void ZTConfigManager::setConfigAudioBackgroundSettings(void *edit, VEAudioBackgroundSettings a, int slot)
{
    if (!edit)
        return;
    rsc_edit *e = E(edit);
    rsc_edit_set_audio_background_slot(e, slot);
    if (a.filePath.isEmpty())
        return;
    rsc_edit_set_audio_background_file(e, a.filePath.constData());
    rsc_edit_set_audio_background_loop(e, a.loop);
    rsc_edit_set_audio_background_mix_mode(e, a.mixMode);
    rsc_edit_set_audio_background_volume(e, a.volume);
    rsc_edit_set_audio_background_weight(e, a.weight);
    rsc_edit_set_audio_background_show_time(e, a.showTime.first, a.showTime.second);
    rsc_edit_set_audio_background_split_time(e, a.splitTime.first, a.splitTime.second);
}

void ZTConfigManager::setConfigCropSettings(void *edit, VECropSettings c, int videoWidth, int videoHeight)
{
    if (!edit)
        return;
    rsc_edit *e = E(edit);
    const bool isTurned = turned(c.rotation);
    if (c.aspectMode == 2 && isTurned)
        rsc_edit_set_aspect(e, c.aspectHeight, c.aspectWidth);
    else
        rsc_edit_set_aspect(e, c.aspectWidth, c.aspectHeight);
    rsc_edit_set_rotation(e, c.rotation);
    rsc_edit_set_mirror(e, c.mirror);

    const VERect *rect = &c.cropRect;
    if (c.padEnabled != 0 && c.panScan == 1) {
        if (c.aspectMode != 2) {
            if (isTurned)
                rsc_edit_set_aspect(e, videoHeight, videoWidth);
            else
                rsc_edit_set_aspect(e, videoWidth, videoHeight);
            rect = &c.panScanRect;
        }
        rsc_edit_set_pad(e, 0, c.padColor);
    } else {
        rsc_edit_set_pad(e, c.aspectMode == 2 ? 0 : c.padEnabled, c.padColor);
    }
    rsc_edit_set_crop(e, rect->x, rect->y, rect->width, rect->height);
}

void ZTConfigManager::setAudioSettings(void *edit, VEAudioSettings a)
{
    rsc_edit *e = E(edit);
    rsc_edit_set_volume(e, a.volume);
    rsc_edit_set_rate(e, a.rate);
    rsc_edit_set_speed(e, a.speed);
    if (edit)
        setConfigEqualizeSettings(edit, a.equalize);
}

void ZTConfigManager::setConfigEqualizeSettings(void *edit, VEEqualizeSettings s)
{
    if (!edit)
        return;
    // `s` is our own copy; the library reads the arrays during the call.
    rsc_edit_set_equalizer(E(edit), s.frequencies, s.gains, s.count);
}
