// The antenna's real position in the main window: a simulated GS-232 on a
// pseudo-terminal answers the program's queries, and the second needle and the
// diagnostic line follow it; a controller that talks nonsense or floods the line
// loses the needle but never a command.
#include "MainWindowRig.h"
#include "rotsim/ControllerModel.h"
#include "support/PseudoTerminal.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSocketNotifier>
#include <QTest>
#include <QTimer>

#include <unistd.h>

namespace {

// The device end of the line, in this process: bytes from the program go to the
// model (and are kept), the model's answers go back; or, once told to babble,
// random bytes by the kilobyte instead of answers.
class ControllerOnLine {
public:
    explicit ControllerOnLine(PseudoTerminal &line)
        : m_fd(line.masterFd()), m_model(ControllerModel::create(QStringLiteral("gs232"), 0, 60)),
          m_notifier(m_fd, QSocketNotifier::Read)
    {
        QObject::connect(&m_notifier, &QSocketNotifier::activated, [this] {
            char buffer[4096];
            const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
            if (n <= 0)
                return;
            received += QByteArray(buffer, n);
            const QByteArray reply = m_model->receive(QByteArrayView(buffer, n));
            if (!m_babbling)
                send(reply);
        });
        QObject::connect(&m_motion, &QTimer::timeout, [this] {
            m_model->advance(0.1);
            if (m_babbling) {
                QByteArray noise(4096, Qt::Uninitialized);
                for (char &byte : noise)
                    byte = char(m_random.bounded(256));
                send(noise);
            }
        });
        m_motion.start(100);
    }

    void babble() { m_babbling = true; }

    QByteArray received;

private:
    void send(const QByteArray &bytes)
    {
        [[maybe_unused]] const ssize_t sent = ::write(m_fd, bytes.constData(), size_t(bytes.size()));
    }

    int m_fd;
    std::unique_ptr<ControllerModel> m_model;
    QSocketNotifier m_notifier;
    QTimer m_motion;
    QRandomGenerator m_random {1414};
    bool m_babbling = false;
};

bool isCyan(const QColor &colour)
{
    return colour.blue() > 180 && colour.green() > 150 && colour.red() < 140;
}

} // namespace

class PositionReadbackTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void secondNeedleFollowsTheAntenna();
};

void PositionReadbackTest::secondNeedleFollowsTheAntenna()
{
    PseudoTerminal line;
    QVERIFY(line.isValid());
    MainWindowRig rig({"[ORVANTIS]", "AUTO=1", "ANT=GS232", "[GS-232]", "PORT_GS232=5", "[READ POSITION]",
                       "READPOS_GS232=1"});
    QVERIFY(QDir(rig.folder()).mkpath(QStringLiteral("dosdevices")));
    QVERIFY(QFile::link(line.slavePath(), rig.folder() + QStringLiteral("/dosdevices/com5")));
    ControllerOnLine controller(line);
    QVERIFY(rig.start());
    MainWindow &window = rig.window();
    // Asked at start, before anything moves it.
    QTRY_COMPARE(rig.station().reportedAzimuth(), std::optional<double>(0));

    rig.widget<QLineEdit>(QStringLiteral("EditAzimut"))->setText(QStringLiteral("90"));
    QList<int> seen;
    QVERIFY(QTest::qWaitFor(
        [&] {
            const auto reported = rig.station().reportedAzimuth();
            if (reported && (seen.isEmpty() || seen.last() != *reported))
                seen.append(int(*reported));
            return !seen.isEmpty() && seen.last() == 90;
        },
        10000));
    // On its way, not only at the end, and never backwards.
    QVERIFY2(seen.size() >= 2, qPrintable(QString::number(seen.size())));
    QVERIFY(std::is_sorted(seen.begin(), seen.end()));
    QVERIFY(rig.caughtUp());
    QCOMPARE(window.positionLabelText(), QStringLiteral("Antenna at 90°"));
    // The second needle points east, where the red one for 90 is too short to reach.
    auto *compass = rig.widget<QWidget>(QStringLiteral("Image1"));
    const auto needleTip = [compass] { return compass->grab().toImage().pixelColor(60, 34); };
    QVERIFY(isCyan(needleTip()));

    // A controller gone mad: the needle goes, the next command still goes out at once.
    controller.babble();
    QVERIFY(QTest::qWaitFor([&] { return !rig.station().reportedAzimuth(); }, 5000));
    QVERIFY(rig.caughtUp());
    QVERIFY(!isCyan(needleTip()));
    QCOMPARE(window.positionLabelText(), QString());
    controller.received.clear();
    rig.widget<QLineEdit>(QStringLiteral("EditAzimut"))->setText(QStringLiteral("200"));
    QVERIFY(QTest::qWaitFor([&] { return controller.received.contains("W200\r"); }, 2000));
    QTest::qWait(1500);
    // Only whole commands and queries on the line, in order.
    static const QRegularExpression wellFormed(QStringLiteral("^(C\\r)*W200\\r(C\\r)*$"));
    QVERIFY2(wellFormed.match(QString::fromLatin1(controller.received)).hasMatch(),
             controller.received.toPercentEncoding().constData());
}

QTEST_MAIN(PositionReadbackTest)
#include "tst_position_readback.moc"
