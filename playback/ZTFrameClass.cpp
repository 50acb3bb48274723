#include "ZTFrameClass.h"

#include "rscodec.h"

ZTFrameClass::ZTFrameClass(QObject *parent) : QObject(parent) {}

ZTFrameClass::~ZTFrameClass()
{
    Release_Frame();
}

void ZTFrameClass::Create_Frame()
{
    if (!m_frame)
        m_frame = rsc_frame_create();
}

void *ZTFrameClass::Reference_Frame(void *frame)
{
    Release_Frame();
    m_frame = frame ? rsc_frame_reference(frame) : nullptr;
    return m_frame;
}

void ZTFrameClass::Release_Frame()
{
    if (!m_frame)
        return;
    rsc_frame_release(m_frame);
    m_frame = nullptr;
}

VideoFrameFormat ZTFrameClass::GetVideoFormat_Frame()
{
    return m_frame ? rsc_frame_format(m_frame) : RSC_FRAME_NONE;
}

unsigned int ZTFrameClass::GetVideoWidth_Frame()
{
    return m_frame ? rsc_frame_width(m_frame) : 0;
}

unsigned int ZTFrameClass::GetVideoHeight_Frame()
{
    return m_frame ? rsc_frame_height(m_frame) : 0;
}

unsigned int ZTFrameClass::GetVideoStride_Frame(unsigned int plane)
{
    return m_frame ? rsc_frame_stride(m_frame, plane) : 0;
}

unsigned char *ZTFrameClass::GetVideoData_Frame(unsigned int plane)
{
    return m_frame ? rsc_frame_data(m_frame, plane) : nullptr;
}
