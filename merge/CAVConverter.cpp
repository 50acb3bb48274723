#include "CAVConverter.h"

#include "ZTConfigManager.h"
#include "rscodec.h"

#include <QDebug>

#include <cstdio>

bool CAVConverter::fallsBackToMov(const char *container)
{
    if (!container)
        return false;
    return qstricmp(container, "mp4") == 0 || qstricmp(container, "m4a") == 0 || qstricmp(container, "3gp") == 0 ||
           qstricmp(container, "3g2") == 0;
}

namespace {

const quint32 kCodecH265 = 0x48323635u; // "H265"
const quint32 kCodecH264 = 28u;

} // namespace

IAVConverter *CreateAVConverter()
{
    return new CAVConverter;
}

void DestroyAVConverter(IAVConverter *converter)
{
    if (!converter)
        return;
    if (auto *c = dynamic_cast<CAVConverter *>(converter))
        c->ReleaseCovertert();
    delete converter;
}

CAVConverter::CAVConverter() = default;

CAVConverter::~CAVConverter()
{
    StopConvert();
    // Whatever run is still active ends here: the worker must not outlive this object.
    m_stop.store(true);
    StopThread();
    ReleaseAllTracks();
    ReleaseCovertert();
}

float CAVConverter::progressPercent(quint64 done, quint64 total, float base)
{
    if (total == 0)
        return -1.0f;
    float p = float(done) * (100.0f - base) / float(total) + base;
    if (p < 0.0f)
        p = 0.0f;
    if (p > 100.0f)
        p = 100.0f;
    return p;
}

void CAVConverter::report(unsigned int percent, convertState state)
{
    ConvertCallback cb = m_mergeMode ? m_mergeCallback : m_convertCallback;
    if (cb)
        cb(percent, m_user, state);
}

void CAVConverter::SetConvertConfig(void *editConfig, CAVEncodeParam *param)
{
    auto *e = static_cast<rsc_edit *>(editConfig);
    if (!e || !param)
        return;
    if (param->bLossless) {
        rsc_edit_set_video_codec(e, quint32(param->videoCodec));
        rsc_edit_set_audio_codec(e, quint32(param->audioCodec));
        return;
    }
    rsc_edit_enable_video_edits(e, 1);
    rsc_edit_enable_audio_edits(e, 1);
    rsc_edit_set_video_codec(e, quint32(param->videoCodec));
    rsc_edit_set_audio_codec(e, quint32(param->audioCodec));
    if (quint32(param->videoCodec) == kCodecH265) {
        rsc_edit_set_video_profile_mode(e, 2);
        rsc_edit_set_video_profile(e, 1);
    } else if (quint32(param->videoCodec) == kCodecH264) {
        rsc_edit_set_video_profile_mode(e, 2);
        rsc_edit_set_video_profile(e, 66);
    }
    if (param->width != 0 && param->height != 0)
        rsc_edit_set_video_size(e, param->width, param->height);
    if (param->frameRateHundredths != 0)
        rsc_edit_set_frame_rate(e, param->frameRateHundredths, 100);
    else if (param->frameRateNum != 0)
        rsc_edit_set_frame_rate(e, param->frameRateNum, param->frameRateDen);
    if (param->videoBitRate != 0)
        rsc_edit_set_video_bit_rate(e, param->videoBitRate * 1000);
    rsc_edit_set_audio_channels(e, param->channels != 0 ? param->channels : 2);
    rsc_edit_set_audio_sample_rate(e, param->sampleRate != 0 ? param->sampleRate : 44100);
    if (param->audioBitRate != 0)
        rsc_edit_set_audio_bit_rate(e, param->audioBitRate * 1000);
    rsc_edit_set_video_quality(e, param->videoQuality);
    rsc_edit_set_audio_quality(e, param->audioQuality);
    if (!param->optionText.isEmpty())
        rsc_edit_set_encoder_options(e, param->optionText.constData());
}

rsc_edit *CAVConverter::createEditConfig(CAVEncodeParam *param)
{
    rsc_edit *edit = rsc_edit_create();
    if (!edit)
        return nullptr;
    SetConvertConfig(edit, param);
    ZTConfigManager::setEditConfig(edit, param->editConfig);
    return edit;
}

void CAVConverter::releaseEditConfig()
{
    if (m_editConfig) {
        rsc_edit_release(m_editConfig);
        m_editConfig = nullptr;
    }
}

void CAVConverter::turnSubtitlesOff(rsc_edit *edit)
{
    rsc_edit_set_subtitle_stream(edit, -1);
    rsc_edit_set_closed_caption(edit, 0);
    rsc_edit_set_subtitle_file(edit, nullptr);
}

