#include "ZTPlayerManager.h"

#include "CodecBuffers.h"
#include "QMediaElementWindow.h"
#include "VideoFrameAdapter.h"
#include "VideoFrameSink.h"
#include "ZTInfoClass.h"
#include "ZTPlayerClass.h"

#include <QTimer>

#include <cstring>

namespace {
constexpr int kTimeTickMs = 100;
constexpr int kAudioTickMs = 50;
constexpr unsigned long long kFrameTimeInterval = 50000;
constexpr unsigned long long kAsyncSeekLag = 2000000;
constexpr int kWaveCopies = 8;

// A fraction of the play length as a time offset; values outside [0, 1] are held to it.
unsigned long long offsetOf(unsigned long long length, double fraction)
{
    if (!(fraction > 0.0))
        return 0;
    if (fraction >= 1.0)
        return length;
    return static_cast<unsigned long long>(static_cast<double>(length) * fraction);
}
} // namespace

ZTPlayerManager::ZTPlayerManager(QObject *parent) : QObject(parent)
{
    initData();
    initPlayerManager();
}

ZTPlayerManager::~ZTPlayerManager()
{
    // The player goes first so that no frame handler runs while the rest is torn down. A player shared
    // with another owner outlives this controller: its handlers must not point here any more.
    if (hasPlayer()) {
        m_player->SetVideoFrameHandle_Player(nullptr, nullptr);
        m_player->SetOriginalVideoFrameHandle_Player(nullptr, nullptr);
    }
    delete m_player;
    m_player = nullptr;
    delete m_info;
    m_info = nullptr;
    for (QTimer *t : {m_screenTimer, m_timeTimer, m_audioTimer}) {
        t->stop();
        delete t;
    }
}

void ZTPlayerManager::initData()
{
    m_cropSettings = VECropSettings();
    m_currentWatermark = VEWatermarkSettings();
}

void ZTPlayerManager::initPlayerManager()
{
    m_timeTimer = new QTimer(this);
    m_screenTimer = new QTimer(this);
    m_audioTimer = new QTimer(this);
    // The current frame is shown again once after whatever changes it (an edit, new windows, a stop), not on
    // a clock: a paused preview that redraws itself keeps a core busy for a picture that does not change.
    m_screenTimer->setSingleShot(true);
    m_screenTimer->setInterval(0);
    connect(m_timeTimer, &QTimer::timeout, this, &ZTPlayerManager::updateTime);
    connect(m_screenTimer, &QTimer::timeout, this, &ZTPlayerManager::updataScreen);
    connect(m_audioTimer, &QTimer::timeout, this, &ZTPlayerManager::audioDataChanged);
}

bool ZTPlayerManager::hasPlayer() const
{
    return m_player && m_player->IsCreatePlayer();
}

bool ZTPlayerManager::createrPlayer(bool flag)
{
    if (hasPlayer())
        return true;
    if (!m_player)
        m_player = new ZTPlayerClass(this);
    return m_player->Create_Player(flag) != nullptr;
}

void ZTPlayerManager::setIsM4VPlayer(bool isM4V)
{
    m_isM4V = isM4V;
}

// ------------------------------------------------------------------------------------------ opening

bool ZTPlayerManager::setPlayFile(QString path, unsigned int width, unsigned int height, unsigned int watermarkMax)
{
    m_previewWidth = width;
    m_previewHeight = height;
    if (!hasPlayer()) {
        if (!m_player)
            m_player = new ZTPlayerClass(this);
        m_player->Create_Player(true);
    }
    if (!m_player->IsCompleted_Player())
        m_player->Stop_Player();
    const QByteArray utf8 = path.toUtf8();
    if (!m_player->OpenEx_Player(utf8.constData(), width, height, 0, 0)) {
        openFailed();
        return false;
    }
    // The information object describes the file open now: a different file gets a fresh one.
    if (m_info && m_info->IsCreateInfo() && m_infoPath != utf8) {
        m_info->Release_Info();
    }
    if (!m_info || !m_info->IsCreateInfo()) {
        if (!m_info)
            m_info = new ZTInfoClass(this);
        m_info->Create_Info();
        m_info->Open_Info(utf8.constData());
        m_infoPath = utf8;
    }
    return afterOpen(watermarkMax);
}

