#pragma once
// A scripted buddy-icon server on loopback: records the request and, once it
// is complete, answers it (all at once or a few bytes at a time), then
// closes or holds the connection; or it never answers at all.
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>

class IconServer : public QObject {
  public:
    QByteArray reply;
    bool silent = false; // never answers
    bool hold = false;   // keeps the connection open after the reply
    int trickle = 0;     // bytes per 10 ms; 0: the reply at once
    QByteArray request;
    int connections = 0;
    int closed = 0;
    int mostOpen = 0; // connections open at once, at the most

    IconServer() {
        m_server.listen(QHostAddress::LocalHost, 0);
        connect(&m_server, &QTcpServer::newConnection, this, &IconServer::accept);
    }
    quint16 port() const { return m_server.serverPort(); }

  private:
    void accept() {
        while (QTcpSocket *s = m_server.nextPendingConnection()) {
            ++connections;
            mostOpen = std::max(mostOpen, connections - closed);
            connect(s, &QTcpSocket::disconnected, this, [this] { ++closed; });
            connect(s, &QTcpSocket::readyRead, this, [this, s] {
                request += s->readAll();
                if (!silent && request.endsWith("\r\n\r\n\r\n"))
                    answer(s);
            });
        }
    }
    void answer(QTcpSocket *s) {
        if (trickle == 0) {
            s->write(reply);
            if (!hold)
                s->disconnectFromHost();
            return;
        }
        auto *timer = new QTimer(s);
        connect(timer, &QTimer::timeout, s, [this, s, sent = qsizetype(0)]() mutable {
            if (sent < reply.size() && s->state() == QAbstractSocket::ConnectedState)
                s->write(reply.mid(sent, trickle));
            sent += trickle;
        });
        timer->start(10);
    }
    QTcpServer m_server;
};
