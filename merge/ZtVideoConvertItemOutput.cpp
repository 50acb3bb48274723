// Encode parameters and output names of a clip.

#include "ZtVideoConvertItem.h"

#include "AttributeSetting.h"
#include "CAVConverter.h"
#include "QConverterOperate.h"
#include "UserPicture.h"
#include "rscodec.h"

#include <QDebug>
#include <QDir>
#include <QFile>

#include <cmath>

namespace {

const QString kOriginal = QStringLiteral("Original");

QString baseOf(const QString &name)
{
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}

QString collapseSlashes(QString path)
{
    while (path.contains(QLatin1String("//")))
        path.replace(QLatin1String("//"), QLatin1String("/"));
    return path;
}

} // namespace

int ZtVideoConvertItem::chosenSubtitleStream() const
{
    // The row the job is given (row 0 is none, rows past the streams are captions and files).
    const VESubtitleValue_Info &sv = m_editConfig.subtitleValue;
    return sv.subtitleRow >= 1 && sv.subtitleRow <= sv.subtitleCount ? sv.subtitleRow - 1 : -1;
}

bool ZtVideoConvertItem::isSubtitleCarriedInto(const QByteArray &container) const
{
    const int stream = chosenSubtitleStream();
    if (stream < 0 || container.isEmpty())
        return false;
    return rsc_job_lossless_carries_subtitle(container.constData(), m_strFilePath.toUtf8().constData(), stream) == 1;
}

bool ZtVideoConvertItem::isLosslessWritableInto(const QByteArray &container) const
{
    const QByteArray path = m_strFilePath.toUtf8();
    const VESubtitleValue_Info &sv = m_editConfig.subtitleValue;
    auto takes = [&](const char *name) {
        return rsc_job_lossless_container_takes(name, path.constData(), sv.audioIndex, sv.extraIndex) == 1;
    };
    return takes(container.constData()) || (CAVConverter::fallsBackToMov(container.constData()) && takes("mov"));
}

QSize ZtVideoConvertItem::autoVideoSize() const
{
    QSize size = shownVideoSize();
    if (size.isEmpty())
        return size;
    // Within the bounds of a decoded picture, as the library bounds its own edited size: a sample aspect can
    // widen a picture to gigabytes a frame.
    const double w = size.width(), h = size.height();
    const double scale =
        qMin(qMin(1.0, UserPicture::kMaxSide / qMax(w, h)), std::sqrt(UserPicture::kMaxPixels / (w * h)));
    if (scale < 1.0)
        size = QSize(qMax(2, int(w * scale) & ~1), qMax(2, int(h * scale) & ~1));
    return size;
}

void ZtVideoConvertItem::getEncodeParam(CAVEncodeParam *param) const
{
    if (!param)
        return;
    const AttributeSetting &a = QSettingDlgState::attributeSetting();

    // Every field is set below, so a reused record keeps nothing from an earlier clip.
    param->bLossless = a.bLossless;

    // "Original" keeps the source's container. The codec library knows no container named "original",
    // so the rule holds for re-encoding too.
    QString container = a.fileFormat;
    if (a.fileFormat.compare(kOriginal, Qt::CaseInsensitive) == 0)
        container = m_strFormatName;
    qDebug() << "------format:" << container;
    param->setContainerName(container.toLower().toUtf8().constData());

    param->videoCodec = a.bOnlyAudio ? -1 : a.VCodecsId;
    param->audioCodec = a.ACodecsId;
    if (a.bOnlyAudio) {
        param->width = 0;
        param->height = 0;
    } else {
        // "Auto" is the picture the preview shows (a phone's turned clip upright, a container's 16:9 widened),
        // never the stored grid, which is only for comparing streams.
        const QSize shown = autoVideoSize();
        param->height = a.VHeight != 0 ? quint32(a.VHeight) : quint32(shown.height());
        param->width = a.VWidth != 0 ? quint32(a.VWidth) : quint32(shown.width());
    }
    param->videoBitRate = quint32(qMax(0, a.VBitRate));
    param->frameRateHundredths = 0;
    param->frameRateNum = quint32(qMax(0, a.VFrameRate_fps));
    param->frameRateDen = quint32(qMax(0, a.VFrameRate_scale));
    param->videoQuality = a.nQuality;
    param->channels = quint32(qMax(0, a.AChannel));
    param->sampleRate = quint32(qMax(0, a.ASampleRate));
    // Ogg's encoder accepts at most 160 kbit/s below 32 kHz.
    if (a.AEncoder == QLatin1String("OGG") && a.ASampleRate < 32000 && a.ABitRate >= 161)
        param->audioBitRate = 160;
    else
        param->audioBitRate = quint32(qMax(0, a.ABitRate));
    param->audioQuality = a.nQuality;
    param->bDVD = m_bDVD;

    param->start = m_nTrimStart;
    // An end at or before the start would wrap to a huge duration: take the clip to its end instead.
    if (m_nTrimEnd != 0 && m_nTrimEnd > m_nTrimStart) {
        param->end = m_nTrimEnd;
        param->duration = m_nTrimEnd - m_nTrimStart;
    } else {
        param->end = 0;
        param->duration = 0;
    }
    param->editConfig = m_editConfig;
    param->optionText.clear();
}

