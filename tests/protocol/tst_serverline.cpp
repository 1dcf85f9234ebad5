// The decoder of server lines and the configuration parser: pure
// functions, tested without a socket. Run by the tst_wire program.
#include "protocol/serverconfig.h"
#include "protocol/serverline.h"

#include <QtTest>

using namespace toc;

namespace {

QString list(const QStringList &items) {
    return QLatin1Char('[') + items.join(QLatin1Char(',')) + QLatin1Char(']');
}

QString flag(bool b) {
    return b ? QStringLiteral("true") : QStringLiteral("false");
}

// A record as "Kind(value|value|...)", the way the tables below state it.
struct Describe {
    static QString as(const char *kind, const QStringList &values = {}) {
        return QLatin1String(kind) + QLatin1Char('(') + values.join(QLatin1Char('|')) +
               QLatin1Char(')');
    }
    static QString n(qint64 v) { return QString::number(v); }

    QString operator()(const msg::Ignored &) const { return as("Ignored"); }
    QString operator()(const msg::ScreennameFormat &r) const {
        return as("ScreennameFormat", {r.formatted});
    }
    QString operator()(const msg::ConfigPiece &r) const { return as("ConfigPiece", {r.text}); }
    QString operator()(const msg::Error &r) const { return as("Error", {n(r.code), r.text}); }
    QString operator()(const msg::BuddyUpdate &r) const {
        return as("BuddyUpdate", {r.buddy, flag(r.online), n(r.warningLevel), n(r.onlineTime),
                                  n(r.idleTime), r.userClass});
    }
    QString operator()(const msg::BuddyCapabilities &r) const {
        return as("BuddyCapabilities", {r.user, r.caps});
    }
    QString operator()(const msg::BuddyBart &r) const { return as("BuddyBart", {r.user, r.bart}); }
    QString operator()(const msg::ChatJoined &r) const {
        return as("ChatJoined", {n(r.id), r.room});
    }
    QString operator()(const msg::ChatMembers &r) const {
        return as("ChatMembers", {n(r.id), flag(r.inside), list(r.names)});
    }
    QString operator()(const msg::ChatMessage &r) const {
        return as("ChatMessage", {n(r.id), r.from, r.message});
    }
    QString operator()(const msg::ChatLeft &r) const { return as("ChatLeft", {n(r.id)}); }
    QString operator()(const msg::ChatInvite &r) const {
        return as("ChatInvite", {r.room, n(r.id), r.from, r.message});
    }
    QString operator()(const msg::InstantMessage &r) const {
        return as("InstantMessage", {r.from, r.message, flag(r.autoResponse), r.userClass});
    }
    QString operator()(const msg::BuddyAdded &r) const {
        return as("BuddyAdded", {r.group, r.buddy, r.alias});
    }
    QString operator()(const msg::BuddyRemoved &r) const {
        return as("BuddyRemoved", {r.group, r.buddy});
    }
    QString operator()(const msg::GroupAdded &r) const { return as("GroupAdded", {r.group}); }
    QString operator()(const msg::GroupRemoved &r) const { return as("GroupRemoved", {r.group}); }
    QString operator()(const msg::PrivateBuddyAdded &r) const {
        return as("PrivateBuddyAdded", {r.buddy});
    }
    QString operator()(const msg::PrivateBuddyRemoved &r) const {
        return as("PrivateBuddyRemoved", {r.buddy});
    }
    QString operator()(const msg::BuddyBlocked &r) const { return as("BuddyBlocked", {r.buddy}); }
    QString operator()(const msg::BuddyUnblocked &r) const {
        return as("BuddyUnblocked", {r.buddy});
    }
    QString operator()(const msg::UserProfile &r) const { return as("UserProfile", {r.url}); }
    QString operator()(const msg::Warned &r) const { return as("Warned", {r.level, r.from}); }
    QString operator()(const msg::ScreenNameFormatted &) const { return as("ScreenNameFormatted"); }
    QString operator()(const msg::PasswordChanged &) const { return as("PasswordChanged"); }
    QString operator()(const msg::RendezvousRequest &r) const {
        return as("RendezvousRequest", {r.user, r.uuid, r.cookie, r.rendezvousIp, r.proposerIp,
                                        r.verifiedIp, n(r.port)});
    }
    QString operator()(const msg::TypingStatus &r) const {
        return as("TypingStatus", {r.user, n(r.status)});
    }
};

} // namespace

class TestServerLine : public QObject {
    Q_OBJECT
  private slots:
    void serverLines_data();
    void serverLines();
    void serverConfigEnd_data();
    void serverConfigEnd();
    void serverConfig_data();
    void serverConfig();
};

