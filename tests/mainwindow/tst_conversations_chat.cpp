#include "tst_conversations.h"

#include "pages/buddytree.h"
#include "protocol/qeltocsock.h"
#include "views/ctlchat.h"
#include "views/ctlim.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTabBar>

namespace {
const QString kJoin100 = QStringLiteral("toc_chat_join \"4\" \"Chat100\"");

QStringList members(const ctlChat *view) {
    QStringList out;
    const auto *list = view->findChild<QListWidget *>(QStringLiteral("lstPPL"));
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

bool inputEnabled(const ctlChat *view) {
    return view->findChild<QPlainTextEdit *>(QStringLiteral("txtMsg"))->isEnabled();
}
} // namespace

void TestConversations::joinChat_data() {
    QTest::addColumn<QString>("room");
    QTest::addColumn<QString>("exchange");
    QTest::addColumn<QString>("field"); // txtChatName afterwards
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("alert");
    QTest::newRow("defaults") << "Chat100"
                              << "4"
                              << "Chat100" << QStringList{kJoin100} << "";
    // Servers keep a room name's case and spaces.
    QTest::newRow("case and spaces kept, trimmed")
        << " My  Room "
        << "5"
        << "My  Room" << QStringList{"toc_chat_join \"5\" \"My  Room\""} << "";
    QTest::newRow("exchange with spaces") << "Chat100"
                                          << " 4 "
                                          << "Chat100" << QStringList{kJoin100} << "";
    QTest::newRow("exchange not a number")
        << "chat100"
        << "four"
        << "chat100" << QStringList{} << "The exchange must be a number.";
    QTest::newRow("exchange empty")
        << "chat100"
        << ""
        << "chat100" << QStringList{} << "The exchange must be a number.";
    QTest::newRow("exchange beyond 16 bits")
        << "chat100"
        << "70000"
        << "chat100" << QStringList{} << "The exchange must be a number.";
}

void TestConversations::joinChat() {
    QFETCH(QString, room);
    QFETCH(QString, exchange);
    QFETCH(QString, field);
    QFETCH(QStringList, lines);
    QFETCH(QString, alert);
    frmMain &w = *rig->w;
    QVERIFY(rig->signOn(QStringLiteral("done:\n")));
    rig->server.clearReceived();
    w.PicLogin->tab2->setCurrentWidget(w.PicLogin->chatIM);
    w.PicLogin->chatIM->txtChatName->setText(room);
    w.PicLogin->chatIM->txtEx->setText(exchange);
    QTest::mouseClick(w.PicLogin->chatIM->cmdChat, Qt::LeftButton);

    QCOMPARE(w.PicLogin->chatIM->txtChatName->text(), field);
    QCOMPARE(linesSent(), lines);
    if (alert.isEmpty())
        QVERIFY(!w.alertWindow());
    else
        QCOMPARE(w.alertWindow()->message(), alert);
    // No tab or view before the server says the room was joined.
    QCOMPARE(tabKeys(), QStringList{"Settings"});
    QCOMPARE(w.chatViews.size(), 1);
}

void TestConversations::joinedChatNamesTab_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("serverRoom");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("asked"); // the room joined is the one asked for
    QTest::newRow("name from the server") << "Chat100"
                                          << "chat100"
                                          << "chat100." << true;
    QTest::newRow("??? is the last requested room") << "My Room"
                                                    << "???"
                                                    << "My Room." << true;
    QTest::newRow("server's own spelling") << "chat100"
                                           << "Chat 100"
                                           << "Chat 100." << true;
    QTest::newRow("markup and ampersand") << "chat100"
                                          << "<i>a&b"
                                          << "<i>a&b." << false;
}

