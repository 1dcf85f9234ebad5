#include "devserver/devserver.h"

#include "devserver/httpserver.h"
#include "devserver/serverlines.h"
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
    if (Connection *c = connectionOf(session)) {
        const QString name = c->user->name;
        closeConnection(*c);
        log(QStringLiteral("sign-off %1").arg(name));
    }
    session->deleteLater();
}

QByteArray DevServer::answerHttp(const QByteArray &request) const {
    return m_http->respond(request);
}

OnlineUser *DevServer::user(const QString &name) {
    const auto it = m_users.find(name);
    return it == m_users.end() ? nullptr : it->second.get();
}

const OnlineUser *DevServer::user(const QString &name) const {
    const auto it = m_users.find(name);
    return it == m_users.end() ? nullptr : it->second.get();
}

Connection *DevServer::connectionOf(Session *session) {
    OnlineUser *u = user(session->userName());
    if (!u)
        return nullptr;
    for (const auto &c : u->connections) {
        if (c->endpoint == session)
            return c.get();
    }
    return nullptr;
}

Connection *DevServer::botConnection() {
    OnlineUser *bot = user(kBotName);
    return bot && !bot->connections.empty() ? bot->connections.front().get() : nullptr;
}

void DevServer::send(Connection &c, const QString &line) {
    if (c.endpoint)
        c.endpoint->sendLine(line);
}

void DevServer::send(OnlineUser &u, const QString &line) {
    for (const auto &c : u.connections) {
        if (c->initDone)
            send(*c, line);
    }
}

void DevServer::sendOthers(Connection &c, const QStringList &lines) {
    for (const auto &other : c.user->connections) {
        if (other.get() == &c)
            continue;
        for (const QString &line : lines)
            send(*other, line);
    }
}

void DevServer::sendError(Connection &c, const QString &error) {
    log(QStringLiteral("error to %1: %2").arg(c.user->name, error));
    send(c, error);
}

const QHash<QString, DevServer::Rule> &DevServer::rules() {
    static const QHash<QString, Rule> table = {
        {QStringLiteral("toc_init_done"), {&DevServer::cmdInitDone, Text::None}},
        {QStringLiteral("toc_send_im"), {&DevServer::cmdSendIm, Text::Second}},
        {QStringLiteral("toc2_send_im"), {&DevServer::cmdSendIm, Text::Second}},
        {QStringLiteral("toc2_send_im_enc"), {&DevServer::cmdSendImEnc, Text::Fifth}},
        {QStringLiteral("toc2_client_event"), {&DevServer::cmdClientEvent, Text::None}},
        // The room name is unescaped, as the real servers do.
        {QStringLiteral("toc_chat_join"), {&DevServer::cmdChatJoin, Text::Second}},
        {QStringLiteral("toc_chat_accept"), {&DevServer::cmdChatAccept, Text::None}},
        {QStringLiteral("toc_chat_send"), {&DevServer::cmdChatSend, Text::Second}},
        {QStringLiteral("toc_chat_leave"), {&DevServer::cmdChatLeave, Text::None}},
        {QStringLiteral("toc_chat_invite"), {&DevServer::cmdChatInvite, Text::Second}},
        {QStringLiteral("toc_set_away"), {&DevServer::cmdSetAway, Text::All}},
        {QStringLiteral("toc_set_idle"), {&DevServer::cmdSetIdle, Text::None}},
        {QStringLiteral("toc_set_info"), {&DevServer::cmdSetInfo, Text::All}},
        {QStringLiteral("toc_get_info"), {&DevServer::cmdGetInfo, Text::None}},
        {QStringLiteral("toc_get_status"), {&DevServer::cmdGetStatus, Text::None}},
        {QStringLiteral("toc_evil"), {&DevServer::cmdEvil, Text::None}},
        {QStringLiteral("toc2_new_buddies"), {&DevServer::cmdNewBuddies, Text::WholeLine}},
        // The group is taken as written: clients send it without escapes.
        {QStringLiteral("toc2_remove_buddy"), {&DevServer::cmdRemoveBuddy, Text::None}},
        {QStringLiteral("toc2_new_group"), {&DevServer::cmdNewGroup, Text::All}},
        {QStringLiteral("toc2_del_group"), {&DevServer::cmdDelGroup, Text::All}},
        {QStringLiteral("toc2_add_deny"), {&DevServer::cmdAddDeny, Text::None}},
        {QStringLiteral("toc2_remove_deny"), {&DevServer::cmdRemoveDeny, Text::None}},
        {QStringLiteral("toc2_add_permit"), {&DevServer::cmdAddPermit, Text::None}},
        {QStringLiteral("toc2_remove_permit"), {&DevServer::cmdRemovePermit, Text::None}},
        {QStringLiteral("toc2_set_pdmode"), {&DevServer::cmdSetPdMode, Text::None}},
        {QStringLiteral("toc_format_nickname"), {&DevServer::cmdFormatNickname, Text::None}},
        {QStringLiteral("toc_change_passwd"), {&DevServer::cmdChangePasswd, Text::All}},
        {QStringLiteral("toc_set_caps"), {&DevServer::cmdSetCaps, Text::None}},
    };
    return table;
}

QStringList DevServer::argumentsFor(const Command &cmd, Text text) {
    QStringList args = cmd.args;
    const auto unescapeAt = [&args](qsizetype i) {
        if (i < args.size())
            args[i] = unescapeArgument(args[i]);
    };
    switch (text) {
    case Text::None:
        break;
    case Text::All:
        for (qsizetype i = 0; i < args.size(); ++i)
            unescapeAt(i);
        break;
    case Text::Second:
        unescapeAt(1);
        break;
    case Text::Fifth:
        unescapeAt(4);
        break;
    case Text::WholeLine:
        args = QStringList{wholeText(cmd.rest)};
        break;
    }
    return args;
}

void DevServer::handleCommand(Session *session, const Command &cmd) {
    Connection *c = connectionOf(session);
    if (!c)
        return;
    const auto it = rules().constFind(cmd.name);
    if (it == rules().constEnd()) {
        sendError(*c, kInternalError);
        return;
    }
    (this->*(it->handler))(*c, argumentsFor(cmd, it->text));
}

} // namespace devserver
