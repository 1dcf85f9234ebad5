// Chat rooms with real clients.
#include "tst_clients.h"

#include <QSignalSpy>
#include <QTest>

void TestClients::roomJoinTalkLeave() {
    SIGNED_ON(alice, QStringLiteral("alice"));
    SIGNED_ON(bob, QStringLiteral("bob"));
    QSignalSpy aliceJoined(&alice->toc, &QelTOCSock::JoinedChat);
    QSignalSpy bobJoined(&bob->toc, &QelTOCSock::JoinedChat);
    QSignalSpy aliceMembers(&alice->toc, &QelTOCSock::ChatUserUpdate);
    QSignalSpy bobMembers(&bob->toc, &QelTOCSock::ChatUserUpdate);
    QSignalSpy bobMessages(&bob->toc, &QelTOCSock::ChatMessage);
    QSignalSpy aliceMessages(&alice->toc, &QelTOCSock::ChatMessage);

    alice->toc.JoinChat(QStringLiteral("Lobby"), 4);
    QTRY_COMPARE(aliceJoined.size(), 1);
    QCOMPARE(aliceJoined[0], (QList<QVariant>{QStringLiteral("Lobby"), 0}));

    // Each connection numbers the rooms it knows from 0; names compare
    // ignoring case (not spaces), and the joiner sees the name it typed.
    bob->toc.JoinChat(QStringLiteral("Elsewhere"), 4);
    QTRY_COMPARE(bobJoined.size(), 1);
    QCOMPARE(bobJoined[0], (QList<QVariant>{QStringLiteral("Elsewhere"), 0}));
    bob->toc.JoinChat(QStringLiteral("LOBBY"), 4);
    QTRY_COMPARE(bobJoined.size(), 2);
    QCOMPARE(bobJoined[1], (QList<QVariant>{QStringLiteral("LOBBY"), 1}));
    QTRY_COMPARE(bobMembers.size(), 3); // himself in Elsewhere, then both in one line
    QCOMPARE(bobMembers[1], (QList<QVariant>{QStringLiteral("alice"), true, 1}));
    QCOMPARE(bobMembers[2], (QList<QVariant>{QStringLiteral("bob"), true, 1}));
    QVERIFY(bob->lines.contains(QStringLiteral("CHAT_UPDATE_BUDDY:1:T:alice:bob")));
    QTRY_COMPARE(aliceMembers.size(), 2); // herself, then bob
    QCOMPARE(aliceMembers[1], (QList<QVariant>{QStringLiteral("bob"), true, 0}));

    // Joining again from inside: the others see him go and come back.
    bob->toc.JoinChat(QStringLiteral("lobby"), 4);
    QTRY_COMPARE(aliceMembers.size(), 4);
    QCOMPARE(aliceMembers[2], (QList<QVariant>{QStringLiteral("bob"), false, 0}));
    QCOMPARE(aliceMembers[3], (QList<QVariant>{QStringLiteral("bob"), true, 0}));
    QTRY_COMPARE(bobJoined.size(), 3);
    QCOMPARE(bobJoined[2], (QList<QVariant>{QStringLiteral("lobby"), 1}));

    const QString said = QStringLiteral("hi: all &quot;you&quot;");
    bob->toc.SendChat(QStringLiteral("LOBBY"), said, 1);
    QTRY_COMPARE(aliceMessages.size(), 1);
    QTRY_COMPARE(bobMessages.size(), 1); // the sender gets it too, under its own id
    QCOMPARE(aliceMessages[0], (QList<QVariant>{0, QStringLiteral("bob"), said}));
    QCOMPARE(bobMessages[0], (QList<QVariant>{1, QStringLiteral("bob"), said}));
    QVERIFY(alice->lines.contains(QStringLiteral("CHAT_IN_ENC:0:bob:F:A:en:") + said));

    QSignalSpy bobLeft(&bob->toc, &QelTOCSock::ChatLeft);
    bob->toc.LeaveChat(QStringLiteral("LOBBY"), 1);
    QTRY_COMPARE(bobLeft.size(), 1);
    QTRY_COMPARE(aliceMembers.size(), 5);
    QCOMPARE(aliceMembers[4], (QList<QVariant>{QStringLiteral("bob"), false, 0}));

    // Someone who left cannot talk there.
    QSignalSpy error(&bob->toc, &QelTOCSock::Error);
    bob->toc.SendChat(QString(), QStringLiteral("still?"), 1);
    QTRY_COMPARE(error.size(), 1);
    QCOMPARE(error[0][0].value<qint16>(), qint16(913));

    // Signing off leaves the room too; coming back to it reuses the id.
    alice->toc.LogOff();
    bob->toc.JoinChat(QStringLiteral("Lobby"), 4);
    QTRY_COMPARE(bobJoined.size(), 4);
    QCOMPARE(bobJoined[3], (QList<QVariant>{QStringLiteral("Lobby"), 1}));
    QTRY_COMPARE(bobMembers.size(), 6);
    QCOMPARE(bobMembers[5], (QList<QVariant>{QStringLiteral("bob"), true, 1}));
}

