#include "ZTQPlayObject.h"

#include "CodecBuffers.h"
#include "QConverterOperate.h"
#include "VideoFrameAdapter.h"
#include "VideoFrameSink.h"
#include "VideoImageWindow.h"
#include "ZTPlayerClass.h"

#include "rscodec.h"

#include <QLatin1Char>
#include <QTimer>

#include <cmath>
#include <memory>

namespace {
constexpr int kTimeTickMs = 100;
constexpr int kAudioTickMs = 50;
constexpr unsigned long long kTimeInterval = 50000;
constexpr unsigned long long kAsyncSeekLag = 2000000;

struct InfoCloser
{
    void operator()(rsc_info *info) const
    {
        rsc_info_close(info);
        rsc_info_release(info);
    }
};
using InfoHandle = std::unique_ptr<rsc_info, InfoCloser>;

uint64_t timeAt(uint64_t duration, double fraction)
{
    if (!(fraction > 0.0))
        return 0;
    if (fraction >= 1.0)
        return duration;
    return static_cast<uint64_t>(static_cast<double>(duration) * fraction);
}
} // namespace

unsigned int VideoFrameLoop(void *user, void *frame)
{
    return user ? static_cast<ZTQPlayObject *>(user)->DrawVideoFrame(frame) : 0;
}

ZTQPlayObject::ZTQPlayObject(QObject *parent) : QObject(parent)
{
    InitPlay();
}

ZTQPlayObject::~ZTQPlayObject()
{
    // The handler goes first, so no frame arrives while the rest is torn down.
    if (hasPlayer())
        m_player->SetOriginalVideoFrameHandle_Player(nullptr, nullptr);
    delete m_player; // stop, close, release
    m_player = nullptr;
    for (QTimer *t : {m_screenTimer, m_timeTimer, m_audioTimer}) {
        t->stop();
        delete t;
    }
}

void ZTQPlayObject::InitPlay()
{
    m_player = new ZTPlayerClass;
    m_player->Create_Player(true);
    m_timeTimer = new QTimer(this);
    m_screenTimer = new QTimer(this);
    m_audioTimer = new QTimer(this);
    // One redraw of the current frame after the event that needs it: a paused player's picture does not
    // change by itself, and redrawing it on a clock cost a core's worth of uploads and repaints.
    m_screenTimer->setSingleShot(true);
    m_screenTimer->setInterval(0);
    connect(m_timeTimer, &QTimer::timeout, this, &ZTQPlayObject::UpdateTime);
    connect(m_screenTimer, &QTimer::timeout, this, &ZTQPlayObject::UpdataScreen);
    connect(m_audioTimer, &QTimer::timeout, this, &ZTQPlayObject::OnAudioDataTime);
    const QString device = QConverterOperate::getAudioDeviceName();
    if (!device.isEmpty() && hasPlayer())
        rsc_player_set_audio_device(static_cast<rsc_player *>(m_player->GetPlayer()), device.toUtf8().constData());
}

bool ZTQPlayObject::hasPlayer() const
{
    return m_player && m_player->IsCreatePlayer();
}

bool ZTQPlayObject::hasMedia()
{
    return m_player->HasVideo_Player() || m_player->HasAudio_Player();
}

uint64_t ZTQPlayObject::duration() const
{
    return hasPlayer() ? m_player->GetDuration_Player() : 0;
}

// ------------------------------------------------------------------------------------------ window

void ZTQPlayObject::SetPlayWindows(VideoImageWindow *window)
{
    m_window = window;
    std::shared_ptr<VideoFrameSink> sink = window ? window->frameSink() : nullptr;
    std::lock_guard<std::mutex> lock(m_sinkMutex);
    m_sink = std::move(sink);
}

void ZTQPlayObject::InitPlayViewParameter()
{
    if (!hasPlayer())
        return;
    // The untouched (upright) frames: this preview applies no edits, and the library's edit pipeline would
    // only copy every frame through a filter graph at full size.
    m_player->SetOriginalVideoFrameHandle_Player(&VideoFrameLoop, this);
    if (VideoImageWindow *w = m_window.data())
        w->SetOpenGl(true);
}

unsigned int ZTQPlayObject::DrawVideoFrame(void *frame)
{
    std::shared_ptr<VideoFrameSink> sink;
    {
        std::lock_guard<std::mutex> lock(m_sinkMutex);
        sink = m_sink;
    }
    return deliverCodecFrame(sink.get(), frame);
}

void ZTQPlayObject::ResizeVideoWindow(bool keepScale)
{
    m_bKeepScale = keepScale;
    VideoImageWindow *w = m_window.data();
    if (!hasPlayer() || !w)
        return;
    const QSize size = m_player->GetVideoSize_Player();
    if (keepScale) {
        const QSize aspect = m_player->GetVideoAspectRatio_Player();
        if (aspect.width() > 0 && aspect.height() > 0)
            w->setVideoScale(aspect.width(), aspect.height());
        else
            w->setVideoScale(size.width(), size.height());
    } else {
        w->setVideoSize(size.width(), size.height());
    }
}

