// One method per client command; each sends the line its toc::cmd builder makes.
#include "qeltocsock.h"

#include "commands.h"
#include "linkwatch.h"

#include <limits>

namespace cmd = toc::cmd;

// A room named by id, or by the name it was joined under when a name is
// given with id 0. Servers number rooms from 0: without a name, 0 is the
// room with id 0.
bool QelTOCSock::resolveChatId(const QString &strChatName, qint32 lngChatID, qint32 *id) const {
    if (lngChatID != 0 || strChatName.isEmpty()) {
        *id = lngChatID;
        return true;
    }
    for (const ChatSlot &slot : m_chats) {
        if (slot.used && slot.name == strChatName) {
            *id = slot.id;
            return true;
        }
    }
    return false;
}

bool QelTOCSock::JoinChat(const QString &strRoomName, qint16 intExchange) {
    return sendLine(cmd::chatJoin(intExchange, strRoomName));
}

bool QelTOCSock::LeaveChat(const QString &strChatName, qint32 lngChatID) {
    qint32 id = 0;
    if (!resolveChatId(strChatName, lngChatID, &id))
        return false;
    return sendLine(cmd::chatLeave(id));
}

bool QelTOCSock::SendChat(const QString &strChatName, const QString &strMessage, qint32 lngChatID) {
    qint32 id = 0;
    if (!resolveChatId(strChatName, lngChatID, &id))
        return false;
    return sendLine(cmd::chatSend(id, strMessage));
}

bool QelTOCSock::GetProfile(const QString &strUserName) {
    return sendLine(cmd::getInfo(strUserName));
}

bool QelTOCSock::SendIM(const QString &strUserName, const QString &strMessage, bool AutoResponse) {
    if (!sendLine(cmd::sendIm(strUserName, strMessage, AutoResponse)))
        return false;
    // What the user wrote; an away message answers by itself.
    if (!AutoResponse)
        m_watch->sentIM(strUserName);
    return true;
}

bool QelTOCSock::ChangePassword(const QString &strOldPassword, const QString &strNewPassword) {
    return sendLine(cmd::changePassword(strOldPassword, strNewPassword));
}

bool QelTOCSock::FormatUserName(const QString &strFormatted) {
    return sendLine(cmd::formatNickname(strFormatted));
}

bool QelTOCSock::SetAwayMessage(const QString &strAwayMessage) {
    return sendLine(cmd::setAway(strAwayMessage));
}

bool QelTOCSock::SetProfile(const QString &strProfile) {
    return sendLine(cmd::setInfo(strProfile));
}

bool QelTOCSock::GetStatus(const QString &strUserName) {
    return sendLine(cmd::getStatus(strUserName));
}

bool QelTOCSock::SetIdleTime(qint32 lngMinutes) {
    // The server counts seconds; a count that does not fit is not sent.
    const qint64 seconds = qint64(lngMinutes) * 60;
    if (seconds > std::numeric_limits<qint32>::max() ||
        seconds < std::numeric_limits<qint32>::min())
        return false;
    return sendLine(cmd::setIdle(qint32(seconds)));
}

bool QelTOCSock::SetIdleSeconds(qint32 seconds) {
    return sendLine(cmd::setIdle(seconds));
}

bool QelTOCSock::SendTypingStatus(const QString &strUserName, int intTypingStatus) {
    return sendLine(cmd::clientEvent(strUserName, intTypingStatus));
}

bool QelTOCSock::AcceptChatInvite(qint32 lngChatID) {
    return sendLine(cmd::chatAccept(lngChatID));
}

bool QelTOCSock::InviteUsers(const QString &strChatName, const QString &strInviteMessage,
                             const QString &strUsers, qint32 lngChatID) {
    qint32 id = 0;
    if (!resolveChatId(strChatName, lngChatID, &id))
        return false;
    return sendLine(cmd::chatInvite(id, strInviteMessage, strUsers));
}

bool QelTOCSock::WarnUser(const QString &strUserName, bool blnAnonymous) {
    return sendLine(cmd::evil(strUserName, blnAnonymous));
}

bool QelTOCSock::AddBuddy(const QString &strGroup, const QString &strBuddy) {
    return sendLine(cmd::newBuddies(strGroup, strBuddy));
}

bool QelTOCSock::RemoveBuddy(const QString &strGroup, const QString &strBuddy) {
    return sendLine(cmd::removeBuddy(strGroup, strBuddy));
}

bool QelTOCSock::AddGroup(const QString &strGroup) {
    return sendLine(cmd::newGroup(strGroup));
}

bool QelTOCSock::RemoveGroup(const QString &strGroup) {
    return sendLine(cmd::delGroup(strGroup));
}

bool QelTOCSock::BlockUser(const QString &strUserName) {
    return sendLine(cmd::addDeny(strUserName));
}

bool QelTOCSock::UnblockUser(const QString &strUserName) {
    return sendLine(cmd::removeDeny(strUserName));
}

bool QelTOCSock::AddPrivateUser(const QString &strUserName) {
    return sendLine(cmd::addPermit(strUserName));
}

bool QelTOCSock::RemovePrivateUser(const QString &strUserName) {
    return sendLine(cmd::removePermit(strUserName));
}

bool QelTOCSock::SetPrivacy(qint16 intMode) {
    return sendLine(cmd::setPdMode(intMode));
}

bool QelTOCSock::SetCapability(const QString &strCapUUID) {
    return sendLine(cmd::setCaps(strCapUUID));
}
