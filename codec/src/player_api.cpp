// The player calls of rscodec.h over rsc::Player. Setters of the live edits write into the player's edit
// configuration (the same values the jobs' edit configuration holds); calls the program never makes and
// the player does not implement answer 0.
#include "filter_inputs.h"
#include "frame_object.h"
#include "memstream_reader.h"
#include "player_handle.h"
#include "rscodec.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

using rsc::Player;
using rsc::edit::EditConfig;
using rsc::edit::PictureItem;
using rsc::edit::TextItem;

namespace {

Player *P(rsc_player *p)
{
    return p ? p->impl.get() : nullptr;
}

template <typename F> int editAll(rsc_player *p, F change)
{
    Player *pl = P(p);
    if (!pl)
        return 0;
    pl->edit([&](EditConfig &c) { change(c); });
    return 1;
}

template <typename F> int editPicture(rsc_player *p, F change)
{
    Player *pl = P(p);
    if (!pl)
        return 0;
    const int slot = pl->watermarkSlot();
    pl->edit([&](EditConfig &c) { change(c.overlays[slot].picture); });
    return 1;
}

template <typename F> int editText(rsc_player *p, F change)
{
    Player *pl = P(p);
    if (!pl)
        return 0;
    const int slot = pl->watermarkSlot();
    pl->edit([&](EditConfig &c) { change(c.overlays[slot].text); });
    return 1;
}

template <typename F> int editBackground(rsc_player *p, F change)
{
    Player *pl = P(p);
    if (!pl)
        return 0;
    const int slot = pl->backgroundSlot();
    pl->edit([&](EditConfig &c) { change(c.background[slot]); });
    return 1;
}

// The picture adjustments arrive unsigned; a brightness below zero comes as its two's complement.
int adjustment(uint32_t value)
{
    return std::clamp(static_cast<int32_t>(value), -255, 255);
}

std::string text(const char *s)
{
    return s ? std::string(s) : std::string();
}

// False when the edit pipeline cannot use the file (it is refused, and rsc_player_error says why); "" is
// always taken (it removes the file).
bool usable(rsc_player *p, const std::string &path, rsc::edit::InputUse use)
{
    if (!P(p))
        return false;
    p->error = path.empty() ? std::string() : rsc::edit::inputProblem(path, use);
    return p->error.empty();
}

// The stream's bytes as a file the pipeline can read; empty for no player, no stream or no bytes.
std::string streamCopy(rsc_player *p, const rsc_memstream *stream, Player::StreamUse use)
{
    if (!P(p) || !stream || !stream->data || stream->size == 0)
        return {};
    return P(p)->keepStreamCopy(use, std::string(reinterpret_cast<const char *>(stream->data), stream->size));
}

unsigned char *handOut(rsc_player *p, const std::vector<uint8_t> &bytes)
{
    if (bytes.empty())
        return nullptr;
    auto *buf = new (std::nothrow) unsigned char[bytes.size()];
    if (!buf)
        return nullptr;
    std::memcpy(buf, bytes.data(), bytes.size());
    std::lock_guard<std::mutex> lock(p->buffersMutex);
    p->buffers.emplace(buf, static_cast<uint32_t>(bytes.size()));
    return buf;
}

int takeBack(rsc_player *p, unsigned char *buf)
{
    if (!p || !buf)
        return 0;
    {
        std::lock_guard<std::mutex> lock(p->buffersMutex);
        if (p->buffers.erase(buf) == 0)
            return 0;
    }
    delete[] buf;
    return 1;
}

// Frames reach the handlers as rsc_frame objects, converted when the handlers take another format.
rsc::FrameDeliverer makeDeliverer()
{
    auto converter = std::make_shared<rsc::FrameConverter>();
    return [converter](const rsc::FrameHandler &h, AVFrame *frame) -> unsigned int {
        rsc_frame *f = converter->wrap(frame);
        if (!f)
            return 0;
        const unsigned int used = h.fn(h.user, f);
        rsc_frame_release(f);
        return used;
    };
}

} // namespace

