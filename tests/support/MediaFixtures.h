#pragma once
// Media fixtures for tests and benchmarks, generated with the `ffmpeg` tool once per build tree into
// <build>/fixtures. Generation is safe across test executables running in parallel (a lock file per
// fixture, write to a temporary name, rename when complete).

#include <QString>
#include <QStringList>

namespace rstest {

struct MediaRecipe
{
    QString name;     // file name inside the fixture folder, its suffix picks the container
    QStringList args; // ffmpeg arguments between the global options and the output path
};

class MediaFixtures
{
public:
    // The standard clips (see MediaFixtures.cpp for the table). Fails the calling test when the name is
    // unknown or generation fails; answers the absolute path.
    static QString standard(const QString &name);
    static QStringList standardNames();

    // A clip of the caller's own recipe, cached by name: a test that changes a recipe must rename it.
    static QString make(const MediaRecipe &recipe);
    // A 1920x1080 25 fps H.264 + AAC MP4 of the given length, light to make (a test pattern at a low rate).
    static QString fullHd(int seconds);
    // A clip made by a shell command of its own (other muxers and encoders than ffmpeg: gst-launch-1.0,
    // mkvmerge, x264, lame, flac, oggenc, opusenc, sox ...), cached by name like make(). The command runs
    // with /bin/sh in an empty working folder of its own, with $OUT naming the file to write (it carries
    // the fixture's suffix) and $FIXTURES the fixture folder. Answers the path; fails the caller's checks
    // (empty file list) when the command fails.
    static QString makeByCommand(const QString &name, const QString &command);
    // Clips made by other tools than ffmpeg (see ForeignFixtures.cpp): "gst_h264_aac.mp4", ".mov", ".mkv",
    // ".ts", "gst_h264_mp3.flv", "gst_mpeg4_mp3.avi", "gst_vp8_vorbis.webm", "gst_aac.m4a",
    // "mkvmerge_x264_mp3.mkv", "x264.h264", "lame.mp3", "oggenc.ogg", "opusenc.opus", "flac.flac", "sox.wav";
    // "<base>_a.<suffix>" and "<base>_b.<suffix>" are a joinable pair (1 s and 1.5 s, other picture and tone).
    static QString foreign(const QString &name);
    static QStringList foreignNames(); // one of each kind
    // "mkvmerge_subs_chapters_a.mkv" (its subtitle track SubRip) for "srt"; remuxed by ffmpeg with the
    // track as "mov_text" (an mp4) or "ass" (an mkv) for those formats.
    static QString foreignSubtitled(const QString &format);
    // The programs those clips need (scripts/install-deps.sh installs them).
    static QStringList foreignTools();
    // True when every named program is installed (for a clear skip message where a tool is missing).
    static bool haveTools(const QStringList &programs, QString *missing = nullptr);

    // A small non-media or damaged file for refusal tests: "empty.mp4" (0 bytes), "text.mp4" (plain
    // text), "truncated.mp4" (the first 4 KiB of a real mp4), "huge_<side>.png" (69 bytes) and
    // "huge_<side>.y4m" (a header and 4 KiB) declaring a square picture of <side> pixels.
    static QString badFile(const QString &name);

    static QString fixtureDir();

    // Runs ffmpeg with the given arguments; answers true on exit code 0. Errors go to the test log.
    static bool runFfmpeg(const QStringList &args, QString *errorText = nullptr);
};

} // namespace rstest
