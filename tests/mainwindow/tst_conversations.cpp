#include "tst_conversations.h"

#include "mainwindow/mdltray.h"
#include "mainwindow/sessionlink.h"
#include "pages/buddytree.h"
#include "pages/optionspage.h"
#include "pages/settingspanel.h"
#include "uikit/animatedpicture.h"
#include "uikit/clicklabel.h"

#include "client/outbox.h"
#include "client/sendpacer.h"
#include "protocol/qeltocsock.h"
#include "uikit/twips.h"
#include "views/ctlchat.h"
#include "views/ctlim.h"
#include <QApplication>
#include <QMenu>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMovie>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTabBar>
#include <QTextEdit>

namespace {
const QString kMarker = QStringLiteral("toc_get_info \"marker\"");

QLabel *statusOf(const ctlIM *view) {
    return view->findChild<QLabel *>(QStringLiteral("labIMstatus"));
}
} // namespace

QString transcriptOf(const QWidget *view) {
    return view->findChild<QTextEdit *>(QStringLiteral("TEXT"))->toPlainText();
}

void TestConversations::init() {
    rig = std::make_unique<GuiRig>();
}

void TestConversations::cleanup() {
    rig.reset();
}

bool TestConversations::receive(const QString &line) {
    // A frame is handled completely, every event it raises included, before
    // the event loop runs again.
    QSignalSpy spy(rig->w->toc, &QelTOCSock::IncomingPacket);
    rig->server.sendLine(line);
    return waitUntil([&] { return spy.count() > 0; });
}

bool TestConversations::receiveIM(const QString &sender, const QString &message) {
    return receive(QStringLiteral("IM_IN_ENC2:") + sender + QStringLiteral(":F:F:T: O:F:L:en:") +
                   message);
}

QStringList TestConversations::linesSent() {
    rig->w->toc->GetProfile(QStringLiteral("marker"));
    if (!rig->server.waitForLine(kMarker))
        return {QStringLiteral("no marker")};
    QStringList lines = rig->server.lines();
    lines.removeLast();
    return lines;
}

ctlChat *TestConversations::joined(const QString &room, qint32 id) {
    const qsizetype before = rig->w->chatViews.size();
    if (!receive(QStringLiteral("CHAT_JOIN:%1:%2").arg(id).arg(room)) ||
        rig->w->chatViews.size() != before + 1)
        return nullptr;
    return rig->w->chatViews.last();
}

QStringList TestConversations::tabKeys() const {
    QStringList keys;
    for (int i = 0; i < rig->w->Tab1->count(); ++i)
        keys << rig->w->tabCaption(i);
    return keys;
}

void TestConversations::chatImPage_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twipsRect");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("hint"); // greyed in an empty field, never sent
    QTest::newRow("txtChatName") << "txtChatName" << QRect(120, 360, 2175, 315) << "Chat100"
                                 << "";
    QTest::newRow("txtEx") << "txtEx" << QRect(2280, 360, 375, 315) << "4"
                           << "";
    QTest::newRow("cmdChat") << "cmdChat" << QRect(2760, 360, 855, 315) << "Join Chat"
                             << "";
    QTest::newRow("txtIM") << "txtIM" << QRect(120, 720, 2535, 315) << ""
                           << "Screen Name";
    QTest::newRow("cmdIM") << "cmdIM" << QRect(2760, 720, 855, 315) << "Send IM"
                           << "";
}

void TestConversations::chatImPage() {
    QFETCH(QString, name);
    QFETCH(QRect, twipsRect);
    QFETCH(QString, text);
    QFETCH(QString, hint);
    QWidget *widget = rig->w->findChild<QWidget *>(name);
    QVERIFY(widget);
    QCOMPARE(widget->parentWidget()->objectName(), QStringLiteral("pageChatIM"));
    QCOMPARE(widget->geometry(),
             twips::rect(twipsRect.x(), twipsRect.y(), twipsRect.width(), twipsRect.height()));
    if (auto *field = qobject_cast<QLineEdit *>(widget)) {
        QCOMPARE(field->text(), text);
        QCOMPARE(field->placeholderText(), hint);
    } else
        QCOMPARE(qobject_cast<QPushButton *>(widget)->text(), text);
}

