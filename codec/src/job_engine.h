#pragma once
// What a job runs: an output that clips are appended to, one task at a time. The lossless engine copies
// packets, the re-encoding engine decodes, edits and encodes; the job object (job_object.h) drives either on
// its own thread.

#include "edit_config.h"

#include <atomic>
#include <cstdint>
#include <string>

namespace rsc::job {

struct TaskSpec
{
    std::string source;
    uint64_t startUs = 0;
    uint64_t durationUs = 0; // 0 = to the end of the clip
    rsc::edit::EditConfig edit;
};

struct Progress
{
    std::atomic<uint64_t> total{0}; // microseconds of the running task
    std::atomic<uint64_t> done{0};
};

// A clip whose content ends more than a second before the end it stated (the file was cut short while it
// was read, or its tail is damaged) has lost that tail: the task fails rather than pass as joined.
inline bool lostItsTail(int64_t statedEndUs, int64_t reachedUs, const std::string &source, std::string *error)
{
    if (statedEndUs <= 0 || statedEndUs == INT64_MAX || reachedUs >= statedEndUs - 1000000)
        return false;
    if (error)
        *error = source + " ended " + std::to_string((statedEndUs - reachedUs) / 1000) +
                 " ms before its stated length (it changed while being read, or is damaged)";
    return true;
}

class MergeEngine
{
public:
    virtual ~MergeEngine() = default;
    // Creates the output file; the streams follow from the first task.
    virtual bool open(const std::string &path, const std::string &container, const rsc::edit::EditConfig &cfg,
                      std::string *error) = 0;
    // Opens the task's source and checks that it can join the output (caller's thread); keeps it for run().
    virtual bool prepare(const TaskSpec &task, std::string *error) = 0;
    // Appends the prepared task (job thread). A stop ends it early; the output stays valid.
    virtual bool run(Progress &progress, const std::atomic<bool> &stop, std::string *error) = 0;
    // Writes the trailer and closes the output. `complete` is false after a stop: buffered frames are
    // dropped rather than encoded, since the caller discards the file. A complete output that cannot be
    // finished says why.
    virtual bool finish(bool complete, std::string *error) = 0;
};

} // namespace rsc::job
