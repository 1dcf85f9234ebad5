#include "tst_qeltocsock.h"

#include "protocol/outgoinglines.h"
#include "protocol/wire.h"

#include <QTcpSocket>
#include <utility>

using namespace toc;

void TestQelTOCSock::init() {
    server = std::make_unique<ScriptedServer>();
    sock = std::make_unique<QelTOCSock>();
}

void TestQelTOCSock::cleanup() {
    sock.reset();
    server.reset();
}

void TestQelTOCSock::signOn(const QString &config) {
    sock->Login(QStringLiteral("My Name"), QStringLiteral("secret"), QStringLiteral("127.0.0.1"),
                server->port());
    QVERIFY(server->acceptSignOn(config));
    server->clearReceived();
}

void TestQelTOCSock::deliver(const QString &line) {
    const qsizetype before = server->received().size();
    server->sendLine(line);
    // A ping after the line: once its answer is back, the line was handled.
    server->sendFrame(KeepAlive, QByteArray());
    QVERIFY(waitUntil([&] {
        const QList<QByteArray> f = server->frames();
        return server->received().size() > before && !f.isEmpty() && f.last()[1] == char(KeepAlive);
    }));
}

void TestQelTOCSock::greetingAndSignOnFrames() {
    EventLog log(sock.get());
    sock->Login(QStringLiteral("My Name"), QStringLiteral("Tic/Toc"), QStringLiteral(" 127.0.0.1 "),
                server->port(), QStringLiteral("auth.example"));
    QVERIFY(server->waitForBytes(8));
    QCOMPARE(server->received(), QByteArray("FLAPON\n\n"));

    server->sendFrame(SignOn, QByteArray("\0\0\0\1", 4));
    QVERIFY(server->waitForLines(1));
    const QList<QByteArray> frames = server->frames();
    QCOMPARE(frames.size(), 2);
    QCOMPARE(frames[0], QByteArray("*\x01\x00\x00\x00\x0e"
                                   "\x00\x00\x00\x01\x00\x01\x00\x06"
                                   "myname",
                                   20));
    const QString login = QStringLiteral("toc2_login auth.example %1 myname 0x00000000000000 "
                                         "English  \"QelTOCSock 2.0\" 160 US \"\" \"\" 3 0 30303 "
                                         "-kentucky -utf8 58203917")
                              .arg(server->port());
    QCOMPARE(server->lines(), QStringList{login});
    // Sequence 1, and the NUL ends the data.
    QCOMPARE(frames[1].left(4), QByteArray("*\x02\x00\x01", 4));
    QVERIFY(frames[1].endsWith(QByteArray("58203917\0", 9)));
    QCOMPARE(sock->tocServer(), QStringLiteral("127.0.0.1"));
    // IncomingPacket saw the whole sign-on frame, header included.
    QCOMPARE(log.events(), QStringList{"IncomingPacket(2a010000000400000001)"});
}

void TestQelTOCSock::authServerDefaultAndTrim_data() {
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("sent");
    QTest::newRow("missing") << QString() << "login.oscar.aol.com";
    QTest::newRow("one space") << " "
                               << "login.oscar.aol.com";
    QTest::newRow("spaces around") << "  auth.example  "
                                   << "auth.example";
}

void TestQelTOCSock::authServerDefaultAndTrim() {
    QFETCH(QString, given);
    QFETCH(QString, sent);
    sock->Login("me", "", "127.0.0.1", server->port(), given);
    QVERIFY(server->acceptSignOn());
    QVERIFY(server->lines().first().startsWith("toc2_login " + sent + " "));
    QVERIFY(server->lines().first().contains(" me 0x English  "));
}

void TestQelTOCSock::nonAsciiScreenNameCountsBytes() {
    sock->Login(QString::fromUtf8("Zoë X"), QString::fromUtf8("é"), "127.0.0.1", server->port());
    QVERIFY(server->acceptSignOn());
    const QByteArray name = QString::fromUtf8("zoëx").toUtf8();
    QCOMPARE(server->frames()[0].mid(6),
             QByteArray("\0\0\0\1\0\1\0", 7) + char(name.size()) + name);
    // é is the two UTF-8 bytes c3 a9, each roasted: c3^'T' = 97, a9^'i' = c0.
    QVERIFY(server->lines().first().contains(" 0x97c0 English"));
}