void TestConversations::incomingIMs_data() {
    QTest::addColumn<QStringList>("senders");
    QTest::addColumn<QStringList>("tabs");
    QTest::addColumn<QList<int>>("viewOf"); // the view each message lands in; -1 none
    QTest::newRow("first IM opens a tab")
        << QStringList{"Alice"} << QStringList{"Settings", "Alice"} << QList<int>{1};
    QTest::newRow("same sender reuses the view")
        << QStringList{"Alice", "Alice"} << QStringList{"Settings", "Alice"} << QList<int>{1, 1};
    QTest::newRow("case differs: same person")
        << QStringList{"Alice", "alice"} << QStringList{"Settings", "Alice"} << QList<int>{1, 1};
    QTest::newRow("space differs: same person")
        << QStringList{"Al ice", "Alice"} << QStringList{"Settings", "Al ice"} << QList<int>{1, 1};
    QTest::newRow("two partners interleaved")
        << QStringList{"Alice", "Bob", "Alice", "Bob"} << QStringList{"Settings", "Alice", "Bob"}
        << QList<int>{1, 2, 1, 2};
    QTest::newRow("markup and ampersand in the name")
        << QStringList{"<b>x&y"} << QStringList{"Settings", "<b>x&y"} << QList<int>{1};
    QTest::newRow("nameless sender dropped")
        << QStringList{""} << QStringList{"Settings"} << QList<int>{-1};
}

void TestConversations::incomingIMs() {
    QFETCH(QStringList, senders);
    QFETCH(QStringList, tabs);
    QFETCH(QList<int>, viewOf);
    frmMain &w = *rig->w;
    QVERIFY(rig->signOn(QStringLiteral("done:\n")));
    rig->server.clearReceived();

    for (int i = 0; i < senders.size(); ++i)
        QVERIFY(receiveIM(senders[i], QStringLiteral("m%1!").arg(i)));

    QCOMPARE(tabKeys(), tabs);
    for (int t = 0; t < tabs.size(); ++t) {
        QString shown = tabs[t];
        QCOMPARE(w.Tab1->tabText(t), shown.replace(QLatin1Char('&'), QLatin1String("&&")));
    }
    // New tabs are appended, not selected: the settings stay on screen.
    QCOMPARE(w.Tab1->currentIndex(), 0);
    QVERIFY(w.PicLogin->isVisible());
    QVERIFY(!w.PicIM->isVisible());

    const int views = *std::max_element(viewOf.begin(), viewOf.end()) + 1;
    QCOMPARE(w.imViews.size(), qMax(views, 1));
    QVERIFY(w.imViews.first()->IMUser.isEmpty());
    QVERIFY(w.imViews.first()->isHidden());
    for (int i = 0; i < senders.size(); ++i) {
        const QString message = QStringLiteral("m%1!").arg(i);
        for (int v = 0; v < w.imViews.size(); ++v)
            QVERIFY2(transcriptOf(w.imViews[v]).contains(message) == (v == viewOf[i]),
                     qPrintable(message + QStringLiteral(" in view ") + QString::number(v)));
        if (viewOf[i] > 0) {
            ctlIM *view = w.imViews[viewOf[i]];
            // The caption stays the name as first seen.
            QCOMPARE(view->IMUser, senders[viewOf.indexOf(viewOf[i])]);
            QCOMPARE(view->index(), viewOf[i]);
            // Out of sight until its own tab is selected.
            QVERIFY(!view->isVisibleTo(w.PicIM));
            // The sender's name is shown as text, markup and all.
            QVERIFY(transcriptOf(view).contains(senders[i]));
        }
    }
    // The window answers nothing by itself.
    QCOMPARE(linesSent(), QStringList());
}

