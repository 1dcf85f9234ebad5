#include "buddybook.h"

#include "protocol/qeltocsock.h"
#include "protocol/wire.h"

BuddyBook::BuddyBook(QelTOCSock *toc, QObject *parent) : QObject(parent), m_toc(toc) {}

void BuddyBook::load(const QStringList &BuddyList) {
    groups.clear();
    buddies.clear();
    const QString marker = QStringLiteral("[group]");
    QString group;
    for (const QString &entry : BuddyList) {
        if (entry.contains(marker)) {
            group = entry;
            group.remove(marker);
            groups.append(group);
        } else {
            buddies.append(group + QLatin1Char(':') + toc::normalizeScreenName(entry));
        }
    }
}

bool BuddyBook::isGroup(const QString &text) const {
    const QString n = toc::normalizeScreenName(text);
    for (const QString &g : groups)
        if (toc::normalizeScreenName(g) == n)
            return true;
    return false;
}

QStringList BuddyBook::groupsOf(const QString &buddy) const {
    return buddies.groupsOf(toc::normalizeScreenName(buddy));
}

bool BuddyBook::addBuddy(const QString &group, const QString &buddy) {
    if (!m_toc->AddBuddy(group, buddy))
        return false;
    buddies.append(group + QLatin1Char(':') + buddy);
    return true;
}

bool BuddyBook::addGroup(const QString &group) {
    if (!m_toc->AddGroup(group))
        return false;
    groups.append(group);
    emit groupAdded(group);
    return true;
}

bool BuddyBook::removeBuddy(const QString &group, const QString &buddy) {
    if (!m_toc->RemoveBuddy(group, buddy))
        return false;
    emit buddyRemoved(group, buddy);
    return true;
}

bool BuddyBook::removeGroup(const QString &group) {
    // The group stays among `groups` and its buddies stay known: the server
    // may still report them.
    if (!m_toc->RemoveGroup(group))
        return false;
    emit groupRemoved(group);
    return true;
}
