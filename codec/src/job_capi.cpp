// The conversion and merge jobs of the C API over rsc::job::Job.
#include "job_capi.h"
#include "decode_input.h"
#include "filter_graph.h"
#include "log_codec.h"
#include "lossless_merge.h"
#include "mux_output.h"

#include <new>

namespace {

rsc_job *create(rsc::job::Job::Kind kind, bool lossless)
{
    rsc::logInstall(); // FFmpeg's messages go to the library log, not to the program's output
    return new (std::nothrow) rsc_job(kind, lossless);
}

bool usable(const char *text)
{
    return text && *text;
}

} // namespace

extern "C" {

rsc_job *rsc_job_create_convert(uint32_t)
{
    return create(rsc::job::Job::Kind::Convert, false);
}

rsc_job *rsc_job_create_convert_lossless(uint32_t)
{
    return create(rsc::job::Job::Kind::Convert, true);
}

rsc_job *rsc_job_create_merge(uint32_t)
{
    return create(rsc::job::Job::Kind::Merge, false);
}

rsc_job *rsc_job_create_merge_lossless(uint32_t)
{
    return create(rsc::job::Job::Kind::Merge, true);
}

void rsc_job_release(rsc_job *job)
{
    delete job;
}

int rsc_job_close(rsc_job *job)
{
    return job && job->job.close() ? 1 : 0;
}

int rsc_job_container_is_single_clip(const char *container)
{
    return container && rsc::job::OutputFile::holdsOneClip(container) ? 1 : 0;
}

int rsc_job_lossless_carries_subtitle(const char *container, const char *src, int index)
{
    if (!usable(container) || !usable(src) || index < 0)
        return 0;
    rsc::logInstall();
    const AVOutputFormat *muxer = rsc::job::OutputFile::muxerFor(container);
    if (!muxer)
        return 0;
    // Opened as the join opens its clips, so the streams counted are the ones it would see.
    rsc::job::InputClip clip;
    std::string error;
    if (!clip.open(src, 0, 0, &error, rsc::job::InputClip::Purpose::Copy))
        return 0;
    return rsc::job::carriedSubtitle(clip.format(), index, muxer) ? 1 : 0;
}

int rsc_job_lossless_container_takes(const char *container, const char *src, int audioTrack, int program)
{
    if (!usable(container) || !usable(src))
        return 0;
    rsc::logInstall();
    rsc::job::TaskSpec task;
    task.source = src;
    task.edit.audioTrack = audioTrack;
    task.edit.programIndex = program;
    std::string why;
    rsc::edit::CNumericScope numeric;
    if (rsc::job::LosslessMerger::canWrite(container, task, &why))
        return 1;
    rsc::logWrite("lossless copy of %s into %s: %s", src, container, why.c_str());
    return 0;
}

int rsc_job_discard(rsc_job *job)
{
    return job && job->job.close(false) ? 1 : 0;
}

int rsc_job_open_file(rsc_job *job, const char *src, const char *dst, const char *container, rsc_edit *edit)
{
    if (!job || !usable(src) || !usable(dst) || !usable(container))
        return 0;
    return job->job.openConversion(src, dst, container, rsc::job::editConfigOf(edit)) ? 1 : 0;
}

int rsc_job_open_dvd(rsc_job *job, const char *src, const char *dst, const char *container, rsc_edit *edit)
{
    // No DVD structure is read: the path opens as a plain media file (a VOB), and a folder is refused.
    return rsc_job_open_file(job, src, dst, container, edit);
}

int rsc_job_set_range(rsc_job *job, uint64_t start, uint64_t duration)
{
    return job && job->job.setRange(start, duration) ? 1 : 0;
}

int rsc_job_open_output(rsc_job *job, const char *dst, const char *container, rsc_edit *edit)
{
    if (!job || !usable(dst) || !usable(container))
        return 0;
    return job->job.openOutput(dst, container, rsc::job::editConfigOf(edit)) ? 1 : 0;
}

int rsc_job_add_task(rsc_job *job, const char *src, uint64_t start, uint64_t duration, rsc_edit *edit)
{
    if (!job || !usable(src))
        return 0;
    return job->job.addTask(rsc::job::TaskSpec{src, start, duration, rsc::job::editConfigOf(edit)}) ? 1 : 0;
}

int rsc_job_add_task_dvd(rsc_job *job, const char *src, uint64_t start, uint64_t duration, rsc_edit *edit)
{
    return rsc_job_add_task(job, src, start, duration, edit);
}

int rsc_job_start(rsc_job *job)
{
    return job && job->job.start() ? 1 : 0;
}

int rsc_job_is_finished(rsc_job *job)
{
    return job && job->job.isFinished() ? 1 : 0;
}

int rsc_job_wait(rsc_job *job, uint32_t timeout_ms)
{
    return job && job->job.waitIdle(timeout_ms) ? 1 : 0;
}

int rsc_job_is_stopped(rsc_job *job)
{
    return job && job->job.isStopped() ? 1 : 0;
}

int rsc_job_is_failed(rsc_job *job)
{
    return job && job->job.isFailed() ? 1 : 0;
}

const char *rsc_job_error(rsc_job *job)
{
    if (!job)
        return nullptr;
    thread_local std::string text;
    text = job->job.errorText();
    return text.c_str();
}

uint64_t rsc_job_total(rsc_job *job)
{
    return job ? job->job.total() : 0;
}

uint64_t rsc_job_done(rsc_job *job)
{
    return job ? job->job.done() : 0;
}

int rsc_job_stop(rsc_job *job, int wait)
{
    return job && job->job.stop(wait != 0) ? 1 : 0;
}

} // extern "C"
