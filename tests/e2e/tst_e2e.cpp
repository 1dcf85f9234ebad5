// The whole client end to end: two real windows and a raw third client,
// signed on to an in-process development server, driven only through
// their widgets. The scenarios build on each other, in order.
#include "client/session.h"
#include "e2erig.h"
#include "mainwindow/sessionlink.h"
#include "protocol/qeltocsock.h"

#include <algorithm>

#include <QRadioButton>
#include <QtTest>

class TestEndToEnd : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        server = std::make_unique<devserver::DevServer>(e2eOptions());
        QString error;
        QVERIFY2(server->start(&error), qPrintable(error));
        QFile::remove(ClientSettings::defaultPath()); // a fresh profile
        alice = std::make_unique<Client>();
        bob = std::make_unique<Client>();
    }
    void cleanupTestCase() {
        alice.reset();
        bob.reset();
        server.reset();
    }

    void signOnShowsVorklebot() {
        QVERIFY(alice->signOn(server->port(), "Alice One", "pw-alice"));
        QVERIFY(waitUntil([&] { return alice->treeItem("vorklebot") != nullptr; }));
        QCOMPARE(alice->treeItem("vorklebot")->parent()->text(0), QStringLiteral("Buddies"));
        QCOMPARE(alice->find<QLabel>("labHI")->text(), QStringLiteral("aliceone's configuration."));
        alice->screenshot("01-signed-on");
    }

    void eachSeesTheOtherComeOnline() {
        addBuddy(*alice, "Bob Two");
        QVERIFY(bob->signOn(server->port(), "Bob Two", "pw-bob"));
        QVERIFY(waitUntil([&] { return alice->treeItem("bobtwo") != nullptr; }));
        addBuddy(*bob, "Alice One");
        QVERIFY(waitUntil([&] { return bob->treeItem("aliceone") != nullptr; }));
        QCOMPARE(bob->treeItem("aliceone")->parent()->text(0), QStringLiteral("Buddies"));
        bob->screenshot("02-buddy-online");
    }

    void imGoesToAnUnselectedTabAndBack() {
        // Bold outgoing text, from the font page.
        alice->click("chkBold");
        alice->type("txtIM", "bobtwo");
        alice->click("cmdIM");
        QVERIFY(alice->tabIndex("bobtwo") > 0);
        alice->selectTab("bobtwo");
        Client::say(alice->imView("bobtwo"), "hello bob");

        QVERIFY(waitUntil([&] { return bob->imView("aliceone") != nullptr; }));
        QVERIFY(bob->tabIndex("aliceone") > 0);
        QCOMPARE(bob->w->selectedTabCaption(), QStringLiteral("Settings"));
        ctlIM *atBob = bob->imView("aliceone");
        QVERIFY(waitUntil([&] { return Client::transcript(atBob).contains("hello bob"); }));
        QVERIFY(bodyIsBold(atBob, "hello bob"));
        // The echo on Alice's side, under her own name.
        QVERIFY(Client::transcript(alice->imView("bobtwo")).contains("aliceone: "));

        bob->selectTab("aliceone");
        Client::say(atBob, "hi alice");
        QVERIFY(waitUntil([&] {
            return Client::transcript(alice->imView("bobtwo")).contains("bobtwo: hi alice");
        }));
        alice->screenshot("03-im");
        bob->screenshot("03-im-received");
    }

    void typingStatusFromARawClient() {
        QelTOCSock carol;
        carol.Login("Carol", "pw-carol", "127.0.0.1", server->port());
        QSignalSpy in(&carol, &QelTOCSock::LoggedIn);
        QVERIFY(waitUntil([&] { return in.count() == 1; }));
        QVERIFY(waitUntil([&] { return carol.SendIM("aliceone", "psst", false); }));
        QVERIFY(waitUntil([&] { return alice->imView("carol") != nullptr; }));
        QVERIFY(carol.SendPacket(2, "toc2_client_event \"aliceone\" 2"));
        auto *status = Client::in<QLabel>(alice->imView("carol"), "labIMstatus");
        QVERIFY(waitUntil([&] { return status->text() == "carol is typing..."; }));
        carol.LogOff();
    }

    void bothTalkInOneRoom() {
        for (Client *c : {alice.get(), bob.get()}) {
            c->type("txtChatName", "E2E Room");
            c->click("cmdChat");
        }
        QVERIFY(
            waitUntil([&] { return alice->chatView("E2E Room.") && bob->chatView("E2E Room."); }));
        auto *aliceList = Client::in<QListWidget>(alice->chatView("E2E Room."), "lstPPL");
        auto *bobList = Client::in<QListWidget>(bob->chatView("E2E Room."), "lstPPL");
        QVERIFY(waitUntil([&] {
            return !aliceList->findItems("bobtwo", Qt::MatchExactly).isEmpty() &&
                   !bobList->findItems("aliceone", Qt::MatchExactly).isEmpty();
        }));
        alice->selectTab("E2E Room.");
        Client::say(alice->chatView("E2E Room."), "room hello");
        bob->selectTab("E2E Room.");
        Client::say(bob->chatView("E2E Room."), "room reply");
        QVERIFY(waitUntil([&] {
            const QString a = Client::transcript(alice->chatView("E2E Room."));
            const QString b = Client::transcript(bob->chatView("E2E Room."));
            return a.contains("bobtwo: room reply") && b.contains("aliceone: room hello");
        }));
        alice->screenshot("04-chat");
    }

    void blockedUserSeesOfflineAndReachesNobody() {
        alice->type("txtBlockuser", "bobtwo");
        alice->click("cmdAddBlock");
        QVERIFY(alice->find<QRadioButton>("optPrivacy3")->isChecked());
        // Servers block both ways and answer an IM to a blocker with nothing:
        // Bob sees Alice leave, and what he writes reaches nobody.
        QVERIFY(waitUntil([&] { return bob->treeItem("aliceone") == nullptr; }));
        bob->selectTab("aliceone");
        Client::say(bob->imView("aliceone"), "are you there?");
        // The server answers Bob in order: once a later request is answered,
        // the IM has been dealt with.
        QSignalSpy answered(bob->w->toc, &QelTOCSock::UserProfile);
        bob->w->toc->GetProfile(QStringLiteral("bobtwo"));
        QVERIFY(answered.wait());
        QVERIFY(!Client::transcript(alice->imView("bobtwo")).contains("are you there?"));
        bob->screenshot("05-blocked");
        // Allow everybody again: Alice is back in Bob's list.
        alice->click("optPrivacy0");
        QVERIFY(waitUntil([&] { return bob->treeItem("aliceone") != nullptr; }));
    }

    void awayAnswersOncePerPartner() {
        auto *away = bob->find<QPlainTextEdit>("txtAway");
        away->setPlainText("out for lunch");
        // The views have buttons named Command3 too: use the window's own.
        QTest::mouseClick(bob->w->PicLogin->away->Command3, Qt::LeftButton);
        QVERIFY(bob->find<QWidget>("PicAway")->isVisible());
        ctlIM *atAlice = alice->imView("bobtwo");
        alice->selectTab("bobtwo");
        Client::say(atAlice, "lunch?");
        QVERIFY(waitUntil([&] { return Client::transcript(atAlice).contains("out for lunch"); }));
        Client::say(atAlice, "still?");
        QVERIFY(waitUntil(
            [&] { return Client::transcript(bob->imView("aliceone")).contains("still?"); }));
        QTest::qWait(200);
        QCOMPARE(Client::transcript(atAlice).count("out for lunch"), 1);
        QCOMPARE(bob->find<QLabel>("labAwayMsgs")->text(), QStringLiteral("2"));
        bob->screenshot("06-away");
        QTest::mouseClick(bob->w->PicAway->Command7, Qt::LeftButton);
        QVERIFY(!bob->find<QWidget>("PicAway")->isVisible());
    }

    void logoutAndSignOnAgainRebuildsTheTree() {
        alice->click("Label6");
        QVERIFY(!alice->find<QFrame>("frmLogin")->isHidden());
        QCOMPARE(alice->w->Tab1->count(), 1);
        QVERIFY(alice->signOn(server->port(), "Alice One", "pw-alice"));
        QVERIFY(waitUntil([&] {
            return alice->treeItem("vorklebot") != nullptr && alice->treeItem("bobtwo") != nullptr;
        }));
        QVERIFY(alice->find<QFrame>("frmLogin")->isHidden());
        QCOMPARE(alice->find<QLabel>("labHI")->text(), QStringLiteral("aliceone's configuration."));
    }

    // Without an alert: the window counts down to its next try.
    void serverClosingShowsOfflineAndRetries() {
        server.reset();
        for (Client *c : {alice.get(), bob.get()}) {
            QVERIFY(waitUntil([&] {
                return c->find<QLabel>("labStat")->text().startsWith("offline... reconnecting in");
            }));
            QVERIFY(c->alertText().isEmpty());
            QVERIFY(c->w->isEnabled());
        }
        alice->screenshot("07-server-gone");
    }

    // 25 rooms and a server restart under the flood rule: the rooms are
    // joined again paced, on one sign-on that stays, each saying only that
    // the connection went and came back.
    void roomsRejoinedUnderTheFloodLimit() {
        devserver::ServerOptions options = e2eOptions();
        options.floodLimit = 20;
        auto flooded = std::make_unique<devserver::DevServer>(options);
        QString error;
        QVERIFY2(flooded->start(&error), qPrintable(error));
        options.port = flooded->port();
        Client carol;
        QVERIFY(carol.signOn(options.port, "Carol", "pw-carol"));
        QList<ctlChat *> rooms;
        for (int i = 0; i < 25; ++i) {
            const QString room = QStringLiteral("Flood %1").arg(i);
            carol.type("txtChatName", room);
            carol.click("cmdChat");
            QVERIFY(waitUntil([&] { return carol.chatView(room + '.'); }));
            rooms << carol.chatView(room + '.');
        }
        flooded.reset();
        QVERIFY(waitUntil([&] { return carol.w->session->state() == Session::State::Waiting; }));
        flooded = std::make_unique<devserver::DevServer>(options);
        QVERIFY2(flooded->start(&error), qPrintable(error));
        QSignalSpy signOns(carol.w->session, &Session::signedOn);
        carol.click("labHI");
        QVERIFY(waitUntil(
            [&] {
                return std::all_of(rooms.begin(), rooms.end(), [](ctlChat *r) {
                    return !r->Chatid2.isEmpty() &&
                           Client::in<QListWidget>(r, "lstPPL")->count() == 1;
                });
            },
            30000));
        Client::say(rooms.last(), "still here");
        QVERIFY(waitUntil([&] { return Client::transcript(rooms.last()).contains("still here"); }));
        QCOMPARE(signOns.size(), 1);
        QVERIFY(carol.w->session->isSignedOn());
        for (ctlChat *r : std::as_const(rooms)) {
            const QString text = Client::transcript(r);
            QCOMPARE(text.count("has entered the room."), 1);
            QCOMPARE(text.count(SessionLink::kLostLine), 1);
            QCOMPARE(text.count(SessionLink::kBackLine), 1);
        }
        QVERIFY(carol.alertText().isEmpty());
    }

  private:
    static void addBuddy(Client &c, const char *name) {
        c.w->showAddBuddy();
        frmAddBuddy *dialog = c.w->PicLogin->buddyList->menus->addBuddyDialog();
        QVERIFY(dialog);
        auto *sn = dialog->findChild<QLineEdit *>("txtsn");
        sn->clear();
        QTest::keyClicks(sn, QString::fromUtf8(name));
        QTest::mouseClick(dialog->findChild<QPushButton *>("Command1"), Qt::LeftButton);
    }

    // Whether the run holding `text` in a view's transcript is bold.
    static bool bodyIsBold(QWidget *view, const QString &text) {
        QTextDocument *doc = Client::in<QTextEdit>(view, "TEXT")->document();
        QTextCursor found = doc->find(text);
        return !found.isNull() && found.charFormat().fontWeight() >= QFont::Bold;
    }

    std::unique_ptr<devserver::DevServer> server;
    std::unique_ptr<Client> alice;
    std::unique_ptr<Client> bob;
};

QTEST_MAIN(TestEndToEnd)
#include "tst_e2e.moc"
