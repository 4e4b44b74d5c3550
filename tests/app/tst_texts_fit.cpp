#include "MainWindowRig.h"

#include "dialogs/FavouritesEditor.h"
#include "ui/ElidingButton.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScrollArea>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QTabWidget>
#include <QTest>

#include <optional>

// The main window and every dialog show each text whole under the desktop styles
// a Debian user meets and at the font sizes desktops ship, at the scale ctest
// sets (1 and 2). Pictures of them are left in the build tree.
class TestTextsFit : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void everyTextWhole_data();
    void everyTextWhole();
    void savedSizeWrittenBackAsRead_data();
    void savedSizeWrittenBackAsRead();

private:
    void useLook(const QString &style, int points);

    QString m_defaultStyle;
    QFont m_defaultFont;
};

namespace {

QString sizeText(const QSize &size)
{
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

struct TextRoom {
    QString text;
    QSize needs;
    QSize has;
};

// The text the widget shows, the room it needs for it and the room it has.
std::optional<TextRoom> textRoom(QWidget *widget)
{
    const QSize has = widget->size();
    if (auto *label = qobject_cast<QLabel *>(widget); label && !label->text().isEmpty()) {
        if (label->wordWrap())
            return TextRoom {label->text(), {0, label->heightForWidth(label->width())}, has};
        return TextRoom {label->text(), label->sizeHint(), has};
    }
    if (auto *button = qobject_cast<QAbstractButton *>(widget); button && !button->text().isEmpty()) {
        // A cut caption shows its ellipsis by design; it still needs room for it.
        const bool elides = qobject_cast<ElidingButton *>(button);
        return TextRoom {button->text(), elides ? button->minimumSizeHint() : button->sizeHint(), has};
    }
    if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
        const QString text = edit->text().isEmpty() ? edit->placeholderText() : edit->text();
        QStyleOptionFrame option;
        option.initFrom(edit);
        option.lineWidth = edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit) : 0;
        const QRect room = edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit)
                               .marginsRemoved(edit->textMargins());
        // QLineEdit keeps two pixels beside its text and one for the cursor.
        return TextRoom {text, {edit->fontMetrics().horizontalAdvance(text) + 5, edit->fontMetrics().height()}, room.size()};
    }
    if (auto *box = qobject_cast<QGroupBox *>(widget); box && !box->title().isEmpty())
        return TextRoom {box->title(), {box->minimumSizeHint().width(), 0}, has};
    if (auto *combo = qobject_cast<QComboBox *>(widget); combo && !combo->currentText().isEmpty()) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = combo->isEditable();
        const QRect room = combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
        const QFontMetrics metrics = combo->fontMetrics();
        return TextRoom {combo->currentText(), {metrics.horizontalAdvance(combo->currentText()), metrics.height()}, room.size()};
    }
    if (auto *bar = qobject_cast<QMenuBar *>(widget))
        return TextRoom {QStringLiteral("menu titles"), {bar->sizeHint().width(), 0}, has};
    return std::nullopt;
}

// The cut texts of the window as shown now; counts the texts looked at.
QStringList cutTexts(QWidget *window, int *checked)
{
    QStringList cut;
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        if (widget->window() != window || !widget->isVisibleTo(window))
            continue;
        const std::optional<TextRoom> room = textRoom(widget);
        if (!room)
            continue;
        ++*checked;
        if (room->needs.width() > room->has.width() || room->needs.height() > room->has.height()) {
            cut << QStringLiteral("%1: %2 %3 \"%4\" needs %5, has %6")
                       .arg(window->objectName(), QString::fromLatin1(widget->metaObject()->className()),
                            widget->objectName(), room->text.left(30), sizeText(room->needs), sizeText(room->has));
        }
    }
    return cut;
}

// Every page of the window's tabs in turn, or the window once.
QStringList cutTextsOnEveryPage(QWidget *window, int *checked)
{
    auto *pages = window->findChild<QTabWidget *>();
    if (!pages)
        return cutTexts(window, checked);
    QStringList cut;
    for (int page = 0; page < pages->count(); ++page) {
        pages->setCurrentIndex(page);
        // As the user sees it: laid out again for the page before it is painted.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        cut << cutTexts(window, checked);
    }
    pages->setCurrentIndex(0);
    return cut;
}

void saveScreenshot(QWidget *window, const QString &name)
{
    const QDir folder(qEnvironmentVariable("ORVANTIS_BUILD_DIR", QStringLiteral(".")) + QStringLiteral("/screenshots"));
    QVERIFY(folder.mkpath(QStringLiteral(".")));
    // All of a scrolled content in one picture.
    if (auto *scroll = window->findChild<QScrollArea *>(); scroll && window->minimumWidth() != window->maximumWidth())
        window->resize(window->size() + scroll->widget()->size() - scroll->viewport()->size());
    QVERIFY(window->grab().save(folder.filePath(name)));
}

} // namespace

void TestTextsFit::initTestCase()
{
    m_defaultStyle = QApplication::style()->name();
    m_defaultFont = QApplication::font();
}

void TestTextsFit::cleanup()
{
    useLook(m_defaultStyle, m_defaultFont.pointSize());
}

