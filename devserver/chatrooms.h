#pragma once
// The chat rooms that exist: name, member connections in join order and
// pending invitations. Rooms are found by name, ignoring case (but not
// spaces); each connection numbers them itself (see roomids.h). Pure
// bookkeeping; who gets told what is the server's job.

#include <QList>
#include <QSet>
#include <QString>
#include <map>

namespace devserver {

struct Connection;

struct ChatRoom {
    QString key;  // the name in lower case
    QString name; // as first joined
    QList<Connection *> members;
    QSet<QString> invited; // normalised account names
};

class ChatRooms {
  public:
    static QString keyOf(const QString &name) { return name.toLower(); }

    ChatRoom *find(const QString &key);
    // The room with that name, created empty when there is none.
    ChatRoom &findOrCreate(const QString &name);

    // Adds the member; false when already in.
    bool join(ChatRoom &room, Connection *member);
    // Removes the member (and the room when it is left empty); false when
    // the member was not in it.
    bool leave(const QString &key, Connection *member);
    // Keys of the rooms a connection is in.
    QList<QString> roomsOf(Connection *member) const;

    int count() const { return int(m_rooms.size()); }

  private:
    std::map<QString, ChatRoom> m_rooms;
};

} // namespace devserver