void TestServerLine::serverLines_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("record");
    auto row = [](const char *name, const QString &line, const QString &record) {
        QTest::newRow(name) << line << record;
    };
    // Words the client does not act on, and words that are not exactly one of ours.
    row("sign on", "SIGN_ON:TOC2.0", "Ignored()");
    row("updated", "UPDATED2:b:x", "Ignored()");
    row("unknown", "WHATEVER:1:2", "Ignored()");
    row("lower case", "nick:x", "Ignored()");
    row("word with a tail", "NICKNAME:x", "Ignored()");
    row("empty line", "", "Ignored()");
    // One row per message kind, and its malformed forms.
    row("nick keeps colons", "NICK:a:b", "ScreennameFormat(a:b)");
    row("nick without field", "NICK", "Ignored()");
    row("config piece", "CONFIG2:g:A\nb:x:::::y\n", "ConfigPiece(g:A\nb:x:::::y\n)");
    row("buddy", "UPDATE_BUDDY2:Jane Doe:T:10:1700000000:5: O:",
        "BuddyUpdate(Jane Doe|true|10|1700000000|5| O)");
    row("buddy offline", "UPDATE_BUDDY2:bob:F:0:0:0:AOC:", "BuddyUpdate(bob|false|0|0|0|AOC)");
    row("buddy any flag but F is online",
        "UPDATE_BUDDY2:bob:x:0:0:0: O:", "BuddyUpdate(bob|true|0|0|0| O)");
    row("buddy six fields", "UPDATE_BUDDY2:bob:T:0:0:0", "Ignored()");
    row("buddy warning too big", "UPDATE_BUDDY2:bob:T:40000:0:0: O:", "Ignored()");
    row("buddy idle not a number", "UPDATE_BUDDY2:bob:T:0:0:x: O:", "Ignored()");
    row("caps", "BUDDY_CAPS2:bob:a,b:c", "BuddyCapabilities(bob|a,b:c)");
    row("bart", "BART2:bob:1 2", "BuddyBart(bob|1 2)");
    row("bart short", "BART2:bob", "Ignored()");
    row("chat join", "CHAT_JOIN:5:Room:x", "ChatJoined(5|Room:x)");
    row("chat join bad id", "CHAT_JOIN:abc:Room", "Ignored()");
    row("members in, empty last", "CHAT_UPDATE_BUDDY:5:T:a:b:", "ChatMembers(5|true|[a,b,])");
    row("members out, each one", "CHAT_UPDATE_BUDDY:5:F:a:b", "ChatMembers(5|false|[a,b])");
    row("members without names", "CHAT_UPDATE_BUDDY:5:T", "Ignored()");
    row("chat message", "CHAT_IN_ENC:5:bob:F:A:en:hi:there", "ChatMessage(5|bob|hi:there)");
    row("chat message short", "CHAT_IN_ENC:5:bob:F:A:en", "Ignored()");
    row("chat left", "CHAT_LEFT:-3", "ChatLeft(-3)");
    row("chat left bad id", "CHAT_LEFT:3x", "Ignored()");
    row("chat invite", "CHAT_INVITE:Room:7:bob:come: now", "ChatInvite(Room|7|bob|come: now)");
    row("chat invite short", "CHAT_INVITE:Room:7:bob", "Ignored()");
    row("im", "IM_IN_ENC2:Bob:F:F:T: O:F:L:en:<b>a:b</b>",
        "InstantMessage(Bob|<b>a:b</b>|false| O)");
    row("im auto", "IM_IN_ENC2:Bob:T:F:T: O:F:L:en:", "InstantMessage(Bob||true| O)");
    row("im any flag but F is auto",
        "IM_IN_ENC2:Bob:x:F:T: O:F:L:en:", "InstantMessage(Bob||true| O)");
    row("im short", "IM_IN_ENC2:Bob:F:F:T: O:F:L:en", "Ignored()");
    row("buddy added", "INSERTED2:b:alias:name:group", "BuddyAdded(group|name|alias)");
    row("buddy added short", "INSERTED2:b:alias:name", "Ignored()");
    row("group added", "INSERTED2:g:Co:Workers", "GroupAdded(Co:Workers)");
    row("permit added", "INSERTED2:p:jane", "PrivateBuddyAdded(jane)");
    row("deny added", "INSERTED2:d:eve", "BuddyBlocked(eve)");
    row("other kind added", "INSERTED2:z:eve", "Ignored()");
    row("buddy removed", "DELETED2:b:name:group:x", "BuddyRemoved(group:x|name)");
    row("group removed", "DELETED2:g:Work", "GroupRemoved(Work)");
    row("permit removed ends at colon", "DELETED2:p:jane:x", "PrivateBuddyRemoved(jane)");
    row("deny removed", "DELETED2:d:eve", "BuddyUnblocked(eve)");
    row("removed without name", "DELETED2:g", "Ignored()");
    row("profile", "GOTO_URL:profile:http://h/info?x=1", "UserProfile(http://h/info?x=1)");
    row("warned", "EVILED:010:bob", "Warned(10|bob)");
    row("warned anonymously", "EVILED:20:", "Warned(20|)");
    row("warned not a number", "EVILED:x:bob", "Ignored()");
    row("nick status", "ADMIN_NICK_STATUS:0", "ScreenNameFormatted()");
    row("password status", "ADMIN_PASSWD_STATUS", "PasswordChanged()");
    row("rendezvous", "RVOUS_PROPOSE:bob:uuid:cookie:seq:1.1.1.1:2.2.2.2:3.3.3.3:5190:x:y",
        "RendezvousRequest(bob|uuid|cookie|1.1.1.1|2.2.2.2|3.3.3.3|5190)");
    row("rendezvous short", "RVOUS_PROPOSE:bob:u:c:s:1:2:3", "Ignored()");
    row("typing", "CLIENT_EVENT2:bob:2", "TypingStatus(bob|2)");
    row("typing not a number", "CLIENT_EVENT2:bob:x", "Ignored()");
    // The failure rows.
    row("901 keeps colons", "ERROR:901:bob:x", "Error(901|bob:x is not available)");
    row("902", "ERROR:902:bob", "Error(902|Warning of bob is not currently available)");
    row("903", "ERROR:903",
        "Error(903|A message has been dropped, you are exceeding the server speed limit)");
    row("911", "ERROR:911", "Error(911|Error validating input)");
    row("951 full", "ERROR:951:R:24", "Error(951|Could not join chat 'R': Chat Full)");
    row("951 reset", "ERROR:951:R:-1", "Error(951|Could not join chat 'R': Possible Reset)");
    row("951 rated", "ERROR:951:R:48", "Error(951|Could not join chat 'R': Rated)");
    row("951 ejected", "ERROR:951:R:74", "Error(951|Could not join chat 'R': Ejected)");
    row("951 no reason", "ERROR:951:R", "Error(951|Could not join chat 'R': Unknown error)");
    row("980", "ERROR:980", "Error(980|Invalid account or password)");
    row("983", "ERROR:983", "Error(983|You are attempting to sign on again too soon)");
    row("989 7", "ERROR:989:7", "Error(989|The screenname or password you entered is not valid)");
    row("989 17", "ERROR:989:17", "Error(989|Sign on Blocked)");
    row("989 other", "ERROR:989:05", "Error(5|Unknown error code 989, sub error: 05)");
    row("989 without sub-code", "ERROR:989", "Ignored()");
    row("code matched as text", "ERROR:0901:bob", "Error(901|Error code: 0901)");
    row("other code", "ERROR:-2", "Error(-2|Error code: -2)");
    row("code not a number", "ERROR:abc", "Ignored()");
    row("code too big", "ERROR:40000", "Ignored()");
    row("error without code", "ERROR", "Ignored()");
}

