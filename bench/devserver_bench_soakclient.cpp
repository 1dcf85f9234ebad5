#include "devserver_bench_soakclient.h"

#include "protocol/wire.h"

#include <iterator>

namespace {

const QString kGroup = QStringLiteral("Soak");
const QString kBarrierName = QStringLiteral("soak.barrier");

// The number after the last space of a message ("m 17", "c 4").
int messageNumber(const QString &message) {
    bool ok = false;
    const int n = message.mid(message.lastIndexOf(QLatin1Char(' ')) + 1).toInt(&ok);
    return ok ? n : -1;
}

} // namespace

QString SoakClient::nameOf(int index) {
    return QStringLiteral("soak%1").arg(index, 3, 10, QLatin1Char('0'));
}

SoakClient::SoakClient(int index, int clientCount, SoakTotals *totals)
    : BenchTocClient(nameOf(index)), m_index(index), m_clientCount(clientCount), m_totals(totals) {}

void SoakClient::command(const QString &line) {
    write(lineFrame(line));
    ++m_totals->commands;
}

QString SoakClient::otherName(QRandomGenerator &rng) const {
    const int other = (m_index + 1 + int(rng.bounded(m_clientCount - 1))) % m_clientCount;
    return nameOf(other);
}

void SoakClient::act(QRandomGenerator &rng) {
    const int roll = int(rng.bounded(100));
    if (roll < 45) {
        sendIm(rng);
    } else if (roll < 60) {
        roomStep(rng);
    } else if (roll < 70) {
        m_away = !m_away;
        command(m_away ? QStringLiteral("toc_set_away \"back soon\"")
                       : QStringLiteral("toc_set_away"));
        ++m_totals->awayChanges;
    } else if (roll < 80) {
        m_idle = !m_idle;
        command(m_idle ? QStringLiteral("toc_set_idle 600") : QStringLiteral("toc_set_idle 0"));
        ++m_totals->idleChanges;
    } else {
        buddyStep(rng);
    }
}

void SoakClient::sendIm(QRandomGenerator &rng) {
    const QString to = otherName(rng);
    command(QStringLiteral("toc2_send_im \"%1\" \"m %2\"").arg(to).arg(m_imsSent[to]++));
    ++m_totals->imsSent;
}

void SoakClient::roomStep(QRandomGenerator &rng) {
    if (m_room == Room::Out) {
        command(QStringLiteral("toc_chat_join 4 \"soakroom%1\"").arg(rng.bounded(kRooms)));
        m_room = Room::Joining;
        ++m_totals->roomJoins;
    } else if (m_room == Room::In && rng.bounded(4) != 0) {
        command(QStringLiteral("toc_chat_send %1 \"c %2\"").arg(m_roomId).arg(m_chatSent++));
        ++m_totals->chatSent;
    } else if (m_room == Room::In) {
        command(QStringLiteral("toc_chat_leave ") + m_roomId);
        m_room = Room::Leaving;
        ++m_totals->roomLeaves;
    }
}

void SoakClient::buddyStep(QRandomGenerator &rng) {
    const QString other = otherName(rng);
    if (m_buddies.size() < 5 || (m_buddies.size() < 30 && rng.bounded(2) == 0)) {
        if (m_buddies.contains(other))
            return;
        command(QStringLiteral("toc2_new_buddies \"g:%1\nb:%2\n\"").arg(kGroup, other));
        m_buddies.insert(other);
        ++m_totals->buddyAdds;
        return;
    }
    const QString gone = *std::next(m_buddies.cbegin(), rng.bounded(int(m_buddies.size())));
    command(QStringLiteral("toc2_remove_buddy \"%1\" \"%2\"").arg(gone, kGroup));
    m_buddies.remove(gone);
    m_seen.remove(gone);
    ++m_totals->buddyRemoves;
}

void SoakClient::sendBarrier() {
    command(QStringLiteral("toc_get_status \"%1\"").arg(kBarrierName));
}

void SoakClient::onLine(const QByteArray &bytes) {
    const QString line = QString::fromUtf8(bytes);
    if (line.startsWith(QLatin1String("IM_IN_ENC2:")))
        onIm(line);
    else if (line.startsWith(QLatin1String("CHAT_IN_ENC:")))
        onChatIn(line);
    else if (line.startsWith(QLatin1String("CHAT_UPDATE_BUDDY:")))
        onChatMembers(line);
    else if (line.startsWith(QLatin1String("CHAT_JOIN:")))
        onRoomJoined(line);
    else if (line.startsWith(QLatin1String("CHAT_LEFT:")))
        onRoomLeft(line);
    else if (line.startsWith(QLatin1String("UPDATE_BUDDY2:")))
        onPresence(line);
    else if (line == QLatin1String("ERROR:901:") + kBarrierName)
        ++m_barriers;
    else if (line.startsWith(QLatin1String("ERROR:")))
        m_totals->fail(m_name + QStringLiteral(" got ") + line);
}

