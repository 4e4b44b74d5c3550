// Whatever writes to standard error — a box, a notice, the headless caption, Qt's
// own warnings, a trace, a refused command line — a reader sees one form:
// "orvantis: " once at the start of each line, and LF at its end.
#include "ProgramFolder.h"

#include <QDir>
#include <QRegularExpression>
#include <QTest>

#include <csignal>

namespace {
constexpr int StartTimeoutMs = 15000;
constexpr int ExitTimeoutMs = 10000;

QByteArray crlfLines(const QList<QByteArray> &lines)
{
    return "[ORVANTIS]\r\n" + lines.join("\r\n") + "\r\n";
}

// Why `bytes` breaks the form, or empty when every line keeps it.
QString formFault(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return QStringLiteral("nothing was written");
    if (!bytes.endsWith('\n'))
        return QStringLiteral("the last line has no LF");
    if (bytes.contains('\r'))
        return QStringLiteral("a CR is written");
    // A second program name, or a box's caption, right after the prefix.
    static const QRegularExpression repeated(
        QStringLiteral("^orvantis: (orvantis|error|erreur|warning|avertissement)\\s*:"),
        QRegularExpression::CaseInsensitiveOption);
    const QList<QByteArray> lines = bytes.chopped(1).split('\n');
    for (const QByteArray &line : lines) {
        const QString text = QString::fromUtf8(line);
        if (!text.startsWith(QLatin1String("orvantis: ")) || repeated.match(text).hasMatch())
            return QStringLiteral("this line: ") + text;
    }
    return QString();
}
} // namespace

class TestProgramStandardError : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyLineHasOnePrefix_data();
    void everyLineHasOnePrefix();
};

void TestProgramStandardError::everyLineHasOnePrefix_data()
{
    QTest::addColumn<ProgramFolder::Display>("display");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("settings"); // beside a bad WTOP; COM4 is a folder, COM5 is unplugged
    QTest::addColumn<QByteArray>("told");     // waited for before the program is stopped
    QTest::addColumn<int>("exitCode");
    using D = ProgramFolder::Display;
    const QStringList windowed;
    const QStringList headless {QStringLiteral("--headless")};
    const QByteArray notSerial = "ANT=GS232\r\nPORT_GS232=4";
    const QByteArray unplugged = "ANT=GS232\r\nPORT_GS232=5";
    QTest::newRow("windowed, adapter not a serial port") << D::Offscreen << windowed << notSerial << QByteArray("COM4 (")
                                                         << 0;
    QTest::newRow("windowed, adapter unplugged") << D::Offscreen << windowed << unplugged << QByteArray("COM5") << 0;
    QTest::newRow("windowed, in French") << D::Offscreen << windowed << "LANGUAGE=FRENCH\r\n" + notSerial
                                         << QByteArray("COM4 (") << 0;
    QTest::newRow("headless, adapter not a serial port") << D::None << headless << notSerial << QByteArray("COM4 (")
                                                         << 0;
    QTest::newRow("headless, bad setting") << D::None << headless << QByteArray() << QByteArray("WTOP") << 0;
    QTest::newRow("unknown option") << D::None << QStringList {QStringLiteral("--bogus")} << QByteArray()
                                    << QByteArray("Unknown option") << 1;
    QTest::newRow("no display") << D::None << windowed << QByteArray() << QByteArray("no display found") << 1;
}

void TestProgramStandardError::everyLineHasOnePrefix()
{
    QFETCH(ProgramFolder::Display, display);
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, settings);
    QFETCH(QByteArray, told);
    QFETCH(int, exitCode);

    ProgramFolder folder(display);
    QVERIFY(folder.isValid());
    const QString notADevice = QDir(folder.path()).filePath(QStringLiteral("not-a-device"));
    QVERIFY(QDir().mkpath(notADevice));
    QVERIFY(folder.linkComPort(4, notADevice));
    QVERIFY(folder.linkComPort(5, QDir(folder.path()).filePath(QStringLiteral("unplugged"))));
    QVERIFY(folder.writeIni(crlfLines({settings, "WTOP=abc"})));
    folder.setArguments(arguments);
    // The traces of every category come through Qt's message handler.
    folder.setEnvironment(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("orvantis.*.debug=true"));
    QVERIFY(folder.start());

    QVERIFY2(folder.waitForStandardError(told, StartTimeoutMs), folder.standardError().constData());
    if (folder.isRunning())
        QVERIFY(folder.stop(SIGTERM, ExitTimeoutMs));
    else
        QTRY_VERIFY_WITH_TIMEOUT(!folder.isRunning(), ExitTimeoutMs);
    QCOMPARE(folder.exitCode(), exitCode);
    const QByteArray written = folder.standardError();
    const QString fault = formFault(written);
    QVERIFY2(fault.isEmpty(), qPrintable(fault + QStringLiteral("\n") + QString::fromUtf8(written)));
}

QTEST_GUILESS_MAIN(TestProgramStandardError)
#include "tst_ProgramStandardError.moc"
