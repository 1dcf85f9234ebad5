#include "devserver/chatrooms.h"

#include "protocol/wire.h"

#include <limits>

namespace devserver {

ChatRooms::ChatRooms(qint32 firstId) : m_nextId(firstId > 0 ? firstId : 1) {}

ChatRoom *ChatRooms::find(qint32 id) {
    const auto it = m_rooms.find(id);
    return it == m_rooms.end() ? nullptr : &it->second;
}

ChatRoom *ChatRooms::findByName(const QString &name) {
    const auto it = m_byName.constFind(toc::normalizeScreenName(name));
    return it == m_byName.constEnd() ? nullptr : find(*it);
}

ChatRoom &ChatRooms::create(const QString &name) {
    // Ids stay positive: after the largest one the count starts over at 1,
    // skipping ids still in use.
    while (m_rooms.count(m_nextId))
        m_nextId = m_nextId == std::numeric_limits<qint32>::max() ? 1 : m_nextId + 1;
    const qint32 id = m_nextId;
    m_nextId = m_nextId == std::numeric_limits<qint32>::max() ? 1 : m_nextId + 1;
    ChatRoom &room = m_rooms[id];
    room.id = id;
    room.name = name;
    m_byName.insert(toc::normalizeScreenName(name), id);
    return room;
}

bool ChatRooms::join(ChatRoom &room, const QString &member) {
    room.invited.remove(member);
    if (room.members.contains(member))
        return false;
    room.members.append(member);
    return true;
}

bool ChatRooms::leave(qint32 id, const QString &member) {
    ChatRoom *room = find(id);
    if (!room || room->members.removeAll(member) == 0)
        return false;
    if (room->members.isEmpty()) {
        m_byName.remove(toc::normalizeScreenName(room->name));
        m_rooms.erase(id);
    }
    return true;
}

QList<qint32> ChatRooms::roomsOf(const QString &member) const {
    QList<qint32> ids;
    for (const auto &[id, room] : m_rooms) {
        if (room.members.contains(member))
            ids.append(id);
    }
    return ids;
}

} // namespace devserver
