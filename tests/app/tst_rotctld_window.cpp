#include "MainWindowRig.h"

#include "dialogs/SetupDialog.h"

#include "sources/RotctldServer.h"
#include "support/FreePorts.h"

#include <QDeadlineTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

// What rotctld clients do to the window, and the server following its menu item,
// its settings and the ports it cannot have.
class TestRotctldWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void clientsSteerAsTheOtherSourcesDo();
    void menuItemServesAndRecordsTheChoice();
    void listenFailuresReported_data();
    void listenFailuresReported();
};

namespace {

QStringList iniLines(const QStringList &rotctldLines)
{
    return QStringList {"[ORVANTIS]", "ANT=GS232", "[GS-232]", "PORT_GS232=5", "[KCT]", "AZIMUT_PARKING=90",
                        "PARKING=GS232", "[ROTCTLD]"}
        + rotctldLines;
}

// One request, its whole reply.
QByteArray ask(QTcpSocket &client, const QByteArray &line, qsizetype replySize)
{
    client.write(line + '\n');
    QByteArray got;
    const QDeadlineTimer deadline(5000);
    while (got.size() < replySize && !deadline.hasExpired()) {
        QTest::qWait(5);
        got += client.readAll();
    }
    return got;
}

} // namespace

void TestRotctldWindow::clientsSteerAsTheOtherSourcesDo()
{
    const quint16 port = freeTcpPort();
    MainWindowRig rig(iniLines({"ROTCTLD=1", QStringLiteral("ROTCTLD_PORT=%1").arg(port)}), {"com5"});
    QVERIFY(rig.start());
    RecordingRotors rotors(rig.station());
    QVERIFY(rig.station().rotctldServer().isListening());
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, port);

    // AUTO off: the azimuth only reaches the box, the client is told it was
    // refused, and no position is known before one is sent.
    QCOMPARE(ask(client, "P 123.9 0", 8), QByteArray("RPRT -9\n"));
    QVERIFY(rig.caughtUp());
    QCOMPARE(rig.widget<QLineEdit>(QStringLiteral("EditAzimut"))->text(), QStringLiteral("123"));
    QVERIFY(rotors.commanded.isEmpty());
    QCOMPARE(ask(client, "p", 9), QByteArray("RPRT -11\n"));

    QTest::mouseClick(rig.widget<QPushButton>(QStringLiteral("BitBtnAuto")), Qt::LeftButton);
    QCOMPARE(ask(client, "P 200 0", 7), QByteArray("RPRT 0\n"));
    QCOMPARE(rotors.sent, QList<double> {200});
    QCOMPARE(ask(client, ";p", 45), QByteArray("get_pos:;Azimuth: 200.00;Elevation: 0.00;RPRT 0\n"));
    // 360 is north, as the box has it.
    QCOMPARE(ask(client, "P 360 0", 7), QByteArray("RPRT 0\n"));
    QCOMPARE(rotors.sent, (QList<double> {200, 0}));

    QCOMPARE(ask(client, "S", 7), QByteArray("RPRT 0\n"));
    QVERIFY(rotors.stops.contains(QStringLiteral("GS232")));
    QCOMPARE(ask(client, "K", 7), QByteArray("RPRT 0\n"));
    QCOMPARE(rotors.sent.last(), 90.0);
    rig.station().configuration().parkingInterface = 0;
    QCOMPARE(ask(client, "K", 9), QByteArray("RPRT -11\n"));

    const QByteArray title = rig.window().windowTitle().toUtf8();
    QVERIFY(title.contains("GS232"));
    QCOMPARE(ask(client, "_", title.size() + 1), title + '\n');

    // While Init's dialog is open nothing from outside moves the antenna; the
    // position and STOP still answer.
    rig.window().MenuInitClick();
    rotors.clear();
    QCOMPARE(ask(client, "P 45 0", 8), QByteArray("RPRT -9\n"));
    QCOMPARE(ask(client, "p", 12), QByteArray("90.00\n0.00\n"));
    QCOMPARE(ask(client, "S", 7), QByteArray("RPRT 0\n"));
    QVERIFY(rotors.commanded.isEmpty());
    QVERIFY(rig.window().setupDialog().close());
    QCOMPARE(ask(client, "P 45 0", 7), QByteArray("RPRT 0\n"));
    QCOMPARE(rotors.sent, QList<double> {45});

    // Refused requests leave everything as it was.
    rotors.clear();
    QCOMPARE(ask(client, "P -1 0", 8), QByteArray("RPRT -1\n"));
    QVERIFY(rig.caughtUp());
    QCOMPARE(rig.widget<QLineEdit>(QStringLiteral("EditAzimut"))->text(), QStringLiteral("45"));
    QVERIFY(rotors.commanded.isEmpty());
}

