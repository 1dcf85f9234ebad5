#include "devserver/roomids.h"

namespace devserver {

qint32 RoomIds::idFor(const QString &roomKey) {
    const auto it = m_ids.constFind(roomKey);
    if (it != m_ids.constEnd())
        return *it;
    if (m_keys.size() >= kMaxIds)
        return -1;
    const qint32 id = qint32(m_keys.size());
    m_ids.insert(roomKey, id);
    m_keys.append(roomKey);
    return id;
}

QString RoomIds::keyOf(qint32 id) const {
    return id >= 0 && id < m_keys.size() ? m_keys[id] : QString();
}

} // namespace devserver