// And a line sent while the sign-on is under way waits until it is done.
void TestQelTOCSock::loggedInHandlerSendsBeforeInitDone() {
    connect(sock.get(), &QelTOCSock::LoggedIn, sock.get(), [this] {
        sock->SetProfile(QStringLiteral("hello"));
        sock->SetCapability(QelTOCSock::kCapabilities);
    });
    connect(sock->Sock, &QTcpSocket::connected, sock.get(),
            [this] { QVERIFY(sock->SendIM("bob", "typed", false)); });
    sock->Login("me", "pw", "127.0.0.1", server->port());
    QVERIFY(server->acceptSignOn());
    QVERIFY(server->waitForLineStartingWith("toc_send_im"));
    const QStringList lines = server->lines();
    QCOMPARE(lines.mid(1), (QStringList{"toc_set_info \"hello\"",
                                        "toc_set_caps \"09461345-4C7F-11D1-8222-444553540000\" "
                                        "\"09461343-4C7F-11D1-8222-444553540000\"",
                                        "toc_init_done", "toc_send_im \"bob\" \"typed\""}));
}

// Lines leave in order, a burst at once and then one per gap: never more
// than 16 in a second, under the 20 servers disconnect for.
void TestQelTOCSock::commandLinesPaced() {
    signOn();
    qint64 now = 0;
    toc::OutgoingLines *out = sock->outgoingLines();
    out->setClock([&now] { return now; });
    for (int i = 0; i < 30; ++i)
        QVERIFY(sock->GetStatus(QString::number(i)));
    QCOMPARE(out->waiting(), 30 - OutgoingLines::kBurst);
    for (now = 0; now <= 3000; now += 50) {
        out->pump();
        if (now == 1000)
            QCOMPARE(out->waiting(), 30 - OutgoingLines::kBurst - 10);
    }
    QCOMPARE(out->waiting(), 0);
    QVERIFY(server->waitForLine("toc_get_status \"29\""));
    QCOMPARE(server->lines().size(), 30);
    QCOMPARE(server->lines().at(7), QStringLiteral("toc_get_status \"7\""));
}

void TestQelTOCSock::sequenceContinuesAcrossReconnect() {
    signOn(); // frames 0 (sign-on), 1 (toc2_login), 2 (toc_init_done)
    sock->Login("me", "pw", "127.0.0.1", server->port());
    QVERIFY(server->acceptSignOn());
    const QList<QByteArray> frames = server->frames();
    QCOMPARE(frames.size(), 3);
    QCOMPARE(bytesToWord(frames[0].mid(2, 2)), 3);
    QCOMPARE(bytesToWord(frames[2].mid(2, 2)), 5);
}

void TestQelTOCSock::sequenceWrapsAfter65535() {
    signOn();
    // Frames 3 .. 65535 as keep-alives, then two more.
    for (int i = 3; i <= 65536; ++i)
        QVERIFY(sock->SendPacket(KeepAlive, QByteArray()));
    QVERIFY(server->waitForBytes(6 * (65536 - 3 + 1), 20000));
    const QList<QByteArray> frames = server->frames();
    QCOMPARE(bytesToWord(frames[frames.size() - 2].mid(2, 2)), 65535);
    QCOMPARE(bytesToWord(frames.last().mid(2, 2)), 0);
    QCOMPARE(frames.last(), QByteArray("*\x05\x00\x00\x00\x00", 6));
}

void TestQelTOCSock::sendWhileDisconnectedKeepsSequence() {
    QVERIFY(!sock->SendIM("bob", "hi", false));
    QVERIFY(!sock->SendPacket(Data, "x"));
    QCOMPARE(sock->sequenceNumber(), 0);
    sock->Login("me", "pw", "127.0.0.1", server->port());
    QVERIFY(server->acceptSignOn());
    QCOMPARE(bytesToWord(server->frames()[0].mid(2, 2)), 0);
}

