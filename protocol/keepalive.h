#pragma once
// TCP keep-alive for the connection to the TOC server. The server sends no
// keep-alives of its own, so a link that stops acknowledging (a peer that
// vanished, a router that dropped the connection's state) would otherwise
// go unnoticed: every IM typed would still be queued as sent. The kernel's
// keep-alive probes and a user timeout make it give up on such a link; the
// socket then reports an error and the connection is lost as any other.

#include <QtGlobal>

namespace toc {

struct KeepAliveTimers {
    int idleSeconds;        // quiet time before the first probe
    int intervalSeconds;    // between unanswered probes
    int probes;             // unanswered probes before giving up
    int userTimeoutSeconds; // sent data, or probes, unacknowledged this long
};

// A dead link must be reported within two minutes. With nothing to send, the
// probes at 20 s, 25 s, ... 50 s go unanswered and the link is dropped at
// 50 s. Data sent into a dead link is dropped 50 s after it was sent; the
// worst case is data sent just before the probes would have given up, so
// about 100 s. The user timeout also governs the probes on Linux (they end
// once it passes), so idle + probes * interval equals it.
inline constexpr KeepAliveTimers kKeepAliveTimers{20, 5, 6, 50};

// The timers to use: kKeepAliveTimers, or those given in the environment as
// VORKLE_TCP_KEEPALIVE="idle,interval,probes,timeout" (seconds, each at
// least 1) so that tests can shorten them. A malformed value is ignored with
// a warning.
KeepAliveTimers keepAliveTimers();

// Sets the keep-alive timers and the user timeout of a connected TCP socket
// where the system lets us (Linux); the caller switches keep-alive on
// (QAbstractSocket::KeepAliveOption). False when a timer could not be set.
bool applyKeepAlive(qintptr descriptor, const KeepAliveTimers &timers);

} // namespace toc
