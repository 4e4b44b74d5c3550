// Hamlib clients steering the built program: Hamlib's own rotctl, a gpredict-style
// plain socket and hostile clients on loopback, GS-232 bytes checked on a
// pseudo-terminal standing in for COM5.
#include "ProgramFolder.h"
#include "support/FreePorts.h"
#include "support/PseudoTerminal.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <csignal>
#include <memory>
#include <vector>

namespace {

constexpr int StartTimeoutMs = 15000;
constexpr int ExitTimeoutMs = 15000;
constexpr int ReplyTimeoutMs = 5000;

// A GS-232 controller on COM5 with AUTO on and the rotctld server on a free port.
class ServingProgram {
public:
    // `settings` are further lines of the [ORVANTIS] section.
    explicit ServingProgram(const QByteArray &settings = "AUTO=1\r\nANT=GS232\r\n")
        : m_port(freeTcpPort())
    {
        const QByteArray ini = "[ORVANTIS]\r\n" + settings + "[GS-232]\r\nPORT_GS232=5\r\n"
                               "[ROTCTLD]\r\nROTCTLD=1\r\nROTCTLD_PORT="
            + QByteArray::number(m_port) + "\r\n";
        m_ready = m_port != 0 && m_folder.isValid() && m_pty.isValid() && m_folder.linkComPort(5, m_pty.slavePath())
            && m_folder.writeIni(ini) && m_folder.start() && waitUntilServing();
    }

    bool isReady() const { return m_ready; }
    ProgramFolder &folder() { return m_folder; }
    PseudoTerminal &com5() { return m_pty; }
    quint16 port() const { return m_port; }

    std::unique_ptr<QTcpSocket> connectClient()
    {
        auto socket = std::make_unique<QTcpSocket>();
        socket->connectToHost(QHostAddress::LocalHost, m_port);
        return socket;
    }

private:
    bool waitUntilServing()
    {
        const QDeadlineTimer deadline(StartTimeoutMs);
        while (!deadline.hasExpired() && m_folder.isRunning()) {
            QTcpSocket probe;
            probe.connectToHost(QHostAddress::LocalHost, m_port);
            if (probe.waitForConnected(200))
                return true;
            QTest::qWait(50);
        }
        return false;
    }

    quint16 m_port;
    ProgramFolder m_folder;
    PseudoTerminal m_pty;
    bool m_ready = false;
};

// Everything the socket receives until `size` bytes are there or time runs out.
QByteArray receive(QTcpSocket &socket, qsizetype size)
{
    QByteArray got;
    const QDeadlineTimer deadline(ReplyTimeoutMs);
    while (got.size() < size && !deadline.hasExpired()) {
        socket.waitForReadyRead(50);
        got += socket.readAll();
    }
    return got;
}

} // namespace

class ProgramRotctldTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void hamlibRotctlSteersGs232();
    void gpredictStyleClient();
    void answersTellTheTruth_data();
    void answersTellTheTruth();
    void hostileClientsNeverMoveTheAntenna();
    void hungLibraryCallHoldsNobodyElse();
};

void ProgramRotctldTest::hamlibRotctlSteersGs232()
{
    const QString rotctl = QStandardPaths::findExecutable(QStringLiteral("rotctl"));
    if (rotctl.isEmpty())
        QSKIP("Hamlib's rotctl is not installed (scripts/setup installs libhamlib-utils)");
    ServingProgram program;
    QVERIFY2(program.isReady(), "the program did not come up serving rotctld");

    const QString address = QStringLiteral("127.0.0.1:%1").arg(program.port());
    const auto run = [&](const QStringList &command) -> QByteArray {
        QProcess client;
        client.start(rotctl, QStringList {"-m", "2", "-r", address} + command);
        // The program is another process: waiting here holds up nothing of it.
        if (!client.waitForFinished(ReplyTimeoutMs) || client.exitCode() != 0)
            return QByteArray("rotctl failed: ") + client.readAllStandardError();
        return client.readAllStandardOutput();
    };

    QCOMPARE(run({"P", "123", "0"}), QByteArray());
    QCOMPARE(program.com5().readAtLeast(5, ReplyTimeoutMs), QByteArray("W123\r"));
    const QList<QByteArray> position = run({"p"}).split('\n');
    QVERIFY2(position.size() >= 2, position.join('|').constData());
    QCOMPARE(position.at(0).toDouble(), 123.0);
    QCOMPARE(position.at(1).toDouble(), 0.0);
    QCOMPARE(run({"S"}), QByteArray());
    QCOMPARE(program.com5().readAtLeast(2, ReplyTimeoutMs), QByteArray("S\r"));

    // Hamlib's client checks the limits the program advertised before sending.
    QVERIFY(run({"P", "361", "0"}).startsWith("rotctl failed"));
    QCOMPARE(program.com5().readAll(300), QByteArray());

    QVERIFY(program.folder().stop(SIGTERM, ExitTimeoutMs));
    QCOMPARE(program.folder().exitCode(), 0);
    const QByteArray section = "[ROTCTLD]\r\nROTCTLD=1\r\nROTCTLD_PORT=" + QByteArray::number(program.port()) + "\r\n";
    QVERIFY(program.folder().readIni().contains(section));
}

