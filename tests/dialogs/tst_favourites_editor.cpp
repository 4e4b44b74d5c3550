#include "dialogs/AzimuthSpinField.h"
#include "dialogs/FavouritesEditor.h"
#include "support/RecordingFeedback.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

// The favourites editor driven as the user drives it, checked against the record
// and the captions it hands to the main window.
class TestFavouritesEditor : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fileAzimuthShownAndStoredInRange_data();
    void fileAzimuthShownAndStoredInRange();
    void letterInAzimuthBeepsAndChangesNothing();
    void loneMinusStoresZeroAndStaysShown();
    void typedLabelStopsAtSevenCharacters();
    void longFileLabelSurvivesUnlessEdited();
    void closeBoxCommitsLikeSave();
    void saveLeavesWindowOpen();
    void closingHiddenEditorKeepsRecord();
    void captionsFollowLanguageWhenShown();
    void refillOnlyWhenBecomingVisible();
    void tabOrderRunsRowByRow();
};

namespace {
struct Editor {
    Editor() : editor(config, feedback, [this] { return french ? Language::french() : Language::english(); },
                      [this](int n, const QString &caption) { captions << qMakePair(n, caption); })
    {
    }
    AzimuthSpinField *azimuth(int n) { return editor.findChild<AzimuthSpinField *>(QStringLiteral("SpinEdit%1").arg(n)); }
    QLineEdit *label(int n) { return editor.findChild<QLineEdit *>(QStringLiteral("Edit%1").arg(n)); }
    QPushButton *save() { return editor.findChild<QPushButton *>(QStringLiteral("BitBtnSave")); }

    Configuration config;
    RecordingFeedback feedback;
    bool french = false;
    QList<QPair<int, QString>> captions;
    FavouritesEditor editor;
};

void replaceText(QWidget *field, const QString &text)
{
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
}
} // namespace

void TestFavouritesEditor::fileAzimuthShownAndStoredInRange_data()
{
    QTest::addColumn<int>("fromFile");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("stored");

    QTest::newRow("400") << 400 << "359" << 359;
    QTest::newRow("360") << 360 << "359" << 359;
    QTest::newRow("-1") << -1 << "0" << 0;
    QTest::newRow("-32768") << -32768 << "0" << 0;
    QTest::newRow("in range") << 123 << "123" << 123;
}

void TestFavouritesEditor::fileAzimuthShownAndStoredInRange()
{
    QFETCH(int, fromFile);
    QFETCH(QString, shown);
    QFETCH(int, stored);

    Editor e;
    e.config.favourites[3].azimuth = fromFile;
    e.editor.show();
    QCOMPARE(e.azimuth(4)->text(), shown);

    QTest::mouseClick(e.save(), Qt::LeftButton);
    QCOMPARE(e.config.favourites[3].azimuth, stored);
}

void TestFavouritesEditor::letterInAzimuthBeepsAndChangesNothing()
{
    Editor e;
    e.config.favourites[0].azimuth = 45;
    e.editor.show();
    QTest::keyClick(e.azimuth(1), Qt::Key_End);
    QTest::keyClicks(e.azimuth(1), QStringLiteral("x"));

    QCOMPARE(e.azimuth(1)->text(), QStringLiteral("45"));
    QCOMPARE(e.feedback.events(), QStringList{QStringLiteral("beep")});
}

void TestFavouritesEditor::loneMinusStoresZeroAndStaysShown()
{
    Editor e;
    e.config.favourites[2].azimuth = 200;
    e.editor.show();
    replaceText(e.azimuth(3), QStringLiteral("-"));
    QTest::mouseClick(e.save(), Qt::LeftButton);

    QCOMPARE(e.config.favourites[2].azimuth, 0);
    QCOMPARE(e.azimuth(3)->text(), QStringLiteral("-"));
}

void TestFavouritesEditor::typedLabelStopsAtSevenCharacters()
{
    Editor e;
    e.editor.show();
    replaceText(e.label(1), QStringLiteral("ABCDEFGH"));
    QCOMPARE(e.label(1)->text(), QStringLiteral("ABCDEFG"));

    QTest::mouseClick(e.save(), Qt::LeftButton);
    QCOMPARE(e.config.favourites[0].label, QStringLiteral("ABCDEFG"));
}