void SoakClient::onIm(const QString &line) {
    const QStringList f = toc::splitFields(line, 10);
    const int n = messageNumber(f.value(9));
    int &expected = m_imsExpected[f.value(1)];
    if (n != expected)
        m_totals->fail(QStringLiteral("%1 got IM %2 from %3, expected %4")
                           .arg(m_name)
                           .arg(n)
                           .arg(f.value(1))
                           .arg(expected));
    expected = n + 1;
    ++m_totals->imsReceived;
}

void SoakClient::onRoomJoined(const QString &line) {
    if (m_room != Room::Joining) {
        m_totals->fail(m_name + QStringLiteral(" joined a room it did not ask for: ") + line);
        return;
    }
    m_room = Room::In;
    m_roomId = toc::splitFields(line, 3).value(1);
    m_roomMates.clear();
    m_lastInRoom.clear();
}

void SoakClient::onRoomLeft(const QString &line) {
    if (m_room != Room::Leaving || toc::splitFields(line, 2).value(1) != m_roomId)
        m_totals->fail(m_name + QStringLiteral(" left a room it did not leave: ") + line);
    m_room = Room::Out;
}

// "CHAT_UPDATE_BUDDY:<id>:T:<names>" on joins (all members for our own),
// "...:F:<name>" on leaves.
void SoakClient::onChatMembers(const QString &line) {
    const QStringList f = toc::splitFields(line, 0);
    if (f.value(1) != m_roomId || (m_room != Room::In && m_room != Room::Leaving)) {
        m_totals->fail(m_name + QStringLiteral(" got members of a room it is not in: ") + line);
        return;
    }
    const bool joined = f.value(2) == QLatin1String("T");
    for (const QString &name : f.mid(3)) {
        if (name == m_name)
            continue;
        m_lastInRoom.remove(name); // a new stay in the room starts from any number
        if (joined)
            m_roomMates.insert(name);
        else
            m_roomMates.remove(name);
    }
}

// "CHAT_IN_ENC:<id>:<sender>:F:A:en:<message>"
void SoakClient::onChatIn(const QString &line) {
    const QStringList f = toc::splitFields(line, 7);
    const QString &sender = f.value(2);
    const int n = messageNumber(f.value(6));
    if (f.value(1) != m_roomId || (m_room != Room::In && m_room != Room::Leaving)) {
        m_totals->fail(m_name + QStringLiteral(" got a message of a room it is not in: ") + line);
        return;
    }
    if (sender == m_name) {
        if (n != m_chatEchoed)
            m_totals->fail(QStringLiteral("%1 got its room message %2 back, expected %3")
                               .arg(m_name)
                               .arg(n)
                               .arg(m_chatEchoed));
        m_chatEchoed = n + 1;
        return;
    }
    if (!m_roomMates.contains(sender)) {
        m_totals->fail(m_name + QStringLiteral(" got a message from a non-member: ") + line);
        return;
    }
    const auto last = m_lastInRoom.constFind(sender);
    if (last != m_lastInRoom.constEnd() && n != *last + 1)
        m_totals->fail(QStringLiteral("%1 got room message %2 from %3 after %4")
                           .arg(m_name)
                           .arg(n)
                           .arg(sender)
                           .arg(*last));
    m_lastInRoom[sender] = n;
    ++m_totals->chatReceived;
}

// "UPDATE_BUDDY2:<name>:<T|F>:<warning>:<sign-on>:<idle minutes>:<class>:"
void SoakClient::onPresence(const QString &line) {
    ++m_totals->presenceReceived;
    const QStringList f = toc::splitFields(line, 8);
    if (!m_buddies.contains(f.value(1)))
        return; // sent before a removal this client has already made
    m_seen[f.value(1)] = SoakPresence{f.value(2) == QLatin1String("T"), f.value(6).contains('U'),
                                      f.value(5).toInt() > 0};
}

void SoakClient::checkAtEnd(const QHash<QString, SoakPresence> &actual) {
    if (m_chatEchoed != m_chatSent)
        m_totals->fail(QStringLiteral("%1 sent %2 room messages, %3 came back")
                           .arg(m_name)
                           .arg(m_chatSent)
                           .arg(m_chatEchoed));
    for (const QString &buddy : std::as_const(m_buddies)) {
        const auto seen = m_seen.constFind(buddy);
        if (seen == m_seen.constEnd() || !(*seen == actual.value(buddy)))
            m_totals->fail(
                QStringLiteral("%1 does not see the presence of %2 as it is").arg(m_name, buddy));
    }
}
