#include "ZTInfoClass.h"

#include "rscodec.h"

ZTInfoClass::ZTInfoClass(QObject *parent) : QObject(parent) {}

ZTInfoClass::~ZTInfoClass()
{
    Release_Info();
}

void ZTInfoClass::Create_Info()
{
    if (!m_info)
        m_info = rsc_info_create(RSC_CREATE_DEFAULT);
}

void ZTInfoClass::Release_Info()
{
    if (!m_info)
        return;
    rsc_info_close(m_info);
    rsc_info_release(m_info);
    m_info = nullptr;
}

bool ZTInfoClass::Open_Info(const char *path)
{
    return m_info && rsc_info_open_file(m_info, path) != 0;
}

bool ZTInfoClass::OpenStream_Info(void *stream)
{
    return m_info && rsc_info_open_stream(m_info, static_cast<rsc_memstream *>(stream)) != 0;
}

bool ZTInfoClass::OpenDVD_Info(const char *path)
{
    return m_info && rsc_info_open_dvd(m_info, path) != 0;
}

bool ZTInfoClass::OpenWithPlayer_Info(void *player)
{
    return m_info && rsc_info_open_with_player(m_info, static_cast<rsc_player *>(player)) != 0;
}

bool ZTInfoClass::HasVideo_Info()
{
    return m_info && rsc_info_has_video(m_info) != 0;
}

bool ZTInfoClass::HasAudio_Info()
{
    return m_info && rsc_info_has_audio(m_info) != 0;
}

unsigned int ZTInfoClass::GetVideoWidth_Info()
{
    return m_info ? rsc_info_video_width(m_info) : 0;
}

unsigned int ZTInfoClass::GetVideoHeight_Info()
{
    return m_info ? rsc_info_video_height(m_info) : 0;
}

unsigned int ZTInfoClass::GetVideoAspectRatioX_Info()
{
    return m_info ? rsc_info_video_aspect_x(m_info) : 0;
}

unsigned int ZTInfoClass::GetVideoAspectRatioY_Info()
{
    return m_info ? rsc_info_video_aspect_y(m_info) : 0;
}

unsigned long long ZTInfoClass::GetDuration_Info()
{
    return m_info ? rsc_info_duration(m_info) : 0;
}

const void *ZTInfoClass::GetMetaData_Info(const char *key)
{
    return m_info ? rsc_info_get_metadata(m_info, key) : nullptr;
}

unsigned char *ZTInfoClass::GetVideoImage_Info(unsigned long long time, unsigned int mode, unsigned int width,
                                               unsigned int height, unsigned int flags)
{
    return m_info ? rsc_info_get_video_image(m_info, time, mode, width, height, flags) : nullptr;
}

bool ZTInfoClass::FreeVideoImage_Info(unsigned char *image)
{
    return m_info && rsc_info_free_video_image(m_info, image) != 0;
}

const char *ZTInfoClass::GetProgrName_Info()
{
    const char *name = m_info ? rsc_info_program_name(m_info) : nullptr;
    return name ? name : "";
}

unsigned int ZTInfoClass::GetProgrCount_Info()
{
    return m_info ? rsc_info_program_count(m_info) : 0;
}

unsigned int ZTInfoClass::GetVideoCount_Info()
{
    return m_info ? rsc_info_video_count(m_info) : 0;
}

unsigned int ZTInfoClass::GetAudioCount_Info()
{
    return m_info ? rsc_info_audio_count(m_info) : 0;
}

unsigned int ZTInfoClass::GetSubtlCount_Info()
{
    return m_info ? rsc_info_subtitle_count(m_info) : 0;
}

bool ZTInfoClass::SetProgrIndex_Info(unsigned int index)
{
    return m_info && rsc_info_set_program_index(m_info, index) != 0;
}

bool ZTInfoClass::SetVideoIndex_Info(unsigned int index)
{
    return m_info && rsc_info_set_video_index(m_info, index) != 0;
}

bool ZTInfoClass::SetAudioIndex_Info(unsigned int index)
{
    return m_info && rsc_info_set_audio_index(m_info, index) != 0;
}

bool ZTInfoClass::SetSubtlIndex_Info(unsigned int index)
{
    return m_info && rsc_info_set_subtitle_index(m_info, index) != 0;
}

bool ZTInfoClass::SetSubtlFile_Info(const char *path)
{
    return m_info && rsc_info_set_subtitle_file(m_info, path) != 0;
}

bool ZTInfoClass::SetSubtlStream_Info(void *stream)
{
    return m_info && rsc_info_set_subtitle_stream(m_info, static_cast<rsc_memstream *>(stream)) != 0;
}

bool ZTInfoClass::SetSubtlFileEx_Info(const char *path, unsigned int offset, unsigned int flags)
{
    return m_info && rsc_info_set_subtitle_file_ex(m_info, path, offset, flags) != 0;
}

bool ZTInfoClass::SetSubtlStreamEx_Info(void *stream, unsigned int offset, unsigned int flags)
{
    return m_info && rsc_info_set_subtitle_stream_ex(m_info, static_cast<rsc_memstream *>(stream), offset, flags) != 0;
}

bool ZTInfoClass::EnableClosedCaption_Info(unsigned int on)
{
    return m_info && rsc_info_enable_closed_caption(m_info, on) != 0;
}

unsigned int ZTInfoClass::GetChapterCount_Info()
{
    return m_info ? rsc_info_chapter_count(m_info) : 0;
}

unsigned long long ZTInfoClass::GetChapterStartTime_Info(unsigned int index)
{
    return m_info ? rsc_info_chapter_start(m_info, index) : 0;
}

unsigned long long ZTInfoClass::GetChapterDuration_Info(unsigned int index)
{
    return m_info ? rsc_info_chapter_duration(m_info, index) : 0;
}

const char *ZTInfoClass::GetChapterTitle_Info(unsigned int index)
{
    const char *title = m_info ? rsc_info_chapter_title(m_info, index) : nullptr;
    return title ? title : "";
}
