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

// `groups` only grows at its end between loads, so the index takes in the
// new tail; a list replaced as a whole is indexed afresh. A server adding
// group after group costs one normalisation per group, not a walk of all.
bool BuddyBook::isGroup(const QString &text) const {
    if (groups.constData() != m_indexedData || groups.size() < m_indexed) {
        m_groupIndex.clear();
        m_indexed = 0;
    }
    for (; m_indexed < groups.size(); ++m_indexed)
        m_groupIndex.insert(toc::normalizeScreenName(groups.at(m_indexed)));
    m_indexedData = groups.constData();
    return m_groupIndex.contains(toc::normalizeScreenName(text));
}

QStringList BuddyBook::groupsOf(const QString &buddy) const {
    return buddies.groupsOf(toc::normalizeScreenName(buddy));
}

bool BuddyBook::addBuddy(const QString &group, const QString &buddy, const QString &writing) {
    if (!m_toc->AddBuddy(group, buddy))
        return false;
    buddies.append(group + QLatin1Char(':') + buddy);
    emit buddyAdded(group, buddy, writing.isEmpty() ? buddy : writing);
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