void TestServerLine::serverLines() {
    QFETCH(QString, line);
    QFETCH(QString, record);
    QCOMPARE(std::visit(Describe(), decodeServerLine(line)), record);
}

void TestServerLine::serverConfigEnd_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("at");
    QTest::newRow("at the start") << "done:\n" << 0 << 0;
    QTest::newRow("after a record") << "g:A\ndone:\n" << 0 << 4;
    QTest::newRow("inside a name") << "b:xdone:\n" << 0 << -1;
    QTest::newRow("after a name ending in it") << "b:xdone:\ndone:\n" << 0 << 9;
    QTest::newRow("without its line feed") << "g:A\ndone:" << 0 << -1;
    QTest::newRow("before from") << "done:\nb:x\n" << 1 << -1;
}

void TestServerLine::serverConfigEnd() {
    QFETCH(QString, text);
    QFETCH(int, from);
    QFETCH(int, at);
    QCOMPARE(findConfigEnd(text, from), qsizetype(at));
}

void TestServerLine::serverConfig_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("lists");
    QTest::newRow("empty") << ""
                           << "[]|[]|[]|[]||0";
    QTest::newRow("last record without line feed") << "g:G\nb:a"
                                                   << "[[group]G,a]|[]|[]|[]||0";
    QTest::newRow("every kind") << "g:G\nb:a:::::A\nd:eve\np:dave\npref:x:y\nm:3\nz:q\ndone:\n"
                                << "[[group]G,a:A]|[eve]|[dave]|[z:q]|x:y|3";
    QTest::newRow("mode not an ascii digit")
        << QString::fromUtf8("m:\u0663\ndone:\n") << "[]|[]|[]|[]||0";
    QTest::newRow("mode of two digits takes the first") << "m:42\n"
                                                        << "[]|[]|[]|[]||4";
}

void TestServerLine::serverConfig() {
    QFETCH(QString, text);
    QFETCH(QString, lists);
    const ServerConfig c = parseServerConfig(text);
    QCOMPARE(QStringList({list(c.buddies), list(c.blocked), list(c.permitted), list(c.misc),
                          c.preferences, QString::number(c.privacyMode)})
                 .join(QLatin1Char('|')),
             lists);
}

QObject *newServerLineTest() {
    return new TestServerLine;
}

#include "tst_serverline.moc"
