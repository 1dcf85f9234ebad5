// vorkle-devserver: a local TOC2 server for development and tests.
#include "devserver/devserver.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHostAddress>
#include <csignal>
#include <cstdio>

namespace {

bool parseListen(const QString &text, QHostAddress *address, quint16 *port) {
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon <= 0)
        return false;
    QString host = text.left(colon);
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    bool ok = false;
    const uint p = text.mid(colon + 1).toUInt(&ok);
    if (!ok || p > 65535)
        return false;
    if (host == QLatin1String("localhost"))
        host = QStringLiteral("127.0.0.1");
    QHostAddress a;
    if (!a.setAddress(host))
        return false;
    *address = a;
    *port = quint16(p);
    return true;
}

int fail(const QString &message) {
    std::fprintf(stderr, "vorkle-devserver: %s\n", qPrintable(message));
    return 2;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vorkle-devserver"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VORKLE_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "A local TOC2 server for Vorkle: accounts are created at their first sign-on, "
        "and the demo account vorklebot is always online."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption listen(
        QStringLiteral("listen"),
        QStringLiteral("Address and port for TOC2 clients (default 127.0.0.1:5190)."),
        QStringLiteral("HOST:PORT"), QStringLiteral("127.0.0.1:5190"));
    const QCommandLineOption httpPort(
        QStringLiteral("http-port"),
        QStringLiteral("Port for buddy icons and profiles (default 80 when it can be bound, else "
                       "5191). Profile pages are served on the TOC port as well."),
        QStringLiteral("N"));
    const QCommandLineOption db(
        QStringLiteral("db"),
        QStringLiteral("SQLite file that keeps accounts between runs (default: in memory)."),
        QStringLiteral("FILE"), QStringLiteral(":memory:"));
    const QCommandLineOption closed(
        QStringLiteral("closed-registration"),
        QStringLiteral("Refuse unknown screen names instead of creating them."));
    const QCommandLineOption keepAlive(
        QStringLiteral("keepalive"),
        QStringLiteral("Seconds between keep-alive frames, 0 for none (default 0)."),
        QStringLiteral("S"), QStringLiteral("0"));
    const QCommandLineOption flood(
        QStringLiteral("flood-limit"),
        QStringLiteral("Command lines per second a client may send, 0 for no limit (default 20). "
                       "Lines over it get ERROR:903; a client that goes on is disconnected."),
        QStringLiteral("N"), QStringLiteral("20"));
    const QCommandLineOption iterations(
        QStringLiteral("password-iterations"),
        QStringLiteral("PBKDF2 rounds for passwords stored from now on, at least 1000 (default "
                       "100000). Stored passwords are checked with their own count; older ones "
                       "are rewritten with this count at their next sign-on."),
        QStringLiteral("N"), QString::number(devserver::PasswordHash::kDefaultIterations));
    const QCommandLineOption verbose(QStringLiteral("verbose"),
                                     QStringLiteral("Log every line in and out."));
    parser.addOptions({listen, httpPort, db, closed, keepAlive, flood, iterations, verbose});
    parser.process(app);

    devserver::ServerOptions options;
    if (!parseListen(parser.value(listen), &options.address, &options.port))
        return fail(
            QStringLiteral("--listen wants HOST:PORT, got \"%1\"").arg(parser.value(listen)));
    bool ok = true;
    if (parser.isSet(httpPort)) {
        const uint p = parser.value(httpPort).toUInt(&ok);
        if (!ok || p > 65535)
            return fail(QStringLiteral("--http-port wants a port number"));
        options.httpPort = int(p);
    }
    options.database = parser.value(db);
    options.openRegistration = !parser.isSet(closed);
    options.keepAliveSeconds = parser.value(keepAlive).toInt(&ok);
    if (!ok || options.keepAliveSeconds < 0 || options.keepAliveSeconds > 86400)
        return fail(QStringLiteral("--keepalive wants seconds (0 to 86400)"));
    options.floodLimit = parser.value(flood).toInt(&ok);
    if (!ok || options.floodLimit < 0)
        return fail(QStringLiteral("--flood-limit wants a number of lines (0 for none)"));
    options.passwordIterations = parser.value(iterations).toInt(&ok);
    if (!ok || options.passwordIterations < 1000)
        return fail(QStringLiteral("--password-iterations wants a number, at least 1000"));
    options.verbose = parser.isSet(verbose);

    // SIGTERM and SIGINT end the event loop, so the store is closed cleanly.
    for (int sig : {SIGINT, SIGTERM})
        std::signal(sig, [](int) { QCoreApplication::quit(); });

    devserver::DevServer server(options);
    QString error;
    if (!server.start(&error))
        return fail(error);
    return app.exec();
}
