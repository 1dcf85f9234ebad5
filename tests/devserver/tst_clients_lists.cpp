// Buddy lists, groups, permit and deny lists and privacy modes with real
// clients.
#include "tst_clients.h"

#include <QSignalSpy>
#include <QTest>

// The connection that edits the list hears only NEW_BUDDY_REPLY2; a second
// connection of the account sees every change; the next sign-on gets it all.
void TestClients::buddiesAndGroupsAtNextSignOn() {
    SIGNED_ON(alice, QStringLiteral("alice"));
    SIGNED_ON(mirror, QStringLiteral("alice"));
    QSignalSpy groupAdded(&mirror->toc, &QelTOCSock::GroupAdded);
    QSignalSpy buddyAdded(&mirror->toc, &QelTOCSock::BuddyAdded);
    QSignalSpy buddyRemoved(&mirror->toc, &QelTOCSock::BuddyRemoved);
    QSignalSpy groupRemoved(&mirror->toc, &QelTOCSock::GroupRemoved);
    QSignalSpy blocked(&mirror->toc, &QelTOCSock::BuddyBlocked);
    QSignalSpy unblocked(&mirror->toc, &QelTOCSock::BuddyUnblocked);
    QSignalSpy permitted(&mirror->toc, &QelTOCSock::PrivateBuddyAdded);
    QSignalSpy unpermitted(&mirror->toc, &QelTOCSock::PrivateBuddyRemoved);

    alice->toc.AddBuddy(QStringLiteral("Co Workers"), QStringLiteral("Jane Doe"));
    QTRY_COMPARE(buddyAdded.size(), 1);
    QVERIFY(groupAdded.contains(QList<QVariant>{QStringLiteral("Co Workers")}));
    QCOMPARE(buddyAdded[0],
             (QList<QVariant>{QStringLiteral("Co Workers"), QStringLiteral("janedoe"), QString()}));
    QVERIFY(alice->waitLine(QStringLiteral("NEW_BUDDY_REPLY2:Jane Doe:added")));

    // Braced records with an alias and a note, into an existing group; a
    // name that cannot be one is skipped.
    alice->toc.SendPacket(2,
                          "toc2_new_buddies {g:Buddies\nb:carol:Caro:::::her note\nb:no/such:x\n}");
    QTRY_COMPARE(buddyAdded.size(), 2);
    QCOMPARE(buddyAdded[1], (QList<QVariant>{QStringLiteral("Buddies"), QStringLiteral("carol"),
                                             QStringLiteral("Caro")}));

    alice->toc.AddGroup(QStringLiteral("Empty One"));
    alice->toc.AddGroup(QStringLiteral("Gone"));
    QTRY_VERIFY(groupAdded.contains(QList<QVariant>{QStringLiteral("Gone")}));
    alice->toc.RemoveGroup(QStringLiteral("Gone"));
    QTRY_COMPARE(groupRemoved.size(), 1);
    alice->toc.RemoveBuddy(QStringLiteral("Buddies"), QStringLiteral("vorklebot"));
    QTRY_COMPARE(buddyRemoved.size(), 1);
    QCOMPARE(buddyRemoved[0],
             (QList<QVariant>{QStringLiteral("Buddies"), QStringLiteral("vorklebot")}));

    alice->toc.BlockUser(QStringLiteral("Eve"));
    alice->toc.BlockUser(QStringLiteral("mallory"));
    alice->toc.UnblockUser(QStringLiteral("mallory"));
    alice->toc.AddPrivateUser(QStringLiteral("dave"));
    alice->toc.AddPrivateUser(QStringLiteral("trent"));
    alice->toc.RemovePrivateUser(QStringLiteral("trent"));
    alice->toc.SetPrivacy(3);
    QTRY_COMPARE(unpermitted.size(), 1);
    QCOMPARE(blocked.size(), 2);
    QCOMPARE(unblocked.value(0), QList<QVariant>{QStringLiteral("mallory")});
    QCOMPARE(permitted.size(), 2);
    alice->toc.GetStatus(QStringLiteral("nobody")); // a round trip: the mode is stored
    QVERIFY(alice->waitLine(QStringLiteral("ERROR:901:nobody")));
    // The connection that made the changes got none of them back.
    QCOMPARE(alice->count(QStringLiteral("INSERTED2:")) + alice->count(QStringLiteral("DELETED2:")),
             0);
    QCOMPARE(alice->count(QStringLiteral("NEW_BUDDY_REPLY2:")), 2);
    alice->toc.LogOff();
    mirror->toc.LogOff();

    TocClient again(QStringLiteral("alice"));
    QVERIFY(again.signOn(port()));
    QCOMPARE(again.buddyList,
             (QStringList{QStringLiteral("[group]Buddies"), QStringLiteral("carol:Caro:her note"),
                          QStringLiteral("[group]Co Workers"), QStringLiteral("janedoe"),
                          QStringLiteral("[group]Empty One")}));
    QCOMPARE(again.blockList, QStringList{QStringLiteral("eve")});
    QCOMPARE(again.permitList, QStringList{QStringLiteral("dave")});
    QCOMPARE(again.privacyMode, qint16(3));
}

