#pragma once
// Who is known online or offline this session. Online: the buddy list's
// presence updates, and anyone who sent us an IM or a room line or was in
// a room with us. Offline: the buddies of the configuration until the
// server reports them, and a buddy the server reported signed off. Anyone
// else is unknown: an IM to them asks the server (toc_get_status), since
// servers drop an IM to someone offline without a word.

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <functional>

class QelTOCSock;

class SeenOnline : public QObject {
    Q_OBJECT

  public:
    // Names beyond this many are not remembered (a server could send
    // names without end); they stay unknown.
    static constexpr int kMaxNames = 50000;

    explicit SeenOnline(QelTOCSock *toc, QObject *parent = nullptr);

    // Known offline (not merely unknown).
    bool appearsOffline(const QString &name) const;
    void note(const QString &name, bool online);
    // Calls `offline` now when the name is known offline; for a name whose
    // state is unknown, asks the server and calls it when the answer says
    // offline. Nothing when it is online.
    void whenOffline(const QString &name, std::function<void()> offline);
    // The server's error line, routed by the window: true when it answers a
    // status question of ours (then it is no news for the user).
    bool takeAnswer(qint16 code, const QString &text);
    // A new session knows nobody yet.
    void clear();

  private:
    void loggedIn(const QStringList &BuddyList);
    void answer(const QString &key, bool online);

    QelTOCSock *m_toc;
    QSet<QString> m_online;  // normalised names
    QSet<QString> m_offline; // normalised names
    // The questions asked and not yet answered, with what waits for them.
    QHash<QString, QList<std::function<void()>>> m_asked;
};
