#include "ui/DesktopFeedback.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

// The boxes are real modal dialogs: only the ones that give way are opened here.
class TestDesktopFeedback : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void conversionNoticeStaysOutOfTheWay_data();
    void conversionNoticeStaysOutOfTheWay();
    void boxesGiveWayOnceNobodyAnswers();
    void noticeShowsMarkupAsText_data();
    void noticeShowsMarkupAsText();
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

void TestDesktopFeedback::noticeShowsMarkupAsText_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("rotctld address") << QStringLiteral("Cannot listen on <b>tags</b>:4533: address not available");
    QTest::newRow("dosdevices target") << QStringLiteral("COM5 is /dev/<img src=\"x\">ttyUSB0, which is missing");
    QTest::newRow("link") << QStringLiteral("<a href=\"https://example.org\">click</a>");
}

// The notice does not wait for an answer, so its box stays open to be looked at.
void TestDesktopFeedback::noticeShowsMarkupAsText()
{
    QFETCH(QString, text);
    DesktopFeedback feedback;
    feedback.notice(QStringLiteral("Orvantis"), text);

    QMessageBox *shown = nullptr;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        auto *box = qobject_cast<QMessageBox *>(window);
        if (box && box->isVisible() && box->text() == text)
            shown = box;
    }
    QVERIFY(shown);
    const auto *label = shown->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
    QVERIFY(label);
    QCOMPARE(label->text(), text);
    QCOMPARE(label->textFormat(), Qt::PlainText);
    shown->close();
}

QTEST_MAIN(TestDesktopFeedback)
#include "tst_DesktopFeedback.moc"
