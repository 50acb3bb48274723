// The worker-thread base: runs are joined, never detached, and a restart waits for the earlier run.

#include "TestSupport.h"

#include "QUtilThread.h"

#include <QElapsedTimer>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

class Worker : public QUtilThread
{
public:
    ~Worker() override
    {
        m_stop = true;
        StopThread();
    }
    std::atomic<int> runs{0};
    std::atomic<int> concurrent{0};
    std::atomic<int> maxConcurrent{0};
    std::atomic<bool> m_stop{false};
    int workMs = 30;
    std::atomic<int> *endedOutside = nullptr; // counts ended runs where the test can read it after deletion

protected:
    void OnExecute() override
    {
        const int now = ++concurrent;
        if (now > maxConcurrent)
            maxConcurrent = now;
        for (int i = 0; i < workMs && !m_stop; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ++runs;
        --concurrent;
        if (endedOutside)
            ++*endedOutside;
    }
};

} // namespace

class TestUtilThread : public QObject
{
    Q_OBJECT
private slots:
    void nullArgumentDoesNothing() { QVERIFY(QUtilThread::ThreadProc(nullptr) == nullptr); }

    void stopWithoutStartIsHarmless()
    {
        Worker w;
        w.StopThread();
        QVERIFY(!w.IsThreadRunning());
        QCOMPARE(w.runs.load(), 0);
    }

    void restartWaitsForTheEarlierRun()
    {
        Worker w;
        w.StartThread();
        w.StartThread();
        w.StartThread();
        w.StopThread();
        QCOMPARE(w.runs.load(), 3);
        QCOMPARE(w.maxConcurrent.load(), 1);
        QVERIFY(!w.IsThreadRunning());
    }

    void ownerOutlivesItsWorker()
    {
        std::atomic<int> ended{0};
        auto *w = new Worker;
        w->workMs = 100000;
        w->endedOutside = &ended;
        w->StartThread();
        QTRY_VERIFY(w->concurrent.load() == 1);
        QElapsedTimer t;
        t.start();
        delete w; // stops and joins: nothing runs on a destroyed object
        QCOMPARE(ended.load(), 1);
        QVERIFY2(t.elapsed() < rstest::kHangBoundMs, "the stop waited for the whole run");
    }
};

RS_TEST_MAIN(TestUtilThread)
#include "tst_utilthread.moc"