bool ZTPlayerManager::setPlayer(void *player, unsigned int width, unsigned int height, unsigned int watermarkMax)
{
    if (!hasPlayer()) {
        if (!m_player)
            m_player = new ZTPlayerClass(this);
        m_player->Create_Player(true);
    }
    m_previewWidth = width;
    m_previewHeight = height;
    if (!m_player->Reference_Player(player)) {
        openFailed();
        return false;
    }
    if (!m_info || !m_info->IsCreateInfo()) {
        if (!m_info)
            m_info = new ZTInfoClass(this);
        m_info->Create_Info();
        m_info->OpenWithPlayer_Info(m_player->GetPlayer());
        m_infoPath.clear();
    }
    return afterOpen(watermarkMax);
}

bool ZTPlayerManager::afterOpen(unsigned int watermarkMax)
{
    m_player->SetVideoWatermarkMaxCount_Player(watermarkMax);
    m_player->SetTimeInterval_Player(kFrameTimeInterval);
    m_player->Seek_Player(m_trimStart);
    m_screenTimer->start();
    m_player->SetVideoFrameHandle_Player(&ZTPlayerManager::VideoEditFrameLoop, this);
    m_player->SetOriginalVideoFrameHandle_Player(&ZTPlayerManager::OrignalVideEditoFrameLoop, this);
    isNoVideoSet();
    emit emitPlayerChange();
    return true;
}

void ZTPlayerManager::openFailed()
{
    m_screenTimer->stop();
    m_timeTimer->stop();
    m_audioTimer->stop();
    showTime(0);
    showTime2(0);
    emit emitPlayProgress(0.0);
    emit emitPlayFinish();
    showWindows();
}

void ZTPlayerManager::showWindows()
{
    if (QMediaElementWindow *w = m_originalWindow.data())
        w->setHidden(false);
    if (QMediaElementWindow *w = m_previewWindow.data())
        w->setHidden(false);
}

// ------------------------------------------------------------------------------------------ windows

std::shared_ptr<VideoFrameSink> ZTPlayerManager::sinkOf(bool original) const
{
    std::lock_guard<std::mutex> lock(m_sinkMutex);
    return original ? m_originalSink : m_previewSink;
}

void ZTPlayerManager::setSink(bool original, QMediaElementWindow *window)
{
    std::shared_ptr<VideoFrameSink> sink = window ? window->frameSink() : nullptr;
    std::lock_guard<std::mutex> lock(m_sinkMutex);
    (original ? m_originalSink : m_previewSink) = std::move(sink);
}

void ZTPlayerManager::setMediaOriginalWindow(QMediaElementWindow *window)
{
    m_originalWindow = window;
    setSink(true, window);
    if (!hasPlayer())
        return;
    m_player->SetOriginalVideoFrameHandle_Player(window ? &ZTPlayerManager::OrignalVideEditoFrameLoop : nullptr, this);
    resizeVideoWindow();
    showSoon();
}

void ZTPlayerManager::setMediaPreviewWindow(QMediaElementWindow *window)
{
    m_previewWindow = window;
    setSink(false, window);
    if (!hasPlayer())
        return;
    m_player->SetVideoFrameHandle_Player(window ? &ZTPlayerManager::VideoEditFrameLoop : nullptr, this);
    resizeVideoWindow();
    showSoon();
}

void ZTPlayerManager::resizeVideoWindow()
{
    if (!hasPlayer())
        return;
    const QSize size = m_player->GetVideoSize_Player();
    const QSize aspect = m_player->GetVideoAspectRatio_Player();
    if (QMediaElementWindow *w = m_originalWindow.data()) {
        if (aspect.width() > 0 && aspect.height() >= 1)
            w->setVideoElementSize(aspect.width(), aspect.height());
        else
            w->setVideoElementSize(size.width(), size.height());
    }
    fitPreviewWindow();
}

void ZTPlayerManager::fitPreviewWindow()
{
    // The edited preview's frame is the edited picture alone, shaped by the crop, turn and aspect: the pane
    // shows it at that shape, so that overlay boxes (fractions of the picture) lie where the picture shows.
    QMediaElementWindow *preview = m_previewWindow.data();
    if (!hasPlayer() || !preview)
        return;
    const QSize edited = m_player->GetPreviewSize_Player();
    if (edited.width() >= 1 && edited.height() >= 1)
        preview->setVideoElementSize(edited.width(), edited.height());
    else if (m_previewWidth >= 1 && m_previewHeight >= 1)
        preview->setVideoElementSize(int(m_previewWidth), int(m_previewHeight));
}