void TestConversations::joinedChatNamesTab() {
    QFETCH(QString, typed);
    QFETCH(QString, serverRoom);
    QFETCH(QString, caption);
    QFETCH(bool, asked);
    frmMain &w = *rig->w;
    QVERIFY(rig->signOn(QStringLiteral("done:\n")));
    w.PicLogin->tab2->setCurrentWidget(w.PicLogin->chatIM);
    w.PicLogin->chatIM->txtChatName->setText(typed);
    QTest::mouseClick(w.PicLogin->chatIM->cmdChat, Qt::LeftButton);
    QVERIFY(rig->server.waitForLineStartingWith(QStringLiteral("toc_chat_join ")));

    ctlChat *view = joined(serverRoom, 77);
    QVERIFY(view);
    QCOMPARE(tabKeys(), (QStringList{"Settings", caption}));
    QCOMPARE(w.Tab1->tabText(1), QString(caption).replace(QLatin1Char('&'), QLatin1String("&&")));
    QCOMPARE(view->Chatids, caption);
    QCOMPARE(view->Chatid2, QStringLiteral("77"));
    QCOMPARE(view->index(), 1);
    // The room asked for comes forward, with the cursor in its input box.
    QCOMPARE(w.Tab1->currentIndex(), asked ? 1 : 0);
    QCOMPARE(view->isVisible(), asked);
    if (asked)
        QCOMPARE(w.focusWidget(), view->findChild<QWidget *>(QStringLiteral("txtMsg")));
    w.Tab1->setCurrentIndex(1);
    QVERIFY(view->isVisible());
    QVERIFY(w.PicChat->isVisible());
    QVERIFY(!w.PicLogin->isVisible());
    QVERIFY(w.chatViews.first()->isHidden());
}

void TestConversations::alreadyInThisChat() {
    frmMain &w = *rig->w;
    QVERIFY(rig->signOn(QStringLiteral("done:\n")));
    w.PicLogin->tab2->setCurrentWidget(w.PicLogin->chatIM);
    w.PicLogin->chatIM->txtChatName->setText(QStringLiteral("Chat 100"));
    QTest::mouseClick(w.PicLogin->chatIM->cmdChat, Qt::LeftButton);
    QVERIFY(rig->server.waitForLine(QStringLiteral("toc_chat_join \"4\" \"Chat 100\"")));
    QVERIFY(joined(QStringLiteral("Chat 100"), 5));
    rig->server.clearReceived();

    // Servers match room names ignoring case.
    w.PicLogin->chatIM->txtChatName->setText(QStringLiteral(" CHAT 100"));
    QTest::mouseClick(w.PicLogin->chatIM->cmdChat, Qt::LeftButton);
    QCOMPARE(w.alertWindow()->message(), QStringLiteral("You are already in this chat"));
    QCOMPARE(w.PicLogin->chatIM->txtChatName->text(), QStringLiteral("CHAT 100"));
    QCOMPARE(linesSent(), QStringList());
    QCOMPARE(tabKeys(), (QStringList{"Settings", "Chat 100."}));
}

void TestConversations::chatEventsRoutedById_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QList<bool>>("reached"); // views 1, 2 (ids 11, 22)
    const QString msg = QStringLiteral("CHAT_IN_ENC:%1:bob:F:A:en:hello there");
    QTest::newRow("message, one room") << msg.arg(11) << "message" << QList<bool>{true, false};
    QTest::newRow("message, the room of a reused id")
        << msg.arg(22) << "message" << QList<bool>{false, true};
    QTest::newRow("message, unknown id") << msg.arg(33) << "message" << QList<bool>{false, false};
    QTest::newRow("message, id 0") << msg.arg(0) << "message" << QList<bool>{false, false};
    QTest::newRow("members join") << "CHAT_UPDATE_BUDDY:11:T:Some One:bob"
                                  << "join" << QList<bool>{true, false};
    QTest::newRow("members join, shared id") << "CHAT_UPDATE_BUDDY:22:T:Some One:bob"
                                             << "join" << QList<bool>{false, true};
    QTest::newRow("members join, unknown id") << "CHAT_UPDATE_BUDDY:44:T:Some One:bob"
                                              << "join" << QList<bool>{false, false};
    QTest::newRow("room left") << "CHAT_LEFT:11"
                               << "left" << QList<bool>{true, false};
    QTest::newRow("room left, shared id") << "CHAT_LEFT:22"
                                          << "left" << QList<bool>{false, true};
    QTest::newRow("room left, unknown id") << "CHAT_LEFT:-5"
                                           << "left" << QList<bool>{false, false};
}

