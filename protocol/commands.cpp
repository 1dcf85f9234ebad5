#include "commands.h"

#include "wire.h"

namespace toc::cmd {

namespace {

QString quoted(const QString &text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}
// A name the user typed (a group, a room) goes between quotes that servers
// read like a CSV field: a quote inside it is doubled, which arrives as one
// quote; a backslash-escaped quote followed by a space would end it there.
QString quotedName(const QString &text) {
    QString doubled = text;
    doubled.replace(QLatin1String("\""), QLatin1String("\"\""));
    return quoted(doubled);
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
// Messages are HTML. A server that reads arguments like CSV ends one at an
// escaped quote followed by a space ("say \"hi\" now" arrives as "say \"hi"),
// so no double quote goes out: in text it becomes its entity, in a tag the
// attribute takes single quotes (and a single quote inside such a value its
// entity). Either way the HTML reads the same.
QString escHtml(const QString &html) {
    QString text;
    text.reserve(html.size());
    bool inTag = false;
    bool inValue = false;
    for (const QChar c : html) {
        if (c == u'"') {
            if (inTag)
                inValue = !inValue;
            text += inTag ? QStringLiteral("'") : QStringLiteral("&quot;");
        } else if (c == u'\'' && inValue) {
            text += QLatin1String("&#39;");
        } else {
            if (c == u'<' && !inTag)
                inTag = true;
            else if (c == u'>' && !inValue)
                inTag = false;
            text += c;
        }
    }
    return escapeArgument(text);
}

} // namespace

bool fitsServer(const QString &line) {
    return line.toUtf8().size() + 1 <= kServerLineLimit;
}

QString initDone() {
    return QStringLiteral("toc_init_done");
}

QString sendIm(const QString &user, const QString &message, bool autoResponse) {
    QString line = QStringLiteral("toc_send_im ") + quoted(norm(user)) + QLatin1Char(' ') +
                   quoted(escHtml(message));
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
    return QStringLiteral("toc_set_away ") + quoted(escHtml(message));
}

QString setInfo(const QString &profile) {
    return QStringLiteral("toc_set_info ") + quoted(escHtml(profile));
}

QString setIdle(qint32 seconds) {
    return QStringLiteral("toc_set_idle ") + quotedNumber(seconds);
}

// Servers read the state as a bare number after the quoted name.
QString clientEvent(const QString &user, int typing) {
    return QStringLiteral("toc2_client_event ") + quoted(norm(user)) + QLatin1Char(' ') +
           QString::number(typing);
}

// One argument per capability identifier (servers read no list inside one
// argument); the identifiers go out as given, unescaped.
QString setCaps(const QString &caps) {
    QString line = QStringLiteral("toc_set_caps");
    for (const QString &id : caps.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        line += QLatin1Char(' ') + quoted(id);
    return line;
}

// The formatted name goes out as given, unescaped.

QString formatNickname(const QString &formatted) {
    return QStringLiteral("toc_format_nickname ") + quoted(formatted);
}

QString changePassword(const QString &oldPassword, const QString &newPassword) {
    return QStringLiteral("toc_change_passwd ") + quoted(esc(oldPassword)) + QLatin1Char(' ') +
           quoted(esc(newPassword));
}

// Servers remove each backslash from the room name: a backslash typed in it
// is doubled to arrive whole.
QString chatJoin(qint16 exchange, const QString &room) {
    QString name = room.trimmed();
    name.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    return QStringLiteral("toc_chat_join ") + quotedNumber(exchange) + QLatin1Char(' ') +
           quotedName(name);
}

QString chatLeave(qint32 id) {
    return QStringLiteral("toc_chat_leave ") + quotedNumber(id);
}

QString chatSend(qint32 id, const QString &message) {
    return QStringLiteral("toc_chat_send ") + quotedNumber(id) + QLatin1Char(' ') +
           quoted(escHtml(message));
}

QString chatAccept(qint32 id) {
    return QStringLiteral("toc_chat_accept ") + quotedNumber(id);
}

QString chatInvite(qint32 id, const QString &message, const QString &users) {
    return QStringLiteral("toc_chat_invite ") + quotedNumber(id) + QLatin1Char(' ') +
           quoted(escHtml(message)) + QLatin1Char(' ') + quoted(norm(users));
}

// The group and buddy records go inside one quoted argument, a line each.
QString newBuddies(const QString &group, const QString &buddy) {
    return QStringLiteral("toc2_new_buddies \"g:") + esc(group) + QStringLiteral("\nb:") +
           esc(buddy) + QStringLiteral("\n\"");
}

// The buddy goes out as the list holds it: neither normalised nor escaped.
// So does the group, which servers take as written ("Work (old)", not
// "Work \(old\)"); only its quotes are doubled.
QString removeBuddy(const QString &group, const QString &buddy) {
    return QStringLiteral("toc2_remove_buddy ") + quotedName(buddy) + QLatin1Char(' ') +
           quotedName(group);
}

// These groups are unescaped by servers after the argument is read.
QString newGroup(const QString &group) {
    return QStringLiteral("toc2_new_group ") + quotedName(esc(group));
}

QString delGroup(const QString &group) {
    return QStringLiteral("toc2_del_group ") + quotedName(esc(group));
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
