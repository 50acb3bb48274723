#pragma once
// Reveals a file through the freedesktop FileManager1 D-Bus service (the file selected in its folder);
// without that service the folder is opened with the desktop's default handler.

#include "HostServices.h"

#include <QDBusConnection>

class DBusFileRevealer : public IFileRevealer
{
public:
    DBusFileRevealer();
    // A connection of the caller's choice (tests use a private bus).
    explicit DBusFileRevealer(const QDBusConnection &bus, bool openFolderFallback = true);

    bool revealFile(const QString &path) override;

private:
    QDBusConnection m_bus;
    bool m_openFolderFallback;
};
