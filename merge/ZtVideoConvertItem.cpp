#include "ZtVideoConvertItem.h"

#include "AttributeSetting.h"
#include "QIAnyUtil.h"
#include "rscodec.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFileInfo>
#include <QThread>

#include <cstdlib>
#include <cstring>

QStringList ZtVideoConvertItem::m_sOutputFileList;

namespace {
const quint64 kHourUs = 3600000000ULL;
const quint64 kMinuteUs = 60000000ULL;
} // namespace

ZtVideoConvertItem::ZtVideoConvertItem(QObject *parent) : QObject(parent)
{
    SetDefaultSplitInfo();
}

ZtVideoConvertItem::~ZtVideoConvertItem()
{
    clearCover();
    clearSplitList();
    clearSubltList();
}

void ZtVideoConvertItem::clearCover()
{
    delete m_pCoverImage;
    m_pCoverImage = nullptr;
    std::free(m_pCoverBytes);
    m_pCoverBytes = nullptr;
    m_nCoverSize = 0;
}

void ZtVideoConvertItem::setCoverBytes(const char *bytes, int size)
{
    std::free(m_pCoverBytes);
    m_pCoverBytes = nullptr;
    m_nCoverSize = 0;
    if (!bytes || size <= 0)
        return;
    m_pCoverBytes = static_cast<char *>(std::malloc(size_t(size)));
    if (!m_pCoverBytes)
        return;
    std::memcpy(m_pCoverBytes, bytes, size_t(size));
    m_nCoverSize = size;
}

void ZtVideoConvertItem::clearSplitList()
{
    qDeleteAll(m_splitList);
    m_splitList.clear();
}

void ZtVideoConvertItem::clearSubltList()
{
    qDeleteAll(m_subltList);
    m_subltList.clear();
}

bool ZtVideoConvertItem::setVideoConvertItem(ZtVideoConvertItem *other, int)
{
    if (!other)
        return false;
    m_strFileName = other->m_strFileName;
    m_strExtend = other->m_strExtend;
    m_strFormatName = other->m_strFormatName;
    m_strFilePath = other->m_strFilePath;
    m_nDVDProgram = other->m_nDVDProgram;
    m_bHasVideo = other->m_bHasVideo;
    m_bHasAudio = other->m_bHasAudio;
    m_nDuration = other->m_nDuration;
    m_nWidth = other->m_nWidth;
    m_nHeight = other->m_nHeight;
    m_nRotation = other->m_nRotation;
    m_nAspectX = other->m_nAspectX;
    m_nAspectY = other->m_nAspectY;

    SetDefaultSplitInfo();

    resetOlderSettings();

    clearSplitList();
    return true;
}

bool ZtVideoConvertItem::moveToGuiThread()
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return false;
    if (thread() == app->thread())
        return true;
    if (thread() != QThread::currentThread() || parent())
        return false;
    moveToThread(app->thread());
    return true;
}

QSize ZtVideoConvertItem::shownVideoSize(bool widened) const
{
    if (m_nWidth == 0 || m_nHeight == 0)
        return QSize(0, 0);
    double w = m_nWidth, h = m_nHeight;
    if (widened && m_nAspectX > 0 && m_nAspectY > 0) {
        const double aspect = double(m_nAspectX) / m_nAspectY;
        if (w / h < aspect)
            w = h * aspect;
        else
            h = w / aspect;
    }
    // Even sides of at least 2, as the encoder and the preview's edit pipeline take them.
    auto even = [](double v) {
        const qint64 i = qBound<qint64>(2, qRound64(v), 1 << 30);
        return int(i - (i & 1));
    };
    const bool turned = m_nRotation == 90 || m_nRotation == 270;
    const int sw = widened ? even(w) : int(m_nWidth);
    const int sh = widened ? even(h) : int(m_nHeight);
    return turned ? QSize(sh, sw) : QSize(sw, sh);
}

unsigned int ZtVideoConvertItem::getVideoWidth() const
{
    const AttributeSetting &a = QSettingDlgState::attributeSetting();
    if (a.bOnlyAudio)
        return 0;
    return a.VWidth != 0 ? unsigned(a.VWidth) : unsigned(autoVideoSize().width());
}

unsigned int ZtVideoConvertItem::getVideoHeight() const
{
    const AttributeSetting &a = QSettingDlgState::attributeSetting();
    if (a.bOnlyAudio)
        return 0;
    return a.VHeight != 0 ? unsigned(a.VHeight) : unsigned(autoVideoSize().height());
}

QString ZtVideoConvertItem::converterTimer(unsigned long long us)
{
    // Long recordings run past a day; a clock time would make them an empty text.
    const unsigned long long s = us / 1000000ULL;
    const unsigned long long h = s / 3600;
    const unsigned long long m = (s / 60) % 60;
    const unsigned long long sec = s % 60;
    return QStringLiteral("%1:%2:%3")
        .arg(h, 2, 10, QLatin1Char('0'))
        .arg(m, 2, 10, QLatin1Char('0'))
        .arg(sec, 2, 10, QLatin1Char('0'));
}

