#pragma once
// One clip of the join list: the source file with what probing found in it, its track lists, the user's
// edit record, the trim range and split settings, and the output names made for it. The clip list owns
// the items. The main window and the preview read and write several members directly.
//
// The implementation is split by responsibility: ZtVideoConvertItem.cpp (object, copy, texts, split),
// ZtVideoConvertItemProbe.cpp (setVideoPath), ZtVideoConvertItemTracks.cpp (track and choice lists),
// ZtVideoConvertItemOutput.cpp (encode parameters and output names).

#include "CAVEncodeParam.h"
#include "ConvertedInfo.h"
#include "TrackInfo.h"
#include "VEEditConfig.h"
#include "ZtItemSettingsGroups.h"

#include <QImage>
#include <QList>
#include <QObject>
#include <QSize>
#include <QString>
#include <QStringList>

class ZtVideoConvertItem : public QObject
{
    Q_OBJECT
public:
    explicit ZtVideoConvertItem(QObject *parent = nullptr);
    ~ZtVideoConvertItem() override;

    // Probe: opens the source with the codec library and fills the clip. False when the file cannot be
    // opened or has a refused brand; the caller then deletes the clip.
    bool setVideoPath(QString path, int program);

    // Copies the source description of another item (not its edits, tracks, trim or names).
    bool setVideoConvertItem(ZtVideoConvertItem *other, int unused = 0);

    // An item probed on a worker thread must live on the GUI thread before the clip list takes it.
    // Call from the thread the item lives in; answers false when it cannot be moved from here.
    bool moveToGuiThread();

    int getConvertState() const { return m_nConvertState; }
    void setIndex(int index) { m_nIndex = index; }
    int Index() const { return m_nIndex; }
    QString getFilePath() const { return m_strFilePath; }
    QString getOutputPath() const { return m_strOutputPath; }

    // The output frame size: the conversion record's size when set, else the clip's; 0 for audio-only.
    unsigned int getVideoWidth() const;
    unsigned int getVideoHeight() const;

    // The picture as the preview shows it: the stored size turned upright by the display rotation and, with
    // `widened`, stretched (never shrunk, even sides) to the display aspect the stream or its container
    // states. Sizes that mean the picture a user sees come from here; the stored size (m_nWidth x m_nHeight)
    // stays where streams are compared. Without `widened` it is the pixel grid the editor's crop sizes count.
    QSize shownVideoSize(bool widened = true) const;
    // The output frame at the resolution "Auto" when this clip comes first: the picture as shown, within the
    // bounds of a decoded picture. The clip's own edits are laid into it as into any fixed size, so the editor's
    // preview, opened on this frame, shows what the join writes.
    QSize autoVideoSize() const;

    // "hh:mm:ss" of a duration in microseconds; hours are not wrapped at 24.
    static QString converterTimer(unsigned long long us);
    // The duration text of the part that is converted, at the clip's audio rate.
    QString getConvertedTime() const;
    // Microseconds of the part that is converted, at the clip's audio rate.
    quint64 getConvertedDuration() const;
    void getConvertedInfo(convertedInfo &info);

    void SetDefaultSplitInfo();
    void RefreshSplitSet();
    void EverySplit();
    void IntoSplit();
    void ChaptersSplit();

    // Track lists and choice lists from an open media-information handle.
    void getMediaTrackInfo(void *handle);
    void getAudioList(void *handle, QStringList &list);
    void getSubltList(void *handle, QList<subltItemInfo *> &list, QString path);

    void getEncodeParam(CAVEncodeParam *param) const;

    // The subtitle stream the clip's record chooses from the file (0-based among its subtitle streams);
    // -1 for none, closed captions or a subtitle file.
    int chosenSubtitleStream() const;
    // Whether a high-speed join into `container` (lower case, as CAVEncodeParam names it) carries the
    // chosen subtitle stream into the output, asked of the codec library with the join's own rule. False
    // when the container cannot hold its format: the subtitle is then missing from the output. Opens the
    // source file: ask it before a run, not while painting.
    bool isSubtitleCarriedInto(const QByteArray &container) const;
    // Whether a high-speed join can write the clip's picture and chosen sound into `container` at all (or,
    // for the MP4 family, into QuickTime, which the converter falls back to), asked of the codec library
    // with the join's own steps. Opens the source file: ask it before a run.
    bool isLosslessWritableInto(const QByteArray &container) const;