void TestQelTOCSock::oversizeDataRefused() {
    signOn();
    const qint32 before = sock->sequenceNumber();
    // 65535 bytes plus the NUL is one byte too many.
    QVERIFY(!sock->SendPacket(Data, QByteArray(65535, 'a')));
    QVERIFY(!sock->SendIM("bob", QString(70000, 'x'), false));
    QCOMPARE(sock->sequenceNumber(), before);
    QVERIFY(sock->SendPacket(Data, QByteArray(65534, 'a')));
    QVERIFY(server->waitForBytes(6 + 65535));
    QCOMPARE(server->frames().size(), 1);
    QCOMPARE(bytesToWord(server->frames()[0].mid(4, 2)), 65535);
}

void TestQelTOCSock::keepAliveAnswered() {
    signOn();
    server->sendFrame(KeepAlive, QByteArray());
    QVERIFY(server->waitForBytes(6));
    QCOMPARE(server->received(), QByteArray("*\x05\x00\x03\x00\x00", 6));
}

void TestQelTOCSock::unknownFrameType() {
    signOn();
    EventLog log(sock.get(), {"IncomingPacket"});
    server->sendFrame(9, "whatever");
    QVERIFY(waitUntil([&] { return log.count() > 0; }));
    QCOMPARE(log.events(), QStringList{QStringLiteral("Error(0|Unknown Channel Detected: \x09)")});
    QVERIFY(sock->isConnected());
}

void TestQelTOCSock::frameTypesThreeAndFourIgnored() {
    signOn();
    EventLog log(sock.get());
    server->sendFrame(FrameError, "x");
    server->sendFrame(SignOff, "");
    deliver("SIGN_ON:TOC2.0");
    // Only IncomingPacket, one per frame (three frames plus the ping).
    QCOMPARE(log.count(), 4);
    for (const QString &e : log.events())
        QVERIFY(e.startsWith("IncomingPacket("));
}

void TestQelTOCSock::frameSplitAcrossReads() {
    signOn();
    EventLog log(sock.get(), {"IncomingPacket"});
    const QByteArray a = buildFrame(Data, 10, "NICK:One");
    const QByteArray b = buildFrame(Data, 11, "NICK:Two");
    const QByteArray c = buildFrame(Data, 12, "NICK:Three");
    // One byte per read, over the headers too.
    server->sendChunked(a + b + c, 1);
    QVERIFY(waitUntil([&] { return log.count() == 3; }));
    QCOMPARE(log.events(), (QStringList{"ScreennameFormat(One)", "ScreennameFormat(Two)",
                                        "ScreennameFormat(Three)"}));
}

void TestQelTOCSock::logOffClearsAccount() {
    signOn();
    deliver("CHAT_JOIN:77:room");
    QCOMPARE(sock->LastChatID, 77);
    server->clearReceived();
    EventLog log(sock.get());
    sock->LogOff();
    QCOMPARE(log.events(), QStringList{"LoggedOut(myname)"});
    QCOMPARE(sock->port(), 5190);
    QCOMPARE(sock->LastChatID, 0);
    QVERIFY(sock->screenName().isEmpty());
    QCOMPARE(sock->GetChatName(77), QelTOCSock::kNoChatName);
    QVERIFY(!sock->isConnected());
    // No sign-off frame was sent.
    QTest::qWait(20);
    QCOMPARE(server->received(), QByteArray());
    QCOMPARE(log.count(), 1);
}

void TestQelTOCSock::serverCloseRaisesDisconnectedOnce() {
    signOn();
    EventLog log(sock.get());
    server->closeClient();
    QVERIFY(waitUntil([&] { return log.count() > 0; }));
    QTest::qWait(50);
    QCOMPARE(log.events(), QStringList{"Disconnected()"});
    QVERIFY(!sock->SendIM("bob", "hi", false));
}

void TestQelTOCSock::connectionRefusedIsWinsockError() {
    const quint16 port = server->port();
    server.reset(); // nothing listens there now
    EventLog log(sock.get());
    sock->Login("me", "pw", "127.0.0.1", port);
    QVERIFY(waitUntil([&] { return log.count() > 0; }));
    QTest::qWait(20);
    const QStringList events = log.events();
    QCOMPARE(events.size(), 1);
    QVERIFY(events[0].startsWith("WinsockError("));
}

