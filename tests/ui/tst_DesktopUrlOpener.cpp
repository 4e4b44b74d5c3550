#include "ui/DesktopUrlOpener.h"
#include "ui/HelpWindow.h"

#include <QTest>
#include <QTextBrowser>

// F1 on a desktop without a program for web pages: the help still shows, in a
// window of its own, and what cannot be shown is named.
class TestDesktopUrlOpener : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pageShownWhereTheDesktopCannot_data();
    void pageShownWhereTheDesktopCannot();
};

void TestDesktopUrlOpener::pageShownWhereTheDesktopCannot_data()
{
    QTest::addColumn<QUrl>("url");
    QTest::addColumn<bool>("desktopOpens");
    QTest::addColumn<QString>("title");  // empty: no window of ours
    QTest::addColumn<QString>("textPart");

    const QString pages = QStringLiteral(ORVANTIS_RESOURCES);
    const QUrl english = QUrl::fromLocalFile(pages + QStringLiteral("/orvantis_en.htm"));
    const QUrl french = QUrl::fromLocalFile(pages + QStringLiteral("/orvantis_fr.htm"));
    QTest::newRow("desktop opens it") << english << true << QString() << QString();
    QTest::newRow("English page") << english << false << QStringLiteral("Orvantis V2.4.1 – Help")
                                  << QStringLiteral("rotctld");
    QTest::newRow("French page") << french << false << QStringLiteral("Orvantis V2.4.1 – Aide")
                                 << QStringLiteral("Lire la position");
    QTest::newRow("page missing") << QUrl::fromLocalFile(QStringLiteral("/nonexistent/orvantis_en.htm")) << false
                                  << QStringLiteral("ORVANTIS") << QStringLiteral("/nonexistent/orvantis_en.htm is missing");
    QTest::newRow("web address") << QUrl(QStringLiteral("https://orvantis.example.org/donate")) << false
                                 << QStringLiteral("ORVANTIS")
                                 << QStringLiteral("n'ouvre https://orvantis.example.org/donate");
}

void TestDesktopUrlOpener::pageShownWhereTheDesktopCannot()
{
    QFETCH(QUrl, url);
    QFETCH(bool, desktopOpens);
    QFETCH(QString, title);
    QFETCH(QString, textPart);

    QList<QUrl> handedToDesktop;
    DesktopUrlOpener opener([&](const QUrl &given) {
        handedToDesktop << given;
        return desktopOpens;
    });
    opener.open(url);

    QCOMPARE(handedToDesktop, QList<QUrl> {url});
    if (title.isEmpty()) {
        QCOMPARE(opener.helpWindow(), nullptr);
        return;
    }
    HelpWindow *window = opener.helpWindow();
    QVERIFY(window);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QCOMPARE(window->windowTitle(), title);
    QVERIFY2(window->browser()->toPlainText().contains(textPart), qPrintable(window->browser()->toPlainText().left(200)));

    // A second F1 reuses the window rather than piling them up.
    opener.open(url);
    QCOMPARE(opener.helpWindow(), window);
}

QTEST_MAIN(TestDesktopUrlOpener)
#include "tst_DesktopUrlOpener.moc"
