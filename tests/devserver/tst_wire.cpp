// The server on the wire, with a bare socket: greeting, frames, sequence
// numbers, sign-on refusals, over-long lines, flood control, keep-alives,
// bad input that must cost only the client that sent it, and what each kind
// of command line brings to the connection that sent it, to the account's
// other connection and to another user.
#include "rawclient.h"
#include "testserver.h"

#include "devserver/devserver.h"
#include "devserver/floodcontrol.h"
#include "protocol/commands.h"
#include "protocol/wire.h"

#include <QCryptographicHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using devserver::DevServer;

class TestWire : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void greetingAndSignOnFrames_data();
    void greetingAndSignOnFrames();
    void wrongPasswordClosesConnection();
    void oldPasswordRecordUpgradedAtSignOn_data();
    void oldPasswordRecordUpgradedAtSignOn();
    void linesBehindLoginWaitForSignOn_data();
    void linesBehindLoginWaitForSignOn();
    void closedRegistration();
    void secondSignOnKeepsBoth();
    void longLinesClose();
    void unknownCommandBeforeAndAfterSignOn();
    void floodControl();
    void keepAlive();
    void badInputDropsOnlyThatClient_data();
    void badInputDropsOnlyThatClient();
    void linesAndAnswers_data();
    void linesAndAnswers();

  private:
    void startServer(const devserver::ServerOptions &options);
    std::unique_ptr<DevServer> m_server;
};

void TestWire::startServer(const devserver::ServerOptions &options) {
    m_server = std::make_unique<DevServer>(options);
    QString error;
    QVERIFY2(m_server->start(&error), qPrintable(error));
}

void TestWire::init() {
    startServer(testOptions());
}

void TestWire::cleanup() {
    m_server.reset();
}

void TestWire::greetingAndSignOnFrames_data() {
    QTest::addColumn<bool>("crlf");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("signOnLines");
    QTest::addColumn<QString>("imLine"); // an IM to itself, after toc_init_done

    // The configuration in one line, with no m: record before a mode is set.
    const QStringList toc2{"SIGN_ON:TOC2.0", "NICK:alice",
                           "CONFIG2:g:Buddies\nb:vorklebot\ndone:\n"};
    QTest::newRow("LF LF") << false << "toc2_login" << toc2
                           << "IM_IN_ENC2:alice:F:F:T: O :F:L:en:hi";
    QTest::newRow("CR LF CR LF") << true << "toc2_login" << toc2
                                 << "IM_IN_ENC2:alice:F:F:T: O :F:L:en:hi";
    QTest::newRow("toc2_signon: IM_IN2") << false << "toc2_signon" << toc2 << "IM_IN2:alice:F:F:hi";
    QTest::newRow("toc_signon: no configuration, IM_IN")
        << false << "toc_signon" << QStringList{"SIGN_ON:TOC1.0", "CONFIG:", "NICK:alice"}
        << "IM_IN:alice:F:hi";
}

void TestWire::greetingAndSignOnFrames() {
    QFETCH(bool, crlf);
    QFETCH(QString, command);
    QFETCH(QStringList, signOnLines);
    QFETCH(QString, imLine);
    RawClient c;
    QVERIFY(c.connectTo(m_server->port()));
    QVERIFY(c.greet(crlf));
    c.sendFrame(toc::SignOn, toc::signOnData("alice"));
    QString login = toc::signOnLine(QStringLiteral("login.oscar.aol.com"), 5190,
                                    QStringLiteral("alice"), toc::roastPassword("pw"));
    c.sendLine(login.replace(QStringLiteral("toc2_login"), command));
    QVERIFY(c.waitFrames(4));
    const QList<QByteArray> f = c.frames();
    // The server's sign-on frame, sequence 0, data 0 0 0 1.
    QCOMPARE(f[0], QByteArray("*\x01\x00\x00\x00\x04\x00\x00\x00\x01", 10));
    // Then the lines, numbered on, with no trailing NUL.
    for (int i = 1; i < 4; ++i)
        QCOMPARE(f[i], toc::buildFrame(toc::Data, quint16(i), signOnLines[i - 1].toUtf8()));
    c.clear();
    c.sendLine(QStringLiteral("toc_init_done"));
    c.sendLine(QStringLiteral("toc_send_im alice hi"));
    QVERIFY(c.waitLine(imLine));
}

