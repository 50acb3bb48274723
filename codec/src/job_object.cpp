#include "job_object.h"

#include <chrono>

#include "filter_graph.h"
#include "log_codec.h"
#include "lossless_merge.h"
#include "reencode_merge.h"

namespace rsc::job {

namespace {

std::unique_ptr<MergeEngine> newEngine(bool lossless)
{
    if (lossless)
        return std::make_unique<LosslessMerger>();
    return std::make_unique<ReencodeMerger>();
}

} // namespace

Job::Job(Kind kind, bool lossless) : m_kind(kind), m_lossless(lossless), m_engine(newEngine(lossless)) {}

Job::~Job()
{
    close(false); // an output never closed by its caller is not kept
}

std::string Job::errorText() const
{
    std::lock_guard<std::mutex> lock(m_errorLock);
    return m_error;
}

void Job::refuse(const std::string &why)
{
    {
        std::lock_guard<std::mutex> lock(m_errorLock);
        m_error = why;
    }
    rsc::logWrite("job: %s", why.c_str());
}

void Job::fail(const std::string &why)
{
    refuse(why);
    m_failed = true;
}

bool Job::openConversion(const std::string &source, const std::string &output, const std::string &container,
                         const rsc::edit::EditConfig &cfg)
{
    if (m_kind != Kind::Convert || m_open || m_closed)
        return false;
    std::string why;
    if (!m_engine->open(output, container, cfg, &why)) {
        refuse(why);
        return false;
    }
    m_conversion = TaskSpec{source, 0, 0, cfg};
    m_open = true;
    return true;
}

bool Job::openTracks(std::unique_ptr<MergeEngine> engine, const std::string &output, const std::string &container,
                     const rsc::edit::EditConfig &cfg)
{
    if (m_kind != Kind::Convert || m_open || m_closed || !engine)
        return false;
    std::string why;
    if (!engine->open(output, container, cfg, &why)) {
        refuse(why);
        return false;
    }
    m_engine = std::move(engine);
    m_conversion = TaskSpec{std::string(), 0, 0, cfg};
    m_fromTracks = true;
    m_open = true;
    return true;
}

bool Job::setRange(uint64_t startUs, uint64_t durationUs)
{
    if (m_kind != Kind::Convert || !m_open || m_started || m_fromTracks)
        return false;
    m_conversion.startUs = startUs;
    m_conversion.durationUs = durationUs;
    return true;
}

bool Job::openOutput(const std::string &output, const std::string &container, const rsc::edit::EditConfig &cfg)
{
    if (m_kind != Kind::Merge || m_closed || m_running.load())
        return false;
    if (m_open) {
        // Opening again is allowed until a task has been added (another container after a refused first
        // clip, say); after that it would throw away what was joined.
        if (m_tasksAdded > 0)
            return false;
        m_engine->finish(false, nullptr);
        m_engine = newEngine(m_lossless);
        m_open = false;
    }
    std::string why;
    if (!m_engine->open(output, container, cfg, &why)) {
        refuse(why);
        return false;
    }
    m_open = true;
    return true;
}

bool Job::start()
{
    if (!m_open || m_closed)
        return false;
    if (m_kind == Kind::Merge) {
        m_started = true;
        return true;
    }
    if (m_started)
        return false;
    std::string why;
    if (!m_engine->prepare(m_conversion, &why)) {
        refuse(why);
        return false;
    }
    m_started = true;
    launch(true);
    return true;
}

bool Job::addTask(const TaskSpec &task)
{
    if (m_kind != Kind::Merge || !m_open || m_closed || m_running.load() || m_stop.load())
        return false;
    join();
    std::string why;
    if (!m_engine->prepare(task, &why)) {
        refuse(why);
        return false;
    }
    m_started = true;
    ++m_tasksAdded;
    launch(false);
    return true;
}

void Job::launch(bool finishAfter)
{
    m_finished = false;
    m_failed = false;
    m_running = true;
    m_thread = std::thread([this, finishAfter] {
        // FFmpeg parses option numbers with the C library: keep '.' as the decimal point here.
        rsc::edit::CNumericScope numeric;
        std::string why;
        const bool ok = m_engine->run(m_progress, m_stop, &why);
        if (m_stop.load()) {
            m_stopped = true;
        } else if (!ok) {
            fail(why);
            m_finished = true;
        } else {
            if (finishAfter) {
                std::string problem;
                if (!m_engine->finish(true, &problem))
                    fail(problem.empty() ? std::string("cannot complete the output") : problem);
                m_completed = true;
            }
            m_finished = true;
        }
        {
            const std::lock_guard<std::mutex> lock(m_idleLock);
            m_running = false;
        }
        m_idle.notify_all();
    });
}

bool Job::waitIdle(unsigned timeoutMs)
{
    std::unique_lock<std::mutex> lock(m_idleLock);
    return m_idle.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return !m_running.load(); });
}

void Job::join()
{
    if (m_thread.joinable())
        m_thread.join();
}

bool Job::stop(bool wait)
{
    m_stop = true;
    if (wait)
        join();
    return true;
}

bool Job::close(bool keep)
{
    if (m_closed)
        return true;
    m_closed = true;
    if (m_running.load() || !keep)
        m_stop = true;
    join();
    bool ok = true;
    if (m_open && !m_completed.load()) {
        rsc::edit::CNumericScope numeric;
        const bool complete = keep && !m_stopped.load() && !m_failed.load();
        std::string problem;
        ok = m_engine->finish(complete, &problem);
        if (!ok && complete && !problem.empty())
            refuse(problem);
    }
    if (!keep)
        return true; // a conversion that completed before keeps its file: it is finished and in place
    return ok && !m_failed.load() && !m_stopped.load();
}

} // namespace rsc::job
