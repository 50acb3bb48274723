#pragma once
// The gates of the road from the Convert button to a running merge, free of widgets: whether the output
// folder can take the merged file, whether the high-speed notice is due, what its answer means, the
// failure message, and what a run that did not finish gives back.

#include <QString>

class MergeFlow
{
public:
    // The output folder exists (made when missing) and a file can be created in it.
    static bool prepareOutputFolder(const QString &dir);

    // The high-speed notice is shown in the high-speed mode when the clips cannot be joined without
    // re-encoding and the user has not silenced it ("Y" exactly).
    static bool needsMismatchNotice(bool lossless, bool compatible, const QString &remind);

    // The "don't show again" answer is kept only with an accepted notice (which way the notice was
    // closed decides nothing else: the run goes on).
    static bool keepsSilence(int result, bool ticked);

    // The failure message: the fixed text, and on the next line the file concerned and the library's
    // reason when the driver knows them.
    static QString failureText(const QString &fixed, const QString &reason);

    // A run that failed or was stopped gives back the output name it claimed: the next run may take it.
    static void releaseOutputName(const QString &path);
};
