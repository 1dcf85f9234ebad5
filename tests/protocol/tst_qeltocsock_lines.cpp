// Server lines and the events they raise.
#include "tst_qeltocsock.h"

void TestQelTOCSock::serverLines_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("events");
    auto row = [](const char *name, const QString &line, const QStringList &events) {
        QTest::newRow(name) << line << events;
    };
    row("SIGN_ON nothing", "SIGN_ON:TOC2.0", {});
    row("NICK", "NICK:My Name", {"ScreennameFormat(My Name)"});
    row("nick lower case ignored", "nick:x", {});
    row("unknown name", "WHATEVER:1:2", {});
    row("UPDATED2 nothing", "UPDATED2:b:x", {});
    row("IM with colons", "IM_IN_ENC2:Bob:F:F:T: O:F:L:en:a:b:c",
        {"InstantMessage(Bob|a:b:c|false| O)"});
    row("IM auto", "IM_IN_ENC2:Bob:T:F:T: O:F:L:en:hi", {"InstantMessage(Bob|hi|true| O)"});
    row("IM auto any text", "IM_IN_ENC2:Bob:x:F:T: O:F:L:en:hi",
        {"InstantMessage(Bob|hi|true| O)"});
    row("IM missing field", "IM_IN_ENC2:Bob:F:F:T: O:F:L:en", {});
    row("buddy online", "UPDATE_BUDDY2:Jane Doe:T:10:1700000000:5: O:",
        {"BuddyUpdate(Jane Doe|true|10|1700000000|5| O)"});
    row("buddy offline", "UPDATE_BUDDY2:bob:F:0:0:0: O:", {"BuddyUpdate(bob|false|0|0|0| O)"});
    row("buddy other flag online",
        "UPDATE_BUDDY2:bob:x:0:0:0:AOC:", {"BuddyUpdate(bob|true|0|0|0|AOC)"});
    row("buddy extra fields", "UPDATE_BUDDY2:bob:T:0:0:0: O::x:y",
        {"BuddyUpdate(bob|true|0|0|0| O)"});
    row("buddy six fields", "UPDATE_BUDDY2:bob:T:0:0:0", {});
    row("buddy warning not a number", "UPDATE_BUDDY2:bob:T:x:0:0: O:", {});
    row("buddy warning over 16 bits", "UPDATE_BUDDY2:bob:T:40000:0:0: O:", {});
    row("buddy time over 32 bits", "UPDATE_BUDDY2:bob:T:0:9999999999:0: O:", {});
    row("caps", "BUDDY_CAPS2:bob:a,b:c", {"BuddyCapabilities(bob|a,b:c)"});
    row("bart", "BART2:bob:1 2 3", {"BuddyBart(bob|1 2 3)"});
    row("chat join", "CHAT_JOIN:5:Room:x", {"JoinedChat(Room:x|5)"});
    row("chat join id not number", "CHAT_JOIN:abc:Room", {});
    row("chat members in", "CHAT_UPDATE_BUDDY:5:T:a:b:c",
        {"ChatUserUpdate(a|true|5)", "ChatUserUpdate(b|true|5)", "ChatUserUpdate(c|true|5)"});
    row("chat members out, each one", "CHAT_UPDATE_BUDDY:5:F:a:b:c",
        {"ChatUserUpdate(a|false|5)", "ChatUserUpdate(b|false|5)", "ChatUserUpdate(c|false|5)"});
    row("chat members bad id", "CHAT_UPDATE_BUDDY:x:T:a", {});
    row("chat message", "CHAT_IN_ENC:5:bob:F:A:en:hi:there", {"ChatMessage(5|bob|hi:there)"});
    row("chat message short", "CHAT_IN_ENC:5:bob:F:A:en", {});
    row("chat left unknown id", "CHAT_LEFT:99", {"ChatLeft(99)"});
    row("chat invite", "CHAT_INVITE:Room:7:bob:come: now", {"ChatInvite(Room|7|bob|come: now)"});
    row("chat invite bad id", "CHAT_INVITE:Room:x:bob:m", {});
    row("chat invite, colon in the room", "CHAT_INVITE:a:b:7:bob:m", {"ChatInvite(a:b|7|bob|m)"});
    row("inserted buddy", "INSERTED2:b:alias:name:group", {"BuddyAdded(group|name|alias)"});
    row("inserted group", "INSERTED2:g:Co:Workers", {"GroupAdded(Co:Workers)"});
    row("inserted permit", "INSERTED2:p:jane", {"PrivateBuddyAdded(jane)"});
    row("inserted deny", "INSERTED2:d:eve", {"BuddyBlocked(eve)"});
    row("inserted other kind", "INSERTED2:z:eve", {});
    row("inserted buddy short", "INSERTED2:b:alias:name", {});
    row("deleted buddy", "DELETED2:b:name:group", {"BuddyRemoved(group|name)"});
    row("deleted group", "DELETED2:g:Work", {"GroupRemoved(Work)"});
    row("deleted permit", "DELETED2:p:jane:x", {"PrivateBuddyRemoved(jane)"});
    row("deleted deny", "DELETED2:d:eve", {"BuddyUnblocked(eve)"});
    row("goto url", "GOTO_URL:profile:http://h/info?x=1", {"UserProfile(http://h/info?x=1)"});
    row("eviled", "EVILED:010:bob", {"Warned(10|bob)"});
    row("eviled anonymous", "EVILED:20:", {"Warned(20|)"});
    row("eviled not a number", "EVILED:x:bob", {});
    row("nick status", "ADMIN_NICK_STATUS:0", {"ScreenNameFormatted()"});
    row("passwd status", "ADMIN_PASSWD_STATUS", {"PasswordChanged()"});
    row("rendezvous", "RVOUS_PROPOSE:bob:uuid:cookie:seq:1.1.1.1:2.2.2.2:3.3.3.3:5190:extra",
        {"RendevousRequest(bob|uuid|cookie|1.1.1.1|2.2.2.2|3.3.3.3|5190)"});
    row("rendezvous bad port", "RVOUS_PROPOSE:bob:u:c:s:1:2:3:x", {});
    row("typing", "CLIENT_EVENT2:bob:2", {"TypingStatus(bob|2)"});
    row("typing not numeric", "CLIENT_EVENT2:bob:x", {});
    // The error table.
    row("901", "ERROR:901:bob:x", {"Error(901|bob:x is not available)"});
    row("902", "ERROR:902:bob", {"Error(902|Warning of bob is not currently available)"});
    row("902 without a name", "ERROR:902", {"Error(902|Warning is not currently available)"});
    row("903", "ERROR:903",
        {"Error(903|A message has been dropped, you are exceeding the server speed limit)"});
    row("911", "ERROR:911", {"Error(911|Error validating input)"});
    row("951 full", "ERROR:951:R:24", {"Error(951|Could not join chat 'R': Chat Full)"});
    row("951 reset", "ERROR:951:R:-1", {"Error(951|Could not join chat 'R': Possible Reset)"});
    row("951 rated", "ERROR:951:R:48", {"Error(951|Could not join chat 'R': Rated)"});
    row("951 ejected", "ERROR:951:R:74", {"Error(951|Could not join chat 'R': Ejected)"});
    row("951 other", "ERROR:951:R:1:2", {"Error(951|Could not join chat 'R': Unknown error)"});
    row("980", "ERROR:980", {"Error(980|Invalid account or password)"});
    row("983", "ERROR:983", {"Error(983|You are attempting to sign on again too soon)"});
    row("989 7", "ERROR:989:7", {"Error(989|The screenname or password you entered is not valid)"});
    row("989 17", "ERROR:989:17", {"Error(989|Sign on Blocked)"});
    row("989 other", "ERROR:989:5", {"Error(5|Unknown error code 989, sub error: 5)"});
    row("989 not numeric", "ERROR:989:x", {});
    row("other code", "ERROR:999", {"Error(999|Error code: 999)"});
    row("code not numeric", "ERROR:abc", {});
    row("code without field", "ERROR", {});
    row("remote markup kept as text", "NICK:<b>&amp;", {"ScreennameFormat(<b>&amp;)"});
}