void ZTPlayerManager::isNoVideoSet()
{
    if (!hasPlayer())
        return;
    if (m_player->HasVideo_Player()) {
        m_player->EnableAudioWaveData_Player(0);
        emit emitIsHaveVideo(true);
        m_audioOnly = 0;
    } else if (m_player->HasAudio_Player()) {
        m_player->EnableAudioWaveData_Player(1);
        emit emitIsHaveVideo(false);
        m_audioOnly = 1;
    }
}

// ------------------------------------------------------------------------------------------ queries

unsigned long long ZTPlayerManager::getDuration()
{
    return hasPlayer() ? m_player->GetDuration_Player() : 0;
}

unsigned long long ZTPlayerManager::getPlaylength()
{
    if (!hasPlayer())
        return 0;
    if (m_trimEnd != 0 && m_trimEnd > m_trimStart)
        return m_trimEnd - m_trimStart;
    const unsigned long long duration = m_player->GetDuration_Player();
    return duration > m_trimStart ? duration - m_trimStart : 0;
}

unsigned long long ZTPlayerManager::getVideoSize()
{
    if (!hasPlayer())
        return 0;
    const QSize s = m_player->GetVideoSize_Player();
    return (static_cast<unsigned long long>(static_cast<quint32>(s.height())) << 32) | static_cast<quint32>(s.width());
}

unsigned long long ZTPlayerManager::getResolutionSize() const
{
    return (static_cast<unsigned long long>(m_previewHeight) << 32) | m_previewWidth;
}

double ZTPlayerManager::progressOf(unsigned long long relative)
{
    const unsigned long long length = getPlaylength();
    return length > 0 ? static_cast<double>(relative) / static_cast<double>(length) : 0.0;
}

void ZTPlayerManager::setTrimTime(unsigned long long startTime, unsigned long long endTime)
{
    // An end before the start is a range given backwards.
    if (endTime != 0 && endTime < startTime)
        std::swap(startTime, endTime);
    m_trimStart = m_sectionStart = startTime;
    m_trimEnd = m_sectionEnd = endTime;
    if (hasPlayer())
        m_player->Seek_Player(m_trimStart);
}

// ------------------------------------------------------------------------------------------ transport

void ZTPlayerManager::onPlay()
{
    if (!hasPlayer())
        return;
    if (!m_player->HasVideoAndAudio_Player()) {
        showTime(0);
        showTime2(0);
        emit emitPlayProgress(0.0);
        emit emitPlayFinish();
        return;
    }
    if (m_player->IsCompleted_Player())
        m_player->Stop_Player();
    if (!m_player->Play_Player()) {
        emit emitPlayState(false);
        return;
    }
    emit emitPlayState(true);
    if (m_audioOnly == 0)
        showWindows();
    else
        m_audioTimer->start(kAudioTickMs);
    m_screenTimer->stop();
    m_timeTimer->start(kTimeTickMs);
}

void ZTPlayerManager::basePause()
{
    if (!hasPlayer() || !m_player->Pause_Player())
        return;
    m_screenTimer->start();
    m_timeTimer->stop();
    m_audioTimer->stop();
    emit emitAudioData(nullptr, 0);
}

void ZTPlayerManager::onPause()
{
    m_trimPlay = false;
    basePause();
    emit emitPlayState(false);
}

void ZTPlayerManager::pausePlay()
{
    basePause();
    emit emitPlayState(false);
}

void ZTPlayerManager::onTrimPause()
{
    basePause();
    emit emitPlayState(false);
    emit emitTrimPlayState(false);
}

void ZTPlayerManager::onStop()
{
    m_trimPlay = false;
    if (!hasPlayer() || !m_player->HasVideoAndAudio_Player() || !m_player->Stop_Player())
        return;
    m_player->Seek_Player(m_trimStart);
    showTime(0);
    showTime2(0);
    emit emitPlayProgress(0.0);
    emit emitPlayFinish();
    m_screenTimer->start();
    m_timeTimer->stop();
    m_audioTimer->stop();
    emit emitAudioData(nullptr, 0);
}

void ZTPlayerManager::startPlay()
{
    onPlay();
    emit emitPlayState(true);
}

void ZTPlayerManager::closePlay()
{
    if (!hasPlayer())
        return;
    onStop();
    m_player->Close_Player();
    showTime(0);
    showTime2(0);
    emit emitPlayProgress(0.0);
    emit emitPlayFinish();
    emit emitClosePlay();
    emit emitAudioData(nullptr, 0);
}

void ZTPlayerManager::playFinished()
{
    showTime(0);
    showTime2(0);
    emit emitPlayProgress(0.0);
    emit emitPlayFinish();
}

