#include "tst_clients.h"

#include "testserver.h"

#include <QDateTime>
#include <QImage>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using devserver::DevServer;

void TestClients::init() {
    m_server = std::make_unique<DevServer>(testOptions());
    QString error;
    QVERIFY2(m_server->start(&error), qPrintable(error));
}

void TestClients::cleanup() {
    qDeleteAll(m_clients);
    m_clients.clear();
    m_server.reset();
}

TocClient *TestClients::signedOn(const QString &name, const QString &password) {
    auto *c = new TocClient(name, password);
    m_clients.append(c);
    return c->signOn(port()) ? c : nullptr;
}

void TestClients::newAccountSeesVorklebot() {
    TocClient c(QStringLiteral("New Comer"));
    QSignalSpy nick(&c.toc, &QelTOCSock::ScreennameFormat);
    QSignalSpy buddy(&c.toc, &QelTOCSock::BuddyUpdate);
    QVERIFY(c.signOn(port()));
    QCOMPARE(nick.value(0).value(0).toString(), QStringLiteral("newcomer"));
    QCOMPARE(c.buddyList,
             (QStringList{QStringLiteral("[group]Buddies"), QStringLiteral("vorklebot")}));
    QCOMPARE(c.privacyMode, qint16(0)); // no m: record before a mode is set
    QVERIFY(!buddy.isEmpty());
    QCOMPARE(buddy[0][0].toString(), QStringLiteral("vorklebot"));
    QCOMPARE(buddy[0][1].toBool(), true);
    QCOMPARE(buddy[0][5].toString(), QStringLiteral("AO "));
}

void TestClients::wrongPassword() {
    TocClient first(QStringLiteral("alice"), QStringLiteral("right"));
    QVERIFY(first.signOn(port()));
    first.toc.LogOff();

    TocClient c(QStringLiteral("alice"), QStringLiteral("wrong"));
    QSignalSpy error(&c.toc, &QelTOCSock::Error);
    c.toc.Login(c.name, c.password, QStringLiteral("127.0.0.1"), port());
    QTRY_COMPARE(error.size(), 1);
    QCOMPARE(error[0][0].value<qint16>(), qint16(980));
    QCOMPARE(error[0][1].toString(), QStringLiteral("Invalid account or password"));
    QTRY_VERIFY(c.disconnected);
    QVERIFY(!c.loggedIn);
}

void TestClients::imsBothWays() {
    SIGNED_ON(alice, QStringLiteral("alice"));
    SIGNED_ON(bob, QStringLiteral("bob"));
    QSignalSpy toBob(&bob->toc, &QelTOCSock::InstantMessage);
    QSignalSpy toAlice(&alice->toc, &QelTOCSock::InstantMessage);

    // Escaped on the way out, unescaped by the server; colons survive. A
    // quote goes as &quot;, as the client sends it in HTML.
    const QString message = QStringLiteral("<b>hi:</b> &quot;quoted&quot; \\ $(x) {y} [z]");
    alice->toc.SendIM(QStringLiteral("Bob"), message, false);
    QTRY_COMPARE(toBob.size(), 1);
    QCOMPARE(toBob[0],
             (QList<QVariant>{QStringLiteral("alice"), message, false, QStringLiteral(" O ")}));
    QVERIFY(bob->lines.contains(QStringLiteral("IM_IN_ENC2:alice:F:F:T: O :F:L:en:") + message));

    bob->toc.SendIM(QStringLiteral("alice"), QStringLiteral("auto reply"), true);
    bob->toc.SendPacket(2, "toc2_client_event \"alice\" 2");
    QTRY_COMPARE(toAlice.size(), 1);
    QCOMPARE(toAlice[0], (QList<QVariant>{QStringLiteral("bob"), QStringLiteral("auto reply"), true,
                                          QStringLiteral(" O ")}));
    QVERIFY(alice->waitLine(QStringLiteral("CLIENT_EVENT2:bob:2")));
}

// Dropped without a word, as the TOC2 servers people run do.
void TestClients::imToOfflineUser() {
    SIGNED_ON(alice, QStringLiteral("alice"));
    QSignalSpy error(&alice->toc, &QelTOCSock::Error);
    alice->toc.SendIM(QStringLiteral("nobody"), QStringLiteral("hello?"), false);
    const int before = alice->count(QStringLiteral("UPDATE_BUDDY2:vorklebot:"));
    alice->toc.GetStatus(QStringLiteral("vorklebot")); // answered after the IM was handled
    QTRY_COMPARE(alice->count(QStringLiteral("UPDATE_BUDDY2:vorklebot:")), before + 1);
    QVERIFY(error.isEmpty());
}

