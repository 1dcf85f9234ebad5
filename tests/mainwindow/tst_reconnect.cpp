// The window while its session comes back by itself: no alert, the status
// line counting down, conversations, transcripts and drafts kept, rooms
// joined again under their new ids, however often the sign-on breaks.
#include "client/session.h"
#include "guitestkit.h"
#include "mainwindow/conversationviews.h"
#include "mainwindow/sessionlink.h"
#include "pages/buddytree.h"
#include "views/ctlchat.h"
#include "views/ctlim.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextEdit>

class TestReconnect : public QObject {
    Q_OBJECT

    static QPlainTextEdit *box(QWidget *view) {
        return view->findChild<QPlainTextEdit *>(QStringLiteral("txtMsg"));
    }
    static QString transcript(QWidget *view) {
        return view->findChild<QTextEdit *>(QStringLiteral("TEXT"))->toPlainText();
    }

  private slots:
    // Signed on with a conversation with Bob and the room Lobby (id 7), a
    // draft in each; then a server that drops the connection at every step
    // of the sign-on, 20 times in a row: one window, the same tabs and
    // views, the room joined once on the connection that got through.
    void twentyDropsLeaveOneConsistentWindow() {
        GuiRig rig;
        frmMain &w = *rig.w;
        ScriptedServer &server = rig.server;
        const QString config = QStringLiteral("g:Buddies\nb:bob\ndone:\n");
        QVERIFY(rig.signOn(config));
        for (const char *line :
             {"UPDATE_BUDDY2:Bob:T:0:0:0: U :", "IM_IN_ENC2:Bob:F:F:T: O:F:L:en:hello before",
              "CHAT_JOIN:7:Lobby", "CHAT_UPDATE_BUDDY:7:T:Carol:Dave",
              "CHAT_IN_ENC:7:Carol:F:A:en:room line before"})
            server.sendLine(QLatin1String(line));
        QVERIFY(waitUntil([&] { return w.chatViews.size() > 1 && w.imViews.size() > 1; }));
        ctlIM *const im = w.imViews[1];
        ctlChat *const room = w.chatViews[1];
        QTest::keyClicks(box(im), "im draft");
        box(room)->setPlainText(QStringLiteral("room draft"));
        // The secret store's answer first: the keychain library calls back
        // into its job even after the job's window is gone.
        auto *remember = rig.find<QCheckBox>("chkRemember");
        QVERIFY(waitUntil([&] { return remember->isEnabled() || !remember->toolTip().isEmpty(); }));

        // While waiting: no alert, the countdown, nobody online, a send not sent.
        const auto waiting = [&] {
            return waitUntil([&] { return w.session->state() == Session::State::Waiting; });
        };
        server.closeClient();
        QVERIFY(waiting());
        // The countdown may tick between reading it and the label's update.
        const auto status = [&] {
            return SessionLink::kReconnecting.arg(w.session->secondsToRetry());
        };
        QTRY_COMPARE(rig.find<QLabel>("labStat")->text(), status());
        QTRY_COMPARE(rig.find<QLabel>("labHI")->toolTip(), status());
        QCOMPARE(w.PicLogin->buddyList->TreeBL->topLevelItem(0)->childCount(), 0);
        QTest::keyClick(box(im), Qt::Key_Return);
        QVERIFY(transcript(im).endsWith("Not sent: you are offline.\n"));
        QCOMPARE(box(im)->toPlainText(), QStringLiteral("im draft"));

        const QString join = QStringLiteral("toc_chat_join \"4\" \"Lobby\"");
        const QList<std::function<bool()>> upTo = {
            [&] { return server.waitForBytes(8); },
            [&] {
                server.sendFrame(1, QByteArray::fromRawData("\0\0\0\1", 4));
                return server.waitForLineStartingWith(QStringLiteral("toc2_login "));
            },
            [&] { return server.acceptSignOn(config); },
            [&] { return server.acceptSignOn(config) && server.waitForLine(join); }};
        for (int drop = 0; drop <= 20; ++drop) {
            // A click on the header tries at once.
            const int before = server.connections();
            QTest::mouseClick(rig.find<QLabel>("labHI"), Qt::LeftButton);
            QVERIFY(waitUntil([&] { return server.connections() > before; }));
            if (drop == 20)
                break;
            QVERIFY2(upTo[drop % upTo.size()](), qPrintable(QString::number(drop)));
            drop % 2 ? server.resetClient() : server.closeClient();
            QVERIFY(waiting());
        }
        QVERIFY(server.acceptSignOn(config) && server.waitForLine(join));
        server.sendLine(QStringLiteral("CHAT_JOIN:3:Lobby"));
        server.sendLine(QStringLiteral("CHAT_UPDATE_BUDDY:3:T:Carol:Erin"));
        server.sendLine(QStringLiteral("CHAT_IN_ENC:3:Carol:F:A:en:room line after"));
        QVERIFY(waitUntil([&] { return transcript(room).contains("room line after"); }));
        // The room joined again says who came and went meanwhile, nothing
        // more; each conversation says when the connection went and came
        // back, once per outage (a sign-on that got through ends one).
        const QString members = transcript(room).section(QStringLiteral("room line before"), 1);
        QCOMPARE(members.count(QStringLiteral("has entered")), 1);
        QVERIFY(members.contains(QStringLiteral("erin has entered the room.")));
        QVERIFY(members.contains(QStringLiteral("dave has left the room.")));
        for (QWidget *view : {static_cast<QWidget *>(im), static_cast<QWidget *>(room)}) {
            const int lost = transcript(view).count(SessionLink::kLostLine);
            QVERIFY(lost >= 1 && lost <= 11);
            QCOMPARE(transcript(view).count(SessionLink::kBackLine), lost);
            QVERIFY(transcript(view).lastIndexOf(SessionLink::kBackLine) >
                    transcript(view).lastIndexOf(SessionLink::kLostLine));
        }
        QCOMPARE(server.lines().filter(QStringLiteral("toc_chat_join")).size(), 1);
        QCOMPARE(w.Tab1->count(), 3);
        QCOMPARE(w.Tab1->caption(1) + w.Tab1->caption(2), QStringLiteral("BobLobby."));
        QCOMPARE(w.conversations.openRooms() + w.conversations.openIMs(), 2);
        QCOMPARE(w.conversations.roomView(3), 1);
        QVERIFY(w.chatViews[1] == room && w.imViews[1] == im);
        QVERIFY(transcript(room).contains("room line before"));
        QVERIFY(transcript(im).contains("hello before"));
        QCOMPARE(box(im)->toPlainText() + box(room)->toPlainText(), "im draftroom draft");
        QVERIFY(rig.dialogs.calls.isEmpty() && !w.alertWindow());
        // A line typed in the room goes to the new id.
        QCOMPARE(w.Tab1->key(2), ConversationViews::keyOf(room));
        box(room)->setPlainText(QStringLiteral("back"));
        QTest::keyClick(box(room), Qt::Key_Return);
        QVERIFY(server.waitForLineStartingWith(QStringLiteral("toc_chat_send \"3\" ")));
        // "Logout" ends it all and shows the login frame.
        server.closeClient();
        QVERIFY(waiting());
        QTest::mouseClick(rig.find<QLabel>("Label6"), Qt::LeftButton);
        QCOMPARE(w.session->state(), Session::State::Offline);
        QVERIFY(!rig.find<QFrame>("frmLogin")->isHidden());
    }
};

QTEST_MAIN(TestReconnect)
#include "tst_reconnect.moc"