bool CAVConverter::openConvertJob(const char *src, const char *dst, const char *container, rsc_edit *edit, bool dvd)
{
    const int r = dvd ? rsc_job_open_dvd(m_convertObject, src, dst, container, edit)
                      : rsc_job_open_file(m_convertObject, src, dst, container, edit);
    return r == 1;
}

bool CAVConverter::openRangeStart(const char *src, const char *dst, CAVEncodeParam *param, const char *container)
{
    if (!openConvertJob(src, dst, container, m_editConfig, param->bDVD))
        return false;
    rsc_job_set_range(m_convertObject, param->start, param->duration);
    return rsc_job_start(m_convertObject) == 1;
}

bool CAVConverter::StartConvert(const char *src, const char *dst, CAVEncodeParam *param, void *user,
                                ConvertCallback callback, bool chapterMode)
{
    // The converter owns `param` from here on, whatever the outcome.
    std::unique_ptr<CAVEncodeParam> owned(param);
    if (!src || !dst || !param)
        return false;
    // An earlier run of this converter ends before a new one starts.
    m_stop.store(true);
    StopThread();
    m_chapterMode = chapterMode;

    rsc_job *job = param->bLossless ? rsc_job_create_convert_lossless(RSC_CREATE_DEFAULT)
                                    : rsc_job_create_convert(RSC_CREATE_DEFAULT);
    if (!job)
        return false;
    closeConvertObject();
    m_convertObject = job;
    m_user = user;
    m_convertCallback = callback;
    releaseEditConfig();
    m_editConfig = createEditConfig(param);
    if (m_editConfig) {
        std::printf("video: 0x%0x, %u*%u, %u fps, %u kbps %u\nAudio: 0x%0x, %u Hz, %u bps, %u\n",
                    unsigned(param->videoCodec), param->width, param->height, param->frameRateHundredths,
                    param->videoBitRate, unsigned(param->videoQuality), unsigned(param->audioCodec), param->sampleRate,
                    param->audioBitRate, param->channels);
    }
    m_param = std::move(owned);

    if (chapterMode) {
        m_srcCopy = QByteArray(src);
        m_dstCopy = QByteArray(dst);
        m_mergeMode = false;
        m_stop.store(false);
        return StartThread();
    }

    const char *container = m_param->container();
    bool ok = openRangeStart(src, dst, m_param.get(), container);
    if (!ok && m_param->bLossless && m_editConfig) {
        turnSubtitlesOff(m_editConfig);
        ok = openRangeStart(src, dst, m_param.get(), container);
        if (!ok && fallsBackToMov(container))
            ok = openRangeStart(src, dst, m_param.get(), "mov");
    }
    releaseEditConfig();
    m_stop.store(false);
    if (ok) {
        m_mergeMode = false;
        ok = StartThread();
    }
    return ok;
}

void CAVConverter::closeConvertObject()
{
    if (m_convertObject) {
        rsc_job_close(m_convertObject);
        rsc_job_release(m_convertObject);
        m_convertObject = nullptr;
    }
}

void CAVConverter::StopConvert()
{
    if (!m_convertObject)
        return;
    if (m_preparingChapters.load()) {
        // Reading chapters may block in the library: the interrupt makes those reads give up at once.
        const int previous = rsc_global_set_interrupt(1);
        m_stop.store(true);
        StopThread();
        rsc_global_set_interrupt(previous);
    } else {
        const bool workerActive = IsThreadRunning();
        m_stop.store(true);
        if (workerActive) {
            StopThread(); // the worker stops the job, reports, then acknowledges
        } else if (rsc_job_stop(m_convertObject, 1) == 0) {
            std::printf("stop convert failed! \r\n");
        }
        StopThread();
    }
    while (m_doneSignal.tryAcquire()) {
    }
    releaseEditConfig();
    closeConvertObject();
    m_user = nullptr;
    m_convertCallback = nullptr;
}

void CAVConverter::noteMergeError(rsc_job *job)
{
    const char *why = job ? rsc_job_error(job) : nullptr;
    const QMutexLocker lock(&m_errorLock);
    m_mergeError = why ? QString::fromUtf8(why) : QString();
}

QString CAVConverter::MergerErrorText() const
{
    const QMutexLocker lock(&m_errorLock);
    return m_mergeError;
}

bool CAVConverter::StartMerger(const char *dst, CAVEncodeParam *param)
{
    if (!dst || !param)
        return false;
    noteMergeError(nullptr);
    m_dstCopy = QByteArray(dst);
    rsc_job *job =
        param->bLossless ? rsc_job_create_merge_lossless(RSC_CREATE_DEFAULT) : rsc_job_create_merge(RSC_CREATE_DEFAULT);
    if (!job)
        return false;
    if (m_mergeObject)
        StopMerger(false);
    m_mergeObject = job;
    m_mergeTasksAdded = 0;
    m_mergeOutputComplete = true;
    rsc_edit *edit = createEditConfig(param);
    int r = rsc_job_open_output(m_mergeObject, dst, param->container(), edit);
    if (r == 1)
        r = rsc_job_start(m_mergeObject);
    if (edit)
        rsc_edit_release(edit);
    if (r != 1)
        noteMergeError(m_mergeObject);
    return r == 1;
}

