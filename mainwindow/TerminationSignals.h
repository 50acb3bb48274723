#pragma once
// SIGTERM, SIGINT and SIGHUP (a logout, `kill`, Ctrl+C in a terminal, the terminal closed) end the program in
// order: the handler only writes the signal's number into a pipe; the GUI thread reads it and emits
// `sendTerminate`, where the program stops its work and leaves the event loop. Without this the default action
// would kill the process in the middle of a join and leave a partial output file. A second signal while that
// stop is under way ends the process at once, from the handler: the user asked twice, and the outputs are
// written so that a killed join leaves no named file behind.

#include <QObject>

#include <csignal>
#include <utility>
#include <vector>

class QSocketNotifier;

class TerminationSignals : public QObject
{
    Q_OBJECT
public:
    // Installs the handlers, except for signals ignored at start (they stay ignored); false from isInstalled()
    // when the pipe or any handler could not be set up (the previous actions stay, those already replaced are
    // restored).
    explicit TerminationSignals(QObject *parent = nullptr);
    // The same for the given signals (tests name one that cannot be caught).
    TerminationSignals(const std::vector<int> &handled, QObject *parent = nullptr);
    ~TerminationSignals() override;

    bool isInstalled() const { return m_notifier != nullptr; }
    // The exit status a shell reports for a process ended by the signal: 128 + its number.
    static int exitStatusFor(int signo) { return 128 + signo; }

signals:
    void sendTerminate(int signo);

private:
    void readSignals();
    void restore();

    QSocketNotifier *m_notifier = nullptr;
    std::vector<std::pair<int, struct sigaction>> m_previous;
};
