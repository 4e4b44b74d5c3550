#include "sources/DdeValue.h"

#include <QTest>

class TestDdeValue : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void clean_data();
    void clean();
};

void TestDdeValue::clean_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<bool>("kept");
    QTest::addColumn<QString>("text");

    QTest::newRow("digits and CR") << "123\r" << true << "123";
    QTest::newRow("digits and NUL") << QString::fromLatin1("123\0", 4) << true << "123";
    QTest::newRow("blanks before and between, trailing letter") << "  1 2 3x" << true << "123";
    QTest::newRow("blank after the terminator") << "123\r " << true << "123";
    QTest::newRow("no terminator loses a digit") << "45" << true << "4";
    QTest::newRow("decimal value left for the box to refuse") << "12.5\r" << true << "12.5";
    QTest::newRow("CR and LF keep the CR") << "90\r\n" << true << "90\r";
    QTest::newRow("one character") << "7" << false << QString();
    QTest::newRow("one character among blanks") << " 7  " << false << QString();
    QTest::newRow("only blanks") << "   " << false << QString();
    QTest::newRow("empty") << QString() << false << QString();
}

void TestDdeValue::clean()
{
    QFETCH(QString, item);
    QFETCH(bool, kept);
    QFETCH(QString, text);

    const std::optional<QString> cleaned = cleanDdeValue(item);
    QCOMPARE(cleaned.has_value(), kept);
    if (kept)
        QCOMPARE(*cleaned, text);
}

QTEST_GUILESS_MAIN(TestDdeValue)
#include "tst_DdeValue.moc"
