#include "conversations.h"

#include "protocol/wire.h"

int Conversations::imView(const QString &partner) const {
    return m_imByPartner.value(toc::normalizeScreenName(partner), -1);
}

void Conversations::openIM(const QString &partner, int view) {
    closeIM(view);
    const QString key = toc::normalizeScreenName(partner);
    m_partnerOfView.remove(m_imByPartner.value(key, -1));
    m_imByPartner.insert(key, view);
    m_partnerOfView.insert(view, key);
}

void Conversations::closeIM(int view) {
    const auto it = m_partnerOfView.find(view);
    if (it == m_partnerOfView.end())
        return;
    m_imByPartner.remove(*it);
    m_partnerOfView.erase(it);
}

int Conversations::roomView(qint32 chatId) const {
    return m_roomById.value(chatId, -1);
}

void Conversations::openRoom(qint32 chatId, int view, const QString &name) {
    closeRoom(view);
    const int replaced = m_roomById.value(chatId, -1);
    m_roomOfView.remove(replaced);
    m_roomNameOfView.remove(replaced);
    m_roomById.insert(chatId, view);
    m_roomOfView.insert(view, chatId);
    m_roomNameOfView.insert(view, name);
}

bool Conversations::inRoomNamed(const QString &name) const {
    for (const QString &room : m_roomNameOfView)
        if (room.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

void Conversations::awaitRoom(const QString &name) {
    requestedRoom = name;
    m_awaitedRooms.insert(toc::normalizeScreenName(name));
}

bool Conversations::takeAwaitedRoom(const QString &name) {
    return m_awaitedRooms.remove(toc::normalizeScreenName(name));
}

void Conversations::closeRoom(int view) {
    const auto it = m_roomOfView.find(view);
    if (it == m_roomOfView.end())
        return;
    // A detached room's old id may belong to another room by now.
    if (m_roomById.value(*it, -1) == view)
        m_roomById.remove(*it);
    m_roomOfView.erase(it);
    m_roomNameOfView.remove(view);
    m_detachedViews.remove(view);
}

void Conversations::detachRooms() {
    m_roomById.clear();
    for (auto it = m_roomOfView.cbegin(); it != m_roomOfView.cend(); ++it)
        m_detachedViews.insert(it.key());
}

QStringList Conversations::detachedRooms() const {
    QStringList names;
    for (const int view : m_detachedViews)
        names << m_roomNameOfView.value(view);
    names.sort(Qt::CaseInsensitive);
    return names;
}

int Conversations::rekeyRoom(const QString &name, qint32 chatId) {
    if (m_roomById.contains(chatId))
        return -1;
    for (const int view : std::as_const(m_detachedViews)) {
        if (m_roomNameOfView.value(view).compare(name, Qt::CaseInsensitive) != 0)
            continue;
        m_detachedViews.remove(view);
        m_roomById.insert(chatId, view);
        m_roomOfView.insert(view, chatId);
        return view;
    }
    return -1;
}

void Conversations::clear() {
    m_imByPartner.clear();
    m_partnerOfView.clear();
    m_roomById.clear();
    m_roomOfView.clear();
    m_roomNameOfView.clear();
    m_detachedViews.clear();
    m_awaitedRooms.clear();
}
