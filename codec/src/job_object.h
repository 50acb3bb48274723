#pragma once
// A conversion or merge job as the C API hands it out: it owns its engine (lossless or re-encoding) and runs
// each task on a thread of its own; the caller polls, or waits for the end of the running task. Stops are prompt and
// the thread is always joined.

#include "job_engine.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace rsc::job {

class Job
{
public:
    enum class Kind { Convert, Merge };
    Job(Kind kind, bool lossless);
    ~Job();
    Job(const Job &) = delete;
    Job &operator=(const Job &) = delete;

    // Conversion: one source to one output, run by start().
    bool openConversion(const std::string &source, const std::string &output, const std::string &container,
                        const rsc::edit::EditConfig &cfg);
    bool setRange(uint64_t startUs, uint64_t durationUs);
    // Conversion from packets the caller hands to tracks: `engine` writes them (job_tracks.h).
    bool openTracks(std::unique_ptr<MergeEngine> engine, const std::string &output, const std::string &container,
                    const rsc::edit::EditConfig &cfg);
    // Merge: the output (opened again, possibly with another container, until a task is added), then one
    // task at a time, each running at once.
    bool openOutput(const std::string &output, const std::string &container, const rsc::edit::EditConfig &cfg);
    bool addTask(const TaskSpec &task);
    bool start();

    // Finished once the task's thread is done with it too: a caller that adds the next task as soon as this
    // answers true must not find the job still running (and its add refused without a reason).
    bool isFinished() const { return m_finished.load() && !m_running.load(); }
    bool isStopped() const { return m_stopped.load(); }
    bool isFailed() const { return m_failed.load(); }
    uint64_t total() const { return m_progress.total.load(); }
    uint64_t done() const { return m_progress.done.load(); }
    std::string errorText() const;
    // Waits until no task runs or `timeoutMs` has passed; true when none runs.
    bool waitIdle(unsigned timeoutMs);

    bool stop(bool wait);
    // Ends the job; with `keep` the output takes its path when the job completed, otherwise (and after a
    // failure or stop) the path keeps what it held before.
    bool close(bool keep = true);

private:
    void launch(bool finishAfter);
    void join();
    void refuse(const std::string &why); // an open or add answered 0: the output is as it was
    void fail(const std::string &why);   // a running task failed: the output must not be kept

    Kind m_kind;
    bool m_lossless;
    std::unique_ptr<MergeEngine> m_engine;
    bool m_open = false;
    bool m_fromTracks = false; // no source file, so no range
    bool m_started = false;
    bool m_closed = false;
    int m_tasksAdded = 0;
    TaskSpec m_conversion;
    Progress m_progress;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_finished{false};
    std::atomic<bool> m_stopped{false};
    std::atomic<bool> m_failed{false};
    std::atomic<bool> m_completed{false}; // the engine's output was finished by the worker
    std::mutex m_idleLock;                // guards the end of a run for waitIdle()
    std::condition_variable m_idle;
    mutable std::mutex m_errorLock;
    std::string m_error;
};

} // namespace rsc::job
