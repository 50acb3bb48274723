#pragma once
// The library's own log: FFmpeg's messages and ours go to "codec.log" in the application-data folder.
// Nothing is written until a folder is set; the file never grows beyond a bound.

#include <string>

namespace rsc {

// Routes av_log into the library log; safe to call many times.
void logInstall();

void logSetEnabled(bool enabled, bool verbose);
// Answers false when the folder does not exist or the log cannot be opened there.
bool logSetFolder(const std::string &folder);

void logWrite(const char *fmt, ...) __attribute__((format(printf, 1, 2)));

// Size at which the log is rotated to "codec.log.1".
constexpr long kLogMaxBytes = 1024 * 1024;

} // namespace rsc
