#include "rotors/OutsideRotors.h"
#include "support/RecordingFeedback.h"

#include <QTest>

Q_DECLARE_METATYPE(InterfaceKind)

namespace {

class FakeArswin final : public ArswinLink {
public:
    bool findWindow() override { return m_running; }
    bool post(quint32 value) override
    {
        m_posts << value;
        return m_accepts;
    }

    bool m_running = true;
    bool m_accepts = true;
    QList<quint32> m_posts;
};

class FakeMovenow final : public MovenowLauncher {
public:
    int start(const QString &programFile, const QString &parameters) override
    {
        m_starts << programFile + QLatin1Char('|') + parameters;
        return m_error;
    }

    int m_error = 0;
    QStringList m_starts;
};

struct Rig {
    Rig()
    {
        config.movenowDirectory = QStringLiteral("/home/ham/kct/");
    }

    CommandState state;
    Configuration config;
    RecordingFeedback feedback;
    FakeArswin arswin;
    FakeMovenow movenow;
    QString arswinText = QStringLiteral("ARSWIN must be running !");
    QString label;
    OutsideRotors rotors{{state, config, feedback, arswin, movenow, [this] { return arswinText; },
                          [this](const QString &text) { label = text; }}};

    void go(InterfaceKind kind, double azimuth)
    {
        state.commandedAzimuth = azimuth;
        const OutcomeReport report = [this](const RotorOutcome &outcome) { outcomes << outcome; };
        if (kind == InterfaceKind::Zenta)
            rotors.GoZenta(report);
        else
            rotors.GoKct(report);
    }
    bool notSent() const { return !outcomes.isEmpty() && !outcomes.last().sent(); }
    QList<RotorOutcome> outcomes;
    qsizetype deliveries() const { return arswin.m_posts.size() + movenow.m_starts.size(); }
};

} // namespace

