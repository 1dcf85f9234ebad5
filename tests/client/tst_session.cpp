// The session against the scripted server, on a clock moved by hand: when
// it signs on again and when not, the rooms joined again, and the idle and
// typing lines with their timing.
#include "client/conversations.h"
#include "client/idlesource.h"
#include "client/idlewatch.h"
#include "client/session.h"
#include "client/typingnotifier.h"
#include "manualclock.h"
#include "protocol/qeltocsock.h"
#include "scriptedserver.h"

#include <QSignalSpy>
#include <QTest>

using State = Session::State;

namespace {
struct FakeIdle : IdleSource {
    ManualClock &clock;
    qint64 lastInput = 0;
    explicit FakeIdle(ManualClock &c) : clock(c) {}
    qint64 idleMs() override { return clock.now() - lastInput; }
};
} // namespace

class TestSession : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void retryDelay_data();
    void retryDelay();
    void retrySchedule();
    void noRetry_data();
    void noRetry();
    void roomsRejoinedOnce();
    void typingLines();
    void idleLines();

  private:
    void signOn(bool automatic = false);
    // Waits for the state, reading the sockets (no timer runs meanwhile).
    bool waitFor(State state) {
        return waitUntil([&] { return session->state() == state; });
    }
    // The lines the client sent since the last call, up to a marker line.
    QStringList sent();
    // Waits for a connection after the `before`th, then signs it on.
    bool acceptNext(int before) {
        return waitUntil([&] { return server->connections() > before; }) && server->acceptSignOn();
    }

    std::unique_ptr<ScriptedServer> server;
    std::unique_ptr<QelTOCSock> toc;
    std::unique_ptr<ManualClock> clock;
    Conversations conversations;
    std::unique_ptr<Session> session;
    double random = 0;
};

void TestSession::init() {
    server = std::make_unique<ScriptedServer>();
    toc = std::make_unique<QelTOCSock>();
    clock = std::make_unique<ManualClock>();
    conversations.clear();
    random = 0;
    session =
        std::make_unique<Session>(toc.get(), &conversations, *clock, [this] { return random; });
}

void TestSession::cleanup() {
    session.reset();
    toc.reset();
    server.reset();
}

void TestSession::signOn(bool automatic) {
    session->signOn({"Me", "pw", "127.0.0.1", server->port(), {}}, automatic);
}

QStringList TestSession::sent() {
    toc->GetStatus(QStringLiteral("marker"));
    const QString marker = QStringLiteral("toc_get_status \"marker\"");
    if (!server->waitForLine(marker))
        return {QStringLiteral("(no marker)")};
    QStringList lines = server->lines();
    server->clearReceived();
    lines.removeAll(marker);
    return lines;
}

void TestSession::retryDelay_data() {
    QTest::addColumn<int>("failures");
    QTest::addColumn<double>("random");
    QTest::addColumn<qint64>("ms");
    QTest::newRow("first, least") << 0 << 0.0 << qint64(2000);
    QTest::newRow("first, most") << 0 << 1.0 << qint64(5000);
    QTest::newRow("second, least") << 1 << 0.0 << qint64(4000);
    QTest::newRow("second, most") << 1 << 1.0 << qint64(5000);
    QTest::newRow("fifth, middle") << 4 << 0.5 << qint64(32000 + 4000);
    QTest::newRow("capped") << 8 << 0.0 << qint64(300000);
    QTest::newRow("far on") << 1000 << 0.9 << qint64(300000);
}

void TestSession::retryDelay() {
    QFETCH(int, failures);
    QFETCH(double, random);
    QFETCH(qint64, ms);
    QCOMPARE(Session::retryDelay(failures, random), ms);
}

