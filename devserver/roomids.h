#pragma once
// The chat-room ids one connection knows: handed out from 0 in the order
// the connection first hears of a room (a join or an invitation), and kept
// for the connection's life, so that rejoining a room reuses its id. Two
// members of a room usually know it by different ids. Pure.

#include <QHash>
#include <QString>
#include <QStringList>

namespace devserver {

class RoomIds {
  public:
    static constexpr int kMaxIds = 10000;

    // The id of the room with this key, given now if it has none; -1 once
    // kMaxIds rooms are known.
    qint32 idFor(const QString &roomKey);
    // The room key behind an id, or an empty text.
    QString keyOf(qint32 id) const;

  private:
    QHash<QString, qint32> m_ids;
    QStringList m_keys; // by id
};

} // namespace devserver
