// The rotctld server on loopback, driven by raw TCP clients: replies, bad input,
// clients that vanish, never read or come by the hundred.
#include "RecordingRotctldHost.h"
#include "sources/RotctldConnection.h"
#include "sources/RotctldServer.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

#include <QScopeGuard>

#include <memory>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int TimeoutMs = 5000;

std::unique_ptr<QTcpSocket> connectTo(const RotctldServer &server)
{
    auto socket = std::make_unique<QTcpSocket>();
    socket->connectToHost(QHostAddress::LocalHost, server.serverPort());
    return socket;
}

// What arrives until `size` bytes are there or the time is up.
QByteArray receive(QTcpSocket &socket, qsizetype size, int timeoutMs = TimeoutMs)
{
    QByteArray got;
    const QDeadlineTimer deadline(timeoutMs);
    while (got.size() < size && !deadline.hasExpired()) {
        got += socket.readAll();
        if (got.size() < size)
            QTest::qWait(5);
    }
    return got;
}

// Bytes that arrive while the loop runs `waitMs` more: a reply that was not due.
QByteArray extra(QTcpSocket &socket, int waitMs = 100)
{
    QTest::qWait(waitMs);
    return socket.readAll();
}

} // namespace

class TestRotctldServer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void conversation_data();
    void conversation();
    void overlongLineAnsweredOnceAndDropped();
    void halfClosedClientStillAnswered_data();
    void halfClosedClientStillAnswered();
    void quitClosesAfterTheReply();
    void clientVanishingDuringItsCommand();
    void otherClientsServedDuringACommand();
    void clientThatNeverReadsIsHeldBack();
    void hundredsOfConnections();
    void silentClientMakesRoom();
    void fullServerTakesNewcomers_data();
    void fullServerTakesNewcomers();
    void listensOnEveryAddressForm_data();
    void listensOnEveryAddressForm();
    void portInUseReported();
    void closeDropsClients();

private:
    std::unique_ptr<RecordingRotctldHost> m_host;
    std::unique_ptr<RotctldServer> m_server;
};

void TestRotctldServer::init()
{
    m_host = std::make_unique<RecordingRotctldHost>();
    m_host->azimuthShown = 123;
    m_server = std::make_unique<RotctldServer>(*m_host);
    QVERIFY(m_server->listen(*SocketAddress::fromText(QStringLiteral("127.0.0.1"), 0)));
}

void TestRotctldServer::cleanup()
{
    m_server.reset();
    m_host.reset();
}

void TestRotctldServer::conversation_data()
{
    QTest::addColumn<QList<QByteArray>>("writes");
    QTest::addColumn<QByteArray>("replies");
    QTest::addColumn<QStringList>("calls");

    using Writes = QList<QByteArray>;
    QTest::newRow("gpredict: set, then get")
        << Writes {"P 271.45 38.20\n", "p\n"} << QByteArray("RPRT 0\n271.00\n0.00\n") << QStringList {"enter 271"};
    QTest::newRow("pipelined in one write")
        << Writes {"P 10 0\nS\np\n_\n"} << QByteArray("RPRT 0\nRPRT 0\n10.00\n0.00\nORVANTIS V2.4.1 - GS232 / COM5\n")
        << QStringList {"enter 10", "stop"};
    QTest::newRow("a line in pieces")
        << Writes {"P", " 4", "5 ", "0", "\r", "\n"} << QByteArray("RPRT 0\n") << QStringList {"enter 45"};
    QTest::newRow("extended forms")
        << Writes {"+P 90 0\n;p\n|K\n"}
        << QByteArray("set_pos: 90 0\nRPRT 0\nget_pos:;Azimuth: 90.00;Elevation: 0.00;RPRT 0\npark:|RPRT 0\n")
        << QStringList {"enter 90", "park"};
    QTest::newRow("garbage, then usable")
        << Writes {QByteArray("\x00\x01\xff\x80 junk\n", 10), "P 999 0\nP 1x 0\n\n\n", "P 5 0\n"}
        << QByteArray("RPRT -1\nRPRT -1\nRPRT -1\nRPRT 0\n") << QStringList {"enter 5"};
    QTest::newRow("blank lines answer nothing") << Writes {"\n\r\n \n", "p\n"} << QByteArray("123.00\n0.00\n")
                                                << QStringList {};
}

void TestRotctldServer::conversation()
{
    QFETCH(QList<QByteArray>, writes);
    QFETCH(QByteArray, replies);
    QFETCH(QStringList, calls);

    auto client = connectTo(*m_server);
    for (const QByteArray &bytes : writes) {
        client->write(bytes);
        QVERIFY(client->waitForBytesWritten(TimeoutMs));
        QTest::qWait(10);
    }
    QCOMPARE(receive(*client, replies.size()), replies);
    QCOMPARE(extra(*client), QByteArray());
    QCOMPARE(m_host->calls(), calls);
}

