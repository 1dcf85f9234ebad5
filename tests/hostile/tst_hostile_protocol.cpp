// Broken and hostile servers against the protocol control: whatever they
// send, the control keeps running, raises only well-formed events, and
// handles the next good line.
#include "eventlog.h"
#include "protocol/qeltocsock.h"
#include "protocol/wire.h"
#include "scriptedserver.h"

#include <QtTest>
#include <memory>

using namespace toc;

class TestHostileProtocol : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        server = std::make_unique<ScriptedServer>();
        sock = std::make_unique<QelTOCSock>();
    }
    void cleanup() {
        sock.reset();
        server.reset();
    }

    void streamsThenGoodLine_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("chunk");
        QTest::addColumn<QStringList>("events");
        auto line = [](const QByteArray &l) { return buildFrame(Data, 7, l); };
        QByteArray wrongMarker = line("NICK:marked");
        wrongMarker[0] = '#';
        QTest::newRow("marker not star is still cut by length")
            << wrongMarker << 0 << QStringList{"ScreennameFormat(marked)"};
        QTest::newRow("invalid utf-8 kept byte for byte")
            << line("NICK:\xff\xfe\xc3") << 0
            << QStringList{QStringLiteral("ScreennameFormat(") + QChar(0xff) + QChar(0xfe) +
                           QChar(0xc3) + ")"};
        QTest::newRow("60000-character IM")
            << line("IM_IN_ENC2:bob:F:F:T: O:F:L:en:" + QByteArray(60000, 'x')) << 0
            << QStringList{"InstantMessage(bob|" + QString(60000, 'x') + "|false| O)"};
        QTest::newRow("one byte per read") << line("NICK:a") + line("CHAT_JOIN:5:r") << 1
                                           << QStringList{"JoinedChat(r|5)", "ScreennameFormat(a)"};
        QTest::newRow("numbers out of range")
            << line("UPDATE_BUDDY2:b:T:99999:1:1: O:") + line("CHAT_JOIN:99999999999:r") +
                   line("CHAT_IN_ENC:-2147483649:b:F:A:en:x") + line("CLIENT_EVENT2:b:65536") +
                   line("EVILED:32768:b") + line("RVOUS_PROPOSE:b:u:c:s:1:2:3:4294967296") +
                   line("ERROR:70000") + line("CHAT_UPDATE_BUDDY:2147483648:T:a")
            << 0 << QStringList{};
        QTest::newRow("empty data frames")
            << line("") + line(":") + line("::::") << 0 << QStringList{};
        QTest::newRow("nul inside the line")
            << line(QByteArray("NICK:a\0b", 8)) << 0
            << QStringList{QStringLiteral("ScreennameFormat(a") + QChar(0) + "b)"};
        QTest::newRow("frame too short to hold a type") << QByteArray("*") << 0 << QStringList{};
    }
    void streamsThenGoodLine() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, chunk);
        QFETCH(QStringList, events);
        signOn();
        EventLog log(sock.get(), {"IncomingPacket"});
        if (chunk > 0)
            server->sendChunked(bytes, chunk);
        else
            server->sendRaw(bytes);
        if (bytes.size() >= 6) {
            // The stream ended on a frame boundary: a good line still works.
            server->sendLine("NICK:alive");
            QVERIFY(waitUntil([&] { return log.events().contains("ScreennameFormat(alive)"); }));
            QStringList got = log.events();
            got.removeAll("ScreennameFormat(alive)");
            QCOMPARE(got, events);
        } else {
            QTest::qWait(50);
            QCOMPARE(log.events(), events);
        }
        QVERIFY(sock->isConnected());
    }

    // A length of 65535 whose data never comes: the control waits without
    // handling anything, and a new sign-on starts clean.
    void lengthWithoutData() {
        signOn();
        EventLog log(sock.get(), {"IncomingPacket"});
        server->sendRaw(QByteArray("*\x02\x00\x01\xff\xff", 6) + "NICK:x");
        server->sendLine("NICK:swallowed");
        QTest::qWait(50);
        QCOMPARE(log.count(), 0);
        sock->Login("me", "pw", "127.0.0.1", server->port());
        QVERIFY(server->acceptSignOn("done:\n", "Fresh"));
        QCOMPARE(log.events(),
                 (QStringList{"LoggedIn(me|[]|[]|[]|[]||0)", "ScreennameFormat(Fresh)"}));
    }

    // 100,000 frames in one write: all handled, in order.
    void hundredThousandFrames() {
        signOn();
        QByteArray burst;
        for (int i = 0; i < 100000; ++i)
            burst += buildFrame(Data, quint16(i), "CLIENT_EVENT2:b:" + QByteArray::number(i % 3));
        int seen = 0;
        bool ordered = true;
        connect(sock.get(), &QelTOCSock::TypingStatus, this, [&](const QString &, qint16 s) {
            ordered = ordered && s == seen % 3;
            ++seen;
        });
        server->sendRaw(burst);
        QVERIFY(waitUntil([&] { return seen == 100000; }, 60000));
        QVERIFY(ordered);
    }

    // A whole sign-on delivered one byte per read.
    void signOnOneBytePerRead() {
        QSignalSpy loggedIn(sock.get(), &QelTOCSock::LoggedIn);
        sock->Login("me", "pw", "127.0.0.1", server->port());
        QVERIFY(server->waitForBytes(8));
        QByteArray all = buildFrame(SignOn, 0, QByteArray("\0\0\0\1", 4));
        server->sendChunked(all, 1);
        QVERIFY(server->waitForLines(1));
        all = buildFrame(Data, 1, "SIGN_ON:TOC2.0") + buildFrame(Data, 2, "NICK:Me") +
              buildFrame(Data, 3, "CONFIG2:g:G\nb:a\ndone:\n");
        server->sendChunked(all, 1);
        QVERIFY(server->waitForLine("toc_init_done"));
        QCOMPARE(loggedIn.count(), 1);
    }

    void closeMidFrame() {
        signOn();
        QSignalSpy gone(sock.get(), &QelTOCSock::Disconnected);
        EventLog log(sock.get(), {"IncomingPacket", "Disconnected"});
        server->sendRaw(buildFrame(Data, 1, "NICK:half").left(9));
        server->closeClient();
        QVERIFY(waitUntil([&] { return gone.count() == 1; }));
        QCOMPARE(log.count(), 0);
        QVERIFY(!sock->SendIM("bob", "hi", false));
    }

    void closeDuringSignOn() {
        QSignalSpy gone(sock.get(), &QelTOCSock::Disconnected);
        QSignalSpy loggedIn(sock.get(), &QelTOCSock::LoggedIn);
        sock->Login("me", "pw", "127.0.0.1", server->port());
        QVERIFY(server->waitForBytes(8));
        server->sendFrame(SignOn, QByteArray("\0\0\0\1", 4));
        QVERIFY(server->waitForLines(1));
        server->sendLine("ERROR:980");
        server->closeClient();
        QVERIFY(waitUntil([&] { return gone.count() == 1; }));
        QCOMPARE(loggedIn.count(), 0);
    }

  private:
    void signOn() {
        sock->Login("me", "pw", "127.0.0.1", server->port());
        QVERIFY(server->acceptSignOn());
        server->clearReceived();
    }

    std::unique_ptr<ScriptedServer> server;
    std::unique_ptr<QelTOCSock> sock;
};

QTEST_GUILESS_MAIN(TestHostileProtocol)
#include "tst_hostile_protocol.moc"
