#pragma once
// From the codec library's frame handles to the views: the body of a frame handler. The handler keeps the
// host's VideoFrameSink (never the widget), and the frame is read through the library's getters and copied
// by the view before the handler returns.

#include "VideoFrame.h"

#include "rscodec.h"

class VideoFrameSink;

// Fills `desc` from a frame the caller holds a reference to. False for a null handle or a format the
// views do not draw.
bool describeCodecFrame(rsc_frame *frame, VideoFrameDesc &desc);

// References the frame handed to a frame handler, passes it to the sink and releases the reference.
// Answers 1 when the view took the frame, 0 otherwise (the frame handler's answer).
unsigned int deliverCodecFrame(VideoFrameSink *sink, void *frame);