void ZTQPlayObject::stopTimers()
{
    m_screenTimer->stop();
    m_timeTimer->stop();
    m_audioTimer->stop();
}

void ZTQPlayObject::showStoppedAtStart()
{
    stopTimers();
    ShowTime(0);
    emit emitPlayPro(0.0);
    emit emitPlayFinish();
}

// ------------------------------------------------------------------------------------------ opening

bool ZTQPlayObject::SetPlayFile(QString path, unsigned int previewWidth, unsigned int previewHeight)
{
    if (!hasPlayer())
        return false;
    if (!m_player->IsCompleted_Player())
        m_player->Stop_Player();
    emit emitRefreshPlayView();
    const QByteArray utf8 = path.toUtf8();
    if (!m_player->OpenEx_Player(utf8.constData(), previewWidth, previewHeight, 0, 0)) {
        m_status = StatusStopped;
        m_player->Stop_Player();
        showStoppedAtStart();
        if (VideoImageWindow *w = m_window.data())
            w->hide();
        return false;
    }
    m_status = StatusNone;
    m_player->SetTimeInterval_Player(kTimeInterval);
    ResizeVideoWindow(m_bKeepScale);
    m_player->SetAudioVolume_Player(static_cast<unsigned long long>(m_fVolume));
    ShowTime(0);
    m_screenTimer->start();
    InitPlayViewParameter();
    IsNoVideoSet();
    emit emitCoverImage(getCoverImage(path));
    return true;
}

void ZTQPlayObject::IsNoVideoSet()
{
    if (!hasPlayer())
        return;
    if (m_player->HasVideo_Player()) {
        m_player->EnableAudioWaveData_Player(0);
        emit emitIsHaveVideo(true);
        m_bAudioOnly = false;
    } else if (m_player->HasAudio_Player()) {
        m_player->EnableAudioWaveData_Player(1);
        emit emitIsHaveVideo(false);
        m_bAudioOnly = true;
    }
}

// ------------------------------------------------------------------------------------------ transport

void ZTQPlayObject::StartPlay()
{
    emit emitPlayState(true);
    OnPlayVideo();
}

void ZTQPlayObject::pausePlay()
{
    emit emitPlayState(false);
    OnPauseVideo();
}

void ZTQPlayObject::OnPlayVideo()
{
    if (!hasPlayer())
        return;
    if (!hasMedia()) {
        ShowTime(0);
        emit emitPlayPro(0.0);
        emit emitPlayFinish();
        return;
    }
    if (m_player->IsCompleted_Player())
        m_player->Stop_Player();
    if (!m_player->Play_Player()) {
        m_status = StatusPlayFailed;
        return;
    }
    m_status = StatusPlaying;
    if (m_bAudioOnly)
        m_audioTimer->start(kAudioTickMs);
    else if (m_player->HasVideo_Player()) {
        if (VideoImageWindow *w = m_window.data())
            w->show();
    }
    m_screenTimer->stop();
    m_timeTimer->start(kTimeTickMs);
}

void ZTQPlayObject::OnPauseVideo()
{
    if (!hasPlayer() || !m_player->Pause_Player())
        return;
    m_status = StatusPaused;
    m_screenTimer->start();
    m_timeTimer->stop();
    m_audioTimer->stop();
    clearLevels();
}

void ZTQPlayObject::OnBtnStop()
{
    if (!hasPlayer() || !hasMedia() || m_player->IsCompleted_Player() || !m_player->Stop_Player())
        return;
    m_status = StatusStopped;
    ShowTime(0);
    emit emitPlayPro(0.0);
    emit emitPlayFinish();
    stopTimers();
    clearLevels();
    if (VideoImageWindow *w = m_window.data())
        w->hide();
}

void ZTQPlayObject::closePlay()
{
    if (hasPlayer()) {
        OnBtnStop();
        m_player->Close_Player();
    }
    showStoppedAtStart();
    emit emitClosePlay();
    clearLevels();
}

bool ZTQPlayObject::IsPause()
{
    if (!hasPlayer() || !hasMedia())
        return true;
    return m_player->IsCompleted_Player() || m_player->IsStop_Player() || m_player->IsPause_Player();
}

void ZTQPlayObject::VideoFinished()
{
    ShowTime(0);
    emit emitPlayPro(0.0);
    emit emitPlayFinish();
}

// ------------------------------------------------------------------------------------------ seeking

void ZTQPlayObject::ProgressValueChange(double fraction)
{
    if (!hasPlayer())
        return;
    const uint64_t t = timeAt(m_player->GetDuration_Player(), fraction);
    m_player->Seek_Player(t);
    ShowTime(t);
}

void ZTQPlayObject::beginAsyncSeek()
{
    if (hasPlayer())
        m_player->BeginAsyncSeek_Player(kAsyncSeekLag);
}

