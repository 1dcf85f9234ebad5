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

class TestSession : public QObject, public IdleSource {
    Q_OBJECT
    std::unique_ptr<ScriptedServer> server;
    std::unique_ptr<QelTOCSock> toc;
    ManualClock clock;
    Conversations conversations;
    std::unique_ptr<Session> session;
    qint64 lastInput = 0;
    qint64 idleMs() override { return clock.now() - lastInput; }

    bool waitFor(State s) {
        return waitUntil([&] { return session->state() == s; });
    }
    // Waits for a connection after the `before`th and its greeting.
    bool connected(int before) {
        return waitUntil([&] { return server->connections() > before; }) && server->waitForBytes(8);
    }
    bool signedOn() {
        session->signOn({"Me", "pw", "127.0.0.1", server->port(), {}});
        return server->acceptSignOn() && waitFor(State::SignedOn);
    }
    // The lines sent since the last call, up to a marker line.
    QStringList sent() {
        toc->GetStatus(QStringLiteral("marker"));
        server->waitForLine(QStringLiteral("toc_get_status \"marker\""));
        QStringList lines = server->lines();
        server->clearReceived();
        return lines.mid(0, lines.size() - 1);
    }

  private slots:
    void init() {
        server = std::make_unique<ScriptedServer>();
        toc = std::make_unique<QelTOCSock>();
        conversations.clear();
        session = std::make_unique<Session>(toc.get(), &conversations, clock, [] { return 0.0; });
    }
    void cleanup() { session.reset(); }

    // A lost connection is tried again after 2, 4, 8 ... s, at most 5
    // minutes; the next loss after a sign-on starts again at 2 s.
    void retrySchedule() {
        QCOMPARE(Session::retryDelay(0, 1.0), qint64(5000));
        QCOMPARE(Session::retryDelay(1, 1.0), qint64(5000));
        QCOMPARE(Session::retryDelay(40, 0.9), Session::kMaxDelayMs);
        QVERIFY(signedOn());
        for (const qint64 wait : {2000, 4000, 8000, 16000, 32000, 64000, 128000, 256000, 300000}) {
            const int before = server->connections();
            server->closeClient();
            QVERIFY(waitFor(State::Waiting));
            QCOMPARE(session->secondsToRetry(), int(wait / 1000));
            clock.advance(wait - 1);
            QCOMPARE(session->state(), State::Waiting);
            clock.advance(1);
            QVERIFY(connected(before));
        }
        QVERIFY(server->acceptSignOn() && waitFor(State::SignedOn));
        server->resetClient();
        QVERIFY(waitFor(State::Waiting));
        QCOMPARE(session->secondsToRetry(), 2);
    }

    void noRetry_data() {
        QTest::addColumn<QString>("error"); // the refusal, or "logout"
        QTest::addColumn<bool>("onRetry");  // on a sign-on after a lost connection
        QTest::newRow("logout") << "logout" << false;
        QTest::newRow("980") << "ERROR:980" << false;
        QTest::newRow("989 sub-code") << "ERROR:989:5" << false;
        QTest::newRow("983 on a retry") << "ERROR:983" << true;
    }
    void noRetry() {
        QFETCH(QString, error);
        QFETCH(bool, onRetry);
        if (error == QLatin1String("logout") || onRetry)
            QVERIFY(signedOn());
        if (error == QLatin1String("logout")) {
            session->logout();
        } else {
            if (onRetry) {
                server->closeClient();
                QVERIFY(waitFor(State::Waiting));
                clock.advance(5000);
            } else {
                session->signOn({"Me", "pw", "127.0.0.1", server->port(), {}}, true);
            }
            QVERIFY(connected(onRetry ? 1 : 0));
            server->sendFrame(1, QByteArray::fromRawData("\0\0\0\1", 4));
            QVERIFY(server->waitForLineStartingWith(QStringLiteral("toc2_login ")));
            server->sendLine(error);
            server->closeClient();
        }
        QVERIFY(waitFor(State::Offline));
        const int connections = server->connections();
        clock.advance(60 * 60 * 1000);
        QTest::qWait(50);
        QCOMPARE(server->connections(), connections);
        QCOMPARE(session->state(), State::Offline);
    }

