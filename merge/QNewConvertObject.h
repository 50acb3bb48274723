#pragma once
// Runs one merge job: feeds the clips one at a time to a merge converter that writes them all into one
// output file, turns the per-clip reports into an overall percentage, and tells the main window when
// the job starts, when each clip ends and when the merge is done, failed or stopped. A driver is made
// for one merge and not reused; it does not own the clips.
//
// A stop (OnStopConvert) ends the job at once: the partial output is removed and emitStopConverter and
// emitMergerFinished(false) are emitted before it returns (OnCancelConvert: emitMergerFinished(false)
// only, and the clip list is kept); reports that were still on their way from the stopped job are
// ignored, so no finishing action follows a stop. The stop waits only as long as the library takes to
// stop its job.

#include "IAVConverter.h"

#include <QList>
#include <QObject>
#include <QString>

class ZtVideoConvertItem;

class QNewConvertObject : public QObject
{
    Q_OBJECT
public:
    explicit QNewConvertObject(QObject *parent = nullptr);
    ~QNewConvertObject() override;

    void AddConvertItem(ZtVideoConvertItem *item);
    void AddConvertItem(QList<ZtVideoConvertItem *> items);
    void ClearConvertItem();
    void setMergerOptputPath(QString path) { m_strMergerPath = path; }
    // Why the last run failed, for the user: the file concerned and the reason ("clip.mp4: cannot write
    // the output: No space left on device"); empty when it did not fail or no reason is known.
    QString errorText() const { return m_strError; }
    QString getMergerOutputPath() const { return m_strMergerPath; }
    ZtVideoConvertItem *GetCurrentItem() const { return m_pCurItem; }
    int getTotalConut() const { return m_nTotalCount; }
    int getConvertConut() const { return m_nConvertCount; }

    void SetConvertProgress(unsigned int pro, convertState state);
    void OnMergerFinished();

    // The report callbacks handed to the converter (worker thread): they only emit emitConvertPro.
    static void NewMergerPro(unsigned int pro, void *user, convertState state);
    static void NewConvertPro(unsigned int pro, void *user, convertState state);

    // The overall percentage of a clip's progress: share 100/total per clip (100 when total is 0),
    // clamped to 0..100.
    static float totalPercent(unsigned int pro, int finishedBefore, int total);

signals:
    void emitStartConverter();
    void emitStopConverter();
    void emitConvertPro(unsigned int pro, convertState state);
    void emitConvertTotalPro(float);
    void emitConvertedFinished(bool);
    void emitMergerFinished(bool);
    void emitMergerTotalFinished();
    void emitConvertTotalFinished();

public slots:
    void OnStartToMerger();
    void OnStartToConvert();
    void OnStopConvert();
    void OnCancelConvert();
    void UpdataConvertPro(unsigned int nPro, convertState state);
    bool isStopConvert() const { return m_bStopConvert; }

private:
    void StartToMerger(ZtVideoConvertItem *item);
    void StartToConvert(ZtVideoConvertItem *) {}
    void ConverteFinishedCount(bool succeeded);
    void destroyConverters();
    void noteFailure(const QString &path, const QString &why);
    bool closeMergeOutput();
    void discardMergeOutput();

    QString m_strError;
    bool m_bMerger = false;
    bool m_bStopConvert = false;
    bool m_bEnded = false; // the job has ended (failed, stopped or done): late reports are ignored
    QList<ZtVideoConvertItem *> m_convertList;
    QString m_strMergerPath;
    IAVConverter *m_pMergerConverter = nullptr;
    IAVConverter *m_pConverter = nullptr;
    ZtVideoConvertItem *m_pCurItem = nullptr;
    int m_nConvertIndex = -1;
    int m_nConvertCount = 0;
    int m_nTotalCount = 0;
};
