#pragma once
// Options for an in-process server on random loopback ports, quiet, with a
// quick bot, no flood limit unless a test sets one, and cheap password
// records (the suite signs on many times under AddressSanitizer).

#include "devserver/serveroptions.h"

inline devserver::ServerOptions testOptions() {
    devserver::ServerOptions o;
    o.address = QHostAddress(QHostAddress::LocalHost);
    o.port = 0;
    o.httpPort = 0;
    o.log = false;
    o.keepAliveSeconds = 0;
    o.floodLimit = 0;
    o.botTypingDelayMs = 10;
    o.botReplyDelayMs = 20;
    o.passwordIterations = 1000;
    return o;
}