// ZENTA and KCT driven against recorders of what ARSWIN and Movenow would receive.
class TestOutsideRotors : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void goValues_data()
    {
        QTest::addColumn<double>("azimuth");
        QTest::addColumn<int>("kctOffset");
        QTest::addColumn<quint32>("zenta");
        QTest::addColumn<QString>("kct");
        QTest::newRow("45") << 45.0 << 0 << 45u << "PA 045";
        QTest::newRow("359.6: ARSWIN gets 360, Movenow wraps") << 359.6 << 0 << 360u << "PA 000";
        QTest::newRow("0.5 to even") << 0.5 << 0 << 0u << "PA 000";
        QTest::newRow("1.5 to even") << 1.5 << 0 << 2u << "PA 002";
        QTest::newRow("2.5 to even") << 2.5 << 0 << 2u << "PA 002";
        QTest::newRow("offset -30 past north") << 340.0 << -30 << 340u << "PA 010";
        QTest::newRow("offset +30 below north") << 10.0 << 30 << 10u << "PA 340";
    }
    void goValues()
    {
        QFETCH(double, azimuth);
        QFETCH(int, kctOffset);
        QFETCH(quint32, zenta);
        QFETCH(QString, kct);
        Rig rig;
        rig.config.at(InterfaceKind::Kct).azimuthOffset = kctOffset;

        rig.go(InterfaceKind::Zenta, azimuth);
        QCOMPARE(rig.arswin.m_posts, QList<quint32>{zenta});
        QCOMPARE(rig.label, QString::number(zenta));
        QCOMPARE(rig.state.lastSentAzimuth, azimuth);

        rig.state.lastSentAzimuth = -10;
        rig.go(InterfaceKind::Kct, azimuth);
        QCOMPARE(rig.movenow.m_starts, QStringList{"/home/ham/kct/Movenow|" + kct});
        QCOMPARE(rig.label, kct);
        QCOMPARE(rig.state.lastSentAzimuth, azimuth);

        QVERIFY(!rig.notSent());
        QCOMPARE(rig.feedback.events(), QStringList());
    }

    void minimumStep_data()
    {
        QTest::addColumn<InterfaceKind>("kind");
        QTest::addColumn<int>("step");
        QTest::addColumn<double>("lastSent");
        QTest::addColumn<double>("azimuth");
        QTest::addColumn<bool>("sent");
        for (InterfaceKind kind : {InterfaceKind::Zenta, InterfaceKind::Kct}) {
            const char *name = kind == InterfaceKind::Zenta ? "ZENTA" : "KCT";
            QTest::addRow("%s, step 5, 100 to 104", name) << kind << 5 << 100.0 << 104.0 << false;
            QTest::addRow("%s, step 5, 100 to 105", name) << kind << 5 << 100.0 << 105.0 << true;
            QTest::addRow("%s, step 15 after STOP, to 2", name) << kind << 15 << -10.0 << 2.0 << false;
            QTest::addRow("%s, step 5 after STOP, to 0", name) << kind << 5 << -10.0 << 0.0 << true;
            QTest::addRow("%s, step 0, same azimuth", name) << kind << 0 << 100.0 << 100.0 << true;
        }
    }
    void minimumStep()
    {
        QFETCH(InterfaceKind, kind);
        QFETCH(int, step);
        QFETCH(double, lastSent);
        QFETCH(double, azimuth);
        QFETCH(bool, sent);
        Rig rig;
        rig.config.at(kind).minimumStep = step;
        rig.state.lastSentAzimuth = lastSent;

        rig.go(kind, azimuth);
        QCOMPARE(rig.deliveries(), sent ? 1 : 0);
        QCOMPARE(rig.notSent(), !sent);
        QCOMPARE(rig.state.lastSentAzimuth, sent ? azimuth : lastSent);
        QCOMPARE(rig.feedback.events(), QStringList());
    }

    void zentaWithoutArswin()
    {
        Rig rig;
        rig.arswin.m_running = false;
        rig.go(InterfaceKind::Zenta, 123);
        QCOMPARE(rig.feedback.events(),
                 QStringList({"sound:exclamation", "warning:Avertissement:ARSWIN must be running !"}));
        QVERIFY(rig.notSent());
        QVERIFY(rig.arswin.m_posts.isEmpty());
        QVERIFY(rig.label.isEmpty());

        // The text follows the language chosen since.
        rig.feedback.clear();
        rig.arswinText = QStringLiteral("ARSWIN doit s'exécuter !");
        rig.go(InterfaceKind::Zenta, 200);
        QCOMPARE(rig.feedback.events().value(1), QStringLiteral("warning:Avertissement:ARSWIN doit s'exécuter !"));
    }

    void zentaPostRefused()
    {
        Rig rig;
        rig.arswin.m_accepts = false;
        rig.go(InterfaceKind::Zenta, 123);
        QCOMPARE(rig.feedback.events(), QStringList{"beep"});
        QVERIFY(rig.notSent());
        QCOMPARE(rig.label, QStringLiteral("123"));
    }

    void stopZenta_data()
    {
        QTest::addColumn<bool>("running");
        QTest::addColumn<bool>("accepts");
        QTest::addColumn<QList<quint32>>("posts");
        QTest::addColumn<QStringList>("events");
        QTest::newRow("ARSWIN running") << true << true << QList<quint32>{65535} << QStringList();
        QTest::newRow("no ARSWIN: nothing at all") << false << true << QList<quint32>() << QStringList();
        QTest::newRow("post refused") << true << false << QList<quint32>{65535} << QStringList{"beep"};
    }
    void stopZenta()
    {
        QFETCH(bool, running);
        QFETCH(bool, accepts);
        QFETCH(QList<quint32>, posts);
        QFETCH(QStringList, events);
        Rig rig;
        rig.arswin.m_running = running;
        rig.arswin.m_accepts = accepts;
        rig.rotors.StopZenta([](const RotorOutcome &) {});
        rig.rotors.StopKct([](const RotorOutcome &) {});
        QCOMPARE(rig.arswin.m_posts, posts);
        QCOMPARE(rig.feedback.events(), events);
        QVERIFY(rig.movenow.m_starts.isEmpty());
    }

    // A Movenow that cannot be started is reported and not counted as sent.
    void kctStartFailure_data()
    {
        QTest::addColumn<int>("error");
        QTest::newRow("not found") << 2;
        QTest::newRow("access denied") << 5;
        QTest::newRow("no program to run it") << 31;
    }
    void kctStartFailure()
    {
        QFETCH(int, error);
        Rig rig;
        rig.movenow.m_error = error;
        rig.go(InterfaceKind::Kct, 45);
        QCOMPARE(rig.feedback.events(), QStringList{QStringLiteral("warning:Avertissement:movenow.com error #%1").arg(error)});
        QVERIFY(rig.notSent());
        QCOMPARE(rig.label, QStringLiteral("PA 045"));
    }

    void closing_data()
    {
        QTest::addColumn<InterfaceKind>("selected");
        QTest::addColumn<int>("parking");
        QTest::addColumn<qsizetype>("stops");
        QTest::newRow("ZENTA, no parking") << InterfaceKind::Zenta << 0 << qsizetype(1);
        QTest::newRow("ZENTA parked on ZENTA") << InterfaceKind::Zenta << ordinal(InterfaceKind::Zenta) + 1 << qsizetype(0);
        QTest::newRow("ZENTA parked elsewhere") << InterfaceKind::Zenta << ordinal(InterfaceKind::Kct) + 1 << qsizetype(1);
        QTest::newRow("KCT") << InterfaceKind::Kct << 0 << qsizetype(0);
        QTest::newRow("GS-232") << InterfaceKind::Gs232 << 0 << qsizetype(0);
    }
    void closing()
    {
        QFETCH(InterfaceKind, selected);
        QFETCH(int, parking);
        QFETCH(qsizetype, stops);
        Rig rig;
        rig.rotors.closeForShutdown(parking, selected);
        QCOMPARE(rig.arswin.m_posts.size(), stops);
        QVERIFY(rig.movenow.m_starts.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestOutsideRotors)
#include "tst_OutsideRotors.moc"
