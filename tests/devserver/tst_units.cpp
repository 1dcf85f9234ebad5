// The pure parts of the server: command lines, HTTP heads, flood control,
// name rules, frame heads and the bot's reply.
#include "tst_units.h"

#include "client/sendpacer.h"
#include "devserver/commandparser.h"
#include "devserver/floodcontrol.h"
#include "devserver/httprequest.h"
#include "devserver/names.h"
#include "devserver/serveroptions.h"
#include "devserver/session.h"
#include "devserver/vorklebot.h"

#include <QTest>

using namespace devserver;

void TestUnits::parseCommand_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("args");

    QTest::newRow("real login line")
        << "toc2_login login.oscar.aol.com 5190 myname 0x2a0b English  \"QelTOCSock 2.0\" 160 US "
           "\"\" \"\" 3 0 30303 -kentucky -utf8 58203917"
        << true << "toc2_login"
        << QStringList{"login.oscar.aol.com",
                       "5190",
                       "myname",
                       "0x2a0b",
                       "English",
                       "QelTOCSock 2.0",
                       "160",
                       "US",
                       "",
                       "",
                       "3",
                       "0",
                       "30303",
                       "-kentucky",
                       "-utf8",
                       "58203917"};
    QTest::newRow("quoted html") << "toc_send_im \"bob\" \"<b>hi</b>\"" << true << "toc_send_im"
                                 << QStringList{"bob", "<b>hi</b>"};
    // An escaped quote followed by a space ends the argument; the rest
    // becomes more arguments ("auto" is no longer the third).
    QTest::newRow("escaped quote then space cuts")
        << "toc_send_im \"bob\" \"a \\\"q\\\" \\\\ \\$\\(x\\)\" auto" << true << "toc_send_im"
        << QStringList{"bob", "a \\\"q\\", "\\\\", "\\$\\(x\\)\"", "auto"};
    QTest::newRow("escaped quote then other character is kept")
        << "toc_send_im \"bob\" \"say \\\"hi\\\"!\"" << true << "toc_send_im"
        << QStringList{"bob", "say \\\"hi\\\"!"};
    QTest::newRow("doubled quote is one quote")
        << "toc_send_im \"bob\" \"say \"\"hi\"\" now\"" << true << "toc_send_im"
        << QStringList{"bob", "say \"hi\" now"};
    QTest::newRow("bare quote inside quotes")
        << "toc_send_im bob \"a \"b\" c\"" << true << "toc_send_im"
        << QStringList{"bob", "a \"b", "c\""};
    QTest::newRow("quote inside a bare word") << "toc_send_im bob mid\"quote" << true
                                              << "toc_send_im" << QStringList{"bob", "mid\"quote"};
    QTest::newRow("html with &quot;, as the client sends it")
        << "toc_send_im \"bob\" \"<a href=&quot;x&quot;>l</a>\"" << true << "toc_send_im"
        << QStringList{"bob", "<a href=&quot;x&quot;>l</a>"};
    QTest::newRow("line feed inside quotes")
        << "toc2_new_buddies \"g:Buddies\nb:alice\n\"" << true << "toc2_new_buddies"
        << QStringList{"g:Buddies\nb:alice\n"};
    QTest::newRow("CR LF inside quotes becomes LF")
        << "toc_send_im bob \"a\r\nb\"" << true << "toc_send_im" << QStringList{"bob", "a\nb"};
    QTest::newRow("braces are ordinary")
        << "toc2_new_buddies {g:B\\x\nb:\"a\"\n}" << true << "toc2_new_buddies"
        << QStringList{"{g:B\\x\nb:\"a\"\n}"};
    QTest::newRow("nested braces")
        << "x {a {b} c} d" << true << "x" << QStringList{"{a", "{b}", "c}", "d"};
    QTest::newRow("bare number") << "toc2_set_pdmode 3" << true << "toc2_set_pdmode"
                                 << QStringList{"3"};
    QTest::newRow("quoted numbers") << "toc_chat_join \"4\" \"chat100\"" << true << "toc_chat_join"
                                    << QStringList{"4", "chat100"};
    QTest::newRow("spaces between arguments")
        << "toc_send_im   bob    \"many   spaces\"" << true << "toc_send_im"
        << QStringList{"bob", "many   spaces"};
    QTest::newRow("trailing space: one empty argument")
        << "toc_send_im bob hi " << true << "toc_send_im" << QStringList{"bob", "hi", ""};
    QTest::newRow("leading space: no command word")
        << "  toc_init_done   " << false << "" << QStringList{};
    QTest::newRow("empty quoted arg")
        << "toc_set_away \"\"" << true << "toc_set_away" << QStringList{""};
    QTest::newRow("empty line") << "" << false << "" << QStringList{};
    QTest::newRow("only spaces") << "   " << false << "" << QStringList{};
    QTest::newRow("unterminated quote")
        << "toc_send_im \"bob" << true << "toc_send_im" << QStringList{"bob"};
    QTest::newRow("backslash at end")
        << "toc_send_im \"bob\\" << true << "toc_send_im" << QStringList{"bob\\"};
    QTest::newRow("unterminated brace")
        << "toc2_new_buddies {g:x" << true << "toc2_new_buddies" << QStringList{"{g:x"};
    QTest::newRow("quoted command word")
        << "\"toc_init_done\"" << true << "\"toc_init_done\"" << QStringList{};
}

