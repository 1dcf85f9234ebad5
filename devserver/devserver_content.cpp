// What the HTTP listeners serve: buddy icons and profile pages.
#include "devserver/devserver.h"

#include "devserver/profilepage.h"
#include "protocol/wire.h"

namespace devserver {

std::optional<QByteArray> DevServer::iconFor(const QString &name) const {
    const QByteArray icon = m_store->icon(toc::normalizeScreenName(name));
    if (icon.isEmpty())
        return std::nullopt;
    return icon;
}

std::optional<QByteArray> DevServer::profilePageFor(const QString &name) const {
    const QString key = toc::normalizeScreenName(name);
    const std::optional<Account> account = m_store->account(key);
    if (!account)
        return std::nullopt;
    return renderProfilePage(account->formatted, m_store->profile(key), account->created,
                             account->warning);
}

std::optional<QByteArray> DevServer::profileLookupFor(const QString &from,
                                                      const QString &name) const {
    const OnlineUser *target = user(toc::normalizeScreenName(name));
    if (!target || !target->online || !target->config.allows(toc::normalizeScreenName(from)))
        return std::nullopt;
    return renderProfileLookup(name, m_store->profile(target->name));
}

} // namespace devserver
