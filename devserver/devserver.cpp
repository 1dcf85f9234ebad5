#include "devserver/devserver.h"

#include "devserver/httpserver.h"
#include "devserver/session.h"
#include "devserver/vorklebot.h"

#include <QDateTime>
#include <QTcpServer>
#include <QTcpSocket>
#include <cstdio>

namespace devserver {

const QString DevServer::kBotName = QStringLiteral("vorklebot");
const QString DevServer::kBotRoom = QStringLiteral("chat100");

DevServer::DevServer(const ServerOptions &options, QObject *parent)
    : QObject(parent), m_options(options) {
    connect(&m_keepAlive, &QTimer::timeout, this, &DevServer::onKeepAlive);
}

DevServer::~DevServer() {
    // Sessions and the bot refer to the server: end them first.
    const QSet<Session *> sessions = m_sessions;
    m_sessions.clear();
    qDeleteAll(sessions);
    m_users.clear();
    delete m_bot;
}

bool DevServer::start(QString *error) {
    m_store = std::make_unique<Store>(m_options.database);
    if (!m_store->isOpen()) {
        *error = QStringLiteral("cannot open the store %1: %2")
                     .arg(m_options.database, m_store->lastError());
        return false;
    }
    m_listener = new QTcpServer(this);
    if (!m_listener->listen(m_options.address, m_options.port)) {
        *error = QStringLiteral("cannot listen on %1:%2: %3")
                     .arg(m_options.address.toString())
                     .arg(m_options.port)
                     .arg(m_listener->errorString());
        return false;
    }
    connect(m_listener, &QTcpServer::newConnection, this, &DevServer::onNewConnection);

    m_http = new HttpServer(this, this);
    bool httpOk = false;
    if (m_options.httpPort < 0)
        httpOk = m_http->listen(m_options.address, 80) || m_http->listen(m_options.address, 5191);
    else
        httpOk = m_http->listen(m_options.address, quint16(m_options.httpPort));
    if (!httpOk)
        log(QStringLiteral("HTTP listener not started: %1").arg(m_http->errorString()));

    m_startTime = QDateTime::currentSecsSinceEpoch();
    startBot();
    if (m_options.keepAliveSeconds > 0)
        m_keepAlive.start(m_options.keepAliveSeconds * 1000);
    log(QStringLiteral("listening on %1:%2, HTTP on port %3")
            .arg(m_options.address.toString())
            .arg(port())
            .arg(httpPort()));
    return true;
}

quint16 DevServer::port() const {
    return m_listener ? m_listener->serverPort() : 0;
}

quint16 DevServer::httpPort() const {
    return m_http ? m_http->port() : 0;
}

void DevServer::log(const QString &text) const {
    if (!m_options.log && !m_options.verbose)
        return;
    // Remote text reaches the log: control characters are written as escapes,
    // so one entry stays one line and cannot steer the terminal.
    QString safe;
    safe.reserve(text.size());
    for (QChar c : text) {
        if (c == QLatin1Char('\n'))
            safe += QStringLiteral("\\n");
        else if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            safe += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            safe += c;
    }
    const QByteArray line =
        QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss.zzz ")).toUtf8() +
        safe.toUtf8() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
}

void DevServer::onNewConnection() {
    while (QTcpSocket *socket = m_listener->nextPendingConnection()) {
        if (m_sessions.size() >= kMaxSessions) {
            log(QStringLiteral("refused %1: too many connections")
                    .arg(socket->peerAddress().toString()));
            socket->abort();
            socket->deleteLater();
            continue;
        }
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        auto *session = new Session(socket, this);
        m_sessions.insert(session);
    }
}

void DevServer::onKeepAlive() {
    for (Session *session : std::as_const(m_sessions)) {
        if (session->isFramed())
            session->sendFrame(5, QByteArray());
    }
}

void DevServer::sessionClosed(Session *session) {
    if (!m_sessions.remove(session))
        return;
    const QString name = session->userName();
    const auto it = m_users.find(name);
    if (!name.isEmpty() && it != m_users.end() && it->second->endpoint == session) {
        signOff(name);
        log(QStringLiteral("sign-off %1").arg(name));
    }
    session->deleteLater();
}

OnlineUser *DevServer::user(const QString &name) {
    const auto it = m_users.find(name);
    return it == m_users.end() ? nullptr : it->second.get();
}

void DevServer::send(OnlineUser &u, const QString &line) {
    if (u.endpoint)
        u.endpoint->sendLine(line);
}

void DevServer::sendError(OnlineUser &u, const QString &error) {
    log(QStringLiteral("error to %1: %2").arg(u.name, error));
    send(u, error);
}

const QHash<QString, DevServer::Handler> &DevServer::handlers() {
    static const QHash<QString, Handler> table = {
        {QStringLiteral("toc_init_done"), &DevServer::cmdInitDone},
        {QStringLiteral("toc_send_im"), &DevServer::cmdSendIm},
        {QStringLiteral("toc2_send_im"), &DevServer::cmdSendIm},
        {QStringLiteral("toc2_client_event"), &DevServer::cmdClientEvent},
        {QStringLiteral("toc_chat_join"), &DevServer::cmdChatJoin},
        {QStringLiteral("toc_chat_accept"), &DevServer::cmdChatAccept},
        {QStringLiteral("toc_chat_send"), &DevServer::cmdChatSend},
        {QStringLiteral("toc_chat_leave"), &DevServer::cmdChatLeave},
        {QStringLiteral("toc_chat_invite"), &DevServer::cmdChatInvite},
        {QStringLiteral("toc_set_away"), &DevServer::cmdSetAway},
        {QStringLiteral("toc_set_idle"), &DevServer::cmdSetIdle},
        {QStringLiteral("toc_set_info"), &DevServer::cmdSetInfo},
        {QStringLiteral("toc_get_info"), &DevServer::cmdGetInfo},
        {QStringLiteral("toc_get_status"), &DevServer::cmdGetStatus},
        {QStringLiteral("toc_evil"), &DevServer::cmdEvil},
        {QStringLiteral("toc2_new_buddies"), &DevServer::cmdNewBuddies},
        {QStringLiteral("toc2_remove_buddy"), &DevServer::cmdRemoveBuddy},
        {QStringLiteral("toc2_new_group"), &DevServer::cmdNewGroup},
        {QStringLiteral("toc2_del_group"), &DevServer::cmdDelGroup},
        {QStringLiteral("toc2_add_deny"), &DevServer::cmdAddDeny},
        {QStringLiteral("toc2_remove_deny"), &DevServer::cmdRemoveDeny},
        {QStringLiteral("toc2_add_permit"), &DevServer::cmdAddPermit},
        {QStringLiteral("toc2_remove_permit"), &DevServer::cmdRemovePermit},
        {QStringLiteral("toc2_set_pdmode"), &DevServer::cmdSetPdMode},
        {QStringLiteral("toc_format_nickname"), &DevServer::cmdFormatNickname},
        {QStringLiteral("toc_change_passwd"), &DevServer::cmdChangePasswd},
        {QStringLiteral("toc_set_caps"), &DevServer::cmdSetCaps},
    };
    return table;
}

void DevServer::handleCommand(Session *session, const Command &cmd) {
    OnlineUser *u = user(session->userName());
    if (!u || u->endpoint != session)
        return;
    const auto it = handlers().constFind(cmd.name);
    if (it == handlers().constEnd()) {
        sendError(*u, QStringLiteral("ERROR:911"));
        return;
    }
    (this->*(*it))(*u, cmd.args);
}

} // namespace devserver
