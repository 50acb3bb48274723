#include "QVideoEditingSettings.h"

#include <QMetaObject>
#include <QThread>

namespace {
QSize unpackSize(unsigned long long packed)
{
    return QSize(static_cast<int>(packed & 0xFFFFFFFFull), static_cast<int>(packed >> 32));
}
} // namespace

QVideoEditingSettings::QVideoEditingSettings(QObject *parent) : QObject(parent)
{
    // The controller's reports cross threads while the loading worker pushes a record.
    qRegisterMetaType<VECropSettings>("VECropSettings");
    qRegisterMetaType<VEWatermarkSettings>("VEWatermarkSettings");
    qRegisterMetaType<uint64_t>("uint64_t");
}

void QVideoEditingSettings::setPlayerManager(ZTPlayerManager *p)
{
    if (!p)
        return;
    if (m_player && m_player != p)
        disconnect(m_player, nullptr, this, nullptr);
    m_player = p;
    connect(p, &ZTPlayerManager::emitPlayerChange, this, &QVideoEditingSettings::playerChange, Qt::UniqueConnection);
    connect(p, &ZTPlayerManager::emitTrimTimeChange, this, &QVideoEditingSettings::trimTimeChange,
            Qt::UniqueConnection);
    connect(p, &ZTPlayerManager::emitCropAreaChange, this, &QVideoEditingSettings::cropAreaChange,
            Qt::UniqueConnection);
    connect(p, &ZTPlayerManager::emitWatermarkRectChange, this, &QVideoEditingSettings::watermarkRectChange,
            Qt::UniqueConnection);
    // Direct: the refusal must be known before the setter that pushed the file returns.
    connect(p, &ZTPlayerManager::emitEditFileRefused, this, &QVideoEditingSettings::editFileRefused,
            Qt::ConnectionType(Qt::DirectConnection | Qt::UniqueConnection));
}

template <class Section, class Send, class TakeFile>
void QVideoEditingSettings::storeWithFile(Section &section, const Section &wanted, Send send, TakeFile takeFile)
{
    const Section before = section;
    section = wanted;
    m_fileRefused = false;
    send();
    if (!m_fileRefused)
        return;
    m_fileRefused = false;
    Section earlier = section;
    takeFile(earlier, before);
    // A file the record held already is refused again: there is no earlier one to go back to, and the rest of
    // the change (a text typed, a track chosen) stands.
    if (earlier == section)
        return;
    section = earlier;
    send();
    m_fileRefused = false;
}

void QVideoEditingSettings::setEditConfig(VEEditConfig &config)
{
    if (&config == &m_config)
        return;
    if (QThread::currentThread() != thread()) {
        // The worker hands over a copy; the model and the controller change only on their own thread.
        {
            std::lock_guard<std::mutex> lock(m_pendingMutex);
            m_pendingConfig = config;
            m_hasPending = true;
        }
        QMetaObject::invokeMethod(this, &QVideoEditingSettings::flushPendingEditConfig, Qt::QueuedConnection);
        return;
    }
    applyEditConfig(config);
}

void QVideoEditingSettings::flushPendingEditConfig()
{
    VEEditConfig config;
    {
        std::lock_guard<std::mutex> lock(m_pendingMutex);
        if (!m_hasPending)
            return;
        config = m_pendingConfig;
        m_hasPending = false;
    }
    applyEditConfig(config);
}

void QVideoEditingSettings::applyEditConfig(const VEEditConfig &config)
{
    m_config = config;
    setPlayerManagerSettings();
}

void QVideoEditingSettings::startItemsAt(quint64 start)
{
    // The preview times the overlays against the source's frames; the join passes them no show time and
    // shows them from the clip's start. So in the preview each starts at the trimmed clip's first frame, the
    // watermark's text as well: a start kept from when the text was typed (before the trim start moved
    // back, or on the clip Apply to all took it from) hid the text in the preview alone.
    m_config.watermark.image.showTime.first = start;
    m_config.watermark.text.showTime.first = start;
    m_config.effectOverlay.image.showTime.first = start;
    m_config.frameOverlay.image.showTime.first = start;
    m_config.audioBackground.showTime.first = start;
}

