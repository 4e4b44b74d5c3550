#include "ui/DesktopFeedback.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

// Only the non-modal part is exercised: the message boxes are real modal dialogs.
class TestDesktopFeedback : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void conversionNoticeStaysOutOfTheWay_data();
    void conversionNoticeStaysOutOfTheWay();
};

namespace {

QLabel *shownNotice()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->objectName() == QLatin1String("ConversionNotice") && window->isVisible())
            return qobject_cast<QLabel *>(window);
    }
    return nullptr;
}

} // namespace

void TestDesktopFeedback::conversionNoticeStaysOutOfTheWay_data()
{
    QTest::addColumn<bool>("endedByClick");
    QTest::newRow("next key") << false;
    QTest::newRow("next click") << true;
}

void TestDesktopFeedback::conversionNoticeStaysOutOfTheWay()
{
    QFETCH(bool, endedByClick);
    QWidget window;
    auto *box = new QLineEdit(&window);
    auto *button = new QPushButton(QStringLiteral("STOP"), &window);
    auto *column = new QVBoxLayout(&window);
    column->addWidget(box);
    column->addWidget(button);
    window.move(100, 100);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    box->setFocus();

    DesktopFeedback feedback(&window);
    // Markup from a peer is shown as it came, never rendered.
    const QString text = QStringLiteral("'<b>1</b>' is not a valid integer value");
    feedback.conversionNotice(box, text);

    // Returning at all shows it did not block.
    QLabel *notice = shownNotice();
    QVERIFY(notice);
    QCOMPARE(notice->text(), text);
    QCOMPARE(notice->textFormat(), Qt::PlainText);
    QVERIFY(box->hasFocus());
    QVERIFY(!notice->geometry().intersects(window.frameGeometry()));
    QVERIFY(notice->windowFlags().testFlag(Qt::WindowTransparentForInput));

    int clicks = 0;
    connect(button, &QPushButton::clicked, this, [&clicks] { ++clicks; });
    if (endedByClick)
        QTest::mouseClick(button, Qt::LeftButton);
    else
        QTest::keyClick(box, Qt::Key_1);
    QVERIFY(!shownNotice());
    QCOMPARE(clicks, endedByClick ? 1 : 0);
    QCOMPARE(box->text(), endedByClick ? QString() : QStringLiteral("1"));
}

QTEST_MAIN(TestDesktopFeedback)
#include "tst_DesktopFeedback.moc"
