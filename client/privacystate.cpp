#include "privacystate.h"

#include "protocol/qeltocsock.h"
#include "protocol/wire.h"

#include <algorithm>

namespace {
// Appends the names not listed yet, in order.
void addOnce(QStringList &list, const QStringList &names) {
    for (const QString &name : names)
        if (!PrivacyState::listed(list, name))
            list.append(name);
}

// Removes every writing of the name.
void removeAll(QStringList &list, const QString &name) {
    list.removeIf([&](const QString &n) { return PrivacyState::sameName(n, name); });
}
} // namespace

PrivacyState::PrivacyState(QelTOCSock *toc, QObject *parent) : QObject(parent), m_toc(toc) {}

void PrivacyState::load(const QStringList &BlockList, const QStringList &PrivateList,
                        qint16 PrivacyMode) {
    addOnce(m_blocked, BlockList);
    addOnce(m_allowed, PrivateList);
    m_mode = PrivacyMode >= AllowAll && PrivacyMode <= BuddyList ? PrivacyMode : qint16(AllowAll);
    emit modeChanged(m_mode);
}

void PrivacyState::clear() {
    m_blocked.clear();
    m_allowed.clear();
}

bool PrivacyState::setMode(qint16 mode) {
    if (!m_toc->SetPrivacy(mode))
        return false;
    m_mode = mode;
    emit modeChanged(mode);
    return true;
}

bool PrivacyState::sameName(const QString &a, const QString &b) {
    return toc::normalizeScreenName(a) == toc::normalizeScreenName(b);
}

bool PrivacyState::listed(const QStringList &names, const QString &name) {
    return std::any_of(names.cbegin(), names.cend(),
                       [&](const QString &n) { return sameName(n, name); });
}

bool PrivacyState::block(const QString &name) {
    if (!listed(m_blocked, name)) {
        if (!m_toc->BlockUser(name))
            return false;
        m_blocked.append(name);
        emit blockedAdded(name);
    }
    return m_mode != AllowAll || setMode(BlockList);
}

bool PrivacyState::allow(const QString &name) {
    // The mode first, as the "Allow List" option would send it.
    if (!setMode(AllowList))
        return false;
    if (listed(m_allowed, name))
        return true;
    if (!m_toc->AddPrivateUser(name))
        return false;
    m_allowed.append(name);
    emit allowedAdded(name);
    return true;
}

bool PrivacyState::unblock(const QString &name) {
    if (!m_toc->UnblockUser(name))
        return false;
    removeAll(m_blocked, name);
    emit blockedRemoved(name);
    return true;
}

bool PrivacyState::disallow(const QString &name) {
    if (!m_toc->RemovePrivateUser(name))
        return false;
    removeAll(m_allowed, name);
    emit allowedRemoved(name);
    return true;
}