void TestQelTOCSock::serverLines() {
    QFETCH(QString, line);
    QFETCH(QStringList, events);
    signOn();
    EventLog log(sock.get(), {"IncomingPacket"});
    deliver(line);
    QCOMPARE(log.events(), events);
}

void TestQelTOCSock::configuration_data() {
    QTest::addColumn<QString>("config");
    QTest::addColumn<QString>("event");
    QTest::newRow("groups and buddies")
        << "g:Buddies\nb:alice\nb:bob\ng:Work\nb:carol\ndone:\n"
        << "LoggedIn(myname|[[group]Buddies,alice,bob,[group]Work,carol]|[]|[]|[]||0)";
    QTest::newRow("five colons become one")
        << "g:G\nb:x:::::alias\nb:y::::z\ndone:\n"
        << "LoggedIn(myname|[[group]G,x:alias,y::::z]|[]|[]|[]||0)";
    QTest::newRow("privacy records") << "m:4\np:dave\nd:eve\npref:x\ndone:\n"
                                     << "LoggedIn(myname|[]|[eve]|[dave]|[]|x|4)";
    QTest::newRow("records before groups") << "d:eve\nm:3\ng:G\nb:a\ndone:\n"
                                           << "LoggedIn(myname|[[group]G,a]|[eve]|[]|[]||3)";
    QTest::newRow("later pref and mode win") << "pref:a\nm:2\npref:b\nm:x\ndone:\n"
                                             << "LoggedIn(myname|[]|[]|[]|[]|b|2)";
    QTest::newRow("other records") << "x:something\n\ndone:\n"
                                   << "LoggedIn(myname|[]|[]|[]|[x:something,]||0)";
    QTest::newRow("only done") << "done:\n"
                               << "LoggedIn(myname|[]|[]|[]|[]||0)";
    QTest::newRow("records after done dropped") << "g:G\ndone:\nb:late\n"
                                                << "LoggedIn(myname|[[group]G]|[]|[]|[]||0)";
    QTest::newRow("buddy named xdone: does not end it")
        << "g:G\nb:xdone:\nb:after\ndone:\n"
        << "LoggedIn(myname|[[group]G,xdone:,after]|[]|[]|[]||0)";
}

