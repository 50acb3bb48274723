#pragma once
// The C API's job handle, shared by the file jobs (job_capi.cpp) and the track-wise jobs
// (job_tracks_capi.cpp).

#include "edit_handle.h"
#include "job_object.h"
#include "rscodec.h"

struct rsc_job
{
    rsc::job::Job job;
    rsc_job(rsc::job::Job::Kind kind, bool lossless) : job(kind, lossless) {}
};

namespace rsc::job {

inline Job &jobOf(rsc_job *handle)
{
    return handle->job;
}

inline rsc::edit::EditConfig editConfigOf(const rsc_edit *edit)
{
    return edit ? edit->cfg : rsc::edit::EditConfig();
}

} // namespace rsc::job