void TestWire::wrongPasswordClosesConnection() {
    RawClient first;
    QVERIFY(first.connectTo(m_server->port()));
    QVERIFY(first.signOn(QStringLiteral("alice"), QStringLiteral("right")));
    first.close();

    RawClient c;
    QVERIFY(c.connectTo(m_server->port()));
    c.startSignOn(QStringLiteral("alice"), QStringLiteral("wrong"));
    QVERIFY(c.waitClosed());
    QCOMPARE(c.lines(), QStringList{QStringLiteral("ERROR:980")});

    // A screen name that cannot exist is refused the same way.
    RawClient bad;
    QVERIFY(bad.connectTo(m_server->port()));
    bad.startSignOn(QStringLiteral("a:b"), QStringLiteral("pw"));
    QVERIFY(bad.waitClosed());
    QCOMPARE(bad.lines(), QStringList{QStringLiteral("ERROR:980")});

    // Nobody signs on as the bot.
    RawClient bot;
    QVERIFY(bot.connectTo(m_server->port()));
    bot.startSignOn(QStringLiteral("vorklebot"), QStringLiteral("pw"));
    QVERIFY(bot.waitClosed());
    QCOMPARE(bot.lines(), QStringList{QStringLiteral("ERROR:980")});
}

void TestWire::oldPasswordRecordUpgradedAtSignOn_data() {
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("right password") << QStringLiteral("pw") << true;
    QTest::newRow("wrong password") << QStringLiteral("px") << false;
}

// A database file written before password records had a scheme: one round
// of salted SHA-256 and no scheme or count columns.
void TestWire::oldPasswordRecordUpgradedAtSignOn() {
    QFETCH(QString, password);
    QFETCH(bool, accepted);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    devserver::ServerOptions o = testOptions();
    o.database = dir.filePath(QStringLiteral("old.sqlite"));
    const QByteArray salt = "0123456789abcdef";
    const QByteArray oldHash = QCryptographicHash::hash(salt + "pw", QCryptographicHash::Sha256);
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("old"));
        db.setDatabaseName(o.database);
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec(
            QStringLiteral("CREATE TABLE accounts (name TEXT PRIMARY KEY, formatted TEXT NOT NULL,"
                           " salt BLOB NOT NULL, hash BLOB NOT NULL, created INTEGER NOT NULL,"
                           " warning INTEGER NOT NULL DEFAULT 0, pdmode INTEGER NOT NULL DEFAULT 1,"
                           " profile TEXT NOT NULL DEFAULT '', icon BLOB)")));
        q.prepare(QStringLiteral("INSERT INTO accounts (name, formatted, salt, hash, created)"
                                 " VALUES ('alice', 'Alice', ?, ?, 0)"));
        q.addBindValue(salt);
        q.addBindValue(oldHash);
        QVERIFY(q.exec());
        // Buddies as they were stored before notes, under the name as typed.
        QVERIFY(q.exec(QStringLiteral("CREATE TABLE buddy_groups (account TEXT NOT NULL,"
                                      " pos INTEGER NOT NULL, name TEXT NOT NULL)")));
        QVERIFY(q.exec(QStringLiteral("CREATE TABLE buddies (account TEXT NOT NULL, grp INTEGER"
                                      " NOT NULL, pos INTEGER NOT NULL, name TEXT NOT NULL,"
                                      " alias TEXT NOT NULL)")));
        QVERIFY(q.exec(QStringLiteral("INSERT INTO buddy_groups VALUES ('alice', 0, 'Old')")));
        QVERIFY(q.exec(QStringLiteral("INSERT INTO buddies VALUES ('alice', 0, 0, 'Bob B', '')")));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("old"));
    startServer(o);

    RawClient c;
    QVERIFY(c.connectTo(m_server->port()));
    if (accepted) {
        QVERIFY(c.signOn(QStringLiteral("alice"), password));
    } else {
        c.startSignOn(QStringLiteral("alice"), password);
        QVERIFY(c.waitClosed());
        QCOMPARE(c.lines(), QStringList{QStringLiteral("ERROR:980")});
    }
    const std::optional<devserver::PasswordHash> now =
        m_server->store().passwordHash(QStringLiteral("alice"));
    QVERIFY(now);
    QCOMPARE(now->scheme == devserver::PasswordHash::Scheme::Pbkdf2Sha256, accepted);
    QCOMPARE(now->salt != salt, accepted);
    QCOMPARE(now->iterations, accepted ? o.passwordIterations : 1);
    QVERIFY(now->matches("pw"));
    QCOMPARE(m_server->store().account(QStringLiteral("alice"))->formatted,
             QStringLiteral("Alice"));

    // The account signs on with its password again, with either record; its
    // old buddies come normalised, and the mode the old file stored is sent.
    RawClient again;
    QVERIFY(again.connectTo(m_server->port()));
    again.startSignOn(QStringLiteral("alice"), QStringLiteral("pw"));
    QVERIFY(again.waitLine(QStringLiteral("CONFIG2:")));
    QCOMPARE(again.lines().last(), QStringLiteral("CONFIG2:m:1\ng:Old\nb:bobb\ndone:\n"));
}

