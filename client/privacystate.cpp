#include "privacystate.h"

#include "protocol/qeltocsock.h"

PrivacyState::PrivacyState(QelTOCSock *toc, QObject *parent) : QObject(parent), m_toc(toc) {}

void PrivacyState::load(const QStringList &BlockList, const QStringList &PrivateList,
                        qint16 PrivacyMode) {
    m_blocked += BlockList;
    m_allowed += PrivateList;
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

bool PrivacyState::block(const QString &name) {
    if (!m_toc->BlockUser(name))
        return false;
    m_blocked.append(name);
    emit blockedAdded(name);
    if (m_mode == AllowAll)
        setMode(BlockList);
    return true;
}

bool PrivacyState::allow(const QString &name) {
    // The mode first, as the "Allow List" option would send it.
    if (!setMode(AllowList))
        return false;
    if (!m_toc->AddPrivateUser(name))
        return false;
    m_allowed.append(name);
    emit allowedAdded(name);
    return true;
}
