#include "tocclient.h"

#include "protocol/wire.h"

#include <QTest>

TocClient::TocClient(const QString &n, const QString &p) : name(n), password(p) {
    connect(&toc, &QelTOCSock::IncomingPacket, this, [this](const QByteArray &frame) {
        if (frame.size() >= toc::kFlapHeaderSize && quint8(frame[1]) == toc::Data)
            lines.append(QString::fromUtf8(frame.mid(toc::kFlapHeaderSize)));
    });
    connect(&toc, &QelTOCSock::LoggedIn, this,
            [this](const QString &, const QStringList &buddies, const QStringList &blocked,
                   const QStringList &permitted, const QStringList &, const QString &,
                   qint16 mode) {
                loggedIn = true;
                buddyList = buddies;
                blockList = blocked;
                permitList = permitted;
                privacyMode = mode;
            });
    connect(&toc, &QelTOCSock::Disconnected, this, [this] { disconnected = true; });
}

bool TocClient::signOn(quint16 port) {
    loggedIn = false;
    toc.Login(name, password, QStringLiteral("127.0.0.1"), port);
    if (!QTest::qWaitFor([&] { return loggedIn; }, 5000))
        return false;
    // toc_init_done left with LoggedIn; a status request answered after it
    // proves the server has handled it.
    const int before = count(QStringLiteral("UPDATE_BUDDY2:vorklebot:"));
    toc.GetStatus(QStringLiteral("vorklebot"));
    return QTest::qWaitFor(
        [&] { return count(QStringLiteral("UPDATE_BUDDY2:vorklebot:")) > before; }, 5000);
}

bool TocClient::waitLine(const QString &line, int ms) const {
    return QTest::qWaitFor([&] { return lines.contains(line); }, ms);
}

bool TocClient::waitPrefix(const QString &prefix, int ms) const {
    return QTest::qWaitFor([&] { return count(prefix) > 0; }, ms);
}

int TocClient::count(const QString &prefix) const {
    return int(matching(prefix).size());
}

QStringList TocClient::matching(const QString &prefix) const {
    QStringList out;
    for (const QString &l : lines) {
        if (l.startsWith(prefix))
            out.append(l);
    }
    return out;
}
