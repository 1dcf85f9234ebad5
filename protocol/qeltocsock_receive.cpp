// Receiving: reassembly, the frame handler, and one event per decoded
// server line. The decoding itself is toc::decodeServerLine; what is kept
// here is the state: the chat-room table and the configuration being received.
#include "qeltocsock.h"

#include "commands.h"
#include "linkwatch.h"
#include "outgoinglines.h"
#include "serverconfig.h"
#include "serverline.h"
#include "wire.h"

#include <QTcpSocket>
#include <utility>
#include <variant>

namespace msg = toc::msg;

// Socket reads are cut into pieces of this size: the buffer's storage, kept
// from read to read, stays small however much the server sends at once.
static constexpr qint64 kReadChunk = 64 * 1024;

template <typename More> void QelTOCSock::receive(More more) {
    m_reading = true;
    quint32 generation = m_generation;
    QByteArrayView frame;
    for (;;) {
        while (generation == m_generation && m_receive.nextView(frame))
            HandlePacket(frame);
        if (generation != m_generation) {
            // A handler ended or restarted the connection: what is left
            // belonged to the old one.
            m_receive.clear();
            generation = m_generation;
        }
        if (!m_deferred.isEmpty())
            m_receive.append(std::exchange(m_deferred, QByteArray()));
        else if (!more())
            break;
    }
    m_reading = false;
}

void QelTOCSock::onReadyRead() {
    if (!isConnected())
        return;
    m_watch->heard();
    processIncoming(*Sock);
}

void QelTOCSock::processIncoming(QIODevice &device) {
    // Frames are being handled in place: nothing may be written under them.
    if (m_reading) {
        m_deferred += device.readAll();
        return;
    }
    receive([&] {
        const qint64 available = device.bytesAvailable();
        return available > 0 &&
               m_receive.appendFrom(qMin(available, kReadChunk), [&](char *into, qsizetype max) {
                   return device.read(into, max);
               }) > 0;
    });
}

void QelTOCSock::processIncoming(const QByteArray &bytes) {
    m_deferred += bytes;
    if (!m_reading)
        receive([] { return false; });
}

void QelTOCSock::dropReceived() {
    m_deferred.clear();
    // A read loop holds frames in place: it drops them itself once it sees
    // the new generation.
    if (!m_reading)
        m_receive.clear();
}

void QelTOCSock::HandlePacket(QByteArrayView frame) {
    emit IncomingPacket(QByteArray::fromRawData(frame.data(), frame.size()));
    const quint8 type = frame.size() > 1 ? quint8(frame[1]) : 0;
    switch (type) {
    case toc::SignOn:
        sendSignOn();
        break;
    case toc::Data: {
        const QByteArrayView data = frame.sliced(toc::kFlapHeaderSize);
        const QString line = toc::decodeLine(data);
        if (!data.isValidUtf8())
            m_rawNames.learn(data, line);
        dispatchLine(line);
        break;
    }
    case toc::FrameError:
    case toc::SignOff:
        break;
    case toc::KeepAlive:
        SendPacket(toc::KeepAlive, QByteArray());
        break;
    default:
        emit Error(0, QStringLiteral("Unknown Channel Detected: ") + QChar(ushort(type)));
        break;
    }
}

struct QelTOCSock::Dispatch {
    QelTOCSock &s;

