#pragma once
// One client of the devserver soak: picks a random action when asked (an
// IM, a room step, away or idle toggled, a buddy added or removed) and
// checks everything it receives. IMs of each sender arrive complete and in
// order; a room member's messages arrive in order and without gaps for as
// long as both are in the room; its own room messages come back, all of
// them; and at the end the last presence seen of each buddy is the buddy's
// real state.
#include "benchtocclient.h"

#include <QHash>
#include <QRandomGenerator>
#include <QSet>
#include <QString>

struct SoakTotals {
    qint64 commands = 0;
    qint64 imsSent = 0;
    qint64 imsReceived = 0;
    qint64 chatSent = 0;
    qint64 chatReceived = 0; // from others
    qint64 roomJoins = 0;
    qint64 roomLeaves = 0;
    qint64 awayChanges = 0;
    qint64 idleChanges = 0;
    qint64 buddyAdds = 0;
    qint64 buddyRemoves = 0;
    qint64 presenceReceived = 0;
    QString failure; // the first one

    void fail(const QString &why) {
        if (failure.isEmpty())
            failure = why;
    }
};

struct SoakPresence {
    bool online = false;
    bool away = false;
    bool idle = false;
    bool operator==(const SoakPresence &o) const {
        return online == o.online && away == o.away && idle == o.idle;
    }
};

class SoakClient : public BenchTocClient {
  public:
    static constexpr int kRooms = 6;
    static QString nameOf(int index);

    SoakClient(int index, int clientCount, SoakTotals *totals);

    void act(QRandomGenerator &rng);
    // A status request for a name nobody has: its error comes back after
    // everything the server did for this client's earlier lines.
    void sendBarrier();
    int barriersAnswered() const { return m_barriers; }

    SoakPresence ownPresence() const { return {true, m_away, m_idle}; }
    // After the traffic has drained: the room echoes are complete and each
    // buddy's last presence is what `actual` says.
    void checkAtEnd(const QHash<QString, SoakPresence> &actual);

  private:
    enum class Room { Out, Joining, In, Leaving };

    void onLine(const QByteArray &bytes) override;
    void command(const QString &line);
    void sendIm(QRandomGenerator &rng);
    void roomStep(QRandomGenerator &rng);
    void buddyStep(QRandomGenerator &rng);
    void onIm(const QString &line);
    void onChatIn(const QString &line);
    void onChatMembers(const QString &line);
    void onRoomJoined(const QString &line);
    void onRoomLeft(const QString &line);
    void onPresence(const QString &line);
    QString otherName(QRandomGenerator &rng) const;

    const int m_index;
    const int m_clientCount;
    SoakTotals *m_totals;
    QHash<QString, int> m_imsSent;     // per receiver: the next IM's number
    QHash<QString, int> m_imsExpected; // per sender: the next IM's number
    Room m_room = Room::Out;
    QString m_roomId;
    QSet<QString> m_roomMates;        // as this client has seen them join and leave
    QHash<QString, int> m_lastInRoom; // per room mate: last message number since it joined
    int m_chatSent = 0;
    int m_chatEchoed = 0;
    bool m_away = false;
    bool m_idle = false;
    QSet<QString> m_buddies;
    QHash<QString, SoakPresence> m_seen; // per buddy: the last UPDATE_BUDDY2
    int m_barriers = 0;
};
