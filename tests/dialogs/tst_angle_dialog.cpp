#include "dialogs/AngleDialog.h"
#include "dialogs/AngleDialogHost.h"
#include "support/RecordingFeedback.h"

#include <QLineEdit>
#include <QtTest>

// The angle dialog driven by keys, checked through what a recording main window
// is asked to do.
class TestAngleDialog : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void validAngleSetsStepper_data();
    void validAngleSetsStepper();
    void refusedAngleResetsField_data();
    void refusedAngleResetsField();
    void nextTypingReplacesAppliedAngle();
    void echoSelectsWholeText();
    void placement_data();
    void placement();
};

namespace {
// Records each azimuth handed over.
class RecordingHost final : public AngleDialogHost {
public:
    void takeAngle(int azimuth) override { calls << QStringLiteral("angle:%1").arg(azimuth); }

    QStringList calls;
};

struct Dialog {
    Dialog() : dialog(host, feedback) { edit = dialog.findChild<QLineEdit *>(QStringLiteral("EditAngle")); }
    void enter(const QString &text, Qt::Key key = Qt::Key_Return)
    {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    }
    bool wholeTextSelected() const { return edit->selectionStart() == 0 && edit->selectedText() == edit->text(); }

    RecordingHost host;
    RecordingFeedback feedback;
    AngleDialog dialog;
    QLineEdit *edit;
};
} // namespace

void TestAngleDialog::validAngleSetsStepper_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("azimuth");

    QTest::newRow("359, Return") << "359" << int(Qt::Key_Return) << 359;
    QTest::newRow("0, Return") << "0" << int(Qt::Key_Return) << 0;
    QTest::newRow("45, keypad Enter") << "45" << int(Qt::Key_Enter) << 45;
    QTest::newRow("+12") << "+12" << int(Qt::Key_Return) << 12;
}

void TestAngleDialog::validAngleSetsStepper()
{
    QFETCH(QString, typed);
    QFETCH(int, key);
    QFETCH(int, azimuth);

    Dialog d;
    d.dialog.show();
    d.enter(typed, Qt::Key(key));

    QCOMPARE(d.host.calls, QStringList{QStringLiteral("angle:%1").arg(azimuth)});
    QVERIFY(d.feedback.events().isEmpty());
    // Enter leaves no character behind and selects the typed value.
    QCOMPARE(d.dialog.angleText(), typed);
    QVERIFY(d.wholeTextSelected());
}

void TestAngleDialog::refusedAngleResetsField_data()
{
    QTest::addColumn<QString>("typed");

    QTest::newRow("360") << "360";
    QTest::newRow("999") << "999";
    QTest::newRow("empty") << "";
    QTest::newRow("-5") << "-5";
    QTest::newRow("abc") << "abc";
    QTest::newRow("1.5") << "1.5";
    QTest::newRow("lone minus") << "-";
}

void TestAngleDialog::refusedAngleResetsField()
{
    QFETCH(QString, typed);

    Dialog d;
    d.dialog.show();
    d.enter(typed);

    QCOMPARE(d.feedback.events(), QStringList{QStringLiteral("beep")});
    QCOMPARE(d.dialog.angleText(), QStringLiteral("0"));
    QVERIFY(d.wholeTextSelected());
    QVERIFY(d.host.calls.isEmpty());
}

void TestAngleDialog::nextTypingReplacesAppliedAngle()
{
    Dialog d;
    d.dialog.show();
    d.enter(QStringLiteral("12"));
    QTest::keyClicks(d.edit, QStringLiteral("7"));
    QCOMPARE(d.dialog.angleText(), QStringLiteral("7"));

    // After a refusal too, the "0" is replaced by what comes next.
    d.enter(QStringLiteral("400"));
    QTest::keyClicks(d.edit, QStringLiteral("33"));
    QCOMPARE(d.dialog.angleText(), QStringLiteral("33"));
}

void TestAngleDialog::echoSelectsWholeText()
{
    Dialog d;
    d.dialog.show();
    d.dialog.showAzimuth(275);
    QCOMPARE(d.dialog.angleText(), QStringLiteral("275"));
    QVERIFY(d.wholeTextSelected());

    d.dialog.showAzimuth(5);
    QCOMPARE(d.dialog.angleText(), QStringLiteral("5"));
    QVERIFY(d.wholeTextSelected());
    QVERIFY(d.host.calls.isEmpty());
}

void TestAngleDialog::placement_data()
{
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("shown");
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<bool>("visible");

    QTest::newRow("nothing saved") << 0 << 0 << 0 << QPoint(485, 116) << false;
    QTest::newRow("top 0 keeps designed top") << 0 << 300 << 1 << QPoint(300, 116) << true;
    QTest::newRow("left 0 keeps designed left") << 200 << 0 << 0 << QPoint(485, 200) << false;
    QTest::newRow("both saved") << 220 << 640 << 1 << QPoint(640, 220) << true;
    QTest::newRow("shown other than 1") << 0 << 0 << 2 << QPoint(485, 116) << false;
}

void TestAngleDialog::placement()
{
    QFETCH(int, top);
    QFETCH(int, left);
    QFETCH(int, shown);
    QFETCH(QPoint, position);
    QFETCH(bool, visible);

    Dialog d;
    d.dialog.applyPlacement(top, left, shown);

    QCOMPARE(d.dialog.pos(), position);
    QCOMPARE(d.dialog.isVisible(), visible);
}

QTEST_MAIN(TestAngleDialog)
#include "tst_angle_dialog.moc"