void ProgramRotctldTest::gpredictStyleClient()
{
    ServingProgram program;
    QVERIFY2(program.isReady(), "the program did not come up serving rotctld");
    auto client = program.connectClient();
    QVERIFY(client->waitForConnected(ReplyTimeoutMs));

    // One command, one read of its reply, as gpredict does every cycle.
    for (const auto &[azimuth, bytes] : {std::pair {"271.45", "W271\r"}, std::pair {"272.90", "W272\r"}}) {
        client->write("P " + QByteArray(azimuth) + " 38.20\n");
        QCOMPARE(receive(*client, 7), QByteArray("RPRT 0\n"));
        QCOMPARE(program.com5().readAtLeast(5, ReplyTimeoutMs), QByteArray(bytes));
        client->write("p\n");
        const QByteArray expected = QByteArray(bytes).mid(1, 3) + ".00\n0.00\n";
        QCOMPARE(receive(*client, expected.size()), expected);
    }
    client->write("q\n");
    QVERIFY(client->waitForDisconnected(ReplyTimeoutMs));
}

// One client's conversation, a reply read for each line as gpredict reads them,
// and everything the controller was sent meanwhile.
void ProgramRotctldTest::answersTellTheTruth_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QList<QByteArray>>("conversation"); // line, reply, line, reply, ...
    QTest::addColumn<QByteArray>("sent");

    using Lines = QList<QByteArray>;
    const QByteArray gs232 = "AUTO=1\r\nANT=GS232\r\n";
    QTest::newRow("same target again after a STOP")
        << gs232 << Lines {"P 150.00 0.00", "RPRT 0\n", "S", "RPRT 0\n", "P 150.00 0.00", "RPRT 0\n"}
        << QByteArray("W150\rS\rW150\r");
    QTest::newRow("the restored azimuth, shown but never sent")
        << gs232 + "ANGLE=180\r\n" << Lines {"p", "RPRT -11\n", "P 180.00 45.00", "RPRT 0\n", "p", "180.00\n0.00\n"}
        << QByteArray("W180\r");
    QTest::newRow("AUTO off") << QByteArray("AUTO=0\r\nANT=GS232\r\n")
                              << Lines {"P 150 0", "RPRT -9\n", "p", "RPRT -11\n"} << QByteArray();
    QTest::newRow("no interface") << QByteArray("AUTO=1\r\n") << Lines {"P 150 0", "RPRT -11\n"} << QByteArray();
    // Hamlib's own rotators: the answer is what the library said.
    const QByteArray hamlib = "AUTO=1\r\nANT=HAMLIB\r\n[HAMLIB]\r\nPORT_HAMLIB=5\r\nHAMLIB_MODEL=";
    QTest::newRow("Hamlib port settings refused")
        << hamlib + "601\r\nBAUD_HAMLIB=12345\r\n" << Lines {"P 120 0", "RPRT -6\n", "p", "RPRT -11\n"}
        << QByteArray();
    QTest::newRow("Hamlib model without a stop")
        << hamlib + "604\r\n" << Lines {"P 120 0", "RPRT 0\n", "S", "RPRT -11\n"} << QByteArray("W120 000\r");
    QTest::newRow("Hamlib limits refuse every target")
        << hamlib + "1704\r\n" << Lines {"P 10 0", "RPRT -1\n", "P 20 0", "RPRT -1\n", "P 30 0", "RPRT -1\n"}
        << QByteArray();
    QTest::newRow("Hamlib dummy needs no port")
        << QByteArray("AUTO=1\r\nANT=HAMLIB\r\n[HAMLIB]\r\nHAMLIB_MODEL=1\r\n") << Lines {"P 120 0", "RPRT 0\n"}
        << QByteArray();
    QTest::newRow("commands a rotator without them lacks")
        << gs232 << Lines {"s", "RPRT -11\n", "R 1", "RPRT -11\n", "M 8 50", "RPRT -11\n"} << QByteArray();
}

