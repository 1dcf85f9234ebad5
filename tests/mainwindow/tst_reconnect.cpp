// The window while its session comes back by itself: no alert, the status
// line counting down, conversations, transcripts and drafts kept, rooms
// joined again under their new ids; typing told from the IM box; Enter in
// the login frame.
#include "client/conversations.h"
#include "client/session.h"
#include "guitestkit.h"
#include "mainwindow/sessionlink.h"
#include "pages/buddytree.h"
#include "protocol/qeltocsock.h"
#include "views/ctlchat.h"
#include "views/ctlim.h"

#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextEdit>

using State = Session::State;

class TestReconnect : public QObject {
    Q_OBJECT

  private slots:
    void init() { rig = std::make_unique<GuiRig>(); }
    void cleanup() { rig.reset(); }
    void twentyDropsLeaveOneConsistentWindow();
    void offlineWhileRetrying();
    void typingFromTheIMBox();
    void profileKeptPerAccount();
    void enterInAnyLoginField_data();
    void enterInAnyLoginField();

  private:
    QStringList tabs() const {
        QStringList out;
        for (int i = 0; i < rig->w->Tab1->count(); ++i)
            out << rig->w->Tab1->caption(i);
        return out;
    }
    ctlIM *im() const { return rig->w->imViews.value(1); }
    ctlChat *room() const { return rig->w->chatViews.value(1); }
    static QString textOf(const QWidget *view, const char *name) {
        if (auto *box = view->findChild<QPlainTextEdit *>(QLatin1String(name)))
            return box->toPlainText();
        return view->findChild<QTextEdit *>(QLatin1String(name))->toPlainText();
    }
    // Signs on, with a conversation with Bob and the room Lobby (id 7), a
    // draft in each.
    void signOnWithConversations();
    bool waitForState(State state) {
        return waitUntil([&] { return rig->w->session->state() == state; });
    }
    std::unique_ptr<GuiRig> rig;
};

void TestReconnect::signOnWithConversations() {
    QVERIFY(rig->signOn(QStringLiteral("g:Buddies\nb:bob\ndone:\n")));
    rig->server.sendLine(QStringLiteral("UPDATE_BUDDY2:Bob:T:0:0:0: U :"));
    rig->server.sendLine(QStringLiteral("IM_IN_ENC2:Bob:F:F:T: O:F:L:en:hello before"));
    rig->server.sendLine(QStringLiteral("CHAT_JOIN:7:Lobby"));
    rig->server.sendLine(QStringLiteral("CHAT_IN_ENC:7:Carol:F:A:en:room line before"));
    QVERIFY(waitUntil([&] { return room() && textOf(room(), "TEXT").contains("room line"); }));
    QTest::keyClicks(im()->findChild<QPlainTextEdit *>(QStringLiteral("txtMsg")), "im draft");
    auto *roomBox = room()->findChild<QPlainTextEdit *>(QStringLiteral("txtMsg"));
    roomBox->clear(); // the word "Message" the box starts with
    QTest::keyClicks(roomBox, "room draft");
    QCOMPARE(tabs(), (QStringList{"Settings", "Bob", "Lobby."}));
}