void TestRotctldServer::overlongLineAnsweredOnceAndDropped()
{
    auto client = connectTo(*m_server);
    // Well beyond the limit, and with a command hidden in its tail.
    client->write(QByteArray(300 * 1024, 'P') + " 10 0\nS\n");
    QCOMPARE(receive(*client, 15), QByteArray("RPRT -1\nRPRT 0\n"));
    QCOMPARE(extra(*client), QByteArray());
    QCOMPARE(m_host->calls(), QStringList {"stop"});
}

void TestRotctldServer::halfClosedClientStillAnswered_data()
{
    QTest::addColumn<bool>("commandPauses");
    QTest::newRow("at once") << false;
    // The end of its input arrives while the GO waits for its outcome.
    QTest::newRow("command pauses") << true;
}

void TestRotctldServer::halfClosedClientStillAnswered()
{
    QFETCH(bool, commandPauses);
    m_host->deferMoves = commandPauses;
    if (commandPauses)
        QTimer::singleShot(200, this, [this] { m_host->answerDeferredMoves(); });
    // As `echo p | nc -N host 4533` does: the request, then the sending side shut.
    auto client = connectTo(*m_server);
    QVERIFY(client->waitForConnected(TimeoutMs));
    client->write("P 33 0\np\n");
    QVERIFY(client->waitForBytesWritten(TimeoutMs));
    QCOMPARE(::shutdown(int(client->socketDescriptor()), SHUT_WR), 0);
    QCOMPARE(receive(*client, 18), QByteArray("RPRT 0\n33.00\n0.00\n"));
    QTRY_COMPARE_WITH_TIMEOUT(m_server->connectionCount(), 0, TimeoutMs);
}

void TestRotctldServer::quitClosesAfterTheReply()
{
    auto client = connectTo(*m_server);
    client->write("p\nq\nS\n");
    QCOMPARE(receive(*client, 12), QByteArray("123.00\n0.00\n"));
    QTRY_COMPARE_WITH_TIMEOUT(client->state(), QAbstractSocket::UnconnectedState, TimeoutMs);
    QCOMPARE(client->readAll(), QByteArray());
    QVERIFY(m_host->calls().isEmpty());
    QCOMPARE(m_server->connectionCount(), 0);
}

void TestRotctldServer::clientVanishingDuringItsCommand()
{
    // The GO waits for its outcome; meanwhile its client is gone.
    auto client = connectTo(*m_server);
    m_host->deferMoves = true;
    client->write("P 10 0\nP 20 0\n");
    QTRY_COMPARE_WITH_TIMEOUT(m_host->deferredMoves(), 1, TimeoutMs);
    client->abort();
    m_host->answerDeferredMoves();
    QTRY_COMPARE_WITH_TIMEOUT(m_server->connectionCount(), 0, TimeoutMs);
    QCOMPARE(m_host->calls(), QStringList {"enter 10"});

    // The server goes on with new clients.
    m_host->deferMoves = false;
    auto next = connectTo(*m_server);
    next->write("P 30 0\n");
    QCOMPARE(receive(*next, 7), QByteArray("RPRT 0\n"));
}

void TestRotctldServer::otherClientsServedDuringACommand()
{
    auto first = connectTo(*m_server);
    auto second = connectTo(*m_server);
    QVERIFY(first->waitForConnected(TimeoutMs) && second->waitForConnected(TimeoutMs));
    // The first client's GO waits for its outcome; the second client is answered
    // meanwhile, and the first client's next lines wait for its GO's answer.
    m_host->deferMoves = true;
    first->write("P 10 0\n");
    QTRY_COMPARE_WITH_TIMEOUT(m_host->deferredMoves(), 1, TimeoutMs);
    first->write("p\n");
    second->write("S\n");
    QCOMPARE(receive(*second, 7), QByteArray("RPRT 0\n"));
    QCOMPARE(first->bytesAvailable(), 0);
    m_host->answerDeferredMoves();
    QCOMPARE(receive(*first, 18), QByteArray("RPRT 0\n10.00\n0.00\n"));
    QCOMPARE(m_host->calls(), (QStringList {"enter 10", "stop"}));
}