void TestClients::presenceFollowsChanges() {
    SIGNED_ON(alice, QStringLiteral("alice"));
    alice->toc.AddBuddy(QStringLiteral("Buddies"), QStringLiteral("bob"));
    QVERIFY(alice->waitPrefix(QStringLiteral("NEW_BUDDY_REPLY2:bob:added")));
    QSignalSpy updates(&alice->toc, &QelTOCSock::BuddyUpdate);
    const auto last = [&] { return updates.isEmpty() ? QList<QVariant>() : updates.last(); };

    SIGNED_ON(bob, QStringLiteral("bob"));
    QTRY_VERIFY(!updates.isEmpty());
    QCOMPARE(last()[0].toString(), QStringLiteral("bob"));
    QCOMPARE(last()[1].toBool(), true);
    QCOMPARE(last()[5].toString(), QStringLiteral(" O "));
    QVERIFY(qAbs(last()[3].toLongLong() - QDateTime::currentSecsSinceEpoch()) < 60);

    bob->toc.SetAwayMessage(QStringLiteral("out to lunch"));
    QTRY_COMPARE(last().value(5).toString(), QStringLiteral(" OU"));
    bob->toc.SetAwayMessage(QString());
    QTRY_COMPARE(last().value(5).toString(), QStringLiteral(" O "));

    bob->toc.SetIdleTime(10);
    QTRY_COMPARE(last().value(4).toInt(), 10);
    bob->toc.SetIdleTime(0);
    QTRY_COMPARE(last().value(4).toInt(), 0);

    // One argument per identifier, as the client sends them: lower-cased,
    // the chat capability last. One argument with a space in it is no list.
    bob->toc.SendPacket(2, "toc_set_caps 09461343-4C7F-11D1-8222-444553540000 "
                           "0946134B-4C7F-11D1-8222-444553540000");
    QVERIFY(alice->waitLine(QStringLiteral("BUDDY_CAPS2:bob:09461343-4c7f-11d1-8222-444553540000,"
                                           "0946134b-4c7f-11d1-8222-444553540000,"
                                           "748f2420-6287-11d1-8222-444553540000")));
    bob->toc.SetCapability(QStringLiteral("09461343-4C7F-11D1-8222-444553540000 "
                                          "0946134B-4C7F-11D1-8222-444553540000"));
    QVERIFY(
        alice->waitLine(QStringLiteral("BUDDY_CAPS2:bob:748f2420-6287-11d1-8222-444553540000")));
    // Every presence line came with its capabilities.
    QCOMPARE(alice->count(QStringLiteral("BUDDY_CAPS2:bob:")),
             alice->count(QStringLiteral("UPDATE_BUDDY2:bob:T:")));

    const int before = int(updates.size());
    bob->toc.LogOff();
    QTRY_COMPARE(int(updates.size()), before + 1);
    QCOMPARE(last()[0].toString(), QStringLiteral("bob"));
    QCOMPARE(last()[1].toBool(), false);

    // Status on request: offline gets 901, online gets the presence line.
    QSignalSpy error(&alice->toc, &QelTOCSock::Error);
    alice->toc.GetStatus(QStringLiteral("bob"));
    QTRY_COMPARE(error.size(), 1);
    QCOMPARE(error[0][0].value<qint16>(), qint16(901));
}

// Only someone who has sent the warner an IM can be warned.
void TestClients::warnings() {
    SIGNED_ON(alice, QStringLiteral("alice"));
    SIGNED_ON(bob, QStringLiteral("bob"));
    alice->toc.AddBuddy(QStringLiteral("Buddies"), QStringLiteral("bob"));
    QVERIFY(alice->waitPrefix(QStringLiteral("UPDATE_BUDDY2:bob:T:0:")));
    QSignalSpy warned(&bob->toc, &QelTOCSock::Warned);
    QSignalSpy error(&alice->toc, &QelTOCSock::Error);
    alice->toc.WarnUser(QStringLiteral("bob"), false);
    QTRY_COMPARE(error.size(), 1);
    QCOMPARE(error[0][0].value<qint16>(), qint16(902));
    bob->toc.SendIM(QStringLiteral("alice"), QStringLiteral("provoking"), false);
    QVERIFY(alice->waitPrefix(QStringLiteral("IM_IN_ENC2:bob:")));

    alice->toc.WarnUser(QStringLiteral("bob"), false);
    QTRY_COMPARE(warned.size(), 1);
    QCOMPARE(warned[0], (QList<QVariant>{QStringLiteral("10"), QStringLiteral("alice")}));
    QVERIFY(alice->waitPrefix(QStringLiteral("UPDATE_BUDDY2:bob:T:10:")));

    alice->toc.WarnUser(QStringLiteral("bob"), true);
    QTRY_COMPARE(warned.size(), 2);
    QCOMPARE(warned[1], (QList<QVariant>{QStringLiteral("13"), QString()}));

    alice->toc.WarnUser(QStringLiteral("nobody"), false);
    QTRY_COMPARE(error.size(), 2);
    QCOMPARE(error[1][0].value<qint16>(), qint16(902));
    QVERIFY(alice->lines.contains(QStringLiteral("ERROR:902"))); // with no name
    QCOMPARE(m_server->store().account(QStringLiteral("bob"))->warning, 13);
}

