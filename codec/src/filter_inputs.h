#pragma once
// The files an edit configuration names (overlay pictures and masks, the subtitle file, the background
// sound): whether the edit pipeline may open them. The filters open these files inside FFmpeg and libass,
// where nothing bounds the wait or the memory, so each is checked here first: by the jobs when a task is
// added, by the player's setters, and again by every graph the player builds (the file may have changed).

#include "edit_config.h"

#include <cstdint>
#include <string>

namespace rsc::edit {

// What a subtitle file, or a clip's subtitle stream drawn into the picture, may hold. Real files stay far
// below (a film: ~100 KB, ~2,000 cues, a few on screen; heavy karaoke or sign typesetting: a few MB, tens of
// thousands of cues, hundreds at once), while libass lays out a cue at about 1 KB per character, lays out
// every cue on screen again for each frame (64 KiB of text: ~0.1 s a frame) and checks every cue on screen
// against every other. A cue's text is counted without its line breaks: text demuxers break a long line
// every 4 KiB as they read it.
constexpr int64_t kMaxSubtitleFileBytes = int64_t(8) << 20; // also the text of a whole subtitle stream
constexpr int kMaxCueBytes = 64 << 10;
constexpr int kMaxCues = 50000;
constexpr int kMaxCuesAtOnce = 2000;
constexpr int kMaxTextBytesAtOnce = 64 << 10;
// What the override tags of the cues on screen at once may ask libass to draw, in glyph area (script pixels
// squared, in the 288 lines of a converted text script): two glyphs of the largest font size a style takes.
// libass draws every glyph whole, however far it reaches beyond the frame, and blurs and outlines it anew for
// each frame. At that bound a 3 s join at 640x360 takes 4 s, at 1920x1080 5 s and 300 MB; four glyphs of
// {\fs4000} took 590 MB and 12 s at 640x360, {\fscx100000\fscy100000} 9 GB, 1100 cues of {\blur20\bord20}
// at once over a minute.
constexpr int kMaxFontSize = 1000;
constexpr double kMaxTaggedGlyphAreaAtOnce = 2.0 * kMaxFontSize * kMaxFontSize;

// What the subtitle style may draw of the text on screen at once, in glyph area (script pixels squared, in the
// 288 lines of a converted text script, each glyph as tall and wide as the style's size, scale and outline
// make it): kMaxTextBytesAtOnce in the default style (size 18, outline 1). At that bound a 3 s join at 1080p
// takes 6 s and 680 MB; a film's cue at size 580 took 15 s, a crowd of 1,900 cues at size 100 2 GB.
constexpr double kMaxStyledTextAreaAtOnce = double(kMaxTextBytesAtOnce) * (18 + 2 * 1) * (18 + 2 * 1);

enum class InputUse { Picture, Sound, Subtitle };

// Empty when the file can be used so; otherwise why not, in English for the log and the caller's message.
// Pictures and sound must open as the clip probe opens a file (its limits on picture size included) and
// have a stream of that kind; a subtitle file must hold text subtitles within the bounds above. Answers are
// kept for files that have not changed since (same inode, size and modification time).
std::string inputProblem(const std::string &path, InputUse use);

// A background sound as the pipeline's reader reads it: the time of its first decoded sound on the
// file's own time line, and its length as the file states it (0 when it states none).
struct SoundSpan
{
    int64_t firstUs = 0;
    int64_t lengthUs = 0;
};
// False (and `span` untouched) when `path` cannot be used as a background sound. Cached like inputProblem.
bool soundSpan(const std::string &path, SoundSpan *span);

// Empty when the n-th subtitle stream of `source` (0-based, counted among the file's subtitle streams as the
// subtitles filter counts them) holds text subtitles within the bounds above; otherwise why not. A source
// that cannot be opened, or lacks that stream, is no problem of this check. Cached like inputProblem.
std::string subtitleStreamProblem(const std::string &source, int stream);

// The first problem among the files `cfg` names for its picture edits (pictures, masks, a subtitle file
// that is drawn, with its style) and for its sound edits (the background); empty when there is none.
std::string editInputsProblem(const EditConfig &cfg, bool picture, bool sound);

// For a job's add: false, with the reason in `error`, when `cfg` draws a subtitle stream of `source` that
// is beyond the bounds, with its style (its picture edits on, no subtitle file).
bool subtitleStreamUsable(const std::string &source, const EditConfig &cfg, std::string *error);

// `cfg` with every file that has a problem dropped, as though it had not been set, so that a graph built
// from it opens none of them; likewise the subtitle stream of `source` it draws, and subtitles its style
// would draw beyond the bounds.
EditConfig withUsableInputs(const EditConfig &cfg, bool picture, bool sound, const std::string &source = {});

// The canvas (PlayResX x PlayResY) of an ASS script whose header is the `size` bytes at `header`, read as
// libass reads it, with libass's defaults for a side that is missing or not positive.
struct AssCanvas
{
    int32_t width;
    int32_t height;
};
AssCanvas assCanvas(const char *header, size_t size);

// True for a file of more than kMaxSubtitleFileBytes whose head reads as text (a byte-order mark, or no NUL
// byte in its first 64 KiB): FFmpeg's text demuxers read such a file whole, at about 18 times its size.
bool isOversizedText(const char *path);

} // namespace rsc::edit
