#include "client/singleinstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTimer>
#include <unistd.h>

const QByteArray SingleInstance::kRaiseLine = QByteArrayLiteral("raise\n");

QString SingleInstance::defaultSocketPath() {
    // Qt makes sure the runtime folder belongs to the user and is closed to
    // others (it falls back to a private folder under /tmp).
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder + QStringLiteral("/vorkle-%1.socket").arg(getuid());
}

SingleInstance::SingleInstance(const QString &socketPath, QObject *parent)
    : QObject(parent), m_path(socketPath) {}

bool SingleInstance::raiseRunning(int timeoutMs) const {
    QLocalSocket socket;
    socket.connectToServer(m_path);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(kRaiseLine);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::listen() {
    if (isListening())
        return true;
    // Qt binds the socket beside its place and moves it there, replacing
    // whatever is there: a live process must be asked first. A socket
    // nobody answers on was left by a process that crashed, and goes.
    QLocalSocket probe;
    probe.connectToServer(m_path);
    if (probe.waitForConnected(500))
        return false;
    QLocalServer::removeServer(m_path);
    auto *server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(m_path)) {
        delete server;
        return false;
    }
    m_server = server;
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::accept);
    return true;
}

bool SingleInstance::isListening() const {
    return m_server && m_server->isListening();
}

void SingleInstance::accept() {
    while (QLocalSocket *peer = m_server->nextPendingConnection()) {
        if (m_peers >= kMaxPeers) {
            peer->abort();
            peer->deleteLater();
            continue;
        }
        ++m_peers;
        peer->setReadBufferSize(kMaxLineBytes);
        connect(peer, &QLocalSocket::readyRead, this, [this, peer] { read(peer); });
        connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
        connect(peer, &QObject::destroyed, this, [this] { --m_peers; });
        // A peer that keeps the connection open is not waited for.
        QTimer::singleShot(kPeerTimeoutMs, peer, [this, peer] { drop(peer); });
        read(peer);
    }
}

void SingleInstance::read(QLocalSocket *peer) {
    if (!peer->canReadLine()) {
        if (peer->bytesAvailable() >= kMaxLineBytes)
            drop(peer);
        return;
    }
    const QByteArray line = peer->readLine(kMaxLineBytes + 1);
    // One request per connection: anything else is junk and ends it.
    drop(peer);
    if (line == kRaiseLine)
        emit raiseRequested();
}

void SingleInstance::drop(QLocalSocket *peer) {
    peer->abort();
    peer->deleteLater();
}