void TestQelTOCSock::handlerLogOffDropsRestOfRead() {
    signOn();
    EventLog log(sock.get(), {"IncomingPacket"});
    connect(sock.get(), &QelTOCSock::ScreennameFormat, sock.get(), [this] { sock->LogOff(); });
    server->sendRaw(buildFrame(Data, 1, "NICK:A") + buildFrame(Data, 2, "NICK:B"));
    QVERIFY(waitUntil([&] { return log.count() >= 2; }));
    QTest::qWait(30);
    QCOMPARE(log.events(), (QStringList{"LoggedOut(myname)", "ScreennameFormat(A)"}));
}

void TestQelTOCSock::handlerSpinningEventLoopKeepsOrder() {
    signOn();
    EventLog log(sock.get(), {"IncomingPacket"});
    const QByteArray d = buildFrame(Data, 4, "NICK:D");
    bool once = false;
    connect(sock.get(), &QelTOCSock::ScreennameFormat, sock.get(), [&] {
        if (std::exchange(once, true))
            return;
        // More comes while the frames of a read are being handled in place;
        // the socket raises no readyRead for it until the handler is done.
        server->sendRaw(buildFrame(Data, 3, "NICK:C") + d.left(4));
        QVERIFY(waitUntil([&] { return sock->Sock->bytesAvailable() > 0; }));
    });
    server->sendRaw(buildFrame(Data, 1, "NICK:A") + buildFrame(Data, 2, "NICK:B"));
    // C is handled without waiting for more bytes to come.
    QVERIFY(waitUntil([&] { return log.count() == 3; }));
    server->sendRaw(d.mid(4));
    QVERIFY(waitUntil([&] { return log.count() == 4; }));
    QCOMPARE(log.events(), (QStringList{"ScreennameFormat(A)", "ScreennameFormat(B)",
                                        "ScreennameFormat(C)", "ScreennameFormat(D)"}));
}

void TestQelTOCSock::handlerLoginStartsCleanConnection() {
    signOn();
    bool once = false;
    connect(sock.get(), &QelTOCSock::ScreennameFormat, sock.get(), [&] {
        if (!once) {
            once = true;
            sock->Login("other", "pw", "127.0.0.1", server->port());
        }
    });
    // A frame of the old connection cut in half follows the NICK line.
    server->sendRaw(buildFrame(Data, 1, "NICK:A") + buildFrame(Data, 2, "NICK:B").left(5));
    QVERIFY(waitUntil([&] { return server->received().startsWith("FLAPON\n\n"); }));
    EventLog log(sock.get(), {"IncomingPacket"});
    QVERIFY(server->acceptSignOn("done:\n", "Other"));
    QVERIFY(server->lines().first().contains(" other 0x"));
    QCOMPARE(log.events(),
             (QStringList{"LoggedIn(other|[]|[]|[]|[]||0)", "ScreennameFormat(Other)"}));
}

void TestQelTOCSock::loginDropsHalfFrameOfOldConnection() {
    signOn();
    server->sendRaw(buildFrame(Data, 1, "NICK:Lost").left(7));
    QTest::qWait(30);
    sock->Login("me", "pw", "127.0.0.1", server->port());
    EventLog log(sock.get(), {"IncomingPacket"});
    QVERIFY(server->acceptSignOn("done:\n", "Fresh"));
    QCOMPARE(log.events(), (QStringList{"LoggedIn(me|[]|[]|[]|[]||0)", "ScreennameFormat(Fresh)"}));
}

// --- commands ---

using Command = std::function<bool(QelTOCSock &)>;
Q_DECLARE_METATYPE(Command)