bool CAVConverter::AddMergerTask(const char *src, CAVEncodeParam *param, void *user, ConvertCallback callback)
{
    if (!src || !m_mergeObject)
        return false;
    // The previous task's worker has reported its end; join it before the next run starts.
    StopThread();
    rsc_edit *edit = param ? createEditConfig(param) : nullptr;
    m_user = user;
    m_mergeCallback = callback;

    const quint64 start = param ? param->start : 0;
    const quint64 duration = param ? param->duration : 0;
    const bool dvd = param && param->bDVD;
    auto add = [&]() {
        return dvd ? rsc_job_add_task_dvd(m_mergeObject, src, start, duration, edit)
                   : rsc_job_add_task(m_mergeObject, src, start, duration, edit);
    };
    auto done = [&](bool ok) {
        if (!ok)
            noteMergeError(m_mergeObject);
        if (edit)
            rsc_edit_release(edit);
        return ok;
    };

    int r = add();
    // Re-opening the output restarts it: only allowed while nothing has been written to it yet.
    const bool mayReopen = m_mergeTasksAdded == 0 && edit && param && param->bLossless;
    if (r != 1 && mayReopen) {
        if (rsc_job_open_output(m_mergeObject, m_dstCopy.constData(), param->container(), edit) == 0 ||
            rsc_job_start(m_mergeObject) == 0)
            return done(false);
        turnSubtitlesOff(edit);
        r = add();
        if (r != 1) {
            int tested = r;
            if (fallsBackToMov(param->container()))
                tested = rsc_job_open_output(m_mergeObject, m_dstCopy.constData(), "mov", edit);
            if (tested == 0)
                return done(false);
            if (rsc_job_start(m_mergeObject) == 0)
                return done(false);
            r = add();
        }
    }
    if (r == 1) {
        ++m_mergeTasksAdded;
        m_mergeMode = true;
        m_stop.store(false);
        if (!StartThread())
            r = 0; // nothing would report the task's end
    }
    return done(r == 1);
}

void CAVConverter::StopMerger(bool wait)
{
    endMerger(wait, true);
}

void CAVConverter::DiscardMerger()
{
    endMerger(true, false);
}

void CAVConverter::endMerger(bool wait, bool keep)
{
    if (!m_mergeObject)
        return;
    if (IsThreadRunning()) {
        // The worker carries the stop out on the job it polls, reports, then acknowledges.
        m_stop.store(true);
        StopThread();
    } else {
        StopThread();
        if (rsc_job_stop(m_mergeObject, wait ? 1 : 0) == 0)
            std::printf("stop Merger failed! \r\n");
    }
    while (m_doneSignal.tryAcquire()) {
    }
    // Closing writes the end of the output and puts it in place; a close that fails keeps nothing.
    if (keep) {
        m_mergeOutputComplete = rsc_job_close(m_mergeObject) == 1;
        if (!m_mergeOutputComplete)
            noteMergeError(m_mergeObject);
    } else {
        rsc_job_discard(m_mergeObject);
        m_mergeOutputComplete = false;
    }
    rsc_job_release(m_mergeObject);
    m_mergeObject = nullptr;
    m_mergeCallback = nullptr;
}

void CAVConverter::SetChapter(void *editConfig, CAVEncodeParam *param)
{
    auto *edit = static_cast<rsc_edit *>(editConfig);
    m_chapterInfo = rsc_info_create(RSC_CREATE_DEFAULT);
    bool opened = false;
    if (param && param->bDVD) {
        opened = rsc_info_open_dvd(m_chapterInfo, m_srcCopy.constData()) != 0;
        rsc_info_set_program_index(m_chapterInfo, 0);
    } else {
        opened = rsc_info_open_file(m_chapterInfo, m_srcCopy.constData()) != 0;
    }
    if (!m_stop.load() && opened && param) {
        const quint64 S = param->start;
        const quint64 E = param->end;
        const quint32 count = rsc_info_chapter_count(m_chapterInfo);
        for (quint32 i = 0; i < count && !m_stop.load(); ++i) {
            const quint64 s = rsc_info_chapter_start(m_chapterInfo, i);
            const quint64 d = rsc_info_chapter_duration(m_chapterInfo, i);
            const char *t = rsc_info_chapter_title(m_chapterInfo, i);
            const QByteArray title = t ? QByteArray(t) : QByteArray("Chapter ") + QByteArray::number(i + 1);
            qDebug() << "chapter start" << s;
            quint64 newStart = 0;
            quint64 length = 0;
            if (s >= S) {
                if (E != 0 && E < s)
                    continue;
                newStart = s - S;
                length = (E != 0 && s + d > E) ? E - s : d;
            } else {
                if (s + d < S)
                    continue;
                newStart = 0;
                length = (E != 0 && s + d > E) ? E - S : s + d - S;
            }
            if (length != 0 && edit)
                rsc_edit_add_chapter(edit, newStart, length, title.constData());
        }
    }
    rsc_info_close(m_chapterInfo);
    rsc_info_release(m_chapterInfo);
    m_chapterInfo = nullptr;
}

