#pragma once
// A loopback TOC server scripted by a test: it accepts one client at a
// time, records every byte and every data line the client sends, and sends
// whatever frames the test asks for (split anywhere when asked).

#include <QByteArray>
#include <QObject>
#include <QStringList>
#include <QTcpServer>
#include <functional>

class QTcpSocket;

class ScriptedServer : public QObject {
    Q_OBJECT
  public:
    explicit ScriptedServer(QObject *parent = nullptr);
    ~ScriptedServer() override;

    quint16 port() const;

    // Waits (spinning the event loop) until a client is connected.
    bool waitForClient(int ms = 5000);
    bool hasClient() const;
    // Every byte received from the current client, in order.
    QByteArray received() const { return m_received; }
    // Whole frames received from the current client, header included.
    QList<QByteArray> frames() const { return m_frames; }
    // The lines of the data frames received (the trailing NUL removed), in order.
    QStringList lines() const { return m_lines; }
    // Waits until the client sent at least n bytes in all / a given line / n lines.
    bool waitForBytes(qsizetype n, int ms = 5000);
    bool waitForLine(const QString &line, int ms = 5000);
    bool waitForLineStartingWith(const QString &prefix, int ms = 5000);
    bool waitForLines(int count, int ms = 5000);
    // Forgets what was received so far.
    void clearReceived();

    // Sends raw bytes; or a frame with the next server sequence number.
    void sendRaw(const QByteArray &bytes);
    void sendFrame(quint8 type, const QByteArray &data);
    // A data frame holding the line in UTF-8, without a trailing NUL.
    void sendLine(const QString &line);
    // The same bytes, written in pieces of `chunk` bytes with a flush each.
    void sendChunked(const QByteArray &bytes, int chunk);
    void closeClient();
    // Drops the client at once (a reset, not a close).
    void resetClient();
    // Clients accepted so far.
    int connections() const { return m_connections; }

    // The whole sign-on for a client that called Login: waits for the
    // greeting, sends the sign-on frame, waits for the toc2_login line, then
    // sends SIGN_ON, NICK (when given) and CONFIG2 with `config`.
    bool acceptSignOn(const QString &config = QStringLiteral("done:\n"),
                      const QString &nick = QString(), int ms = 5000);

  private:
    void onNewConnection();
    void onReadyRead();

    QTcpServer m_server;
    QTcpSocket *m_client = nullptr;
    QByteArray m_received;
    QByteArray m_pending;
    QList<QByteArray> m_frames;
    QStringList m_lines;
    quint16 m_sequence = 0;
    int m_connections = 0;
};

// Spins the event loop until pred() holds or ms pass; returns pred().
bool waitUntil(const std::function<bool()> &pred, int ms = 5000);
