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
    const qint32 id = aliceJoined[0][1].toInt();
    QVERIFY(id > 0);
    QCOMPARE(aliceJoined[0][0].toString(), QStringLiteral("Lobby"));

    // Names compare normalised: "lobby" is the same room.
    bob->toc.JoinChat(QStringLiteral("lob by"), 4);
    QTRY_COMPARE(bobJoined.size(), 1);
    QCOMPARE(bobJoined[0], (QList<QVariant>{QStringLiteral("Lobby"), id}));
    QTRY_COMPARE(bobMembers.size(), 2);
    QCOMPARE(bobMembers[0], (QList<QVariant>{QStringLiteral("alice"), true, id}));
    QCOMPARE(bobMembers[1], (QList<QVariant>{QStringLiteral("bob"), true, id}));
    QTRY_COMPARE(aliceMembers.size(), 2); // herself, then bob
    QCOMPARE(aliceMembers[1], (QList<QVariant>{QStringLiteral("bob"), true, id}));

    bob->toc.SendChat(QString(), QStringLiteral("hi: all \"you\""), id);
    QTRY_COMPARE(aliceMessages.size(), 1);
    QTRY_COMPARE(bobMessages.size(), 1); // the sender gets it too
    QCOMPARE(aliceMessages[0], (QList<QVariant>{id, QStringLiteral("bob"),
                                                QStringLiteral("hi: all &quot;you&quot;")}));
    QVERIFY(alice->lines.contains(
        QStringLiteral("CHAT_IN_ENC:%1:bob:F:A:en:hi: all &quot;you&quot;").arg(id)));

    QSignalSpy bobLeft(&bob->toc, &QelTOCSock::ChatLeft);
    bob->toc.LeaveChat(QString(), id);
    QTRY_COMPARE(bobLeft.size(), 1);
    QTRY_COMPARE(aliceMembers.size(), 3);
    QCOMPARE(aliceMembers[2], (QList<QVariant>{QStringLiteral("bob"), false, id}));

    // Someone who left cannot talk there.
    QSignalSpy error(&bob->toc, &QelTOCSock::Error);
    bob->toc.SendChat(QString(), QStringLiteral("still?"), id);
    QTRY_COMPARE(error.size(), 1);
    QCOMPARE(error[0][0].value<qint16>(), qint16(911));

    // Signing off leaves the room too.
    alice->toc.LogOff();
    bob->toc.JoinChat(QStringLiteral("Lobby"), 4);
    QTRY_COMPARE(bobJoined.size(), 2);
    QTRY_COMPARE(bobMembers.size(), 3);
    QCOMPARE(bobMembers[2][0].toString(), QStringLiteral("bob"));
}

void TestClients::invitation() {
    SIGNED_ON(alice, QStringLiteral("alice"));
    SIGNED_ON(bob, QStringLiteral("bob"));
    QSignalSpy aliceJoined(&alice->toc, &QelTOCSock::JoinedChat);
    QSignalSpy invites(&bob->toc, &QelTOCSock::ChatInvite);
    QSignalSpy bobJoined(&bob->toc, &QelTOCSock::JoinedChat);
    QSignalSpy bobError(&bob->toc, &QelTOCSock::Error);

    alice->toc.JoinChat(QStringLiteral("Secret Room"), 4);
    QTRY_COMPARE(aliceJoined.size(), 1);
    const qint32 id = aliceJoined[0][1].toInt();

    // Not invited: cannot accept.
    bob->toc.AcceptChatInvite(id);
    QTRY_COMPARE(bobError.size(), 1);

    alice->toc.InviteUsers(QString(), QStringLiteral("come: in"), QStringLiteral("Bob"), id);
    QTRY_COMPARE(invites.size(), 1);
    QCOMPARE(invites[0], (QList<QVariant>{QStringLiteral("Secret Room"), id,
                                          QStringLiteral("alice"), QStringLiteral("come: in")}));
    bob->toc.AcceptChatInvite(id);
    QTRY_COMPARE(bobJoined.size(), 1);
    QCOMPARE(bobJoined[0], (QList<QVariant>{QStringLiteral("Secret Room"), id}));

    QSignalSpy aliceError(&alice->toc, &QelTOCSock::Error);
    alice->toc.InviteUsers(QString(), QStringLiteral("x"), QStringLiteral("nobody"), id);
    QTRY_COMPARE(aliceError.size(), 1);
    QCOMPARE(aliceError[0][1].toString(), QStringLiteral("nobody is not available"));
}

void TestClients::vorklebotInChat100() {
    SIGNED_ON(alice, QStringLiteral("alice"));
    QSignalSpy members(&alice->toc, &QelTOCSock::ChatUserUpdate);
    QSignalSpy messages(&alice->toc, &QelTOCSock::ChatMessage);
    alice->toc.JoinChat(QStringLiteral("chat100"), 4);
    QTRY_COMPARE(members.size(), 2);
    QCOMPARE(members[0][0].toString(), QStringLiteral("vorklebot"));
    const qint32 id = members[0][2].toInt();

    alice->toc.SendChat(QString(), QStringLiteral("nobody named"), id);
    alice->toc.SendChat(QString(), QStringLiteral("hello <b>VorkleBot</b>"), id);
    QTRY_COMPARE(messages.size(), 3);
    QCOMPARE(messages[2],
             (QList<QVariant>{id, QStringLiteral("vorklebot"),
                              QStringLiteral("alice, You said: \"hello VorkleBot\"")}));
    QTest::qWait(100);
    QCOMPARE(messages.size(), 3); // the message without its name got no answer
}
