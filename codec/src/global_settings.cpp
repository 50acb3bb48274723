#include "global_settings.h"
#include "codecids_table.h"

#include "log_codec.h"
#include "rscodec.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace rsc {
namespace {

std::atomic<bool> s_interrupt{false};
std::mutex s_formatsMutex;
std::vector<uint32_t> s_formats{RSC_FRAME_YUV420P};

} // namespace

uint32_t preferredFrameFormat()
{
    std::lock_guard<std::mutex> lock(s_formatsMutex);
    return s_formats.front();
}

bool frameFormatAccepted(uint32_t format)
{
    std::lock_guard<std::mutex> lock(s_formatsMutex);
    for (uint32_t f : s_formats)
        if (f == format)
            return true;
    return false;
}

bool interruptRequested()
{
    return s_interrupt.load();
}

int interruptCallback(void *)
{
    return s_interrupt.load() ? 1 : 0;
}

} // namespace rsc

extern "C" {

int rsc_global_set_options(int log_enabled, int verbose)
{
    rsc::logSetEnabled(log_enabled != 0, verbose != 0);
    return 1;
}

int rsc_global_set_data_folder(const char *utf8_path)
{
    if (!utf8_path)
        return 0;
    return rsc::logSetFolder(utf8_path) ? 1 : 0;
}

int rsc_global_set_frame_formats(const int32_t *formats, int count)
{
    if (!formats || count <= 0)
        return 0;
    std::vector<uint32_t> known;
    for (int i = 0; i < count; ++i) {
        const uint32_t f = static_cast<uint32_t>(formats[i]);
        if ((f == RSC_FRAME_YUV420P || f == RSC_FRAME_BGRX) && std::find(known.begin(), known.end(), f) == known.end())
            known.push_back(f);
    }
    if (known.empty())
        return 0;
    std::lock_guard<std::mutex> lock(rsc::s_formatsMutex);
    rsc::s_formats = known;
    return 1;
}

int rsc_global_set_interrupt(int on)
{
    return rsc::s_interrupt.exchange(on != 0) ? 1 : 0;
}

int rsc_global_can_encode(uint32_t codec_id)
{
    return rsc::encoderForCodecId(codec_id) ? 1 : 0;
}

} // extern "C"