void TestWire::linesBehindLoginWaitForSignOn_data() {
    QTest::addColumn<int>("profiles"); // 2 KB lines between toc_init_done and the last line
    QTest::newRow("two lines") << 0;
    QTest::newRow("and 200 KB, more than a session reads at once") << 100;
}

// The password is checked off the event loop: lines sent right behind the
// login line wait for it, keep their order and are all handled.
void TestWire::linesBehindLoginWaitForSignOn() {
    QFETCH(int, profiles);
    RawClient c;
    QVERIFY(c.connectTo(m_server->port()));
    QVERIFY(c.greet());
    c.sendLogin(QStringLiteral("alice"), QStringLiteral("pw"));
    c.sendLine(QStringLiteral("toc_init_done"));
    for (int i = 0; i < profiles; ++i)
        c.sendLine(
            QStringLiteral("toc_set_info \"%1\"").arg(QString(2000, QLatin1Char('a' + i % 26))));
    c.sendLine(QStringLiteral("toc_get_status vorklebot"));
    QVERIFY(c.waitLine(QStringLiteral("UPDATE_BUDDY2:vorklebot:T:")));
    const QStringList lines = c.lines();
    QCOMPARE(lines.mid(0, 2),
             (QStringList{QStringLiteral("SIGN_ON:TOC2.0"), QStringLiteral("NICK:alice")}));
    QVERIFY(lines.value(2).startsWith(QLatin1String("CONFIG2:")));
    QCOMPARE(c.countLines(QStringLiteral("ERROR:")), 0);
    if (profiles > 0)
        QCOMPARE(m_server->store().profile(QStringLiteral("alice")),
                 QString(2000, QLatin1Char('a' + (profiles - 1) % 26)));
}

void TestWire::closedRegistration() {
    devserver::ServerOptions o = testOptions();
    o.openRegistration = false;
    startServer(o);
    RawClient c;
    QVERIFY(c.connectTo(m_server->port()));
    c.startSignOn(QStringLiteral("newcomer"), QStringLiteral("pw"));
    QVERIFY(c.waitClosed());
    QCOMPARE(c.lines(), QStringList{QStringLiteral("ERROR:980")});
}

