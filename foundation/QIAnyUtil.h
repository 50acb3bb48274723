#pragma once
// Where the application's folders are: the bundle's Contents and Resources folders and the per-user
// temporary, documents and application-data folders named after the application title.

#include <QString>

class QIAnyUtil
{
public:
    static QString appTitle();

    static QString getApplicationDirPath(); // the bundle's Contents folder, ending in "/" (cached)
    static QString getResourcePath();       // Contents/Resources, no trailing "/" (cached)
    static QString getTempSavePath();
    static QString getDocumentPath();
    static QString getAppDataPath();

    static QString size2String(unsigned long long bytes);
    static QString dndTmpPath();

    static QString getRestorePassWord();
    static void setRestorePassWord(const QString &password);

    // Tests do not run inside the bundle: point the application folder at a bundle's Contents folder
    // (an empty text returns to the executable's own bundle). Both caches are refilled.
    static void setApplicationDirPathForTesting(const QString &contentsDir);

    // The Contents folder set by setApplicationDirPathForTesting, without trailing "/"; empty when the
    // folders come from the executable's own place.
    static QString contentsDirOfExecutable();

private:
    static QString s_appPath;
    static bool s_appPathComputed;
    static QString s_resourcePath;
    static bool s_resourcePathComputed;
    static QString s_restorPassword;
    static QString s_contentsOverride;
};

class QUiAnyUtiliy
{
public:
    QUiAnyUtiliy() {}

    // Start-up hook; the scale stays fixed at 1.0.
    static void QDpiScaleInit();
    static float getDpiScale();

    static QString converSize(unsigned long long bytes);
    static QString getResourcePath();

private:
    friend class QIAnyUtil; // the test override refills this cache too
    static QString s_resourcePath;
    static bool s_resourcePathComputed;
};
