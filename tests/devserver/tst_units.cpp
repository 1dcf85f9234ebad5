// The pure parts of the server: command lines, HTTP heads, flood control,
// name rules, frame heads and the bot's reply.
#include "tst_units.h"

#include "devserver/commandparser.h"
#include "devserver/floodcontrol.h"
#include "devserver/httprequest.h"
#include "devserver/names.h"
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
    QTest::newRow("escapes") << "toc_send_im \"bob\" \"a \\\"q\\\" \\\\ \\$\\(x\\)\" auto" << true
                             << "toc_send_im" << QStringList{"bob", "a \"q\" \\ $(x)", "auto"};
    QTest::newRow("line feed inside quotes")
        << "toc2_new_buddies \"g:Buddies\nb:alice\n\"" << true << "toc2_new_buddies"
        << QStringList{"g:Buddies\nb:alice\n"};
    QTest::newRow("braces literal") << "toc2_new_buddies {g:B\\x\nb:\"a\"\n}" << true
                                    << "toc2_new_buddies" << QStringList{"g:B\\x\nb:\"a\"\n"};
    QTest::newRow("nested braces") << "x {a {b} c} d" << true << "x" << QStringList{"a {b} c", "d"};
    QTest::newRow("bare number") << "toc2_set_pdmode 3" << true << "toc2_set_pdmode"
                                 << QStringList{"3"};
    QTest::newRow("quoted numbers") << "toc_chat_join \"4\" \"chat100\"" << true << "toc_chat_join"
                                    << QStringList{"4", "chat100"};
    QTest::newRow("many spaces") << "  toc_init_done   " << true << "toc_init_done"
                                 << QStringList{};
    QTest::newRow("empty quoted arg")
        << "toc_set_away \"\"" << true << "toc_set_away" << QStringList{""};
    QTest::newRow("empty line") << "" << false << "" << QStringList{};
    QTest::newRow("only spaces") << "   " << false << "" << QStringList{};
    QTest::newRow("unterminated quote") << "toc_send_im \"bob" << false << "" << QStringList{};
    QTest::newRow("backslash at end") << "toc_send_im \"bob\\" << false << "" << QStringList{};
    QTest::newRow("unterminated brace") << "toc2_new_buddies {g:x" << false << "" << QStringList{};
    QTest::newRow("quoted command word") << "\"toc_init_done\"" << false << "" << QStringList{};
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
    // Every byte value, in every position, leaves the parser consistent.
    for (int b = 0; b < 256; ++b) {
        const QByteArray line = QByteArray("x \"") + char(b) + "\" {" + char(b) + "} " + char(b);
        const bool ok = devserver::parseCommand(QByteArrayView(line), &cmd);
        if (ok)
            QCOMPARE(cmd.name, QStringLiteral("x"));
        if (QChar(b).isLetterOrNumber() && b < 128) {
            QVERIFY(ok);
            QCOMPARE(cmd.args, QStringList(3, QString(QChar(b))));
        }
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
    FloodControl flood(3);
    QVERIFY(flood.allow(1000));
    QVERIFY(flood.allow(1100));
    QVERIFY(flood.allow(1999));
    QVERIFY(!flood.allow(1999)); // the fourth line in one second
    QVERIFY(flood.allow(2000));  // a new second
    QVERIFY(flood.allow(500));   // a clock that went back starts over

    FloodControl off(0);
    for (int i = 0; i < 1000; ++i)
        QVERIFY(off.allow(0));
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
