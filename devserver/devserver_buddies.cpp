// Buddy-list and privacy commands: groups, buddies, permit and deny lists
// and the privacy mode. Every change is stored and re-evaluates presence.
// The connection that made a change hears only NEW_BUDDY_REPLY2 for each
// buddy it added; the account's other connections get the change as
// INSERTED2/DELETED2 lines, a new group announced with an empty one first
// and a group whose buddies changed announced again.
#include "devserver/devserver.h"

#include "devserver/names.h"
#include "devserver/serverlines.h"
#include "protocol/wire.h"

namespace devserver {

namespace {

const QString kDefaultGroup = QStringLiteral("Buddies");
const QString kGroupAnnounced = QStringLiteral("INSERTED2:g:");

// Buddy records: "b:name", "b:name:alias" or "b:name:alias:::::note".
struct BuddyRecord {
    QString name;
    QString alias;
    QString note;
};

BuddyRecord buddyRecord(const QString &text) {
    const QStringList f = text.split(QLatin1Char(':'));
    return BuddyRecord{f.value(0), f.value(1), f.mid(6).join(QLatin1Char(':'))};
}

} // namespace

void DevServer::cmdNewBuddies(Connection &c, const QStringList &a) {
    OnlineUser &u = *c.user;
    if (a.value(0).isEmpty()) {
        sendError(c, kInternalError);
        return;
    }
    QStringList mirror;      // for the account's other connections
    QSet<QString> announced; // groups already named in `mirror`
    QString group;
    const auto useGroup = [&](const QString &name) {
        if (!isValidGroupName(name))
            return false;
        const bool created = u.config.addGroup(name);
        const BuddyGroup *g = u.config.findGroup(name);
        if (!g)
            return false; // too many groups
        group = g->name;
        if (created) {
            mirror << kGroupAnnounced << kGroupAnnounced + group;
            announced.insert(group);
        }
        return true;
    };
    for (const QString &record : a[0].split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (record.startsWith(QLatin1String("g:"))) {
            if (!useGroup(record.mid(2)))
                group.clear();
            continue;
        }
        if (!record.startsWith(QLatin1String("b:")))
            continue;
        const BuddyRecord b = buddyRecord(record.mid(2));
        const QString name = toc::normalizeScreenName(b.name);
        if (!isValidScreenName(name) || !isValidAlias(b.alias) || !isValidNote(b.note))
            continue;
        if (group.isEmpty() && !useGroup(kDefaultGroup))
            continue;
        if (!u.config.addBuddy(group, name, b.alias, b.note))
            continue; // already there, or a limit was reached
        if (!announced.contains(group)) {
            mirror << kGroupAnnounced + group;
            announced.insert(group);
        }
        mirror << QStringLiteral("INSERTED2:b:") + b.alias + QLatin1Char(':') + name +
                      QLatin1Char(':') + group;
        send(c, QStringLiteral("NEW_BUDDY_REPLY2:") + b.name + QStringLiteral(":added"));
    }
    if (mirror.isEmpty())
        return;
    sendOthers(c, mirror);
    configChanged(u);
}

// toc2_remove_buddy <buddy>... <group>
void DevServer::cmdRemoveBuddy(Connection &c, const QStringList &a) {
    OnlineUser &u = *c.user;
    const BuddyGroup *g = a.size() >= 2 ? u.config.findGroup(a.last()) : nullptr;
    if (!g) {
        sendError(c, kInternalError);
        return;
    }
    const QString group = g->name;
    QStringList mirror;
    for (const QString &buddy : a.first(a.size() - 1)) {
        const QString name = toc::normalizeScreenName(buddy);
        if (u.config.removeBuddy(group, name))
            mirror << QStringLiteral("DELETED2:b:") + name + QLatin1Char(':') + group;
    }
    if (mirror.isEmpty())
        return;
    sendOthers(c, mirror << kGroupAnnounced + group);
    configChanged(u);
}

void DevServer::cmdNewGroup(Connection &c, const QStringList &a) {
    const QString group = a.value(0);
    if (!isValidGroupName(group)) {
        sendError(c, kInternalError);
        return;
    }
    if (c.user->config.addGroup(group)) {
        sendOthers(c, {kGroupAnnounced, kGroupAnnounced + group});
        configChanged(*c.user);
    }
}

// The group goes with its buddies. Their lines name the group they were in.
void DevServer::cmdDelGroup(Connection &c, const QStringList &a) {
    OnlineUser &u = *c.user;
    const BuddyGroup *g = a.isEmpty() ? nullptr : u.config.findGroup(a[0]);
    if (!g) {
        sendError(c, kInternalError);
        return;
    }
    const QString group = g->name;
    QStringList mirror{QStringLiteral("DELETED2:g:") + group};
    for (const BuddyEntry &b : g->buddies)
        mirror << QStringLiteral("DELETED2:b:") + toc::normalizeScreenName(b.name) +
                      QLatin1Char(':') + group;
    mirror << kGroupAnnounced;
    u.config.removeGroup(group);
    sendOthers(c, mirror);
    configChanged(u);
}

void DevServer::editList(Connection &c, const QStringList &a, bool permit, bool add) {
    OnlineUser &u = *c.user;
    if (a.isEmpty()) {
        sendError(c, kInternalError);
        return;
    }
    QStringList *list = permit ? &u.config.permit : &u.config.deny;
    const QString prefix =
        QStringLiteral("%1:%2:").arg(add ? QStringLiteral("INSERTED2") : QStringLiteral("DELETED2"),
                                     permit ? QStringLiteral("p") : QStringLiteral("d"));
    QStringList named;
    QStringList mirror;
    for (const QString &arg : a) {
        const QString name = toc::normalizeScreenName(arg);
        if (!isValidScreenName(name))
            continue;
        if (add ? u.config.addListed(list, name) : u.config.removeListed(list, name)) {
            named << name;
            mirror << prefix + name;
        }
    }
    if (named.isEmpty())
        return;
    sendOthers(c, mirror);
    configChanged(u, false, named);
}

void DevServer::cmdAddDeny(Connection &c, const QStringList &a) {
    editList(c, a, false, true);
}
void DevServer::cmdRemoveDeny(Connection &c, const QStringList &a) {
    editList(c, a, false, false);
}
void DevServer::cmdAddPermit(Connection &c, const QStringList &a) {
    editList(c, a, true, true);
}
void DevServer::cmdRemovePermit(Connection &c, const QStringList &a) {
    editList(c, a, true, false);
}

// Nothing goes back to anybody's connection of the account; the watchers
// see the account afresh.
void DevServer::cmdSetPdMode(Connection &c, const QStringList &a) {
    bool ok = false;
    const qint32 mode = a.isEmpty() ? 0 : toc::toInt32(a[0], &ok);
    if (!ok || mode < AllowAll || mode > AllowBuddies) {
        sendError(c, kInternalError);
        return;
    }
    c.user->config.pdmode = mode;
    configChanged(*c.user, true);
}

} // namespace devserver