void TestClients::privacyModes_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("list"); // "permit", "deny", "buddy" or empty
    QTest::addColumn<bool>("reaches"); // alice's IMs and invitations reach bob, and she sees him

    QTest::newRow("1 allow all") << 1 << QString() << true;
    QTest::newRow("2 block all") << 2 << QString() << false;
    QTest::newRow("2 block all, even buddies") << 2 << QStringLiteral("buddy") << false;
    QTest::newRow("3 permit list, not on it") << 3 << QString() << false;
    QTest::newRow("3 permit list, on it") << 3 << QStringLiteral("permit") << true;
    QTest::newRow("4 deny list, not on it") << 4 << QString() << true;
    QTest::newRow("4 deny list, on it") << 4 << QStringLiteral("deny") << false;
    QTest::newRow("5 buddies, not one") << 5 << QString() << false;
    QTest::newRow("5 buddies, a buddy") << 5 << QStringLiteral("buddy") << true;
}

void TestClients::privacyModes() {
    QFETCH(int, mode);
    QFETCH(QString, list);
    QFETCH(bool, reaches);

    SIGNED_ON(bob, QStringLiteral("bob"));
    if (list == QLatin1String("permit"))
        bob->toc.AddPrivateUser(QStringLiteral("alice"));
    else if (list == QLatin1String("deny"))
        bob->toc.BlockUser(QStringLiteral("alice"));
    else if (list == QLatin1String("buddy"))
        bob->toc.AddBuddy(QStringLiteral("Buddies"), QStringLiteral("alice"));
    bob->toc.SetPrivacy(qint16(mode));
    bob->toc.GetStatus(QStringLiteral("vorklebot"));
    QVERIFY(bob->waitPrefix(QStringLiteral("UPDATE_BUDDY2:vorklebot")));
    // A client's own status is answered in every mode: clients ask for it
    // to learn that the server still answers.
    bob->toc.GetStatus(QStringLiteral("Bob"));
    QVERIFY(bob->waitPrefix(QStringLiteral("UPDATE_BUDDY2:bob:T:")));

    SIGNED_ON(alice, QStringLiteral("alice"));
    QSignalSpy error(&alice->toc, &QelTOCSock::Error);
    QSignalSpy im(&bob->toc, &QelTOCSock::InstantMessage);
    QSignalSpy invite(&bob->toc, &QelTOCSock::ChatInvite);
    QSignalSpy joined(&alice->toc, &QelTOCSock::JoinedChat);

    alice->toc.AddBuddy(QStringLiteral("Buddies"), QStringLiteral("bob"));
    alice->toc.SendIM(QStringLiteral("bob"), QStringLiteral("knock knock"), false);
    alice->toc.GetStatus(QStringLiteral("bob"));
    alice->toc.JoinChat(QStringLiteral("privacy"), 4);
    QTRY_COMPARE(joined.size(), 1);
    alice->toc.InviteUsers(QStringLiteral("privacy"), QStringLiteral("join"), QStringLiteral("bob"),
                           joined[0][1].toInt());
    // Bob's own messages to alice are not affected by his mode.
    bob->toc.SendIM(QStringLiteral("alice"), QStringLiteral("end"), false);
    QVERIFY(alice->waitPrefix(QStringLiteral("IM_IN_ENC2:bob:")));
    // A round trip on alice's connection: every answer to her is in.
    const int before = alice->count(QStringLiteral("UPDATE_BUDDY2:vorklebot"));
    alice->toc.GetStatus(QStringLiteral("vorklebot"));
    QTRY_COMPARE(alice->count(QStringLiteral("UPDATE_BUDDY2:vorklebot")), before + 1);

    if (reaches) {
        QTRY_COMPARE(im.size(), 1);
        QTRY_COMPARE(invite.size(), 1);
        QVERIFY(error.isEmpty());
        QVERIFY(alice->count(QStringLiteral("UPDATE_BUDDY2:bob:T:")) >=
                2); // the buddy add and the status
    } else {
        // Only the status request is answered; the IM and the invitation
        // are dropped without a word.
        QCOMPARE(error.size(), 1);
        QCOMPARE(error[0][0].value<qint16>(), qint16(901));
        QCOMPARE(im.size(), 0);
        QCOMPARE(invite.size(), 0);
        QCOMPARE(alice->count(QStringLiteral("UPDATE_BUDDY2:bob:")), 0);
    }
}

