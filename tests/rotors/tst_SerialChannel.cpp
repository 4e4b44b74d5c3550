#include "rotors/SerialChannel.h"
#include "rotors/SerialControllers.h"
#include "support/PseudoTerminal.h"

#include <QLoggingCategory>
#include <QTest>

#include <unistd.h>

// The serial trace: what the channel says it wrote is what reached the
// controller's side of a real pseudo-terminal, byte for byte.
class TestSerialChannel : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup();
    void traceShowsExactBytes_data();
    void traceShowsExactBytes();
    void traceShowsBytesReceived();
};

namespace {

struct Record {
    QString category;
    QString message;
};
QList<Record> recorded;

void recordMessage(QtMsgType, const QMessageLogContext &context, const QString &message)
{
    recorded << Record {QString::fromLatin1(context.category), message};
}

QStringList serialTrace()
{
    QStringList lines;
    for (const Record &record : std::as_const(recorded)) {
        if (record.category == QLatin1String("orvantis.serial"))
            lines << record.message;
    }
    return lines;
}

} // namespace

void TestSerialChannel::cleanup()
{
    qInstallMessageHandler(nullptr);
    QLoggingCategory::setFilterRules(QString());
    recorded.clear();
}

void TestSerialChannel::traceShowsExactBytes_data()
{
    QTest::addColumn<QString>("rules");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("trace");

    const QString on = QStringLiteral("orvantis.*.debug=true");
    QTest::newRow("GS-232 GO") << on << QByteArray("W123\r")
                               << QStringList {QStringLiteral("COM5 > 57 31 32 33 0D  W123.")};
    QTest::newRow("ProSisTel STX") << on << QByteArray("\x02" "AG977\r")
                                   << QStringList {QStringLiteral("COM5 > 02 41 47 39 37 37 0D  .AG977.")};
    QTest::newRow("high byte") << QStringLiteral("orvantis.serial.debug=true") << QByteArray("\xff ~")
                               << QStringList {QStringLiteral("COM5 > FF 20 7E  . ~")};
    QTest::newRow("off by default") << QString() << QByteArray("S\r") << QStringList {};
    QTest::newRow("other area on") << QStringLiteral("orvantis.udp.debug=true") << QByteArray("S\r")
                                   << QStringList {};
}

void TestSerialChannel::traceShowsExactBytes()
{
    QFETCH(QString, rules);
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, trace);

    PseudoTerminal terminal;
    QVERIFY(terminal.isValid());
    SerialChannel channel(serialController(InterfaceKind::Gs232)->line);
    QLoggingCategory::setFilterRules(rules);
    qInstallMessageHandler(recordMessage);
    QVERIFY(channel.open(terminal.slavePath(), QStringLiteral("COM5")));
    QVERIFY(channel.write(bytes));
    QCOMPARE(terminal.readAtLeast(int(bytes.size()), 5000), bytes);
    channel.close();

    QStringList writes;
    for (const QString &line : serialTrace()) {
        if (line.startsWith(QLatin1String("COM5 >")))
            writes << line;
    }
    QCOMPARE(writes, trace);
    if (trace.isEmpty()) {
        QVERIFY(serialTrace().isEmpty());
    } else {
        // Opening and closing are traced too, naming the device behind the COM name.
        QVERIFY(serialTrace().first().startsWith(QStringLiteral("COM5 %1 opened at 9600").arg(terminal.slavePath())));
        QCOMPARE(serialTrace().last(), QStringLiteral("COM5 closed"));
    }
}

void TestSerialChannel::traceShowsBytesReceived()
{
    PseudoTerminal terminal;
    QVERIFY(terminal.isValid());
    SerialChannel channel(serialController(InterfaceKind::Gs232)->line);
    QByteArray received;
    channel.setReader([&received](const QByteArray &bytes) { received += bytes; });
    QLoggingCategory::setFilterRules(QStringLiteral("orvantis.serial.debug=true"));
    qInstallMessageHandler(recordMessage);
    QVERIFY(channel.open(terminal.slavePath(), QStringLiteral("COM7")));

    const QByteArray answer("AZ=123\r\n");
    QCOMPARE(::write(terminal.masterFd(), answer.constData(), size_t(answer.size())), ssize_t(answer.size()));
    QTRY_COMPARE(received, answer);
    QVERIFY(serialTrace().contains(QStringLiteral("COM7 < 41 5A 3D 31 32 33 0D 0A  AZ=123..")));
}

QTEST_GUILESS_MAIN(TestSerialChannel)
#include "tst_SerialChannel.moc"