quint64 ZtVideoConvertItem::getConvertedDuration() const
{
    const quint64 e = m_nTrimEnd != 0 ? m_nTrimEnd : m_nDuration;
    // A trim end at or before its start would wrap; the whole clip is converted then.
    quint64 d = e > m_nTrimStart ? e - m_nTrimStart : 0;
    if (d == 0)
        d = m_nDuration;
    // A rate of 0 would divide by zero: take it as normal speed. The codec library holds a rate within a tenth
    // and ten times the normal pace, and so does the length shown.
    const quint64 rate = m_editConfig.audio.rate != 0 ? qBound(10u, m_editConfig.audio.rate, 1000u) : 100;
    return d * 100 / rate;
}

QString ZtVideoConvertItem::getConvertedTime() const
{
    return converterTimer(getConvertedDuration());
}

void ZtVideoConvertItem::getConvertedInfo(convertedInfo &info)
{
    m_strOutputPath.replace(QLatin1Char('\\'), QLatin1Char('/'));
    info.strOutputPath = m_strOutputPath;
    info.strImgPath = m_strImagePath;
    info.strResolution = QStringLiteral("%1*%2").arg(getVideoWidth()).arg(getVideoHeight());
    const QFileInfo fi(m_strOutputPath);
    info.strSize = QIAnyUtil::size2String(fi.exists() ? quint64(fi.size()) : 0);
    // The history names the extension the output file really has; before an output exists, the one it
    // is going to get.
    const AttributeSetting &a = QSettingDlgState::attributeSetting();
    if (!fi.suffix().isEmpty())
        info.strExtend = fi.suffix();
    else
        info.strExtend = a.bLossless ? m_strExtend : a.fileExtend;
    info.strArtist = QString::fromUtf8(m_strTags[1]);
    info.strTime = getConvertedTime();
}

void ZtVideoConvertItem::SetDefaultSplitInfo()
{
    m_splitInfo = Split_Info();
}

void ZtVideoConvertItem::setSplitInfo(Split_Info info)
{
    if (info.nMode == 3) {
        if (m_splitInfo.nChapters > 0)
            m_splitInfo.nMode = 3;
    } else {
        m_splitInfo.nMode = info.nMode;
    }
    m_splitInfo.bMinutes = info.bMinutes;
    m_splitInfo.nEvery = info.nEvery;
    m_splitInfo.nParts = info.nParts;
    RefreshSplitSet();
}

void ZtVideoConvertItem::RefreshSplitSet()
{
    clearSplitList();
    switch (m_splitInfo.nMode) {
    case 3:
        ChaptersSplit();
        break;
    case 2:
        IntoSplit();
        break;
    case 1:
        EverySplit();
        break;
    default:
        break;
    }
}

void ZtVideoConvertItem::EverySplit()
{
    // A step below one unit would never reach the end.
    if (m_splitInfo.nEvery < 1)
        return;
    const quint64 step = quint64(m_splitInfo.nEvery) * (m_splitInfo.bMinutes ? kMinuteUs : kHourUs);
    for (quint64 start = 0; start < m_nDuration; start += step) {
        auto *seg = new SplitSegment;
        seg->start = start;
        seg->end = start + step < m_nDuration ? start + step : 0;
        m_splitList.append(seg);
    }
}

void ZtVideoConvertItem::IntoSplit()
{
    const int parts = m_splitInfo.nParts;
    if (parts < 2)
        return;
    const quint64 len = m_nDuration / quint64(parts);
    qDebug() << "split parts" << parts;
    for (int i = 0; i < parts; ++i) {
        auto *seg = new SplitSegment;
        seg->start = quint64(i) * len;
        seg->end = i + 1 < parts ? quint64(i + 1) * len : 0;
        qDebug() << seg->start << "----" << seg->end << "---len---" << (seg->end - seg->start);
        m_splitList.append(seg);
    }
}

void ZtVideoConvertItem::ChaptersSplit()
{
    rsc_info *info = rsc_info_create(RSC_CREATE_DEFAULT);
    if (!info)
        return;
    if (openSource(info, m_strFilePath.toUtf8(), m_bDVD, m_nDVDProgram)) {
        const quint32 count = rsc_info_chapter_count(info);
        for (quint32 i = 0; i < count; ++i) {
            auto *seg = new SplitSegment;
            seg->start = rsc_info_chapter_start(info, i);
            seg->end = seg->start + rsc_info_chapter_duration(info, i);
            m_splitList.append(seg);
        }
    }
    rsc_info_close(info);
    rsc_info_release(info);
}

void ZtVideoConvertItem::resetOlderSettings()
{
    m_strLegacyText = QByteArray("");
    SetDefaultEditSettings();
    SetDefaultEffectSettings();
    SetDefaultWatermarkTextSettings();
    SetDefaultWatermarkImageSettings();
    SetDefaultSubtitleSettings();
}

void ZtVideoConvertItem::setDefaultEditConfig()
{
    m_editConfig.SetDefault();
}

void ZtVideoConvertItem::SetDefaultEditSettings()
{
    m_editSettings = VECropSettings();
}

void ZtVideoConvertItem::SetDefaultEffectSettings()
{
    m_effectSettings = ZtItemEffectSettings();
}

void ZtVideoConvertItem::SetDefaultWatermarkTextSettings()
{
    m_watermarkTextSettings = ZtItemWatermarkTextSettings();
}

void ZtVideoConvertItem::SetDefaultWatermarkImageSettings()
{
    m_watermarkImageSettings = ZtItemWatermarkImageSettings();
}

void ZtVideoConvertItem::SetDefaultSubtitleSettings()
{
    m_subtitleSettings = ZtItemSubtitleSettings();
}
