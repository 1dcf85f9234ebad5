#pragma once
// One Vorkle per user: the first process listens on a local socket of the
// user's own; a later start finds it there, asks it to come forward and
// ends. The socket lives in the user's runtime folder and its name carries
// the user id, so two users on one machine never meet. Whatever a peer
// writes is read a few bytes at a time and never waited for: junk, a
// flood or a silent peer is dropped, and the program carries on.

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

class SingleInstance : public QObject {
    Q_OBJECT

  public:
    // The one request a later start sends.
    static const QByteArray kRaiseLine;
    // A peer that says nothing sensible within this time, or more than
    // this many bytes, is dropped; past kMaxPeers at once new ones are too.
    static constexpr int kPeerTimeoutMs = 2000;
    static constexpr int kMaxLineBytes = 64;
    static constexpr int kMaxPeers = 8;

    // The socket's path for this user: in the runtime folder, with the
    // user id in its name.
    static QString defaultSocketPath();

    explicit SingleInstance(const QString &socketPath = defaultSocketPath(),
                            QObject *parent = nullptr);

    // Asks a running process to come forward; true when one took the
    // request. Waits at most timeoutMs.
    bool raiseRunning(int timeoutMs = 1000) const;
    // Listens for later starts; a socket left by a process that ended
    // without removing it is taken over. False when it cannot listen (a
    // live process listens there, or the folder is not writable).
    bool listen();
    bool isListening() const;
    QString socketPath() const { return m_path; }

  signals:
    // A later start asked this one to come forward.
    void raiseRequested();

  private:
    void accept();
    void read(QLocalSocket *peer);
    void drop(QLocalSocket *peer);

    QString m_path;
    QLocalServer *m_server = nullptr;
    int m_peers = 0;
};