    // Rooms open when the connection was lost are joined once per new
    // sign-on and keep their views under the ids the new connection gives.
    void roomsRejoinedOnce() {
        QSignalSpy rejoined(session.get(), &Session::roomRejoined);
        QVERIFY(signedOn());
        conversations.openRoom(0, 1, QStringLiteral("Lobby"));
        conversations.openRoom(1, 2, QStringLiteral("Back Room"));
        for (int drop = 1; drop <= 2; ++drop) {
            server->closeClient();
            QVERIFY(waitFor(State::Waiting));
            QCOMPARE(conversations.roomView(0), -1);
            session->retryNow();
            QVERIFY(connected(drop) && server->acceptSignOn());
            QCOMPARE(sent().filter(QStringLiteral("toc_chat_join")),
                     (QStringList{"toc_chat_join \"4\" \"Back Room\"",
                                  "toc_chat_join \"4\" \"Lobby\""}));
        }
        for (const char *line : {"CHAT_JOIN:0:Back Room", "CHAT_JOIN:1:lobby", "CHAT_JOIN:5:Lobby"})
            server->sendLine(QLatin1String(line));
        QVERIFY(sent().isEmpty());
        QCOMPARE(rejoined.size(), 2);
        QCOMPARE(conversations.roomView(0), 2);
        QCOMPARE(conversations.roomView(1), 1);
        QCOMPARE(conversations.roomView(5), -1);
        QCOMPARE(conversations.openRooms(), 2);
    }

    void typingLines() {
        TypingNotifier typing(toc.get(), session.get(), clock);
        typing.edited(QStringLiteral("Bob"), true); // not signed on: nothing
        QVERIFY(signedOn());
        sent();
        // ms waited, then the box's state (-1 untouched, 0 empty, 1 text), and the line.
        const QList<std::tuple<qint64, int, int>> steps = {
            {0, 1, 2},  {1000, 1, -1},   {3999, 1, -1}, {1, 1, 2},  {4999, -1, -1},
            {1, -1, 1}, {60000, -1, -1}, {0, 1, 2},     {10, 0, 0}, {10000, 0, -1}};
        for (const auto &[after, edit, line] : steps) {
            clock.advance(after);
            if (edit >= 0)
                typing.edited(QStringLiteral("Bob"), edit == 1);
            const QStringList expected{QStringLiteral("toc2_client_event \"bob\" %1").arg(line)};
            QCOMPARE(sent(), line < 0 ? QStringList() : expected);
        }
        // Switched off: the partner told "typing" hears that it ended, then nothing.
        typing.edited(QStringLiteral("Bob"), true);
        typing.setEnabled(false);
        typing.edited(QStringLiteral("Bob"), true);
        clock.advance(10000);
        QCOMPARE(sent(),
                 (QStringList{"toc2_client_event \"bob\" 2", "toc2_client_event \"bob\" 0"}));
    }

    void idleLines() {
        lastInput = clock.now();
        IdleWatch idle(toc.get(), session.get(), this, 10, clock);
        QVERIFY(signedOn());
        QTest::qWait(20); // the work queued after toc_init_done
        sent();
        const QList<std::pair<qint64, QStringList>> steps = {
            {10 * 60 * 1000 - 1, {}}, {1, {"toc_set_idle \"600\""}}, {5 * 60 * 1000, {}}};
        for (const auto &[after, lines] : steps) {
            clock.advance(after);
            QCOMPARE(sent(), lines);
        }
        lastInput = clock.now(); // the next input
        clock.advance(IdleWatch::kIdlePollMs);
        QCOMPARE(sent(), QStringList{"toc_set_idle \"0\""});
        // Idle again, then a new connection: the idle time goes again.
        clock.advance(11 * 60 * 1000);
        server->closeClient();
        QVERIFY(waitFor(State::Waiting));
        clock.advance(5000);
        QVERIFY(connected(1) && server->acceptSignOn());
        QVERIFY(server->waitForLineStartingWith(QStringLiteral("toc_set_idle")));
        QCOMPARE(server->lines().filter(QStringLiteral("toc_set_idle")),
                 QStringList{QStringLiteral("toc_set_idle \"%1\"").arg(idleMs() / 1000)});
        // A new limit counts at once: 0 shows the user back, a short one idle.
        sent();
        idle.setMinutes(0);
        QCOMPARE(sent(), QStringList{"toc_set_idle \"0\""});
        idle.setMinutes(1);
        QCOMPARE(sent(), QStringList{QStringLiteral("toc_set_idle \"%1\"").arg(idleMs() / 1000)});
    }
};

QTEST_GUILESS_MAIN(TestSession)
#include "tst_session.moc"
