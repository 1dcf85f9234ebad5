// The pacer's schedule against the server's speed limit, on the test's own
// clock: nothing waits for real time.
#include "client/sendpacer.h"

#include <QTest>

namespace {

using Kind = SendPacer::Kind;

// open-oscar-server's rule for one class, as its sources have it: under the
// limit level a command is refused, and the class stays refused until clear.
struct ServerRule {
    RateClass rate;
    qint64 average, last = 0;
    bool refused = false;
    explicit ServerRule(const RateClass &r) : rate(r), average(r.ceiling) {}
    bool accepts(qint64 now) {
        average =
            qMin<qint64>(rate.ceiling, (average * (rate.window - 1) + now - last) / rate.window);
        last = now;
        refused = average < (refused ? rate.clear : rate.limit);
        return !refused;
    }
};

} // namespace

class TestSendPacer : public QObject {
    Q_OBJECT

  private slots:
    void schedule_data();
    void schedule();
    void droppedAndRefused();
};

void TestSendPacer::schedule_data() {
    QTest::addColumn<QString>("kinds"); // I: an IM, R: a room line, in the order typed
    QTest::addColumn<int>("typedEveryMs");
    QTest::addColumn<int>("warning");
    QTest::newRow("ten IMs at once") << QString(10, u'I') << 0 << 0;
    QTest::newRow("thirty IMs a second apart") << QString(30, u'I') << 1000 << 0;
    QTest::newRow("ten IMs at once, warned 50%") << QString(10, u'I') << 0 << 50;
    QTest::newRow("two hundred room lines at once") << QString(200, u'R') << 0 << 0;
    QTest::newRow("IMs and room lines mixed") << QStringLiteral("IR").repeated(40) << 100 << 0;
}

// Every line leaves, in order, none is refused by the server's rule (which
// refuses the ninth of IMs sent at once, as the real server did), and none
// waits longer than one steady step of its class.
void TestSendPacer::schedule() {
    QFETCH(QString, kinds);
    QFETCH(int, typedEveryMs);
    QFETCH(int, warning);
    ServerRule unpaced(kImRate);
    for (int i = 0; i < 9; ++i)
        QCOMPARE(unpaced.accepts(6000), i < 8);
    qint64 now = 0;
    SendPacer pacer;
    pacer.setClock([&now] { return now; });
    pacer.setWarningLevel(warning);
    // The warned levels written out: 50% of the way up to 5850.
    ServerRule im(warning ? RateClass{20, 6000, 5475, 5425, 4925, 3000} : kImRate);
    ServerRule room(kRoomRate);
    QList<qint64> left(kinds.size(), -1);
    QList<int> refused;
    for (int typed = 0; typed < kinds.size() || pacer.waiting() > 0;) {
        const qint64 due = pacer.nextDeparture();
        if (typed < kinds.size() && (due < 0 || qint64(typed) * typedEveryMs <= due)) {
            now = qMax(now, qint64(typed) * typedEveryMs);
            const int i = typed++;
            const bool isIm = kinds.at(i) == u'I';
            const auto send = [&, i, isIm] {
                if (!(isIm ? im : room).accepts(now))
                    refused << i;
                left[i] = now;
                return true;
            };
            pacer.submit({isIm ? Kind::IM : Kind::Room, send, {}, {}});
        } else {
            now = due;
            pacer.pump();
        }
    }
    QCOMPARE(refused, QList<int>());
    qint64 previous[2] = {0, 0};
    for (int i = 0; i < kinds.size(); ++i) {
        const bool isIm = kinds.at(i) == u'I';
        QVERIFY(left.at(i) >= previous[isIm]);
        QVERIFY(left.at(i) <=
                qMax(previous[isIm], qint64(i) * typedEveryMs) + (isIm ? 5850 : 2000));
        previous[isIm] = left.at(i);
    }
}

// A refusal goes to the last line that left, once, and not when it comes
// late; waiting lines are dropped in the order typed when the connection ends,
// and held while a sign-on is under way.
void TestSendPacer::droppedAndRefused() {
    qint64 now = 0;
    SendPacer pacer;
    pacer.setClock([&now] { return now; });
    QStringList log;
    const auto submit = [&](Kind kind, int i) {
        return pacer.submit(
            {kind, [] { return true; },
             [&log, i](SendPacer::Outcome o) { log << QStringLiteral("%1:%2").arg(i).arg(int(o)); },
             [&log, i] { log << QStringLiteral("%1 refused").arg(i); }});
    };
    int typed = 0;
    for (const Kind kind : {Kind::IM, Kind::IM, Kind::Room, Kind::Room, Kind::Room})
        submit(kind, typed++);
    pacer.speedLimitHit();
    pacer.speedLimitHit();
    // Even from the limit level the server takes 26 s to clear IMs again.
    now = 5100 * 20 - 4000 * 19 - 1;
    pacer.pump();
    pacer.connectionEnded();
    QCOMPARE(log, QStringList({"0 refused", "2:0", "1:2", "3:2", "4:2"}));
    QCOMPARE(submit(Kind::IM, 5), SendPacer::Submitted::Left); // the pace starts again
    now += SendPacer::kRefusalWindowMs + 1;
    QVERIFY(!pacer.speedLimitHit());
    QCOMPARE(log.size(), 5);
    // While a new sign-on is under way every line waits, then leaves.
    pacer.hold();
    QCOMPARE(submit(Kind::IM, 6), SendPacer::Submitted::Waits);
    now += 60000;
    pacer.pump();
    QCOMPARE(log.size(), 5);
    pacer.sessionStarted();
    pacer.pump();
    QCOMPARE(log.last(), QStringLiteral("6:0"));
}

QTEST_GUILESS_MAIN(TestSendPacer)
#include "tst_sendpacer.moc"
