#include "knownbuddies.h"

QStringView KnownBuddies::groupPiece(QStringView entry) {
    const qsizetype colon = entry.indexOf(QLatin1Char(':'));
    return colon < 0 ? entry : entry.left(colon);
}

QStringView KnownBuddies::buddyPiece(QStringView entry, bool *present) {
    const qsizetype first = entry.indexOf(QLatin1Char(':'));
    *present = first >= 0;
    if (first < 0)
        return {};
    const QStringView rest = entry.mid(first + 1);
    const qsizetype second = rest.indexOf(QLatin1Char(':'));
    return second < 0 ? rest : rest.left(second);
}

void KnownBuddies::clear() {
    m_entries.clear();
    m_first.clear();
    m_last.clear();
    m_next.clear();
}

void KnownBuddies::append(const QString &entry) {
    const int index = int(m_entries.size());
    m_entries.append(entry);
    m_next.push_back(-1);
    bool present = false;
    const QStringView buddy = buddyPiece(m_entries.last(), &present);
    if (!present)
        return;
    const auto last = m_last.find(buddy);
    if (last == m_last.end()) {
        m_first.insert(buddy, index);
        m_last.insert(buddy, index);
    } else {
        m_next[size_t(*last)] = index;
        *last = index;
    }
}

QStringList KnownBuddies::groupsOf(QStringView buddy) const {
    QStringList out;
    for (int i = m_first.value(buddy, -1); i >= 0; i = m_next[size_t(i)])
        out << groupPiece(m_entries.at(i)).toString();
    return out;
}