void TestQelTOCSock::commands_data() {
    QTest::addColumn<Command>("call");
    QTest::addColumn<QString>("line");
    auto row = [](const char *name, Command c, const QString &line) {
        QTest::newRow(name) << c << line;
    };
    row(
        "JoinChat trims", [](QelTOCSock &s) { return s.JoinChat("  Lobby (x) ", 4); },
        "toc_chat_join \"4\" \"Lobby (x)\"");
    row(
        "JoinChat: quotes doubled, backslash kept",
        [](QelTOCSock &s) { return s.JoinChat("Say \"Hi\" C:\\", 4); },
        "toc_chat_join \"4\" \"Say \"\"Hi\"\" C:\\\\\"");
    row(
        "GetProfile", [](QelTOCSock &s) { return s.GetProfile("Some Body"); },
        "toc_get_info \"somebody\"");
    row(
        "SendIM", [](QelTOCSock &s) { return s.SendIM("Bob B", "a\\\"b", false); },
        "toc_send_im \"bobb\" \"a\\\\&quot;b\"");
    row(
        "SendIM, no double quote goes out",
        [](QelTOCSock &s) {
            return s.SendIM("b", "<a href=\"x'y\">say \"hi\" now</a> 'ok'", false);
        },
        "toc_send_im \"b\" \"<a href='x&#39;y'>say &quot;hi&quot; now</a> 'ok'\"");
    row(
        "SendIM auto", [](QelTOCSock &s) { return s.SendIM("bob", "away", true); },
        "toc_send_im \"bob\" \"away\" auto");
    row(
        "ChangePassword", [](QelTOCSock &s) { return s.ChangePassword("o$ld", "n(ew"); },
        "toc_change_passwd \"o\\$ld\" \"n\\(ew\"");
    row(
        "FormatUserName unchanged", [](QelTOCSock &s) { return s.FormatUserName("My \"Name"); },
        "toc_format_nickname \"My \"Name\"");
    row(
        "SetAwayMessage", [](QelTOCSock &s) { return s.SetAwayMessage("gone [1]"); },
        "toc_set_away \"gone \\[1\\]\"");
    row(
        "SetAwayMessage empty", [](QelTOCSock &s) { return s.SetAwayMessage(""); },
        "toc_set_away \"\"");
    row(
        "SetProfile", [](QelTOCSock &s) { return s.SetProfile("<a href=\"x\">{me}</a>"); },
        "toc_set_info \"<a href='x'>\\{me\\}</a>\"");
    row(
        "GetStatus", [](QelTOCSock &s) { return s.GetStatus("A B"); }, "toc_get_status \"ab\"");
    row(
        "SetIdleTime", [](QelTOCSock &s) { return s.SetIdleTime(10); }, "toc_set_idle \"600\"");
    row(
        "SetIdleTime negative", [](QelTOCSock &s) { return s.SetIdleTime(-1); },
        "toc_set_idle \"-60\"");
    row(
        "AcceptChatInvite", [](QelTOCSock &s) { return s.AcceptChatInvite(-7); },
        "toc_chat_accept \"-7\"");
    row(
        "InviteUsers", [](QelTOCSock &s) { return s.InviteUsers("", "come (now)", "Jo Ann", 42); },
        "toc_chat_invite \"42\" \"come \\(now\\)\" \"joann\"");
    row(
        "WarnUser anon", [](QelTOCSock &s) { return s.WarnUser("Bad Guy", true); },
        "toc_evil \"badguy\" \"anon\"");
    row(
        "WarnUser norm", [](QelTOCSock &s) { return s.WarnUser("x", false); },
        "toc_evil \"x\" \"norm\"");
    row(
        "AddBuddy", [](QelTOCSock &s) { return s.AddBuddy("Co Workers", "Jane Doe"); },
        "toc2_new_buddies \"g:Co Workers\nb:Jane Doe\n\"");
    row(
        "RemoveBuddy", [](QelTOCSock &s) { return s.RemoveBuddy("Grp (x)", "Jane Doe"); },
        "toc2_remove_buddy \"Jane Doe\" \"Grp (x)\"");
    row(
        "RemoveBuddy, quote in the group", [](QelTOCSock &s) { return s.RemoveBuddy("a\"b", "j"); },
        "toc2_remove_buddy \"j\" \"a\"\"b\"");
    row(
        "AddGroup", [](QelTOCSock &s) { return s.AddGroup("My $"); }, "toc2_new_group \"My \\$\"");
    row(
        "RemoveGroup", [](QelTOCSock &s) { return s.RemoveGroup("G"); }, "toc2_del_group \"G\"");
    row(
        "AddGroup, quotes doubled after escaping",
        [](QelTOCSock &s) { return s.AddGroup("Say \"Hi\" There"); },
        "toc2_new_group \"Say \\\"\"Hi\\\"\" There\"");
    row(
        "BlockUser", [](QelTOCSock &s) { return s.BlockUser("Eve X"); }, "toc2_add_deny \"evex\"");
    row(
        "UnblockUser", [](QelTOCSock &s) { return s.UnblockUser("Eve"); },
        "toc2_remove_deny \"eve\"");
    row(
        "AddPrivateUser", [](QelTOCSock &s) { return s.AddPrivateUser("Jane Doe"); },
        "toc2_add_permit \"janedoe\"");
    row(
        "RemovePrivateUser", [](QelTOCSock &s) { return s.RemovePrivateUser("J"); },
        "toc2_remove_permit \"j\"");
    row(
        "SetPrivacy unquoted", [](QelTOCSock &s) { return s.SetPrivacy(3); }, "toc2_set_pdmode 3");
    row(
        "SetCapability", [](QelTOCSock &s) { return s.SetCapability("a b"); },
        "toc_set_caps \"a\" \"b\"");
    row(
        "SendChat by id", [](QelTOCSock &s) { return s.SendChat("", "hi\r\nthere", 9); },
        "toc_chat_send \"9\" \"hi\r\nthere\"");
    row(
        "LeaveChat by id", [](QelTOCSock &s) { return s.LeaveChat("", 9); },
        "toc_chat_leave \"9\"");
    row(
        "utf-8 message",
        [](QelTOCSock &s) { return s.SendIM("b", QString::fromUtf8("ça ✓"), false); },
        QString::fromUtf8("toc_send_im \"b\" \"ça ✓\""));
}

