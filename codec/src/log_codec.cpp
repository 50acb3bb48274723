#include "log_codec.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>

#include <sys/stat.h>

extern "C" {
#include <libavutil/log.h>
}

namespace rsc {
namespace {

struct LogState
{
    std::mutex mutex;
    std::string path;
    FILE *file = nullptr;
    // Read by FFmpeg's callback on any thread before it takes the mutex.
    std::atomic<bool> enabled{true};
    std::atomic<bool> verbose{false};
};

LogState &state()
{
    static LogState *s_state = new LogState; // never destroyed: FFmpeg may log during static teardown
    return *s_state;
}

// Caller holds the mutex.
void writeLocked(LogState &s, const char *text)
{
    if (!s.file || !s.enabled)
        return;
    fputs(text, s.file);
    fflush(s.file);
    if (ftell(s.file) < kLogMaxBytes)
        return;
    // Keep one older generation so a long session never fills the disk.
    fclose(s.file);
    const std::string old = s.path + ".1";
    std::remove(old.c_str());
    std::rename(s.path.c_str(), old.c_str());
    s.file = std::fopen(s.path.c_str(), "a");
}

void ffmpegCallback(void *avcl, int level, const char *fmt, va_list args)
{
    LogState &s = state();
    const int limit = s.verbose ? AV_LOG_INFO : AV_LOG_WARNING;
    if (level > limit || !s.enabled)
        return;
    char line[1024];
    thread_local int t_printPrefix = 1;
    av_log_format_line2(avcl, level, fmt, args, line, sizeof(line), &t_printPrefix);
    std::lock_guard<std::mutex> lock(s.mutex);
    writeLocked(s, line);
}

} // namespace

void logInstall()
{
    static std::once_flag s_once;
    std::call_once(s_once, [] { av_log_set_callback(ffmpegCallback); });
}

void logSetEnabled(bool enabled, bool verbose)
{
    logInstall();
    LogState &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.enabled = enabled;
    s.verbose = verbose;
}

bool logSetFolder(const std::string &folder)
{
    logInstall();
    struct stat st
    {
    };
    if (folder.empty() || stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return false;
    std::string path = folder;
    if (path.back() != '/')
        path += '/';
    path += "codec.log";
    FILE *file = std::fopen(path.c_str(), "a");
    if (!file)
        return false;
    LogState &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (s.file)
        fclose(s.file);
    s.file = file;
    s.path = path;
    return true;
}

void logWrite(const char *fmt, ...)
{
    char line[1024];
    va_list args;
    va_start(args, fmt);
    vsnprintf(line, sizeof(line) - 1, fmt, args);
    va_end(args);
    LogState &s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    writeLocked(s, line);
    if (s.file && s.enabled && line[0] && line[strlen(line) - 1] != '\n')
        writeLocked(s, "\n");
}

} // namespace rsc