    QString getValidOutputName();
    QString getConverOutputDir();
    QString getConverPath();
    void removeOutPutDir();
    static void clearOutputFileList();
    // A run that did not write `path` (stopped, failed) gives its name back for the next run.
    static void releaseOutputPath(const QString &path);

    void setDefaultEditConfig();
    void SetDefaultEditSettings();
    void SetDefaultEffectSettings();
    void SetDefaultWatermarkTextSettings();
    void SetDefaultWatermarkImageSettings();
    void SetDefaultSubtitleSettings();

    // The artist tag text (UTF-8), as the history record takes it.
    QByteArray artistTag() const { return m_strTags[1]; }

public slots:
    void setSplitInfo(Split_Info info);

public:
    QString m_strFormatName;      // container name, e.g. "mp4", "mov"
    QString m_strExtend;          // source extension without the dot, case kept
    QString m_strFilePath;        // full source path with "/" separators
    QString m_strFileName;        // the part of the path after its last "/"
    QString m_strValidOutputName; // the name the output is derived from
    QString m_strImagePath;
    QString m_strOutputDir;
    QString m_strOutputPath;
    unsigned int m_nWidth = 0;
    unsigned int m_nHeight = 0;
    int m_nRotation = 0;         // clockwise turn the file asks for on display: 0, 90, 180 or 270
    unsigned int m_nAspectX = 0; // display aspect of the stored picture; 0 = square pixels
    unsigned int m_nAspectY = 0;
    bool m_bHasVideo = true;
    bool m_bHasAudio = true;
    QImage *m_pCoverImage = nullptr; // cover art, or a frame at a third of the duration
    char *m_pCoverBytes = nullptr;   // the encoded picture bytes (malloc)
    int m_nCoverSize = 0;
    bool m_bDVD = false;
    int m_nDVDProgram = 0;
    unsigned long long m_nTrimStart = 0;
    unsigned long long m_nTrimEnd = 0; // 0 = to the end of the clip
    unsigned long long m_nDuration = 0;

    VECropSettings m_editSettings;
    ZtItemEffectSettings m_effectSettings;
    ZtItemWatermarkTextSettings m_watermarkTextSettings;
    ZtItemWatermarkImageSettings m_watermarkImageSettings;
    ZtItemSubtitleSettings m_subtitleSettings;
    int m_nSubtitleSel[3] = {0, 0, 0};
    int m_nSubtitleStreamCount = 0;
    QByteArray m_strLegacyText;

    QList<subltItemInfo *> m_subltList; // owned
    QStringList m_audioList;
    QList<SplitSegment *> m_splitList; // owned
    QByteArray m_strTags[11];          // the second one is the artist
    int m_nConvertState = 0;
    Split_Info m_splitInfo;
    QList<SubtitleTrackInfo> m_subtitleTracks;
    QList<AudioTrackInfo> m_audioTracks;
    QList<VideoTrackInfo> m_videoTracks;
    VEEditConfig m_editConfig;
    QList<QImage> m_thumbnails;
    bool m_bIsPlaying = false;

    static QStringList m_sOutputFileList;

private:
    void clearCover();
    void setCoverBytes(const char *bytes, int size);
    bool loadCoverFromLibraryStream(const unsigned char *bytes, int size);
    // Opens a source on a library info handle: a DVD (then at `program`) or a plain file.
    static bool openSource(void *info, const QByteArray &utf8Path, bool dvd, int program);
    void clearSplitList();
    void clearSubltList();
    // The legacy text and the five older settings groups back to their defaults.
    void resetOlderSettings();

    int m_nIndex = -1;
};

Q_DECLARE_METATYPE(Split_Info)
