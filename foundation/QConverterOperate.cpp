#include "QConverterOperate.h"

#include "AttributeSetting.h"
#include "SettingKeys.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

int QConverterOperate::g_langugeType = 0;
QString QConverterOperate::m_converterPath;
QString QConverterOperate::m_logFilePath;
QString QConverterOperate::m_audioDeviceName;
QString QConverterOperate::m_fileExt;
QString QConverterOperate::m_videoName;
QString QConverterOperate::m_outputDir;
QString QConverterOperate::m_adjustFileName;
QString QConverterOperate::m_sOutputName;

namespace {

QString baseName(const QString &name)
{
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 ? name.left(dot) : name;
}

QString collapseSlashes(QString path)
{
    return path.replace(QStringLiteral("//"), QStringLiteral("/"));
}

// The folder outputs go under, ending in "/". Outputs must land in an output folder, never in whatever
// the process's current folder happens to be: an empty or relative setting falls back to the default
// output folder, and a setting without the final "/" still names that folder, not a sibling name.
QString outputRoot(const QString &setting)
{
    QString root = setting;
    if (root.isEmpty() || QDir::isRelativePath(root))
        root = SettingKeys::defaultOutputPath();
    if (!root.endsWith(QLatin1Char('/')))
        root += QLatin1Char('/');
    return root;
}

} // namespace

void QConverterOperate::setLanguageType(const QString &name)
{
    static const char *const names[] = {"English", "Chinese", "German", "French", "Japanese"};
    g_langugeType = 0;
    for (int i = 0; i < 5; ++i) {
        if (name == QLatin1String(names[i]))
            g_langugeType = i;
    }
}

int QConverterOperate::getLanguageType()
{
    return g_langugeType;
}

void QConverterOperate::setConverterPath(const QString &path)
{
    m_converterPath = path;
}

QString QConverterOperate::getConverterPath()
{
    return m_converterPath;
}

QString QConverterOperate::getOutputRoot()
{
    return outputRoot(m_converterPath);
}

void QConverterOperate::setLogFilePath(const QString &path)
{
    m_logFilePath = path;
}

QString QConverterOperate::getLogFilePath()
{
    return m_logFilePath;
}

void QConverterOperate::setAudioDeviceName(const QString &name)
{
    m_audioDeviceName = name;
}

QString QConverterOperate::getAudioDeviceName()
{
    return m_audioDeviceName;
}

QString QConverterOperate::getOutputDir()
{
    return m_outputDir;
}

void QConverterOperate::setAdjustFileName(const QString &videoName, const QString &fileExt)
{
    m_videoName = videoName;
    m_fileExt = fileExt;
    m_adjustFileName = videoName;
    if (m_adjustFileName.isEmpty()) {
        m_outputDir.clear();
        return;
    }
    const QString base = baseName(m_adjustFileName);
    const QString root = outputRoot(m_converterPath);
    QString dir = root + base;
    for (int n = 1; QFileInfo::exists(dir); ++n)
        dir = collapseSlashes(root + base + QStringLiteral("(%1)").arg(n));
    m_outputDir = dir + QLatin1Char('/');
}

void QConverterOperate::updateAdjustFileName()
{
    setAdjustFileName(m_videoName, m_fileExt);
}

QString QConverterOperate::getAdjustFileName()
{
    return m_adjustFileName;
}

QString QConverterOperate::getConvertPath()
{
    const AttributeSetting &setting = QSettingDlgState::attributeSetting();
    const QString extension =
        (setting.bLossless && setting.fileFormat == QLatin1String("Original")) ? m_fileExt : setting.fileExtend;
    if (m_adjustFileName.isEmpty())
        m_adjustFileName = m_videoName;
    const QString base = baseName(m_adjustFileName);

    // Without a prepared folder the output goes straight into the output folder.
    const QString outputDir = m_outputDir.isEmpty() ? outputRoot(m_converterPath) : m_outputDir;

    auto candidateFor = [&](int n) {
        const QString suffix = extension.isEmpty() ? QStringLiteral("_%1").arg(n)
                                                   : QStringLiteral("_%1.%2").arg(QString::number(n), extension);
        return collapseSlashes(outputDir + base + suffix);
    };
    QString candidate = candidateFor(1);
    for (int n = 2; QFile::exists(candidate); ++n)
        candidate = candidateFor(n);

    if (!QDir(outputDir).exists())
        QDir().mkpath(outputDir);
    m_sOutputName = candidate;
    return candidate;
}
