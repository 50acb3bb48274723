#pragma once
// SIGTERM and SIGINT (a logout, `kill`, Ctrl+C in a terminal) end the program in order: the handler only
// writes the signal's number into a pipe; the GUI thread reads it and emits `sendTerminate`, where the
// program stops its work and leaves the event loop. Without this the default action would kill the
// process in the middle of a join and leave a partial output file.

#include <QObject>

class QSocketNotifier;

class TerminationSignals : public QObject
{
    Q_OBJECT
public:
    // Installs the handlers; false when the pipe or a handler could not be set up (the defaults stay).
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

    bool isInstalled() const { return m_notifier != nullptr; }
    // The exit status a shell reports for a process ended by the signal: 128 + its number.
    static int exitStatusFor(int signo) { return 128 + signo; }

signals:
    void sendTerminate(int signo);

private:
    void readSignals();

    QSocketNotifier *m_notifier = nullptr;
};
