#include "QUtilThread.h"

#include <QDebug>

QUtilThread::~QUtilThread()
{
    StopThread();
}

void *QUtilThread::ThreadProc(void *arg)
{
    auto *self = static_cast<QUtilThread *>(arg);
    if (!self)
        return nullptr;
    self->OnExecute();
    self->m_running.store(false);
    return nullptr;
}

void QUtilThread::StopThread()
{
    if (!m_thread.joinable())
        return;
    if (m_thread.get_id() == std::this_thread::get_id()) {
        // A worker cannot join itself; the owner joins it on its next start, stop or destruction.
        qDebug() << "QUtilThread: stop requested from the worker itself";
        return;
    }
    m_thread.join();
}

bool QUtilThread::StartThread()
{
    StopThread();
    if (m_thread.joinable())
        return false; // asked from the running worker itself: it cannot replace its own thread
    m_running.store(true);
    m_thread = std::thread([this] { ThreadProc(this); });
    return true;
}