void TestRotctldServer::clientThatNeverReadsIsHeldBack()
{
    // A plain socket with a small receive window, so that replies pile up on the
    // server's side rather than in the kernel.
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    QVERIFY(fd >= 0);
    const auto closeFd = qScopeGuard([fd] { ::close(fd); });
    const int window = 4096;
    QCOMPARE(::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &window, sizeof window), 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_port = htons(m_server->serverPort());
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    QVERIFY(::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0 || errno == EINPROGRESS);

    const QByteArray requests = QByteArray("\\dump_caps\n").repeated(40000);
    qsizetype sent = 0;
    const auto sendSome = [&] {
        const ssize_t n = ::send(fd, requests.constData() + sent, size_t(requests.size() - sent), MSG_NOSIGNAL);
        if (n > 0)
            sent += n;
    };
    // Never reading: the server must stop answering instead of queueing replies
    // without end (what it has not read waits in the kernel, which bounds it).
    const QDeadlineTimer writing(1500);
    while (!writing.hasExpired()) {
        sendSome();
        QTest::qWait(5);
    }
    qint64 pending = 0;
    for (const RotctldConnection *connection : m_server->findChildren<RotctldConnection *>())
        pending = qMax(pending, connection->bytesToWrite());
    QVERIFY2(pending > 0, "the test should have made replies pile up");
    QVERIFY2(pending <= RotctldConnection::OutputLimit + 4096, qPrintable(QString::number(pending)));

    // Others are served meanwhile.
    auto other = connectTo(*m_server);
    other->write("p\n");
    QCOMPARE(receive(*other, 12), QByteArray("123.00\n0.00\n"));

    // Once the client reads, it gets every reply.
    QByteArray replies;
    char buffer[65536];
    const QDeadlineTimer reading(60000);
    while (replies.count("RPRT 0\n") < 40000 && !reading.hasExpired()) {
        sendSome();
        ssize_t n;
        while ((n = ::recv(fd, buffer, sizeof buffer, 0)) > 0)
            replies.append(buffer, n);
        QTest::qWait(1);
    }
    QCOMPARE(sent, requests.size());
    QCOMPARE(replies.count("RPRT 0\n"), 40000);
}

void TestRotctldServer::hundredsOfConnections()
{
    std::vector<std::unique_ptr<QTcpSocket>> clients;
    for (int i = 0; i < 300; ++i)
        clients.push_back(connectTo(*m_server));
    QTRY_COMPARE_WITH_TIMEOUT(m_server->connectionCount(), RotctldServer::ConnectionLimit, TimeoutMs);
    QTest::qWait(200);
    QCOMPARE(m_server->connectionCount(), RotctldServer::ConnectionLimit);

    // The first ones are served; those beyond the limit were told so and closed.
    clients.front()->write("p\n");
    QCOMPARE(receive(*clients.front(), 12), QByteArray("123.00\n0.00\n"));
    QTRY_COMPARE_WITH_TIMEOUT(clients.back()->state(), QAbstractSocket::UnconnectedState, TimeoutMs);
    QCOMPARE(clients.back()->readAll(), QByteArray("RPRT -9\n"));

    // Abruptly gone, half-way through a line: the places free up again.
    for (auto &client : clients) {
        client->write("P 1");
        client->abort();
    }
    QTRY_COMPARE_WITH_TIMEOUT(m_server->connectionCount(), 0, TimeoutMs);
    QVERIFY(m_host->calls().isEmpty());
    auto late = connectTo(*m_server);
    late->write("S\n");
    QCOMPARE(receive(*late, 7), QByteArray("RPRT 0\n"));
}

// Every place taken, in ways that must not lock newcomers out.
void TestRotctldServer::fullServerTakesNewcomers_data()
{
    QTest::addColumn<bool>("trickling"); // each holder sends a line it never finishes
    QTest::addColumn<int>("leaving");    // holders that disconnect just before the newcomers come
    QTest::newRow("trickling clients") << true << 0;
    QTest::newRow("ten just left") << false << 10;
}

void TestRotctldServer::fullServerTakesNewcomers()
{
    QFETCH(bool, trickling);
    QFETCH(int, leaving);
    m_server->setLineDeadline(300);
    std::vector<std::unique_ptr<QTcpSocket>> holders;
    for (int i = 0; i < RotctldServer::ConnectionLimit; ++i) {
        holders.push_back(connectTo(*m_server));
        QVERIFY(holders.back()->waitForConnected(TimeoutMs));
        holders.back()->write(trickling ? "P 1" : "_\n");
        QVERIFY(holders.back()->waitForBytesWritten(TimeoutMs));
    }
    QTRY_COMPARE_WITH_TIMEOUT(m_server->connectionCount(), RotctldServer::ConnectionLimit, TimeoutMs);
    for (int i = 0; i < leaving; ++i)
        holders[i]->disconnectFromHost();
    // A line not finished within its deadline costs its client the place.
    if (trickling)
        QTRY_COMPARE_WITH_TIMEOUT(m_server->connectionCount(), 0, TimeoutMs);
    const int newcomers = trickling ? RotctldServer::ConnectionLimit : leaving;
    std::vector<std::unique_ptr<QTcpSocket>> arriving;
    for (int i = 0; i < newcomers; ++i) {
        arriving.push_back(connectTo(*m_server));
        arriving.back()->write("p\n");
    }
    for (auto &client : arriving)
        QCOMPARE(receive(*client, 12), QByteArray("123.00\n0.00\n"));
}

