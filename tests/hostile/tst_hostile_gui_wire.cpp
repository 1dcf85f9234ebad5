// Numbers out of range in the fields the window uses, numbers at the very
// limits, servers that close at awkward moments, and conversations whose
// names look alike.
#include "tst_hostile_gui.h"

#include "dialogs/frmerr.h"
#include "pages/buddytree.h"
#include "protocol/linkwatch.h"
#include "protocol/qeltocsock.h"
#include "protocol/wire.h"
#include "uikit/clicklabel.h"
#include "views/ctlchat.h"
#include "views/ctlim.h"

#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTabBar>

namespace {
const QString kConfig = QStringLiteral("g:G\nb:bob\nb:eve\ndone:\n");
// A room (id 9), an open IM with bob whose typing line says he has entered
// text, bob online in the tree.
const QByteArray kSetup[] = {"CHAT_JOIN:9:room", "IM_IN_ENC2:bob:F:F:T: O:F:L:en:hi",
                             "CLIENT_EVENT2:bob:1", "UPDATE_BUDDY2:bob:T:0:0:0: O:"};
} // namespace

// A number that does not fit its field makes the line raise nothing: the
// window does not change at all, and in particular nothing wraps around
// onto a real id, status or code.
void TestHostileGui::numbersOutOfRange_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("warning level") << QByteArray("UPDATE_BUDDY2:eve:T:32768:0:0: O:");
    QTest::newRow("online time") << QByteArray("UPDATE_BUDDY2:eve:T:0:2147483648:0: O:");
    QTest::newRow("idle time") << QByteArray("UPDATE_BUDDY2:eve:T:0:0:-2147483649: O:");
    QTest::newRow("sign-off, bad idle") << QByteArray("UPDATE_BUDDY2:bob:F:0:0:99999999999: O:");
    QTest::newRow("joined room id") << QByteArray("CHAT_JOIN:2147483648:big");
    QTest::newRow("joined room id not a number") << QByteArray("CHAT_JOIN:nine:word");
    QTest::newRow("message id wraps onto 9") << QByteArray("CHAT_IN_ENC:4294967305:bob:F:A:en:x");
    QTest::newRow("member id wraps onto 9") << QByteArray("CHAT_UPDATE_BUDDY:4294967305:T:zed");
    QTest::newRow("leave id wraps onto 9") << QByteArray("CHAT_LEFT:4294967305");
    QTest::newRow("room id empty") << QByteArray("CHAT_IN_ENC::bob:F:A:en:x");
    QTest::newRow("typing status wraps onto 2") << QByteArray("CLIENT_EVENT2:bob:65538");
    QTest::newRow("typing status huge") << QByteArray("CLIENT_EVENT2:bob:1e99");
    QTest::newRow("error code") << QByteArray("ERROR:65537");
    QTest::newRow("error sub-code") << QByteArray("ERROR:989:70000");
    QTest::newRow("warning level of EVILED") << QByteArray("EVILED:99999:bob");
    QTest::newRow("invitation id") << QByteArray("CHAT_INVITE:r:2147483648:bob:come");
    QTest::newRow("rendezvous port") << QByteArray("RVOUS_PROPOSE:b:u:c:s:1:2:3:4294967296");
}

void TestHostileGui::numbersOutOfRange() {
    QFETCH(QByteArray, line);
    QVERIFY(signOn(kConfig));
    QByteArray setup;
    for (const QByteArray &l : kSetup)
        setup += frame(l);
    QVERIFY(deliver(setup));
    const QString before = snapshot();
    QVERIFY(deliver(frame(line)));
    QCOMPARE(snapshot(), before);
    // The typing line of bob's view did not change either.
    QCOMPARE(rig->w->imViews.last()->findChild<QLabel *>(QStringLiteral("labIMstatus"))->text(),
             QStringLiteral("bob has entered text"));
}

// Numbers at the limits of their fields work like any other.
void TestHostileGui::numbersAtTheLimits_data() {
    QTest::addColumn<QByteArrayList>("lines");
    QTest::addColumn<QString>("expect"); // a line of the window's snapshot
    QTest::newRow("largest room id")
        << QByteArrayList{"CHAT_JOIN:2147483647:max", "CHAT_UPDATE_BUDDY:2147483647:T:a:b"}
        << "chats=/#0#0|room./9#0#0|max./2147483647#48#2";
    QTest::newRow("smallest room id")
        << QByteArrayList{"CHAT_JOIN:-2147483648:min", "CHAT_UPDATE_BUDDY:-2147483648:T:a"}
        << "chats=/#0#0|room./9#0#0|min./-2147483648#24#1";
    QTest::newRow("room id with leading zeros, routed by number")
        << QByteArrayList{"CHAT_JOIN:0007:z", "CHAT_UPDATE_BUDDY:07:T:a"}
        << "chats=/#0#0|room./9#0#0|z./7#24#1";
    QTest::newRow("idle at the top: idle image")
        << QByteArrayList{"UPDATE_BUDDY2:eve:T:32767:2147483647:2147483647: O:"}
        << "tree=G[bob@1,eve@2]";
    QTest::newRow("everything at the bottom: online image")
        << QByteArrayList{"UPDATE_BUDDY2:eve:T:-32768:-2147483648:-2147483648: O:"}
        << "tree=G[bob@1,eve@1]";
    QTest::newRow("an id written with a sign is no number")
        << QByteArrayList{"CHAT_JOIN:+7:z"} << "chats=/#0#0|room./9#0#0";
    QTest::newRow("smallest error code")
        << QByteArrayList{"ERROR:-32768"} << "alert=Error code: -32768";
}

