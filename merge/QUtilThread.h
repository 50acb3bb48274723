#pragma once
// Worker-thread base of every long-running job. A derived class supplies the work in OnExecute() and
// keeps a stop flag of its own that OnExecute() polls. The thread is joinable: starting again, stopping
// and destruction join the previous run, so a worker never outlives the object it runs on.
//
// A derived class must call StopThread() in its own destructor (after asking its OnExecute() to end):
// by the time the base destructor runs, the derived part is already gone.

#include <atomic>
#include <thread>

class QUtilThread
{
public:
    QUtilThread() = default;
    QUtilThread(const QUtilThread &) = delete;
    QUtilThread &operator=(const QUtilThread &) = delete;
    virtual ~QUtilThread();

    // Thread entry: runs arg->OnExecute(); a null argument returns at once.
    static void *ThreadProc(void *arg);

    // Waits for the current run (if any) to return. Called from the worker itself it does nothing.
    void StopThread();

    // Joins an earlier run, then starts OnExecute() on a new thread. False when called from the worker
    // of the current run.
    bool StartThread();

    // True while OnExecute() of the current run has not returned.
    bool IsThreadRunning() const { return m_running.load(); }

protected:
    virtual void OnExecute() = 0;

private:
    std::thread m_thread;
    std::atomic<bool> m_running{false};
};