void TestClients::privacyChangeUpdatesPresence() {
    SIGNED_ON(alice, QStringLiteral("alice"));
    SIGNED_ON(bob, QStringLiteral("bob"));
    alice->toc.AddBuddy(QStringLiteral("Buddies"), QStringLiteral("bob"));
    QVERIFY(alice->waitPrefix(QStringLiteral("UPDATE_BUDDY2:bob:T:")));

    // Bob blocks everybody: alice sees him go offline, once.
    bob->toc.SetPrivacy(2);
    QVERIFY(alice->waitPrefix(QStringLiteral("UPDATE_BUDDY2:bob:F:")));
    bob->toc.SetAwayMessage(QStringLiteral("hidden"));
    bob->toc.SetPrivacy(2);
    bob->toc.BlockUser(QStringLiteral("alice"));
    // He allows all but his deny list, with alice on it: still hidden.
    bob->toc.SetPrivacy(4);
    bob->toc.GetStatus(QStringLiteral("vorklebot"));
    QVERIFY(bob->waitPrefix(QStringLiteral("UPDATE_BUDDY2:vorklebot")));
    QCOMPARE(alice->count(QStringLiteral("UPDATE_BUDDY2:bob:")), 2);

    // Off the deny list: back online for her, away as he is.
    bob->toc.UnblockUser(QStringLiteral("alice"));
    QTRY_COMPARE(alice->count(QStringLiteral("UPDATE_BUDDY2:bob:")), 3);
    QVERIFY(alice->matching(QStringLiteral("UPDATE_BUDDY2:bob:"))
                .last()
                .startsWith(QLatin1String("UPDATE_BUDDY2:bob:T:0:")));
    QCOMPARE(alice->matching(QStringLiteral("UPDATE_BUDDY2:bob:"))
                 .last()
                 .section(QLatin1Char(':'), 6, 6),
             QStringLiteral(" OU"));

    // A new mode shows him afresh to every watcher it allows.
    bob->toc.SetPrivacy(1);
    QTRY_COMPARE(alice->count(QStringLiteral("UPDATE_BUDDY2:bob:T:")), 2);
    // Blocking works both ways: blocking all, he does not see his buddy alice either.
    bob->toc.AddBuddy(QStringLiteral("Buddies"), QStringLiteral("alice"));
    QVERIFY(bob->waitPrefix(QStringLiteral("UPDATE_BUDDY2:alice:T:")));
    bob->toc.SetPrivacy(2);
    QVERIFY(bob->waitLine(QStringLiteral("UPDATE_BUDDY2:alice:F:0:0:0:   :")));
}
