#include "keepalive.h"

#include <QByteArray>
#include <QList>
#include <QtDebug>

#ifdef __linux__
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#endif

namespace toc {
namespace {

bool parseKeepAliveTimers(const QByteArray &text, KeepAliveTimers *out) {
    const QList<QByteArray> parts = text.split(',');
    if (parts.size() != 4)
        return false;
    int values[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = parts[i].trimmed().toInt(&ok);
        // The kernel takes at most 32767 s for the idle time and interval
        // and 127 probes; the user timeout is set in milliseconds.
        if (!ok || values[i] < 1 || values[i] > (i == 2 ? 127 : 32767))
            return false;
    }
    *out = {values[0], values[1], values[2], values[3]};
    return true;
}

} // namespace

KeepAliveTimers keepAliveTimers() {
    KeepAliveTimers timers = kKeepAliveTimers;
    const QByteArray text = qgetenv("VORKLE_TCP_KEEPALIVE");
    if (!text.isEmpty() && !parseKeepAliveTimers(text, &timers))
        qWarning("VORKLE_TCP_KEEPALIVE=\"%s\" is not idle,interval,probes,timeout in "
                 "seconds; using the defaults",
                 text.constData());
    return timers;
}

bool applyKeepAlive(qintptr descriptor, const KeepAliveTimers &timers) {
#ifdef __linux__
    const auto set = [descriptor](int option, int value) {
        return setsockopt(int(descriptor), IPPROTO_TCP, option, &value, sizeof value) == 0;
    };
    // Each is tried even when one before it failed.
    const bool idle = set(TCP_KEEPIDLE, timers.idleSeconds);
    const bool interval = set(TCP_KEEPINTVL, timers.intervalSeconds);
    const bool probes = set(TCP_KEEPCNT, timers.probes);
    const bool timeout = set(TCP_USER_TIMEOUT, timers.userTimeoutSeconds * 1000);
    return idle && interval && probes && timeout;
#else
    // Elsewhere keep-alive (switched on by the caller) runs on the system's
    // own timers.
    Q_UNUSED(descriptor);
    Q_UNUSED(timers);
    return true;
#endif
}

} // namespace toc