void TestUnits::parseCommand() {
    QFETCH(QString, line);
    QFETCH(bool, ok);
    QFETCH(QString, name);
    QFETCH(QStringList, args);
    Command cmd;
    QCOMPARE(devserver::parseCommand(line, &cmd), ok);
    QCOMPARE(cmd.name, name);
    QCOMPARE(cmd.args, args);
}

void TestUnits::parseCommandBytes() {
    // UTF-8 is decoded; a stray byte stands for itself instead of failing.
    Command cmd;
    QVERIFY(
        devserver::parseCommand(QByteArrayView("toc_send_im \"bob\" \"caf\xc3\xa9 \xff\""), &cmd));
    QCOMPARE(cmd.args.value(1), QString::fromUtf16(u"caf\u00e9 \u00ff"));
    // Every byte value, in every position, leaves the reader consistent.
    for (int b = 0; b < 256; ++b) {
        const QByteArray line = QByteArray("x \"") + char(b) + "\" {" + char(b) + "} " + char(b);
        QVERIFY(devserver::parseCommand(QByteArrayView(line), &cmd));
        QCOMPARE(cmd.name, QStringLiteral("x"));
        if (QChar(b).isLetterOrNumber() && b < 128)
            QCOMPARE(cmd.args, (QStringList{QString(QChar(b)), QStringLiteral("{%1}").arg(QChar(b)),
                                            QString(QChar(b))}));
    }
}

void TestUnits::parseHttp_data() {
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("screenname");

    const int complete = int(HttpRequest::State::Complete);
    const int incomplete = int(HttpRequest::State::Incomplete);
    const int bad = int(HttpRequest::State::Bad);
    QTest::newRow("client icon request")
        << QByteArray("GET "
                      "/BartSNQuery?custom=yes&default=0x000100050201e06e3f&type=1&screenname="
                      "somebody HTTP/1.1\r\nHost: icons\r\n\r\n\r\n")
        << complete << "/BartSNQuery"
        << "somebody";
    QTest::newRow("lf only") << QByteArray("GET /info?screenname=bob HTTP/1.0\nHost: x\n\n")
                             << complete << "/info"
                             << "bob";
    QTest::newRow("decoding") << QByteArray("GET /in%66o?screenname=Some+Body%21 HTTP/1.1\r\n\r\n")
                              << complete << "/info"
                              << "Some Body!";
    QTest::newRow("incomplete") << QByteArray("GET /info?screenname=bob HTTP/1.1\r\nHost: x\r\n")
                                << incomplete << ""
                                << "";
    QTest::newRow("empty") << QByteArray() << incomplete << ""
                           << "";
    QTest::newRow("bad version") << QByteArray("GET / HTTP/2.0\r\n\r\n") << bad << ""
                                 << "";
    QTest::newRow("no slash") << QByteArray("GET info HTTP/1.1\r\n\r\n") << bad << ""
                              << "";
    QTest::newRow("bad method") << QByteArray("G\x01T / HTTP/1.1\r\n\r\n") << bad << ""
                                << "";
    QTest::newRow("extra word") << QByteArray("GET / x HTTP/1.1\r\n\r\n") << bad << ""
                                << "";
    QTest::newRow("broken escape")
        << QByteArray("GET /info?screenname=%4 HTTP/1.1\r\n\r\n") << bad << ""
        << "";
    QTest::newRow("escape at end") << QByteArray("GET /info% HTTP/1.1\r\n\r\n") << bad << ""
                                   << "";
    QTest::newRow("header without colon")
        << QByteArray("GET / HTTP/1.1\r\nHost\r\n\r\n") << bad << ""
        << "";
    QTest::newRow("head too long")
        << QByteArray("GET / HTTP/1.1\r\nX: ") + QByteArray(kMaxHttpHead, 'a') << bad << ""
        << "";
    QTest::newRow("binary") << QByteArray("\x16\x03\x01\x02\x00\x01\x00\x01\xfc\x03\x03\n\n", 14)
                            << bad << ""
                            << "";
}

void TestUnits::parseHttp() {
    QFETCH(QByteArray, data);
    QFETCH(int, state);
    QFETCH(QString, path);
    QFETCH(QString, screenname);
    const HttpRequest req = parseHttpRequest(data);
    QCOMPARE(int(req.state), state);
    QCOMPARE(req.path, path);
    QCOMPARE(req.queryValue(QStringLiteral("screenname")), screenname);
    if (req.state == HttpRequest::State::Complete)
        QVERIFY(req.headLength > 0 && req.headLength <= data.size());
}

