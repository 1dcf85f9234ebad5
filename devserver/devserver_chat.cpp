// Chat rooms: joining, talking, leaving and invitations.
#include "devserver/devserver.h"

#include "devserver/names.h"
#include "devserver/serverlines.h"
#include "protocol/wire.h"

namespace devserver {

namespace {

bool chatId(const QStringList &a, int index, qint32 *id) {
    bool ok = false;
    *id = index < a.size() ? toc::toInt32(a[index], &ok) : 0;
    return ok && *id > 0;
}

} // namespace

void DevServer::cmdChatJoin(OnlineUser &u, const QStringList &a) {
    bool ok = false;
    if (a.size() >= 2)
        toc::toInt32(a[0], &ok);
    const QString name = a.value(1).trimmed();
    if (!ok || !isValidRoomName(name)) {
        sendError(u, QStringLiteral("ERROR:911"));
        return;
    }
    ChatRoom *room = m_rooms.findByName(name);
    if (!room)
        room = &m_rooms.create(name);
    joinRoom(u, *room);
}

void DevServer::joinRoom(OnlineUser &u, ChatRoom &room) {
    const bool isNew = m_rooms.join(room, u.name);
    const QString id = QString::number(room.id);
    send(u, QStringLiteral("CHAT_JOIN:") + id + QLatin1Char(':') + room.name);
    QString members = QStringLiteral("CHAT_UPDATE_BUDDY:") + id + QStringLiteral(":T");
    for (const QString &m : std::as_const(room.members)) {
        const OnlineUser *member = user(m);
        members += QLatin1Char(':') + (member ? member->formatted : m);
    }
    send(u, members);
    if (!isNew)
        return;
    const QString joined =
        QStringLiteral("CHAT_UPDATE_BUDDY:") + id + QStringLiteral(":T:") + u.formatted;
    for (const QString &m : std::as_const(room.members)) {
        OnlineUser *member = user(m);
        if (member && member != &u)
            send(*member, joined);
    }
}

void DevServer::cmdChatAccept(OnlineUser &u, const QStringList &a) {
    qint32 id = 0;
    if (!chatId(a, 0, &id)) {
        sendError(u, QStringLiteral("ERROR:911"));
        return;
    }
    chatAccept(u, id);
}

void DevServer::chatAccept(OnlineUser &u, qint32 id) {
    ChatRoom *room = m_rooms.find(id);
    if (!room || (!room->invited.contains(u.name) && !room->members.contains(u.name))) {
        sendError(u, QStringLiteral("ERROR:911"));
        return;
    }
    joinRoom(u, *room);
}

void DevServer::cmdChatSend(OnlineUser &u, const QStringList &a) {
    qint32 id = 0;
    if (!chatId(a, 0, &id) || a.size() < 2) {
        sendError(u, QStringLiteral("ERROR:911"));
        return;
    }
    chatSend(u, id, a[1]);
}

void DevServer::chatSend(OnlineUser &from, qint32 id, const QString &message) {
    ChatRoom *room = m_rooms.find(id);
    if (!room || !room->members.contains(from.name)) {
        sendError(from, QStringLiteral("ERROR:911"));
        return;
    }
    const QString line = chatInLine(id, from.formatted, message);
    // A copy: a member's endpoint never changes the room synchronously, but
    // the list must not be walked while anything could.
    const QStringList members = room->members;
    for (const QString &m : members) {
        if (OnlineUser *member = user(m))
            send(*member, line);
    }
}

void DevServer::cmdChatLeave(OnlineUser &u, const QStringList &a) {
    qint32 id = 0;
    const ChatRoom *room = chatId(a, 0, &id) ? m_rooms.find(id) : nullptr;
    if (!room || !room->members.contains(u.name)) {
        sendError(u, QStringLiteral("ERROR:911"));
        return;
    }
    leaveRoom(u, id);
}

void DevServer::leaveRoom(OnlineUser &u, qint32 id) {
    ChatRoom *room = m_rooms.find(id);
    if (!room)
        return;
    const QStringList members = room->members;
    if (!m_rooms.leave(id, u.name))
        return;
    send(u, QStringLiteral("CHAT_LEFT:%1").arg(id));
    const QString left = QStringLiteral("CHAT_UPDATE_BUDDY:%1:F:").arg(id) + u.formatted;
    for (const QString &m : members) {
        OnlineUser *member = user(m);
        if (member && member != &u)
            send(*member, left);
    }
}

void DevServer::cmdChatInvite(OnlineUser &u, const QStringList &a) {
    qint32 id = 0;
    ChatRoom *room = chatId(a, 0, &id) && a.size() >= 3 ? m_rooms.find(id) : nullptr;
    if (!room || !room->members.contains(u.name)) {
        sendError(u, QStringLiteral("ERROR:911"));
        return;
    }
    const QString message = a[1];
    for (const QString &name : a.mid(2)) {
        OnlineUser *target = nullptr;
        if (!canReach(u, name, &target)) {
            sendError(u, QStringLiteral("ERROR:901:") + name);
            continue;
        }
        room->invited.insert(target->name);
        // Joined, never QString::arg: user text may itself hold "%1".
        send(*target, QStringLiteral("CHAT_INVITE:") + room->name + QLatin1Char(':') +
                          QString::number(id) + QLatin1Char(':') + u.formatted + QLatin1Char(':') +
                          message);
    }
}

} // namespace devserver
