#include "TerminationSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

const int s_signals[] = {SIGTERM, SIGINT};
int s_pipe[2] = {-1, -1};

// Async-signal-safe: one write of one byte; errno is kept for the code the signal interrupted.
void onSignal(int signo)
{
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(signo);
    if (s_pipe[1] >= 0) {
        ssize_t written = ::write(s_pipe[1], &byte, 1);
        (void)written; // a full pipe already holds a pending request
    }
    errno = saved;
}

} // namespace

TerminationSignals::TerminationSignals(QObject *parent) : QObject(parent)
{
    if (s_pipe[0] < 0 && ::pipe2(s_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        s_pipe[0] = s_pipe[1] = -1;
        return;
    }
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signo : s_signals)
        if (::sigaction(signo, &action, nullptr) != 0)
            return;
    m_notifier = new QSocketNotifier(s_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readSignals);
}

TerminationSignals::~TerminationSignals()
{
    // From here on a signal ends the process at once again.
    for (int signo : s_signals)
        ::signal(signo, SIG_DFL);
}

void TerminationSignals::readSignals()
{
    unsigned char byte = 0;
    int last = 0;
    while (::read(s_pipe[0], &byte, 1) == 1)
        last = byte;
    if (last != 0)
        emit sendTerminate(last);
}
