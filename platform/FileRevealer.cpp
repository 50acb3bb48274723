#include "FileRevealer.h"

#include <QDBusMessage>
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

DBusFileRevealer::DBusFileRevealer() : m_bus(QDBusConnection::sessionBus()), m_openFolderFallback(true) {}

DBusFileRevealer::DBusFileRevealer(const QDBusConnection &bus, bool openFolderFallback)
    : m_bus(bus), m_openFolderFallback(openFolderFallback)
{}

bool DBusFileRevealer::revealFile(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (m_bus.isConnected()) {
        QDBusMessage call = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
            QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
        call << QStringList{QUrl::fromLocalFile(absolute).toString()} << QString();
        // A file manager answers at once; a bounded wait keeps a hung service from freezing the caller.
        const QDBusMessage reply = m_bus.call(call, QDBus::Block, 3000);
        if (reply.type() == QDBusMessage::ReplyMessage)
            return true;
    }
    if (!m_openFolderFallback)
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(absolute).absolutePath()));
}
