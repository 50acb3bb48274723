#pragma once
// The gates of the road from the Convert button to a running merge, free of widgets: whether the output
// folder can take the merged file, whether the high-speed notice is due, what its answer means, and the
// clean-up of a run that did not finish.

#include <QString>

class MergeFlow
{
public:
    // The output folder exists (made when missing) and a file can be created in it.
    static bool prepareOutputFolder(const QString &dir);

    // The high-speed notice is shown in the high-speed mode when the clips cannot be joined without
    // re-encoding and the user has not silenced it ("Y" exactly).
    static bool needsMismatchNotice(bool lossless, bool compatible, const QString &remind);

    // Only an accepted notice (OK) goes on; closing it cancels the run.
    static bool runsAfterNotice(int result);
    // The "don't show again" answer is kept only with an accepted notice.
    static bool keepsSilence(int result, bool ticked);

    // A run that failed or was stopped leaves no output behind: removes what is at `path`, a file only.
    static void discardOutput(const QString &path);
};
