#pragma once
// Process-wide converter settings (language index, output folder, log path, audio device) and the unique
// output folder and file names of the single-file conversion.

#include <QString>

class QConverterOperate
{
public:
    QConverterOperate() {}

    // "English" 0, "Chinese" 1, "German" 2, "French" 3, "Japanese" 4; anything else 0.
    static void setLanguageType(const QString &name);
    static int getLanguageType();

    // The output folder; names are appended to it directly, so it ends in "/".
    static void setConverterPath(const QString &path);
    static QString getConverterPath();
    // The folder outputs go under: absolute, ending in "/" (an empty or relative setting gives the default).
    static QString getOutputRoot();
    static void setLogFilePath(const QString &path);
    static QString getLogFilePath();
    static void setAudioDeviceName(const QString &name);
    static QString getAudioDeviceName();

    static QString getOutputDir();
    // Remembers the source's name and extension and picks a free folder named after it in the output
    // folder ("name", then "name(1)", "name(2)", ...).
    static void setAdjustFileName(const QString &videoName, const QString &fileExt);
    static void updateAdjustFileName();
    static QString getAdjustFileName();
    // A free file path "name_N.ext" (N = 1, 2, ...) in the output folder, which is created when missing.
    static QString getConvertPath();

private:
    static int g_langugeType;
    static QString m_converterPath;
    static QString m_logFilePath;
    static QString m_audioDeviceName;
    static QString m_fileExt;
    static QString m_videoName;
    static QString m_outputDir;
    static QString m_adjustFileName;
    static QString m_sOutputName;
};