void TestHostileGui::numbersAtTheLimits() {
    QFETCH(QByteArrayList, lines);
    QFETCH(QString, expect);
    QVERIFY(signOn(kConfig));
    QByteArray bytes;
    for (const QByteArray &l : kSetup)
        bytes += frame(l);
    for (const QByteArray &l : lines)
        bytes += frame(l);
    QVERIFY(deliver(bytes));
    const QStringList state = snapshot().split(QLatin1Char('\n'));
    QVERIFY2(state.contains(expect), qPrintable(state.join(QLatin1Char('\n'))));
}

// The server closes mid-frame or during sign-on: the status line and the
// alert say what happened, the layout stays as it was, and a new sign-on
// starts clean (nothing of the cut frame is glued to the new connection).
void TestHostileGui::serverCloses_data() {
    QTest::addColumn<QString>("stage");
    QTest::addColumn<QString>("alert");
    QTest::addColumn<bool>("signedOnLayout");
    // Signed on, the session comes back by itself: no alert, a countdown.
    QTest::newRow("mid-frame while signed on") << "signed on"
                                               << "" << true;
    QTest::newRow("after refusing the sign-on") << "refused"
                                                << "Invalid account or password" << false;
    QTest::newRow("mid-frame of the configuration") << "config"
                                                    << "" << false;
    QTest::newRow("right after the greeting") << "greeting"
                                              << "" << false;
}

void TestHostileGui::serverCloses() {
    QFETCH(QString, stage);
    QFETCH(QString, alert);
    QFETCH(bool, signedOnLayout);
    frmMain &w = *rig->w;
    ScriptedServer &server = rig->server;
    if (stage == QLatin1String("signed on")) {
        QVERIFY(signOn(kConfig));
        QVERIFY(deliver(frame(kSetup[0])));
        server.sendRaw(frame("IM_IN_ENC2:bob:F:F:T: O:F:L:en:cut short").left(20));
    } else {
        rig->pressLogin();
        QVERIFY(server.waitForClient());
        QVERIFY(waitUntil([&] { return server.received().startsWith("FLAPON\n\n"); }));
        if (stage != QLatin1String("greeting")) {
            server.sendFrame(1, QByteArray::fromRawData("\0\0\0\1", 4));
            QVERIFY(server.waitForLineStartingWith(QStringLiteral("toc2_login ")));
            if (stage == QLatin1String("refused"))
                server.sendLine(QStringLiteral("ERROR:980"));
            else
                server.sendRaw(frame("CONFIG2:g:G\nb:bob\ndone:\n").left(15));
        }
    }
    server.closeClient();
    QVERIFY(waitUntil([&] { return !w.toc->isConnected(); }));
    QTest::qWait(50);
    const QString status = w.findChild<QLabel *>(QStringLiteral("labStat"))->text();
    QVERIFY2(signedOnLayout ? status.startsWith(QStringLiteral("offline... reconnecting in "))
                            : status == frmMain::kOffline,
             qPrintable(status));
    if (alert.isEmpty()) {
        QVERIFY(!w.alertWindow() || !w.alertWindow()->isVisible());
    } else {
        QVERIFY(w.alertWindow()->isVisible());
        QCOMPARE(w.alertWindow()->message(), alert);
        w.alertWindow()->Command1->click();
    }
    QCOMPARE(w.PicLogin->frmLogin->isVisible(), !signedOnLayout);
    QCOMPARE(w.chatViews.size(), signedOnLayout ? 2 : 1);
    QCOMPARE(w.imViews.size(), 1);

    // Signing on again works, and the next IM opens one clean view.
    if (signedOnLayout)
        QTest::mouseClick(w.PicLogin->Label6, Qt::LeftButton); // "Logout"

    QVERIFY(signOn(kConfig));
    QVERIFY(deliver(frame("IM_IN_ENC2:bob:F:F:T: O:F:L:en:fresh")));
    QCOMPARE(w.imViews.size(), 2);
    QCOMPARE(transcriptOf(w.imViews.last()), QStringLiteral("bob: fresh\n"));
    QCOMPARE(tabKeys(), (QStringList{"Settings", "bob"}));
}

