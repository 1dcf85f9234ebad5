#include "buddyaliases.h"

#include "clientsettings.h"
#include "protocol/wire.h"

BuddyAliases::BuddyAliases(ClientSettings *settings, QObject *parent)
    : QObject(parent), m_settings(settings) {}

void BuddyAliases::load(const QString &account) {
    m_account = toc::normalizeScreenName(account);
    m_alias = m_settings ? m_settings->aliases(m_account) : QHash<QString, QString>();
}

QString BuddyAliases::aliasOf(const QString &buddy) const {
    return m_alias.isEmpty() ? QString() : m_alias.value(toc::normalizeScreenName(buddy));
}

void BuddyAliases::set(const QString &buddy, const QString &alias) {
    const QString key = toc::normalizeScreenName(buddy);
    const QString trimmed = alias.trimmed();
    if (trimmed.isEmpty())
        m_alias.remove(key);
    else
        m_alias.insert(key, trimmed);
    if (m_settings && !m_account.isEmpty())
        m_settings->setAlias(m_account, key, m_alias.value(key));
    emit changed(buddy);
}