void TestTextsFit::useLook(const QString &style, int points)
{
    QStyle *made = QStyleFactory::create(style);
    QVERIFY2(made, qPrintable(QStringLiteral("style %1 is not installed (scripts/setup --test installs it); "
                                             "these are: %2")
                                  .arg(style, QStyleFactory::keys().join(QLatin1String(", ")))));
    QApplication::setStyle(made);
    QApplication::setPalette(made->standardPalette());
    QFont font = m_defaultFont;
    font.setPointSize(points);
    QApplication::setFont(font);
}

void TestTextsFit::everyTextWhole_data()
{
    QTest::addColumn<QString>("style");
    QTest::addColumn<int>("points");
    QTest::addColumn<bool>("picture");
    const QList<std::pair<const char *, QString>> styles {
        {"default", m_defaultStyle},
        {"fusion", QStringLiteral("Fusion")},
        {"adwaita", QStringLiteral("Adwaita")},
        {"adwaita-dark", QStringLiteral("Adwaita-Dark")},
        {"adwaita-high-contrast", QStringLiteral("Adwaita-HighContrast")},
    };
    for (const auto &[name, style] : styles) {
        for (int points = 9; points <= 14; ++points) {
            const bool picture = style != m_defaultStyle && (points == 9 || points == 12 || points == 14);
            QTest::addRow("%s-%dpt", name, points) << style << points << picture;
        }
    }
}

void TestTextsFit::everyTextWhole()
{
    QFETCH(QString, style);
    QFETCH(int, points);
    QFETCH(bool, picture);
    useLook(style, points);

    MainWindowRig rig;
    QVERIFY(rig.start());
    MainWindow &window = rig.window();
    // The widest texts each field holds: three digits, seven-letter favourites.
    rig.widget<QLineEdit>(QStringLiteral("EditAzimut"))->setText(QStringLiteral("300"));
    rig.action(QStringLiteral("MenuFav"))->trigger();
    QWidget &favourites = window.favouritesEditor();
    for (int n = 1; n <= FavouriteCount; ++n) {
        auto *azimuth = favourites.findChild<QAbstractSpinBox *>(QStringLiteral("SpinEdit%1").arg(n));
        azimuth->selectAll();
        QTest::keyClicks(azimuth, QStringLiteral("300"));
        auto *label = favourites.findChild<QLineEdit *>(QStringLiteral("Edit%1").arg(n));
        label->clear();
        QTest::keyClicks(label, QStringLiteral("Fav.30%1").arg(n));
    }
    QTest::mouseClick(favourites.findChild<QAbstractButton *>(QStringLiteral("BitBtnSave")), Qt::LeftButton);
    QCOMPARE(rig.widget<QAbstractButton>(QStringLiteral("Button6"))->text(), QStringLiteral("Fav.306"));
    rig.action(QStringLiteral("MenuAzimut"))->trigger();
    rig.action(QStringLiteral("MenuInit"))->trigger();
    rig.action(QStringLiteral("MenuAPropos"))->trigger();

    QList<QWidget *> windows {&window};
    for (QWidget *shown : QApplication::topLevelWidgets()) {
        if (shown != &window && shown->isVisible())
            windows << shown;
    }
    // The main window, the favourites editor, the angle window, the setup dialog and the about box.
    QCOMPARE(windows.size(), 5);
    int checked = 0;
    QStringList cut;
    for (QWidget *shown : windows) {
        QVERIFY(QTest::qWaitForWindowExposed(shown));
        cut << cutTextsOnEveryPage(shown, &checked);
        if (picture) {
            saveScreenshot(shown, QStringLiteral("%1-%2-%3pt-%4x.png")
                                      .arg(shown->objectName(), style.toLower())
                                      .arg(points)
                                      .arg(shown->devicePixelRatio()));
        }
    }
    cut.removeDuplicates();
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
    // So a row that found nothing to look at cannot pass.
    QVERIFY2(checked > 600, qPrintable(QString::number(checked)));
}

void TestTextsFit::savedSizeWrittenBackAsRead_data()
{
    QTest::addColumn<QStringList>("saved");
    QTest::addColumn<bool>("shownAsSaved");
    QTest::newRow("smaller than the texts need")
        << QStringList {QStringLiteral("WWIDTH=300"), QStringLiteral("WHEIGHT=90")} << false;
    QTest::newRow("larger") << QStringList {QStringLiteral("WWIDTH=900"), QStringLiteral("WHEIGHT=400")} << true;
}

void TestTextsFit::savedSizeWrittenBackAsRead()
{
    QFETCH(QStringList, saved);
    QFETCH(bool, shownAsSaved);
    useLook(QStringLiteral("Fusion"), 14);
    MainWindowRig rig(saved);
    QVERIFY(rig.start());
    const QSize savedSize(saved.at(0).section(QLatin1Char('='), 1).toInt(), saved.at(1).section(QLatin1Char('='), 1).toInt());
    if (shownAsSaved) {
        QCOMPARE(rig.window().size(), savedSize);
    } else {
        QVERIFY(rig.window().width() > savedSize.width());
        QVERIFY(rig.window().height() > savedSize.height());
    }
    int checked = 0;
    const QStringList cut = cutTexts(&rig.window(), &checked);
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));

    rig.action(QStringLiteral("MenuQuitter"))->trigger();
    QFile ini(QDir(rig.folder()).filePath(QStringLiteral("Orvantis.ini")));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QList<QByteArray> written = ini.readAll().split('\n');
    for (const QString &line : saved)
        QVERIFY2(written.contains(line.toLatin1() + '\r'), qPrintable(line));
}

QTEST_MAIN(TestTextsFit)
#include "tst_texts_fit.moc"
