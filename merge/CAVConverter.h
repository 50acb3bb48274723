#pragma once
// Runs one single-file conversion or one merge on the codec library and polls its progress on a worker
// thread, reporting through a C callback.
//
// Threading: every IAVConverter call is made on the owner's (GUI) thread; OnExecute() and the reports
// run on the worker. While a worker run is active only the worker talks to the job object: a stop is
// requested through m_stop and carried out by the worker, which reports first and acknowledges last;
// the owner then joins the worker before it closes the job, so a stop is bounded by the library's own
// stop and nothing runs on a destroyed converter.

#include "IAVConverter.h"
#include "QUtilThread.h"

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QSemaphore>

#include <atomic>
#include <memory>

struct rsc_job;
struct rsc_edit;
struct rsc_info;
struct rsc_track;

class CAVConverter : public IAVConverter, public QUtilThread
{
public:
    CAVConverter();
    ~CAVConverter() override;

    bool StartConvert(const char *src, const char *dst, CAVEncodeParam *param, void *user, ConvertCallback callback,
                      bool chapterMode) override;
    void StopConvert() override;
    bool StartMerger(const char *dst, CAVEncodeParam *param) override;
    bool AddMergerTask(const char *src, CAVEncodeParam *param, void *user, ConvertCallback callback) override;
    void StopMerger(bool wait) override;
    bool MergerOutputComplete() const override { return m_mergeOutputComplete; }
    void DiscardMerger() override;
    QString MergerErrorText() const override;
    bool StartWithTrack(const char *dst, CAVEncodeParam *param, void *user, void (*progress)(unsigned int, void *),
                        void (*time)(unsigned int, void *)) override;
    void AddTrack(unsigned int type, unsigned int format, CTrackDesc *desc) override;
    void AddTrack(unsigned int id, unsigned int type, unsigned int format, CTrackDesc *desc) override;
    bool AddPacketToTrack(unsigned int id, CTrackPacket *packet) override;
    void StopWithTrack() override;

    void SetConvertConfig(void *editConfig, CAVEncodeParam *param);
    void SetChapter(void *editConfig, CAVEncodeParam *param);
    void ReleaseCovertert();
    void ReleaseAllTracks();
    void setAudioTag() {}

    struct TrackRecord
    {
        unsigned int id = 0;
        unsigned int type = 0;
        rsc_track *handle = nullptr;
    };
    const TrackRecord *GetTracksInfoOfType(unsigned int type) const;

    // Progress of `done` out of `total` as a percentage from `base` to 100, clamped to 0..100; -1 when
    // the total is 0 (no progress can be told).
    static float progressPercent(quint64 done, quint64 total, float base);

    // A lossless job refused by an MP4-family container is tried again as QuickTime, which holds more codecs.
    static bool fallsBackToMov(const char *container);

    // How often the worker reports progress; between reports it waits on the job, so an end is seen at once.
    static int pollIntervalMs() { return 10; }

protected:
    void OnExecute() override;

private:
    void endMerger(bool wait, bool keep);
    void report(unsigned int percent, convertState state);
    rsc_edit *createEditConfig(CAVEncodeParam *param);
    void releaseEditConfig();
    void turnSubtitlesOff(rsc_edit *edit);
    bool openConvertJob(const char *src, const char *dst, const char *container, rsc_edit *edit, bool dvd);
    bool openRangeStart(const char *src, const char *dst, CAVEncodeParam *param, const char *container);
    void runChapterPreparation(float &base, bool &ended);
    void runMergeLoop();
    void runConvertLoop(float base);
    void stopJobFromWorker(rsc_job *job, const char *failText);
    bool jobEndedBadly(rsc_job *job);
    void noteMergeError(rsc_job *job);
    void closeConvertObject();

    rsc_job *m_convertObject = nullptr;
    rsc_job *m_mergeObject = nullptr;
    std::atomic<bool> m_stop{false};
    void *m_user = nullptr;
    bool m_mergeMode = false;
    bool m_chapterMode = false;
    std::atomic<bool> m_preparingChapters{false};
    rsc_edit *m_editConfig = nullptr;
    rsc_info *m_chapterInfo = nullptr;
    std::unique_ptr<CAVEncodeParam> m_param;
    QByteArray m_srcCopy;
    QByteArray m_dstCopy;
    QSemaphore m_doneSignal;
    ConvertCallback m_convertCallback = nullptr;
    ConvertCallback m_mergeCallback = nullptr;
    QList<TrackRecord> m_tracks;
    int m_mergeTasksAdded = 0; // clips added to the merge output so far
    bool m_mergeOutputComplete = true;
    mutable QMutex m_errorLock; // the worker notes a failed clip, the owner reads it after the report
    QString m_mergeError;
};
