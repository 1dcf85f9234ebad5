// Sign-on, sign-off and the built-in account.
#include "devserver/devserver.h"

#include "devserver/iconmaker.h"
#include "devserver/names.h"
#include "devserver/serverlines.h"
#include "devserver/session.h"
#include "devserver/vorklebot.h"
#include "protocol/wire.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <algorithm>

namespace devserver {

void DevServer::handleSignOn(Session *session, const Command &cmd) {
    static const QHash<QString, LineStyle> kSignOnCommands = {
        {QStringLiteral("toc2_login"), LineStyle::Toc2Login},
        {QStringLiteral("toc2_signon"), LineStyle::Toc2Signon},
        {QStringLiteral("toc_signon"), LineStyle::Toc1}};
    const auto style = kSignOnCommands.constFind(cmd.name);
    if (style == kSignOnCommands.constEnd() || cmd.args.size() < 4) {
        log(QStringLiteral("error to %1: %2 (%3 before sign-on)")
                .arg(session->peer(), kInternalError, cmd.name.left(40)));
        session->sendLine(kInternalError);
        session->closeAfterFlush();
        return;
    }
    const QString name = toc::normalizeScreenName(cmd.args[2]);
    bool roastedOk = false;
    const QByteArray password = toc::unroastPassword(cmd.args[3], &roastedOk);
    if (!roastedOk || !isValidScreenName(name) || name == kBotName) {
        refuseSignOn(session, QStringLiteral("bad screen name or password format"));
        return;
    }
    const std::optional<PasswordHash> stored = m_store->passwordHash(name);
    if (!stored && !m_options.openRegistration) {
        refuseSignOn(session, QStringLiteral("unknown account %1").arg(name));
        return;
    }
    if (!stored && password.isEmpty()) {
        refuseSignOn(session, QStringLiteral("empty password for new account %1").arg(name));
        return;
    }
    const int iterations = m_options.passwordIterations;
    checkPasswordOffLoop(
        session,
        [stored, password, iterations] { return checkPassword(stored, password, iterations); },
        [this, session, style = *style, name, stored](const PasswordCheck &check) {
            finishSignOn(session, style, name, stored, check);
        });
}

void DevServer::finishSignOn(Session *session, LineStyle style, const QString &name,
                             const std::optional<PasswordHash> &stored,
                             const PasswordCheck &check) {
    QString why;
    std::optional<BuddyConfig> config = acceptAccount(name, stored, check, &why);
    if (!config) {
        refuseSignOn(session, why);
        return;
    }
    // A second sign-on of an account joins the first: both stay signed on.
    OnlineUser *u = user(name);
    if (!u) {
        const std::optional<Account> account = m_store->account(name);
        auto created = std::make_unique<OnlineUser>();
        created->name = name;
        created->formatted = account ? account->formatted : name;
        created->warning = account ? account->warning : 0;
        created->config = *config;
        created->buddies = created->config.buddyNames();
        created->signOnTime = QDateTime::currentSecsSinceEpoch();
        u = created.get();
        m_users[name] = std::move(created);
    }
    const bool wasAway = u->away();
    auto connection = std::make_unique<Connection>();
    connection->user = u;
    connection->endpoint = session;
    connection->style = style;
    Connection &c = *connection;
    u->connections.push_back(std::move(connection));
    session->setUserName(name);
    sendSignOnLines(c);
    // The newcomer is not away: an account away everywhere is back.
    if (wasAway && !u->away())
        broadcastPresence(*u);
    log(QStringLiteral("sign-on %1 from %2 (%3 connections)")
            .arg(name, session->address())
            .arg(u->connections.size()));
}

void DevServer::sendSignOnLines(Connection &c) {
    const OnlineUser &u = *c.user;
    if (c.style == LineStyle::Toc1) {
        // TOC1 connections get no stored configuration.
        send(c, QStringLiteral("SIGN_ON:TOC1.0"));
        send(c, QStringLiteral("CONFIG:"));
        send(c, QStringLiteral("NICK:") + u.formatted);
        return;
    }
    send(c, QStringLiteral("SIGN_ON:TOC2.0"));
    send(c, QStringLiteral("NICK:") + u.formatted);
    for (const QString &line : config2Lines(u.config.records()))
        send(c, line);
}

void DevServer::refuseSignOn(Session *session, const QString &why) {
    log(QStringLiteral("sign-on refused for %1: %2").arg(session->peer(), why));
    session->sendLine(QStringLiteral("ERROR:980"));
    session->closeAfterFlush();
}

std::optional<BuddyConfig> DevServer::acceptAccount(const QString &name,
                                                    const std::optional<PasswordHash> &stored,
                                                    const PasswordCheck &check, QString *why) {
    if (!check.accepted) {
        *why = QStringLiteral("wrong password for %1").arg(name);
        return std::nullopt;
    }
    if (stored) {
        // The record may have changed while the password was being checked.
        if (m_store->passwordHash(name) != stored) {
            *why = QStringLiteral("password of %1 changed during sign-on").arg(name);
            return std::nullopt;
        }
        if (check.replacement && m_store->replacePassword(name, *stored, *check.replacement))
            log(QStringLiteral("password record of %1 upgraded to %2 with %3 iterations")
                    .arg(name, PasswordHash::schemeName(check.replacement->scheme))
                    .arg(check.replacement->iterations));
        return m_store->loadConfig(name);
    }
    BuddyConfig config;
    config.addGroup(QStringLiteral("Buddies"));
    config.addBuddy(QStringLiteral("Buddies"), kBotName, QString());
    if (!check.replacement ||
        !m_store->createAccount(name, *check.replacement, config, makeIcon(name))) {
        *why = QStringLiteral("cannot create %1: %2").arg(name, m_store->lastError());
        return std::nullopt;
    }
    log(QStringLiteral("registered %1").arg(name));
    return config;
}

void DevServer::closeConnection(Connection &c) {
    OnlineUser &u = *c.user;
    const bool wasAway = u.away();
    c.endpoint = nullptr; // nothing more goes to a closing connection
    bool othersReady = false;
    for (const auto &other : u.connections)
        othersReady = othersReady || (other.get() != &c && other->initDone);
    // Watchers hear of the departure before the rooms do.
    if (!othersReady)
        goOffline(u);
    for (const QString &key : m_rooms.roomsOf(&c))
        leaveRoom(c, key);
    u.connections.erase(std::remove_if(u.connections.begin(), u.connections.end(),
                                       [&c](const auto &p) { return p.get() == &c; }),
                        u.connections.end());
    if (u.connections.empty()) {
        const QString name = u.name; // the key must outlive the entry it names
        m_users.erase(name);
        return;
    }
    if (u.online && wasAway != u.away())
        broadcastPresence(u);
}

void DevServer::goOffline(OnlineUser &u) {
    if (!u.online)
        return;
    u.online = false;
    const QString offline = departureLine(u.name);
    for (const QString &w : std::as_const(u.visibleTo)) {
        if (OnlineUser *watcher = user(w))
            send(*watcher, offline);
    }
    u.visibleTo.clear();
    for (const QString &b : std::as_const(u.buddies))
        stopWatching(u, b);
}

// u no longer watches b: neither is told about the other any more.
void DevServer::stopWatching(OnlineUser &u, const QString &b) {
    auto it = m_watchers.find(b);
    if (it != m_watchers.end()) {
        it->remove(u.name);
        if (it->isEmpty())
            m_watchers.erase(it);
    }
    if (OnlineUser *buddy = user(b))
        buddy->visibleTo.remove(u.name);
}

void DevServer::startBot() {
    if (!m_store->account(kBotName)) {
        // A random password nobody knows; signing on as the bot is refused anyway.
        QByteArray password(24, '\0');
        for (char &c : password)
            c = char('a' + QRandomGenerator::system()->bounded(26));
        m_store->createAccount(kBotName,
                               PasswordHash::derive(password, m_options.passwordIterations),
                               BuddyConfig(), makeIcon(kBotName));
        m_store->setProfile(
            kBotName,
            QStringLiteral("<b>vorklebot</b> is the demo account of the Vorkle development server. "
                           "Send it an IM and it answers; say its name in the room chat100 and it "
                           "answers there."));
    }
    m_bot = new VorkleBot(this);
    auto u = std::make_unique<OnlineUser>();
    u->name = kBotName;
    u->formatted = kBotName;
    u->service = true;
    u->online = true;
    u->signOnTime = m_startTime;
    if (const std::optional<Account> account = m_store->account(kBotName))
        u->warning = account->warning;
    auto connection = std::make_unique<Connection>();
    connection->user = u.get();
    connection->endpoint = m_bot;
    connection->initDone = true;
    Connection &bot = *connection;
    u->connections.push_back(std::move(connection));
    m_users[kBotName] = std::move(u);
    ChatRoom &room = m_rooms.findOrCreate(kBotRoom);
    bot.rooms.idFor(room.key);
    m_rooms.join(room, &bot);
}

} // namespace devserver
