#pragma once
// A bare TOC client on a QTcpSocket, for tests that must send exactly the
// bytes they choose (good or bad) and see exactly the frames that come back.

#include "protocol/framebuffer.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <QTcpSocket>

class RawClient {
  public:
    RawClient();

    bool connectTo(quint16 port);
    void sendRaw(const QByteArray &bytes);
    void sendFrame(quint8 type, const QByteArray &data);
    // A data frame: the line in UTF-8 and one NUL.
    void sendLine(const QString &line);

    // The greeting, then waits for the server's sign-on frame.
    bool greet(bool crlf = false);
    // Our sign-on frame and the toc2_login line.
    void sendLogin(const QString &name, const QString &password);
    // Both.
    void startSignOn(const QString &name, const QString &password, bool crlf = false);
    // The same, then waits for the configuration, sends toc_init_done and
    // waits until the server has handled it.
    bool signOn(const QString &name, const QString &password);

    QList<QByteArray> frames() const { return m_frames; }
    // The data lines received, in order.
    QStringList lines() const;
    bool waitFrames(int count, int ms = 5000);
    bool waitLine(const QString &prefix, int ms = 5000);
    int countLines(const QString &prefix) const;
    bool waitClosed(int ms = 5000);
    bool isConnected() const { return m_socket.state() == QAbstractSocket::ConnectedState; }
    void clear() { m_frames.clear(); }
    void close() { m_socket.abort(); }

  private:
    void pump();

    QTcpSocket m_socket;
    toc::FrameBuffer m_buffer;
    QList<QByteArray> m_frames;
    quint16 m_sequence = 0;
};
