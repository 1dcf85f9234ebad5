#include "seenonline.h"

#include "protocol/qeltocsock.h"
#include "protocol/wire.h"

namespace {
// "ERROR:901:<name>" reads "<name> is not available".
const QLatin1String kNotAvailable(" is not available");
} // namespace

SeenOnline::SeenOnline(QelTOCSock *toc, QObject *parent) : QObject(parent), m_toc(toc) {
    connect(toc, &QelTOCSock::LoggedIn, this,
            [this](const QString &, const QStringList &buddies) { loggedIn(buddies); });
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

// The server reports every buddy online right after the sign-on: until it
// does, the buddies of the configuration are offline.
void SeenOnline::loggedIn(const QStringList &BuddyList) {
    clear();
    const QString marker = QStringLiteral("[group]");
    for (const QString &entry : BuddyList)
        if (!entry.contains(marker))
            note(entry.section(QLatin1Char(':'), 0, 0), false);
}

bool SeenOnline::appearsOffline(const QString &name) const {
    return m_offline.contains(toc::normalizeScreenName(name));
}

void SeenOnline::note(const QString &name, bool online) {
    const QString key = toc::normalizeScreenName(name);
    if (key.isEmpty())
        return;
    QSet<QString> &into = online ? m_online : m_offline;
    (online ? m_offline : m_online).remove(key);
    if (into.size() < kMaxNames)
        into.insert(key);
    answer(key, online);
}

void SeenOnline::whenOffline(const QString &name, std::function<void()> offline) {
    const QString key = toc::normalizeScreenName(name);
    if (m_offline.contains(key)) {
        offline();
        return;
    }
    if (key.isEmpty() || m_online.contains(key))
        return;
    const auto asked = m_asked.find(key);
    if (asked != m_asked.end()) {
        asked->append(std::move(offline));
        return;
    }
    if (m_asked.size() < kMaxNames && m_toc->GetStatus(key))
        m_asked.insert(key, {std::move(offline)});
}

bool SeenOnline::takeAnswer(qint16 code, const QString &text) {
    if (code != 901 || !text.endsWith(kNotAvailable))
        return false;
    const QString key = toc::normalizeScreenName(text.chopped(kNotAvailable.size()));
    if (!m_asked.contains(key))
        return false;
    // Not remembered: the server tells nothing more of a name that is not
    // a buddy, so the next IM asks again.
    answer(key, false);
    return true;
}

void SeenOnline::answer(const QString &key, bool online) {
    const QList<std::function<void()>> waiting = m_asked.take(key);
    if (!online)
        for (const std::function<void()> &offline : waiting)
            offline();
}

void SeenOnline::clear() {
    m_online.clear();
    m_offline.clear();
    m_asked.clear();
}
