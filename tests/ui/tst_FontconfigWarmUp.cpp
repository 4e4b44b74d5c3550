#include "ui/FontconfigWarmUp.h"

#include <QFontDatabase>
#include <QtTest>

#include <stdexcept>
#include <thread>

// The warm-up's thread must end on every path out of start-up, or the program
// hangs or aborts before its window exists.
class TestFontconfigWarmUp : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyPathEndsTheReader();
};

void TestFontconfigWarmUp::everyPathEndsTheReader()
{
    {
        FontconfigWarmUp fonts;
        std::thread::id ranOn;
        fonts.listFontsWhile([&ranOn] { ranOn = std::this_thread::get_id(); });
        QCOMPARE(ranOn, std::this_thread::get_id());
        QVERIFY(!QFontDatabase::families().isEmpty());
    }
    {
        FontconfigWarmUp fonts;
        QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                 fonts.listFontsWhile([] { throw std::runtime_error("start-up failed"); }));
    }
    // The program gave up before its window: the reader is told not to list.
    FontconfigWarmUp unused;
}

QTEST_MAIN(TestFontconfigWarmUp)
#include "tst_FontconfigWarmUp.moc"