void TestQelTOCSock::commands() {
    QFETCH(Command, call);
    QFETCH(QString, line);
    signOn();
    QVERIFY(call(*sock));
    QVERIFY(server->waitForLines(1));
    QCOMPARE(server->lines(), QStringList{line});
}

void TestQelTOCSock::chatIdResolution() {
    signOn();
    for (int i = 1; i <= 5; ++i)
        deliver(QStringLiteral("CHAT_JOIN:%1:room%2").arg(100 + i).arg(i));
    server->clearReceived();
    QVERIFY(sock->SendChat("room5", "x", 0)); // slot 4
    QVERIFY(sock->InviteUsers("room2", "m", "u", 0));
    QVERIFY(sock->LeaveChat("room1", 0));
    QVERIFY(!sock->SendChat("Room5", "x", 0)); // case matters
    QVERIFY(!sock->LeaveChat("nowhere", 0));
    QVERIFY(server->waitForLines(3));
    QTest::qWait(20);
    QCOMPARE(server->lines(),
             (QStringList{"toc_chat_send \"105\" \"x\"", "toc_chat_invite \"102\" \"m\" \"u\"",
                          "toc_chat_leave \"101\""}));

    // Servers number rooms from 0: id 0 is a room with its name, and without
    // a name the commands address it.
    deliver(QStringLiteral("CHAT_JOIN:0:zero"));
    QCOMPARE(sock->GetChatName(0), QStringLiteral("zero"));
    server->clearReceived();
    QVERIFY(sock->SendChat(QString(), "y", 0));
    QVERIFY(sock->LeaveChat("zero", 0));
    QVERIFY(server->waitForLines(2));
    QCOMPARE(server->lines(), (QStringList{"toc_chat_send \"0\" \"y\"", "toc_chat_leave \"0\""}));
}

void TestQelTOCSock::idleOverflowSendsNothing() {
    signOn();
    const qint32 before = sock->sequenceNumber();
    QVERIFY(!sock->SetIdleTime(35791395)); // * 60 > 2^31 - 1
    QVERIFY(!sock->SetIdleTime(-35791395));
    QCOMPARE(sock->sequenceNumber(), before);
    QVERIFY(sock->SetIdleTime(35791394));
    QVERIFY(server->waitForLines(1));
    QCOMPARE(server->lines(), QStringList{"toc_set_idle \"2147483640\""});
}

QTEST_GUILESS_MAIN(TestQelTOCSock)
