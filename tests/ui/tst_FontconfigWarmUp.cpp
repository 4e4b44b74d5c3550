#include "ui/FontconfigWarmUp.h"

#include <QFontDatabase>
#include <QtTest>

#include <stdexcept>
#include <thread>

// The warm-up's thread must end on every path out of start-up, or the program
// hangs or aborts before its window exists; and the fonts must be there after it
// whether the configuration was read in time (an idle machine) or not (a busy one).
class TestFontconfigWarmUp : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyPathEndsTheReader_data();
    void everyPathEndsTheReader();
};

void TestFontconfigWarmUp::everyPathEndsTheReader_data()
{
    QTest::addColumn<int>("readerHeadStartMs");
    QTest::newRow("fonts needed at once") << 0;
    QTest::newRow("configuration read first") << 500;
}

void TestFontconfigWarmUp::everyPathEndsTheReader()
{
    QFETCH(int, readerHeadStartMs);
    {
        FontconfigWarmUp fonts;
        QThread::msleep(readerHeadStartMs);
        std::thread::id ranOn;
        fonts.listFontsWhile([&ranOn] { ranOn = std::this_thread::get_id(); });
        QCOMPARE(ranOn, std::this_thread::get_id());
        QVERIFY(!QFontDatabase::families().isEmpty());
    }
    {
        FontconfigWarmUp fonts;
        QThread::msleep(readerHeadStartMs);
        QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                 fonts.listFontsWhile([] { throw std::runtime_error("start-up failed"); }));
    }
    // The program gave up before its window: the reader is told not to list.
    FontconfigWarmUp unused;
}

QTEST_MAIN(TestFontconfigWarmUp)
#include "tst_FontconfigWarmUp.moc"
