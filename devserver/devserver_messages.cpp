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
constexpr int kWarnAnonymous = 5;
} // namespace

void DevServer::cmdInitDone(OnlineUser &u, const QStringList &) {
    goOnline(u);
}

void DevServer::cmdSendIm(OnlineUser &u, const QStringList &a) {
    if (a.size() < 2) {
        sendError(u, QStringLiteral("ERROR:911"));
        return;
    }
    sendIm(u, a[0], a[1], a.size() > 2 && a[2] == QLatin1String("auto"));
}

void DevServer::sendIm(OnlineUser &from, const QString &to, const QString &message,
                       bool autoResponse) {
    OnlineUser *target = nullptr;
    if (!canReach(from, to, &target)) {
        sendError(from, QStringLiteral("ERROR:901:") + to);
        return;
    }
    send(*target,
         imInLine(from.formatted, autoResponse, userClass(from.service, from.away), message));
}

void DevServer::cmdClientEvent(OnlineUser &u, const QStringList &a) {
    bool ok = false;
    const qint32 event = a.size() >= 2 ? toc::toInt32(a[1], &ok) : 0;
    if (!ok) {
        sendError(u, QStringLiteral("ERROR:911"));
        return;
    }
    sendClientEvent(u, a[0], event);
}

void DevServer::sendClientEvent(OnlineUser &from, const QString &to, int event) {
    OnlineUser *target = nullptr;
    if (canReach(from, to, &target))
        send(*target, QStringLiteral("CLIENT_EVENT2:") + from.formatted + QLatin1Char(':') +
                          QString::number(event));
}

void DevServer::cmdEvil(OnlineUser &u, const QStringList &a) {
    if (a.size() < 2 || (a[1] != QLatin1String("norm") && a[1] != QLatin1String("anon"))) {
        sendError(u, QStringLiteral("ERROR:911"));
        return;
    }
    OnlineUser *target = nullptr;
    if (!canReach(u, a[0], &target) || target == &u) {
        sendError(u, QStringLiteral("ERROR:902:") + a[0]);
        return;
    }
    const bool anonymous = a[1] == QLatin1String("anon");
    target->warning = qMin(100, target->warning + (anonymous ? kWarnAnonymous : kWarnNormal));
    m_store->setWarning(target->name, target->warning);
    send(*target, QStringLiteral("EVILED:") + QString::number(target->warning) + QLatin1Char(':') +
                      (anonymous ? QString() : u.formatted));
    broadcastPresence(*target);
}

void DevServer::cmdGetStatus(OnlineUser &u, const QStringList &a) {
    OnlineUser *target = nullptr;
    if (a.isEmpty() || !canReach(u, a[0], &target)) {
        sendError(u, QStringLiteral("ERROR:901:") + a.value(0));
        return;
    }
    send(u, presenceLine(*target, true));
}

void DevServer::cmdGetInfo(OnlineUser &u, const QStringList &a) {
    OnlineUser *target = nullptr;
    if (a.isEmpty() || !canReach(u, a[0], &target) || httpPort() == 0) {
        sendError(u, QStringLiteral("ERROR:901:") + a.value(0));
        return;
    }
    QHostAddress host =
        u.endpoint ? u.endpoint->localAddress() : QHostAddress(QHostAddress::LocalHost);
    bool isV4 = false;
    const quint32 v4 = host.toIPv4Address(&isV4);
    if (isV4)
        host = QHostAddress(v4);
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(host.toString());
    url.setPort(httpPort());
    url.setPath(QStringLiteral("/info"));
    url.setQuery(QStringLiteral("screenname=") +
                 QString::fromLatin1(QUrl::toPercentEncoding(target->name)));
    send(u, QStringLiteral("GOTO_URL:profile:") + url.toString(QUrl::FullyEncoded));
}

void DevServer::cmdSetInfo(OnlineUser &u, const QStringList &a) {
    m_store->setProfile(u.name, a.value(0));
}

void DevServer::cmdSetAway(OnlineUser &u, const QStringList &a) {
    const QString message = a.value(0);
    const bool away = !message.isEmpty();
    const bool changed = away != u.away;
    u.away = away;
    u.awayMessage = message;
    if (changed)
        broadcastPresence(u);
}

void DevServer::cmdSetIdle(OnlineUser &u, const QStringList &a) {
    bool ok = false;
    const qint32 seconds = a.isEmpty() ? 0 : toc::toInt32(a[0], &ok);
    if (!ok || seconds < 0) {
        sendError(u, QStringLiteral("ERROR:911"));
        return;
    }
    u.idleSince = seconds > 0 ? QDateTime::currentSecsSinceEpoch() - seconds : 0;
    broadcastPresence(u);
}

void DevServer::cmdSetCaps(OnlineUser &u, const QStringList &a) {
    QStringList caps;
    for (const QString &arg : a)
        caps += arg.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    u.caps = caps.join(QLatin1Char(','));
    if (!u.online)
        return;
    const QString line = QStringLiteral("BUDDY_CAPS2:") + u.formatted + QLatin1Char(':') + u.caps;
    for (const QString &w : std::as_const(u.visibleTo)) {
        if (OnlineUser *watcher = user(w))
            send(*watcher, line);
    }
}

void DevServer::cmdFormatNickname(OnlineUser &u, const QStringList &a) {
    const QString formatted = a.value(0);
    if (toc::normalizeScreenName(formatted) != u.name || !isValidFormattedName(formatted) ||
        !m_store->setFormatted(u.name, formatted)) {
        sendError(u, QStringLiteral("ERROR:911"));
        return;
    }
    u.formatted = formatted;
    send(u, QStringLiteral("ADMIN_NICK_STATUS:0"));
    send(u, QStringLiteral("NICK:") + formatted);
}

} // namespace devserver
