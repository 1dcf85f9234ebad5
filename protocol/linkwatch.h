#pragma once
// Notices a server that has stopped answering while its connection stays
// open (its kernel still acknowledges, so TCP keep-alive sees nothing
// wrong). After a quiet spell with nothing from the server, the owner asks
// it something it must answer; when nothing at all comes within the answer
// time, the link is lost. It also remembers the IMs sent lately, which a
// lost link may have swallowed.

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <deque>

class QTimer;

namespace toc {

class LinkWatch : public QObject {
    Q_OBJECT

  public:
    struct Timers {
        int quietMs = 60000;  // nothing from the server this long: ask
        int answerMs = 30000; // no answer this long: the link is lost
        int doubtMs = 60000;  // IMs sent this long before the loss are in doubt
    };

    explicit LinkWatch(QObject *parent = nullptr);

    void setTimers(const Timers &timers) { m_timers = timers; }
    const Timers &timers() const { return m_timers; }

    // Watching starts once signed on and stops with the connection (the
    // IMs remembered are then forgotten).
    void start();
    void stop();
    bool watching() const { return m_state != State::Off; }
    // Something came from the server. Cheap: called for every read.
    void heard();

    // An IM went out to `partner`.
    void sentIM(const QString &partner);
    // The partners of the IMs sent within doubtMs, one entry per IM, oldest
    // first; forgotten once taken.
    QStringList takeInDoubt();

  signals:
    // Nothing came for quietMs: the owner sends something the server answers.
    void askServer();
    // Nothing came for answerMs after asking.
    void lost();

  private:
    enum class State { Off, Quiet, Asking };
    void onTimer();
    void forgetOld();

    Timers m_timers;
    State m_state = State::Off;
    QTimer *m_timer = nullptr;
    QElapsedTimer m_clock;
    qint64 m_lastHeard = 0;
    struct Sent {
        qint64 at;
        QString partner;
    };
    std::deque<Sent> m_sent;
};

} // namespace toc