// A server that drops the connection at every step of the sign-on, 20
// times in a row, leaves one window: the same tabs and views, the room
// joined once on the connection that got through, under its new id.
void TestReconnect::twentyDropsLeaveOneConsistentWindow() {
    signOnWithConversations();
    frmMain &w = *rig->w;
    ScriptedServer &server = rig->server;
    ctlIM *const imView = im();
    ctlChat *const roomView = room();
    // The steps of a sign-on after which the server drops the connection.
    const QList<std::function<bool()>> upTo = {
        [&] { return server.waitForBytes(8); },
        [&] {
            server.sendFrame(1, QByteArray::fromRawData("\0\0\0\1", 4));
            return server.waitForLineStartingWith(QStringLiteral("toc2_login "));
        },
        [&] {
            server.sendLine(QStringLiteral("SIGN_ON:TOC2.0"));
            return waitUntil([] { return true; }, 20);
        },
        [&] { return server.acceptSignOn(QStringLiteral("g:Buddies\nb:bob\ndone:\n")); },
        [&] {
            return server.acceptSignOn(QStringLiteral("g:Buddies\nb:bob\ndone:\n")) &&
                   server.waitForLine(QStringLiteral("toc_chat_join \"4\" \"Lobby\""));
        },
    };
    server.closeClient();
    for (int drop = 0; drop < 20; ++drop) {
        QVERIFY(waitForState(State::Waiting));
        const int before = server.connections();
        w.session->retryNow();
        QVERIFY(waitUntil([&] { return server.connections() > before; }));
        QVERIFY2(upTo[drop % upTo.size()](), qPrintable(QString::number(drop)));
        if (drop % 2)
            server.resetClient();
        else
            server.closeClient();
    }
    QVERIFY(waitForState(State::Waiting));
    const int before = server.connections();
    w.session->retryNow();
    QVERIFY(waitUntil([&] { return server.connections() > before; }));
    QVERIFY(server.acceptSignOn(QStringLiteral("g:Buddies\nb:bob\ndone:\n")));
    QVERIFY(server.waitForLine(QStringLiteral("toc_chat_join \"4\" \"Lobby\"")));
    server.sendLine(QStringLiteral("CHAT_JOIN:3:Lobby"));
    server.sendLine(QStringLiteral("CHAT_UPDATE_BUDDY:3:T:Carol:My Name"));
    server.sendLine(QStringLiteral("CHAT_IN_ENC:3:Carol:F:A:en:room line after"));
    QVERIFY(waitUntil([&] { return textOf(roomView, "TEXT").contains("room line after"); }));

    QCOMPARE(w.session->state(), State::SignedOn);
    QCOMPARE(server.lines().filter(QStringLiteral("toc_chat_join")).size(), 1);
    QCOMPARE(tabs(), (QStringList{"Settings", "Bob", "Lobby."}));
    QCOMPARE(w.conversations.openRooms(), 1);
    QCOMPARE(w.conversations.openIMs(), 1);
    QCOMPARE(w.conversations.roomView(3), 1);
    QCOMPARE(room(), roomView);
    QCOMPARE(im(), imView);
    QCOMPARE(roomView->Chatid2, QStringLiteral("3"));
    QVERIFY(textOf(roomView, "TEXT").contains("room line before"));
    QVERIFY(textOf(imView, "TEXT").contains("hello before"));
    QCOMPARE(textOf(imView, "txtMsg"), QStringLiteral("im draft"));
    QCOMPARE(textOf(roomView, "txtMsg"), QStringLiteral("room draft"));
    QVERIFY(!w.alertWindow() || !w.alertWindow()->isVisible());
    QVERIFY(rig->dialogs.calls.isEmpty());
    // A line typed in the room goes to the new id.
    auto *box = roomView->findChild<QPlainTextEdit *>(QStringLiteral("txtMsg"));
    box->clear();
    QTest::keyClicks(box, "back");
    QTest::keyClick(box, Qt::Key_Return);
    QVERIFY(server.waitForLineStartingWith(QStringLiteral("toc_chat_send \"3\" ")));
}

void TestReconnect::offlineWhileRetrying() {
    signOnWithConversations();
    frmMain &w = *rig->w;
    rig->server.resetClient();
    QVERIFY(waitForState(State::Waiting));
    // No alert; the status line counts down; nobody shown online.
    QVERIFY(!w.alertWindow() || !w.alertWindow()->isVisible());
    const QString status = SessionLink::kReconnecting.arg(w.session->secondsToRetry());
    QCOMPARE(rig->find<QLabel>("labStat")->text(), status);
    QCOMPARE(rig->find<QLabel>("labHI")->toolTip(), status);
    QCOMPARE(w.PicLogin->buddyList->TreeBL->topLevelItem(0)->childCount(), 0);
    // A send says so and keeps the text.
    QTest::keyClick(im()->findChild<QPlainTextEdit *>(QStringLiteral("txtMsg")), Qt::Key_Return);
    QVERIFY(textOf(im(), "TEXT").contains("Not sent: you are offline."));
    QCOMPARE(textOf(im(), "txtMsg"), QStringLiteral("im draft"));
    // "Reconnect now" in the tray, and a click on the status line, try at once.
    QAction *reconnect = nullptr;
    for (QAction *a : w.opt->actions())
        if (a->text() == QLatin1String("Reconnect now"))
            reconnect = a;
    QVERIFY(reconnect);
    reconnect->trigger();
    QCOMPARE(w.session->state(), State::SigningOn);
    QVERIFY(rig->server.waitForClient());
    rig->server.resetClient();
    QVERIFY(waitForState(State::Waiting));
    QTest::mouseClick(rig->find<QLabel>("labHI"), Qt::LeftButton);
    QCOMPARE(w.session->state(), State::SigningOn);
    QVERIFY(rig->server.waitForClient());
    rig->server.resetClient();
    // "Logout" stops it and shows the login frame.
    QVERIFY(waitForState(State::Waiting));
    QTest::mouseClick(rig->find<QLabel>("Label6"), Qt::LeftButton);
    QCOMPARE(w.session->state(), State::Offline);
    QVERIFY(!rig->find<QFrame>("frmLogin")->isHidden());
    QCOMPARE(tabs(), QStringList{"Settings"});
}

