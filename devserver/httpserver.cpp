#include "devserver/httpserver.h"

#include "devserver/devserver.h"
#include "devserver/httprequest.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace devserver {

namespace {

QByteArray reason(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 400:
        return "Bad Request";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 503:
        return "Service Unavailable";
    default:
        return "Error";
    }
}

QByteArray textBody(int status) {
    return QByteArray::number(status) + ' ' + reason(status) + '\n';
}

} // namespace

QByteArray httpResponse(int status, const QByteArray &contentType, const QByteArray &body,
                        const QByteArray &extraHeaders) {
    return "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason(status) + "\r\n" +
           "Content-Type: " + contentType + "\r\n" +
           "Content-Length: " + QByteArray::number(body.size()) + "\r\n" +
           "X-Content-Type-Options: nosniff\r\n" + extraHeaders + "Connection: close\r\n\r\n" +
           body;
}

HttpServer::HttpServer(DevServer *content, QObject *parent)
    : QObject(parent), m_content(content), m_listener(new QTcpServer(this)) {
    connect(m_listener, &QTcpServer::newConnection, this, &HttpServer::onNewConnection);
}

bool HttpServer::listen(const QHostAddress &address, quint16 port) {
    return m_listener->listen(address, port);
}

quint16 HttpServer::port() const {
    return m_listener->isListening() ? m_listener->serverPort() : 0;
}

QString HttpServer::errorString() const {
    return m_listener->errorString();
}

QByteArray HttpServer::respond(const QByteArray &data) const {
    const HttpRequest req = parseHttpRequest(data);
    const QByteArray plain = "text/plain; charset=utf-8";
    if (req.state != HttpRequest::State::Complete)
        return httpResponse(400, plain, textBody(400));
    if (req.method != "GET" && req.method != "HEAD")
        return httpResponse(405, plain, textBody(405), "Allow: GET, HEAD\r\n");
    const bool head = req.method == "HEAD";
    const auto answer = [&](const QByteArray &type, const QByteArray &body,
                            const QByteArray &extra) {
        QByteArray out = httpResponse(200, type, body, extra);
        if (head)
            out.chop(body.size());
        return out;
    };
    // Profiles are the users' own HTML: shown in a sandbox that runs and loads nothing.
    const QByteArray html = "text/html; charset=utf-8";
    const QByteArray sandbox = "Content-Security-Policy: sandbox; default-src 'none'; style-src "
                               "'unsafe-inline'\r\n";
    const QString name = req.queryValue(QStringLiteral("screenname"));
    if (req.path == QLatin1String("/BartSNQuery")) {
        if (const std::optional<QByteArray> icon = m_content->iconFor(name))
            return answer("image/jpeg", *icon, QByteArray());
    } else if (req.path == QLatin1String("/info") && !name.isEmpty()) {
        if (const std::optional<QByteArray> page = m_content->profilePageFor(name))
            return answer(html, *page, sandbox);
    } else if (req.path == QLatin1String("/info")) {
        // The relative URL of a GOTO_URL line, answered as the TOC2 servers
        // people run answer it.
        const QString cookie = req.queryValue(QStringLiteral("cookie"));
        const QString from = req.queryValue(QStringLiteral("from"));
        const QString user = req.queryValue(QStringLiteral("user"));
        if (cookie.isEmpty())
            return httpResponse(400, plain, "required `cookie` param is missing");
        if (!m_content->profileCookie().matches(cookie, from, user))
            return httpResponse(400, plain, "invalid `cookie` param");
        if (const std::optional<QByteArray> page = m_content->profileLookupFor(from, user))
            return answer(html, *page, sandbox);
        return httpResponse(404, plain, "user is unavailable\n");
    }
    return httpResponse(404, plain, textBody(404));
}

void HttpServer::onNewConnection() {
    while (QTcpSocket *socket = m_listener->nextPendingConnection()) {
        if (m_connections >= kMaxConnections) {
            socket->write(httpResponse(503, "text/plain", textBody(503)));
            socket->disconnectFromHost();
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            continue;
        }
        ++m_connections;
        socket->setParent(this);
        socket->setProperty("request", QByteArray());
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QObject::destroyed, this, [this] { --m_connections; });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater,
                Qt::QueuedConnection);
        QTimer::singleShot(kRequestTimeoutMs, socket, [socket] {
            socket->abort();
            socket->deleteLater();
        });
    }
}

void HttpServer::onReadyRead(QTcpSocket *socket) {
    if (socket->property("answered").toBool()) {
        socket->readAll();
        return;
    }
    QByteArray request = socket->property("request").toByteArray() + socket->read(kMaxHttpHead + 1);
    const HttpRequest req = parseHttpRequest(request);
    if (req.state == HttpRequest::State::Incomplete) {
        socket->setProperty("request", request);
        return;
    }
    socket->setProperty("answered", true);
    socket->setProperty("request", QByteArray());
    socket->write(respond(request));
    socket->disconnectFromHost();
}

} // namespace devserver
