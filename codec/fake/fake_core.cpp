#include "fake_core.h"
#include "rscodec_fake.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

namespace rscfake {
namespace {

using detail::Answer;
using detail::Arg;
using detail::Call;
using detail::Ret;

// One fake handle. Released objects stay until reset() so their names stay unique in the record.
struct Object
{
    std::string kind;
    int number = 0;
    bool released = false;

    // information objects and players
    bool hasMedia = false;
    FakeMedia media;
    uint32_t current[9] = {}; // current stream by kind (1 video, 2 audio, 8 subtitle)
    rsc_cover_image cover{nullptr, 0};
    std::set<const void *> buffers; // images and wave blocks handed out

    // players
    rsc_frame_handler handlers[2] = {nullptr, nullptr};
    void *users[2] = {nullptr, nullptr};
    int state = 0; // 0 stopped, 1 running, 2 paused

    // jobs
    int polls = 0;
    int finishAfter = 1;
    uint64_t total = 0;
    bool stopped = false;

    // frames
    uint32_t format = RSC_FRAME_NONE;
    uint32_t width = 0, height = 0;
    std::vector<unsigned char> planes[3];
    uint32_t strides[3] = {};
};

struct Script
{
    std::vector<int64_t> values;
    size_t next = 0;
    bool hasReal = false;
    double real = 0;
    bool hasText = false;
    bool textNull = false;
    std::string text;
};

struct State
{
    std::recursive_mutex mutex;
    std::vector<std::string> calls;
    std::map<std::string, Script> scripts;
    std::map<std::string, FakeMedia> media;
    std::vector<std::unique_ptr<Object>> objects;
    std::map<const void *, Object *> byAddress;
    std::map<std::string, int> counters;
    std::deque<std::string> texts; // answered texts stay valid until reset
    std::deque<std::vector<unsigned char>> blobs;
    int jobPolls = 1;
    uint64_t jobTotal = 1000000;
};

State &state()
{
    static State s_state;
    return s_state;
}

Object *objectOf(const void *handle)
{
    State &s = state();
    auto it = s.byAddress.find(handle);
    return it == s.byAddress.end() ? nullptr : it->second;
}

Object *newObject(const std::string &kind)
{
    State &s = state();
    auto object = std::make_unique<Object>();
    object->kind = kind;
    object->number = ++s.counters[kind];
    object->finishAfter = std::max(1, s.jobPolls);
    object->total = s.jobTotal;
    Object *raw = object.get();
    s.byAddress[raw] = raw;
    s.objects.push_back(std::move(object));
    return raw;
}

std::string kindOfCreator(const std::string &name)
{
    static const std::vector<std::pair<std::string, std::string>> s_creators = {
        {"rsc_info_create", "info"},   {"rsc_player_create", "player"},       {"rsc_player_reference", "player"},
        {"rsc_frame_create", "frame"}, {"rsc_frame_reference", "frame"},      {"rsc_job_create_", "job"},
        {"rsc_edit_create", "edit"},   {"rsc_memstream_create", "memstream"}, {"rsc_track_create", "track"},
    };
    for (const auto &c : s_creators)
        if (name.rfind(c.first, 0) == 0)
            return c.second;
    return {};
}

bool endsWith(const std::string &s, const char *tail)
{
    const size_t n = std::strlen(tail);
    return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

bool isQuery(const std::string &name)
{
    return name.find("_has_") != std::string::npos || name.find("_is_") != std::string::npos ||
           name.find("_can_") != std::string::npos;
}

const char *keepText(const std::string &text)
{
    State &s = state();
    s.texts.push_back(text);
    return s.texts.back().c_str();
}

void put32(unsigned char *p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>(v >> (8 * i));
}

// A grey 24-bit BMP of the given size, owned by the fake until reset.
unsigned char *makeBmp(Object *owner, uint32_t w, uint32_t h)
{
    w = std::max(1u, std::min(w, 4096u));
    h = std::max(1u, std::min(h, 4096u));
    const uint32_t row = (w * 3 + 3) & ~3u;
    std::vector<unsigned char> bmp(54 + row * h, 0x80);
    std::memset(bmp.data(), 0, 54);
    bmp[0] = 'B';
    bmp[1] = 'M';
    put32(&bmp[2], static_cast<uint32_t>(bmp.size()));
    put32(&bmp[10], 54);
    put32(&bmp[14], 40);
    put32(&bmp[18], w);
    put32(&bmp[22], h);
    bmp[26] = 1;
    bmp[28] = 24;
    put32(&bmp[34], row * h);
    state().blobs.push_back(std::move(bmp));
    unsigned char *data = state().blobs.back().data();
    owner->buffers.insert(data);
    return data;
}

// A WAV image of 1024 silent 16-bit mono samples at 44100 Hz.
unsigned char *makeWave(Object *owner)
{
    const uint32_t dataBytes = 2048;
    std::vector<unsigned char> wav(44 + dataBytes, 0);
    std::memcpy(&wav[0], "RIFF", 4);
    put32(&wav[4], 36 + dataBytes);
    std::memcpy(&wav[8], "WAVEfmt ", 8);
    put32(&wav[16], 16);
    wav[20] = 1;
    wav[22] = 1;
    put32(&wav[24], 44100);
    put32(&wav[28], 44100 * 2);
    wav[32] = 2;
    wav[34] = 16;
    std::memcpy(&wav[36], "data", 4);
    put32(&wav[40], dataBytes);
    state().blobs.push_back(std::move(wav));
    unsigned char *data = state().blobs.back().data();
    owner->buffers.insert(data);
    return data;
}

const FakeMedia *mediaFor(const std::string &path)
{
    State &s = state();
    auto it = s.media.find(path);
    if (it == s.media.end())
        it = s.media.find("*");
    return it == s.media.end() ? nullptr : &it->second;
}

// Opens `path` on an information object or player: 1 on success.
int64_t openMedia(Object *o, const std::string &path)
{
    o->hasMedia = false;
    o->buffers.clear();
    std::fill(std::begin(o->current), std::end(o->current), 0u);
    const FakeMedia *m = mediaFor(path);
    if (!m)
        return 1;
    if (!m->openable)
        return 0;
    o->media = *m;
    o->hasMedia = true;
    o->cover = {o->media.cover.empty() ? nullptr : o->media.cover.data(), static_cast<int32_t>(o->media.cover.size())};
    return 1;
}

const std::vector<FakeStream> *streamsOf(Object *o, int64_t kind)
{
    if (!o || !o->hasMedia)
        return nullptr;
    if (kind == RSC_STREAM_VIDEO)
        return &o->media.video;
    if (kind == RSC_STREAM_AUDIO)
        return &o->media.audio;
    if (kind == RSC_STREAM_SUBTITLE)
        return &o->media.subtitle;
    return nullptr;
}

const FakeStream *currentStream(Object *o, int64_t kind)
{
    const std::vector<FakeStream> *list = streamsOf(o, kind);
    if (!list || o->current[kind] >= list->size())
        return nullptr;
    return &(*list)[o->current[kind]];
}

bool answerFromScript(const std::string &name, Ret ret, Answer &a)
{
    State &s = state();
    auto it = s.scripts.find(name);
    if (it == s.scripts.end())
        return false;
    Script &script = it->second;
    if (script.hasText) {
        a.p = script.textNull ? nullptr : const_cast<char *>(keepText(script.text));
        return true;
    }
    if (script.hasReal && ret == Ret::Real) {
        a.d = script.real;
        return true;
    }
    if (script.values.empty())
        return false;
    const int64_t v = script.values[std::min(script.next, script.values.size() - 1)];
    if (script.next < script.values.size())
        ++script.next;
    if (ret == Ret::Pointer) {
        if (v != 0)
            return false; // a non-zero pointer answer means "behave as usual"
        a.p = nullptr;
        return true;
    }
    a.i = v;
    a.d = static_cast<double>(v);
    return true;
}

// Behaviour of the calls whose answer depends on the handle; false = use the default.
bool answerFromObject(const Call &call, Answer &a)
{
    const std::string &n = call.name();
    const std::vector<Arg> &args = call.args();
    Object *o = args.empty() ? nullptr : objectOf(args[0].ptr);
    auto argInt = [&](size_t i) { return i < args.size() ? args[i].i : 0; };
    auto argText = [&](size_t i) { return i < args.size() ? args[i].s : std::string(); };
    const FakeMedia *m = o && o->hasMedia ? &o->media : nullptr;

    if (n == "rsc_info_open_file" || n == "rsc_info_open_dvd" || n == "rsc_player_open" || n == "rsc_player_open_dvd") {
        a.i = o ? openMedia(o, argText(1)) : 0;
        return true;
    }
    if (n == "rsc_info_open_stream") {
        a.i = o ? openMedia(o, "") : 0;
        return true;
    }
    if (n == "rsc_info_open_with_player") {
        Object *player = args.size() > 1 ? objectOf(args[1].ptr) : nullptr;
        a.i = o && player && player->hasMedia ? 1 : 0;
        if (a.i) {
            o->media = player->media;
            o->hasMedia = true;
        }
        return true;
    }
    if ((n == "rsc_info_close" || n == "rsc_player_close") && o) {
        o->hasMedia = false;
        a.i = 1;
        return true;
    }
    if (n == "rsc_info_has_video" || n == "rsc_player_has_video") {
        a.i = m && !m->video.empty();
        return true;
    }
    if (n == "rsc_info_has_audio" || n == "rsc_player_has_audio") {
        a.i = m && !m->audio.empty();
        return true;
    }
    if (!m && (n.rfind("rsc_info_", 0) == 0) && n != "rsc_info_create" && n != "rsc_info_release" &&
        n.find("_set_") == std::string::npos && n.find("_enable_") == std::string::npos)
        return true; // nothing open: getters answer 0 / null
    if (n == "rsc_info_duration" || n == "rsc_player_duration") {
        a.i = m ? static_cast<int64_t>(m->duration) : 0;
        return true;
    }
    if (n == "rsc_info_can_seek") {
        a.i = m && m->canSeek;
        return true;
    }
    if (n == "rsc_info_video_width" || n == "rsc_info_video_height" || n == "rsc_player_video_width" ||
        n == "rsc_player_video_height") {
        const FakeStream *st = currentStream(o, RSC_STREAM_VIDEO);
        a.i = st ? (endsWith(n, "width") ? st->width : st->height) : 0;
        return true;
    }
    if (n == "rsc_info_video_aspect_x" || n == "rsc_player_video_aspect_x") {
        a.i = m ? m->aspectX : 0;
        return true;
    }
    if (n == "rsc_info_video_aspect_y" || n == "rsc_player_video_aspect_y") {
        a.i = m ? m->aspectY : 0;
        return true;
    }
    if (n == "rsc_info_get_metadata") {
        const std::string key = argText(1);
        if (key == "cover_image") {
            a.p = o->cover.data ? &o->cover : nullptr;
        } else {
            auto it = m->metadata.find(key);
            a.p = it == m->metadata.end() ? nullptr : const_cast<char *>(it->second.c_str());
        }
        return true;
    }
    if (n == "rsc_info_get_metadata_data") {
        a.p = argText(1) == "cover_image" ? const_cast<unsigned char *>(o->cover.data) : nullptr;
        return true;
    }
    if (n == "rsc_info_get_metadata_size") {
        a.i = argText(1) == "cover_image" ? o->cover.size : 0;
        return true;
    }
    if (n == "rsc_info_format_id") {
        a.p = const_cast<char *>(m->formatId.c_str());
        return true;
    }
    if (n == "rsc_info_get_video_image") {
        const FakeStream *st = currentStream(o, RSC_STREAM_VIDEO);
        if (st) {
            uint32_t w = static_cast<uint32_t>(argInt(3)), h = static_cast<uint32_t>(argInt(4));
            if (w == 0 || h == 0) {
                w = st->width;
                h = st->height;
            }
            a.p = makeBmp(o, w, h);
        }
        return true;
    }
    if (n == "rsc_player_get_preview_size") {
        // The fake's edited preview is the video at its own size, as its captures are.
        const FakeStream *st = currentStream(o, RSC_STREAM_VIDEO);
        auto *width = static_cast<uint32_t *>(const_cast<void *>(args.size() > 2 ? args[1].ptr : nullptr));
        auto *height = static_cast<uint32_t *>(const_cast<void *>(args.size() > 2 ? args[2].ptr : nullptr));
        a.i = st && width && height ? 1 : 0;
        if (a.i) {
            *width = st->width;
            *height = st->height;
        }
        return true;
    }
    if (n == "rsc_player_capture_video_image") {
        const FakeStream *st = currentStream(o, RSC_STREAM_VIDEO);
        if (st)
            a.p = makeBmp(o, st->width, st->height);
        return true;
    }
    if (n == "rsc_player_get_audio_wave_data") {
        if (m && !m->audio.empty())
            a.p = makeWave(o);
        return true;
    }
    if (n == "rsc_info_get_video_image_size") {
        const void *image = args.size() > 1 ? args[1].ptr : nullptr;
        if (o && o->buffers.count(image)) {
            const auto *b = static_cast<const unsigned char *>(image);
            a.i = b[2] | b[3] << 8 | b[4] << 16 | static_cast<uint32_t>(b[5]) << 24;
        }
        return true;
    }
    if (n == "rsc_player_get_buffer_size") {
        const void *buffer = args.size() > 1 ? args[1].ptr : nullptr;
        if (o && buffer && o->buffers.count(buffer)) {
            for (const std::vector<unsigned char> &blob : state().blobs) {
                if (blob.data() == buffer)
                    a.i = static_cast<int64_t>(blob.size());
            }
        }
        return true;
    }
    if (n == "rsc_info_free_video_image" || n == "rsc_player_free_video_image" ||
        n == "rsc_player_free_audio_wave_data") {
        const void *buffer = args.size() > 1 ? args[1].ptr : nullptr;
        a.i = o && buffer && o->buffers.erase(buffer) ? 1 : 0;
        return true;
    }
    if (n == "rsc_info_program_count") {
        a.i = m->programCount;
        return true;
    }
    if (n == "rsc_info_program_name") {
        a.p = const_cast<char *>(m->programName.c_str());
        return true;
    }
    if (n == "rsc_info_video_count" || n == "rsc_info_audio_count" || n == "rsc_info_subtitle_count") {
        const int64_t kind = n == "rsc_info_video_count"   ? RSC_STREAM_VIDEO
                             : n == "rsc_info_audio_count" ? RSC_STREAM_AUDIO
                                                           : RSC_STREAM_SUBTITLE;
        a.i = static_cast<int64_t>(streamsOf(o, kind)->size());
        return true;
    }
    if (n == "rsc_info_set_video_index" || n == "rsc_info_set_audio_index" || n == "rsc_info_set_subtitle_index") {
        if (!m)
            return false;
        const int64_t kind = n == "rsc_info_set_video_index"   ? RSC_STREAM_VIDEO
                             : n == "rsc_info_set_audio_index" ? RSC_STREAM_AUDIO
                                                               : RSC_STREAM_SUBTITLE;
        const uint32_t index = static_cast<uint32_t>(argInt(1));
        if (kind == RSC_STREAM_SUBTITLE && index == 0xFFFFFFFFu) {
            o->current[kind] = index;
            a.i = 1;
        } else {
            a.i = index < streamsOf(o, kind)->size();
            if (a.i)
                o->current[kind] = index;
        }
        return true;
    }
    if (n == "rsc_info_stream_title" || n == "rsc_info_stream_format" || n == "rsc_info_stream_language") {
        const FakeStream *st = currentStream(o, argInt(1));
        const std::string *text = !st                             ? nullptr
                                  : n == "rsc_info_stream_title"  ? &st->title
                                  : n == "rsc_info_stream_format" ? &st->format
                                                                  : &st->language;
        a.p = text && !text->empty() ? const_cast<char *>(text->c_str()) : nullptr;
        return true;
    }
    if (n == "rsc_info_stream_value") {
        const FakeStream *st = currentStream(o, argInt(1));
        const int64_t index = argInt(2);
        a.i = st && index >= 1 && index <= 7 ? static_cast<int64_t>(st->values[index]) : 0;
        return true;
    }
    if (n == "rsc_info_stream_private_data" || n == "rsc_info_stream_private_size") {
        const FakeStream *st = currentStream(o, argInt(1));
        const bool has = st && !st->privateData.empty();
        if (n == "rsc_info_stream_private_data")
            a.p = has ? const_cast<uint8_t *>(st->privateData.data()) : nullptr;
        else
            a.i = has ? static_cast<int64_t>(st->privateData.size()) : 0;
        return true;
    }
    if (n.rfind("rsc_info_chapter_", 0) == 0) {
        if (n == "rsc_info_chapter_count") {
            a.i = static_cast<int64_t>(m->chapters.size());
            return true;
        }
        const uint64_t index = static_cast<uint64_t>(argInt(1));
        if (index >= m->chapters.size())
            return true;
        const FakeChapter &c = m->chapters[index];
        if (n == "rsc_info_chapter_start")
            a.i = static_cast<int64_t>(c.start);
        else if (n == "rsc_info_chapter_duration")
            a.i = static_cast<int64_t>(c.duration);
        else if (n == "rsc_info_chapter_title")
            a.p = c.hasTitle ? const_cast<char *>(c.title.c_str()) : nullptr;
        return true;
    }
    // players
    if (n == "rsc_player_set_video_frame_handler" || n == "rsc_player_set_original_video_frame_handler") {
        const int slot = n == "rsc_player_set_original_video_frame_handler" ? 1 : 0;
        if (o) {
            o->handlers[slot] = reinterpret_cast<rsc_frame_handler>(const_cast<void *>(args[1].ptr));
            o->users[slot] = const_cast<void *>(args[2].ptr);
        }
        a.i = o ? 1 : 0;
        return true;
    }
    if (o && (n == "rsc_player_play" || n == "rsc_player_pause" || n == "rsc_player_stop")) {
        o->state = n == "rsc_player_play" ? 1 : n == "rsc_player_pause" ? 2 : 0;
        a.i = 1;
        return true;
    }
    if (n == "rsc_player_is_running" || n == "rsc_player_is_paused" || n == "rsc_player_is_stopped") {
        const int wanted = n == "rsc_player_is_running" ? 1 : n == "rsc_player_is_paused" ? 2 : 0;
        a.i = o && o->state == wanted;
        return true;
    }
    // jobs
    if (o && o->kind == "job") {
        if (n == "rsc_job_add_task" || n == "rsc_job_add_task_dvd" || n == "rsc_job_start") {
            o->polls = 0;
            o->stopped = false;
            a.i = 1;
            return true;
        }
        if (n == "rsc_job_is_finished") {
            if (!o->stopped)
                ++o->polls;
            a.i = o->stopped || o->polls >= o->finishAfter;
            return true;
        }
        if (n == "rsc_job_wait") {
            a.i = o->stopped || o->polls >= o->finishAfter;
            return true;
        }
        if (n == "rsc_job_is_stopped") {
            a.i = o->stopped;
            return true;
        }
        if (n == "rsc_job_total") {
            a.i = static_cast<int64_t>(o->total);
            return true;
        }
        if (n == "rsc_job_done") {
            a.i = static_cast<int64_t>(o->total * std::min(o->polls, o->finishAfter) / o->finishAfter);
            return true;
        }
        if (n == "rsc_job_error") {
            a.p = const_cast<char *>("");
            return true;
        }
        if (n == "rsc_job_stop") {
            o->stopped = true;
            a.i = 1;
            return true;
        }
    }
    // frames
    if (o && o->kind == "frame") {
        if (n == "rsc_frame_format") {
            a.i = o->format;
            return true;
        }
        if (n == "rsc_frame_width" || n == "rsc_frame_height") {
            a.i = n == "rsc_frame_width" ? o->width : o->height;
            return true;
        }
        const uint64_t plane = static_cast<uint64_t>(argInt(1));
        const uint64_t planes = o->format == RSC_FRAME_YUV420P ? 3 : o->format == RSC_FRAME_BGRX ? 1 : 0;
        if (n == "rsc_frame_stride") {
            a.i = plane < planes ? o->strides[plane] : 0;
            return true;
        }
        if (n == "rsc_frame_data") {
            a.p = plane < planes ? o->planes[plane].data() : nullptr;
            return true;
        }
    }
    if (n == "rsc_frame_format") {
        a.i = RSC_FRAME_NONE;
        return true;
    }
    return false;
}

} // namespace

namespace detail {

Call &Call::add(Arg arg, std::string shown)
{
    m_args.push_back(std::move(arg));
    m_shown.push_back(std::move(shown));
    return *this;
}

Call &Call::handle(const void *h)
{
    Arg a;
    a.kind = Arg::Handle;
    a.ptr = h;
    return add(a, handleName(h));
}

Call &Call::text(const char *s)
{
    Arg a;
    a.kind = Arg::Text;
    a.ptr = s;
    if (!s)
        return add(a, "null");
    a.s = s;
    return add(a, "\"" + a.s + "\"");
}

Call &Call::integer(int64_t v)
{
    Arg a;
    a.kind = Arg::Int;
    a.i = v;
    return add(a, std::to_string(v));
}

Call &Call::real(double v)
{
    Arg a;
    a.kind = Arg::Real;
    a.d = v;
    char buf[64];
    std::snprintf(buf, sizeof(buf), "%g", v);
    return add(a, buf);
}

static Arg pointerArg(const void *p)
{
    Arg a;
    a.kind = Arg::Pointer;
    a.ptr = p;
    return a;
}

Call &Call::pointer(const void *p)
{
    return add(pointerArg(p), p ? "ptr" : "null");
}

template <typename T> static std::string listText(const T *values, int64_t count, const char *fmt)
{
    if (!values)
        return "null";
    std::string text = "[";
    for (int64_t i = 0; i < count && i < 1024; ++i) {
        char buf[64];
        std::snprintf(buf, sizeof(buf), fmt, values[i]);
        text += (i ? ", " : "") + std::string(buf);
    }
    return text + "]";
}

Call &Call::reals(const double *values, int64_t count)
{
    return add(pointerArg(values), listText(values, count, "%g"));
}

Call &Call::integers(const int32_t *values, int64_t count)
{
    return add(pointerArg(values), listText(values, count, "%d"));
}

Call &Call::unsigneds(const uint32_t *values, int64_t count)
{
    return add(pointerArg(values), listText(values, count, "%u"));
}

Call &Call::bytes(const void *data, int64_t size)
{
    return add(pointerArg(data), data ? "bytes(" + std::to_string(size) + ")" : "null");
}

Call &Call::packet(const void *packet)
{
    const Arg a = pointerArg(packet);
    if (!packet)
        return add(a, "null");
    const auto *p = static_cast<const rsc_packet *>(packet);
    char buf[160];
    std::snprintf(buf, sizeof(buf), "packet(%lld, %lld, %lld, %u, %u)", static_cast<long long>(p->pts),
                  static_cast<long long>(p->dts), static_cast<long long>(p->duration), p->flags, p->size);
    return add(a, buf);
}

std::string Call::text() const
{
    std::string text = m_name + "(";
    for (size_t i = 0; i < m_shown.size(); ++i)
        text += (i ? ", " : "") + m_shown[i];
    return text + ")";
}

Answer answer(const Call &call, Ret ret)
{
    State &s = state();
    std::lock_guard<std::recursive_mutex> lock(s.mutex);
    s.calls.push_back(call.text());
    const std::string &name = call.name();
    Answer a;
    if (answerFromScript(name, ret, a))
        return a;

    const std::string kind = kindOfCreator(name);
    // Like the library: a null or released handle makes a call do nothing and answer 0 / null.
    if (!call.args().empty() && call.args()[0].kind == Arg::Handle) {
        Object *target = objectOf(call.args()[0].ptr);
        if (!target || target->released)
            return a;
    }

    if (!kind.empty() && ret == Ret::Pointer) {
        if (name == "rsc_frame_reference") {
            Object *src = call.args().empty() ? nullptr : objectOf(call.args()[0].ptr);
            if (!src || src->kind != "frame" || src->format == RSC_FRAME_NONE)
                return a;
            Object *copy = newObject("frame");
            copy->format = src->format;
            copy->width = src->width;
            copy->height = src->height;
            for (int i = 0; i < 3; ++i) {
                copy->planes[i] = src->planes[i];
                copy->strides[i] = src->strides[i];
            }
            a.p = copy;
            return a;
        }
        if (name == "rsc_player_reference") {
            Object *src = call.args().empty() ? nullptr : objectOf(call.args()[0].ptr);
            if (!src || src->released)
                return a;
            Object *copy = newObject("player");
            copy->media = src->media;
            copy->hasMedia = src->hasMedia;
            a.p = copy;
            return a;
        }
        a.p = newObject(kind);
        return a;
    }
    if (endsWith(name, "_release")) {
        if (!call.args().empty())
            if (Object *o = objectOf(call.args()[0].ptr))
                o->released = true;
        return a;
    }
    if (answerFromObject(call, a))
        return a;
    if (ret == Ret::Int && !isQuery(name))
        a.i = 1;
    return a;
}

Answer run(const Call &call, Ret ret)
{
    const Answer a = answer(call, ret);
    if (call.name() == "rsc_job_wait" && a.i == 0 && call.args().size() > 1) {
        // A job that still runs keeps its waiter for the time asked (bounded), without holding the state.
        const int64_t ms = std::min<int64_t>(call.args()[1].i, 50);
        std::this_thread::sleep_for(std::chrono::milliseconds(std::max<int64_t>(ms, 0)));
    }
    return a;
}

} // namespace detail

void reset()
{
    State &s = state();
    std::lock_guard<std::recursive_mutex> lock(s.mutex);
    s.calls.clear();
    s.scripts.clear();
    s.media.clear();
    s.byAddress.clear();
    s.objects.clear();
    s.counters.clear();
    s.texts.clear();
    s.blobs.clear();
    s.jobPolls = 1;
    s.jobTotal = 1000000;
}

std::vector<std::string> calls()
{
    State &s = state();
    std::lock_guard<std::recursive_mutex> lock(s.mutex);
    return s.calls;
}

std::vector<std::string> calls(const std::string &prefix)
{
    std::vector<std::string> out;
    for (const std::string &c : calls())
        if (c.rfind(prefix, 0) == 0)
            out.push_back(c);
    return out;
}

int count(const std::string &name)
{
    int n = 0;
    for (const std::string &c : calls())
        if (c.rfind(name + "(", 0) == 0)
            ++n;
    return n;
}

void clearCalls()
{
    State &s = state();
    std::lock_guard<std::recursive_mutex> lock(s.mutex);
    s.calls.clear();
}

void setResult(const std::string &name, int64_t value)
{
    setResults(name, {value});
}

void setResults(const std::string &name, const std::vector<int64_t> &values)
{
    State &s = state();
    std::lock_guard<std::recursive_mutex> lock(s.mutex);
    Script script;
    script.values = values;
    s.scripts[name] = script;
}

void setDouble(const std::string &name, double value)
{
    State &s = state();
    std::lock_guard<std::recursive_mutex> lock(s.mutex);
    Script script;
    script.hasReal = true;
    script.real = value;
    s.scripts[name] = script;
}

void setText(const std::string &name, const std::string &text)
{
    State &s = state();
    std::lock_guard<std::recursive_mutex> lock(s.mutex);
    Script script;
    script.hasText = true;
    script.text = text;
    s.scripts[name] = script;
}

void setTextNull(const std::string &name)
{
    State &s = state();
    std::lock_guard<std::recursive_mutex> lock(s.mutex);
    Script script;
    script.hasText = true;
    script.textNull = true;
    s.scripts[name] = script;
}

void clearResult(const std::string &name)
{
    State &s = state();
    std::lock_guard<std::recursive_mutex> lock(s.mutex);
    s.scripts.erase(name);
}

void setMedia(const std::string &path, const FakeMedia &media)
{
    State &s = state();
    std::lock_guard<std::recursive_mutex> lock(s.mutex);
    s.media[path] = media;
}

void setJob(int polls, uint64_t total)
{
    State &s = state();
    std::lock_guard<std::recursive_mutex> lock(s.mutex);
    s.jobPolls = std::max(1, polls);
    s.jobTotal = total;
}

unsigned int sendFrame(rsc_player *player, bool original, uint32_t format, uint32_t width, uint32_t height)
{
    rsc_frame_handler handler = nullptr;
    void *user = nullptr;
    Object *frame = nullptr;
    {
        State &s = state();
        std::lock_guard<std::recursive_mutex> lock(s.mutex);
        Object *o = objectOf(player);
        if (!o || o->released)
            return 0;
        handler = o->handlers[original ? 1 : 0];
        user = o->users[original ? 1 : 0];
        if (!handler)
            return 0;
        frame = newObject("frame");
        frame->format = format;
        frame->width = width;
        frame->height = height;
        if (format == RSC_FRAME_YUV420P) {
            const uint32_t cw = (width + 1) / 2, ch = (height + 1) / 2;
            frame->strides[0] = width;
            frame->strides[1] = frame->strides[2] = cw;
            frame->planes[0].assign(static_cast<size_t>(width) * height, 0x10);
            frame->planes[1].assign(static_cast<size_t>(cw) * ch, 0x80);
            frame->planes[2].assign(static_cast<size_t>(cw) * ch, 0x80);
        } else if (format == RSC_FRAME_BGRX) {
            frame->strides[0] = width * 4;
            frame->planes[0].assign(static_cast<size_t>(width) * height * 4, 0x40);
        }
    }
    // Called without the lock, as the library calls handlers from its own thread.
    return handler(user, frame);
}

std::string handleName(const void *handle)
{
    if (!handle)
        return "null";
    State &s = state();
    std::lock_guard<std::recursive_mutex> lock(s.mutex);
    Object *o = objectOf(handle);
    if (!o)
        return "ptr";
    return o->kind + "#" + std::to_string(o->number) + (o->released ? "(released)" : "");
}

} // namespace rscfake