void TestConversations::outOfSightMessagesNotify() {
    frmMain &w = *rig->w;
    QVERIFY(rig->signOn(QStringLiteral("done:\n")));
    QVERIFY(receiveIM(QStringLiteral("Alice"), QStringLiteral("<b>one</b> &lt;3")));
    // The tab is marked, the notification is plain text.
    QCOMPARE(w.Tab1->tabTextColor(1), QColor(200, 0, 0));
    QCOMPARE(w.tray()->lastNotification(), QStringLiteral("Alice: one <3"));
    // Ten quiet seconds per conversation.
    QVERIFY(receiveIM(QStringLiteral("Alice"), QStringLiteral("two")));
    QCOMPARE(w.tray()->lastNotification(), QStringLiteral("Alice: one <3"));
    // Seen once selected.
    w.Tab1->setCurrentIndex(1);
    QVERIFY(w.Tab1->tabTextColor(1) != QColor(200, 0, 0));
    // A room notifies only when it names the user; the switch turns it all off.
    QVERIFY(receive(QStringLiteral("CHAT_JOIN:4:room")));
    QVERIFY(receive(QStringLiteral("CHAT_IN_ENC:4:bob:F:A:en:just talk")));
    QCOMPARE(w.tray()->lastNotification(), QStringLiteral("Alice: one <3"));
    // ... but any line of another marks its tab out of sight.
    QCOMPARE(w.Tab1->tabTextColor(2), QColor(200, 0, 0));
    QVERIFY(receive(QStringLiteral("CHAT_IN_ENC:4:bob:F:A:en:hey My Name")));
    QCOMPARE(w.tray()->lastNotification(), QStringLiteral("bob: hey My Name"));
    w.opt->findChild<QAction *>(QStringLiteral("mnuNotify"))->setChecked(false);
    QVERIFY(receiveIM(QStringLiteral("Carol"), QStringLiteral("three")));
    QCOMPARE(w.tray()->lastNotification(), QStringLiteral("bob: hey My Name"));
}

void TestConversations::newViewStaysHiddenUnderSelectedConversation() {
    frmMain &w = *rig->w;
    QVERIFY(rig->signOn(QStringLiteral("done:\n")));
    QVERIFY(receiveIM(QStringLiteral("Alice"), QStringLiteral("one")));
    w.Tab1->setCurrentIndex(1);
    ctlIM *alice = w.imViews[1];
    QVERIFY(alice->isVisible());
    QVERIFY(w.PicIM->isVisible());
    QVERIFY(!w.PicLogin->isVisible());

    QVERIFY(receiveIM(QStringLiteral("Carol"), QStringLiteral("two")));
    ctlIM *carol = w.imViews[2];
    QCOMPARE(w.Tab1->currentIndex(), 1);
    // Only the selected conversation shows: a reply typed now goes to Alice.
    QVERIFY(!carol->isVisible());
    QVERIFY(alice->isVisible());
    w.Tab1->setCurrentIndex(2);
    QVERIFY(carol->isVisible());
    QVERIFY(!alice->isVisible());

    // The next selection shows only the selected conversation.
    w.Tab1->setCurrentIndex(0);
    w.Tab1->setCurrentIndex(1);
    QVERIFY(alice->isVisible());
    QVERIFY(!carol->isVisible());
    // A second IM to a known view hides the template, nothing else.
    QVERIFY(receiveIM(QStringLiteral("Carol"), QStringLiteral("three")));
    QVERIFY(!carol->isVisible());
    QVERIFY(w.imViews.first()->isHidden());
}