void TestRotctldServer::silentClientMakesRoom()
{
    m_server->setIdleLimit(2000);
    std::vector<std::unique_ptr<QTcpSocket>> clients;
    for (int i = 0; i < RotctldServer::ConnectionLimit; ++i) {
        clients.push_back(connectTo(*m_server));
        QVERIFY(clients.back()->waitForConnected(TimeoutMs));
    }
    QTRY_COMPARE_WITH_TIMEOUT(m_server->connectionCount(), RotctldServer::ConnectionLimit, TimeoutMs);
    QTest::qWait(2100);
    // Everybody but the third has talked within the limit.
    for (std::size_t i = 0; i < clients.size(); ++i) {
        if (i != 2) {
            clients[i]->write("_\n");
            QCOMPARE(receive(*clients[i], 31), QByteArray("ORVANTIS V2.4.1 - GS232 / COM5\n"));
        }
    }
    auto newcomer = connectTo(*m_server);
    newcomer->write("p\n");
    QCOMPARE(receive(*newcomer, 12), QByteArray("123.00\n0.00\n"));
    QTRY_COMPARE_WITH_TIMEOUT(clients[2]->state(), QAbstractSocket::UnconnectedState, TimeoutMs);
    QCOMPARE(clients[2]->readAll(), QByteArray());
    QCOMPARE(m_server->connectionCount(), RotctldServer::ConnectionLimit);

    // Nobody silent long enough now: the next one is refused.
    auto refused = connectTo(*m_server);
    QTRY_COMPARE_WITH_TIMEOUT(refused->state(), QAbstractSocket::UnconnectedState, TimeoutMs);
    QCOMPARE(refused->readAll(), QByteArray("RPRT -9\n"));
    QCOMPARE(clients[0]->state(), QAbstractSocket::ConnectedState);
}

void TestRotctldServer::listensOnEveryAddressForm_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("clientAddress"); // empty: not an address to listen on

    QTest::newRow("IPv4 loopback") << "127.0.0.1" << "127.0.0.1";
    QTest::newRow("every IPv4 address") << "0.0.0.0" << "127.0.0.1";
    QTest::newRow("IPv6 loopback") << "::1" << "::1";
    QTest::newRow("every IPv6 address") << "::" << "::1";
    QTest::newRow("out of range") << "999.0.0.1" << "";
    // Names are not looked up (the window takes "localhost" itself).
    QTest::newRow("host name") << "localhost" << "";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("with a port") << "127.0.0.1:4533" << "";
}

void TestRotctldServer::listensOnEveryAddressForm()
{
    QFETCH(QString, address);
    QFETCH(QString, clientAddress);

    const std::optional<SocketAddress> parsed = SocketAddress::fromText(address, 0);
    QCOMPARE(parsed.has_value(), !clientAddress.isEmpty());
    if (!parsed)
        return;
    RotctldServer server(*m_host);
    if (!server.listen(*parsed) && QHostAddress(address).protocol() == QAbstractSocket::IPv6Protocol)
        QSKIP("no IPv6 on this machine");
    QVERIFY2(server.isListening(), qPrintable(server.errorString()));
    QCOMPARE(server.listeningAddress().hostText(), address);
    QVERIFY(server.serverPort() != 0);

    QTcpSocket client;
    client.connectToHost(QHostAddress(clientAddress), server.serverPort());
    client.write("p\n");
    QCOMPARE(receive(client, 12), QByteArray("123.00\n0.00\n"));
}

void TestRotctldServer::portInUseReported()
{
    RotctldServer second(*m_host);
    QVERIFY(!second.listen(*SocketAddress::fromText(QStringLiteral("127.0.0.1"), m_server->serverPort())));
    QVERIFY(!second.isListening());
    QVERIFY(second.addressInUse());
    QCOMPARE(second.errorString(), QStringLiteral("Address already in use"));
}

void TestRotctldServer::closeDropsClients()
{
    auto client = connectTo(*m_server);
    QVERIFY(client->waitForConnected(TimeoutMs));
    QTRY_COMPARE_WITH_TIMEOUT(m_server->connectionCount(), 1, TimeoutMs);
    m_server->close();
    QVERIFY(!m_server->isListening());
    QCOMPARE(m_server->connectionCount(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(client->state(), QAbstractSocket::UnconnectedState, TimeoutMs);
}

QTEST_GUILESS_MAIN(TestRotctldServer)
#include "tst_RotctldServer.moc"