void TestRotctldWindow::menuItemServesAndRecordsTheChoice()
{
    const quint16 port = freeTcpPort();
    MainWindowRig rig(iniLines({QStringLiteral("ROTCTLD_PORT=%1").arg(port)}), {"com5"});
    QVERIFY(rig.start());
    QAction *item = rig.action(QStringLiteral("MenuServerRotctld"));
    QVERIFY(item);
    RotctldServer &server = rig.station().rotctldServer();
    QVERIFY(!server.isListening());
    QVERIFY(!item->isChecked());
    QCOMPARE(item->text(), QStringLiteral("Hamlib rotctld server (TCP %1)").arg(port));

    item->trigger();
    QVERIFY(server.isListening());
    QCOMPARE(server.serverPort(), port);
    QCOMPARE(server.listeningAddress().hostText(), QStringLiteral("127.0.0.1"));
    QVERIFY(item->isChecked());
    QCOMPARE(rig.station().configuration().extensions.rotctld, QStringLiteral("1"));

    rig.window().MenuFrancaisClick();
    QCOMPARE(item->text(), QStringLiteral("Serveur rotctld Hamlib (TCP %1)").arg(port));
    item->trigger();
    QVERIFY(!server.isListening());
    QVERIFY(!item->isChecked());
    QCOMPARE(rig.station().configuration().extensions.rotctld, QStringLiteral("0"));
    QVERIFY(rig.feedback().events().isEmpty());
}

void TestRotctldWindow::listenFailuresReported_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("french");
    QTest::addColumn<QString>("expected"); // %1 the port
    QTest::newRow("port held")
        << "127.0.0.1" << false
        << "note:Warning:Orvantis cannot serve Hamlib programs on 127.0.0.1, TCP port %1: another program "
           "holds this port.\nClose it (ss -tlpn 'sport = :%1' names it), or choose another port under Init (Ctrl+I). "
           "Orvantis tries again every few seconds and says when it serves.";
    QTest::newRow("port held, French")
        << "" << true
        << "note:Avertissement:Orvantis ne peut pas servir les programmes Hamlib sur 127.0.0.1, port TCP %1 : "
           "un autre programme occupe ce port.\nFermez-le (ss -tlpn 'sport = :%1' le nomme), ou choisissez un autre "
           "port dans Init (Ctrl+I). Orvantis réessaie toutes les quelques secondes et dira quand il sert.";
    QTest::newRow("not an address")
        << "999.0.0.1" << false
        << "note:Warning:Orvantis cannot serve Hamlib programs on 999.0.0.1, TCP port %1: ROTCTLD_ADDRESS in "
           "Orvantis.ini is not an IP address of this computer.\nCorrect ROTCTLD_ADDRESS in Orvantis.ini: "
           "127.0.0.1 for this computer only, 0.0.0.0 for the network.";
}

void TestRotctldWindow::listenFailuresReported()
{
    QFETCH(QString, address);
    QFETCH(bool, french);
    QFETCH(QString, expected);
    QTcpServer holder;
    QVERIFY(holder.listen(QHostAddress::LocalHost, 0));
    QStringList lines = iniLines({"ROTCTLD=1", QStringLiteral("ROTCTLD_PORT=%1").arg(holder.serverPort())});
    if (!address.isEmpty())
        lines << QStringLiteral("ROTCTLD_ADDRESS=") + address;
    if (french)
        lines.insert(1, QStringLiteral("LANGUAGE=FRENCH"));
    MainWindowRig rig(lines, {"com5"});
    QVERIFY(rig.start());
    QTRY_COMPARE(rig.feedback().events(), QStringList {expected.arg(holder.serverPort())});
    QVERIFY(!rig.station().rotctldServer().isListening());
    QVERIFY(!rig.action(QStringLiteral("MenuServerRotctld"))->isChecked());
    // The choice stays as the user made it: the port may be free next time.
    QCOMPARE(rig.station().configuration().extensions.rotctld, QStringLiteral("1"));
}

QTEST_MAIN(TestRotctldWindow)
#include "tst_rotctld_window.moc"
