#pragma once
// Open files reached by their descriptor through /proc: unnamed files (O_TMPFILE), which get a name or are
// handed to FFmpeg and libass that way, and files whose name may have changed since they were opened.

#include <cerrno>
#include <string>
#include <unistd.h>

namespace rsc {

// The path that names the file open as `fd` in this process.
inline std::string descriptorPath(int fd)
{
    return "/proc/self/fd/" + std::to_string(fd);
}

// Whether descriptor paths can be had (/proc is mounted).
inline bool descriptorPathsWork()
{
    return ::access("/proc/self/fd", X_OK) == 0;
}

// True for what open(O_TMPFILE) answers where the kernel or the folder's filesystem has no unnamed files.
inline bool noUnnamedFiles(int error)
{
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

} // namespace rsc
