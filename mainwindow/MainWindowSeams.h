#pragma once
// What the main window and the media list ask of the desktop that a test must answer instead: the
// open-files dialog, the skinned message box and the web browser. Reveal, power off and the update
// check already go through the host services (platform/). Each seam is a function a test may replace;
// an empty function restores the real behaviour.

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

class QWidget;

class MainWindowSeams
{
public:
    using OpenFiles = std::function<QStringList(QWidget *parent, const QString &dir, const QString &filter)>;
    using Message =
        std::function<int(QWidget *parent, const QString &title, const QString &message, int icon, int buttons)>;
    using OpenUrl = std::function<bool(const QUrl &url)>;

    static QStringList getOpenFileNames(QWidget *parent, const QString &dir, const QString &filter);
    static int showMessage(QWidget *parent, const QString &title, const QString &message, int icon, int buttons);
    static bool openUrl(const QUrl &url);

    static void setOpenFiles(OpenFiles f);
    static void setMessage(Message f);
    static void setOpenUrl(OpenUrl f);
};
