#pragma once
// Benchmarks and fuzzers run the real window, which remembers settings and
// could ask for a stored password: they get a home of their own, so the
// real user's settings, history and keyring are never touched. Children
// started afterwards inherit it.
#include <QByteArray>
#include <QDir>
#include <QTemporaryDir>

inline void usePrivateHome() {
    static QTemporaryDir home;
    for (const char *var : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"}) {
        const QString path = home.path() + QLatin1Char('/') + QLatin1String(var);
        QDir().mkpath(path);
        qputenv(var, path.toUtf8());
    }
    // No session bus: no secret store is asked.
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
}
