// Presence: who sees whom online, and the UPDATE_BUDDY2 and BUDDY_CAPS2
// lines that follow every change. A user is shown to an online watcher (an
// online user listing it as a buddy) when the user's privacy mode allows
// that watcher; `visibleTo` records who currently sees the user online, so
// that every change reaches exactly them and visibility changes are sent
// once.
#include "devserver/devserver.h"

#include "devserver/serverlines.h"
#include "protocol/wire.h"

#include <QDateTime>

namespace devserver {

QString DevServer::presenceLine(const OnlineUser &u, bool online) const {
    if (!online)
        return updateBuddyLine(u.formatted, false, 0, 0, 0, userClass(u.service, false));
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    const qint64 idle = u.idleSince > 0 ? qMax<qint64>(0, (now - u.idleSince) / 60) : 0;
    return updateBuddyLine(u.formatted, true, u.warning, u.signOnTime, idle,
                           userClass(u.service, u.away));
}

void DevServer::showTo(OnlineUser &u, OnlineUser &watcher) {
    send(watcher, presenceLine(u, true));
    if (!u.caps.isEmpty())
        send(watcher, QStringLiteral("BUDDY_CAPS2:") + u.formatted + QLatin1Char(':') + u.caps);
    u.visibleTo.insert(watcher.name);
}

void DevServer::goOnline(OnlineUser &u) {
    if (u.online)
        return;
    u.online = true;
    for (const QString &b : std::as_const(u.buddies)) {
        m_watchers[b].insert(u.name);
        OnlineUser *buddy = user(b);
        if (buddy && buddy->online && buddy->config.allows(u.name))
            showTo(*buddy, u);
    }
    refreshVisibility(u);
}

void DevServer::broadcastPresence(OnlineUser &u) {
    if (!u.online)
        return;
    const QString line = presenceLine(u, true);
    for (const QString &w : std::as_const(u.visibleTo)) {
        if (OnlineUser *watcher = user(w))
            send(*watcher, line);
    }
}

void DevServer::refreshVisibility(OnlineUser &u) {
    if (!u.online)
        return;
    const QSet<QString> watchers = m_watchers.value(u.name);
    for (const QString &w : watchers) {
        OnlineUser *watcher = user(w);
        if (!watcher)
            continue;
        const bool allowed = u.config.allows(w);
        const bool visible = u.visibleTo.contains(w);
        if (allowed && !visible) {
            showTo(u, *watcher);
        } else if (!allowed && visible) {
            send(*watcher, presenceLine(u, false));
            u.visibleTo.remove(w);
        }
    }
}

void DevServer::configChanged(OnlineUser &u) {
    const QSet<QString> now = u.config.buddyNames();
    if (u.online) {
        for (const QString &b : now) {
            if (u.buddies.contains(b))
                continue;
            m_watchers[b].insert(u.name);
            OnlineUser *buddy = user(b);
            if (buddy && buddy->online && buddy->config.allows(u.name) &&
                !buddy->visibleTo.contains(u.name))
                showTo(*buddy, u);
        }
        for (const QString &b : std::as_const(u.buddies)) {
            if (now.contains(b))
                continue;
            auto it = m_watchers.find(b);
            if (it != m_watchers.end()) {
                it->remove(u.name);
                if (it->isEmpty())
                    m_watchers.erase(it);
            }
            if (OnlineUser *buddy = user(b))
                buddy->visibleTo.remove(u.name);
        }
    }
    u.buddies = now;
    refreshVisibility(u);
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
