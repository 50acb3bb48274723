#pragma once
// One decoded frame as a frame handler receives it: format, size, strides and plane pointers. A frame
// handler wraps the frame with Reference_Frame and the reference is released when the object dies.

#include <QObject>

struct rsc_frame;

typedef unsigned int VideoFrameFormat; // 0 planar YUV 4:2:0, 30 packed BGRX, 0xFFFFFFFF no frame

class ZTFrameClass : public QObject
{
    Q_OBJECT
public:
    explicit ZTFrameClass(QObject *parent = nullptr);
    ~ZTFrameClass() override;

    void Create_Frame();
    void *Reference_Frame(void *frame);
    void Release_Frame();
    bool IsCreateFrame() const { return m_frame != nullptr; }

    VideoFrameFormat GetVideoFormat_Frame();
    unsigned int GetVideoWidth_Frame();
    unsigned int GetVideoHeight_Frame();
    unsigned int GetVideoStride_Frame(unsigned int plane);
    unsigned char *GetVideoData_Frame(unsigned int plane);

private:
    rsc_frame *m_frame = nullptr;
};
