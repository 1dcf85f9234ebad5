#include "devserver/buddyconfig.h"

#include "protocol/wire.h"

namespace devserver {

using toc::normalizeScreenName;

BuddyGroup *BuddyConfig::findGroup(const QString &name) {
    const QString key = normalizeScreenName(name);
    for (BuddyGroup &g : groups) {
        if (normalizeScreenName(g.name) == key)
            return &g;
    }
    return nullptr;
}

const BuddyGroup *BuddyConfig::findGroup(const QString &name) const {
    return const_cast<BuddyConfig *>(this)->findGroup(name);
}

bool BuddyConfig::addGroup(const QString &name) {
    if (findGroup(name) || groups.size() >= kMaxGroups)
        return false;
    groups.append(BuddyGroup{name, {}});
    return true;
}

bool BuddyConfig::removeGroup(const QString &name) {
    const QString key = normalizeScreenName(name);
    for (qsizetype i = 0; i < groups.size(); ++i) {
        if (normalizeScreenName(groups[i].name) == key) {
            groups.removeAt(i);
            return true;
        }
    }
    return false;
}

bool BuddyConfig::addBuddy(const QString &group, const QString &name, const QString &alias,
                           const QString &note) {
    BuddyGroup *g = findGroup(group);
    if (!g || buddyCount() >= kMaxBuddies)
        return false;
    const QString key = normalizeScreenName(name);
    for (const BuddyEntry &b : g->buddies) {
        if (normalizeScreenName(b.name) == key)
            return false;
    }
    g->buddies.append(BuddyEntry{key, alias, note});
    return true;
}

bool BuddyConfig::removeBuddy(const QString &group, const QString &name) {
    BuddyGroup *g = findGroup(group);
    if (!g)
        return false;
    const QString key = normalizeScreenName(name);
    for (qsizetype i = 0; i < g->buddies.size(); ++i) {
        if (normalizeScreenName(g->buddies[i].name) == key) {
            g->buddies.removeAt(i);
            return true;
        }
    }
    return false;
}

bool BuddyConfig::addListed(QStringList *list, const QString &normalized) {
    if (list->contains(normalized) || list->size() >= kMaxListed)
        return false;
    list->append(normalized);
    return true;
}

bool BuddyConfig::removeListed(QStringList *list, const QString &normalized) {
    return list->removeAll(normalized) > 0;
}

int BuddyConfig::buddyCount() const {
    int n = 0;
    for (const BuddyGroup &g : groups)
        n += int(g.buddies.size());
    return n;
}

bool BuddyConfig::hasBuddy(const QString &normalized) const {
    for (const BuddyGroup &g : groups) {
        for (const BuddyEntry &b : g.buddies) {
            if (normalizeScreenName(b.name) == normalized)
                return true;
        }
    }
    return false;
}

QSet<QString> BuddyConfig::buddyNames() const {
    QSet<QString> names;
    for (const BuddyGroup &g : groups) {
        for (const BuddyEntry &b : g.buddies)
            names.insert(normalizeScreenName(b.name));
    }
    return names;
}

bool BuddyConfig::allows(const QString &normalized) const {
    switch (pdmode) {
    case BlockAll:
        return false;
    case AllowPermitted:
        return permit.contains(normalized);
    case BlockDenied:
        return !deny.contains(normalized);
    case AllowBuddies:
        return hasBuddy(normalized);
    case AllowAll:
    default:
        return true;
    }
}

QStringList BuddyConfig::records() const {
    QStringList out;
    if (pdmode != ModeNotSet)
        out.append(QStringLiteral("m:") + QString::number(pdmode) + QLatin1Char('\n'));
    for (const QString &d : deny)
        out.append(QStringLiteral("d:") + d + QLatin1Char('\n'));
    for (const QString &p : permit)
        out.append(QStringLiteral("p:") + p + QLatin1Char('\n'));
    for (const BuddyGroup &g : groups) {
        out.append(QStringLiteral("g:") + g.name + QLatin1Char('\n'));
        for (const BuddyEntry &b : g.buddies) {
            // Entries stored before names were normalised are sent normalised too.
            QString record = QStringLiteral("b:") + normalizeScreenName(b.name);
            if (!b.alias.isEmpty() || !b.note.isEmpty())
                record += QLatin1Char(':') + b.alias;
            if (!b.note.isEmpty())
                record += QStringLiteral(":::::") + b.note;
            out.append(record + QLatin1Char('\n'));
        }
    }
    return out;
}

} // namespace devserver