void TestFavouritesEditor::longFileLabelSurvivesUnlessEdited()
{
    Editor e;
    const QString longLabel = QStringLiteral("Europe-West");
    e.config.favourites[4].label = longLabel;
    e.editor.show();
    QCOMPARE(e.label(5)->text(), longLabel);

    QTest::mouseClick(e.save(), Qt::LeftButton);
    QCOMPARE(e.config.favourites[4].label, longLabel);
    QVERIFY(e.captions.contains(qMakePair(5, longLabel)));

    // Cutting it is allowed; growing it again is not.
    QTest::keyClick(e.label(5), Qt::Key_End);
    QTest::keyClick(e.label(5), Qt::Key_Backspace);
    QTest::keyClicks(e.label(5), QStringLiteral("tX"));
    QCOMPARE(e.label(5)->text(), QStringLiteral("Europe-Wes"));

    // A label typed anew is held to seven characters.
    replaceText(e.label(5), QStringLiteral("Pacific-N"));
    QCOMPARE(e.label(5)->text(), QStringLiteral("Pacific"));
}

void TestFavouritesEditor::closeBoxCommitsLikeSave()
{
    Editor e;
    e.editor.show();
    replaceText(e.azimuth(2), QStringLiteral("275"));
    replaceText(e.label(2), QStringLiteral("W6"));
    QVERIFY(e.captions.isEmpty());

    QVERIFY(e.editor.close());

    QVERIFY(!e.editor.isVisible());
    QCOMPARE(e.config.favourites[1].azimuth, 275);
    QCOMPARE(e.config.favourites[1].label, QStringLiteral("W6"));
    QCOMPARE(e.captions.size(), FavouriteCount);
    QCOMPARE(e.captions.at(1), qMakePair(2, QStringLiteral("W6")));
    QCOMPARE(e.captions.at(0), qMakePair(1, QStringLiteral("Fav.1")));
}

void TestFavouritesEditor::saveLeavesWindowOpen()
{
    Editor e;
    e.editor.show();
    replaceText(e.label(6), QStringLiteral("VK"));
    QTest::mouseClick(e.save(), Qt::LeftButton);

    QVERIFY(e.editor.isVisible());
    QCOMPARE(e.captions.last(), qMakePair(6, QStringLiteral("VK")));
}

void TestFavouritesEditor::closingHiddenEditorKeepsRecord()
{
    Editor e;
    e.config.favourites[0] = {90, QStringLiteral("East")};
    e.editor.close();

    QCOMPARE(e.config.favourites[0].azimuth, 90);
    QCOMPARE(e.config.favourites[0].label, QStringLiteral("East"));
    QVERIFY(e.captions.isEmpty());
}

void TestFavouritesEditor::captionsFollowLanguageWhenShown()
{
    Editor e;
    e.french = true;
    e.editor.show();
    QCOMPARE(e.editor.windowTitle(), QStringLiteral("Azimuts favoris"));
    QCOMPARE(e.save()->text(), QStringLiteral("Enregistrer"));

    // A switch while it is open waits for the next time it is shown.
    e.french = false;
    e.editor.show();
    QCOMPARE(e.editor.windowTitle(), QStringLiteral("Azimuts favoris"));

    e.editor.hide();
    e.editor.show();
    QCOMPARE(e.editor.windowTitle(), QStringLiteral("Favorite azimuths"));
    QCOMPARE(e.save()->text(), QStringLiteral("Save"));
}

void TestFavouritesEditor::refillOnlyWhenBecomingVisible()
{
    Editor e;
    e.editor.show();
    replaceText(e.label(3), QStringLiteral("typed"));
    e.config.favourites[2].label = QStringLiteral("record");

    e.editor.show();
    QCOMPARE(e.label(3)->text(), QStringLiteral("typed"));

    e.editor.hide();
    e.editor.show();
    QCOMPARE(e.label(3)->text(), QStringLiteral("record"));
}

void TestFavouritesEditor::tabOrderRunsRowByRow()
{
    Editor e;
    e.editor.show();
    e.editor.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&e.editor));

    QList<QWidget *> expected;
    for (int n = 1; n <= FavouriteCount; ++n)
        expected << e.azimuth(n) << e.label(n);
    expected << e.save();

    expected.first()->setFocus();
    for (QWidget *field : expected) {
        QVERIFY2(field->hasFocus(), qPrintable(field->objectName()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QVERIFY(expected.first()->hasFocus());
}

QTEST_MAIN(TestFavouritesEditor)
#include "tst_favourites_editor.moc"
