#pragma once
// The TOC2 development server: accepts client connections, signs them on
// against the store, and carries IMs, presence, chat rooms, buddy-list and
// privacy changes between them. An account may be signed on from several
// connections at once. One thread; every socket event runs to its end
// before the next. Only password key derivation, slow by design, runs on
// worker threads, while the session it is for waits.

#include "devserver/chatrooms.h"
#include "devserver/commandparser.h"
#include "devserver/onlineuser.h"
#include "devserver/passwordhash.h"
#include "devserver/profilecookie.h"
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
    // The answer to an HTTP request that reached the TOC port.
    QByteArray answerHttp(const QByteArray &request) const;

    // The operations behind the commands; the bot uses them too.
    OnlineUser *user(const QString &name);
    const OnlineUser *user(const QString &name) const;
    Connection *botConnection();
    void sendIm(OnlineUser &from, const QString &to, const QString &message, bool autoResponse);
    void sendClientEvent(OnlineUser &from, const QString &to, int event);
    void chatSend(Connection &from, qint32 id, const QString &message);
    void chatAccept(Connection &from, qint32 id);

    // For the HTTP listeners.
    std::optional<QByteArray> iconFor(const QString &name) const;
    std::optional<QByteArray> profilePageFor(const QString &name) const;
    // The page behind a relative GOTO_URL: only while `user` is online and
    // lets `from` see it.
    std::optional<QByteArray> profileLookupFor(const QString &from, const QString &user) const;
    const ProfileCookie &profileCookie() const { return m_cookie; }

    void log(const QString &text) const;

  private:
    using Handler = void (DevServer::*)(Connection &, const QStringList &);
    // Which arguments are unescaped once read: the free text a client escapes.
    enum class Text { None, All, Second, Fifth, WholeLine };
    struct Rule {
        Handler handler;
        Text text;
    };
    static const QHash<QString, Rule> &rules();
    static QStringList argumentsFor(const Command &cmd, Text text);

    void onNewConnection();
    void onKeepAlive();
    void startBot();

    // Sign-on and sign-off.
    void refuseSignOn(Session *session, const QString &why);
    void finishSignOn(Session *session, LineStyle style, const QString &name,
                      const std::optional<PasswordHash> &stored, const PasswordCheck &check);
    std::optional<BuddyConfig> acceptAccount(const QString &name,
                                             const std::optional<PasswordHash> &stored,
                                             const PasswordCheck &check, QString *why);
    void sendSignOnLines(Connection &c);
    // Runs work on a worker thread while the session's next lines wait, then
    // done() on this thread, unless the session has closed by then.
    void checkPasswordOffLoop(Session *session, std::function<PasswordCheck()> work,
                              std::function<void(const PasswordCheck &)> done);
    Connection *connectionOf(Session *session);
    void closeConnection(Connection &c);
    void goOffline(OnlineUser &u);
    void stopWatching(OnlineUser &u, const QString &buddy);

    // Sending: to one connection, to every connection of the account that
    // has sent toc_init_done, or to the account's other connections.
    void send(Connection &c, const QString &line);
    void send(OnlineUser &u, const QString &line);
    void sendOthers(Connection &c, const QStringList &lines);
    void sendError(Connection &c, const QString &error);

    // Presence.
    QString presenceLine(const OnlineUser &u) const;
    QString capsLine(const OnlineUser &u) const;
    bool sees(const OnlineUser &watcher, const OnlineUser &u) const;
    void showTo(OnlineUser &u, OnlineUser &watcher);
    void hideFrom(OnlineUser &u, OnlineUser &watcher);
    void reconsider(OnlineUser &u, OnlineUser &watcher, bool resend);
    void announce(Connection &c);
    void broadcastPresence(OnlineUser &u);
    void configChanged(OnlineUser &u, bool modeChanged = false, const QStringList &named = {});
    bool canReach(const OnlineUser &from, const QString &to, OnlineUser **target);

    // Chat.
    ChatRoom *roomOf(Connection &c, qint32 id);
    void joinRoom(Connection &c, ChatRoom &room, const QString &shownName);
    void leaveRoom(Connection &c, const QString &key);
    void sendToRoom(const ChatRoom &room, const Connection *except,
                    const std::function<QString(qint32 id)> &line);

    // Command handlers.
    void cmdInitDone(Connection &c, const QStringList &a);
    void cmdSendIm(Connection &c, const QStringList &a);
    void cmdSendImEnc(Connection &c, const QStringList &a);
    void cmdClientEvent(Connection &c, const QStringList &a);
    void cmdChatJoin(Connection &c, const QStringList &a);
    void cmdChatAccept(Connection &c, const QStringList &a);
    void cmdChatSend(Connection &c, const QStringList &a);
    void cmdChatLeave(Connection &c, const QStringList &a);
    void cmdChatInvite(Connection &c, const QStringList &a);
    void cmdSetAway(Connection &c, const QStringList &a);
    void cmdSetIdle(Connection &c, const QStringList &a);
    void cmdSetInfo(Connection &c, const QStringList &a);
    void cmdGetInfo(Connection &c, const QStringList &a);
    void cmdGetStatus(Connection &c, const QStringList &a);
    void cmdEvil(Connection &c, const QStringList &a);
    void cmdNewBuddies(Connection &c, const QStringList &a);
    void cmdRemoveBuddy(Connection &c, const QStringList &a);
    void cmdNewGroup(Connection &c, const QStringList &a);
    void cmdDelGroup(Connection &c, const QStringList &a);
    void cmdAddDeny(Connection &c, const QStringList &a);
    void cmdRemoveDeny(Connection &c, const QStringList &a);
    void cmdAddPermit(Connection &c, const QStringList &a);
    void cmdRemovePermit(Connection &c, const QStringList &a);
    void cmdSetPdMode(Connection &c, const QStringList &a);
    void cmdFormatNickname(Connection &c, const QStringList &a);
    void cmdChangePasswd(Connection &c, const QStringList &a);
    void cmdSetCaps(Connection &c, const QStringList &a);
    void editList(Connection &c, const QStringList &a, bool permit, bool add);
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
    ProfileCookie m_cookie;
    qint64 m_startTime = 0;
    // Password checks; its destructor waits for the ones still running.
    QThreadPool m_passwordThreads;
};

} // namespace devserver