// A lost connection is tried again after 2, 4, 8 ... s, at most 5 minutes;
// a new sign-on starts the count anew.
void TestSession::retrySchedule() {
    QSignalSpy ended(session.get(), &Session::connectionEnded);
    signOn();
    QVERIFY(server->acceptSignOn());
    QVERIFY(waitFor(State::SignedOn));
    const QList<qint64> waits = {2000, 4000, 8000, 16000, 32000, 64000, 128000, 256000, 300000};
    for (const qint64 wait : waits) {
        const int before = server->connections();
        server->closeClient();
        QVERIFY(waitFor(State::Waiting));
        QCOMPARE(session->secondsToRetry(), int(wait / 1000));
        clock->advance(wait - 1);
        QCOMPARE(session->state(), State::Waiting);
        clock->advance(1);
        QCOMPARE(session->state(), State::SigningOn);
        QVERIFY(waitUntil([&] { return server->connections() == before + 1; }));
        QVERIFY(server->waitForBytes(8)); // the greeting: the connection is up
    }
    // The retry's connection gets through: the next loss waits 2 s again.
    QVERIFY(server->acceptSignOn());
    QVERIFY(waitFor(State::SignedOn));
    server->resetClient();
    QVERIFY(waitFor(State::Waiting));
    QCOMPARE(session->secondsToRetry(), 2);
    // "Reconnect now", and the network back, try at once.
    for (const auto tryNow : {&Session::retryNow, &Session::networkBack}) {
        const int before = server->connections();
        (session.get()->*tryNow)();
        QCOMPARE(session->state(), State::SigningOn);
        QVERIFY(waitUntil([&] { return server->connections() > before; }));
        QVERIFY(server->waitForBytes(8));
        server->closeClient();
        QVERIFY(waitFor(State::Waiting));
    }
    // No alert text for any of them: only the first close after a sign-on says why.
    for (const QList<QVariant> &args : std::as_const(ended))
        QVERIFY(args.at(1).toBool());
}

void TestSession::noRetry_data() {
    QTest::addColumn<QString>("how");
    for (const char *how : {"logout", "refused 980", "refused 983 on a retry", "refused 989",
                            "user's sign-on fails to connect", "refused sign-on at start"})
        QTest::newRow(how) << QString::fromLatin1(how);
}

void TestSession::noRetry() {
    QFETCH(QString, how);
    QSignalSpy ended(session.get(), &Session::connectionEnded);
    const auto refuse = [&](const char *error, int before) {
        QVERIFY(waitUntil([&] { return server->connections() > before; }));
        QVERIFY(waitUntil([&] { return server->received().startsWith("FLAPON\n\n"); }));
        server->sendFrame(1, QByteArray::fromRawData("\0\0\0\1", 4));
        QVERIFY(server->waitForLineStartingWith(QStringLiteral("toc2_login ")));
        server->sendLine(QLatin1String(error));
        server->closeClient();
    };
    if (how == QLatin1String("user's sign-on fails to connect")) {
        const quint16 port = server->port();
        server.reset(); // nobody listens there any more
        session->signOn({"Me", "pw", "127.0.0.1", port, {}});
        QVERIFY(waitUntil([&] { return !ended.isEmpty(); }));
        QVERIFY(!ended.first().at(0).toString().isEmpty()); // the socket's error, for the alert
    } else if (how == QLatin1String("refused sign-on at start")) {
        signOn(true);
        refuse("ERROR:980", 0);
    } else {
        signOn();
        if (how.startsWith(QLatin1String("refused 98")) && !how.contains(QLatin1String("retry"))) {
            refuse(how.endsWith(QLatin1String("989")) ? "ERROR:989:5" : "ERROR:980", 0);
        } else {
            QVERIFY(server->acceptSignOn());
            QVERIFY(waitFor(State::SignedOn));
            if (how == QLatin1String("logout")) {
                session->logout();
            } else {
                server->closeClient();
                QVERIFY(waitFor(State::Waiting));
                clock->advance(5000);
                refuse("ERROR:983", 1);
            }
        }
    }
    QVERIFY(waitFor(State::Offline));
    const int connections = server ? server->connections() : 0;
    clock->advance(60 * 60 * 1000);
    QTest::qWait(50);
    QCOMPARE(session->state(), State::Offline);
    QCOMPARE(server ? server->connections() : 0, connections);
    QVERIFY(!session->isRetrying());
}

// Rooms open when the connection was lost are joined once per new sign-on,
// and each keeps its view under the id the new connection gives it.
void TestSession::roomsRejoinedOnce() {
    QSignalSpy rejoined(session.get(), &Session::roomRejoined);
    signOn();
    QVERIFY(server->acceptSignOn());
    QVERIFY(waitFor(State::SignedOn));
    conversations.openRoom(0, 1, QStringLiteral("Lobby"));
    conversations.openRoom(1, 2, QStringLiteral("Back Room"));
    for (int drop = 0; drop < 2; ++drop) {
        server->closeClient();
        QVERIFY(waitFor(State::Waiting));
        QCOMPARE(conversations.roomView(0), -1); // old ids reach nothing
        const int before = server->connections();
        session->retryNow();
        QVERIFY(acceptNext(before));
        QCOMPARE(
            sent().filter(QStringLiteral("toc_chat_join")),
            (QStringList{"toc_chat_join \"4\" \"Back Room\"", "toc_chat_join \"4\" \"Lobby\""}));
    }
    // Answered on the last connection, ids swapped.
    server->sendLine(QStringLiteral("CHAT_JOIN:0:Back Room"));
    server->sendLine(QStringLiteral("CHAT_JOIN:1:lobby"));
    QVERIFY(waitUntil([&] { return rejoined.size() == 2; }));
    QCOMPARE(conversations.roomView(0), 2);
    QCOMPARE(conversations.roomView(1), 1);
    QCOMPARE(conversations.openRooms(), 2);
    QVERIFY(conversations.detachedRooms().isEmpty());
    // A second answer for the room changes nothing.
    server->sendLine(QStringLiteral("CHAT_JOIN:5:Lobby"));
    QCOMPARE(sent().filter(QStringLiteral("toc_chat_join")), QStringList());
    QCOMPARE(rejoined.size(), 2);
    QCOMPARE(conversations.roomView(5), -1);
}

