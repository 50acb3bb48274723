#pragma once
// Control of the recording fake of rscodec.h (library codec_fake), for tests of the code that drives the
// codec library without media.
//
// Every rsc_* call is recorded in order as text: its name and arguments, e.g.
//   rsc_info_open_file(info#1, "/clips/a.mp4")
//   rsc_edit_set_crop(edit#1, 0, 0.25, 1, 0.5)
// Handles are written as <kind>#<n>, numbered per kind from 1 after each reset(); texts in double quotes;
// null pointers as null; other pointers as ptr; arrays with their count as [a, b]; byte buffers as bytes(n).
//
// Answers, without a script: creators give a new handle; opens, starts, adds, setters, frees answer 1;
// queries (has_, is_, can_) answer 0; getters answer 0 / null / 0.0, except where the handle describes
// scripted media (setMedia) or a scripted job (setJob): rsc_player_get_preview_size then writes the current
// video stream's size. A scripted result for a call name wins over all (and writes nothing).

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "rscodec.h"

namespace rscfake {

struct FakeStream
{
    std::string title, format, language; // empty = the library answers null
    uint64_t values[8] = {};             // values[1..7] answer rsc_info_stream_value(n)
    std::vector<uint8_t> privateData;
    uint32_t width = 0, height = 0; // video streams
};

struct FakeChapter
{
    uint64_t start = 0;
    uint64_t duration = 0;
    std::string title;
    bool hasTitle = true;
};

struct FakeMedia
{
    bool openable = true;
    uint64_t duration = 0;
    uint32_t aspectX = 0, aspectY = 0;
    bool canSeek = true;
    std::vector<FakeStream> video, audio, subtitle;
    std::vector<FakeChapter> chapters;
    std::map<std::string, std::string> metadata; // by key; "ffmpeg_format", "major_brand", tags
    std::vector<uint8_t> cover;                  // "cover_image" bytes; empty = none
    std::string formatId;
    uint32_t programCount = 1;
    std::string programName;
};

// Forgets every call, script and media; frees the fake handles still alive.
void reset();

// The recorded calls, in order; those whose text starts with `prefix`; how many calls had that name.
std::vector<std::string> calls();
std::vector<std::string> calls(const std::string &prefix);
int count(const std::string &name);
void clearCalls();

// Every later call of `name` answers `value` (integers, times, counts; for pointer results 0 = null).
void setResult(const std::string &name, int64_t value);
// Successive calls answer the values in turn; the last one repeats.
void setResults(const std::string &name, const std::vector<int64_t> &values);
void setDouble(const std::string &name, double value);
// For calls answering a text; setTextNull makes them answer null.
void setText(const std::string &name, const std::string &text);
void setTextNull(const std::string &name);
// Drops the script of one call name.
void clearResult(const std::string &name);

// Information objects and players that open `path` (the UTF-8 text passed to the open call) describe
// `media`; the path "*" stands for every path without its own media. Paths with no media open with
// success and describe nothing, unless media.openable is false.
void setMedia(const std::string &path, const FakeMedia &media);

// Jobs: is_finished answers 0 for `polls` - 1 polls and then 1; total answers `total`; done grows with
// the polls to `total`. A stop makes is_stopped and is_finished answer 1. Applies to jobs created later.
void setJob(int polls, uint64_t total);

// Calls the frame handler registered on `player` (original = the untouched-frame handler) with a fake
// frame of that format and size; answers the handler's result, 0 when none is registered.
unsigned int sendFrame(rsc_player *player, bool original, uint32_t format, uint32_t width, uint32_t height);

// The text a handle is recorded as (e.g. "info#2"), "null" for null.
std::string handleName(const void *handle);

} // namespace rscfake
