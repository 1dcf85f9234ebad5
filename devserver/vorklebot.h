#pragma once
// The demo account "vorklebot": always online, answers every IM (a typing
// event first, then a reply quoting the message) and answers chat messages
// that name it. It reads the same lines a client would get, and acts
// through the server's operations, always from a timer so that it never
// re-enters the code that delivered a line.

#include "devserver/endpoint.h"

#include <QObject>

namespace devserver {

class DevServer;

class VorkleBot : public QObject, public Endpoint {
    Q_OBJECT
  public:
    explicit VorkleBot(DevServer *server);

    void sendLine(const QString &line) override;
    void dropConnection() override {}

    // The reply to a message: its text without tags, quoted. Pure.
    static QString replyTo(const QString &message);

  private:
    void onIm(const QString &line);
    void onChat(const QString &line);
    void onInvite(const QString &line);

    DevServer *m_server;
};

} // namespace devserver
