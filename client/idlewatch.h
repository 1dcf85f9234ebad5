#pragma once
// Tells the server when the user is idle: after `minutes` without input
// (0: never) the idle time in seconds, and 0 at the next input. The state
// goes again after every new sign-on, since the server forgets it.

#include <QObject>
#include <memory>

#include "clock.h"

class IdleSource;
class QelTOCSock;
class Session;

class IdleWatch : public QObject {
    Q_OBJECT

  public:
    // How often an idle user is looked at, to notice the next input.
    static constexpr qint64 kIdlePollMs = 2000;

    IdleWatch(QelTOCSock *toc, Session *session, IdleSource *source, int minutes,
              Clock &clock = Clock::system(), QObject *parent = nullptr);
    ~IdleWatch() override;

    bool isIdle() const { return m_idleSent; }
    // A new limit, from now on; 0 ends an idle state shown to others.
    void setMinutes(int minutes);

  private:
    void check();

    QelTOCSock *m_toc;
    Session *m_session;
    IdleSource *m_source;
    qint64 m_limitMs;
    std::unique_ptr<Clock::Timer> m_timer;
    bool m_idleSent = false;
    qint64 m_lastIdleMs = 0;
};
