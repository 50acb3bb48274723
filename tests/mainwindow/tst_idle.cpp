// A program at rest costs next to nothing: with nothing in the list, with clips loaded and none playing,
// after playing and pausing, and with the clip editor open and paused, the process spends almost no CPU
// time and its threads hardly wake. Measured on the process's own CPU time and voluntary context switches,
// which the load of other processes does not inflate. Driven through the window on the real codec library,
// with SDL's dummy sound device so that a sound device is open as on a user's machine.

#include "MainWindowTestKit.h"
#include "TestSupport.h"
#include "WindowInput.h"

#include "MacMainWindow.h"
#include "MediaFixtures.h"
#include "QMainDlg.h"
#include "QRirezaPlaterBtnForm.h"
#include "QRirezaPlayerForm.h"
#include "QTrimOperationForm.h"
#include "QVideoEditingDlg.h"
#include "QZTBaseButton.h"
#include "VideoConvertBar.h"
#include "ZTPlayerClass.h"
#include "ZTPlayerManager.h"
#include "ZTQPlayObject.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <sys/resource.h>

namespace {

// At rest: under 3% of a core, under 5 wake-ups a second (a paused preview that redraws, or a sound device
// fed silence, costs tens to hundreds).
constexpr double kMaxCpuShare = 0.03;
constexpr double kMaxWakeupsPerSecond = 5.0;

struct Rest
{
    double cpuShare = 0;
    double wakeupsPerSecond = 0;
    bool quiet() const { return cpuShare < kMaxCpuShare && wakeupsPerSecond < kMaxWakeupsPerSecond; }
    QString text() const
    {
        return QStringLiteral("%1% of a core, %2 wake-ups/s")
            .arg(cpuShare * 100, 0, 'f', 2)
            .arg(wakeupsPerSecond, 0, 'f', 1);
    }
};

double seconds(const timeval &t)
{
    return double(t.tv_sec) + double(t.tv_usec) / 1e6;
}

// The process over `ms` with the event loop waiting for events (no polling of its own).
Rest measure(int ms)
{
    rusage before{}, after{};
    getrusage(RUSAGE_SELF, &before);
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    getrusage(RUSAGE_SELF, &after);
    const double span = double(clock.elapsed()) / 1000.0;
    Rest r;
    r.cpuShare =
        (seconds(after.ru_utime) - seconds(before.ru_utime) + seconds(after.ru_stime) - seconds(before.ru_stime)) /
        span;
    r.wakeupsPerSecond = double(after.ru_nvcsw - before.ru_nvcsw) / span;
    return r;
}

// The first quiet window of three seconds within the hang bound, else the last one measured: what a change
// just started (a frame shown, a thumbnail cached) may take a moment to settle.
Rest restAfterSettling()
{
    const QDeadlineTimer bound(3 * rstest::kHangBoundMs);
    Rest r;
    do {
        r = measure(3000);
    } while (!r.quiet() && !bound.hasExpired());
    return r;
}

} // namespace

class TestIdle : public QObject
{
    Q_OBJECT
private:
    mwt::Recorder *m_rec = nullptr;
    MacMainWindow *m_w = nullptr;

    QMainDlg *list() const { return m_w->mainDlg(); }
    QRirezaPlayerForm *pane() const { return m_w->findChild<QRirezaPlayerForm *>(); }

    void expectRest(const char *state)
    {
        const Rest r = restAfterSettling();
        qInfo("%s: %s", state, qPrintable(r.text()));
        QVERIFY2(r.quiet(), qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(state), r.text())));
    }

private slots:
    void initTestCase()
    {
        // A sound device that opens everywhere, so that what an open device costs at rest is measured too.
        qputenv("SDL_AUDIODRIVER", "dummy");
        m_rec = &mwt::installRecorders();
        m_w = new MacMainWindow(nullptr);
        m_w->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_w));
    }

    void cleanupTestCase()
    {
        delete m_w;
        m_w = nullptr;
    }

    void emptyList() { expectRest("nothing in the list"); }

    void clipsLoadedNonePlaying()
    {
        const QString clip = rstest::MediaFixtures::fullHd(3);
        m_rec->nextFiles = QStringList{clip, clip};
        rstest::clickAt(m_w->m_btnAddFile);
        QTRY_VERIFY_WITH_TIMEOUT(!list()->isBusy() && list()->rows().size() == 2, 6 * rstest::kHangBoundMs);
        // The first clip is loaded in the preview, not started.
        QTRY_VERIFY_WITH_TIMEOUT(pane()->currentItem() && pane()->isThumbnailWorkerIdle(), rstest::kHangBoundMs);
        QVERIFY(!pane()->isPlaying());
        expectRest("clips in the list, none playing");
    }

    void playedThenPaused()
    {
        QRirezaPlaterBtnForm *bar = pane()->controlBar();
        rstest::clickAt(bar->playButton());
        ZTQPlayObject *player = pane()->player();
        QTRY_VERIFY_WITH_TIMEOUT(player->status() == ZTQPlayObject::StatusPlaying &&
                                     player->playerClass()->GetPlayTime_Player() > 500000,
                                 rstest::kHangBoundMs);
        rstest::clickAt(bar->pauseButton());
        QTRY_COMPARE_WITH_TIMEOUT(player->status(), int(ZTQPlayObject::StatusPaused), rstest::kHangBoundMs);
        expectRest("played, then paused");
    }

    void editorOpenAndPaused()
    {
        bool measured = false;
        QVERIFY(mwt::editRow(list()->rows().at(1), [&](QVideoEditingDlg *dlg) {
            // The editor starts playing its clip: pause it as a user would.
            QTrimOperationForm *trim = dlg->trimPage();
            QTRY_VERIFY_WITH_TIMEOUT(trim->m_btnPause->isVisible(), rstest::kHangBoundMs);
            rstest::clickAt(trim->m_btnPause);
            ZTPlayerClass *player = dlg->playerManager()->getPlayerClass();
            QTRY_VERIFY_WITH_TIMEOUT(player->IsPause_Player(), rstest::kHangBoundMs);
            expectRest("editor open, paused");
            measured = true;
        }));
        QVERIFY(measured);
    }
};

RS_TEST_MAIN(TestIdle)
#include "tst_idle.moc"
