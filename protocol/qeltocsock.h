#pragma once
// The protocol control: owns the one TCP connection to a TOC server, frames
// and unframes FLAP, signs on, raises one typed signal per server line
// (decoded by toc::decodeServerLine) and offers one method per client
// command (its line built by toc::cmd).
//
// Commands return true when their line was queued on a connected socket
// (lines leave paced, see outgoinglines.h) and false when nothing was sent (not connected, data
// over 65535 bytes, a chat id that cannot be resolved, an idle time that overflows).

#include "framebuffer.h"
#include "rawnames.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <array>

class QIODevice;
class QTcpSocket;
namespace toc {
class LinkWatch;
class OutgoingLines;
} // namespace toc

class QelTOCSock : public QObject {
    Q_OBJECT

  public:
    static constexpr int kChatSlots = 11;
    static constexpr qint32 kDefaultPort = 5190;
    static constexpr qint64 kReadSlice = 64 * 1024; // bytes read per pass
    static const QString kDefaultAuthServer;        // "login.oscar.aol.com"
    static const QString kNoChatName;               // "[No Chat Name Found for ID]"
    static const QString kCapabilities;             // the two UUIDs sent after sign-on

    explicit QelTOCSock(QObject *parent = nullptr);
    ~QelTOCSock() override;

    // --- connection ---
    void Login(const QString &UserName, const QString &Password, const QString &TOCServer,
               qint32 Port, const QString &AuthServer = QString());
    void LogOff();
    bool SendPacket(qint16 intChannel, const QByteArray &strData);

    // --- client commands ---
    bool JoinChat(const QString &strRoomName, qint16 intExchange);
    bool LeaveChat(const QString &strChatName, qint32 lngChatID);
    bool SendChat(const QString &strChatName, const QString &strMessage, qint32 lngChatID);
    bool GetProfile(const QString &strUserName);
    bool SendIM(const QString &strUserName, const QString &strMessage, bool AutoResponse);
    bool ChangePassword(const QString &strOldPassword, const QString &strNewPassword);
    bool FormatUserName(const QString &strFormatted);
    bool SetAwayMessage(const QString &strAwayMessage);
    bool SetProfile(const QString &strProfile);
    bool GetStatus(const QString &strUserName);
    bool SetIdleTime(qint32 lngMinutes);
    bool SetIdleSeconds(qint32 seconds);
    bool SendTypingStatus(const QString &strUserName, int intTypingStatus);
    bool AcceptChatInvite(qint32 lngChatID);
    bool InviteUsers(const QString &strChatName, const QString &strInviteMessage,
                     const QString &strUsers, qint32 lngChatID);
    bool WarnUser(const QString &strUserName, bool blnAnonymous);
    bool AddBuddy(const QString &strGroup, const QString &strBuddy);
    bool RemoveBuddy(const QString &strGroup, const QString &strBuddy);
    bool AddGroup(const QString &strGroup);
    bool RemoveGroup(const QString &strGroup);
    bool BlockUser(const QString &strUserName);
    bool UnblockUser(const QString &strUserName);
    bool AddPrivateUser(const QString &strUserName);
    bool RemovePrivateUser(const QString &strUserName);
    bool SetPrivacy(qint16 intMode);
    bool SetCapability(const QString &strCapUUID);

    // --- text helpers ---
    static QString RemoveHtml(const QString &strMessage);
    QString GetChatName(qint32 lngChatID) const;

    // --- wire encoding ---
    static QString NormalizeScreenName(const QString &strName);
    static QString EscapeArgument(const QString &strText);
    static QByteArray WordToBytes(qint32 n);
    static qint32 BytesToWord(const QByteArray &strBytes);
    static QString RoastPassword(const QString &strPassword);

    // --- state ---
    qint32 LastChatID = 0;
    QTcpSocket *Sock = nullptr;
    qint32 port() const { return m_port; }
    QString screenName() const { return m_screenName; }
    QString tocServer() const { return m_tocServer; }
    QString authServer() const { return m_authServer; }
    qint32 sequenceNumber() const { return m_sequence; }
    bool isConnected() const;
    // Notices a server that stopped answering; its timers can be set.
    toc::LinkWatch *linkWatch() const { return m_watch; }
    // The command lines on their way out, paced (see outgoinglines.h).
    toc::OutgoingLines *outgoingLines() const { return m_outgoing; }

    // Hands bytes to reassembly and the frame handler exactly as if the
    // socket had delivered them; the fuzzers drive the receive path through
    // it without a socket.
    void processIncoming(const QByteArray &bytes);
    // Reads what the device holds the way the socket's own reads do:
    // straight into the frame buffer, frames handled in place.
    void processIncoming(QIODevice &device);

