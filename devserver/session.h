#pragma once
// One client connection: the FLAPON greeting, FLAP frames in both
// directions, flood control, and handing each command line to the server.
// A connection that starts with "GET " instead of the greeting is an HTTP
// request for a profile page (the relative URL of GOTO_URL) and is answered
// as the HTTP listener answers it.

#include "devserver/endpoint.h"
#include "devserver/floodcontrol.h"
#include "protocol/framebuffer.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QObject>
#include <QTimer>

class QTcpSocket;

namespace devserver {

class DevServer;

class Session : public QObject, public Endpoint {
    Q_OBJECT
  public:
    static constexpr int kMaxLine = 2048;      // a longer client line closes the connection
    static constexpr int kMaxDataFrame = 8192; // a longer declared frame ends the connection
    static constexpr int kMaxOtherFrame = 256; // for frame types other than data
    static constexpr qint64 kMaxQueued =
        16 * 1024 * 1024; // unsent bytes before a reader is dropped
    static constexpr qint64 kReadChunk = 64 * 1024;

    Session(QTcpSocket *socket, DevServer *server);
    ~Session() override;

    void sendLine(const QString &line) override;
    void dropConnection() override;
    void sendFrame(quint8 type, const QByteArray &data);
    // Sends what is queued, then closes.
    void closeAfterFlush();

    // While held, lines already received wait in order and no more are read
    // (the socket buffers at most kReadChunk bytes); release handles them.
    void holdLines();
    void releaseLines();

    void setUserName(const QString &name) { m_userName = name; }
    QString userName() const { return m_userName; }
    bool isFramed() const { return m_stage == Stage::Frames; }
    QHostAddress localAddress() const override;
    QString peer() const;
    QString address() const { return m_peer; }

    // Why a frame head cannot be accepted, or an empty text. Pure.
    static QString headProblem(QByteArrayView head);

  private:
    enum class Stage { Greeting, Frames, Http, Closing };

    void onReadyRead();
    void onDisconnected();
    void consumeGreeting(const QByteArray &bytes);
    void readFrames();
    void handleFrames();
    void handleFrame(QByteArrayView frame);
    void handleLine(QByteArrayView data);
    void readHttp();
    // Logs why, sends what is queued, then closes.
    void close(const QString &why);
    void fail(const QString &why);
    void refuseLine(const QString &error, const QString &why);
    void abortNow();

    QTcpSocket *m_socket;
    DevServer *m_server;
    toc::FrameBuffer m_frames;
    QByteArray m_greeting;
    FloodControl m_flood;
    QElapsedTimer m_clock;
    QTimer m_signOnTimer;
    QString m_userName;
    QString m_peer;
    Stage m_stage = Stage::Greeting;
    quint16 m_sequence = 0;
    bool m_reported = false;
    bool m_held = false;
    bool m_clientSignOnFrame = false; // the client's sign-on frame came before its lines
};

} // namespace devserver
