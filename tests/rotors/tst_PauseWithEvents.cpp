#include "rotors/PauseWithEvents.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

class TestPauseWithEvents : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void nothingToWaitFor_data()
    {
        QTest::addColumn<int>("ms");
        QTest::newRow("zero") << 0;
        QTest::newRow("negative") << -5;
    }
    void nothingToWaitFor()
    {
        QFETCH(int, ms);
        bool delivered = false;
        QTimer::singleShot(0, [&] { delivered = true; });
        PauseWithEvents(ms);
        QVERIFY(!delivered); // returned without entering an event loop
        QTRY_VERIFY(delivered);
    }

    void eventsAreHandledDuringThePause()
    {
        int ticks = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
        ticker.start(5);
        QElapsedTimer clock;
        clock.start();
        PauseWithEvents(120);
        const qint64 elapsed = clock.elapsed();
        QVERIFY2(elapsed >= 110, qPrintable(QString::number(elapsed)));
        QVERIFY(ticks >= 3);
    }
};

QTEST_GUILESS_MAIN(TestPauseWithEvents)
#include "tst_PauseWithEvents.moc"