// Both connections stay signed on and get the account's IMs; watchers see
// the account away only while both are away.
void TestWire::secondSignOnKeepsBoth() {
    RawClient first, second, bob;
    QVERIFY(bob.connectTo(m_server->port()));
    QVERIFY(bob.signOn(QStringLiteral("bob"), QStringLiteral("pw")));
    bob.sendLine(QStringLiteral("toc2_new_buddies \"g:Friends\nb:alice\n\""));
    QVERIFY(first.connectTo(m_server->port()));
    QVERIFY(first.signOn(QStringLiteral("alice"), QStringLiteral("pw")));
    QVERIFY(second.connectTo(m_server->port()));
    QVERIFY(second.signOn(QStringLiteral("alice"), QStringLiteral("pw")));
    // The second sign-on shows alice to bob once more.
    QTRY_COMPARE(bob.countLines(QStringLiteral("UPDATE_BUDDY2:alice:T:")), 2);
    bob.sendLine(QStringLiteral("toc_send_im alice \"to both\""));
    const QString im = QStringLiteral("IM_IN_ENC2:bob:F:F:T: O :F:L:en:to both");
    QVERIFY(first.waitLine(im));
    QVERIFY(second.waitLine(im));
    QVERIFY(first.isConnected());

    const auto lastClass = [&bob] {
        return bob.lines().filter(QStringLiteral("UPDATE_BUDDY2:alice:")).last().section(':', 6, 6);
    };
    second.sendLine(QStringLiteral("toc_set_away \"gone\""));
    first.sendLine(QStringLiteral("toc_set_away \"gone too\""));
    QTRY_COMPARE(lastClass(), QStringLiteral(" OU"));
    QCOMPARE(bob.countLines(QStringLiteral("UPDATE_BUDDY2:alice:T:")), 3); // not at the first
    // The connection that was not away first leaves: still away.
    second.sendLine(QStringLiteral("toc_set_away"));
    QTRY_COMPARE(lastClass(), QStringLiteral(" O "));
    second.close();
    QTRY_COMPARE(lastClass(), QStringLiteral(" OU"));
    // A departure names the account as the server keeps it, not as formatted.
    first.sendLine(QStringLiteral("toc_format_nickname \"A Lice\""));
    QVERIFY(bob.waitLine(QStringLiteral("UPDATE_BUDDY2:A Lice:T:")));
    first.close();
    QVERIFY(bob.waitLine(QStringLiteral("UPDATE_BUDDY2:alice:F:0:0:0:   :")));
}

// 2048 bytes are a line; 2049 close the connection without a word.
void TestWire::longLinesClose() {
    RawClient c;
    QVERIFY(c.connectTo(m_server->port()));
    QVERIFY(c.signOn(QStringLiteral("alice"), QStringLiteral("pw")));
    const QString fits =
        QStringLiteral("toc_set_info \"") + QString(2048 - 15, QLatin1Char('x')) + QLatin1Char('"');
    QCOMPARE(fits.size(), 2048);
    c.sendLine(fits);
    c.sendLine(QStringLiteral("toc_get_status vorklebot"));
    QVERIFY(c.waitLine(QStringLiteral("UPDATE_BUDDY2:vorklebot:")));
    QCOMPARE(m_server->store().profile(QStringLiteral("alice")).size(), 2048 - 15);
    c.clear();
    c.sendLine(QStringLiteral("toc_set_info \"") + QString(2049 - 15, QLatin1Char('y')) +
               QLatin1Char('"'));
    c.sendLine(QStringLiteral("toc_get_status vorklebot"));
    QVERIFY(c.waitClosed());
    QVERIFY(c.lines().isEmpty());
    QCOMPARE(m_server->store().profile(QStringLiteral("alice")).size(), 2048 - 15);
}

// Before sign-on, a line that is not a sign-on command gets ERROR:913 and
// the connection closes; after it, an unknown command gets ERROR:913.
void TestWire::unknownCommandBeforeAndAfterSignOn() {
    const QString error = QStringLiteral("ERROR:913:internal server error");
    RawClient early;
    QVERIFY(early.connectTo(m_server->port()));
    QVERIFY(early.greet());
    early.sendFrame(toc::SignOn, toc::signOnData("alice"));
    early.sendLine(QStringLiteral("toc_send_im bob hi"));
    QVERIFY(early.waitClosed());
    QCOMPARE(early.lines(), QStringList{error});

    RawClient c;
    QVERIFY(c.connectTo(m_server->port()));
    c.startSignOn(QStringLiteral("alice"), QStringLiteral("pw"));
    QVERIFY(c.waitLine(QStringLiteral("CONFIG2:")));
    c.sendLine(QStringLiteral("toc_no_such_thing 1 2"));
    c.sendLine(QStringLiteral("toc_send_im \"unterminated")); // read whole: no message
    QVERIFY(QTest::qWaitFor([&] { return c.countLines(error) == 2; }, 5000));
    QVERIFY(c.isConnected());
}

