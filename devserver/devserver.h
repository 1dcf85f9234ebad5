#pragma once
// The TOC2 development server: accepts client connections, signs them on
// against the store, and carries IMs, presence, chat rooms, buddy-list and
// privacy changes between them. One thread; every socket event runs to its
// end before the next. Only password key derivation, slow by design, runs on
// worker threads, while the session it is for waits.

#include "devserver/chatrooms.h"
#include "devserver/commandparser.h"
#include "devserver/onlineuser.h"
#include "devserver/passwordhash.h"
#include "devserver/serveroptions.h"
#include "devserver/store.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QThreadPool>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>

class QTcpServer;

namespace devserver {

class HttpServer;
class Session;
class VorkleBot;

class DevServer : public QObject {
    Q_OBJECT
  public:
    static const QString kBotName; // "vorklebot"
    static const QString kBotRoom; // "chat100"
    static constexpr int kMaxSessions = 2000;

    explicit DevServer(const ServerOptions &options, QObject *parent = nullptr);
    ~DevServer() override;

    // Opens the store and starts listening; false with *error on failure.
    bool start(QString *error);
    quint16 port() const;
    quint16 httpPort() const;
    const ServerOptions &options() const { return m_options; }
    Store &store() { return *m_store; }
    int sessionCount() const { return int(m_sessions.size()); }

    // From sessions.
    void handleSignOn(Session *session, const Command &cmd);
    void handleCommand(Session *session, const Command &cmd);
    void sessionClosed(Session *session);

    // The operations behind the commands; the bot uses them too.
    OnlineUser *user(const QString &name);
    void sendIm(OnlineUser &from, const QString &to, const QString &message, bool autoResponse);
    void sendClientEvent(OnlineUser &from, const QString &to, int event);
    void chatSend(OnlineUser &from, qint32 id, const QString &message);
    void chatAccept(OnlineUser &from, qint32 id);

    // For the HTTP listener.
    std::optional<QByteArray> iconFor(const QString &name) const;
    std::optional<QByteArray> profilePageFor(const QString &name) const;

    void log(const QString &text) const;

  private:
    using Handler = void (DevServer::*)(OnlineUser &, const QStringList &);
    static const QHash<QString, Handler> &handlers();

    void onNewConnection();
    void onKeepAlive();
    void startBot();

    // Sign-on and sign-off.
    void refuseSignOn(Session *session, const QString &why);
    void finishSignOn(Session *session, const QString &name,
                      const std::optional<PasswordHash> &stored, const PasswordCheck &check);
    std::optional<BuddyConfig> acceptAccount(const QString &name,
                                             const std::optional<PasswordHash> &stored,
                                             const PasswordCheck &check, QString *why);
    // Runs work on a worker thread while the session's next lines wait, then
    // done() on this thread, unless the session has closed by then.
    void checkPasswordOffLoop(Session *session, std::function<PasswordCheck()> work,
                              std::function<void(const PasswordCheck &)> done);
    void signOff(const QString &name);
    void sendError(OnlineUser &u, const QString &error);
    void send(OnlineUser &u, const QString &line);

    // Presence.
    QString presenceLine(const OnlineUser &u, bool online) const;
    void goOnline(OnlineUser &u);
    void showTo(OnlineUser &u, OnlineUser &watcher);
    void broadcastPresence(OnlineUser &u);
    void refreshVisibility(OnlineUser &u);
    void configChanged(OnlineUser &u);
    bool canReach(const OnlineUser &from, const QString &to, OnlineUser **target);

    // Chat.
    void joinRoom(OnlineUser &u, ChatRoom &room);
    void leaveRoom(OnlineUser &u, qint32 id);

    // Command handlers.
    void cmdInitDone(OnlineUser &u, const QStringList &a);
    void cmdSendIm(OnlineUser &u, const QStringList &a);
    void cmdClientEvent(OnlineUser &u, const QStringList &a);
    void cmdChatJoin(OnlineUser &u, const QStringList &a);
    void cmdChatAccept(OnlineUser &u, const QStringList &a);
    void cmdChatSend(OnlineUser &u, const QStringList &a);
    void cmdChatLeave(OnlineUser &u, const QStringList &a);
    void cmdChatInvite(OnlineUser &u, const QStringList &a);
    void cmdSetAway(OnlineUser &u, const QStringList &a);
    void cmdSetIdle(OnlineUser &u, const QStringList &a);
    void cmdSetInfo(OnlineUser &u, const QStringList &a);
    void cmdGetInfo(OnlineUser &u, const QStringList &a);
    void cmdGetStatus(OnlineUser &u, const QStringList &a);
    void cmdEvil(OnlineUser &u, const QStringList &a);
    void cmdNewBuddies(OnlineUser &u, const QStringList &a);
    void cmdRemoveBuddy(OnlineUser &u, const QStringList &a);
    void cmdNewGroup(OnlineUser &u, const QStringList &a);
    void cmdDelGroup(OnlineUser &u, const QStringList &a);
    void cmdAddDeny(OnlineUser &u, const QStringList &a);
    void cmdRemoveDeny(OnlineUser &u, const QStringList &a);
    void cmdAddPermit(OnlineUser &u, const QStringList &a);
    void cmdRemovePermit(OnlineUser &u, const QStringList &a);
    void cmdSetPdMode(OnlineUser &u, const QStringList &a);
    void cmdFormatNickname(OnlineUser &u, const QStringList &a);
    void cmdChangePasswd(OnlineUser &u, const QStringList &a);
    void cmdSetCaps(OnlineUser &u, const QStringList &a);
    void editList(OnlineUser &u, const QStringList &a, bool permit, bool add);
    void saveConfig(OnlineUser &u);

    ServerOptions m_options;
    std::unique_ptr<Store> m_store;
    QTcpServer *m_listener = nullptr;
    HttpServer *m_http = nullptr;
    VorkleBot *m_bot = nullptr;
    QTimer m_keepAlive;
    QSet<Session *> m_sessions;
    std::unordered_map<QString, std::unique_ptr<OnlineUser>> m_users;
    // Online users that list the key as a buddy.
    QHash<QString, QSet<QString>> m_watchers;
    ChatRooms m_rooms;
    qint64 m_startTime = 0;
    // Password checks; its destructor waits for the ones still running.
    QThreadPool m_passwordThreads;
};

} // namespace devserver
