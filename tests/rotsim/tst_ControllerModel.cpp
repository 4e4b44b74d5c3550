// Each simulated controller fed with the very bytes Orvantis's encoders produce,
// and with what a line may carry besides: queries, garbage, endless input.
#include "rotors/SerialProtocol.h"
#include "rotsim/ControllerModel.h"

#include <QTest>

namespace {

QByteArray bytesOf(const SerialCommand &command)
{
    QByteArray bytes;
    for (const SerialWrite &write : command.writes)
        bytes += write.bytes;
    return bytes;
}

QByteArray go(InterfaceKind kind, double azimuth, bool elevation = false)
{
    return bytesOf(SerialProtocol::goCommand(kind, azimuth, 0, elevation));
}

QByteArray stop(InterfaceKind kind)
{
    return bytesOf(SerialProtocol::stopCommand(kind));
}

QByteArray closing(InterfaceKind kind, bool trakBoxHostMode = false)
{
    return bytesOf(SerialProtocol::closingCommand(kind, trakBoxHostMode));
}

} // namespace

class ControllerModelTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void understandsOrvantisAndAnswersQueries_data();
    void understandsOrvantisAndAnswersQueries();
    void turnsAtItsRateWithinOneTurn();
    void proSisTelReportsMovesUntilToldNotTo();
};

void ControllerModelTest::understandsOrvantisAndAnswersQueries_data()
{
    using K = InterfaceKind;
    QTest::addColumn<QString>("protocol");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QByteArray>("reply");

    const QString gs = QStringLiteral("gs232");
    QTest::newRow("gs232 go") << gs << go(K::Gs232, 45) << QStringList {"go 45"} << QByteArray();
    QTest::newRow("gs232 go el") << gs << go(K::Gs232, 45, true) << QStringList {"go 45 el 0"} << QByteArray();
    QTest::newRow("gs232 stop") << gs << stop(K::Gs232) << QStringList {"stop"} << QByteArray();
    QTest::newRow("gs232 closing") << gs << closing(K::Gs232) << QStringList {"stop"} << QByteArray();
    QTest::newRow("gs232 query") << gs << QByteArray("C\rC2\r") << QStringList {}
                                 << QByteArray("+0123\r\n+0123+0000\r\n");
    QTest::newRow("gs232 refused") << gs << QByteArray("W999\rHELLO\r\0\xff\r", 14)
                                   << QStringList {"ignored \"W999\"", "ignored \"HELLO\"", "ignored \"\\x00\\xff\""}
                                   << QByteArray("?>\r\n?>\r\n?>\r\n");
    QTest::newRow("gs232 endless line") << gs << QByteArray(1000, 'W') + "\rW045\r"
                                        << QStringList {"overflow", "go 45"} << QByteArray();

    const QString easy = QStringLiteral("easycomm");
    QTest::newRow("easycomm go") << easy << go(K::EasyComm, 185) << QStringList {"go 185"} << QByteArray();
    QTest::newRow("easycomm stop") << easy << stop(K::EasyComm) << QStringList {"stop"} << QByteArray();
    QTest::newRow("easycomm closing") << easy << closing(K::EasyComm) << QStringList {"stop"} << QByteArray();
    QTest::newRow("easycomm query") << easy << QByteArray("AZ EL\r") << QStringList {}
                                    << QByteArray("AZ123.0 EL0.0\n");
    QTest::newRow("easycomm axes asked apart") << easy << QByteArray("AZ\rEL\r") << QStringList {}
                                               << QByteArray("AZ123.0\nEL0.0\n");
    QTest::newRow("easycomm refused") << easy << QByteArray("AZ-5 AZ400 FOO\r")
                                      << QStringList {"ignored \"AZ-5\"", "ignored \"AZ400\"", "ignored \"FOO\""}
                                      << QByteArray();

    const QString tkb = QStringLiteral("trakbox");
    QTest::newRow("trakbox go") << tkb << go(K::TrakBox, 45) << QStringList {"go 45 el 0"} << QByteArray();
    QTest::newRow("trakbox stop") << tkb << stop(K::TrakBox) << QStringList {"stop"} << QByteArray();
    QTest::newRow("trakbox probe") << tkb << bytesOf(SerialProtocol::trakBoxProbe())
                                   << QStringList {"host mode off", "host mode on"} << QByteArray();
    QTest::newRow("trakbox closing") << tkb << closing(K::TrakBox) << QStringList {"host mode off"} << QByteArray();
    QTest::newRow("trakbox closing in host mode") << tkb << closing(K::TrakBox, true) << QStringList {"stop"}
                                                  << QByteArray();
    QTest::newRow("trakbox terminal mode") << tkb << QByteArray("Q\r") + go(K::TrakBox, 45)
                                           << QStringList {"host mode off", "ignored \"AZ045 EL00\""} << QByteArray();

    const QString pro = QStringLiteral("prosistel");
    QTest::newRow("prosistel cpm off and go")
        << pro << bytesOf(SerialProtocol::proSisTelOpening(true)) + go(K::ProSisTel, 45)
        << QStringList {"cpm off", "go 45"} << QByteArray("\x02" "A,S,R\r\x02" "A,G,R\r");
    QTest::newRow("prosistel stop") << pro << stop(K::ProSisTel) << QStringList {"stop"}
                                    << QByteArray("\x02" "A,G,R\r");
    QTest::newRow("prosistel query") << pro << QByteArray("\x02" "A?\r") << QStringList {}
                                     << QByteArray("\x02" "A,?,123,R\r");
    QTest::newRow("prosistel other unit") << pro << QByteArray("\x02" "BG045\r")
                                          << QStringList {"ignored \"\\x02BG045\""} << QByteArray();

    const QString dcu = QStringLiteral("dcu1");
    QTest::newRow("dcu1 go") << dcu << go(K::Dcu1, 45) << QStringList {"preset 45", "go 45"} << QByteArray();
    QTest::newRow("dcu1 stop") << dcu << stop(K::Dcu1) << QStringList {"stop"} << QByteArray();
    QTest::newRow("dcu1 query") << dcu << QByteArray("AI1;") << QStringList {} << QByteArray(";123");
    QTest::newRow("dcu1 move without preset") << dcu << QByteArray("AM1;") << QStringList {"ignored \"AM1\""}
                                              << QByteArray();

    const QString m2 = QStringLiteral("m2orion");
    QTest::newRow("m2orion go") << m2 << go(K::M2Orion, 185.4) << QStringList {"go 185.4"} << QByteArray();
    QTest::newRow("m2orion stop") << m2 << stop(K::M2Orion) << QStringList {"stop"} << QByteArray();
    QTest::newRow("m2orion closing") << m2 << closing(K::M2Orion) << QStringList {"stop"} << QByteArray();

    const QString egis = QStringLiteral("egis");
    QTest::newRow("egis go") << egis << go(K::Egis, 123.45) << QStringList {"go 123.45"} << QByteArray();
    QTest::newRow("egis stop") << egis << stop(K::Egis) << QStringList {"stop"} << QByteArray();
    QTest::newRow("egis closing") << egis << closing(K::Egis) << QStringList {"stop"} << QByteArray();
    QTest::newRow("egis refused") << egis << QByteArray("&* AZ=400.00\r&* EL=10.00\r")
                                  << QStringList {"ignored \"&* AZ=400.00\"", "ignored \"&* EL=10.00\""}
                                  << QByteArray();
}

