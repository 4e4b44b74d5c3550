#include "process/SignalCloser.h"

#include <QTest>
#include <QThread>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

// The deadline ends the process with status 1, so it is watched from outside: a
// child process takes the signal and then never returns to its event loop.
class TestSignalCloser : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void stuckCloseIsCutShort_data();
    void stuckCloseIsCutShort();
};

void TestSignalCloser::stuckCloseIsCutShort_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    // The terminal that started the program was closed.
    QTest::newRow("SIGHUP") << int(SIGHUP);
}

void TestSignalCloser::stuckCloseIsCutShort()
{
    QFETCH(int, signal);
    int errorPipe[2];
    QCOMPARE(::pipe(errorPipe), 0);
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        ::dup2(errorPipe[1], STDERR_FILENO);
        SignalCloser closer;
        ::raise(signal);
        // Stuck: every tick of the deadline interrupts the pause, and nothing
        // else ever ends it.
        for (;;)
            ::pause();
    }
    ::close(errorPipe[1]);

    // Only a guard against a deadline that never comes: the test fails instead
    // of hanging.
    int status = 0;
    pid_t ended = 0;
    for (int waited = 0; waited < 30000 && ended == 0; waited += 20) {
        ended = ::waitpid(child, &status, WNOHANG);
        if (ended == 0)
            QThread::msleep(20);
    }
    if (ended == 0) {
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
    }
    QByteArray told(512, '\0');
    const ssize_t got = ::read(errorPipe[0], told.data(), size_t(told.size()));
    ::close(errorPipe[0]);
    told.resize(qMax<ssize_t>(got, 0));

    QVERIFY2(ended == child, "the stuck close was never cut short");
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 1);
    QVERIFY2(told.contains("closing did not end in time and was cut short"), told.constData());
    QVERIFY2(told.contains("la fermeture n'a pas abouti à temps"), told.constData());
}

QTEST_GUILESS_MAIN(TestSignalCloser)
#include "tst_SignalCloser.moc"
