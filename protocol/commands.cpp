#include "commands.h"

#include "wire.h"

namespace toc::cmd {

namespace {

QString quoted(const QString &text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}
QString quotedNumber(qint64 number) {
    return quoted(QString::number(number));
}
QString norm(const QString &name) {
    return normalizeScreenName(name);
}
QString esc(const QString &text) {
    return escapeArgument(text);
}

} // namespace

QString initDone() {
    return QStringLiteral("toc_init_done");
}

QString sendIm(const QString &user, const QString &message, bool autoResponse) {
    QString line = QStringLiteral("toc_send_im ") + quoted(norm(user)) + QLatin1Char(' ') +
                   quoted(esc(message));
    if (autoResponse)
        line += QStringLiteral(" auto");
    return line;
}

QString getInfo(const QString &user) {
    return QStringLiteral("toc_get_info ") + quoted(norm(user));
}

QString getStatus(const QString &user) {
    return QStringLiteral("toc_get_status ") + quoted(norm(user));
}

QString evil(const QString &user, bool anonymous) {
    return QStringLiteral("toc_evil ") + quoted(norm(user)) + QLatin1Char(' ') +
           quoted(anonymous ? QStringLiteral("anon") : QStringLiteral("norm"));
}

QString setAway(const QString &message) {
    return QStringLiteral("toc_set_away ") + quoted(esc(message));
}

QString setInfo(const QString &profile) {
    return QStringLiteral("toc_set_info ") + quoted(esc(profile));
}

QString setIdle(qint32 seconds) {
    return QStringLiteral("toc_set_idle ") + quotedNumber(seconds);
}

// The capability list and the formatted name go out as given, unescaped.
QString setCaps(const QString &caps) {
    return QStringLiteral("toc_set_caps ") + quoted(caps);
}

QString formatNickname(const QString &formatted) {
    return QStringLiteral("toc_format_nickname ") + quoted(formatted);
}

QString changePassword(const QString &oldPassword, const QString &newPassword) {
    return QStringLiteral("toc_change_passwd ") + quoted(esc(oldPassword)) + QLatin1Char(' ') +
           quoted(esc(newPassword));
}

QString chatJoin(qint16 exchange, const QString &room) {
    return QStringLiteral("toc_chat_join ") + quotedNumber(exchange) + QLatin1Char(' ') +
           quoted(room.trimmed());
}

QString chatLeave(qint32 id) {
    return QStringLiteral("toc_chat_leave ") + quotedNumber(id);
}

QString chatSend(qint32 id, const QString &message) {
    return QStringLiteral("toc_chat_send ") + quotedNumber(id) + QLatin1Char(' ') +
           quoted(esc(message));
}

QString chatAccept(qint32 id) {
    return QStringLiteral("toc_chat_accept ") + quotedNumber(id);
}

QString chatInvite(qint32 id, const QString &message, const QString &users) {
    return QStringLiteral("toc_chat_invite ") + quotedNumber(id) + QLatin1Char(' ') +
           quoted(esc(message)) + QLatin1Char(' ') + quoted(norm(users));
}

// The group and buddy records go inside one quoted argument, a line each.
QString newBuddies(const QString &group, const QString &buddy) {
    return QStringLiteral("toc2_new_buddies \"g:") + esc(group) + QStringLiteral("\nb:") +
           esc(buddy) + QStringLiteral("\n\"");
}

// The buddy goes out as the list holds it: neither normalised nor escaped.
QString removeBuddy(const QString &group, const QString &buddy) {
    return QStringLiteral("toc2_remove_buddy ") + quoted(buddy) + QLatin1Char(' ') +
           quoted(esc(group));
}

QString newGroup(const QString &group) {
    return QStringLiteral("toc2_new_group ") + quoted(esc(group));
}

QString delGroup(const QString &group) {
    return QStringLiteral("toc2_del_group ") + quoted(esc(group));
}

QString addDeny(const QString &user) {
    return QStringLiteral("toc2_add_deny ") + quoted(norm(user));
}

QString removeDeny(const QString &user) {
    return QStringLiteral("toc2_remove_deny ") + quoted(norm(user));
}

QString addPermit(const QString &user) {
    return QStringLiteral("toc2_add_permit ") + quoted(norm(user));
}

QString removePermit(const QString &user) {
    return QStringLiteral("toc2_remove_permit ") + quoted(norm(user));
}

// The mode is the one bare number among the commands.
QString setPdMode(qint16 mode) {
    return QStringLiteral("toc2_set_pdmode ") + QString::number(mode);
}

} // namespace toc::cmd
