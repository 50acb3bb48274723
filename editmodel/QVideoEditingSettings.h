#pragma once
// The clip editor's edit model: one clip's whole edit record while the editor is open. Pages read a section,
// change it and store it back; every section that shows in the picture or the sound goes to the preview
// controller at once. Drags on the preview come back through the controller's reports.

#include "VEEditConfig.h"
#include "ZTPlayerManager.h"

#include <QObject>
#include <QPointer>
#include <QSize>

#include <cstdint>
#include <mutex>

class QVideoEditingSettings : public QObject
{
    Q_OBJECT

public:
    explicit QVideoEditingSettings(QObject *parent = nullptr);

    // Binds the preview controller. A second controller replaces the first (the first is disconnected).
    void setPlayerManager(ZTPlayerManager *player);
    ZTPlayerManager *getPlayerManager() const { return m_player.data(); }

    // Takes the whole record and pushes it to the preview. Called from the editor's loading worker: then the
    // record travels to the model's own thread by queued call, so the GUI never sees it half written.
    void setEditConfig(VEEditConfig &config);
    // GUI thread: takes a record the worker handed over and that is still on its way (a completion handler
    // that runs before the queued hand-over calls this first). Nothing pending: nothing happens.
    void flushPendingEditConfig();
    void setPlayerManagerSettings();
    void getEditConfig(VEEditConfig &config) const;
    void setConfigSettings(VEEditConfig &config);
    void getConfigSettings(VEEditConfig &config) const { getEditConfig(config); }
    void setIsWatermarkAudioStartTime(bool on) { m_watermarkAudioStart = on; }
    bool getIsWatermarkAudioStartTime() const { return m_watermarkAudioStart; }

    // Trim range.
    quint64 getTrimStartTime() const { return m_config.trimStart; }
    quint64 getTrimEndTime() const { return m_config.trimEnd; }
    void setTrimTime(quint64 start, quint64 end);
    void setTrimTimeNoSeekPlayer(quint64 start, quint64 end);

    // Crop, rotation and display aspect.
    void getCropSettings(VECropSettings &settings) const;
    void setCropSettings(VECropSettings &settings);
    QSize getCropMinSize() const;
    void setPanScanMode(PanScanMode mode);

    void getEffectSettings(VEVideoEffectSettings &settings) const;
    void setEffectSettings(VEVideoEffectSettings &settings);
    void getVideoEffectWkSettings(VEWatermarkSettings &settings) const;
    void setVideoEffectWkSettings(VEWatermarkSettings &settings);
    void getFrameWkSettings(VEWatermarkSettings &settings) const;
    void setFrameWkSettings(VEWatermarkSettings &settings);
    void getWatermarkSettings(VEWatermarkSettings &settings) const;
    void setWatermarkSettings(VEWatermarkSettings &settings, bool measure, bool withSource);

    void getSubtitleSettings(VESubtitleSettings &settings) const;
    void setSubtitleSettings(VESubtitleSettings &settings);
    void getSubtitleInfo(VESubtitleValue_Info &info) const;
    void setSubtitleInfo(VESubtitleValue_Info &info);
    void getSubltItemInfoList(QList<VESubltItemInfo> &list) const;
    void setSubltItemInfoList(QList<VESubltItemInfo> &list);

    void getAudioBackgroundSettings(VEAudioBackgroundSettings &settings) const;
    void setAudioBackgroundSettings(VEAudioBackgroundSettings &settings, bool withSource);
    void getAudioSettings(VEAudioSettings &settings) const;
    void setAudioSettings(VEAudioSettings &settings);
    void getAudiolist(QStringList &list) const;
    void setAudiolist(QStringList list);
    // The chapter list: entry 0 is the clip's current range. Changes go through here so that the editor's
    // Cancel drops them with the rest of the record.
    void getChapterInfoList(QList<VEChapterInfo> &list) const;
    void setChapterInfoList(const QList<VEChapterInfo> &list);
    void getAudioTagInfo(VEAudioTagInfo &info) const;
    void setAudioTagInfo(VEAudioTagInfo &info);

    QSize getResolutionSize() const { return QSize(m_config.resolutionWidth, m_config.resolutionHeight); }
    void setResolutionSize(int width, int height);

    // Read from the controller; 0 or a zero size without one.
    QSize getVideoSize() const;
    quint64 getDuration() const;
    quint64 getPlaylength() const;
    quint64 getTrimTimeLength() const;

    // Each section back to the record's own defaults; nothing is sent.
    void setDefaultEffectSettings();
    void setDefaultCropSettings();
    void setVideoEffectWkSettings();
    void setFrameWkSettings();
    void setDefaultWatermarkSettings();
    void setDefaultSubtitleSettings();
    void setDefaultSubtitleInfo();
    void setDefaultAudioBackgroundSettings();
    void setDefaultAudioSettings();

public slots:
    void trimTimeChange(uint64_t startTime, uint64_t endTime);
    void playerChange();
    void cropAreaChange(VECropSettings settings);
    void watermarkRectChange(VEWatermarkSettings settings, int index);
    void editFileRefused() { m_fileRefused = true; }

private:
    void applyEditConfig(const VEEditConfig &config);
    // Stores `wanted` as `section` and has `send` push the section with its file. The controller reports a
    // refused file within the push: then the section's file (what `takeFile` copies) goes back to the one it held,
    // in the record and the preview, so that the join never gets a file the user was told cannot be used.
    template <class Section, class Send, class TakeFile>
    void storeWithFile(Section &section, const Section &wanted, Send send, TakeFile takeFile);
    // Every timed item of the record (the three overlays' pictures, the watermark's text, the background
    // sound) starts at `start`.
    void startItemsAt(quint64 start);
    ZTPlayerManager *player() const { return m_player.data(); }

    QPointer<ZTPlayerManager> m_player;
    std::mutex m_pendingMutex; // guards the two below: the worker writes them, the GUI thread takes them
    VEEditConfig m_pendingConfig;
    bool m_hasPending = false;
    VEEditConfig m_config;
    bool m_watermarkAudioStart = false;
    bool m_fileRefused = false;
};
