// Presence: who sees whom online, and the UPDATE_BUDDY2 and BUDDY_CAPS2
// lines that follow every change. A user is shown to an online watcher (an
// online user listing it as a buddy) when both privacy modes allow it: the
// user's lets the watcher see it, and the watcher's lets it see the user.
// `visibleTo` records who currently sees the user online, so that every
// change reaches exactly them and a departure is sent once.
#include "devserver/devserver.h"

#include "devserver/serverlines.h"
#include "protocol/wire.h"

#include <QDateTime>

namespace devserver {

QString DevServer::presenceLine(const OnlineUser &u) const {
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    const qint64 idle = u.idleSince > 0 ? qMax<qint64>(0, (now - u.idleSince) / 60) : 0;
    return updateBuddyLine(u.formatted, true, u.warning, u.signOnTime, idle,
                           userClass(u.service, u.away()));
}

QString DevServer::capsLine(const OnlineUser &u) const {
    return QStringLiteral("BUDDY_CAPS2:") + u.formatted + QLatin1Char(':') +
           (u.caps + QStringList{kChatCapability}).join(QLatin1Char(','));
}

bool DevServer::sees(const OnlineUser &watcher, const OnlineUser &u) const {
    return u.online && watcher.online && u.config.allows(watcher.name) &&
           watcher.config.allows(u.name);
}

void DevServer::showTo(OnlineUser &u, OnlineUser &watcher) {
    send(watcher, presenceLine(u));
    send(watcher, capsLine(u));
    u.visibleTo.insert(watcher.name);
}

void DevServer::hideFrom(OnlineUser &u, OnlineUser &watcher) {
    if (u.visibleTo.remove(watcher.name))
        send(watcher, departureLine(u.name));
}

void DevServer::reconsider(OnlineUser &u, OnlineUser &watcher, bool resend) {
    if (!sees(watcher, u))
        hideFrom(u, watcher);
    else if (resend || !u.visibleTo.contains(watcher.name))
        showTo(u, watcher);
}

// At every toc_init_done: the account's buddies are shown to it again, and
// it is shown again to everybody who watches it.
void DevServer::announce(Connection &c) {
    OnlineUser &u = *c.user;
    c.initDone = true;
    if (!u.online) {
        u.online = true;
        for (const QString &b : std::as_const(u.buddies))
            m_watchers[b].insert(u.name);
    }
    for (const QString &b : std::as_const(u.buddies)) {
        if (OnlineUser *buddy = user(b))
            reconsider(*buddy, u, true);
    }
    const QSet<QString> watchers = m_watchers.value(u.name);
    for (const QString &w : watchers) {
        if (OnlineUser *watcher = user(w))
            reconsider(u, *watcher, true);
    }
}

void DevServer::broadcastPresence(OnlineUser &u) {
    if (!u.online)
        return;
    const QString line = presenceLine(u);
    const QString caps = capsLine(u);
    for (const QString &w : std::as_const(u.visibleTo)) {
        if (OnlineUser *watcher = user(w)) {
            send(*watcher, line);
            send(*watcher, caps);
        }
    }
}

// After any edit of u's configuration. A new privacy mode shows u afresh to
// every watcher still allowed, a permit or deny edit to the watchers named.
void DevServer::configChanged(OnlineUser &u, bool modeChanged, const QStringList &named) {
    const QSet<QString> now = u.config.buddyNames();
    if (u.online) {
        for (const QString &b : now) {
            if (!u.buddies.contains(b))
                m_watchers[b].insert(u.name);
        }
        for (const QString &b : std::as_const(u.buddies)) {
            if (!now.contains(b))
                stopWatching(u, b);
        }
    }
    u.buddies = now;
    for (const QString &b : now) {
        if (OnlineUser *buddy = user(b))
            reconsider(*buddy, u, false);
    }
    const QSet<QString> watchers = m_watchers.value(u.name);
    for (const QString &w : watchers) {
        if (OnlineUser *watcher = user(w))
            reconsider(u, *watcher, modeChanged || named.contains(w));
    }
    saveConfig(u);
}

void DevServer::saveConfig(OnlineUser &u) {
    if (!u.service && !m_store->saveConfig(u.name, u.config))
        log(QStringLiteral("cannot save the configuration of %1: %2")
                .arg(u.name, m_store->lastError()));
}

bool DevServer::canReach(const OnlineUser &from, const QString &to, OnlineUser **target) {
    OnlineUser *t = user(toc::normalizeScreenName(to));
    *target = t;
    return t && t->online && t->config.allows(from.name);
}

} // namespace devserver