void TestQelTOCSock::configuration() {
    QFETCH(QString, config);
    QFETCH(QString, event);
    EventLog log(sock.get(), {"IncomingPacket"});
    sock->Login("My Name", "pw", "127.0.0.1", server->port());
    QVERIFY(server->acceptSignOn(config));
    QCOMPARE(log.events(), QStringList{event});
    QCOMPARE(server->lines().last(), QStringLiteral("toc_init_done"));
}

void TestQelTOCSock::configurationInTwoLines() {
    sock->Login("me", "pw", "127.0.0.1", server->port());
    EventLog log(sock.get(), {"IncomingPacket"});
    QVERIFY(server->waitForClient());
    QVERIFY(server->waitForBytes(8));
    server->sendFrame(1, QByteArray("\0\0\0\1", 4));
    QVERIFY(server->waitForLines(1));
    server->sendLine("CONFIG2:g:A\nb:one\ndo");
    server->sendLine("CONFIG2:ne:\n");
    QVERIFY(server->waitForLine("toc_init_done"));
    QCOMPARE(log.events(), QStringList{"LoggedIn(me|[[group]A,one]|[]|[]|[]||0)"});
    // A second configuration is processed again from empty lists.
    server->sendLine("CONFIG2:g:B\ndone:\n");
    QVERIFY(waitUntil([&] { return log.count() == 2; }));
    QCOMPARE(log.events().last(), QStringLiteral("LoggedIn(me|[[group]B]|[]|[]|[]||0)"));
}

void TestQelTOCSock::endlessConfigurationIsBounded() {
    sock->Login("me", "pw", "127.0.0.1", server->port());
    QSignalSpy loggedIn(sock.get(), &QelTOCSock::LoggedIn);
    QVERIFY(server->waitForBytes(8));
    server->sendFrame(1, QByteArray("\0\0\0\1", 4));
    QVERIFY(server->waitForLines(1));
    // 17 MiB of records and no end marker: dropped, not kept for ever.
    const QString chunk = QStringLiteral("CONFIG2:") + QString(65000, QLatin1Char('b')) + "\n";
    for (int i = 0; i < 17 * 1024 * 1024 / 65000 + 1; ++i)
        server->sendLine(chunk);
    server->sendLine("CONFIG2:g:Fresh\ndone:\n");
    QVERIFY(server->waitForLine("toc_init_done", 30000));
    QCOMPARE(loggedIn.count(), 1);
    QCOMPARE(loggedIn[0][1].toStringList(), QStringList{"[group]Fresh"});
    // Only what came after the cut is left of the 275 records sent.
    QVERIFY(loggedIn[0][4].toStringList().size() < 20);
}

void TestQelTOCSock::chatTable() {
    signOn();
    deliver("CHAT_JOIN:10:a");
    deliver("CHAT_JOIN:20:b");
    deliver("CHAT_JOIN:10:a2"); // same id takes a second slot
    QCOMPARE(sock->LastChatID, 10);
    QCOMPARE(sock->GetChatName(20), QStringLiteral("b"));
    QCOMPARE(sock->GetChatName(10), QStringLiteral("a"));
    QCOMPARE(sock->GetChatName(0), QelTOCSock::kNoChatName); // 0 is an id like any other
    deliver("CHAT_LEFT:10");
    QCOMPARE(sock->GetChatName(10), QStringLiteral("a2"));
    QCOMPARE(sock->LastChatID, 10);
    deliver("CHAT_LEFT:10");
    QCOMPARE(sock->GetChatName(10), QelTOCSock::kNoChatName);
    // A new Login frees every slot.
    sock->Login("me", "pw", "127.0.0.1", server->port());
    QCOMPARE(sock->GetChatName(20), QelTOCSock::kNoChatName);
}

void TestQelTOCSock::twelfthRoomNotRecorded() {
    signOn();
    for (int i = 1; i <= 11; ++i)
        deliver(QStringLiteral("CHAT_JOIN:%1:r%1").arg(i));
    EventLog log(sock.get(), {"IncomingPacket"});
    deliver("CHAT_JOIN:12:r12");
    QCOMPARE(log.events(), QStringList{"JoinedChat(r12|12)"});
    QCOMPARE(sock->LastChatID, 12);
    QCOMPARE(sock->GetChatName(12), QelTOCSock::kNoChatName);
    QCOMPARE(sock->GetChatName(11), QStringLiteral("r11"));
}
