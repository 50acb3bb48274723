#pragma once
// Owns one media-information handle of the codec library: streams, metadata, still images, chapters.
// Without a handle every method answers the neutral value (false, 0, null, "").

#include <QObject>

struct rsc_info;

class ZTInfoClass : public QObject
{
    Q_OBJECT
public:
    explicit ZTInfoClass(QObject *parent = nullptr);
    ~ZTInfoClass() override;

    void Create_Info();
    void Release_Info();
    bool IsCreateInfo() const { return m_info != nullptr; }
    void *GetInfo() const { return m_info; }

    bool Open_Info(const char *path);
    bool OpenStream_Info(void *stream);
    bool OpenDVD_Info(const char *path);
    bool OpenWithPlayer_Info(void *player);
    bool HasVideo_Info();
    bool HasAudio_Info();
    unsigned int GetVideoWidth_Info();
    unsigned int GetVideoHeight_Info();
    unsigned int GetVideoAspectRatioX_Info();
    unsigned int GetVideoAspectRatioY_Info();
    unsigned long long GetDuration_Info();
    // A UTF-8 text; for "cover_image" a pointer to the picture record (bytes pointer, 32-bit count).
    const void *GetMetaData_Info(const char *key);
    unsigned char *GetVideoImage_Info(unsigned long long time, unsigned int mode, unsigned int width,
                                      unsigned int height, unsigned int flags);
    bool FreeVideoImage_Info(unsigned char *image);
    const char *GetProgrName_Info();
    unsigned int GetProgrCount_Info();
    unsigned int GetVideoCount_Info();
    unsigned int GetAudioCount_Info();
    unsigned int GetSubtlCount_Info();
    bool SetProgrIndex_Info(unsigned int index);
    bool SetVideoIndex_Info(unsigned int index);
    bool SetAudioIndex_Info(unsigned int index);
    bool SetSubtlIndex_Info(unsigned int index);
    bool SetSubtlFile_Info(const char *path);
    bool SetSubtlStream_Info(void *stream);
    bool SetSubtlFileEx_Info(const char *path, unsigned int offset, unsigned int flags);
    bool SetSubtlStreamEx_Info(void *stream, unsigned int offset, unsigned int flags);
    bool EnableClosedCaption_Info(unsigned int on);
    unsigned int GetChapterCount_Info();
    unsigned long long GetChapterStartTime_Info(unsigned int index);
    unsigned long long GetChapterDuration_Info(unsigned int index);
    const char *GetChapterTitle_Info(unsigned int index);

private:
    rsc_info *m_info = nullptr;
};