void QVideoEditingSettings::setPlayerManagerSettings()
{
    ZTPlayerManager *p = player();
    if (!p)
        return;
    p->setTrimTime(m_config.trimStart, m_config.trimEnd);
    p->setCropSettings(m_config.crop);
    p->setEqualizeSettings(m_config.audio.equalize);
    p->setAudioEffectSettings(m_config.audio);
    p->setVideoEffectSettings(m_config.videoEffect);
    startItemsAt(m_config.trimStart);
    p->setAudioBackgroundSettingsSource(m_config.audioBackground, 0);
    p->setSubtitleValueInfo(m_config.subtitleValue);
    p->setSubtitleSettings(m_config.subtitle);
    p->setWatermarkSettingsSource(m_config.frameOverlay, 2);
    p->setWatermarkSettingsSource(m_config.effectOverlay, 1);
    p->setCurrentWatermarkSettings(m_config.watermark, 0, true);
}

void QVideoEditingSettings::getEditConfig(VEEditConfig &config) const
{
    if (&config != &m_config)
        config = m_config;
}

void QVideoEditingSettings::setConfigSettings(VEEditConfig &config)
{
    if (&config != &m_config)
        m_config = config;
}

void QVideoEditingSettings::setTrimTime(quint64 start, quint64 end)
{
    m_config.trimStart = start;
    m_config.trimEnd = end;
    if (ZTPlayerManager *p = player())
        p->setTrimTime(start, end);
}

void QVideoEditingSettings::setTrimTimeNoSeekPlayer(quint64 start, quint64 end)
{
    m_config.trimStart = start;
    m_config.trimEnd = end;
}

void QVideoEditingSettings::getCropSettings(VECropSettings &s) const
{
    if (&s != &m_config.crop)
        s = m_config.crop;
}

void QVideoEditingSettings::setCropSettings(VECropSettings &s)
{
    if (&s != &m_config.crop)
        m_config.crop = s;
    if (ZTPlayerManager *p = player())
        p->setCropSettings(m_config.crop);
}

QSize QVideoEditingSettings::getCropMinSize() const
{
    ZTPlayerManager *p = player();
    return p ? unpackSize(p->getCropMinSize()) : QSize(0, 0);
}

void QVideoEditingSettings::setPanScanMode(PanScanMode mode)
{
    if (ZTPlayerManager *p = player())
        p->setPanScanMode(mode);
}

void QVideoEditingSettings::getEffectSettings(VEVideoEffectSettings &s) const
{
    if (&s != &m_config.videoEffect)
        s = m_config.videoEffect;
}

void QVideoEditingSettings::setEffectSettings(VEVideoEffectSettings &s)
{
    if (&s == &m_config.videoEffect)
        return;
    m_config.videoEffect = s;
    if (ZTPlayerManager *p = player())
        p->setVideoEffectSettings(m_config.videoEffect);
}

void QVideoEditingSettings::getVideoEffectWkSettings(VEWatermarkSettings &s) const
{
    if (&s != &m_config.effectOverlay)
        s = m_config.effectOverlay;
}

void QVideoEditingSettings::setVideoEffectWkSettings(VEWatermarkSettings &s)
{
    if (&s == &m_config.effectOverlay)
        return;
    m_config.effectOverlay = s;
    if (ZTPlayerManager *p = player())
        p->setWatermarkSettingsSource(m_config.effectOverlay, 1);
}

void QVideoEditingSettings::getFrameWkSettings(VEWatermarkSettings &s) const
{
    if (&s != &m_config.frameOverlay)
        s = m_config.frameOverlay;
}

void QVideoEditingSettings::setFrameWkSettings(VEWatermarkSettings &s)
{
    if (&s == &m_config.frameOverlay)
        return;
    m_config.frameOverlay = s;
    if (ZTPlayerManager *p = player())
        p->setWatermarkSettingsSource(m_config.frameOverlay, 2);
}

void QVideoEditingSettings::getWatermarkSettings(VEWatermarkSettings &s) const
{
    if (&s != &m_config.watermark)
        s = m_config.watermark;
}

