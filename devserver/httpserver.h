#pragma once
// A small HTTP/1.1 listener: buddy icons (GET /BartSNQuery?...&screenname=)
// and profile pages (GET /info?...&screenname=, and the relative
// info?cookie=...&from=...&user=... of GOTO_URL, which the TOC port answers
// too). One request per connection; the answer is followed by a close.

#include <QHostAddress>
#include <QObject>

class QTcpServer;
class QTcpSocket;

namespace devserver {

class DevServer;

class HttpServer : public QObject {
    Q_OBJECT
  public:
    static constexpr int kMaxConnections = 64;
    static constexpr int kRequestTimeoutMs = 10000;

    HttpServer(DevServer *content, QObject *parent = nullptr);

    bool listen(const QHostAddress &address, quint16 port);
    quint16 port() const;
    QString errorString() const;

    // The whole answer to one request head (status line, headers, body). Pure
    // apart from looking the content up in the server.
    QByteArray respond(const QByteArray &head) const;

  private:
    void onNewConnection();
    void onReadyRead(QTcpSocket *socket);

    DevServer *m_content;
    QTcpServer *m_listener;
    int m_connections = 0;
};

// An HTTP answer with the given status, type and body, ending the connection.
QByteArray httpResponse(int status, const QByteArray &contentType, const QByteArray &body,
                        const QByteArray &extraHeaders = QByteArray());

} // namespace devserver
