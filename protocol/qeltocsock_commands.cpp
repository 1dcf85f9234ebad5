// One method per client command; each builds one line and sends it.
#include "qeltocsock.h"

#include "wire.h"

#include <limits>

namespace {

QString quoted(const QString &text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString norm(const QString &name) {
    return toc::normalizeScreenName(name);
}
QString esc(const QString &text) {
    return toc::escapeArgument(text);
}

} // namespace

bool QelTOCSock::resolveChatId(const QString &strChatName, qint32 lngChatID, qint32 *id) const {
    if (lngChatID != 0) {
        *id = lngChatID;
        return true;
    }
    for (const ChatSlot &slot : m_chats) {
        if (slot.name == strChatName) {
            *id = slot.id;
            return true;
        }
    }
    return false;
}

bool QelTOCSock::JoinChat(const QString &strRoomName, qint16 intExchange) {
    return sendLine(QStringLiteral("toc_chat_join ") + quoted(QString::number(intExchange)) +
                    QLatin1Char(' ') + quoted(strRoomName.trimmed()));
}

bool QelTOCSock::LeaveChat(const QString &strChatName, qint32 lngChatID) {
    qint32 id = 0;
    if (!resolveChatId(strChatName, lngChatID, &id))
        return false;
    return sendLine(QStringLiteral("toc_chat_leave ") + quoted(QString::number(id)));
}

bool QelTOCSock::SendChat(const QString &strChatName, const QString &strMessage, qint32 lngChatID) {
    qint32 id = 0;
    if (!resolveChatId(strChatName, lngChatID, &id))
        return false;
    return sendLine(QStringLiteral("toc_chat_send ") + quoted(QString::number(id)) +
                    QLatin1Char(' ') + quoted(esc(strMessage)));
}

bool QelTOCSock::GetProfile(const QString &strUserName) {
    return sendLine(QStringLiteral("toc_get_info ") + quoted(norm(strUserName)));
}

bool QelTOCSock::SendIM(const QString &strUserName, const QString &strMessage, bool AutoResponse) {
    QString line = QStringLiteral("toc_send_im ") + quoted(norm(strUserName)) + QLatin1Char(' ') +
                   quoted(esc(strMessage));
    if (AutoResponse)
        line += QStringLiteral(" auto");
    return sendLine(line);
}

bool QelTOCSock::ChangePassword(const QString &strOldPassword, const QString &strNewPassword) {
    return sendLine(QStringLiteral("toc_change_passwd ") + quoted(esc(strOldPassword)) +
                    QLatin1Char(' ') + quoted(esc(strNewPassword)));
}

bool QelTOCSock::FormatUserName(const QString &strFormatted) {
    return sendLine(QStringLiteral("toc_format_nickname ") + quoted(strFormatted));
}

bool QelTOCSock::SetAwayMessage(const QString &strAwayMessage) {
    return sendLine(QStringLiteral("toc_set_away ") + quoted(esc(strAwayMessage)));
}

bool QelTOCSock::SetProfile(const QString &strProfile) {
    return sendLine(QStringLiteral("toc_set_info ") + quoted(esc(strProfile)));
}

bool QelTOCSock::GetStatus(const QString &strUserName) {
    return sendLine(QStringLiteral("toc_get_status ") + quoted(norm(strUserName)));
}

bool QelTOCSock::SetIdleTime(qint32 lngMinutes) {
    const qint64 seconds = qint64(lngMinutes) * 60;
    if (seconds > std::numeric_limits<qint32>::max() ||
        seconds < std::numeric_limits<qint32>::min())
        return false;
    return sendLine(QStringLiteral("toc_set_idle ") + quoted(QString::number(seconds)));
}

bool QelTOCSock::AcceptChatInvite(qint32 lngChatID) {
    return sendLine(QStringLiteral("toc_chat_accept ") + quoted(QString::number(lngChatID)));
}

bool QelTOCSock::InviteUsers(const QString &strChatName, const QString &strInviteMessage,
                             const QString &strUsers, qint32 lngChatID) {
    qint32 id = 0;
    if (!resolveChatId(strChatName, lngChatID, &id))
        return false;
    return sendLine(QStringLiteral("toc_chat_invite ") + quoted(QString::number(id)) +
                    QLatin1Char(' ') + quoted(esc(strInviteMessage)) + QLatin1Char(' ') +
                    quoted(norm(strUsers)));
}

bool QelTOCSock::WarnUser(const QString &strUserName, bool blnAnonymous) {
    return sendLine(QStringLiteral("toc_evil ") + quoted(norm(strUserName)) + QLatin1Char(' ') +
                    quoted(blnAnonymous ? QStringLiteral("anon") : QStringLiteral("norm")));
}

bool QelTOCSock::AddBuddy(const QString &strGroup, const QString &strBuddy) {
    return sendLine(QStringLiteral("toc2_new_buddies \"g:") + esc(strGroup) +
                    QStringLiteral("\nb:") + esc(strBuddy) + QStringLiteral("\n\""));
}

bool QelTOCSock::RemoveBuddy(const QString &strGroup, const QString &strBuddy) {
    return sendLine(QStringLiteral("toc2_remove_buddy ") + quoted(strBuddy) + QLatin1Char(' ') +
                    quoted(esc(strGroup)));
}

bool QelTOCSock::AddGroup(const QString &strGroup) {
    return sendLine(QStringLiteral("toc2_new_group ") + quoted(esc(strGroup)));
}

bool QelTOCSock::RemoveGroup(const QString &strGroup) {
    return sendLine(QStringLiteral("toc2_del_group ") + quoted(esc(strGroup)));
}

bool QelTOCSock::BlockUser(const QString &strUserName) {
    return sendLine(QStringLiteral("toc2_add_deny ") + quoted(norm(strUserName)));
}

bool QelTOCSock::UnblockUser(const QString &strUserName) {
    return sendLine(QStringLiteral("toc2_remove_deny ") + quoted(norm(strUserName)));
}

bool QelTOCSock::AddPrivateUser(const QString &strUserName) {
    return sendLine(QStringLiteral("toc2_add_permit ") + quoted(norm(strUserName)));
}

bool QelTOCSock::RemovePrivateUser(const QString &strUserName) {
    return sendLine(QStringLiteral("toc2_remove_permit ") + quoted(norm(strUserName)));
}

bool QelTOCSock::SetPrivacy(qint16 intMode) {
    return sendLine(QStringLiteral("toc2_set_pdmode ") + QString::number(intMode));
}

bool QelTOCSock::SetCapability(const QString &strCapUUID) {
    return sendLine(QStringLiteral("toc_set_caps ") + quoted(strCapUUID));
}