void TestUnits::floodControl() {
    using V = FloodControl::Verdict;
    FloodControl flood(3);
    QCOMPARE(flood.check(1000), V::Allow);
    QCOMPARE(flood.check(1100), V::Allow);
    QCOMPARE(flood.check(1999), V::Allow);
    QCOMPARE(flood.check(1999), V::Refuse); // the fourth line in one second
    QCOMPARE(flood.check(2000), V::Allow);  // a new second
    QCOMPARE(flood.check(500), V::Allow);   // a clock that went back starts over

    // A client that goes on after its refusals is cut off; refusals carry
    // over into the next second, and a calm second forgives them.
    FloodControl burst(2);
    for (int i = 0; i < 2; ++i)
        QCOMPARE(burst.check(0), V::Allow);
    for (int i = 0; i < FloodControl::kRefusals - 1; ++i)
        QCOMPARE(burst.check(0), V::Refuse);
    QCOMPARE(burst.check(1000), V::Allow);
    QCOMPARE(burst.check(1000), V::Allow);
    QCOMPARE(burst.check(1000), V::Refuse);
    QCOMPARE(burst.check(1000), V::Disconnect);
    FloodControl calm(2);
    for (int i = 0; i < 3; ++i)
        calm.check(0); // one refusal
    calm.check(1000);  // a calm second
    for (int i = 0; i < FloodControl::kRefusals + 2; ++i)
        QCOMPARE(calm.check(2000), i < 2 ? V::Allow : V::Refuse);

    FloodControl off(0);
    for (int i = 0; i < 1000; ++i)
        QCOMPARE(off.check(0), V::Allow);

    // A client that paces its lines as Vorkle does is never refused at the
    // default limit, however much is typed at once.
    qint64 now = 0;
    SendPacer pacer;
    pacer.setClock([&now] { return now; });
    FloodControl paced(ServerOptions().floodLimit);
    int allowed = 0;
    const auto send = [&] {
        allowed += paced.check(now) == V::Allow;
        return true;
    };
    for (int i = 0; i < 300; ++i)
        pacer.submit({i % 3 ? SendPacer::Kind::Room : SendPacer::Kind::IM, send, {}, {}});
    for (; pacer.waiting() > 0; pacer.pump())
        now = pacer.nextDeparture();
    QCOMPARE(allowed, 300);
}

void TestUnits::names_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("screenName");
    QTest::addColumn<bool>("group");
    QTest::addColumn<bool>("room");

    QTest::newRow("plain") << "alice" << true << true << true;
    QTest::newRow("digits and dots") << "a.b_c-9@x" << true << true << true;
    QTest::newRow("capitals") << "Alice" << false << true << true;
    QTest::newRow("colon") << "a:b" << false << true << false;
    QTest::newRow("line feed") << "a\nb" << false << false << false;
    QTest::newRow("nul") << QString(QChar(0)) << false << false << false;
    QTest::newRow("empty") << "" << false << false << false;
    QTest::newRow("spaces only") << "   " << false << false << false;
    QTest::newRow("too long") << QString(65, QLatin1Char('a')) << false << false << false;
    QTest::newRow("25 chars") << QString(25, QLatin1Char('a')) << false << true << true;
}

void TestUnits::names() {
    QFETCH(QString, text);
    QFETCH(bool, screenName);
    QFETCH(bool, group);
    QFETCH(bool, room);
    QCOMPARE(isValidScreenName(text), screenName);
    QCOMPARE(isValidGroupName(text), group);
    QCOMPARE(isValidRoomName(text), room);
}

void TestUnits::headProblem_data() {
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("partial marker") << QByteArray("*") << true;
    QTest::newRow("data frame") << QByteArray("*\x02\x00\x01\x00\x10", 6) << true;
    QTest::newRow("largest data frame") << QByteArray("*\x02\x00\x01\x20\x00", 6) << true;
    QTest::newRow("keep-alive") << QByteArray("*\x05\x00\x01\x00\x00", 6) << true;
    QTest::newRow("wrong marker") << QByteArray("G") << false;
    QTest::newRow("type 0") << QByteArray("*\x00", 2) << false;
    QTest::newRow("type 9") << QByteArray("*\x09", 2) << false;
    QTest::newRow("huge data frame") << QByteArray("*\x02\x00\x01\xff\xff", 6) << false;
    QTest::newRow("long keep-alive") << QByteArray("*\x05\x00\x01\x10\x00", 6) << false;
}

void TestUnits::headProblem() {
    QFETCH(QByteArray, head);
    QFETCH(bool, accepted);
    QCOMPARE(Session::headProblem(head).isEmpty(), accepted);
}

void TestUnits::botReply_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("reply");

    QTest::newRow("plain") << "hello"
                           << "You said: \"hello\"";
    QTest::newRow("tags removed") << "<font color=\"#ff0000\"><b>hi</b> there</font>"
                                  << "You said: \"hi there\"";
    QTest::newRow("broken tag is not markup") << "a <b"
                                              << "You said: \"a b\"";
    QTest::newRow("long") << QString(300, QLatin1Char('x'))
                          << "You said: \"" + QString(200, QLatin1Char('x')) + "...\"";
}

void TestUnits::botReply() {
    QFETCH(QString, message);
    QFETCH(QString, reply);
    QCOMPARE(VorkleBot::replyTo(message), reply);
}

QTEST_GUILESS_MAIN(TestUnits)
