#pragma once
// Powers off or suspends through systemd-logind (org.freedesktop.login1 Manager on the system bus). The
// calls are interactive: logind may ask the user for authorisation through polkit.

#include "HostServices.h"

#include <QDBusConnection>

class LogindPowerControl : public IPowerControl
{
public:
    LogindPowerControl();
    explicit LogindPowerControl(const QDBusConnection &bus);

    bool powerOff() override;
    bool suspend() override;

private:
    bool callManager(const QString &method);
    QDBusConnection m_bus;
};
