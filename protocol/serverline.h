#pragma once
// Server lines as typed records: one pure function decodes a line through a
// table keyed by its command word. Each record carries exactly the values
// of the event the protocol control raises for it; nothing here knows a
// socket, the chat rooms or the configuration still being received.

#include <QString>
#include <QStringList>
#include <variant>

namespace toc {

namespace msg {

// Unknown command words and lines too short or malformed to use.
struct Ignored {};

struct ScreennameFormat {
    QString formatted;
};
// One CONFIG2 piece, the text after "CONFIG2:"; the server may split the
// configuration over several lines.
struct ConfigPiece {
    QString text;
};
struct Error {
    qint16 code = 0;
    QString text;
};
struct BuddyUpdate {
    QString buddy;
    bool online = false;
    qint16 warningLevel = 0;
    qint32 onlineTime = 0;
    qint32 idleTime = 0;
    QString userClass;
};
struct BuddyCapabilities {
    QString user;
    QString caps;
};
struct BuddyBart {
    QString user;
    QString bart;
};
struct ChatJoined {
    qint32 id = 0;
    QString room;
};
// One event per name: everyone listed when they come in, the first name
// only when they leave.
struct ChatMembers {
    qint32 id = 0;
    bool inside = false;
    QStringList names;
};
struct ChatMessage {
    qint32 id = 0;
    QString from;
    QString message;
};
struct ChatLeft {
    qint32 id = 0;
};
struct ChatInvite {
    QString room;
    qint32 id = 0;
    QString from;
    QString message;
};
struct InstantMessage {
    QString from;
    QString message;
    bool autoResponse = false;
    QString userClass;
};
struct BuddyAdded {
    QString group;
    QString buddy;
    QString alias;
};
struct BuddyRemoved {
    QString group;
    QString buddy;
};
struct GroupAdded {
    QString group;
};
struct GroupRemoved {
    QString group;
};
struct PrivateBuddyAdded {
    QString buddy;
};
struct PrivateBuddyRemoved {
    QString buddy;
};
struct BuddyBlocked {
    QString buddy;
};
struct BuddyUnblocked {
    QString buddy;
};
struct UserProfile {
    QString url;
};
struct Warned {
    QString level; // the number as decimal text, leading zeros dropped
    QString from;
};
struct ScreenNameFormatted {};
struct PasswordChanged {};
struct RendezvousRequest {
    QString user;
    QString uuid;
    QString cookie;
    QString rendezvousIp;
    QString proposerIp;
    QString verifiedIp;
    qint32 port = 0;
};
struct TypingStatus {
    QString user;
    qint16 status = 0;
};

} // namespace msg

using ServerRecord = std::variant<
    msg::Ignored, msg::ScreennameFormat, msg::ConfigPiece, msg::Error, msg::BuddyUpdate,
    msg::BuddyCapabilities, msg::BuddyBart, msg::ChatJoined, msg::ChatMembers, msg::ChatMessage,
    msg::ChatLeft, msg::ChatInvite, msg::InstantMessage, msg::BuddyAdded, msg::BuddyRemoved,
    msg::GroupAdded, msg::GroupRemoved, msg::PrivateBuddyAdded, msg::PrivateBuddyRemoved,
    msg::BuddyBlocked, msg::BuddyUnblocked, msg::UserProfile, msg::Warned, msg::ScreenNameFormatted,
    msg::PasswordChanged, msg::RendezvousRequest, msg::TypingStatus>;

// The record for one server line (already decoded from UTF-8, without its
// frame). The command word is the text before the first colon, matched
// exactly; an unknown word or a malformed line gives msg::Ignored.
ServerRecord decodeServerLine(const QString &line);

} // namespace toc
