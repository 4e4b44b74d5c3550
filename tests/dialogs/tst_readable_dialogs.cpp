#include "SetupDialogRig.h"

#include "dialogs/AngleDialog.h"
#include "dialogs/AngleDialogHost.h"
#include "dialogs/FavouritesEditor.h"
#include "ui/AboutBox.h"
#include "ui/ContrastRatio.h"
#include "ui/UrlOpener.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <QStyleOptionGroupBox>
#include <QTabWidget>
#include <QTest>

#include <functional>
#include <memory>

// Every text of the configuration windows (labels, titles, choices, fields), painted under a dark and a
// high-contrast theme, stands out from what it is painted on.
class TestReadableDialogs : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void everyTextReadable_data();
    void everyTextReadable();
};

namespace {

class IdleAngleHost final : public AngleDialogHost {
public:
    void takeAngle(int) override {}
};

class IdleOpener final : public UrlOpener {
public:
    void open(const QUrl &) override {}
};

// A window under test with whatever it needs kept alive beside it.
struct Shown {
    std::shared_ptr<void> owner;
    QWidget *window;
};
using MakeWindow = std::function<Shown()>;

Shown setupDialog()
{
    auto rig = std::make_shared<DialogRig>();
    return {rig, &rig->dialog};
}

Shown favouritesEditor()
{
    struct Parts {
        Configuration config;
        RecordingFeedback feedback;
        FavouritesEditor editor {config, feedback, [] { return Language::english(); }, [](int, const QString &) {}};
    };
    auto parts = std::make_shared<Parts>();
    return {parts, &parts->editor};
}

Shown angleDialog()
{
    struct Parts {
        IdleAngleHost host;
        RecordingFeedback feedback;
        AngleDialog dialog {host, feedback};
    };
    auto parts = std::make_shared<Parts>();
    parts->dialog.findChild<QLineEdit *>(QStringLiteral("EditAngle"))->setText(QStringLiteral("123"));
    return {parts, &parts->dialog};
}

Shown aboutBox()
{
    struct Parts {
        IdleOpener opener;
        AboutBox box {opener};
    };
    auto parts = std::make_shared<Parts>();
    return {parts, &parts->box};
}

QPalette darkFusion()
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(53, 53, 53));
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Base, QColor(35, 35, 35));
    dark.setColor(QPalette::AlternateBase, QColor(53, 53, 53));
    dark.setColor(QPalette::ToolTipBase, QColor(25, 25, 25));
    dark.setColor(QPalette::ToolTipText, Qt::white);
    dark.setColor(QPalette::Text, Qt::white);
    dark.setColor(QPalette::Button, QColor(53, 53, 53));
    dark.setColor(QPalette::ButtonText, Qt::white);
    dark.setColor(QPalette::BrightText, Qt::red);
    dark.setColor(QPalette::Link, QColor(42, 130, 218));
    dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
    dark.setColor(QPalette::HighlightedText, Qt::black);
    return dark;
}

QPalette highContrast()
{
    QPalette stark(Qt::white, Qt::black, Qt::white, Qt::white, Qt::white, Qt::white, Qt::white, Qt::black, Qt::black);
    stark.setColor(QPalette::Highlight, Qt::yellow);
    stark.setColor(QPalette::HighlightedText, Qt::black);
    stark.setColor(QPalette::Link, Qt::cyan);
    return stark;
}

// Where the widget paints its text, in the window's coordinates; empty for a
// widget without text.
QRect textArea(QWidget *widget, QWidget *window)
{
    QRect area;
    if (auto *label = qobject_cast<QLabel *>(widget); label && !label->text().isEmpty()) {
        area = label->contentsRect();
    } else if (auto *box = qobject_cast<QGroupBox *>(widget); box && !box->title().isEmpty()) {
        QStyleOptionGroupBox option;
        option.initFrom(box);
        option.text = box->title();
        option.textAlignment = box->alignment();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        area = box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
    } else if (auto *edit = qobject_cast<QLineEdit *>(widget); edit && !edit->text().isEmpty()) {
        QStyleOptionFrame option;
        option.initFrom(edit);
        option.lineWidth = edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit) : 0;
        area = edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit);
    } else if (auto *button = qobject_cast<QAbstractButton *>(widget);
               button && !button->text().isEmpty() && (qobject_cast<QRadioButton *>(button) || qobject_cast<QCheckBox *>(button))) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const auto element = qobject_cast<QRadioButton *>(button) ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents;
        area = button->style()->subElementRect(element, &option, button);
    }
    if (area.isEmpty())
        return {};
    return QRect(widget->mapTo(window, area.topLeft()), area.size()).intersected(window->rect());
}

