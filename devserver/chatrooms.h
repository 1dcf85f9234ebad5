#pragma once
// The chat rooms that exist: id, name, members in join order and pending
// invitations. Pure bookkeeping; who gets told what is the server's job.

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <map>

namespace devserver {

struct ChatRoom {
    qint32 id = 0;
    QString name;        // as first joined
    QStringList members; // normalised names, in join order
    QSet<QString> invited;
};

class ChatRooms {
  public:
    explicit ChatRooms(qint32 firstId = 1);

    ChatRoom *find(qint32 id);
    // Room names compare normalised (lower case, spaces removed).
    ChatRoom *findByName(const QString &name);
    // A new empty room with a fresh positive id.
    ChatRoom &create(const QString &name);

    // Adds the member; false when already in.
    bool join(ChatRoom &room, const QString &member);
    // Removes the member (and the room when it is left empty); false when
    // the member was not in it.
    bool leave(qint32 id, const QString &member);
    // Ids of the rooms a member is in.
    QList<qint32> roomsOf(const QString &member) const;

    int count() const { return int(m_rooms.size()); }

  private:
    std::map<qint32, ChatRoom> m_rooms;
    QHash<QString, qint32> m_byName;
    qint32 m_nextId;
};

} // namespace devserver
