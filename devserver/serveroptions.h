#pragma once

#include "devserver/passwordhash.h"

#include <QHostAddress>
#include <QString>

namespace devserver {

struct ServerOptions {
    QHostAddress address = QHostAddress(QHostAddress::LocalHost);
    quint16 port = 5190; // 0: any free port
    int httpPort = -1;   // -1: 80 when it can be bound, else 5191; 0: any free port
    QString database = QStringLiteral(":memory:");
    bool openRegistration = true;
    int keepAliveSeconds = 0; // 0: no keep-alive frames, as the TOC2 servers people run
    int floodLimit = 20;      // command lines per second and client, 0: no limit
    bool log = true;          // one line per sign-on, sign-off and error on stderr
    bool verbose = false;     // every line in and out too
    int botTypingDelayMs = 50;
    int botReplyDelayMs = 150;
    int signOnTimeoutMs = 30000; // a connection must sign on within this time
    // PBKDF2 rounds for password records written from now on; a stored
    // record is always checked with its own count.
    int passwordIterations = PasswordHash::kDefaultIterations;
};

} // namespace devserver
