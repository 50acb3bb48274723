#pragma once
// The door through which frame-delivering threads reach a video view that the GUI thread may replace or
// destroy at any time. The codec library's frame handlers keep a shared pointer to the sink of the host
// widget, never a pointer to the view: the host attaches its current view and detaches it before the view
// goes away, and detaching waits for a delivery in progress (one copy of one frame) to finish.

#include "VideoFrame.h"

#include <memory>
#include <mutex>

// What a view offers to delivering threads. acceptFrame may run on any thread; it copies the caller's
// planes before it returns and answers true when the frame was taken, false when it was dropped.
class VideoFrameReceiver
{
public:
    virtual bool acceptFrame(const VideoFrameDesc &desc) = 0;

protected:
    ~VideoFrameReceiver() = default;
};

class VideoFrameSink
{
public:
    // Any thread. False when no view is attached or the view dropped the frame.
    bool deliver(const VideoFrameDesc &desc);

    // GUI thread. Both wait for a delivery in progress, so that once they return the previous receiver is
    // never called again.
    void attach(VideoFrameReceiver *receiver);
    // Detaches only when `receiver` is the one attached (a replaced view detaching late changes nothing).
    void detach(VideoFrameReceiver *receiver);
    void detachAll();

    bool isAttached() const;

private:
    mutable std::mutex m_mutex;
    VideoFrameReceiver *m_receiver = nullptr;
};
