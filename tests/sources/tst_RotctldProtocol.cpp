#include "RecordingRotctldHost.h"
#include "sources/RotctldProtocol.h"

#include <QTest>

using namespace RotctldProtocol;

Q_DECLARE_METATYPE(RotorOutcome)

namespace {

QByteArray answerLine(const QByteArray &line, RecordingRotctldHost &host)
{
    QByteArray reply;
    answer(parseLine(line), host, [&reply](const QByteArray &bytes) { reply = bytes; });
    return reply;
}

} // namespace

class TestRotctldProtocol : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void replies_data();
    void replies();
    void answersSayWhatHappened_data();
    void answersSayWhatHappened();
    void stateDumpReadByHamlibsNetworkBackend();
    void capsDumpEndsWithStatus();
    void infoStaysOneLine();
    void quitAndBlankLinesAnswerNothing_data();
    void quitAndBlankLinesAnswerNothing();
    void lineBuffer_data();
    void lineBuffer();
};

void TestRotctldProtocol::replies_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QStringList>("calls");

    const QStringList none;
    // Hamlib's own client and gpredict.
    QTest::newRow("P as rotctl sends it") << QByteArray("P 123.000000 0.000000") << QByteArray("RPRT 0\n")
                                          << QStringList {"enter 123"};
    QTest::newRow("P as gpredict sends it") << QByteArray("P 271.45 38.20") << QByteArray("RPRT 0\n")
                                            << QStringList {"enter 271"};
    QTest::newRow("fraction dropped, not rounded") << QByteArray("P 359.99 0") << QByteArray("RPRT 0\n")
                                                   << QStringList {"enter 359"};
    QTest::newRow("360 is north") << QByteArray("P 360 0") << QByteArray("RPRT 0\n") << QStringList {"enter 360"};
    QTest::newRow("minus zero") << QByteArray("P -0.00 0") << QByteArray("RPRT 0\n") << QStringList {"enter 0"};
    QTest::newRow("comma locale") << QByteArray("P 12,5 3,0") << QByteArray("RPRT 0\n") << QStringList {"enter 12"};
    QTest::newRow("exponent") << QByteArray("P 1.5e2 0") << QByteArray("RPRT 0\n") << QStringList {"enter 150"};
    QTest::newRow("elevation ignored") << QByteArray("P 10 89.5") << QByteArray("RPRT 0\n")
                                       << QStringList {"enter 10"};
    QTest::newRow("long name, CR LF client") << QByteArray("\\set_pos 45 0\r") << QByteArray("RPRT 0\n")
                                             << QStringList {"enter 45"};
    QTest::newRow("blanks around") << QByteArray(" \tP  45\t0  ") << QByteArray("RPRT 0\n")
                                   << QStringList {"enter 45"};
    QTest::newRow("p") << QByteArray("p") << QByteArray("200.00\n0.00\n") << none;
    QTest::newRow("get_pos") << QByteArray("\\get_pos") << QByteArray("200.00\n0.00\n") << none;
    QTest::newRow("S") << QByteArray("S") << QByteArray("RPRT 0\n") << QStringList {"stop"};
    QTest::newRow("stop") << QByteArray("\\stop") << QByteArray("RPRT 0\n") << QStringList {"stop"};
    QTest::newRow("K") << QByteArray("K") << QByteArray("RPRT 0\n") << QStringList {"park"};
    QTest::newRow("park") << QByteArray("\\park") << QByteArray("RPRT 0\n") << QStringList {"park"};
    QTest::newRow("_") << QByteArray("_") << QByteArray("ORVANTIS V2.4.1 - GS232 / COM5\n") << none;
    QTest::newRow("get_info") << QByteArray("\\get_info") << QByteArray("ORVANTIS V2.4.1 - GS232 / COM5\n") << none;

    // The extended forms: the command named, every value labelled, the status last.
    QTest::newRow("+P") << QByteArray("+P 10 20") << QByteArray("set_pos: 10 20\nRPRT 0\n")
                        << QStringList {"enter 10"};
    QTest::newRow(";P") << QByteArray(";P 10 20") << QByteArray("set_pos: 10 20;RPRT 0\n")
                        << QStringList {"enter 10"};
    QTest::newRow("+p") << QByteArray("+p") << QByteArray("get_pos:\nAzimuth: 200.00\nElevation: 0.00\nRPRT 0\n")
                        << none;
    QTest::newRow(";p") << QByteArray(";p") << QByteArray("get_pos:;Azimuth: 200.00;Elevation: 0.00;RPRT 0\n")
                        << none;
    QTest::newRow("|p") << QByteArray("|p") << QByteArray("get_pos:|Azimuth: 200.00|Elevation: 0.00|RPRT 0\n")
                        << none;
    QTest::newRow(",p") << QByteArray(",p") << QByteArray("get_pos:,Azimuth: 200.00,Elevation: 0.00,RPRT 0\n")
                        << none;
    QTest::newRow("+\\get_pos") << QByteArray("+\\get_pos")
                                << QByteArray("get_pos:\nAzimuth: 200.00\nElevation: 0.00\nRPRT 0\n") << none;
    QTest::newRow("prefix apart") << QByteArray("+ p")
                                  << QByteArray("get_pos:\nAzimuth: 200.00\nElevation: 0.00\nRPRT 0\n") << none;
    QTest::newRow("+S") << QByteArray("+S") << QByteArray("stop:\nRPRT 0\n") << QStringList {"stop"};
    QTest::newRow("|K") << QByteArray("|K") << QByteArray("park:|RPRT 0\n") << QStringList {"park"};
    QTest::newRow("+_") << QByteArray("+_") << QByteArray("get_info:\nInfo: ORVANTIS V2.4.1 - GS232 / COM5\nRPRT 0\n")
                        << none;

    // Refused: the program is left as it was, the client may go on.
    const QByteArray invalid("RPRT -1\n");
    QTest::newRow("azimuth below range") << QByteArray("P -0.5 0") << invalid << none;
    QTest::newRow("azimuth above range") << QByteArray("P 360.01 0") << invalid << none;
    QTest::newRow("azimuth far above") << QByteArray("P 1e300 0") << invalid << none;
    QTest::newRow("not a number") << QByteArray("P abc 0") << invalid << none;
    QTest::newRow("trailing garbage") << QByteArray("P 12x 0") << invalid << none;
    QTest::newRow("hexadecimal") << QByteArray("P 0x10 0") << invalid << none;
    QTest::newRow("nan") << QByteArray("P nan 0") << invalid << none;
    QTest::newRow("infinite elevation") << QByteArray("P 10 inf") << invalid << none;
    QTest::newRow("both separators") << QByteArray("P 1,000.5 0") << invalid << none;
    QTest::newRow("elevation missing") << QByteArray("P 10") << invalid << none;
    QTest::newRow("no arguments") << QByteArray("P") << invalid << none;
    QTest::newRow("one too many") << QByteArray("P 1 2 3") << invalid << none;
    QTest::newRow("argument to p") << QByteArray("p extra") << invalid << none;
    QTest::newRow("argument to S") << QByteArray("S now") << invalid << none;
    QTest::newRow("unknown letter") << QByteArray("x") << invalid << none;
    QTest::newRow("unknown long name") << QByteArray("\\set_level AZ 1") << invalid << none;
    QTest::newRow("long name by its letter") << QByteArray("\\P 1 2") << invalid << none;
    QTest::newRow("lone backslash") << QByteArray("\\") << invalid << none;
    QTest::newRow("lone prefix") << QByteArray("+") << invalid << none;
    QTest::newRow("two prefixes") << QByteArray("++p") << invalid << none;
    QTest::newRow("letters glued") << QByteArray("pp") << invalid << none;
    QTest::newRow("NUL inside") << QByteArray("P 1\0" "0 0", 8) << invalid << none;
    QTest::newRow("binary") << QByteArray("\xff\xfe\x01\x80") << invalid << none;
    QTest::newRow("extended refusal names the command") << QByteArray("+P abc 0")
                                                        << QByteArray("set_pos: abc 0\nRPRT -1\n") << none;
    QTest::newRow("extended refusal, one line") << QByteArray(";P 400 0") << QByteArray("set_pos: 400 0;RPRT -1\n")
                                                << none;
    QTest::newRow("extended unknown") << QByteArray("+xyz") << invalid << none;
}