void TestConversations::closedTabThenNewIMGetsNewView() {
    frmMain &w = *rig->w;
    QVERIFY(rig->signOn(QStringLiteral("done:\n")));
    QVERIFY(receiveIM(QStringLiteral("Some Body"), QStringLiteral("first")));
    ctlIM *old = w.imViews[1];
    w.Tab1->setCurrentIndex(1);

    // The view answers the partner it was opened for.
    auto *txtuser = old->findChild<QLineEdit *>(QStringLiteral("txtuser"));
    QVERIFY(waitUntil([&] { return txtuser->text() == QStringLiteral("Some Body"); }));
    rig->server.clearReceived();
    old->findChild<QPlainTextEdit *>(QStringLiteral("txtMsg"))->setPlainText(QStringLiteral("yo"));
    QTest::mouseClick(old->findChild<QPushButton *>(QStringLiteral("Command3")), Qt::LeftButton);
    // (Typing notifications go with it.)
    const QStringList sent = linesSent().filter(QStringLiteral("toc_send_im"));
    QCOMPARE(sent.size(), 1);
    QVERIFY(sent[0].startsWith(QStringLiteral("toc_send_im \"somebody\" \"")));
    QVERIFY(sent[0].endsWith(QStringLiteral("yo\"")));

    rig->server.clearReceived();
    QTest::mouseClick(old->findChild<QPushButton *>(QStringLiteral("Command4")), Qt::LeftButton);
    QCOMPARE(tabKeys(), QStringList{"Settings"});
    QVERIFY(old->isHidden());
    QVERIFY(old->IMUser.isEmpty());
    QVERIFY(!w.PicIM->isVisible());
    QVERIFY(w.PicLogin->isVisible());
    // The closed view is freed and its slot left for the next conversation.
    QPointer<ctlIM> gone(old);
    QVERIFY(!w.imViews[1]);
    QTRY_VERIFY(gone.isNull());

    QVERIFY(receiveIM(QStringLiteral("Some Body"), QStringLiteral("second")));
    QCOMPARE(w.imViews.size(), 2);
    ctlIM *fresh = w.imViews[1];
    QCOMPARE(fresh->IMUser, QStringLiteral("Some Body"));
    QCOMPARE(fresh->index(), 1);
    QVERIFY(transcriptOf(fresh).contains(QStringLiteral("second")));
    QVERIFY(!transcriptOf(fresh).contains(QStringLiteral("first")));
    // Many conversations opened and closed one after another reuse one slot.
    for (int i = 0; i < 30; ++i) {
        w.PicLogin->chatIM->txtIM->setText(QStringLiteral("pal%1").arg(i));
        QTest::mouseClick(w.PicLogin->chatIM->cmdIM, Qt::LeftButton);
        w.imViews.last()->findChild<QPushButton *>(QStringLiteral("Command4"))->click();
    }
    QCOMPARE(w.imViews.size(), 3);
    QCOMPARE(tabKeys(), (QStringList{"Settings", "Some Body"}));
    QCOMPARE(linesSent(), QStringList()); // closing sends nothing
}

void TestConversations::sendIMTwiceSelectsTheOneConversation() {
    frmMain &w = *rig->w;
    QVERIFY(rig->signOn(QStringLiteral("done:\n")));
    w.PicLogin->tab2->setCurrentWidget(w.PicLogin->chatIM);
    rig->server.clearReceived();
    w.PicLogin->chatIM->txtIM->setText(QStringLiteral("Bob"));
    // "Send IM" from the keyboard, then typing at once: the words go to the
    // new conversation's input box, not to the button (a space would press
    // it again).
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.PicLogin->chatIM->cmdIM->setFocus();
    QTest::keyClick(w.PicLogin->chatIM->cmdIM, Qt::Key_Space);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("hello there"));
    QCOMPARE(w.Tab1->currentIndex(), 1);
    QCOMPARE(w.imViews[1]->findChild<QPlainTextEdit *>(QStringLiteral("txtMsg"))->toPlainText(),
             QStringLiteral("hello there"));
    w.Tab1->setCurrentIndex(0);
    // The same person again, written otherwise: no second view, its tab selected.
    w.PicLogin->chatIM->txtIM->setText(QStringLiteral("b o B"));
    QTest::mouseClick(w.PicLogin->chatIM->cmdIM, Qt::LeftButton);
    QCOMPARE(tabKeys(), (QStringList{"Settings", "Bob"}));
    // Opening a conversation sends no IM (the typing above only says so).
    QCOMPARE(linesSent().filter(QStringLiteral("toc_send_im")), QStringList());
    QCOMPARE(w.Tab1->currentIndex(), 1);
    QCOMPARE(w.imViews.size(), 2);
    QVERIFY(w.imViews[1]->isVisible());

    // A reply lands in the one view; closing it leaves nothing orphaned.
    QVERIFY(receiveIM(QStringLiteral("bob"), QStringLiteral("hello")));
    QVERIFY(transcriptOf(w.imViews[1]).contains(QStringLiteral("hello")));
    QTest::mouseClick(w.imViews[1]->findChild<QPushButton *>(QStringLiteral("Command4")),
                      Qt::LeftButton);
    QCOMPARE(tabKeys(), QStringList{"Settings"});
    QVERIFY(w.PicLogin->isVisible());
    QVERIFY(receiveIM(QStringLiteral("Bob"), QStringLiteral("again")));
    QCOMPARE(tabKeys(), (QStringList{"Settings", "Bob"}));
}