void CAVConverter::stopJobFromWorker(rsc_job *job, const char *failText)
{
    if (rsc_job_stop(job, 1) == 0)
        std::printf("%s\r\n", failText);
}

void CAVConverter::runChapterPreparation(float &base, bool &ended)
{
    ended = false;
    m_preparingChapters.store(true);
    report(1, convertPreparingChapters);
    SetChapter(m_editConfig, m_param.get());
    m_preparingChapters.store(false);
    int r = 0;
    if (!m_stop.load() &&
        openConvertJob(m_srcCopy.constData(), m_dstCopy.constData(), m_param->container(), m_editConfig, false))
        r = 1;
    releaseEditConfig();
    if (r == 1) {
        rsc_job_set_range(m_convertObject, m_param->start, m_param->duration);
        r = rsc_job_start(m_convertObject);
    }
    if (r != 1) {
        if (m_stop.load()) {
            report(100, convertStopped);
        } else {
            report(0, convertFailed);
        }
        m_convertCallback = nullptr;
        ended = true;
        return;
    }
    base = 20.0f;
}

bool CAVConverter::jobEndedBadly(rsc_job *job)
{
    // A job the library ended by itself, or one that failed while it ran (it answers "finished" too),
    // has not produced a usable output.
    if (rsc_job_is_stopped(job) != 0)
        return true;
    if (rsc_job_is_failed(job) == 1) {
        const char *why = rsc_job_error(job);
        qWarning() << "conversion failed:" << (why ? why : "");
        if (job == m_mergeObject)
            noteMergeError(job);
        return true;
    }
    return false;
}

void CAVConverter::runMergeLoop()
{
    float last = 0.0f;
    rsc_job *job = m_mergeObject;
    for (;;) {
        if (m_stop.load()) {
            stopJobFromWorker(job, "stop Merger failed! ");
            // Report first, acknowledge last: the owner may destroy us once acknowledged.
            report(0, convertStopped);
            m_doneSignal.release();
            return;
        }
        if (rsc_job_is_finished(job) == 1)
            break;
        if (rsc_job_is_stopped(job) != 0) {
            // The library ended the task without being asked: the clip failed.
            noteMergeError(job);
            report(0, convertFailed);
            return;
        }
        if (m_mergeCallback) {
            const float p = progressPercent(rsc_job_done(job), rsc_job_total(job), 0.0f);
            if (p > last) {
                report(unsigned(p), convertProgress);
                last = p;
            }
        }
        rsc_job_wait(job, pollIntervalMs());
    }
    if (jobEndedBadly(job)) {
        report(0, convertFailed);
        return;
    }
    report(100, convertFinished);
}

void CAVConverter::runConvertLoop(float base)
{
    unsigned int last = 0;
    rsc_job *job = m_convertObject;
    for (;;) {
        if (m_stop.load()) {
            stopJobFromWorker(job, "stop convert failed! ");
            report(0, convertStopped);
            m_doneSignal.release();
            return;
        }
        if (rsc_job_is_finished(job) == 1)
            break;
        if (m_convertCallback) {
            const float p = progressPercent(rsc_job_done(job), rsc_job_total(job), base);
            if (p >= 0.0f && unsigned(p) > last) {
                last = unsigned(p);
                report(last, convertProgress);
            }
        }
        rsc_job_wait(job, pollIntervalMs());
    }
    const bool failed = jobEndedBadly(job);
    report(failed ? 0 : 100, failed ? convertFailed : convertFinished);
    m_convertCallback = nullptr;
}

void CAVConverter::OnExecute()
{
    if (m_mergeMode) {
        runMergeLoop();
        return;
    }
    float base = 0.0f;
    if (m_chapterMode) {
        bool ended = false;
        runChapterPreparation(base, ended);
        if (ended)
            return;
    }
    runConvertLoop(base);
}

void CAVConverter::ReleaseCovertert()
{
    // Only once no worker can touch them.
    m_stop.store(true);
    StopThread();
    if (m_convertObject) {
        rsc_job_release(m_convertObject);
        m_convertObject = nullptr;
    }
    if (m_mergeObject) {
        rsc_job_release(m_mergeObject);
        m_mergeObject = nullptr;
    }
    releaseEditConfig();
    m_param.reset();
}
