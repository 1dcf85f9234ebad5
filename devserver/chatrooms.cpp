#include "devserver/chatrooms.h"

namespace devserver {

ChatRoom *ChatRooms::find(const QString &key) {
    const auto it = m_rooms.find(key);
    return it == m_rooms.end() ? nullptr : &it->second;
}

ChatRoom &ChatRooms::findOrCreate(const QString &name) {
    const QString key = keyOf(name);
    ChatRoom &room = m_rooms[key];
    if (room.key.isEmpty()) {
        room.key = key;
        room.name = name;
    }
    return room;
}

bool ChatRooms::join(ChatRoom &room, Connection *member) {
    if (room.members.contains(member))
        return false;
    room.members.append(member);
    return true;
}

bool ChatRooms::leave(const QString &key, Connection *member) {
    ChatRoom *room = find(key);
    if (!room || room->members.removeAll(member) == 0)
        return false;
    if (room->members.isEmpty())
        m_rooms.erase(key);
    return true;
}

QList<QString> ChatRooms::roomsOf(Connection *member) const {
    QList<QString> keys;
    for (const auto &[key, room] : m_rooms) {
        if (room.members.contains(member))
            keys.append(key);
    }
    return keys;
}

} // namespace devserver
