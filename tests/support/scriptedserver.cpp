#include "scriptedserver.h"

#include "protocol/commands.h"
#include "protocol/framebuffer.h"
#include "protocol/wire.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTcpSocket>
#include <QThread>

bool waitUntil(const std::function<bool()> &pred, int ms) {
    QDeadlineTimer deadline(ms);
    while (!pred()) {
        if (deadline.hasExpired())
            return pred();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

ScriptedServer::ScriptedServer(QObject *parent) : QObject(parent) {
    connect(&m_server, &QTcpServer::newConnection, this, &ScriptedServer::onNewConnection);
    m_server.listen(QHostAddress::LocalHost, 0);
}

ScriptedServer::~ScriptedServer() {
    if (m_client)
        m_client->abort();
}

quint16 ScriptedServer::port() const {
    return m_server.serverPort();
}

bool ScriptedServer::hasClient() const {
    return m_client && m_client->state() == QAbstractSocket::ConnectedState;
}

bool ScriptedServer::waitForClient(int ms) {
    return waitUntil([this] { return hasClient(); }, ms);
}

void ScriptedServer::onNewConnection() {
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        // A new client replaces the old one, as a reconnect does.
        if (m_client) {
            m_client->disconnect(this);
            m_client->abort();
            m_client->deleteLater();
        }
        m_client = socket;
        ++m_connections;
        m_received.clear();
        m_pending.clear();
        m_frames.clear();
        m_lines.clear();
        connect(socket, &QTcpSocket::readyRead, this, &ScriptedServer::onReadyRead);
    }
}

void ScriptedServer::onReadyRead() {
    const QByteArray bytes = m_client->readAll();
    m_received += bytes;
    m_pending += bytes;
    // The greeting is not a frame: skip it before cutting frames.
    if (m_pending.startsWith("FLAPON\n\n"))
        m_pending.remove(0, 8);
    toc::FrameBuffer buffer;
    buffer.append(m_pending);
    QByteArray frame;
    qsizetype used = 0;
    while (buffer.next(frame)) {
        used += frame.size();
        m_frames.append(frame);
        if (frame.size() > 1 && quint8(frame[1]) == toc::Data) {
            QByteArray data = frame.mid(toc::kFlapHeaderSize);
            if (data.endsWith('\0'))
                data.chop(1);
            m_lines.append(QString::fromUtf8(data));
        }
    }
    m_pending.remove(0, used);
}

bool ScriptedServer::waitForBytes(qsizetype n, int ms) {
    return waitUntil([&] { return m_received.size() >= n; }, ms);
}

bool ScriptedServer::waitForLine(const QString &line, int ms) {
    return waitUntil([&] { return m_lines.contains(line); }, ms);
}

bool ScriptedServer::waitForLineStartingWith(const QString &prefix, int ms) {
    return waitUntil(
        [&] {
            for (const QString &l : m_lines)
                if (l.startsWith(prefix))
                    return true;
            return false;
        },
        ms);
}

bool ScriptedServer::waitForLines(int count, int ms) {
    return waitUntil([&] { return m_lines.size() >= count; }, ms);
}

void ScriptedServer::clearReceived() {
    m_received.clear();
    m_frames.clear();
    m_lines.clear();
}

void ScriptedServer::sendRaw(const QByteArray &bytes) {
    if (!m_client)
        return;
    m_client->write(bytes);
    m_client->flush();
}

void ScriptedServer::sendFrame(quint8 type, const QByteArray &data) {
    sendRaw(toc::buildFrame(type, m_sequence++, data));
}

void ScriptedServer::sendLine(const QString &line) {
    sendFrame(toc::Data, line.toUtf8());
}

void ScriptedServer::sendChunked(const QByteArray &bytes, int chunk) {
    for (qsizetype i = 0; i < bytes.size(); i += chunk) {
        sendRaw(bytes.mid(i, chunk));
        // Let each piece arrive on its own.
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(2);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

void ScriptedServer::closeClient() {
    if (m_client) {
        m_client->flush();
        m_client->disconnectFromHost();
    }
}

void ScriptedServer::resetClient() {
    if (m_client)
        m_client->abort();
}

bool ScriptedServer::acceptSignOn(const QString &config, const QString &nick, int ms) {
    if (!waitForClient(ms))
        return false;
    if (!waitUntil([this] { return m_received.startsWith("FLAPON\n\n"); }, ms))
        return false;
    sendFrame(toc::SignOn, QByteArray::fromRawData("\0\0\0\1", 4));
    if (!waitForLineStartingWith(QStringLiteral("toc2_login "), ms))
        return false;
    sendLine(QStringLiteral("SIGN_ON:TOC2.0"));
    if (!nick.isEmpty())
        sendLine(QStringLiteral("NICK:") + nick);
    sendLine(QStringLiteral("CONFIG2:") + config);
    return waitForLine(toc::cmd::initDone(), ms);
}
