#include "host/PortReconciliation.h"

#include <QtTest>

Q_DECLARE_METATYPE(SavedPortMatch::Status)

class PortReconciliationTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void savedPortAgainstPresentNames_data();
    void savedPortAgainstPresentNames();
};

void PortReconciliationTest::savedPortAgainstPresentNames_data()
{
    using Status = SavedPortMatch::Status;
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("savedIndex");
    QTest::addColumn<int>("item");
    QTest::addColumn<Status>("status");

    const QStringList present{"COM1", "COM10", "COM3"};
    QTest::newRow("COM3 present") << present << 2 << 2 << Status::Present;
    QTest::newRow("COM10 present") << present << 9 << 1 << Status::Present;
    QTest::newRow("COM1 present") << present << 0 << 0 << Status::Present;
    QTest::newRow("COM5 unplugged") << present << 4 << -1 << Status::Absent;
    QTest::newRow("no ports at all") << QStringList{} << 0 << -1 << Status::Absent;
    QTest::newRow("nothing saved") << present << -1 << -1 << Status::NoSavedPort;
    QTest::newRow("nothing saved, no ports") << QStringList{} << -1 << -1 << Status::NoSavedPort;
    QTest::newRow("unparsable items skipped")
        << QStringList{"COMx", "COM", "COM3"} << 2 << 2 << Status::Present;
    QTest::newRow("only unparsable items") << QStringList{"COMx", "COM"} << 0 << -1 << Status::Absent;
}

void PortReconciliationTest::savedPortAgainstPresentNames()
{
    QFETCH(QStringList, names);
    QFETCH(int, savedIndex);
    QFETCH(int, item);
    QFETCH(SavedPortMatch::Status, status);

    const SavedPortMatch match = reconcileSavedPort(names, savedIndex);
    QCOMPARE(match.status, status);
    QCOMPARE(match.item, item);
    QCOMPARE(matchSavedPort(names, savedIndex), item);
}

QTEST_GUILESS_MAIN(PortReconciliationTest)
#include "tst_PortReconciliation.moc"