void TestRotctldProtocol::replies()
{
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, reply);
    QFETCH(QStringList, calls);
    RecordingRotctldHost host;
    host.azimuthShown = 200;
    QCOMPARE(answerLine(line, host), reply);
    QCOMPARE(host.calls(), calls);
}

// A client is told "done" only for a move that went out (or that the minimum
// step found already done) and a position the program knows; every other case
// is the Hamlib error code of what happened.
void TestRotctldProtocol::answersSayWhatHappened_data()
{
    using Reason = RotorOutcome::Reason;
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<RotorOutcome>("outcome");
    QTest::addColumn<std::optional<double>>("known");
    QTest::addColumn<bool>("readsBack");
    QTest::addColumn<QByteArray>("reply");

    const std::optional<double> at200 = 200.0;
    const std::optional<double> unknown;
    const RotorOutcome sent = RotorOutcome::sentNow();
    const struct {
        const char *name;
        RotorOutcome outcome;
        QByteArray reply;
    } moves[] = {
        {"sent", sent, "RPRT 0\n"},
        {"held by the step", RotorOutcome::held(), "RPRT 0\n"},
        {"beyond the limits", RotorOutcome::refused(Reason::OutOfLimits), "RPRT -1\n"},
        {"no port", RotorOutcome::refused(Reason::NoPort), "RPRT -6\n"},
        {"device failed", RotorOutcome::failed(Reason::Device), "RPRT -6\n"},
        {"AUTO off or Init open", RotorOutcome::refused(Reason::NotAccepted), "RPRT -9\n"},
        {"overtaken", RotorOutcome::refused(Reason::Overtaken), "RPRT -9\n"},
        {"not supported", RotorOutcome::refused(Reason::NotSupported), "RPRT -11\n"},
        {"no interface", RotorOutcome::refused(Reason::NoInterface), "RPRT -11\n"},
        {"timed out", RotorOutcome::failed(Reason::TimedOut), "RPRT -5\n"},
    };
    for (const auto &move : moves)
        QTest::newRow(move.name) << QByteArray("P 10 0") << move.outcome << at200 << false << move.reply;
    QTest::newRow("extended form") << QByteArray("+P 10 0") << RotorOutcome::refused(Reason::NoInterface) << at200
                                   << false << QByteArray("set_pos: 10 0\nRPRT -11\n");
    QTest::newRow("nothing sent yet") << QByteArray("p") << sent << unknown << false << QByteArray("RPRT -11\n");
    QTest::newRow("controller silent so far") << QByteArray(";p") << sent << unknown << true
                                              << QByteArray("get_pos:;RPRT -5\n");
    QTest::newRow("controller reported") << QByteArray("p") << sent << std::optional<double>(251.5) << true
                                         << QByteArray("251.50\n0.00\n");
    QTest::newRow("s") << QByteArray("s") << sent << at200 << true << QByteArray("RPRT -11\n");
    QTest::newRow("get_status") << QByteArray("+\\get_status") << sent << at200 << true
                                << QByteArray("get_status:\nRPRT -11\n");
    QTest::newRow("R") << QByteArray("R 1") << sent << at200 << true << QByteArray("RPRT -11\n");
    QTest::newRow("M") << QByteArray("M 8 50") << sent << at200 << true << QByteArray("RPRT -11\n");
    QTest::newRow("M without arguments") << QByteArray("M") << sent << at200 << true << QByteArray("RPRT -11\n");
}