// Lines over the limit get ERROR:903; a client that goes on is disconnected.
void TestWire::floodControl() {
    devserver::ServerOptions o = testOptions();
    o.floodLimit = 5;
    startServer(o);
    RawClient c;
    QVERIFY(c.connectTo(m_server->port()));
    c.startSignOn(QStringLiteral("alice"), QStringLiteral("pw"));
    QVERIFY(c.waitLine(QStringLiteral("CONFIG2:")));
    c.clear();
    // Twenty lines in one write: five are answered, six refused, then the end.
    QByteArray burst;
    for (int i = 0; i < 20; ++i)
        burst += toc::buildFrame(toc::Data, quint16(10 + i), "toc_get_status vorklebot\0");
    c.sendRaw(burst);
    QVERIFY(c.waitClosed());
    QCOMPARE(c.countLines(QStringLiteral("UPDATE_BUDDY2:vorklebot:")), 5);
    QCOMPARE(c.countLines(QStringLiteral("ERROR:903")), devserver::FloodControl::kRefusals);
    QCOMPARE(c.lines().size(), 5 + devserver::FloodControl::kRefusals);
}

void TestWire::keepAlive() {
    devserver::ServerOptions o = testOptions();
    o.keepAliveSeconds = 1;
    startServer(o);
    RawClient c;
    QVERIFY(c.connectTo(m_server->port()));
    QVERIFY(c.signOn(QStringLiteral("alice"), QStringLiteral("pw")));
    c.sendFrame(toc::KeepAlive, QByteArray()); // accepted silently
    QVERIFY(QTest::qWaitFor(
        [&] {
            for (const QByteArray &f : c.frames()) {
                if (f.size() == 6 && f[1] == char(toc::KeepAlive) &&
                    f.endsWith(QByteArray("\0\0", 2)))
                    return true;
            }
            return false;
        },
        5000));
    QVERIFY(c.lines().isEmpty());
}

void TestWire::badInputDropsOnlyThatClient_data() {
    QTest::addColumn<bool>("signedOn");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("serverCloses");

    QTest::newRow("garbage instead of greeting")
        << false << QByteArray("POST / HTTP/1.1\r\n\r\n") << true;
    QTest::newRow("HTTP request instead of greeting: answered, closed")
        << false << QByteArray("GET / HTTP/1.1\r\n\r\n") << true;
    QTest::newRow("a line before the sign-on frame")
        << false << QByteArray("FLAPON\r\n\r\n") + toc::buildFrame(toc::Data, 0, "toc2_login x\0")
        << true;
    QTest::newRow("2,049-byte line")
        << true << toc::buildFrame(toc::Data, 5, QByteArray(2049, 'x') + '\0') << true;
    QTest::newRow("empty line") << true << toc::buildFrame(toc::Data, 5, QByteArray(1, '\0'))
                                << true;
    QTest::newRow("1 MB without greeting") << false << QByteArray(1 << 20, 'A') << true;
    QTest::newRow("garbage after sign-on") << true << QByteArray("\x00\xff hello", 8) << true;
    QTest::newRow("wrong marker") << true << QByteArray("#\x02\x00\x05\x00\x01x", 7) << true;
    QTest::newRow("unknown frame type") << true << QByteArray("*\x09\x00\x05\x00\x00", 6) << true;
    QTest::newRow("huge length") << true
                                 << QByteArray("*\x02\x00\x05\xff\xff", 6) + QByteArray(100, 'x')
                                 << true;
    QTest::newRow("1 MB line") << true
                               << QByteArray("*\x02\x00\x05\xff\xff", 6) + QByteArray(1 << 20, 'x')
                               << true;
    QTest::newRow("half frame then disconnect")
        << true << QByteArray("*\x02\x00\x05\x00\x40toc_se", 12) << false;
    QTest::newRow("half header then disconnect") << true << QByteArray("*\x02\x00", 3) << false;
}