void ZTPlayerManager::progressValueChange(double value)
{
    if (!hasPlayer())
        return;
    const unsigned long long offset = offsetOf(getPlaylength(), value);
    m_player->Seek_Player(m_trimStart + offset);
    showTime(offset);
    showTime2(offset);
}

void ZTPlayerManager::beginAsyncSeek()
{
    if (hasPlayer())
        m_player->BeginAsyncSeek_Player(kAsyncSeekLag);
}

void ZTPlayerManager::endAsyncSeek()
{
    if (hasPlayer())
        m_player->EndAsyncSeek_Player();
}

// ------------------------------------------------------------------------------------------ timers

void ZTPlayerManager::updateTime()
{
    if (!hasPlayer())
        return;
    const unsigned long long t = m_player->GetPlayTime_Player();
    if (m_trimPlay && t > m_sectionEnd) {
        // The section has played: hold its last frame, paused.
        m_player->Seek_Player(m_sectionEnd);
        const unsigned long long rel = m_sectionEnd > m_trimStart ? m_sectionEnd - m_trimStart : 0;
        emit emitPlayProgress(progressOf(rel));
        showTime(rel);
        showTime2(rel);
        m_trimPlay = false;
        basePause();
        emit emitPlayState(false);
        emit emitTrimPlayState(false);
        return;
    }
    if (m_trimEnd != 0 && t > m_trimEnd) {
        onStop();
        return;
    }
    if (!m_player->IsCompleted_Player()) {
        if (t != 0) {
            const unsigned long long rel = t > m_trimStart ? t - m_trimStart : 0;
            emit emitPlayProgress(progressOf(rel));
            showTime(rel);
            showTime2(rel);
        }
        return;
    }
    onStop();
}

void ZTPlayerManager::showSoon()
{
    // Playing, the next frame carries the change anyway.
    if (!m_timeTimer->isActive())
        m_screenTimer->start();
}

void ZTPlayerManager::fileTaken(bool taken)
{
    if (taken || !hasPlayer())
        return;
    const QString why = m_player->GetFileError_Player();
    if (!why.isEmpty())
        emit emitEditFileRefused(why);
}

void ZTPlayerManager::updataScreen()
{
    if (hasPlayer() && m_player->HasVideo_Player() && !m_player->IsCompleted_Player())
        m_player->ShowVideoFrame_Player();
}

void ZTPlayerManager::audioDataChanged()
{
    if (!hasPlayer())
        return;
    unsigned char *block = m_player->GetAudioWaveData_Player(1);
    if (block) {
        quint32 rate = 0;
        // Receivers get a copy the controller keeps for several ticks: the library's block is handed
        // back at once, and a queued receiver may read after this returns. Only the bytes the library
        // says it gave are read, whatever the block's header claims.
        QByteArray copy = CodecBuffers::waveBlock(block, m_player->GetBufferSize_Player(block), &rate);
        if (!copy.isEmpty()) {
            if (m_waveCopies.size() < kWaveCopies)
                m_waveCopies.resize(kWaveCopies);
            QByteArray &slot = m_waveCopies[m_waveNext];
            m_waveNext = (m_waveNext + 1) % kWaveCopies;
            slot = std::move(copy);
            emit emitAudioData(reinterpret_cast<unsigned char *>(slot.data()), int(rate >> 1));
        }
    }
    m_player->FreeAudioWaveData_Player(block);
}

// ------------------------------------------------------------------------------------------ trim

void ZTPlayerManager::onTrimPlay(float startPos, float endPos)
{
    if (!hasPlayer())
        return;
    const unsigned long long length = getPlaylength();
    m_sectionStart = m_trimStart + offsetOf(length, startPos);
    m_sectionEnd = m_trimStart + offsetOf(length, endPos);
    if (m_sectionEnd < m_sectionStart)
        std::swap(m_sectionStart, m_sectionEnd);
    if (!m_trimPlay) {
        m_trimPlay = true;
        m_player->Seek_Player(m_sectionStart);
    }
    onPlay();
    emit emitPlayState(true);
    emit emitTrimPlayState(true);
}

void ZTPlayerManager::trimChanged(uint64_t startTime, uint64_t endTime)
{
    if (!hasPlayer())
        return;
    if (endTime != 0 && endTime < startTime)
        std::swap(startTime, endTime);
    m_trimStart = startTime;
    m_trimEnd = endTime;
    onStop();
    m_player->Seek_Player(m_trimStart);
    showTime(0);
    showTime2(0);
    emit emitTrimTimeChange(m_trimStart, m_trimEnd);
}

