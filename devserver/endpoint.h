#pragma once
// What the server talks to: a client connection or the built-in bot.

#include <QHostAddress>
#include <QString>

namespace devserver {

class Endpoint {
  public:
    virtual ~Endpoint() = default;
    // Queues one server line. Never calls back into the server.
    virtual void sendLine(const QString &line) = 0;
    // Ends the connection from the event loop, never synchronously.
    virtual void dropConnection() = 0;
    // The server address this endpoint reached, for URLs handed back to it.
    virtual QHostAddress localAddress() const { return QHostAddress(QHostAddress::LocalHost); }
};

} // namespace devserver