void TestWire::badInputDropsOnlyThatClient() {
    QFETCH(bool, signedOn);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, serverCloses);

    RawClient good, other;
    QVERIFY(good.connectTo(m_server->port()));
    QVERIFY(good.signOn(QStringLiteral("good"), QStringLiteral("pw")));
    QVERIFY(other.connectTo(m_server->port()));
    QVERIFY(other.signOn(QStringLiteral("other"), QStringLiteral("pw")));

    RawClient bad;
    QVERIFY(bad.connectTo(m_server->port()));
    if (signedOn) {
        QVERIFY(bad.signOn(QStringLiteral("bad"), QStringLiteral("pw")));
    }
    QTRY_COMPARE(m_server->sessionCount(), 3);
    bad.sendRaw(bytes);
    if (serverCloses) {
        QVERIFY(bad.waitClosed());
    } else {
        QTest::qWait(50);
        bad.close();
    }
    QTRY_COMPARE(m_server->sessionCount(), 2);

    // The others go on talking.
    good.sendLine(QStringLiteral("toc_send_im other \"still here\""));
    QVERIFY(other.waitLine(QStringLiteral("IM_IN_ENC2:good:F:F:T: O :F:L:en:still here")));
    // And the bad name is free to sign on again.
    RawClient again;
    QVERIFY(again.connectTo(m_server->port()));
    QVERIFY(again.signOn(QStringLiteral("bad"), QStringLiteral("pw")));
}

namespace {

const QString kBarrier = QStringLiteral("ERROR:901:no.body");

// The lines a client got before the answer to a status request sent now:
// the server handles a connection's lines in order, so everything the
// commands before caused for it is in.
QStringList settled(RawClient &c) {
    c.sendLine(QStringLiteral("toc_get_status \"no.body\""));
    if (!c.waitLine(kBarrier))
        return {QStringLiteral("(no answer)")};
    QStringList lines = c.lines();
    lines.removeAll(kBarrier);
    c.clear();
    return lines;
}

} // namespace