void ZTPlayerManager::onTrim(uint64_t startTime, uint64_t endTime)
{
    trimChanged(startTime, endTime);
}

void ZTPlayerManager::onTrimChapter(uint64_t startTime, uint64_t endTime)
{
    trimChanged(startTime, endTime);
}

void ZTPlayerManager::onReset()
{
    trimChanged(0, 0);
}

// ------------------------------------------------------------------------------------------ frame steps

void ZTPlayerManager::frameStep(bool forward, bool isSeek, float pos)
{
    if (hasPlayer() && !m_player->IsPause_Player()) {
        m_trimPlay = false;
        basePause();
        emit emitPlayState(false);
        emit emitTrimPlayState(false);
    }
    if (!hasPlayer())
        return;
    const unsigned long long length = getPlaylength();
    // In double precision: a float cannot tell neighbouring frames apart beyond a few minutes.
    unsigned long long target = m_trimStart + offsetOf(length, pos);
    if (forward)
        target += 1;
    if (isSeek)
        m_player->Seek_Player(target);
    if (forward) {
        if (m_trimEnd == 0 || target < m_trimEnd)
            m_player->FrameStep_Player(1);
        else if (isSeek)
            m_player->UpdateVideoFrame_Player();
    } else {
        if (target > m_trimStart)
            m_player->FrameStep_Player(-1);
        else if (isSeek)
            m_player->UpdateVideoFrame_Player();
    }
    const unsigned long long v = m_player->GetVideoTime_Player();
    unsigned long long rel = 0;
    double percent = 0.0;
    if (v != 0) {
        rel = v > m_trimStart ? v - m_trimStart : 0;
        percent = progressOf(rel) * 100.0;
    }
    emit emitPlayProgress(percent / 100.0);
    emit emitStartEndProgressValue(static_cast<float>(percent));
    showTime2(rel);
}

void ZTPlayerManager::onPreviousStep(bool isSeek, float pos)
{
    frameStep(false, isSeek, pos);
}

void ZTPlayerManager::onNextStep(bool isSeek, float pos)
{
    frameStep(true, isSeek, pos);
}

// ------------------------------------------------------------------------------------------ time texts

QString ZTPlayerManager::timeText(unsigned long long time)
{
    const qint64 ms = static_cast<qint64>(time / 1000);
    return QStringLiteral("%1:%2:%3")
        .arg(ms / 3600000, 2, 10, QLatin1Char('0'))
        .arg((ms / 60000) % 60, 2, 10, QLatin1Char('0'))
        .arg((ms / 1000) % 60, 2, 10, QLatin1Char('0'));
}

QString ZTPlayerManager::timeTextMs(unsigned long long time)
{
    const qint64 ms = static_cast<qint64>(time / 1000);
    return timeText(time) + QStringLiteral(".%1").arg(ms % 1000, 3, 10, QLatin1Char('0'));
}

void ZTPlayerManager::showTime(unsigned long long time)
{
    emit emitPlayTime(QStringLiteral("%1 / %2").arg(timeText(time), timeText(getPlaylength())));
}

void ZTPlayerManager::showTime2(unsigned long long time)
{
    emit emitPlayTime2(QStringLiteral("%1 / %2").arg(timeTextMs(time), timeTextMs(getPlaylength())));
}

// ------------------------------------------------------------------------------------------ frames

unsigned int ZTPlayerManager::VideoEditFrameLoop(void *user, void *frame)
{
    return user ? static_cast<ZTPlayerManager *>(user)->DrawVideoFrame(frame) : 0;
}

unsigned int ZTPlayerManager::OrignalVideEditoFrameLoop(void *user, void *frame)
{
    return user ? static_cast<ZTPlayerManager *>(user)->DrawOrignalVideoFrame(frame) : 0;
}

// Any thread: a delivery holds its own reference to the sink, so a window replaced or deleted meanwhile on
// the GUI thread is never reached (its sink simply refuses the frame).
unsigned int ZTPlayerManager::DrawVideoFrame(void *frame)
{
    const std::shared_ptr<VideoFrameSink> sink = sinkOf(false);
    return deliverCodecFrame(sink.get(), frame);
}

unsigned int ZTPlayerManager::DrawOrignalVideoFrame(void *frame)
{
    const std::shared_ptr<VideoFrameSink> sink = sinkOf(true);
    return deliverCodecFrame(sink.get(), frame);
}