void TestReconnect::typingFromTheIMBox() {
    signOnWithConversations();
    // The draft told "typing": emptying the box tells it ended.
    auto *box = im()->findChild<QPlainTextEdit *>(QStringLiteral("txtMsg"));
    box->clear();
    QVERIFY(rig->server.waitForLine(QStringLiteral("toc2_client_event \"bob\" 0")));
    rig->server.clearReceived();
    QTest::keyClicks(box, "hi");
    QTest::keyClick(box, Qt::Key_Return);
    QVERIFY(rig->server.waitForLine(QStringLiteral("toc2_client_event \"bob\" 0")));
    const QStringList lines = rig->server.lines();
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines.at(0), QStringLiteral("toc2_client_event \"bob\" 2"));
    QVERIFY(lines.at(1).startsWith(QStringLiteral("toc_send_im \"bob\" ")));
    QCOMPARE(lines.at(2), QStringLiteral("toc2_client_event \"bob\" 0"));
    // Never from a room.
    QTest::keyClicks(room()->findChild<QPlainTextEdit *>(QStringLiteral("txtMsg")), "x");
    rig->w->toc->GetStatus(QStringLiteral("marker"));
    QVERIFY(rig->server.waitForLine(QStringLiteral("toc_get_status \"marker\"")));
    QCOMPARE(rig->server.lines().filter(QStringLiteral("toc2_client_event")).size(), 2);
}

// The profile set is the one shown and sent at the account's next sign-on,
// in a later run too; another account keeps the default.
void TestReconnect::profileKeptPerAccount() {
    QVERIFY(rig->signOn(QStringLiteral("done:\n")));
    rig->w->PicLogin->profile->txtProfile->setPlainText(QStringLiteral("mine"));
    QTest::mouseClick(rig->w->PicLogin->profile->Command9, Qt::LeftButton);
    QVERIFY(rig->server.waitForLine(QStringLiteral("toc_set_info \"mine\"")));
    rig.reset();
    rig = std::make_unique<GuiRig>(GuiRig::Build::Whole, true, GuiRig::Profile::Kept);
    QCOMPARE(rig->w->PicLogin->profile->txtProfile->toPlainText(), ProfilePage::kDefaultProfile);
    rig->pressLogin(QStringLiteral("Someone Else"));
    QVERIFY(rig->server.acceptSignOn());
    QVERIFY(rig->server.lines().filter(QStringLiteral("toc_set_info")).first().contains("Vorkle"));
    QTest::mouseClick(rig->find<QLabel>("Label6"), Qt::LeftButton);
    QVERIFY(waitUntil([&] { return !rig->server.hasClient(); }));
    QVERIFY(rig->signOn(QStringLiteral("done:\n")));
    QCOMPARE(rig->server.lines().filter(QStringLiteral("toc_set_info")),
             QStringList{"toc_set_info \"mine\""});
    QCOMPARE(rig->w->PicLogin->profile->txtProfile->toPlainText(), QStringLiteral("mine"));
}

void TestReconnect::enterInAnyLoginField_data() {
    QTest::addColumn<QString>("field");
    for (const char *field : {"txtSn", "txtPw", "txtServer", "txtPort"})
        QTest::newRow(field) << QString::fromLatin1(field);
}

void TestReconnect::enterInAnyLoginField() {
    QFETCH(QString, field);
    QCOMPARE(rig->w->focusWidget(), rig->find<QLineEdit>("txtSn"));
    // The secret store's answer first: the keychain library calls back into
    // its job even after the job is gone, so no window may end before it.
    auto *remember = rig->find<QCheckBox>("chkRemember");
    QVERIFY(waitUntil([&] { return remember->isEnabled() || !remember->toolTip().isEmpty(); }));
    rig->find<QLineEdit>("txtSn")->setText(QStringLiteral("me"));
    rig->find<QLineEdit>("txtPw")->setText(QStringLiteral("pw"));
    rig->find<QLineEdit>("txtServer")->setText(QStringLiteral("127.0.0.1"));
    rig->find<QLineEdit>("txtPort")->setText(QString::number(rig->server.port()));
    QTest::keyClick(rig->w->findChild<QLineEdit *>(field), Qt::Key_Return);
    QVERIFY(rig->server.waitForClient());
    QCOMPARE(rig->w->session->state(), State::SigningOn);
}

QTEST_MAIN(TestReconnect)
#include "tst_reconnect.moc"
