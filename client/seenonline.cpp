#include "seenonline.h"

#include "protocol/qeltocsock.h"
#include "protocol/wire.h"

SeenOnline::SeenOnline(QelTOCSock *toc, QObject *parent) : QObject(parent) {
    connect(toc, &QelTOCSock::LoggedIn, this, &SeenOnline::clear);
    connect(toc, &QelTOCSock::BuddyUpdate, this,
            [this](const QString &name, bool online) { note(name, online); });
    connect(toc, &QelTOCSock::InstantMessage, this,
            [this](const QString &from) { note(from, true); });
    connect(toc, &QelTOCSock::ChatMessage, this,
            [this](qint32, const QString &from) { note(from, true); });
    // Leaving a room says nothing about being online.
    connect(toc, &QelTOCSock::ChatUserUpdate, this, [this](const QString &name, bool inside) {
        if (inside)
            note(name, true);
    });
}

bool SeenOnline::appearsOffline(const QString &name) const {
    return !m_online.contains(toc::normalizeScreenName(name));
}

void SeenOnline::note(const QString &name, bool online) {
    const QString key = toc::normalizeScreenName(name);
    if (!online)
        m_online.remove(key);
    else if (!key.isEmpty() && m_online.size() < kMaxNames)
        m_online.insert(key);
}
