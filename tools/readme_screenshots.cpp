// Draws Orvantis's windows into PNG files for the README, with a sample settings
// file, on Qt's offscreen platform (no display needed).
#include "app/MainWindow.h"
#include "config/SettingsFiles.h"
#include "core/Station.h"
#include "dialogs/AngleDialog.h"
#include "dialogs/FavouritesEditor.h"
#include "dialogs/SetupDialog.h"
#include "rotors/RecordingPortIo.h"
#include "support/RecordingFeedback.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

bool save(QWidget &widget, const QString &folder, const QString &name)
{
    widget.repaint();
    const bool saved = widget.grab().save(QDir(folder).filePath(name));
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(name));
    return saved;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString target = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");

    QTemporaryDir folder;
    QFile ini(folder.filePath(QStringLiteral("Orvantis.ini")));
    ini.open(QIODevice::WriteOnly);
    ini.write("AUTO=1\r\nANT=GS232\r\nANGLE=123\r\nFAV1AZ=45\r\nFAV1TXT=EU\r\nFAV2AZ=300\r\nFAV2TXT=W6\r\n"
              "FAV3AZ=20\r\nFAV3TXT=JA\r\nFAV4AZ=180\r\nFAV4TXT=ZS\r\nFAV5AZ=90\r\nFAV5TXT=4X\r\n"
              "[HAMLIB]\r\nHAMLIB_MODEL=603\r\n");
    ini.close();

    SettingsFiles files(folder.path());
    RecordingFeedback feedback;
    RecordingPortIo portIo;
    QTemporaryDir emptyRoot;
    Station station({files, feedback, portIo, {emptyRoot.path(), emptyRoot.path(), emptyRoot.path()}});
    station.load();
    MainWindow window(station);
    window.show();
    if (!QTest::qWaitFor([&] { return station.activatedOnce(); }, 5000))
        return 1;

    bool ok = save(window, target, QStringLiteral("main-window.png"));
    window.MenuInitClick();
    QTest::qWait(200);
    ok = save(window.setupDialog(), target, QStringLiteral("setup-dialog.png")) && ok;
    // The Hamlib page, with the library's models, as a user choosing HAMLIB sees it.
    const QList<QRadioButton *> interfaces =
        window.setupDialog().findChild<QWidget *>(QStringLiteral("RadioGroupRotor"))->findChildren<QRadioButton *>();
    if (interfaces.size() > ordinal(InterfaceKind::Hamlib)) {
        QTest::mouseClick(interfaces.at(ordinal(InterfaceKind::Hamlib)), Qt::LeftButton);
        QTest::qWait(200);
        ok = save(window.setupDialog(), target, QStringLiteral("setup-hamlib.png")) && ok;
    }
    window.setupDialog().hide();
    window.favouritesEditor().show();
    QTest::qWait(100);
    ok = save(window.favouritesEditor(), target, QStringLiteral("favourites-editor.png")) && ok;
    window.angleDialog().show();
    QTest::qWait(100);
    ok = save(window.angleDialog(), target, QStringLiteral("angle-window.png")) && ok;
    return ok ? 0 : 1;
}
