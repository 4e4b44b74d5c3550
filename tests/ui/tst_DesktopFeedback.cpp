#include "ui/DesktopFeedback.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QToolTip>

// The boxes are real modal dialogs: only the ones that give way are opened here.
class TestDesktopFeedback : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void conversionNoticeIsATooltipByTheWidget();
    void conversionNoticeWithoutWidget();
    void boxesGiveWayOnceNobodyAnswers();
};

void TestDesktopFeedback::conversionNoticeIsATooltipByTheWidget()
{
    QLineEdit box;
    box.resize(80, 22);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.setFocus();

    DesktopFeedback feedback(&box);
    const QString text = QStringLiteral("'' is not a valid integer value");
    feedback.conversionNotice(&box, text);

    // Returning at all shows it did not block; the text is on screen and the box
    // kept the keyboard.
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), text);
    QVERIFY(box.hasFocus());
    QToolTip::hideText();
}

void TestDesktopFeedback::conversionNoticeWithoutWidget()
{
    DesktopFeedback feedback;
    feedback.conversionNotice(nullptr, QStringLiteral("'x' is not a valid integer value"));
    QTRY_COMPARE(QToolTip::text(), QStringLiteral("'x' is not a valid integer value"));
    QToolTip::hideText();
}

void TestDesktopFeedback::boxesGiveWayOnceNobodyAnswers()
{
    DesktopFeedback feedback;
    QStringList diagnosticLine;
    feedback.setDiagnosticLine([&diagnosticLine](const QString &text) { diagnosticLine << text; });

    // A box is open when the signal comes; a guard closes it should it stay.
    QString openBox;
    QTimer::singleShot(0, [&] {
        if (const auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
            openBox = box->text();
        feedback.stopWaitingForUser();
    });
    bool guardNeeded = false;
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&guardNeeded] {
        guardNeeded = true;
        if (QWidget *box = QApplication::activeModalWidget())
            box->close();
    });
    guard.start(5000);
    feedback.warning(QStringLiteral("Avertissement"), QStringLiteral("ARSWIN must be running !"));
    QCOMPARE(openBox, QStringLiteral("ARSWIN must be running !"));
    QVERIFY2(!guardNeeded, "the open box did not give way");

    // From now on a box is only told, never shown.
    feedback.error(QStringLiteral("Erreur"), QStringLiteral("Can't create Orvantis.ini"));
    QVERIFY(!guardNeeded);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QCOMPARE(diagnosticLine, QStringList {QStringLiteral("Can't create Orvantis.ini")});
}

QTEST_MAIN(TestDesktopFeedback)
#include "tst_DesktopFeedback.moc"