  signals:
    void JoinedChat(const QString &strChatName, qint32 lngChatID);
    void ChatMessage(qint32 lngChatID, const QString &strUserName, const QString &strMessage);
    void ChatInvite(const QString &strChatName, qint32 lngChatID, const QString &strFromUser,
                    const QString &strInviteMessage);
    void ChatLeft(qint32 lngChatID);
    void ChatUserUpdate(const QString &strUserName, bool blnInside, qint32 lngChatID);
    void BuddyUpdate(const QString &strBuddy, bool blnOnline, qint16 intWarningLevel,
                     qint32 lngOnlineTime, qint32 lngIdleTime, const QString &strUserClass);
    void BuddyCapabilities(const QString &strUserName, const QString &strCaps);
    void BuddyBart(const QString &strUserName, const QString &strBart);
    void BuddyAdded(const QString &strGroup, const QString &strBuddy, const QString &strAlias);
    void GroupAdded(const QString &strGroup);
    void PrivateBuddyAdded(const QString &strBuddy);
    void BuddyBlocked(const QString &strBuddy);
    void BuddyRemoved(const QString &strGroup, const QString &strBuddy);
    void GroupRemoved(const QString &strGroup);
    void PrivateBuddyRemoved(const QString &strBuddy);
    void BuddyUnblocked(const QString &strBuddy);
    void LoggedIn(const QString &strUserName, const QStringList &BuddyList,
                  const QStringList &BlockList, const QStringList &PrivateList,
                  const QStringList &MiscData, const QString &strPreferences, qint16 PrivacyMode);
    void LoggedOut(const QString &strUserName);
    void ScreennameFormat(const QString &strFormattedSN);
    void InstantMessage(const QString &strUserName, const QString &strMessage, bool blnAutoResponse,
                        const QString &strUserClass);
    void UserProfile(const QString &strURL);
    void Error(qint16 intErrorCode, const QString &strError);
    void Warned(const QString &intWarningLevel, const QString &strFromUser);
    void TypingStatus(const QString &strUserName, qint16 intTypingStatus);
    void WinsockError(const QString &strError);
    void RendevousRequest(const QString &strUserName, const QString &strUUID,
                          const QString &strCookie, const QString &strRendevousIP,
                          const QString &strProposerIP, const QString &strVerifiedIP,
                          qint32 lngPort);
    // The whole frame, header included. The array refers to the receive
    // buffer (no copy is made): it is valid while the signal is delivered;
    // a receiver that keeps it, or is connected across threads, copies it.
    void IncomingPacket(const QByteArray &strPacket);
    void PasswordChanged();
    void ScreenNameFormatted();
    // The server closed the connection (once per connection).
    void Disconnected();
    // Raised before the error of a lost link: the partners of the IMs sent
    // shortly before, one entry per IM, which may never have arrived.
    void MessagesInDoubt(const QStringList &strUserNames);

  private:
    struct ChatSlot {
        bool used = false;
        qint32 id = 0;
        QString name;
    };
    // The slot holding the room id / the first free slot, or -1.
    int chatSlotIndex(qint32 id) const;
    int freeChatSlot() const;

    void onConnected();
    void onReadyRead();
    void onSocketError();
    void onSocketDisconnected();
    void linkLost(const QString &why);
    void closeSocket();
    void clearChatTable();

    // Raises the events of one decoded server line (qeltocsock_receive.cpp).
    struct Dispatch;

    // Cuts and handles the frames held, refilling from `more` (returns
    // false when it has nothing) until nothing is left.
    template <typename More> void receive(More more);
    void dropReceived();
    void HandlePacket(QByteArrayView frame);
    void dispatchLine(const QString &line);
    void handleConfig(const QString &piece);
    void sendSignOn();

    bool sendLine(const QString &line);
    bool resolveChatId(const QString &strChatName, qint32 lngChatID, qint32 *id) const;

    std::array<ChatSlot, kChatSlots> m_chats;
    toc::FrameBuffer m_receive;
    // Bytes that came while frames were being handled (a handler spinning
    // an event loop): the read loop takes them after the frames held.
    QByteArray m_deferred;
    toc::RawNames m_rawNames;
    toc::LinkWatch *m_watch = nullptr;
    toc::OutgoingLines *m_outgoing = nullptr;
    QString m_configRemainder;
    QString m_screenName;
    QString m_roastedPassword;
    QString m_authServer;
    QString m_tocServer;
    qint32 m_port = 0;
    qint32 m_sequence = 0;
    // Bumped whenever a connection is started or ended by us, so that a
    // read loop notices when a handler called Login or LogOff.
    quint32 m_generation = 0;
    bool m_reading = false;
    bool m_closingOurselves = false;
    bool m_disconnectReported = false;
};
