#include "ui/FontconfigWarmUp.h"

#include <QFontDatabase>
#include <QtTest>

#include <future>
#include <stdexcept>
#include <thread>

// The warm-up's thread must end on every path out of start-up, or the program
// hangs or aborts before its window exists; the main thread must never wait on its
// drawing;
// and the fonts must be there whether the configuration was read in time (an idle
// machine) or not (a busy one).
class TestFontconfigWarmUp : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readerListsThenDrawsAndEnds_data();
    void readerListsThenDrawsAndEnds();
};

void TestFontconfigWarmUp::readerListsThenDrawsAndEnds_data()
{
    QTest::addColumn<int>("readerHeadStartMs");
    QTest::newRow("fonts needed at once") << 0;
    QTest::newRow("configuration read first") << 500;
}

void TestFontconfigWarmUp::readerListsThenDrawsAndEnds()
{
    QFETCH(int, readerHeadStartMs);
    {
        FontconfigWarmUp fonts;
        QThread::msleep(readerHeadStartMs);
        // The drawing cannot end before this thread is past listFontsWhile(): were
        // it waited for there, the test would hang instead of passing.
        std::promise<void> callerGoesOn;
        std::thread::id workedOn;
        std::thread::id drewOn;
        fonts.listFontsWhile([&workedOn] { workedOn = std::this_thread::get_id(); },
                             [&drewOn, goOn = callerGoesOn.get_future().share()] {
                                 goOn.wait();
                                 drewOn = std::this_thread::get_id();
                             });
        callerGoesOn.set_value();
        QCOMPARE(workedOn, std::this_thread::get_id());
        QVERIFY(!QFontDatabase::families().isEmpty());
        fonts.finish();
        QVERIFY(drewOn != std::thread::id());
        QVERIFY(drewOn != std::this_thread::get_id());
    } // and finishing twice, by the destructor, is harmless
    {
        // A start-up step that fails: the reader still ends.
        FontconfigWarmUp fonts;
        QThread::msleep(readerHeadStartMs);
        QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                 fonts.listFontsWhile([] { throw std::runtime_error("start-up failed"); }, [] {}));
    }
    // The program gave up before its window: the reader is told not to list.
    FontconfigWarmUp unused;
    QThread::msleep(readerHeadStartMs);
}

QTEST_MAIN(TestFontconfigWarmUp)
#include "tst_FontconfigWarmUp.moc"
