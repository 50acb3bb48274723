#pragma once
// Owns one player handle of the codec library and gives it a typed surface. Every method makes one
// library call (a few make more) and answers the neutral value (false, 0, null) without a handle.

#include <QObject>
#include <QSize>

struct rsc_player;

class ZTPlayerClass : public QObject
{
    Q_OBJECT
public:
    explicit ZTPlayerClass(QObject *parent = nullptr);
    ~ZTPlayerClass() override;

    // Lifecycle. Tearing a held player down is always stop, close, release.
    void *Create_Player(bool withSound);
    bool Reference_Player(void *player);
    void Release_Player();
    bool IsCreatePlayer() const { return m_player != nullptr; }
    bool IsOpenPlayerSuccess() const { return m_bOpen; }
    bool OpenEx_Player(const char *path, unsigned int width, unsigned int height, unsigned int flags,
                       unsigned int reserved);
    bool OpenDVD_ExPlayer(const char *path, unsigned int width, unsigned int height, unsigned int flags,
                          unsigned int reserved);
    bool Close_Player();
    // The handle, for sharing with ZTInfoClass::OpenWithPlayer_Info or another owner's Reference_Player.
    void *GetPlayer() const { return m_player; }

    bool HasVideoAndAudio_Player();
    QSize GetVideoSize_Player();
    QSize GetVideoAspectRatio_Player();
    // The edited preview's frame as the edits set now shape it (the picture alone, fitted into the preview size).
    QSize GetPreviewSize_Player();