void TestSession::typingLines() {
    TypingNotifier typing(toc.get(), session.get(), *clock);
    typing.edited(QStringLiteral("Bob"), true); // not signed on: nothing
    signOn();
    QVERIFY(server->acceptSignOn());
    QVERIFY(waitFor(State::SignedOn));
    sent();
    const QString typingLine = QStringLiteral("toc2_client_event \"bob\" 2");
    const QString pausedLine = QStringLiteral("toc2_client_event \"bob\" 1");
    const QString emptyLine = QStringLiteral("toc2_client_event \"bob\" 0");
    struct Step {
        qint64 after; // ms to wait first
        int edit;     // -1 none, 0 emptied, 1 text
        QStringList lines;
    };
    const QList<Step> steps = {
        {0, 1, {typingLine}},  // the first key
        {1000, 1, {}},         // keys keep coming
        {3999, 1, {}},         // 4999 ms since the last "typing"
        {1, 1, {typingLine}},  // 5 s: told again
        {4999, -1, {}},        // no key for almost 5 s
        {1, -1, {pausedLine}}, // 5 s without a key, text there
        {60000, -1, {}},       // told once
        {0, 1, {typingLine}},  // typing again
        {10, 0, {emptyLine}},  // emptied (or sent)
        {10000, -1, {}},       // nothing more
        {0, 0, {}},            // still empty: nothing
    };
    for (const Step &step : steps) {
        clock->advance(step.after);
        if (step.edit >= 0)
            typing.edited(QStringLiteral("Bob"), step.edit == 1);
        QCOMPARE(sent(), step.lines);
    }
    // Switched off: the partner told "typing" hears it ended, then nothing.
    typing.edited(QStringLiteral("Bob"), true);
    QCOMPARE(sent(), QStringList{typingLine});
    typing.setEnabled(false);
    typing.edited(QStringLiteral("Bob"), true);
    clock->advance(10000);
    QCOMPARE(sent(), QStringList{emptyLine});
}

void TestSession::idleLines() {
    FakeIdle source(*clock);
    IdleWatch idle(toc.get(), session.get(), &source, 10, *clock);
    signOn();
    QVERIFY(server->acceptSignOn());
    QVERIFY(waitUntil([&] { return session->isSignedOn(); }));
    QTest::qWait(20); // the queued work after toc_init_done
    sent();
    clock->advance(10 * 60 * 1000 - 1);
    QCOMPARE(sent(), QStringList());
    clock->advance(1);
    QCOMPARE(sent(), QStringList{"toc_set_idle \"600\""});
    clock->advance(5 * 60 * 1000);
    QCOMPARE(sent(), QStringList());
    source.lastInput = clock->now(); // the next input
    clock->advance(IdleWatch::kIdlePollMs);
    QCOMPARE(sent(), QStringList{"toc_set_idle \"0\""});
    // Idle again, then a new connection: the idle time goes again.
    clock->advance(11 * 60 * 1000);
    QCOMPARE(sent(), QStringList{"toc_set_idle \"600\""});
    server->closeClient();
    QVERIFY(waitFor(State::Waiting));
    clock->advance(5000);
    QVERIFY(acceptNext(1));
    QVERIFY(server->waitForLineStartingWith(QStringLiteral("toc_set_idle")));
    const qint64 idleSeconds = (clock->now() - source.lastInput) / 1000;
    QCOMPARE(server->lines().filter(QStringLiteral("toc_set_idle")),
             QStringList{QStringLiteral("toc_set_idle \"%1\"").arg(idleSeconds)});
}

QTEST_GUILESS_MAIN(TestSession)
#include "tst_session.moc"
