#include "process/StandardError.h"

#include <QTest>

// The one form of a line on standard error, whoever wrote the message.
class StandardErrorTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void line_data();
    void line();
};

void StandardErrorTest::line_data()
{
    QTest::addColumn<QByteArray>("category"); // empty: not a Qt message
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("expected");
    const QString ppdev = QStringLiteral("orvantis: The ppdev driver is not loaded. It is mandatory.\n");
    QTest::newRow("plain") << QByteArray() << "COM5 (?) is not present" << "orvantis: COM5 (?) is not present\n";
    QTest::newRow("lines joined") << QByteArray() << "The ppdev driver is not loaded.\nIt is mandatory." << ppdev;
    QTest::newRow("CR LF joined") << QByteArray() << "The ppdev driver is not loaded.\r\nIt is mandatory." << ppdev;
    QTest::newRow("already named") << QByteArray() << "orvantis: the display cannot be used"
                                   << "orvantis: the display cannot be used\n";
    QTest::newRow("named in capitals") << QByteArray() << "Orvantis: orvantis: late" << "orvantis: late\n";
    QTest::newRow("name in the text") << QByteArray() << "Orvantis cannot serve Hamlib programs"
                                      << "orvantis: Orvantis cannot serve Hamlib programs\n";
    QTest::newRow("trace") << QByteArray("orvantis.serial") << "COM5 > 57 31 0D  W1."
                           << "orvantis: orvantis.serial: COM5 > 57 31 0D  W1.\n";
    QTest::newRow("Qt's unnamed warning") << QByteArray("default") << "QStandardPaths: XDG_RUNTIME_DIR not set"
                                          << "orvantis: QStandardPaths: XDG_RUNTIME_DIR not set\n";
}

void StandardErrorTest::line()
{
    QFETCH(QByteArray, category);
    QFETCH(QString, message);
    QFETCH(QString, expected);
    const QMessageLogContext context(__FILE__, __LINE__, Q_FUNC_INFO, category.constData());
    QCOMPARE(category.isEmpty() ? standardErrorLine(message) : qtMessageLine(QtDebugMsg, context, message), expected);
}

QTEST_GUILESS_MAIN(StandardErrorTest)
#include "StandardErrorTest.moc"