    bool Play_Player();
    bool Pause_Player();
    bool Stop_Player();
    bool CanSeek_Player();
    bool Seek_Player(unsigned long long time);
    bool FastSeek_Player(unsigned long long time, int after);
    bool BeginAsyncSeek_Player(unsigned long long maxLag);
    bool EndAsyncSeek_Player();
    bool FrameStep_Player(int direction);
    bool KeyFrameStep_Player(int direction);
    bool ChangeSpeed_Player(int speed);
    bool EnableLoop_Player(int on);
    bool SetTimeInterval_Player(unsigned long long interval);
    bool ShowVideoFrame_Player();
    bool UpdateVideoFrame_Player();
    bool RefreshVideoFrame_Player();
    bool EnableShowWhenSetting_Player(unsigned int on);
    bool BeginSettings_Player();
    bool EndSettings_Player();
    bool IsCompleted_Player();
    bool IsStop_Player();
    bool IsPause_Player();
    bool IsRunning_Player();
    bool HasVideo_Player();
    bool HasAudio_Player();
    unsigned long long GetDuration_Player();
    unsigned long long GetPlayTime_Player();
    unsigned long long GetVideoTime_Player();
    bool SetVideoView_Player(void *view);
    bool SetOriginalVideoView_Player(void *view);
    bool SetVideoFrameHandle_Player(unsigned int (*handler)(void *, void *), void *user);
    bool SetOriginalVideoFrameHandle_Player(unsigned int (*handler)(void *, void *), void *user);
    unsigned char *CaptureVideoImage_Player(unsigned int width, unsigned int height, unsigned int flags);
    bool FreeVideoImage_Player(unsigned char *image);
    bool EnableAudioWaveData_Player(unsigned int on);
    unsigned char *GetAudioWaveData_Player(unsigned int mono);
    bool FreeAudioWaveData_Player(unsigned char *data);
    // The byte count of a capture or wave block this player handed out (0 for anything else).
    unsigned int GetBufferSize_Player(const unsigned char *buffer);
    bool SetVideoRotate_Player(unsigned int degrees);
    bool SetVideoMirror_Player(unsigned int on);
    bool SetVideoPadAndColor_Player(unsigned int pad, unsigned int color);
    bool SetVideoCrop_Player(double x, double y, double w, double h);
    bool SetVideoAspectRatio_Player(unsigned int width, unsigned int height);
    bool SetVideoCropBorderAlpha_Player(unsigned int alpha);
    bool EnableVideoCropBorder_Player(unsigned int on);
    bool SetVideoYOffset_Player(unsigned int value);
    bool SetVideoSaturation_Player(unsigned int value);
    bool SetVideoContrast_Player(unsigned int value);
    bool SetVideoHue_Player(unsigned int value);
    bool SetVideoWatermarkMaxCount_Player(unsigned int count);
    bool SetWatermarkIndex_Player(unsigned int slot);
    bool SetWatermarkImageFile_Player(const char *path);
    bool SetWatermarkImageMaskFile_Player(const char *path);
    bool SetWatermarkImageMirror_Player(unsigned int on);
    bool SetWatermarkImagePosition_Player(double x, double y);
    bool SetWatermarkImageSize_Player(double w, double h);
    bool SetWatermarkImageScale_Player(unsigned int sx, unsigned int sy);
    bool SetWatermarkImageAngle_Player(int degrees);
    bool SetWatermarkImageAlpha_Player(unsigned int alpha);
    bool SetWatermarkImageMixMode_Player(unsigned int mode);
    bool SetWatermarkImageLoop_Player(unsigned int on);
    bool SetWatermarkImageCrop_Player(double x, double y, double w, double h);
    bool SetWatermarkImageShowTime_Player(unsigned long long a, unsigned long long b);
    bool SetWatermarkImageSplitTime_Player(unsigned long long a, unsigned long long b);
    bool EnableWatermarkImageBorder_Player(int on);
    bool EnableWatermarkImageBordert_Player(unsigned int on);
    bool SetWatermarkBorderAlpha_Player(unsigned int alpha);
    bool SetWatermarkImageBrightness_Player(unsigned int value);
    bool SetWatermarkImageSaturation_Player(unsigned int value);
    bool SetWatermarkImageContrast_Player(unsigned int value);
    bool SetWatermarkImageHue_Player(unsigned int value);
    bool SetWatermarkImageYOffset_Player(unsigned int value);
    bool SetWatermarkText_Player(const char *text);
    bool SetWatermarkTextFont_Player(const char *family);
    bool SetWatermarkTextFontFile_Player(const char *path);
    bool SetWatermarkTextSize_Player(unsigned int size);
    bool SetWatermarkTextBold_Player(unsigned int on);
    bool SetWatermarkTextItalic_Player(unsigned int on);
    bool SetWatermarkTextUnderline_Player(unsigned int on);
    bool SetWatermarkTextStrikeout_Player(unsigned int on);
    bool SetWatermarkTextColor_Player(unsigned int color);
    bool SetWatermarkTextOutlineColor_Player(unsigned int color);
    bool SetWatermarkTextShadowColor_Player(unsigned int color);
    bool SetWatermarkTextOutlineSize_Player(double size);
    bool SetWatermarkTextShadowOffset_Player(double offset);
    bool SetWatermarkTextAlpha_Player(unsigned int alpha);
    bool SetWatermarkTextPosition_Player(double x, double y);
    bool SetWatermarkTextAngle_Player(int degrees);
    bool SetWatermarkTextScale_Player(unsigned int sx, unsigned int sy);
    bool SetWatermarkTextSpacingH_Player(double spacing);
    bool SetWatermarkTextSpacingV_Player(double spacing);
    bool EnableWatermarkTextBorder_Player(unsigned int on);
    bool SetWatermarkTextLayerTopmost_Player(unsigned int on);
    bool SetWatermarkTextShowTime_Player(unsigned long long a, unsigned long long b);
    bool SetWatermarkTextAlign_Player(unsigned int align);
    double GetWatermarkTextWidth_Player();
    double GetWatermarkTextHeight_Player();
    double GetWatermarkTextPosX_Player();
    double GetWatermarkTextPosY_Player();
    double GetWatermarkImageWidth_Player();
    double GetWatermarkImageHeight_Player();
    double GetWatermarkImagePosX_Player();
    double GetWatermarkImagePosY_Player();
    bool SetSubtlAlpha_Player(unsigned int alpha);
    bool SetSubtlScale_Player(unsigned int sx, unsigned int sy);
    bool SetSubtlDelay_Player(long long delay);
    bool SetSubtlTextFont_Player(const char *family);
    bool SetSubtlTextFontFile_Player(const char *path);
    bool SetSubtlTextSize_Player(unsigned int size);
    bool SetSubtlTextBold_Player(unsigned int on);
    bool SetSubtlTextItalic_Player(unsigned int on);
    bool SetSubtlTextUnderline_Player(unsigned int on);
    bool SetSubtlTextStrikeout_Player(unsigned int on);
    bool SetSubtlTextColor_Player(unsigned int color);
    bool SetSubtlTextShadowColor_Player(unsigned int color);
    bool SetSubtlTextOutlineColor_Player(unsigned int color);
    bool SetSubtlTextShadowOffset_Player(double offset);
    bool SetSubtlTextOutlineSize_Player(double size);
    bool SetSubtlTextAngle_Player(int degrees);
    bool SetSubtlTextAlign_Player(unsigned int align);
    bool SetSubtlTextSpacingH_Player(double spacing);
    bool SetSubtlTextSpacingV_Player(double spacing);
    bool SetSubtlTextMarginH_Player(double margin);
    bool SetSubtlTextMarginV_Player(double margin);
    bool SetSubtlImageOffsetH_Player(double offset);
    bool SetSubtlImageOffsetV_Player(double offset);
    bool SetProgrIndex_Player(unsigned int index);
    bool SetVideoIndex_Player(unsigned int index);
    bool SetAudioIndex_Player(unsigned int index);
    bool SetSubtlIndex_Player(unsigned int index);
    bool SetSubtlFile_Player(const char *path);
    // Why the last file setter refused its file (a subtitle, picture or sound file); empty when it took it.
    QString GetFileError_Player();
    bool SetSubtlStream_Player(void *stream);
    bool SetSubtlFileEx_Player(const char *path, unsigned int offset, unsigned int flags);
    bool SetSubtlStreamEx_Player(void *stream, unsigned int offset, unsigned int flags);
    bool EnableClosedCaption_Player(unsigned int on);
    bool SetAudioBackgroundIndex_Player(unsigned int slot);
    bool SetAudioBackgroundFile_Player(const char *path);
    bool SetAudioBackgroundLoop_Player(unsigned int on);
    bool SetAudioBackgroundMixMode_Player(unsigned int mode);
    bool SetAudioBackgroundWeight_Player(unsigned int weight);
    bool SetAudioBackgroundVolume_Player(unsigned int volume);
    bool SetAudioBackgroundShowTime_Player(unsigned long long a, unsigned long long b);
    bool SetAudioBackgroundSplitTime_Player(unsigned long long a, unsigned long long b);
    bool SetAudioBackgroundLast_Player(unsigned int on);
    bool SetAudioBackgroundReset_Player();
    bool SetAudioBackgroundStream_Player(void *stream);
    bool SetAudioBackgroundTrack_Player(void *track);
    bool SetAudioBackgroundFileEx_Player(const char *path, unsigned int offset, unsigned int flags);
    bool SetAudioBackgroundStreamEx_Player(void *stream, unsigned int offset, unsigned int flags);
    bool SetAudioBackgroundChannelMix_Player(unsigned int *map, unsigned int count);
    bool SetAudioBackgroundEqualize_Player(double *frequencies, double *gains, unsigned int count);
    bool SetAudioVolume_Player(unsigned long long volume);
    bool SetAudioRate_Player(unsigned long long rate);
    bool SetAudioEqualize_Player(double *frequencies, double *gains, unsigned int count);

private:
    void teardown();

    rsc_player *m_player = nullptr;
    bool m_bOpen = false;
};
