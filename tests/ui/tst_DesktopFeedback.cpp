#include "ui/DesktopFeedback.h"

#include <QLineEdit>
#include <QTest>
#include <QToolTip>

// Only the non-modal part is exercised: the message boxes are real modal dialogs.
class TestDesktopFeedback : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void conversionNoticeIsATooltipByTheWidget();
    void conversionNoticeWithoutWidget();
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

QTEST_MAIN(TestDesktopFeedback)
#include "tst_DesktopFeedback.moc"