void ProgramRotctldTest::answersTellTheTruth()
{
    QFETCH(QByteArray, settings);
    QFETCH(QList<QByteArray>, conversation);
    QFETCH(QByteArray, sent);
    ServingProgram program(settings);
    QVERIFY2(program.isReady(), "the program did not come up serving rotctld");
    auto client = program.connectClient();
    QVERIFY(client->waitForConnected(ReplyTimeoutMs));
    for (qsizetype i = 0; i + 1 < conversation.size(); i += 2) {
        client->write(conversation.at(i) + '\n');
        QCOMPARE(receive(*client, conversation.at(i + 1).size()), conversation.at(i + 1));
    }
    if (!sent.isEmpty())
        QCOMPARE(program.com5().readAtLeast(sent.size(), ReplyTimeoutMs), sent);
    QCOMPARE(program.com5().readAll(300), QByteArray());
    QVERIFY(program.folder().stop(SIGTERM, ExitTimeoutMs));
    // However often a failure repeats, it is told once, in a line of its own.
    const QByteArray told = program.folder().standardError();
    const QByteArrayList lines = told.split('\n');
    for (const QByteArray &line : lines)
        QVERIFY2(line.isEmpty() || lines.count(line) == 1, told.constData());
}

void ProgramRotctldTest::hostileClientsNeverMoveTheAntenna()
{
    ServingProgram program;
    QVERIFY2(program.isReady(), "the program did not come up serving rotctld");

    // Far more clients than are served at once, some vanishing mid-line.
    std::vector<std::unique_ptr<QTcpSocket>> crowd;
    for (int i = 0; i < 200; ++i)
        crowd.push_back(program.connectClient());
    QRandomGenerator random(20261207);
    for (auto &client : crowd) {
        if (!client->waitForConnected(ReplyTimeoutMs))
            continue;
        QByteArray bytes(random.bounded(1, 3000), Qt::Uninitialized);
        for (char &byte : bytes)
            byte = char(random.bounded(256));
        client->write(bytes);
        client->write("\nP 400 0\nP -1 0\nP 12,5.5 0\nP nan 0\n" + QByteArray(200000, 'P') + " 10 0\n");
        if (random.bounded(2) == 0)
            client->abort();
        else
            client->flush();
    }
    QTest::qWait(1000);
    crowd.clear();
    QCOMPARE(program.com5().readAll(500), QByteArray());
    QVERIFY2(program.folder().isRunning(), "hostile clients ended the program");

    // And it is still of service.
    auto client = program.connectClient();
    client->write("P 45 0\n");
    QCOMPARE(receive(*client, 7), QByteArray("RPRT 0\n"));
    QCOMPARE(program.com5().readAtLeast(5, ReplyTimeoutMs), QByteArray("W045\r"));
    QVERIFY(program.folder().stop(SIGTERM, ExitTimeoutMs));
    QCOMPARE(program.folder().exitCode(), 0);
}

// Hamlib's GS-232A on a line nobody answers, asked where it points: each read
// waits out the library's one-second time-out. A move asked meanwhile waits its
// turn and is answered from the library; another client is answered at once.
void ProgramRotctldTest::hungLibraryCallHoldsNobodyElse()
{
    ServingProgram program("AUTO=1\r\nANT=HAMLIB\r\n[HAMLIB]\r\nPORT_HAMLIB=5\r\nHAMLIB_MODEL=601\r\n"
                           "READPOS_HAMLIB=1\r\n");
    QVERIFY2(program.isReady(), "the program did not come up serving rotctld");
    auto waiting = program.connectClient();
    auto other = program.connectClient();
    QVERIFY(waiting->waitForConnected(ReplyTimeoutMs) && other->waitForConnected(ReplyTimeoutMs));
    // A position query on the line: the library now waits a second for its answer.
    QVERIFY(program.com5().readAtLeast(1, ReplyTimeoutMs).size() > 0);
    waiting->write("P 100 0\n");
    other->write("_\n");
    QVERIFY(receive(*other, 8).startsWith("ORVANTIS"));
    QCOMPARE(waiting->bytesAvailable(), 0);
    QCOMPARE(receive(*waiting, 7), QByteArray("RPRT 0\n"));
    QVERIFY(program.com5().readAll(1500).contains("100"));
    QVERIFY(program.folder().stop(SIGTERM, ExitTimeoutMs));
}

QTEST_GUILESS_MAIN(ProgramRotctldTest)
#include "tst_ProgramRotctld.moc"
