#include "knownbuddies.h"

void KnownBuddies::append(const QString &entry)
{
    m_entries.append(entry);
    // Entries are cut at every colon; only the first two pieces count.
    const QStringList pieces = entry.split(QLatin1Char(':'));
    if (pieces.size() >= 2)
        m_groupsOf[pieces.at(1)].append(pieces.at(0));
}
