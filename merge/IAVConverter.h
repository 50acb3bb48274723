#pragma once
// The engine interface through which the job drivers run a conversion or a merge on the codec library.
// CreateAVConverter() makes the implementation; DestroyAVConverter() ends it.

#include "CAVEncodeParam.h"

#include <QMetaType>
#include <QString>
#include <QtGlobal>

// The state passed with every report.
enum convertState {
    convertStopped = 1,           // stopped on request
    convertFinished = 2,          // the job (merge: the current clip) is done
    convertPreparingChapters = 3, // chapter mode only, once before the job opens
    convertFailed = 4,            // the job could not be opened, started or completed
    convertProgress = 5,
};
Q_DECLARE_METATYPE(convertState)

// Reports come on the converter's worker thread.
typedef void (*ConvertCallback)(unsigned int percent, void *user, convertState state);

// An elementary stream of the track-wise interface.
struct CTrackDesc
{
    quint32 width = 0;
    quint32 height = 0;
    quint32 frameRate = 0;
    quint32 frameRateScale = 0;
    quint32 aspectX = 0;
    quint32 aspectY = 0;
    quint32 audioValue1 = 0; // sample rate
    quint32 audioValue2 = 0; // channels
    const unsigned char *esData = nullptr;
    quint32 esDataLength = 0;
};

struct CTrackPacket
{
    qint64 pts = 0;
    qint64 dts = 0;
    qint64 duration = 0;
    quint32 timeScale = 0; // units per second of the three times
    quint32 flags = 0;     // 1 = key frame
    const unsigned char *data = nullptr;
    quint32 size = 0;
};

class IAVConverter
{
public:
    // `param` passes to the converter, which frees it when the job ends or the converter is destroyed.
    virtual bool StartConvert(const char *src, const char *dst, CAVEncodeParam *param, void *user,
                              ConvertCallback callback, bool chapterMode) = 0;
    virtual void StopConvert() = 0;
    // Opens the merged output with the first clip's parameters; `param` is only read.
    virtual bool StartMerger(const char *dst, CAVEncodeParam *param) = 0;
    // Adds one clip and runs it; `param` is only read.
    virtual bool AddMergerTask(const char *src, CAVEncodeParam *param, void *user, ConvertCallback callback) = 0;
    // Stops and closes the merge. Never blocks longer than the library takes to stop.
    virtual void StopMerger(bool wait) = 0;
    // False when the last StopMerger could not complete the merged output (it must not be kept).
    virtual bool MergerOutputComplete() const { return true; }
    // Stops (waiting) and closes the merge without keeping its output: the output path keeps what it held
    // before the merge, so a failed job never deletes a file it did not write.
    virtual void DiscardMerger() { StopMerger(true); }
    // The library's reason for the last failure of the merge (opening, a clip, completing the output);
    // empty when none is known.
    virtual QString MergerErrorText() const { return QString(); }
    virtual bool StartWithTrack(const char *dst, CAVEncodeParam *param, void *user,
                                void (*progress)(unsigned int, void *), void (*time)(unsigned int, void *)) = 0;
    virtual void AddTrack(unsigned int type, unsigned int format, CTrackDesc *desc) = 0;
    virtual void AddTrack(unsigned int id, unsigned int type, unsigned int format, CTrackDesc *desc) = 0;
    virtual bool AddPacketToTrack(unsigned int id, CTrackPacket *packet) = 0;
    virtual void StopWithTrack() = 0;
    virtual ~IAVConverter() = default;
};

IAVConverter *CreateAVConverter();
void DestroyAVConverter(IAVConverter *converter);
