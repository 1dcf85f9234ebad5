#include "rawclient.h"

#include "protocol/wire.h"

#include <QTest>

RawClient::RawClient() {
    QObject::connect(&m_socket, &QTcpSocket::readyRead, [this] { pump(); });
}

bool RawClient::connectTo(quint16 port) {
    m_socket.connectToHost(QHostAddress::LocalHost, port);
    return m_socket.waitForConnected(5000);
}

void RawClient::pump() {
    m_buffer.append(m_socket.readAll());
    QByteArray frame;
    while (m_buffer.next(frame))
        m_frames.append(frame);
}

void RawClient::sendRaw(const QByteArray &bytes) {
    m_socket.write(bytes);
    m_socket.flush();
}

void RawClient::sendFrame(quint8 type, const QByteArray &data) {
    sendRaw(toc::buildFrame(type, m_sequence++, data));
}

void RawClient::sendLine(const QString &line) {
    sendFrame(toc::Data, line.toUtf8() + '\0');
}

bool RawClient::greet(bool crlf) {
    const qsizetype before = m_frames.size();
    sendRaw(crlf ? QByteArray("FLAPON\r\n\r\n") : QByteArray("FLAPON\n\n"));
    return waitFrames(int(before) + 1);
}

void RawClient::startSignOn(const QString &name, const QString &password, bool crlf) {
    greet(crlf);
    sendLogin(name, password);
}

void RawClient::sendLogin(const QString &name, const QString &password) {
    sendFrame(toc::SignOn, toc::signOnData(name.toUtf8()));
    sendLine(toc::signOnLine(QStringLiteral("login.oscar.aol.com"), 5190, name,
                             toc::roastPassword(password.toUtf8())));
}

bool RawClient::signOn(const QString &name, const QString &password) {
    startSignOn(name, password);
    if (!waitLine(QStringLiteral("CONFIG2:")))
        return false;
    sendLine(QStringLiteral("toc_init_done"));
    // Its only answer comes after everything toc_init_done caused.
    sendLine(QStringLiteral("toc_get_status \"signed.on\""));
    if (!waitLine(QStringLiteral("ERROR:901:signed.on")))
        return false;
    m_frames.clear();
    return true;
}

QStringList RawClient::lines() const {
    QStringList out;
    for (const QByteArray &f : m_frames) {
        if (f.size() >= toc::kFlapHeaderSize && quint8(f[1]) == toc::Data)
            out.append(QString::fromUtf8(f.mid(toc::kFlapHeaderSize)));
    }
    return out;
}

bool RawClient::waitFrames(int count, int ms) {
    return QTest::qWaitFor([&] { return m_frames.size() >= count; }, ms);
}

int RawClient::countLines(const QString &prefix) const {
    int n = 0;
    for (const QString &l : lines())
        n += l.startsWith(prefix) ? 1 : 0;
    return n;
}

bool RawClient::waitLine(const QString &prefix, int ms) {
    return QTest::qWaitFor([&] { return countLines(prefix) > 0; }, ms);
}

bool RawClient::waitClosed(int ms) {
    return QTest::qWaitFor([&] { return m_socket.state() == QAbstractSocket::UnconnectedState; },
                           ms);
}
