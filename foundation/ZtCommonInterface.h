#pragma once
// What the program needs of the host and of its own bundle: reveal a file, power off or sleep after a
// merge, update checks, the system version for the log, the bundle's Info.plist, a writable-folder probe,
// clocks and a keep-on-top window. The work is done by the host services (platform/).

#include <QString>

#include <string>

class ZtCommonInterface
{
public:
    ZtCommonInterface() {}

    // Bundle constants.
    static QString bundleVersion();     // "1.0.1.2"
    static QString shortVersion();      // "1.0.1"
    static QString updateProductId();   // "10401"
    static QString makerName();         // "Quorvane"
    static QString updateFeedAddress(); // the update server's feed with pid and ver

    static void showFileInFolder(const std::string &path);
    // The path as it is revealed: "//" to "/" first, then "\" to "/".
    static QString normalisedRevealPath(const std::string &path);
    static void shutdownComputer();
    static void sleepComputer();
    static void checkForUpdate();
    static void setAutoCheckUpdate(bool on);

    // The operating system's own name and version, or "Unkown".
    static QString SystemVersionInfo();
    static void SystemVersionInfoValue(unsigned int &major, unsigned int &minor, unsigned int &patch);

    static QString getAppInfoFile(); // the bundle's Contents/Info.plist
    static bool isNeedInitInfoFile();
    static bool isNeedInitInfoFile(const std::string &infoPlistPath);
    // Writes the version, name, identifier and update keys once (while the short version is missing);
    // false when the file could not be read or written.
    static bool InitInfoToFile(const std::string &infoPlistPath);
    static QString getAppVersion();

    // Creates and removes a probe file in `dir` (which ends in a separator); never touches an existing file.
    static bool isWritableDir(const QString &dir);

    static unsigned long long getSystemTime(); // monotonic microseconds
    static unsigned long long getDateTime();   // microseconds since 1970-01-01 UTC
    static void Sleep(long long microseconds);
    static void setWindowTopHint(void *widget);

    static char32_t *ConvertCharToUtft32(const char *text);
    static QString charToQString(const std::string &text);
};
