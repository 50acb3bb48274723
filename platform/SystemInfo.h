#pragma once
// The operating system's own name and version, for the log.

#include <QString>

class SystemInfo
{
public:
    // For example "Debian GNU/Linux 12 (bookworm), Linux 6.1.0"; empty when nothing can be read.
    static QString osVersionText();
    // The kernel's release as three numbers; false (outputs untouched) when it cannot be read.
    static bool kernelVersion(unsigned int &major, unsigned int &minor, unsigned int &patch);
    // Parses a release text such as "6.1.0-18-amd64".
    static bool parseRelease(const QString &release, unsigned int &major, unsigned int &minor, unsigned int &patch);
};
