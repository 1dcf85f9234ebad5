// The server on the wire, with a bare socket: greeting, frames, sequence
// numbers, sign-on refusals, over-long lines, flood control, keep-alives,
// and bad input that must cost only the client that sent it.
#include "rawclient.h"
#include "testserver.h"

#include "devserver/devserver.h"
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
    void secondSignOnEndsFirst();
    void longLinesAreRefused();
    void unknownCommandBeforeAndAfterSignOn();
    void floodControl();
    void keepAlive();
    void badInputDropsOnlyThatClient_data();
    void badInputDropsOnlyThatClient();

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
    QTest::newRow("LF LF") << false;
    QTest::newRow("CR LF CR LF") << true;
}

void TestWire::greetingAndSignOnFrames() {
    QFETCH(bool, crlf);
    RawClient c;
    QVERIFY(c.connectTo(m_server->port()));
    c.startSignOn(QStringLiteral("alice"), QStringLiteral("pw"), crlf);
    QVERIFY(c.waitLine(QStringLiteral("CONFIG2:")));
    const QList<QByteArray> f = c.frames();
    QCOMPARE(f.size(), 4);
    // The server's sign-on frame, sequence 0, data 0 0 0 1.
    QCOMPARE(f[0], QByteArray("*\x01\x00\x00\x00\x04\x00\x00\x00\x01", 10));
    // Then the lines, numbered on, with no trailing NUL.
    const QStringList expected{QStringLiteral("SIGN_ON:TOC2.0"), QStringLiteral("NICK:alice"),
                               QStringLiteral("CONFIG2:g:Buddies\nb:vorklebot\nm:1\ndone:\n")};
    for (int i = 1; i < 4; ++i) {
        QCOMPARE(f[i], toc::buildFrame(toc::Data, quint16(i), expected[i - 1].toUtf8()));
    }
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

    // The account signs on with its password again, with either record.
    RawClient again;
    QVERIFY(again.connectTo(m_server->port()));
    QVERIFY(again.signOn(QStringLiteral("alice"), QStringLiteral("pw")));
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

void TestWire::secondSignOnEndsFirst() {
    RawClient first, second;
    QVERIFY(first.connectTo(m_server->port()));
    QVERIFY(first.signOn(QStringLiteral("alice"), QStringLiteral("pw")));
    QVERIFY(second.connectTo(m_server->port()));
    QVERIFY(second.signOn(QStringLiteral("alice"), QStringLiteral("pw")));
    QVERIFY(first.waitClosed());
    second.sendLine(QStringLiteral("toc_get_status \"vorklebot\""));
    QVERIFY(second.waitLine(QStringLiteral("UPDATE_BUDDY2:vorklebot:T:")));
}

void TestWire::longLinesAreRefused() {
    RawClient c;
    QVERIFY(c.connectTo(m_server->port()));
    QVERIFY(c.signOn(QStringLiteral("alice"), QStringLiteral("pw")));
    // 2048 bytes are a line; 2049 are not.
    const QString fits =
        QStringLiteral("toc_set_info \"") + QString(2048 - 15, QLatin1Char('x')) + QLatin1Char('"');
    QCOMPARE(fits.size(), 2048);
    c.sendLine(fits);
    c.sendLine(QStringLiteral("toc_set_info \"") + QString(2049 - 15, QLatin1Char('x')) +
               QLatin1Char('"'));
    c.sendLine(QStringLiteral("toc_get_status vorklebot"));
    QVERIFY(c.waitLine(QStringLiteral("UPDATE_BUDDY2:vorklebot:")));
    QCOMPARE(c.lines().size(), 2);
    QCOMPARE(c.lines().value(0), QStringLiteral("ERROR:911"));
    QVERIFY(c.lines().value(1).startsWith(QStringLiteral("UPDATE_BUDDY2:vorklebot:")));
    QCOMPARE(m_server->store().profile(QStringLiteral("alice")).size(), 2048 - 15);
}

void TestWire::unknownCommandBeforeAndAfterSignOn() {
    RawClient c;
    QVERIFY(c.connectTo(m_server->port()));
    QVERIFY(c.greet());
    c.sendLine(QStringLiteral("toc_send_im bob hi"));
    QVERIFY(c.waitLine(QStringLiteral("ERROR:911")));
    c.clear();
    c.sendLogin(QStringLiteral("alice"), QStringLiteral("pw"));
    QVERIFY(c.waitLine(QStringLiteral("CONFIG2:")));
    c.sendLine(QStringLiteral("toc_no_such_thing 1 2"));
    c.sendLine(QStringLiteral("toc_send_im \"unterminated"));
    QVERIFY(QTest::qWaitFor([&] { return c.countLines(QStringLiteral("ERROR:911")) == 2; }, 5000));
}

void TestWire::floodControl() {
    devserver::ServerOptions o = testOptions();
    o.floodLimit = 5;
    startServer(o);
    RawClient c;
    QVERIFY(c.connectTo(m_server->port()));
    c.startSignOn(QStringLiteral("alice"), QStringLiteral("pw"));
    QVERIFY(c.waitLine(QStringLiteral("CONFIG2:")));
    c.clear();
    // Eight lines in one write: five are answered, three dropped.
    QByteArray burst;
    for (int i = 0; i < 8; ++i)
        burst += toc::buildFrame(toc::Data, quint16(10 + i), "toc_get_status vorklebot\0");
    c.sendRaw(burst);
    QVERIFY(QTest::qWaitFor([&] { return c.lines().size() == 8; }, 5000));
    QCOMPARE(c.countLines(QStringLiteral("UPDATE_BUDDY2:vorklebot:")), 5);
    QCOMPARE(c.countLines(QStringLiteral("ERROR:903")), 3);
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
        << false << QByteArray("GET / HTTP/1.1\r\n\r\n") << true;
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
    QVERIFY(other.waitLine(QStringLiteral("IM_IN_ENC2:good:F:F:T: O:F:L:en:still here")));
    // And the bad name is free to sign on again.
    RawClient again;
    QVERIFY(again.connectTo(m_server->port()));
    QVERIFY(again.signOn(QStringLiteral("bad"), QStringLiteral("pw")));
}

QTEST_GUILESS_MAIN(TestWire)
#include "tst_wire.moc"
