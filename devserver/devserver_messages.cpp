// IMs, typing events, warnings and the user's own status: away, idle,
// profile, capabilities and formatted name.
#include "devserver/devserver.h"

#include "devserver/names.h"
#include "devserver/serverlines.h"
#include "protocol/wire.h"

#include <QDateTime>
#include <QUrl>

namespace devserver {

namespace {

constexpr int kWarnNormal = 10;
constexpr int kWarnAnonymous = 3;
constexpr int kMaxCaps = 32;
constexpr int kMaxImSenders = 1000; // remembered per user, for warnings

QString percentEncoded(const QString &text) {
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

// A capability identifier: hex digits and dashes, as long as a UUID at most.
bool isCapability(const QString &id) {
    if (id.isEmpty() || id.size() > 36)
        return false;
    for (QChar c : id) {
        if (!c.isDigit() && !(c >= QLatin1Char('a') && c <= QLatin1Char('f')) &&
            c != QLatin1Char('-'))
            return false;
    }
    return true;
}

} // namespace

void DevServer::cmdInitDone(Connection &c, const QStringList &) {
    announce(c);
}

void DevServer::cmdSendIm(Connection &c, const QStringList &a) {
    if (a.size() < 2) {
        sendError(c, kInternalError);
        return;
    }
    sendIm(*c.user, a[0], a[1], a.value(2) == QLatin1String("auto"));
}

// toc2_send_im_enc <user> <flags> <encoding> <language> <message> [auto]
void DevServer::cmdSendImEnc(Connection &c, const QStringList &a) {
    if (a.size() < 5) {
        sendError(c, kInternalError);
        return;
    }
    sendIm(*c.user, a[0], a[4], a.value(5) == QLatin1String("auto"));
}

// An IM nobody can receive (offline, unknown, blocking) is dropped without a word.
void DevServer::sendIm(OnlineUser &from, const QString &to, const QString &message,
                       bool autoResponse) {
    OnlineUser *target = nullptr;
    if (!canReach(from, to, &target))
        return;
    if (!target->service && target->imedBy.size() < kMaxImSenders)
        target->imedBy.insert(from.name);
    const QString cls = userClass(from.service, from.away());
    for (const auto &c : target->connections) {
        if (c->initDone)
            send(*c, imInLine(c->style, from.formatted, autoResponse, cls, message));
    }
}

void DevServer::cmdClientEvent(Connection &c, const QStringList &a) {
    bool ok = false;
    const qint32 event = a.size() >= 2 ? toc::toInt32(a[1], &ok) : 0;
    if (!ok || event < 0 || event > 2) {
        sendError(c, kInternalError);
        return;
    }
    sendClientEvent(*c.user, a[0], event);
}

void DevServer::sendClientEvent(OnlineUser &from, const QString &to, int event) {
    OnlineUser *target = nullptr;
    if (canReach(from, to, &target))
        send(*target, QStringLiteral("CLIENT_EVENT2:") + from.formatted + QLatin1Char(':') +
                          QString::number(event));
}

// Only a user who has sent the warner an IM can be warned.
void DevServer::cmdEvil(Connection &c, const QStringList &a) {
    OnlineUser &u = *c.user;
    if (a.size() < 2 || (a[1] != QLatin1String("norm") && a[1] != QLatin1String("anon"))) {
        sendError(c, kInternalError);
        return;
    }
    OnlineUser *target = nullptr;
    if (!canReach(u, a[0], &target) || target == &u || !u.imedBy.contains(target->name)) {
        sendError(c, QStringLiteral("ERROR:902"));
        return;
    }
    const bool anonymous = a[1] == QLatin1String("anon");
    target->warning = qMin(100, target->warning + (anonymous ? kWarnAnonymous : kWarnNormal));
    m_store->setWarning(target->name, target->warning);
    send(*target, QStringLiteral("EVILED:") + QString::number(target->warning) + QLatin1Char(':') +
                      (anonymous ? QString() : u.formatted));
    broadcastPresence(*target);
}

void DevServer::cmdGetStatus(Connection &c, const QStringList &a) {
    // Clients ask for their own status to learn that the server still
    // answers: that is answered whatever the privacy settings say.
    if (!a.isEmpty() && toc::normalizeScreenName(a[0]) == c.user->name) {
        send(c, presenceLine(*c.user));
        return;
    }
    OnlineUser *target = nullptr;
    if (a.isEmpty() || !canReach(*c.user, a[0], &target)) {
        sendError(c, QStringLiteral("ERROR:901:") + a.value(0));
        return;
    }
    send(c, presenceLine(*target));
}

// Always a relative URL, whoever the target: the TOC port itself serves the
// page, or says the user is unavailable.
void DevServer::cmdGetInfo(Connection &c, const QStringList &a) {
    if (a.isEmpty() || a[0].isEmpty()) {
        sendError(c, kInternalError);
        return;
    }
    const QString &from = c.user->name;
    send(c, QStringLiteral("GOTO_URL:profile:info?cookie=") + m_cookie.make(from, a[0]) +
                QStringLiteral("&from=") + percentEncoded(from) + QStringLiteral("&user=") +
                percentEncoded(a[0]));
}

void DevServer::cmdSetInfo(Connection &c, const QStringList &a) {
    m_store->setProfile(c.user->name, a.value(0));
}

// The account shows as away only while every connection of it is.
void DevServer::cmdSetAway(Connection &c, const QStringList &a) {
    OnlineUser &u = *c.user;
    const QString message = a.value(0);
    const bool wasAway = u.away();
    c.away = !message.isEmpty();
    if (c.away)
        u.awayMessage = message;
    if (wasAway != u.away())
        broadcastPresence(u);
}

void DevServer::cmdSetIdle(Connection &c, const QStringList &a) {
    bool ok = false;
    const qint32 seconds = a.isEmpty() ? 0 : toc::toInt32(a[0], &ok);
    if (!ok || seconds < 0) {
        sendError(c, kInternalError);
        return;
    }
    c.user->idleSince = seconds > 0 ? QDateTime::currentSecsSinceEpoch() - seconds : 0;
    broadcastPresence(*c.user);
}

// One argument per identifier, or comma-separated ones; an argument holding
// a space is not an identifier list and is ignored whole.
void DevServer::cmdSetCaps(Connection &c, const QStringList &a) {
    QStringList caps;
    for (const QString &arg : a) {
        if (arg.contains(QLatin1Char(' ')))
            continue;
        for (const QString &part : arg.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const QString id = part.toLower();
            if (isCapability(id) && id != kChatCapability && !caps.contains(id) &&
                caps.size() < kMaxCaps)
                caps.append(id);
        }
    }
    c.user->caps = caps;
    broadcastPresence(*c.user);
}

void DevServer::cmdFormatNickname(Connection &c, const QStringList &a) {
    OnlineUser &u = *c.user;
    const QString formatted = a.value(0);
    if (toc::normalizeScreenName(formatted) != u.name || !isValidFormattedName(formatted) ||
        !m_store->setFormatted(u.name, formatted)) {
        sendError(c, QStringLiteral("ERROR:913"));
        return;
    }
    u.formatted = formatted;
    send(c, QStringLiteral("ADMIN_NICK_STATUS:0"));
    send(c, QStringLiteral("NICK:") + formatted);
    broadcastPresence(u);
}

} // namespace devserver