void TestClients::invitation() {
    SIGNED_ON(alice, QStringLiteral("alice"));
    SIGNED_ON(bob, QStringLiteral("bob"));
    QSignalSpy aliceJoined(&alice->toc, &QelTOCSock::JoinedChat);
    QSignalSpy invites(&bob->toc, &QelTOCSock::ChatInvite);
    QSignalSpy bobJoined(&bob->toc, &QelTOCSock::JoinedChat);
    QSignalSpy bobError(&bob->toc, &QelTOCSock::Error);

    alice->toc.JoinChat(QStringLiteral("Secret Room"), 4);
    bob->toc.JoinChat(QStringLiteral("Bob's Own"), 4);
    QTRY_COMPARE(aliceJoined.size(), 1);
    QTRY_COMPARE(bobJoined.size(), 1);

    // Not invited: bob has no id for the room yet.
    bob->toc.AcceptChatInvite(1);
    QTRY_COMPARE(bobError.size(), 1);

    // The invitation carries bob's own id for the room.
    alice->toc.InviteUsers(QStringLiteral("Secret Room"), QStringLiteral("come: in"),
                           QStringLiteral("Bob"), 0);
    QTRY_COMPARE(invites.size(), 1);
    QCOMPARE(invites[0], (QList<QVariant>{QStringLiteral("Secret Room"), 1, QStringLiteral("alice"),
                                          QStringLiteral("come: in")}));
    bob->toc.AcceptChatInvite(1);
    QTRY_COMPARE(bobJoined.size(), 2);
    QCOMPARE(bobJoined[1], (QList<QVariant>{QStringLiteral("Secret Room"), 1}));

    // Nobody to invite: the inviter hears nothing back.
    QSignalSpy aliceError(&alice->toc, &QelTOCSock::Error);
    alice->toc.InviteUsers(QStringLiteral("Secret Room"), QStringLiteral("x"),
                           QStringLiteral("nobody"), 0);
    alice->toc.GetStatus(QStringLiteral("nobody"));
    QTRY_COMPARE(aliceError.size(), 1);
    QCOMPARE(aliceError[0][0].value<qint16>(), qint16(901)); // the status request's
}

void TestClients::vorklebotInChat100() {
    SIGNED_ON(alice, QStringLiteral("alice"));
    QSignalSpy members(&alice->toc, &QelTOCSock::ChatUserUpdate);
    QSignalSpy messages(&alice->toc, &QelTOCSock::ChatMessage);
    alice->toc.JoinChat(QStringLiteral("chat100"), 4);
    QTRY_COMPARE(members.size(), 2);
    QCOMPARE(members[0][0].toString(), QStringLiteral("vorklebot"));
    const qint32 id = members[0][2].toInt();

    alice->toc.SendChat(QStringLiteral("chat100"), QStringLiteral("nobody named"), id);
    alice->toc.SendChat(QStringLiteral("chat100"), QStringLiteral("hello <b>VorkleBot</b>"), id);
    QTRY_COMPARE(messages.size(), 3);
    QCOMPARE(messages[2],
             (QList<QVariant>{id, QStringLiteral("vorklebot"),
                              QStringLiteral("alice, You said: \"hello VorkleBot\"")}));
    QTest::qWait(100);
    QCOMPARE(messages.size(), 3); // the message without its name got no answer
}