void TestRotctldProtocol::answersSayWhatHappened()
{
    QFETCH(QByteArray, line);
    QFETCH(RotorOutcome, outcome);
    QFETCH(std::optional<double>, known);
    QFETCH(bool, readsBack);
    QFETCH(QByteArray, reply);
    RecordingRotctldHost host;
    host.moveOutcome = outcome;
    host.azimuthShown = known;
    host.controllerAsked = readsBack;
    QCOMPARE(answerLine(line, host), reply);
}

void TestRotctldProtocol::stateDumpReadByHamlibsNetworkBackend()
{
    RecordingRotctldHost host;
    QCOMPARE(answerLine("\\dump_state", host),
             QByteArray("1\n2\nmin_az=0.000000\nmax_az=360.000000\nmin_el=0.000000\nmax_el=90.000000\n"
                        "south_zero=0\nrot_type=Az\ndone\n"));
    QCOMPARE(answerLine("|\\dump_state", host),
             QByteArray("dump_state:|rotctld Protocol Ver: 1|Rotor Model: 2|Minimum Azimuth: 0.000000|"
                        "Maximum Azimuth: 360.000000|Minimum Elevation: 0.000000|Maximum Elevation: 90.000000|"
                        "South Zero: 0|rot_type=Az|done|RPRT 0\n"));
    QVERIFY(host.calls().isEmpty());
}

