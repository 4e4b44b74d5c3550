#include "ui/HelpPage.h"

#include <QTest>

class TestHelpPage : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pageBesideTheProgram_data();
    void pageBesideTheProgram();
};

void TestHelpPage::pageBesideTheProgram_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("french");
    QTest::addColumn<QString>("file");
    QTest::newRow("English") << QStringLiteral("/opt/orvantis") << false << QStringLiteral("/opt/orvantis/orvantis_en.htm");
    QTest::newRow("French") << QStringLiteral("/opt/orvantis") << true << QStringLiteral("/opt/orvantis/orvantis_fr.htm");
    QTest::newRow("trailing separator") << QStringLiteral("/opt/orvantis/") << true
                                        << QStringLiteral("/opt/orvantis/orvantis_fr.htm");
    QTest::newRow("root folder") << QStringLiteral("/") << false << QStringLiteral("/orvantis_en.htm");
    QTest::newRow("spaces and accents") << QStringLiteral("/home/op/Mes programmes é") << true
                                        << QStringLiteral("/home/op/Mes programmes é/orvantis_fr.htm");
}

void TestHelpPage::pageBesideTheProgram()
{
    QFETCH(QString, folder);
    QFETCH(bool, french);
    QFETCH(QString, file);
    const QUrl url = helpPageUrl(folder, french);
    QVERIFY(url.isLocalFile());
    QCOMPARE(url.toLocalFile(), file);
}

QTEST_GUILESS_MAIN(TestHelpPage)
#include "tst_HelpPage.moc"
