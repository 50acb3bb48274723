#include "LogindPowerControl.h"

#include <QDBusMessage>
#include <QDebug>

LogindPowerControl::LogindPowerControl() : m_bus(QDBusConnection::systemBus()) {}

LogindPowerControl::LogindPowerControl(const QDBusConnection &bus) : m_bus(bus) {}

bool LogindPowerControl::powerOff()
{
    return callManager(QStringLiteral("PowerOff"));
}

bool LogindPowerControl::suspend()
{
    return callManager(QStringLiteral("Suspend"));
}

bool LogindPowerControl::callManager(const QString &method)
{
    if (!m_bus.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.login1"),
                                                       QStringLiteral("/org/freedesktop/login1"),
                                                       QStringLiteral("org.freedesktop.login1.Manager"), method);
    call << true; // interactive: allow an authorisation prompt
    // An authorisation prompt may take a while; the bound keeps the GUI from waiting forever.
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, 30000);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        qWarning() << "logind" << method << "failed:" << reply.errorMessage();
        return false;
    }
    return true;
}