// A tab shows its own conversation only, and what is typed there goes to
// that conversation: a person named like a room's caption, two rooms of
// one name.
void TestHostileGui::tabsSendToTheirOwnConversation_data() {
    QTest::addColumn<QByteArrayList>("lines");
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("sent");
    const QByteArrayList personLikeRoom{"CHAT_JOIN:5:team",
                                        "IM_IN_ENC2:team.:F:F:T: O:F:L:en:psst"};
    QTest::newRow("the person's tab") << personLikeRoom << 2 << "toc_send_im \"team.\" \"<";
    QTest::newRow("the room's tab") << personLikeRoom << 1 << "toc_chat_send \"5\" \"<";
    const QByteArrayList twoRooms{"CHAT_JOIN:1:Dup", "CHAT_JOIN:2:Dup"};
    QTest::newRow("first of two rooms") << twoRooms << 1 << "toc_chat_send \"1\" \"<";
    QTest::newRow("second of two rooms") << twoRooms << 2 << "toc_chat_send \"2\" \"<";
}

void TestHostileGui::tabsSendToTheirOwnConversation() {
    QFETCH(QByteArrayList, lines);
    QFETCH(int, tab);
    QFETCH(QString, sent);
    QVERIFY(signOn());
    QByteArray bytes;
    for (const QByteArray &l : lines)
        bytes += frame(l);
    QVERIFY(deliver(bytes));
    frmMain &w = *rig->w;
    QCOMPARE(w.Tab1->count(), 3);
    QVERIFY(w.Tab1->tabIcon(1).isNull() != w.Tab1->key(1).isRoom());
    QVERIFY(w.Tab1->tabIcon(2).isNull() != w.Tab1->key(2).isRoom());
    w.Tab1->setCurrentIndex(tab);
    QList<QWidget *> shown;
    for (QWidget *view : w.findChildren<QWidget *>())
        if ((qobject_cast<ctlIM *>(view) || qobject_cast<ctlChat *>(view)) && view->isVisible())
            shown << view;
    QCOMPARE(shown.size(), 1);
    auto *box = shown.first()->findChild<QPlainTextEdit *>(QStringLiteral("txtMsg"));
    QTest::keyClicks(box, QStringLiteral("hunter2"));
    QTest::keyClick(box, Qt::Key_Return);
    QVERIFY2(rig->server.waitForLineStartingWith(sent), qPrintable(rig->server.lines().join("\n")));
}

// A server that keeps its connection open but says nothing more: after a
// quiet spell it is asked its user's own status; when even that goes
// unanswered the connection is lost, and the IMs typed shortly before say
// they may not have arrived.
void TestHostileGui::hungServer_data() {
    QTest::addColumn<bool>("answers"); // the server answers each question
    QTest::addColumn<int>("doubtMs");  // IMs sent this long before the loss are in doubt
    QTest::addColumn<int>("notes");    // "may not have been delivered" lines in bob's view
    QTest::newRow("answers the question") << true << 60000 << 0;
    QTest::newRow("silent: the IM is in doubt") << false << 60000 << 1;
    QTest::newRow("silent: the IM was sent long before") << false << 0 << 0;
}

void TestHostileGui::hungServer() {
    QFETCH(bool, answers);
    QFETCH(int, doubtMs);
    QFETCH(int, notes);
    frmMain &w = *rig->w;
    w.toc->linkWatch()->setTimers({200, 1000, doubtMs});
    QVERIFY(signOn(kConfig));
    QVERIFY(deliver(frame(kSetup[1])));
    auto *box = w.imViews.last()->findChild<QPlainTextEdit *>(QStringLiteral("txtMsg"));
    QTest::keyClicks(box, QStringLiteral("hi?"));
    QTest::keyClick(box, Qt::Key_Return);
    for (int i = 0; answers && i < 3; ++i) {
        QVERIFY(rig->server.waitForLine(QStringLiteral("toc_get_status \"myname\"")));
        rig->server.clearReceived();
        rig->server.sendLine(QStringLiteral("UPDATE_BUDDY2:My Name:T:0:0:0: O:"));
    }
    if (!answers) {
        // A lost connection: the session waits to sign on again, without a box.
        auto *status = w.findChild<QLabel *>(QStringLiteral("labStat"));
        QVERIFY(waitUntil([&] { return status->text().startsWith("offline... reconnecting"); }));
    }
    QCOMPARE(w.toc->isConnected(), answers);
    QCOMPARE(transcriptOf(w.imViews.last()).count("This message may not have been delivered."),
             notes);
}
