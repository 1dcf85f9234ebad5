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
    qint64 average;
    qint64 last;
    bool refused = false;
    ServerRule(const RateClass &r, qint64 signOn) : rate(r), average(r.ceiling), last(signOn) {}
    bool accepts(qint64 now) {
        average =
            qMin<qint64>(rate.ceiling, (average * (rate.window - 1) + now - last) / rate.window);
        last = now;
        refused = average < (refused ? rate.clear : rate.limit);
        return !refused;
    }
};

SendPacer::Line line(Kind kind, std::function<bool()> send) {
    SendPacer::Line l;
    l.kind = kind;
    l.send = std::move(send);
    return l;
}

} // namespace

class TestSendPacer : public QObject {
    Q_OBJECT

  private slots:
    void serverRuleAsProbed();
    void schedule_data();
    void schedule();
    void waitingLinesDroppedInOrder();
    void refusalGoesToTheLastLine();
};

// The probe of the real server: after a quiet start, 8 IMs back to back
// pass and the next are refused.
void TestSendPacer::serverRuleAsProbed() {
    ServerRule server(kImRate, 0);
    int accepted = 0;
    for (int i = 0; i < 14; ++i)
        accepted += server.accepts(6000);
    QCOMPARE(accepted, 8);
}

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

// Every line leaves, in order, none is refused by the server's rule, and
// none waits longer than one steady step of its class.
void TestSendPacer::schedule() {
    QFETCH(QString, kinds);
    QFETCH(int, typedEveryMs);
    QFETCH(int, warning);
    qint64 now = 0;
    SendPacer pacer;
    pacer.setClock([&now] { return now; });
    pacer.setWarningLevel(warning);
    // The warned levels written out: 50% of the way up to 5850.
    ServerRule im(warning ? RateClass{20, 6000, 5475, 5425, 4925, 3000} : kImRate, 0);
    ServerRule room(kRoomRate, 0);
    QList<qint64> left(kinds.size(), -1);
    QList<int> refused;
    int typed = 0;
    while (typed < kinds.size() || pacer.waiting() > 0) {
        const qint64 due = pacer.nextDeparture();
        const qint64 typedAt = qint64(typed) * typedEveryMs;
        if (typed < kinds.size() && (due < 0 || typedAt <= due)) {
            now = qMax(now, typedAt);
            const int i = typed++;
            const Kind kind = kinds.at(i) == u'I' ? Kind::IM : Kind::Room;
            pacer.submit(line(kind, [&, i, kind] {
                if (!(kind == Kind::IM ? im : room).accepts(now))
                    refused << i;
                left[i] = now;
                return true;
            }));
        } else {
            now = due;
            pacer.pump();
        }
    }
    QCOMPARE(refused, QList<int>());
    qint64 previous[2] = {0, 0};
    for (int i = 0; i < kinds.size(); ++i) {
        const bool isIm = kinds.at(i) == u'I';
        const qint64 step = isIm ? 5850 : kRoomRate.keepAbove;
        QVERIFY(left.at(i) >= previous[isIm]); // in order
        QVERIFY2(left.at(i) <= qMax(previous[isIm], qint64(i) * typedEveryMs) + step,
                 qPrintable(QString::number(i)));
        previous[isIm] = left.at(i);
    }
}

void TestSendPacer::waitingLinesDroppedInOrder() {
    qint64 now = 0;
    SendPacer pacer;
    pacer.setClock([&now] { return now; });
    QStringList log;
    for (int i = 0; i < 5; ++i) {
        SendPacer::Line l = line(i % 2 ? Kind::Room : Kind::IM, [&log, i] {
            log << QStringLiteral("sent %1").arg(i);
            return true;
        });
        l.settled = [&log, i](SendPacer::Outcome o) {
            log << QStringLiteral("%1 %2").arg(i).arg(o == SendPacer::Outcome::Dropped);
        };
        pacer.submit(std::move(l));
    }
    now = 100;
    pacer.pump();
    pacer.connectionEnded();
    QCOMPARE(log, QStringList({"sent 0", "1 1", "2 1", "3 1", "4 1"}));
    QCOMPARE(pacer.waiting(), 0);
    // The pace starts again.
    QCOMPARE(pacer.submit(line(Kind::IM, [] { return true; })), SendPacer::Submitted::Left);
}

void TestSendPacer::refusalGoesToTheLastLine() {
    qint64 now = 0;
    SendPacer pacer;
    pacer.setClock([&now] { return now; });
    int refused = 0;
    SendPacer::Line first = line(Kind::IM, [] { return true; });
    first.refused = [&refused] { ++refused; };
    QCOMPARE(pacer.submit(std::move(first)), SendPacer::Submitted::Left);
    now = 100;
    pacer.speedLimitHit();
    pacer.speedLimitHit();
    QCOMPARE(refused, 1);
    // Even from the limit level the server takes 26 s to clear again.
    QCOMPARE(pacer.submit(line(Kind::IM, [] { return true; })), SendPacer::Submitted::Waits);
    QVERIFY(pacer.nextDeparture() >= (5100 * 20 - 4000 * 19));
    // A refusal long after our last line is not ours.
    SendPacer::Line late = line(Kind::Room, [] { return true; });
    late.refused = [&refused] { ++refused; };
    pacer.submit(std::move(late));
    now = 300;
    pacer.pump();
    now += SendPacer::kRefusalWindowMs + 1;
    pacer.speedLimitHit();
    QCOMPARE(refused, 1);
}

QTEST_GUILESS_MAIN(TestSendPacer)
#include "tst_sendpacer.moc"
