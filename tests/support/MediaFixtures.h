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

    // A small non-media or damaged file for refusal tests: "empty.mp4" (0 bytes), "text.mp4" (plain
    // text), "truncated.mp4" (the first 4 KiB of a real mp4).
    static QString badFile(const QString &name);

    static QString fixtureDir();

    // Runs ffmpeg with the given arguments; answers true on exit code 0. Errors go to the test log.
    static bool runFfmpeg(const QStringList &args, QString *errorText = nullptr);
};

} // namespace rstest
