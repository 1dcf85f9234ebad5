#pragma once
// The known-buddy list: entries "group:screenname" in the order they were
// added, never emptied. An index from the screen-name piece to its entries
// lets a sign-on update find its groups without walking every entry.

#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <vector>

class KnownBuddies {
  public:
    void append(const QString &entry);
    void clear();
    int count() const { return int(m_entries.size()); }
    const QString &at(int i) const { return m_entries.at(i); }
    const QStringList &entries() const { return m_entries; }

    // The group pieces of every entry whose second piece equals `buddy`
    // exactly, in entry order.
    QStringList groupsOf(QStringView buddy) const;

  private:
    // Entries are cut at every colon; only the first two pieces count.
    static QStringView groupPiece(QStringView entry);
    static QStringView buddyPiece(QStringView entry, bool *present);

    QStringList m_entries;
    // Views into the entries' text: entries are never changed or removed,
    // so the text they point into lives as long as the list.
    QHash<QStringView, int> m_first; // first entry of a buddy piece
    QHash<QStringView, int> m_last;  // last entry, where the chain grows
    std::vector<int> m_next;         // next entry with the same piece, or -1
};