void TestWire::linesAndAnswers_data() {
    QTest::addColumn<QString>("setup"); // sent first by the acting connection
    QTest::addColumn<QString>("line");  // then this, by the same connection
    QTest::addColumn<QStringList>("actor");
    QTest::addColumn<QStringList>("otherConnection"); // the account's second one
    QTest::addColumn<QStringList>("bob");

    const QString internal = QStringLiteral("ERROR:913:internal server error");
    const QString im = QStringLiteral("IM_IN_ENC2:alice:F:F:T: O :F:L:en:");
    const QStringList none;

    // The argument reader, seen in the message that arrives.
    QTest::newRow("IM: escaped quote then space cuts the message")
        << ""
        << "toc_send_im \"bob\" \"say \\\"hi\\\" now\"" << none << none
        << QStringList{im + "say \"hi"};
    QTest::newRow("IM: ...and an auto-response loses its word")
        << ""
        << "toc_send_im \"bob\" \"I am \\\"away\\\" now\" auto" << none << none
        << QStringList{im + "I am \"away"};
    QTest::newRow("IM: doubled quote") << ""
                                       << "toc_send_im \"bob\" \"say \"\"hi\"\" now\"" << none
                                       << none << QStringList{im + "say \"hi\" now"};
    QTest::newRow("IM: &quot; and escapes, as the client sends them")
        << ""
        << "toc_send_im \"bob\" \"<a href=&quot;x&quot;>\\(l\\) \\$5 C:\\\\d</a>\" auto" << none
        << none
        << QStringList{"IM_IN_ENC2:alice:T:F:T: O :F:L:en:<a href=&quot;x&quot;>(l) $5 C:\\d</a>"};
    QTest::newRow("IM: toc2_send_im_enc")
        << ""
        << "toc2_send_im_enc \"bob\" \"F\" \"U\" \"en\" \"enc \\(form\\)\" auto" << none << none
        << QStringList{"IM_IN_ENC2:alice:T:F:T: O :F:L:en:enc (form)"};
    QTest::newRow("IM: to someone offline, no answer")
        << ""
        << "toc_send_im \"nobody\" \"hello?\"" << none << none << none;
    QTest::newRow("IM: to oneself, both connections")
        << ""
        << "toc_send_im alice me" << QStringList{im + "me"} << QStringList{im + "me"} << none;
    QTest::newRow("IM without text: ERROR:913")
        << ""
        << "toc_send_im \"bob\"" << QStringList{internal} << none << none;
    QTest::newRow("unknown command: ERROR:913")
        << ""
        << "toc_no_such_command 1 2" << QStringList{internal} << none << none;
    QTest::newRow("typing value out of range: ERROR:913")
        << ""
        << "toc2_client_event bob 3" << QStringList{internal} << none << none;
    QTest::newRow("refused nickname: ERROR:913 alone")
        << ""
        << "toc_format_nickname \"Bobby\"" << QStringList{"ERROR:913"} << none << none;
    QTest::newRow("wrong old password: ERROR:980")
        << ""
        << "toc_change_passwd \"wrong\" \"new\"" << QStringList{"ERROR:980"} << none << none;

    // Buddy lists: NEW_BUDDY_REPLY2 to the actor, the change to the other connection.
    QTest::newRow("new group and buddy")
        << ""
        << "toc2_new_buddies \"g:Friends\nb:Carol\n\""
        << QStringList{"NEW_BUDDY_REPLY2:Carol:added"}
        << QStringList{"INSERTED2:g:", "INSERTED2:g:Friends", "INSERTED2:b::carol:Friends"} << none;
    QTest::newRow("buddy already there: nothing")
        << "toc2_new_buddies \"g:Friends\nb:carol\n\""
        << "toc2_new_buddies \"g:Friends\nb:Carol\n\"" << none << none << none;
    QTest::newRow("alias and note, braces, existing group")
        << ""
        << "toc2_new_buddies {g:Buddies\nb:Dave:Davey D:::::a note\n}"
        << QStringList{"NEW_BUDDY_REPLY2:Dave:added"}
        << QStringList{"INSERTED2:g:Buddies", "INSERTED2:b:Davey D:dave:Buddies"} << none;
    QTest::newRow("new buddies: an escaped quote does not cut")
        << ""
        << "toc2_new_buddies \"g:Say \\\"Hi\\\" There\nb:carol\n\""
        << QStringList{"NEW_BUDDY_REPLY2:carol:added"}
        << QStringList{"INSERTED2:g:", "INSERTED2:g:Say \"Hi\" There",
                       "INSERTED2:b::carol:Say \"Hi\" There"}
        << none;
    QTest::newRow("new group: unescaped")
        << ""
        << "toc2_new_group \"My \\(Best\\) Pals\"" << none
        << QStringList{"INSERTED2:g:", "INSERTED2:g:My (Best) Pals"} << none;
    QTest::newRow("new group: escaped quote then space cuts")
        << ""
        << "toc2_new_group \"Say \\\"Hi\\\" There\"" << none
        << QStringList{"INSERTED2:g:", "INSERTED2:g:Say \"Hi"} << none;
    QTest::newRow("remove buddy: the group is not unescaped")
        << "toc2_new_buddies \"g:My (Best) Pals\nb:carol\n\""
        << "toc2_remove_buddy \"carol\" \"My \\(Best\\) Pals\"" << QStringList{internal} << none
        << none;
    QTest::newRow("remove buddy: the group as written")
        << "toc2_new_buddies \"g:My (Best) Pals\nb:carol\n\""
        << "toc2_remove_buddy \"carol\" \"My (Best) Pals\"" << none
        << QStringList{"DELETED2:b:carol:My (Best) Pals", "INSERTED2:g:My (Best) Pals"} << none;
    // Group and room names as the client sends them arrive whole (the real
    // server answered these lines the same way).
    const QString quotedGroup = QStringLiteral("Say \"Hi\" There \\o/");
    QTest::newRow("client's new group with quotes")
        << "" << toc::cmd::newGroup(quotedGroup) << none
        << QStringList{"INSERTED2:g:", "INSERTED2:g:" + quotedGroup} << none;
    QTest::newRow("client's remove buddy from a group with quotes")
        << toc::cmd::newBuddies(quotedGroup, "carol") << toc::cmd::removeBuddy(quotedGroup, "carol")
        << none << QStringList{"DELETED2:b:carol:" + quotedGroup, "INSERTED2:g:" + quotedGroup}
        << none;
    QTest::newRow("client's room name with quotes and a backslash")
        << "" << toc::cmd::chatJoin(4, " Say \"Hi\" \\o/ ")
        << QStringList{"CHAT_JOIN:0:Say \"Hi\" \\o/", "CHAT_UPDATE_BUDDY:0:T:alice"} << none
        << none;
    QTest::newRow("remove buddy without a group: ERROR:913")
        << ""
        << "toc2_remove_buddy \"vorklebot\"" << QStringList{internal} << none << none;
    QTest::newRow("delete group with its buddies")
        << "toc2_new_buddies \"g:Work\nb:carol\n\""
        << "toc2_del_group \"Work\"" << none
        << QStringList{"DELETED2:g:Work", "DELETED2:b:carol:Work", "INSERTED2:g:"} << none;
    QTest::newRow("delete unknown group: ERROR:913")
        << ""
        << "toc2_del_group \"Nowhere\"" << QStringList{internal} << none << none;
    QTest::newRow("deny: nothing to the actor")
        << ""
        << "toc2_add_deny \"Fr ank\"" << none << QStringList{"INSERTED2:d:frank"} << none;
    QTest::newRow("privacy mode: nothing to either connection")
        << ""
        << "toc2_set_pdmode 4" << none << none << none;
    QTest::newRow("bad privacy mode: ERROR:913")
        << ""
        << "toc2_set_pdmode 6" << QStringList{internal} << none << none;

    // Chat ids are the connection's own, from 0.
    QTest::newRow("first room of a connection: id 0")
        << ""
        << "toc_chat_join 4 \"Room A\""
        << QStringList{"CHAT_JOIN:0:Room A", "CHAT_UPDATE_BUDDY:0:T:alice"} << none << none;
    QTest::newRow("second room: id 1")
        << "toc_chat_join 4 \"Room A\""
        << "toc_chat_join 4 \"room  b\""
        << QStringList{"CHAT_JOIN:1:room  b", "CHAT_UPDATE_BUDDY:1:T:alice"} << none << none;
    QTest::newRow("exchange 5: ERROR:913")
        << ""
        << "toc_chat_join 5 \"Room A\"" << QStringList{internal} << none << none;
    QTest::newRow("talk in a room not joined: ERROR:913")
        << ""
        << "toc_chat_send 0 \"hi\"" << QStringList{internal} << none << none;
}

void TestWire::linesAndAnswers() {
    QFETCH(QString, setup);
    QFETCH(QString, line);
    QFETCH(QStringList, actor);
    QFETCH(QStringList, otherConnection);
    QFETCH(QStringList, bob);

    RawClient a1, a2, b;
    for (auto [client, name] : {std::pair{&a1, "alice"}, {&a2, "alice"}, {&b, "bob"}}) {
        QVERIFY(client->connectTo(m_server->port()));
        QVERIFY(client->signOn(QString::fromLatin1(name), QStringLiteral("pw")));
    }
    if (!setup.isEmpty())
        a1.sendLine(setup);
    for (RawClient *c : {&a1, &a2, &b})
        settled(*c);

    a1.sendLine(line);
    QCOMPARE(settled(a1), actor);
    QCOMPARE(settled(a2), otherConnection);
    QCOMPARE(settled(b), bob);
    QVERIFY(a1.isConnected());
}

QTEST_GUILESS_MAIN(TestWire)
#include "tst_wire.moc"
