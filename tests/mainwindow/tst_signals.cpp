// The termination signal handlers on their own: a second signal while the first one's stop is under way ends
// the process at once with the shell's status for it (tried in a child process, which raises both without
// ever running its event loop), and a set that cannot be installed whole leaves every action as it was.

#include "TerminationSignals.h"
#include "TestSupport.h"

#include <QProcess>

namespace {

// The child: argv = {program, "--raise", first, second}.
int raiseTwice(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    for (int signo : {SIGTERM, SIGINT, SIGHUP})
        ::signal(signo, SIG_DFL); // as from a terminal, whatever started the test
    TerminationSignals handlers;
    if (!handlers.isInstalled())
        return 2;
    ::raise(atoi(argv[2])); // delivered: the program would now be stopping its work
    ::raise(atoi(argv[3]));
    return 0; // the second signal was taken for a first one
}

sighandler_t currentHandler(int signo)
{
    struct sigaction now = {};
    ::sigaction(signo, nullptr, &now);
    return now.sa_handler;
}

} // namespace

class TestSignals : public QObject
{
    Q_OBJECT
private slots:
    void secondSignalEndsAtOnce_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::newRow("SIGTERM twice") << SIGTERM << SIGTERM;
        QTest::newRow("SIGINT twice") << SIGINT << SIGINT;
        QTest::newRow("SIGHUP twice") << SIGHUP << SIGHUP;
        QTest::newRow("SIGHUP after SIGTERM") << SIGTERM << SIGHUP;
    }

    void secondSignalEndsAtOnce()
    {
        QFETCH(int, first);
        QFETCH(int, second);
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {"--raise", QString::number(first), QString::number(second)});
        QVERIFY(child.waitForFinished(rstest::kHangBoundMs));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), TerminationSignals::exitStatusFor(second));
    }

    // Each signal starts with a handler of the test's own, SIGTERM ignored (as under `nohup`): an ignored
    // signal is left alone, the others are taken over and given back, also when the set cannot be installed.
    void previousActionsComeBack_data()
    {
        QTest::addColumn<std::vector<int>>("handled");
        QTest::addColumn<bool>("installed");
        QTest::newRow("installed, then removed") << std::vector<int>{SIGINT, SIGHUP, SIGTERM} << true;
        QTest::newRow("one cannot be caught") << std::vector<int>{SIGINT, SIGHUP, SIGKILL} << false;
    }

    void previousActionsComeBack()
    {
        QFETCH(std::vector<int>, handled);
        QFETCH(bool, installed);
        struct sigaction own = {}, ignore = {}, saved[3] = {};
        own.sa_handler = [](int) {};
        ignore.sa_handler = SIG_IGN;
        const int kinds[3] = {SIGINT, SIGHUP, SIGTERM};
        for (int i = 0; i < 3; ++i)
            ::sigaction(kinds[i], kinds[i] == SIGTERM ? &ignore : &own, &saved[i]);
        {
            TerminationSignals handlers(handled);
            QCOMPARE(handlers.isInstalled(), installed);
            QCOMPARE(currentHandler(SIGINT) == own.sa_handler, !installed);
            QCOMPARE(currentHandler(SIGHUP) == own.sa_handler, !installed);
            QVERIFY(currentHandler(SIGTERM) == SIG_IGN);
        }
        QVERIFY(currentHandler(SIGINT) == own.sa_handler);
        QVERIFY(currentHandler(SIGHUP) == own.sa_handler);
        QVERIFY(currentHandler(SIGTERM) == SIG_IGN);
        for (int i = 0; i < 3; ++i)
            ::sigaction(kinds[i], &saved[i], nullptr);
    }
};

int main(int argc, char *argv[])
{
    if (argc == 4 && qstrcmp(argv[1], "--raise") == 0)
        return raiseTwice(argc, argv);
    rstest::prepareEnvironment();
    QApplication app(argc, argv);
    TestSignals tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_signals.moc"
