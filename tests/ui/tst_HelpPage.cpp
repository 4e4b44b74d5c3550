#include "ui/HelpPage.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestHelpPage : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pageBesideTheProgram_data();
    void pageBesideTheProgram();
    void installedPage_data();
    void installedPage();
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
    const QUrl url = helpPageUrl(folder, french ? Language::french() : Language::english());
    QVERIFY(url.isLocalFile());
    QCOMPARE(url.toLocalFile(), file);
}

// A prefix with bin/ and the installation's data folder; the pages named in `pages`
// exist there (relative to the prefix), the rest do not.
void TestHelpPage::installedPage_data()
{
    QTest::addColumn<QStringList>("pages");
    QTest::addColumn<bool>("french");
    QTest::addColumn<QString>("file");
    const auto data = [](const char *page) -> QString {
        return QStringLiteral("bin/" ORVANTIS_DATA_FROM_BIN "/") + QLatin1String(page);
    };
    const QString besideEnglish = QStringLiteral("bin/orvantis_en.htm");
    QTest::newRow("installed English") << QStringList {data("orvantis_en.htm")} << false << data("orvantis_en.htm");
    QTest::newRow("installed French") << QStringList {data("orvantis_en.htm"), data("orvantis_fr.htm")} << true
                                      << data("orvantis_fr.htm");
    QTest::newRow("beside the program wins") << QStringList {data("orvantis_en.htm"), besideEnglish} << false
                                             << besideEnglish;
    QTest::newRow("neither: beside the program") << QStringList {data("orvantis_en.htm")} << true
                                                 << QStringLiteral("bin/orvantis_fr.htm");
}

void TestHelpPage::installedPage()
{
    QFETCH(QStringList, pages);
    QFETCH(bool, french);
    QFETCH(QString, file);
    QTemporaryDir prefix;
    const QDir root(prefix.path());
    QVERIFY(root.mkpath(QStringLiteral("bin/" ORVANTIS_DATA_FROM_BIN)));
    for (const QString &page : pages) {
        QFile created(root.filePath(page));
        QVERIFY(created.open(QIODevice::WriteOnly));
    }
    const QUrl url = helpPageUrl(root.filePath(QStringLiteral("bin")), french ? Language::french() : Language::english());
    QCOMPARE(QDir::cleanPath(url.toLocalFile()), QDir::cleanPath(root.filePath(file)));
}

QTEST_GUILESS_MAIN(TestHelpPage)
#include "tst_HelpPage.moc"
