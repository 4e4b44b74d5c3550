// Failures told once per episode: again only after the device has worked.
#include "core/NoticeOnce.h"
#include "support/RecordingFeedback.h"

#include <QTest>

class TestNoticeOnce : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void toldOncePerEpisode_data()
    {
        // Each step: "a"/"b" tells that failure, "ok" the device worked, "ok a" that failure ended.
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("told");
        QTest::newRow("repeated without recovery") << QStringList {"a", "a", "a"} << QStringList {"a"};
        QTest::newRow("an outage, recovery, another outage") << QStringList {"a", "a", "ok", "a"}
                                                             << QStringList {"a", "a"};
        QTest::newRow("two failures at once") << QStringList {"a", "b", "a", "b"} << QStringList {"a", "b"};
        QTest::newRow("one failure ends, the other goes on")
            << QStringList {"a", "b", "ok a", "a", "b"} << QStringList {"a", "b", "a"};
    }
    void toldOncePerEpisode()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, told);
        RecordingFeedback feedback;
        NoticeOnce notices(feedback);
        for (const QString &step : steps) {
            if (step == QLatin1String("ok"))
                notices.recovered();
            else if (step.startsWith(QLatin1String("ok ")))
                QVERIFY(notices.recovered(step.mid(3)));
            else
                notices.tell(step, QStringLiteral("T"), step);
        }
        QStringList expected;
        for (const QString &text : told)
            expected << QStringLiteral("note:T:") + text;
        QCOMPARE(feedback.events(), expected);
        QVERIFY(!notices.recovered(QStringLiteral("never told")));
    }
};

QTEST_GUILESS_MAIN(TestNoticeOnce)
#include "tst_NoticeOnce.moc"
