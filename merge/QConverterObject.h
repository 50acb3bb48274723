#pragma once
// The older run driver over every clip of the clip list, one clip at a time: in single-file mode each
// clip is converted to its own output file; in merge mode one merge output takes all clips. It turns
// the converter's reports into Qt signals and the overall progress, removes a failed run's partial
// output and may shut the computer down after the last clip.

#include "IAVConverter.h"

#include <QList>
#include <QObject>
#include <QString>

class ZtVideoConvertItem;

class QConverterObject : public QObject
{
    Q_OBJECT
public:
    explicit QConverterObject(QObject *parent = nullptr);
    ~QConverterObject() override;

    void OnStartToCoverter(bool merge);
    void OnConverterAllCheck();
    void StartToConvertVideo(ZtVideoConvertItem *item, bool unused = false);
    void setConverProgress(unsigned int pro, convertState state);
    void StopConvert();
    bool isStopConvert() const { return m_bStopConvert; }
    void setMergerFinish();
    void OnStartToMerger() {}

    // The output file of the clip being converted (single-file) or of the merge (merge mode).
    QString currentOutputPath() const { return m_bMerger ? m_strMergerPath : m_strCurOutputPath; }

    static void convertPro(unsigned int pro, void *user, convertState state);
    static void MergerPro(unsigned int pro, void *user, convertState state);

signals:
    void emitIsStartConverter(bool bStart);
    void emitConvertedFinish(bool bSucceed);
    void seedConvertPro(unsigned int pro, convertState state);
    void emitConvertProToCtrl(int);
    void emitConvertedFinishCount();

public slots:
    void OnCancelConvert();
    void UpdataConverPro(unsigned int nPro, convertState state);
    void converterFinishCount(bool bSucceed);

private:
    bool releaseMergeConverter(bool wait);
    // Stops the per-clip converter, if any, and destroys it.
    void releaseConverter();
    void removeFailedOutput();

    bool m_bMerger = false;
    QList<ZtVideoConvertItem *> m_convertList;
    bool m_bStopConvert = false;
    QString m_strMergerPath;
    QString m_strCurOutputPath;
    IAVConverter *m_pMergerConverter = nullptr;
    IAVConverter *m_pConverter = nullptr;
    ZtVideoConvertItem *m_pCurItem = nullptr;
    int m_nConvertIndex = 0;
};