void QVideoEditingSettings::setWatermarkSettings(VEWatermarkSettings &s, bool measure, bool withSource)
{
    ZTPlayerManager *p = player();
    if (p && withSource) {
        const VEWatermarkSettings wanted = s; // may be the record's own
        storeWithFile(
            m_config.watermark, wanted,
            [this, p, measure] { p->setCurrentWatermarkSettings(m_config.watermark, 0, measure); },
            [](VEWatermarkSettings &to, const VEWatermarkSettings &from) {
                to.image.imagePath = from.image.imagePath;
                to.image.maskPath = from.image.maskPath;
            });
        return;
    }
    if (&s != &m_config.watermark)
        m_config.watermark = s;
    if (p)
        p->setCurrentWatermarkSettingsNotSource(m_config.watermark, 0, measure);
}

void QVideoEditingSettings::getSubtitleSettings(VESubtitleSettings &s) const
{
    if (&s != &m_config.subtitle)
        s = m_config.subtitle;
}

void QVideoEditingSettings::setSubtitleSettings(VESubtitleSettings &s)
{
    if (&s == &m_config.subtitle)
        return;
    m_config.subtitle = s;
    if (ZTPlayerManager *p = player())
        p->setSubtitleSettings(m_config.subtitle);
}

void QVideoEditingSettings::getSubtitleInfo(VESubtitleValue_Info &info) const
{
    if (&info != &m_config.subtitleValue)
        info = m_config.subtitleValue;
}

void QVideoEditingSettings::setSubtitleInfo(VESubtitleValue_Info &info)
{
    if (&info == &m_config.subtitleValue)
        return;
    ZTPlayerManager *p = player();
    if (!p) {
        m_config.subtitleValue = info;
        return;
    }
    storeWithFile(
        m_config.subtitleValue, info,
        [this, p] {
            p->setSubtitleValueInfo(m_config.subtitleValue);
            p->setSubtitleSettings(m_config.subtitle);
        },
        [](VESubtitleValue_Info &to, const VESubtitleValue_Info &from) { // the subtitle chosen, as a whole
            to.subtitleRow = from.subtitleRow;
            to.subtitleIndex = from.subtitleIndex;
            to.subtitleFile = from.subtitleFile;
        });
}

void QVideoEditingSettings::getSubltItemInfoList(QList<VESubltItemInfo> &list) const
{
    if (&list != &m_config.subtitleItems)
        list = m_config.subtitleItems;
}

void QVideoEditingSettings::setSubltItemInfoList(QList<VESubltItemInfo> &list)
{
    if (&list != &m_config.subtitleItems)
        m_config.subtitleItems = list;
}

void QVideoEditingSettings::getAudioBackgroundSettings(VEAudioBackgroundSettings &s) const
{
    if (&s != &m_config.audioBackground)
        s = m_config.audioBackground;
}

void QVideoEditingSettings::setAudioBackgroundSettings(VEAudioBackgroundSettings &s, bool withSource)
{
    if (&s == &m_config.audioBackground)
        return;
    ZTPlayerManager *p = player();
    if (p && withSource) {
        storeWithFile(
            m_config.audioBackground, s,
            [this, p] { p->setAudioBackgroundSettingsSource(m_config.audioBackground, 0); },
            [](VEAudioBackgroundSettings &to, const VEAudioBackgroundSettings &from) { to.filePath = from.filePath; });
        return;
    }
    m_config.audioBackground = s;
    if (p)
        p->setAudioBackgroundSettingsNotSource(m_config.audioBackground, 0);
}

void QVideoEditingSettings::getAudioSettings(VEAudioSettings &s) const
{
    if (&s != &m_config.audio)
        s = m_config.audio;
}

void QVideoEditingSettings::setAudioSettings(VEAudioSettings &s)
{
    if (&s == &m_config.audio)
        return;
    m_config.audio = s;
    if (ZTPlayerManager *p = player()) {
        p->setAudioEffectSettings(m_config.audio);
        p->setEqualizeSettings(m_config.audio.equalize); // a deep copy: the controller never holds our arrays
    }
}

void QVideoEditingSettings::getAudiolist(QStringList &list) const
{
    if (&list != &m_config.audioList)
        list = m_config.audioList;
}