void TestConversations::sendIMWithoutName() {
    frmMain &w = *rig->w;
    QVERIFY(rig->signOn(QStringLiteral("done:\n")));
    w.PicLogin->tab2->setCurrentWidget(w.PicLogin->chatIM);
    w.PicLogin->chatIM->txtIM->clear();
    QTest::mouseClick(w.PicLogin->chatIM->cmdIM, Qt::LeftButton);
    QVERIFY(w.alertWindow());
    QCOMPARE(w.alertWindow()->message(),
             QStringLiteral("Please type the screen name to send an IM to."));
    QCOMPARE(tabKeys(), QStringList{"Settings"});
    QCOMPARE(w.imViews.size(), 1);
}

void TestConversations::imUserFromBuddyTree() {
    frmMain &w = *rig->w;
    QVERIFY(rig->signOn(QStringLiteral("g:Friends\nb:Jane Doe\ndone:\n")));
    QVERIFY(receive(QStringLiteral("UPDATE_BUDDY2:Jane Doe:T:0:0:0: O:")));
    QTreeWidgetItem *node = w.PicLogin->buddyList->TreeBL->nodeByKey(QStringLiteral("Jane Doe"));
    QVERIFY(node);

    w.PicLogin->buddyList->menus->mnuIM->trigger();
    QCOMPARE(w.alertWindow()->message(), QStringLiteral("Please select an item on our buddylist"));
    QCOMPARE(w.imViews.size(), 1);
    w.alertWindow()->close();

    node->setSelected(true);
    w.PicLogin->buddyList->menus->mnuIM->trigger();
    QCOMPARE(w.PicLogin->chatIM->txtIM->text(), node->text(0));
    QCOMPARE(tabKeys(), (QStringList{"Settings", node->text(0)}));
    QCOMPARE(w.imViews.size(), 2);
    QCOMPARE(w.imViews[1]->IMUser, node->text(0));
}

void TestConversations::typingStatus_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("first"); // the status line of the conversation
    const QString entered = QStringLiteral("Alice has entered text");
    const QString typing = QStringLiteral("Alice is typing...");
    QTest::newRow("2 is typing") << "Alice" << 2 << typing;
    QTest::newRow("1: typed, then paused") << "Alice" << 1 << entered;
    QTest::newRow("0 empties") << "Alice" << 0 << "";
    QTest::newRow("other case is the same person") << "alice" << 1 << entered;
    QTest::newRow("no view for the name") << "Zed" << 2 << "";
}

// "appears offline" only when it is known: a buddy not reported online at
// once; someone else once the server answers the status question so.
void TestConversations::offlineNoteWhenKnown_data() {
    QTest::addColumn<QString>("partner");
    QTest::addColumn<QString>("answer"); // the server's answer to "toc_get_status"
    QTest::addColumn<bool>("note");
    QTest::newRow("not a buddy, online") << "carol"
                                         << "UPDATE_BUDDY2:Carol:T:0:0:0: O:" << false;
    QTest::newRow("not a buddy, not available") << "carol"
                                                << "ERROR:901:carol" << true;
    QTest::newRow("buddy not online") << "dave"
                                      << "" << true;
}

void TestConversations::offlineNoteWhenKnown() {
    QFETCH(QString, partner);
    QFETCH(QString, answer);
    QFETCH(bool, note);
    frmMain &w = *rig->w;
    QVERIFY(rig->signOn(QStringLiteral("g:Buddies\nb:Dave\ndone:\n")));
    w.PicLogin->chatIM->txtIM->setText(partner);
    QTest::mouseClick(w.PicLogin->chatIM->cmdIM, Qt::LeftButton);
    rig->server.clearReceived();
    auto *box = w.imViews[1]->findChild<QPlainTextEdit *>(QStringLiteral("txtMsg"));
    QTest::keyClicks(box, QStringLiteral("hi"));
    QTest::keyClick(box, Qt::Key_Return);
    const QString asked = QStringLiteral("toc_get_status \"%1\"").arg(partner);
    QCOMPARE(linesSent().contains(asked), !answer.isEmpty());
    const QString said = partner + QStringLiteral(" appears offline");
    QVERIFY(!transcriptOf(w.imViews[1]).contains(said) || answer.isEmpty());
    if (!answer.isEmpty())
        QVERIFY(receive(answer));
    QCOMPARE(transcriptOf(w.imViews[1]).contains(said), note);
    // The answer is no news for the user: no alert.
    QVERIFY(!w.alertWindow() || !w.alertWindow()->isVisible());
}