    void operator()(const msg::Ignored &) const {}
    void operator()(const msg::ScreennameFormat &r) const { emit s.ScreennameFormat(r.formatted); }
    void operator()(const msg::ConfigPiece &r) const { s.handleConfig(r.text); }
    void operator()(const msg::Error &r) const { emit s.Error(r.code, r.text); }
    void operator()(const msg::BuddyUpdate &r) const {
        emit s.BuddyUpdate(r.buddy, r.online, r.warningLevel, r.onlineTime, r.idleTime,
                           r.userClass);
    }
    void operator()(const msg::BuddyCapabilities &r) const {
        emit s.BuddyCapabilities(r.user, r.caps);
    }
    void operator()(const msg::BuddyBart &r) const { emit s.BuddyBart(r.user, r.bart); }
    void operator()(const msg::ChatJoined &r) const {
        // The room is remembered in the first free slot, if any is left.
        const int free = s.freeChatSlot();
        if (free >= 0)
            s.m_chats[free] = ChatSlot{true, r.id, r.room};
        s.LastChatID = r.id;
        emit s.JoinedChat(r.room, s.LastChatID);
    }
    void operator()(const msg::ChatMembers &r) const {
        for (const QString &name : r.names)
            emit s.ChatUserUpdate(name, r.inside, r.id);
    }
    void operator()(const msg::ChatMessage &r) const {
        emit s.ChatMessage(r.id, r.from, r.message);
    }
    void operator()(const msg::ChatLeft &r) const {
        const int slot = s.chatSlotIndex(r.id);
        if (slot >= 0)
            s.m_chats[slot] = ChatSlot();
        emit s.ChatLeft(r.id);
    }
    void operator()(const msg::ChatInvite &r) const {
        emit s.ChatInvite(r.room, r.id, r.from, r.message);
    }
    void operator()(const msg::InstantMessage &r) const {
        emit s.InstantMessage(r.from, r.message, r.autoResponse, r.userClass);
    }
    void operator()(const msg::BuddyAdded &r) const {
        emit s.BuddyAdded(r.group, r.buddy, r.alias);
    }
    void operator()(const msg::BuddyRemoved &r) const { emit s.BuddyRemoved(r.group, r.buddy); }
    void operator()(const msg::GroupAdded &r) const { emit s.GroupAdded(r.group); }
    void operator()(const msg::GroupRemoved &r) const { emit s.GroupRemoved(r.group); }
    void operator()(const msg::PrivateBuddyAdded &r) const { emit s.PrivateBuddyAdded(r.buddy); }
    void operator()(const msg::PrivateBuddyRemoved &r) const {
        emit s.PrivateBuddyRemoved(r.buddy);
    }
    void operator()(const msg::BuddyBlocked &r) const { emit s.BuddyBlocked(r.buddy); }
    void operator()(const msg::BuddyUnblocked &r) const { emit s.BuddyUnblocked(r.buddy); }
    void operator()(const msg::UserProfile &r) const { emit s.UserProfile(r.url); }
    void operator()(const msg::Warned &r) const { emit s.Warned(r.level, r.from); }
    void operator()(const msg::ScreenNameFormatted &) const { emit s.ScreenNameFormatted(); }
    void operator()(const msg::PasswordChanged &) const { emit s.PasswordChanged(); }
    void operator()(const msg::RendezvousRequest &r) const {
        emit s.RendevousRequest(r.user, r.uuid, r.cookie, r.rendezvousIp, r.proposerIp,
                                r.verifiedIp, r.port);
    }
    void operator()(const msg::TypingStatus &r) const { emit s.TypingStatus(r.user, r.status); }
};

void QelTOCSock::dispatchLine(const QString &line) {
    std::visit(Dispatch{*this}, toc::decodeServerLine(line));
}

// Far beyond any real buddy list (several thousand entries fit in 1 MiB).
static constexpr qsizetype kMaxConfigChars = 16 * 1024 * 1024;

void QelTOCSock::handleConfig(const QString &piece) {
    // The end marker may be split over two pieces: look again from just
    // before where the new piece starts.
    const qsizetype from = qMax<qsizetype>(0, m_configRemainder.size() - 6);
    m_configRemainder += piece;
    if (toc::findConfigEnd(m_configRemainder, from) < 0) {
        // A server that never ends its configuration must not eat all memory.
        if (m_configRemainder.size() > kMaxConfigChars)
            m_configRemainder.clear();
        return;
    }
    const QString text = m_configRemainder;
    m_configRemainder.clear();
    const toc::ServerConfig config = toc::parseServerConfig(text);
    // What the handlers send (the profile, the capabilities) is the
    // sign-on's, and goes before toc_init_done; lines held meanwhile after.
    m_outgoing->signOnLinesFollow();
    emit LoggedIn(m_screenName, config.buddies, config.blocked, config.permitted, config.misc,
                  config.preferences, config.privacyMode);
    // A LoggedIn handler may have ended the connection.
    if (sendLine(toc::cmd::initDone()))
        m_watch->start();
    m_outgoing->signOnDone();
}
