#pragma once
// The session: signs on with a name, password, server and port, and when
// the connection ends without the user ending it (the server closed it, a
// reset, the dead-link timers, a network error) signs on again with the
// same after a wait: 2-5 s at first, doubling up to 5 minutes, with jitter;
// at once when asked ("Reconnect now") or when the system reports the
// network back. A session that ends within kStableMs of its sign-on counts
// as a failed try, so a server that drops every session soon after taking
// it is tried ever more rarely. A refused sign-on, "Logout", or a sign-on
// the user started that never got through are not tried again. After a new
// sign-on the rooms that were open are joined again by name, through the
// pacer, and keep their views (the new room id replaces the old one in
// Conversations).

#include "clock.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class Conversations;
class QelTOCSock;
class SendPacer;

class Session : public QObject {
    Q_OBJECT

  public:
    enum class State { Offline, SigningOn, SignedOn, Waiting };
    struct Account {
        QString name;
        QString password;
        QString server;
        qint32 port = 0;
        QString authServer;
    };
    static constexpr qint64 kFirstDelayMs = 2000;
    static constexpr qint64 kMaxDelayMs = 5 * 60 * 1000;
    // A sign-on that neither ends nor completes in this time is tried anew.
    static constexpr qint64 kSignOnTimeoutMs = 60 * 1000;
    // A session shorter than this was no success for the backoff.
    static constexpr qint64 kStableMs = 60 * 1000;
    // The exchange rooms are joined again in.
    static constexpr qint16 kRoomExchange = 4;

    // The wait before the try after `failures` failed ones, given a random
    // number in [0, 1): 2-5 s for the first, then doubling (up to a quarter
    // more), at most 5 minutes.
    static qint64 retryDelay(int failures, double random);

    // `random` gives numbers in [0, 1); the system's generator when empty.
    Session(QelTOCSock *toc, Conversations *conversations, Clock &clock = Clock::system(),
            std::function<double()> random = {}, QObject *parent = nullptr);
    ~Session() override;

    // Starts a sign-on. An automatic one (at start, nobody watching) is
    // tried again when the connection fails, as a lost one is.
    void signOn(const Account &account, bool automatic = false);
    // Ends the session for good: nothing is tried again.
    void logout();
    // While waiting to try again: tries now.
    void retryNow();
    // The system reports the network reachable: a waiting session tries now.
    void networkBack();
    // Follows the system's reachability where a backend for it loads.
    void watchNetwork();
    // The rooms joined again go through this pacer (at once without one).
    void setPacer(SendPacer *pacer) { m_pacer = pacer; }

    State state() const { return m_state; }
    bool isSignedOn() const { return m_state == State::SignedOn; }
    // Between a lost connection and the next sign-on.
    bool isRetrying() const { return m_retrying; }
    // Whole seconds until the next try while waiting (rounded up).
    int secondsToRetry() const;
    const Account &account() const { return m_account; }

  signals:
    void stateChanged(Session::State state);
    // The server took the sign-on (its configuration came, toc_init_done went).
    void signedOn();
    // The connection ended without the user ending it. `why` is for the
    // user (empty when an error line said it already); `retrying` tells
    // whether a new sign-on will follow.
    void connectionEnded(const QString &why, bool retrying);
    // While waiting: the seconds left, at every whole second.
    void countdown(int seconds);
    // A room joined again: the view of Conversations now under `chatId`.
    void roomRejoined(int view, qint32 chatId);
    // The server refused to join the room of this view again (its speed
    // limit); the room waits for the next sign-on.
    void rejoinRefused(int view);

  private:
    void setState(State state);
    void attempt();
    void lost(const QString &why);
    void refused();
    void loggedIn();
    void rejoinRooms(quint64 connection);
    void timerRanOut();
    void tick();

    QelTOCSock *m_toc;
    Conversations *m_conversations;
    SendPacer *m_pacer = nullptr;
    Clock &m_clock;
    std::function<double()> m_random;
    std::unique_ptr<Clock::Timer> m_timer; // the next try, or the sign-on timeout
    std::unique_ptr<Clock::Timer> m_ticker;
    Account m_account;
    State m_state = State::Offline;
    bool m_armed = false; // a lost connection is tried again
    bool m_retrying = false;
    int m_failures = 0;
    qint64 m_retryAt = 0;
    qint64 m_signedOnAt = 0;
    quint64 m_connection = 0; // counts the connections started
};
