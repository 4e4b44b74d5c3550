#include "SetupDialogRig.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QScreen>
#include <QScrollArea>
#include <QTest>

// The setup dialog on a screen smaller than its content (ctest runs this on an
// offscreen 1920x1080 screen at scale 2, and on 800x480 at scale 1): its frame
// stays on the screen's free area, and every field can be scrolled into view.
class TestSetupDialogFits : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void frameOnScreenAndEveryFieldReachable_data();
    void frameOnScreenAndEveryFieldReachable();
};

void TestSetupDialogFits::initTestCase()
{
    // The screen the environment asked for, or this test would prove nothing.
    const QString expected = qEnvironmentVariable("ORVANTIS_EXPECTED_SCREEN");
    QVERIFY2(!expected.isEmpty(), "run through ctest, which sets the screen");
    const QSize size = QGuiApplication::primaryScreen()->availableGeometry().size();
    QCOMPARE(QStringLiteral("%1x%2").arg(size.width()).arg(size.height()), expected);
}

void TestSetupDialogFits::frameOnScreenAndEveryFieldReachable_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QPoint>("placedAt"); // where the frame was before showing
    for (const char *field : {"CheckBoxEnvoiCommande", "EditAntKORU", "EditPortKORU", "RadioGroupRotor_10"}) {
        QTest::addRow("%s, unplaced", field) << QString::fromLatin1(field) << QPoint(-1, -1);
        QTest::addRow("%s, placed off the corner", field) << QString::fromLatin1(field) << QPoint(700, 400);
    }
}

void TestSetupDialogFits::frameOnScreenAndEveryFieldReachable()
{
    QFETCH(QString, field);
    QFETCH(QPoint, placedAt);

    DialogRig rig;
    if (placedAt != QPoint(-1, -1))
        rig.dialog.move(placedAt);
    rig.dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.dialog));

    const QRect available = rig.dialog.screen()->availableGeometry();
    auto *scroll = rig.find<QScrollArea>(QStringLiteral("SetupScrollArea"));
    // Otherwise the screen would not be too small and nothing would be tried.
    QVERIFY(scroll->widget()->sizeHint().height() > available.height()
            || scroll->widget()->sizeHint().width() > available.width());
    QVERIFY2(available.contains(rig.dialog.frameGeometry()),
             qPrintable(QStringLiteral("frame %1,%2 %3x%4 on %5x%6")
                            .arg(rig.dialog.frameGeometry().x()).arg(rig.dialog.frameGeometry().y())
                            .arg(rig.dialog.frameGeometry().width()).arg(rig.dialog.frameGeometry().height())
                            .arg(available.width()).arg(available.height())));

    QWidget *target = rig.find<QWidget>(field);
    scroll->ensureWidgetVisible(target, 0, 0);
    const QRect inViewport(target->mapTo(scroll->viewport(), QPoint(0, 0)), target->size());
    QVERIFY2(scroll->viewport()->rect().contains(inViewport), qPrintable(field));
    QVERIFY(target->isVisibleTo(&rig.dialog));
}

QTEST_MAIN(TestSetupDialogFits)
#include "tst_setup_dialog_fits.moc"