void TestConversations::chatEventsRoutedById() {
    QFETCH(QString, line);
    QFETCH(QString, kind);
    QFETCH(QList<bool>, reached);
    frmMain &w = *rig->w;
    QVERIFY(rig->signOn(QStringLiteral("done:\n")));
    QVERIFY(joined(QStringLiteral("alpha"), 11));
    QVERIFY(joined(QStringLiteral("beta"), 22));
    // A second join of an open id reuses its one conversation: no second
    // view receiving every event.
    QVERIFY(!joined(QStringLiteral("gamma"), 22));
    QCOMPARE(tabKeys(), (QStringList{"Settings", "alpha.", "beta."}));

    QVERIFY(receive(line));
    QCOMPARE(w.chatViews.size(), 3);
    for (int v = 0; v < w.chatViews.size(); ++v) {
        const ctlChat *view = w.chatViews[v];
        const bool hit = v > 0 && reached[v - 1];
        const QString where = QStringLiteral("view %1").arg(v);
        if (kind == QLatin1String("message")) {
            QVERIFY2(transcriptOf(view).contains(QStringLiteral("hello there")) == hit,
                     qPrintable(where));
        } else if (kind == QLatin1String("join")) {
            QCOMPARE(members(view), hit ? (QStringList{"someone", "bob"}) : QStringList());
            QCOMPARE(view->findChild<QLabel *>(QStringLiteral("labPPL"))->text(),
                     hit ? QStringLiteral("2") : QStringLiteral("0"));
        } else {
            QVERIFY2(inputEnabled(view) == !hit, qPrintable(where));
        }
    }
    // Room events open no tab and select nothing.
    QCOMPARE(tabKeys().size(), 3);
    QCOMPARE(w.Tab1->currentIndex(), 0);
}

void TestConversations::leaveChatClosesTab() {
    frmMain &w = *rig->w;
    QVERIFY(rig->signOn(QStringLiteral("done:\n")));
    w.PicLogin->tab2->setCurrentWidget(w.PicLogin->chatIM);
    QTest::mouseClick(w.PicLogin->chatIM->cmdChat, Qt::LeftButton);
    QVERIFY(rig->server.waitForLine(kJoin100));
    ctlChat *view = joined(QStringLiteral("chat100"), 11);
    QVERIFY(view);
    QVERIFY(receive(QStringLiteral("CHAT_IN_ENC:11:bob:F:A:en:before")));
    w.Tab1->setCurrentIndex(1);
    QVERIFY(view->isVisible());
    rig->server.clearReceived();

    QTest::mouseClick(view->findChild<QPushButton *>(QStringLiteral("cmdLeave")), Qt::LeftButton);
    QCOMPARE(linesSent(), QStringList{"toc_chat_leave \"11\""});
    QCOMPARE(tabKeys(), QStringList{"Settings"});
    QVERIFY(view->isHidden());
    QCOMPARE(view->Chatids, QString());
    QCOMPARE(view->Chatid2, QString());
    QVERIFY(!w.PicChat->isVisible());
    QVERIFY(w.PicLogin->isVisible());
    // The left view is freed; its slot waits for the next room.
    QPointer<ctlChat> gone(view);
    QVERIFY(!w.chatViews[1]);
    QTRY_VERIFY(gone.isNull());

    // The room's later events reach no view; the room can be joined again.
    QVERIFY(receive(QStringLiteral("CHAT_IN_ENC:11:bob:F:A:en:after")));
    rig->server.clearReceived();
    QTest::mouseClick(w.PicLogin->chatIM->cmdChat, Qt::LeftButton);
    QCOMPARE(linesSent(), QStringList{kJoin100});
    QVERIFY(receive(QStringLiteral("CHAT_JOIN:12:chat100")));
    QCOMPARE(w.chatViews.size(), 2);
    QVERIFY(!transcriptOf(w.chatViews[1]).contains(QStringLiteral("after")));
    QCOMPARE(tabKeys(), (QStringList{"Settings", "chat100."}));
}

void TestConversations::logoutResetsViews() {
    frmMain &w = *rig->w;
    QVERIFY(rig->signOn(QStringLiteral("done:\n")));
    QVERIFY(receiveIM(QStringLiteral("Alice"), QStringLiteral("hi")));
    w.PicLogin->tab2->setCurrentWidget(w.PicLogin->chatIM);
    w.PicLogin->chatIM->txtIM->setText(QStringLiteral("Bob"));
    QTest::mouseClick(w.PicLogin->chatIM->cmdIM, Qt::LeftButton);
    QVERIFY(joined(QStringLiteral("chat100"), 11));
    w.Tab1->setCurrentIndex(1);
    QVERIFY(w.PicIM->isVisible());

    QTest::mouseClick(w.findChild<QLabel *>(QStringLiteral("Label6")), Qt::LeftButton);
    QCOMPARE(tabKeys(), QStringList{"Settings"});
    QVERIFY(w.PicLogin->isVisible());
    QVERIFY(!w.PicIM->isVisible());
    QVERIFY(!w.PicChat->isVisible());
    // Every conversation ended: the views are freed, the templates stay.
    QCOMPARE(w.imViews.size(), 3);
    QCOMPARE(w.chatViews.size(), 2);
    QVERIFY(!w.imViews[1] && !w.imViews[2] && !w.chatViews[1]);
    QVERIFY(w.imViews[0] && w.chatViews[0]);

    QVERIFY(waitUntil([&] { return !rig->server.hasClient(); }));
    QVERIFY(rig->signOn(QStringLiteral("done:\n")));
    QVERIFY(receiveIM(QStringLiteral("Alice"), QStringLiteral("again")));
    QCOMPARE(w.imViews.size(), 3);
    QCOMPARE(w.imViews[1]->IMUser, QStringLiteral("Alice"));
    QVERIFY(!transcriptOf(w.imViews[1]).contains(QStringLiteral("hi")));
    QVERIFY(receive(QStringLiteral("CHAT_IN_ENC:11:bob:F:A:en:stale room")));
    QVERIFY(!w.chatViews[1]);
    QCOMPARE(tabKeys(), (QStringList{"Settings", "Alice"}));
}

