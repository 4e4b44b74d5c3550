// The HAMLIB interface against real Hamlib back ends: the dummy rotator, the
// GS-232A and EasyComm II back ends talking to orvantis-rotsim on a
// pseudo-terminal, NET rotctl talking to Hamlib's own rotctld, and a controller
// that never answers.
#include "rotors/HamlibRotors.h"

#include "support/FreePorts.h"
#include "support/PseudoTerminal.h"
#include "support/RecordingFeedback.h"
#include "support/ReportingProcess.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QHostAddress>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

constexpr int MoveTimeoutMs = 20000;

struct Rig {
    explicit Rig(int model, const QString &device)
        : rotors(HamlibRotorsContext {
              state, config, feedback, [device](const QString &comName) {
                  return comName == QLatin1String("COM5") ? device : QString();
              },
              [this](const QString &text) { label = text; }, [] { return Language::english(); },
              [this](std::optional<double> azimuth) { reported = azimuth; }})
    {
        config.interfaceKind = InterfaceKind::Hamlib;
        config.extensions.hamlibModel = QString::number(model);
        config.extensions.readPosition[ordinal(InterfaceKind::Hamlib)] = QStringLiteral("1");
        config.at(InterfaceKind::Hamlib).port = 4;
        config.at(InterfaceKind::Hamlib).minimumStep = 0;
    }

    void go(double azimuth)
    {
        state.commandedAzimuth = azimuth;
        rotors.GoHamlib([this](const RotorOutcome &outcome) { outcomes << outcome; });
    }
    bool sent() const { return !outcomes.isEmpty() && outcomes.last().sent(); }
    bool notSent() const { return !outcomes.isEmpty() && !outcomes.last().sent(); }

    QList<RotorOutcome> outcomes;
    CommandState state;
    Configuration config;
    RecordingFeedback feedback;
    QString label;
    std::optional<double> reported;
    HamlibRotors rotors;
};

// True once a server accepts connections on the loopback port.
bool listening(quint16 port)
{
    const QDeadlineTimer deadline(MoveTimeoutMs);
    while (!deadline.hasExpired()) {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, port);
        if (probe.waitForConnected(500))
            return true;
        QTest::qWait(50);
    }
    return false;
}

} // namespace

class HamlibRotorsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // GO, read-back and STOP through each kind of back end. The offset and the
    // stop side are applied on the way out and taken back on the way in.
    void goReadBackStop_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<QString>("simulator"); // orvantis-rotsim's protocol; empty for none
        QTest::addColumn<bool>("network");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("stopSide");
        QTest::addColumn<double>("commanded");
        QTest::addColumn<QString>("simulatorGo"); // what the simulator understood

        QTest::newRow("dummy") << 1 << QString() << false << 10 << 0 << 30.0 << QString();
        QTest::newRow("GS-232A, offset") << 601 << "gs232" << false << -5 << 0 << 115.0 << "go 120 el 0";
        QTest::newRow("EasyComm II, south stop") << 202 << "easycomm" << false << 0 << 1 << 300.0 << "go 120";
        QTest::newRow("NET rotctl to rotctld") << 2 << QString() << true << 0 << 0 << 20.0 << QString();
    }

    void goReadBackStop()
    {
        QFETCH(int, model);
        QFETCH(QString, simulator);
        QFETCH(bool, network);
        QFETCH(int, offset);
        QFETCH(int, stopSide);
        QFETCH(double, commanded);
        QFETCH(QString, simulatorGo);

        QTemporaryDir folder;
        PseudoTerminal idle; // the dummy needs a device that exists, never uses it
        const QString link = folder.filePath(QStringLiteral("com5"));
        std::unique_ptr<ReportingProcess> peer;
        QString address;
        if (!simulator.isEmpty()) {
            peer = std::make_unique<ReportingProcess>(QStringLiteral(ORVANTIS_ROTSIM_EXECUTABLE),
                                          QStringList {QStringLiteral("--protocol"), simulator, QStringLiteral("--link"),
                                                       link, QStringLiteral("--rate"), QStringLiteral("90")});
            QVERIFY2(peer->waitFor(QStringLiteral("ready .*"), MoveTimeoutMs), qPrintable(peer->lines(0).join(u'|')));
        } else if (network) {
            const quint16 port = freeTcpPort();
            QVERIFY(port != 0);
            peer = std::make_unique<ReportingProcess>(QStringLiteral("rotctld"),
                                          QStringList {QStringLiteral("-m"), QStringLiteral("1"), QStringLiteral("-T"),
                                                       QStringLiteral("127.0.0.1"), QStringLiteral("-t"),
                                                       QString::number(port)});
            address = QStringLiteral("127.0.0.1:%1").arg(port);
            QVERIFY(listening(port));
        }
        Rig rig(model, simulator.isEmpty() ? idle.slavePath() : link);
        rig.config.at(InterfaceKind::Hamlib).azimuthOffset = offset;
        rig.config.at(InterfaceKind::Hamlib).stopSide = stopSide;
        if (network)
            rig.config.extensions.hamlibAddress = address;

        // Asked before anything moves it.
        rig.rotors.readPosition();
        QTRY_VERIFY_WITH_TIMEOUT(rig.reported.has_value(), MoveTimeoutMs);
        rig.go(commanded);
        QTRY_VERIFY_WITH_TIMEOUT(rig.sent(), MoveTimeoutMs);
        if (peer && !simulatorGo.isEmpty())
            QVERIFY2(peer->waitFor(simulatorGo, MoveTimeoutMs), qPrintable(peer->lines(0).join(u'|')));
        QTRY_VERIFY_WITH_TIMEOUT(rig.reported && qAbs(*rig.reported - commanded) < 0.05, MoveTimeoutMs);
        QCOMPARE(rig.state.lastSentAzimuth, commanded);
        QVERIFY2(rig.feedback.count(QStringLiteral("note:")) == 0, qPrintable(rig.feedback.events().join(u'|')));

        rig.rotors.StopHamlib([](const RotorOutcome &) {});
        if (peer && !simulatorGo.isEmpty())
            QVERIFY2(peer->waitFor(QStringLiteral("stop|arrived .*"), MoveTimeoutMs), qPrintable(peer->lines(0).join(u'|')));
        rig.rotors.close();
        QTRY_VERIFY_WITH_TIMEOUT(rig.rotors.idle(), MoveTimeoutMs);
        QCOMPARE(rig.reported, std::nullopt);
    }

    // A target no turn brings within the model's limits is refused before the
    // library sees it: the user is told once, the minimum step's reference stays.
    void targetBeyondLimitsIsRefused_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<double>("commanded");
        QTest::addColumn<bool>("refused");
        QTest::newRow("elevation-only GS-232A, 90") << 610 << 90.0 << true;
        QTest::newRow("elevation-only GS-232A, 0") << 610 << 0.0 << false;
        QTest::newRow("RT-21 stops at 359.9, 359") << 405 << 359.0 << false;
        QTest::newRow("NET rotctl takes 270 as -90") << 2 << 270.0 << false;
    }

    void targetBeyondLimitsIsRefused()
    {
        QFETCH(int, model);
        QFETCH(double, commanded);
        QFETCH(bool, refused);
        PseudoTerminal idle;
        Rig rig(model, idle.slavePath());
        rig.config.extensions.hamlibAddress = QStringLiteral("127.0.0.1:1"); // nothing listens; never reached
        rig.state.lastSentAzimuth = -10;
        rig.go(commanded);
        rig.go(commanded);
        QTRY_COMPARE_WITH_TIMEOUT(rig.outcomes.size(), 2, MoveTimeoutMs);
        QCOMPARE(rig.outcomes.last().reason == RotorOutcome::Reason::OutOfLimits, refused);
        if (refused)
            QCOMPARE(rig.state.lastSentAzimuth, -10.0);
        QCOMPARE(rig.feedback.count(QStringLiteral("note:ORVANTIS:COM5: the azimuth")), refused ? 1 : 0);
        const std::optional<HamlibModel> found = HamlibModels::find(model);
        QVERIFY(found);
        QCOMPARE(found->withinLimits(commanded).has_value(), !refused);
    }

    // A controller that never answers: the caller's thread keeps running while
    // the worker waits on the library, STOP still goes in, the failure is told
    // in words once, and the close returns all the same.
    void silentControllerNeverHoldsTheCaller()
    {
        PseudoTerminal silent;
        Rig rig(601, silent.slavePath());
        rig.go(90);
        rig.rotors.StopHamlib([](const RotorOutcome &) {});
        rig.go(91);
        bool eventsRan = false;
        QTimer::singleShot(0, [&eventsRan] { eventsRan = true; });
        QTRY_VERIFY(eventsRan);
        QTRY_VERIFY_WITH_TIMEOUT(rig.feedback.count(QStringLiteral("note:ORVANTIS:COM5: the controller did not "
                                                                   "answer (timeout)")) == 1,
                                 MoveTimeoutMs);
        // The GO bytes reached the device even though nothing answers.
        QVERIFY(silent.readAll(200).contains("W"));
        rig.rotors.close();
        QTRY_VERIFY_WITH_TIMEOUT(rig.rotors.idle(), MoveTimeoutMs);
        QCOMPARE(rig.feedback.count(QStringLiteral("note:")), 1);
    }

    // A serial model without a port, a port whose device is gone, a network
    // model without an address: told in words, nothing opened.
    void missingPortIsTold_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("told");
        QTest::newRow("no COM port") << 601 << -1 << "HAMLIB has no COM port.";
        QTest::newRow("unplugged") << 601 << 4 << "COM5 (/nonexistent/ttyUSB0) cannot be opened";
        QTest::newRow("no address") << 2 << 4 << "Hamlib has no address (host:port)";
        QTest::newRow("no model") << 0 << 4 << "Hamlib has no rotator model.";
    }

    void missingPortIsTold()
    {
        QFETCH(int, model);
        QFETCH(int, port);
        QFETCH(QString, told);
        Rig rig(model, QStringLiteral("/nonexistent/ttyUSB0"));
        rig.config.at(InterfaceKind::Hamlib).port = port;
        rig.go(45);
        QVERIFY(rig.notSent());
        QVERIFY(rig.rotors.idle());
        QVERIFY2(rig.feedback.events().join(u'|').contains(told), qPrintable(rig.feedback.events().join(u'|')));
    }
};

QTEST_GUILESS_MAIN(HamlibRotorsTest)
#include "tst_HamlibRotors.moc"
