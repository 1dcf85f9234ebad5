// Chat rooms: joining, talking, leaving and invitations. Every connection
// knows a room by its own id (see roomids.h), so each line about a room is
// built for each receiver.
#include "devserver/devserver.h"

#include "devserver/names.h"
#include "devserver/serverlines.h"
#include "protocol/wire.h"

namespace devserver {

namespace {

// The only exchange rooms are made in.
constexpr qint32 kExchange = 4;

bool chatId(const QStringList &a, int index, qint32 *id) {
    bool ok = false;
    *id = index < a.size() ? toc::toInt32(a[index], &ok) : -1;
    return ok && *id >= 0;
}

QString memberLine(qint32 id, bool inside, const QString &names) {
    return QStringLiteral("CHAT_UPDATE_BUDDY:") + QString::number(id) +
           (inside ? QStringLiteral(":T:") : QStringLiteral(":F:")) + names;
}

} // namespace

ChatRoom *DevServer::roomOf(Connection &c, qint32 id) {
    const QString key = c.rooms.keyOf(id);
    return key.isEmpty() ? nullptr : m_rooms.find(key);
}

void DevServer::sendToRoom(const ChatRoom &room, const Connection *except,
                           const std::function<QString(qint32 id)> &line) {
    // A copy: a member's endpoint never changes the room synchronously, but
    // the list must not be walked while anything could.
    const QList<Connection *> members = room.members;
    for (Connection *m : members) {
        if (m != except)
            send(*m, line(m->rooms.idFor(room.key)));
    }
}

void DevServer::cmdChatJoin(Connection &c, const QStringList &a) {
    bool ok = false;
    const qint32 exchange = toc::toInt32(a.value(0), &ok);
    const QString name = a.value(1);
    if (!ok || exchange != kExchange || !isValidRoomName(name) ||
        c.rooms.idFor(ChatRooms::keyOf(name)) < 0) {
        sendError(c, kInternalError);
        return;
    }
    joinRoom(c, m_rooms.findOrCreate(name), name);
}

// The joiner gets the room under the name it used and every member in one
// line; the others see it come in (or, when it was inside already, go and
// come back).
void DevServer::joinRoom(Connection &c, ChatRoom &room, const QString &shownName) {
    const bool isNew = m_rooms.join(room, &c);
    room.invited.remove(c.user->name);
    const QString who = c.user->formatted;
    if (!isNew)
        sendToRoom(room, &c, [&who](qint32 id) { return memberLine(id, false, who); });
    sendToRoom(room, &c, [&who](qint32 id) { return memberLine(id, true, who); });
    QStringList names;
    for (const Connection *m : std::as_const(room.members))
        names << m->user->formatted;
    const qint32 id = c.rooms.idFor(room.key);
    send(c, QStringLiteral("CHAT_JOIN:") + QString::number(id) + QLatin1Char(':') + shownName);
    send(c, memberLine(id, true, names.join(QLatin1Char(':'))));
}

void DevServer::cmdChatAccept(Connection &c, const QStringList &a) {
    qint32 id = 0;
    if (!chatId(a, 0, &id)) {
        sendError(c, kInternalError);
        return;
    }
    chatAccept(c, id);
}

void DevServer::chatAccept(Connection &c, qint32 id) {
    ChatRoom *room = roomOf(c, id);
    if (!room || (!room->invited.contains(c.user->name) && !room->members.contains(&c))) {
        sendError(c, kInternalError);
        return;
    }
    joinRoom(c, *room, room->name);
}

void DevServer::cmdChatSend(Connection &c, const QStringList &a) {
    qint32 id = 0;
    if (!chatId(a, 0, &id) || a.size() < 2) {
        sendError(c, kInternalError);
        return;
    }
    chatSend(c, id, a[1]);
}

// Every member gets the message, the sender too.
void DevServer::chatSend(Connection &from, qint32 id, const QString &message) {
    const ChatRoom *room = roomOf(from, id);
    if (!room || !room->members.contains(&from)) {
        sendError(from, kInternalError);
        return;
    }
    const QString &sender = from.user->formatted;
    sendToRoom(*room, nullptr,
               [&](qint32 memberId) { return chatInLine(memberId, sender, message); });
}

void DevServer::cmdChatLeave(Connection &c, const QStringList &a) {
    qint32 id = 0;
    const ChatRoom *room = chatId(a, 0, &id) ? roomOf(c, id) : nullptr;
    if (!room || !room->members.contains(&c)) {
        sendError(c, kInternalError);
        return;
    }
    leaveRoom(c, room->key);
}

void DevServer::leaveRoom(Connection &c, const QString &key) {
    const ChatRoom *room = m_rooms.find(key);
    if (!room)
        return;
    const ChatRoom before = *room;
    if (!m_rooms.leave(key, &c))
        return;
    send(c, QStringLiteral("CHAT_LEFT:") + QString::number(c.rooms.idFor(key)));
    const QString who = c.user->formatted;
    sendToRoom(before, &c, [&who](qint32 id) { return memberLine(id, false, who); });
}

// toc_chat_invite <id> <message> <user>... Each invitee's connections learn
// the room under ids of their own. The inviter hears nothing back, also not
// about invitees who cannot be reached.
void DevServer::cmdChatInvite(Connection &c, const QStringList &a) {
    qint32 id = 0;
    ChatRoom *room = chatId(a, 0, &id) && a.size() >= 3 ? roomOf(c, id) : nullptr;
    if (!room || !room->members.contains(&c)) {
        sendError(c, kInternalError);
        return;
    }
    const QString &message = a[1];
    for (const QString &name : a.mid(2)) {
        OnlineUser *target = nullptr;
        if (!canReach(*c.user, name, &target))
            continue;
        room->invited.insert(target->name);
        for (const auto &tc : target->connections) {
            const qint32 theirs = tc->initDone ? tc->rooms.idFor(room->key) : -1;
            // Joined, never QString::arg: user text may itself hold "%1".
            if (theirs >= 0)
                send(*tc, QStringLiteral("CHAT_INVITE:") + room->name + QLatin1Char(':') +
                              QString::number(theirs) + QLatin1Char(':') + c.user->formatted +
                              QLatin1Char(':') + message);
        }
    }
}

} // namespace devserver
