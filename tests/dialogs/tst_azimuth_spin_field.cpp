#include "dialogs/AzimuthSpinField.h"
#include "support/RecordingFeedback.h"

#include <QLineEdit>
#include <QVBoxLayout>
#include <QtTest>

// The favourite azimuth fields: what typing, stepping and leaving the field do.
class TestAzimuthSpinField : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void typing_data();
    void typing();
    void stepping_data();
    void stepping();
    void reading_data();
    void reading();
    void focusLoss_data();
    void focusLoss();
    void pastedLettersAreRefused();
};

namespace {
// A shown window with the field and a second widget to move the focus to.
struct Window {
    explicit Window(RecordingFeedback &feedback)
    {
        field = new AzimuthSpinField(feedback, &widget);
        other = new QLineEdit(&widget);
        auto *layout = new QVBoxLayout(&widget);
        layout->addWidget(field);
        layout->addWidget(other);
        widget.show();
        widget.activateWindow();
    }
    QWidget widget;
    AzimuthSpinField *field;
    QLineEdit *other;
};

void replaceText(AzimuthSpinField *field, const QString &text)
{
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
}
} // namespace

void TestAzimuthSpinField::typing_data()
{
    QTest::addColumn<QString>("localeName");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("beeps");

    QTest::newRow("digits") << "C" << "123" << "123" << 0;
    QTest::newRow("signs") << "C" << "+-5" << "+-5" << 0;
    QTest::newRow("letter refused") << "C" << "1a2" << "12" << 1;
    QTest::newRow("space refused") << "C" << "1 2" << "12" << 1;
    QTest::newRow("C decimal point") << "C" << "12.5" << "12.5" << 0;
    QTest::newRow("comma not a C separator") << "C" << "12,5" << "125" << 1;
    QTest::newRow("French decimal comma") << "fr_FR" << "12,5" << "12,5" << 0;
    QTest::newRow("point not a French separator") << "fr_FR" << "12.5" << "125" << 1;
    QTest::newRow("every letter") << "C" << "abc" << "" << 3;
}

void TestAzimuthSpinField::typing()
{
    QFETCH(QString, localeName);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, beeps);

    RecordingFeedback feedback;
    Window window(feedback);
    window.field->setLocale(QLocale(localeName));
    replaceText(window.field, typed);

    QCOMPARE(window.field->text(), shown);
    QCOMPARE(feedback.count(QStringLiteral("beep")), beeps);
    QCOMPARE(feedback.events().size(), beeps);
}

void TestAzimuthSpinField::stepping_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("shown");

    QTest::newRow("up") << "10" << int(Qt::Key_Up) << "11";
    QTest::newRow("down") << "10" << int(Qt::Key_Down) << "9";
    QTest::newRow("up stops at 359") << "359" << int(Qt::Key_Up) << "359";
    QTest::newRow("down stops at 0") << "0" << int(Qt::Key_Down) << "0";
    QTest::newRow("up from a lone sign") << "-" << int(Qt::Key_Up) << "1";
    QTest::newRow("down from a typed 400") << "400" << int(Qt::Key_Down) << "359";
}

void TestAzimuthSpinField::stepping()
{
    QFETCH(QString, start);
    QFETCH(int, key);
    QFETCH(QString, shown);

    RecordingFeedback feedback;
    Window window(feedback);
    replaceText(window.field, start);
    QTest::keyClick(window.field, Qt::Key(key));

    QCOMPARE(window.field->text(), shown);
    QVERIFY(feedback.events().isEmpty());
}

void TestAzimuthSpinField::reading_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("value");

    QTest::newRow("whole") << "275" << 275;
    QTest::newRow("plus sign") << "+12" << 12;
    QTest::newRow("above range, unclamped") << "400" << 400;
    QTest::newRow("negative, unclamped") << "-5" << -5;
    QTest::newRow("lone minus") << "-" << 0;
    QTest::newRow("decimal") << "12.5" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("beyond int") << "99999999999" << 0;
}

void TestAzimuthSpinField::reading()
{
    QFETCH(QString, typed);
    QFETCH(int, value);

    RecordingFeedback feedback;
    Window window(feedback);
    replaceText(window.field, typed);

    QCOMPARE(window.field->value(), value);
    QCOMPARE(window.field->text(), typed);
}

void TestAzimuthSpinField::focusLoss_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");

    QTest::newRow("above range") << "400" << "359";
    QTest::newRow("below range") << "-7" << "0";
    QTest::newRow("in range") << "42" << "42";
    QTest::newRow("lone minus stays") << "-" << "-";
    QTest::newRow("decimal stays") << "12.5" << "12.5";
    QTest::newRow("empty stays") << "" << "";
}

void TestAzimuthSpinField::focusLoss()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);

    RecordingFeedback feedback;
    Window window(feedback);
    QVERIFY(QTest::qWaitForWindowActive(&window.widget));
    window.field->setFocus();
    QVERIFY(window.field->hasFocus());
    replaceText(window.field, typed);
    window.other->setFocus();
    QVERIFY(!window.field->hasFocus());

    QCOMPARE(window.field->text(), shown);
}

void TestAzimuthSpinField::pastedLettersAreRefused()
{
    RecordingFeedback feedback;
    Window window(feedback);
    replaceText(window.field, QStringLiteral("7"));
    const auto paste = [&window](const QString &text) {
        window.other->setText(text);
        window.other->selectAll();
        window.other->copy();
        QTest::keyClick(window.field, Qt::Key_V, Qt::ControlModifier);
    };

    paste(QStringLiteral("12ab"));
    QCOMPARE(window.field->text(), QStringLiteral("7"));
    paste(QStringLiteral("12"));
    QCOMPARE(window.field->text(), QStringLiteral("712"));
}

QTEST_MAIN(TestAzimuthSpinField)
#include "tst_azimuth_spin_field.moc"
