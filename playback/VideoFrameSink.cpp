#include "VideoFrameSink.h"

bool VideoFrameSink::deliver(const VideoFrameDesc &desc)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_receiver && m_receiver->acceptFrame(desc);
}

void VideoFrameSink::attach(VideoFrameReceiver *receiver)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_receiver = receiver;
}

void VideoFrameSink::detach(VideoFrameReceiver *receiver)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_receiver == receiver)
        m_receiver = nullptr;
}

void VideoFrameSink::detachAll()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_receiver = nullptr;
}

bool VideoFrameSink::isAttached() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_receiver != nullptr;
}