// The most frequent colour of the area is taken as its background, and the one
// that stands out most from it as the text's.
double sampledContrast(const QImage &image, const QRect &area, QString *colours)
{
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[image.pixel(x, y)];
    QRgb background = 0;
    int most = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most) {
            most = it.value();
            background = it.key();
        }
    }
    double best = 1;
    QRgb text = background;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (const double ratio = contrastRatio(QColor(it.key()), QColor(background)); ratio > best) {
            best = ratio;
            text = it.key();
        }
    }
    *colours = QStringLiteral("%1 on %2").arg(QColor(text).name(), QColor(background).name());
    return best;
}

QString describe(QWidget *widget)
{
    QString text;
    if (auto *label = qobject_cast<QLabel *>(widget))
        text = label->text();
    else if (auto *edit = qobject_cast<QLineEdit *>(widget))
        text = edit->text();
    else if (auto *box = qobject_cast<QGroupBox *>(widget))
        text = box->title();
    else if (auto *button = qobject_cast<QAbstractButton *>(widget))
        text = button->text();
    return QStringLiteral("%1 %2 \"%3\"").arg(QString::fromLatin1(widget->metaObject()->className()), widget->objectName(),
                                               text.left(30));
}

// The texts of the window as it is shown now, with their contrast where it is too low.
QStringList unreadableTexts(QWidget *window, int *checked)
{
    const QImage image = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QStringList unreadable;
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        if (!widget->isVisibleTo(window))
            continue;
        const QRect area = textArea(widget, window);
        if (area.isEmpty())
            continue;
        ++*checked;
        QString colours;
        if (const double ratio = sampledContrast(image, area, &colours); ratio < ReadableContrast)
            unreadable << QStringLiteral("%1: %2, %3").arg(describe(widget)).arg(ratio, 0, 'f', 2).arg(colours);
    }
    return unreadable;
}

} // namespace

Q_DECLARE_METATYPE(MakeWindow)

void TestReadableDialogs::initTestCase()
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
}

void TestReadableDialogs::cleanup()
{
    QApplication::setPalette(QApplication::style()->standardPalette());
}

void TestReadableDialogs::everyTextReadable_data()
{
    QTest::addColumn<MakeWindow>("make");
    QTest::addColumn<QPalette>("palette");
    QTest::addColumn<int>("fewestTexts"); // so a window that shows nothing cannot pass

    const QList<std::tuple<const char *, MakeWindow, int>> windows {
        {"setup dialog", setupDialog, 150},
        {"favourites editor", favouritesEditor, 6},
        {"angle dialog", angleDialog, 1},
        {"about box", aboutBox, 4},
    };
    const QList<std::pair<const char *, QPalette>> palettes {
        {"light", QApplication::style()->standardPalette()},
        {"dark", darkFusion()},
        {"high contrast", highContrast()},
    };
    for (const auto &[windowName, make, fewest] : windows)
        for (const auto &[paletteName, palette] : palettes)
            QTest::addRow("%s, %s", windowName, paletteName) << make << palette << fewest;
}

void TestReadableDialogs::everyTextReadable()
{
    QFETCH(MakeWindow, make);
    QFETCH(QPalette, palette);
    QFETCH(int, fewestTexts);

    QApplication::setPalette(palette);
    const Shown shown = make();
    QWidget *window = shown.window;
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    // All of a scrolled content in view at once.
    if (auto *scroll = window->findChild<QScrollArea *>())
        window->resize(scroll->widget()->sizeHint() + QSize(40, 40));

    // A selection is painted in the theme's own colours, which are not ours to judge.
    for (QLineEdit *edit : window->findChildren<QLineEdit *>())
        edit->deselect();

    int checked = 0;
    QStringList unreadable;
    auto *pages = window->findChild<QTabWidget *>();
    for (int page = 0; page < (pages ? pages->count() : 1); ++page) {
        if (pages)
            pages->setCurrentIndex(page);
        unreadable << unreadableTexts(window, &checked);
    }
    unreadable.removeDuplicates();
    QVERIFY2(unreadable.isEmpty(), qPrintable(unreadable.join(QLatin1Char('\n'))));
    QVERIFY2(checked >= fewestTexts, qPrintable(QString::number(checked)));
}

QTEST_MAIN(TestReadableDialogs)
#include "tst_readable_dialogs.moc"