// A line still waiting for the server's pace when the connection is lost
// says it was not sent, and its text is back in the box.
void TestConversations::waitingLineNotSentWhenConnectionLost() {
    QVERIFY(rig->signOn(QStringLiteral("done:\n")));
    QVERIFY(receiveIM(QStringLiteral("Alice"), QStringLiteral("hi")));
    rig->w->outbox()->pacer->setClock([] { return qint64(0); });
    auto *box = rig->w->imViews[1]->findChild<QPlainTextEdit *>(QStringLiteral("txtMsg"));
    for (const char *typed : {"one", "two"}) {
        QTest::keyClicks(box, QLatin1String(typed));
        QTest::keyClick(box, Qt::Key_Return);
    }
    rig->server.closeClient();
    QVERIFY(waitUntil([&] {
        return transcriptOf(rig->w->imViews[1])
            .endsWith(": two\nNot sent: you are offline.\n" + SessionLink::kLostLine + '\n');
    }));
    QCOMPARE(box->toPlainText(), QStringLiteral("two"));
}

// An IM refused for the speed limit says so in its conversation only; an
// alert that comes while the user types shows without taking the keyboard.
void TestConversations::alertsWhileTyping() {
    QVERIFY(rig->signOn(QStringLiteral("done:\n")));
    QVERIFY(receiveIM(QStringLiteral("Alice"), QStringLiteral("hi")));
    rig->w->Tab1->setCurrentIndex(1);
    rig->w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(rig->w.get()));
    auto *box = rig->w->imViews[1]->findChild<QPlainTextEdit *>(QStringLiteral("txtMsg"));
    QTRY_COMPARE(QApplication::focusWidget(), box);
    QTest::keyClicks(box, QStringLiteral("one"));
    QTest::keyClick(box, Qt::Key_Return);
    QVERIFY(rig->server.waitForLineStartingWith(QStringLiteral("toc_send_im")));
    QVERIFY(receive(QStringLiteral("ERROR:903")));
    QVERIFY(transcriptOf(rig->w->imViews[1]).contains(QStringLiteral("speed limit")));
    QVERIFY(!rig->w->alertWindow());
    QTest::keyClicks(box, QStringLiteral(" two"));
    QVERIFY(receive(QStringLiteral("ERROR:901:bob")));
    QVERIFY(rig->w->alertWindow()->isVisible());
    QTest::keyClicks(box, QStringLiteral(" three"));
    QCOMPARE(box->toPlainText(), QStringLiteral("one two three"));
    // Enter sends it (it waits for the pace the refusal slowed), the alert stays.
    QTest::keyClick(box, Qt::Key_Return);
    QVERIFY(rig->w->alertWindow()->isVisible());
    QVERIFY(transcriptOf(rig->w->imViews[1]).contains(QStringLiteral("one two three\nsending...")));
}

void TestConversations::typingStatus() {
    QFETCH(QString, from);
    QFETCH(int, status);
    QFETCH(QString, first);
    frmMain &w = *rig->w;
    QVERIFY(rig->signOn(QStringLiteral("done:\n")));
    w.PicLogin->chatIM->txtIM->setText(QStringLiteral("Alice"));
    w.PicLogin->tab2->setCurrentWidget(w.PicLogin->chatIM);
    QTest::mouseClick(w.PicLogin->chatIM->cmdIM, Qt::LeftButton);
    QVERIFY(receive(QStringLiteral("CLIENT_EVENT2:Alice:2")));
    QCOMPARE(statusOf(w.imViews[1])->text(), QStringLiteral("Alice is typing..."));
    // What was typed has arrived: the line goes.
    QVERIFY(receiveIM(QStringLiteral("Alice"), QStringLiteral("hi")));
    QCOMPARE(statusOf(w.imViews[1])->text(), QString());

    QVERIFY(receive(QStringLiteral("CLIENT_EVENT2:%1:%2").arg(from).arg(status)));
    QCOMPARE(statusOf(w.imViews[1])->text(), first);
    QCOMPARE(w.imViews.size(), 2);
    QCOMPARE(tabKeys(), (QStringList{"Settings", "Alice"}));
}

