// The built program on a real X display, driven by real key and mouse events
// (XTest through xdotool) as a user at the desk drives it; its GS-232 bytes on a
// pseudo-terminal standing in for COM5 and the settings it writes at exit are checked.
#include "ProgramFolder.h"
#include "support/PseudoTerminal.h"

#include <QDeadlineTimer>
#include <QStandardPaths>
#include <QTest>

#include <csignal>

namespace {

constexpr int TimeoutMs = 15000;
// Where the buttons sit in the main window's client area, below its menu bar.
constexpr int ClientHeight = 114;
const QPoint AzimuthBox(159, 23);
const QPoint StopButton(250, 60); // its centre

// Runs xdotool against $DISPLAY; every call is bounded, so a stuck server fails
// the test instead of hanging it.
QByteArray xdotool(const QStringList &arguments, bool *ok = nullptr)
{
    QProcess tool;
    tool.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    tool.start(QStringLiteral("xdotool"), arguments);
    const bool finished = tool.waitForFinished(TimeoutMs);
    if (ok)
        *ok = finished && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
    return tool.readAllStandardOutput().trimmed();
}

// A GS-232 controller on COM5, AUTO on, favourite 1 at 90 degrees.
class ProgramOnDisplay {
public:
    explicit ProgramOnDisplay(const QByteArray &extraIniLines)
        : m_folder(ProgramFolder::Display::X11)
    {
        const QByteArray ini = "[ORVANTIS]\r\nANT=GS232\r\nAUTO=1\r\nFAV1AZ=90\r\n" + extraIniLines
            + "[GS-232]\r\nPORT_GS232=5\r\n";
        m_started = m_folder.isValid() && m_pty.isValid() && m_folder.linkComPort(5, m_pty.slavePath())
            && m_folder.writeIni(ini) && m_folder.start();
    }

    ProgramFolder &folder() { return m_folder; }
    PseudoTerminal &com5() { return m_pty; }

    // The visible window whose title matches `title`, once the program shows it.
    QByteArray window(const QString &title)
    {
        const QDeadlineTimer deadline(TimeoutMs);
        while (m_started && !deadline.hasExpired() && m_folder.isRunning()) {
            const QByteArray id = xdotool({QStringLiteral("search"), QStringLiteral("--all"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                                           QString::number(m_folder.pid()), QStringLiteral("--name"), title})
                                      .split('\n')
                                      .first();
            if (!id.isEmpty())
                return id;
            QTest::qWait(50);
        }
        return {};
    }
    // The main window once its first activation has run: that gives it the status
    // caption, in capitals, in place of the program's name ("Orvantis", which
    // xdotool's case-blind search matches too).
    QByteArray mainWindow()
    {
        const QDeadlineTimer deadline(TimeoutMs);
        while (!deadline.hasExpired()) {
            const QByteArray id = window(QStringLiteral("^ORVANTIS"));
            if (id.isEmpty() || xdotool({QStringLiteral("getwindowname"), QString::fromLatin1(id)}).startsWith("ORVANTIS"))
                return id;
            QTest::qWait(50);
        }
        return {};
    }
    QByteArray angleWindow() { return window(QStringLiteral("^Angle$")); }

    // Why a step could not be taken, for the failure message: a program that never
    // started or has gone says how, and what it wrote to standard error.
    QString trouble()
    {
        if (!m_started)
            return QStringLiteral("the program did not start");
        if (m_folder.isRunning())
            return QStringLiteral("the program is running");
        return QStringLiteral("the program has gone (%1, code %2): %3")
            .arg(m_folder.exitStatus() == QProcess::CrashExit ? QStringLiteral("crashed") : QStringLiteral("exited"))
            .arg(m_folder.exitCode())
            .arg(QString::fromLocal8Bit(m_folder.standardError()));
    }

    // One step of a user's script: "focus:main", "focus:angle", "awaitfocus:angle",
    // "click:box", "click:stop", "key:<keys>" or "type:<text>".
    bool perform(const QString &step)
    {
        const QString verb = step.section(QLatin1Char(':'), 0, 0);
        const QString what = step.section(QLatin1Char(':'), 1);
        // Keys and clicks are taken once the first activation has run.
        const QByteArray main = mainWindow();
        const QByteArray target = what == QLatin1String("angle") ? angleWindow() : main;
        bool ok = !main.isEmpty() && !target.isEmpty();
        if (ok && verb == QLatin1String("focus"))
            ok = focus(target);
        else if (ok && verb == QLatin1String("awaitfocus"))
            ok = awaitFocus(target);
        else if (ok && verb == QLatin1String("click"))
            ok = click(target, what == QLatin1String("stop") ? StopButton : AzimuthBox);
        else if (verb == QLatin1String("key"))
            xdotool(QStringList{QStringLiteral("key")} + what.split(QLatin1Char(' ')), &ok);
        else if (verb == QLatin1String("type"))
            xdotool({QStringLiteral("type"), what}, &ok);
        // Gives the program time to handle the events before the next step looks.
        QTest::qWait(150);
        return ok;
    }

private:
    // A window just mapped may refuse the focus for a moment (BadMatch): retried.
    bool focus(const QByteArray &target)
    {
        const QDeadlineTimer deadline(TimeoutMs);
        bool ok = false;
        while (!ok && !deadline.hasExpired()) {
            xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), QString::fromLatin1(target)}, &ok);
            if (!ok)
                QTest::qWait(50);
        }
        return ok;
    }

    bool awaitFocus(const QByteArray &target)
    {
        const QDeadlineTimer deadline(TimeoutMs);
        while (!deadline.hasExpired()) {
            if (xdotool({QStringLiteral("getwindowfocus")}) == target)
                return true;
            QTest::qWait(50);
        }
        return false;
    }

    bool click(const QByteArray &target, QPoint inClientArea)
    {
        bool ok = false;
        const QList<QByteArray> lines = xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"),
                                                 QString::fromLatin1(target)}, &ok)
                                            .split('\n');
        QMap<QByteArray, int> geometry;
        for (const QByteArray &line : lines) {
            const qsizetype equals = line.indexOf('=');
            geometry.insert(line.left(equals), line.mid(equals + 1).toInt());
        }
        const int menuBarHeight = geometry.value("HEIGHT") - ClientHeight;
        const QPoint at = QPoint(geometry.value("X"), geometry.value("Y") + menuBarHeight) + inClientArea;
        xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(at.x()), QString::number(at.y()),
                 QStringLiteral("click"), QStringLiteral("1")},
                &ok);
        return ok && menuBarHeight > 0;
    }

    ProgramFolder m_folder;
    PseudoTerminal m_pty;
    bool m_started = false;
};

} // namespace

class ProgramKeyboardTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void keysAndClicksReachTheController_data();
    void keysAndClicksReachTheController();
};

void ProgramKeyboardTest::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs an X display (scripts/test runs the tests under xvfb-run)");
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty(),
             "xdotool is missing: run scripts/setup");
}

void ProgramKeyboardTest::keysAndClicksReachTheController_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QByteArray>("controllerBytes");
    QTest::addColumn<QByteArray>("languageAtExit");

    const QByteArray angleShown = "WANGLE=1\r\n";
    QTest::newRow("keypad favourite and STOP from the main window")
        << QByteArray() << QStringList{"focus:main", "key:ctrl+KP_1", "key:ctrl+KP_9"} << QByteArray("W090\rS\r")
        << QByteArray("ENGLISH");
    QTest::newRow("keypad favourite and STOP from the angle window")
        << angleShown << QStringList{"focus:angle", "key:ctrl+KP_1", "key:ctrl+KP_9"}
        << QByteArray("W090\rS\r") << QByteArray("ENGLISH");
    // The angle window takes the keyboard at start and keeps it after each entry.
    QTest::newRow("two entries typed in the angle window")
        << angleShown << QStringList{"awaitfocus:angle", "type:123", "key:Return", "type:124", "key:Return"}
        << QByteArray("W123\rW124\r") << QByteArray("ENGLISH");
    // The notice of the emptied box must neither cover nor swallow the click.
    QTest::newRow("STOP clicked right after emptying the box")
        << QByteArray() << QStringList{"focus:main", "key:End BackSpace", "type:7", "key:BackSpace", "click:stop"}
        << QByteArray("W007\rS\r") << QByteArray("ENGLISH");
    QTest::newRow("Ctrl+E with the keyboard in the azimuth box")
        << QByteArray("LANGUAGE=FRENCH\r\n") << QStringList{"focus:main", "click:box", "key:ctrl+e"} << QByteArray()
        << QByteArray("ENGLISH");
    QTest::newRow("Ctrl+F from the angle window")
        << angleShown << QStringList{"awaitfocus:angle", "key:ctrl+f"} << QByteArray()
        << QByteArray("FRENCH");
}

void ProgramKeyboardTest::keysAndClicksReachTheController()
{
    QFETCH(QByteArray, ini);
    QFETCH(QStringList, steps);
    QFETCH(QByteArray, controllerBytes);
    QFETCH(QByteArray, languageAtExit);

    ProgramOnDisplay program(ini);
    for (const QString &step : steps)
        QVERIFY2(program.perform(step), qPrintable(step + QStringLiteral(": ") + program.trouble()));
    QCOMPARE(program.com5().readAtLeast(controllerBytes.size(), 3000), controllerBytes);

    QVERIFY(program.folder().stop(SIGTERM, TimeoutMs));
    QVERIFY(program.folder().readIni().contains(QByteArray("\r\nLANGUAGE=" + languageAtExit + "\r\n")));
}

QTEST_MAIN(ProgramKeyboardTest)
#include "tst_ProgramKeyboard.moc"
