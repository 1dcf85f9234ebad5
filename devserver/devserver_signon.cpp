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

namespace devserver {

void DevServer::handleSignOn(Session *session, const Command &cmd) {
    static const QSet<QString> kSignOnCommands = {
        QStringLiteral("toc2_login"), QStringLiteral("toc2_signon"), QStringLiteral("toc_signon")};
    if (!kSignOnCommands.contains(cmd.name) || cmd.args.size() < 4) {
        log(QStringLiteral("error to %1: ERROR:911 (%2 before sign-on)")
                .arg(session->peer(), cmd.name.left(40)));
        session->sendLine(QStringLiteral("ERROR:911"));
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
        [this, session, name, stored](const PasswordCheck &check) {
            finishSignOn(session, name, stored, check);
        });
}

void DevServer::finishSignOn(Session *session, const QString &name,
                             const std::optional<PasswordHash> &stored,
                             const PasswordCheck &check) {
    QString why;
    std::optional<BuddyConfig> config = acceptAccount(name, stored, check, &why);
    if (!config) {
        refuseSignOn(session, why);
        return;
    }
    if (OnlineUser *old = user(name)) {
        Endpoint *oldEndpoint = old->endpoint;
        signOff(name);
        if (oldEndpoint)
            oldEndpoint->dropConnection();
        log(QStringLiteral("sign-off %1: signed on again elsewhere").arg(name));
    }
    const std::optional<Account> account = m_store->account(name);
    auto u = std::make_unique<OnlineUser>();
    u->name = name;
    u->formatted = account ? account->formatted : name;
    u->warning = account ? account->warning : 0;
    u->endpoint = session;
    u->config = *config;
    u->buddies = u->config.buddyNames();
    u->signOnTime = QDateTime::currentSecsSinceEpoch();
    OnlineUser &ref = *u;
    m_users[name] = std::move(u);
    session->setUserName(name);

    send(ref, QStringLiteral("SIGN_ON:TOC2.0"));
    send(ref, QStringLiteral("NICK:") + ref.formatted);
    for (const QString &line : config2Lines(ref.config.records()))
        send(ref, line);
    log(QStringLiteral("sign-on %1 from %2").arg(name, session->address()));
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

void DevServer::signOff(const QString &name) {
    OnlineUser *u = user(name);
    if (!u)
        return;
    u->endpoint = nullptr; // nothing more goes to a closing connection
    for (qint32 id : m_rooms.roomsOf(name))
        leaveRoom(*u, id);
    if (u->online) {
        const QString offline = presenceLine(*u, false);
        for (const QString &w : std::as_const(u->visibleTo)) {
            if (OnlineUser *watcher = user(w))
                send(*watcher, offline);
        }
        for (const QString &b : std::as_const(u->buddies)) {
            auto it = m_watchers.find(b);
            if (it != m_watchers.end()) {
                it->remove(name);
                if (it->isEmpty())
                    m_watchers.erase(it);
            }
            if (OnlineUser *buddy = user(b))
                buddy->visibleTo.remove(name);
        }
    }
    m_users.erase(name);
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
    u->endpoint = m_bot;
    u->service = true;
    u->online = true;
    u->signOnTime = m_startTime;
    if (const std::optional<Account> account = m_store->account(kBotName))
        u->warning = account->warning;
    OnlineUser &bot = *u;
    m_users[kBotName] = std::move(u);
    ChatRoom &room = m_rooms.create(kBotRoom);
    m_rooms.join(room, bot.name);
}

} // namespace devserver
