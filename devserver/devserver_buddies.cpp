// Buddy-list and privacy commands: groups, buddies, permit and deny lists
// and the privacy mode. Every change is stored and re-evaluates presence.
#include "devserver/devserver.h"

#include "devserver/names.h"
#include "protocol/wire.h"

namespace devserver {

namespace {
const QString kDefaultGroup = QStringLiteral("Buddies");
} // namespace

void DevServer::cmdNewBuddies(OnlineUser &u, const QStringList &a) {
    if (a.isEmpty()) {
        sendError(u, QStringLiteral("ERROR:911"));
        return;
    }
    bool changed = false;
    QString group;
    const auto useGroup = [&](const QString &name) {
        if (!isValidGroupName(name))
            return false;
        if (u.config.addGroup(name)) {
            send(u, QStringLiteral("INSERTED2:g:") + name);
            changed = true;
        }
        const BuddyGroup *g = u.config.findGroup(name);
        if (!g)
            return false; // too many groups
        group = g->name;
        return true;
    };
    const QStringList records =
        a.join(QLatin1Char('\n')).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &record : records) {
        if (record.startsWith(QLatin1String("g:"))) {
            if (!useGroup(record.mid(2)))
                group.clear();
            continue;
        }
        if (!record.startsWith(QLatin1String("b:")))
            continue;
        const QString rest = record.mid(2);
        const qsizetype colon = rest.indexOf(QLatin1Char(':'));
        const QString name = colon < 0 ? rest : rest.left(colon);
        const QString alias = colon < 0 ? QString() : rest.mid(colon + 1);
        if (!isValidScreenName(toc::normalizeScreenName(name)) || !isValidAlias(alias) ||
            !isValidGroupName(name))
            continue;
        if (group.isEmpty() && !useGroup(kDefaultGroup))
            continue;
        if (u.config.addBuddy(group, name, alias)) {
            changed = true;
            send(u, QStringLiteral("INSERTED2:b:") + alias + QLatin1Char(':') + name +
                        QLatin1Char(':') + group);
        } else if (!u.config.hasBuddy(toc::normalizeScreenName(name))) {
            continue; // a limit was reached
        }
        send(u, QStringLiteral("NEW_BUDDY_REPLY2:") + name + QStringLiteral(":added"));
    }
    if (changed)
        configChanged(u);
}

void DevServer::cmdRemoveBuddy(OnlineUser &u, const QStringList &a) {
    if (a.isEmpty()) {
        sendError(u, QStringLiteral("ERROR:911"));
        return;
    }
    QStringList groups;
    QStringList names = a;
    if (a.size() >= 2) {
        groups.append(names.takeLast());
    } else {
        for (const BuddyGroup &g : std::as_const(u.config.groups))
            groups.append(g.name);
    }
    bool changed = false;
    for (const QString &name : std::as_const(names)) {
        for (const QString &group : std::as_const(groups)) {
            const BuddyGroup *g = u.config.findGroup(group);
            const QString groupName = g ? g->name : group;
            if (u.config.removeBuddy(group, name)) {
                changed = true;
                send(u, QStringLiteral("DELETED2:b:") + name + QLatin1Char(':') + groupName);
            }
        }
    }
    if (changed)
        configChanged(u);
}

void DevServer::cmdNewGroup(OnlineUser &u, const QStringList &a) {
    const QString group = a.value(0);
    if (!isValidGroupName(group)) {
        sendError(u, QStringLiteral("ERROR:911"));
        return;
    }
    if (u.config.addGroup(group)) {
        send(u, QStringLiteral("INSERTED2:g:") + group);
        configChanged(u);
    }
}

void DevServer::cmdDelGroup(OnlineUser &u, const QStringList &a) {
    const QString group = a.value(0);
    const BuddyGroup *g = u.config.findGroup(group);
    if (!g)
        return;
    const QString name = g->name;
    u.config.removeGroup(group);
    send(u, QStringLiteral("DELETED2:g:") + name);
    configChanged(u);
}

void DevServer::editList(OnlineUser &u, const QStringList &a, bool permit, bool add) {
    if (a.isEmpty()) {
        sendError(u, QStringLiteral("ERROR:911"));
        return;
    }
    QStringList *list = permit ? &u.config.permit : &u.config.deny;
    const QString prefix =
        QStringLiteral("%1:%2:").arg(add ? QStringLiteral("INSERTED2") : QStringLiteral("DELETED2"),
                                     permit ? QStringLiteral("p") : QStringLiteral("d"));
    bool changed = false;
    for (const QString &arg : a) {
        const QString name = toc::normalizeScreenName(arg);
        if (!isValidScreenName(name))
            continue;
        if (add ? u.config.addListed(list, name) : u.config.removeListed(list, name)) {
            changed = true;
            send(u, prefix + name);
        }
    }
    if (changed)
        configChanged(u);
}

void DevServer::cmdAddDeny(OnlineUser &u, const QStringList &a) {
    editList(u, a, false, true);
}
void DevServer::cmdRemoveDeny(OnlineUser &u, const QStringList &a) {
    editList(u, a, false, false);
}
void DevServer::cmdAddPermit(OnlineUser &u, const QStringList &a) {
    editList(u, a, true, true);
}
void DevServer::cmdRemovePermit(OnlineUser &u, const QStringList &a) {
    editList(u, a, true, false);
}

void DevServer::cmdSetPdMode(OnlineUser &u, const QStringList &a) {
    bool ok = false;
    const qint32 mode = a.isEmpty() ? 0 : toc::toInt32(a[0], &ok);
    if (!ok || mode < AllowAll || mode > AllowBuddies) {
        sendError(u, QStringLiteral("ERROR:911"));
        return;
    }
    if (u.config.pdmode == mode)
        return;
    u.config.pdmode = mode;
    configChanged(u);
}

} // namespace devserver