void QVideoEditingSettings::setAudiolist(QStringList list)
{
    m_config.audioList = list;
}

void QVideoEditingSettings::getAudioTagInfo(VEAudioTagInfo &info) const
{
    if (&info != &m_config.audioTag)
        info = m_config.audioTag;
}

void QVideoEditingSettings::setAudioTagInfo(VEAudioTagInfo &info)
{
    if (&info != &m_config.audioTag)
        m_config.audioTag = info;
}

void QVideoEditingSettings::setResolutionSize(int width, int height)
{
    m_config.resolutionWidth = width;
    m_config.resolutionHeight = height;
}

QSize QVideoEditingSettings::getVideoSize() const
{
    ZTPlayerManager *p = player();
    return p ? unpackSize(p->getVideoSize()) : QSize(0, 0);
}

quint64 QVideoEditingSettings::getDuration() const
{
    ZTPlayerManager *p = player();
    return p ? p->getDuration() : 0;
}

quint64 QVideoEditingSettings::getPlaylength() const
{
    ZTPlayerManager *p = player();
    return p ? p->getPlaylength() : 0;
}

quint64 QVideoEditingSettings::getTrimTimeLength() const
{
    const quint64 start = m_config.trimStart, end = m_config.trimEnd;
    if (end != 0 && end > start)
        return end - start;
    const quint64 duration = getDuration();
    // A start at or past the end of the media leaves nothing to play (never a wrapped huge length).
    return duration > start ? duration - start : 0;
}

void QVideoEditingSettings::setDefaultEffectSettings()
{
    m_config.videoEffect = VEEditConfig().videoEffect;
}

void QVideoEditingSettings::setDefaultCropSettings()
{
    m_config.crop = VEEditConfig().crop;
}

void QVideoEditingSettings::setVideoEffectWkSettings()
{
    m_config.effectOverlay = VEEditConfig().effectOverlay;
}

void QVideoEditingSettings::setFrameWkSettings()
{
    m_config.frameOverlay = VEEditConfig().frameOverlay;
}

void QVideoEditingSettings::setDefaultWatermarkSettings()
{
    m_config.watermark = VEEditConfig().watermark;
}

void QVideoEditingSettings::setDefaultSubtitleSettings()
{
    m_config.subtitle = VEEditConfig().subtitle;
}

void QVideoEditingSettings::setDefaultSubtitleInfo()
{
    m_config.subtitleValue = VEEditConfig().subtitleValue;
}

void QVideoEditingSettings::setDefaultAudioBackgroundSettings()
{
    m_config.audioBackground = VEEditConfig().audioBackground;
}

void QVideoEditingSettings::setDefaultAudioSettings()
{
    m_config.audio = VEEditConfig().audio;
}

void QVideoEditingSettings::trimTimeChange(uint64_t startTime, uint64_t endTime)
{
    m_config.trimStart = startTime;
    m_config.trimEnd = endTime;
    if (!m_watermarkAudioStart)
        return;
    startItemsAt(startTime);
    ZTPlayerManager *p = player();
    if (!p)
        return;
    p->setCurrentWatermarkSettingsNotSource(m_config.watermark, 0, true);
    p->setWatermarkSettingsNotSource(m_config.effectOverlay, 1);
    p->setWatermarkSettingsNotSource(m_config.frameOverlay, 2);
    p->setAudioBackgroundSettingsNotSource(m_config.audioBackground, 0);
}

void QVideoEditingSettings::playerChange() {}

void QVideoEditingSettings::cropAreaChange(VECropSettings settings)
{
    m_config.crop = settings;
}

void QVideoEditingSettings::watermarkRectChange(VEWatermarkSettings settings, int index)
{
    Q_UNUSED(index) // only slot 0 is ever made current by this model
    m_config.watermark = settings;
}

void QVideoEditingSettings::getChapterInfoList(QList<VEChapterInfo> &list) const
{
    if (&list != &m_config.chapters)
        list = m_config.chapters;
}

void QVideoEditingSettings::setChapterInfoList(const QList<VEChapterInfo> &list)
{
    if (&list != &m_config.chapters)
        m_config.chapters = list;
}
