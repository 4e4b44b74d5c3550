#include "RecordingUrlOpener.h"

#include "ui/AboutBox.h"
#include "ui/LinkLabel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QTest>

class TestAboutBox : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void showAboutSetsNameAndVersion();
    void okHidesAndShowAboutReopens();
    void clicksOpenExactAddress_data();
    void clicksOpenExactAddress();
    void freshLinkLabelInvitesAnAddressAndOpensEmptyText();
    void ownerClickRunsBeforeOpening();
    void onlyACompletedLeftClickOpens_data();
    void onlyACompletedLeftClickOpens();
};

namespace {

QLabel *label(const AboutBox &box, const char *name)
{
    return box.findChild<QLabel *>(QLatin1String(name));
}

void showAndWait(QWidget &widget)
{
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
}

} // namespace

void TestAboutBox::showAboutSetsNameAndVersion()
{
    RecordingUrlOpener opener;
    AboutBox box(opener);
    QVERIFY(!box.isVisible());
    QCOMPARE(label(box, "Label1")->text(), QStringLiteral("ORVANTIS"));

    box.showAbout();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QCOMPARE(label(box, "Label1")->text(), QStringLiteral("ORVANTIS V2.4.1"));
    QCOMPARE(box.windowTitle(), QStringLiteral("FormInfo"));
    QCOMPARE(label(box, "Label2")->text(), QStringLiteral("The Orvantis developers"));
    QCOMPARE(label(box, "LabelUrl3")->text(), QStringLiteral("https://orvantis.example.org/"));
    // Shown beside the main window, never in its way.
    QVERIFY(!box.isModal());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);

    box.showAbout();
    QVERIFY(box.isVisible());
    QCOMPARE(box.windowTitle(), QStringLiteral("FormInfo"));
    QVERIFY(opener.opened().isEmpty());
}

void TestAboutBox::okHidesAndShowAboutReopens()
{
    RecordingUrlOpener opener;
    AboutBox box(opener);
    box.showAbout();
    QVERIFY(QTest::qWaitForWindowExposed(&box));

    auto *ok = box.findChild<QAbstractButton *>(QStringLiteral("BitBtn1"));
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(!box.isVisible());

    box.showAbout();
    QVERIFY(box.isVisible());
    QCOMPARE(label(box, "Label1")->text(), QStringLiteral("ORVANTIS V2.4.1"));
    QVERIFY(opener.opened().isEmpty());
}

void TestAboutBox::clicksOpenExactAddress_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("address");
    QTest::newRow("donation button") << QStringLiteral("SpeedButton1")
                                     << QStringLiteral("https://orvantis.example.org/donate");
    QTest::newRow("web page link") << QStringLiteral("LabelUrl3") << QStringLiteral("https://orvantis.example.org/");
}

void TestAboutBox::clicksOpenExactAddress()
{
    QFETCH(QString, control);
    QFETCH(QString, address);
    RecordingUrlOpener opener;
    AboutBox box(opener);
    box.showAbout();
    QVERIFY(QTest::qWaitForWindowExposed(&box));

    auto *widget = box.findChild<QWidget *>(control);
    QVERIFY(widget);
    QTest::mouseClick(widget, Qt::LeftButton);

    QCOMPARE(opener.opened().size(), 1);
    QCOMPARE(opener.opened().first().toString(), address);
    // Opening a page leaves the box where it was.
    QVERIFY(box.isVisible());
}

void TestAboutBox::freshLinkLabelInvitesAnAddressAndOpensEmptyText()
{
    RecordingUrlOpener opener;
    TLabelUrl link(opener);
    QCOMPARE(link.text(), QStringLiteral("Http://"));
    QCOMPARE(link.url(), QString());
    QCOMPARE(link.cursor().shape(), Qt::PointingHandCursor);
    QVERIFY(link.font().underline());
    QCOMPARE(link.palette().color(QPalette::WindowText), QColor(Qt::blue));
    showAndWait(link);

    QTest::mouseClick(&link, Qt::LeftButton);
    QCOMPARE(opener.opened().size(), 1);
    QCOMPARE(opener.opened().first().toString(), QString());

    // A file name without a scheme goes over unchanged: no prefix is guessed.
    link.setUrl(QStringLiteral("orvantis.example.org/manual"));
    QCOMPARE(link.text(), QStringLiteral("orvantis.example.org/manual"));
    QTest::mouseClick(&link, Qt::LeftButton);
    QCOMPARE(opener.opened().size(), 2);
    QCOMPARE(opener.opened().last().toString(), QStringLiteral("orvantis.example.org/manual"));
}

void TestAboutBox::ownerClickRunsBeforeOpening()
{
    RecordingUrlOpener opener;
    TLabelUrl link(opener);
    link.setUrl(QStringLiteral("https://orvantis.example.org/news"));
    qsizetype openedWhenOwnerRan = -1;
    connect(&link, &TLabelUrl::clicked, this, [&] { openedWhenOwnerRan = opener.opened().size(); });
    showAndWait(link);

    QTest::mouseClick(&link, Qt::LeftButton);
    QCOMPARE(openedWhenOwnerRan, 0);
    QCOMPARE(opener.opened(), QList<QUrl>{QUrl(QStringLiteral("https://orvantis.example.org/news"))});
}

void TestAboutBox::onlyACompletedLeftClickOpens_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("releasedOutside");
    QTest::newRow("right click") << Qt::RightButton << false;
    QTest::newRow("dragged off before release") << Qt::LeftButton << true;
}

void TestAboutBox::onlyACompletedLeftClickOpens()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, releasedOutside);
    RecordingUrlOpener opener;
    TLabelUrl link(opener);
    link.setUrl(QStringLiteral("https://orvantis.example.org/"));
    int ownerClicks = 0;
    connect(&link, &TLabelUrl::clicked, this, [&] { ++ownerClicks; });
    showAndWait(link);

    const QPoint inside = link.rect().center();
    QTest::mousePress(&link, button, {}, inside);
    QTest::mouseRelease(&link, button, {}, releasedOutside ? QPoint(-20, -20) : inside);
    QCOMPARE(ownerClicks, 0);
    QVERIFY(opener.opened().isEmpty());

    // The same label still answers a proper click afterwards.
    QTest::mouseClick(&link, Qt::LeftButton);
    QCOMPARE(ownerClicks, 1);
    QCOMPARE(opener.opened().size(), 1);
}

QTEST_MAIN(TestAboutBox)
#include "tst_AboutBox.moc"