// "Show timestamps" stamps the lines that come after it, views that exist
// already included, and is remembered.
void TestConversations::timestampsFromTheTrayMenu() {
    QVERIFY(rig->signOn(QStringLiteral("done:\n")));
    QVERIFY(receiveIM(QStringLiteral("Alice"), QStringLiteral("before")));
    auto *option = rig->w->opt->findChild<QAction *>(QStringLiteral("mnuTimestamps"));
    QVERIFY(option && !option->isChecked());
    option->trigger();
    QVERIFY(receiveIM(QStringLiteral("Alice"), QStringLiteral("after")));
    QVERIFY(receiveIM(QStringLiteral("Bob"), QStringLiteral("new")));
    const QRegularExpression stamped(
        QStringLiteral("^Alice: before\n\\[\\d\\d:\\d\\d\\] Alice: after\n$"));
    QVERIFY(stamped.match(transcriptOf(rig->w->imViews[1])).hasMatch());
    QVERIFY(transcriptOf(rig->w->imViews[2]).contains(QStringLiteral("] Bob: new")));
    QVERIFY(ClientSettings().showTimestamps());
}

// Smileys show as emoji until the options page says otherwise, which is
// remembered; the switch reaches views that exist already.
void TestConversations::smileysSwitch() {
    QVERIFY(rig->signOn(QStringLiteral("done:\n")));
    QVERIFY(receiveIM(QStringLiteral("Alice"), QStringLiteral("hi :-)")));
    QCheckBox *box = rig->w->PicLogin->options->chkSmileys;
    QVERIFY(box->isChecked());
    box->click();
    QVERIFY(receiveIM(QStringLiteral("Alice"), QStringLiteral("hi :-)")));
    QCOMPARE(transcriptOf(rig->w->imViews[1]),
             QStringLiteral("Alice: hi \U0001F642\nAlice: hi :-)\n"));
    QVERIFY(!ClientSettings().showSmileys());
}

void TestConversations::creditsTab() {
    frmMain &w = *rig->w;
    // A click on the logo shows the credits; another one (back on
    // Settings) brings the one tab forward again.
    for (int click = 0; click < 2; ++click) {
        QTest::mouseClick(w.PicLogin->Image1, Qt::LeftButton);
        QCOMPARE(tabKeys(), (QStringList{"Settings", "Credits"}));
        QCOMPARE(w.Tab1->currentIndex(), 1);
        QVERIFY(w.PicCredits->isVisible());
        w.Tab1->setCurrentIndex(0);
    }
    QVERIFY(!w.PicCredits->isVisible());
    auto *picture = w.PicCredits->findChild<AnimatedPicture *>(QStringLiteral("imgCredits"));
    QVERIFY(picture);
    // The hidden panel's picture does not animate.
    QVERIFY(!picture->isRunning());

    w.Tab1->setCurrentIndex(1);
    QVERIFY(w.PicCredits->isVisible());
    QVERIFY(!w.PicLogin->isVisible());
    QStringList texts;
    for (const QLabel *l : w.PicCredits->findChildren<QLabel *>())
        if (l->isVisible())
            texts << l->text();
    for (const char *t : {"About vorkle", "Version:", "2.0.2", "Programmers:", "Also thanks to"})
        QVERIFY2(texts.contains(QLatin1String(t)), t);
    QVERIFY(picture->isRunning());
    QCOMPARE(w.PicCredits->Label16->text(), QStringLiteral("Close Tab"));
    QCOMPARE(w.PicCredits->Label16->parentWidget(), w.PicCredits);
    QCOMPARE(w.PicCredits->Label16->pos(), twips::rect(4560, 120, 1, 1).topLeft());
    QCOMPARE(w.PicCredits->Label16->palette().color(QPalette::WindowText), QColor(0, 0, 255));

    QTest::mouseClick(w.PicCredits->Label16, Qt::LeftButton);
    QCOMPARE(tabKeys(), QStringList{"Settings"});
    QVERIFY(!w.PicCredits->isVisible());
    QVERIFY(!picture->isRunning());
    QVERIFY(w.PicLogin->isVisible());
    // It can be opened again.
    QTest::mouseClick(w.PicLogin->Image1, Qt::LeftButton);
    QCOMPARE(tabKeys(), (QStringList{"Settings", "Credits"}));
}

QTEST_MAIN(TestConversations)
