// Passwords are checked and derived on worker threads: a PBKDF2 derivation
// takes a noticeable fraction of a second by design, and every other client
// would wait for it on the event loop. The session it is for reads nothing
// more until the result is handled, so its lines keep their order.
#include "devserver/devserver.h"

#include "devserver/serverlines.h"
#include "devserver/session.h"

#include <QFutureWatcher>
#include <QPromise>
#include <memory>

namespace devserver {

void DevServer::checkPasswordOffLoop(Session *session, std::function<PasswordCheck()> work,
                                     std::function<void(const PasswordCheck &)> done) {
    session->holdLines();
    // A child of the session: a session that goes away takes the pending
    // answer with it. The work itself touches nothing but its own copies.
    auto *watcher = new QFutureWatcher<PasswordCheck>(session);
    connect(watcher, &QFutureWatcherBase::finished, watcher, [this, session, watcher, done] {
        watcher->deleteLater();
        if (!m_sessions.contains(session) || !session->isFramed())
            return;
        done(watcher->result());
        session->releaseLines();
    });
    // Shared: the pool takes copyable jobs and a promise only moves.
    auto promise = std::make_shared<QPromise<PasswordCheck>>();
    watcher->setFuture(promise->future());
    promise->start();
    m_passwordThreads.start([promise, work = std::move(work)] {
        promise->addResult(work());
        promise->finish();
    });
}

// A new password that is empty: ERROR:911; a wrong old one: ERROR:980.
void DevServer::cmdChangePasswd(Connection &c, const QStringList &a) {
    auto *session = dynamic_cast<Session *>(c.endpoint);
    const QString name = c.user->name;
    const std::optional<PasswordHash> stored = m_store->passwordHash(name);
    if (a.size() < 2 || !session || !stored) {
        sendError(c, kInternalError);
        return;
    }
    if (a[1].isEmpty()) {
        sendError(c, QStringLiteral("ERROR:911"));
        return;
    }
    const QByteArray old = a[0].toUtf8();
    const QByteArray now = a[1].toUtf8();
    const int iterations = m_options.passwordIterations;
    checkPasswordOffLoop(
        session,
        [stored, old, now, iterations] { return changePassword(*stored, old, now, iterations); },
        [this, session, name, stored](const PasswordCheck &check) {
            Connection *c = connectionOf(session);
            if (!c)
                return;
            if (!check.accepted) {
                sendError(*c, QStringLiteral("ERROR:980"));
                return;
            }
            if (!m_store->replacePassword(name, *stored, *check.replacement)) {
                sendError(*c, kInternalError);
                return;
            }
            send(*c, QStringLiteral("ADMIN_PASSWD_STATUS:0"));
        });
}

} // namespace devserver
