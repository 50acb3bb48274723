#include "TerminationSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

int s_pipe[2] = {-1, -1};
// Set by the first signal: from then on a stop is under way.
volatile sig_atomic_t s_stopping = 0;

// Async-signal-safe: one write of one byte, or _exit; errno is kept for the code the signal interrupted.
void onSignal(int signo)
{
    if (s_stopping)
        ::_exit(TerminationSignals::exitStatusFor(signo));
    s_stopping = 1;
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(signo);
    if (s_pipe[1] >= 0) {
        ssize_t written = ::write(s_pipe[1], &byte, 1);
        (void)written; // a full pipe already holds a pending request
    }
    errno = saved;
}

} // namespace

TerminationSignals::TerminationSignals(QObject *parent) : TerminationSignals({SIGTERM, SIGINT, SIGHUP}, parent) {}

TerminationSignals::TerminationSignals(const std::vector<int> &handled, QObject *parent) : QObject(parent)
{
    if (s_pipe[0] < 0 && ::pipe2(s_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        s_pipe[0] = s_pipe[1] = -1;
        return;
    }
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    // One handler at a time: a second signal waits for the first one's handler to return, then ends the process.
    for (int signo : handled)
        sigaddset(&action.sa_mask, signo);
    action.sa_flags = SA_RESTART;
    for (int signo : handled) {
        struct sigaction previous = {};
        // A signal ignored at start stays ignored: `nohup` and a shell's background job ask for that.
        if (::sigaction(signo, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN)
            continue;
        if (::sigaction(signo, &action, &previous) != 0) {
            restore(); // all or none: a half-installed set would end some signals in order, others not
            return;
        }
        m_previous.emplace_back(signo, previous);
    }
    m_notifier = new QSocketNotifier(s_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readSignals);
}

TerminationSignals::~TerminationSignals()
{
    // From here on a signal does what it did before: by default, end the process at once.
    restore();
}

void TerminationSignals::restore()
{
    for (auto it = m_previous.rbegin(); it != m_previous.rend(); ++it)
        ::sigaction(it->first, &it->second, nullptr);
    m_previous.clear();
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