void ZTQPlayObject::endAsyncSeek()
{
    if (hasPlayer())
        m_player->EndAsyncSeek_Player();
}

void ZTQPlayObject::frameStep(int direction)
{
    if (!hasPlayer())
        return;
    emit emitPlayState(false);
    OnPauseVideo();
    m_player->FrameStep_Player(direction);
    UpdateTime();
}

void ZTQPlayObject::videoFrameStepUp()
{
    frameStep(1);
}

void ZTQPlayObject::videoFrameStepDown()
{
    frameStep(-1);
}

void ZTQPlayObject::setSoundVolume(int volume)
{
    m_fVolume = volume < 0 ? 0.0f : static_cast<float>(volume);
    if (hasPlayer())
        m_player->SetAudioVolume_Player(static_cast<unsigned long long>(m_fVolume));
}

// ------------------------------------------------------------------------------------------ timers

void ZTQPlayObject::UpdateTime()
{
    if (!hasPlayer())
        return;
    if (m_player->IsCompleted_Player()) {
        m_status = StatusFinished;
        m_player->Stop_Player();
        m_audioTimer->stop();
        clearLevels();
        m_timeTimer->stop();
        ShowTime(0);
        emit emitPlayPro(0.0);
        emit emitPlayFinish();
        m_screenTimer->start();
        emit emitPlayPro(0.0);
        return;
    }
    const uint64_t d = m_player->GetDuration_Player();
    const uint64_t t = m_player->GetPlayTime_Player();
    if (t == 0)
        return;
    // Live and unknown-length streams report no duration: the position then has no fraction.
    emit emitPlayPro(d == 0 ? 0.0 : std::min(1.0, static_cast<double>(t) / static_cast<double>(d)));
    ShowTime(t);
    if (VideoImageWindow *w = m_window.data())
        w->refresh();
}

void ZTQPlayObject::UpdataScreen()
{
    if (hasPlayer() && m_player->HasVideo_Player())
        m_player->ShowVideoFrame_Player();
}

void ZTQPlayObject::OnAudioDataTime()
{
    if (!hasPlayer())
        return;
    unsigned char *block = m_player->GetAudioWaveData_Player(1);
    if (!block)
        return;
    quint32 rate = 0;
    const QByteArray copy = CodecBuffers::waveBlock(block, m_player->GetBufferSize_Player(block), &rate);
    m_player->FreeAudioWaveData_Player(block);
    if (!copy.isEmpty())
        emit emitAudioData(copy, static_cast<int>(rate >> 1));
}

// ------------------------------------------------------------------------------------------ texts

QString ZTQPlayObject::timeText(uint64_t us)
{
    const uint64_t ms = us / 1000;
    return QStringLiteral("%1:%2:%3")
        .arg(static_cast<qulonglong>(ms / 3600000), 2, 10, QLatin1Char('0'))
        .arg(static_cast<qulonglong>((ms / 60000) % 60), 2, 10, QLatin1Char('0'))
        .arg(static_cast<qulonglong>((ms / 1000) % 60), 2, 10, QLatin1Char('0'));
}

void ZTQPlayObject::ShowTime(unsigned long long time)
{
    emit emitPlayTime(QStringLiteral("%1 / %2").arg(timeText(time), timeText(duration())));
    emit emitPlayTime(static_cast<uint64_t>(time));
}

// ------------------------------------------------------------------------------------------ pictures

bool ZTQPlayObject::Screenshots(QString outPath)
{
    if (!hasPlayer())
        return false;
    unsigned char *buffer = m_player->CaptureVideoImage_Player(0, 0, 0);
    if (!buffer)
        return false;
    const QImage image = CodecBuffers::decodeImage(buffer, m_player->GetBufferSize_Player(buffer));
    m_player->FreeVideoImage_Player(buffer);
    return !image.isNull() && image.save(outPath, "PNG");
}

QImage ZTQPlayObject::getCoverImage(QString filePath)
{
    InfoHandle info(rsc_info_create(RSC_CREATE_DEFAULT));
    if (!info || !rsc_info_open_file(info.get(), filePath.toUtf8().constData()))
        return QImage();
    if (rsc_info_get_metadata(info.get(), "cover_image")) {
        const unsigned char *bytes = rsc_info_get_metadata_data(info.get(), "cover_image");
        const uint32_t size = rsc_info_get_metadata_size(info.get(), "cover_image");
        return CodecBuffers::decodeImage(bytes, size);
    }
    if (!rsc_info_has_video(info.get()))
        return QImage();
    unsigned char *buffer = rsc_info_get_video_image(info.get(), 0, 1, 0, 0, 0);
    if (!buffer)
        return QImage();
    const QImage image = CodecBuffers::decodeImage(buffer, rsc_info_get_video_image_size(info.get(), buffer));
    rsc_info_free_video_image(info.get(), buffer);
    return image;
}