void TestRotctldProtocol::capsDumpEndsWithStatus()
{
    RecordingRotctldHost host;
    const QByteArray caps = answerLine("\\dump_caps", host);
    QVERIFY(caps.startsWith("Caps dump for model:\t2\nModel name:\t\tOrvantis\n"));
    QVERIFY(caps.contains("\nBackend version:\t2.4.1\n"));
    QVERIFY(caps.contains("\nMax Azimuth:\t\t360.00\n"));
    QVERIFY(caps.endsWith("\nCan get Info:\t\tY\nRPRT 0\n"));

    const QByteArray oneLine = answerLine(";\\dump_caps", host);
    QVERIFY(oneLine.startsWith("dump_caps:;Caps dump for model:\t2;"));
    QVERIFY(oneLine.endsWith(";Can get Info:\t\tY;RPRT 0\n"));
    QCOMPARE(oneLine.count('\n'), 1);
}

void TestRotctldProtocol::infoStaysOneLine()
{
    RecordingRotctldHost host;
    host.info = QStringLiteral("Orvantis\r\nRPRT 0\nrouge é");
    QCOMPARE(answerLine("_", host), QByteArray("Orvantis  RPRT 0 rouge \xc3\xa9\n"));
}

void TestRotctldProtocol::quitAndBlankLinesAnswerNothing_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("command");
    QTest::newRow("empty") << QByteArray() << int(Request::Command::None);
    QTest::newRow("blanks") << QByteArray(" \t ") << int(Request::Command::None);
    QTest::newRow("q") << QByteArray("q") << int(Request::Command::Quit);
    QTest::newRow("Q") << QByteArray("Q") << int(Request::Command::Quit);
    QTest::newRow("quit") << QByteArray("\\quit") << int(Request::Command::Quit);
    QTest::newRow("+q") << QByteArray("+q") << int(Request::Command::Quit);
}

void TestRotctldProtocol::quitAndBlankLinesAnswerNothing()
{
    QFETCH(QByteArray, line);
    QFETCH(int, command);
    const Request request = parseLine(line);
    QCOMPARE(int(request.command), command);
    RecordingRotctldHost host;
    QVERIFY(answerAtOnce(request, host).isEmpty());
    QVERIFY(host.calls().isEmpty());
}

void TestRotctldProtocol::lineBuffer_data()
{
    QTest::addColumn<QList<QByteArray>>("chunks");
    QTest::addColumn<QList<QByteArray>>("lines"); // "!" stands for an overlong line

    using Chunks = QList<QByteArray>;
    QTest::newRow("one line") << Chunks {"p\n"} << Chunks {"p"};
    QTest::newRow("CR LF") << Chunks {"p\r\nS\r\n"} << Chunks {"p", "S"};
    QTest::newRow("split across reads") << Chunks {"P 12", "3 0", "\np\n"} << Chunks {"P 123 0", "p"};
    QTest::newRow("unfinished line waits") << Chunks {"p\nP 1"} << Chunks {"p"};
    QTest::newRow("exactly the limit") << Chunks {QByteArray(8, 'a') + '\n'} << Chunks {QByteArray(8, 'a')};
    QTest::newRow("limit plus CR") << Chunks {QByteArray(8, 'a') + "\r\n"} << Chunks {QByteArray(8, 'a')};
    QTest::newRow("one over, terminated") << Chunks {QByteArray(9, 'a') + "\np\n"} << Chunks {"!", "p"};
    QTest::newRow("overlong reported once, rest dropped")
        << Chunks {QByteArray(8, 'a'), QByteArray(8, 'b'), QByteArray(8, 'c'), "dd\nS\n"} << Chunks {"!", "S"};
    QTest::newRow("overlong never ended") << Chunks {QByteArray(8, 'x'), QByteArray(8, 'x'), QByteArray(8, 'x')}
                                          << Chunks {"!"};
    QTest::newRow("NUL kept in a line") << Chunks {QByteArray("a\0b\n", 4)} << Chunks {QByteArray("a\0b", 3)};
}

void TestRotctldProtocol::lineBuffer()
{
    QFETCH(QList<QByteArray>, chunks);
    QFETCH(QList<QByteArray>, lines);
    constexpr qsizetype Limit = 8;
    LineBuffer buffer(Limit);
    QList<QByteArray> got;
    for (const QByteArray &chunk : chunks) {
        buffer.append(chunk);
        while (const auto line = buffer.next())
            got << (line->overlong ? QByteArray("!") : line->text);
        QVERIFY(buffer.buffered() <= Limit);
    }
    QCOMPARE(got, lines);
}

QTEST_GUILESS_MAIN(TestRotctldProtocol)
#include "tst_RotctldProtocol.moc"