void TestClients::vorklebotAnswersIms() {
    SIGNED_ON(alice, QStringLiteral("alice"));
    QSignalSpy typing(&alice->toc, &QelTOCSock::TypingStatus);
    QSignalSpy im(&alice->toc, &QelTOCSock::InstantMessage);
    alice->toc.SendIM(QStringLiteral("vorklebot"), QStringLiteral("<i>ping</i>"), false);
    QTRY_COMPARE(im.size(), 1);
    QCOMPARE(typing.size(), 1);
    QCOMPARE(typing[0],
             (QList<QVariant>{QStringLiteral("vorklebot"), QVariant::fromValue(qint16(2))}));
    QCOMPARE(im[0],
             (QList<QVariant>{QStringLiteral("vorklebot"), QStringLiteral("You said: \"ping\""),
                              false, QStringLiteral("AO ")}));
    // The typing event came first.
    const QStringList fromBot = alice->matching(QStringLiteral("CLIENT_EVENT2:vorklebot:")) +
                                alice->matching(QStringLiteral("IM_IN_ENC2:vorklebot:"));
    QCOMPARE(alice->lines.mid(alice->lines.indexOf(fromBot[0])), fromBot);

    // An auto-response gets no answer.
    alice->toc.SendIM(QStringLiteral("vorklebot"), QStringLiteral("away"), true);
    QTest::qWait(200);
    QCOMPARE(im.size(), 1);
}

static QByteArray httpGet(const QUrl &url) {
    QTcpSocket s;
    s.connectToHost(url.host(), quint16(url.port()));
    if (!s.waitForConnected(5000))
        return QByteArray();
    s.write("GET " + url.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority) +
            " HTTP/1.1\r\nHost: x\r\n\r\n");
    QByteArray reply;
    // The server closes after the answer.
    (void)QTest::qWaitFor(
        [&] {
            reply += s.readAll();
            return s.state() == QAbstractSocket::UnconnectedState;
        },
        5000);
    return reply + s.readAll();
}

// The profile's URL is relative: the TOC port serves the page, in a
// sandbox, while the user is online.
void TestClients::profileAndIcon() {
    SIGNED_ON(alice, QStringLiteral("alice"));
    SIGNED_ON(bob, QStringLiteral("bob"));
    bob->toc.SetProfile(QStringLiteral("<b>Bob's</b> page & more"));
    bob->toc.GetStatus(QStringLiteral("bob")); // a round trip: the profile is stored
    QVERIFY(bob->waitPrefix(QStringLiteral("UPDATE_BUDDY2:bob:")));
    QSignalSpy profile(&alice->toc, &QelTOCSock::UserProfile);
    alice->toc.GetProfile(QStringLiteral("Bob"));
    alice->toc.GetProfile(QStringLiteral("carol")); // never signed on
    QTRY_COMPARE(profile.size(), 2);
    const QUrl relative(profile[0][0].toString());
    QVERIFY(relative.isRelative());
    QCOMPARE(relative.path(), QStringLiteral("info"));
    const QUrl tocPort(QStringLiteral("http://127.0.0.1:%1/").arg(port()));
    const QUrl url = tocPort.resolved(relative);
    const QByteArray page = httpGet(url);
    QVERIFY2(page.startsWith("HTTP/1.1 200 OK\r\n"), page.constData());
    QVERIFY(page.contains("Content-Security-Policy: sandbox"));
    QVERIFY(page.contains("Username : <B>bob</B><BR><BR>\n<b>Bob's</b> page & more\n"));
    QVERIFY(httpGet(tocPort.resolved(QUrl(profile[1][0].toString())))
                .endsWith("\r\n\r\nuser is unavailable\n"));
    QUrl forged = url;
    forged.setQuery(
        relative.query().replace(QStringLiteral("from=alice"), QStringLiteral("from=x")));
    QVERIFY(httpGet(forged).startsWith("HTTP/1.1 400 "));
    forged.setQuery(QStringLiteral("from=alice&user=bob"));
    QVERIFY(httpGet(forged).endsWith("required `cookie` param is missing"));
    bob->toc.LogOff();
    QTRY_VERIFY(httpGet(url).startsWith("HTTP/1.1 404 "));

    // Our own HTTP listener keeps its pages and icons.
    QUrl own(QStringLiteral("http://127.0.0.1:%1/info?screenname=bob").arg(m_server->httpPort()));
    const QByteArray ownPage = httpGet(own);
    QVERIFY(ownPage.startsWith("HTTP/1.1 200 OK\r\n"));
    QVERIFY(ownPage.contains("Content-Security-Policy: sandbox"));
    QUrl icon = own;
    icon.setPath(QStringLiteral("/BartSNQuery"));
    icon.setQuery(QStringLiteral("custom=yes&type=1&screenname=bob"));
    const QByteArray reply = httpGet(icon);
    QVERIFY(reply.startsWith("HTTP/1.1 200 OK\r\n"));
    QVERIFY(reply.contains("Content-Type: image/jpeg\r\n"));
    const QByteArray body = reply.mid(reply.indexOf("\r\n\r\n") + 4);
    QImage image;
    QVERIFY(image.loadFromData(body, "JPEG"));
    QCOMPARE(image.size(), QSize(48, 48));

    icon.setQuery(QStringLiteral("screenname=nobody"));
    QVERIFY(httpGet(icon).startsWith("HTTP/1.1 404 "));
    icon.setPath(QStringLiteral("/elsewhere"));
    QVERIFY(httpGet(icon).startsWith("HTTP/1.1 404 "));
}

