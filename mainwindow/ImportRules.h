#pragma once
// Which dropped or chosen paths the import hands to the probe, and the file dialog's filter.

#include <QString>

class ImportRules
{
public:
    // True for a file whose own suffix (after the last "." of its file name) is there and is not one of
    // the protected audiobook suffixes "aa" and "aax" (any case). Everything else is left to the probe.
    static bool IsSupportFile(const QString &path);
    // `suffix` with or without its leading dot.
    static bool IsSupportSuffix(const QString &suffix);

    // The suffixes of the "All Supported Formats" entry, space-separated patterns ("*.m4v *.avi ...").
    static QString supportedPatterns();
    // The file dialog's whole filter; every entry's patterns are separated by spaces.
    static QString fileDialogFilter();
};