extern "C" {

// ------------------------------------------------------------------------------------------ lifecycle

rsc_player *rsc_player_create(uint32_t flags)
{
    auto *p = new (std::nothrow) rsc_player;
    if (!p)
        return nullptr;
    p->impl = std::make_shared<Player>((flags & RSC_CREATE_AUDIO_OUTPUT) != 0);
    p->impl->setDeliverer(makeDeliverer());
    return p;
}

rsc_player *rsc_player_reference(rsc_player *player)
{
    if (!player || !player->impl)
        return nullptr;
    auto *p = new (std::nothrow) rsc_player;
    if (!p)
        return nullptr;
    p->impl = player->impl;
    return p;
}

void rsc_player_release(rsc_player *player)
{
    if (!player)
        return;
    {
        std::lock_guard<std::mutex> lock(player->buffersMutex);
        for (const auto &b : player->buffers)
            delete[] b.first;
        player->buffers.clear();
    }
    delete player; // the player itself goes with its last handle
}

int rsc_player_set_audio_device(rsc_player *player, const char *utf8_name)
{
    if (!P(player))
        return 0;
    P(player)->setAudioDevice(text(utf8_name));
    return 1;
}

int rsc_player_open(rsc_player *player, const char *utf8_path, uint32_t preview_width, uint32_t preview_height,
                    uint32_t, uint32_t)
{
    // A preview larger than any screen is a wrong size, not a picture to allocate.
    constexpr uint32_t kMaxPreviewSide = 8192;
    if (!P(player) || !utf8_path || !*utf8_path || preview_width > kMaxPreviewSide || preview_height > kMaxPreviewSide)
        return 0;
    return P(player)->open(utf8_path, static_cast<int>(preview_width), static_cast<int>(preview_height)) ? 1 : 0;
}

int rsc_player_open_dvd(rsc_player *, const char *, uint32_t, uint32_t, uint32_t, uint32_t)
{
    return 0; // DVD structures are not played
}

int rsc_player_close(rsc_player *player)
{
    return P(player) && P(player)->close() ? 1 : 0;
}

const char *rsc_player_error(rsc_player *player)
{
    return P(player) ? player->error.c_str() : nullptr;
}

// ------------------------------------------------------------------------------------------ transport

int rsc_player_play(rsc_player *player)
{
    return P(player) && P(player)->play() ? 1 : 0;
}

int rsc_player_pause(rsc_player *player)
{
    return P(player) && P(player)->pause() ? 1 : 0;
}

int rsc_player_stop(rsc_player *player)
{
    return P(player) && P(player)->stop() ? 1 : 0;
}

int rsc_player_can_seek(rsc_player *player)
{
    return P(player) && P(player)->isOpen() && P(player)->durationUs() > 0 ? 1 : 0;
}

int rsc_player_seek(rsc_player *player, uint64_t time)
{
    return P(player) && P(player)->seek(time) ? 1 : 0;
}

int rsc_player_fast_seek(rsc_player *player, uint64_t time, int after)
{
    return P(player) && P(player)->fastSeek(time, after != 0) ? 1 : 0;
}

int rsc_player_begin_async_seek(rsc_player *player, uint64_t max_lag)
{
    return P(player) && P(player)->beginAsyncSeek(max_lag) ? 1 : 0;
}

int rsc_player_end_async_seek(rsc_player *player)
{
    return P(player) && P(player)->endAsyncSeek() ? 1 : 0;
}

int rsc_player_frame_step(rsc_player *player, int direction)
{
    return P(player) && P(player)->frameStep(direction) ? 1 : 0;
}

int rsc_player_key_frame_step(rsc_player *player, int direction)
{
    return P(player) && P(player)->keyFrameStep(direction) ? 1 : 0;
}

int rsc_player_change_speed(rsc_player *player, int percent)
{
    if (!P(player) || percent <= 0)
        return 0;
    const unsigned v = EditConfig::heldPace(uint64_t(percent));
    P(player)->edit([&](EditConfig &c) { c.speed = v; });
    return P(player)->changeSpeed(int(v)) ? 1 : 0;
}

int rsc_player_enable_loop(rsc_player *player, int on)
{
    return P(player) && P(player)->enableLoop(on != 0) ? 1 : 0;
}

int rsc_player_set_time_interval(rsc_player *player, uint64_t)
{
    return P(player) ? 1 : 0; // positions are exact at every read; there is no grid to set
}

int rsc_player_show_video_frame(rsc_player *player)
{
    return P(player) && P(player)->showVideoFrame() ? 1 : 0;
}

int rsc_player_update_video_frame(rsc_player *player)
{
    return P(player) && P(player)->showVideoFrame() ? 1 : 0;
}

int rsc_player_refresh_video_frame(rsc_player *player)
{
    return P(player) && P(player)->refreshVideoFrame() ? 1 : 0;
}

int rsc_player_enable_show_when_setting(rsc_player *, uint32_t)
{
    return 0; // what it should do is not known: frames in a settings batch keep the edits from before it
}

int rsc_player_begin_settings(rsc_player *player)
{
    if (!P(player))
        return 0;
    P(player)->beginSettings();
    return 1;
}

int rsc_player_end_settings(rsc_player *player)
{
    if (!P(player))
        return 0;
    P(player)->endSettings();
    return 1;
}

// ------------------------------------------------------------------------------------------ state

int rsc_player_is_completed(rsc_player *player)
{
    return P(player) && P(player)->isOpen() && P(player)->state() == Player::State::Completed ? 1 : 0;
}

int rsc_player_is_stopped(rsc_player *player)
{
    return P(player) && (!P(player)->isOpen() || P(player)->state() == Player::State::Stopped) ? 1 : 0;
}

int rsc_player_is_paused(rsc_player *player)
{
    return P(player) && P(player)->isOpen() && P(player)->state() == Player::State::Paused ? 1 : 0;
}

int rsc_player_is_running(rsc_player *player)
{
    return P(player) && P(player)->isOpen() && P(player)->state() == Player::State::Playing ? 1 : 0;
}

int rsc_player_has_video(rsc_player *player)
{
    return P(player) && P(player)->hasVideo() ? 1 : 0;
}

int rsc_player_has_audio(rsc_player *player)
{
    return P(player) && P(player)->hasAudio() ? 1 : 0;
}

uint64_t rsc_player_duration(rsc_player *player)
{
    return P(player) ? P(player)->durationUs() : 0;
}

uint64_t rsc_player_play_time(rsc_player *player)
{
    return P(player) ? P(player)->playTimeUs() : 0;
}

uint64_t rsc_player_video_time(rsc_player *player)
{
    return P(player) ? P(player)->videoTimeUs() : 0;
}

uint32_t rsc_player_video_width(rsc_player *player)
{
    return P(player) ? static_cast<uint32_t>(P(player)->videoWidth()) : 0;
}

uint32_t rsc_player_video_height(rsc_player *player)
{
    return P(player) ? static_cast<uint32_t>(P(player)->videoHeight()) : 0;
}

uint32_t rsc_player_video_aspect_x(rsc_player *player)
{
    return P(player) ? static_cast<uint32_t>(P(player)->aspectX()) : 0;
}

uint32_t rsc_player_video_aspect_y(rsc_player *player)
{
    return P(player) ? static_cast<uint32_t>(P(player)->aspectY()) : 0;
}

int rsc_player_get_preview_size(rsc_player *player, uint32_t *width, uint32_t *height)
{
    int w = 0, h = 0;
    if (!P(player) || !width || !height || !P(player)->previewSize(&w, &h))
        return 0;
    *width = static_cast<uint32_t>(w);
    *height = static_cast<uint32_t>(h);
    return 1;
}

// ------------------------------------------------------------------------------------------ frames

int rsc_player_set_video_view(rsc_player *, void *)
{
    return 0; // frames reach the program through the frame handlers only
}

int rsc_player_set_original_video_view(rsc_player *, void *)
{
    return 0; // frames reach the program through the frame handlers only
}

int rsc_player_set_video_frame_handler(rsc_player *player, rsc_frame_handler handler, void *user)
{
    if (!P(player))
        return 0;
    P(player)->setHandler(true, rsc::FrameHandler{handler, handler ? user : nullptr});
    return 1;
}

int rsc_player_set_original_video_frame_handler(rsc_player *player, rsc_frame_handler handler, void *user)
{
    if (!P(player))
        return 0;
    P(player)->setHandler(false, rsc::FrameHandler{handler, handler ? user : nullptr});
    return 1;
}

unsigned char *rsc_player_capture_video_image(rsc_player *player, uint32_t, uint32_t, uint32_t)
{
    if (!P(player))
        return nullptr;
    return handOut(player, P(player)->capture());
}

int rsc_player_free_video_image(rsc_player *player, unsigned char *image)
{
    return takeBack(player, image);
}

uint32_t rsc_player_get_buffer_size(rsc_player *player, const unsigned char *buffer)
{
    if (!player || !buffer)
        return 0;
    std::lock_guard<std::mutex> lock(player->buffersMutex);
    const auto it = player->buffers.find(const_cast<unsigned char *>(buffer));
    return it == player->buffers.end() ? 0 : it->second;
}

int rsc_player_enable_audio_wave_data(rsc_player *player, uint32_t on)
{
    if (!P(player))
        return 0;
    P(player)->enableWaveData(on != 0);
    return 1;
}

unsigned char *rsc_player_get_audio_wave_data(rsc_player *player, uint32_t mono)
{
    if (!P(player))
        return nullptr;
    return handOut(player, P(player)->waveData(mono != 0));
}

int rsc_player_free_audio_wave_data(rsc_player *player, unsigned char *data)
{
    return takeBack(player, data);
}

// ------------------------------------------------------------------------------------------ picture

int rsc_player_set_video_rotate(rsc_player *player, uint32_t degrees)
{
    return editAll(player, [&](EditConfig &c) { c.rotation = static_cast<int>(degrees % 360); });
}

int rsc_player_set_video_mirror(rsc_player *player, uint32_t on)
{
    return editAll(player, [&](EditConfig &c) { c.mirror = on != 0; });
}

int rsc_player_set_video_pad_and_color(rsc_player *player, uint32_t pad, uint32_t argb)
{
    return editAll(player, [&](EditConfig &c) {
        c.padEnabled = pad != 0;
        c.padColor = argb;
    });
}

int rsc_player_set_video_crop(rsc_player *player, double x, double y, double w, double h)
{
    // Fractions of the frame; anything outside is cut to the frame.
    auto unit = [](double v) { return std::isfinite(v) ? std::clamp(v, 0.0, 1.0) : 0.0; };
    return editAll(player, [&](EditConfig &c) {
        c.crop.x = unit(x);
        c.crop.y = unit(y);
        c.crop.w = std::min(unit(w), 1.0 - c.crop.x);
        c.crop.h = std::min(unit(h), 1.0 - c.crop.y);
        if (c.crop.w <= 0.0 || c.crop.h <= 0.0)
            c.crop = rsc::edit::Rect{};
    });
}

int rsc_player_set_video_aspect_ratio(rsc_player *player, uint32_t width, uint32_t height)
{
    return editAll(player, [&](EditConfig &c) {
        const bool valid = width > 0 && height > 0 && width <= 65536 && height <= 65536;
        c.aspectW = valid ? static_cast<int>(width) : 0;
        c.aspectH = valid ? static_cast<int>(height) : 0;
    });
}

int rsc_player_set_video_crop_border_alpha(rsc_player *, uint32_t)
{
    return 0; // the program draws its crop frame over the preview itself
}

int rsc_player_enable_video_crop_border(rsc_player *, uint32_t)
{
    return 0; // the program draws its crop frame over the preview itself
}

int rsc_player_set_video_y_offset(rsc_player *player, uint32_t brightness)
{
    return editAll(player, [&](EditConfig &c) { c.brightness = static_cast<int32_t>(brightness); });
}

int rsc_player_set_video_saturation(rsc_player *player, uint32_t saturation)
{
    return editAll(player, [&](EditConfig &c) { c.saturation = static_cast<int32_t>(saturation); });
}

int rsc_player_set_video_contrast(rsc_player *player, uint32_t contrast)
{
    return editAll(player, [&](EditConfig &c) { c.contrast = static_cast<int32_t>(contrast); });
}

int rsc_player_set_video_hue(rsc_player *player, uint32_t hue)
{
    return editAll(player, [&](EditConfig &c) { c.hue = static_cast<int32_t>(hue); });
}

// ------------------------------------------------------------------------------------------ watermarks

int rsc_player_set_watermark_max_count(rsc_player *player, uint32_t count)
{
    return P(player) && count >= 1 && count <= 3 ? 1 : 0; // three slots exist, as in the jobs
}

int rsc_player_set_watermark_index(rsc_player *player, uint32_t slot)
{
    if (!P(player) || slot > 2)
        return 0;
    P(player)->setWatermarkSlot(static_cast<int>(slot));
    return 1;
}

int rsc_player_set_watermark_image_file(rsc_player *player, const char *utf8_path)
{
    if (!usable(player, text(utf8_path), rsc::edit::InputUse::Picture))
        return 0;
    return editPicture(player, [&](PictureItem &p) {
        p.file = text(utf8_path);
        p.set = !p.file.empty();
    });
}

int rsc_player_set_watermark_image_mask_file(rsc_player *player, const char *utf8_path)
{
    if (!usable(player, text(utf8_path), rsc::edit::InputUse::Picture))
        return 0;
    return editPicture(player, [&](PictureItem &p) { p.mask = text(utf8_path); });
}

int rsc_player_set_watermark_image_mirror(rsc_player *player, uint32_t on)
{
    return editPicture(player, [&](PictureItem &p) { p.mirror = on != 0; });
}

int rsc_player_set_watermark_image_position(rsc_player *player, double x, double y)
{
    return editPicture(player, [&](PictureItem &p) {
        p.posX = x;
        p.posY = y;
    });
}

int rsc_player_set_watermark_image_size(rsc_player *player, double w, double h)
{
    return editPicture(player, [&](PictureItem &p) {
        p.width = std::max(0.0, w);
        p.height = std::max(0.0, h);
    });
}

int rsc_player_set_watermark_image_scale(rsc_player *player, uint32_t sx, uint32_t sy)
{
    return editPicture(player, [&](PictureItem &p) {
        p.scaleX = sx;
        p.scaleY = sy;
    });
}

int rsc_player_set_watermark_image_angle(rsc_player *player, int degrees)
{
    return editPicture(player, [&](PictureItem &p) { p.angle = degrees; });
}

int rsc_player_set_watermark_image_alpha(rsc_player *player, uint32_t alpha)
{
    return editPicture(player, [&](PictureItem &p) { p.alpha = std::min(alpha, 255u); });
}

int rsc_player_set_watermark_image_mix_mode(rsc_player *player, uint32_t mode)
{
    return editPicture(player, [&](PictureItem &p) { p.mixMode = mode; });
}

int rsc_player_set_watermark_image_loop(rsc_player *player, uint32_t on)
{
    return editPicture(player, [&](PictureItem &p) { p.loop = on != 0; });
}

int rsc_player_set_watermark_image_crop(rsc_player *player, double x, double y, double w, double h)
{
    return editPicture(player, [&](PictureItem &p) { p.crop = rsc::edit::Rect{x, y, w, h}; });
}

int rsc_player_set_watermark_image_show_time(rsc_player *player, uint64_t start, uint64_t)
{
    return editPicture(player, [&](PictureItem &p) { p.showTimeUs = start; });
}

int rsc_player_set_watermark_image_split_time(rsc_player *player, uint64_t, uint64_t)
{
    return P(player) ? 1 : 0; // the jobs' pipeline gives split times no meaning for overlays
}

int rsc_player_enable_watermark_image_border(rsc_player *player, uint32_t)
{
    return P(player) ? 1 : 0; // the program draws the item borders over the preview itself
}

int rsc_player_set_watermark_border_alpha(rsc_player *player, uint32_t)
{
    return P(player) ? 1 : 0;
}

int rsc_player_set_watermark_image_brightness(rsc_player *player, uint32_t value)
{
    return editPicture(player, [&](PictureItem &p) { p.brightness = adjustment(value); });
}

int rsc_player_set_watermark_image_saturation(rsc_player *player, uint32_t value)
{
    return editPicture(player, [&](PictureItem &p) { p.saturation = adjustment(value); });
}

int rsc_player_set_watermark_image_contrast(rsc_player *player, uint32_t value)
{
    return editPicture(player, [&](PictureItem &p) { p.contrast = adjustment(value); });
}

int rsc_player_set_watermark_image_hue(rsc_player *player, uint32_t value)
{
    return editPicture(player, [&](PictureItem &p) { p.hue = adjustment(value); });
}

int rsc_player_set_watermark_image_y_offset(rsc_player *, uint32_t)
{
    return 0; // no filter parameter of the pipeline answers to it
}

int rsc_player_set_watermark_text(rsc_player *player, const char *utf8_text)
{
    return editText(player, [&](TextItem &t) {
        t.text = text(utf8_text);
        t.set = !t.text.empty();
    });
}

int rsc_player_set_watermark_text_font(rsc_player *player, const char *family)
{
    return editText(player, [&](TextItem &t) { t.fontName = text(family); });
}

int rsc_player_set_watermark_text_font_file(rsc_player *player, const char *utf8_path)
{
    return editText(player, [&](TextItem &t) { t.fontFile = text(utf8_path); });
}

int rsc_player_set_watermark_text_size(rsc_player *player, uint32_t size)
{
    return editText(player, [&](TextItem &t) { t.fontSize = std::clamp(size, 1u, unsigned(rsc::edit::kMaxFontSize)); });
}

int rsc_player_set_watermark_text_bold(rsc_player *player, uint32_t on)
{
    return editText(player, [&](TextItem &t) { t.bold = on != 0; });
}

int rsc_player_set_watermark_text_italic(rsc_player *player, uint32_t on)
{
    return editText(player, [&](TextItem &t) { t.italic = on != 0; });
}

int rsc_player_set_watermark_text_underline(rsc_player *player, uint32_t on)
{
    return editText(player, [&](TextItem &t) { t.underline = on != 0; });
}

int rsc_player_set_watermark_text_strikeout(rsc_player *player, uint32_t on)
{
    return editText(player, [&](TextItem &t) { t.strikeout = on != 0; });
}

int rsc_player_set_watermark_text_color(rsc_player *player, uint32_t argb)
{
    return editText(player, [&](TextItem &t) { t.color = argb; });
}

int rsc_player_set_watermark_text_outline_color(rsc_player *player, uint32_t argb)
{
    return editText(player, [&](TextItem &t) { t.outlineColor = argb; });
}

int rsc_player_set_watermark_text_shadow_color(rsc_player *player, uint32_t argb)
{
    return editText(player, [&](TextItem &t) { t.shadowColor = argb; });
}

int rsc_player_set_watermark_text_outline_size(rsc_player *player, double size)
{
    return editText(player, [&](TextItem &t) { t.outlineSize = size; });
}

int rsc_player_set_watermark_text_shadow_offset(rsc_player *player, double offset)
{
    return editText(player, [&](TextItem &t) { t.shadowOffset = offset; });
}

int rsc_player_set_watermark_text_alpha(rsc_player *player, uint32_t alpha)
{
    return editText(player, [&](TextItem &t) { t.alpha = std::min(alpha, 255u); });
}

int rsc_player_set_watermark_text_position(rsc_player *player, double x, double y)
{
    return editText(player, [&](TextItem &t) {
        t.posX = x;
        t.posY = y;
    });
}

int rsc_player_set_watermark_text_angle(rsc_player *player, int degrees)
{
    return editText(player, [&](TextItem &t) { t.angle = degrees; });
}

int rsc_player_set_watermark_text_scale(rsc_player *player, uint32_t sx, uint32_t sy)
{
    return editText(player, [&](TextItem &t) {
        t.scaleX = sx;
        t.scaleY = sy;
    });
}

int rsc_player_set_watermark_text_spacing_h(rsc_player *player, double spacing)
{
    return editText(player, [&](TextItem &t) { t.spacingH = spacing; });
}

int rsc_player_set_watermark_text_spacing_v(rsc_player *player, double spacing)
{
    return editText(player, [&](TextItem &t) { t.spacingV = spacing; });
}

int rsc_player_enable_watermark_text_border(rsc_player *player, uint32_t)
{
    return P(player) ? 1 : 0; // the program draws the item borders over the preview itself
}

int rsc_player_set_watermark_text_layer_topmost(rsc_player *player, uint32_t on)
{
    return editText(player, [&](TextItem &t) { t.layerTopmost = on != 0; });
}

int rsc_player_set_watermark_text_show_time(rsc_player *player, uint64_t start, uint64_t)
{
    return editText(player, [&](TextItem &t) { t.showTimeUs = start; });
}

int rsc_player_set_watermark_text_align(rsc_player *, uint32_t)
{
    return 0; // a one-line text placed by its box's corner has nothing to align
}

double rsc_player_watermark_text_width(rsc_player *player)
{
    return P(player) ? P(player)->watermarkTextBox().w : 0.0;
}

double rsc_player_watermark_text_height(rsc_player *player)
{
    return P(player) ? P(player)->watermarkTextBox().h : 0.0;
}

double rsc_player_watermark_text_pos_x(rsc_player *player)
{
    return P(player) ? P(player)->watermarkTextBox().x : 0.0;
}

double rsc_player_watermark_text_pos_y(rsc_player *player)
{
    return P(player) ? P(player)->watermarkTextBox().y : 0.0;
}

double rsc_player_watermark_image_width(rsc_player *player)
{
    return P(player) ? P(player)->watermarkImageBox().w : 0.0;
}

double rsc_player_watermark_image_height(rsc_player *player)
{
    return P(player) ? P(player)->watermarkImageBox().h : 0.0;
}

double rsc_player_watermark_image_pos_x(rsc_player *player)
{
    return P(player) ? P(player)->watermarkImageBox().x : 0.0;
}

double rsc_player_watermark_image_pos_y(rsc_player *player)
{
    return P(player) ? P(player)->watermarkImageBox().y : 0.0;
}

// ------------------------------------------------------------------------------------------ subtitles

int rsc_player_set_subtitle_alpha(rsc_player *player, uint32_t alpha)
{
    return editAll(player, [&](EditConfig &c) { c.subtitle.alpha = std::min(alpha, 255u); });
}

int rsc_player_set_subtitle_scale(rsc_player *player, uint32_t sx, uint32_t sy)
{
    return editAll(player, [&](EditConfig &c) {
        c.subtitle.scaleX = sx;
        c.subtitle.scaleY = sy;
    });
}

int rsc_player_set_subtitle_delay(rsc_player *player, int64_t delay)
{
    return editAll(player, [&](EditConfig &c) { c.subtitle.delayUs = delay; });
}

int rsc_player_set_subtitle_font(rsc_player *player, const char *family)
{
    return editAll(player, [&](EditConfig &c) { c.subtitle.fontName = text(family); });
}

int rsc_player_set_subtitle_font_file(rsc_player *player, const char *utf8_path)
{
    return editAll(player, [&](EditConfig &c) { c.subtitle.fontFile = text(utf8_path); });
}

int rsc_player_set_subtitle_size(rsc_player *player, uint32_t size)
{
    return editAll(
        player, [&](EditConfig &c) { c.subtitle.fontSize = std::clamp(size, 1u, unsigned(rsc::edit::kMaxFontSize)); });
}

int rsc_player_set_subtitle_bold(rsc_player *player, uint32_t on)
{
    return editAll(player, [&](EditConfig &c) { c.subtitle.bold = on != 0; });
}

int rsc_player_set_subtitle_italic(rsc_player *player, uint32_t on)
{
    return editAll(player, [&](EditConfig &c) { c.subtitle.italic = on != 0; });
}

int rsc_player_set_subtitle_underline(rsc_player *player, uint32_t on)
{
    return editAll(player, [&](EditConfig &c) { c.subtitle.underline = on != 0; });
}

int rsc_player_set_subtitle_strikeout(rsc_player *player, uint32_t on)
{
    return editAll(player, [&](EditConfig &c) { c.subtitle.strikeout = on != 0; });
}

int rsc_player_set_subtitle_color(rsc_player *player, uint32_t argb)
{
    return editAll(player, [&](EditConfig &c) { c.subtitle.color = argb; });
}

int rsc_player_set_subtitle_shadow_color(rsc_player *player, uint32_t argb)
{
    return editAll(player, [&](EditConfig &c) { c.subtitle.shadowColor = argb; });
}

int rsc_player_set_subtitle_outline_color(rsc_player *player, uint32_t argb)
{
    return editAll(player, [&](EditConfig &c) { c.subtitle.outlineColor = argb; });
}

int rsc_player_set_subtitle_shadow_offset(rsc_player *player, double offset)
{
    return editAll(player, [&](EditConfig &c) { c.subtitle.shadowOffset = offset; });
}

int rsc_player_set_subtitle_outline_size(rsc_player *player, double size)
{
    return editAll(player, [&](EditConfig &c) { c.subtitle.outlineSize = size; });
}

int rsc_player_set_subtitle_angle(rsc_player *player, int degrees)
{
    return editAll(player, [&](EditConfig &c) { c.subtitle.angle = degrees % 360; });
}

int rsc_player_set_subtitle_align(rsc_player *player, uint32_t align)
{
    return editAll(player, [&](EditConfig &c) { c.subtitle.align = align; });
}

int rsc_player_set_subtitle_spacing_h(rsc_player *player, double spacing)
{
    return editAll(player, [&](EditConfig &c) { c.subtitle.spacingH = spacing; });
}

int rsc_player_set_subtitle_spacing_v(rsc_player *player, double spacing)
{
    return editAll(player, [&](EditConfig &c) { c.subtitle.spacingV = spacing; });
}

int rsc_player_set_subtitle_margin_h(rsc_player *player, double margin)
{
    return editAll(player, [&](EditConfig &c) { c.subtitle.marginH = margin; });
}

int rsc_player_set_subtitle_margin_v(rsc_player *player, double margin)
{
    return editAll(player, [&](EditConfig &c) { c.subtitle.marginV = margin; });
}

int rsc_player_set_subtitle_image_offset_h(rsc_player *, double)
{
    return 0; // picture subtitles are not rendered into the picture
}

int rsc_player_set_subtitle_image_offset_v(rsc_player *, double)
{
    return 0; // picture subtitles are not rendered into the picture
}

// ------------------------------------------------------------------------------------------ streams

int rsc_player_set_program_index(rsc_player *player, uint32_t index)
{
    if (!P(player) || index > 0xFFFF || !P(player)->selectStreams(static_cast<int>(index), 0))
        return 0;
    // The jobs read the same program of this clip.
    P(player)->edit([&](EditConfig &c) { c.programIndex = static_cast<int>(index); });
    return 1;
}

int rsc_player_set_video_index(rsc_player *player, uint32_t index)
{
    if (!P(player) || index > 0xFFFF)
        return 0;
    return P(player)->selectStreams(P(player)->programChoice(), static_cast<int>(index)) ? 1 : 0;
}

int rsc_player_set_audio_index(rsc_player *player, uint32_t index)
{
    if (!P(player) || index > 0xFFFF)
        return 0;
    return P(player)->selectAudioStream(static_cast<int>(index)) ? 1 : 0;
}

int rsc_player_set_subtitle_index(rsc_player *player, uint32_t index)
{
    return editAll(player, [&](EditConfig &c) {
        c.subtitleStream = index == 0xFFFFFFFFu ? -1 : static_cast<int>(std::min<uint32_t>(index, 0xFFFF));
        if (c.subtitleStream >= 0)
            c.subtitleFile.clear(); // a stream of the file replaces a subtitle file
    });
}

int rsc_player_set_subtitle_file(rsc_player *player, const char *utf8_path)
{
    if (!usable(player, text(utf8_path), rsc::edit::InputUse::Subtitle))
        return 0;
    return editAll(player, [&](EditConfig &c) {
        c.subtitleFile = text(utf8_path);
        if (!c.subtitleFile.empty())
            c.subtitleStream = -1;
    });
}

int rsc_player_set_subtitle_stream(rsc_player *player, rsc_memstream *stream)
{
    const std::string path = streamCopy(player, stream, Player::StreamUse::Subtitle);
    if (path.empty())
        return 0;
    return rsc_player_set_subtitle_file(player, path.c_str());
}

int rsc_player_set_subtitle_file_ex(rsc_player *, const char *, uint32_t, uint32_t)
{
    return 0; // what the offset and flags mean is not known
}

int rsc_player_set_subtitle_stream_ex(rsc_player *, rsc_memstream *, uint32_t, uint32_t)
{
    return 0; // what the offset and flags mean is not known
}

int rsc_player_enable_closed_caption(rsc_player *player, uint32_t on)
{
    return editAll(player, [&](EditConfig &c) { c.closedCaptions = on != 0; });
}

// ------------------------------------------------------------------------------------------ background audio

int rsc_player_set_audio_background_index(rsc_player *player, uint32_t slot)
{
    if (!P(player) || slot != 0)
        return 0; // one background track is mixed, as in the jobs
    P(player)->setBackgroundSlot(0);
    return 1;
}

int rsc_player_set_audio_background_file(rsc_player *player, const char *utf8_path)
{
    if (!usable(player, text(utf8_path), rsc::edit::InputUse::Sound))
        return 0;
    return editBackground(player, [&](rsc::edit::BackgroundAudio &b) { b.file = text(utf8_path); });
}

int rsc_player_set_audio_background_loop(rsc_player *player, uint32_t on)
{
    return editBackground(player, [&](rsc::edit::BackgroundAudio &b) { b.loop = on != 0; });
}

int rsc_player_set_audio_background_mix_mode(rsc_player *player, uint32_t mode)
{
    return editBackground(player, [&](rsc::edit::BackgroundAudio &b) { b.mixMode = mode; });
}

int rsc_player_set_audio_background_weight(rsc_player *player, uint32_t weight)
{
    return editBackground(player, [&](rsc::edit::BackgroundAudio &b) { b.weight = weight; });
}

int rsc_player_set_audio_background_volume(rsc_player *player, uint32_t volume)
{
    return editBackground(player, [&](rsc::edit::BackgroundAudio &b) { b.volume = volume; });
}

int rsc_player_set_audio_background_show_time(rsc_player *player, uint64_t start, uint64_t length)
{
    return editBackground(player, [&](rsc::edit::BackgroundAudio &b) {
        b.showTimeUs = start;
        b.showTime2 = length;
    });
}

int rsc_player_set_audio_background_split_time(rsc_player *player, uint64_t a, uint64_t b)
{
    return editBackground(player, [&](rsc::edit::BackgroundAudio &bg) {
        bg.splitTime1 = a;
        bg.splitTime2 = b;
    });
}

int rsc_player_set_audio_background_last(rsc_player *, uint32_t)
{
    return 0; // what it should do is not known
}

int rsc_player_set_audio_background_reset(rsc_player *player)
{
    return editBackground(player, [&](rsc::edit::BackgroundAudio &b) { b = rsc::edit::BackgroundAudio{}; });
}

int rsc_player_set_audio_background_stream(rsc_player *player, rsc_memstream *stream)
{
    const std::string path = streamCopy(player, stream, Player::StreamUse::Background);
    if (path.empty())
        return 0;
    return rsc_player_set_audio_background_file(player, path.c_str());
}

int rsc_player_set_audio_background_track(rsc_player *, rsc_track *)
{
    return 0; // a track describes a job's output, not a source of sound
}

int rsc_player_set_audio_background_file_ex(rsc_player *, const char *, uint32_t, uint32_t)
{
    return 0; // what the offset and flags mean is not known
}

int rsc_player_set_audio_background_stream_ex(rsc_player *, rsc_memstream *, uint32_t, uint32_t)
{
    return 0; // what the offset and flags mean is not known
}

int rsc_player_set_audio_background_channel_mix(rsc_player *player, const uint32_t *map, uint32_t count)
{
    // FFmpeg's channel layouts hold at most 64 channels; a count of 0 gives the background its own channels back.
    if (count > 64 || (count > 0 && !map) || std::any_of(map, map + count, [](uint32_t c) { return c >= 64; }))
        return 0;
    std::vector<unsigned> m(map, map + count);
    return editBackground(player, [&](rsc::edit::BackgroundAudio &b) { b.channelMap = m; });
}

int rsc_player_set_audio_background_equalize(rsc_player *player, const double *frequencies, const double *gains,
                                             uint32_t count)
{
    if ((count > 0 && (!frequencies || !gains)) || count > 64)
        return 0;
    // Copied here, as the clip's equaliser: the caller may free the arrays when the call returns.
    std::vector<double> f(frequencies, frequencies + count), g(gains, gains + count);
    return editBackground(player, [&](rsc::edit::BackgroundAudio &b) {
        b.eqFrequencies = f;
        b.eqGains = g;
    });
}

// ------------------------------------------------------------------------------------------ clip audio

int rsc_player_set_audio_volume(rsc_player *player, uint64_t percent)
{
    if (!P(player))
        return 0;
    const unsigned v = static_cast<unsigned>(std::min<uint64_t>(percent, 1000));
    P(player)->edit([&](EditConfig &c) { c.volume = v; });
    return 1;
}

int rsc_player_set_audio_rate(rsc_player *player, uint64_t percent)
{
    if (!P(player) || percent == 0)
        return 0;
    const unsigned v = EditConfig::heldPace(percent);
    P(player)->edit([&](EditConfig &c) { c.rate = v; });
    return P(player)->changeRate(static_cast<int>(v)) ? 1 : 0;
}

int rsc_player_set_audio_equalize(rsc_player *player, const double *frequencies, const double *gains, uint32_t count)
{
    if (!P(player) || (count > 0 && (!frequencies || !gains)) || count > 64)
        return 0;
    // The arrays are copied here: the caller may free them when the call returns.
    std::vector<double> f(frequencies, frequencies + count), g(gains, gains + count);
    P(player)->edit([&](EditConfig &c) {
        c.eqFrequencies = f;
        c.eqGains = g;
    });
    return 1;
}

} // extern "C"