// The real server's invitation lines; the id is the invitee's own.
void TestConversations::chatInvitation_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("join");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("sent");
    QTest::newRow("join") << "CHAT_INVITE:Test Room:1:Carol:come to Test Room" << true
                          << "Carol invites you to the chat room Test Room.\n\ncome to Test Room"
                          << QStringList{"toc_chat_accept \"1\""};
    QTest::newRow("decline sends nothing")
        << "CHAT_INVITE:Test Room:0:Carol:come in" << false
        << "Carol invites you to the chat room Test Room.\n\ncome in" << QStringList{};
    QTest::newRow("room 0, message as text")
        << "CHAT_INVITE:a:b room:0:<b>Eve</b>:say &quot;hi&quot; <i>now</i>" << true
        << "<b>Eve</b> invites you to the chat room a:b room.\n\nsay \"hi\" now"
        << QStringList{"toc_chat_accept \"0\""};
    // A question shows at most 200 characters of a room, 1,000 of a message.
    QTest::newRow("long room and message cut")
        << QStringLiteral("CHAT_INVITE:%1:2:Carol:%2")
               .arg(QString(50000, u'r'), QStringLiteral("m&amp;").repeated(1000))
        << false
        << QStringLiteral("Carol invites you to the chat room %1\u2026.\n\n%2\u2026")
               .arg(QString(200, u'r'), QStringLiteral("m&").repeated(500))
        << QStringList{};
}

void TestConversations::chatInvitation() {
    QFETCH(QString, line);
    QFETCH(bool, join);
    QFETCH(QString, shown);
    QFETCH(QStringList, sent);
    QVERIFY(rig->signOn(QStringLiteral("done:\n")));
    rig->server.clearReceived();
    QVERIFY(receive(line));
    QVERIFY(receive(line)); // the same invitation again is asked once
    QCOMPARE(rig->dialogs.texts(QStringLiteral("question")), QStringList{shown});
    rig->dialogs.answerNext(join ? DialogProvider::Answer::Yes : DialogProvider::Answer::No);
    QCOMPARE(linesSent(), sent);
    // A room joined from the invitation comes forward; one the server joins
    // by itself only gets its tab.
    QVERIFY(receive(QStringLiteral("CHAT_JOIN:5:???")));
    QCOMPARE(rig->w->Tab1->count(), 2);
    QCOMPARE(rig->w->Tab1->currentIndex(), join ? 1 : 0);
}

void TestConversations::inviteBuddyToChat() {
    frmMain &w = *rig->w;
    QVERIFY(rig->signOn(QStringLiteral("g:Friends\nb:bob\ndone:\n")));
    QVERIFY(receive(QStringLiteral("UPDATE_BUDDY2:Bob:T:0:0:0: U :")));
    w.PicLogin->buddyList->TreeBL->setCurrentItem(
        w.PicLogin->buddyList->TreeBL->nodeByKey(QStringLiteral("Bob")));
    w.PicLogin->buddyList->menus->mnuInvite->trigger(); // no room yet
    QCOMPARE(w.alertWindow()->message(),
             QStringLiteral("Join a chat room first: the invitation is to a room you are in."));

    QVERIFY(joined(QStringLiteral("Test Room"), 0));
    rig->server.clearReceived();
    w.PicLogin->buddyList->menus->mnuInvite->trigger();
    QCOMPARE(rig->dialogs.calls.last().kind, QStringLiteral("input"));
    rig->dialogs.calls.last().textDone(QStringLiteral("come \"in\""));
    QCOMPARE(linesSent(), QStringList{"toc_chat_invite \"0\" \"come &quot;in&quot;\" \"bob\""});
}