QString ZtVideoConvertItem::getValidOutputName()
{
    m_strValidOutputName = m_strFileName;
    return m_strValidOutputName;
}

QString ZtVideoConvertItem::getConverOutputDir()
{
    if (m_strValidOutputName.isEmpty())
        return QString();
    const QString setting = QConverterOperate::getOutputRoot();
    m_strOutputDir = setting;
    if (m_splitInfo.nMode == 0)
        return m_strOutputDir;
    const QString base = baseOf(m_strValidOutputName);
    m_strOutputDir = setting + base;
    for (int n = 1; QDir(m_strOutputDir).exists() || QFile::exists(m_strOutputDir); ++n)
        m_strOutputDir = collapseSlashes(setting + base + QStringLiteral("(%1)").arg(n));
    m_strOutputDir += QLatin1Char('/');
    return m_strOutputDir;
}

QString ZtVideoConvertItem::getConverPath()
{
    const AttributeSetting &a = QSettingDlgState::attributeSetting();
    // The source's own extension goes with the source's own container.
    const QString ext = a.fileFormat.compare(kOriginal, Qt::CaseInsensitive) == 0 ? m_strExtend : a.fileExtend;
    if (m_strValidOutputName.isEmpty())
        m_strValidOutputName = m_strFileName;
    // A path asked for before its folder goes below the output root, never into the current folder.
    if (m_strOutputDir.isEmpty())
        getConverOutputDir();
    const QString base = baseOf(m_strValidOutputName);
    auto taken = [](const QString &p) { return QFile::exists(p) || m_sOutputFileList.contains(p); };

    QString candidate;
    if (m_splitInfo.nMode != 0) {
        candidate = collapseSlashes(m_strOutputDir + base + QStringLiteral("_%1.%2").arg(1).arg(ext));
        for (int n = 2; taken(candidate); ++n)
            candidate = collapseSlashes(m_strOutputDir + base + QStringLiteral("_%1.%2").arg(n).arg(ext));
    } else {
        candidate = collapseSlashes(m_strOutputDir + base + QStringLiteral(".%1").arg(ext));
        for (int n = 1; taken(candidate); ++n)
            candidate = collapseSlashes(m_strOutputDir + base + QStringLiteral("(%1).%2").arg(n).arg(ext));
    }
    m_sOutputFileList.append(candidate);
    if (!m_strOutputDir.isEmpty() && !QDir(m_strOutputDir).exists())
        QDir().mkpath(m_strOutputDir);
    m_strOutputPath = candidate;
    return m_strOutputPath;
}

void ZtVideoConvertItem::removeOutPutDir()
{
    auto normal = [](QString p) { return collapseSlashes(p.replace(QLatin1Char('\\'), QLatin1Char('/'))); };
    const QString a = normal(m_strOutputDir);
    const QString b = normal(QConverterOperate::getOutputRoot());
    if (a == b || a.isEmpty())
        return;
    QDir dir(a);
    if (!dir.exists())
        return;
    if (dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System).isEmpty())
        QDir().rmdir(a);
}

void ZtVideoConvertItem::clearOutputFileList()
{
    m_sOutputFileList.clear();
}

void ZtVideoConvertItem::releaseOutputPath(const QString &path)
{
    m_sOutputFileList.removeAll(path);
}