void ControllerModelTest::understandsOrvantisAndAnswersQueries()
{
    QFETCH(QString, protocol);
    QFETCH(QByteArray, input);
    QFETCH(QStringList, events);
    QFETCH(QByteArray, reply);

    // Whole, then one byte at a time: a serial line delivers in any pieces.
    for (const qsizetype piece : {input.size(), qsizetype(1)}) {
        const auto model = ControllerModel::create(protocol, 123, 6);
        QVERIFY(model);
        QByteArray replied;
        for (qsizetype at = 0; at < input.size(); at += piece)
            replied += model->receive(input.mid(at, piece));
        QCOMPARE(model->takeEvents(), events);
        QCOMPARE(replied, reply);
    }
}

void ControllerModelTest::turnsAtItsRateWithinOneTurn()
{
    const auto model = ControllerModel::create(QStringLiteral("gs232"), 350, 6);
    model->receive("W010\r");
    QCOMPARE(model->takeEvents(), QStringList {"go 10"});
    // The end stop is at north: from 350 to 10 the antenna goes the long way round.
    model->advance(1.0);
    QCOMPARE(model->takeEvents(), QStringList {"position 344"});
    QVERIFY(model->rotator().isMoving());

    model->receive("S\r");
    model->advance(10.0);
    QCOMPARE(model->takeEvents(), QStringList {"stop"});
    QCOMPARE(model->rotator().azimuth(), 344.0);

    model->receive("M340\r");
    model->advance(0.5);
    model->advance(0.5);
    QCOMPARE(model->takeEvents(), (QStringList {"go 340", "position 341", "position 340", "arrived 340"}));
    QVERIFY(!model->rotator().isMoving());
}

void ControllerModelTest::proSisTelReportsMovesUntilToldNotTo()
{
    const auto model = ControllerModel::create(QStringLiteral("prosistel"), 0, 6);
    model->receive(go(InterfaceKind::ProSisTel, 12));
    QCOMPARE(model->advance(1.0), QByteArray("\x02" "A,?,006,B\r"));
    QCOMPARE(model->advance(1.0), QByteArray("\x02" "A,?,012,R\r"));

    model->receive(QByteArray(bytesOf(SerialProtocol::proSisTelOpening(true)) + go(InterfaceKind::ProSisTel, 30)));
    QCOMPARE(model->advance(1.0), QByteArray());
    QCOMPARE(model->takeEvents(),
             (QStringList {"go 12", "position 6", "position 12", "arrived 12", "cpm off", "go 30", "position 18"}));
}

QTEST_GUILESS_MAIN(ControllerModelTest)
#include "tst_ControllerModel.moc"