void TestClients::nicknameAndPassword() {
    SIGNED_ON(alice, QStringLiteral("alice"), QStringLiteral("old"));
    QSignalSpy nick(&alice->toc, &QelTOCSock::ScreennameFormat);
    QSignalSpy formatted(&alice->toc, &QelTOCSock::ScreenNameFormatted);
    QSignalSpy changed(&alice->toc, &QelTOCSock::PasswordChanged);
    QSignalSpy error(&alice->toc, &QelTOCSock::Error);

    alice->toc.FormatUserName(QStringLiteral("A Lice"));
    QTRY_COMPARE(formatted.size(), 1);
    QTRY_COMPARE(nick.size(), 1);
    QCOMPARE(nick[0][0].toString(), QStringLiteral("A Lice"));
    alice->toc.FormatUserName(QStringLiteral("Someone Else"));
    QTRY_COMPARE(error.size(), 1);
    QCOMPARE(error[0][0].value<qint16>(), qint16(913));

    alice->toc.ChangePassword(QStringLiteral("wrong"), QStringLiteral("new"));
    QTRY_COMPARE(error.size(), 2);
    QCOMPARE(error[1][0].value<qint16>(), qint16(980));
    alice->toc.ChangePassword(QStringLiteral("old"), QStringLiteral("n\"ew"));
    QTRY_COMPARE(changed.size(), 1);
    alice->toc.LogOff();

    TocClient again(QStringLiteral("alice"), QStringLiteral("n\"ew"));
    QSignalSpy againNick(&again.toc, &QelTOCSock::ScreennameFormat);
    QVERIFY(again.signOn(port()));
    QCOMPARE(againNick.value(0).value(0).toString(), QStringLiteral("A Lice"));
}

void TestClients::restartWithDatabaseKeepsAccounts() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    devserver::ServerOptions o = testOptions();
    o.database = dir.filePath(QStringLiteral("dev.sqlite"));
    m_server = std::make_unique<DevServer>(o);
    QString error;
    QVERIFY(m_server->start(&error));
    {
        TocClient alice(QStringLiteral("alice"), QStringLiteral("pw"));
        QVERIFY(alice.signOn(port()));
        alice.toc.AddBuddy(QStringLiteral("Friends"), QStringLiteral("Bob"));
        alice.toc.BlockUser(QStringLiteral("eve"));
        alice.toc.SetPrivacy(4);
        // The bot's answer comes after the server has handled all of the above.
        alice.toc.SendIM(QStringLiteral("vorklebot"), QStringLiteral("sync"), false);
        QVERIFY(alice.waitPrefix(QStringLiteral("IM_IN_ENC2:vorklebot")));
    }
    m_server = std::make_unique<DevServer>(o);
    QVERIFY(m_server->start(&error));
    TocClient wrong(QStringLiteral("alice"), QStringLiteral("other"));
    QSignalSpy refused(&wrong.toc, &QelTOCSock::Error);
    wrong.toc.Login(wrong.name, wrong.password, QStringLiteral("127.0.0.1"), port());
    QTRY_COMPARE(refused.size(), 1);

    TocClient alice(QStringLiteral("alice"), QStringLiteral("pw"));
    QVERIFY(alice.signOn(port()));
    QCOMPARE(alice.buddyList,
             (QStringList{QStringLiteral("[group]Buddies"), QStringLiteral("vorklebot"),
                          QStringLiteral("[group]Friends"), QStringLiteral("bob")}));
    QCOMPARE(alice.blockList, QStringList{QStringLiteral("eve")});
    QCOMPARE(alice.privacyMode, qint16(4));
}

QTEST_GUILESS_MAIN(TestClients)
