#pragma once
// The known-buddy list: entries "group:screenname" in the order they were
// added, never emptied. An index from the screen-name piece to the groups
// lets a sign-on update find its groups without walking every entry.

#include <QHash>
#include <QString>
#include <QStringList>

class KnownBuddies {
public:
    void append(const QString &entry);
    int count() const { return int(m_entries.size()); }
    const QString &at(int i) const { return m_entries.at(i); }
    const QStringList &entries() const { return m_entries; }

    // The group pieces of every entry whose second piece equals `buddy`
    // exactly, in entry order.
    QStringList groupsOf(const QString &buddy) const { return m_groupsOf.value(buddy); }

private:
    QStringList m_entries;
    QHash<QString, QStringList> m_groupsOf;
};
